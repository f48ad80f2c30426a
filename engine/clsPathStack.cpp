#include "clsPathStack.h"

#include "PathloomError.h"
#include "clsLink.h"
#include "clsNode.h"

namespace {
std::string LabelOf(const clsNode* node) {
    return node ? node->Label() : std::string();
}
} // namespace

const clsLink* clsPathStack::Pop() {
    CheckIndex(Count(), 1, INT32_MAX, "clsPathStack");
    const clsLink* top = links_.back();
    links_.pop_back();
    return top;
}

const clsLink* clsPathStack::Link(int32_t index) const {
    CheckIndex(index, 0, Count() - 1, "clsPathStack");
    return links_[static_cast<std::size_t>(index)];
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
