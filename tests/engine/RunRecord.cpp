#include "RunRecord.h"

#include "PathloomError.h"

#include <functional>

namespace {

std::vector<float> Probabilities(const clsGraph& graph) {
    std::vector<float> values;
    for (int32_t j = 1; j <= graph.LinkCount(); ++j)
        values.push_back(graph.Link(j).Probability);
    return values;
}

struct Recorder : RunObserver {
    Recorder(RunRecord& record, const clsGraph& graph, bool probabilities)
        : record(record), graph(graph), probabilities(probabilities) {}
    void PathLearned(const LearnedPath& path) override {
        record.traces.push_back(path.Links().Trace());
        record.costs.push_back(path.answer.cost);
        record.samples.push_back(path.sample);
        record.best.push_back(path.BestProbability());
        if (probabilities) {
            std::vector<float> values;
            for (int32_t j = 0; j < graph.LinkCount(); ++j)
                values.push_back(path.Probability(j));
            record.probabilities.push_back(values);
        }
    }
    RunRecord& record;
    const clsGraph& graph;
    bool probabilities;
};

} // namespace

LearningStep::LearningStep(clsLA& la, const RunSettings& settings) : run_(la.Graph()) {
    const RunParts::Context parts{settings, la.Graph(), la.Ranges(), run_};
    environment_ = RunParts::MakeEnvironment(parts, false);
    rule_ = RunParts::MakeUpdateRule(parts);
}

Environment::Answer LearningStep::Learn(const std::vector<int32_t>& links) {
    const PathView path{links.data(), static_cast<int32_t>(links.size())};
    try {
        const Environment::Answer answer = environment_->Judge(path);
        rule_->Apply(path, answer);
        run_.WriteProbabilities();
        return answer;
    } catch (const PathloomError&) {
        run_.WriteProbabilities();
        throw;
    }
}

std::vector<std::string> RunRecord::Messages() const {
    std::vector<std::string> messages;
    if (state == RunState::Failed)
        messages.push_back(message);
    if (notFound)
        messages.push_back("Not found any path.");
    return messages;
}

RunRecord RunToEnd(clsLA& la, const RunOptionsForTest& options) {
    RunRecord record;
    RunSession session(la.Graph(), la.Ranges(), la.Settings);
    Recorder recorder(record, la.Graph(), options.probabilities);
    session.AddObserver(recorder);
    for (RunState state; (state = session.Step(options.budget)) == RunState::Running ||
                         state == RunState::Paused;) {
        if (state == RunState::Paused && record.pauses++ == options.stopAtPause)
            session.Stop();
    }
    record.state = session.State();
    record.message = session.Message();
    record.notFound = session.NotFound();
    record.pathCount = session.PathCount();
    record.sampleCount = session.Samples();
    record.deadEnds = session.DeadEnds();
    record.convergedAt = session.ConvergedAt();
    record.bestTrace = session.BestTrace();
    return record;
}

// Recursive and slow on purpose: at every step each link of the graph in order, and the path
// itself asked whether the next node is on it.
RunRecord ReferenceRun(clsLA& la, bool probabilities) {
    RunRecord record;
    clsGraph& graph = la.Graph();
    const RunSettings settings = la.Settings.Normalised();
    graph.ResetFlags();
    graph.RestoreProbabilities();
    LearningStep step(la, settings);
    clsPathStack path;
    std::vector<int32_t> positions;
    clsNode* destination = settings.GraphSearchMethod == SearchMethod::SourceToDestination
                               ? &graph.Node(settings.DestNode)
                               : nullptr;
    // An end of some link on the path; the start of a walk is therefore not on an empty path.
    const auto onPath = [&path](const clsNode* node) {
        for (int32_t k = 0; k < path.Count(); ++k) {
            if (path.Link(k)->FromNode == node || path.Link(k)->ToNode == node)
                return true;
        }
        return false;
    };
    const auto complete = [&](const clsNode* node) {
        if (destination)
            return node == destination;
        for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
            if (!onPath(&graph.Node(i)))
                return false;
        }
        return true;
    };
    std::function<void(clsNode*)> walk = [&](clsNode* node) {
        if (complete(node)) {
            if (record.pathCount == 32767)
                throw PathloomError(
                    ErrorNumber::Overflow, "",
                    "Overflow\r\nThe run stopped because a run counts at most 32,767 paths.");
            ++record.pathCount;
            record.traces.push_back(path.Trace());
            step.Learn(positions);
            if (probabilities)
                record.probabilities.push_back(Probabilities(graph));
            return;
        }
        for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
            clsLink& link = graph.Link(j);
            clsNode* next = link.FromNode == node ? link.ToNode
                            : link.ToNode == node && link.LinkType != LinkKind::Unidirectional
                                ? link.FromNode
                                : nullptr;
            if (link.Flag || !next || onPath(next))
                continue;
            link.Flag = true;
            path.Push(&link);
            positions.push_back(j - 1);
            walk(next);
            positions.pop_back();
            path.Pop();
            link.Flag = false;
        }
    };
    try {
        walk(&graph.Node(settings.sourceNode));
        record.state = RunState::Finished;
        record.notFound = record.pathCount == 0;
    } catch (const PathloomError& e) {
        record.state = RunState::Failed;
        record.message = e.Description();
    }
    return record;
}
