#include "PathFileRun.h"

#include "Latin1.h"
#include "PathloomError.h"
#include "clsGraph.h"

namespace {
uint64_t NodePair(int32_t from, int32_t to) {
    return static_cast<uint64_t>(static_cast<uint32_t>(from)) << 32 | static_cast<uint32_t>(to);
}
} // namespace

PathFileRun::PathFileRun(const clsGraph& graph, std::string filePath)
    : filePath_(std::move(filePath)) {
    for (int c = 0; c < 256; ++c)
        lower_[static_cast<std::size_t>(c)] = Latin1::ToLower(static_cast<unsigned char>(c));
    std::unordered_map<const clsNode*, int32_t> positions;
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        positions.emplace(&graph.Node(i), i - 1);
        if (!nodes_.emplace(Latin1::Folded(graph.Node(i).Label()), i - 1).second) {
            // Kept as the program has always said it ("them lables").
            Raise("LA.Start",
                  "There are Two nodes or more nodes with same label. Please change them lables.");
        }
    }
    // The first link in link order wins, as a scan from the first link finds it.
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        const clsLink& link = graph.Link(j);
        const auto from = positions.find(link.FromNode), to = positions.find(link.ToNode);
        if (from == positions.end() || to == positions.end())
            continue;
        links_.emplace(NodePair(from->second, to->second), j - 1);
        if (link.LinkType != LinkKind::Unidirectional)
            links_.emplace(NodePair(to->second, from->second), j - 1);
    }
}

PathSource::Event PathFileRun::Next(int64_t& budget) {
    if (!loaded_) {
        pathReader_.Load(filePath_);
        loaded_ = true;
    }
    while (budget > 0) {
        --budget;
        int32_t type = TokenKind::None;
        pathReader_.ReadToken(token_, type);
        if (type != allowedA_ && type != allowedB_)
            Raise("F_Trace", "Syntax error:\r\n" + Utf8::Encode(std::u32string(token_)));
        switch (type) {
        case TokenKind::EndOfText:
        case TokenKind::EmptyFile:
            return Event::Exhausted;
        case TokenKind::OpenBrace:
            // Each path starts from nothing; what earlier paths learned stays.
            path_.clear();
            firstLabel_ = true;
            allowedA_ = TokenKind::Label;
            allowedB_ = TokenKind::None;
            break;
        case TokenKind::Label:
            previousLabel_ = currentLabel_;
            currentLabel_ = token_;
            previousNode_ = currentNode_;
            currentNode_ = NodeOf(currentLabel_);
            if (firstLabel_)
                firstLabel_ = false;
            else
                MergeLink();
            allowedA_ = TokenKind::Comma;
            allowedB_ = TokenKind::CloseBrace;
            break;
        case TokenKind::Comma:
            allowedA_ = TokenKind::Label;
            allowedB_ = TokenKind::None;
            break;
        case TokenKind::CloseBrace:
            allowedA_ = TokenKind::OpenBrace;
            allowedB_ = TokenKind::EndOfText;
            return Event::PathFound;
        default:
            break;
        }
    }
    return Event::OutOfBudget;
}

int32_t PathFileRun::NodeOf(std::u32string_view label) {
    // A label with a NUL or a character outside Latin-1 can name no node.
    folded_.resize(label.size());
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == 0 || label[i] > 0xFF)
            return -1;
        folded_[i] = static_cast<char>(lower_[label[i]]);
    }
    const auto found = nodes_.find(folded_);
    return found == nodes_.end() ? -1 : found->second;
}

void PathFileRun::MergeLink() {
    const auto found = previousNode_ < 0 || currentNode_ < 0
                           ? links_.end()
                           : links_.find(NodePair(previousNode_, currentNode_));
    if (found == links_.end()) {
        Raise("MergeLink", "The following link not found.\r\n" +
                               Utf8::Encode(std::u32string(previousLabel_)) + "->" +
                               Utf8::Encode(std::u32string(currentLabel_)));
    }
    path_.push_back(found->second);
}
