#include "Runner.h"

#include "DocumentFile.h"
#include "MiniJson.h"
#include "ValidationCases.h"
#include "clsLA.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class RunnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("pathloom-cli-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    void WriteText(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }

    // A triangle A-B, B-C, A-C of simple links weighing 1, 1 and 3, probabilities 0.5.
    std::string Triangle(int linkKind = 0) const {
        clsLA la;
        la.Settings.Reward = 0.1f;
        la.Settings.Penalty = 0.1f;
        clsGraph& g = la.Graph();
        for (const char* label : {"A", "B", "C"}) {
            g.AddNode(g.NodeCount() * 100, 0);
            g.Node(g.NodeCount()).SetLabel(label);
        }
        const int ends[3][2] = {{1, 2}, {2, 3}, {1, 3}};
        const float weights[3] = {1, 1, 3};
        for (int i = 0; i < 3; ++i) {
            g.AddLink(ends[i][0], ends[i][1], linkKind);
            g.Link(i + 1).Weight = weights[i];
            if (linkKind != 1)
                g.Link(i + 1).SetProbability(0.5f);
        }
        const std::string path = Path("triangle.plm");
        SaveGraph(la, path);
        return path;
    }

    int Run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return RunPathloom(args, out_, err_, nullptr);
    }

    JsonValue RunJson(std::vector<std::string> args, int expectedStatus) {
        args.push_back("--json");
        EXPECT_EQ(Run(args), expectedStatus) << err_.str();
        return ParseJson(out_.str());
    }

    fs::path dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(RunnerTest, UsageErrorsExitWithTwo) {
    const std::string doc = Triangle();
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{doc, "--method", "dest", "--source", "Z", "--dest", "B"}, "no node labelled 'Z'"},
        {{doc, "--method", "all", "--source", "#4"}, "no node #4"},
        {{doc, "--method", "all", "--source", "#0"}, "no node #0"},
        {{doc, "--method", "file"}, "--paths"},
        {{doc, "--scheme", "LREP", "--reward", "0.1", "--penalty", "0.1"},
         "In LR(E)P type, Penalty value must be less than Reward value."},
        {{doc, "--reward", "x"}, "not a number"},
        {{doc, "--what"}, "unknown option"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), ExitStatus::Usage) << c.message;
        EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
        EXPECT_EQ(out_.str(), "");
    }
    // With --json the refusal is one JSON object too.
    const JsonValue json = RunJson({doc, "--method", "all"}, ExitStatus::Usage);
    EXPECT_EQ(json["status"].text, "error");
    EXPECT_EQ(json["message"].text, "Please select source node.");
}

// The rules every run obeys, as the options dialog applies them; a text that is no number
// cannot reach them here.
TEST_F(RunnerTest, TheRulesOfARun) {
    clsLA la;
    for (const char* label : {"A", "B", "A"}) {
        la.Graph().AddNode(0, 0);
        la.Graph().Node(la.Graph().NodeCount()).SetLabel(label);
    }
    SaveGraph(la, Path("aba.plm"));
    const char* const schemes[] = {"LRP", "LREP", "LRI"};
    const char* const methods[] = {"all", "dest", "file"};
    for (const ValidationCase& c : ValidationTable::Cases) {
        if (!std::isfinite(c.reward) || !std::isfinite(c.penalty) || !std::isfinite(c.factor))
            continue;
        std::vector<std::string> args = {
            Path("aba.plm"),          "--scheme",  schemes[c.scheme],         "--reward",
            std::to_string(c.reward), "--penalty", std::to_string(c.penalty), "--factor",
            std::to_string(c.factor), "--method",  methods[c.method],         "--paths",
            Path("none.txt")};
        if (c.source > 0)
            args.insert(args.end(), {"--source", "#" + std::to_string(c.source)});
        if (c.dest > 0)
            args.insert(args.end(), {"--dest", "#" + std::to_string(c.dest)});
        const int status = Run(args);
        if (*c.message)
            EXPECT_EQ(err_.str(), std::string("pathloom-run: ") + c.message + "\n") << c.name;
        else
            EXPECT_NE(status, ExitStatus::Usage) << c.name << ": " << err_.str();
    }
}

TEST_F(RunnerTest, UnloadableDocumentExitsWithThree) {
    WriteText("broken.plm", "WOVEN-GRAPHX\0\0");
    const std::string path = Path("broken.plm");
    EXPECT_EQ(Run({path}), ExitStatus::LoadFailed);
    EXPECT_EQ(err_.str(), "'" + path + "' could not be loaded.\n");
    const JsonValue json = RunJson({Path("missing.plm")}, ExitStatus::LoadFailed);
    EXPECT_EQ(json["status"].text, "error");
    EXPECT_EQ(json["message"].text, "'" + Path("missing.plm") + "' could not be loaded.");
    EXPECT_EQ(json["pathCount"].number, 0);
}

TEST_F(RunnerTest, SourceToDestinationLearnsBothPathsInOrder) {
    const JsonValue json =
        RunJson({Triangle(), "--method", "dest", "--source", "a", "--dest", "c"}, ExitStatus::Ok);
    EXPECT_EQ(json["status"].text, "ok");
    EXPECT_EQ(json["message"].kind, JsonValue::Kind::Null);
    EXPECT_EQ(json["pathCount"].number, 2);
    ASSERT_EQ(json["paths"].items.size(), 2u);
    EXPECT_EQ(json["paths"][0]["n"].number, 1);
    EXPECT_EQ(json["paths"][0]["trace"].text, "A->B:B->C:");
    EXPECT_EQ(json["paths"][0]["cost"].text, "2");
    EXPECT_EQ(json["paths"][1]["trace"].text, "A->C:");
    EXPECT_EQ(json["paths"][1]["cost"].text, "3");
    // First path rewarded (a = 0.1), the dearer second one penalised (b = 0.1, r = 2).
    const JsonValue& links = json["links"];
    ASSERT_EQ(links.items.size(), 3u);
    EXPECT_FLOAT_EQ(static_cast<float>(links[0]["probability"].number), 0.595f);
    EXPECT_FLOAT_EQ(static_cast<float>(links[1]["probability"].number), 0.55f);
    EXPECT_FLOAT_EQ(static_cast<float>(links[2]["probability"].number), 0.405f);
    EXPECT_EQ(links[2]["from"].text, "A");
    EXPECT_EQ(links[2]["to"].text, "C");
    EXPECT_EQ(links[2]["type"].number, 0);
    EXPECT_EQ(links[2]["weight"].text, "3");
    EXPECT_EQ(links[0]["index"].number, 1);
}

TEST_F(RunnerTest, IncludeAllNodesAndNotFound) {
    const JsonValue all =
        RunJson({Triangle(), "--method", "all", "--source", "#1"}, ExitStatus::Ok);
    ASSERT_EQ(all["paths"].items.size(), 2u);
    EXPECT_EQ(all["paths"][0]["trace"].text, "A->B:B->C:");
    EXPECT_EQ(all["paths"][1]["trace"].text, "A->C:B->C:");

    // Unidirectional links lead nowhere from C.
    const JsonValue none =
        RunJson({Triangle(1), "--method", "all", "--source", "C"}, ExitStatus::Ok);
    EXPECT_EQ(none["status"].text, "not-found");
    EXPECT_EQ(none["message"].kind, JsonValue::Kind::Null);
    EXPECT_EQ(none["pathCount"].number, 0);
    EXPECT_TRUE(none["paths"].items.empty());
}

TEST_F(RunnerTest, PathFileErrorsKeepThePathsLearnedBefore) {
    const std::string doc = Triangle();
    const struct {
        const char* file;
        const char* message;
        double paths;
    } cases[] = {
        {"{A,B}\n{b,c}\n{A,C", "Syntax error:\r\n", 2},
        {"{A,B}\n{A,B,C,A,D}", "The following link not found.\r\nA->D", 1},
        {"{A B}", "Syntax error:\r\nB", 0},
    };
    for (const auto& c : cases) {
        WriteText("paths.txt", c.file);
        const JsonValue json =
            RunJson({doc, "--method", "file", "--paths", Path("paths.txt")}, ExitStatus::RunError);
        EXPECT_EQ(json["status"].text, "error");
        EXPECT_EQ(json["message"].text, c.message);
        EXPECT_EQ(json["pathCount"].number, c.paths);
        EXPECT_EQ(json["paths"].items.size(), static_cast<std::size_t>(c.paths));
    }
    const JsonValue missing =
        RunJson({doc, "--method", "file", "--paths", Path("nowhere.txt")}, ExitStatus::RunError);
    EXPECT_EQ(missing["status"].text, "error");
    EXPECT_FALSE(missing["message"].text.empty());
}

TEST_F(RunnerTest, SchemeRulesAndSaveKeepTheLearnedProbabilities) {
    const std::string doc = Triangle(2); // bidirectional
    const std::string out = Path("out.plm");
    EXPECT_EQ(Run({doc, "--method", "dest", "--source", "A", "--dest", "C", "--scheme", "LRI",
                   "--reward", "0.5", "--penalty", "0.4", "--save", out, "--quiet"}),
              ExitStatus::Ok);
    EXPECT_EQ(out_.str().find("A->B:B->C:"), std::string::npos) << "quiet prints no paths";
    clsLA la;
    LoadGraph(la, out);
    EXPECT_EQ(la.Settings.ModelType, 2);
    EXPECT_EQ(la.Settings.Reward, 0.5f);
    EXPECT_EQ(la.Settings.Penalty, 0.0f);
    // LRI: the reward of the first path stays, the unfavourable second changes nothing.
    EXPECT_FLOAT_EQ(la.Graph().Link(1).Probability, 0.75f);
    EXPECT_FLOAT_EQ(la.Graph().Link(2).Probability, 0.75f);
    EXPECT_FLOAT_EQ(la.Graph().Link(3).Probability, 0.25f);

    // LRP mirrors the reward into the penalty.
    EXPECT_EQ(Run({doc, "--scheme", "LRP", "--reward", "0.3", "--save", out}), ExitStatus::Ok);
    LoadGraph(la, out);
    EXPECT_EQ(la.Settings.Penalty, 0.3f);
}

TEST_F(RunnerTest, HumanOutputSummaryRunAndFailedSave) {
    const std::string doc = Triangle();
    EXPECT_EQ(Run({doc}), ExitStatus::Ok);
    EXPECT_NE(out_.str().find("nodes: 3\nlinks: 3\nranges: 0\nmodel: P-Model\nscheme: LRP\n"),
              std::string::npos)
        << out_.str();
    const JsonValue json = RunJson({doc}, ExitStatus::Ok);
    EXPECT_EQ(json["pathCount"].number, 0);
    EXPECT_EQ(json["settings"]["reward"].text, "0.1");
    EXPECT_EQ(json["links"][1]["probability"].text, "0.5");

    EXPECT_EQ(Run({doc, "--save", Path("no-such-folder/x.plm")}), ExitStatus::RunError);
    EXPECT_NE(out_.str().find("Error saving graph."), std::string::npos);

    // A run lists its paths, links and status.
    EXPECT_EQ(Run({doc, "--method", "dest", "--source", "A", "--dest", "C"}), ExitStatus::Ok);
    const std::string text = out_.str();
    EXPECT_EQ(text.rfind("1\tA->B:B->C:\t2\n2\tA->C:\t3\n", 0), 0u) << text;
    EXPECT_NE(text.find("3\tA\tC\tsimple\t3\t0.405"), std::string::npos) << text;
    EXPECT_NE(text.find("paths: 2\nstatus: ok\n"), std::string::npos) << text;

    // Labels reach a terminal escaped: they can neither break the table nor command it.
    clsLA la;
    LoadGraph(la, doc);
    la.Graph().Node(1).SetLabelz({'A', '\t', '\x1b', 'c', '\0'});
    SaveGraph(la, doc);
    EXPECT_EQ(Run({doc}), ExitStatus::Ok);
    EXPECT_NE(out_.str().find("1\tA\\t\\x1bc\tB\tsimple"), std::string::npos) << out_.str();
}

// What the program does as a process: its exit status and its two streams.
TEST_F(RunnerTest, ProcessOutputAndStatus) {
    const std::string doc = Triangle();
    const struct {
        std::string redirected; // arguments and redirections after the program
        int status;
        std::string err; // expected within standard error
        std::string out; // expected at the start of standard output
    } cases[] = {
        {"'" + doc + "' --json > /dev/full", ExitStatus::OutputFailed, "could not be written", ""},
        {"'" + doc + "' >&-", ExitStatus::OutputFailed, "could not be written", ""},
        // A file name is the file system's bytes, shown as they are.
        {"'" +
             Path("\xC3\xBC"
                  "ber.plm") +
             "'",
         ExitStatus::LoadFailed,
         "'" +
             Path("\xC3\xBC"
                  "ber.plm") +
             "' could not be loaded.",
         ""},
        {"'" + doc + "' --help", ExitStatus::Ok, "", "usage: pathloom-run"},
    };
    for (const auto& c : cases) {
        const std::string command =
            std::string("'") + PATHLOOM_RUN + "' " + c.redirected + " 2>'" + Path("err") + "'" +
            (c.status == ExitStatus::OutputFailed ? "" : " >'" + Path("out") + "'");
        WriteText("out", "");
        const int status = std::system(command.c_str());
        EXPECT_EQ(WEXITSTATUS(status), c.status) << c.redirected;
        std::ifstream errFile(Path("err")), outFile(Path("out"));
        const std::string err((std::istreambuf_iterator<char>(errFile)), {});
        const std::string out((std::istreambuf_iterator<char>(outFile)), {});
        EXPECT_NE(err.find(c.err), std::string::npos) << c.redirected << ": " << err;
        EXPECT_EQ(out.rfind(c.out, 0), 0u) << c.redirected << ": " << out;
    }
}

} // namespace
