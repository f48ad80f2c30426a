#include "RunGraph.h"

#include "clsGraph.h"

RunGraph::RunGraph(clsGraph& graph) {
    index_.Build(graph);
    const auto links = static_cast<std::size_t>(index_.LinkCount());
    probabilities_.resize(links);
    weights_.resize(links);
    for (std::size_t j = 0; j < links; ++j) {
        const clsLink& link = *index_.LinkAt(static_cast<int32_t>(j));
        probabilities_[j] = link.Probability;
        weights_[j] = link.Weight;
        if (link.Length) {
            lengths_.resize(links);
            lengths_[j] = link.Length;
        }
    }
    outDegrees_.resize(static_cast<std::size_t>(index_.NodeCount()));
    for (std::size_t i = 0; i < outDegrees_.size(); ++i)
        outDegrees_[i] = index_.NodeAt(static_cast<int32_t>(i))->OutDegree;
}

void RunGraph::WriteProbabilities() const {
    for (std::size_t j = 0; j < probabilities_.size(); ++j)
        index_.LinkAt(static_cast<int32_t>(j))->Probability = probabilities_[j];
}
