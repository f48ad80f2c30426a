#include "CsvFormat.h"

#include "CsvText.h"
#include "Latin1.h"
#include "NumberText.h"
#include "TextTools.h"

#include <algorithm>
#include <unordered_set>

namespace {

// A field's text, and whether it was quoted: an empty quoted label ("") is a label on purpose.
struct CsvField {
    std::string text;
    bool quoted = false;
};

// Records as RFC 4180 defines them: quoted fields may hold commas, quotes ("") and line breaks.
// Lines may end in CR LF, LF or CR alone, as spreadsheets of every system write them.
class CsvRecords {
  public:
    CsvRecords(const std::string& text, const std::string& fileName)
        : text_(text), fileName_(fileName) {
        if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0)
            pos_ = 3;
    }

    // The next record, skipping empty lines; false at the end.
    bool Next(std::vector<CsvField>& fields) {
        fields.clear();
        while (pos_ < text_.size() && AtLineEnd())
            SkipLineEnd();
        if (pos_ >= text_.size())
            return false;
        recordLine_ = line_;
        for (;;) {
            if (text_[pos_] == '"')
                fields.push_back({QuotedField(), true});
            else
                fields.push_back({PlainField(), false});
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size())
                SkipLineEnd();
            return true;
        }
    }

    int Line() const { return recordLine_; }
    [[noreturn]] void Fail(const std::string& what) const { Refuse(fileName_, line_, what); }

  private:
    bool AtLineEnd() const { return text_[pos_] == '\n' || text_[pos_] == '\r'; }

    void SkipLineEnd() {
        pos_ += text_.compare(pos_, 2, "\r\n") == 0 ? 2 : 1;
        ++line_;
    }

    bool AtFieldEnd() const { return pos_ >= text_.size() || text_[pos_] == ',' || AtLineEnd(); }

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
            for (std::size_t i = pos_; i < quote; ++i) // CR LF, LF and CR each end one line
                line_ += text_[i] == '\n' || (text_[i] == '\r' && text_[i + 1] != '\n');
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
    std::vector<CsvField> fields;
    if (!records.Next(fields))
        Refuse(fileName, 1, "the file is empty; a header line was expected");
    std::vector<std::string> header;
    for (const CsvField& field : fields)
        header.push_back(Utf8::Folded(TextTools::Trim(field.text)));
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

void CheckWidth(const CsvRecords& records, const std::vector<CsvField>& fields, std::size_t width,
                const std::string& fileName) {
    if (fields.size() != width)
        Refuse(fileName, records.Line(),
               std::to_string(fields.size()) + " fields where the header has " +
                   std::to_string(width));
}

void ReadNodes(const std::string& text, const std::string& fileName, GraphDescription& graph) {
    CsvRecords records(text, fileName);
    const std::vector<std::string> header = ReadHeader(records, fileName);
    const std::size_t id = Column(header, {"id", "node"}, fileName);
    for (std::vector<CsvField> fields; records.Next(fields);) {
        CheckWidth(records, fields, header.size(), fileName);
        NodeRecord node;
        node.id = fields[id].text;
        node.line = records.Line();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i != id)
                TakeNodeAttribute(node, header[i], {fields[i].text, node.line, fields[i].quoted});
        }
        graph.nodes.push_back(std::move(node));
    }
}

// An empty text is written quoted, as a value on purpose: an empty label stays empty.
std::string FieldText(const std::string& text) {
    std::string field = text.empty() ? "\"\"" : "";
    CsvText::AppendField(field, text);
    return field;
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
    for (std::vector<CsvField> fields; records.Next(fields);) {
        CheckWidth(records, fields, header.size(), fileName);
        EdgeRecord edge;
        edge.source = fields[source].text;
        edge.target = fields[target].text;
        edge.directed = true; // "source" and "target" say which way the edge goes
        edge.line = records.Line();
        for (std::size_t i = 0; i < fields.size(); ++i)
            TakeEdgeAttribute(edge, header[i], {fields[i].text, edge.line});
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
    const bool stochastic = graph.Stochastic();
    std::string out = stochastic ? "source,target,kind,weight,probability,length\n"
                                 : "source,target,kind,weight,probability\n";
    for (const ExportLink& link : graph.links) {
        out += FieldText(graph.nodes[link.from].id) + "," + FieldText(graph.nodes[link.to].id) +
               "," + KindName(link.kind) + "," + NumberText::Shortest(link.weight) + "," +
               NumberText::Shortest(link.probability) +
               (stochastic ? "," + FieldText(link.length) : "") + "\n";
    }
    return out;
}

std::string WriteCsvNodes(const GraphView& graph) {
    std::string out = "id,label,x,y\n";
    for (const ExportNode& node : graph.nodes) {
        out += FieldText(node.id) + "," + FieldText(node.label) + "," + std::to_string(node.x) +
               "," + std::to_string(node.y) + "\n";
    }
    return out;
}
