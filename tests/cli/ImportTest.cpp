// Graphs made elsewhere through pathloom-run: imported by their extension, run, swept, and
// written out again.
#include "DocumentFile.h"
#include "GraphFormats.h"
#include "RunnerFixture.h"
#include "clsLA.h"

namespace {

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

    // The file's probabilities are where every run starts: without reward they stay.
    Run("D/formats/nx-undirected.graphml --method dest --source s --dest w --reward 0");
    EXPECT_NE(out.find("\ts\tv\tsimple\t0.5\t0.125\n"), std::string::npos) << out;
    // What is left out is listed, and the run goes on.
    EXPECT_EQ(Run("D/formats/missing-endpoint.graphml"), 0);
    EXPECT_NE(err.find("is left out: there is no node 'nowhere'"), std::string::npos) << err;
}

} // namespace
