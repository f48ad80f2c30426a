// The pursuit schemes against LRI. First their learning step alone on the same paths: a run's
// paths are drawn and judged once on the starting probabilities, then each rule learns all of
// them on its own copy of the graph (the best of a few repetitions), with the allocations made
// while learning (none expected) and the paths whose learning step raised. Then whole runs of
// the same number of samples from the same seed, composed as a run session composes them
// (sampler, P-model, rule over one copy of the graph), each sampling by what its rule learned.

#include "BenchGraphs.h"
#include "LRIRule.h"
#include "PModel.h"
#include "PathSampler.h"
#include "PathloomError.h"
#include "PursuitRule.h"
#include "RunGraph.h"
#include "clsLA.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <time.h>
#include <vector>

namespace {
std::atomic<int64_t> allocations{0};
}

// Counts every allocation of the program, so that the learning loop can be seen to make none.
// Not inlined, so that the compiler does not take free for a mismatch of new.
__attribute__((noinline)) void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept {
    std::free(p);
}
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

constexpr int32_t Paths = 20000, Repetitions = 15;
constexpr int64_t RunSamples = 20000;
constexpr float Reward = 0.01f;

// The thread's processor time: the machine is shared, and others' work must not count.
double Seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

RunSettings Settings(const clsGraph& graph, int32_t actionSet) {
    RunSettings s;
    s.GraphSearchMethod = SearchMethod::Sample;
    s.ModelType = Scheme::LRI;
    s.Reward = Reward;
    s.sourceNode = 1;
    s.DestNode = graph.NodeCount();
    s.ActionSet = actionSet;
    return s;
}

using MakeRule = std::unique_ptr<UpdateRule> (*)(const RunSettings&, RunGraph&);

struct Scheme {
    const char* name;
    MakeRule make;
};

const Scheme Schemes[] = {
    {"LRI",
     [](const RunSettings& s, RunGraph& run) -> std::unique_ptr<UpdateRule> {
         return std::make_unique<LRIRule>(s, run);
     }},
    {"pursuit",
     [](const RunSettings& s, RunGraph& run) -> std::unique_ptr<UpdateRule> {
         return std::make_unique<PursuitRule>(s, run, PursuitRule::Variant::Continuous);
     }},
    {"discretized-pursuit",
     [](const RunSettings& s, RunGraph& run) -> std::unique_ptr<UpdateRule> {
         return std::make_unique<PursuitRule>(s, run, PursuitRule::Variant::Discretized);
     }},
};

const char* SetName(int32_t actionSet) {
    return actionSet == ActionSet::All ? "all" : "variable";
}

// A run's paths, one after another, with their judgements.
struct Recorded {
    std::vector<int32_t> links, starts{0};
    std::vector<Environment::Answer> answers;
    PathView Path(std::size_t i) const {
        return PathView{links.data() + starts[i], starts[i + 1] - starts[i]};
    }
};

void Record(clsGraph& graph, Recorded& recorded) {
    const RunGraph run(graph);
    PathSampler sampler(run, 0, graph.NodeCount() - 1, 1, std::numeric_limits<int64_t>::max());
    PModel judge(run, true);
    while (static_cast<int32_t>(recorded.answers.size()) < Paths) {
        int64_t budget = std::numeric_limits<int64_t>::max();
        if (sampler.Next(budget) != PathSource::Event::PathFound)
            continue;
        const PathView path = sampler.Path();
        recorded.links.insert(recorded.links.end(), path.begin(), path.end());
        recorded.starts.push_back(static_cast<int32_t>(recorded.links.size()));
        recorded.answers.push_back(judge.Judge(path));
    }
}

struct Timing {
    double seconds = std::numeric_limits<double>::infinity();
    int64_t allocations = 0; // in the repetitions after the first
    int32_t raised = 0;      // paths whose learning step raised, in one repetition
};

constexpr std::size_t SchemeCount = sizeof Schemes / sizeof Schemes[0];

// Every path learned in order by a new rule of each scheme on a new copy of the graph, the
// schemes in turn in each repetition, the best of the repetitions; `everyReward` rewards every
// path in place of its judgement. A path whose step raises keeps what was written before, as a
// run would, and the next is learned all the same.
std::vector<Timing> Replay(clsGraph& graph, const Recorded& recorded, const RunSettings& settings,
                           bool everyReward) {
    std::vector<Timing> timings(SchemeCount);
    Environment::Answer reward;
    reward.kind = Environment::Answer::Kind::Binary;
    reward.favourable = true;
    for (int32_t repetition = 0; repetition < Repetitions; ++repetition) {
        for (std::size_t k = 0; k < SchemeCount; ++k) {
            RunGraph run(graph);
            const std::unique_ptr<UpdateRule> rule = Schemes[k].make(settings, run);
            int32_t raised = 0;
            const int64_t before = allocations;
            const double start = Seconds();
            for (std::size_t i = 0; i < recorded.answers.size(); ++i) {
                try {
                    rule->Apply(recorded.Path(i), everyReward ? reward : recorded.answers[i]);
                } catch (const PathloomError&) {
                    ++raised;
                }
            }
            Timing& timing = timings[k];
            timing.seconds = std::min(timing.seconds, Seconds() - start);
            if (repetition > 0)
                timing.allocations += allocations - before;
            timing.raised = raised;
        }
    }
    return timings;
}

void CompareSteps(const char* name, clsGraph& graph) {
    Recorded recorded;
    Record(graph, recorded);
    int64_t rewarded = 0;
    for (const Environment::Answer& answer : recorded.answers)
        rewarded += answer.favourable;
    std::printf("\n%s: %d nodes, %d links; %d paths of %.1f links on average, %lld rewarded by "
                "the P-model\n",
                name, graph.NodeCount(), graph.LinkCount(), Paths,
                double(recorded.links.size()) / Paths, static_cast<long long>(rewarded));
    std::printf("%-9s %-20s %-13s %10s %8s %7s %7s\n", "actions", "rule", "answers", "learn ms",
                "/ LRI", "allocs", "raised");
    for (const int32_t actionSet : {ActionSet::All, ActionSet::Variable}) {
        const RunSettings settings = Settings(graph, actionSet);
        for (const bool everyReward : {false, true}) {
            const std::vector<Timing> timings = Replay(graph, recorded, settings, everyReward);
            for (std::size_t k = 0; k < SchemeCount; ++k) {
                const Timing& t = timings[k];
                std::printf("%-9s %-20s %-13s %10.2f %8.2f %7lld %7d\n", SetName(actionSet),
                            Schemes[k].name, everyReward ? "all rewarded" : "P-model",
                            t.seconds * 1e3, t.seconds / timings[0].seconds,
                            static_cast<long long>(t.allocations), t.raised);
            }
        }
    }
}

struct RunFigures {
    double seconds = std::numeric_limits<double>::infinity();
    int64_t samples = 0, deadEnds = 0, links = 0;
    int32_t paths = 0, rewarded = 0;
    std::string ended = "finished";
};

// A sampled run as a session composes it, without observers or target; it ends at the first
// learning step that raises.
RunFigures Run(clsGraph& graph, const RunSettings& settings, const MakeRule& make) {
    RunFigures figures;
    const double start = Seconds();
    RunGraph run(graph);
    PathSampler sampler(run, 0, graph.NodeCount() - 1, settings.Seed, RunSamples);
    PModel judge(run, true);
    const std::unique_ptr<UpdateRule> rule = make(settings, run);
    try {
        for (;;) {
            int64_t budget = 1 << 16;
            const PathSource::Event event = sampler.Next(budget);
            if (event == PathSource::Event::Exhausted)
                break;
            if (event != PathSource::Event::PathFound)
                continue;
            const PathView path = sampler.Path();
            ++figures.paths;
            figures.links += path.length;
            const Environment::Answer answer = judge.Judge(path);
            figures.rewarded += answer.favourable;
            rule->Apply(path, answer);
        }
    } catch (const PathloomError& e) {
        figures.ended =
            "\"" + e.Description() + "\" at sample " + std::to_string(sampler.Samples());
    }
    figures.seconds = Seconds() - start;
    figures.samples = sampler.Samples();
    figures.deadEnds = sampler.DeadEnds();
    return figures;
}

void CompareRuns(const char* name, clsGraph& graph) {
    std::printf("\n%s: runs of %lld samples, seed 1 (best of %d)\n", name,
                static_cast<long long>(RunSamples), Repetitions);
    std::printf("%-9s %-20s %9s %8s %9s %9s %11s %8s  %s\n", "actions", "rule", "run ms", "/ LRI",
                "paths", "rewarded", "links", "dead", "ended");
    for (const int32_t actionSet : {ActionSet::All, ActionSet::Variable}) {
        const RunSettings settings = Settings(graph, actionSet);
        std::vector<RunFigures> best(SchemeCount);
        for (int32_t repetition = 0; repetition < Repetitions; ++repetition) {
            for (std::size_t k = 0; k < SchemeCount; ++k) {
                RunFigures f = Run(graph, settings, Schemes[k].make);
                if (f.seconds < best[k].seconds)
                    best[k] = std::move(f);
            }
        }
        for (std::size_t k = 0; k < SchemeCount; ++k) {
            const RunFigures& f = best[k];
            std::printf("%-9s %-20s %9.2f %8.2f %9d %9d %11lld %8lld  %s\n", SetName(actionSet),
                        Schemes[k].name, f.seconds * 1e3, f.seconds / best[0].seconds, f.paths,
                        f.rewarded, static_cast<long long>(f.links),
                        static_cast<long long>(f.deadEnds), f.ended.c_str());
        }
    }
}

} // namespace

int main() {
    using namespace BenchGraphs;
    std::printf("pursuit schemes against LRI: reward %g, resolution %d, P-model with the best "
                "threshold, from node 1 to the last node\n"
                "/ LRI: the time over LRI's on the same paths (learning step) or the same number "
                "of samples (runs)\n",
                double(Reward), static_cast<int>(RunSettings().Resolution));
    const struct {
        const char* name;
        std::function<void(clsGraph&)> build;
    } graphs[] = {
        {"directed grid 32x32", [](clsGraph& g) { DirectedGrid(g, 32); }},
        {"random 1000/3000 s2", [](clsGraph& g) { Random(g, 1000, 3000, 2); }},
        {"random 200/4000 s4", [](clsGraph& g) { Random(g, 200, 4000, 4); }},
    };
    for (const auto& g : graphs) {
        clsLA la;
        g.build(la.Graph());
        CompareSteps(g.name, la.Graph());
    }
    for (const auto& g : graphs) {
        clsLA la;
        g.build(la.Graph());
        CompareRuns(g.name, la.Graph());
    }
    return 0;
}
