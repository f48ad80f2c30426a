#include "clsGraph.h"

#include "CheckedMath.h"
#include "DocumentStream.h"
#include "HitTest.h"
#include "NodeGeometry.h"
#include "PathloomError.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>

namespace {
[[noreturn]] void NoNode(const char* source) {
    throw PathloomError(ErrorNumber::ObjectNotSet, source,
                        "Object variable or With block variable not set");
}
} // namespace

void clsGraph::AddNode(int32_t x, int32_t y) {
    auto node = std::make_unique<clsNode>();
    node->Position.x = x;
    node->Position.y = y;
    node->SetLabel(std::to_string(nodes_.size()));
    nodes_.push_back(std::move(node));
}

void clsGraph::DeleteNode(int32_t index) {
    const clsNode* node = &Node(index);
    links_.erase(std::remove_if(links_.begin(), links_.end(),
                                [node](const std::unique_ptr<clsLink>& link) {
                                    return link->FromNode == node || link->ToNode == node;
                                }),
                 links_.end());
    nodes_.erase(nodes_.begin() + (index - 1));
    InitProbability();
}

const clsNode& clsGraph::Node(int32_t index) const {
    CheckIndex(index, 1, NodeCount(), "clsGraph");
    return *nodes_[static_cast<std::size_t>(index - 1)];
}

clsNode& clsGraph::Node(int32_t index) {
    return const_cast<clsNode&>(std::as_const(*this).Node(index));
}

int32_t clsGraph::NodeIndexOf(const clsNode* node) const {
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].get() == node)
            return static_cast<int32_t>(i + 1);
    }
    return -1;
}

void clsGraph::CheckNewLink(int32_t fromNodeIndex, int32_t toNodeIndex) const {
    const clsNode* from = &Node(fromNodeIndex);
    const clsNode* to = &Node(toNodeIndex);
    if (fromNodeIndex == toNodeIndex)
        Raise("AddLink", "The node can not link to itself.");
    for (const auto& link : links_) {
        if ((link->FromNode == from && link->ToNode == to) ||
            (link->FromNode == to && link->ToNode == from))
            Raise("AddLink", "These nodes already are linked.");
    }
}

void clsGraph::AddLink(int32_t fromNodeIndex, int32_t toNodeIndex, int32_t linkType) {
    CheckNewLink(fromNodeIndex, toNodeIndex);
    auto link = std::make_unique<clsLink>();
    link->FromNode = &Node(fromNodeIndex);
    link->ToNode = &Node(toNodeIndex);
    link->LinkType = linkType;
    links_.push_back(std::move(link));
    InitProbability();
}

void clsGraph::DeleteLink(int32_t index) {
    Link(index);
    links_.erase(links_.begin() + (index - 1));
    InitProbability();
}

const clsLink& clsGraph::Link(int32_t index) const {
    CheckIndex(index, 1, LinkCount(), "clsGraph");
    return *links_[static_cast<std::size_t>(index - 1)];
}

clsLink& clsGraph::Link(int32_t index) {
    return const_cast<clsLink&>(std::as_const(*this).Link(index));
}

void clsGraph::ClearGraph() {
    // Links first: they point into the nodes.
    links_.clear();
    nodes_.clear();
}

void clsGraph::CopyFrom(const clsGraph& other) {
    ClearGraph();
    std::unordered_map<const clsNode*, clsNode*> copyOf{{nullptr, nullptr}};
    for (const auto& node : other.nodes_) {
        nodes_.push_back(std::make_unique<clsNode>(*node));
        copyOf.emplace(node.get(), nodes_.back().get());
    }
    for (const auto& link : other.links_) {
        links_.push_back(std::make_unique<clsLink>(*link));
        links_.back()->FromNode = copyOf.at(link->FromNode);
        links_.back()->ToNode = copyOf.at(link->ToNode);
    }
}

void clsGraph::ResetIDs() {
    int32_t id = 0;
    for (auto& node : nodes_)
        node->ID = id++;
}

void clsGraph::InitProbability() {
    static const std::string source = "LA.InitProbability";
    for (auto& node : nodes_) {
        node->InDegree = 0;
        node->OutDegree = 0;
    }
    for (const auto& link : links_) {
        if (!link->FromNode || !link->ToNode)
            NoNode(source.c_str());
        if (link->LinkType == LinkKind::Unidirectional) {
            link->FromNode->OutDegree = Checked::Increment(link->FromNode->OutDegree, source);
            link->ToNode->InDegree = Checked::Increment(link->ToNode->InDegree, source);
        } else {
            for (clsNode* end : {link->FromNode, link->ToNode}) {
                end->OutDegree = Checked::Increment(end->OutDegree, source);
                end->InDegree = Checked::Increment(end->InDegree, source);
            }
        }
    }
    for (const auto& link : links_) {
        if (link->LinkType != LinkKind::Unidirectional)
            continue;
        if (link->FromNode->OutDegree < 1)
            Raise(source, "Invalid link detected.");
        link->Probability = static_cast<float>(1.0 / link->FromNode->OutDegree);
    }
}

void clsGraph::RestoreProbabilities() {
    for (auto& link : links_) {
        if (link->LinkType != LinkKind::Unidirectional)
            link->Probability = link->InitialProbability;
    }
    InitProbability();
}

void clsGraph::ResetFlags() {
    for (auto& link : links_)
        link->Flag = false;
}

clsNode& clsGraph::AppendNode() {
    return InsertNode(NodeCount() + 1);
}

clsLink& clsGraph::AppendLink() {
    return InsertLink(LinkCount() + 1);
}

clsNode& clsGraph::InsertNode(int32_t index) {
    CheckIndex(index, 1, NodeCount() + 1, "clsGraph");
    return **nodes_.insert(nodes_.begin() + (index - 1), std::make_unique<clsNode>());
}

clsLink& clsGraph::InsertLink(int32_t index) {
    CheckIndex(index, 1, LinkCount() + 1, "clsGraph");
    return **links_.insert(links_.begin() + (index - 1), std::make_unique<clsLink>());
}

int32_t clsGraph::GetNodeIndexFromPoint(int32_t x, int32_t y) const {
    // From the last node: later nodes are drawn on top and win.
    for (int32_t i = NodeCount(); i >= 1; --i) {
        const clsPosition& pos = nodes_[static_cast<std::size_t>(i - 1)]->Position;
        if (HitTest::PointInNodeSquare({pos.x, pos.y}, {x, y}))
            return i;
    }
    return -1;
}

int32_t clsGraph::GetLinkIndexFromPoint(int32_t x, int32_t y) const {
    for (int32_t i = 1; i <= LinkCount(); ++i) {
        const clsLink& link = *links_[static_cast<std::size_t>(i - 1)];
        if (!link.FromNode || !link.ToNode)
            continue;
        const clsPosition& a = link.FromNode->Position;
        const clsPosition& b = link.ToNode->Position;
        constexpr int c = NodeGeometry::CentreOffset;
        if (HitTest::PointInLinkBand({int64_t{a.x} + c, int64_t{a.y} + c},
                                     {int64_t{b.x} + c, int64_t{b.y} + c}, {x, y}))
            return i;
    }
    return -1;
}

namespace {
constexpr std::size_t NodeRecordSize = 44;
constexpr std::size_t LinkRecordSize = 20;
} // namespace

void clsGraph::Save(DocumentWriter& file) {
    ResetIDs();
    file.WriteInt32(NodeCount());
    for (const auto& node : nodes_)
        node->Save(file);
    file.WriteInt32(LinkCount());
    for (const auto& link : links_)
        link->Save(file);
}

void clsGraph::Load(DocumentReader& file) {
    const int32_t nodeCount = file.ReadCount(NodeRecordSize);
    nodes_.reserve(nodes_.size() + static_cast<std::size_t>(nodeCount));
    for (int32_t i = 0; i < nodeCount; ++i)
        AppendNode().Load(file);

    // One hash lookup per link end instead of a scan of the nodes, so that large documents load
    // in linear time; emplace keeps the first node of an ID, as a scan in order would find it.
    NodesByID byID;
    byID.reserve(nodes_.size());
    for (const auto& node : nodes_)
        byID.emplace(node->ID, node.get());

    const int32_t linkCount = file.ReadCount(LinkRecordSize);
    links_.reserve(links_.size() + static_cast<std::size_t>(linkCount));
    for (int32_t i = 0; i < linkCount; ++i)
        AppendLink().Load(file, byID);
    InitProbability();
}
