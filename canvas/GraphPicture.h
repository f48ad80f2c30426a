#pragma once
// Pictures of the whole graph, not only the visible part, looking like the canvas at 100%: PNG at
// a chosen scale, SVG and PDF with the nodes as circles.

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class clsGraph;

namespace Canvas {

enum class PictureFormat { Png, Svg, Pdf };

// By the extension, in any letter case: .png, .svg, .pdf.
std::optional<PictureFormat> PictureFormatOf(const QString& fileName);

// The document area the graph covers, with a node's room around it for labels and link texts; a
// pixel at the origin for an empty graph. In doubles, which hold it exactly: nodes may lie 2^32
// pixels apart, farther than a QRect reaches.
QRectF GraphBounds(const clsGraph& graph);

// A PNG has at most this many pixels a side and in all (256 MB while it is drawn): beyond, a
// picture takes gigabytes and minutes, and few programs open it.
constexpr int64_t MaxPngSide = 32767;
constexpr int64_t MaxPngPixels = int64_t{1} << 26;

// The picture file's bytes; scale applies to PNG only (1 is the canvas's own pixels). Raises
// PathloomError instead of making a picture that would lose nodes (a graph spanning more than
// DrawnReach) or a PNG past the limits, whose message ends with what `smaller` says of the
// largest scale at which it fits.
QByteArray GraphPicture(const clsGraph& graph, PictureFormat format, double scale = 1.0,
                        const std::function<QString(double)>& smaller = {});

} // namespace Canvas
