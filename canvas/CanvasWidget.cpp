#include "CanvasWidget.h"

#include <QMouseEvent>
#include <QPainter>

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("picCanvas");
    setAccessibleName("Canvas");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false); // moves matter only while a button is down
    setFocusPolicy(Qt::NoFocus);
}

void CanvasWidget::SetImage(QImage image) {
    image_ = std::move(image);
    update();
}

void CanvasWidget::InvertLine(QPoint from, QPoint to) {
    Invert([&](QPainter& painter) { painter.drawLine(from, to); });
}

void CanvasWidget::InvertRect(QRect rect) {
    // Each pixel of the outline once, so that drawing it twice restores them all.
    Invert([&](QPainter& painter) {
        if (rect.width() <= 1 || rect.height() <= 1) {
            painter.drawLine(rect.topLeft(), rect.bottomRight());
            return;
        }
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        if (rect.height() > 2)
            painter.drawLine(rect.topLeft() + QPoint(0, 1), rect.bottomLeft() - QPoint(0, 1));
        if (rect.height() > 2)
            painter.drawLine(rect.topRight() + QPoint(0, 1), rect.bottomRight() - QPoint(0, 1));
    });
}

void CanvasWidget::Invert(const std::function<void(QPainter&)>& draw) {
    if (image_.isNull())
        return;
    {
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.setPen(QPen(Qt::black, 1));
        draw(painter);
    }
    update();
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    // The picture may hold more pixels than the control (a dense screen): its source rectangle
    // is in the picture's own pixels.
    const qreal ratio = image_.devicePixelRatio();
    const QRectF source(QPointF(dirty.topLeft()) * ratio, QSizeF(dirty.size()) * ratio);
    painter.drawImage(QRectF(dirty), image_, source);
    // Between a resize and the next rendering the picture may be smaller than the control.
    const QRect shown(QPoint(0, 0), (QSizeF(image_.size()) / ratio).toSize());
    const QRegion uncovered = QRegion(dirty) - QRegion(shown);
    for (const QRect& rect : uncovered)
        painter.fillRect(rect, Qt::white);
}

void CanvasWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit Resized();
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event);
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(event);
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(event);
}

void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit DblClick(event);
    else
        emit MouseDown(event);
}
