// What the run history costs: the same runs without it, with it (the source's links watched, as
// the window does), and with it writing every path as a CSV row to a file, best of five each.

#include "BenchGraphs.h"
#include "RunHistory.h"
#include "RunSession.h"
#include "clsLA.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

enum class With { Nothing, History, HistoryAndCsv };

double RunSeconds(clsLA& la, const RunSettings& settings, With with, const std::string& csvPath) {
    RunSession session(la.Graph(), la.Ranges(), settings);
    std::vector<int32_t> watched;
    for (const RunHistory::Leaving& link : RunHistory::LinksLeaving(la.Graph(), 1))
        watched.push_back(link.link);
    RunHistory history(la.Graph(), watched);
    std::ofstream csv;
    if (with != With::Nothing)
        session.AddObserver(history);
    if (with == With::HistoryAndCsv) {
        csv.open(csvPath, std::ios::binary | std::ios::trunc);
        history.StreamTo(csv);
    }
    const auto start = Clock::now();
    while (session.Step(1 << 20) == RunState::Running) {
    }
    csv.flush();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Best(const std::function<double()>& run) {
    double best = 1e300;
    for (int i = 0; i < 5; ++i)
        best = std::min(best, run());
    return best;
}

struct Case {
    const char* name;
    std::function<void(clsGraph&)> build;
    int32_t method;
    int64_t samples;
};

} // namespace

int main(int argc, char** argv) {
    const std::string csvPath = argc > 1 ? argv[1] : "/tmp/pathloom-history-bench.csv";
    using namespace BenchGraphs;
    const Case cases[] = {
        {"enumerate: grid 8x14 to its corner", [](clsGraph& g) { Grid(g, 8, 14); },
         SearchMethod::SourceToDestination, 0},
        {"enumerate: random 300/900 s6", [](clsGraph& g) { Random(g, 300, 900, 6); },
         SearchMethod::SourceToDestination, 0},
        {"sample: directed grid 32x32, 200k", [](clsGraph& g) { DirectedGrid(g, 32); },
         SearchMethod::Sample, 200000},
        {"sample: random 1000/3000 s2, 200k", [](clsGraph& g) { Random(g, 1000, 3000, 2); },
         SearchMethod::Sample, 200000},
    };
    std::printf("%-36s %6s %9s %9s %9s %8s %8s\n", "run (best of 5)", "links", "plain s", "history",
                "+ csv", "history", "+ csv");
    for (const Case& c : cases) {
        clsLA la;
        c.build(la.Graph());
        RunSettings s;
        s.GraphSearchMethod = c.method;
        s.Model = Model::P;
        s.ModelType = Scheme::LRI;
        s.Reward = 0.01f;
        s.sourceNode = 1;
        s.DestNode = la.Graph().NodeCount();
        s.Samples = std::max<int64_t>(c.samples, 1);
        const auto time = [&](With with) {
            return Best([&] { return RunSeconds(la, s, with, csvPath); });
        };
        const double plain = time(With::Nothing);
        const double history = time(With::History);
        const double csv = time(With::HistoryAndCsv);
        std::printf("%-36s %6d %9.3f %9.3f %9.3f %7.1f%% %7.1f%%\n", c.name, la.Graph().LinkCount(),
                    plain, history, csv, 100 * (history / plain - 1), 100 * (csv / plain - 1));
    }
    std::remove(csvPath.c_str());
    return 0;
}
