// Sampled runs: the random numbers against their published outputs, one sample worked by hand,
// reproducibility from the seed, the target, and what learning reaches on a small grid.
#include "PathSampler.h"
#include "Random.h"
#include "RunSession.h"
#include "TestGraphs.h"
#include "clsLA.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

using namespace TestGraphs;

namespace {

// What a sampled run tells: a line per learned path (sample, trace, best path's probability),
// then the final probabilities.
struct SampleRecord : RunObserver {
    SampleRecord() { log.precision(17); }
    std::ostringstream log;
    std::vector<double> best;
    std::vector<int64_t> at;
    int64_t samples = 0, deadEnds = 0, convergedAt = 0;
    std::string bestTrace;
    void PathLearned(const LearnedPath& path) override {
        log << path.sample << ' ' << path.links.Trace() << ' ' << path.bestProbability << '\n';
        best.push_back(path.bestProbability);
        at.push_back(path.sample);
    }
};

RunSettings Sampling(const clsGraph& graph, const char* from, const char* to, int64_t samples) {
    RunSettings s;
    s.GraphSearchMethod = SearchMethod::Sample;
    s.ModelType = Scheme::LRI;
    s.Reward = 0.1f;
    s.sourceNode = IndexOf(graph, from);
    s.DestNode = IndexOf(graph, to);
    s.Samples = samples;
    return s;
}

std::unique_ptr<SampleRecord> Sample(clsLA& la, const RunSettings& settings,
                                     int64_t budget = INT64_MAX) {
    auto record = std::make_unique<SampleRecord>();
    RunSession session(la.Graph(), la.Ranges(), settings);
    session.AddObserver(*record);
    while (session.Step(budget) == RunState::Running) {
    }
    record->samples = session.Samples();
    record->deadEnds = session.DeadEnds();
    record->convergedAt = session.ConvergedAt();
    record->bestTrace = session.BestTrace();
    for (int32_t j = 1; j <= la.Graph().LinkCount(); ++j)
        record->log << la.Graph().Link(j).Probability << ' ';
    return record;
}

// 4 x 4 nodes named by row and column letter ("aa" to "dd"), links right and down whose
// weights make one path from corner to corner the cheapest (cost 9; the next costs 12). Simple
// links get probability 0.25, so that a sample can turn back into a dead end; unidirectional ones
// have 1 / out-degree.
void Grid(clsGraph& graph, char kind) {
    const auto name = [](int r, int c) { return std::string{char('a' + r), char('a' + c)}; };
    std::string nodes, links;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            nodes += name(r, c) + " ";
            const auto link = [&](int r2, int c2, int weight) {
                links += name(r, c) + kind + name(r2, c2) + ":" + std::to_string(weight) + ":0.25 ";
            };
            if (c < 3)
                link(r, c + 1, 1 + (7 * r + 3 * c) % 5);
            if (r < 3)
                link(r + 1, c, 1 + (2 * r + 5 * c) % 6);
        }
    }
    Build(graph, nodes, links);
}

} // namespace

TEST(Sampling, RandomNumbersMatchThePublishedOutputs) {
    SplitMix64 spread(1234567);
    for (const uint64_t expected : {0x599ED017FB08FC85u, 0x2C73F08458540FA5u, 0x883EBCE5A3F27C77u,
                                    0x3FBEF740E9177B3Fu, 0xE3B8346708CB5ECDu})
        EXPECT_EQ(spread.Next(), expected);

    Xoshiro256StarStar random(0);
    const uint64_t published[] = {
        11520, 0, 1509978240, 1215971899390074240, 1216172134540287360, 607988272756665600};
    random.state[0] = 1, random.state[1] = 2, random.state[2] = 3, random.state[3] = 4;
    for (const uint64_t expected : published)
        EXPECT_EQ(random.Next(), expected);
    random.state[0] = 1, random.state[1] = 2, random.state[2] = 3, random.state[3] = 4;
    EXPECT_EQ(random.Uniform(), 5 * 0x1.0p-53); // the top 53 bits of 11520

    // The state is splitmix64's first four numbers from the seed, in order.
    Xoshiro256StarStar seeded(7);
    SplitMix64 spread7(7);
    for (const uint64_t word : seeded.state)
        EXPECT_EQ(word, spread7.Next());
}

TEST(Sampling, PickFollowsTheRunningSum) {
    const struct {
        std::vector<double> weights;
        double u;
        int32_t picked;
    } cases[] = {
        {{0.25, 0.5, 0.25}, 0.0, 0},    {{0.25, 0.5, 0.25}, 0.25, 1}, // the sum must exceed u*T
        {{0.25, 0.5, 0.25}, 0.7499, 1}, {{0.25, 0.5, 0.25}, 0.75, 2},
        {{0.0, 1.0, 0.0}, 0.0, 1},      {{0.1, 0.2}, 1.0 - 0x1.0p-53, 1}, // rounding: the last
        {{2.0, 6.0}, 0.3, 1},           {{0.0, 0.0, 0.0}, 0.5, 1}, // T <= 0: floor(u * count)
        {{0.0, 0.0, 0.0}, 0.999, 2},    {{-1.0, 0.5}, 0.49, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PathSampler::Pick(c.weights, c.u), c.picked) << c.u;
}

// Seed 1 draws u = 0.7029, 0.5204, 0.5741, 0.3913, 0.6972, ...
TEST(Sampling, OneSampleWorkedByHand) {
    clsGraph graph; // D>C is no way out of C
    Build(graph, "S A B C D", "S-A:1:0.25 S-B:1:0.75 B-A B-C A-D:1:0.5 D>C");
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
    Grid(la.Graph(), '-');
    RunSettings settings = Sampling(la.Graph(), "aa", "dd", 300);
    const auto whole = Sample(la, settings);
    EXPECT_EQ(whole->samples, 300);
    EXPECT_GT(whole->deadEnds, 0);
    EXPECT_EQ(int64_t(whole->at.size()) + whole->deadEnds, 300);
    for (const int64_t budget : {1, 7})
        EXPECT_EQ(Sample(la, settings, budget)->log.str(), whole->log.str()) << budget;
    settings.Seed = 2;
    EXPECT_NE(Sample(la, settings)->log.str(), whole->log.str());
}

TEST(Sampling, TheTargetStopsTheRunAtTheSampleThatReachesIt) {
    clsLA la;
    Grid(la.Graph(), '-');
    RunSettings settings = Sampling(la.Graph(), "aa", "dd", 2000);
    const auto free = Sample(la, settings);
    ASSERT_EQ(free->convergedAt, 0);
    settings.Target = free->best[free->best.size() / 2];
    const auto first = std::find_if(free->best.begin(), free->best.end(),
                                    [&](double p) { return p >= *settings.Target; }) -
                       free->best.begin();
    const auto stopped = Sample(la, settings);
    EXPECT_EQ(stopped->convergedAt, free->at[std::size_t(first)]);
    EXPECT_EQ(stopped->samples, stopped->convergedAt);
    EXPECT_EQ(stopped->at.size(), std::size_t(first) + 1);

    // A line of links walked n times holds 1 - 0.5^n each: (1 - 1/16)^3 < 0.9 <= (1 - 1/32)^3.
    clsLA line;
    Build(line.Graph(), "A B C D", "A-B B-C C-D");
    settings = Sampling(line.Graph(), "A", "D", 100);
    settings.Reward = 0.5f;
    settings.Target = 0.9;
    const auto record = Sample(line, settings);
    EXPECT_EQ(record->convergedAt, 5);
    EXPECT_EQ(record->samples, 5);
}

TEST(Sampling, RewardOnlyLearnsTheCheapestPathOfAGridWhereRewardAndPenaltyAlikeNeedNot) {
    clsLA la;
    Grid(la.Graph(), '>');
    RunSettings settings = Sampling(la.Graph(), "aa", "dd", 5000);
    settings.Target = 0.95;
    const auto lri = Sample(la, settings);
    EXPECT_GT(lri->convergedAt, 0);
    EXPECT_EQ(lri->bestTrace, "aa->ba:ba->bb:bb->bc:bc->cc:cc->cd:cd->dd:");
    settings.ModelType = Scheme::LRP;
    settings.Penalty = settings.Reward;
    EXPECT_EQ(Sample(la, settings)->convergedAt, 0);
}

TEST(Sampling, DeadEndsOnlyAndTheRulesOfASampledRun) {
    clsLA la;
    Build(la.Graph(), "A B C", "A-B");
    RunSettings settings = Sampling(la.Graph(), "A", "C", 40);
    RunSession session(la.Graph(), la.Ranges(), settings);
    EXPECT_EQ(session.Step(1000), RunState::Finished);
    EXPECT_EQ(session.DeadEnds(), 40);
    EXPECT_TRUE(session.NotFound());

    const char* const samplesRule = "The number of samples must be from 1 to 2000000000.";
    const char* const targetRule = "The target probability must be above 0 and at most 1.";
    const struct {
        int64_t samples;
        std::optional<double> target;
        const char* message;
    } rules[] = {{0, {}, samplesRule},  {2000000001, {}, samplesRule},  {10, 0.0, targetRule},
                 {10, 1.5, targetRule}, {10, std::nan(""), targetRule}, {2000000000, 1.0, ""}};
    for (const auto& r : rules) {
        settings.Samples = r.samples;
        settings.Target = r.target;
        const auto refusal = settings.Validate(la.Graph());
        EXPECT_EQ(refusal ? refusal->message : "", r.message) << r.samples;
    }
}
