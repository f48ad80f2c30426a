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
#include "RunResult.h"
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

// Prints every learned path as it comes, so that a long run holds none of them in memory, in
// pieces of some 64 KiB (a stream writes anything longer than a small piece at once). A trace is
// its links' parts ("A->B:") one after the other, each part made once.
class PathPrinter : public RunObserver {
  public:
    PathPrinter(std::ostream& out, const clsGraph& graph, bool json, bool quiet)
        : out_(out), graph_(graph), json_(json), quiet_(quiet),
          parts_(static_cast<std::size_t>(graph.LinkCount())) {}
    void PathLearned(const LearnedPath& path) override {
        using namespace Report::Names;
        static const std::string number = std::string("{\"") + Number + "\": ",
                                 trace = std::string(", \"") + Trace + "\": \"",
                                 cost = std::string("\", \"") + Cost + "\": ";
        if (quiet_)
            return;
        if (json_) {
            line_ += path.number == 1 ? "\n  " : ",\n  ";
            line_ += number;
            line_ += std::to_string(path.number);
            line_ += trace;
            AppendTrace(path.LinkPositions());
            line_ += cost;
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

// A refused command line: the message on err, and as the JSON answer when asked for.
int Usage(const std::string& message, bool withUsage, bool json, std::ostream& out,
          std::ostream& err) {
    err << "pathloom-run: " << ForTerminal(message) << '\n' << (withUsage ? UsageText() : "");
    if (json)
        WriteJsonFailure(out, message);
    return ExitStatus::Usage;
}

// The run the options ask for (not a sweep) on a document already open, reported as asked.
int RunOpenDocument(clsLA& la, const RunOptions& options, std::ostream& out, std::ostream& err,
                    std::ostream* progress) {
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
    std::optional<InterruptGuard> interrupt; // from the run's start to the last line written
    if (run) {
        interrupt.emplace();
        if (json)
            out << "{\"" << Names::Paths << "\": [";
        PathPrinter printer(out, la.Graph(), json, options.quiet);
        RunExtras extras{{&printer}, {}};
        std::unique_ptr<RunHistory> history;
        if (options.history) {
            history = std::make_unique<RunHistory>(la.Graph(), std::vector<int32_t>{});
            history->StreamTo(historyFile->Stream());
            extras.observers.push_back(history.get());
        }
        session = RunToEnd(la, *run, extras, progress);
        printer.Flush();
    }
    if (historyFile) {
        try {
            historyFile->Commit();
        } catch (const PathloomError&) {
            return historyFailed();
        }
    }
    const RunResult result = ResultOf(la, session.get(), options);
    if (json)
        WriteJson(out, result, la);
    else
        WriteText(out, result, la);
    return result.ExitStatus();
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
