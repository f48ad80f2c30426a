#include "RunSettings.h"

#include "SettingRegistry.h"
#include "clsGraph.h"

#include <cmath>

std::optional<RunSettings::Refusal> RunSettings::Validate(const clsGraph& graph) const {
    const auto refuse = [](const Setting* setting, const char* message) {
        return std::optional<Refusal>(Refusal{setting, message});
    };
    using SettingRegistry::Of;
    const auto isNode = [&graph](int32_t index) {
        return index >= 1 && index <= graph.NodeCount();
    };
    if (!std::isfinite(Reward))
        return refuse(&Of(&RunSettings::Reward), "Please enter Reward value correctly.");
    if (ModelType == Scheme::LREP) {
        if (!std::isfinite(Penalty))
            return refuse(&Of(&RunSettings::Penalty), "Please enter Penalty value correctly.");
        if (!(Penalty < Reward))
            return refuse(&Of(&RunSettings::Reward),
                          "In LR(E)P type, Penalty value must be less than Reward value.");
    }
    if (!std::isfinite(LearningFactor))
        return refuse(&Of(&RunSettings::LearningFactor),
                      "Please enter Learning Factor value correctly.");
    const bool toDestination = GraphSearchMethod == SearchMethod::SourceToDestination ||
                               GraphSearchMethod == SearchMethod::Sample;
    if ((toDestination || GraphSearchMethod == SearchMethod::IncludeAllNodes) &&
        !isNode(sourceNode))
        return refuse(&Of(&RunSettings::sourceNode), "Please select source node.");
    if (toDestination) {
        if (!isNode(DestNode))
            return refuse(&Of(&RunSettings::DestNode), "Please select destination node.");
        if (sourceNode == DestNode)
            return refuse(nullptr, "Source node and destination node are equal. Please "
                                   "select different node.");
    }
    // Within its bounds where the run reads it; a choice goes with the choices it needs.
    for (const Setting& setting : SettingRegistry::All()) {
        if (setting.refusal && setting.ReadIn(*this) && !setting.Within(setting.Get(*this)))
            return refuse(&setting, setting.refusal);
        const Choices::Row* chosen = setting.ChoiceOf(setting.Get(*this));
        for (const auto& [needed, choice] : SettingRegistry::Needs(chosen)) {
            if (needed->Get(*this) != Setting::Value(choice))
                return refuse(&setting, setting.refusal);
        }
    }
    return std::nullopt;
}

bool RunSettings::ExperimentChoices() const {
    for (const Setting& setting : SettingRegistry::All()) {
        if (setting.sweep == Setting::Sweep::Experiment && !setting.IsDefault(*this))
            return true;
    }
    return false;
}

RunSettings RunSettings::Normalised() const {
    RunSettings settings = *this;
    if (ModelType == Scheme::LRP)
        settings.Penalty = Reward;
    else if (ModelType == Scheme::LRI || ModelType == Scheme::Pursuit ||
             ModelType == Scheme::DiscretizedPursuit) // reward-inaction
        settings.Penalty = 0.0f;
    return settings;
}

std::optional<std::string> RunSettings::NothingLearned() const {
    const RunSettings s = Normalised();
    const std::string note = "No probability can change: ";
    if (!Choices::Models.Of(s.Model))
        return note + "the model is none this version knows.";
    const Choices::Row* scheme = Choices::Schemes.Of(s.ModelType);
    if (s.ModelType == Scheme::DiscretizedPursuit) // its steps are not the reward's
        return std::nullopt;
    // A graded answer (the S-model's) is each scheme's own: one this version does not know
    // leaves it alone.
    const bool graded = s.Model == Model::S;
    if (graded && !scheme)
        return note + "the scheme is none this version knows.";
    // What the updates read: a reward or a penalty the reward and the penalty; a graded answer
    // under LRI the reward, under LRP and LR(E)P the learning factor too.
    const bool factor = graded && s.ModelType != Scheme::LRI;
    if (s.Reward != 0.0f || s.Penalty != 0.0f || (factor && s.LearningFactor != 0.0f))
        return std::nullopt;
    std::string read = "reward";
    const bool penalty = !scheme || s.ModelType == Scheme::LREP;
    if (penalty)
        read += factor ? ", penalty" : " and penalty";
    if (factor)
        read += " and learning factor";
    return note + read + " 0 under " + (scheme ? scheme->shown : "this scheme") + ".";
}
