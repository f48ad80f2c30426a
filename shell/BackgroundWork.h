#pragma once
// Long work the window starts (an import, a layout, a paste) on a thread of its own, while the
// window waits behind a progress dialog whose Cancel gives up waiting.

#include <QString>
#include <QThreadPool>
#include <functional>

class QWidget;

class BackgroundWork {
  public:
    explicit BackgroundWork(QWidget* owner);

    // Runs `work` on the worker thread while the window waits (it reads nothing the window may
    // change); rethrows what it raised. False when the user cancelled: Graphviz cannot be
    // interrupted, so the work goes on and what it makes is dropped.
    bool Run(const QString& text, std::function<void()> work);

  private:
    QWidget* owner_;
    // One thread: Graphviz allows one layout at a time, so later work waits for cancelled work
    // to end. Destroyed, it waits for that too; a layout takes seconds at most (ChooseLayout).
    QThreadPool worker_;
};
