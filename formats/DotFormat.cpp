#include "DotFormat.h"

#include "DotTokens.h"
#include "Graphviz.h"
#include "NodeGeometry.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "TextTools.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <graphviz/cgraph.h>
#include <memory>
#include <optional>
#include <sstream>

namespace {

// Graphviz's DOT scanner (flex, prefix "aag"), which cgraph's headers leave out. The whole text
// is handed to it as one buffer: read in small pieces the scanner scans a long token again after
// every piece (a token of 100,000 characters took minutes), and where it stands in the buffer
// when an object is created tells which statement created it, as cgraph keeps no lines.
extern "C" {
void* aag_scan_buffer(char* base, std::size_t size);
int aaglex_destroy(void);
extern char* aagtext;
}

struct CreatedObject {
    void* object;
    std::size_t offset;
};

struct DotInput {
    std::vector<char> buffer; // the text and the scanner's two end marks
    std::vector<CreatedObject> nodes, edges, graphs;

    // Where the scanner's last match lies: within the parser's look-ahead token.
    std::size_t Offset() const {
        const auto at = reinterpret_cast<std::uintptr_t>(aagtext);
        const auto base = reinterpret_cast<std::uintptr_t>(buffer.data());
        return at >= base && at - base < buffer.size() ? at - base : 0;
    }
};

DotInput* currentInput = nullptr; // set while a GraphvizSession is held

// The scanner reads its buffer only; should it ask for more, there is none.
int NoMoreInput(void*, char*, int) {
    return 0;
}

void RegisterObject(void* state, int type, void* object) {
    if (AgIdDisc.idregister)
        AgIdDisc.idregister(state, type, object);
    auto& list = type == AGNODE   ? currentInput->nodes
                 : type == AGEDGE ? currentInput->edges
                                  : currentInput->graphs;
    list.push_back({object, currentInput->Offset()});
}

// The scanner's state lives on between reads: a file that ended inside a string left the next
// file read as that string's rest. Each read starts from a scanner made anew, and clears it.
class ScannerInput {
  public:
    ScannerInput(DotInput& input, const std::string& text) {
        input.buffer.assign(text.begin(), text.end());
        input.buffer.resize(text.size() + 2, '\0');
        aaglex_destroy();
        aag_scan_buffer(input.buffer.data(), input.buffer.size());
        currentInput = &input;
    }
    ~ScannerInput() {
        currentInput = nullptr;
        aaglex_destroy();
    }
    ScannerInput(const ScannerInput&) = delete;
    ScannerInput& operator=(const ScannerInput&) = delete;
};

// A node label as Graphviz shows it: \N is the node's name, \G the graph's, \n \l \r break lines.
std::string ShownLabel(const std::string& label, const std::string& node,
                       const std::string& graph) {
    std::string shown;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] != '\\' || i + 1 == label.size()) {
            shown += label[i];
            continue;
        }
        const char c = label[++i];
        shown += c == 'N'                           ? node
                 : c == 'G'                         ? graph
                 : c == 'n' || c == 'l' || c == 'r' ? " "
                                                    : std::string(1, c);
    }
    return shown;
}

std::string Value(void* object, Agsym_t* symbol) {
    return symbol ? agxget(object, symbol) : "";
}

class DotReader {
  public:
    DotReader(Agraph_t* graph, const DotInput& input, const DotTokens& lines,
              const std::string& fileName)
        : graph_(graph), input_(input), lines_(lines) {
        description_.fileName = fileName;
    }

    GraphDescription Read() {
        ReadNodes();
        ReadEdges();
        return std::move(description_);
    }

  private:
    void ReadNodes() {
        Agsym_t* label = agattr(graph_, AGNODE, const_cast<char*>("label"), nullptr);
        Agsym_t* pos = agattr(graph_, AGNODE, const_cast<char*>("pos"), nullptr);
        const std::string graphName = agnameof(graph_);
        std::optional<double> highest;
        for (const CreatedObject& created : input_.nodes) {
            auto* node = static_cast<Agnode_t*>(created.object);
            NodeRecord record;
            record.id = agnameof(node);
            record.line = lines_.NodeLine(created.offset, record.id);
            // "\\N" (the name) unless the file gives a label; an empty one stays empty.
            record.label = {ShownLabel(Value(node, label), record.id, graphName), record.line,
                            true};
            const std::string position = Value(node, pos);
            if (!position.empty()) {
                record.centre = ReadPoint(position, record.line);
                highest = std::max(highest.value_or(record.centre->y), record.centre->y);
            }
            description_.nodes.push_back(std::move(record));
        }
        // Screen y points down: measured from the top of the drawing's box, or from half a node
        // above the highest node when the file gives no box.
        double top = highest.value_or(0) + NodeGeometry::CentreOffset;
        Agsym_t* box = agattr(graph_, AGRAPH, const_cast<char*>("bb"), nullptr);
        const std::string corners = box ? agxget(graph_, box) : "";
        if (!corners.empty()) {
            const std::size_t comma = corners.rfind(',');
            top = ParseNumber(corners.substr(comma == std::string::npos ? 0 : comma + 1),
                              description_.fileName, GraphLine(), "the box 'bb'");
        }
        for (NodeRecord& record : description_.nodes) {
            if (record.centre)
                record.centre->y = top - record.centre->y;
        }
    }

    // "x,y" in points, "!" (pinned) and any further coordinate ignored; y still points up.
    Centre ReadPoint(const std::string& text, int line) {
        const std::size_t comma = text.find(',');
        if (comma == std::string::npos)
            Refuse(description_.fileName, line, "pos " + TextTools::Quoted(text) + " is not 'x,y'");
        std::string y = text.substr(comma + 1);
        y = y.substr(0, y.find(','));
        if (!y.empty() && y.back() == '!')
            y.pop_back();
        return {ParseNumber(text.substr(0, comma), description_.fileName, line, "pos x"),
                ParseNumber(y, description_.fileName, line, "pos y")};
    }

    void ReadEdges() {
        static const char* const names[] = {"weight", "cost", "length", "probability", "kind"};
        std::vector<std::pair<std::string, Agsym_t*>> symbols;
        for (const char* name : names)
            symbols.emplace_back(name, agattr(graph_, AGEDGE, const_cast<char*>(name), nullptr));
        Agsym_t* dir = agattr(graph_, AGEDGE, const_cast<char*>("dir"), nullptr);
        for (const CreatedObject& created : input_.edges) {
            auto* edge = static_cast<Agedge_t*>(created.object);
            EdgeRecord record;
            record.source = agnameof(agtail(edge));
            record.target = agnameof(aghead(edge));
            record.line = lines_.EdgeLine(created.offset);
            for (const auto& symbol : symbols)
                TakeEdgeAttribute(record, symbol.first, {Value(edge, symbol.second), record.line});
            const std::string direction = Value(edge, dir);
            record.directed = direction.empty() ? agisdirected(graph_) : direction != "none";
            if (direction == "back") {
                std::swap(record.source, record.target);
            } else if (direction == "none" || direction == "both") {
                if (record.kind.text.empty())
                    record.kind = {direction == "none" ? "simple" : "bidirectional", record.line};
            } else if (!direction.empty() && direction != "forward") {
                Refuse(description_.fileName, record.line,
                       "dir " + TextTools::Quoted(direction) + " is unknown");
            }
            description_.edges.push_back(std::move(record));
        }
    }

    int GraphLine() const {
        return input_.graphs.empty() ? 1 : lines_.LineAt(input_.graphs.front().offset);
    }

    Agraph_t* graph_;
    const DotInput& input_;
    const DotTokens& lines_;
    GraphDescription description_;
};

struct ClosedGraph {
    void operator()(Agraph_t* graph) const { agclose(graph); }
};
using GraphPointer = std::unique_ptr<Agraph_t, ClosedGraph>;

// cgraph reads \" as a quote; a label's \\ is one backslash as Graphviz shows it (ShownLabel).
std::string DotString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// Refuses the file when Graphviz reported an error, in the form of every other refusal: one line,
// from Graphviz's error alone (it may come after warnings, and go on over further lines).
void RefuseIfFailed(GraphvizSession& session, const std::string& fileName) {
    if (!session.HadError())
        return;
    std::istringstream messages(session.TakeMessages());
    std::string message, line;
    while (std::getline(messages, line)) {
        if (line.rfind("Error: ", 0) == 0) {
            message = line.substr(7);
            break;
        }
        if (message.empty())
            message = line;
    }
    const std::size_t at = message.find(" in line ");
    if (at == std::string::npos)
        Raise("Import", "'" + fileName + "': " + message);
    const std::size_t after = message.find_first_not_of("0123456789", at + 9);
    Refuse(fileName, std::atoi(message.c_str() + at + 9),
           message.substr(0, at) + (after == std::string::npos ? "" : message.substr(after)));
}

} // namespace

GraphDescription ReadDot(const std::string& text, const std::string& fileName) {
    const DotTokens lines(text, fileName);
    GraphvizSession session;
    DotInput input;
    const ScannerInput scanner(input, text);
    Agiodisc_t io = AgIoDisc;
    io.afread = NoMoreInput;
    Agiddisc_t ids = AgIdDisc;
    ids.idregister = RegisterObject;
    Agdisc_t discipline{&AgMemDisc, &ids, &io};
    agreadline(1); // the line count outlives each read
    // Graphviz's own default: a node without a label shows its name.
    agattr(nullptr, AGNODE, const_cast<char*>("label"), const_cast<char*>("\\N"));
    const GraphPointer graph(agread(&input, &discipline));
    RefuseIfFailed(session, fileName);
    if (!graph)
        Raise("Import", "'" + fileName + "': no graph found");
    GraphDescription description = DotReader(graph.get(), input, lines, fileName).Read();
    input.graphs.clear();
    const GraphPointer another(agread(&input, &discipline));
    RefuseIfFailed(session, fileName);
    if (another) {
        description.leftOut.push_back(
            FileLine(fileName, lines.LineAt(input.graphs.front().offset)) +
            ": the graphs after the first are left out: only the first graph of a file is read");
    }
    std::istringstream warnings(session.TakeMessages());
    for (std::string warning; std::getline(warnings, warning);)
        description.leftOut.push_back("'" + fileName + "': Graphviz: " + warning);
    return description;
}

std::string WriteDot(const GraphView& graph) {
    bool directed = false;
    long long right = 0;
    long long bottom = 0;
    for (const ExportLink& link : graph.links)
        directed = directed || link.kind == 1;
    for (const ExportNode& node : graph.nodes) {
        right = std::max(right, node.x + NodeGeometry::CentreOffset);
        bottom = std::max(bottom, node.y + NodeGeometry::CentreOffset);
    }
    std::string out = directed ? "digraph G {\n" : "graph G {\n";
    out += "  bb=\"0,0," + std::to_string(right) + "," + std::to_string(bottom) + "\";\n";
    // The node's size in inches, 72 points (pixels) to the inch.
    const std::string inches = NumberText::Fixed(NodeGeometry::Size / 72.0, 4);
    out += "  node [shape=box, fixedsize=true, width=" + inches + ", height=" + inches + "];\n";
    for (const ExportNode& node : graph.nodes) {
        out += "  " + node.id + " [label=" + DotString(node.label) + ", pos=\"" +
               std::to_string(node.x) + "," + std::to_string(bottom - node.y) + "\"];\n";
    }
    for (const ExportLink& link : graph.links) {
        out += "  " + graph.nodes[link.from].id + (directed ? " -> " : " -- ") +
               graph.nodes[link.to].id + " [";
        if (link.kind != 1 && (directed || link.kind == 2))
            out += link.kind == 0 ? "dir=none, " : "dir=both, ";
        // Plain digits: DOT's numerals take no exponent.
        out += "weight=" + NumberText::Plain(link.weight) +
               ", probability=" + NumberText::Plain(link.probability) +
               (link.length.empty() ? "" : ", length=" + DotString(link.length)) + "];\n";
    }
    return out + "}\n";
}
