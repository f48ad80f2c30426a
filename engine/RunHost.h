#pragma once
// What a run needs from whoever started it: the window, the headless runner, or a test script.

#include <cstdint>
#include <string>

class clsLA;
class clsPathStack;

enum class MessageIcon { Critical, Exclamation, Information };

class RunHost {
  public:
    virtual ~RunHost() = default;

    // Shows the options dialog on the engine's settings; true when the user pressed OK.
    virtual bool ShowOptions(clsLA& la) = 0;

    // The pause after a path with step delay on: 1 Forward, 2 Stop.
    virtual int32_t Wait() = 0;

    // Redraws the canvas (flagged links highlighted).
    virtual void DrawObjects() = 0;

    // Processes pending window events once.
    virtual void DoEvents() = 0;

    // A modal message with the application's title. Texts are Latin-1, lines end in CR LF.
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;

    // The busy pointer of a run without step delay.
    virtual void SetBusy(bool busy) = 0;

    // Called after each path has been learned from, with the path still on the stack.
    virtual void PathLearned(int32_t pathCount, const clsPathStack& path) {
        (void)pathCount;
        (void)path;
    }

    // Called often during a run without step delay (after each path and every few thousand
    // steps of a walk), so the host can keep its window responsive. Returning true stops the run
    // as Stop at a pause does.
    virtual bool KeepResponsive(int32_t pathCount) {
        (void)pathCount;
        return false;
    }
};
