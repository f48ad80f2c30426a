#pragma once
// A RunHost driven by a script: answers the options dialog and the pauses as told and records
// everything the engine shows, so that whole runs can be checked without a window.

#include "RunHost.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class ScriptedHost : public RunHost {
  public:
    // --- the script
    bool OptionsResult = true;
    std::function<void(clsLA&)> OnOptions; // sets the run's settings, as the dialog would
    std::deque<int32_t> WaitAnswers;       // answers of the pauses; Forward when none is left
    int32_t StopAfterPaths = -1;           // KeepResponsive asks to stop from this count on
    bool RecordProbabilities = false;      // snapshot every link's probability per path

    // --- what the engine did
    struct Message {
        std::string text;
        MessageIcon icon;
    };
    struct LearnedPath {
        std::string trace;
        std::vector<float> probabilities; // in link order, when recorded
        std::vector<bool> flags;          // in link order, when recorded
    };
    std::vector<Message> Messages;
    std::vector<std::string> Events;
    std::vector<LearnedPath> Paths;
    int32_t KeepResponsiveCalls = 0;

    std::vector<std::string> Traces() const;

    bool ShowOptions(clsLA& la) override;
    int32_t Wait() override;
    void DrawObjects() override { Events.push_back("Draw"); }
    void DoEvents() override { Events.push_back("DoEvents"); }
    void ShowMessage(const std::string& text, MessageIcon icon) override {
        Events.push_back("Message");
        Messages.push_back({text, icon});
    }
    void SetBusy(bool busy) override { Events.push_back(busy ? "Busy" : "NotBusy"); }
    void PathLearned(int32_t pathCount, const clsPathStack& path) override;
    bool KeepResponsive(int32_t pathCount) override {
        ++KeepResponsiveCalls;
        return StopAfterPaths >= 0 && pathCount >= StopAfterPaths;
    }

  private:
    clsLA* la_ = nullptr;
};
