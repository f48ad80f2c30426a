#include "RunSettings.h"

#include "clsGraph.h"

#include <cmath>

std::optional<RunSettings::Refusal> RunSettings::Validate(const clsGraph& graph) const {
    const auto refuse = [](Field field, const char* message) {
        return std::optional<Refusal>(Refusal{field, message});
    };
    const auto isNode = [&graph](int32_t index) {
        return index >= 1 && index <= graph.NodeCount();
    };
    if (!std::isfinite(Reward))
        return refuse(Field::Reward, "Please enter Reward value correctly.");
    if (ModelType == Scheme::LREP) {
        if (!std::isfinite(Penalty))
            return refuse(Field::Penalty, "Please enter Penalty value correctly.");
        if (!(Penalty < Reward))
            return refuse(Field::Reward,
                          "In LR(E)P type, Penalty value must be less than Reward value.");
    }
    if (!std::isfinite(LearningFactor))
        return refuse(Field::LearningFactor, "Please enter Learning Factor value correctly.");
    const bool walks = GraphSearchMethod == SearchMethod::IncludeAllNodes ||
                       GraphSearchMethod == SearchMethod::SourceToDestination;
    if (walks && !isNode(sourceNode))
        return refuse(Field::Source, "Please select source node.");
    if (GraphSearchMethod == SearchMethod::SourceToDestination) {
        if (!isNode(DestNode))
            return refuse(Field::Destination, "Please select destination node.");
        if (sourceNode == DestNode)
            return refuse(Field::None, "Source node and destination node are equal. Please "
                                       "select different node.");
    }
    return std::nullopt;
}

RunSettings RunSettings::Normalised() const {
    RunSettings settings = *this;
    if (ModelType == Scheme::LRP)
        settings.Penalty = Reward;
    else if (ModelType == Scheme::LRI)
        settings.Penalty = 0.0f;
    return settings;
}
