#pragma once
// The editing tools of the canvas: the pointer (select, drag a node), the node tool and the link
// tool (with its rubber band). Each turns a press, moves and a release of the left button into
// edits of the document; the window chooses the tool and handles the rest of the mouse.

#include <QPoint>
#include <QPointF>
#include <cstdint>
#include <functional>

class CanvasPanel;
class GraphDocument;
class QWidget;

namespace Tool {
constexpr int32_t Pointer = 0;
constexpr int32_t DragNode = 1; // the pointer while a node is being dragged
constexpr int32_t AddNode = 2;
constexpr int32_t Link = 3;
} // namespace Tool

// The selected node and link, one-based, -1 for none; both may be selected after a link drag.
struct Selection {
    int32_t Node = -1;
    int32_t Link = -1;
};

// What the tools act on, and how they tell the window.
struct ToolContext {
    GraphDocument& document;
    CanvasPanel& panel;
    Selection& selection;
    QWidget* owner;                          // of message boxes
    std::function<void()> redraw;            // the canvas, after a change of the selection
    std::function<void(int32_t)> chooseTool; // SetTool
    int32_t linkKind = 0;                    // for the link tool
};

class EditingTool {
  public:
    explicit EditingTool(ToolContext& context) : c_(context) {}
    virtual ~EditingTool() = default;
    // Canvas positions of the left button's press, moves while it is down, and release.
    virtual void Press(QPointF) {}
    virtual void Move(QPointF) {}
    virtual void Release(QPointF) {}

  protected:
    ToolContext& c_;
};

class PointerTool : public EditingTool {
  public:
    using EditingTool::EditingTool;
    void Press(QPointF at) override;
    void Move(QPointF at) override;
    void Release(QPointF at) override;
    // Ends a node drag (the release, or Escape): its moves were one undo step, and later ones are
    // no part of it.
    void FinishDrag() { gesture_ = 0; }

  private:
    QPoint last_;     // canvas pixel of the last move
    int gesture_ = 0; // the drag of a node going on, else 0
};

class AddNodeTool : public EditingTool {
  public:
    using EditingTool::EditingTool;
    void Press(QPointF at) override;
};

class LinkTool : public EditingTool {
  public:
    using EditingTool::EditingTool;
    void Press(QPointF at) override;
    void Move(QPointF at) override;
    void Release(QPointF at) override;

  private:
    QPoint BandStart() const;
    bool banded_ = false; // a rubber band is on the canvas
    QPoint last_;
};
