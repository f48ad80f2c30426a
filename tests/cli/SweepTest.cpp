// Sweeps: their rows against single runs, their order whatever the jobs, the summary against the
// rows, what they refuse, and Ctrl+C.
#include "Sweep.h"

#include "Runner.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string Examples = PATHLOOM_EXAMPLES_DIR;

struct Result {
    int status;
    std::string out, err;
};

Result Runner(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunPathloom(args, out, err, nullptr);
    return {status, out.str(), err.str()};
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.push_back(std::exchange(field, {}));
        else
            field += c;
    }
    fields.push_back(field);
    return fields;
}

std::vector<std::vector<std::string>> Rows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(csv);
    for (std::string line; std::getline(in, line);)
        rows.push_back(Fields(line));
    return rows;
}

// The link probabilities of pathloom-run's text output, in link order.
std::vector<std::string> LinkProbabilities(const std::string& text) {
    std::vector<std::string> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line) && line.rfind("link\t", 0) != 0) {
    }
    while (std::getline(in, line) && line.find('\t') != std::string::npos)
        values.push_back(line.substr(line.rfind('\t') + 1));
    return values;
}

} // namespace

TEST(Sweep, RowsAreTheSingleRunsOfTheirSettings) {
    const Result sweep = Runner({Examples + "/triangle.plm", "--method", "dest", "--source", "A",
                                 "--dest", "C", "--sweep", "scheme=LRP,LREP", "--sweep",
                                 "reward=0.1:0.2:0.1", "--sweep", "penalty=0.05,0.3"});
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    const auto rows = Rows(sweep.out);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0][7], "status");
    int invalid = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const auto& row = rows[r];
        const Result single =
            Runner({Examples + "/triangle.plm", "--method", "dest", "--source", "A", "--dest", "C",
                    "--scheme", row[2], "--reward", row[3], "--penalty", row[4]});
        if (row[7] == "invalid") {
            ++invalid;
            EXPECT_EQ(single.status, 2);
            EXPECT_NE(single.err.find(row[8]), std::string::npos) << row[8];
            continue;
        }
        EXPECT_EQ(row[7], "ok");
        EXPECT_NE(single.out.find("paths: " + row[9] + "\nstatus: ok"), std::string::npos);
        EXPECT_EQ(std::vector<std::string>(row.begin() + 14, row.end()),
                  LinkProbabilities(single.out))
            << r;
    }
    EXPECT_EQ(invalid, 2); // LR(E)P with a penalty of 0.3, not below 0.1 nor 0.2
}

TEST(Sweep, RowsComeInOneOrderAndTheSummaryFollowsThem) {
    const std::vector<std::string> sweep = {Examples + "/one-way-grid.plm",
                                            "--method",
                                            "sample",
                                            "--source",
                                            "A1",
                                            "--dest",
                                            "P16",
                                            "--samples",
                                            "6000",
                                            "--until",
                                            "0.95",
                                            "--sweep",
                                            "reward=0.1,0.2",
                                            "--sweep",
                                            "seed=1:6:1"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), sweep.begin(), sweep.end());
        return Runner(more);
    };
    const Result one = with({"--jobs", "1"});
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(with({"--jobs", "3"}).out, one.out);

    // The summary's counts and mean of the sample that reached 0.95, per reward, from the rows.
    std::map<std::string, std::vector<double>> reached;
    std::map<std::string, int> runs;
    const auto rows = Rows(one.out);
    ASSERT_EQ(rows.size(), 13u);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ++runs[rows[r][3]];
        if (!rows[r][11].empty())
            reached[rows[r][3]].push_back(std::stod(rows[r][11]));
    }
    const auto summary = Rows(with({"--summary"}).out);
    ASSERT_EQ(summary.size(), 3u);
    EXPECT_EQ(summary[0][9], "reached");
    for (std::size_t g = 1; g < summary.size(); ++g) {
        const std::string reward = summary[g][3];
        const auto& times = reached[reward];
        EXPECT_EQ(summary[g][6], std::to_string(runs[reward]));
        EXPECT_EQ(summary[g][9], std::to_string(times.size()));
        EXPECT_EQ(summary[g][10], std::to_string(runs[reward] - int(times.size())));
        double sum = 0;
        for (const double t : times)
            sum += t;
        if (!times.empty()) {
            EXPECT_DOUBLE_EQ(std::stod(summary[g][11]), sum / double(times.size())) << reward;
        }
    }
}

TEST(Sweep, RangesEndOnTheirLastStepAndBadSweepsAreRefused) {
    const struct {
        const char* text;
        std::vector<double> values;
    } ranges[] = {
        {"reward=0:1:0.1",
         {0, 0.1, 0.2, 0.30000000000000004, 0.4, 0.5, 0.6000000000000001, 0.7000000000000001, 0.8,
          0.9, 1}},
        {"reward=0.1:0.3:0.1", {0.1, 0.2, 0.3}},
        {"penalty=0.1:0.35:0.1", {0.1, 0.2, 0.30000000000000004}},
        {"factor=2:2:1", {2}},
        {"scheme=lri,LRP", {2, 0}},
        {"model=S", {1}},
    };
    for (const auto& r : ranges)
        EXPECT_EQ(ParseSweepAxis(r.text).values, r.values) << r.text;
    EXPECT_EQ(ParseSweepAxis("seed=1:30:1").seeds.size(), 30u);
    EXPECT_EQ(ParseSweepAxis("seed=5:12:3").seeds, (std::vector<uint64_t>{5, 8, 11}));

    for (const char* bad :
         {"reward=1:0:0.1", "reward=0:1:0", "reward=0:1", "reward=", "colour=1", "scheme=1:2:1",
          "seed=1.5", "reward=a", "reward=0.1,,0.2", "scheme=LRX", "reward=0:1e9:1e-9"})
        EXPECT_THROW(ParseSweepAxis(bad), UsageError) << bad;

    const std::string network = Examples + "/network.plm";
    const struct {
        std::vector<std::string> args;
        const char* message;
    } refused[] = {
        {{network, "--sweep", "reward=0.1,0.2"}, "a sweep needs --method"},
        {{network, "--method", "all", "--source", "S", "--sweep", "seed=1,2"},
         "--sweep seed goes with --method sample"},
        {{network, "--method", "all", "--source", "S", "--sweep", "reward=0.1", "--sweep",
          "Reward=0.2"},
         "a setting swept twice"},
        {{network, "--method", "all", "--source", "S", "--sweep", "reward=0.1", "--json"},
         "do not go with a sweep"},
        {{network, "--method", "all", "--source", "S", "--summary"},
         "--summary goes with --method sample"},
        {{network, "--method", "all", "--source", "S", "--part", "3/2"}, "not a part K/N"},
    };
    for (const auto& r : refused) {
        const Result result = Runner(r.args);
        EXPECT_EQ(result.status, 2) << r.message;
        EXPECT_NE(result.err.find(r.message), std::string::npos) << result.err;
    }
}

TEST(Sweep, CtrlCWritesTheFinishedRowsWhole) {
    const std::string csv = ::testing::TempDir() + "interrupted.csv";
    std::remove(csv.c_str());
    const std::vector<std::string> args = {PATHLOOM_RUN, Examples + "/one-way-grid.plm",
                                           "--method",   "sample",
                                           "--source",   "A1",
                                           "--dest",     "P16",
                                           "--samples",  "200000",
                                           "--sweep",    "seed=1:400:1",
                                           "--jobs",     "2",
                                           "--csv",      csv};
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    // The header is written once Ctrl+C is taken over; then some rows.
    for (int i = 0; i < 600; ++i) {
        std::ifstream file(csv);
        std::string header, row;
        if (std::getline(file, header) && std::getline(file, row))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(child, SIGINT);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    std::ifstream file(csv);
    std::stringstream text;
    text << file.rdbuf();
    std::remove(csv.c_str());
    const auto rows = Rows(text.str());
    ASSERT_GE(rows.size(), 2u);
    EXPECT_LT(rows.size(), 401u);
    EXPECT_EQ(text.str().back(), '\n');
    for (const auto& row : rows)
        EXPECT_EQ(row.size(), rows[0].size());
}
