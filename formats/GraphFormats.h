#pragma once
// Import and export of graphs as GraphML, DOT and CSV edge lists, and their automatic layout.

#include "Layout.h"
#include "clsGraph.h"
#include "clsPosition.h"

#include <optional>
#include <string>
#include <vector>

class clsLA;

namespace GraphFormats {

enum class Format { GraphML, Dot, Csv };

// By the extension, in any letter case: .graphml and .xml, .dot and .gv, .csv.
std::optional<Format> FormatOfFileName(const std::string& fileName);

// The node list that goes with a CSV edge list: "roads.csv" -> "roads.nodes.csv".
std::string CsvNodesFileName(const std::string& fileName);

// What an import did not take as the file had it. Each message is one UTF-8 line that names the
// file, the line and the element.
struct ImportResult {
    std::vector<std::string> leftOut;       // elements not taken, and why
    std::vector<std::string> changedLabels; // labels replaced or cut to fit the model
    bool laidOut = false;                   // some nodes had no position and were placed
    // Both lists, one line each, as the window and pathloom-run show them.
    std::vector<std::string> Notes() const;
};

// Reads the file, in the format its extension names, into `graph`, which must be empty; a link
// without a weight or a probability takes GraphDefaults'. A CSV edge list takes its node list
// (CsvNodesFileName) when that file exists. A file that cannot be
// read raises PathloomError naming it, a malformed one naming it and the line; `graph` is then
// left empty. Files larger than LargestImport of the machine's memory are refused unread.
ImportResult Import(const std::string& fileName, clsGraph& graph);

// The largest file of the format (a CSV edge list and its node list together) whose import fits
// in `memory` bytes however its records are written.
uint64_t LargestImport(Format format, uint64_t memory);

// The same from text in memory (the clipboard's), named `name` in messages; CSV without its node
// list.
ImportResult ImportText(const std::string& text, const std::string& name, Format format,
                        clsGraph& graph);

// The text of an export as GraphML or DOT (a CSV export is two files).
std::string ExportText(const clsGraph& graph, Format format);

// Writes the graph whole, or raises PathloomError and leaves any existing file as it was. Node
// positions are written as centres. A CSV edge list is written with its node list, both or
// neither; the node list is always a regular file of its own in the edge list's folder.
void Export(const clsGraph& graph, const std::string& fileName, Format format);

// What pathloom-run and pathloom --export open by a file's name (the window decides by the same
// FormatOfFileName): a graph file made elsewhere, imported by its extension, or else a Pathloom
// document, into the engine, which must be empty; an import with the learning settings of
// GraphDefaults, which no such file stores. Gives the import's notes on what it left out or
// changed, one line each. Raises PathloomError as LoadGraph or Import does.
std::vector<std::string> OpenByName(clsLA& la, const std::string& fileName);

// Writes the graph in the format its extension names, as Export does; false, with nothing
// written, when it names none.
bool ExportByName(const clsGraph& graph, const std::string& fileName);

// The graph's links as PlaceNodes takes them, so that the layout can work apart from the graph.
// Raises PathloomError for a link that joins no two nodes of the graph.
std::vector<LayoutLink> LayoutLinks(const clsGraph& graph);

} // namespace GraphFormats
