#include "Runner.h"

#include "DocumentFile.h"
#include "GraphFormats.h"
#include "Interrupt.h"
#include "JsonText.h"
#include "Latin1.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "ProgressLine.h"
#include "Report.h"
#include "RunHistory.h"
#include "RunOptions.h"
#include "RunSession.h"
#include "RunSetup.h"
#include "SafeFile.h"
#include "Sweep.h"
#include "clsLA.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

using namespace Report;

namespace {

// Work done between two looks at the clock for the progress line and at Ctrl+C: a few hundredths
// of a second even where every path is written to a history.
constexpr int64_t StepBudget = 1 << 16;

// Prints every learned path as it comes, so that a long run holds none of them in memory, in
// pieces of some 64 KiB (a stream writes anything longer than a small piece at once). A trace is
// its links' parts ("A->B:") one after the other, each part made once.
class PathPrinter : public RunObserver {
  public:
    PathPrinter(std::ostream& out, const clsGraph& graph, bool json, bool quiet)
        : out_(out), graph_(graph), json_(json), quiet_(quiet),
          parts_(static_cast<std::size_t>(graph.LinkCount())) {}
    void PathLearned(const LearnedPath& path) override {
        if (quiet_)
            return;
        if (json_) {
            line_ += path.number == 1 ? "\n  {\"n\": " : ",\n  {\"n\": ";
            line_ += std::to_string(path.number);
            line_ += ", \"trace\": \"";
            AppendTrace(path.LinkPositions());
            line_ += "\", \"cost\": ";
            line_ += JsonText::Float(path.answer.cost);
            line_ += '}';
        } else {
            line_ += std::to_string(path.number);
            line_ += '\t';
            AppendTrace(path.LinkPositions());
            line_ += '\t';
            line_ += JsonText::Float(path.answer.cost);
            line_ += '\n';
        }
        if (line_.size() >= FlushBytes)
            Flush();
    }

    // Writes out the paths printed so far: before anything else goes to the output.
    void Flush() {
        out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
        line_.clear();
    }

  private:
    struct Part {
        uint32_t start = 0, size = 0; // in partText_; no part is empty once made
    };

    // Quoting and escaping go character by character, so a trace's text is its parts' texts.
    void AppendTrace(PathView links) {
        std::size_t size = 0;
        for (const int32_t link : links) {
            Part& part = parts_[static_cast<std::size_t>(link)];
            if (part.size == 0)
                part = MakePart(link);
            size += part.size;
        }
        std::size_t at = line_.size();
        line_.resize(at + size);
        for (const int32_t link : links) {
            const Part& part = parts_[static_cast<std::size_t>(link)];
            std::memcpy(&line_[at], partText_.data() + part.start, part.size);
            at += part.size;
        }
    }

    Part MakePart(int32_t link) {
        clsPathStack one;
        one.Push(&graph_.Link(link + 1));
        const std::string quoted = QuotedLabel(one.Trace());
        const std::string text = json_ ? quoted.substr(1, quoted.size() - 2) : Shown(one.Trace());
        const Part part{static_cast<uint32_t>(partText_.size()),
                        static_cast<uint32_t>(text.size())};
        partText_ += text;
        return part;
    }

    std::ostream& out_;
    const clsGraph& graph_;
    bool json_;
    bool quiet_;
    static constexpr std::size_t FlushBytes = 1 << 16;
    std::vector<Part> parts_; // by link position
    std::string partText_;
    std::string line_; // the paths not yet written
};

// What a sampled run found, after its paths.
void WriteSampleResult(std::ostream& out, const RunSession& session, bool json) {
    const bool found = !session.BestPath().empty();
    const std::string cost = found ? JsonText::Float(session.BestCost()) : "null";
    const std::string probability = found ? JsonText::Double(session.BestProbability()) : "null";
    const std::string convergedAt =
        session.ConvergedAt() > 0 ? std::to_string(session.ConvergedAt()) : "null";
    if (json) {
        out << "\"samples\": " << session.Samples() << ", \"deadEnds\": " << session.DeadEnds()
            << ",\n\"bestCost\": " << cost
            << ", \"bestPath\": " << (found ? QuotedLabel(session.BestTrace()) : "null")
            << ",\n\"bestPathProbability\": " << probability << ", \"convergedAt\": " << convergedAt
            << ",\n";
    } else {
        out << "samples: " << session.Samples() << "\ndeadEnds: " << session.DeadEnds()
            << "\nbestCost: " << cost << "\nbestPath: " << Shown(session.BestTrace())
            << "\nbestPathProbability: " << probability << "\nconvergedAt: " << convergedAt << '\n';
    }
}

// The figures of a run on a stochastic graph, or with the mean threshold or the variable action
// set, after what every run reports.
void WriteExperimentResult(std::ostream& out, const RunSession& session, bool json) {
    const MeasuredPath preferred = session.PreferredPath();
    const MeasuredPath& shortest = session.ExpectedShortest();
    const auto trace = [&](const MeasuredPath& path) {
        if (path.undefined && !json)
            return std::string("undefined (a cycle of negative expected cost on the way)");
        if (!path.found)
            return std::string(json ? "null" : "none");
        return json ? QuotedLabel(session.TraceOf(path.links)) : Shown(session.TraceOf(path.links));
    };
    const std::string probability =
        preferred.found ? JsonText::Double(preferred.probability) : "null";
    const std::string cost = shortest.found ? JsonText::Float(shortest.cost) : "null";
    const char* converged = session.ConvergedOnShortest() ? "true" : "false";
    if (json) {
        out << "\"linkDraws\": " << session.LinkDraws()
            << ", \"preferredPath\": " << trace(preferred)
            << ",\n\"preferredPathProbability\": " << probability
            << ", \"expectedShortestPath\": " << trace(shortest)
            << ",\n\"expectedShortestCost\": " << cost << ", \"convergedOnShortest\": " << converged
            << ",\n";
    } else {
        out << "linkDraws: " << session.LinkDraws() << "\npreferredPath: " << trace(preferred)
            << "\npreferredPathProbability: " << probability
            << "\nexpectedShortestPath: " << trace(shortest) << "\nexpectedShortestCost: " << cost
            << "\nconvergedOnShortest: " << converged << '\n';
    }
}

// Steps the session to its end, or to Ctrl+C, which stops it as Stop does in the window; a run
// longer than a second shows "paths found, time" on a terminal.
void RunToEnd(RunSession& session, std::ostream* progress) {
    ProgressLine line(progress);
    while (session.Step(StepBudget) == RunState::Running) {
        if (StopRequested)
            session.Stop();
        line.Show([&session](double seconds) {
            const std::string time = NumberText::Fixed(seconds, 1) + " s";
            if (session.Settings().GraphSearchMethod == SearchMethod::Sample)
                return std::to_string(session.Samples()) + " samples, " +
                       std::to_string(session.PathCount()) + " paths learned, " + time;
            return std::to_string(session.PathCount()) + " paths found, " + time;
        });
    }
}

// A refused command line: the message on err, and as the JSON answer when asked for.
int Usage(const std::string& message, bool withUsage, bool json, std::ostream& out,
          std::ostream& err) {
    err << "pathloom-run: " << ForTerminal(message) << '\n' << (withUsage ? UsageText() : "");
    if (json)
        WriteJsonFailure(out, message);
    return ExitStatus::Usage;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        std::ostream* progress) {
    const bool json = std::find(args.begin(), args.end(), "--json") != args.end();
    clsLA la;
    RunOptions options;
    try {
        options = ParseRunOptions(args);
    } catch (const UsageError& e) {
        return Usage(e.what(), true, json, out, err);
    }
    try {
        RefuseOutputOverInput(options);
    } catch (const UsageError& e) {
        return Usage(e.what(), false, json, out, err);
    }
    if (options.Sweeping())
        return RunSweep(options, out, err, progress);
    std::string failure;
    try {
        for (const std::string& note : GraphFormats::OpenByName(la, options.document))
            err << "pathloom-run: " << ForTerminal(note) << '\n';
    } catch (const PathloomError& e) {
        failure = e.Description();
    } catch (const std::bad_alloc&) {
        la.Clear();
        failure = "'" + options.document + "' could not be read: out of memory";
    }
    if (!failure.empty()) {
        err << ForTerminal(failure) << '\n';
        if (json)
            WriteJsonFailure(out, failure);
        return ExitStatus::LoadFailed;
    }
    return RunOpenDocument(la, options, out, err, progress);
}

} // namespace

int RunOpenDocument(clsLA& la, const RunOptions& options, std::ostream& out, std::ostream& err,
                    std::ostream* progress, const RunExtras& extras) {
    const bool json = options.json;
    std::optional<RunSettings> run;
    try {
        ApplyLengths(la.Graph(), options);
        run = ApplySettings(la, options);
    } catch (const UsageError& e) {
        return Usage(e.what(), false, json, out, err);
    }

    const auto historyFailed = [&] {
        err << "pathloom-run: the history could not be written to " << ForTerminal(*options.history)
            << '\n';
        return ExitStatus::OutputFailed;
    };
    std::unique_ptr<SafeStream> historyFile;
    if (options.history) {
        try {
            historyFile = std::make_unique<SafeStream>(*options.history);
        } catch (const PathloomError&) {
            return historyFailed();
        }
    }

    std::unique_ptr<RunSession> session;
    std::unique_ptr<PathPrinter> printer;
    std::unique_ptr<RunHistory> history;
    std::optional<InterruptGuard> interrupt; // from the run's start to the last line written
    if (run) {
        interrupt.emplace();
        if (json)
            out << "{\"paths\": [";
        session = std::make_unique<RunSession>(la.Graph(), la.Ranges(), *run, extras.judge);
        printer = std::make_unique<PathPrinter>(extras.paths ? *extras.paths : out, la.Graph(),
                                                json, options.quiet);
        session->AddObserver(*printer);
        for (RunObserver* observer : extras.observers)
            session->AddObserver(*observer);
        if (options.history) {
            history = std::make_unique<RunHistory>(la.Graph(), std::vector<int32_t>{});
            history->StreamTo(historyFile->Stream());
            session->AddObserver(*history);
        }
        RunToEnd(*session, progress);
        printer->Flush();
    }
    if (historyFile) {
        try {
            historyFile->Commit();
        } catch (const PathloomError&) {
            return historyFailed();
        }
    }
    std::vector<std::string> messages; // critical first, as the window shows them
    if (session && session->State() == RunState::Failed)
        messages.push_back(session->Message());
    if (options.save) {
        try {
            SaveGraph(la, *options.save);
        } catch (const PathloomError& e) {
            messages.push_back(e.Description());
        }
    }
    if (options.exportTo) {
        try {
            GraphFormats::ExportByName(la.Graph(), *options.exportTo);
        } catch (const PathloomError& e) {
            messages.push_back(e.Description());
        }
    }
    const bool failed = !messages.empty();
    const bool notFound = session && session->NotFound();
    const bool stopped = session && session->Stopped();
    const char* status = failed ? "error" : notFound ? "not-found" : stopped ? "stopped" : "ok";
    const int32_t pathCount = session ? session->PathCount() : 0;
    const bool sampled = session && run->GraphSearchMethod == SearchMethod::Sample;
    const std::optional<std::string> nothingLearned =
        session ? run->NothingLearned() : std::nullopt;

    if (json) {
        out << (session ? "],\n" : "{") << "\"status\": \"" << status
            << "\", \"message\": " << (failed ? QuotedMessage(messages[0]) : "null")
            << ",\n\"pathCount\": " << pathCount << ",\n";
        if (session)
            out << "\"learnsNothing\": " << (nothingLearned ? "true" : "false") << ",\n";
        if (sampled)
            WriteSampleResult(out, *session, true);
        if (session && session->Experiment())
            WriteExperimentResult(out, *session, true);
        if (!session) {
            out << "\"paths\": [],\n";
            WriteSettingsJson(out, la);
            out << ",\n";
        }
        WriteLinksJson(out, la.Graph());
        out << "}\n";
    } else {
        if (!session)
            WriteSettingsText(out, la);
        WriteLinksText(out, la.Graph());
        if (session)
            out << "paths: " << pathCount << "\nstatus: " << status << '\n';
        if (sampled)
            WriteSampleResult(out, *session, false);
        if (session && session->Experiment())
            WriteExperimentResult(out, *session, false);
        if (nothingLearned)
            out << *nothingLearned << '\n';
        if (notFound)
            messages.insert(messages.begin() + (session->State() == RunState::Failed),
                            "Not found any path.");
        for (const auto& m : messages)
            out << ForTerminal(m) << '\n';
    }
    return failed ? ExitStatus::RunError : stopped ? ExitStatus::Interrupted : ExitStatus::Ok;
}

int RunPathloom(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                std::ostream* progress) {
    int status = ExitStatus::Ok;
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << UsageText();
    } else {
        try {
            status = Run(args, out, err, progress);
        } catch (const std::bad_alloc&) { // as a run that fails: said, never a crash
            err << "pathloom-run: out of memory\n";
            status = ExitStatus::RunError;
        }
    }
    // A full disk or a closed standard output must not pass for success.
    out.flush();
    if (!out) {
        err << "pathloom-run: the output could not be written\n";
        return ExitStatus::OutputFailed;
    }
    return status;
}
