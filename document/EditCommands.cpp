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

} // namespace

StructureCommand::StructureCommand(GraphDocument& document, const QString& name)
    : DocumentCommand(document, name), probabilities_(ProbabilitiesCommand::Of(document.Graph())) {}

void StructureCommand::RestoreProbabilities() {
    clsGraph& graph = document_.Graph();
    for (int32_t j = 1; j <= graph.LinkCount(); ++j)
        graph.Link(j).Probability = probabilities_[static_cast<std::size_t>(j - 1)];
}

AddNodeCommand::AddNodeCommand(GraphDocument& document, int32_t x, int32_t y)
    : StructureCommand(document, "Add Node"), x_(x), y_(y) {}

void AddNodeCommand::Apply(bool forward) {
    clsGraph& graph = document_.Graph();
    if (forward) {
        graph.AddNode(x_, y_);
        return;
    }
    document_.Engine().DeleteNode(graph.NodeCount());
    RestoreProbabilities();
}

AddLinkCommand::AddLinkCommand(GraphDocument& document, int32_t from, int32_t to, int32_t kind)
    : StructureCommand(document, "Add Link"), from_(from), to_(to), kind_(kind) {
    document.Graph().CheckNewLink(from, to);
}

void AddLinkCommand::Apply(bool forward) {
    clsGraph& graph = document_.Graph();
    if (forward) {
        graph.AddLink(from_, to_, kind_);
        return;
    }
    graph.DeleteLink(graph.LinkCount());
    RestoreProbabilities();
}

DeleteCommand::DeleteCommand(GraphDocument& document, const QString& name)
    : StructureCommand(document, name) {}

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
    clsGraph& graph = document_.Graph();
    if (forward) {
        if (node_)
            document_.Engine().DeleteNode(node_->index);
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
}

MoveNodeCommand::MoveNodeCommand(GraphDocument& document, int32_t index, int32_t fromX,
                                 int32_t fromY)
    : DocumentCommand(document, "Move Node"), index_(index), fromX_(fromX), fromY_(fromY),
      toX_(document.Graph().Node(index).Position.x), toY_(document.Graph().Node(index).Position.y) {
}

void MoveNodeCommand::Apply(bool forward) {
    clsPosition& position = document_.Graph().Node(index_).Position;
    position.x = forward ? toX_ : fromX_;
    position.y = forward ? toY_ : fromY_;
}

LayoutCommand::LayoutCommand(GraphDocument& document, std::vector<clsPosition> positions)
    : DocumentCommand(document, "Layout"), after_(std::move(positions)) {
    for (int32_t i = 1; i <= document.Graph().NodeCount(); ++i)
        before_.push_back(document.Graph().Node(i).Position);
}

void LayoutCommand::Apply(bool forward) {
    const std::vector<clsPosition>& positions = forward ? after_ : before_;
    for (std::size_t i = 0; i < positions.size(); ++i)
        document_.Graph().Node(static_cast<int32_t>(i) + 1).Position = positions[i];
}

RenameNodeCommand::RenameNodeCommand(GraphDocument& document, int32_t index,
                                     const std::string& label)
    : DocumentCommand(document, "Node Properties"), index_(index),
      before_(document.Graph().Node(index).Labelz()) {
    clsNode renamed;
    renamed.SetLabel(label);
    after_ = renamed.Labelz();
}

void RenameNodeCommand::Apply(bool forward) {
    document_.Graph().Node(index_).SetLabelz(forward ? after_ : before_);
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
    clsLink& link = document_.Graph().Link(index_);
    link.Weight = r.weight;
    link.Probability = r.probability;
    link.InitialProbability = r.initialProbability;
}

SettingsCommand::SettingsCommand(GraphDocument& document,
                                 const std::optional<RunSettings>& settings,
                                 const std::optional<clsRanges>& ranges)
    : DocumentCommand(document, settings ? "Options" : "Ranges"),
      settingsBefore_(document.Engine().Settings),
      settingsAfter_(settings.value_or(settingsBefore_)), rangesBefore_(document.Engine().Ranges()),
      rangesAfter_(ranges.value_or(rangesBefore_)) {}

void SettingsCommand::Apply(bool forward) {
    document_.Engine().Settings = forward ? settingsAfter_ : settingsBefore_;
    document_.Engine().Ranges() = forward ? rangesAfter_ : rangesBefore_;
}

ProbabilitiesCommand::ProbabilitiesCommand(GraphDocument& document, const QString& name,
                                           std::vector<float> before)
    : DocumentCommand(document, name), before_(std::move(before)), after_(Of(document.Graph())) {}

std::vector<float> ProbabilitiesCommand::Of(const clsGraph& graph) {
    std::vector<float> values(static_cast<std::size_t>(graph.LinkCount()));
    for (int32_t j = 1; j <= graph.LinkCount(); ++j)
        values[static_cast<std::size_t>(j - 1)] = graph.Link(j).Probability;
    return values;
}

void ProbabilitiesCommand::Apply(bool forward) {
    const std::vector<float>& values = forward ? after_ : before_;
    clsGraph& graph = document_.Graph();
    for (int32_t j = 1; j <= graph.LinkCount(); ++j)
        graph.Link(j).Probability = values[static_cast<std::size_t>(j - 1)];
}
