#pragma once
// What Edit > Cut, Copy, Paste, Delete and Select All, the arrow keys and Set as Source and Set
// as Destination do with the selection. Each change of the document is one undo step.

#include "EditingTools.h"

#include <QPointF>
#include <optional>

class BackgroundWork;

class EditActions {
  public:
    // A paste is read apart through `work`: GraphML without positions is laid out first.
    EditActions(ToolContext& context, BackgroundWork& work) : c_(context), work_(work) {}

    void SelectAll();
    // The selected nodes with the links among them, on the clipboard.
    void Copy();
    void Cut();
    // Centred on the canvas point when given (the pointer's), else near where it was copied;
    // read on the worker thread while the window waits, and Cancel leaves the document as it was.
    void Paste(std::optional<QPointF> at);
    // What is chosen together, else the selected link, else the selected node.
    void Delete();
    // Moves the selected nodes; the moves that follow each other make one step.
    void Nudge(int dx, int dy);
    // The selected node becomes the stored run's source (or destination); the other end leaves
    // it, and a destination makes the run one that goes to it (a sampled run stays sampled).
    // Redraws when that changes nothing.
    void SetRunEnd(bool source);

  private:
    ToolContext& c_;
    BackgroundWork& work_;
    int nudges_ = 0; // the gesture of the arrow keys
};
