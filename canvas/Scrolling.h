#pragma once
// Canvas and document coordinates at a zoom, the scroll bars, and the layout of the panel that
// holds the canvas and its scroll bars. At 100% a canvas pixel is a document pixel.

#include "NodeGeometry.h"
#include "modHelper.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <optional>

class QScrollBar;

namespace Canvas {

constexpr int ScrollMaximum = 32767;           // at 100%; the range grows and shrinks with the zoom
constexpr int ScrollStep = NodeGeometry::Size; // for the arrow and the page step alike
constexpr int ScrollBarThickness = 17;
constexpr double MinZoom = 0.1;
constexpr double MaxZoom = 4.0;

// Range 0 to 32767, both steps 41, value 0; the picture follows the thumb while it is dragged.
void SetUpScrollBar(QScrollBar& bar);

// A mouse event's position in whole canvas pixels, halves to even.
QPoint EventPoint(QPointF position);

// The document point under a canvas position: (position + scroll) / zoom, halves to even; at
// 100% the rounded position plus the scroll offsets.
QPoint GetCursorPoint(QPointF eventPosition, QPoint scroll, double zoom = 1.0);

// Document to canvas at 100%: minus the scroll offsets.
modHelper::Point ToViewPoint(modHelper::Point documentPoint, modHelper::Point scroll);

// The zoom steps of Zoom In and Zoom Out, from the zoom given (100% is one of them), within
// 10% and 400%.
double StepZoom(double zoom, int steps);

// The scroll offsets that keep the document point under the anchor (a canvas point) where it is
// when the zoom changes.
QPoint ScrollAfterZoom(QPoint scroll, double from, double to, QPointF anchor);

// The zoom, at most 100%, that shows the document rectangle whole in a canvas of the given size.
double FitZoom(QRectF document, QSize canvas);

// A dragged node's position kept where the scroll bars can still bring its whole square into a
// canvas of the given size (in document pixels).
QPoint KeepInDocumentArea(modHelper::Point position, QSize canvas);
// The same for nodes moved together, whose positions lie from `from` to `to`: how much of the
// move `by` keeps them all there. Nodes already beyond an edge are never moved farther out.
QPoint KeepMoveInDocumentArea(QPoint from, QPoint to, QPoint by, QSize canvas);

// The canvas and the two scroll bars in a panel of the given inner size; a control whose size
// would be negative gets nothing and keeps its previous bounds.
struct PanGeometry {
    std::optional<QRect> Canvas;
    std::optional<QRect> HScroll;
    std::optional<QRect> VScroll;
};
PanGeometry LayOutPan(QSize inner, int vscrollWidth, int hscrollHeight);

} // namespace Canvas
