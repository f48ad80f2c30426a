#include "CsvFormat.h"

#include <algorithm>
#include <unordered_set>

namespace {

// Records as RFC 4180 defines them: quoted fields may hold commas, quotes ("") and line breaks.
class CsvRecords {
  public:
    CsvRecords(const std::string& text, const std::string& fileName)
        : text_(text), fileName_(fileName) {
        if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0)
            pos_ = 3;
    }

    // The next record, skipping empty lines; false at the end.
    bool Next(std::vector<std::string>& fields) {
        fields.clear();
        while (pos_ < text_.size() &&
               (text_[pos_] == '\n' || text_.compare(pos_, 2, "\r\n") == 0)) {
            pos_ += text_[pos_] == '\n' ? 1 : 2;
            ++line_;
        }
        if (pos_ >= text_.size())
            return false;
        recordLine_ = line_;
        for (;;) {
            fields.push_back(text_[pos_] == '"' ? QuotedField() : PlainField());
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size()) {
                pos_ += text_[pos_] == '\n' ? 1 : 2;
                ++line_;
            }
            return true;
        }
    }

    int Line() const { return recordLine_; }
    [[noreturn]] void Fail(const std::string& what) const { Refuse(fileName_, line_, what); }

  private:
    bool AtFieldEnd() const {
        return pos_ >= text_.size() || text_[pos_] == ',' || text_[pos_] == '\n' ||
               text_.compare(pos_, 2, "\r\n") == 0;
    }

    std::string PlainField() {
        const std::size_t start = pos_;
        while (!AtFieldEnd()) {
            if (text_[pos_] == '"')
                Fail("a quote inside a field that does not begin with one");
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }

    std::string QuotedField() {
        std::string field;
        ++pos_;
        for (;;) {
            const std::size_t quote = text_.find('"', pos_);
            if (quote == std::string::npos)
                Refuse(fileName_, recordLine_, "a quoted field is not closed");
            line_ += static_cast<int>(std::count(text_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                                 text_.begin() + static_cast<std::ptrdiff_t>(quote),
                                                 '\n'));
            field.append(text_, pos_, quote - pos_);
            pos_ = quote + 1;
            if (pos_ < text_.size() && text_[pos_] == '"') {
                field += '"';
                ++pos_;
            } else {
                break;
            }
        }
        if (!AtFieldEnd())
            Fail("text after the closing quote of a field");
        return field;
    }

    const std::string& text_;
    const std::string& fileName_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int recordLine_ = 1;
};

// The header's column names, trimmed and in lower case.
std::vector<std::string> ReadHeader(CsvRecords& records, const std::string& fileName) {
    std::vector<std::string> header;
    if (!records.Next(header))
        Refuse(fileName, 1, "the file is empty; a header line was expected");
    for (std::string& name : header)
        name = ToLowerAscii(Trim(name));
    return header;
}

std::size_t Column(const std::vector<std::string>& header, std::initializer_list<const char*> names,
                   const std::string& fileName) {
    for (const char* name : names) {
        const auto found = std::find(header.begin(), header.end(), name);
        if (found != header.end())
            return static_cast<std::size_t>(found - header.begin());
    }
    Refuse(fileName, 1, std::string("the header has no '") + *names.begin() + "' column");
}

void CheckWidth(const CsvRecords& records, const std::vector<std::string>& fields,
                std::size_t width, const std::string& fileName) {
    if (fields.size() != width)
        Refuse(fileName, records.Line(),
               std::to_string(fields.size()) + " fields where the header has " +
                   std::to_string(width));
}

void ReadNodes(const std::string& text, const std::string& fileName, GraphDescription& graph) {
    CsvRecords records(text, fileName);
    const std::vector<std::string> header = ReadHeader(records, fileName);
    const std::size_t id = Column(header, {"id", "node"}, fileName);
    for (std::vector<std::string> fields; records.Next(fields);) {
        CheckWidth(records, fields, header.size(), fileName);
        NodeRecord node;
        node.id = fields[id];
        node.line = records.Line();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i != id)
                TakeNodeAttribute(node, header[i], {fields[i], node.line});
        }
        graph.nodes.push_back(std::move(node));
    }
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

GraphDescription ReadCsv(const std::string& edgesText, const std::string& fileName,
                         const std::string* nodesText, const std::string& nodesFileName) {
    GraphDescription graph;
    graph.fileName = fileName;
    if (nodesText) {
        graph.nodesFileName = nodesFileName;
        ReadNodes(*nodesText, nodesFileName, graph);
    }
    CsvRecords records(edgesText, fileName);
    const std::vector<std::string> header = ReadHeader(records, fileName);
    const std::size_t source = Column(header, {"source"}, fileName);
    const std::size_t target = Column(header, {"target"}, fileName);
    std::unordered_set<std::string> named;
    for (std::vector<std::string> fields; records.Next(fields);) {
        CheckWidth(records, fields, header.size(), fileName);
        EdgeRecord edge;
        edge.source = fields[source];
        edge.target = fields[target];
        edge.directed = true; // "source" and "target" say which way the edge goes
        edge.line = records.Line();
        for (std::size_t i = 0; i < fields.size(); ++i)
            TakeEdgeAttribute(edge, header[i], {fields[i], edge.line});
        if (!nodesText) {
            for (const std::string* end : {&edge.source, &edge.target}) {
                if (named.insert(*end).second) {
                    NodeRecord node;
                    node.id = *end;
                    node.line = edge.line;
                    graph.nodes.push_back(std::move(node));
                }
            }
        }
        graph.edges.push_back(std::move(edge));
    }
    return graph;
}

std::string WriteCsvEdges(const GraphView& graph) {
    std::string out = "source,target,kind,weight,probability\n";
    for (const ExportLink& link : graph.links) {
        out += CsvField(graph.nodes[link.from].id) + "," + CsvField(graph.nodes[link.to].id) + "," +
               KindName(link.kind) + "," + NumberText(link.weight) + "," +
               NumberText(link.probability) + "\n";
    }
    return out;
}

std::string WriteCsvNodes(const GraphView& graph) {
    std::string out = "id,label,x,y\n";
    for (const ExportNode& node : graph.nodes) {
        out += CsvField(node.id) + "," + CsvField(node.label) + "," + std::to_string(node.x) + "," +
               std::to_string(node.y) + "\n";
    }
    return out;
}
