#pragma once
// The runner's side of a run: no dialog, no pauses; paths and messages go to the console.

#include "RunHost.h"

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

class ConsoleHost : public RunHost {
  public:
    struct Message {
        std::string text; // Latin-1, lines end in CR LF
        MessageIcon icon;
    };
    // Receives each learned path: its number, trace (Latin-1) and cost.
    using PathSink = std::function<void(int32_t, const std::string&, float)>;

    // progress: a terminal to show "paths found, time" on while a long run goes on, or null.
    ConsoleHost(PathSink sink, std::ostream* progress);

    bool ShowOptions(clsLA& la) override; // settings come from the command line
    int32_t Wait() override { return 1; }
    void DrawObjects() override {}
    void DoEvents() override {}
    void ShowMessage(const std::string& text, MessageIcon icon) override;
    void SetBusy(bool busy) override { (void)busy; }
    void PathLearned(int32_t pathCount, const clsPathStack& path) override;
    bool KeepResponsive(int32_t pathCount) override;

    const std::vector<Message>& Messages() const { return messages_; }
    // Ends the progress line, if one was shown.
    void FinishProgress();

  private:
    PathSink sink_;
    std::ostream* progress_;
    std::vector<Message> messages_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastProgress_;
    bool progressShown_ = false;
};
