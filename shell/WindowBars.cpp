#include "WindowBars.h"

#include "Resources.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <tuple>

namespace {

constexpr int StdToolbarHeight = 36;
constexpr int ControlToolbarHeight = 28;
constexpr int StatusBarHeight = 21;

QAction* Item(QMenu* menu, const char* name, const QString& caption,
              const QList<QKeySequence>& keys = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcuts(keys);
    return action;
}

QToolBar* Bar(QMainWindow& window, const char* name, int iconSize, int height) {
    auto* bar = new QToolBar(name, &window);
    bar->setObjectName(name);
    bar->setIconSize(QSize(iconSize, iconSize));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(height);
    return bar;
}

// A menu item standing for a toolbar button: its image, its enabled state and its command.
QAction* Mirror(QMenu* menu, const char* name, const QString& caption, QAction* button,
                const QList<QKeySequence>& keys = {}) {
    QAction* item = Item(menu, name, caption, keys);
    item->setIcon(button->icon());
    const auto follow = [item, button] { item->setEnabled(button->isEnabled()); };
    QObject::connect(button, &QAction::changed, item, follow);
    follow();
    QObject::connect(item, &QAction::triggered, button, &QAction::trigger);
    return item;
}

} // namespace

WindowBars WindowBars::Build(QMainWindow& window) {
    WindowBars b;
    QMenuBar* menus = window.menuBar();
    b.mnuFile = menus->addMenu("&File");
    b.mnuFile->setObjectName("mnuFile");
    b.mnuNew = Item(b.mnuFile, "mnuNew", "&New", {Qt::CTRL | Qt::Key_N});
    b.mnuOpen = Item(b.mnuFile, "mnuOpen", "&Open...", {Qt::CTRL | Qt::Key_O});
    b.mnuOpenRecent = b.mnuFile->addMenu("Open &Recent");
    b.mnuOpenRecent->setObjectName("mnuOpenRecent");
    b.mnuFile->addSeparator();
    b.mnuSave = Item(b.mnuFile, "mnuSave", "&Save", {Qt::CTRL | Qt::Key_S});
    b.mnuSaveAs = Item(b.mnuFile, "mnuSaveAs", "Save &As...", {Qt::CTRL | Qt::SHIFT | Qt::Key_S});
    b.mnuFile->addSeparator();
    b.mnuImport = Item(b.mnuFile, "mnuImport", "&Import...");
    b.mnuExport = Item(b.mnuFile, "mnuExport", "Ex&port..."); // E&xit keeps its key
    b.mnuExportAnimation = Item(b.mnuFile, "mnuExportAnimation", "Export Run Ani&mation...");
    b.mnuFile->addSeparator();
    b.mnuExit = Item(b.mnuFile, "mnuExit", "E&xit", {Qt::CTRL | Qt::Key_Q});

    b.mnuEdit = menus->addMenu("&Edit");
    b.mnuEdit->setObjectName("mnuEdit");
    b.mnuUndo = Item(b.mnuEdit, "mnuUndo", "&Undo", {Qt::CTRL | Qt::Key_Z});
    b.mnuRedo = Item(b.mnuEdit, "mnuRedo", "&Redo",
                     {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});
    b.mnuEdit->addSeparator();
    b.mnuCut = Item(b.mnuEdit, "mnuCut", "Cu&t", {Qt::CTRL | Qt::Key_X});
    b.mnuCopy = Item(b.mnuEdit, "mnuCopy", "&Copy", {Qt::CTRL | Qt::Key_C});
    b.mnuPaste = Item(b.mnuEdit, "mnuPaste", "Pa&ste", {Qt::CTRL | Qt::Key_V});
    b.mnuDelete = Item(b.mnuEdit, "mnuDelete", "&Delete");
    b.mnuSelectAll = Item(b.mnuEdit, "mnuSelectAll", "Select &All", {Qt::CTRL | Qt::Key_A});
    b.mnuFind = Item(b.mnuEdit, "mnuFind", "&Find...", {Qt::CTRL | Qt::Key_F});
    b.mnuEdit->addSeparator();
    b.mnuProperties = Item(b.mnuEdit, "mnuProperties", "&Properties");
    b.mnuEdit->addSeparator();
    b.mnuLayout = Item(b.mnuEdit, "mnuLayout", "&Layout...");
    b.contextMenu = new QMenu(&window);
    b.contextMenu->setObjectName("contextMenu");
    b.mnuSetSource = Item(b.contextMenu, "mnuSetSource", "Set as &Source");
    b.mnuSetDest = Item(b.contextMenu, "mnuSetDest", "Set as D&estination");
    b.runEndsSeparator = b.contextMenu->addSeparator();
    b.contextMenu->addAction(b.mnuDelete);
    b.contextMenu->addSeparator();
    b.contextMenu->addAction(b.mnuProperties);
    b.emptyMenu = new QMenu(&window);
    b.emptyMenu->setObjectName("emptyMenu");
    b.mnuAddNodeHere = Item(b.emptyMenu, "mnuAddNodeHere", "Add &Node Here");
    b.mnuPasteHere = Item(b.emptyMenu, "mnuPasteHere", "Pa&ste");

    b.mnuView = menus->addMenu("&View");
    b.mnuView->setObjectName("mnuView");
    b.mnuZoomIn = Item(b.mnuView, "mnuZoomIn", "Zoom &In",
                       {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal});
    b.mnuZoomOut = Item(b.mnuView, "mnuZoomOut", "Zoom &Out", {Qt::CTRL | Qt::Key_Minus});
    b.mnuActualSize = Item(b.mnuView, "mnuActualSize", "&Actual Size", {Qt::CTRL | Qt::Key_0});
    b.mnuFitGraph = Item(b.mnuView, "mnuFitGraph", "&Fit Graph");
    b.mnuView->addSeparator();
    b.mnuPreferredPath = Item(b.mnuView, "mnuPreferredPath", "&Preferred Path");
    b.mnuPreferredPath->setCheckable(true);
    b.mnuRunEnds = Item(b.mnuView, "mnuRunEnds", "&Source and Destination");
    b.mnuRunEnds->setCheckable(true);
    b.emptyMenu->addSeparator();
    b.emptyMenu->addAction(b.mnuSelectAll);
    b.emptyMenu->addAction(b.mnuFitGraph);

    b.mnuRun = menus->addMenu("&Run");
    b.mnuRun->setObjectName("mnuRun");
    b.mnuOptions = Item(b.mnuRun, "mnuOptions", "&Options...");
    b.mnuSamplePaths = Item(b.mnuRun, "mnuSamplePaths", "Sample &Paths...");
    b.mnuRun->addSeparator();

    b.mnuHelp = menus->addMenu("&Help");
    b.mnuHelp->setObjectName("mnuHelp");
    b.mnuAbout = Item(b.mnuHelp, "mnuAbout", "&About...");

    b.StdToolbar = Bar(window, "StdToolbar", 24, StdToolbarHeight);
    // A button's text is its name for screen readers, as always; its tip also says what it does
    // and names its key.
    struct Button {
        QAction* WindowBars::*action;
        const char* key;
        const char* text;
        const char* tip;
        bool tool; // shown pressed while its tool is chosen
        bool separatorBefore;
    };
    const Button buttons[] = {
        {&WindowBars::Pointer, "Pointer", "Pointer",
         "Pointer (Esc): select, drag and open nodes and links", true, false},
        {&WindowBars::AddNode, "AddNode", "Add Node", "Add Node: click to place a node", true,
         true},
        {&WindowBars::Delete, "Delete", "Delete", "Delete (Del): delete the selection", false,
         false},
        {&WindowBars::SimpleLink, "SimpleLink", "Simple Link",
         "Simple Link: drag from a node to another to link them both ways", true, true},
        {&WindowBars::UnidirectionalLink, "UnidirectionalLink", "Unidirectional Link",
         "Unidirectional Link: drag from a node to another to link it one way", true, false},
        {&WindowBars::BidirectionalLink, "BidirectionalLink", "BidirectionalLink",
         "BidirectionalLink: drag from a node to another to link them with two arrowheads", true,
         false},
        {&WindowBars::Start, "Start", "Start", "Start (F5): choose the run's options and run",
         false, true},
        {&WindowBars::Reset, "Reset", "Reset",
         "Reset: give the links back the probabilities every run starts from", false, false},
    };
    for (const Button& button : buttons) {
        if (button.separatorBefore)
            b.StdToolbar->addSeparator();
        QAction* action =
            b.StdToolbar->addAction(Resources::StdToolbarIcon(button.key), button.text);
        action->setObjectName(button.key);
        action->setToolTip(button.tip);
        action->setCheckable(button.tool);
        b.*button.action = action;
    }
    window.addToolBar(Qt::TopToolBarArea, b.StdToolbar);

    b.ControlToolbar = Bar(window, "ControlToolbar", 16, ControlToolbarHeight);
    for (const auto& [action, key, text, tip] :
         {std::tuple{&WindowBars::Forward, "Forward", "Forward/Next",
                     "Forward/Next (F6): go on to the next path"},
          std::tuple{&WindowBars::Stop, "Stop", "Stop/Cancel",
                     "Stop/Cancel (Shift+F5): end the run"}}) {
        b.*action = b.ControlToolbar->addAction(Resources::ControlToolbarIcon(key), text);
        (b.*action)->setObjectName(key);
        (b.*action)->setToolTip(tip);
    }
    window.addToolBar(Qt::BottomToolBarArea, b.ControlToolbar);

    b.mnuStart = Mirror(b.mnuRun, "mnuStart", "&Start", b.Start, {Qt::Key_F5});
    b.mnuForward = Mirror(b.mnuRun, "mnuForward", "&Forward", b.Forward, {Qt::Key_F6});
    b.mnuStop = Mirror(b.mnuRun, "mnuStop", "S&top", b.Stop, {Qt::SHIFT | Qt::Key_F5});
    b.mnuReset = Mirror(b.mnuRun, "mnuReset", "&Reset", b.Reset);

    QStatusBar* status = window.statusBar();
    status->setObjectName("StatusBar");
    status->setFixedHeight(StatusBarHeight);
    status->setSizeGripEnabled(false);
    b.statusPanel = new QLabel(status);
    b.statusPanel->setObjectName("StatusPanel1");
    status->addWidget(b.statusPanel);
    // The hint yields its room to the others: a narrow window shows less of it.
    b.hintPanel = new QLabel(status);
    b.hintPanel->setObjectName("HintPanel");
    b.hintPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status->addWidget(b.hintPanel, 1);
    b.pathsPanel = new QLabel(status);
    b.pathsPanel->setObjectName("PathsPanel");
    status->addWidget(b.pathsPanel);
    b.zoomPanel = new QLabel(status);
    b.zoomPanel->setObjectName("ZoomPanel");
    status->addPermanentWidget(b.zoomPanel);
    return b;
}
