#include "StochasticPaths.h"

#include "RunGraph.h"

#include <limits>
#include <set>
#include <utility>

namespace StochasticPaths {

namespace {
float Add(float sum, float weight) {
    return static_cast<float>(static_cast<double>(sum) + static_cast<double>(weight));
}
} // namespace

MeasuredPath Preferred(const RunGraph& graph, int32_t source, int32_t destination) {
    const WalkIndex& index = graph.Index();
    const float* const p = graph.Probabilities();
    std::vector<bool> onPath(static_cast<std::size_t>(index.NodeCount()), false);
    MeasuredPath path;
    path.probability = 1.0;
    int32_t at = source;
    onPath[static_cast<std::size_t>(at)] = true;
    while (at != destination) {
        int32_t best = -1;
        for (int32_t step = index.MoveStarts()[at]; step < index.MoveStarts()[at + 1]; ++step) {
            if (onPath[static_cast<std::size_t>(index.MoveNodes()[step])])
                continue;
            if (best < 0 || p[index.MoveLinks()[step]] > p[index.MoveLinks()[best]])
                best = step;
        }
        if (best < 0)
            return MeasuredPath{};
        path.links.push_back(index.MoveLinks()[best]);
        path.probability *= static_cast<double>(p[index.MoveLinks()[best]]);
        at = index.MoveNodes()[best];
        onPath[static_cast<std::size_t>(at)] = true;
    }
    path.found = true;
    return path;
}

MeasuredPath ExpectedShortest(const RunGraph& graph, int32_t source, int32_t destination) {
    const WalkIndex& index = graph.Index();
    const float* const weights = graph.Weights();
    const auto nodes = static_cast<std::size_t>(index.NodeCount());
    std::vector<float> distance(nodes, std::numeric_limits<float>::infinity());
    std::vector<int32_t> via(nodes, -1), previous(nodes, -1); // the link and node it came by
    std::vector<bool> settled(nodes, false);
    std::set<std::pair<float, int32_t>> queue; // by distance, then node position
    distance[static_cast<std::size_t>(source)] = 0.0f;
    queue.emplace(0.0f, source);
    while (!queue.empty()) {
        const int32_t at = queue.begin()->second;
        queue.erase(queue.begin());
        settled[static_cast<std::size_t>(at)] = true;
        if (at == destination)
            break;
        for (int32_t step = index.MoveStarts()[at]; step < index.MoveStarts()[at + 1]; ++step) {
            const auto to = static_cast<std::size_t>(index.MoveNodes()[step]);
            if (settled[to])
                continue;
            const float through =
                Add(distance[static_cast<std::size_t>(at)], weights[index.MoveLinks()[step]]);
            if (!(through < distance[to]))
                continue;
            queue.erase({distance[to], static_cast<int32_t>(to)});
            distance[to] = through;
            via[to] = index.MoveLinks()[step];
            previous[to] = at;
            queue.emplace(through, static_cast<int32_t>(to));
        }
    }
    MeasuredPath path;
    if (!settled[static_cast<std::size_t>(destination)])
        return path;
    for (int32_t at = destination; at != source; at = previous[static_cast<std::size_t>(at)])
        path.links.insert(path.links.begin(), via[static_cast<std::size_t>(at)]);
    path.found = true;
    path.cost = distance[static_cast<std::size_t>(destination)];
    return path;
}

float ExpectedCost(const RunGraph& graph, const std::vector<int32_t>& links) {
    float cost = 0.0f;
    for (const int32_t link : links)
        cost = Add(cost, graph.Weights()[link]);
    return cost;
}

} // namespace StochasticPaths
