#include "Scrolling.h"

#include "DrawObjects.h"

#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace Canvas {

namespace {
std::optional<QRect> Placement(int left, int top, int width, int height) {
    if (width < 0 || height < 0)
        return std::nullopt;
    return QRect(left, top, width, height);
}
} // namespace

void SetUpScrollBar(QScrollBar& bar) {
    bar.setMinimum(0);
    bar.setMaximum(ScrollMaximum);
    bar.setSingleStep(ScrollStep);
    bar.setPageStep(ScrollStep);
    bar.setTracking(true);
    bar.setValue(0);
}

QPoint EventPoint(QPointF position) {
    return QPoint(static_cast<int>(std::nearbyint(position.x())),
                  static_cast<int>(std::nearbyint(position.y())));
}

QPoint GetCursorPoint(QPointF eventPosition, QPoint scroll) {
    return EventPoint(eventPosition) + scroll;
}

modHelper::Point ToViewPoint(modHelper::Point documentPoint, QPoint scroll) {
    return {documentPoint.x - scroll.x(), documentPoint.y - scroll.y()};
}

QPoint KeepInDocumentArea(modHelper::Point position, QSize canvas) {
    const auto keep = [](int64_t value, int extent) {
        return static_cast<int>(
            std::clamp<int64_t>(value, 0, std::max(0, ScrollMaximum + extent - NodeSize)));
    };
    return QPoint(keep(position.x, canvas.width()), keep(position.y, canvas.height()));
}

std::optional<QRect> PanelGeometry(QSize client, int stdToolbarHeight, int statusBarHeight,
                                   int controlToolbarHeight) {
    return Placement(0, stdToolbarHeight, client.width(),
                     client.height() - stdToolbarHeight - statusBarHeight - controlToolbarHeight);
}

PanGeometry LayOutPan(QSize inner, int vscrollWidth, int hscrollHeight) {
    const int w = inner.width();
    const int h = inner.height();
    PanGeometry result;
    result.Canvas = Placement(0, 0, w - vscrollWidth, h - hscrollHeight);
    result.HScroll = Placement(0, h - hscrollHeight, w - vscrollWidth, ScrollBarThickness);
    result.VScroll = Placement(w - vscrollWidth, 0, ScrollBarThickness, h - hscrollHeight);
    return result;
}

} // namespace Canvas
