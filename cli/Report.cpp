#include "Report.h"

#include "Choices.h"
#include "JsonText.h"
#include "Latin1.h"
#include "clsLA.h"

#include <type_traits>

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

void WriteMembers(std::ostream& out, const Figures& figures) {
    for (std::size_t i = 0; i < figures.size(); ++i) {
        out << (i > 0 ? ", \"" : "\"") << figures[i].name << "\": ";
        std::visit(
            [&out](const auto& value) {
                using Held = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Held, std::monostate>) {
                    out << "null";
                } else if constexpr (std::is_same_v<Held, bool>) {
                    out << (value ? "true" : "false");
                } else if constexpr (std::is_same_v<Held, int64_t>) {
                    out << value;
                } else if constexpr (std::is_same_v<Held, float>) {
                    out << JsonText::Float(value);
                } else if constexpr (std::is_same_v<Held, double>) {
                    out << JsonText::Double(value);
                } else if constexpr (std::is_same_v<Held, std::string>) {
                    out << JsonText::Quote(value);
                } else if constexpr (std::is_same_v<Held, Figures>) {
                    out << '{';
                    WriteMembers(out, value);
                    out << '}';
                } else {
                    out << '[';
                    for (std::size_t k = 0; k < value.size(); ++k) {
                        out << (k > 0 ? ", {" : "{");
                        WriteMembers(out, value[k]);
                        out << '}';
                    }
                    out << ']';
                }
            },
            figures[i].value);
    }
}

std::string TextOf(const Figure& figure) {
    const Figure::Value& value = figure.value;
    std::string text = std::string(figure.name) + ": ";
    if (const auto* flag = std::get_if<bool>(&value))
        return text + (*flag ? "true" : "false");
    if (const auto* count = std::get_if<int64_t>(&value))
        return text + std::to_string(*count);
    if (const auto* single = std::get_if<float>(&value))
        return text + JsonText::Float(*single);
    if (const auto* number = std::get_if<double>(&value))
        return text + JsonText::Double(*number);
    if (const auto* utf8 = std::get_if<std::string>(&value))
        return text + JsonText::Escaped(*utf8);
    return text + figure.absent;
}

Figures LinkFigures(const clsGraph& graph, int32_t i, float weight, float probability) {
    const clsLink& link = graph.Link(i);
    return {{"index", int64_t{i}},
            {"from", Latin1::ToUtf8(link.FromNode->Label())},
            {"to", Latin1::ToUtf8(link.ToNode->Label())},
            {"type", int64_t{link.LinkType}},
            {"weight", weight},
            {"probability", probability}};
}

void WriteLinksJson(std::ostream& out, const clsGraph& graph) {
    out << '"' << Names::Links << "\": [";
    for (int32_t i = 1; i <= graph.LinkCount(); ++i) {
        out << (i > 1 ? ",\n  {" : "\n  {");
        WriteMembers(out, LinkFigures(graph, i, graph.Link(i).Weight, graph.Link(i).Probability));
        out << '}';
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

Figures SummaryFigures(const clsLA& la) {
    const RunSettings& s = la.Settings;
    std::vector<Figures> ranges;
    for (int32_t i = 1; i <= la.Ranges().RangeCount(); ++i) {
        const clsRange& r = la.Ranges().Range(i);
        ranges.push_back({{"start", r.StartNumber}, {"end", r.EndNumber}, {"answer", r.Answer}});
    }
    return {{Names::Paths, std::vector<Figures>{}},
            {"settings", Figures{{"model", int64_t{s.Model}},
                                 {"scheme", int64_t{s.ModelType}},
                                 {"reward", s.Reward},
                                 {"penalty", s.Penalty},
                                 {"learningFactor", s.LearningFactor}}},
            {"nodeCount", int64_t{la.Graph().NodeCount()}},
            {"ranges", std::move(ranges)}};
}

void WriteJsonFailure(std::ostream& out, const std::string& message) {
    out << "{\"status\": \"error\", \"message\": " << QuotedMessage(message)
        << ", \"pathCount\": 0, \"paths\": [], \"links\": []}\n";
}

} // namespace Report
