// Sweeps: their rows against single runs, their order whatever the jobs, the summary against the
// rows, their ranges; and Ctrl+C, in a sweep and in a single run.
#include "Sweep.h"

#include "DocumentFile.h"
#include "ExperimentSummary.h"
#include "Interrupt.h"
#include "RunnerFixture.h"
#include "clsLA.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <optional>
#include <sstream>
#include <sys/wait.h>
#include <thread>

namespace {

TEST_F(Runner, SweepRowsAreTheSingleRunsOfTheirSettings) {
    const std::string run = "T --method dest --source A --dest C ";
    ASSERT_EQ(Run(run + "--sweep scheme=LRP,LREP --sweep reward=0.1:0.2:0.1 --sweep "
                        "penalty=0.05,0.3"),
              0)
        << err;
    const auto rows = CsvRows(out);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0][7], "status");
    int invalid = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const auto& row = rows[r];
        const int status =
            Run(run + "--scheme " + row[2] + " --reward " + row[3] + " --penalty " + row[4]);
        if (row[7] == "invalid") {
            ++invalid;
            EXPECT_EQ(status, 2);
            EXPECT_NE(err.find(row[8]), std::string::npos) << row[8];
            continue;
        }
        EXPECT_EQ(row[7], "ok");
        EXPECT_NE(out.find("paths: " + row[9] + "\nstatus: ok"), std::string::npos);
        EXPECT_EQ(std::vector<std::string>(row.begin() + 14, row.end()), LinkProbabilities(out))
            << r;
    }
    EXPECT_EQ(invalid, 2); // LR(E)P with a penalty of 0.3, not below 0.1 nor 0.2
}

// A resolution swept beside schemes that take none runs their rows once, its column empty there;
// each row is the single run of its settings.
TEST_F(Runner, AResolutionSweptBesideSchemesThatTakeNoneRunsTheirRowsOnce) {
    const std::string run = "N --method sample --source S --dest D --samples 200 --seed 3 ";
    ASSERT_EQ(Run(run + "--sweep scheme=LRI,pursuit,discretized-pursuit --sweep resolution=2:4:2"),
              0)
        << err;
    const auto rows = CsvRows(out);
    ASSERT_EQ(rows.size(), 5u);
    ASSERT_EQ(rows[0][6], "resolution");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"LRI", ""}, {"pursuit", ""}, {"discretized-pursuit", "2"}, {"discretized-pursuit", "4"}};
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const auto& row = rows[r];
        EXPECT_EQ(std::make_pair(row[2], row[6]), expected[r - 1]);
        const std::string resolution = row[6].empty() ? "" : " --resolution " + row[6];
        ASSERT_EQ(Run(run + "--scheme " + row[2] + resolution), 0) << err;
        EXPECT_EQ(std::vector<std::string>(row.begin() + 15, row.end()), LinkProbabilities(out))
            << r;
    }
}

TEST_F(Runner, SweepRowsComeInOneOrderAndTheSummaryFollowsThem) {
    const std::string sweep = "G --method sample --source A1 --dest P16 --samples 6000 --until "
                              "0.95 --sweep reward=0.1,0.15 --sweep seed=1:6:1 ";
    ASSERT_EQ(Run(sweep + "--jobs 1"), 0) << err;
    const std::string one = out;
    Run(sweep + "--jobs 3");
    EXPECT_EQ(out, one);

    // The summary's counts, share of the cheapest path, mean, median, spread and extremes of the
    // sample that reached 0.95, per reward, from the rows.
    std::map<std::string, std::vector<double>> reached, costs;
    std::map<std::string, int> runs;
    const auto rows = CsvRows(one);
    ASSERT_EQ(rows.size(), 13u);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ++runs[rows[r][3]];
        if (!rows[r][11].empty())
            reached[rows[r][3]].push_back(std::stod(rows[r][11]));
        costs[rows[r][3]].push_back(std::stod(rows[r][12]));
    }
    Run(sweep + "--summary");
    const std::string seedLast = out;
    // The groups are the same when their runs lie apart, the seed swept before the reward.
    Run("G --method sample --source A1 --dest P16 --samples 6000 --until 0.95 --sweep seed=1:6:1 "
        "--sweep reward=0.1,0.15 --summary");
    EXPECT_EQ(out, seedLast);
    const auto summary = CsvRows(seedLast);
    ASSERT_EQ(summary.size(), 3u);
    EXPECT_EQ(summary[0][9], "reached");
    for (std::size_t g = 1; g < summary.size(); ++g) {
        const std::string reward = summary[g][3];
        std::vector<double> times = reached[reward];
        EXPECT_EQ(summary[g][6], std::to_string(runs[reward]));
        const std::vector<double>& cost = costs[reward];
        const auto cheapest =
            std::count(cost.begin(), cost.end(), *std::min_element(cost.begin(), cost.end()));
        EXPECT_EQ(std::stod(summary[g][8]), double(cheapest) / double(runs[reward]));
        EXPECT_EQ(summary[g][9], std::to_string(times.size()));
        EXPECT_EQ(summary[g][10], std::to_string(runs[reward] - int(times.size())));
        ASSERT_FALSE(times.empty()) << reward; // 0.1 reached once: no spread
        std::sort(times.begin(), times.end());
        const double n = double(times.size());
        double mean = 0, squares = 0;
        for (const double t : times)
            mean += t / n;
        for (const double t : times)
            squares += (t - mean) * (t - mean);
        const std::size_t half = times.size() / 2;
        const double median = times.size() % 2 ? times[half] : (times[half - 1] + times[half]) / 2;
        const double expected[] = {mean, median, std::sqrt(squares / (n - 1)), times.front(),
                                   times.back()};
        for (int k = 0; k < 5; ++k) {
            if (k == 2 && times.size() == 1) {
                EXPECT_EQ(summary[g][13], "");
                continue;
            }
            EXPECT_NEAR(std::stod(summary[g][11 + k]), expected[k], 1e-9 * expected[k])
                << reward << " " << summary[0][11 + k];
        }
    }
}

TEST(Sweep, RangesEndOnTheirLastStepAndBadOnesAreRefused) {
    // The values as the rows write them.
    const struct {
        const char* text;
        const char* values;
    } ranges[] = {
        {"reward=0:1:0.1", "0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1"},
        {"reward=0.1:0.3:0.1", "0.1 0.2 0.3"},
        {"reward=0:0.3:0.1", "0 0.1 0.2 0.3"}, // 3 steps of 0.1 reach 0.3 within rounding
        {"penalty=0.1:0.35:0.1", "0.1 0.2 0.3"},
        {"factor=2:2:1", "2"},
        {"scheme=lri,LRP", "LRI LRP"},
        {"Action_Set=variable", "variable"}, // Python's name too
        {"seed=5:12:3", "5 8 11"},
    };
    for (const auto& r : ranges) {
        const SweepAxis axis = ParseSweepAxis(r.text);
        std::string values;
        for (const Setting::Value& value : axis.values)
            values += (values.empty() ? "" : " ") + axis.setting->Text(value);
        EXPECT_EQ(values, r.values) << r.text;
    }
    EXPECT_EQ(ParseSweepAxis("seed=1:30:1").values.size(), 30u);
    for (const char* bad : {"reward=1:0:0.1", "reward=0:1:0", "reward=0:1", "reward=", "colour=1",
                            "scheme=1:2:1", "seed=1.5", "reward=a", "reward=0.1,,0.2", "scheme=LRX",
                            "reward=0:1e9:1e-9", "factor=2:2:0", "samples=5"})
        EXPECT_THROW(ParseSweepAxis(bad), UsageError) << bad;
}

// pathloom-run as a process of its own (standard output in `out`), sent Ctrl+C once what it
// streams to `file` holds more than its header; its exit status.
int RunInterrupted(const std::vector<std::string>& args, const std::string& file,
                   const std::string& out) {
    const pid_t child = StartRunner(args, out);
    WaitForStream(file);
    ::kill(child, SIGINT);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Runner, SweepStoppedByCtrlCWritesTheFinishedRowsWhole) {
    const std::string csv = own + "/interrupted.csv";
    const std::vector<std::string> args = {Examples + "/one-way-grid.plm",
                                           "--method",
                                           "sample",
                                           "--source",
                                           "A1",
                                           "--dest",
                                           "P16",
                                           "--samples",
                                           "200000",
                                           "--sweep",
                                           "seed=1:400:1",
                                           "--jobs",
                                           "2",
                                           "--csv",
                                           csv};
    EXPECT_EQ(RunInterrupted(args, csv, own + "/out"), 130);
    const std::string text = ReadFile(csv);
    const auto rows = CsvRows(text);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_LT(rows.size(), 401u);
    EXPECT_EQ(text.back(), '\n');
    for (const auto& row : rows)
        EXPECT_EQ(row.size(), rows[0].size());
}

// Ctrl+C ends a single run as Stop ends it in the window: the result so far, marked stopped, the
// history and the learned document written whole.
TEST_F(Runner, ARunStoppedByCtrlCIsReportedAndSavedWhole) {
    const std::string history = own + "/history.csv", saved = own + "/saved.plm";
    const std::vector<std::string> args = {Examples + "/network.plm",
                                           "--method",
                                           "sample",
                                           "--source",
                                           "S",
                                           "--dest",
                                           "D",
                                           "--samples",
                                           "2000000000",
                                           "--history",
                                           history,
                                           "--save",
                                           saved,
                                           "--quiet"};
    EXPECT_EQ(RunInterrupted(args, history, own + "/out"), 130);
    const std::string text = ReadFile(history);
    const auto rows = CsvRows(text);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(text.back(), '\n');
    // The output and the history end on the same path and probabilities; the document is whole.
    const std::string result = ReadFile(own + "/out");
    EXPECT_NE(result.find("\npaths: " + std::to_string(rows.size() - 1) + "\nstatus: stopped\n"),
              std::string::npos);
    EXPECT_EQ(std::vector<std::string>(rows.back().begin() + 6, rows.back().end()),
              LinkProbabilities(result));
    clsLA la;
    LoadGraph(la, saved);
    EXPECT_EQ(la.Graph().LinkCount(), 7);
}

// Runs on several Python threads overlap: Ctrl+C stays the runs' until the last guard ends, and
// then is what it was before the first. The handler there before (the interpreter's) hears each
// Ctrl+C meanwhile, and keeps hearing them.
volatile std::sig_atomic_t heard = 0;

TEST(Interrupt, OverlappingGuardsPassCtrlCOnAndGiveItBackAfterTheLast) {
    struct sigaction counting {};
    counting.sa_handler = [](int) { heard = heard + 1; };
    sigemptyset(&counting.sa_mask);
    struct sigaction before {};
    ::sigaction(SIGINT, &counting, &before);
    std::optional<InterruptGuard> first(std::in_place), second(std::in_place);
    first.reset(); // the run that started first ends first
    ::raise(SIGINT);
    ::raise(SIGINT);
    EXPECT_TRUE(StopRequested);
    EXPECT_EQ(heard, 2);
    second.reset();
    struct sigaction after {};
    ::sigaction(SIGINT, &before, &after);
    EXPECT_EQ(after.sa_handler, counting.sa_handler);
}

} // namespace

// A stochastic experiment: each row is the single run of its settings, and the summary counts
// the runs that converged on the shortest path in expectation, with their samples and draws.
TEST_F(Runner, AnExperimentsRowsAreItsRunsAndItsSummaryCountsThem) {
    const std::string run = "E/stochastic-roads.plm --method sample --source Depot --dest Port "
                            "--samples 20000 --until 0.9 --reward 0.05 --action-set variable ";
    const std::string sweep = run + "--sweep threshold=best,mean --sweep seed=1:8:1 ";
    ASSERT_EQ(Run(sweep), 0) << err;
    const auto rows = CsvRows(out);
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[0][16], "link draws");
    EXPECT_EQ(rows[0][21], "converged on shortest");
    std::map<std::string, std::vector<double>> samples, draws;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        if (rows[r][21] == "true") {
            samples[rows[r][6]].push_back(std::stod(rows[r][13]));
            draws[rows[r][6]].push_back(std::stod(rows[r][16]));
        }
    }
    const auto& last = rows.back();
    Run(run + "--threshold " + last[6] + " --seed 8 --json --quiet");
    EXPECT_NE(out.find("\"linkDraws\": " + last[16] + ", \"preferredPath\": \"" + last[17] +
                       "\",\n\"preferredPathProbability\": " + last[18]),
              std::string::npos)
        << out;

    Run(sweep + "--summary");
    const auto summary = CsvRows(out);
    ASSERT_EQ(summary.size(), 3u);
    for (std::size_t g = 1; g < summary.size(); ++g) {
        const std::vector<double>& s = samples[summary[g][6]];
        EXPECT_EQ(summary[g][8], "8");
        EXPECT_EQ(summary[g][10], std::to_string(s.size()));
        EXPECT_NEAR(std::stod(summary[g][11]), 100.0 * double(s.size()) / 8, 1e-9);
        if (s.empty()) { // the best threshold, which one lucky draw can lock in
            EXPECT_EQ(summary[g][12], "");
            continue;
        }
        double mean = 0, drawn = 0;
        for (std::size_t k = 0; k < s.size(); ++k) {
            mean += s[k] / double(s.size());
            drawn += draws[summary[g][6]][k] / double(s.size());
        }
        EXPECT_NEAR(std::stod(summary[g][12]), mean, 1e-9 * mean);
        EXPECT_NEAR(std::stod(summary[g][15]), drawn, 1e-9 * drawn);
    }
}

// A cycle of negative expected cost on the way (t-u, either way): no shortest path in
// expectation, as the report, the JSON, a sweep's rows and its summary say.
TEST_F(Runner, NoShortestPathInExpectationAcrossANegativeCycle) {
    const std::string run = "D/formats/nx-undirected.graphml --method sample --source s --dest w "
                            "--samples 50 --length t->u=normal(-5,0) ";
    ASSERT_EQ(Run(run + "--quiet"), 0) << err;
    EXPECT_NE(out.find("expectedShortestPath: undefined (a cycle of negative expected cost on "
                       "the way)\nexpectedShortestCost: null\nconvergedOnShortest: false\n"),
              std::string::npos)
        << out;
    Run(run + "--json --quiet");
    EXPECT_NE(out.find("\"expectedShortestPath\": null,\n\"expectedShortestCost\": null"),
              std::string::npos)
        << out;
    for (const char* summary : {"", "--summary"}) {
        ASSERT_EQ(Run(run + "--sweep seed=1,2 " + summary), 0) << err;
        const auto rows = CsvRows(out);
        const auto column =
            std::find(rows[0].begin(), rows[0].end(),
                      *summary ? "converged on shortest" : "expected shortest path");
        ASSERT_NE(column, rows[0].end());
        EXPECT_EQ(rows[1][static_cast<std::size_t>(column - rows[0].begin())], "undefined");
    }
}

// The experiment summary worked by hand: a run of more than 2^31 link draws, a row left out
// (stopped by Ctrl+C), a group without a shortest path in expectation, one whose runs missed it.
TEST(ExperimentSummary, GroupsWorkedByHand) {
    std::ostringstream out;
    ExperimentSummary summary(out, "setting", 3, 2,
                              [](int64_t row) { return "s" + std::to_string(row); });
    const auto converged = [](int64_t samples, int64_t draws) {
        return ExperimentRecord{true, true, false, samples, draws};
    };
    const ExperimentRecord invalid{}, missed{true, false, false, 500, 2000},
        undefined{true, false, true, 500, 2000};
    summary.Add(0, converged(10, 40));
    summary.Add(1, invalid);
    summary.Add(2, converged(30, 5000000000));
    summary.Add(3, converged(7, 9));
    summary.Add(4, missed);
    summary.Add(6, undefined);
    summary.Add(7, missed);
    summary.Finish();
    EXPECT_EQ(out.str(), "setting,runs,invalid,converged on shortest,converged %,samples mean,"
                         "samples sd,samples median,link draws mean,link draws sd,link draws "
                         "median\n"
                         "s0,3,0,2,66.66666666666667,20,14.142135623730951,20,2500000020,"
                         "3535533877.648466,2500000020\n"
                         "s1,2,1,1,100,7,,7,9,,9\n"
                         "s6,1,0,undefined,,,,,,,\n"
                         "s7,1,0,0,0,,,,,,\n");
}
