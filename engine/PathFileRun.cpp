#include "PathFileRun.h"

#include "Latin1.h"
#include "PathloomError.h"
#include "TextTools.h"
#include "clsGraph.h"

namespace {
// A node with more steps than this finds the link to another node by a table, not a scan.
constexpr int32_t ScannedSteps = 32;
constexpr std::size_t LabelBytes = 31; // a stored label's longest

uint64_t NodePair(int32_t from, int32_t to) {
    return static_cast<uint64_t>(static_cast<uint32_t>(from)) << 32 | static_cast<uint32_t>(to);
}

// FNV-1a, its bits mixed down so that the low ones pick the slot.
uint64_t Hash(const char* text, std::size_t size) {
    uint64_t hash = 0xcbf29ce484222325u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ static_cast<unsigned char>(text[i])) * 0x100000001b3u;
    return hash ^ hash >> 29 ^ hash >> 47;
}

} // namespace

PathFileRun::PathFileRun(const clsGraph& graph, const WalkIndex& index, std::string filePath)
    : filePath_(std::move(filePath)), index_(index) {
    for (int c = 0; c < 256; ++c)
        lower_[static_cast<std::size_t>(c)] = Latin1::ToLower(static_cast<unsigned char>(c));
    const int32_t nodes = index.NodeCount();
    std::size_t slots = 2;
    while (slots < 2 * static_cast<std::size_t>(nodes))
        slots *= 2;
    slots_.assign(slots, Slot());
    slotMask_ = slots - 1;
    for (int32_t node = 0; node < nodes; ++node) {
        labels_.push_back(Latin1::Folded(graph.Node(node + 1).Label()));
        const std::string& label = labels_.back();
        const uint64_t hash = Hash(label.data(), label.size());
        uint64_t slot = hash & slotMask_;
        for (; slots_[slot].node >= 0; slot = (slot + 1) & slotMask_) {
            if (labels_[static_cast<std::size_t>(slots_[slot].node)] == label) {
                // Kept as the program has always said it ("them lables").
                Raise("LA.Start", "There are Two nodes or more nodes with same label. Please "
                                  "change them lables.");
            }
        }
        slots_[slot] = {hash, node};
    }
    const int32_t* const starts = index.MoveStarts();
    for (int32_t node = 0; node < nodes; ++node) {
        if (starts[node + 1] - starts[node] <= ScannedSteps)
            continue;
        for (int32_t step = starts[node]; step < starts[node + 1]; ++step)
            hubLinks_.emplace(NodePair(node, index.MoveNodes()[step]), index.MoveLinks()[step]);
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
            Raise("F_Trace",
                  "Syntax error:\r\n" + TextTools::Cut(Utf8::Encode(std::u32string(token_))));
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

int32_t PathFileRun::NodeOf(std::u32string_view label) const {
    // A label with a NUL or a character outside Latin-1 can name no node, nor can one longer
    // than any label.
    if (label.size() > LabelBytes)
        return -1;
    char folded[LabelBytes];
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == 0 || label[i] > 0xFF)
            return -1;
        folded[i] = static_cast<char>(lower_[label[i]]);
    }
    const uint64_t hash = Hash(folded, label.size());
    for (uint64_t slot = hash & slotMask_; slots_[slot].node >= 0; slot = (slot + 1) & slotMask_) {
        const Slot& found = slots_[slot];
        if (found.hash == hash &&
            labels_[static_cast<std::size_t>(found.node)] == std::string_view(folded, label.size()))
            return found.node;
    }
    return -1;
}

// A node's steps are its links in link order, each way a link may be walked: the first that leads
// to the other node is the first link joining them.
int32_t PathFileRun::LinkBetween(int32_t from, int32_t to) const {
    const int32_t* const starts = index_.MoveStarts();
    if (starts[from + 1] - starts[from] > ScannedSteps) {
        const auto found = hubLinks_.find(NodePair(from, to));
        return found == hubLinks_.end() ? -1 : found->second;
    }
    for (int32_t step = starts[from]; step < starts[from + 1]; ++step) {
        if (index_.MoveNodes()[step] == to)
            return index_.MoveLinks()[step];
    }
    return -1;
}

void PathFileRun::MergeLink() {
    const int32_t link =
        previousNode_ < 0 || currentNode_ < 0 ? -1 : LinkBetween(previousNode_, currentNode_);
    if (link < 0) {
        Raise("MergeLink", "The following link not found.\r\n" +
                               TextTools::Cut(Utf8::Encode(std::u32string(previousLabel_))) + "->" +
                               TextTools::Cut(Utf8::Encode(std::u32string(currentLabel_))));
    }
    path_.push_back(link);
}
