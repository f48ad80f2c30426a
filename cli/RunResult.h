#pragma once
// What a run gave, as figures named once: pathloom-run writes it as JSON or text, the Python
// module makes it Python objects. The listed paths go to the caller's observers as they come.

#include "Report.h"
#include "RunSettings.h"
#include "UserJudge.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class clsLA;
class RunObserver;
class RunSession;
struct RunOptions;

// What a caller adds to a run beyond its options: observers of its session (the runner's
// listing and history, the Python module's) and a judge in place of the environment of its
// model.
struct RunExtras {
    std::vector<RunObserver*> observers;
    UserJudge::Function judge;
};

struct RunResult {
    bool ran = false;                  // a session ran: a method was given
    std::vector<std::string> messages; // critical first, as the window shows them
    bool sessionFailed = false;
    bool notFound = false;
    bool stopped = false;
    int32_t pathCount = 0;
    std::optional<std::string> nothingLearned; // why no learning step can change a probability
    // A sampled run's figures, then an experiment's; without a run, the document's summary.
    Figures figures;

    // "ok", "not-found", "stopped" or "error".
    const char* Status() const;
    // Every figure after the listed paths, a line each as the JSON answer writes them.
    std::vector<Figures> Lines() const;
    int ExitStatus() const;
};

// Runs the session the settings ask for to its end, or to Ctrl+C (StopRequested), which stops
// it as Stop does in the window; a run longer than a second shows its progress on `progress`.
std::unique_ptr<RunSession> RunToEnd(clsLA& la, const RunSettings& settings,
                                     const RunExtras& extras, std::ostream* progress);

// Saves and exports as the options ask, and gives what the session (none: nothing ran) gave.
RunResult ResultOf(clsLA& la, const RunSession* session, const RunOptions& options);

// The JSON answer after the listed paths (their list closed), or the text report.
void WriteJson(std::ostream& out, const RunResult& result, const clsLA& la);
void WriteText(std::ostream& out, const RunResult& result, const clsLA& la);
