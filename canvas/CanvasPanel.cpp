#include "CanvasPanel.h"

#include "Scrolling.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {
// A wheel notch moves the view by three arrow steps, as scroll bars do.
constexpr int NotchPixels = 3 * Canvas::ScrollStep;
} // namespace

CanvasPanel::CanvasPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("picPan");
    canvas_ = new CanvasWidget(this);
    hscroll_ = new QScrollBar(Qt::Horizontal, this);
    hscroll_->setObjectName("HScroll");
    hscroll_->setAccessibleName("Horizontal scroll bar");
    vscroll_ = new QScrollBar(Qt::Vertical, this);
    vscroll_->setObjectName("VScroll");
    vscroll_->setAccessibleName("Vertical scroll bar");
    for (QScrollBar* bar : {hscroll_, vscroll_}) {
        Canvas::SetUpScrollBar(*bar);
        // With tracking on, the value changes, and the canvas follows, while the thumb is dragged.
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            fitted_.reset();
            emit ViewChanged();
        });
    }
    canvas_->installEventFilter(this);
}

QPoint CanvasPanel::Scroll() const {
    return QPoint(hscroll_->isEnabled() ? hscroll_->value() : 0,
                  vscroll_->isEnabled() ? vscroll_->value() : 0);
}

QPoint CanvasPanel::ToDocument(QPointF canvasPoint) const {
    return Canvas::GetCursorPoint(canvasPoint, Scroll(), zoom_);
}

QPoint CanvasPanel::ToCanvas(QPoint documentPoint) const {
    return QPoint(static_cast<int>(std::lround(documentPoint.x() * zoom_)),
                  static_cast<int>(std::lround(documentPoint.y() * zoom_))) -
           Scroll();
}

QSize CanvasPanel::DocumentExtent() const {
    return QSize(static_cast<int>(canvas_->width() / zoom_),
                 static_cast<int>(canvas_->height() / zoom_));
}

void CanvasPanel::SetZoom(double zoom, QPointF anchor) {
    fitted_.reset();
    zoom = std::clamp(zoom, Canvas::MinZoom, Canvas::MaxZoom);
    if (zoom == zoom_)
        return;
    const QPoint scroll = Canvas::ScrollAfterZoom(Scroll(), zoom_, zoom, anchor);
    zoom_ = zoom;
    const QSignalBlocker h(hscroll_), v(vscroll_); // one redraw, not three
    SetRanges();
    hscroll_->setValue(scroll.x());
    vscroll_->setValue(scroll.y());
    emit ViewChanged();
}

void CanvasPanel::ZoomIn() {
    SetZoom(Canvas::StepZoom(zoom_, 1), QRectF(canvas_->rect()).center());
}

void CanvasPanel::ZoomOut() {
    SetZoom(Canvas::StepZoom(zoom_, -1), QRectF(canvas_->rect()).center());
}

void CanvasPanel::ActualSize() {
    SetZoom(1.0, QRectF(canvas_->rect()).center());
}

void CanvasPanel::Fit(QRectF document) {
    ApplyFit(document);
    fitted_ = document;
}

void CanvasPanel::ApplyFit(QRectF document) {
    SetZoom(Canvas::FitZoom(document, canvas_->size()), QPointF());
    const QSignalBlocker h(hscroll_), v(vscroll_);
    // The scroll bars hold whatever part of this falls in their range.
    const auto offset = [this](double at) {
        return static_cast<int>(
            std::clamp(std::floor(at * zoom_), double(INT_MIN), double(INT_MAX)));
    };
    hscroll_->setValue(offset(document.left()));
    vscroll_->setValue(offset(document.top()));
    emit ViewChanged();
}

void CanvasPanel::Reset() {
    fitted_.reset();
    zoom_ = 1.0;
    const QSignalBlocker h(hscroll_), v(vscroll_);
    SetRanges();
    hscroll_->setValue(0);
    vscroll_->setValue(0);
    emit ViewChanged();
}

QRectF CanvasPanel::VisibleDocumentRect() const {
    return QRectF(QPointF(Scroll()) / zoom_, QSizeF(canvas_->size()) / zoom_);
}

void CanvasPanel::CentreOn(QPointF documentPoint) {
    const QPointF corner = documentPoint * zoom_ - QRectF(canvas_->rect()).center();
    // One redraw for both bars; the values are clamped to their ranges.
    {
        const QSignalBlocker h(hscroll_), v(vscroll_);
        hscroll_->setValue(static_cast<int>(std::clamp(std::round(corner.x()), 0.0, 1e9)));
        vscroll_->setValue(static_cast<int>(std::clamp(std::round(corner.y()), 0.0, 1e9)));
    }
    fitted_.reset();
    emit ViewChanged();
}

void CanvasPanel::ShowDocumentRect(QRectF document) {
    if (!VisibleDocumentRect().contains(document))
        CentreOn(document.center());
}

void CanvasPanel::SetRanges() {
    const int maximum = static_cast<int>(std::lround(Canvas::ScrollMaximum * zoom_));
    hscroll_->setMaximum(maximum);
    vscroll_->setMaximum(maximum);
}

void CanvasPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const Canvas::PanGeometry g =
        Canvas::LayOutPan(event->size(), Canvas::ScrollBarThickness, Canvas::ScrollBarThickness);
    if (g.Canvas)
        canvas_->setGeometry(*g.Canvas);
    if (g.HScroll)
        hscroll_->setGeometry(*g.HScroll);
    if (g.VScroll)
        vscroll_->setGeometry(*g.VScroll);
    if (const std::optional<QRectF> fitted = fitted_)
        Fit(*fitted);
}

bool CanvasPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == canvas_ && event->type() == QEvent::MouseButtonPress)
        fitted_.reset();
    if (watched != canvas_ || event->type() != QEvent::Wheel)
        return QWidget::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    const QPoint delta = wheel->angleDelta();
    const int notches = delta.y() != 0 ? delta.y() : delta.x();
    if (wheel->modifiers() & Qt::ControlModifier) {
        const int steps = notches / 120 != 0 ? notches / 120 : (notches > 0 ? 1 : -1);
        SetZoom(Canvas::StepZoom(zoom_, steps), wheel->position());
    } else {
        QScrollBar* bar =
            wheel->modifiers() & Qt::ShiftModifier || delta.y() == 0 ? hscroll_ : vscroll_;
        bar->setValue(bar->value() - notches * NotchPixels / 120);
    }
    return true;
}
