#include "Selection.h"

#include "NodeGeometry.h"
#include "clsGraph.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

namespace {

void Sort(std::vector<int32_t>& indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
}

bool Holds(const std::vector<int32_t>& indexes, int32_t index) {
    return std::binary_search(indexes.begin(), indexes.end(), index);
}

// The links whose both ends are among the nodes.
std::vector<int32_t> LinksAmong(const clsGraph& graph, const std::vector<int32_t>& nodes) {
    std::unordered_set<const clsNode*> chosen;
    for (const int32_t node : nodes)
        chosen.insert(&graph.Node(node));
    std::vector<int32_t> links;
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        const clsLink& link = graph.Link(j);
        if (chosen.count(link.FromNode) && chosen.count(link.ToNode))
            links.push_back(j);
    }
    return links;
}

} // namespace

bool Selection::HasNode(int32_t node) const {
    return node >= 1 && (node == Node || Holds(Nodes, node));
}

bool Selection::HasLink(int32_t link) const {
    return link >= 1 && (link == Link || Holds(Links, link));
}

std::vector<int32_t> Selection::ChosenNodes() const {
    if (Together())
        return Nodes;
    return Node >= 1 ? std::vector<int32_t>{Node} : std::vector<int32_t>{};
}

void Selection::Clear() {
    *this = Selection();
}

void Selection::Gather() {
    if (!Together()) {
        if (Node >= 1)
            Nodes.push_back(Node);
        if (Link >= 1)
            Links.push_back(Link);
    }
    Node = Link = -1;
}

void Selection::Settle() {
    if (Nodes.size() + Links.size() == 1) {
        Node = Nodes.empty() ? -1 : Nodes.front();
        Link = Links.empty() ? -1 : Links.front();
        Nodes.clear();
        Links.clear();
    }
}

void Selection::AddArea(const clsGraph& graph, QRect area) {
    Gather();
    constexpr int c = NodeGeometry::CentreOffset;
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        const clsPosition& p = graph.Node(i).Position;
        if (area.contains(QPoint(p.x + c, p.y + c)))
            Nodes.push_back(i);
    }
    Sort(Nodes);
    const std::vector<int32_t> among = LinksAmong(graph, Nodes);
    Links.insert(Links.end(), among.begin(), among.end());
    Sort(Links);
    Settle();
}

void Selection::SelectAll(const clsGraph& graph) {
    std::vector<int32_t> nodes(static_cast<std::size_t>(graph.NodeCount()));
    std::vector<int32_t> links(static_cast<std::size_t>(graph.LinkCount()));
    std::iota(nodes.begin(), nodes.end(), 1);
    std::iota(links.begin(), links.end(), 1);
    Choose(std::move(nodes), std::move(links));
}

void Selection::ToggleNode(const clsGraph& graph, int32_t node) {
    Gather();
    const clsNode* toggled = &graph.Node(node);
    if (Holds(Nodes, node)) {
        Nodes.erase(std::find(Nodes.begin(), Nodes.end(), node));
        Links.erase(std::remove_if(Links.begin(), Links.end(),
                                   [&](int32_t j) {
                                       const clsLink& link = graph.Link(j);
                                       return link.FromNode == toggled || link.ToNode == toggled;
                                   }),
                    Links.end());
    } else {
        Nodes.push_back(node);
        Sort(Nodes);
        for (const int32_t j : LinksAmong(graph, Nodes)) {
            const clsLink& link = graph.Link(j);
            if (link.FromNode == toggled || link.ToNode == toggled)
                Links.push_back(j);
        }
        Sort(Links);
    }
    Settle();
}

void Selection::ToggleLink(int32_t link) {
    Gather();
    if (Holds(Links, link))
        Links.erase(std::find(Links.begin(), Links.end(), link));
    else
        Links.insert(std::upper_bound(Links.begin(), Links.end(), link), link);
    Settle();
}

void Selection::Choose(std::vector<int32_t> nodes, std::vector<int32_t> links) {
    Clear();
    Nodes = std::move(nodes);
    Links = std::move(links);
    Sort(Nodes);
    Sort(Links);
    Settle();
}

void Selection::KeepIn(const clsGraph& graph) {
    if (Node > graph.NodeCount())
        Node = -1;
    if (Link > graph.LinkCount())
        Link = -1;
    const auto beyond = [](std::vector<int32_t>& indexes, int32_t count) {
        indexes.erase(std::upper_bound(indexes.begin(), indexes.end(), count), indexes.end());
    };
    beyond(Nodes, graph.NodeCount());
    beyond(Links, graph.LinkCount());
    Settle();
}
