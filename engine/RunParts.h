#pragma once
// The parts a run is composed of, by its settings: the path source of its search method, the
// environment of its model and the update rule of its scheme. Each kind is one table in
// RunParts.cpp whose rows register a part whole (names, the settings it reads, what it goes with,
// factory), and Choices::SearchMethods, Models and Schemes are views over them: a new method,
// environment or rule is a class and a row there.

#include "Environment.h"
#include "PathSource.h"
#include "UpdateRule.h"
#include "UserJudge.h"

#include <memory>

class clsGraph;
class clsRanges;
class RunGraph;
struct RunSettings;

namespace RunParts {

struct Context {
    const RunSettings& settings;
    const clsGraph& graph;
    const clsRanges& ranges;
    RunGraph& run;
    // A judge its user wrote, in place of the environment of the model; or none.
    const UserJudge::Function* judge = nullptr;
};

// Nothing for a search method that finds no paths. Raises what the source refuses.
std::unique_ptr<PathSource> MakePathSource(const Context& context);

// `repeats`: the paths come again and again (PathSource::Repeats).
std::unique_ptr<Environment> MakeEnvironment(const Context& context, bool repeats);

std::unique_ptr<UpdateRule> MakeUpdateRule(const Context& context);

} // namespace RunParts
