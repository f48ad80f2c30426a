#include "clsPathStack.h"

#include "CheckedMath.h"
#include "PathloomError.h"
#include "clsLink.h"
#include "clsNode.h"

#include <algorithm>

namespace {
[[noreturn]] void OutOfRange() {
    throw PathloomError(ErrorNumber::SubscriptOutOfRange, "clsPathStack", "Subscript out of range");
}

std::string LabelOf(const clsNode* node) {
    return node ? node->Label() : std::string();
}
} // namespace

clsLink* clsPathStack::Pop() {
    if (links_.empty())
        OutOfRange();
    clsLink* top = links_.back();
    links_.pop_back();
    return top;
}

clsLink* clsPathStack::Link(int32_t index) const {
    if (index < 0 || index >= Count())
        OutOfRange();
    return links_[static_cast<std::size_t>(index)];
}

bool clsPathStack::ContainLink(const clsLink* lnk) const {
    return std::find(links_.begin(), links_.end(), lnk) != links_.end();
}

bool clsPathStack::ContainNode(const clsNode* node) const {
    return std::any_of(links_.begin(), links_.end(), [node](const clsLink* link) {
        return link->FromNode == node || link->ToNode == node;
    });
}

float clsPathStack::PathCost() const {
    static const std::string source = "PathCost";
    float cost = 0.0f;
    for (const clsLink* link : links_)
        cost = Checked::AddFloat(cost, link->Weight, source);
    return cost;
}

void clsPathStack::Copy(clsPathStack& dest) const {
    if (&dest == this)
        return;
    dest.links_ = links_;
}

std::string clsPathStack::Trace() const {
    std::string text;
    for (const clsLink* link : links_) {
        text += LabelOf(link->FromNode);
        text += "->";
        text += LabelOf(link->ToNode);
        text += ':';
    }
    return text;
}
