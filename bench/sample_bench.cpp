// Sampled runs: samples and link steps per second on graphs of 100 to 10,000 nodes, with and
// without the learning step; the memory of a run as its samples grow; and how many samples the
// automata need until the cheapest path found has probability 0.95, for LRI and LR(E)P at a few
// rewards, checked against the true shortest path.

#include "BenchGraphs.h"
#include "PathSampler.h"
#include "ProcessMemory.h"
#include "RunGraph.h"
#include "RunSession.h"
#include "WalkIndex.h"
#include "clsLA.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <limits>
#include <queue>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int64_t Budget = 1 << 16;
constexpr double MeasureSeconds = 1.5;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Case {
    std::string name;
    std::function<void(clsGraph&)> build;
};

RunSettings SampleSettings(const clsGraph& graph, int32_t scheme, float reward, uint64_t seed) {
    RunSettings s;
    s.GraphSearchMethod = SearchMethod::Sample;
    s.Model = 0;
    s.ModelType = scheme;
    s.Reward = reward;
    s.Penalty = scheme == Scheme::LREP ? reward / 10 : 0.0f;
    s.sourceNode = 1;
    s.DestNode = graph.NodeCount();
    s.Samples = 2000000000;
    s.Seed = seed;
    return s;
}

// Link steps per second of the sampler alone, on the graph's starting probabilities.
double SamplerStepsPerSecond(clsGraph& graph) {
    const RunGraph run(graph);
    PathSampler sampler(run, 0, graph.NodeCount() - 1, 1, std::numeric_limits<int64_t>::max());
    int64_t units = 0, deadEnds = 0;
    const auto start = Clock::now();
    while (SecondsSince(start) < MeasureSeconds) {
        int64_t budget = Budget;
        while (budget > 0) {
            const int64_t before = budget;
            const PathSampler::Event event = sampler.Next(budget);
            units += before - budget;
            deadEnds += event == PathSampler::Event::DeadEnd;
        }
    }
    // Each unit is a link step or the look that finds a dead end.
    return double(units - deadEnds) / SecondsSince(start);
}

void Throughput(const Case& c) {
    clsLA la;
    c.build(la.Graph());
    const double alone = SamplerStepsPerSecond(la.Graph());
    RunSession session(la.Graph(), la.Ranges(), SampleSettings(la.Graph(), Scheme::LRI, 0.01f, 1));
    int64_t calls = 0;
    const auto start = Clock::now();
    while (SecondsSince(start) < MeasureSeconds) {
        session.Step(Budget);
        ++calls;
    }
    const double seconds = SecondsSince(start);
    // A run that never ends spends every call's whole budget: a unit per link step, per dead
    // end and per learned path.
    const int64_t steps = calls * Budget - session.DeadEnds() - session.PathCount();
    std::printf("%-24s %6d %6d %12.0f %10.1f %10.1f %9.1f %8.1f\n", c.name.c_str(),
                la.Graph().NodeCount(), la.Graph().LinkCount(), session.Samples() / seconds,
                100.0 * session.DeadEnds() / std::max<int64_t>(1, session.Samples()),
                steps / seconds / 1e6, alone / 1e6, StatusKilobytes("VmRSS:") / 1024.0);
}

// The cost of the cheapest path by the walks' rules (unidirectional links one way only).
double ShortestCost(clsGraph& graph) {
    WalkIndex index;
    index.Build(graph);
    std::vector<double> cost(static_cast<std::size_t>(graph.NodeCount()),
                             std::numeric_limits<double>::infinity());
    using Entry = std::pair<double, int32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    cost[0] = 0;
    open.push({0.0, 0});
    while (!open.empty()) {
        const auto [d, node] = open.top();
        open.pop();
        if (d > cost[static_cast<std::size_t>(node)])
            continue;
        for (int32_t k = index.MoveStarts()[node]; k < index.MoveStarts()[node + 1]; ++k) {
            const int32_t next = index.MoveNodes()[k];
            const double through = d + index.LinkAt(index.MoveLinks()[k])->Weight;
            if (through < cost[static_cast<std::size_t>(next)]) {
                cost[static_cast<std::size_t>(next)] = through;
                open.push({through, next});
            }
        }
    }
    return cost.back();
}

void Convergence(const Case& c, int64_t cap) {
    clsLA la;
    c.build(la.Graph());
    const double shortest = ShortestCost(la.Graph());
    std::printf("%-22s shortest %-5g", c.name.c_str(), shortest);
    for (const int32_t scheme : {Scheme::LRI, Scheme::LREP}) {
        for (const float reward : {0.01f, 0.05f, 0.1f}) {
            std::vector<int64_t> samples;
            int found = 0;
            for (const uint64_t seed : {1u, 2u, 3u}) {
                RunSettings s = SampleSettings(la.Graph(), scheme, reward, seed);
                s.Samples = cap;
                s.Target = 0.95;
                RunSession session(la.Graph(), la.Ranges(), s);
                while (session.Step(Budget) == RunState::Running) {
                }
                samples.push_back(session.ConvergedAt() > 0 ? session.ConvergedAt() : cap + 1);
                found += session.ConvergedAt() > 0 && session.BestCost() == shortest;
            }
            std::sort(samples.begin(), samples.end());
            char median[24];
            if (samples[1] > cap)
                std::snprintf(median, sizeof median, ">%lld", static_cast<long long>(cap));
            else
                std::snprintf(median, sizeof median, "%lld", static_cast<long long>(samples[1]));
            std::printf(" %9s %d/3", median, found);
        }
    }
    std::printf("\n");
}

} // namespace

int main() {
    using namespace BenchGraphs;
    std::printf("sampled runs from node 1 to the last node, P-model LRI reward 0.01 "
                "(%.1f s each)\n",
                MeasureSeconds);
    std::printf("%-24s %6s %6s %12s %10s %10s %9s %8s\n", "graph", "nodes", "links", "samples/s",
                "dead end%", "run Ms/s", "alone", "RSS MiB");
    const Case throughput[] = {
        {"directed grid 10x10", [](clsGraph& g) { DirectedGrid(g, 10); }},
        {"directed grid 32x32", [](clsGraph& g) { DirectedGrid(g, 32); }},
        {"directed grid 100x100", [](clsGraph& g) { DirectedGrid(g, 100); }},
        {"random 100/300 s1", [](clsGraph& g) { Random(g, 100, 300, 1); }},
        {"random 1000/3000 s2", [](clsGraph& g) { Random(g, 1000, 3000, 2); }},
        {"random 10000/30000 s3", [](clsGraph& g) { Random(g, 10000, 30000, 3); }},
    };
    for (const Case& c : throughput)
        Throughput(c);

    // What a run holds does not grow with its samples.
    std::printf("\nmemory of one run on the directed grid 32x32 as its samples grow\n%12s %9s\n",
                "samples", "RSS MiB");
    clsLA la;
    DirectedGrid(la.Graph(), 32);
    RunSession session(la.Graph(), la.Ranges(), SampleSettings(la.Graph(), Scheme::LRI, 0.01f, 1));
    for (const int64_t until :
         {int64_t{10000}, int64_t{100000}, int64_t{1000000}, int64_t{10000000}}) {
        while (session.Samples() < until)
            session.Step(Budget);
        std::printf("%12lld %9.1f\n", static_cast<long long>(session.Samples()),
                    StatusKilobytes("VmRSS:") / 1024.0);
    }

    const int64_t cap = 200000;
    std::printf("\nsamples until the cheapest path found reaches probability 0.95 (median of "
                "seeds 1-3; k/3: runs that reached it on the true shortest path)\n");
    std::printf("%-36s", "graph");
    for (const char* column :
         {"LRI 0.01", "LRI 0.05", "LRI 0.1", "LR(E)P 0.01", "LR(E)P 0.05", "LR(E)P 0.1"})
        std::printf(" %13s", column);
    std::printf("\n");
    const Case convergence[] = {
        {"directed grid 4x4", [](clsGraph& g) { DirectedGrid(g, 4); }},
        {"directed grid 8x8", [](clsGraph& g) { DirectedGrid(g, 8); }},
        {"directed grid 16x16", [](clsGraph& g) { DirectedGrid(g, 16); }},
        {"random 50/150 s1", [](clsGraph& g) { Random(g, 50, 150, 1); }},
        {"random 200/600 s2", [](clsGraph& g) { Random(g, 200, 600, 2); }},
    };
    for (const Case& c : convergence)
        Convergence(c, cap);
    return 0;
}
