#pragma once
// The overview: the whole graph small, with the part the canvas shows as a rectangle; a press or a
// drag there moves the canvas's view to the point under the pointer.

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <optional>

class CanvasPanel;
class clsGraph;

class OverviewWidget : public QWidget {
    Q_OBJECT
  public:
    OverviewWidget(const clsGraph& graph, CanvasPanel& panel, QWidget* parent);

    // The graph changed: its picture is drawn again when next shown.
    void GraphChanged();

    // How document points land on the overview: point * scale - scroll.
    struct Map {
        double scale = 1.0;
        QPoint scroll;
        QPointF ToWidget(QPointF document) const { return document * scale - QPointF(scroll); }
        QPointF ToDocument(QPointF widget) const { return (widget + QPointF(scroll)) / scale; }
        bool operator==(const Map& other) const {
            return scale == other.scale && scroll == other.scroll;
        }
    };
    // The document area shown whole and centred in a widget of the given size, never larger than
    // a quarter of its size: small enough that every graph is drawn as shapes.
    static Map MapOf(QRectF document, QSize size);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // The graph and the canvas's view, unless a drag holds the map it began with still.
    Map Current() const;

    const clsGraph& graph_;
    CanvasPanel& panel_;
    QImage picture_;
    std::optional<Map> pictured_; // the map the picture was drawn for, none when stale
    std::optional<Map> dragging_;
};
