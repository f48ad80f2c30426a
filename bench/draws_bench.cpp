// Drawn link lengths: link draws per second of a sampled run in which every link is stochastic,
// against the same run with fixed weights (the same samples, the same learning), for each kind
// of distribution. On directed grids, where every sample reaches the corner over as many links, so
// that the two runs differ by the draws alone. Then the time the shortest path in expectation
// takes on large graphs: Dijkstra where no mean is negative, Bellman-Ford where some are.

#include "BenchGraphs.h"
#include "LinkLength.h"
#include "RunGraph.h"
#include "RunSession.h"
#include "StochasticPaths.h"
#include "clsLA.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int64_t Budget = 1 << 16;
constexpr int Repeats = 5;
constexpr int64_t Samples = 400000;

struct Timed {
    double seconds;
    int64_t draws, steps;
};

// The better of a few runs of `Samples` samples, LRI reward 0.001 from the first node to the last.
Timed Time(clsGraph& graph) {
    Timed best{1e300, 0, 0};
    for (int k = 0; k < Repeats; ++k) {
        clsRanges ranges;
        RunSettings s;
        s.GraphSearchMethod = SearchMethod::Sample;
        s.ModelType = Scheme::LRI;
        s.Reward = 0.001f;
        s.sourceNode = 1;
        s.DestNode = graph.NodeCount();
        s.Samples = Samples;
        const auto start = Clock::now();
        RunSession session(graph, ranges, s);
        while (session.Step(Budget) == RunState::Running) {
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (seconds < best.seconds)
            best = {seconds, session.LinkDraws(), session.PathCount()};
    }
    return best;
}

// Every link's length a distribution of the kind, centred on its weight.
void MakeStochastic(clsGraph& graph, const std::string& kind) {
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        clsLink& link = graph.Link(j);
        const std::string w = std::to_string(link.Weight);
        const std::string text =
            kind == "uniform" ? "uniform(" + std::to_string(link.Weight * 0.5) + ", " +
                                    std::to_string(link.Weight * 1.5) + ")"
            : kind == "normal"      ? "normal(" + w + ", 1)"
            : kind == "exponential" ? "exponential(" + w + ")"
                                    : "discrete(" + std::to_string(link.Weight * 0.5) + ":0.5, " +
                                          std::to_string(link.Weight * 1.5) + ":0.5)";
        link.SetLength(std::make_shared<const LinkLength>(LinkLength::Parse(text)));
    }
}

// The better of a few computations of the shortest path in expectation, from the first node to
// the last, in milliseconds.
void TimeShortest(const char* name, clsGraph& graph) {
    const RunGraph run(graph);
    double best = 1e300;
    MeasuredPath path;
    for (int k = 0; k < Repeats; ++k) {
        const auto start = Clock::now();
        path = StochasticPaths::ExpectedShortest(run, 0, graph.NodeCount() - 1);
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::printf("%-44s %8d %8d %10.1f %s\n", name, graph.NodeCount(), graph.LinkCount(), best * 1e3,
                path.undefined ? "undefined"
                : path.found   ? ("cost " + std::to_string(path.cost)).c_str()
                               : "none");
}

} // namespace

int main() {
    std::printf("sampled runs of %lld samples, LRI 0.001, the better of %d; ratio: the speed of "
                "the run with every link stochastic over that of the same run with fixed weights\n",
                static_cast<long long>(Samples), Repeats);
    std::printf("%-22s %-12s %10s %12s %14s %7s\n", "graph", "lengths", "paths", "seconds",
                "draws/s", "ratio");
    const struct {
        const char* name;
        void (*build)(clsGraph&);
    } graphs[] = {
        {"directed grid 10x10", [](clsGraph& g) { BenchGraphs::DirectedGrid(g, 10); }},
        {"directed grid 32x32", [](clsGraph& g) { BenchGraphs::DirectedGrid(g, 32); }},
    };
    for (const auto& graph : graphs) {
        clsLA fixed;
        graph.build(fixed.Graph());
        const Timed base = Time(fixed.Graph());
        std::printf("%-22s %-12s %10lld %12.3f %14s %7s\n", graph.name, "fixed",
                    static_cast<long long>(base.steps), base.seconds, "-", "1.00");
        for (const char* kind : {"discrete", "uniform", "normal", "exponential"}) {
            clsLA la;
            graph.build(la.Graph());
            MakeStochastic(la.Graph(), kind);
            const Timed drawn = Time(la.Graph());
            // On a directed grid every sample is a path of the same number of links: the same
            // work but for the draws.
            const double ratio = base.seconds / drawn.seconds;
            std::printf("%-22s %-12s %10lld %12.3f %14.0f %7.2f\n", graph.name, kind,
                        static_cast<long long>(drawn.steps), drawn.seconds,
                        double(drawn.draws) / drawn.seconds, ratio);
        }
    }

    std::printf("\nthe shortest path in expectation from the first node to the last, the better "
                "of %d\n%-44s %8s %8s %10s\n",
                Repeats, "graph", "nodes", "links", "ms");
    clsLA grid;
    BenchGraphs::DirectedGrid(grid.Graph(), 300);
    TimeShortest("directed grid 300x300", grid.Graph());
    for (int32_t j = 1; j <= grid.Graph().LinkCount(); ++j)
        grid.Graph().Link(j).Weight -= 3.0f;
    TimeShortest("the same, 3 off every mean (negative ones)", grid.Graph());
    clsLA random;
    BenchGraphs::Random(random.Graph(), 200000, 600000, 7);
    TimeShortest("random 200000/600000", random.Graph());
    for (int32_t j = 1; j <= random.Graph().LinkCount(); ++j) {
        if (random.Graph().Link(j).LinkType == LinkKind::Unidirectional)
            random.Graph().Link(j).Weight -= 4.0f;
    }
    TimeShortest("the same, 4 off the one-way links' means", random.Graph());
    // A two-way link away from the ends, whose two ways make a cycle.
    clsGraph& g = random.Graph();
    for (int32_t j = 1; j <= g.LinkCount(); ++j) {
        const clsLink& link = g.Link(j);
        if (link.LinkType != LinkKind::Unidirectional && link.FromNode != &g.Node(1) &&
            link.ToNode != &g.Node(1) && link.FromNode != &g.Node(g.NodeCount()) &&
            link.ToNode != &g.Node(g.NodeCount())) {
            g.Link(j).Weight = -1.0f;
            break;
        }
    }
    TimeShortest("the same, and one negative two-way link", random.Graph());
    return 0;
}
