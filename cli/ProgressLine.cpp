#include "ProgressLine.h"

ProgressLine::~ProgressLine() {
    if (used_)
        *out_ << '\n' << std::flush;
}

void ProgressLine::Show(const std::function<std::string(double seconds)>& text) {
    const auto now = Clock::now();
    if (!out_ || now - start_ < std::chrono::seconds(1) ||
        now - shown_ < std::chrono::milliseconds(500))
        return;
    shown_ = now;
    *out_ << '\r' << text(std::chrono::duration<double>(now - start_).count()) << ' ' << std::flush;
    used_ = true;
}
