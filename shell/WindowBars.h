#pragma once
// The window's menus, toolbars and status bar, built once with their captions, keys, images and
// object names; frmMain connects each action to its command.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

class QMainWindow;

struct WindowBars {
    QMenu* mnuFile = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuOpen = nullptr;
    QMenu* mnuOpenRecent = nullptr; // filled by RecentFiles
    QAction* mnuSave = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuImport = nullptr;
    QAction* mnuExport = nullptr;
    QAction* mnuExportAnimation = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuCut = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuPaste = nullptr;
    QAction* mnuDelete = nullptr;
    QAction* mnuSelectAll = nullptr;
    QAction* mnuFind = nullptr;
    QAction* mnuProperties = nullptr;
    QAction* mnuLayout = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuZoomIn = nullptr;
    QAction* mnuZoomOut = nullptr;
    QAction* mnuActualSize = nullptr;
    QAction* mnuFitGraph = nullptr;
    QAction* mnuPreferredPath = nullptr; // checked: a stochastic run's preferred path in green
    QAction* mnuRunEnds = nullptr;       // checked: the run's source and destination badged
    // Run: the options without a run, sampled runs, and the run buttons of the toolbars as menu
    // items.
    QMenu* mnuRun = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuSamplePaths = nullptr;
    QAction* mnuStart = nullptr;
    QAction* mnuForward = nullptr;
    QAction* mnuStop = nullptr;
    QAction* mnuReset = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;
    // The canvas's context menu of a node or a link: Delete and Properties, as it has always
    // been, and for a node first the run's ends; and the menu of empty space.
    QMenu* contextMenu = nullptr;
    QAction* mnuSetSource = nullptr;
    QAction* mnuSetDest = nullptr;
    QAction* runEndsSeparator = nullptr; // with the two above, shown for a node only
    QMenu* emptyMenu = nullptr;
    QAction* mnuAddNodeHere = nullptr;
    QAction* mnuPasteHere = nullptr;

    QToolBar* StdToolbar = nullptr; // tools (checkable), Delete, Start, Reset
    QAction* Pointer = nullptr;
    QAction* AddNode = nullptr;
    QAction* Delete = nullptr;
    QAction* SimpleLink = nullptr;
    QAction* UnidirectionalLink = nullptr;
    QAction* BidirectionalLink = nullptr;
    QAction* Start = nullptr;
    QAction* Reset = nullptr;
    QToolBar* ControlToolbar = nullptr; // Forward, Stop
    QAction* Forward = nullptr;
    QAction* Stop = nullptr;
    QLabel* statusPanel = nullptr; // "Ready" or "Working..."
    QLabel* hintPanel = nullptr;   // what the chosen tool does
    QLabel* pathsPanel = nullptr;  // the paths a run found so far, or its samples
    QLabel* zoomPanel = nullptr;   // the view's zoom

    // Builds them into the window: toolbars at the top and bottom, above the status bar.
    static WindowBars Build(QMainWindow& window);
};
