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

void PointerTool::Press(QPointF at) {
    const QPoint pt = c_.panel.ToDocument(at);
    const clsGraph& graph = c_.document.Graph();
    last_ = Canvas::EventPoint(at);
    c_.selection.Node = graph.GetNodeIndexFromPoint(pt.x(), pt.y());
    if (c_.selection.Node < 0) {
        c_.selection.Link = graph.GetLinkIndexFromPoint(pt.x(), pt.y());
    } else {
        c_.selection.Link = -1;
        gesture_ = c_.document.NewGesture();
        c_.chooseTool(Tool::DragNode);
    }
    c_.redraw();
}

void PointerTool::Move(QPointF at) {
    if (!gesture_ || c_.selection.Node < 0)
        return;
    // The node keeps the offset to the pointer that it had at the press, until it meets an edge
    // of the document area: past the left or top one it could never be reached again.
    const QPoint now = Canvas::EventPoint(at);
    const double zoom = c_.panel.Zoom();
    const clsPosition& position = c_.document.Graph().Node(c_.selection.Node).Position;
    const QPoint kept =
        Canvas::KeepInDocumentArea({position.x + std::llround((now.x() - last_.x()) / zoom),
                                    position.y + std::llround((now.y() - last_.y()) / zoom)},
                                   c_.panel.DocumentExtent());
    last_ = now;
    if (kept == QPoint(position.x, position.y))
        return;
    c_.document.Do(new MoveNodesCommand(
        c_.document, {{c_.selection.Node, clsPosition{kept.x(), kept.y()}}}, gesture_));
}

void PointerTool::Release(QPointF) {
    c_.chooseTool(Tool::Pointer); // ends the drag
}

void AddNodeTool::Press(QPointF at) {
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

void LinkTool::Press(QPointF at) {
    const QPoint pt = c_.panel.ToDocument(at);
    last_ = pt;
    banded_ = false;
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
