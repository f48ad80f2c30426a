#include "PathloomError.h"
#include "RunRecord.h"
#include "TestGraphs.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

using TestGraphs::DataPath;

namespace {

using Texts = std::vector<std::string>;

const char* const NotFound = "Not found any path.";

// A, B, C, ä and ?, joined by A-B, B-C, C->A, ä<->B and ?-B.
class PathFileRun : public ::testing::Test {
  protected:
    void SetUp() override {
        TestGraphs::Build(g(), "A B C \xE4 ?", "A-B:1:0.5 B-C:1:0.5 C>A \xE4=B:1:0.5 ?-B:1:0.5");
        la.Settings.GraphSearchMethod = SearchMethod::ReadFromFile;
    }
    clsGraph& g() { return la.Graph(); }
    const RunRecord& Run(const std::string& file, const RunOptionsForTest& options = {}) {
        la.Settings.FilePath = file;
        return run = RunToEnd(la, options);
    }
    clsLA la;
    RunRecord run;
};

TEST_F(PathFileRun, LearnFromThePathsAndReportTheFirstFault) {
    TestGraphs::TempDir dir;
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string file;
        Texts traces, messages;
    } cases[] = {
        {"two-paths.txt", {"A->B:", "B->C:"}, {}},
        {"example.txt", {"A->B:B->C:", "C->A:"}, {}},
        {"unidirectional-forward.txt", {"C->A:"}, {}},
        {"unidirectional-backward.txt", {}, {"The following link not found.\r\nA->C", NotFound}},
        {"letter-case.txt", {"A->B:", "B->C:"}, {}},
        {"latin1.txt", {"\xE4->B:"}, {}},
        {"utf8.txt", {"\xE4->B:"}, {}},
        {"utf8-bom.txt", {"A->B:"}, {}},
        // The Cyrillic letter is shown as "?" but does not match the node labelled "?".
        {"outside-latin1.txt", {}, {"The following link not found.\r\n\xD0\x96->B", NotFound}},
        {"missing-brace.txt", {"A->B:"}, {"Syntax error:\r\n"}},
        {"empty.txt", {}, {"Syntax error:\r\n", NotFound}},
        {"blank.txt", {}, {"Syntax error:\r\n", NotFound}},
        {"trailing-text.txt", {"A->B:"}, {"Syntax error:\r\nx"}},
        {"single-label.txt", {""}, {}},
        {"double-comma.txt", {}, {"Syntax error:\r\n,", NotFound}},
        {"missing-open.txt", {}, {"Syntax error:\r\nA", NotFound}},
        {"space-in-path.txt", {}, {"Syntax error:\r\nB", NotFound}},
        {"repeated-link.txt", {"A->B:A->B:"}, {}},
        {"labels-touch-delimiters.txt", {"A->B:", "B->C:"}, {}},
        {"/nonexistent/paths.txt", {}, {"File not found: /nonexistent/paths.txt", NotFound}},
        // A FIFO would block the run for ever, /dev/zero would fill the memory.
        {fifo, {}, {"Could not read file: " + fifo, NotFound}},
        {"/dev/zero", {}, {"Could not read file: /dev/zero", NotFound}},
    };
    for (const auto& c : cases) {
        Run(c.file[0] == '/' ? c.file : DataPath("paths/" + c.file));
        EXPECT_EQ(run.traces, c.traces) << c.file;
        EXPECT_EQ(run.Messages(), c.messages) << c.file;
        // The mode reports its own errors and then ends as a run ends: nothing stays flagged.
        for (int32_t j = 1; j <= g().LinkCount(); ++j)
            EXPECT_FALSE(g().Link(j).Flag) << c.file;
    }
}

TEST_F(PathFileRun, DuplicateLabelsRefuseTheRunAfterTheReset) {
    g().Node(5).SetLabel("b");
    g().Link(3).Probability = 0.9f;
    g().Link(1).Flag = true;
    Run(DataPath("paths/two-paths.txt"));
    EXPECT_EQ(run.Messages(), Texts{"There are Two nodes or more nodes with same label. Please "
                                    "change them lables."});
    EXPECT_TRUE(run.traces.empty());
    // The run had started: probabilities and flags were reset before the check.
    EXPECT_EQ(g().Link(3).Probability, 0.5f);
    EXPECT_FALSE(g().Link(1).Flag);
}

// The paused path is the one read last, as the canvas shows it.
TEST_F(PathFileRun, PausesAfterEachPath) {
    la.Settings.EnableDelay = true;
    la.Settings.FilePath = DataPath("paths/example.txt");
    RunSession session(la.Graph(), la.Ranges(), la.Settings);
    for (const auto& flagged : {std::vector<int32_t>{1, 2}, {3}}) {
        ASSERT_EQ(session.Step(1000), RunState::Paused);
        session.ShowPath();
        for (int32_t j = 1; j <= g().LinkCount(); ++j)
            EXPECT_EQ(g().Link(j).Flag, std::count(flagged.begin(), flagged.end(), j) == 1) << j;
    }
    EXPECT_EQ(session.Step(1000), RunState::Finished);
}

} // namespace
