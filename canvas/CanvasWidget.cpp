#include "CanvasWidget.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent) {
    // Before anything asks for the canvas's accessible interface (naming it does), which is then
    // kept for its life.
    CanvasAccessible::Install();
    setObjectName("picCanvas");
    setAccessibleName("Canvas");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false); // moves matter only while a button is down
    setFocusPolicy(Qt::StrongFocus);
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

void CanvasWidget::keyPressEvent(QKeyEvent* event) {
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        emit EnterKey();
    else if (event->key() == Qt::Key_Menu || shiftF10)
        emit MenuKey();
    else
        QWidget::keyPressEvent(event);
}

void CanvasWidget::contextMenuEvent(QContextMenuEvent* event) {
    // The right button's menu comes with its release; the Menu key is taken as it is pressed.
    event->accept();
}

void CanvasWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    AnnounceFocusedNode(true);
}

bool CanvasWidget::focusNextPrevChild(bool next) {
    if (tab_ && tab_(next))
        return true;
    return QWidget::focusNextPrevChild(next);
}

bool CanvasWidget::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !tips_)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = tips_(help->pos());
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
}

void CanvasWidget::AnnounceFocusedNode(bool always) {
    if (!hasFocus() || !nodes_.focused)
        return;
    Told now;
    now.node = nodes_.focused();
    if (now.node >= 1) {
        const NodeFacts facts = nodes_.facts(now.node);
        now.name = facts.name;
        now.description = facts.description;
    }
    const Told last = std::exchange(told_, now);
    const auto tell = [&](QAccessible::Event type) {
        QAccessibleEvent event(this, type);
        if (now.node >= 1)
            event.setChild(now.node - 1);
        QAccessible::updateAccessibility(&event);
        emit Announced(type, now.node - 1);
    };
    if (always || now.node != last.node) {
        tell(QAccessible::Focus);
        return;
    }
    if (now.node >= 1 && now.name != last.name)
        tell(QAccessible::NameChanged);
    if (now.node >= 1 && now.description != last.description)
        tell(QAccessible::DescriptionChanged);
}
