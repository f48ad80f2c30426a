#pragma once
// Canvas and document coordinates, the scroll bars, and the layout of the panel that holds the
// canvas and its scroll bars.

#include "modHelper.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <optional>

class QScrollBar;

namespace Canvas {

constexpr int ScrollMaximum = 32767;
constexpr int ScrollStep = 41; // a node's size, for the arrow and the page step alike
constexpr int ScrollBarThickness = 17;

// Range 0 to 32767, both steps 41, value 0; the picture follows the thumb while it is dragged.
void SetUpScrollBar(QScrollBar& bar);

// A mouse event's position in whole canvas pixels, halves to even.
QPoint EventPoint(QPointF position);

// The document point under a canvas position: the rounded position plus the scroll offsets.
QPoint GetCursorPoint(QPointF eventPosition, QPoint scroll);

// Document to canvas: minus the scroll offsets.
modHelper::Point ToViewPoint(modHelper::Point documentPoint, QPoint scroll);

// A dragged node's position kept where the scroll bars can still bring its whole square into a
// canvas of the given size.
QPoint KeepInDocumentArea(modHelper::Point position, QSize canvas);

// Where the panel goes in the window's client area: below the upper toolbar, above the lower
// toolbar and the status bar. Nothing when the client area is too small for it.
std::optional<QRect> PanelGeometry(QSize client, int stdToolbarHeight, int statusBarHeight,
                                   int controlToolbarHeight);

// The canvas and the two scroll bars in a panel of the given inner size; a control whose size
// would be negative gets nothing and keeps its previous bounds.
struct PanGeometry {
    std::optional<QRect> Canvas;
    std::optional<QRect> HScroll;
    std::optional<QRect> VScroll;
};
PanGeometry LayOutPan(QSize inner, int vscrollWidth, int hscrollHeight);

} // namespace Canvas
