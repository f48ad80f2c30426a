#include "WindowPlacement.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>

namespace WindowPlacement {

namespace {

const char* const GeometryKey = "window/geometry";
const char* const StateKey = "window/state";
constexpr int StateVersion = 1; // of the docks' layout

} // namespace

QSize FirstSize(QSize available) {
    return QSize(1000, 700).expandedTo(available * 2 / 3).boundedTo(available * 9 / 10);
}

void FirstSight(QMainWindow& window, const std::vector<QDockWidget*>& docks) {
    const QRect room = window.screen()->availableGeometry();
    window.resize(FirstSize(room.size()));
    window.move(room.center() - window.rect().center());
    for (QDockWidget* dock : docks)
        dock->show();
}

void Restore(QMainWindow& window, const std::vector<QDockWidget*>& firstDocks) {
    const QSettings settings;
    if (!window.restoreGeometry(settings.value(GeometryKey).toByteArray()) ||
        !window.restoreState(settings.value(StateKey).toByteArray(), StateVersion))
        FirstSight(window, firstDocks);
}

void Remember(const QMainWindow& window) {
    QSettings settings;
    settings.setValue(GeometryKey, window.saveGeometry());
    settings.setValue(StateKey, window.saveState(StateVersion));
}

} // namespace WindowPlacement
