#include "SearchWalk.h"

SearchWalk::SearchWalk(const WalkIndex& index, int32_t source, int32_t destination)
    : index_(index), source_(source), destination_(destination), nodeCount_(index.NodeCount()) {
    const auto size = static_cast<std::size_t>(nodeCount_) + 1;
    frames_.resize(size);
    links_.resize(size);
    nodes_.resize(size);
    onPath_.assign(size, 0);
    if (source >= 0 && source < nodeCount_) {
        frames_[0] = {index.MoveStarts()[source], index.MoveStarts()[source + 1]};
        depth_ = 1;
    }
}

SearchWalk::Event SearchWalk::Next(int64_t& budget) {
    return destination_ >= 0 ? Run<true>(budget) : Run<false>(budget);
}

// Depth-first with an explicit stack, so that a path as long as the graph cannot exhaust the
// call stack. Links already on the path need no check of their own: both their ends are on it.
// Everything the loop touches is held in locals, which the byte writes to onPath would otherwise
// make the compiler reload at every step.
template <bool ToDestination> SearchWalk::Event SearchWalk::Run(int64_t& budgetLeft) {
    const int32_t* const starts = index_.MoveStarts();
    const int32_t* const moveNodes = index_.MoveNodes();
    const int32_t* const moveLinks = index_.MoveLinks();
    Frame* const frames = frames_.data();
    int32_t* const links = links_.data();
    int32_t* const nodes = nodes_.data();
    uint8_t* const onPath = onPath_.data();
    const int32_t source = source_, destination = destination_, nodeCount = nodeCount_;
    int32_t depth = depth_, length = length_, count = onPathCount_;
    int64_t budget = budgetLeft;

    const auto pop = [&] {
        onPath[nodes[--length]] = 0;
        --count;
        if (length == 0 && onPath[source]) {
            onPath[source] = 0;
            --count;
        }
    };
    const auto finish = [&](Event event) {
        depth_ = depth;
        length_ = length;
        onPathCount_ = count;
        budgetLeft = budget;
        return event;
    };

    if (found_) {
        found_ = false;
        pop();
    }
    while (depth > 0) {
        Frame& frame = frames[depth - 1];
        if (frame.next == frame.end) {
            if (--depth > 0)
                pop();
            continue;
        }
        if (budget <= 0)
            return finish(Event::OutOfBudget);
        --budget;
        const int32_t step = frame.next++;
        const int32_t next = moveNodes[step];
        if (onPath[next])
            continue;
        links[length] = moveLinks[step];
        nodes[length++] = next;
        onPath[next] = 1;
        ++count;
        // The start joins the path with its first link (unless that link leads back to it).
        if (length == 1 && !onPath[source]) {
            onPath[source] = 1;
            ++count;
        }
        if (ToDestination ? next == destination : count == nodeCount) {
            found_ = true;
            return finish(Event::PathFound);
        }
        frames[depth++] = {starts[next], starts[next + 1]};
    }
    return finish(Event::Exhausted);
}
