#include "GraphMLFormat.h"

#include "Latin1.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "TextTools.h"
#include "XmlReader.h"

#include <algorithm>
#include <unordered_map>

namespace {

struct Key {
    std::string name;
    std::string domain; // "node", "edge", "graph" or "all"
    FileValue defaultValue;
    int slot[2] = {-1, -1}; // by Record: the place of its name among that record's defaults
};

enum Record { NodeRecords, EdgeRecords };

class GraphMLReader {
  public:
    GraphMLReader(const std::string& text, const std::string& fileName) : xml_(text, fileName) {
        description_.fileName = fileName;
    }

    GraphDescription Read() {
        if (xml_.Next() != XmlReader::Event::Start || xml_.Name() != "graphml")
            xml_.Fail("the root element is not <graphml>");
        bool graphRead = false;
        for (XmlReader::Event event; (event = xml_.Next()) != XmlReader::Event::End;) {
            if (event != XmlReader::Event::Start)
                continue;
            if (xml_.Name() == "key") {
                ReadKey();
            } else if (xml_.Name() == "graph" && !graphRead) {
                ReadGraph();
                graphRead = true;
            } else {
                if (xml_.Name() == "graph")
                    LeaveOut("a second graph is left out: only the first graph of a file is read");
                xml_.SkipElement();
            }
        }
        xml_.Next(); // refuses anything after the root element
        return std::move(description_);
    }

  private:
    const std::string& Required(const char* attribute) {
        const std::string* value = xml_.Attribute(attribute);
        if (!value)
            xml_.Fail("<" + TextTools::Cut(xml_.Name()) + "> has no '" + attribute + "'");
        return *value;
    }

    void LeaveOut(const std::string& what) {
        description_.leftOut.push_back(FileLine(description_.fileName, xml_.Line()) + ": " + what);
    }

    // The text directly inside the element just started, up to its end.
    std::string ReadText() {
        std::string text;
        for (XmlReader::Event event; (event = xml_.Next()) != XmlReader::Event::End;) {
            if (event == XmlReader::Event::Text)
                text += xml_.Text();
            else
                xml_.SkipElement();
        }
        return TextTools::Trim(text);
    }

    void ReadKey() {
        const std::string id = Required("id");
        const std::string* name = xml_.Attribute("attr.name");
        const std::string* domain = xml_.Attribute("for");
        Key key{name ? *name : id, domain ? *domain : "all", {}};
        for (XmlReader::Event event; (event = xml_.Next()) != XmlReader::Event::End;) {
            if (event != XmlReader::Event::Start)
                continue;
            if (xml_.Name() == "default") {
                const int line = xml_.Line();
                key.defaultValue = {ReadText(), line};
            } else {
                xml_.SkipElement();
            }
        }
        const auto [entry, added] = keys_.insert_or_assign(id, key);
        if (added)
            declared_.push_back(&entry->second);
    }

    void PrepareDefaults() {
        static const char* const domains[] = {"node", "edge"};
        for (const Record record : {NodeRecords, EdgeRecords}) {
            std::vector<std::string> names; // in lower case, one for each default
            defaults_[record].clear();
            const auto place = [&](const Key& key) {
                return std::find(names.begin(), names.end(), Utf8::Folded(key.name)) -
                       names.begin();
            };
            for (const Key* key : declared_) {
                NodeRecord node;
                EdgeRecord edge;
                const bool taken = record == NodeRecords ? TakeNodeAttribute(node, key->name, {})
                                                         : TakeEdgeAttribute(edge, key->name, {});
                if (Applies(*key, domains[record]) && taken && !key->defaultValue.text.empty() &&
                    place(*key) == static_cast<std::ptrdiff_t>(names.size())) {
                    names.push_back(Utf8::Folded(key->name));
                    defaults_[record].push_back(key);
                }
            }
            for (Key* key : declared_) {
                const std::ptrdiff_t at = place(*key);
                key->slot[record] =
                    Applies(*key, domains[record]) && at < static_cast<std::ptrdiff_t>(names.size())
                        ? static_cast<int>(at)
                        : -1;
            }
        }
    }

    static bool Applies(const Key& key, const char* domain) {
        return key.domain == domain || key.domain == "all";
    }

    void ReadGraph() {
        const std::string* edgeDefault = xml_.Attribute("edgedefault");
        if (edgeDefault && *edgeDefault != "directed" && *edgeDefault != "undirected")
            xml_.Fail("edgedefault " + TextTools::Quoted(*edgeDefault) +
                      " is neither directed nor undirected");
        directedDefault_ = !edgeDefault || *edgeDefault == "directed";
        PrepareDefaults();
        for (XmlReader::Event event; (event = xml_.Next()) != XmlReader::Event::End;) {
            if (event != XmlReader::Event::Start)
                continue;
            if (xml_.Name() == "node") {
                ReadNode();
            } else if (xml_.Name() == "edge") {
                ReadEdge();
            } else {
                if (xml_.Name() == "hyperedge")
                    LeaveOut("a hyperedge is left out: links join two nodes");
                xml_.SkipElement();
            }
        }
    }

    // What a <data> element gives: its text, and from yEd's node graphics a box and a label.
    struct Data {
        const Key* key = nullptr;
        FileValue value;
        std::optional<Centre> box;
        std::string boxLabel;
    };

    Data ReadData() {
        Data data;
        const auto key = keys_.find(Required("key"));
        if (key == keys_.end())
            xml_.Fail("the data key " + TextTools::Quoted(*xml_.Attribute("key")) +
                      " is not declared");
        data.key = &key->second;
        data.value.line = xml_.Line();
        data.value.stated = true; // present, even if empty
        int depth = 0;
        for (XmlReader::Event event; (event = xml_.Next()) != XmlReader::Event::End || depth > 0;) {
            if (event == XmlReader::Event::End) {
                --depth;
            } else if (event == XmlReader::Event::Text && depth == 0) {
                data.value.text += xml_.Text();
            } else if (event == XmlReader::Event::Start && xml_.Name() == "Geometry") {
                data.box = ReadGeometry();
                xml_.SkipElement();
            } else if (event == XmlReader::Event::Start && xml_.Name() == "NodeLabel") {
                const std::string text = ReadText();
                if (data.boxLabel.empty())
                    data.boxLabel = text;
            } else if (event == XmlReader::Event::Start) {
                ++depth;
            }
        }
        data.value.text = TextTools::Trim(data.value.text);
        return data;
    }

    Centre ReadGeometry() {
        double values[4] = {0, 0, 0, 0};
        const char* const names[4] = {"x", "y", "width", "height"};
        for (int i = 0; i < 4; ++i) {
            if (const std::string* text = xml_.Attribute(names[i]))
                values[i] = ParseNumber(*text, description_.fileName, xml_.Line(), names[i]);
        }
        return {values[0] + values[2] / 2, values[1] + values[3] / 2};
    }

    // Gives the record the defaults of the names it had no data for.
    template <typename Item, typename Take>
    static void TakeDefaults(Item& item, const std::vector<bool>& given,
                             const std::vector<const Key*>& defaults, Take take) {
        for (std::size_t i = 0; i < defaults.size(); ++i) {
            if (!given[i])
                take(item, defaults[i]->name, defaults[i]->defaultValue);
        }
    }

    static void MarkGiven(std::vector<bool>& given, const Key& key, Record record) {
        if (key.slot[record] >= 0)
            given[static_cast<std::size_t>(key.slot[record])] = true;
    }

    void ReadNode() {
        NodeRecord node;
        node.line = xml_.Line();
        node.id = Required("id");
        std::vector<bool> given(defaults_[NodeRecords].size());
        FileValue boxLabel;
        for (XmlReader::Event event; (event = xml_.Next()) != XmlReader::Event::End;) {
            if (event != XmlReader::Event::Start)
                continue;
            if (xml_.Name() == "data") {
                const Data data = ReadData();
                MarkGiven(given, *data.key, NodeRecords);
                TakeNodeAttribute(node, data.key->name, data.value);
                if (data.box)
                    node.centre = data.box;
                if (boxLabel.text.empty())
                    boxLabel = {data.boxLabel, data.value.line};
            } else {
                if (xml_.Name() == "graph")
                    LeaveOut("the graph inside node " + TextTools::Quoted(node.id) +
                             "' is left out with its nodes and edges");
                xml_.SkipElement();
            }
        }
        TakeDefaults(node, given, defaults_[NodeRecords], TakeNodeAttribute);
        if (!node.label.Given())
            node.label = boxLabel;
        description_.nodes.push_back(std::move(node));
    }

    void ReadEdge() {
        EdgeRecord edge;
        edge.line = xml_.Line();
        edge.source = Required("source");
        edge.target = Required("target");
        edge.directed = directedDefault_;
        if (const std::string* directed = xml_.Attribute("directed")) {
            if (*directed != "true" && *directed != "false")
                xml_.Fail("directed " + TextTools::Quoted(*directed) +
                          " is neither true nor false");
            edge.directed = *directed == "true";
        }
        std::vector<bool> given(defaults_[EdgeRecords].size());
        for (XmlReader::Event event; (event = xml_.Next()) != XmlReader::Event::End;) {
            if (event != XmlReader::Event::Start)
                continue;
            if (xml_.Name() == "data") {
                const Data data = ReadData();
                MarkGiven(given, *data.key, EdgeRecords);
                TakeEdgeAttribute(edge, data.key->name, data.value);
            } else {
                xml_.SkipElement();
            }
        }
        TakeDefaults(edge, given, defaults_[EdgeRecords], TakeEdgeAttribute);
        description_.edges.push_back(std::move(edge));
    }

    XmlReader xml_;
    GraphDescription description_;
    std::unordered_map<std::string, Key> keys_;
    std::vector<Key*> declared_; // the keys in the order of the file
    // By Record: a record takes a default for each name it has no value of, from the first key
    // declared with one. Worked out once, so that a record costs as many steps as its data.
    std::vector<const Key*> defaults_[2];
    bool directedDefault_ = true;
};

// Text for an element or a double-quoted attribute. Tabs and line breaks are written as
// references, which XML keeps as they are; other control characters XML 1.0 cannot hold.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&' || c == '<' || c == '>' || c == '"' || c == '\t' || c == '\n' || c == '\r')
            out += "&#" + std::to_string(byte) + ";";
        else if (byte < 0x20)
            Raise("Export", "GraphML cannot hold the control character in '" + text + "'");
        else
            out += c;
    }
    return out;
}

} // namespace

GraphDescription ReadGraphML(const std::string& text, const std::string& fileName) {
    return GraphMLReader(text, fileName).Read();
}

std::string WriteGraphML(const GraphView& graph) {
    bool directed = false;
    for (const ExportLink& link : graph.links)
        directed = directed || link.kind == 1;
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<graphml xmlns=\"http://graphml.graphdrawing.org/xmlns\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xsi:schemaLocation=\"http://graphml.graphdrawing.org/xmlns "
        "http://graphml.graphdrawing.org/xmlns/1.0/graphml.xsd\">\n"
        "  <key id=\"label\" for=\"node\" attr.name=\"label\" attr.type=\"string\"/>\n"
        "  <key id=\"x\" for=\"node\" attr.name=\"x\" attr.type=\"long\"/>\n"
        "  <key id=\"y\" for=\"node\" attr.name=\"y\" attr.type=\"long\"/>\n"
        "  <key id=\"kind\" for=\"edge\" attr.name=\"kind\" attr.type=\"string\"/>\n"
        "  <key id=\"weight\" for=\"edge\" attr.name=\"weight\" attr.type=\"double\"/>\n"
        "  <key id=\"probability\" for=\"edge\" attr.name=\"probability\" "
        "attr.type=\"double\"/>\n";
    if (graph.Stochastic())
        out += "  <key id=\"length\" for=\"edge\" attr.name=\"length\" attr.type=\"string\"/>\n";
    // A graph with one-way links is directed; the kind of every edge says the rest.
    out += std::string("  <graph id=\"G\" edgedefault=\"") +
           (directed ? "directed" : "undirected") + "\">\n";
    for (const ExportNode& node : graph.nodes) {
        out += "    <node id=\"" + Escaped(node.id) + "\"><data key=\"label\">" +
               Escaped(node.label) + "</data><data key=\"x\">" + std::to_string(node.x) +
               "</data><data key=\"y\">" + std::to_string(node.y) + "</data></node>\n";
    }
    for (const ExportLink& link : graph.links) {
        out += "    <edge source=\"" + Escaped(graph.nodes[link.from].id) + "\" target=\"" +
               Escaped(graph.nodes[link.to].id) + "\"><data key=\"kind\">" + KindName(link.kind) +
               "</data><data key=\"weight\">" + NumberText::Shortest(link.weight) +
               "</data><data key=\"probability\">" + NumberText::Shortest(link.probability) +
               "</data>" +
               (link.length.empty() ? ""
                                    : "<data key=\"length\">" + Escaped(link.length) + "</data>") +
               "</edge>\n";
    }
    out += "  </graph>\n</graphml>\n";
    return out;
}
