#include "ProgressDialog.h"

#include "MessageBox.h"
#include "PlatformScript.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>

namespace Platform {

namespace {
constexpr int PollMs = 10;
}

bool WaitForWork(QWidget* owner, const QString& text, const std::function<bool()>& done) {
    return WaitForWork(
        owner, [&text] { return WorkProgress{text}; }, done);
}

bool WaitForWork(QWidget* owner, const std::function<WorkProgress()>& progress,
                 const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer poll;
    QProgressDialog* shown = nullptr;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
        if (!shown)
            return;
        const WorkProgress now = progress();
        shown->setLabelText(now.text);
        shown->setMaximum(now.percent < 0 ? 0 : 100);
        shown->setValue(std::max(now.percent, 0));
    });
    poll.start(PollMs);
    // Before the dialog is there to take it, the user's input waits: a click must not edit the
    // graph the work was started on.
    QTimer::singleShot(ProgressDelayMs, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (done())
        return true;

    QProgressDialog dialog(progress().text, "Cancel", 0, 0, owner);
    shown = &dialog;
    dialog.setWindowTitle(AppTitle);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    bool cancelled = false;
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, [&] {
        cancelled = true;
        loop.quit();
    });
    dialog.show();
    if (PlatformScript* script = PlatformScript::Current(); script && script->OnProgress)
        QTimer::singleShot(0, &dialog, [script, &dialog] { script->OnProgress(dialog); });
    loop.exec();
    shown = nullptr;
    return !cancelled;
}

} // namespace Platform
