#include "EditCommands.h"

#include "Latin1.h"
#include "NodeGeometry.h"

#include <algorithm>
#include <climits>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace {

using NodeIndexes = std::unordered_map<const clsNode*, int32_t>;

NodeIndexes IndexesOf(const clsGraph& graph) {
    NodeIndexes indexes;
    indexes.reserve(static_cast<std::size_t>(graph.NodeCount()));
    for (int32_t i = 1; i <= graph.NodeCount(); ++i)
        indexes.emplace(&graph.Node(i), i);
    return indexes;
}

LinkEntry RecordOf(const clsGraph& graph, int32_t index, const NodeIndexes& nodes) {
    const clsLink& link = graph.Link(index);
    return {index,       nodes.at(link.FromNode), nodes.at(link.ToNode),   link.LinkType,
            link.Weight, link.Probability,        link.InitialProbability, link.Length};
}

NodeEntry RecordOf(const clsNode& node, int32_t index) {
    return NodeEntry{index, node.Labelz(), node.ID, node.Position.x, node.Position.y};
}

void PutBack(clsGraph& graph, const NodeEntry& r) {
    clsNode& node = graph.InsertNode(r.index);
    node.SetLabelz(r.label);
    node.ID = r.id;
    node.Position = {r.x, r.y};
}

void PutBack(clsGraph& graph, const LinkEntry& r) {
    clsLink& link = graph.InsertLink(r.index);
    link.FromNode = &graph.Node(r.from);
    link.ToNode = &graph.Node(r.to);
    link.LinkType = r.kind;
    link.Weight = r.weight;
    link.Probability = r.probability;
    link.InitialProbability = r.initialProbability;
    link.Length = r.length;
}

void SetProbabilities(clsGraph& graph, const std::vector<float>& values) {
    for (int32_t j = 1; j <= graph.LinkCount(); ++j)
        graph.Link(j).Probability = values[static_cast<std::size_t>(j - 1)];
}

} // namespace

StructureCommand::StructureCommand(GraphDocument& document, const QString& name)
    : DocumentCommand(document, name), probabilities_(ProbabilitiesCommand::Of(document.Graph())) {}

void StructureCommand::RestoreProbabilities() {
    SetProbabilities(Graph(), probabilities_);
}

AddNodeCommand::AddNodeCommand(GraphDocument& document, int32_t x, int32_t y)
    : StructureCommand(document, "Add Node"), x_(x), y_(y) {}

void AddNodeCommand::Apply(bool forward) {
    if (forward) {
        Graph().AddNode(x_, y_);
        return;
    }
    Engine().DeleteNode(Graph().NodeCount());
    RestoreProbabilities();
}

AddLinkCommand::AddLinkCommand(GraphDocument& document, int32_t from, int32_t to, int32_t kind)
    : StructureCommand(document, "Add Link"), from_(from), to_(to), kind_(kind) {
    document.Graph().CheckNewLink(from, to);
}

void AddLinkCommand::Apply(bool forward) {
    if (forward) {
        Graph().AddLink(from_, to_, kind_);
        return;
    }
    Graph().DeleteLink(Graph().LinkCount());
    RestoreProbabilities();
}

DeleteCommand::DeleteCommand(GraphDocument& document, const QString& name)
    : StructureCommand(document, name), settings_(document.Settings()) {}

DeleteCommand* DeleteCommand::Node(GraphDocument& document, int32_t index) {
    return Many(document, {index}, {}, "Delete Node");
}

DeleteCommand* DeleteCommand::Link(GraphDocument& document, int32_t index) {
    return Many(document, {}, {index}, "Delete Link");
}

DeleteCommand* DeleteCommand::Many(GraphDocument& document, const std::vector<int32_t>& nodes,
                                   const std::vector<int32_t>& links, const QString& name) {
    auto* command = new DeleteCommand(document, name);
    const clsGraph& graph = document.Graph();
    const std::set<int32_t> gone(nodes.begin(), nodes.end());
    const std::set<int32_t> chosenLinks(links.begin(), links.end());
    for (const int32_t index : gone)
        command->nodes_.push_back(RecordOf(graph.Node(index), index));
    const NodeIndexes indexes = IndexesOf(graph);
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        LinkEntry link = RecordOf(graph, j, indexes);
        if (chosenLinks.count(j) || gone.count(link.from) || gone.count(link.to))
            command->links_.push_back(link);
    }
    return command;
}

void DeleteCommand::Apply(bool forward) {
    clsGraph& graph = Graph();
    if (forward) {
        // From the last, so that the places of the others stay as recorded.
        for (auto link = links_.rbegin(); link != links_.rend(); ++link)
            graph.DeleteLink(link->index);
        for (auto node = nodes_.rbegin(); node != nodes_.rend(); ++node)
            Engine().DeleteNode(node->index);
        return;
    }
    // In order, so that each goes back to its own place.
    for (const NodeEntry& node : nodes_)
        PutBack(graph, node);
    for (const LinkEntry& link : links_)
        PutBack(graph, link);
    graph.InitProbability();
    RestoreProbabilities();
    Engine().Settings = settings_;
}

MoveNodesCommand::MoveNodesCommand(GraphDocument& document, std::vector<Place> places, int gesture,
                                   const QString& name)
    : DocumentCommand(document, name), gesture_(gesture), after_(std::move(places)) {
    for (const Place& place : after_)
        before_.push_back({place.node, document.Graph().Node(place.node).Position});
}

int MoveNodesCommand::id() const {
    return gesture_ ? 1 : -1; // -1: never merged
}

bool MoveNodesCommand::mergeWith(const QUndoCommand* other) {
    const auto* later = static_cast<const MoveNodesCommand*>(other);
    const auto sameNodes = [](const Place& a, const Place& b) { return a.node == b.node; };
    if (later->gesture_ != gesture_ ||
        !std::equal(after_.begin(), after_.end(), later->after_.begin(), later->after_.end(),
                    sameNodes))
        return false;
    after_ = later->after_;
    bool moved = false;
    for (std::size_t i = 0; i < after_.size(); ++i) {
        const clsPosition &from = before_[i].at, &to = after_[i].at;
        moved = moved || from.x != to.x || from.y != to.y;
    }
    setObsolete(!moved); // back where the gesture began: no step at all
    return true;
}

void MoveNodesCommand::Apply(bool forward) {
    for (const Place& place : forward ? after_ : before_)
        Graph().Node(place.node).Position = place.at;
}

namespace {
std::vector<MoveNodesCommand::Place> EveryNode(const std::vector<clsPosition>& positions) {
    std::vector<MoveNodesCommand::Place> places;
    for (std::size_t i = 0; i < positions.size(); ++i)
        places.push_back({static_cast<int32_t>(i) + 1, positions[i]});
    return places;
}
} // namespace

LayoutCommand::LayoutCommand(GraphDocument& document, const std::vector<clsPosition>& positions)
    : MoveNodesCommand(document, EveryNode(positions), 0, "Layout") {}

RenameNodeCommand::RenameNodeCommand(GraphDocument& document, int32_t index,
                                     const std::string& label)
    : DocumentCommand(document, "Node Properties"), index_(index),
      before_(document.Graph().Node(index).Labelz()) {
    clsNode renamed;
    renamed.SetLabel(label);
    after_ = renamed.Labelz();
}

void RenameNodeCommand::Apply(bool forward) {
    Graph().Node(index_).SetLabelz(forward ? after_ : before_);
}

LinkValuesCommand::LinkValuesCommand(GraphDocument& document, int32_t index, float weight,
                                     std::optional<float> probability,
                                     std::shared_ptr<const LinkLength> length)
    : LinkValuesCommand(document, std::vector<int32_t>{index}, weight, probability,
                        std::move(length)) {}

LinkValuesCommand::LinkValuesCommand(GraphDocument& document, const std::vector<int32_t>& links,
                                     float weight, std::optional<float> probability,
                                     std::shared_ptr<const LinkLength> length)
    : DocumentCommand(document, "Link Properties") {
    for (const int32_t index : links) {
        const clsLink& link = document.Graph().Link(index);
        before_.push_back(
            {index, link.Weight, link.Probability, link.InitialProbability, link.Length});
        Values& set = after_.emplace_back(before_.back());
        set.weight = length ? static_cast<float>(length->Mean()) : weight;
        set.length = length;
        if (probability && link.LinkType != LinkKind::Unidirectional)
            set.probability = set.initialProbability = *probability;
    }
}

void LinkValuesCommand::Apply(bool forward) {
    for (const Values& values : forward ? after_ : before_) {
        clsLink& link = Graph().Link(values.index);
        link.Weight = values.weight;
        link.Length = values.length;
        link.Probability = values.probability;
        link.InitialProbability = values.initialProbability;
    }
}

SettingsCommand::SettingsCommand(GraphDocument& document,
                                 const std::optional<RunSettings>& settings,
                                 const std::optional<clsRanges>& ranges, const QString& name,
                                 bool stored)
    : DocumentCommand(document, !name.isEmpty() ? name
                                : settings      ? "Options"
                                                : "Ranges"),
      stored_(stored), settingsBefore_(document.Settings()),
      settingsAfter_(settings.value_or(settingsBefore_)), rangesBefore_(document.Ranges()),
      rangesAfter_(ranges.value_or(rangesBefore_)) {}

void SettingsCommand::Apply(bool forward) {
    Engine().Settings = forward ? settingsAfter_ : settingsBefore_;
    Engine().Ranges() = forward ? rangesAfter_ : rangesBefore_;
}

ProbabilitiesCommand::ProbabilitiesCommand(GraphDocument& document, const QString& name,
                                           std::vector<float> before, std::vector<float> after)
    : DocumentCommand(document, name), before_(std::move(before)), after_(std::move(after)) {}

std::vector<float> ProbabilitiesCommand::Of(const clsGraph& graph) {
    std::vector<float> values(static_cast<std::size_t>(graph.LinkCount()));
    for (int32_t j = 1; j <= graph.LinkCount(); ++j)
        values[static_cast<std::size_t>(j - 1)] = graph.Link(j).Probability;
    return values;
}

void ProbabilitiesCommand::Apply(bool forward) {
    SetProbabilities(Graph(), forward ? after_ : before_);
}

ResetCommand::ResetCommand(GraphDocument& document)
    : ProbabilitiesCommand(document, "Reset", Of(document.Graph()), {}) {}

void ResetCommand::Apply(bool forward) {
    if (!forward) {
        ProbabilitiesCommand::Apply(false);
        return;
    }
    Graph().RestoreProbabilities();
    Graph().ResetFlags();
}

namespace {

// The label itself while no label of `taken` folds alike, else the first free of "A_2", "A_3",
// ... ("A_2" goes on as "A_3"), cut to fit the label field. An empty label stays empty.
std::string UniqueLabel(const std::string& label, std::unordered_set<std::string>& taken) {
    if (label.empty() || taken.insert(Latin1::Folded(label)).second)
        return label;
    std::string base = label;
    long long number = 1;
    const std::size_t underscore = label.rfind('_');
    if (underscore != std::string::npos && underscore + 1 < label.size() &&
        label.size() - underscore <= 10 &&
        label.find_first_not_of("0123456789", underscore + 1) == std::string::npos) {
        base = label.substr(0, underscore);
        number = std::stoll(label.substr(underscore + 1));
    }
    for (;;) {
        const std::string suffix = "_" + std::to_string(++number);
        const std::size_t room = clsNode::LabelFieldSize - 1 - suffix.size();
        const std::string candidate = base.substr(0, std::min(base.size(), room)) + suffix;
        if (taken.insert(Latin1::Folded(candidate)).second)
            return candidate;
    }
}

int32_t Clamped(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

PasteCommand::Target PasteCommand::TargetOf(const clsGraph& graph, bool centred) {
    Target target;
    target.nodeCount = graph.NodeCount();
    target.linkCount = graph.LinkCount();
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        if (!centred)
            target.occupied.emplace(graph.Node(i).Position.x, graph.Node(i).Position.y);
        target.taken.insert(Latin1::Folded(graph.Node(i).Label()));
    }
    return target;
}

PasteCommand::Plan PasteCommand::PlanOf(Target target, const clsGraph& piece,
                                        std::optional<clsPosition> centre) {
    const int32_t count = piece.NodeCount();
    int64_t dx = 0, dy = 0;
    if (count > 0 && centre) {
        int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
        for (int32_t i = 1; i <= count; ++i) {
            const clsPosition& p = piece.Node(i).Position;
            left = std::min<int64_t>(left, p.x);
            right = std::max<int64_t>(right, p.x);
            top = std::min<int64_t>(top, p.y);
            bottom = std::max<int64_t>(bottom, p.y);
        }
        constexpr int c = NodeGeometry::CentreOffset;
        // Never past the left or top edge, where no scroll bar could reach them.
        dx = std::max(centre->x - c - (left + right) / 2, -left);
        dy = std::max(centre->y - c - (top + bottom) / 2, -top);
    } else if (count > 0) {
        const auto lands = [&](int64_t step) {
            for (int32_t i = 1; i <= count; ++i) {
                const clsPosition& p = piece.Node(i).Position;
                if (target.occupied.count({Clamped(p.x + step), Clamped(p.y + step)}))
                    return false;
            }
            return true;
        };
        while (!lands(dx))
            dx += 20;
        dy = dx;
    }

    Plan plan;
    const int32_t first = target.nodeCount + 1;
    for (int32_t i = 1; i <= count; ++i) {
        const clsNode& node = piece.Node(i);
        NodeEntry record = RecordOf(node, first + i - 1);
        const std::string label = UniqueLabel(node.Label(), target.taken);
        if (label != node.Label()) {
            clsNode renamed;
            renamed.SetLabel(label);
            record.label = renamed.Labelz();
        }
        record.id = 0;
        record.x = Clamped(record.x + dx);
        record.y = Clamped(record.y + dy);
        plan.nodes.push_back(record);
    }
    const NodeIndexes indexes = IndexesOf(piece);
    for (int32_t j = 1; j <= piece.LinkCount(); ++j) {
        LinkEntry link = RecordOf(piece, j, indexes);
        link.index = target.linkCount + j;
        link.from += first - 1;
        link.to += first - 1;
        plan.links.push_back(link);
    }
    return plan;
}

PasteCommand::PasteCommand(GraphDocument& document, Plan plan)
    : StructureCommand(document, "Paste"), plan_(std::move(plan)) {}

PasteCommand::PasteCommand(GraphDocument& document, const clsGraph& piece,
                           std::optional<clsPosition> centre)
    : PasteCommand(document,
                   PlanOf(TargetOf(document.Graph(), centre.has_value()), piece, centre)) {}

std::vector<int32_t> PasteCommand::Nodes() const {
    std::vector<int32_t> nodes;
    for (const NodeEntry& node : plan_.nodes)
        nodes.push_back(node.index);
    return nodes;
}

std::vector<int32_t> PasteCommand::Links() const {
    std::vector<int32_t> links;
    for (const LinkEntry& link : plan_.links)
        links.push_back(link.index);
    return links;
}

void PasteCommand::Apply(bool forward) {
    clsGraph& graph = Graph();
    if (forward) {
        for (const NodeEntry& node : plan_.nodes)
            PutBack(graph, node);
        for (const LinkEntry& link : plan_.links)
            PutBack(graph, link);
        graph.InitProbability();
        return;
    }
    for (auto link = plan_.links.rbegin(); link != plan_.links.rend(); ++link)
        graph.DeleteLink(link->index);
    for (auto node = plan_.nodes.rbegin(); node != plan_.nodes.rend(); ++node)
        graph.DeleteNode(node->index);
    RestoreProbabilities();
}
