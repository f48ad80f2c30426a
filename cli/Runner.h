#pragma once
// pathloom-run: loads a document, applies the command line's settings, runs the engine of the
// window on it and reports in text or JSON.

#include <ostream>
#include <string>
#include <vector>

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
