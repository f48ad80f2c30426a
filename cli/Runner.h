#pragma once
// pathloom-run: loads a document, applies the command line's settings, runs the engine of the
// window on it and reports in text or JSON.

#include "UserJudge.h"

#include <ostream>
#include <string>
#include <vector>

class clsLA;
class RunObserver;
struct RunOptions;

namespace ExitStatus {
constexpr int Ok = 0;       // the run ended normally, a path found or not
constexpr int RunError = 1; // the window would have shown a critical message
constexpr int Usage = 2;
constexpr int LoadFailed = 3;
constexpr int OutputFailed = 4;  // standard output could not be written (a full disk, closed)
constexpr int Interrupted = 130; // Ctrl+C ended the run or the sweep, as a shell counts SIGINT
} // namespace ExitStatus

// args: the arguments after the program name. progress: where a long run shows its progress
// line (standard error when it is a terminal), or null.
int RunPathloom(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                std::ostream* progress);

// What a caller adds to a run beyond its command line (the Python module): observers of its
// session, a judge in place of the environment of its model, and a stream of its own for the
// listed paths (the JSON answer then lists none), which it may read only when asked.
struct RunExtras {
    std::vector<RunObserver*> observers;
    UserJudge::Function judge;
    std::ostream* paths = nullptr;
};

// The run the options ask for (not a sweep) on a document already open, reported as
// pathloom-run reports it; the exit status.
int RunOpenDocument(clsLA& la, const RunOptions& options, std::ostream& out, std::ostream& err,
                    std::ostream* progress, const RunExtras& extras = {});
