#pragma once
// The canvas control: shows the last rendered picture of the graph and reports the mouse. It
// computes nothing itself; the window renders and hands it the picture.

#include <QImage>
#include <QWidget>
#include <functional>

class QPainter;

class CanvasWidget : public QWidget {
    Q_OBJECT
  public:
    explicit CanvasWidget(QWidget* parent = nullptr);

    void SetImage(QImage image);
    const QImage& Image() const { return image_; }

    // Inverts the pixels of a 1-pixel line on the shown picture; the same call again restores
    // them exactly. This is the rubber band of a link drag.
    void InvertLine(QPoint from, QPoint to);
    // The same for the outline of a rectangle: the band that selects an area.
    void InvertRect(QRect rect);

  signals:
    // The second press of a double-click arrives only as DblClick, never as a press.
    void MouseDown(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseUp(QMouseEvent* event);
    void DblClick(QMouseEvent* event);
    void Resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void Invert(const std::function<void(QPainter&)>& draw);

    QImage image_;
};
