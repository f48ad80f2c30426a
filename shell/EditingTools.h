#pragma once
// The editing tools of the canvas: the pointer (select, drag the selection, a band that selects
// an area), the node tool and the link tool (with its rubber band). Each turns a press, moves and a
// release of the left button into edits of the document; the window chooses the tool and handles
// the rest of the mouse.

#include "Selection.h"

#include <QPoint>
#include <QPointF>
#include <cstdint>
#include <functional>
#include <vector>

class CanvasPanel;
class GraphDocument;
class QWidget;

namespace Tool {
constexpr int32_t Pointer = 0;
constexpr int32_t DragNode = 1; // the pointer while a node is being dragged
constexpr int32_t AddNode = 2;
constexpr int32_t Link = 3;
} // namespace Tool

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

// Moves the nodes by the same amount, as far as it keeps them all in the document area; a gesture
// makes the moves that follow each other one step. False when nothing moved.
bool MoveTogether(ToolContext& context, const std::vector<int32_t>& nodes, QPoint by, int gesture);

class EditingTool {
  public:
    explicit EditingTool(ToolContext& context) : c_(context) {}
    virtual ~EditingTool() = default;
    // Canvas positions of the left button's press (with the keys held), moves while it is down,
    // and release.
    virtual void Press(QPointF, Qt::KeyboardModifiers) {}
    virtual void Move(QPointF) {}
    virtual void Release(QPointF) {}

  protected:
    ToolContext& c_;
};

class PointerTool : public EditingTool {
  public:
    using EditingTool::EditingTool;
    void Press(QPointF at, Qt::KeyboardModifiers modifiers) override;
    void Move(QPointF at) override;
    void Release(QPointF at) override;
    // Ends a drag (the release, or Escape): its moves were one undo step, and later ones are no
    // part of it. A band goes without selecting.
    void FinishDrag();
    // The canvas has a new picture: the band, if any, is drawn on it again.
    void Redrawn();

  private:
    void InvertBand();

    QPoint last_;        // canvas pixel of the last move
    int gesture_ = 0;    // the drag going on, else 0
    bool moved_ = false; // the drag has moved what it drags
    bool banded_ = false;
    QPoint bandStart_; // document point of the band's press
    QPoint bandEnd_;   // canvas pixel of its other corner
};

class AddNodeTool : public EditingTool {
  public:
    using EditingTool::EditingTool;
    void Press(QPointF at, Qt::KeyboardModifiers) override;
};

class LinkTool : public EditingTool {
  public:
    using EditingTool::EditingTool;
    void Press(QPointF at, Qt::KeyboardModifiers) override;
    void Move(QPointF at) override;
    void Release(QPointF at) override;

  private:
    QPoint BandStart() const;
    bool banded_ = false; // a rubber band is on the canvas
    QPoint last_;
};
