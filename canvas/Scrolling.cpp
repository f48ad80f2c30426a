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

QPoint GetCursorPoint(QPointF eventPosition, QPoint scroll, double zoom) {
    if (zoom == 1.0)
        return EventPoint(eventPosition) + scroll;
    return EventPoint((eventPosition + QPointF(scroll)) / zoom);
}

modHelper::Point ToViewPoint(modHelper::Point documentPoint, modHelper::Point scroll) {
    return {documentPoint.x - scroll.x, documentPoint.y - scroll.y};
}

QPoint KeepInDocumentArea(modHelper::Point position, QSize canvas) {
    const auto keep = [](int64_t value, int extent) {
        return static_cast<int>(
            std::clamp<int64_t>(value, 0, std::max(0, ScrollMaximum + extent - NodeSize)));
    };
    return QPoint(keep(position.x, canvas.width()), keep(position.y, canvas.height()));
}

QPoint KeepMoveInDocumentArea(QPoint from, QPoint to, QPoint by, QSize canvas) {
    const auto keep = [](int low, int high, int move, int extent) {
        const int64_t limit = std::max(0, ScrollMaximum + extent - NodeSize);
        return static_cast<int>(std::clamp<int64_t>(move, std::min<int64_t>(0, -int64_t{low}),
                                                    std::max<int64_t>(0, limit - high)));
    };
    return QPoint(keep(from.x(), to.x(), by.x(), canvas.width()),
                  keep(from.y(), to.y(), by.y(), canvas.height()));
}

double StepZoom(double zoom, int steps) {
    static const double levels[] = {0.1, 0.15, 0.25, 0.33, 0.5, 0.67, 0.75,
                                    1.0, 1.25, 1.5,  2.0,  3.0, 4.0};
    for (; steps > 0; --steps) {
        const double* next = std::upper_bound(std::begin(levels), std::end(levels), zoom + 1e-9);
        zoom = next == std::end(levels) ? MaxZoom : *next;
    }
    for (; steps < 0; ++steps) {
        const double* next = std::lower_bound(std::begin(levels), std::end(levels), zoom - 1e-9);
        zoom = next == std::begin(levels) ? MinZoom : *(next - 1);
    }
    return zoom;
}

QPoint ScrollAfterZoom(QPoint scroll, double from, double to, QPointF anchor) {
    const QPointF document = (QPointF(scroll) + anchor) / from;
    const QPointF after = document * to - anchor;
    return QPoint(std::max(0, static_cast<int>(std::lround(after.x()))),
                  std::max(0, static_cast<int>(std::lround(after.y()))));
}

double FitZoom(QRectF document, QSize canvas) {
    const double zoom = std::min(canvas.width() / std::max(1.0, double(document.width())),
                                 canvas.height() / std::max(1.0, double(document.height())));
    return std::clamp(zoom, MinZoom, 1.0);
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
