#include "Report.h"

#include "Choices.h"
#include "JsonText.h"
#include "Latin1.h"
#include "clsLA.h"

namespace Report {

namespace {
const char* const kKindNames[] = {"simple", "unidirectional", "bidirectional"};

std::string KindName(int32_t kind) {
    return kind >= 0 && kind <= 2 ? kKindNames[kind] : std::to_string(kind);
}

} // namespace

// A message's own line breaks (CR LF) become plain ones; anything else that could command the
// terminal is escaped. File names in messages are the file system's bytes, shown as they are.
std::string ForTerminal(const std::string& message) {
    const std::string text = Utf8::FromBytes(message);
    std::string out;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find("\r\n", start);
        out += JsonText::Escaped(text.substr(start, end - start));
        if (end == std::string::npos)
            return out;
        out += '\n';
        start = end + 2;
    }
}

// Labels and traces are Latin-1.
std::string Shown(const std::string& latin1) {
    return JsonText::Escaped(Latin1::ToUtf8(latin1));
}
std::string QuotedLabel(const std::string& latin1) {
    return JsonText::Quote(Latin1::ToUtf8(latin1));
}
std::string QuotedMessage(const std::string& message) {
    return JsonText::Quote(Utf8::FromBytes(message));
}

void WriteLinksJson(std::ostream& out, const clsGraph& graph) {
    out << "\"links\": [";
    for (int32_t i = 1; i <= graph.LinkCount(); ++i) {
        const clsLink& link = graph.Link(i);
        out << (i > 1 ? ",\n  " : "\n  ") << "{\"index\": " << i
            << ", \"from\": " << QuotedLabel(link.FromNode->Label())
            << ", \"to\": " << QuotedLabel(link.ToNode->Label()) << ", \"type\": " << link.LinkType
            << ", \"weight\": " << JsonText::Float(link.Weight)
            << ", \"probability\": " << JsonText::Float(link.Probability) << "}";
    }
    out << "]";
}

void WriteLinksText(std::ostream& out, const clsGraph& graph) {
    out << "link\tfrom\tto\tkind\tweight\tprobability\n";
    for (int32_t i = 1; i <= graph.LinkCount(); ++i) {
        const clsLink& link = graph.Link(i);
        out << i << '\t' << Shown(link.FromNode->Label()) << '\t' << Shown(link.ToNode->Label())
            << '\t' << KindName(link.LinkType) << '\t' << JsonText::Float(link.Weight) << '\t'
            << JsonText::Float(link.Probability) << '\n';
    }
}

void WriteSettingsText(std::ostream& out, const clsLA& la) {
    const RunSettings& s = la.Settings;
    // A number that is no choice is shown as it is.
    const auto shown = [](const Choices& choices, int32_t number) {
        const Choices::Row* row = choices.Of(number);
        return row ? std::string(row->shown) : std::to_string(number);
    };
    out << "nodes: " << la.Graph().NodeCount() << "\nlinks: " << la.Graph().LinkCount()
        << "\nranges: " << la.Ranges().RangeCount()
        << "\nmodel: " << shown(Choices::Models, s.Model)
        << "\nscheme: " << shown(Choices::Schemes, s.ModelType)
        << "\nreward: " << JsonText::Float(s.Reward) << "\npenalty: " << JsonText::Float(s.Penalty)
        << "\nlearning factor: " << JsonText::Float(s.LearningFactor) << '\n';
    for (int32_t i = 1; i <= la.Ranges().RangeCount(); ++i) {
        const clsRange& r = la.Ranges().Range(i);
        out << "range " << i << ": " << JsonText::Float(r.StartNumber) << " to "
            << JsonText::Float(r.EndNumber) << " answers " << JsonText::Float(r.Answer) << '\n';
    }
}

void WriteSettingsJson(std::ostream& out, const clsLA& la) {
    const RunSettings& s = la.Settings;
    out << "\"settings\": {\"model\": " << s.Model << ", \"scheme\": " << s.ModelType
        << ", \"reward\": " << JsonText::Float(s.Reward)
        << ", \"penalty\": " << JsonText::Float(s.Penalty)
        << ", \"learningFactor\": " << JsonText::Float(s.LearningFactor)
        << "},\n\"nodeCount\": " << la.Graph().NodeCount() << ",\n\"ranges\": [";
    for (int32_t i = 1; i <= la.Ranges().RangeCount(); ++i) {
        const clsRange& r = la.Ranges().Range(i);
        out << (i > 1 ? ", " : "") << "{\"start\": " << JsonText::Float(r.StartNumber)
            << ", \"end\": " << JsonText::Float(r.EndNumber)
            << ", \"answer\": " << JsonText::Float(r.Answer) << "}";
    }
    out << "]";
}

void WriteJsonFailure(std::ostream& out, const std::string& message) {
    out << "{\"status\": \"error\", \"message\": " << QuotedMessage(message)
        << ", \"pathCount\": 0, \"paths\": [], \"links\": []}\n";
}

} // namespace Report
