#include "SearchWalk.h"

namespace {
// Up to this many nodes, a node set is one 64-bit mask.
constexpr int32_t MaskNodes = 64;
// Beyond this many unvisited nodes a flood costs more than the branches it cuts save.
constexpr int32_t FloodNodes = 4096;
} // namespace

// Up to 64 nodes: a step is viable when the destination, or every node still to visit, can be
// reached from it through unvisited nodes, flooded one mask at a time.
struct SearchWalk::Masks {
    static constexpr bool TracksFound = false;
    SearchWalk& walk;
    const uint64_t* neighbours;
    uint64_t all, destination, source;
    uint64_t onMask;

    explicit Masks(SearchWalk& w)
        : walk(w), neighbours(w.neighbours_.data()),
          all(w.nodeCount_ == MaskNodes ? ~uint64_t{0} : (uint64_t{1} << w.nodeCount_) - 1),
          destination(Bit(w.destination_)), source(Bit(w.source_)), onMask(w.onMask_) {}
    ~Masks() { walk.onMask_ = onMask; }
    static uint64_t Bit(int32_t node) {
        return node >= 0 && node < MaskNodes ? uint64_t{1} << node : 0;
    }

    void Pushed(int32_t node) { onMask |= uint64_t{1} << node | source; }
    void Popped(int32_t node, int32_t length) {
        onMask = length == 0 ? 0 : onMask & ~(uint64_t{1} << node);
    }
    bool Viable(int32_t node, int32_t) const {
        const uint64_t open = all & ~onMask;
        uint64_t reached = 0, frontier = uint64_t{1} << node;
        while (frontier != 0) {
            uint64_t grown = 0;
            for (uint64_t f = frontier; f != 0; f &= f - 1)
                grown |= neighbours[__builtin_ctzll(f)];
            if ((grown & destination) != 0)
                return true;
            frontier = grown & open & ~reached;
            reached |= frontier;
        }
        return destination == 0 && reached == open;
    }
    void Left(int32_t, bool) {}
};

// Larger graphs, to a destination: a node the walk stepped back from without reaching the
// destination cannot reach it past the path; it stays dead until a node it has a step to leaves
// the path having reached the destination, and everything waiting on it lives again.
struct SearchWalk::DeadMarks {
    static constexpr bool TracksFound = true;
    SearchWalk& walk;

    void Pushed(int32_t) {}
    void Popped(int32_t, int32_t) {}
    bool Viable(int32_t node, int32_t) const {
        return walk.dead_[static_cast<std::size_t>(node)] == 0;
    }
    void Left(int32_t node, bool found) {
        const int32_t* const starts = walk.index_.MoveStarts();
        const int32_t* const moveNodes = walk.index_.MoveNodes();
        if (!found) {
            walk.dead_[static_cast<std::size_t>(node)] = 1;
            for (int32_t step = starts[node]; step < starts[node + 1]; ++step) {
                if (walk.listed_[static_cast<std::size_t>(step)] == 0) {
                    walk.listed_[static_cast<std::size_t>(step)] = 1;
                    walk.waiting_[static_cast<std::size_t>(moveNodes[step])].push_back(step);
                }
            }
            return;
        }
        walk.freed_.assign(1, node);
        while (!walk.freed_.empty()) {
            const int32_t freed = walk.freed_.back();
            walk.freed_.pop_back();
            std::vector<int32_t>& waiting = walk.waiting_[static_cast<std::size_t>(freed)];
            for (const int32_t step : waiting) {
                walk.listed_[static_cast<std::size_t>(step)] = 0;
                const auto from =
                    static_cast<std::size_t>(walk.stepFrom_[static_cast<std::size_t>(step)]);
                if (walk.dead_[from] != 0) {
                    walk.dead_[from] = 0;
                    walk.freed_.push_back(static_cast<int32_t>(from));
                }
            }
            waiting.clear();
        }
    }
};

// Larger graphs, through all nodes: a flood from the node over the unvisited ones must reach them
// all, while few enough are left for a flood to pay.
struct SearchWalk::Flood {
    static constexpr bool TracksFound = false;
    SearchWalk& walk;

    void Pushed(int32_t) {}
    void Popped(int32_t, int32_t) {}
    bool Viable(int32_t node, int32_t count) {
        const int32_t open = walk.nodeCount_ - count;
        if (open > FloodNodes)
            return true;
        const int32_t* const starts = walk.index_.MoveStarts();
        const int32_t* const moveNodes = walk.index_.MoveNodes();
        const uint8_t* const onPath = walk.onPath_.data();
        if (++walk.stamp_ == 0) {
            walk.stamps_.assign(walk.stamps_.size(), 0);
            walk.stamp_ = 1;
        }
        uint32_t* const stamps = walk.stamps_.data();
        const uint32_t stamp = walk.stamp_;
        int32_t reached = 0;
        walk.stack_.assign(1, node);
        while (!walk.stack_.empty()) {
            const int32_t at = walk.stack_.back();
            walk.stack_.pop_back();
            for (int32_t step = starts[at]; step < starts[at + 1]; ++step) {
                const int32_t next = moveNodes[step];
                if (stamps[next] != stamp && onPath[next] == 0) {
                    stamps[next] = stamp;
                    ++reached;
                    walk.stack_.push_back(next);
                }
            }
        }
        return reached == open;
    }
    void Left(int32_t, bool) {}
};

SearchWalk::SearchWalk(const WalkIndex& index, int32_t source, int32_t destination)
    : index_(index), source_(source), destination_(destination), nodeCount_(index.NodeCount()),
      pruning_(nodeCount_ <= MaskNodes ? Pruning::Masks
               : destination >= 0      ? Pruning::DeadMarks
                                       : Pruning::Flood) {
    const auto size = static_cast<std::size_t>(nodeCount_) + 1;
    frames_.resize(size);
    links_.resize(size);
    nodes_.resize(size);
    onPath_.assign(size, 0);
    if (source >= 0 && source < nodeCount_) {
        frames_[0] = {index.MoveStarts()[source], index.MoveStarts()[source + 1], 0};
        depth_ = 1;
    }
    const int32_t* const starts = index.MoveStarts();
    const int32_t* const moveNodes = index.MoveNodes();
    const auto steps = static_cast<std::size_t>(starts[nodeCount_]);
    switch (pruning_) {
    case Pruning::Masks:
        neighbours_.assign(static_cast<std::size_t>(nodeCount_), 0);
        for (int32_t node = 0; node < nodeCount_; ++node) {
            for (int32_t step = starts[node]; step < starts[node + 1]; ++step)
                neighbours_[static_cast<std::size_t>(node)] |= uint64_t{1} << moveNodes[step];
        }
        break;
    case Pruning::DeadMarks:
        dead_.assign(static_cast<std::size_t>(nodeCount_), 0);
        waiting_.resize(static_cast<std::size_t>(nodeCount_));
        listed_.assign(steps, 0);
        stepFrom_.resize(steps);
        for (int32_t node = 0; node < nodeCount_; ++node) {
            for (int32_t step = starts[node]; step < starts[node + 1]; ++step)
                stepFrom_[static_cast<std::size_t>(step)] = node;
        }
        break;
    case Pruning::Flood:
        stamps_.assign(static_cast<std::size_t>(nodeCount_), 0);
        break;
    }
}

SearchWalk::Event SearchWalk::Next(int64_t& budget) {
    switch (pruning_) {
    case Pruning::Masks: {
        Masks masks(*this);
        return destination_ >= 0 ? Run<true>(budget, masks) : Run<false>(budget, masks);
    }
    case Pruning::DeadMarks: {
        DeadMarks marks{*this};
        return Run<true>(budget, marks);
    }
    case Pruning::Flood:
    default: {
        Flood flood{*this};
        return Run<false>(budget, flood);
    }
    }
}

// Depth-first with an explicit stack, so that a path as long as the graph cannot exhaust the
// call stack. Links already on the path need no check of their own: both their ends are on it.
// Everything the loop touches is held in locals, which the byte writes to onPath would otherwise
// make the compiler reload at every step.
template <bool ToDestination, typename Prune>
SearchWalk::Event SearchWalk::Run(int64_t& budgetLeft, Prune& prune) {
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
        const int32_t node = nodes[--length];
        onPath[node] = 0;
        --count;
        if (length == 0 && onPath[source]) {
            onPath[source] = 0;
            --count;
        }
        prune.Popped(node, length);
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
            if (--depth > 0) {
                if constexpr (Prune::TracksFound) {
                    prune.Left(nodes[length - 1], frame.found != 0);
                    frames[depth - 1].found |= frame.found;
                }
                pop();
            }
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
        prune.Pushed(next);
        if (ToDestination ? next == destination : count == nodeCount) {
            frame.found = 1;
            found_ = true;
            return finish(Event::PathFound);
        }
        if (!prune.Viable(next, count)) {
            pop();
            continue;
        }
        frames[depth++] = {starts[next], starts[next + 1], 0};
    }
    return finish(Event::Exhausted);
}
