#include "RunSetup.h"

#include "DocumentExtension.h"
#include "Latin1.h"
#include "LinkLength.h"
#include "TextTools.h"
#include "clsLA.h"

#include <algorithm>
#include <unordered_map>

namespace {

// The nodes as the options name them: "#N" for the N-th, else a label, letters in any case (the
// first node that has it). One table, so that thousands of names take no longer than one scan.
class NodeNames {
  public:
    explicit NodeNames(const clsGraph& graph) : count_(graph.NodeCount()) {
        byLabel_.reserve(static_cast<std::size_t>(count_));
        for (int32_t i = 1; i <= count_; ++i)
            byLabel_.emplace(Latin1::Folded(graph.Node(i).Label()), i);
    }

    int32_t Find(const std::string& option, const std::string& name) const {
        if (name.size() > 1 && name[0] == '#' &&
            name.find_first_not_of("0123456789", 1) == std::string::npos && name.size() < 11) {
            const long long index = std::stoll(name.substr(1));
            if (index < 1 || index > count_)
                throw UsageError("no node " + name + " for " + option + " (the document has " +
                                 std::to_string(count_) + " nodes)");
            return static_cast<int32_t>(index);
        }
        if (const auto label = Latin1::FromUtf8(name)) {
            const auto found = byLabel_.find(Latin1::Folded(*label));
            if (found != byLabel_.end())
                return found->second;
        }
        throw UsageError("no node labelled " + TextTools::Quoted(name) + " for " + option);
    }

  private:
    int32_t count_;
    std::unordered_map<std::string, int32_t> byLabel_;
};

// The links as --length names them, "A->B": the first link stored from A to B, else the first
// simple or bidirectional one stored from B to A.
class LinkNames {
  public:
    explicit LinkNames(clsGraph& graph) : graph_(graph), nodes_(graph) {
        std::unordered_map<const clsNode*, int32_t> position;
        position.reserve(static_cast<std::size_t>(graph.NodeCount()));
        for (int32_t i = 1; i <= graph.NodeCount(); ++i)
            position.emplace(&graph.Node(i), i);
        byEnds_.reserve(static_cast<std::size_t>(graph.LinkCount()) * 2);
        for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
            const clsLink& link = graph.Link(j);
            const int32_t from = position.at(link.FromNode), to = position.at(link.ToNode);
            Ends& forward = byEnds_[Key(from, to)];
            forward.stored = forward.stored ? forward.stored : j;
            if (link.LinkType != LinkKind::Unidirectional) {
                Ends& backward = byEnds_[Key(to, from)];
                backward.backwards = backward.backwards ? backward.backwards : j;
            }
        }
    }

    clsLink& Find(const std::string& name) const {
        const std::size_t arrow = name.find("->");
        const int32_t from = nodes_.Find("--length", name.substr(0, arrow));
        const int32_t to = nodes_.Find("--length", name.substr(arrow + 2));
        const auto found = byEnds_.find(Key(from, to));
        if (found == byEnds_.end() || !(found->second.stored || found->second.backwards))
            throw UsageError("no link " + TextTools::Cut(name) + " for --length");
        return graph_.Link(found->second.stored ? found->second.stored : found->second.backwards);
    }

  private:
    struct Ends {
        int32_t stored = 0, backwards = 0; // link numbers, 0 for none
    };
    static uint64_t Key(int32_t from, int32_t to) {
        return static_cast<uint64_t>(static_cast<uint32_t>(from)) << 32 | static_cast<uint32_t>(to);
    }

    clsGraph& graph_;
    NodeNames nodes_;
    std::unordered_map<uint64_t, Ends> byEnds_;
};

} // namespace

void ApplyLengths(clsGraph& graph, const RunOptions& o) {
    if (o.lengths.empty())
        return;
    const LinkNames links(graph);
    for (const auto& [name, length] : o.lengths) {
        clsLink& link = links.Find(name);
        if (LinkLength::LooksLikeDistribution(length)) {
            link.SetLength(std::make_shared<const LinkLength>(LinkLength::Parse(length)));
        } else {
            link.SetLength(nullptr);
            link.Weight = ParseNumber("--length", length);
        }
    }
}

RunSettings RequestedSettings(const clsLA& la, const RunOptions& o) {
    RunSettings s = la.Settings;
    std::optional<NodeNames> nodes;
    for (const Setting& setting : SettingRegistry::All()) {
        const auto& given = o.Given(setting);
        if (!given)
            continue;
        if (setting.type == Setting::Type::Node) {
            if (!nodes)
                nodes.emplace(la.Graph());
            setting.Set(s, nodes->Find(setting.Option(), std::get<std::string>(*given)));
        } else {
            setting.Set(s, *given);
        }
    }
    const std::optional<int32_t> method = o.Method();
    if (!method)
        return s;
    s.EnableDelay = false;
    // A document does not keep the file of a method that reads one: it must be named.
    if (const Choices::Row* source = Choices::SearchMethods.Of(*method)) {
        for (const Setting& setting : SettingRegistry::All()) {
            if (setting.type == Setting::Type::File && setting.ReadBy(*source) && !o.Given(setting))
                throw UsageError(setting.refusal);
        }
    }
    return s;
}

std::optional<RunSettings> ApplySettings(clsLA& la, const RunOptions& o) {
    RunSettings s = RequestedSettings(la, o);
    // A setting that some parts read and others not (a scheme's own) goes with those that do.
    for (const Setting& setting : SettingRegistry::All()) {
        if (setting.sweep == Setting::Sweep::WhenRead && o.Given(setting) && !setting.ReadIn(s))
            throw UsageError(setting.GoesWith());
    }
    const std::optional<int32_t> method = o.Method();
    if (!method) {
        if (std::none_of(o.settings.begin(), o.settings.end(),
                         [](const auto& given) { return given.has_value(); }))
            return std::nullopt;
        // Nothing runs, so no node is needed; the numbers must still make a run.
        RunSettings numbers = s;
        numbers.GraphSearchMethod = SearchMethod::ReadFromFile;
        if (const auto refusal = numbers.Validate(la.Graph()))
            throw UsageError(refusal->message);
        la.Settings = s.Normalised();
        return std::nullopt;
    }
    if (const auto refusal = s.Validate(la.Graph()))
        throw UsageError(refusal->message);
    s = s.Normalised();
    if (*method == SearchMethod::Sample) {
        // The fixed layout cannot name this method: the document takes the learning settings and
        // keeps its own method and what path sources read, unless its extension block keeps the
        // whole run.
        const Setting& methodSetting = SettingRegistry::Of(&RunSettings::GraphSearchMethod);
        RunSettings document = la.Settings;
        for (const Setting& setting : SettingRegistry::All()) {
            if (&setting != &methodSetting && !setting.ReadThrough(methodSetting))
                setting.Set(document, setting.Get(s));
        }
        la.Settings = document;
        if (DocumentExtension::Needed(la))
            la.Settings = s;
    } else {
        la.Settings = s;
    }
    return s;
}
