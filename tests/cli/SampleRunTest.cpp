// pathloom-run --method sample: what it reports, what it leaves in the document it saves, and
// the history of its learning.
#include "DocumentFile.h"
#include "RunnerFixture.h"
#include "clsLA.h"

#include <cstdio>

namespace {

const std::string SampleSD = "N --method sample --source S --dest D ";

TEST_F(Runner, ASampledRunReportsTheBestPathAndWhereItConverged) {
    // network.plm learns by LRI with reward 0.5: S-A-D (cost 3) is the cheapest.
    ASSERT_EQ(Run(SampleSD + "--samples 20 --quiet"), 0) << err;
    for (const char* line : {"\nsamples: 20\n", "\ndeadEnds: 0\n", "\nbestCost: 3\n",
                             "\nbestPath: S->A:A->D:\n", "\nconvergedAt: null\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line << out;
    EXPECT_EQ(out.find("\t3\n"), std::string::npos) << "--quiet lists no paths";

    ASSERT_EQ(Run(SampleSD + "--until 0.9 --json --quiet --seed 7"), 0) << err;
    EXPECT_EQ(out.rfind("{\"paths\": [],", 0), 0u) << out;
    long long samples = 0, at = 0;
    double probability = 0;
    ASSERT_EQ(std::sscanf(out.c_str() + out.find("\"samples\""),
                          "\"samples\": %lld, \"deadEnds\": 0,\n\"bestCost\": 3, \"bestPath\": "
                          "\"S->A:A->D:\",\n\"bestPathProbability\": %lf, \"convergedAt\": %lld",
                          &samples, &probability, &at),
              3)
        << out;
    EXPECT_EQ(samples, at);
    EXPECT_GE(probability, 0.9);
    EXPECT_LT(at, 20);

    // Listed paths come as with the other methods.
    Run(SampleSD + "--samples 30 --seed 7 --json");
    EXPECT_NE(out.find("{\"n\": 30, \"trace\": "), std::string::npos);
}

TEST_F(Runner, TheSavedDocumentKeepsItsOwnMethodAndNodes) {
    ASSERT_EQ(Run(SampleSD + "--samples 5 --reward 0.25 --save O/sampled.plm"), 0) << err;
    clsLA before, after;
    LoadGraph(before, Examples + "/network.plm");
    LoadGraph(after, own + "/sampled.plm");
    EXPECT_EQ(after.Settings.GraphSearchMethod, before.Settings.GraphSearchMethod);
    EXPECT_EQ(after.Settings.sourceNode, before.Settings.sourceNode);
    EXPECT_EQ(after.Settings.Reward, 0.25f);
}

// The history's last row ends where --json ends.
TEST_F(Runner, TheLastRowOfTheHistoryHoldsTheFinalProbabilitiesOfTheJson) {
    ASSERT_EQ(Run(SampleSD + "--samples 40 --history O/h.csv --json --quiet"), 0) << err;
    const auto rows = CsvRows(ReadFile(own + "/h.csv"));
    ASSERT_EQ(rows.size(), 41u); // the header and one row per learned path
    EXPECT_EQ(rows[0], (std::vector<std::string>{"n", "trace", "cost", "decision", "best cost",
                                                 "best-path probability", "S->B", "B->D", "B->C",
                                                 "C->D", "S->A", "A->B", "A->D"}));
    const std::vector<std::string>& last = rows.back();
    ASSERT_EQ(last.size(), 13u);
    EXPECT_EQ(last[0], "40");
    std::vector<std::string> probabilities;
    const std::string key = "\"probability\": ";
    for (std::size_t at = out.find(key); at != std::string::npos; at = out.find(key, at + 1)) {
        const std::size_t start = at + key.size();
        probabilities.push_back(out.substr(start, out.find('}', start) - start));
    }
    EXPECT_EQ(std::vector<std::string>(last.begin() + 6, last.end()), probabilities);
    EXPECT_NE(out.find("\"bestPathProbability\": " + last[5] + ","), std::string::npos);
}

} // namespace
