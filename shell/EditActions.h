#pragma once
// What Edit > Cut, Copy, Paste, Delete and Select All and the arrow keys do to the selection.
// Each change of the document is one undo step.

#include "EditingTools.h"

#include <QPointF>
#include <optional>

class EditActions {
  public:
    explicit EditActions(ToolContext& context) : c_(context) {}

    void SelectAll();
    // The selected nodes with the links among them, on the clipboard.
    void Copy();
    void Cut();
    // Centred on the canvas point when given (the pointer's), else near where it was copied.
    void Paste(std::optional<QPointF> at);
    // What is chosen together, else the selected link, else the selected node.
    void Delete();
    // Moves the selected nodes; the moves that follow each other make one step.
    void Nudge(int dx, int dy);

  private:
    ToolContext& c_;
    int nudges_ = 0; // the gesture of the arrow keys
};
