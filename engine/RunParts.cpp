#include "RunParts.h"

#include "LRIRule.h"
#include "LRPRule.h"
#include "MeanPModel.h"
#include "PModel.h"
#include "PathFileRun.h"
#include "PathSampler.h"
#include "RunGraph.h"
#include "SModel.h"
#include "SearchWalk.h"

namespace RunParts {

namespace {

template <typename Made> struct Row {
    int32_t choice;
    Made (*make)(const Context&, bool repeats);
};

// Node positions in the settings are one-based.
int32_t Position(int32_t node) {
    return node - 1;
}

const Row<std::unique_ptr<PathSource>> PathSources[] = {
    {SearchMethod::IncludeAllNodes,
     [](const Context& c, bool) -> std::unique_ptr<PathSource> {
         return std::make_unique<SearchWalk>(c.run.Index(), Position(c.settings.sourceNode), -1);
     }},
    {SearchMethod::SourceToDestination,
     [](const Context& c, bool) -> std::unique_ptr<PathSource> {
         return std::make_unique<SearchWalk>(c.run.Index(), Position(c.settings.sourceNode),
                                             Position(c.settings.DestNode));
     }},
    {SearchMethod::ReadFromFile,
     [](const Context& c, bool) -> std::unique_ptr<PathSource> {
         return std::make_unique<PathFileRun>(c.graph, c.run.Index(), c.settings.FilePath);
     }},
    {SearchMethod::Sample,
     [](const Context& c, bool) -> std::unique_ptr<PathSource> {
         return std::make_unique<PathSampler>(c.run, Position(c.settings.sourceNode),
                                              Position(c.settings.DestNode), c.settings.Seed,
                                              c.settings.Samples);
     }},
};

const Row<std::unique_ptr<Environment>> Environments[] = {
    {Model::P,
     [](const Context& c, bool repeats) -> std::unique_ptr<Environment> {
         if (c.settings.Threshold == Threshold::Mean)
             return std::make_unique<MeanPModel>(c.run);
         return std::make_unique<PModel>(c.run, repeats);
     }},
    {Model::S,
     [](const Context& c, bool) -> std::unique_ptr<Environment> {
         return std::make_unique<SModel>(c.run, c.ranges);
     }},
};

const Row<std::unique_ptr<UpdateRule>> UpdateRules[] = {
    {Scheme::LRP,
     [](const Context& c, bool) -> std::unique_ptr<UpdateRule> {
         return std::make_unique<LRPRule>(c.settings, c.run, c.settings.Reward);
     }},
    {Scheme::LREP,
     [](const Context& c, bool) -> std::unique_ptr<UpdateRule> {
         return std::make_unique<LRPRule>(c.settings, c.run, c.settings.Penalty);
     }},
    {Scheme::LRI,
     [](const Context& c, bool) -> std::unique_ptr<UpdateRule> {
         return std::make_unique<LRIRule>(c.settings, c.run);
     }},
};

template <typename Made, std::size_t N>
Made Make(const Row<Made> (&rows)[N], int32_t choice, const Context& c, bool repeats) {
    for (const Row<Made>& row : rows) {
        if (row.choice == choice)
            return row.make(c, repeats);
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
