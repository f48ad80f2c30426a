#pragma once
// The canvas control: shows the last rendered picture of the graph and reports the mouse and the
// keys of its nodes. It computes nothing itself; the window renders and hands it the picture, and
// answers what screen readers and tool tips ask of the nodes.

#include "CanvasAccessible.h"

#include <QAccessible>
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

    // What the nodes tell screen readers.
    void SetNodeReader(NodeReader reader) { nodes_ = std::move(reader); }
    const NodeReader& Nodes() const { return nodes_; }
    // Tells screen readers of another focused node, or of a new name or description of the same
    // one, while the canvas has the focus; `always` also when nothing changed.
    void AnnounceFocusedNode(bool always = false);
    // Tab and Shift+Tab (forward false) go through the nodes: the handler says whether it went to
    // one; if not, the focus moves on, so that the keyboard never gets stuck in the canvas.
    void SetTabHandler(std::function<bool(bool forward)> handler) { tab_ = std::move(handler); }
    // The tool tip at a canvas point; none when empty.
    void SetToolTipSource(std::function<QString(QPoint)> source) { tips_ = std::move(source); }

  signals:
    // The second press of a double-click arrives only as DblClick, never as a press.
    void MouseDown(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseUp(QMouseEvent* event);
    void DblClick(QMouseEvent* event);
    void Resized();
    void EnterKey();
    // The Menu key or Shift+F10: the context menu of the selection.
    void MenuKey();
    // What screen readers were told of the focused node (0-based), for whoever else follows it.
    void Announced(QAccessible::Event event, int child);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* event) override;

  private:
    void Invert(const std::function<void(QPainter&)>& draw);

    QImage image_;
    NodeReader nodes_;
    std::function<bool(bool)> tab_;
    std::function<QString(QPoint)> tips_;
    struct Told {
        int32_t node = -1;
        QString name, description;
    } told_;
};
