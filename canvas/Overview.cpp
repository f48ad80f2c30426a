#include "Overview.h"

#include "CanvasPanel.h"
#include "DrawObjects.h"
#include "GraphPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
constexpr double LargestScale = 0.25;
const QColor ViewColour(96, 96, 254);
} // namespace

OverviewWidget::OverviewWidget(const clsGraph& graph, CanvasPanel& panel, QWidget* parent)
    : QWidget(parent), graph_(graph), panel_(panel) {
    setObjectName("picOverview");
    setAccessibleName("Overview");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 90);
    connect(&panel_, &CanvasPanel::ViewChanged, this, qOverload<>(&QWidget::update));
}

void OverviewWidget::GraphChanged() {
    pictured_.reset();
    update();
}

OverviewWidget::Map OverviewWidget::MapOf(QRectF document, QSize size) {
    Map map;
    const double w = std::max(document.width(), 1.0), h = std::max(document.height(), 1.0);
    map.scale = std::min({size.width() / w, size.height() / h, LargestScale});
    // Centred: what the document leaves free of the widget lies half on each side.
    const QPointF free = (QPointF(size.width(), size.height()) - QPointF(w, h) * map.scale) / 2;
    const QPointF scroll = document.topLeft() * map.scale - free;
    map.scroll = QPoint(static_cast<int>(std::lround(scroll.x())),
                        static_cast<int>(std::lround(scroll.y())));
    return map;
}

OverviewWidget::Map OverviewWidget::Current() const {
    if (dragging_)
        return *dragging_;
    return MapOf(Canvas::GraphBounds(graph_).united(panel_.VisibleDocumentRect()), size());
}

void OverviewWidget::paintEvent(QPaintEvent*) {
    const Map map = Current();
    if (!pictured_ || !(*pictured_ == map) || picture_.size() != size() * devicePixelRatioF()) {
        Canvas::View view;
        view.Zoom = map.scale;
        view.Scroll = map.scroll;
        view.DevicePixelRatio = devicePixelRatioF();
        picture_ = Canvas::DrawObjects(graph_, view, size(), font(), font());
        pictured_ = map;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture_);
    const QRectF visible = panel_.VisibleDocumentRect();
    QColor fill = ViewColour;
    fill.setAlpha(40);
    painter.setPen(QPen(ViewColour, 2));
    painter.setBrush(fill);
    painter.drawRect(QRectF(map.ToWidget(visible.topLeft()), map.ToWidget(visible.bottomRight())));
}

void OverviewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = Current(); // the picture holds still while the view follows the pointer
    panel_.CentreOn(dragging_->ToDocument(event->position()));
}

void OverviewWidget::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        panel_.CentreOn(dragging_->ToDocument(event->position()));
}

void OverviewWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dragging_) {
        dragging_.reset();
        update();
    }
}
