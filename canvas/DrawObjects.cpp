#include "DrawObjects.h"

#include "Latin1Text.h"
#include "Scrolling.h"
#include "clsGraph.h"
#include "modHelper.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace Canvas {

namespace {

QImage DrawNodeImage(const QColor& fill) {
    QImage image(NodeSize, NodeSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    // With a 1-pixel pen this outlines pixels 0 to 40: a circle filling the whole square.
    painter.drawEllipse(QRectF(0, 0, NodeSize - 1, NodeSize - 1));
    return image;
}

QFont MakeFont(int pixelSize) {
    QFont font("Arial");
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// Texts beyond this are far outside any canvas; skipping them avoids fixed-point overflow.
bool NearOrigin(int64_t x, int64_t y) {
    return x > -DrawnReach && x < DrawnReach && y > -DrawnReach && y < DrawnReach;
}

constexpr int TextFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip;

// Nothing a link or node draws reaches farther than this from its end points or its square: an
// arrowhead 11 pixels, a link text (at most about 40 characters of the 10-pixel font) or a label
// (at most 32 characters of the 11-pixel font) centred on it. Elements wholly farther outside
// the canvas are skipped, which leaves every pixel as it was and keeps large graphs fast.
constexpr int64_t ReachBeyondEnds = 256;

bool OutsideCanvas(int64_t minX, int64_t minY, int64_t maxX, int64_t maxY, QSize size) {
    return maxX + ReachBeyondEnds < 0 || maxY + ReachBeyondEnds < 0 ||
           minX - ReachBeyondEnds > size.width() || minY - ReachBeyondEnds > size.height();
}

} // namespace

bool View::NodeSelected(int32_t node) const {
    return node == SelectedNode ||
           std::binary_search(SelectedNodes.begin(), SelectedNodes.end(), node);
}

bool View::LinkSelected(int32_t link) const {
    return link == SelectedLink ||
           std::binary_search(SelectedLinks.begin(), SelectedLinks.end(), link);
}

bool View::LinkPreferred(int32_t link) const {
    return std::binary_search(PreferredLinks.begin(), PreferredLinks.end(), link);
}

const QImage& NodeImage(int index) {
    static const QImage images[2] = {DrawNodeImage(NodeFillColour),
                                     DrawNodeImage(SelectedNodeFillColour)};
    return images[index == 1 ? 1 : 0];
}

QFont MakeNodeFont() {
    return MakeFont(11);
}
QFont MakeLinkFont() {
    return MakeFont(10);
}

QString ShownLabel(const QString& label, const QFont& nodeFont) {
    const QFontMetrics metrics(nodeFont);
    // Most labels are too short to need measuring.
    if (label.size() * metrics.maxWidth() <= LabelWidth)
        return label;
    return metrics.elidedText(label, Qt::ElideRight, LabelWidth);
}

namespace {

// A round badge with a letter, near a corner of a node's square where the circle leaves room: it
// hides neither the label nor most of the circle's fill.
void DrawBadge(QPainter& painter, QPointF centre, const QString& letter) {
    constexpr double Diameter = 13;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(RunEndColour);
    const QRectF badge(centre - QPointF(Diameter / 2, Diameter / 2), QSizeF(Diameter, Diameter));
    painter.drawEllipse(badge);
    QFont font = painter.font();
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(badge, Qt::AlignCenter, letter);
    painter.restore();
}

// The thin line of a link: 0 black, 1 red, 2 blue; -1 for none, where the preferred path's wide
// green alone shows (over the selection). The path being built runs red along the middle of the
// preferred path; the selected link is blue only while no run works.
int ThinLine(const View& view, int32_t i, const clsLink& link) {
    const bool selected = view.LinkSelected(i) && !view.Working;
    if (link.Flag && (view.LinkPreferred(i) || !selected))
        return 1;
    if (view.LinkPreferred(i))
        return -1;
    return selected ? 2 : 0;
}

// Links with their texts, then nodes with their labels, in document pixels minus origin: at
// 100% the canvas's own pixels, at other zooms the painter scales them. Vector nodes are circles
// drawn as shapes, for pictures that scale; otherwise the node images.
void DrawDetailed(QPainter& painter, const clsGraph& graph, const View& view,
                  modHelper::Point origin, QSize area, const QFont& nodeFont, const QFont& linkFont,
                  bool vectorNodes = false) {
    const QPen blackPen(LinkColour, 1, Qt::SolidLine);
    const QPen bluePen(SelectedLinkColour, 1, Qt::SolidLine);
    const QPen redPen(FlaggedLinkColour, 1, Qt::SolidLine);
    const QPen greenPen(PreferredLinkColour, PreferredLinkWidth, Qt::SolidLine);
    const auto toView = [origin](const clsPosition& position) {
        return ToViewPoint({position.x, position.y}, origin);
    };

    painter.setFont(linkFont);
    // The preferred path is drawn after the other links, wide, so that it lies over them.
    const QPen* thinPens[] = {&blackPen, &redPen, &bluePen};
    for (const bool preferredPass : {false, true}) {
        for (int32_t i = 1; i <= graph.LinkCount(); ++i) {
            const clsLink& link = graph.Link(i);
            if (view.LinkPreferred(i) != preferredPass)
                continue;
            modHelper::Point p1 = toView(link.FromNode->Position);
            modHelper::Point p2 = toView(link.ToNode->Position);
            if (OutsideCanvas(std::min(p1.x, p2.x), std::min(p1.y, p2.y),
                              std::max(p1.x, p2.x) + NodeSize, std::max(p1.y, p2.y) + NodeSize,
                              area))
                continue;

            p1.x += CentreOffset;
            p1.y += CentreOffset;
            p2.x += CentreOffset;
            p2.y += CentreOffset;
            modHelper::ShortenLine(p1, p2, LinkEndRadius, LinkEndRadius);
            const auto draw = [&](const QPen& pen) {
                painter.setPen(pen);
                if (link.LinkType == LinkKind::Simple)
                    modHelper::DrawLine(painter, p1, p2);
                else if (link.LinkType == LinkKind::Unidirectional)
                    modHelper::DrawArrow(painter, p1, p2, pen.color(), true);
                else if (link.LinkType == LinkKind::Bidirectional)
                    modHelper::DrawArrow(painter, p1, p2, pen.color(), false);
            };
            if (preferredPass)
                draw(greenPen);
            if (const int thin = ThinLine(view, i, link); thin >= 0)
                draw(*thinPens[thin]);

            // The box may be inverted; only its midpoint matters, which is the midpoint of the
            // link.
            const int64_t left = p1.x + TextBoxInset, top = p1.y + TextBoxInset;
            const int64_t right = p2.x - TextBoxInset, bottom = p2.y - TextBoxInset;
            if (!NearOrigin(left, top) || !NearOrigin(right, bottom))
                continue;
            const QRectF box =
                QRectF(QPointF(static_cast<double>(left), static_cast<double>(top)),
                       QPointF(static_cast<double>(right), static_cast<double>(bottom)))
                    .normalized();
            const QString text =
                modHelper::LinkText(link.Probability, link.Weight, link.Length != nullptr);
            // Opaque text: a white box hides the line under the text.
            painter.fillRect(painter.boundingRect(box, TextFlags, text), BackgroundColour);
            painter.setPen(blackPen);
            painter.drawText(box, TextFlags, text);
        }
    }

    painter.setFont(nodeFont);
    painter.setPen(blackPen);
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        const clsNode& node = graph.Node(i);
        const modHelper::Point p = toView(node.Position);
        if (OutsideCanvas(p.x, p.y, p.x + NodeSize, p.y + NodeSize, area) || !NearOrigin(p.x, p.y))
            continue;
        const QRect square(static_cast<int>(p.x), static_cast<int>(p.y), NodeSize, NodeSize);
        if (vectorNodes) {
            painter.setBrush(view.NodeSelected(i) ? SelectedNodeFillColour : NodeFillColour);
            painter.drawEllipse(QRectF(square.topLeft(), QSizeF(NodeSize - 1, NodeSize - 1)));
        } else {
            painter.drawImage(square.topLeft(), NodeImage(view.NodeSelected(i) ? 1 : 0));
        }
        painter.drawText(square, TextFlags,
                         ShownLabel(Platform::FromLatin1(node.Label()), painter.font()));
        if (i == view.SourceNode)
            DrawBadge(painter, square.topLeft() + QPointF(4, 4), "S");
        if (i == view.DestNode)
            DrawBadge(painter, square.topRight() + QPointF(-4, 4), "D");
    }
}

// Far out, where texts would be a few pixels high and arrowheads specks: links as plain lines in
// their colours and nodes as filled shapes, each kind drawn in one call.
void DrawSimple(QPainter& painter, const clsGraph& graph, const View& view, QSize size) {
    const double zoom = view.Zoom;
    const QRectF visible = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(-NodeSize, -NodeSize, 0, 0);
    const auto toView = [&](const clsPosition& p) {
        return QPointF(p.x * zoom - view.Scroll.x(), p.y * zoom - view.Scroll.y());
    };
    std::vector<QLineF> lines[4]; // black, red, blue, green (ThinLine's numbers, then the wide)
    for (int32_t i = 1; i <= graph.LinkCount(); ++i) {
        const clsLink& link = graph.Link(i);
        const QPointF a = toView(link.FromNode->Position), b = toView(link.ToNode->Position);
        if (!visible.intersects(QRectF(a, b).normalized().adjusted(0, 0, 1, 1)))
            continue;
        const QPointF centre(CentreOffset * zoom, CentreOffset * zoom);
        if (view.LinkPreferred(i))
            lines[3].emplace_back(a + centre, b + centre);
        if (const int thin = ThinLine(view, i, link); thin >= 0)
            lines[thin].emplace_back(a + centre, b + centre);
    }
    const QColor colours[4] = {LinkColour, FlaggedLinkColour, SelectedLinkColour,
                               PreferredLinkColour};
    for (const int c : {0, 2, 3, 1}) { // the preferred path over the others, the flagged on it
        painter.setPen(QPen(colours[c], c == 3 ? PreferredLinkWidth : 0));
        painter.drawLines(lines[c].data(), static_cast<int>(lines[c].size()));
    }
    std::vector<QRectF> nodes[2]; // plain, selected
    nodes[0].reserve(static_cast<std::size_t>(graph.NodeCount()));
    const double side = NodeSize * zoom;
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        const QPointF p = toView(graph.Node(i).Position);
        if (visible.contains(p))
            nodes[view.NodeSelected(i) ? 1 : 0].emplace_back(p, QSizeF(side, side));
    }
    // A node a few pixels wide is a dot, in the outline's colour so that it shows on white.
    const bool dots = side < 4;
    painter.setPen(dots ? QPen(Qt::NoPen) : QPen(LinkColour, 0));
    const QColor fills[2][2] = {{NodeFillColour, SelectedNodeFillColour},
                                {LinkColour, SelectedLinkColour}};
    for (int selected = 0; selected < 2; ++selected) {
        painter.setBrush(fills[dots][selected]);
        painter.drawRects(nodes[selected].data(), static_cast<int>(nodes[selected].size()));
    }
    // The run's ends in a frame of the badges' colour.
    painter.setPen(QPen(RunEndColour, 2));
    painter.setBrush(Qt::NoBrush);
    for (const int32_t end : {view.SourceNode, view.DestNode}) {
        if (end >= 1 && end <= graph.NodeCount())
            painter.drawRect(QRectF(toView(graph.Node(end).Position), QSizeF(side, side))
                                 .adjusted(-2, -2, 2, 2));
    }
}

} // namespace

void DrawGraph(QPainter& painter, const clsGraph& graph, modHelper::Point corner, QSize size,
               const QFont& nodeFont, const QFont& linkFont, bool vectorNodes) {
    // Scaled, as the canvas zoomed, lines and images are smoothed.
    const bool smooth = painter.worldTransform().isScaling();
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRect(QPoint(0, 0), size), BackgroundColour);
    DrawDetailed(painter, graph, View(), corner, size, nodeFont, linkFont, vectorNodes);
}

QImage DrawObjects(const clsGraph& graph, const View& view, QSize size, const QFont& nodeFont,
                   const QFont& linkFont) {
    const qreal ratio = view.DevicePixelRatio;
    QImage image(size.expandedTo(QSize(0, 0)) * ratio, QImage::Format_RGB32);
    if (image.isNull())
        return image; // a canvas without area shows nothing
    image.setDevicePixelRatio(ratio);
    image.fill(BackgroundColour);

    QPainter painter(&image);
    // Scaled, a crisp line would be a staircase of uneven steps.
    const bool smooth = view.Zoom != 1.0;
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    if (view.Zoom < DetailedFrom) {
        DrawSimple(painter, graph, view, size);
        return image;
    }
    // Whole document pixels from the scroll position, and the rest of it in the painter, so that
    // at 100% nothing is scaled or moved.
    const double z = view.Zoom;
    const QPoint origin(static_cast<int>(std::floor(view.Scroll.x() / z)),
                        static_cast<int>(std::floor(view.Scroll.y() / z)));
    painter.scale(z, z);
    painter.translate(origin.x() - view.Scroll.x() / z, origin.y() - view.Scroll.y() / z);
    const QSize area(static_cast<int>(std::ceil(size.width() / z)) + 1,
                     static_cast<int>(std::ceil(size.height() / z)) + 1);
    DrawDetailed(painter, graph, view, {origin.x(), origin.y()}, z == 1.0 ? size : area, nodeFont,
                 linkFont);
    return image;
}

} // namespace Canvas
