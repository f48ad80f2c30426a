#include "RunSetup.h"

#include "DocumentExtension.h"
#include "Latin1.h"
#include "LinkLength.h"
#include "TextTools.h"
#include "clsLA.h"

namespace {

int32_t FindNode(const clsGraph& graph, const std::string& option, const std::string& name) {
    if (name.size() > 1 && name[0] == '#' &&
        name.find_first_not_of("0123456789", 1) == std::string::npos && name.size() < 11) {
        const long long index = std::stoll(name.substr(1));
        if (index < 1 || index > graph.NodeCount())
            throw UsageError("no node " + name + " for " + option + " (the document has " +
                             std::to_string(graph.NodeCount()) + " nodes)");
        return static_cast<int32_t>(index);
    }
    if (const auto label = Latin1::FromUtf8(name)) {
        for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
            if (Latin1::EqualNoCase(graph.Node(i).Label(), *label))
                return i;
        }
    }
    throw UsageError("no node labelled " + TextTools::Quoted(name) + " for " + option);
}

// "A->B": the link stored from A to B, or a simple or bidirectional one stored from B to A.
clsLink& FindLink(clsGraph& graph, const std::string& name) {
    const std::size_t arrow = name.find("->");
    const clsNode& from = graph.Node(FindNode(graph, "--length", name.substr(0, arrow)));
    const clsNode& to = graph.Node(FindNode(graph, "--length", name.substr(arrow + 2)));
    clsLink* backwards = nullptr;
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        clsLink& link = graph.Link(j);
        if (link.FromNode == &from && link.ToNode == &to)
            return link;
        if (!backwards && link.FromNode == &to && link.ToNode == &from &&
            link.LinkType != LinkKind::Unidirectional)
            backwards = &link;
    }
    if (!backwards)
        throw UsageError("no link " + TextTools::Cut(name) + " for --length");
    return *backwards;
}

} // namespace

void ApplyLengths(clsGraph& graph, const RunOptions& o) {
    for (const auto& [name, length] : o.lengths) {
        clsLink& link = FindLink(graph, name);
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
    s.Model = o.model.value_or(s.Model);
    s.ModelType = o.scheme.value_or(s.ModelType);
    s.Reward = o.reward.value_or(s.Reward);
    s.Penalty = o.penalty.value_or(s.Penalty);
    s.LearningFactor = o.factor.value_or(s.LearningFactor);
    s.Threshold = o.threshold.value_or(s.Threshold);
    s.ActionSet = o.actionSet.value_or(s.ActionSet);
    if (!o.method)
        return s;
    s.GraphSearchMethod = *o.method;
    s.EnableDelay = false;
    if (o.source)
        s.sourceNode = FindNode(la.Graph(), "--source", *o.source);
    if (o.dest)
        s.DestNode = FindNode(la.Graph(), "--dest", *o.dest);
    if (*o.method == SearchMethod::ReadFromFile) {
        if (!o.paths)
            throw UsageError("Please select a path file (--paths FILE).");
        s.FilePath = *o.paths;
    }
    s.Samples = o.samples.value_or(s.Samples);
    s.Seed = o.seed.value_or(s.Seed);
    s.Target = o.until ? o.until : s.Target;
    return s;
}

std::optional<RunSettings> ApplySettings(clsLA& la, const RunOptions& o) {
    RunSettings s = RequestedSettings(la, o);
    if (!o.method) {
        if (!(o.scheme || o.reward || o.penalty || o.model || o.factor || o.threshold ||
              o.actionSet))
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
    if (*o.method == SearchMethod::Sample) {
        RunSettings document = la.Settings;
        document.Model = s.Model;
        document.ModelType = s.ModelType;
        document.Reward = s.Reward;
        document.Penalty = s.Penalty;
        document.LearningFactor = s.LearningFactor;
        document.Threshold = s.Threshold;
        document.ActionSet = s.ActionSet;
        la.Settings = document;
        // A document with an extension block keeps the whole run.
        if (DocumentExtension::Needed(la))
            la.Settings = s;
    } else {
        la.Settings = s;
    }
    return s;
}
