// Stochastic graphs: the mean threshold, the variable action set, the preferred path and the
// expected shortest path worked by hand or against a brute force, lengths drawn in a run, and the
// document's extension block.
#include "DocumentFile.h"
#include "LRIRule.h"
#include "LRPRule.h"
#include "MeanPModel.h"
#include "Random.h"
#include "RunGraph.h"
#include "RunSession.h"
#include "StochasticPaths.h"
#include "TestGraphs.h"
#include "clsLA.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace TestGraphs;

namespace {

PathView View(const std::vector<int32_t>& links) {
    return {links.data(), static_cast<int32_t>(links.size())};
}

void SetLength(clsGraph& graph, int32_t link, const char* text) {
    graph.Link(link).SetLength(std::make_shared<const LinkLength>(LinkLength::Parse(text)));
}

TEST(Stochastic, MeanThresholdOverFourPaths) {
    clsGraph graph;
    Build(graph, "A B C D E", "A-B:10 A-C:6 A-D:9 A-E:7");
    RunGraph run(graph);
    MeanPModel model(run);
    // Means 10, 8, 8.33, 8: the third path is above the mean of the paths so far.
    const bool rewarded[] = {true, true, false, true};
    for (int32_t link = 0; link < 4; ++link)
        EXPECT_EQ(model.Judge(View({link})).favourable, rewarded[link]) << link;
}

// S-A, then A has a visited neighbour (S) and two candidates, A-B and A-C, then B-D.
struct VariableCase {
    int32_t scheme;
    bool rewarded;
    float ab, ac;         // probabilities before
    const char* expected; // A-B, A-C and the single candidates after, or the error
};

TEST(Stochastic, VariableActionSetWorkedByHand) {
    const VariableCase cases[] = {
        // K = 0.5, q = 0.4 and 0.6: LRI reward 0.1 gives 0.46 and 0.54, times K.
        // A single candidate's q is 1, which a reward keeps.
        {Scheme::LRI, true, 0.2f, 0.3f, "0.23 0.27 0.5"},
        // LRP penalty 0.1: 0.9 q = 0.36; 0.1 / (2 - 1) + 0.9 q = 0.64; a single one 0.9.
        {Scheme::LRP, false, 0.2f, 0.3f, "0.18 0.32 0.45"},
        {Scheme::LRI, true, 0.0f, 0.0f, "LA.LearnFromPath: Division by zero"},
    };
    for (const VariableCase& c : cases) {
        clsGraph graph;
        Build(graph, "S A B C D", "S-A:1:0.5 A-B:1:0.2 A-C:1:0.3 B-D:1:0.5");
        graph.Link(2).SetProbability(c.ab);
        graph.Link(3).SetProbability(c.ac);
        RunSettings settings = Settings(Model::P, c.scheme, 0.1f).Normalised();
        settings.ActionSet = ActionSet::Variable;
        settings.sourceNode = 1;
        RunGraph run(graph);
        std::unique_ptr<UpdateRule> rule;
        if (c.scheme == Scheme::LRI)
            rule = std::make_unique<LRIRule>(settings, run);
        else
            rule = std::make_unique<LRPRule>(settings, run, settings.Penalty);
        Environment::Answer answer;
        answer.kind = Environment::Answer::Kind::Binary;
        answer.favourable = c.rewarded;
        std::string result;
        const std::string error = ErrorOf([&] { rule->Apply(View({0, 1, 3}), answer); });
        if (error != "no error") {
            EXPECT_EQ(error, c.expected);
            continue;
        }
        const float* p = run.Probabilities();
        std::istringstream expected(c.expected);
        float ab = 0, ac = 0, single = 0;
        expected >> ab >> ac >> single;
        EXPECT_NEAR(p[1], ab, 1e-7) << c.expected;
        EXPECT_NEAR(p[2], ac, 1e-7) << c.expected;
        EXPECT_NEAR(p[0], single, 1e-7) << c.expected;
        EXPECT_NEAR(p[3], single, 1e-7) << c.expected;
    }
}

TEST(Stochastic, PreferredPathTakesTheFirstOfEqualsAndEndsAtADeadEnd) {
    clsGraph graph;
    Build(graph, "S A B D", "S-A:1:0.5 S-B:1:0.5 A-D:1:0.7 B-D:1:1");
    RunGraph run(graph);
    const MeasuredPath preferred = StochasticPaths::Preferred(run, 0, 3);
    EXPECT_TRUE(preferred.found);
    EXPECT_EQ(preferred.links, (std::vector<int32_t>{0, 2}));
    EXPECT_DOUBLE_EQ(preferred.probability, double(0.5f) * double(0.7f));

    clsGraph dead;
    Build(dead, "S A B D", "S-A:1:0.6 S-B:1:0.4 B-D:1:1");
    RunGraph deadRun(dead);
    EXPECT_FALSE(StochasticPaths::Preferred(deadRun, 0, 3).found);
}

// The least cost of every simple path, each summed in float in path order.
float BruteForce(const WalkIndex& index, const float* weights, int32_t at, int32_t to, float cost,
                 std::vector<bool>& on) {
    if (at == to)
        return cost;
    float best = INFINITY;
    on[static_cast<std::size_t>(at)] = true;
    for (int32_t step = index.MoveStarts()[at]; step < index.MoveStarts()[at + 1]; ++step) {
        const int32_t next = index.MoveNodes()[step];
        if (!on[static_cast<std::size_t>(next)])
            best = std::min(best,
                            BruteForce(index, weights, next, to,
                                       float(double(cost) + weights[index.MoveLinks()[step]]), on));
    }
    on[static_cast<std::size_t>(at)] = false;
    return best;
}

// The least cost of the walks of at most `most` links from `from` to `to` that never come back
// to `from` nor leave `to` (exact: the weights are quarters).
float CheapestWalk(const WalkIndex& index, const float* weights, int32_t from, int32_t to,
                   int most) {
    std::vector<float> cost(static_cast<std::size_t>(index.NodeCount()), INFINITY);
    cost[static_cast<std::size_t>(from)] = 0.0f;
    for (int k = 0; k < most; ++k) {
        std::vector<float> next = cost;
        for (int32_t at = 0; at < index.NodeCount(); ++at) {
            for (int32_t step = index.MoveStarts()[at]; step < index.MoveStarts()[at + 1]; ++step) {
                const int32_t node = index.MoveNodes()[step];
                if (at != to && node != from)
                    next[static_cast<std::size_t>(node)] = std::min(
                        next[static_cast<std::size_t>(node)],
                        cost[static_cast<std::size_t>(at)] + weights[index.MoveLinks()[step]]);
            }
        }
        cost = next;
    }
    return cost[static_cast<std::size_t>(to)];
}

TEST(Stochastic, ExpectedShortestAgreesWithABruteForce) {
    Xoshiro256StarStar random(7);
    const char* kinds = "->=";
    const char* negatives[] = {"uniform(-7, -3)", "normal(-5, 0)"};
    int undefined = 0, negative = 0;
    for (int graphs = 0; graphs < 80; ++graphs) {
        std::string links;
        for (char a = 'A'; a <= 'G'; ++a) {
            for (char b = static_cast<char>(a + 1); b <= 'G'; ++b) {
                if (random.Uniform() < 0.45)
                    links += std::string{a, kinds[random.Next() % 3], b} + ":" +
                             std::to_string(1 + random.Next() % 4) + " ";
            }
        }
        clsGraph graph;
        Build(graph, "A B C D E F G", links);
        // Negative means on one-way links only, which lead on in letter order: some graphs have
        // cycles of negative cost, others only negative links.
        for (int32_t j = 1; j <= graph.LinkCount(); j += 2)
            SetLength(graph, j,
                      graph.Link(j).LinkType == LinkKind::Unidirectional ? negatives[j % 4 / 3]
                                                                         : "uniform(0.1, 3.4)");
        RunGraph run(graph);
        std::vector<bool> on(7, false);
        const float brute = BruteForce(run.Index(), run.Weights(), 0, 6, 0.0f, on);
        const bool cycle = CheapestWalk(run.Index(), run.Weights(), 0, 6, 2000) <
                           CheapestWalk(run.Index(), run.Weights(), 0, 6, 6);
        const MeasuredPath shortest = StochasticPaths::ExpectedShortest(run, 0, 6);
        EXPECT_EQ(shortest.undefined, cycle) << links;
        EXPECT_EQ(shortest.found, !cycle && std::isfinite(brute)) << links;
        if (shortest.found) {
            EXPECT_EQ(shortest.cost, brute) << links;
            EXPECT_EQ(StochasticPaths::ExpectedCost(run, shortest.links), shortest.cost) << links;
        }
        undefined += cycle;
        negative += !cycle && std::isfinite(brute) &&
                    std::any_of(run.Weights(), run.Weights() + run.LinkCount(),
                                [](float w) { return w < 0; });
    }
    EXPECT_GE(undefined, 5);
    EXPECT_GE(negative, 5);
}

TEST(Stochastic, AnEnumerationDrawsFromTheRunsSeedInPathOrder) {
    clsGraph graph;
    Build(graph, "A B C", "A-B:1 B-C:1");
    SetLength(graph, 1, "uniform(0, 10)");
    SetLength(graph, 2, "exponential(2)");
    RunSettings settings = Settings(Model::P, Scheme::LRP, 0.1f);
    settings.GraphSearchMethod = SearchMethod::SourceToDestination;
    settings.sourceNode = 1;
    settings.DestNode = 3;
    settings.Seed = 42;
    clsRanges ranges;
    RunSession session(graph, ranges, settings);
    while (session.Step(100) == RunState::Running) {
    }
    Xoshiro256StarStar random(42);
    const double first = 10.0 * random.Uniform();
    const double second = -2.0 * std::log(1.0 - random.Uniform());
    EXPECT_EQ(session.BestCost(), float(double(float(first)) + double(float(second))));
    EXPECT_EQ(session.LinkDraws(), 2);
    EXPECT_TRUE(session.ConvergedOnShortest());
}

TEST(Stochastic, APathDrawsAllItsLengthsBeforeItsCostIsSummed) {
    // The first uniform number of this seed draws beyond the float range from exponential(1e38).
    uint64_t beyond = 1;
    while (Xoshiro256StarStar(beyond).Uniform() < 0.97)
        ++beyond;
    const std::string exponential = LinkLength::Parse("exponential(1e38)").Text();
    const std::tuple<std::string, uint64_t, std::string> cases[] = {
        // A-B and B-C draw at least 3e38 each: their sum overflows; C-D is drawn all the same.
        {"uniform(3e38, 3.3e38)", 1, "Overflow"},
        {exponential, beyond,
         "Overflow\r\nThe length of A->B drawn from " + exponential +
             " is beyond the float range."},
    };
    for (const auto& [first, seed, message] : cases) {
        clsGraph graph;
        Build(graph, "A B C D", "A-B:1 B-C:1 C-D:1");
        SetLength(graph, 1, first.c_str());
        SetLength(graph, 2, "uniform(3e38, 3.3e38)");
        SetLength(graph, 3, "uniform(0, 1)");
        RunSettings settings = Settings(Model::P, Scheme::LRP, 0.1f);
        settings.GraphSearchMethod = SearchMethod::SourceToDestination;
        settings.sourceNode = 1;
        settings.DestNode = 4;
        settings.Seed = seed;
        clsRanges ranges;
        RunSession session(graph, ranges, settings);
        while (session.Step(100) == RunState::Running) {
        }
        EXPECT_EQ(session.Message(), message);
        EXPECT_EQ(session.LinkDraws(), 3) << first;
    }
}

TEST(Stochastic, TheExtensionBlockRoundTripsAndIsRefusedWhenDamaged) {
    clsLA la;
    Build(la.Graph(), "A B C", "A-B:1 B-C:2 A-C:5");
    const std::string plain = DocumentBytes(la);
    la.Settings.Threshold = Threshold::Mean;
    EXPECT_EQ(DocumentBytes(la).substr(0, plain.size()), plain);
    la.Settings.Threshold = Threshold::Best;
    EXPECT_EQ(DocumentBytes(la), plain);

    SetLength(la.Graph(), 3, "normal(6.7, 1)");
    la.Settings.Seed = 99;
    la.Settings.Target = 0.9;
    const std::string bytes = DocumentBytes(la);
    clsLA loaded;
    LoadGraphFromBytes(loaded, bytes, "doc.plm");
    EXPECT_EQ(DocumentBytes(loaded), bytes);
    ASSERT_TRUE(loaded.Graph().Link(3).Length);
    EXPECT_EQ(loaded.Graph().Link(3).Length->Text(), "normal(6.7, 1)");
    EXPECT_EQ(loaded.Graph().Link(3).Weight, 6.7f);
    EXPECT_EQ(loaded.Settings.Seed, 99u);
    EXPECT_EQ(loaded.Settings.Target, 0.9);

    // The block starts with its tag, version and length; the first record is the link's.
    const std::size_t block = bytes.find("PLM-EXT");
    ASSERT_NE(block, std::string::npos);
    std::string version = bytes, shorter = bytes.substr(0, bytes.size() - 1), text = bytes,
                link = bytes;
    version[block + 8] = 3;
    text[text.find("normal")] = 'x';
    link[block + 24] = 9; // after the tag, version, length, record tag and size
    const std::pair<std::string, std::string> damaged[] = {
        {version, "is of version 3, newer than this Pathloom reads (2)."},
        {shorter, "damaged: its length does not match the bytes after it."},
        {text, "damaged: link 3: unknown distribution 'xormal'"},
        {link, "damaged: a length for link 9, which does not exist."},
    };
    for (const auto& [document, message] : damaged) {
        clsLA refused;
        const std::string error =
            ErrorOf([&, &document = document] { LoadGraphFromBytes(refused, document, "d.plm"); });
        EXPECT_NE(error.find("LoadGraph: 'd.plm' could not be loaded.\r\nThe document's extension "
                             "block "),
                  std::string::npos)
            << error;
        EXPECT_NE(error.find(message), std::string::npos) << error << " / " << message;
    }
}

// Records of kinds this version does not know, before and after its own, come back byte for byte
// after them, in their order, through every save; a new document has none.
TEST(Stochastic, RecordsOfALaterVersionSurviveEverySave) {
    clsLA la;
    Build(la.Graph(), "A B", "A-B:1");
    const std::string plain = DocumentBytes(la);
    SetLength(la.Graph(), 1, "uniform(1, 3)");
    la.Settings.Samples = 7;
    const std::string ours = DocumentBytes(la);
    std::string header = ours.substr(plain.size(), 16); // tag, version, length
    const std::string known = ours.substr(plain.size() + 16);
    const auto record = [](char kind, const std::string& body) {
        std::string bytes(8, '\0');
        bytes[0] = kind;
        bytes[4] = static_cast<char>(body.size());
        return bytes + body;
    };
    // A setting's record of its own whose name this version does not know is kept as well.
    const std::string later = record(77, std::string("new\0data", 8)) + record(3, "rounds=2"),
                      last = record(-5, "");
    header[12] = static_cast<char>(later.size() + known.size() + last.size());
    clsLA loaded;
    const std::string document = ours.substr(0, plain.size());
    LoadGraphFromBytes(loaded, document + header + later + known + last, "later.plm");
    EXPECT_EQ(loaded.Graph().Link(1).Length->Text(), "uniform(1, 3)");
    EXPECT_EQ(loaded.Settings.Samples, 7);
    const std::string saved = DocumentBytes(loaded);
    EXPECT_EQ(saved, document + header + known + later + last);
    clsLA again;
    LoadGraphFromBytes(again, saved, "saved.plm");
    EXPECT_EQ(DocumentBytes(again), saved);
    again.Clear();
    Build(again.Graph(), "A B", "A-B:1");
    EXPECT_EQ(DocumentBytes(again), plain);

    // One it knows is read after the run's record, and refused when its value is none.
    const struct {
        const char* text;
        int32_t threshold;
        const char* error;
    } settings[] = {
        {"threshold=mean", Threshold::Mean, "no error"},
        {"threshold=middle", Threshold::Best,
         "damaged: unknown value for the setting threshold: 'middle'."},
    };
    for (const auto& c : settings) {
        const std::string setting = record(3, c.text);
        header[12] = static_cast<char>(known.size() + setting.size());
        clsLA chosen;
        const std::string error = ErrorOf([&] {
            LoadGraphFromBytes(chosen, document + header + known + setting, "setting.plm");
        });
        EXPECT_EQ(chosen.Settings.Threshold, c.threshold) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

// A pursuit scheme is kept in the extension block, the fixed layout holding LRI, which older
// readers take; its resolution in a record of its own.
TEST(Stochastic, APursuitSchemeAndItsResolutionSurviveASave) {
    clsLA la;
    Build(la.Graph(), "A B", "A-B:1");
    la.Settings.ModelType = Scheme::LRI;
    const std::string lri = DocumentBytes(la);
    la.Settings.ModelType = Scheme::DiscretizedPursuit;
    la.Settings.Resolution = 7;
    const std::string saved = DocumentBytes(la);
    EXPECT_EQ(saved.substr(0, lri.size()), lri);
    EXPECT_GT(saved.size(), lri.size());
    clsLA loaded;
    LoadGraphFromBytes(loaded, saved, "pursuit.plm");
    EXPECT_EQ(loaded.Settings.ModelType, Scheme::DiscretizedPursuit);
    EXPECT_EQ(loaded.Settings.Resolution, 7);
    EXPECT_EQ(DocumentBytes(loaded), saved);
}

} // namespace
