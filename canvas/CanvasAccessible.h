#pragma once
// What screen readers hear of the canvas: each node is a child of the canvas, named by its label
// and described by its degree and state; the focused child is the selected node.

#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>

struct NodeFacts {
    QString name;        // the label
    QString description; // degree and state
    QRect rect;          // on the canvas
    bool selected = false;
};

// What the window tells of its nodes (one-based); the canvas itself knows no graph.
struct NodeReader {
    std::function<int32_t()> count;
    std::function<NodeFacts(int32_t node)> facts;
    std::function<int32_t()> focused; // the selected node, -1 for none
};

namespace CanvasAccessible {

// Makes screen readers see the nodes of every canvas through its reader; the canvas calls it.
void Install();

} // namespace CanvasAccessible
