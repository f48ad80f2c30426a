#pragma once
// Where the window opens: as the user left it (its size, place and docks), kept in the
// application's settings; at first sight at least 1000 x 700 pixels, or most of a smaller screen,
// with the workbench's docks shown.

#include <QSize>
#include <vector>

class QDockWidget;
class QMainWindow;

namespace WindowPlacement {

// The first window's size on a screen with this much room: two thirds of it, at least
// 1000 x 700, at most nine tenths of it.
QSize FirstSize(QSize available);

// The first window: FirstSize on its screen, centred there, with these docks shown.
void FirstSight(QMainWindow& window, const std::vector<QDockWidget*>& docks);

// The window as the settings keep it, else at first sight.
void Restore(QMainWindow& window, const std::vector<QDockWidget*>& firstDocks);

// Keeps the window's size, place and docks in the settings for the next start.
void Remember(const QMainWindow& window);

} // namespace WindowPlacement
