// The run history: points worked out by hand, the CSV rows, and thinning on long runs.
#include "RunHistory.h"

#include "TestGraphs.h"
#include "clsLA.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

using namespace TestGraphs;

namespace {

// A-B and B-C weigh 1, A-C weighs 3, simple links at 0.5; P-model LRP with reward 0.1 from A to
// C: A-B-C (cost 2) is rewarded, then A-C (cost 3) is penalised.
void Triangle(clsLA& la) {
    Build(la.Graph(), "A B C", "A-B:1:0.5 B-C:1:0.5 A-C:3:0.5");
    la.Settings.Reward = 0.1f;
    la.Settings.GraphSearchMethod = SearchMethod::SourceToDestination;
    la.Settings.sourceNode = 1;
    la.Settings.DestNode = 3;
}

void RunWith(clsLA& la, RunHistory& history) {
    RunSession session(la.Graph(), la.Ranges(), la.Settings);
    session.AddObserver(history);
    while (session.Step(1 << 20) == RunState::Running) {
    }
}

} // namespace

TEST(RunHistory, PointsOfASmallRunWorkedByHand) {
    clsLA la;
    Triangle(la);
    // From A over A-B and A-C; from C the simple links lead back both ways, a unidirectional one
    // would only from its start.
    std::string leaving;
    for (int32_t node : {1, 3})
        for (const RunHistory::Leaving& l : RunHistory::LinksLeaving(la.Graph(), node))
            leaving += std::to_string(l.link) + ">" + std::to_string(l.to) + " ";
    EXPECT_EQ(leaving, "1>2 3>3 2>2 3>1 ");

    RunHistory history(la.Graph(), {1, 3});
    std::ostringstream csv, points;
    history.StreamTo(csv);
    RunWith(la, history);
    for (std::size_t i = 0; i < history.Points().size(); ++i) {
        const RunHistory::Point& p = history.Points()[i];
        points << p.x << " " << p.cost << " " << p.rewarded << " " << p.answer << " " << p.bestCost
               << " " << history.Watched(i, 0) << " " << history.Watched(i, 1) << ", ";
    }
    EXPECT_EQ(points.str(), "1 2 1 0 2 0.55 0.45, 2 3 0 1 2 0.595 0.405, ");
    // A-C penalised to 0.405, its sibling A-B gains 0.1 / (2 - 1) + 0.9 * 0.55.
    EXPECT_EQ(history.Points()[0].bestProbability, double(0.55f) * double(0.55f));
    EXPECT_EQ(history.Points()[1].bestProbability, double(0.595f) * double(0.55f));
    EXPECT_EQ(csv.str(), "n,trace,cost,decision,best cost,best-path probability,A->B,B->C,A->C\n"
                         "1,A->B:B->C:,2,0,2,0.302500013113022,0.55,0.55,0.45\n"
                         "2,A->C:,3,1,2,0.3272500228285793,0.595,0.55,0.405\n");
}

TEST(RunHistory, RepeatedNamesQuotingAndTheRowLimit) {
    clsLA la;
    Build(la.Graph(), "A A B\"q", "");
    la.Graph().AddLink(1, 3, LinkKind::Simple);
    la.Graph().AddLink(2, 3, LinkKind::Simple);
    la.Settings.GraphSearchMethod = SearchMethod::IncludeAllNodes;
    la.Settings.sourceNode = 1;
    RunHistory history(la.Graph(), {});
    std::ostringstream csv;
    history.StreamTo(csv, 0);
    RunWith(la, history);
    EXPECT_EQ(csv.str(), "n,trace,cost,decision,best cost,best-path probability,"
                         "\"A->B\"\"q #1\",\"A->B\"\"q #2\"\n");
    EXPECT_TRUE(history.Truncated());
    EXPECT_EQ(history.PathCount(), 1);
}

TEST(RunHistory, ALongRunKeepsEvenlySpacedPointsAndTheLatest) {
    clsLA la;
    Build(la.Graph(), "A B", "A-B");
    la.Settings.GraphSearchMethod = SearchMethod::Sample;
    la.Settings.sourceNode = 1;
    la.Settings.DestNode = 2;
    la.Settings.Samples = 100;
    RunHistory history(la.Graph(), {1}, 8);
    RunWith(la, history);
    EXPECT_EQ(history.PathCount(), 100);
    std::vector<int64_t> xs;
    for (const auto& point : history.Points())
        xs.push_back(point.x);
    EXPECT_EQ(xs, (std::vector<int64_t>{16, 32, 48, 64, 80, 96, 100}));
}

// The window keeps rows as changes and writes them when saved: the very bytes of the stream, for
// every row limit, and while more rows are kept. A history thinned to a few points works out its
// latest point's best-path probability only when taken: the same as one that keeps every point.
TEST(RunHistory, KeptRowsAreWrittenAsTheStreamWritesThem) {
    clsLA la;
    Build(la.Graph(), "A B C D", "A-B:1:0.5 B-C:1:0.5 A-C:3:0.5 C-D:2:1 B-D:4:0.5");
    la.Settings.GraphSearchMethod = SearchMethod::Sample;
    la.Settings.Reward = 0.05f;
    la.Settings.sourceNode = 1;
    la.Settings.DestNode = 4;
    la.Settings.Samples = 200;
    for (const int64_t limit : {-1, 0, 1, 37}) {
        RunHistory streamed(la.Graph(), {}), kept(la.Graph(), {}), thinned(la.Graph(), {}, 4);
        std::ostringstream csv;
        streamed.StreamTo(csv, limit);
        kept.KeepRows(limit);
        RunSession session(la.Graph(), la.Ranges(), la.Settings);
        session.AddObserver(streamed);
        session.AddObserver(kept);
        session.AddObserver(thinned);
        const auto sameLatest = [&] {
            const RunHistory::Point& latest = thinned.Taken(session).points.back();
            EXPECT_EQ(latest.x, streamed.Points().back().x);
            EXPECT_EQ(latest.bestProbability, streamed.Points().back().bestProbability);
            EXPECT_EQ(latest.bar, streamed.Points().back().bar);
        };
        std::ostringstream halfway;
        session.Step(40);
        sameLatest();
        kept.WriteKeptRows(halfway, kept.Kept().rows);
        EXPECT_EQ(csv.str().substr(0, halfway.str().size()), halfway.str()) << limit;
        while (session.Step(1 << 20) == RunState::Running) {
        }
        sameLatest();
        std::ostringstream written;
        kept.WriteKeptRows(written, kept.Kept().rows);
        EXPECT_EQ(written.str(), csv.str()) << limit;
        EXPECT_EQ(kept.Truncated(), streamed.Truncated()) << limit;
    }
}

// The curve's threshold and preferred path on the triangle, worked by hand: A-B-C (cost 2) is
// rewarded, A-C (cost 3) penalised under both thresholds; the mean after them is 2.5. From A the
// preferred path takes A-B (0.55, then 0.595), then B-C (0.55); only the mean threshold makes the
// run an experiment that has one.
TEST(RunHistory, PointsCarryTheThresholdAndThePreferredPath) {
    const double none = std::numeric_limits<double>::quiet_NaN();
    const struct {
        int32_t threshold;
        std::vector<double> thresholds, preferred;
    } cases[] = {
        {Threshold::Best, {2, 2}, {none, none}},
        {Threshold::Mean,
         {2, 2.5},
         {double(0.55f) * double(0.55f), double(0.595f) * double(0.55f)}},
    };
    for (const auto& c : cases) {
        clsLA la;
        Triangle(la);
        la.Settings.Threshold = c.threshold;
        RunHistory history(la.Graph(), {});
        RunWith(la, history);
        ASSERT_EQ(history.Points().size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            const RunHistory::Point& p = history.Points()[i];
            EXPECT_EQ(p.bar, c.thresholds[i]) << c.threshold;
            if (std::isnan(c.preferred[i]))
                EXPECT_TRUE(std::isnan(p.preferredProbability)) << c.threshold;
            else
                EXPECT_EQ(p.preferredProbability, c.preferred[i]) << c.threshold;
        }
    }
}
