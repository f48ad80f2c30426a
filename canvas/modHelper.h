#pragma once
// The drawing geometry of the canvas: link ends on the node rims, arrowheads, link texts.

#include <QChar>
#include <QColor>
#include <QString>
#include <array>
#include <cstdint>

class QPainter;

namespace modHelper {

// A canvas or document point. 64 bits, so that node positions anywhere in the 32-bit document
// range can be offset and shortened without overflowing.
struct Point {
    int64_t x = 0;
    int64_t y = 0;
    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
};

constexpr double Pi = 3.14159265358979;

// Nearest integer, halves to even.
int64_t Nearest(double value);

// Arc tangent of Y / X in (-pi/2, pi/2); +-pi/2 or 0 when X is 0.
double GetAngle(double y, double x);

// Pulls each end of the segment towards the other by its radius, so that a link between two
// node centres ends on both rims.
void ShortenLine(Point& p1, Point& p2, int16_t r1, int16_t r2);

// The closed four-point outline (tip, two base corners, tip again) of the arrowhead at p2 of the
// segment p1-p2; with atP1 the mirrored head at p1. Integer geometry: 10 long, 10 wide.
std::array<Point, 4> ArrowHead(Point p1, Point p2, bool atP1);

// Draws the line p1-p2 with the painter's pen (clipped first when an end lies far outside).
void DrawLine(QPainter& painter, Point p1, Point p2);

// Draws the line p1-p2 with the painter's pen and arrowheads filled with the colour: at p2, and
// at p1 as well unless oneWay.
void DrawArrow(QPainter& painter, Point p1, Point p2, const QColor& colour, bool oneWay);

// A link value as the canvas shows it: rounded to 3 decimals (halves to even), then at most 7
// significant digits without trailing zeros, with the given decimal separator.
QString FormatLinkNumber(float value, QChar decimalPoint);

// " P: <probability> W: <weight> ", in the user's locale.
// A stochastic link shows its weight, the distribution's mean, as "W: ~6.7".
QString LinkText(float probability, float weight, bool stochastic = false);
QString LinkText(float probability, float weight, QChar decimalPoint, bool stochastic = false);

} // namespace modHelper
