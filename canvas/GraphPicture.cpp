#include "GraphPicture.h"

#include "DrawObjects.h"
#include "clsGraph.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

namespace Canvas {

std::optional<PictureFormat> PictureFormatOf(const QString& fileName) {
    const QString lower = fileName.toLower();
    if (lower.endsWith(".png"))
        return PictureFormat::Png;
    if (lower.endsWith(".svg"))
        return PictureFormat::Svg;
    if (lower.endsWith(".pdf"))
        return PictureFormat::Pdf;
    return std::nullopt;
}

QRect GraphBounds(const clsGraph& graph) {
    QRect bounds;
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        const clsPosition& p = graph.Node(i).Position;
        bounds |= QRect(p.x, p.y, NodeSize, NodeSize);
    }
    // Room around for the labels and link texts at the edges.
    return bounds.adjusted(-NodeSize, -NodeSize, NodeSize, NodeSize);
}

QByteArray GraphPicture(const clsGraph& graph, PictureFormat format, double scale) {
    const QRect area = GraphBounds(graph).united(QRect(0, 0, 1, 1));
    const QFont nodeFont = MakeNodeFont(), linkFont = MakeLinkFont();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == PictureFormat::Png) {
        const QSize size(static_cast<int>(std::ceil(area.width() * scale)),
                         static_cast<int>(std::ceil(area.height() * scale)));
        QImage image(size, QImage::Format_RGB32);
        if (image.isNull())
            return {}; // too large to hold
        {
            QPainter painter(&image);
            painter.scale(scale, scale);
            DrawGraph(painter, graph, area, nodeFont, linkFont, false);
        }
        image.save(&buffer, "PNG");
    } else if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(area.size());
        svg.setViewBox(QRect(QPoint(0, 0), area.size()));
        svg.setTitle("Pathloom graph");
        QPainter painter(&svg);
        DrawGraph(painter, graph, area, nodeFont, linkFont, true);
    } else {
        // One point per canvas pixel: the page is the graph's size.
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72);
        pdf.setPageSize(QPageSize(QSizeF(area.size()), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle("Pathloom graph");
        QPainter painter(&pdf);
        DrawGraph(painter, graph, area, nodeFont, linkFont, true);
    }
    return bytes;
}

} // namespace Canvas
