#pragma once
// The panel that shows the document: the canvas with its two scroll bars, and the view they
// make, a zoom and scroll offsets. The mouse wheel scrolls it (Shift sideways) and, with Ctrl,
// zooms about the pointer; whoever draws listens to ViewChanged.

#include "CanvasWidget.h"

#include <QPoint>
#include <QRectF>
#include <QWidget>
#include <optional>

class QScrollBar;

class CanvasPanel : public QWidget {
    Q_OBJECT
  public:
    explicit CanvasPanel(QWidget* parent = nullptr);

    CanvasWidget* Canvas() const { return canvas_; }
    QScrollBar* HScroll() const { return hscroll_; }
    QScrollBar* VScroll() const { return vscroll_; }

    // The canvas shows document * Zoom() - Scroll().
    QPoint Scroll() const;
    double Zoom() const { return zoom_; }

    // The document point under a canvas position.
    QPoint ToDocument(QPointF canvasPoint) const;
    // The canvas point of a document point.
    QPoint ToCanvas(QPoint documentPoint) const;
    // The canvas's size in document pixels.
    QSize DocumentExtent() const;

    // Zooms keeping the document point under the anchor (a canvas point) where it is.
    void SetZoom(double zoom, QPointF anchor);
    void ZoomIn();
    void ZoomOut();
    void ActualSize();
    // Shows the document rectangle whole, at 100% when it fits; and again when the canvas changes
    // its size, until the user scrolls, zooms or clicks: the window may take its final size
    // only after a document opened.
    void Fit(QRectF document);
    // Back to the start: 100%, scrolled to the top-left corner.
    void Reset();

    // The document rectangle the canvas shows.
    QRectF VisibleDocumentRect() const;
    // Scrolls the document point to the canvas's centre, as far as the scroll bars reach.
    void CentreOn(QPointF documentPoint);
    // Brings the document rectangle into view, centred, unless the canvas shows it whole already.
    void ShowDocumentRect(QRectF document);

  signals:
    void ViewChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetRanges();
    void ApplyFit(QRectF document);

    CanvasWidget* canvas_;
    QScrollBar* hscroll_;
    QScrollBar* vscroll_;
    double zoom_ = 1.0;
    std::optional<QRectF> fitted_; // the rectangle to keep fitted into the canvas
};
