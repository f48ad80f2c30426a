#pragma once
// What pathloom-run prints: a document's settings and links, and the messages of a run, as text
// for people or as JSON for programs.

#include <ostream>
#include <string>

class clsGraph;
class clsLA;

namespace Report {

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
void WriteSettingsJson(std::ostream& out, const clsLA& la);

// The whole JSON answer of a run that could not start.
void WriteJsonFailure(std::ostream& out, const std::string& message);

} // namespace Report
