#include "EditCommands.h"

namespace {

LinkRecord RecordOf(const clsGraph& graph, int32_t index) {
    const clsLink& link = graph.Link(index);
    int32_t from = 0, to = 0;
    for (int32_t i = 1; i <= graph.NodeCount() && (!from || !to); ++i) {
        if (&graph.Node(i) == link.FromNode)
            from = i;
        if (&graph.Node(i) == link.ToNode)
            to = i;
    }
    return {index, from, to, link.LinkType, link.Weight, link.Probability, link.InitialProbability};
}

void PutBack(clsGraph& graph, const LinkRecord& r) {
    clsLink& link = graph.InsertLink(r.index);
    link.FromNode = &graph.Node(r.from);
    link.ToNode = &graph.Node(r.to);
    link.LinkType = r.kind;
    link.Weight = r.weight;
    link.Probability = r.probability;
    link.InitialProbability = r.initialProbability;
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
    auto* command = new DeleteCommand(document, "Delete Node");
    const clsGraph& graph = document.Graph();
    const clsNode& node = graph.Node(index);
    command->node_ = NodeRecord{index, node.Labelz(), node.ID, node.Position.x, node.Position.y};
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        const clsLink& link = graph.Link(j);
        if (link.FromNode == &node || link.ToNode == &node)
            command->links_.push_back(RecordOf(graph, j));
    }
    return command;
}

DeleteCommand* DeleteCommand::Link(GraphDocument& document, int32_t index) {
    auto* command = new DeleteCommand(document, "Delete Link");
    command->links_.push_back(RecordOf(document.Graph(), index));
    return command;
}

void DeleteCommand::Apply(bool forward) {
    clsGraph& graph = Graph();
    if (forward) {
        if (node_)
            Engine().DeleteNode(node_->index);
        else
            graph.DeleteLink(links_.front().index);
        return;
    }
    if (node_) {
        clsNode& node = graph.InsertNode(node_->index);
        node.SetLabelz(node_->label);
        node.ID = node_->id;
        node.Position.x = node_->x;
        node.Position.y = node_->y;
    }
    // In link order, so that each goes back to its own place.
    for (const LinkRecord& link : links_)
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
    if (later->gesture_ != gesture_ || later->after_.size() != after_.size())
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
                                     std::optional<float> probability)
    : DocumentCommand(document, "Link Properties"), index_(index),
      before_(RecordOf(document.Graph(), index)), after_(before_) {
    after_.weight = weight;
    if (probability)
        after_.probability = after_.initialProbability = *probability;
}

void LinkValuesCommand::Apply(bool forward) {
    const LinkRecord& r = forward ? after_ : before_;
    clsLink& link = Graph().Link(index_);
    link.Weight = r.weight;
    link.Probability = r.probability;
    link.InitialProbability = r.initialProbability;
}

SettingsCommand::SettingsCommand(GraphDocument& document,
                                 const std::optional<RunSettings>& settings,
                                 const std::optional<clsRanges>& ranges)
    : DocumentCommand(document, settings ? "Options" : "Ranges"),
      settingsBefore_(document.Settings()), settingsAfter_(settings.value_or(settingsBefore_)),
      rangesBefore_(document.Ranges()), rangesAfter_(ranges.value_or(rangesBefore_)) {}

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
