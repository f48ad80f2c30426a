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

void ScriptedHost::PathLearned(int32_t, const clsPathStack& path) {
    LearnedPath learned{path.Trace(), {}, {}};
    for (int32_t j = 1; RecordProbabilities && la_ && j <= la_->Graph().LinkCount(); ++j) {
        learned.probabilities.push_back(la_->Graph().Link(j).Probability);
        learned.flags.push_back(la_->Graph().Link(j).Flag);
    }
    Paths.push_back(std::move(learned));
}
