#include "DotFormat.h"

#include "Graphviz.h"
#include "PathloomError.h"

#include <algorithm>
#include <cstdlib>
#include <graphviz/cgraph.h>
#include <memory>
#include <optional>
#include <sstream>

namespace {

// cgraph keeps no positions of what it reads. The parser is fed one character at a time, so
// that where the input stood when an object was created tells which statement created it.
struct CreatedObject {
    void* object;
    std::size_t offset;
};

struct DotInput {
    const std::string* text = nullptr;
    std::size_t offset = 0;
    std::vector<CreatedObject> nodes, edges, graphs;
};

DotInput* currentInput = nullptr; // set while a GraphvizSession is held

int ReadOneCharacter(void* channel, char* buffer, int size) {
    auto* input = static_cast<DotInput*>(channel);
    if (size < 1 || input->offset >= input->text->size())
        return 0;
    buffer[0] = (*input->text)[input->offset++];
    return 1;
}

void RegisterObject(void* state, int type, void* object) {
    if (AgIdDisc.idregister)
        AgIdDisc.idregister(state, type, object);
    auto& list = type == AGNODE   ? currentInput->nodes
                 : type == AGEDGE ? currentInput->edges
                                  : currentInput->graphs;
    list.push_back({object, currentInput->offset});
}

// The tokens of a DOT text, only as far as finding lines needs them: atoms (names, numbers,
// quoted and HTML strings), edge operators, and single punctuation characters.
struct DotToken {
    std::size_t begin, end;
    int line;
    char kind; // 'a' atom, 'e' edge operator, else the character
};

bool IsAtomCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

std::vector<DotToken> Tokenize(const std::string& s) {
    std::vector<DotToken> tokens;
    int line = 1;
    bool lineStart = true;
    const auto skipTo = [&](std::size_t& i, const char* stop) {
        const std::size_t end = std::min(s.find(stop, i), s.size());
        line += static_cast<int>(std::count(s.begin() + static_cast<std::ptrdiff_t>(i),
                                            s.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
        i = end;
    };
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        const char next = i + 1 < s.size() ? s[i + 1] : '\0';
        if (c == '\n' || c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            lineStart = lineStart || c == '\n';
            line += c == '\n';
            ++i;
            continue;
        }
        if ((c == '#' && lineStart) || (c == '/' && next == '/')) {
            skipTo(i, "\n");
            continue;
        }
        lineStart = false;
        if (c == '/' && next == '*') {
            skipTo(i, "*/");
            i += 2;
            continue;
        }
        DotToken token{i, 0, line, 'a'};
        if (c == '"') {
            for (++i; i < s.size() && s[i] != '"'; ++i) {
                i += s[i] == '\\' && i + 1 < s.size();
                line += s[i] == '\n';
            }
            ++i;
        } else if (c == '<') {
            for (int depth = 0; i < s.size() && (depth += (s[i] == '<') - (s[i] == '>')) > 0; ++i)
                line += s[i] == '\n';
            ++i;
        } else if (c == '-' && (next == '>' || next == '-')) {
            token.kind = 'e';
            i += 2;
        } else if (IsAtomCharacter(c) || (c == '-' && IsAtomCharacter(next))) {
            for (++i; i < s.size() && IsAtomCharacter(s[i]); ++i) {
            }
        } else {
            token.kind = c;
            ++i;
        }
        token.end = std::min(i, s.size());
        tokens.push_back(token);
    }
    return tokens;
}

class DotLines {
  public:
    explicit DotLines(const std::string& text) : text_(text), tokens_(Tokenize(text)) {}

    // The line of the statement that created an edge: the parser had read one token past it.
    int EdgeLine(std::size_t offset) const {
        std::ptrdiff_t last = LastRead(offset);
        if (last < 0)
            return 1;
        const DotToken& t = tokens_[last];
        const bool adjacentAtom =
            last > 0 && tokens_[last - 1].kind == 'a' && tokens_[last - 1].end == t.begin;
        // A token the parser looked ahead at, or the character the scanner read past an atom.
        const bool lookahead =
            t.kind == 'a' || t.kind == ';' || t.kind == '}' || (t.kind == '{' && !adjacentAtom);
        std::ptrdiff_t end = last - (lookahead ? 1 : 2);
        // From the end of an attribute list back to the edge it belongs to.
        for (int depth = 0; end > 0 && (tokens_[end].kind == ']' || depth > 0); --end)
            depth += (tokens_[end].kind == ']') - (tokens_[end].kind == '[');
        return end >= 0 ? tokens_[end].line : t.line;
    }

    // The line of the node's name that the parser had just read when it created the node.
    int NodeLine(std::size_t offset, const std::string& name) const {
        const std::ptrdiff_t last = LastRead(offset);
        for (std::ptrdiff_t i = last; i >= 0 && i >= last - 4; --i) {
            if (tokens_[i].kind == 'a' && AtomText(tokens_[i]) == name)
                return tokens_[i].line;
        }
        return last >= 0 ? tokens_[last].line : 1;
    }

    int LineAt(std::size_t offset) const {
        const std::ptrdiff_t last = LastRead(offset);
        return last >= 0 ? tokens_[last].line : 1;
    }

  private:
    std::ptrdiff_t LastRead(std::size_t offset) const {
        const auto after = std::upper_bound(
            tokens_.begin(), tokens_.end(), offset,
            [](std::size_t value, const DotToken& token) { return value < token.end; });
        return (after - tokens_.begin()) - 1;
    }

    std::string AtomText(const DotToken& token) const {
        std::string text = text_.substr(token.begin, token.end - token.begin);
        if (text.size() < 2 || text[0] != '"')
            return text;
        std::string unquoted;
        for (std::size_t i = 1; i + 1 < text.size(); ++i) {
            if (text[i] == '\\' && text[i + 1] == '\n') { // a continued line
                ++i;
                continue;
            }
            i += text[i] == '\\' && text[i + 1] == '"';
            unquoted += text[i];
        }
        return unquoted;
    }

    const std::string& text_;
    std::vector<DotToken> tokens_;
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
    DotReader(Agraph_t* graph, const DotInput& input, const std::string& text,
              const std::string& fileName)
        : graph_(graph), input_(input), lines_(text) {
        description_.fileName = fileName;
    }

    GraphDescription Read() {
        ReadNodes();
        ReadEdges();
        return std::move(description_);
    }

    const DotLines& Lines() const { return lines_; }

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
            const std::string text = Value(node, label);
            if (!text.empty())
                record.label = {ShownLabel(text, record.id, graphName), record.line};
            const std::string position = Value(node, pos);
            if (!position.empty()) {
                record.centre = ReadPoint(position, record.line);
                highest = std::max(highest.value_or(record.centre->y), record.centre->y);
            }
            description_.nodes.push_back(std::move(record));
        }
        // Screen y points down: measured from the top of the drawing's box, or from 20 above the
        // highest node when the file gives no box.
        double top = highest.value_or(0) + 20;
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
            Refuse(description_.fileName, line, "pos '" + text + "' is not 'x,y'");
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
                Refuse(description_.fileName, record.line, "dir '" + direction + "' is unknown");
            }
            description_.edges.push_back(std::move(record));
        }
    }

    int GraphLine() const {
        return input_.graphs.empty() ? 1 : lines_.LineAt(input_.graphs.front().offset);
    }

    Agraph_t* graph_;
    const DotInput& input_;
    DotLines lines_;
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

// Routes the objects cgraph creates to the input being read, for as long as it is read.
class InputScope {
  public:
    explicit InputScope(DotInput& input) { currentInput = &input; }
    ~InputScope() { currentInput = nullptr; }
    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;
};

// Refuses the file when Graphviz reported an error, in the form of every other refusal.
void RefuseIfFailed(GraphvizSession& session, const std::string& fileName) {
    if (!session.HadError())
        return;
    std::string message = session.TakeMessages();
    if (message.rfind("Error: ", 0) == 0)
        message.erase(0, 7);
    const std::size_t at = message.find(" in line ");
    if (at == std::string::npos)
        Raise("Import", "'" + fileName + "': " + message);
    const std::size_t after = message.find_first_not_of("0123456789", at + 9);
    Refuse(fileName, std::atoi(message.c_str() + at + 9),
           message.substr(0, at) + (after == std::string::npos ? "" : message.substr(after)));
}

} // namespace

GraphDescription ReadDot(const std::string& text, const std::string& fileName) {
    GraphvizSession session;
    DotInput input;
    input.text = &text;
    const InputScope scope(input);
    Agiodisc_t io = AgIoDisc;
    io.afread = ReadOneCharacter;
    Agiddisc_t ids = AgIdDisc;
    ids.idregister = RegisterObject;
    Agdisc_t discipline{&AgMemDisc, &ids, &io};
    agreadline(1); // the line count outlives each read
    const GraphPointer graph(agread(&input, &discipline));
    RefuseIfFailed(session, fileName);
    if (!graph)
        Raise("Import", "'" + fileName + "': no graph found");
    DotReader reader(graph.get(), input, text, fileName);
    GraphDescription description = reader.Read();
    input.graphs.clear();
    const GraphPointer another(agread(&input, &discipline));
    RefuseIfFailed(session, fileName);
    if (another) {
        description.leftOut.push_back(
            FileLine(fileName, reader.Lines().LineAt(input.graphs.front().offset)) +
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
        right = std::max(right, node.x + 20);
        bottom = std::max(bottom, node.y + 20);
    }
    std::string out = directed ? "digraph G {\n" : "graph G {\n";
    out += "  bb=\"0,0," + std::to_string(right) + "," + std::to_string(bottom) + "\";\n";
    out += "  node [shape=box, fixedsize=true, width=0.5694, height=0.5694];\n";
    for (const ExportNode& node : graph.nodes) {
        out += "  " + node.id + " [label=" + DotString(node.label) + ", pos=\"" +
               std::to_string(node.x) + "," + std::to_string(bottom - node.y) + "\"];\n";
    }
    for (const ExportLink& link : graph.links) {
        out += "  " + graph.nodes[link.from].id + (directed ? " -> " : " -- ") +
               graph.nodes[link.to].id + " [";
        if (link.kind != 1 && (directed || link.kind == 2))
            out += link.kind == 0 ? "dir=none, " : "dir=both, ";
        out += "weight=" + NumberText(link.weight) +
               ", probability=" + NumberText(link.probability) + "];\n";
    }
    return out + "}\n";
}
