#include "GraphDefaults.h"

#include "RunSettings.h"
#include "clsGraph.h"

void GraphDefaults::SetLearning(RunSettings& settings) {
    settings.Model = Model::P;
    settings.ModelType = Scheme::LRI;
    settings.Reward = 0.1f;
    settings.Penalty = 0.01f;
    settings.LearningFactor = 0.1f;
}

void GraphDefaults::ShareOut(clsGraph& graph, const std::vector<int32_t>& links) {
    graph.InitProbability(); // the degrees
    for (const int32_t j : links) {
        clsLink& link = graph.Link(j);
        if (link.LinkType != LinkKind::Unidirectional)
            link.SetProbability(static_cast<float>(1.0 / link.FromNode->OutDegree));
    }
}
