#include "ConsoleHost.h"

#include "clsPathStack.h"

#include <cstdio>
#include <limits>
#include <utility>

ConsoleHost::ConsoleHost(PathSink sink, std::ostream* progress)
    : sink_(std::move(sink)), progress_(progress), started_(std::chrono::steady_clock::now()),
      lastProgress_(started_) {}

bool ConsoleHost::ShowOptions(clsLA& la) {
    (void)la;
    started_ = std::chrono::steady_clock::now();
    lastProgress_ = started_;
    return true;
}

void ConsoleHost::ShowMessage(const std::string& text, MessageIcon icon) {
    messages_.push_back({text, icon});
}

void ConsoleHost::PathLearned(int32_t pathCount, const clsPathStack& path) {
    if (!sink_)
        return;
    float cost = std::numeric_limits<float>::quiet_NaN(); // a cost past the float range has none
    try {
        cost = path.PathCost();
    } catch (const std::exception&) {
    }
    sink_(pathCount, path.Trace(), cost);
}

bool ConsoleHost::KeepResponsive(int32_t pathCount) {
    if (!progress_)
        return false;
    using namespace std::chrono;
    const auto now = steady_clock::now();
    if (now - started_ < seconds(1) || now - lastProgress_ < milliseconds(500))
        return false;
    lastProgress_ = now;
    char line[80];
    std::snprintf(line, sizeof line, "\r%d paths found, %.1f s ", static_cast<int>(pathCount),
                  duration<double>(now - started_).count());
    *progress_ << line << std::flush;
    progressShown_ = true;
    return false;
}

void ConsoleHost::FinishProgress() {
    if (progressShown_ && progress_)
        *progress_ << "\n" << std::flush;
    progressShown_ = false;
}
