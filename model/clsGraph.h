#pragma once
// The nodes and links of one graph: the only place where they are created and deleted.

#include "clsLink.h"
#include "clsNode.h"

#include <cstdint>
#include <memory>
#include <vector>

class DocumentWriter;
class DocumentReader;

class clsGraph {
  public:
    clsGraph() = default;
    clsGraph(const clsGraph&) = delete;
    clsGraph& operator=(const clsGraph&) = delete;

    // Nodes, one-based; the node's label is the count of nodes before it ("0" for the first).
    void AddNode(int32_t x, int32_t y);
    void DeleteNode(int32_t index);
    // Read-only through a const graph: whoever only shows or reads a graph cannot change it.
    const clsNode& Node(int32_t index) const;
    clsNode& Node(int32_t index);
    int32_t NodeCount() const { return static_cast<int32_t>(nodes_.size()); }

    // Links, one-based; at most one link joins two nodes, whatever its kind and direction.
    void AddLink(int32_t fromNodeIndex, int32_t toNodeIndex, int32_t linkType);
    // Raises what AddLink would for these two nodes, and changes nothing.
    void CheckNewLink(int32_t fromNodeIndex, int32_t toNodeIndex) const;
    void DeleteLink(int32_t index);
    const clsLink& Link(int32_t index) const;
    clsLink& Link(int32_t index);
    int32_t LinkCount() const { return static_cast<int32_t>(links_.size()); }

    // Hit tests in document coordinates; one-based index or -1.
    int32_t GetNodeIndexFromPoint(int32_t x, int32_t y) const;
    int32_t NodeIndexOf(const clsNode* node) const; // one-based, or -1 (a scan of the nodes)
    int32_t GetLinkIndexFromPoint(int32_t x, int32_t y) const;

    void ClearGraph();
    // Exchanges all nodes and links with the other graph's, e.g. a graph imported apart.
    void Swap(clsGraph& other) noexcept {
        nodes_.swap(other.nodes_);
        links_.swap(other.links_);
    }
    // Becomes an exact copy of the other graph, flags and initial probabilities included: the
    // graph a run works on apart from the one the window shows.
    void CopyFrom(const clsGraph& other);
    // Numbers the nodes 0, 1, 2, ... in collection order, as a document stores them.
    void ResetIDs();
    // Recomputes every degree, then gives each unidirectional link 1 / out-degree of its start.
    void InitProbability();
    // Gives simple and bidirectional links back their initial probabilities, then runs
    // InitProbability: the state of Reset and of the start of every run.
    void RestoreProbabilities();
    void ResetFlags();

    // For readers of a document and for undoing a deletion: elements put in place exactly as
    // given, without the editing checks (one-based, later elements move up by one).
    clsNode& AppendNode();
    clsLink& AppendLink();
    clsNode& InsertNode(int32_t index);
    clsLink& InsertLink(int32_t index);

    // The graph section of a document: ResetIDs, then the nodes, then the links by node ID.
    void Save(DocumentWriter& file);
    // Appends the nodes and links read, resolving link ends against every node the collection
    // then holds, and finishes with InitProbability (which refuses a link end that named no node).
    void Load(DocumentReader& file);

  private:
    std::vector<std::unique_ptr<clsNode>> nodes_;
    std::vector<std::unique_ptr<clsLink>> links_;
};
