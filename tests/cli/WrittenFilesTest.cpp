// The files pathloom-run writes: the document it saves after a sampled run, the history of a
// run's learning, and an imported graph saved and exported again.
#include "DocumentFile.h"
#include "GraphFormats.h"
#include "RunnerFixture.h"
#include "clsLA.h"

#include <regex>

namespace {

const std::string SampleSD = "N --method sample --source S --dest D ";

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
    // The JSON's best-path probability, then each link's, in link order.
    const auto number = [](std::string text) {
        return std::regex_replace(text, std::regex("\\."), "\\.");
    };
    std::string json = "\"bestPathProbability\": " + number(last[5]) + ",";
    for (std::size_t link = 6; link < last.size(); ++link)
        json += "[^]*\"probability\": " + number(last[link]) + "\\}";
    EXPECT_TRUE(std::regex_search(out, std::regex(json))) << out;
}

TEST_F(Runner, AGraphMadeElsewhereRunsAndGoesOutAgain) {
    ASSERT_EQ(Run("D/formats/nx-directed.graphml --method dest --source a --dest c --save "
                  "O/run.plm --export O/run.csv"),
              0)
        << err;
    EXPECT_NE(out.find("paths: 2\nstatus: ok"), std::string::npos) << out;
    clsLA saved;
    LoadGraph(saved, own + "/run.plm");
    clsGraph exported;
    GraphFormats::Import(own + "/run.csv", exported);
    for (const clsGraph* g : {&saved.Graph(), &exported}) {
        EXPECT_EQ(g->NodeCount(), 4);
        EXPECT_EQ(g->LinkCount(), 5);
    }
    EXPECT_EQ(exported.Link(1).Probability, saved.Graph().Link(1).Probability);
}

} // namespace
