#pragma once
// The canvas's nodes for the keyboard and for screen readers: Tab and Shift+Tab in label order,
// what a node tells (its label, degree and state), the tool tip of an elided label, and a node
// brought into view.

#include "CanvasAccessible.h"

#include <QFont>
#include <QPoint>
#include <cstdint>
#include <vector>

struct ToolContext;
class clsGraph;

class CanvasNodes {
  public:
    explicit CanvasNodes(ToolContext& context) : c_(context) {}

    // The nodes by their labels, letter case aside; nodes of one label by their places.
    static std::vector<int32_t> LabelOrder(const clsGraph& graph);

    // Selects the node after the selected one in label order (before it, when not forward) and
    // says true; past the last (or the first) selects nothing and says false, so that the focus
    // may leave the canvas and the next Tab begins again.
    bool Tab(bool forward);
    // Selects the node alone and scrolls the canvas to it when it is not in view.
    void Show(int32_t node);

    NodeFacts Facts(int32_t node) const;
    NodeReader Reader() const;
    // The whole label of the node under the canvas point when the canvas shows it elided.
    QString ToolTipAt(QPoint canvasPoint, const QFont& nodeFont) const;

  private:
    ToolContext& c_;
};
