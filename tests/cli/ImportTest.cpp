// Graphs made elsewhere through pathloom-run: imported by their extension, run, swept, and
// written out again.
#include "DocumentFile.h"
#include "GraphFormats.h"
#include "Runner.h"
#include "clsLA.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

const std::string Formats = std::string(PATHLOOM_TEST_DATA) + "/formats/";

struct Result {
    int status;
    std::string out, err;
};

Result Runner(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunPathloom(args, out, err, nullptr);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(ImportedRun, AGraphMadeElsewhereRunsAndGoesOutAgain) {
    const std::string dir = ::testing::TempDir();
    const Result run =
        Runner({Formats + "nx-directed.graphml", "--method", "dest", "--source", "a", "--dest", "c",
                "--save", dir + "run.plm", "--export", dir + "run.csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("paths: 2\nstatus: ok"), std::string::npos) << run.out;
    clsLA saved;
    LoadGraph(saved, dir + "run.plm");
    clsGraph exported;
    GraphFormats::Import(dir + "run.csv", exported);
    for (const clsGraph* g : {&saved.Graph(), &exported}) {
        EXPECT_EQ(g->NodeCount(), 4);
        EXPECT_EQ(g->LinkCount(), 5);
    }
    EXPECT_EQ(exported.Link(1).Probability, saved.Graph().Link(1).Probability);

    // The file's probabilities are where every run starts: without reward they stay.
    const Result still = Runner({Formats + "nx-undirected.graphml", "--method", "dest", "--source",
                                 "s", "--dest", "w", "--reward", "0"});
    EXPECT_NE(still.out.find("\ts\tv\tsimple\t0.5\t0.125\n"), std::string::npos) << still.out;

    const struct {
        std::vector<std::string> args;
        int status;
        const char* err;
    } cases[] = {
        {{Formats + "missing-endpoint.graphml"}, 0, "is left out: there is no node 'nowhere'"},
        {{Formats + "mismatched.graphml"}, 3, "line 4: the end tag '</edge>'"},
        {{Formats + "nx-directed.csv", "--method", "dest", "--source", "a", "--dest", "c",
          "--sweep", "reward=0.1,0.2"},
         0,
         ""},
        {{Formats + "nx-directed.csv", "--export", dir + "out.txt"}, 2, "--export writes"},
    };
    for (const auto& c : cases) {
        const Result result = Runner(c.args);
        EXPECT_EQ(result.status, c.status) << c.args[0];
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    }
}
