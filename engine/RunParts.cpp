#include "RunParts.h"

#include "LRIRule.h"
#include "LRPRule.h"
#include "MeanPModel.h"
#include "PModel.h"
#include "PathFileRun.h"
#include "PathSampler.h"
#include "PursuitRule.h"
#include "RunGraph.h"
#include "SModel.h"
#include "SearchWalk.h"

namespace RunParts {

namespace {

// The whole registration of a part: its names, what it reads and goes with, and its factory.
template <typename Made> struct Part : Choices::Row { Made (*make)(const Context&, bool repeats); };

// Node positions in the settings are one-based.
int32_t Position(int32_t node) {
    return node - 1;
}

// The search methods by their button's caption in the Options dialog.
constexpr Part<std::unique_ptr<PathSource>> PathSources[] = {
    {{SearchMethod::IncludeAllNodes, "&Include All Nodes", "all", "source", ""},
     [](const Context& c, bool) -> std::unique_ptr<PathSource> {
         return std::make_unique<SearchWalk>(c.run.Index(), Position(c.settings.sourceNode), -1);
     }},
    {{SearchMethod::SourceToDestination, "&From Source To Destination", "dest", "source dest", ""},
     [](const Context& c, bool) -> std::unique_ptr<PathSource> {
         return std::make_unique<SearchWalk>(c.run.Index(), Position(c.settings.sourceNode),
                                             Position(c.settings.DestNode));
     }},
    {{SearchMethod::ReadFromFile, "Read Fro&m File", "file", "paths", ""},
     [](const Context& c, bool) -> std::unique_ptr<PathSource> {
         return std::make_unique<PathFileRun>(c.graph, c.run.Index(), c.settings.FilePath);
     }},
    // Not in the Options dialog: Sample Paths is its own.
    {{SearchMethod::Sample, nullptr, "sample", "source dest samples seed until", ""},
     [](const Context& c, bool) -> std::unique_ptr<PathSource> {
         return std::make_unique<PathSampler>(c.run, Position(c.settings.sourceNode),
                                              Position(c.settings.DestNode), c.settings.Seed,
                                              c.settings.Samples);
     }},
};

// An environment draws the lengths of stochastic links from the seed's random numbers.
constexpr Part<std::unique_ptr<Environment>> Environments[] = {
    {{Model::P, "P-Model", "P", "threshold seed", ""},
     [](const Context& c, bool repeats) -> std::unique_ptr<Environment> {
         if (c.settings.Threshold == Threshold::Mean)
             return std::make_unique<MeanPModel>(c.run);
         return std::make_unique<PModel>(c.run, repeats);
     }},
    {{Model::S, "S-Model", "S", "seed", ""},
     [](const Context& c, bool) -> std::unique_ptr<Environment> {
         return std::make_unique<SModel>(c.run, c.ranges);
     }},
};

// The penalty each reads is the one its scheme implies (RunSettings::Normalised).
constexpr Part<std::unique_ptr<UpdateRule>> UpdateRules[] = {
    {{Scheme::LRP, "LRP", "LRP", UpdateRule::Reads, ""},
     [](const Context& c, bool) -> std::unique_ptr<UpdateRule> {
         return std::make_unique<LRPRule>(c.settings, c.run, c.settings.Reward);
     }},
    {{Scheme::LREP, "LR(E)P", "LREP", UpdateRule::Reads, ""},
     [](const Context& c, bool) -> std::unique_ptr<UpdateRule> {
         return std::make_unique<LRPRule>(c.settings, c.run, c.settings.Penalty);
     }},
    {{Scheme::LRI, "LRI", "LRI", UpdateRule::Reads, ""},
     [](const Context& c, bool) -> std::unique_ptr<UpdateRule> {
         return std::make_unique<LRIRule>(c.settings, c.run);
     }},
    {{Scheme::Pursuit, "Pursuit", "pursuit", UpdateRule::PursuitReads, "model=P"},
     [](const Context& c, bool) -> std::unique_ptr<UpdateRule> {
         return std::make_unique<PursuitRule>(c.settings, c.run, PursuitRule::Variant::Continuous);
     }},
    {{Scheme::DiscretizedPursuit, "Discretized Pursuit", "discretized-pursuit",
      UpdateRule::DiscretizedReads, "model=P"},
     [](const Context& c, bool) -> std::unique_ptr<UpdateRule> {
         return std::make_unique<PursuitRule>(c.settings, c.run, PursuitRule::Variant::Discretized);
     }},
};

template <typename Made, std::size_t N>
Made Make(const Part<Made> (&parts)[N], int32_t choice, const Context& c, bool repeats) {
    for (const Part<Made>& part : parts) {
        if (part.number == choice)
            return part.make(c, repeats);
    }
    return nullptr;
}

} // namespace

std::unique_ptr<PathSource> MakePathSource(const Context& c) {
    return Make(PathSources, c.settings.GraphSearchMethod, c, false);
}

std::unique_ptr<Environment> MakeEnvironment(const Context& c, bool repeats) {
    if (c.judge && *c.judge)
        return std::make_unique<UserJudge>(c.run, c.settings.Model, *c.judge);
    if (auto made = Make(Environments, c.settings.Model, c, repeats))
        return made;
    return std::make_unique<Environment>(c.run);
}

std::unique_ptr<UpdateRule> MakeUpdateRule(const Context& c) {
    if (auto made = Make(UpdateRules, c.settings.ModelType, c, false))
        return made;
    return std::make_unique<UpdateRule>(c.settings, c.run);
}

} // namespace RunParts

const Choices Choices::SearchMethods = Choices::Over<RunParts::PathSources>();
const Choices Choices::Models = Choices::Over<RunParts::Environments>();
const Choices Choices::Schemes = Choices::Over<RunParts::UpdateRules>();
