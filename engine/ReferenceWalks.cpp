#include "ReferenceWalks.h"

#include "clsLA.h"

namespace {
clsNode* NextNode(const clsLink& link, const clsNode* node) {
    if (link.FromNode == node)
        return link.ToNode;
    if (link.ToNode == node && link.LinkType != LinkKind::Unidirectional)
        return link.FromNode;
    return nullptr;
}
} // namespace

void ReferenceWalks::SearchAllNodes(clsLA& la, clsNode* node) {
    if (la.stopRequested_)
        return;
    const clsGraph& graph = la.graph_;
    bool complete = true;
    for (int32_t i = 1; i <= graph.NodeCount() && complete; ++i)
        complete = la.currentPath_.ContainNode(&graph.Node(i));
    if (complete)
        la.PathFound();
    else
        Extend(la, node, &ReferenceWalks::SearchAllNodes);
}

void ReferenceWalks::SearchToDestination(clsLA& la, clsNode* node) {
    if (la.stopRequested_)
        return;
    if (node == la.DestNode)
        la.PathFound();
    else
        Extend(la, node, &ReferenceWalks::SearchToDestination);
}

void ReferenceWalks::Extend(clsLA& la, clsNode* node, Walk walk) {
    const int32_t count = la.graph_.LinkCount();
    for (int32_t j = 1; j <= count; ++j) {
        if (++la.steps_ % 4096 == 0 && la.StepCheck())
            return;
        clsLink& link = la.graph_.Link(j);
        if (link.Flag)
            continue;
        clsNode* next = NextNode(link, node);
        if (!next || la.currentPath_.ContainNode(next))
            continue;
        link.Flag = true;
        la.currentPath_.Push(&link);
        walk(la, next);
        if (la.stopRequested_)
            return;
        la.currentPath_.Pop();
        link.Flag = false;
    }
}
