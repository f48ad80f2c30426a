#pragma once
// The dialog the window shows while it waits for work on another thread: a busy bar and Cancel.

#include <QString>
#include <functional>

class QWidget;

namespace Platform {

// How long work may take before the dialog appears: quick work shows none.
constexpr int ProgressDelayMs = 400;

// Waits until `done` (asked every few milliseconds) returns true, or the user cancels; true when
// the work ended. Meanwhile the window goes on handling events (it repaints, its timers run),
// but holds back the user's input until the work ends; after ProgressDelayMs the text shows in a
// window-modal dialog titled "Pathloom" with a busy bar and a Cancel button. An installed test
// script sees the dialog when it appears (PlatformScript::OnProgress).
bool WaitForWork(QWidget* owner, const QString& text, const std::function<bool()>& done);

// The same for work that can tell how far it is: its text and the percent done (a busy bar where
// negative), asked as often as `done`.
struct WorkProgress {
    QString text;
    int percent = -1;
};
bool WaitForWork(QWidget* owner, const std::function<WorkProgress()>& progress,
                 const std::function<bool()>& done);

} // namespace Platform
