#include "Runner.h"

#include "ConsoleHost.h"
#include "DocumentFile.h"
#include "JsonText.h"
#include "Latin1.h"
#include "PathloomError.h"
#include "RunOptions.h"
#include "clsLA.h"

#include <algorithm>
#include <sstream>

namespace {

const char* const kKindNames[] = {"simple", "unidirectional", "bidirectional"};

std::string KindName(int32_t kind) {
    return kind >= 0 && kind <= 2 ? kKindNames[kind] : std::to_string(kind);
}

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

clsNode* FindNode(clsGraph& graph, const std::string& option, const std::string& name) {
    if (name.size() > 1 && name[0] == '#' &&
        name.find_first_not_of("0123456789", 1) == std::string::npos && name.size() < 11) {
        const long long index = std::stoll(name.substr(1));
        if (index < 1 || index > graph.NodeCount())
            throw UsageError("no node " + name + " for " + option + " (the document has " +
                             std::to_string(graph.NodeCount()) + " nodes)");
        return &graph.Node(static_cast<int32_t>(index));
    }
    const auto label = Latin1::FromUtf8(name);
    if (label) {
        for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
            if (Latin1::EqualNoCase(graph.Node(i).Label(), *label))
                return &graph.Node(i);
        }
    }
    throw UsageError("no node labelled '" + name + "' for " + option);
}

// The options dialog's rules, with its messages where they fit.
void ApplySettings(clsLA& la, const RunOptions& o) {
    if (o.model)
        la.Model = *o.model;
    if (o.factor)
        la.LearningFactor = *o.factor;
    if (o.scheme || o.reward || o.penalty) {
        const int scheme = o.scheme.value_or(la.ModelType);
        const float reward = o.reward.value_or(la.Reward);
        float penalty = o.penalty.value_or(la.Penalty);
        if (scheme == 0)
            penalty = reward;
        else if (scheme == 2)
            penalty = 0.0f;
        else if (!(penalty < reward))
            throw UsageError("In LR(E)P type, Penalty value must be less than Reward value.");
        la.ModelType = scheme;
        la.Reward = reward;
        la.Penalty = penalty;
    }
    if (!o.method)
        return;
    la.GraphSearchMethod = *o.method;
    la.EnableDelay = false;
    if (*o.method != 2) {
        if (!o.source)
            throw UsageError("Please select source node.");
        la.sourceNode = FindNode(la.Graph(), "--source", *o.source);
    }
    if (*o.method == 1) {
        if (!o.dest)
            throw UsageError("Please select destination node.");
        la.DestNode = FindNode(la.Graph(), "--dest", *o.dest);
        if (la.DestNode == la.sourceNode)
            throw UsageError(
                "Source node and destination node are equal. Please select different node.");
    }
    if (*o.method == 2) {
        if (!o.paths)
            throw UsageError("Please select a path file (--paths FILE).");
        la.FilePath = *o.paths;
    }
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
    static const char* const models[] = {"P-Model", "S-Model"};
    static const char* const schemes[] = {"LRP", "LR(E)P", "LRI"};
    out << "nodes: " << la.Graph().NodeCount() << "\nlinks: " << la.Graph().LinkCount()
        << "\nranges: " << la.Ranges().RangeCount() << "\nmodel: "
        << (la.Model == 0 || la.Model == 1 ? models[la.Model] : std::to_string(la.Model))
        << "\nscheme: "
        << (la.ModelType >= 0 && la.ModelType <= 2 ? schemes[la.ModelType]
                                                   : std::to_string(la.ModelType))
        << "\nreward: " << JsonText::Float(la.Reward)
        << "\npenalty: " << JsonText::Float(la.Penalty)
        << "\nlearning factor: " << JsonText::Float(la.LearningFactor) << '\n';
    for (int32_t i = 1; i <= la.Ranges().RangeCount(); ++i) {
        const clsRange& r = la.Ranges().Range(i);
        out << "range " << i << ": " << JsonText::Float(r.StartNumber) << " to "
            << JsonText::Float(r.EndNumber) << " answers " << JsonText::Float(r.Answer) << '\n';
    }
}

void WriteSettingsJson(std::ostream& out, const clsLA& la) {
    out << "\"settings\": {\"model\": " << la.Model << ", \"scheme\": " << la.ModelType
        << ", \"reward\": " << JsonText::Float(la.Reward)
        << ", \"penalty\": " << JsonText::Float(la.Penalty)
        << ", \"learningFactor\": " << JsonText::Float(la.LearningFactor)
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

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        std::ostream* progress) {
    const bool json = [&] {
        for (const auto& a : args)
            if (a == "--json")
                return true;
        return false;
    }();
    clsLA la;
    RunOptions options;
    try {
        options = ParseRunOptions(args);
    } catch (const UsageError& e) {
        err << "pathloom-run: " << e.what() << '\n' << UsageText();
        if (json)
            WriteJsonFailure(out, e.what());
        return ExitStatus::Usage;
    }
    try {
        LoadGraph(la, options.document);
    } catch (const PathloomError& e) {
        err << ForTerminal(e.Description()) << '\n';
        if (json)
            WriteJsonFailure(out, e.Description());
        return ExitStatus::LoadFailed;
    }
    try {
        ApplySettings(la, options);
    } catch (const UsageError& e) {
        err << "pathloom-run: " << ForTerminal(e.what()) << '\n';
        if (json)
            WriteJsonFailure(out, e.what());
        return ExitStatus::Usage;
    }

    std::vector<ConsoleHost::Message> saveMessages;
    auto saveIfAsked = [&] {
        if (!options.save)
            return;
        try {
            SaveGraph(la, *options.save);
        } catch (const PathloomError& e) {
            saveMessages.push_back({e.Description(), MessageIcon::Critical});
        }
    };

    if (!options.method) {
        saveIfAsked();
        const bool failed = !saveMessages.empty();
        if (json) {
            out << "{\"status\": \"" << (failed ? "error" : "ok")
                << "\", \"message\": " << (failed ? QuotedMessage(saveMessages[0].text) : "null")
                << ",\n\"pathCount\": 0,\n\"paths\": [],\n";
            WriteSettingsJson(out, la);
            out << ",\n";
            WriteLinksJson(out, la.Graph());
            out << "}\n";
        } else {
            WriteSettingsText(out, la);
            WriteLinksText(out, la.Graph());
            for (const auto& m : saveMessages)
                out << ForTerminal(m.text) << '\n';
        }
        return failed ? ExitStatus::RunError : ExitStatus::Ok;
    }

    // JSON paths stream out as they are learned, so a long run holds none of them in memory.
    int32_t listed = 0;
    if (json)
        out << "{\"paths\": [";
    ConsoleHost host(
        [&](int32_t n, const std::string& trace, float cost) {
            if (json) {
                out << (listed == 0 ? "\n  " : ",\n  ") << "{\"n\": " << n
                    << ", \"trace\": " << QuotedLabel(trace)
                    << ", \"cost\": " << JsonText::Float(cost) << "}";
            } else if (!options.quiet) {
                out << n << '\t' << Shown(trace) << '\t' << JsonText::Float(cost) << '\n';
            }
            ++listed;
        },
        progress);
    la.Start(host);
    host.FinishProgress();
    saveIfAsked();

    std::vector<ConsoleHost::Message> messages = host.Messages();
    messages.insert(messages.end(), saveMessages.begin(), saveMessages.end());
    const ConsoleHost::Message* critical = nullptr;
    bool notFound = false;
    for (const auto& m : messages) {
        if (m.icon == MessageIcon::Critical && !critical)
            critical = &m;
        if (m.text == "Not found any path.")
            notFound = true;
    }
    const char* status = critical ? "error" : notFound ? "not-found" : "ok";

    if (json) {
        out << "],\n\"status\": \"" << status
            << "\", \"message\": " << (critical ? QuotedMessage(critical->text) : "null")
            << ",\n\"pathCount\": " << la.PathCount() << ",\n";
        WriteLinksJson(out, la.Graph());
        out << "}\n";
    } else {
        WriteLinksText(out, la.Graph());
        out << "paths: " << la.PathCount() << "\nstatus: " << status << '\n';
        for (const auto& m : messages)
            out << ForTerminal(m.text) << '\n';
    }
    return critical ? ExitStatus::RunError : ExitStatus::Ok;
}

} // namespace

int RunPathloom(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                std::ostream* progress) {
    int status = ExitStatus::Ok;
    if (std::find(args.begin(), args.end(), "--help") != args.end())
        out << UsageText();
    else
        status = Run(args, out, err, progress);
    // A full disk or a closed standard output must not pass for success.
    out.flush();
    if (!out) {
        err << "pathloom-run: the output could not be written\n";
        return ExitStatus::OutputFailed;
    }
    return status;
}
