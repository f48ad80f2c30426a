#pragma once
// The runner's progress line kept for Python to read while the work goes on without the GIL: a
// thread of the caller's looks at the latest line now and then and shows it as it likes (tqdm).

#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>

class ProgressText : public std::streambuf {
  public:
    ProgressText() : stream_(this) {}
    ProgressText(const ProgressText&) = delete;
    ProgressText& operator=(const ProgressText&) = delete;

    // Where the runner writes its progress line.
    std::ostream& Stream() { return stream_; }
    // The line shown last ("12/40 runs, 3 s left"), or nothing before the first.
    std::string Text() const;

  protected:
    int_type overflow(int_type c) override;
    int sync() override; // the runner flushes after each line

  private:
    std::ostream stream_;
    std::string line_; // being written, on the working thread
    mutable std::mutex mutex_;
    std::string shown_;
};
