// The files Pathloom reads: documents, byte for byte, and path files, path by path.

#include "DocumentFile.h"
#include "RunRecord.h"
#include "TestGraphs.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

using TestGraphs::DataPath;
using TestGraphs::ErrorOf;
using TestGraphs::ReadBytes;
using TestGraphs::WriteBytes;

namespace {

// What a document stores: the counts, the five settings, then "label(x,y)ID:in/out" per node,
// "from-to weight probability" per link ("-", ">" and "=" for the three kinds), and the ranges.
std::string Stored(const clsLA& la) {
    const clsGraph& g = la.Graph();
    const RunSettings& s = la.Settings;
    std::ostringstream text;
    text << g.NodeCount() << " " << g.LinkCount() << " " << la.Ranges().RangeCount() << " "
         << s.Model << " " << s.ModelType << " " << s.Reward << " " << s.Penalty << " "
         << s.LearningFactor;
    for (int32_t i = 1; i <= g.NodeCount(); ++i) {
        const clsNode& n = g.Node(i);
        text << " " << n.Label() << "(" << n.Position.x << "," << n.Position.y << ")" << n.ID << ":"
             << n.InDegree << "/" << n.OutDegree;
    }
    for (int32_t j = 1; j <= g.LinkCount(); ++j) {
        const clsLink& l = g.Link(j);
        text << " " << l.FromNode->Label() << "->="[l.LinkType] << l.ToNode->Label() << " "
             << l.Weight << " " << l.Probability;
    }
    for (int32_t r = 1; r <= la.Ranges().RangeCount(); ++r) {
        const clsRange& range = la.Ranges().Range(r);
        text << " " << range.StartNumber << ".." << range.EndNumber << ":" << range.Answer;
    }
    return text.str();
}

class DocumentFileTest : public ::testing::Test {
  protected:
    TestGraphs::TempDir dir;
    clsLA la;
};

// Nodes "0" and "1" at (10, 20) and (100, 20), a unidirectional link of 2.5.
TEST_F(DocumentFileTest, WorkedExamplesAreByteExact) {
    SaveGraph(la, dir.File("new.plm"));
    const std::string empty = ReadBytes(dir.File("new.plm"));
    EXPECT_EQ(empty, std::string("WOVEN-GRAPHS\0\0", 14) + std::string(32, '\0'));
    EXPECT_EQ(empty, ReadBytes(DataPath("documents/empty.plm")));

    la.Graph().AddNode(10, 20);
    la.Graph().AddNode(100, 20);
    la.Graph().AddLink(1, 2, LinkKind::Unidirectional);
    la.Graph().Link(1).Weight = 2.5f;
    SaveGraph(la, dir.File("two.plm"));
    const std::string bytes = ReadBytes(dir.File("two.plm"));
    EXPECT_EQ(bytes, ReadBytes(DataPath("documents/two-nodes.plm")));

    // Read back, trailing bytes ignored.
    WriteBytes(dir.File("tail.plm"), bytes + std::string(300, '\x7f'));
    clsLA loaded;
    LoadGraph(loaded, dir.File("tail.plm"));
    EXPECT_EQ(Stored(loaded), "2 1 0 0 0 0 0 0 0(10,20)0:0/1 1(100,20)1:1/0 0>1 2.5 1");
}

TEST_F(DocumentFileTest, LoadTakesSettingsAndRangesAndResetsUnidirectionalProbabilities) {
    LoadGraph(la, DataPath("documents/settings-and-ranges.plm"));
    // The unidirectional link gets 1 / out-degree of A, not the 0.9 stored.
    EXPECT_EQ(Stored(la), "3 3 2 1 2 0.5 0 0.125 A(0,0)0:1/2 B(60,0)1:2/2 C(120,0)2:2/1 "
                          "A-B 1.5 0.25 B=C 2 0.75 A>C 3 0.5 0..10:0.2 10..20:0.8");

    // Two nodes with one ID: links resolve to the first.
    clsLA dup;
    LoadGraph(dup, DataPath("documents/duplicate-ids.plm"));
    EXPECT_EQ(Stored(dup), "3 1 0 0 0 0 0 0 first(0,0)5:1/0 second(60,0)5:0/0 third(120,0)9:0/1 "
                           "third>first 1 1");
}

TEST_F(DocumentFileTest, SaveThenLoadGivesTheSameGraph) {
    clsGraph& g = la.Graph();
    TestGraphs::Build(g, "A b \xC4rger D",
                      "A-b:1.25:0.3 b=\xC4rger:-2:0.7 A>D:1e20 \xC4rger>D:0:0.123");
    g.Node(3).Position = clsPosition{-40, 2147483647};
    la.Settings = TestGraphs::Settings(1, 1, 0.2f, 0.1f, 0.3f);
    la.Ranges().AddRange(-1.0f, 1.0f, 0.25f);
    SaveGraph(la, dir.File("round.plm"));
    clsLA loaded;
    LoadGraph(loaded, dir.File("round.plm"));
    // Unidirectional links are back to 1 / out-degree (A leaves by A-b and A->D), not 0.123.
    EXPECT_EQ(Stored(loaded), "4 4 1 1 1 0.2 0.1 0.3 A(0,0)0:1/2 b(60,0)1:2/2 "
                              "\xC4rger(-40,2147483647)2:1/2 D(180,0)3:2/0 A-b 1.25 0.3 "
                              "b=\xC4rger -2 0.7 A>D 1e+20 0.5 \xC4rger>D 0 0.5 -1..1:0.25");
}

// Broken documents are refused as a whole and leave an empty engine that keeps only the choices
// of the next run, and no node chosen in the emptied graph.
TEST_F(DocumentFileTest, RefusedDocumentsLeaveAnEmptyEngine) {
    for (const char* name :
         {"bad-signature.plm", "link-to-node-7.plm", "unknown-kind.plm", "truncated.plm",
          "huge-node-count.plm", "huge-link-count.plm", "negative-count.plm", "no-such-file.plm"}) {
        const std::string file = DataPath("documents/") + name;
        clsLA la;
        LoadGraph(la, DataPath("documents/settings-and-ranges.plm"));
        la.Settings.Penalty = 0.25f;
        la.Settings.GraphSearchMethod = SearchMethod::ReadFromFile;
        la.Settings.FilePath = "p.txt";
        la.Settings.EnableDelay = true;
        la.Settings.sourceNode = 1;
        la.Settings.DestNode = 2;
        EXPECT_EQ(ErrorOf([&] { LoadGraph(la, file); }),
                  "LoadGraph: '" + file + "' could not be loaded.");
        EXPECT_EQ(Stored(la), "0 0 0 0 0 0 0 0") << name;
        EXPECT_EQ(la.Settings.GraphSearchMethod, SearchMethod::ReadFromFile);
        EXPECT_EQ(la.Settings.FilePath, "p.txt");
        EXPECT_TRUE(la.Settings.EnableDelay);
        EXPECT_EQ(la.Settings.sourceNode * 10 + la.Settings.DestNode, -11);
    }
}

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
    void Run(const std::string& file) {
        la.Settings.FilePath = file;
        run = RunToEnd(la);
    }
    clsLA la;
    RunRecord run;
};

TEST_F(PathFileRun, LearnFromThePathsAndReportTheFirstFault) {
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
        {"one-byte.txt", {}, {"Syntax error:\r\nx", NotFound}},
        {"blank.txt", {}, {"Syntax error:\r\n", NotFound}},
        {"trailing-text.txt", {"A->B:"}, {"Syntax error:\r\nx"}},
        {"single-label.txt", {""}, {}},
        {"double-comma.txt", {}, {"Syntax error:\r\n,", NotFound}},
        {"double-brace.txt", {}, {"Syntax error:\r\n{", NotFound}},
        {"missing-open.txt", {}, {"Syntax error:\r\nA", NotFound}},
        {"space-in-path.txt", {}, {"Syntax error:\r\nB", NotFound}},
        {"repeated-link.txt", {"A->B:A->B:"}, {}},
        {"/nonexistent/paths.txt", {}, {"File not found: /nonexistent/paths.txt", NotFound}},
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

// A node of many links finds them by a table, with a scan's answer: the first link in link order,
// a one-way link from its start only.
TEST(PathFiles, ANodeOfManyLinks) {
    clsLA la;
    std::string nodes = "H", links;
    for (int i = 0; i < 40; ++i) {
        const std::string leaf{'n', char('a' + i / 26), char('a' + i % 26)}; // naa, nab, ...
        nodes += " " + leaf;
        links += i % 2 ? "H>" + leaf + " " : leaf + "-H ";
    }
    TestGraphs::Build(la.Graph(), nodes, links + "H-naa");
    la.Settings.GraphSearchMethod = SearchMethod::ReadFromFile;
    TestGraphs::TempDir dir;
    la.Settings.FilePath = dir.File("paths.txt");
    WriteBytes(la.Settings.FilePath, "{naa,H,nab}{H,naa}{nab,H}");
    const RunRecord run = RunToEnd(la);
    EXPECT_EQ(run.traces, (Texts{"naa->H:H->nab:", "naa->H:"}));
    EXPECT_EQ(run.Messages(), Texts{"The following link not found.\r\nnab->H"});
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
