#include "DocumentFile.h"

#include "DocumentStream.h"
#include "TestGraphs.h"
#include "clsLA.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using TestGraphs::AddLink;
using TestGraphs::AddNodes;
using TestGraphs::DataPath;
using TestGraphs::ErrorOf;
using TestGraphs::ReadBytes;
using TestGraphs::TempDir;
using TestGraphs::WriteBytes;

namespace {

const char* const SaveError = "SaveGraph: Error saving graph.";

std::string LoadError(const std::string& file) {
    return "LoadGraph: '" + file + "' could not be loaded.";
}

std::string SavedBytes(clsLA& la) {
    std::string bytes;
    DocumentWriter writer([&bytes](const char* d, std::size_t n) { bytes.append(d, n); });
    la.Save(writer);
    writer.Flush();
    return bytes;
}

// The worked example: nodes "0" and "1" at (10, 20) and (100, 20), a unidirectional link of 2.5.
void BuildTwoNodes(clsLA& la) {
    la.Graph().AddNode(10, 20);
    la.Graph().AddNode(100, 20);
    la.Graph().AddLink(1, 2, LinkKind::Unidirectional);
    la.Graph().Link(1).Weight = 2.5f;
}

void ExpectEmptyEngine(const clsLA& la) {
    EXPECT_EQ(la.Graph().NodeCount(), 0);
    EXPECT_EQ(la.Graph().LinkCount(), 0);
    EXPECT_EQ(la.Ranges().RangeCount(), 0);
    EXPECT_EQ(la.Settings.Model, 0);
    EXPECT_EQ(la.Settings.ModelType, 0);
    EXPECT_EQ(la.Settings.Reward, 0.0f);
    EXPECT_EQ(la.Settings.Penalty, 0.0f);
    EXPECT_EQ(la.Settings.LearningFactor, 0.0f);
}

class DocumentFileTest : public ::testing::Test {
  protected:
    TempDir dir;
    clsLA la;
};

TEST_F(DocumentFileTest, WorkedExamplesAreByteExact) {
    SaveGraph(la, dir.File("new.plm"));
    const std::string empty = ReadBytes(dir.File("new.plm"));
    EXPECT_EQ(empty, std::string("WOVEN-GRAPHS\0\0", 14) + std::string(32, '\0'));
    EXPECT_EQ(empty, ReadBytes(DataPath("documents/empty.plm")));

    BuildTwoNodes(la);
    SaveGraph(la, dir.File("two.plm"));
    const std::string bytes = ReadBytes(dir.File("two.plm"));
    ASSERT_EQ(bytes.size(), 154u);
    EXPECT_EQ(bytes, ReadBytes(DataPath("documents/two-nodes.plm")));
    // The link record: IDs 0 and 1, kind 1, then 2.5 and 1.0 as little-endian floats.
    EXPECT_EQ(bytes.substr(130, 20),
              std::string("\0\0\0\0\1\0\0\0\1\0\0\0\0\0\x20\x40\0\0\x80\x3f", 20));
}

TEST_F(DocumentFileTest, LoadsTheWorkedExampleWithTrailingBytesIgnored) {
    const std::string file = dir.File("tail.plm");
    WriteBytes(file, ReadBytes(DataPath("documents/two-nodes.plm")) + std::string(300, '\x7f'));
    LoadGraph(la, file);
    const clsGraph& g = la.Graph();
    ASSERT_EQ(g.NodeCount(), 2);
    ASSERT_EQ(g.LinkCount(), 1);
    EXPECT_EQ(g.Node(1).Label(), "0");
    EXPECT_EQ(g.Node(1).Position.x, 10);
    EXPECT_EQ(g.Node(1).Position.y, 20);
    EXPECT_EQ(g.Node(1).OutDegree, 1);
    EXPECT_EQ(g.Node(2).Position.x, 100);
    EXPECT_EQ(g.Node(2).InDegree, 1);
    const clsLink& link = g.Link(1);
    EXPECT_EQ(link.FromNode, &g.Node(1));
    EXPECT_EQ(link.ToNode, &g.Node(2));
    EXPECT_EQ(link.LinkType, LinkKind::Unidirectional);
    EXPECT_EQ(link.Weight, 2.5f);
    EXPECT_EQ(link.Probability, 1.0f);
    EXPECT_FALSE(link.Flag);
}

TEST_F(DocumentFileTest, LoadTakesSettingsAndRangesAndResetsUnidirectionalProbabilities) {
    la.Settings.GraphSearchMethod = SearchMethod::ReadFromFile;
    la.Settings.FilePath = "paths.txt";
    LoadGraph(la, DataPath("documents/settings-and-ranges.plm"));
    EXPECT_EQ(la.Settings.Model, 1);
    EXPECT_EQ(la.Settings.ModelType, 2);
    EXPECT_EQ(la.Settings.Reward, 0.5f);
    EXPECT_EQ(la.Settings.Penalty, 0.0f);
    EXPECT_EQ(la.Settings.LearningFactor, 0.125f);
    // Not stored, so untouched by a load.
    EXPECT_EQ(la.Settings.GraphSearchMethod, SearchMethod::ReadFromFile);
    EXPECT_EQ(la.Settings.FilePath, "paths.txt");
    const clsGraph& g = la.Graph();
    ASSERT_EQ(g.LinkCount(), 3);
    EXPECT_EQ(g.Link(1).Probability, 0.25f); // simple: as stored
    EXPECT_EQ(g.Link(2).Probability, 0.75f); // bidirectional: as stored
    EXPECT_EQ(g.Link(3).Probability, 0.5f);  // unidirectional: 1 / out-degree of A, not 0.9
    EXPECT_EQ(g.Link(3).Weight, 3.0f);
    ASSERT_EQ(la.Ranges().RangeCount(), 2);
    EXPECT_EQ(la.Ranges().Range(2).StartNumber, 10.0f);
    EXPECT_EQ(la.Ranges().Range(2).Answer, 0.8f);

    // Two nodes with one ID: links resolve to the first.
    clsLA dup;
    LoadGraph(dup, DataPath("documents/duplicate-ids.plm"));
    ASSERT_EQ(dup.Graph().LinkCount(), 1);
    EXPECT_EQ(dup.Graph().Link(1).ToNode->Label(), "first");
    EXPECT_EQ(dup.Graph().Link(1).FromNode->Label(), "third");
    EXPECT_EQ(dup.Graph().Node(2).ID, 5);
}

TEST_F(DocumentFileTest, SaveThenLoadGivesTheSameGraph) {
    clsGraph& g = la.Graph();
    AddNodes(g, {"A", "b", "\xC4rger", "D"});
    g.Node(3).Position = clsPosition{-40, 2147483647};
    AddLink(g, "A", "b", LinkKind::Simple, 1.25f).SetProbability(0.3f);
    AddLink(g, "b", "\xC4rger", LinkKind::Bidirectional, -2.0f).SetProbability(0.7f);
    AddLink(g, "A", "D", LinkKind::Unidirectional, 1e20f);
    AddLink(g, "\xC4rger", "D", LinkKind::Unidirectional, 0.0f).SetProbability(0.123f);
    la.Settings.Model = 1;
    la.Settings.ModelType = 1;
    la.Settings.Reward = 0.2f;
    la.Settings.Penalty = 0.1f;
    la.Settings.LearningFactor = 0.3f;
    la.Ranges().AddRange(-1.0f, 1.0f, 0.25f);
    SaveGraph(la, dir.File("round.plm"));
    clsLA loaded;
    LoadGraph(loaded, dir.File("round.plm"));

    // Labels, places, IDs, link ends, kinds, weights, settings and ranges: the saved bytes.
    const clsGraph& h = loaded.Graph();
    ASSERT_EQ(h.LinkCount(), 4);
    for (int32_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(h.Node(i).InDegree, g.Node(i).InDegree);
        EXPECT_EQ(h.Node(i).OutDegree, g.Node(i).OutDegree);
        EXPECT_EQ(h.Node(i).ID, i - 1);
    }
    // Unidirectional links are back to 1 / out-degree (A leaves by A-b and A->D), not 0.123.
    for (int32_t j = 1; j <= 4; ++j)
        EXPECT_EQ(h.Link(j).Probability, (std::vector<float>{0.3f, 0.7f, 0.5f, 0.5f}[j - 1]));
    // Saving what was loaded writes the same document again.
    g.InitProbability();
    EXPECT_EQ(SavedBytes(loaded), SavedBytes(la));
}

// Broken documents are refused as a whole and leave an empty engine.
class RefusedDocument : public ::testing::TestWithParam<const char*> {};

TEST_P(RefusedDocument, LeavesAnEmptyEngine) {
    const std::string file = DataPath(std::string("documents/") + GetParam());
    clsLA la;
    la.Settings.GraphSearchMethod = SearchMethod::SourceToDestination;
    la.Settings.EnableDelay = true;
    EXPECT_EQ(ErrorOf([&] { LoadGraph(la, file); }), LoadError(file));
    ExpectEmptyEngine(la);
    EXPECT_EQ(la.Settings.GraphSearchMethod, SearchMethod::SourceToDestination);
    EXPECT_TRUE(la.Settings.EnableDelay);
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedDocument,
                         ::testing::Values("bad-signature.plm", "link-to-node-7.plm",
                                           "unknown-kind.plm", "truncated.plm",
                                           "huge-node-count.plm", "huge-link-count.plm",
                                           "negative-count.plm", "no-such-file.plm", ""));

TEST_F(DocumentFileTest, EveryTruncationAndAFifoAreRefused) {
    const std::string file = dir.File("cut.plm");
    for (const char* name : {"two-nodes.plm", "settings-and-ranges.plm"}) {
        const std::string whole = ReadBytes(DataPath(std::string("documents/") + name));
        for (std::size_t length = 0; length < whole.size(); ++length) {
            WriteBytes(file, whole.substr(0, length));
            clsLA loaded;
            EXPECT_EQ(ErrorOf([&] { LoadGraph(loaded, file); }), LoadError(file))
                << name << " cut to " << length;
            EXPECT_EQ(loaded.Graph().NodeCount(), 0);
            EXPECT_EQ(loaded.Ranges().RangeCount(), 0);
        }
    }
    // Without waiting for a writer.
    const std::string fifo = dir.File("pipe.plm");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { LoadGraph(la, fifo); }), LoadError(fifo));
}

TEST_F(DocumentFileTest, FailedSavesLeaveTheOldFileIntact) {
    const std::string file = dir.File("doc.plm");
    WriteBytes(file, std::string(1000, 'x'));
    SaveGraph(la, file); // over a longer file: no tail
    EXPECT_EQ(ReadBytes(file), ReadBytes(DataPath("documents/empty.plm")));

    const std::string old = ReadBytes(DataPath("documents/two-nodes.plm"));
    WriteBytes(file, old);
    // A link without an end cannot be written: the save fails after the nodes were written.
    AddNodes(la.Graph(), {"A", "B"});
    la.Graph().AppendLink().FromNode = &la.Graph().Node(1);
    EXPECT_EQ(ErrorOf([&] { SaveGraph(la, file); }), SaveError);
    EXPECT_EQ(ReadBytes(file), old);

    ::mkdir(dir.File("folder").c_str(), 0755);
    clsLA fresh;
    for (const std::string& target :
         {dir.File("folder"), dir.File("missing/doc.plm"), std::string()})
        EXPECT_EQ(ErrorOf([&] { SaveGraph(fresh, target); }), SaveError) << target;
    EXPECT_EQ(dir.Listing(), "doc.plm folder");
}

TEST_F(DocumentFileTest, ClearKeepsTheRunChoicesOnly) {
    BuildTwoNodes(la);
    la.Ranges().AddRange(0.0f, 1.0f, 0.5f);
    la.Settings.Model = 1;
    la.Settings.ModelType = 2;
    la.Settings.Reward = 0.5f;
    la.Settings.Penalty = 0.25f;
    la.Settings.LearningFactor = 0.125f;
    la.Settings.GraphSearchMethod = SearchMethod::ReadFromFile;
    la.Settings.FilePath = "/tmp/p.txt";
    la.Settings.EnableDelay = true;
    la.Settings.sourceNode = 1;
    la.Settings.DestNode = 2;
    la.Clear();
    ExpectEmptyEngine(la);
    EXPECT_EQ(la.Settings.GraphSearchMethod, SearchMethod::ReadFromFile);
    EXPECT_EQ(la.Settings.FilePath, "/tmp/p.txt");
    EXPECT_TRUE(la.Settings.EnableDelay);
    // The chosen nodes were nodes of the emptied graph.
    EXPECT_EQ(la.Settings.sourceNode, -1);
    EXPECT_EQ(la.Settings.DestNode, -1);
}

} // namespace
