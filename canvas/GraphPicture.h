#pragma once
// Pictures of the whole graph, not only the visible part, looking like the canvas at 100%: PNG at
// a chosen scale, SVG and PDF with the nodes as circles.

#include <QByteArray>
#include <QRect>
#include <QString>
#include <optional>

class clsGraph;

namespace Canvas {

enum class PictureFormat { Png, Svg, Pdf };

// By the extension, in any letter case: .png, .svg, .pdf.
std::optional<PictureFormat> PictureFormatOf(const QString& fileName);

// The document area the graph covers, with a node's room around it for labels and link texts.
QRect GraphBounds(const clsGraph& graph);

// The picture file's bytes; scale applies to PNG only (1 is the canvas's own pixels).
QByteArray GraphPicture(const clsGraph& graph, PictureFormat format, double scale = 1.0);

} // namespace Canvas
