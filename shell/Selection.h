#pragma once
// What is selected on the canvas: the one node and the one link that the properties, the link
// tool and the learning curve go by, as always; and the nodes and links chosen together (by a
// band, Ctrl+click, Select All or a paste), which moving, deleting and the clipboard take as one.

#include <QRect>
#include <cstdint>
#include <vector>

class clsGraph;

struct Selection {
    int32_t Node = -1; // one-based, -1 for none; both may be selected after a link drag
    int32_t Link = -1;
    std::vector<int32_t> Nodes; // chosen together, one-based and ascending
    std::vector<int32_t> Links;

    bool Together() const { return !Nodes.empty() || !Links.empty(); }
    bool HasNode(int32_t node) const;
    bool HasLink(int32_t link) const;
    // The nodes that moving, copying and the arrow keys take: those chosen together, else the
    // one selected node.
    std::vector<int32_t> ChosenNodes() const;

    void Clear();
    // Adds the nodes whose centres lie in the area (document points, corners included) and the
    // links among all nodes then chosen.
    void AddArea(const clsGraph& graph, QRect area);
    void SelectAll(const clsGraph& graph);
    // Ctrl+click: the node comes with its links to the nodes chosen, or goes with every link of it.
    void ToggleNode(const clsGraph& graph, int32_t node);
    void ToggleLink(int32_t link);
    void Choose(std::vector<int32_t> nodes, std::vector<int32_t> links);
    // Drops what the graph no longer holds (after an undo).
    void KeepIn(const clsGraph& graph);

  private:
    // The single selection becomes the first of those chosen together.
    void Gather();
    // Chosen together, a lone node or link is the single selection: it has properties.
    void Settle();
};
