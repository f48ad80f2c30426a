#include "Busy.h"

#include <QApplication>
#include <QCursor>

namespace Platform {

namespace {
bool busy = false;
}

void SetBusy(bool on) {
    // Override cursors stack; keep exactly one of ours so set and clear always balance.
    if (on == busy)
        return;
    busy = on;
    if (on)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

bool IsBusy() {
    return busy;
}

void DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace Platform
