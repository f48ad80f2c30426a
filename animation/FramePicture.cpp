#include "FramePicture.h"

#include "DrawObjects.h"
#include "GraphPicture.h"
#include "PathloomError.h"
#include "clsGraph.h"

#include <QLineF>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

int Even(double pixels) {
    const int whole = static_cast<int>(std::ceil(pixels));
    return std::max(2, whole + whole % 2);
}

// The band under a link: as wide as its probability asks, in the zoom's pixels.
double BandWidth(float probability, double zoom) {
    return std::max(1.0, (2.0 + 16.0 * std::clamp(double(probability), 0.0, 1.0)) * zoom);
}

const QColor PathBand(255, 170, 170), LinkBand(170, 200, 255);

} // namespace

FramePicture::FramePicture(const clsGraph& graph)
    : nodeFont_(Canvas::MakeNodeFont()), linkFont_(Canvas::MakeLinkFont()),
      captionFont_(Canvas::MakeNodeFont()) {
    const QRectF bounds = Canvas::GraphBounds(graph);
    zoom_ =
        std::min({1.0, MaxWidth / bounds.width(), (MaxHeight - CaptionHeight) / bounds.height()});
    const double left = std::round(bounds.left() * zoom_), top = std::round(bounds.top() * zoom_);
    if (bounds.width() > Canvas::DrawnReach || bounds.height() > Canvas::DrawnReach ||
        std::abs(left) > INT_MAX / 2 || std::abs(top) > INT_MAX / 2)
        Raise("Export", "The graph's nodes lie too far apart to be drawn. Lay it out again or move "
                        "the far nodes closer.");
    scroll_ = QPoint(static_cast<int>(left), static_cast<int>(top));
    area_ = QSize(static_cast<int>(std::ceil(bounds.width() * zoom_)),
                  static_cast<int>(std::ceil(bounds.height() * zoom_)));
    size_ = QSize(std::max(Even(area_.width()), MinWidth), Even(area_.height() + CaptionHeight));
    size_ = size_.boundedTo(QSize(MaxWidth, MaxHeight));
    captionFont_.setPixelSize(13);
}

QImage FramePicture::Draw(clsGraph& graph, const RunFrames::Frame& frame,
                          const QString& caption) const {
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        clsLink& link = graph.Link(j);
        link.Probability = frame.probabilities[static_cast<std::size_t>(j - 1)];
        link.Flag = false;
    }
    for (const int32_t link : frame.links)
        graph.Link(link + 1).Flag = true;

    Canvas::View view;
    view.Zoom = zoom_;
    view.Scroll = scroll_;
    QImage picture = Canvas::DrawObjects(graph, view, area_, nodeFont_, linkFont_);

    // The bands on white, multiplied into the picture: white takes their colour, the lines and
    // texts over them stay as dark as they are.
    QImage bands(area_, QImage::Format_RGB32);
    bands.fill(Qt::white);
    {
        QPainter painter(&bands);
        painter.setRenderHint(QPainter::Antialiasing);
        const double centre = Canvas::CentreOffset * zoom_, rim = Canvas::LinkEndRadius * zoom_;
        const auto at = [&](const clsPosition& p) {
            return QPointF(p.x * zoom_ - scroll_.x() + centre, p.y * zoom_ - scroll_.y() + centre);
        };
        for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
            const clsLink& link = graph.Link(j);
            QLineF line(at(link.FromNode->Position), at(link.ToNode->Position));
            if (line.length() <= 2 * rim)
                continue;
            const QPointF inward = (line.p2() - line.p1()) * (rim / line.length());
            line = QLineF(line.p1() + inward, line.p2() - inward);
            painter.setPen(QPen(link.Flag ? PathBand : LinkBand, BandWidth(link.Probability, zoom_),
                                Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(line);
        }
    }
    {
        QPainter painter(&picture);
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        painter.drawImage(0, 0, bands);
    }

    QImage image(size_, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(captionFont_);
    painter.setPen(Qt::black);
    painter.drawText(QRect(6, 0, size_.width() - 12, CaptionHeight),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(caption, Qt::ElideRight, size_.width() - 12));
    painter.drawImage((size_.width() - area_.width()) / 2, CaptionHeight, picture);
    return image;
}
