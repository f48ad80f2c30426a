#include "GraphPicture.h"

#include "DrawObjects.h"
#include "PathloomError.h"
#include "clsGraph.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
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

QRectF GraphBounds(const clsGraph& graph) {
    if (graph.NodeCount() == 0)
        return QRectF(0, 0, 1, 1);
    int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        const clsPosition& p = graph.Node(i).Position;
        left = std::min<int64_t>(left, p.x);
        top = std::min<int64_t>(top, p.y);
        right = std::max<int64_t>(right, p.x);
        bottom = std::max<int64_t>(bottom, p.y);
    }
    // Room around for the labels and link texts at the edges.
    return QRectF(
        QPointF(static_cast<double>(left - NodeSize), static_cast<double>(top - NodeSize)),
        QPointF(static_cast<double>(right + 2 * NodeSize),
                static_cast<double>(bottom + 2 * NodeSize)));
}

namespace {

int64_t PngSide(double extent, double scale) {
    return static_cast<int64_t>(std::ceil(extent * scale));
}

bool PngFits(QSizeF area, double scale) {
    const int64_t width = PngSide(area.width(), scale), height = PngSide(area.height(), scale);
    return width <= MaxPngSide && height <= MaxPngSide && width * height <= MaxPngPixels;
}

// The largest scale of two significant digits at which the PNG fits.
double LargestFittingScale(QSizeF area) {
    const double bound = std::min({MaxPngSide / area.width(), MaxPngSide / area.height(),
                                   std::sqrt(MaxPngPixels / (area.width() * area.height()))});
    const double unit = std::pow(10.0, std::floor(std::log10(bound)) - 1);
    double scale = std::floor(bound / unit) * unit;
    while (!PngFits(area, scale))
        scale -= unit;
    return scale;
}

} // namespace

QByteArray GraphPicture(const clsGraph& graph, PictureFormat format, double scale,
                        const std::function<QString(double)>& smaller) {
    const QRectF bounds = GraphBounds(graph);
    const auto spans = [](double extent) { return QString::number(extent, 'f', 0); };
    if (bounds.width() > DrawnReach || bounds.height() > DrawnReach)
        Raise("Export",
              ("The graph spans " + spans(bounds.width()) + " x " + spans(bounds.height()) +
               " pixels, more than a picture can hold (" + QString::number(DrawnReach) +
               " a side): its nodes lie too far apart. Lay it out again or move the "
               "far nodes closer.")
                  .toStdString());
    if (format == PictureFormat::Png && !PngFits(bounds.size(), scale))
        Raise("Export", ("The picture would be " + spans(PngSide(bounds.width(), scale)) + " x " +
                         spans(PngSide(bounds.height(), scale)) +
                         " pixels, more than a PNG may have (" + QString::number(MaxPngSide) +
                         " a side and " + QString::number(MaxPngPixels) + " in all)." +
                         (smaller ? " " + smaller(LargestFittingScale(bounds.size())) : QString()))
                            .toStdString());
    const modHelper::Point corner{static_cast<int64_t>(bounds.left()),
                                  static_cast<int64_t>(bounds.top())};
    const QSize area(static_cast<int>(bounds.width()), static_cast<int>(bounds.height()));
    const QFont nodeFont = MakeNodeFont(), linkFont = MakeLinkFont();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == PictureFormat::Png) {
        const QSize size(static_cast<int>(PngSide(area.width(), scale)),
                         static_cast<int>(PngSide(area.height(), scale)));
        QImage image(size, QImage::Format_RGB32);
        if (image.isNull())
            return {}; // too large to hold
        // Scaled down, the drawing's white may end inside the last pixels: they must not keep
        // whatever the memory held.
        image.fill(BackgroundColour);
        {
            QPainter painter(&image);
            painter.scale(scale, scale);
            DrawGraph(painter, graph, corner, area, nodeFont, linkFont, false);
        }
        image.save(&buffer, "PNG");
    } else if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(area);
        svg.setViewBox(QRect(QPoint(0, 0), area));
        svg.setTitle("Pathloom graph");
        QPainter painter(&svg);
        DrawGraph(painter, graph, corner, area, nodeFont, linkFont, true);
    } else {
        // One point per canvas pixel: the page is the graph's size.
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72);
        pdf.setPageSize(QPageSize(QSizeF(area), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle("Pathloom graph");
        QPainter painter(&pdf);
        DrawGraph(painter, graph, corner, area, nodeFont, linkFont, true);
    }
    return bytes;
}

} // namespace Canvas
