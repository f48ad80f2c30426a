// pathloom-run --method sample: what it reports, what it refuses, and what it leaves in the
// document it saves.
#include "DocumentFile.h"
#include "Runner.h"
#include "clsLA.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>

namespace {

const std::string Network = std::string(PATHLOOM_EXAMPLES_DIR) + "/network.plm";

struct Result {
    int status;
    std::string out, err;
};

Result Runner(std::vector<std::string> args) {
    args.insert(args.begin(), Network);
    std::ostringstream out, err;
    const int status = RunPathloom(args, out, err, nullptr);
    return {status, out.str(), err.str()};
}

const std::vector<std::string> SampleSD = {"--method", "sample", "--source", "S", "--dest", "D"};

std::vector<std::string> With(std::vector<std::string> more) {
    more.insert(more.begin(), SampleSD.begin(), SampleSD.end());
    return more;
}

} // namespace

TEST(SampleRun, ReportsTheBestPathAndWhereItConverged) {
    // network.plm learns by LRI with reward 0.5: S-A-D (cost 3) is the cheapest.
    const Result free = Runner(With({"--samples", "20", "--quiet"}));
    ASSERT_EQ(free.status, 0) << free.err;
    for (const char* line : {"\nsamples: 20\n", "\ndeadEnds: 0\n", "\nbestCost: 3\n",
                             "\nbestPath: S->A:A->D:\n", "\nconvergedAt: null\n"})
        EXPECT_NE(free.out.find(line), std::string::npos) << line << free.out;
    EXPECT_EQ(free.out.find("\t3\n"), std::string::npos) << "--quiet lists no paths";

    const Result until = Runner(With({"--until", "0.9", "--json", "--quiet", "--seed", "7"}));
    ASSERT_EQ(until.status, 0) << until.err;
    EXPECT_EQ(until.out.rfind("{\"paths\": [],", 0), 0u) << until.out;
    long long samples = 0, at = 0;
    double probability = 0;
    ASSERT_EQ(std::sscanf(until.out.c_str() + until.out.find("\"samples\""),
                          "\"samples\": %lld, \"deadEnds\": 0,\n\"bestCost\": 3, \"bestPath\": "
                          "\"S->A:A->D:\",\n\"bestPathProbability\": %lf, \"convergedAt\": %lld",
                          &samples, &probability, &at),
              3)
        << until.out;
    EXPECT_EQ(samples, at);
    EXPECT_GE(probability, 0.9);
    EXPECT_LT(at, 20);

    // Listed paths come as with the other methods; the same seed gives the same ones.
    const Result listed = Runner(With({"--samples", "30", "--seed", "7", "--json"}));
    EXPECT_NE(listed.out.find("{\"n\": 30, \"trace\": "), std::string::npos);
    EXPECT_EQ(listed.out, Runner(With({"--samples", "30", "--seed", "7", "--json"})).out);
    EXPECT_NE(listed.out, Runner(With({"--samples", "30", "--seed", "8", "--json"})).out);
}

TEST(SampleRun, RefusesWhatNoSampledRunCanTake) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {With({"--samples", "12x"}), "not a whole number for --samples: '12x'"},
        {With({"--samples", "0"}), "The number of samples must be from 1 to 2000000000."},
        {With({"--samples", "99999999999999999999"}), "not a whole number for --samples"},
        {With({"--samples", "2000000001"}), "The number of samples must be from 1 to 2000000000."},
        {With({"--seed", "-1"}), "not a whole number for --seed: '-1'"},
        {With({"--seed", "18446744073709551616"}), "not a whole number for --seed"},
        {With({"--until", "0"}), "The target probability must be above 0 and at most 1."},
        {With({"--until", "1.0001"}), "The target probability must be above 0 and at most 1."},
        {{"--method", "sample", "--source", "S", "--dest", "S"},
         "Source node and destination node are equal."},
        {{"--method", "dest", "--source", "S", "--dest", "D", "--seed", "3"},
         "--samples, --seed and --until go with --method sample"},
        {{"--history", "h.csv"}, "--history goes with --method"},
    };
    for (const auto& c : cases) {
        const Result result = Runner(c.args);
        EXPECT_EQ(result.status, 2) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
}

TEST(SampleRun, TheSavedDocumentKeepsItsOwnMethodAndNodes) {
    const std::string saved = ::testing::TempDir() + "sampled.plm";
    const Result result = Runner(With({"--samples", "5", "--reward", "0.25", "--save", saved}));
    ASSERT_EQ(result.status, 0) << result.err;
    clsLA before, after;
    LoadGraph(before, Network);
    LoadGraph(after, saved);
    EXPECT_EQ(after.Settings.GraphSearchMethod, before.Settings.GraphSearchMethod);
    EXPECT_EQ(after.Settings.sourceNode, before.Settings.sourceNode);
    EXPECT_EQ(after.Settings.Reward, 0.25f);
    std::remove(saved.c_str());
}
