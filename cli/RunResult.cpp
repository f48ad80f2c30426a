#include "RunResult.h"

#include "DocumentFile.h"
#include "GraphFormats.h"
#include "Interrupt.h"
#include "Latin1.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "ProgressLine.h"
#include "RunOptions.h"
#include "RunSession.h"
#include "Runner.h"
#include "clsLA.h"

namespace {

// Work done between two looks at the clock for the progress line and at Ctrl+C: a few hundredths
// of a second even where every path is written to a history.
constexpr int64_t StepBudget = 1 << 16;

// A path's trace, or no value with the text report's word for why.
Figure PathFigure(const char* name, const RunSession& session, const MeasuredPath& path) {
    if (path.found)
        return {name, Latin1::ToUtf8(session.TraceOf(path.links))};
    return {name,
            {},
            path.undefined ? "undefined (a cycle of negative expected cost on the way)" : "none"};
}

// What a sampled run found.
void AddSampleFigures(Figures& figures, const RunSession& session) {
    const bool found = !session.BestPath().empty();
    const auto when = [found](auto value) {
        return found ? Figure::Value(value) : Figure::Value();
    };
    figures.push_back({"samples", session.Samples()});
    figures.push_back({"deadEnds", session.DeadEnds()});
    figures.push_back({"bestCost", when(session.BestCost())});
    figures.push_back({"bestPath", when(Latin1::ToUtf8(session.BestTrace())), ""});
    figures.push_back({"bestPathProbability", when(session.BestProbability())});
    figures.push_back({"convergedAt", session.ConvergedAt() > 0
                                          ? Figure::Value(session.ConvergedAt())
                                          : Figure::Value()});
}

// The figures of a run on a stochastic graph, or with an experiment's choice
// (RunSettings::ExperimentChoices).
void AddExperimentFigures(Figures& figures, const RunSession& session) {
    const MeasuredPath preferred = session.PreferredPath();
    const MeasuredPath& shortest = session.ExpectedShortest();
    figures.push_back({"linkDraws", session.LinkDraws()});
    figures.push_back(PathFigure("preferredPath", session, preferred));
    figures.push_back({"preferredPathProbability",
                       preferred.found ? Figure::Value(preferred.probability) : Figure::Value()});
    figures.push_back(PathFigure("expectedShortestPath", session, shortest));
    figures.push_back(
        {"expectedShortestCost", shortest.found ? Figure::Value(shortest.cost) : Figure::Value()});
    figures.push_back({"convergedOnShortest", session.ConvergedOnShortest()});
}

} // namespace

const char* RunResult::Status() const {
    return !messages.empty() ? "error" : notFound ? "not-found" : stopped ? "stopped" : "ok";
}

std::vector<Figures> RunResult::Lines() const {
    std::vector<Figures> lines = {
        {{"status", std::string(Status())},
         {"message", messages.empty() ? Figure::Value() : Utf8::FromBytes(messages[0])}},
        {{"pathCount", int64_t{pathCount}}}};
    if (!ran) {
        for (const Figure& figure : figures)
            lines.push_back({figure});
        return lines;
    }
    lines.push_back({{"learnsNothing", nothingLearned.has_value()}});
    for (std::size_t i = 0; i < figures.size(); i += 2)
        lines.emplace_back(figures.begin() + static_cast<std::ptrdiff_t>(i),
                           figures.begin() +
                               static_cast<std::ptrdiff_t>(std::min(i + 2, figures.size())));
    return lines;
}

int RunResult::ExitStatus() const {
    return !messages.empty() ? ExitStatus::RunError
           : stopped         ? ExitStatus::Interrupted
                             : ExitStatus::Ok;
}

std::unique_ptr<RunSession> RunToEnd(clsLA& la, const RunSettings& settings,
                                     const RunExtras& extras, std::ostream* progress) {
    auto session = std::make_unique<RunSession>(la.Graph(), la.Ranges(), settings, extras.judge);
    for (RunObserver* observer : extras.observers)
        session->AddObserver(*observer);
    ProgressLine line(progress);
    while (session->Step(StepBudget) == RunState::Running) {
        if (StopRequested)
            session->Stop();
        line.Show([&session](double seconds) {
            const std::string time = NumberText::Fixed(seconds, 1) + " s";
            if (session->Settings().GraphSearchMethod == SearchMethod::Sample)
                return std::to_string(session->Samples()) + " samples, " +
                       std::to_string(session->PathCount()) + " paths learned, " + time;
            return std::to_string(session->PathCount()) + " paths found, " + time;
        });
    }
    return session;
}

RunResult ResultOf(clsLA& la, const RunSession* session, const RunOptions& options) {
    RunResult result;
    if (session && session->State() == RunState::Failed) {
        result.messages.push_back(session->Message());
        result.sessionFailed = true;
    }
    if (options.save) {
        try {
            SaveGraph(la, *options.save);
        } catch (const PathloomError& e) {
            result.messages.push_back(e.Description());
        }
    }
    if (options.exportTo) {
        try {
            GraphFormats::ExportByName(la.Graph(), *options.exportTo);
        } catch (const PathloomError& e) {
            result.messages.push_back(e.Description());
        }
    }
    if (!session) {
        result.figures = Report::SummaryFigures(la);
        return result;
    }
    result.ran = true;
    result.notFound = session->NotFound();
    result.stopped = session->Stopped();
    result.pathCount = session->PathCount();
    result.nothingLearned = session->Settings().NothingLearned();
    if (session->Settings().GraphSearchMethod == SearchMethod::Sample)
        AddSampleFigures(result.figures, *session);
    if (session->Experiment())
        AddExperimentFigures(result.figures, *session);
    return result;
}

void WriteJson(std::ostream& out, const RunResult& result, const clsLA& la) {
    out << (result.ran ? "],\n" : "{");
    for (const Figures& line : result.Lines()) {
        Report::WriteMembers(out, line);
        out << ",\n";
    }
    Report::WriteLinksJson(out, la.Graph());
    out << "}\n";
}

void WriteText(std::ostream& out, const RunResult& result, const clsLA& la) {
    if (!result.ran)
        Report::WriteSettingsText(out, la);
    Report::WriteLinksText(out, la.Graph());
    if (result.ran) {
        out << "paths: " << result.pathCount << "\nstatus: " << result.Status() << '\n';
        for (const Figure& figure : result.figures)
            out << Report::TextOf(figure) << '\n';
    }
    if (result.nothingLearned)
        out << *result.nothingLearned << '\n';
    std::vector<std::string> messages = result.messages;
    if (result.notFound)
        messages.insert(messages.begin() + (result.sessionFailed ? 1 : 0), "Not found any path.");
    for (const auto& m : messages)
        out << Report::ForTerminal(m) << '\n';
}
