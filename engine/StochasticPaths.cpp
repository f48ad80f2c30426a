#include "StochasticPaths.h"

#include "RunGraph.h"

#include <algorithm>
#include <cmath>
#include <deque>
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

namespace {

// The path the links `via` came by, back from the destination.
MeasuredPath Traced(const std::vector<int32_t>& via, const std::vector<int32_t>& previous,
                    int32_t source, int32_t destination, float cost) {
    MeasuredPath path;
    for (int32_t at = destination; at != source; at = previous[static_cast<std::size_t>(at)])
        path.links.push_back(via[static_cast<std::size_t>(at)]);
    std::reverse(path.links.begin(), path.links.end());
    path.found = true;
    path.cost = cost;
    return path;
}

MeasuredPath Dijkstra(const RunGraph& graph, int32_t source, int32_t destination) {
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
    if (!settled[static_cast<std::size_t>(destination)])
        return MeasuredPath{};
    return Traced(via, previous, source, destination,
                  distance[static_cast<std::size_t>(destination)]);
}

// The nodes on some walk from the source to the destination that never comes back to the source
// nor leaves the destination, as no path does: walks that these steps cannot shorten.
std::vector<bool> OnTheWay(const WalkIndex& index, int32_t source, int32_t destination) {
    const auto nodes = static_cast<std::size_t>(index.NodeCount());
    const int32_t* const start = index.MoveStarts();
    const int32_t* const next = index.MoveNodes();
    const auto allowed = [&](int32_t from, int32_t to) {
        return from != destination && to != source;
    };
    // The steps into each node, as the steps from it are kept.
    std::vector<int32_t> intoStart(nodes + 1, 0), into(static_cast<std::size_t>(start[nodes]));
    for (int32_t step = 0; step < start[nodes]; ++step)
        ++intoStart[static_cast<std::size_t>(next[step]) + 1];
    for (std::size_t node = 0; node < nodes; ++node)
        intoStart[node + 1] += intoStart[node];
    std::vector<int32_t> filled(intoStart.begin(), intoStart.end() - 1);
    for (int32_t at = 0; at < static_cast<int32_t>(nodes); ++at) {
        for (int32_t step = start[at]; step < start[at + 1]; ++step)
            into[static_cast<std::size_t>(filled[static_cast<std::size_t>(next[step])]++)] = at;
    }
    const auto flood = [&](int32_t from, bool forward) {
        std::vector<bool> reached(nodes, false);
        std::vector<int32_t> stack{from};
        reached[static_cast<std::size_t>(from)] = true;
        while (!stack.empty()) {
            const int32_t at = stack.back();
            stack.pop_back();
            const int32_t* const begin = forward ? next + start[at] : into.data() + intoStart[at];
            const int32_t* const end =
                forward ? next + start[at + 1] : into.data() + intoStart[at + 1];
            for (const int32_t* other = begin; other != end; ++other) {
                if (!reached[static_cast<std::size_t>(*other)] &&
                    (forward ? allowed(at, *other) : allowed(*other, at))) {
                    reached[static_cast<std::size_t>(*other)] = true;
                    stack.push_back(*other);
                }
            }
        }
        return reached;
    };
    std::vector<bool> way = flood(source, true);
    const std::vector<bool> back = flood(destination, false);
    for (std::size_t node = 0; node < nodes; ++node)
        way[node] = way[node] && back[node];
    return way;
}

// The links the nodes came by hold a cycle: one of negative cost, which every step along it
// made cheaper.
bool HasCycle(const std::vector<int32_t>& previous) {
    std::vector<int32_t> seenFrom(previous.size(), -1);
    for (int32_t node = 0; node < static_cast<int32_t>(previous.size()); ++node) {
        int32_t at = node;
        while (at >= 0 && seenFrom[static_cast<std::size_t>(at)] < 0) {
            seenFrom[static_cast<std::size_t>(at)] = node;
            at = previous[static_cast<std::size_t>(at)];
        }
        if (at >= 0 && seenFrom[static_cast<std::size_t>(at)] == node)
            return true;
    }
    return false;
}

// Bellman-Ford with a queue, over the nodes on the way only: a cycle of negative cost among them
// makes walks from the source to the destination ever cheaper, and no path the shortest. It
// shows as a cycle among the links the nodes came by (looked for after as many improvements as
// there are nodes, which keeps the looking linear) or, at the latest, as a walk of as many links
// as there are nodes on the way.
MeasuredPath BellmanFord(const RunGraph& graph, int32_t source, int32_t destination) {
    const WalkIndex& index = graph.Index();
    const float* const weights = graph.Weights();
    const auto nodes = static_cast<std::size_t>(index.NodeCount());
    const std::vector<bool> way = OnTheWay(index, source, destination);
    if (!way[static_cast<std::size_t>(destination)])
        return MeasuredPath{};
    const auto wayNodes = static_cast<int32_t>(std::count(way.begin(), way.end(), true));
    std::vector<float> distance(nodes, std::numeric_limits<float>::infinity());
    std::vector<int32_t> via(nodes, -1), previous(nodes, -1), links(nodes, 0);
    std::vector<bool> queued(nodes, false);
    std::deque<int32_t> queue{source};
    distance[static_cast<std::size_t>(source)] = 0.0f;
    queued[static_cast<std::size_t>(source)] = true;
    MeasuredPath undefined;
    undefined.undefined = true;
    for (int32_t improved = 0; !queue.empty();) {
        const int32_t at = queue.front();
        queue.pop_front();
        queued[static_cast<std::size_t>(at)] = false;
        if (at == destination)
            continue;
        for (int32_t step = index.MoveStarts()[at]; step < index.MoveStarts()[at + 1]; ++step) {
            const auto to = static_cast<std::size_t>(index.MoveNodes()[step]);
            if (!way[to] || static_cast<int32_t>(to) == source)
                continue;
            const float through =
                Add(distance[static_cast<std::size_t>(at)], weights[index.MoveLinks()[step]]);
            if (!(through < distance[to]) || !std::isfinite(through))
                continue;
            distance[to] = through;
            via[to] = index.MoveLinks()[step];
            previous[to] = at;
            links[to] = links[static_cast<std::size_t>(at)] + 1;
            if (links[to] >= wayNodes || (++improved % wayNodes == 0 && HasCycle(previous)))
                return undefined;
            if (!queued[to]) {
                queued[to] = true;
                queue.push_back(static_cast<int32_t>(to));
            }
        }
    }
    if (previous[static_cast<std::size_t>(destination)] < 0)
        return MeasuredPath{};
    // Roundings can hide a cycle's last step from the count.
    if (HasCycle(previous))
        return undefined;
    return Traced(via, previous, source, destination,
                  distance[static_cast<std::size_t>(destination)]);
}

} // namespace

MeasuredPath ExpectedShortest(const RunGraph& graph, int32_t source, int32_t destination) {
    const float* const weights = graph.Weights();
    const bool negative = std::any_of(weights, weights + graph.LinkCount(),
                                      [](float weight) { return weight < 0.0f; });
    return negative ? BellmanFord(graph, source, destination)
                    : Dijkstra(graph, source, destination);
}

float ExpectedCost(const RunGraph& graph, const std::vector<int32_t>& links) {
    float cost = 0.0f;
    for (const int32_t link : links)
        cost = Add(cost, graph.Weights()[link]);
    return cost;
}

} // namespace StochasticPaths
