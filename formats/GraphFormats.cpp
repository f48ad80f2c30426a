#include "GraphFormats.h"

#include "CsvFormat.h"
#include "DocumentFile.h"
#include "DocumentStream.h"
#include "DotFormat.h"
#include "GraphDefaults.h"
#include "GraphDescription.h"
#include "GraphMLFormat.h"
#include "Latin1.h"
#include "Layout.h"
#include "NodeGeometry.h"
#include "PathloomError.h"
#include "RegularFile.h"
#include "SafeFile.h"
#include "TextTools.h"
#include "clsLA.h"

#include <cmath>
#include <cstdint>
#include <sys/stat.h>
#include <unordered_map>

namespace GraphFormats {
namespace {

// What an import takes in memory per byte of its file, at worst: records as short as they can be
// written, each edge repeated so that a note on it is kept too. Measured: GraphML 19, CSV 107,
// DOT 127 (Graphviz holds the graph as well).
uint64_t ImportBytesPerFileByte(Format format) {
    return format == Format::GraphML ? 24 : format == Format::Csv ? 128 : 160;
}

// Rounded up for a file, down for a limit, so that a file refused is always shown above it.
std::string Megabytes(uint64_t bytes, bool up) {
    return std::to_string(bytes / 1000000 + (up && bytes % 1000000 != 0)) + " MB";
}

// The file whole, once its size is known to leave room for what the import makes of it, as a
// document's counts are checked before anything is allocated: a file the memory cannot take is
// refused before it fills the memory. `room`: the bytes of files the import may still read.
std::string ReadWholeFile(const std::string& fileName, Format format, uint64_t& room) {
    std::optional<RegularFile> file;
    try {
        file.emplace(fileName);
    } catch (const PathloomError& e) {
        Raise("Import", "'" + fileName + "' could not be read: " + e.Description());
    }
    if (file->Size() > room)
        Raise("Import", "'" + fileName + "' could not be read: it is too large to import (" +
                            Megabytes(file->Size(), true) + "; this machine's memory takes " +
                            (format == Format::GraphML ? "GraphML"
                             : format == Format::Dot   ? "DOT"
                                                       : "CSV") +
                            " files of up to " +
                            Megabytes(LargestImport(format, MachineMemory()), false) + ").");
    room -= file->Size();
    try {
        return file->ReadToEnd();
    } catch (const PathloomError& e) {
        Raise("Import", "'" + fileName + "' could not be read: " + e.Description());
    }
}

bool FileExists(const std::string& fileName) {
    struct stat info {};
    return ::stat(fileName.c_str(), &info) == 0;
}

// The label as the model holds it: Latin-1 without the characters labels may not hold or
// control characters, at most 31 characters; each character that does not fit becomes "_". Bytes
// that are not UTF-8 count as outside Latin-1.
std::string ModelLabel(const std::string& utf8) {
    std::string label;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t code;
        i += Utf8::Next(utf8, i, code);
        const bool fits = code >= 0x20 && (code < 0x7F || code >= 0xA0) && code <= 0xFF &&
                          !clsNode::ForbiddenInLabel(static_cast<char>(code));
        label += fits ? static_cast<char>(code) : '_';
    }
    if (label.size() > static_cast<std::size_t>(clsNode::LabelFieldSize - 1))
        label.resize(clsNode::LabelFieldSize - 1);
    return label;
}

int32_t KindOf(const EdgeRecord& edge, const std::string& fileName) {
    if (edge.kind.text.empty())
        return edge.directed ? LinkKind::Unidirectional : LinkKind::Simple;
    const std::string kind = Utf8::Folded(TextTools::Trim(edge.kind.text));
    static const char* const names[][2] = {
        {"simple", "0"}, {"unidirectional", "1"}, {"bidirectional", "2"}};
    for (int32_t i = 0; i < 3; ++i) {
        if (kind == names[i][0] || kind == names[i][1])
            return i;
    }
    Refuse(fileName, edge.kind.line,
           "kind " + TextTools::Quoted(edge.kind.text) +
               " is none of simple, unidirectional, bidirectional, 0, 1, 2");
}

std::optional<clsPosition> PositionOf(const NodeRecord& node, const std::string& fileName) {
    std::optional<Centre> centre = node.centre;
    if (!centre && (!node.x.text.empty() || !node.y.text.empty())) {
        if (node.x.text.empty() || node.y.text.empty())
            Refuse(fileName, node.line,
                   "node " + TextTools::Quoted(node.id) + " has only one of x and y");
        centre = Centre{ParseNumber(node.x.text, fileName, node.x.line, "x"),
                        ParseNumber(node.y.text, fileName, node.y.line, "y")};
    }
    if (!centre)
        return std::nullopt;
    const double x = std::round(centre->x) - NodeGeometry::CentreOffset;
    const double y = std::round(centre->y) - NodeGeometry::CentreOffset;
    if (std::fabs(x) > INT32_MAX || std::fabs(y) > INT32_MAX)
        Refuse(fileName, node.line,
               "the position of node " + TextTools::Quoted(node.id) + " is out of range");
    return clsPosition{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

struct ModelLink {
    int32_t from, to, kind;
    float weight;
    std::optional<float> probability; // none: the default share
    std::shared_ptr<const LinkLength> length;
};

std::shared_ptr<const LinkLength> LengthOf(const EdgeRecord& edge, const std::string& fileName) {
    if (!edge.distribution.Given())
        return nullptr;
    try {
        return std::make_shared<const LinkLength>(LinkLength::Parse(edge.distribution.text));
    } catch (const PathloomError& e) {
        Refuse(fileName, edge.distribution.line, "length: " + e.Description());
    }
}

// The graph as the model will hold it: every rule about labels, positions, kinds, values,
// self-loops, repeated links and missing nodes is applied here, for every format.
struct ModelGraph {
    std::vector<std::string> labels;
    std::vector<std::optional<clsPosition>> positions;
    std::vector<ModelLink> links;
};

ModelGraph Apply(const GraphDescription& description, ImportResult& result) {
    const std::string& fileName = description.fileName;
    const std::string& nodesFile =
        description.nodesFileName.empty() ? fileName : description.nodesFileName;
    ModelGraph model;
    std::unordered_map<std::string, int32_t> nodeIndex;
    std::vector<int> nodeLines;
    nodeIndex.reserve(description.nodes.size());
    for (const NodeRecord& node : description.nodes) {
        const auto [found, added] =
            nodeIndex.emplace(node.id, static_cast<int32_t>(nodeLines.size()));
        if (!added) {
            result.leftOut.push_back(
                FileLine(nodesFile, node.line) + ": node " + TextTools::Quoted(node.id) +
                " is left out: the node of line " +
                std::to_string(nodeLines[static_cast<std::size_t>(found->second)]) +
                " has the same id");
            continue;
        }
        nodeLines.push_back(node.line);
        const std::string& label = node.label.Given() ? node.label.text : node.id;
        model.labels.push_back(ModelLabel(label));
        if (Latin1::ToUtf8(model.labels.back()) != label)
            result.changedLabels.push_back(FileLine(nodesFile, node.line) + ": node " +
                                           TextTools::Quoted(label) + " is labelled " +
                                           TextTools::Quoted(Latin1::ToUtf8(model.labels.back())));
        model.positions.push_back(PositionOf(node, nodesFile));
    }

    std::unordered_map<uint64_t, int> linkedOnLine;
    linkedOnLine.reserve(description.edges.size());
    for (const EdgeRecord& edge : description.edges) {
        const ModelLink values{
            0,
            0,
            KindOf(edge, fileName),
            edge.weight.text.empty() ? GraphDefaults::Weight
                                     : ParseFloat(edge.weight, fileName, "weight"),
            edge.probability.text.empty()
                ? std::nullopt
                : std::optional<float>(ParseFloat(edge.probability, fileName, "probability")),
            LengthOf(edge, fileName)};
        const std::string leftOut = FileLine(fileName, edge.line) + ": edge " +
                                    TextTools::Quoted(edge.source) + " -> " +
                                    TextTools::Quoted(edge.target) + " is left out: ";
        const auto from = nodeIndex.find(edge.source);
        const auto to = nodeIndex.find(edge.target);
        if (from == nodeIndex.end() || to == nodeIndex.end()) {
            const std::string& missing = from == nodeIndex.end() ? edge.source : edge.target;
            result.leftOut.push_back(leftOut + "there is no node " + TextTools::Quoted(missing));
            continue;
        }
        if (from->second == to->second) {
            result.leftOut.push_back(leftOut + "it links a node to itself");
            continue;
        }
        const auto low = static_cast<uint64_t>(std::min(from->second, to->second));
        const auto high = static_cast<uint64_t>(std::max(from->second, to->second));
        const auto [first, added] = linkedOnLine.emplace(low << 32 | high, edge.line);
        if (!added) {
            result.leftOut.push_back(leftOut + "the edge of line " + std::to_string(first->second) +
                                     " already links these nodes");
            continue;
        }
        model.links.push_back({from->second, to->second, values.kind, values.weight,
                               values.probability, values.length});
    }
    return model;
}

std::vector<clsPosition> PlaceAll(const ModelGraph& model, ImportResult& result) {
    std::vector<LayoutLink> links;
    links.reserve(model.links.size());
    for (const ModelLink& link : model.links)
        links.push_back({link.from, link.to, link.kind == LinkKind::Unidirectional});
    for (const auto& position : model.positions)
        result.laidOut = result.laidOut || !position;
    if (!result.laidOut) {
        std::vector<clsPosition> kept;
        for (const auto& position : model.positions)
            kept.push_back(*position);
        return kept;
    }
    return PlaceNodes(model.labels.size(), links, model.positions);
}

void Fill(const ModelGraph& model, const std::vector<clsPosition>& positions,
          const std::string& fileName, clsGraph& graph) {
    try {
        for (std::size_t i = 0; i < model.labels.size(); ++i) {
            clsNode& node = graph.AppendNode();
            node.SetLabel(model.labels[i]);
            node.Position = positions[i];
        }
        graph.ResetIDs();
        std::vector<int32_t> shared;
        for (const ModelLink& link : model.links) {
            clsLink& added = graph.AppendLink();
            added.FromNode = &graph.Node(link.from + 1);
            added.ToNode = &graph.Node(link.to + 1);
            added.LinkType = link.kind;
            added.Weight = link.weight;
            added.SetLength(link.length);
            if (link.probability)
                added.SetProbability(*link.probability);
            else
                shared.push_back(graph.LinkCount());
        }
        GraphDefaults::ShareOut(graph, shared);
    } catch (const PathloomError& error) {
        graph.ClearGraph();
        Raise("Import",
              "'" + fileName + "': " + error.Description() + " (a node has more than 32767 links)");
    } catch (...) {
        graph.ClearGraph();
        throw;
    }
}

// The described graph into the empty graph, with what was not taken as the file had it.
ImportResult Build(const GraphDescription& description, clsGraph& graph) {
    ImportResult result;
    result.leftOut = description.leftOut;
    const ModelGraph model = Apply(description, result);
    Fill(model, PlaceAll(model, result), description.fileName, graph);
    return result;
}

// Ids, UTF-8 labels, centres and links by node index, for the writers.
GraphView ViewOf(const clsGraph& graph) {
    GraphView view;
    std::unordered_map<const clsNode*, int> index;
    index.reserve(static_cast<std::size_t>(graph.NodeCount()));
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        const clsNode& node = graph.Node(i);
        index.emplace(&node, i - 1);
        view.nodes.push_back(
            {"n" + std::to_string(i - 1), Latin1::ToUtf8(node.Label()),
             node.Position.x + static_cast<long long>(NodeGeometry::CentreOffset),
             node.Position.y + static_cast<long long>(NodeGeometry::CentreOffset)});
    }
    for (int32_t i = 1; i <= graph.LinkCount(); ++i) {
        const clsLink& link = graph.Link(i);
        const auto from = index.find(link.FromNode);
        const auto to = index.find(link.ToNode);
        if (from == index.end() || to == index.end() || link.LinkType < 0 || link.LinkType > 2)
            Raise("Export", "Link " + std::to_string(i) +
                                " joins no two nodes of the graph or has an unknown kind.");
        // No format could read it back.
        if (!std::isfinite(link.Weight) || !std::isfinite(link.Probability))
            Raise("Export", "Link " + std::to_string(i) +
                                " has a weight or a probability that is not a finite number.");
        view.links.push_back({from->second, to->second, link.LinkType, link.Weight,
                              link.Probability, link.Length ? link.Length->Text() : ""});
    }
    return view;
}

// The files, all written or none: an edge list is never left beside another graph's nodes.
void WriteFiles(const std::vector<FileToSave>& files) {
    try {
        WriteFilesSafely(files);
    } catch (const PathloomError& e) {
        std::string names;
        for (const FileToSave& file : files)
            names += (names.empty() ? "'" : " and '") + file.fileName + "'";
        Raise("Export", names + " could not be written: " + e.Description());
    }
}

} // namespace

std::optional<Format> FormatOfFileName(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::size_t slash = fileName.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::nullopt;
    const std::string extension = Utf8::Folded(fileName.substr(dot + 1));
    if (extension == "graphml" || extension == "xml")
        return Format::GraphML;
    if (extension == "dot" || extension == "gv")
        return Format::Dot;
    if (extension == "csv")
        return Format::Csv;
    return std::nullopt;
}

std::string CsvNodesFileName(const std::string& fileName) {
    const bool csv =
        fileName.size() >= 4 && Utf8::Folded(fileName.substr(fileName.size() - 4)) == ".csv";
    return (csv ? fileName.substr(0, fileName.size() - 4) : fileName) + ".nodes.csv";
}

ImportResult Import(const std::string& fileName, clsGraph& graph) {
    if (graph.NodeCount() != 0 || graph.LinkCount() != 0)
        Raise("Import", "A graph is imported only into an empty graph.");
    const std::optional<Format> format = FormatOfFileName(fileName);
    if (!format)
        Raise("Import", "'" + fileName + "' is none of .graphml, .xml, .dot, .gv, .csv.");
    uint64_t room = LargestImport(*format, MachineMemory());
    const std::string text = ReadWholeFile(fileName, *format, room);
    if (*format != Format::Csv)
        return ImportText(text, fileName, *format, graph);
    const std::string nodesFile = CsvNodesFileName(fileName);
    const bool withNodes = FileExists(nodesFile);
    const std::string nodesText =
        withNodes ? ReadWholeFile(nodesFile, *format, room) : std::string();
    return Build(ReadCsv(text, fileName, withNodes ? &nodesText : nullptr, nodesFile), graph);
}

uint64_t LargestImport(Format format, uint64_t memory) {
    return memory / ImportBytesPerFileByte(format);
}

ImportResult ImportText(const std::string& text, const std::string& name, Format format,
                        clsGraph& graph) {
    if (graph.NodeCount() != 0 || graph.LinkCount() != 0)
        Raise("Import", "A graph is imported only into an empty graph.");
    if (format == Format::GraphML)
        return Build(ReadGraphML(text, name), graph);
    if (format == Format::Dot)
        return Build(ReadDot(text, name), graph);
    return Build(ReadCsv(text, name, nullptr, CsvNodesFileName(name)), graph);
}

std::string ExportText(const clsGraph& graph, Format format) {
    if (format == Format::Csv)
        Raise("Export", "A CSV export is written as two files.");
    return format == Format::GraphML ? WriteGraphML(ViewOf(graph)) : WriteDot(ViewOf(graph));
}

void Export(const clsGraph& graph, const std::string& fileName, Format format) {
    const GraphView view = ViewOf(graph);
    if (format == Format::GraphML) {
        WriteFiles({{fileName, WriteGraphML(view)}});
    } else if (format == Format::Dot) {
        WriteFiles({{fileName, WriteDot(view)}});
    } else {
        // The node list's name is the program's own, so it never leads through a link.
        WriteFiles({{CsvNodesFileName(fileName), WriteCsvNodes(view), true},
                    {fileName, WriteCsvEdges(view)}});
    }
}

std::vector<std::string> ImportResult::Notes() const {
    std::vector<std::string> notes = leftOut;
    notes.insert(notes.end(), changedLabels.begin(), changedLabels.end());
    return notes;
}

std::vector<std::string> OpenByName(clsLA& la, const std::string& fileName) {
    if (!FormatOfFileName(fileName)) {
        LoadGraph(la, fileName);
        return {};
    }
    const std::vector<std::string> notes = Import(fileName, la.Graph()).Notes();
    GraphDefaults::SetLearning(la.Settings);
    return notes;
}

bool ExportByName(const clsGraph& graph, const std::string& fileName) {
    const std::optional<Format> format = FormatOfFileName(fileName);
    if (format)
        Export(graph, fileName, *format);
    return format.has_value();
}

std::vector<LayoutLink> LayoutLinks(const clsGraph& graph) {
    std::vector<LayoutLink> links;
    for (const ExportLink& link : ViewOf(graph).links)
        links.push_back({link.from, link.to, link.kind == LinkKind::Unidirectional});
    return links;
}

} // namespace GraphFormats
