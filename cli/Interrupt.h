#pragma once
// Ctrl+C for pathloom-run: while a guard lives, the first SIGINT only asks the work under way to
// stop, so that a run or a sweep ends as Stop ends it and writes what it has whole; a second one
// is the system's again. Guards on several threads at once share one handler.

#include <atomic>
#include <csignal>

// Set by Ctrl+C while a guard lives (or by a caller): single runs and sweeps stop at their next
// step.
extern std::atomic<bool> StopRequested;

class InterruptGuard {
  public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
};
