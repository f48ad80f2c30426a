#pragma once
// Ctrl+C for runs and sweeps: while a guard lives, SIGINT asks the work under way to stop, so
// that a run or a sweep ends as Stop ends it and writes what it has whole. A handler that was
// there before (the Python interpreter's) goes on hearing every SIGINT; where there was none (
// pathloom-run), a second one is the system's again. Guards on several threads at once share one
// handler.

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
