#pragma once
// The one progress line of pathloom-run, for runs and sweeps alike: shown on a terminal once the
// work has taken a second, redrawn in place at most twice a second, ended by a line break.

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

class ProgressLine {
  public:
    // Where to show it (standard error when it is a terminal), or null for nowhere.
    explicit ProgressLine(std::ostream* out) : out_(out) {}
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // When a line is due, shows what `text` makes of the seconds since the start.
    void Show(const std::function<std::string(double seconds)>& text);

  private:
    using Clock = std::chrono::steady_clock;
    std::ostream* out_;
    Clock::time_point start_ = Clock::now(), shown_ = start_;
    bool used_ = false;
};
