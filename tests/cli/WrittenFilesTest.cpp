// The files pathloom-run writes: the document it saves after a sampled run, the history of a
// run's learning, and an imported graph saved and exported again.
#include "DocumentFile.h"
#include "GraphFormats.h"
#include "RunnerFixture.h"
#include "clsLA.h"

#include <csignal>
#include <regex>
#include <sys/wait.h>

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

// Histories and sweep rows are streamed into a temporary file beside the target, which takes the
// target's name only when the run ends: a run killed while it streams leaves no file under that
// name, or the older file there as it was (under each of its names); a finished one replaces it.
TEST_F(Runner, AKilledRunLeavesNoHalfFileUnderTheTargetName) {
    const std::string sampled =
        Examples + "/network.plm --method sample --source S --dest D --quiet ";
    const struct {
        std::string options, target, old; // old: the file there before, if any
        bool linked, killed;              // linked: the old file has a second name
    } cases[] = {
        {"--samples 2000000000 --history", "h.csv", "", false, true},
        {"--samples 2000000000 --history", "h.csv", "old history\n", false, true},
        {"--samples 200 --sweep seed=1:1000000:1 --jobs 1 --csv", "s.csv", "old rows\n", false,
         true},
        {"--samples 2000000000 --history", "h.csv", "old history\n", true, true},
        {"--samples 3 --history", "h.csv", "old history\n", true, false},
    };
    for (const auto& c : cases) {
        fs::remove_all(own);
        fs::create_directories(own);
        const std::string target = own + "/" + c.target, second = own + "/second.csv";
        if (!c.old.empty())
            std::ofstream(target, std::ios::binary) << c.old;
        if (c.linked)
            fs::create_hard_link(target, second);
        std::vector<std::string> args;
        std::istringstream line(sampled + c.options + " " + target);
        for (std::string word; line >> word;)
            args.push_back(word);
        const pid_t pid = StartRunner(args, "/dev/null");
        if (c.killed) {
            WaitForStream(target);
            ::kill(pid, SIGKILL);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_EQ(WIFSIGNALED(status), c.killed) << c.options;
        EXPECT_EQ(fs::exists(target), !c.old.empty()) << c.options;
        const std::string now = fs::exists(target) ? ReadFile(target) : "";
        EXPECT_EQ(now == c.old, c.killed) << c.options << ": " << now;
        EXPECT_TRUE(!c.linked || ReadFile(second) == now) << c.options;
    }
}

} // namespace
