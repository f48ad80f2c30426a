#pragma once
// What pathloom-run prints: a document's settings and links, and the messages of a run, as text
// for people or as JSON for programs; the figures of both, which the Python module takes too.

#include <cstdint>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

class clsGraph;
class clsLA;

// A figure of a report, named as the JSON answer and the text report name it (the Python module
// in snake_case): no value (null), a flag, a count, a 32- or 64-bit number, a UTF-8 text, an
// object of figures, or a list of objects.
struct Figure;
using Figures = std::vector<Figure>;
struct Figure {
    using Value = std::variant<std::monostate, bool, int64_t, float, double, std::string, Figures,
                               std::vector<Figures>>;
    const char* name;
    Value value;
    // What the text report shows for no value: "null" for a number, "none" for a path, or why
    // there is none.
    const char* absent = "null";
};

namespace Report {

// The names of the listed paths and links, and of each path's figures, which are written as
// they come rather than held as Figures.
namespace Names {
constexpr const char* Paths = "paths";
constexpr const char* Links = "links";
constexpr const char* Number = "n";
constexpr const char* Trace = "trace";
constexpr const char* Cost = "cost";
} // namespace Names

// Figures as the members of a JSON object, ", " between them.
void WriteMembers(std::ostream& out, const Figures& figures);
// "name: value" as the text report shows a figure.
std::string TextOf(const Figure& figure);

// A link as the JSON answer lists it (1-based position), with its weight and probability as
// they are or were at a moment kept.
Figures LinkFigures(const clsGraph& graph, int32_t link, float weight, float probability);
// What the JSON answer says of a document when nothing runs: its settings, node count and ranges.
Figures SummaryFigures(const clsLA& la);

// A message (UTF-8, file names as the file system's bytes) for a terminal: its own CR LF line
// breaks become plain ones, every other control character is escaped.
std::string ForTerminal(const std::string& message);

// A Latin-1 label or trace, escaped for a terminal or quoted for JSON.
std::string Shown(const std::string& latin1);
std::string QuotedLabel(const std::string& latin1);
std::string QuotedMessage(const std::string& message);

void WriteLinksText(std::ostream& out, const clsGraph& graph);
void WriteLinksJson(std::ostream& out, const clsGraph& graph);
void WriteSettingsText(std::ostream& out, const clsLA& la);

// The whole JSON answer of a run that could not start.
void WriteJsonFailure(std::ostream& out, const std::string& message);

} // namespace Report
