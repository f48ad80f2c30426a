#include "ScriptedHost.h"

#include "clsLA.h"

std::vector<std::string> ScriptedHost::Traces() const {
    std::vector<std::string> traces;
    for (const LearnedPath& path : Paths)
        traces.push_back(path.trace);
    return traces;
}

bool ScriptedHost::ShowOptions(clsLA& la) {
    la_ = &la;
    Events.push_back("Options");
    if (OptionsResult && OnOptions)
        OnOptions(la);
    return OptionsResult;
}

int32_t ScriptedHost::Wait() {
    Events.push_back("Wait");
    if (WaitAnswers.empty())
        return 1;
    const int32_t answer = WaitAnswers.front();
    WaitAnswers.pop_front();
    return answer;
}

void ScriptedHost::DrawObjects() {
    Events.push_back("Draw");
}

void ScriptedHost::DoEvents() {
    Events.push_back("DoEvents");
}

void ScriptedHost::ShowMessage(const std::string& text, MessageIcon icon) {
    Events.push_back("Message");
    Messages.push_back({text, icon});
}

void ScriptedHost::SetBusy(bool busy) {
    Events.push_back(busy ? "Busy" : "NotBusy");
}

void ScriptedHost::PathLearned(int32_t pathCount, const clsPathStack& path) {
    (void)pathCount;
    LearnedPath learned{path.Trace(), {}, {}};
    if (RecordProbabilities && la_) {
        const clsGraph& graph = la_->Graph();
        for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
            learned.probabilities.push_back(graph.Link(j).Probability);
            learned.flags.push_back(graph.Link(j).Flag);
        }
    }
    Paths.push_back(std::move(learned));
}

bool ScriptedHost::KeepResponsive(int32_t pathCount) {
    ++KeepResponsiveCalls;
    return StopAfterPaths >= 0 && pathCount >= StopAfterPaths;
}
