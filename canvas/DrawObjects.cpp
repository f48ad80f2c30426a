#include "DrawObjects.h"

#include "Latin1Text.h"
#include "Scrolling.h"
#include "clsGraph.h"
#include "modHelper.h"

#include <QPainter>
#include <algorithm>

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
constexpr int64_t TextLimit = int64_t{1} << 22;

bool NearOrigin(int64_t x, int64_t y) {
    return x > -TextLimit && x < TextLimit && y > -TextLimit && y < TextLimit;
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

QImage DrawObjects(const clsGraph& graph, const View& view, QSize size, const QFont& nodeFont,
                   const QFont& linkFont) {
    QImage image(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    if (image.isNull())
        return image; // a canvas without area shows nothing
    image.fill(BackgroundColour);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QPen blackPen(LinkColour, 1, Qt::SolidLine);
    const QPen bluePen(SelectedLinkColour, 1, Qt::SolidLine);
    const QPen redPen(FlaggedLinkColour, 1, Qt::SolidLine);
    const auto toView = [&view](const clsPosition& position) {
        return ToViewPoint({position.x, position.y}, view.Scroll);
    };

    painter.setFont(linkFont);
    for (int32_t i = 1; i <= graph.LinkCount(); ++i) {
        const clsLink& link = graph.Link(i);
        if (!link.FromNode || !link.ToNode)
            continue;
        modHelper::Point p1 = toView(link.FromNode->Position);
        modHelper::Point p2 = toView(link.ToNode->Position);
        if (OutsideCanvas(std::min(p1.x, p2.x), std::min(p1.y, p2.y),
                          std::max(p1.x, p2.x) + NodeSize, std::max(p1.y, p2.y) + NodeSize, size))
            continue;

        const QPen* pen = &blackPen;
        if (i == view.SelectedLink && !view.Working)
            pen = &bluePen;
        else if (link.Flag)
            pen = &redPen;
        painter.setPen(*pen);

        p1.x += CentreOffset;
        p1.y += CentreOffset;
        p2.x += CentreOffset;
        p2.y += CentreOffset;
        modHelper::ShortenLine(p1, p2, LinkEndRadius, LinkEndRadius);
        if (link.LinkType == LinkKind::Simple)
            modHelper::DrawLine(painter, p1, p2);
        else if (link.LinkType == LinkKind::Unidirectional)
            modHelper::DrawArrow(painter, p1, p2, pen->color(), true);
        else if (link.LinkType == LinkKind::Bidirectional)
            modHelper::DrawArrow(painter, p1, p2, pen->color(), false);

        // The box may be inverted; only its midpoint matters, which is the midpoint of the link.
        const int64_t left = p1.x + TextBoxInset, top = p1.y + TextBoxInset;
        const int64_t right = p2.x - TextBoxInset, bottom = p2.y - TextBoxInset;
        if (!NearOrigin(left, top) || !NearOrigin(right, bottom))
            continue;
        const QRectF box = QRectF(QPointF(static_cast<double>(left), static_cast<double>(top)),
                                  QPointF(static_cast<double>(right), static_cast<double>(bottom)))
                               .normalized();
        const QString text = modHelper::LinkText(link.Probability, link.Weight);
        // Opaque text: a white box hides the line under the text.
        painter.fillRect(painter.boundingRect(box, TextFlags, text), BackgroundColour);
        painter.setPen(blackPen);
        painter.drawText(box, TextFlags, text);
    }

    painter.setFont(nodeFont);
    painter.setPen(blackPen);
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        const clsNode& node = graph.Node(i);
        const modHelper::Point p = toView(node.Position);
        if (OutsideCanvas(p.x, p.y, p.x + NodeSize, p.y + NodeSize, size) || !NearOrigin(p.x, p.y))
            continue;
        const QRect square(static_cast<int>(p.x), static_cast<int>(p.y), NodeSize, NodeSize);
        painter.drawImage(square.topLeft(), NodeImage(i == view.SelectedNode ? 1 : 0));
        painter.drawText(square, TextFlags, Platform::FromLatin1(node.Label()));
    }
    return image;
}

} // namespace Canvas
