#include "modHelper.h"

#include "NumberText.h"

#include <QLocale>
#include <QPainter>
#include <QPolygon>
#include <cmath>

namespace modHelper {

int64_t Nearest(double value) {
    // nearbyint rounds halves to even in the default rounding mode, which nothing here changes.
    return static_cast<int64_t>(std::nearbyint(value));
}

double GetAngle(double y, double x) {
    if (x != 0.0)
        return std::atan(y / x);
    if (y > 0.0)
        return Pi / 2;
    if (y < 0.0)
        return -Pi / 2;
    return 0.0;
}

void ShortenLine(Point& p1, Point& p2, int16_t r1, int16_t r2) {
    const double a = GetAngle(static_cast<double>(p2.y - p1.y), static_cast<double>(p2.x - p1.x));
    const double c = std::cos(a);
    const double s = std::sin(a);
    // The arc tangent gives c >= 0, so the x order decides which way each end moves.
    if (p2.x >= p1.x) {
        p1.x = Nearest(static_cast<double>(p1.x) + r1 * c);
        p1.y = Nearest(static_cast<double>(p1.y) + r1 * s);
    } else {
        p1.x = Nearest(static_cast<double>(p1.x) - r1 * c);
        p1.y = Nearest(static_cast<double>(p1.y) - r1 * s);
    }
    if (p2.x >= p1.x) {
        p2.x = Nearest(static_cast<double>(p2.x) - r2 * c);
        p2.y = Nearest(static_cast<double>(p2.y) - r2 * s);
    } else {
        p2.x = Nearest(static_cast<double>(p2.x) + r2 * c);
        p2.y = Nearest(static_cast<double>(p2.y) + r2 * s);
    }
}

std::array<Point, 4> ArrowHead(Point p1, Point p2, bool atP1) {
    const double l = p1.x >= p2.x ? 10.0 : -10.0;
    const double h = l / 2;
    const double a = GetAngle(static_cast<double>(p1.y - p2.y), static_cast<double>(p1.x - p2.x));
    const double c = std::cos(a);
    const double s = std::sin(a);
    // Each offset is floored before it is added to or subtracted from the end point.
    const int64_t dx1 = static_cast<int64_t>(std::floor(l * c - h * s));
    const int64_t dy1 = static_cast<int64_t>(std::floor(h * c + l * s));
    const int64_t dx2 = static_cast<int64_t>(std::floor(h * s + l * c));
    const int64_t dy2 = static_cast<int64_t>(std::floor(h * c - l * s));
    if (!atP1)
        return {p2, Point{p2.x + dx1, p2.y + dy1}, Point{p2.x + dx2, p2.y - dy2}, p2};
    return {p1, Point{p1.x - dx1, p1.y - dy1}, Point{p1.x - dx2, p1.y + dy2}, p1};
}

namespace {

// Beyond this distance from the origin the raster engine's fixed-point arithmetic is not to be
// trusted, and nothing there can be seen anyway.
constexpr int64_t DrawLimit = int64_t{1} << 22;

bool Drawable(const Point& p) {
    return p.x > -DrawLimit && p.x < DrawLimit && p.y > -DrawLimit && p.y < DrawLimit;
}

QPoint ToQPoint(const Point& p) {
    return QPoint(static_cast<int>(p.x), static_cast<int>(p.y));
}

// Clips the segment to the box (Liang-Barsky); false when nothing of it lies inside.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, const QRectF& box) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - box.left(), box.right() - x1, y1 - box.top(), box.bottom() - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    const double ox = x1, oy = y1;
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
    return true;
}

} // namespace

void DrawLine(QPainter& painter, Point p1, Point p2) {
    if (Drawable(p1) && Drawable(p2)) {
        painter.drawLine(ToQPoint(p1), ToQPoint(p2));
        return;
    }
    // A link to a node far outside: draw only the part near the device, in the painter's own
    // coordinates (which a zoom scales).
    const QRectF device = painter.combinedTransform().inverted().mapRect(
        QRectF(painter.viewport().adjusted(-16, -16, 16, 16)));
    double x1 = static_cast<double>(p1.x), y1 = static_cast<double>(p1.y);
    double x2 = static_cast<double>(p2.x), y2 = static_cast<double>(p2.y);
    if (ClipSegment(x1, y1, x2, y2, device))
        painter.drawLine(
            QPoint(static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1))),
            QPoint(static_cast<int>(std::lround(x2)), static_cast<int>(std::lround(y2))));
}

namespace {

void DrawHead(QPainter& painter, const std::array<Point, 4>& head) {
    for (const Point& p : head) {
        if (!Drawable(p))
            return; // a head 10 pixels long this far out is never visible
    }
    QPolygon polygon;
    for (const Point& p : head)
        polygon << ToQPoint(p);
    painter.drawPolygon(polygon, Qt::OddEvenFill);
}

} // namespace

void DrawArrow(QPainter& painter, Point p1, Point p2, const QColor& colour, bool oneWay) {
    DrawLine(painter, p1, p2);
    const QBrush oldBrush = painter.brush();
    painter.setBrush(QBrush(colour, Qt::SolidPattern));
    DrawHead(painter, ArrowHead(p1, p2, false));
    if (!oneWay)
        DrawHead(painter, ArrowHead(p1, p2, true));
    painter.setBrush(oldBrush);
}

QString FormatLinkNumber(float value, QChar decimalPoint) {
    // From 2^23 on every float is a whole number, and rounding could only leave the float range.
    float rounded = value;
    if (std::fabs(value) < 8388608.0f)
        rounded = static_cast<float>(std::nearbyint(static_cast<double>(value) * 1000.0) / 1000.0);
    if (rounded == 0.0f)
        rounded = 0.0f; // no "-0"
    // The general format of a 32-bit float: 7 significant digits, no trailing zeros, a capital E.
    QString result =
        QString::fromStdString(NumberText::Significant(static_cast<double>(rounded), 7)).toUpper();
    result.replace(QLatin1Char('.'), decimalPoint);
    return result;
}

QString LinkText(float probability, float weight, QChar decimalPoint, bool stochastic) {
    // A stochastic link's weight is its mean.
    return " P: " + FormatLinkNumber(probability, decimalPoint) + (stochastic ? " W: ~" : " W: ") +
           FormatLinkNumber(weight, decimalPoint) + " ";
}

QString LinkText(float probability, float weight, bool stochastic) {
    const QString point = QLocale().decimalPoint();
    return LinkText(probability, weight, point.isEmpty() ? QChar('.') : point.at(0), stochastic);
}

} // namespace modHelper
