#pragma once
// The settings of one run, as a plain value, and the one set of rules that every way of starting
// a run (the options dialog, pathloom-run, sweeps) applies to them.

#include "Choices.h"

#include <cstdint>
#include <optional>
#include <string>

class clsGraph;
struct Setting;

// P-model: the cost a path must not exceed to be rewarded.
namespace Threshold {
enum Number : int32_t {
    Best = 0, // the cheapest so far
    Mean = 1, // the mean of the paths learned so far
};
} // namespace Threshold

// The links a learning step updates at each node of the path.
namespace ActionSet {
enum Number : int32_t {
    All = 0,      // every link from the node
    Variable = 1, // the node's candidates when the sample left it, scaled to sum 1
};
} // namespace ActionSet

// Each setting is declared in SettingRegistry: its names, type, bounds and where it is stored.
struct RunSettings {
    // Stored in the document, and so any number: Model a Model, ModelType a Scheme.
    int32_t Model = Model::P;
    int32_t ModelType = Scheme::LRP;
    float Reward = 0.0f;
    float Penalty = 0.0f;
    float LearningFactor = 0.0f;

    // Kept in memory only. Nodes are one-based indexes of the graph, -1 for none: an index can
    // point at no node, but never at freed memory.
    int32_t GraphSearchMethod = SearchMethod::IncludeAllNodes;
    int32_t sourceNode = -1;
    int32_t DestNode = -1;
    std::string FilePath;
    bool EnableDelay = false;

    // Sampled runs: how many samples at most, the seed of their random numbers, and the
    // probability of the best path at which the run may stop.
    int64_t Samples = 10000;
    uint64_t Seed = 1;
    std::optional<double> Target;

    // The P-model's threshold and the links a learning step updates (their choices are declared
    // with them in SettingRegistry); the variable action set needs sampled paths.
    int32_t Threshold = Threshold::Best;
    int32_t ActionSet = ActionSet::All;
    // The discretized pursuit's resolution N: its smallest step is 1 / (|G| N) of a group's sum.
    int64_t Resolution = 100;
    // A stochastic experiment's choice of a setting other than its first: with a stochastic link,
    // what makes a run a stochastic experiment, reported and stored with its figures.
    bool ExperimentChoices() const;

    // A refusal is about a setting, whose field the dialog gives the focus; none for one about
    // several.
    struct Refusal {
        const Setting* setting;
        std::string message;
    };

    // The first rule the settings break, in the order the options dialog checks them, with the
    // dialog's own message; nothing when a run may start. A number that is not finite stands for
    // a text that is no number.
    std::optional<Refusal> Validate(const clsGraph& graph) const;

    // The penalty the scheme implies: the reward under LRP, 0 under LRI and the pursuit schemes,
    // as entered under LR(E)P.
    RunSettings Normalised() const;

    // Why no learning step of a run with these settings can change any probability, as the
    // runner, the Python module and the window say it ("No probability can change: reward 0
    // under LRI."); nothing when one can.
    std::optional<std::string> NothingLearned() const;
};
