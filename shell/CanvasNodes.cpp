#include "CanvasNodes.h"

#include "CanvasPanel.h"
#include "DrawObjects.h"
#include "EditingTools.h"
#include "GraphDocument.h"
#include "Latin1.h"
#include "Latin1Text.h"

#include <QStringList>
#include <algorithm>

std::vector<int32_t> CanvasNodes::LabelOrder(const clsGraph& graph) {
    std::vector<std::string> folded(static_cast<std::size_t>(graph.NodeCount()) + 1);
    std::vector<int32_t> order;
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        folded[static_cast<std::size_t>(i)] = Latin1::Folded(graph.Node(i).Label());
        order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return folded[static_cast<std::size_t>(a)] < folded[static_cast<std::size_t>(b)];
    });
    return order;
}

bool CanvasNodes::Tab(bool forward) {
    const std::vector<int32_t> order = LabelOrder(c_.document.Graph());
    auto at = std::find(order.begin(), order.end(), c_.selection.Node);
    int32_t next = -1;
    if (forward) {
        at = at == order.end() ? order.begin() : at + 1;
        next = at == order.end() ? -1 : *at;
    } else if (at == order.end()) {
        next = order.empty() ? -1 : order.back();
    } else {
        next = at == order.begin() ? -1 : *(at - 1);
    }
    if (next < 0) {
        c_.selection.Clear();
        c_.redraw();
        return false;
    }
    Show(next);
    return true;
}

void CanvasNodes::Show(int32_t node) {
    c_.selection.Clear();
    c_.selection.Node = node;
    const clsPosition& p = c_.document.Graph().Node(node).Position;
    c_.panel.ShowDocumentRect(QRectF(p.x, p.y, Canvas::NodeSize, Canvas::NodeSize));
    c_.redraw();
}

NodeFacts CanvasNodes::Facts(int32_t node) const {
    const clsNode& n = c_.document.Graph().Node(node);
    const RunSettings& run = c_.document.Settings();
    NodeFacts facts;
    facts.name = Platform::FromLatin1(n.Label());
    facts.selected = c_.selection.HasNode(node);
    facts.description = QString("degree %1 in, %2 out").arg(n.InDegree).arg(n.OutDegree);
    const std::pair<bool, const char*> states[] = {{facts.selected, "selected"},
                                                   {node == run.sourceNode, "source"},
                                                   {node == run.DestNode, "destination"}};
    QStringList held;
    for (const auto& [holds, state] : states)
        if (holds)
            held << state;
    if (!held.isEmpty())
        facts.description += "; " + held.join(", ");
    const QPoint corner = c_.panel.ToCanvas(QPoint(n.Position.x, n.Position.y));
    const int side = static_cast<int>(Canvas::NodeSize * c_.panel.Zoom());
    facts.rect = QRect(corner, QSize(side, side));
    return facts;
}

NodeReader CanvasNodes::Reader() const {
    return {[this] { return c_.document.Graph().NodeCount(); },
            [this](int32_t node) { return Facts(node); }, [this] { return c_.selection.Node; }};
}

QString CanvasNodes::ToolTipAt(QPoint canvasPoint, const QFont& nodeFont) const {
    const QPoint pt = c_.panel.ToDocument(canvasPoint);
    const int32_t node = c_.document.Graph().GetNodeIndexFromPoint(pt.x(), pt.y());
    if (node < 1)
        return QString();
    const QString label = Platform::FromLatin1(c_.document.Graph().Node(node).Label());
    return Canvas::ShownLabel(label, nodeFont) == label ? QString() : label;
}
