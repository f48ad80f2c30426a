// What the walks save: a run session on graphs from fixed seeds, timed against a plain depth-first
// enumeration over adjacency arrays (no learning, no model objects) that tries every step, even
// in branches that cannot complete a path, with the steps of the plain walk, the times of both
// and their ratio. On the smaller graphs the session's paths are also checked against the
// straightforward walk of the tests.

#include "BenchGraphs.h"
#include "RunRecord.h"
#include "RunSession.h"
#include "clsLA.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <unordered_map>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The graph as arrays: for every node the nodes a walk may step to, in link order.
struct Adjacency {
    std::vector<int32_t> start, next;
};

Adjacency ToAdjacency(const clsGraph& graph) {
    const int32_t n = graph.NodeCount();
    std::vector<std::vector<int32_t>> lists(static_cast<std::size_t>(n));
    std::unordered_map<const clsNode*, int32_t> position;
    for (int32_t i = 1; i <= n; ++i)
        position[&graph.Node(i)] = i - 1;
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        const clsLink& link = graph.Link(j);
        const int32_t a = position[link.FromNode], b = position[link.ToNode];
        lists[static_cast<std::size_t>(a)].push_back(b);
        if (link.LinkType != LinkKind::Unidirectional && a != b)
            lists[static_cast<std::size_t>(b)].push_back(a);
    }
    Adjacency adjacency;
    for (const auto& list : lists) {
        adjacency.start.push_back(static_cast<int32_t>(adjacency.next.size()));
        adjacency.next.insert(adjacency.next.end(), list.begin(), list.end());
    }
    adjacency.start.push_back(static_cast<int32_t>(adjacency.next.size()));
    return adjacency;
}

struct Count {
    int64_t steps = 0;
    int32_t paths = 0;
};

// The limit: paths from the source to the destination (or through all nodes when it is -1),
// ending, as a run does, at the 32,768th. Plain arrays and locals only, as fast as a walk can be.
Count Enumerate(const Adjacency& g, int32_t source, int32_t destination) {
    const auto n = static_cast<int32_t>(g.start.size()) - 1;
    std::vector<uint8_t> onPathArray(static_cast<std::size_t>(n), 0);
    std::vector<int32_t> nextArray(static_cast<std::size_t>(n) + 1), endArray(nextArray.size()),
        pathArray(nextArray.size());
    uint8_t* const onPath = onPathArray.data();
    int32_t* const next = nextArray.data(); // per depth: the next step to try, and the end
    int32_t* const end = endArray.data();
    int32_t* const path = pathArray.data();
    const int32_t* const start = g.start.data();
    const int32_t* const to = g.next.data();
    int32_t depth = 1, length = 0, count = 0, paths = 0;
    int64_t steps = 0;
    next[0] = start[source];
    end[0] = start[source + 1];
    while (depth > 0) {
        if (next[depth - 1] == end[depth - 1]) {
            if (--depth > 0) {
                onPath[path[--length]] = 0;
                --count;
                if (length == 0 && onPath[source]) {
                    onPath[source] = 0;
                    --count;
                }
            }
            continue;
        }
        ++steps;
        const int32_t node = to[next[depth - 1]++];
        if (onPath[node])
            continue;
        onPath[node] = 1;
        ++count;
        path[length++] = node;
        if (length == 1 && !onPath[source]) {
            onPath[source] = 1;
            ++count;
        }
        const bool complete = destination >= 0 ? node == destination : count == n;
        if (complete && ++paths == 32768)
            break;
        // Nothing beyond a complete path: an empty frame steps back at once.
        next[depth] = complete ? 0 : start[node];
        end[depth++] = complete ? 0 : start[node + 1];
    }
    return {steps, paths};
}

struct Case {
    std::string name;
    std::function<void(clsGraph&)> build;
    int32_t method;
    bool reference; // small enough for the straightforward walk
};

// The best of several runs of at least half a second in all, so that short runs are not noise.
double Best(const std::function<void()>& run) {
    double best = 1e30, total = 0;
    for (int runs = 0; runs < 3 || total < 0.5; ++runs) {
        const auto start = Clock::now();
        run();
        const double seconds = SecondsSince(start);
        total += seconds;
        best = std::min(best, seconds);
    }
    return best;
}

bool RunCase(const Case& c) {
    clsLA la;
    c.build(la.Graph());
    clsGraph& g = la.Graph();
    RunSettings& s = la.Settings;
    s.GraphSearchMethod = c.method;
    s.sourceNode = 1;
    s.DestNode = g.NodeCount();
    s.Reward = 0.05f;
    s.Penalty = 0.05f;

    const Adjacency adjacency = ToAdjacency(g);
    const int32_t destination =
        c.method == SearchMethod::SourceToDestination ? g.NodeCount() - 1 : -1;
    Count count;
    const double plain = Best([&] { count = Enumerate(adjacency, 0, destination); });
    int32_t paths = 0;
    const double session = Best([&] {
        RunSession run(g, la.Ranges(), s);
        while (run.Step(int64_t{1} << 30) == RunState::Running) {
        }
        paths = run.PathCount();
    });
    bool same = paths == std::min(count.paths, 32767);
    if (c.reference) {
        clsLA copy;
        c.build(copy.Graph());
        copy.Settings = s;
        same = same && ReferenceRun(copy).traces == RunToEnd(la).traces;
    }
    std::printf("%-36s %6d %6d %6d %11lld %9.1f %9.1f %7.2f %s\n", c.name.c_str(), g.NodeCount(),
                g.LinkCount(), paths, static_cast<long long>(count.steps), plain * 1e3,
                session * 1e3, session / plain, same ? "same" : "DIFFERENT");
    return same;
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main() {
    using namespace BenchGraphs;
    const int32_t all = SearchMethod::IncludeAllNodes;
    const int32_t dest = SearchMethod::SourceToDestination;
    const std::vector<Case> cases = {
        {"all nodes: grid 4x4", [](clsGraph& g) { Grid(g, 4, 4); }, all, true},
        {"all nodes: ladder 2x9", [](clsGraph& g) { Ladder(g, 9); }, all, true},
        {"all nodes: random 14/40 seed 1", [](clsGraph& g) { Random(g, 14, 40, 1); }, all, true},
        {"all nodes: random 16/48 seed 3", [](clsGraph& g) { Random(g, 16, 48, 3); }, all, false},
        {"all nodes: random 18/54 seed 5", [](clsGraph& g) { Random(g, 18, 54, 5); }, all, false},
        {"all nodes: diagonal ladder 2x14", [](clsGraph& g) { DiagonalLadder(g, 14); }, all, false},
        {"all nodes: diagonal ladder 2x16", [](clsGraph& g) { DiagonalLadder(g, 16); }, all, false},
        {"to destination: grid 8x14", [](clsGraph& g) { Grid(g, 8, 14); }, dest, false},
        {"to destination: ladder 2x70", [](clsGraph& g) { Ladder(g, 70); }, dest, false},
        {"to destination: random 150/400 s5", [](clsGraph& g) { Random(g, 150, 400, 5); }, dest,
         false},
        {"to destination: random 300/900 s6", [](clsGraph& g) { Random(g, 300, 900, 6); }, dest,
         false},
    };
    std::printf("%-36s %6s %6s %6s %11s %9s %9s %7s\n", "graph", "nodes", "links", "paths", "steps",
                "plain ms", "run ms", "ratio");
    bool allSame = true;
    for (const Case& c : cases)
        allSame = RunCase(c) && allSame;

    // Memory grows with the graph, not with the run: the peak after chains of rising length.
    std::printf("\nchain, include all nodes\n%10s %12s %14s\n", "nodes", "run ms", "peak RSS MiB");
    for (int nodes : {250000, 500000, 1000000}) {
        clsLA la;
        Chain(la.Graph(), nodes);
        la.Settings.sourceNode = 1;
        la.Settings.Reward = 0.05f;
        const auto start = Clock::now();
        RunSession run(la.Graph(), la.Ranges(), la.Settings);
        run.Step(INT64_MAX);
        std::printf("%10d %12.1f %14.1f\n", nodes, SecondsSince(start) * 1e3,
                    PeakKilobytes() / 1024.0);
        if (run.PathCount() != 1)
            allSame = false;
    }
    return allSame ? 0 : 1;
}
