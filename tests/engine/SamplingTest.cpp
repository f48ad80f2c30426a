// Sampled runs: the random numbers against their published outputs, one sample worked by hand,
// reproducibility from the seed, the target, and what learning reaches on a small grid.
#include "PathSampler.h"
#include "Random.h"
#include "RunRecord.h"
#include "TestGraphs.h"
#include "clsLA.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace TestGraphs;

namespace {

// LRI with reward 0.1 from one node to another.
void Sampling(clsLA& la, const char* from, const char* to, int64_t samples) {
    RunSettings& s = la.Settings;
    s.GraphSearchMethod = SearchMethod::Sample;
    s.ModelType = Scheme::LRI;
    s.Reward = 0.1f;
    s.sourceNode = IndexOf(la.Graph(), from);
    s.DestNode = IndexOf(la.Graph(), to);
    s.Samples = samples;
}

// 4 x 4 nodes named by row and column letter ("aa" to "dd"), simple links right and down of
// weights 1 to 5 and probability 0.25, so that a sample can turn back into a dead end.
void Grid(clsGraph& graph) {
    const auto name = [](int r, int c) { return std::string{char('a' + r), char('a' + c)}; };
    std::string nodes, links;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            nodes += name(r, c) + " ";
            if (c < 3)
                links += name(r, c) + "-" + name(r, c + 1) + ":" +
                         std::to_string(1 + (7 * r + 3 * c) % 5) + ":0.25 ";
            if (r < 3)
                links += name(r, c) + "-" + name(r + 1, c) + ":" +
                         std::to_string(1 + (2 * r + 5 * c) % 6) + ":0.25 ";
        }
    }
    Build(graph, nodes, links);
}

std::vector<int32_t> Links(const PathSource& source) {
    return {source.Path().begin(), source.Path().end()};
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
    for (const auto& c : cases) {
        std::vector<double> sums;
        double sum = 0;
        for (const double w : c.weights)
            sums.push_back(sum += w);
        EXPECT_EQ(PathSampler::Pick(sums.data(), static_cast<int32_t>(sums.size()), c.u), c.picked)
            << c.u;
    }
}

// Seed 1 draws u = 0.7029, 0.5204, 0.5741, 0.3913, 0.6972, ...
TEST(Sampling, OneSampleWorkedByHand) {
    clsGraph graph; // D>C is no way out of C; A is the first node, passed on the way
    Build(graph, "A S B C D", "S-A:1:0.25 S-B:1:0.75 B-A B-C A-D:1:0.5 D>C");
    const RunGraph run(graph);
    PathSampler sampler(run, 1, 4, 1, 100);
    int64_t budget = 100;
    // At S, 0.7029 * 1.0 passes 0.25 and lands in S-B; at B both ways have 0 (T <= 0) and
    // floor(0.5204 * 2) = 1 takes B-C; C's only ways lead back or start elsewhere: a dead end.
    EXPECT_EQ(sampler.Next(budget), PathSampler::Event::DeadEnd);
    EXPECT_EQ(Links(sampler), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(budget, 97);
    // At S 0.5741 takes S-B again, floor(0.3913 * 2) = 0 takes B-A, A's one way left is A-D.
    EXPECT_EQ(sampler.Next(budget), PathSampler::Event::PathFound);
    EXPECT_EQ(Links(sampler), (std::vector<int32_t>{1, 2, 4}));
    // A budget spent halfway stops between steps and goes on from there: 0.6972 takes S-A.
    budget = 1;
    EXPECT_EQ(sampler.Next(budget), PathSampler::Event::OutOfBudget);
    EXPECT_EQ(Links(sampler), (std::vector<int32_t>{0}));
}

TEST(Sampling, TheSeedDecidesTheWholeRunWhateverTheBudget) {
    clsLA la;
    Grid(la.Graph());
    Sampling(la, "aa", "dd", 300);
    const auto run = [&la](int64_t budget) {
        const RunRecord r = RunToEnd(la, {budget, true});
        return std::tuple(r.traces, r.samples, r.best, r.probabilities);
    };
    const RunRecord whole = RunToEnd(la);
    EXPECT_EQ(whole.sampleCount, 300);
    EXPECT_GT(whole.deadEnds, 0);
    EXPECT_EQ(int64_t(whole.traces.size()) + whole.deadEnds, 300);
    const auto all = run(INT64_MAX);
    for (const int64_t budget : {1, 7})
        EXPECT_TRUE(run(budget) == all) << budget;
    la.Settings.Seed = 2;
    EXPECT_FALSE(run(INT64_MAX) == all);
}

// A line of links walked n times holds 1 - 0.5^n each: (1 - 1/16)^3 < 0.9 <= (1 - 1/32)^3, so
// the target stops the run at the fifth sample.
TEST(Sampling, TheTargetStopsTheRunAtTheSampleThatReachesIt) {
    clsLA line;
    Build(line.Graph(), "A B C D", "A-B B-C C-D");
    Sampling(line, "A", "D", 100);
    line.Settings.Reward = 0.5f;
    line.Settings.Target = 0.9;
    const RunRecord record = RunToEnd(line);
    EXPECT_EQ(record.convergedAt, 5);
    EXPECT_EQ(record.sampleCount, 5);
    EXPECT_EQ(record.best.at(3), 0.9375 * 0.9375 * 0.9375);
}

TEST(Sampling, DeadEndsOnlyAndTheRulesOfASampledRun) {
    clsLA la;
    Build(la.Graph(), "A B C", "A-B");
    Sampling(la, "A", "C", 40);
    const RunRecord deadEnds = RunToEnd(la);
    EXPECT_EQ(deadEnds.deadEnds, 40);
    EXPECT_EQ(deadEnds.Messages(), std::vector<std::string>{"Not found any path."});
    RunSettings& settings = la.Settings;

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
