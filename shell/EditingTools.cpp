#include "EditingTools.h"

#include "CanvasPanel.h"
#include "EditCommands.h"
#include "Latin1Text.h"
#include "MessageBox.h"
#include "NodeGeometry.h"
#include "PathloomError.h"
#include "Scrolling.h"

#include <algorithm>
#include <cmath>

void PointerTool::Press(QPointF at, Qt::KeyboardModifiers modifiers) {
    const QPoint pt = c_.panel.ToDocument(at);
    const clsGraph& graph = c_.document.Graph();
    Selection& selection = c_.selection;
    last_ = Canvas::EventPoint(at);
    const int32_t node = graph.GetNodeIndexFromPoint(pt.x(), pt.y());
    const int32_t link = node < 0 ? graph.GetLinkIndexFromPoint(pt.x(), pt.y()) : -1;
    const bool empty = node < 0 && link < 0;
    if (modifiers & Qt::ControlModifier) {
        if (node >= 1)
            selection.ToggleNode(graph, node);
        else if (link >= 1)
            selection.ToggleLink(link);
    } else if (node >= 1) {
        // A node chosen with others drags them all; any other node is dragged alone.
        if (!selection.Together() || !selection.HasNode(node))
            selection.Clear();
        selection.Node = node;
        selection.Link = -1;
        gesture_ = c_.document.NewGesture();
        moved_ = false;
        c_.chooseTool(Tool::DragNode);
    } else {
        selection.Clear();
        selection.Link = link;
    }
    c_.redraw();
    if (empty) {
        bandStart_ = pt;
        bandEnd_ = last_;
        banded_ = true;
        InvertBand();
    }
}

void PointerTool::Move(QPointF at) {
    const QPoint now = Canvas::EventPoint(at);
    if (banded_) {
        InvertBand();
        bandEnd_ = now;
        InvertBand();
        return;
    }
    if (!gesture_ || c_.selection.Node < 0)
        return;
    const double zoom = c_.panel.Zoom();
    const long long dx = std::llround((now.x() - last_.x()) / zoom);
    const long long dy = std::llround((now.y() - last_.y()) / zoom);
    last_ = now;
    if (c_.selection.Together()) {
        moved_ = MoveTogether(c_, c_.selection.ChosenNodes(),
                              QPoint(static_cast<int>(dx), static_cast<int>(dy)), gesture_) ||
                 moved_;
        return;
    }
    // The node keeps the offset to the pointer that it had at the press, until it meets an edge
    // of the document area: past the left or top one it could never be reached again.
    const clsPosition& position = c_.document.Graph().Node(c_.selection.Node).Position;
    const QPoint kept =
        Canvas::KeepInDocumentArea({position.x + dx, position.y + dy}, c_.panel.DocumentExtent());
    if (kept == QPoint(position.x, position.y))
        return;
    c_.document.Do(new MoveNodesCommand(
        c_.document, {{c_.selection.Node, clsPosition{kept.x(), kept.y()}}}, gesture_));
}

bool MoveTogether(ToolContext& c, const std::vector<int32_t>& nodes, QPoint by, int gesture) {
    const clsGraph& graph = c.document.Graph();
    QPoint from(INT32_MAX, INT32_MAX), to(INT32_MIN, INT32_MIN);
    for (const int32_t node : nodes) {
        const clsPosition& p = graph.Node(node).Position;
        from = QPoint(std::min(from.x(), p.x), std::min(from.y(), p.y));
        to = QPoint(std::max(to.x(), p.x), std::max(to.y(), p.y));
    }
    const QPoint kept = Canvas::KeepMoveInDocumentArea(from, to, by, c.panel.DocumentExtent());
    if (nodes.empty() || kept.isNull())
        return false;
    std::vector<MoveNodesCommand::Place> places;
    for (const int32_t node : nodes) {
        const clsPosition& p = graph.Node(node).Position;
        places.push_back({node, {p.x + kept.x(), p.y + kept.y()}});
    }
    c.document.Do(new MoveNodesCommand(c.document, std::move(places), gesture,
                                       nodes.size() == 1 ? "Move Node" : "Move Nodes"));
    return true;
}

void PointerTool::Release(QPointF at) {
    if (banded_) {
        FinishDrag();
        const QPoint end = c_.panel.ToDocument(at);
        c_.selection.AddArea(c_.document.Graph(), QRect(bandStart_, end).normalized());
        c_.redraw();
    } else if (gesture_ && c_.selection.Together() && !moved_) {
        // A click on one of the nodes chosen together chooses it alone.
        const int32_t node = c_.selection.Node;
        c_.selection.Clear();
        c_.selection.Node = node;
        c_.redraw();
    }
    c_.chooseTool(Tool::Pointer); // ends the drag
}

void PointerTool::FinishDrag() {
    gesture_ = 0;
    if (banded_)
        InvertBand(); // erased
    banded_ = false;
}

void PointerTool::Redrawn() {
    if (banded_)
        InvertBand();
}

void PointerTool::InvertBand() {
    c_.panel.Canvas()->InvertRect(QRect(c_.panel.ToCanvas(bandStart_), bandEnd_).normalized());
}

void AddNodeTool::Press(QPointF at, Qt::KeyboardModifiers) {
    // Centred on the pointer; the selection stays as it was.
    const QPoint pt = c_.panel.ToDocument(at);
    constexpr int c = NodeGeometry::CentreOffset;
    c_.document.Do(new AddNodeCommand(c_.document, pt.x() - c, pt.y() - c));
}

QPoint LinkTool::BandStart() const {
    const clsPosition& position = c_.document.Graph().Node(c_.selection.Node).Position;
    constexpr int c = NodeGeometry::CentreOffset;
    // The band starts at a node under the pointer, so it always fits the canvas.
    return c_.panel.ToCanvas(QPoint(position.x + c, position.y + c));
}

void LinkTool::Press(QPointF at, Qt::KeyboardModifiers) {
    const QPoint pt = c_.panel.ToDocument(at);
    last_ = pt;
    banded_ = false;
    c_.selection.Nodes.clear(); // a link starts from one node
    c_.selection.Links.clear();
    c_.selection.Node = c_.document.Graph().GetNodeIndexFromPoint(pt.x(), pt.y());
    if (c_.selection.Node == -1) {
        // "mush" is kept on purpose: the message has always read so.
        Platform::ShowMessage(c_.owner, "You mush select a node and drag pointer to another node.",
                              MessageIcon::Exclamation);
    }
}

void LinkTool::Move(QPointF at) {
    if (c_.selection.Node == -1)
        return;
    const QPoint start = BandStart();
    const QPoint now = Canvas::EventPoint(at);
    if (banded_)
        c_.panel.Canvas()->InvertLine(start, last_); // erase the last band
    c_.panel.Canvas()->InvertLine(start, now);
    banded_ = true;
    last_ = now;
}

void LinkTool::Release(QPointF at) {
    if (c_.selection.Node == -1)
        return;
    if (banded_)
        c_.panel.Canvas()->InvertLine(BandStart(), last_);
    banded_ = false;
    const QPoint pt = c_.panel.ToDocument(at);
    const int32_t target = c_.document.Graph().GetNodeIndexFromPoint(pt.x(), pt.y());
    if (target < 0 || target == c_.selection.Node)
        return; // released off any node or on its own start: nothing, not even a redraw
    try {
        c_.document.Do(new AddLinkCommand(c_.document, c_.selection.Node, target, c_.linkKind));
        c_.selection.Node = target; // the next link may start where this one ended
        c_.redraw();
    } catch (const PathloomError& e) {
        Platform::ShowMessage(c_.owner, Platform::FromMessageText(e.Description()),
                              MessageIcon::Critical);
    }
}
