#include "Latin1.h"
#include "PathloomError.h"
#include "RunRecord.h"
#include "TestGraphs.h"
#include "clsLA.h"
#include "clsPathFile.h"

#include <cctype>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utility>

using TestGraphs::AddLink;
using TestGraphs::AddNodes;
using TestGraphs::DataPath;
using TestGraphs::TempDir;
using TestGraphs::WriteBytes;

namespace {

using Tokens = std::vector<std::pair<int32_t, std::string>>;

Tokens ReadAll(const std::string& bytes) {
    clsPathFile reader;
    reader.LoadText(bytes);
    Tokens tokens;
    std::u32string token;
    int32_t type = TokenKind::None;
    do {
        reader.ReadToken(token, type);
        tokens.emplace_back(type, Latin1::FromWide(token).value_or("?"));
    } while (type != TokenKind::EndOfText && type != TokenKind::EmptyFile && tokens.size() < 50);
    return tokens;
}

TEST(clsPathFile, ReadsTheTokensInOrder) {
    const std::pair<const char*, Tokens> cases[] = {
        {"{A,B}", {{0, "{"}, {2, "A"}, {6, ","}, {2, "B"}, {1, "}"}, {4, ""}}},
        {" {\tlong label\r\n}", {{0, "{"}, {2, "long"}, {2, "label"}, {1, "}"}, {4, ""}}},
        {"", {{5, ""}}},
        {" \r\n", {{4, ""}}},
        {"tail", {{2, "tail"}, {4, ""}}},
        {"a}{b", {{2, "a"}, {1, "}"}, {0, "{"}, {2, "b"}, {4, ""}}},
        {"(x)->y", {{2, "(x)->y"}, {4, ""}}},
        {"\xC3\x84\xC3\xA9", {{2, "\xC4\xE9"}, {4, ""}}}, // UTF-8
        {"\xC4\xE9", {{2, "\xC4\xE9"}, {4, ""}}},         // not UTF-8: Latin-1
        {"\xEF\xBB\xBF{", {{0, "{"}, {4, ""}}},           // byte order mark
        {"\xE2\x82\xAC,", {{2, "?"}, {6, ","}, {4, ""}}}, // outside Latin-1
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ReadAll(text), expected) << text;
    clsPathFile reader; // a folder is not a file
    EXPECT_THROW(reader.Load(DataPath("paths")), PathloomError);
}

const char* const NotFound = "Not found any path.";

// A, B, C, ä and ?, joined by A-B, B-C, C->A, ä<->B and ?-B.
class PathFileRun : public ::testing::Test {
  protected:
    void SetUp() override {
        AddNodes(g(), {"A", "B", "C", "\xE4", "?"});
        AddLink(g(), "A", "B", LinkKind::Simple).SetProbability(0.5f);
        AddLink(g(), "B", "C", LinkKind::Simple).SetProbability(0.5f);
        AddLink(g(), "C", "A", LinkKind::Unidirectional);
        AddLink(g(), "\xE4", "B", LinkKind::Bidirectional).SetProbability(0.5f);
        AddLink(g(), "?", "B", LinkKind::Simple).SetProbability(0.5f);
    }
    clsGraph& g() { return la.Graph(); }
    void Choose(const std::string& file) {
        la.Settings.GraphSearchMethod = SearchMethod::ReadFromFile;
        la.Settings.FilePath = file;
    }
    const RunRecord& Run(const std::string& file, const RunOptionsForTest& options = {}) {
        Choose(file);
        return run = RunToEnd(la, options);
    }
    clsLA la;
    RunRecord run;
};

// A FIFO would block the run for ever, /dev/zero would fill the memory.
TEST_F(PathFileRun, OnlyRegularFilesAreRead) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    for (const std::string& file : {dir.File("fifo"), std::string("/dev/zero")}) {
        EXPECT_EQ(Run(file).Messages(),
                  (std::vector<std::string>{"Could not read file: " + file, NotFound}));
    }
}

struct FileCase {
    const char* file;
    std::vector<std::string> traces;
    std::vector<std::string> messages;
};

class PathFiles : public PathFileRun, public ::testing::WithParamInterface<FileCase> {};

TEST_P(PathFiles, LearnFromThePathsAndReportTheFirstFault) {
    const std::string file = GetParam().file;
    Run(file[0] == '/' ? file : DataPath("paths/" + file));
    EXPECT_EQ(run.traces, GetParam().traces);
    EXPECT_EQ(run.Messages(), GetParam().messages);
    // The mode reports its own errors and then ends as a run ends: nothing stays flagged.
    for (int32_t j = 1; j <= g().LinkCount(); ++j)
        EXPECT_FALSE(g().Link(j).Flag);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PathFiles,
    ::testing::Values(
        FileCase{"two-paths.txt", {"A->B:", "B->C:"}, {}},
        FileCase{"example.txt", {"A->B:B->C:", "C->A:"}, {}},
        FileCase{"unidirectional-forward.txt", {"C->A:"}, {}},
        FileCase{
            "unidirectional-backward.txt", {}, {"The following link not found.\r\nA->C", NotFound}},
        FileCase{"letter-case.txt", {"A->B:", "B->C:"}, {}},
        FileCase{"latin1.txt", {"\xE4->B:"}, {}}, FileCase{"utf8.txt", {"\xE4->B:"}, {}},
        FileCase{"utf8-bom.txt", {"A->B:"}, {}},
        // The Cyrillic letter is shown as "?" but does not match the node labelled "?".
        FileCase{
            "outside-latin1.txt", {}, {"The following link not found.\r\n\xD0\x96->B", NotFound}},
        FileCase{"missing-brace.txt", {"A->B:"}, {"Syntax error:\r\n"}},
        FileCase{"empty.txt", {}, {"Syntax error:\r\n", NotFound}},
        FileCase{"blank.txt", {}, {"Syntax error:\r\n", NotFound}},
        FileCase{"trailing-text.txt", {"A->B:"}, {"Syntax error:\r\nx"}},
        FileCase{"single-label.txt", {""}, {}},
        FileCase{"double-comma.txt", {}, {"Syntax error:\r\n,", NotFound}},
        FileCase{"missing-open.txt", {}, {"Syntax error:\r\nA", NotFound}},
        FileCase{"repeated-link.txt", {"A->B:A->B:"}, {}},
        FileCase{"labels-touch-delimiters.txt", {"A->B:", "B->C:"}, {}},
        FileCase{
            "/nonexistent/paths.txt", {}, {"File not found: /nonexistent/paths.txt", NotFound}}),
    [](const ::testing::TestParamInfo<FileCase>& info) {
        std::string name;
        for (const char* c = info.param.file; *c && *c != '.'; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

TEST_F(PathFileRun, DuplicateLabelsRefuseTheRunAfterTheReset) {
    g().Node(5).SetLabel("b");
    g().Link(3).Probability = 0.9f;
    g().Link(1).Flag = true;
    Run(DataPath("paths/two-paths.txt"));
    EXPECT_EQ(run.Messages(), (std::vector<std::string>{"There are Two nodes or more nodes with "
                                                        "same label. Please change them lables."}));
    EXPECT_TRUE(run.traces.empty());
    // The run had started: probabilities and flags were reset before the check.
    EXPECT_EQ(g().Link(3).Probability, 0.5f);
    EXPECT_FALSE(g().Link(1).Flag);
}

TEST_F(PathFileRun, PathsAreLearnedFromAndPauses) {
    la.Settings.Reward = 0.5f;
    la.Settings.EnableDelay = true;
    Choose(DataPath("paths/unidirectional-forward.txt"));
    RunSession session(la.Graph(), la.Ranges(), la.Settings);
    ASSERT_EQ(session.Step(1000), RunState::Paused);
    // C leaves by B-C and C->A: C->A starts at 0.5 and is rewarded; B-C, stored from B, is not
    // its sibling.
    EXPECT_EQ(g().Link(3).Probability, 0.75f);
    EXPECT_EQ(g().Link(2).Probability, 0.5f);
    session.ShowPath();
    for (int32_t j = 1; j <= g().LinkCount(); ++j)
        EXPECT_EQ(g().Link(j).Flag, j == 3);
    // Stopped at the first pause: one path, and no "Not found any path.".
    Run(DataPath("paths/two-paths.txt"), {1000, false, 0});
    EXPECT_EQ(run.traces, (std::vector<std::string>{"A->B:"}));
    EXPECT_TRUE(run.Messages().empty());
}

TEST_F(PathFileRun, The32768thPathIsAnOverflow) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < 32768; ++i)
        text += "{A,B}\n";
    WriteBytes(dir.File("many.txt"), text);
    Run(dir.File("many.txt"));
    EXPECT_EQ(run.pathCount, 32767);
    EXPECT_EQ(run.Messages(),
              (std::vector<std::string>{
                  "Overflow\r\nThe run stopped because a run counts at most 32,767 paths."}));
}

} // namespace
