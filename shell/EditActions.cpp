#include "EditActions.h"

#include "BackgroundWork.h"
#include "CanvasPanel.h"
#include "EditCommands.h"
#include "GraphClipboard.h"
#include "GraphDocument.h"
#include "clsLA.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>
#include <utility>

void EditActions::SelectAll() {
    c_.selection.SelectAll(c_.document.Graph());
    c_.redraw();
}

void EditActions::Copy() {
    const std::vector<int32_t> nodes = c_.selection.ChosenNodes();
    if (!nodes.empty())
        QGuiApplication::clipboard()->setMimeData(
            GraphClipboard::Copy(c_.document.Graph(), nodes).release());
}

void EditActions::Cut() {
    const std::vector<int32_t> nodes = c_.selection.ChosenNodes();
    if (nodes.empty())
        return;
    Copy();
    const std::vector<int32_t> links = c_.selection.Links;
    c_.selection.Clear();
    c_.document.Do(DeleteCommand::Many(c_.document, nodes, links, "Cut"));
}

void EditActions::Paste(std::optional<QPointF> at) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    std::optional<GraphClipboard::Content> content =
        data ? GraphClipboard::Take(*data) : std::nullopt;
    if (!content)
        return;
    std::optional<clsPosition> centre; // where the pointer is now, not after the wait
    if (at) {
        const QPoint point = c_.panel.ToDocument(*at);
        centre = clsPosition{point.x(), point.y()};
    }
    // Worked out on the worker from what it needs of the graph, taken now: the graph may change
    // once a cancelled paste is left to end.
    const auto target = std::make_shared<PasteCommand::Target>(
        PasteCommand::TargetOf(c_.document.Graph(), centre.has_value()));
    const auto plan = std::make_shared<PasteCommand::Plan>();
    if (!work_.Run("Pasting...", [target, plan, centre, content = std::move(*content)] {
            const std::unique_ptr<clsLA> piece = GraphClipboard::Read(content);
            *plan = PasteCommand::PlanOf(std::move(*target), piece->Graph(), centre);
        }))
        return;
    if (plan->nodes.empty())
        return;
    auto* paste = new PasteCommand(c_.document, std::move(*plan));
    std::vector<int32_t> nodes = paste->Nodes(), links = paste->Links();
    c_.document.Do(paste);
    c_.selection.Choose(std::move(nodes), std::move(links));
    c_.redraw();
}

void EditActions::Delete() {
    Selection& s = c_.selection;
    if (s.Together()) {
        const Selection chosen = std::exchange(s, Selection());
        c_.document.Do(
            DeleteCommand::Many(c_.document, chosen.Nodes, chosen.Links, "Delete Selection"));
    } else if (s.Link >= 1) { // the link first: after a link drag both may be selected
        const int32_t link = std::exchange(s.Link, -1);
        c_.document.Do(DeleteCommand::Link(c_.document, link));
    } else if (s.Node >= 1) {
        const int32_t node = std::exchange(s.Node, -1);
        c_.document.Do(DeleteCommand::Node(c_.document, node));
    }
}

void EditActions::Nudge(int dx, int dy) {
    if (!nudges_)
        nudges_ = c_.document.NewGesture();
    MoveTogether(c_, c_.selection.ChosenNodes(), QPoint(dx, dy), nudges_);
}

void EditActions::SetRunEnd(bool source) {
    const int32_t node = c_.selection.Node;
    if (node < 1)
        return;
    const RunSettings& now = c_.document.Settings();
    RunSettings s = now;
    (source ? s.sourceNode : s.DestNode) = node;
    int32_t& other = source ? s.DestNode : s.sourceNode;
    if (other == node)
        other = -1;
    if (!source && s.GraphSearchMethod != SearchMethod::Sample)
        s.GraphSearchMethod = SearchMethod::SourceToDestination;
    if (s.sourceNode == now.sourceNode && s.DestNode == now.DestNode &&
        s.GraphSearchMethod == now.GraphSearchMethod) {
        c_.redraw();
        return;
    }
    c_.document.Do(new SettingsCommand(c_.document, s, std::nullopt,
                                       source ? "Set as Source" : "Set as Destination"));
}
