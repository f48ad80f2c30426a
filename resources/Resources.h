#pragma once
// The project's own images: toolbar buttons by their keys, the three editing cursors by their
// numbers, and the application icon.

#include <QCursor>
#include <QIcon>
#include <QString>

namespace Resources {

// Cursor numbers: 101 arrow (pointer and node drag), 102 thin cross (add node), 103 link.
constexpr int PointerCursor = 101;
constexpr int AddNodeCursor = 102;
constexpr int LinkCursor = 103;

// The 24 x 24 image of a standard toolbar button ("Pointer", "AddNode", ...); null if unknown.
QIcon StdToolbarIcon(const QString& key);

// The 16 x 16 image of a run-control button ("Forward", "Stop"); null if unknown.
QIcon ControlToolbarIcon(const QString& key);

// A 32 x 32 cursor with its hot spot: (8, 8) for 101, (16, 16) for 102 and 103. Any other
// number gives the arrow.
QCursor ToolCursor(int id);

// The hot spot a cursor number uses, for checks.
QPoint CursorHotSpot(int id);

QIcon AppIcon();

} // namespace Resources
