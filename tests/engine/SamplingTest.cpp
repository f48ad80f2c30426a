// Sampled runs: the random numbers against their published outputs, one sample worked by hand,
// reproducibility from the seed, the target, and what learning reaches on a small grid.
#include "PathSampler.h"
#include "Random.h"
#include "RunSession.h"
#include "TestGraphs.h"
#include "WalkIndex.h"
#include "clsLA.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace TestGraphs;

namespace {

// Everything a sampled run tells, to compare two runs.
struct SampleRecord {
    std::vector<std::string> traces;
    std::vector<int64_t> sampleOfPath;
    std::vector<double> bestProbability;
    std::vector<float> finalProbabilities;
    std::string best;
    int64_t samples = 0, deadEnds = 0, convergedAt = 0;
    RunState state = RunState::Running;
    bool operator==(const SampleRecord& o) const {
        return traces == o.traces && sampleOfPath == o.sampleOfPath &&
               bestProbability == o.bestProbability && finalProbabilities == o.finalProbabilities &&
               samples == o.samples && deadEnds == o.deadEnds && convergedAt == o.convergedAt;
    }
};

class Recorder : public RunObserver {
  public:
    explicit Recorder(SampleRecord& record) : record_(record) {}
    void PathLearned(const LearnedPath& path) override {
        record_.traces.push_back(path.links.Trace());
        record_.sampleOfPath.push_back(path.sample);
        record_.bestProbability.push_back(path.bestProbability);
    }

  private:
    SampleRecord& record_;
};

RunSettings Sampling(const clsGraph& graph, const char* from, const char* to, int64_t samples,
                     uint64_t seed = 1) {
    RunSettings s;
    s.GraphSearchMethod = SearchMethod::Sample;
    s.Model = 0;
    s.ModelType = Scheme::LRI;
    s.Reward = 0.1f;
    s.sourceNode = IndexOf(graph, from);
    s.DestNode = IndexOf(graph, to);
    s.Samples = samples;
    s.Seed = seed;
    return s;
}

SampleRecord Sample(clsLA& la, const RunSettings& settings,
                    int64_t budget = std::numeric_limits<int64_t>::max()) {
    SampleRecord record;
    RunSession session(la.Graph(), la.Ranges(), settings);
    Recorder recorder(record);
    session.AddObserver(recorder);
    while (session.Step(budget) == RunState::Running) {
    }
    record.state = session.State();
    record.samples = session.Samples();
    record.deadEnds = session.DeadEnds();
    record.convergedAt = session.ConvergedAt();
    record.best = session.BestTrace();
    for (int32_t j = 1; j <= la.Graph().LinkCount(); ++j)
        record.finalProbabilities.push_back(la.Graph().Link(j).Probability);
    return record;
}

// 4 x 4 nodes "nRC" with links right and down whose uneven weights make one path from corner to
// corner the cheapest (cost 9; the next cost 12). Simple links get probability 0.25, so that
// a sample can go back and run into a dead end; unidirectional ones have 1 / out-degree.
void Grid(clsGraph& graph, int32_t kind) {
    const auto name = [](int r, int c) { return "n" + std::to_string(r) + std::to_string(c); };
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            graph.AddNode(c * 60, r * 60);
            graph.Node(graph.NodeCount()).SetLabel(name(r, c));
        }
    }
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (c + 1 < 4)
                AddLink(graph, name(r, c), name(r, c + 1), kind, float(1 + (7 * r + 3 * c) % 5))
                    .SetProbability(0.25f);
            if (r + 1 < 4)
                AddLink(graph, name(r, c), name(r + 1, c), kind, float(1 + (2 * r + 5 * c) % 6))
                    .SetProbability(0.25f);
        }
    }
}

} // namespace

TEST(Sampling, RandomNumbersMatchThePublishedOutputs) {
    SplitMix64 spread(1234567);
    for (const uint64_t expected : {0x599ED017FB08FC85u, 0x2C73F08458540FA5u, 0x883EBCE5A3F27C77u,
                                    0x3FBEF740E9177B3Fu, 0xE3B8346708CB5ECDu})
        EXPECT_EQ(spread.Next(), expected);

    Xoshiro256StarStar random(0);
    random.state[0] = 1;
    random.state[1] = 2;
    random.state[2] = 3;
    random.state[3] = 4;
    for (const uint64_t expected :
         {uint64_t{11520}, uint64_t{0}, uint64_t{1509978240}, uint64_t{1215971899390074240},
          uint64_t{1216172134540287360}, uint64_t{607988272756665600}})
        EXPECT_EQ(random.Next(), expected);

    // The state comes from splitmix64 in order, and u takes the top 53 bits.
    Xoshiro256StarStar seeded(7);
    SplitMix64 spread7(7);
    for (const uint64_t word : seeded.state)
        EXPECT_EQ(word, spread7.Next());
    random.state[0] = 1, random.state[1] = 2, random.state[2] = 3, random.state[3] = 4;
    EXPECT_EQ(random.Uniform(), 5 * 0x1.0p-53); // 11520 >> 11
}

TEST(Sampling, PickFollowsTheRunningSum) {
    const struct {
        std::vector<double> weights;
        double u;
        int32_t picked;
    } cases[] = {
        {{0.25, 0.5, 0.25}, 0.0, 0},
        {{0.25, 0.5, 0.25}, 0.25, 1}, // the running sum must exceed u*T
        {{0.25, 0.5, 0.25}, 0.7499, 1},
        {{0.25, 0.5, 0.25}, 0.75, 2},
        {{0.0, 1.0, 0.0}, 0.0, 1},        // a link of probability 0 is never taken
        {{0.1, 0.2}, 1.0 - 0x1.0p-53, 1}, // rounding leaves the last
        {{2.0, 6.0}, 0.3, 1},             // weights need not sum to 1
        {{0.0, 0.0, 0.0}, 0.5, 1},        // T <= 0: floor(u * count)
        {{0.0, 0.0, 0.0}, 0.999, 2},
        {{-1.0, 0.5}, 0.49, 0},
        {{0.0}, 0.9, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PathSampler::Pick(c.weights, c.u), c.picked) << c.u;
}

// Seed 1 draws u = 0.7029, 0.5204, 0.5741, 0.3913, 0.6972, ...
TEST(Sampling, OneSampleWorkedByHand) {
    clsGraph graph;
    AddNodes(graph, {"S", "A", "B", "C", "D"});
    AddLink(graph, "S", "A", LinkKind::Simple).SetProbability(0.25f);
    AddLink(graph, "S", "B", LinkKind::Simple).SetProbability(0.75f);
    AddLink(graph, "B", "A", LinkKind::Simple).SetProbability(0.0f);
    AddLink(graph, "B", "C", LinkKind::Simple).SetProbability(0.0f);
    AddLink(graph, "A", "D", LinkKind::Simple).SetProbability(0.5f);
    AddLink(graph, "D", "C", LinkKind::Unidirectional); // not a way out of C
    WalkIndex index;
    index.Build(graph);
    PathSampler sampler(index, 0, 4, 1);
    int64_t budget = 100;
    // At S, 0.7029 * 1.0 passes 0.25 and lands in S-B; at B both ways have 0 (T <= 0) and
    // floor(0.5204 * 2) = 1 takes B-C; C's only ways lead back or start elsewhere: a dead end.
    EXPECT_EQ(sampler.Next(budget), PathSampler::Event::DeadEnd);
    EXPECT_EQ(sampler.PathLinks(), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(budget, 97);
    // At S 0.5741 takes S-B again, floor(0.3913 * 2) = 0 takes B-A, A's one way left is A-D.
    EXPECT_EQ(sampler.Next(budget), PathSampler::Event::PathFound);
    EXPECT_EQ(sampler.PathLinks(), (std::vector<int32_t>{1, 2, 4}));
    // A budget spent halfway stops between steps and goes on from there: 0.6972 takes S-A.
    budget = 1;
    EXPECT_EQ(sampler.Next(budget), PathSampler::Event::OutOfBudget);
    EXPECT_EQ(sampler.PathLinks(), (std::vector<int32_t>{0}));
}

TEST(Sampling, TheSeedDecidesTheWholeRunWhateverTheBudget) {
    clsLA la;
    Grid(la.Graph(), LinkKind::Simple);
    const RunSettings settings = Sampling(la.Graph(), "n00", "n33", 300);
    const SampleRecord whole = Sample(la, settings);
    EXPECT_EQ(whole.samples, 300);
    EXPECT_GT(whole.deadEnds, 0);
    EXPECT_EQ(whole.traces.size() + whole.deadEnds, 300u);
    for (const int64_t budget : {1, 7})
        EXPECT_TRUE(Sample(la, settings, budget) == whole) << budget;

    RunSettings other = settings;
    other.Seed = 2;
    EXPECT_NE(Sample(la, other).traces, whole.traces);
}

TEST(Sampling, TheTargetStopsTheRunAtTheSampleThatReachesIt) {
    clsLA la;
    Grid(la.Graph(), LinkKind::Simple);
    RunSettings settings = Sampling(la.Graph(), "n00", "n33", 2000);
    const SampleRecord free = Sample(la, settings);
    ASSERT_EQ(free.convergedAt, 0);
    const std::size_t k = free.traces.size() / 2;
    settings.Target = free.bestProbability[k];
    const std::size_t first = static_cast<std::size_t>(
        std::find_if(free.bestProbability.begin(), free.bestProbability.end(),
                     [&](double p) { return p >= *settings.Target; }) -
        free.bestProbability.begin());
    const SampleRecord stopped = Sample(la, settings);
    EXPECT_EQ(stopped.convergedAt, free.sampleOfPath[first]);
    EXPECT_EQ(stopped.samples, stopped.convergedAt);
    EXPECT_EQ(stopped.traces.size(), first + 1);
}

TEST(Sampling, ALineReachesTheTargetAfterAKnownNumberOfPaths) {
    clsLA la;
    AddNodes(la.Graph(), {"A", "B", "C", "D"});
    for (const auto& [from, to] : {std::pair{"A", "B"}, {"B", "C"}, {"C", "D"}})
        AddLink(la.Graph(), from, to, LinkKind::Simple);
    RunSettings settings = Sampling(la.Graph(), "A", "D", 100);
    settings.Reward = 0.5f;
    settings.Target = 0.9;
    // Each link walked n times holds 1 - 0.5^n: (1 - 1/16)^3 < 0.9 <= (1 - 1/32)^3.
    const SampleRecord record = Sample(la, settings);
    EXPECT_EQ(record.state, RunState::Finished);
    EXPECT_EQ(record.convergedAt, 5);
    EXPECT_EQ(record.samples, 5);
    EXPECT_EQ(record.deadEnds, 0);
}

TEST(Sampling, RewardOnlyLearnsTheCheapestPathOfAGridWhereRewardAndPenaltyAlikeNeedNot) {
    clsLA la;
    Grid(la.Graph(), LinkKind::Unidirectional);
    RunSettings settings = Sampling(la.Graph(), "n00", "n33", 5000);
    settings.Target = 0.95;
    const SampleRecord lri = Sample(la, settings);
    EXPECT_GT(lri.convergedAt, 0);
    EXPECT_EQ(lri.best, "n00->n10:n10->n11:n11->n12:n12->n22:n22->n23:n23->n33:");
    EXPECT_LE(lri.convergedAt, 5000);

    settings.ModelType = Scheme::LRP;
    settings.Penalty = settings.Reward;
    EXPECT_EQ(Sample(la, settings).convergedAt, 0);
}

TEST(Sampling, SessionCountsAndRefusals) {
    clsLA la;
    AddNodes(la.Graph(), {"A", "B", "C"});
    AddLink(la.Graph(), "A", "B", LinkKind::Simple);
    // C cannot be reached: every sample is a dead end, and the run says it found no path.
    RunSettings settings = Sampling(la.Graph(), "A", "C", 40);
    RunSession session(la.Graph(), la.Ranges(), settings);
    EXPECT_EQ(session.Step(1000), RunState::Finished);
    EXPECT_EQ(session.DeadEnds(), 40);
    EXPECT_TRUE(session.NotFound());
    EXPECT_EQ(session.BestTrace(), "");

    const struct {
        int64_t samples;
        std::optional<double> target;
        const char* message;
    } refusals[] = {
        {0, std::nullopt, "The number of samples must be from 1 to 2000000000."},
        {2000000001, std::nullopt, "The number of samples must be from 1 to 2000000000."},
        {10, 0.0, "The target probability must be above 0 and at most 1."},
        {10, 1.5, "The target probability must be above 0 and at most 1."},
        {10, std::nan(""), "The target probability must be above 0 and at most 1."},
    };
    for (const auto& r : refusals) {
        settings.Samples = r.samples;
        settings.Target = r.target;
        const auto refusal = settings.Validate(la.Graph());
        ASSERT_TRUE(refusal) << r.samples;
        EXPECT_EQ(refusal->message, r.message);
    }
    settings.Samples = 2000000000;
    settings.Target = 1.0;
    EXPECT_FALSE(settings.Validate(la.Graph()));
}
