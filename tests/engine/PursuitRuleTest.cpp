// The pursuit schemes on small cases worked by hand. Each row learns its paths in order, with a
// step a of 0.5 and values that are exact in binary, and checks the probabilities after the last
// path, the links that path wrote (link numbers, in the order written) and what it raised.

#include "PursuitRule.h"

#include "TestGraphs.h"

#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace {

struct Rule {
    PursuitRule::Variant variant;
    int32_t actionSet;
    int32_t resolution;
};
constexpr auto Continuous = PursuitRule::Variant::Continuous;
constexpr auto Discretized = PursuitRule::Variant::Discretized;
const Rule Pursuit{Continuous, ActionSet::All, 100};
const Rule PursuitVariable{Continuous, ActionSet::Variable, 100};
const Rule DiscretizedN2{Discretized, ActionSet::All, 2};
const Rule DiscretizedN4{Discretized, ActionSet::All, 4};
const Rule DiscretizedVariable{Discretized, ActionSet::Variable, 4};

struct Graph {
    const char* nodes;
    const char* links; // simple links keep the probabilities given
};
const Graph Two{"X A B", "X-A:1:0.5 X-B:1:0.5"};
const Graph Three{"X A B C", "X-A:1:0.25 X-B:1:0.25 X-C:1:0.5"};
const Graph Four{"X A B C D", "X-A:1:0.25 X-B:1:0.0625 X-C:1:0.375 X-D:1:0.3125"};
// A's links have probability 0.
const Graph DeadEnd{"X A B C D", "X-A:1:0.5 X-B:1:0.5 A-C:1:0 A-D:1:0"};
// S's only link to A, then A-B, A-C, and A>S, whose probability is 1 / 4 (A's out-degree): from
// A the walked link's siblings are A-B, A-C, A>S; the candidates of a sample at A only A-B, A-C.
const Graph Fork{"S A B C", "S-A:1:1 A-B:1:0.125 A-C:1:0.125 A>S"};
const Graph Back{"S A B", "S-A:1:1 A-B:1:0.5"};

const char* const DivisionByZero = "LA.LearnFromPath: Division by zero";

struct Case {
    const char* name;
    Graph graph;
    Rule rule;
    // The paths in order: link numbers joined by ",", then "+" for a reward or "-" for a
    // penalty; "|" starts a new run.
    const char* paths;
    std::vector<float> probabilities;
    std::vector<int32_t> written;
    std::string error = "no error";
};

// K is the sum of a group's probabilities, m the pursued link.
const Case Cases[] = {
    // m is the walked link, the only one with an estimate (1/1). K = 1: A 0.5 * 0.25,
    // B 0.5 * 0.25 + 0.5, C 0.5 * 0.5; written in link order.
    {"first reward: the walked link", Three, Pursuit, "2+", {0.125, 0.625, 0.25}, {1, 2, 3}},
    // The reward gives 0.75, 0.25; the penalty changes and writes nothing.
    {"a penalty changes nothing", Two, Pursuit, "1+ 2-", {0.75, 0.25}, {}},
    // Estimates A 1/2, B 1/1: m = B from 0.75, 0.25 gives 0.375, 0.125 + 0.5.
    {"a penalty counts a choice", Two, Pursuit, "1+ 1- 2+", {0.375, 0.625}, {1, 2}},
    // A 1/1 and B 1/1 tie: m = A, from 0.75, 0.25: 0.375 + 0.5, 0.125.
    {"equal estimates", Two, Pursuit, "1+ 2+", {0.875, 0.125}, {1, 2}},
    // A 1/3 (its first path counts 2 choices), B 1/2: m = B from 0.75, 0.25 (the first reward,
    // m = A) gives 0.375, 0.625. Counted once, A's 1/2 would tie and be pursued.
    {"walked twice: choices", Two, Pursuit, "1,1- 2- 1+ 2+", {0.375, 0.625}, {1, 2}},
    // A 2/3 (two rewards), B 1/2: m = A from 0.875, 0.125 gives 0.4375 + 0.5, 0.0625.
    {"walked twice: rewards", Two, Pursuit, "1,1+ 1- 2- 2+", {0.9375, 0.0625}, {1, 2}},
    // The group is learned at each step: 0.75, 0.25, then 0.875, 0.125.
    {"walked twice: learned twice", Two, Pursuit, "1,1+", {0.875, 0.125}, {1, 2, 1, 2}},
    // The new run knows only B (1/1): from 0.5, 0.5, m = B: 0.25, 0.75. With A's estimate kept,
    // A would tie and be pursued.
    {"estimates start at zero", Two, Pursuit, "1+ | 2+", {0.25, 0.75}, {1, 2}},
    // X's group learns (0.75, 0.25) and stays; A's group, A-C and A-D, has K = 0.
    {"K = 0", DeadEnd, Pursuit, "1,3+", {0.75, 0.25, 0, 0}, {1, 2}, DivisionByZero},
    // At S, G = {S-A}: 0.5 * 1 + 0.5 = 1. At A, K = 0.125 + 0.125 + 0.25 = 0.5, shares 0.25,
    // 0.25, 0.5: A-B (0.5 * 0.25 + 0.5) * 0.5, A-C 0.5 * 0.25 * 0.5, A>S 0.5 * 0.5 * 0.5.
    {"all: siblings", Fork, Pursuit, "1,2+", {1, 0.3125, 0.0625, 0.125}, {1, 2, 3, 4}},
    // At A, G = {A-B, A-C}, K = 0.25, shares 0.5, 0.5: A-B 0.75 * 0.25, A-C 0.25 * 0.25.
    {"variable", Fork, PursuitVariable, "1,2+", {1, 0.1875, 0.0625, 0.25}, {1, 2, 3}},
    // Back to S over S-A: at A the only candidate, A-B, was never walked; nothing to pursue.
    {"variable: off the sample's path", Back, PursuitVariable, "1,1+", {1, 0.5}, {1}},
    // D = 1 / (4 * 2) = 0.125, K = 1: B 0.0625 - D floors at 0, C 0.375 - D, D 0.3125 - D;
    // A gets 1 - (0 + 0.25 + 0.1875), written last.
    {"discretized: floor", Four, DiscretizedN2, "1+", {0.5625, 0, 0.25, 0.1875}, {2, 3, 4, 1}},
    // D = 1 / (2 * 4): B 0.5 - D, A 1 - 0.375; then A and B tie and A is pursued again:
    // B 0.375 - D, A 1 - 0.25.
    {"discretized: equal estimates", Two, DiscretizedN4, "1+ 2+", {0.75, 0.25}, {2, 1}},
    // At S, |G| = 1: S-A gets 1 - 0. At A, D = 1 / (2 * 4), K = 0.25: A-C (0.5 - D) * 0.25,
    // then A-B (1 - 0.375) * 0.25.
    {"N = 4, variable", Fork, DiscretizedVariable, "1,2+", {1, 0.15625, 0.09375, 0.25}, {1, 3, 2}},
};

Environment::Answer Judgement(bool rewarded) {
    Environment::Answer answer;
    answer.kind = Environment::Answer::Kind::Binary;
    answer.favourable = rewarded;
    answer.beta = rewarded ? 0.0 : 1.0;
    return answer;
}

TEST(PursuitRule, HandWorkedCases) {
    for (const Case& c : Cases) {
        clsGraph graph;
        TestGraphs::Build(graph, c.graph.nodes, c.graph.links);
        RunSettings settings;
        settings.sourceNode = 1;
        settings.Reward = 0.5f;
        settings.ActionSet = c.rule.actionSet;
        settings.Resolution = c.rule.resolution;
        std::unique_ptr<RunGraph> run;
        std::unique_ptr<PursuitRule> rule;
        std::vector<int32_t> path;
        std::string error;
        std::istringstream paths(c.paths);
        for (std::string learned; paths >> learned;) {
            if (!rule || learned == "|") {
                rule.reset();
                run = std::make_unique<RunGraph>(graph);
                rule = std::make_unique<PursuitRule>(settings, *run, c.rule.variant);
                if (learned == "|")
                    continue;
            }
            path.clear();
            std::istringstream links(learned);
            for (int32_t link; links >> link; links.ignore())
                path.push_back(link - 1);
            const PathView view{path.data(), static_cast<int32_t>(path.size())};
            const bool rewarded = learned.back() == '+';
            error = TestGraphs::ErrorOf([&] { rule->Apply(view, Judgement(rewarded)); });
        }
        const float* const p = run->Probabilities();
        EXPECT_EQ(std::vector<float>(p, p + run->LinkCount()), c.probabilities) << c.name;
        std::vector<int32_t> written;
        rule->Written(PathView{path.data(), static_cast<int32_t>(path.size())}, written);
        for (int32_t& link : written)
            ++link;
        EXPECT_EQ(written, c.written) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
}

} // namespace
