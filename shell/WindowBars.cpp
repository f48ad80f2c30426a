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
QAction* Mirror(QMenu* menu, const char* name, const QString& caption, QAction* button) {
    QAction* item = Item(menu, name, caption);
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
    b.mnuNew = Item(b.mnuFile, "mnuNew", "&New");
    b.mnuOpen = Item(b.mnuFile, "mnuOpen", "&Open...", {Qt::CTRL | Qt::Key_O});
    b.mnuFile->addSeparator();
    b.mnuSave = Item(b.mnuFile, "mnuSave", "&Save", {Qt::CTRL | Qt::Key_S});
    b.mnuSaveAs = Item(b.mnuFile, "mnuSaveAs", "Save &As...");
    b.mnuFile->addSeparator();
    b.mnuImport = Item(b.mnuFile, "mnuImport", "&Import...");
    b.mnuExport = Item(b.mnuFile, "mnuExport", "Ex&port..."); // E&xit keeps its key
    b.mnuFile->addSeparator();
    b.mnuExit = Item(b.mnuFile, "mnuExit", "E&xit");

    b.mnuEdit = menus->addMenu("&Edit");
    b.mnuEdit->setObjectName("mnuEdit");
    b.mnuUndo = Item(b.mnuEdit, "mnuUndo", "&Undo", {Qt::CTRL | Qt::Key_Z});
    b.mnuRedo = Item(b.mnuEdit, "mnuRedo", "&Redo",
                     {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});
    b.mnuEdit->addSeparator();
    b.mnuDelete = Item(b.mnuEdit, "mnuDelete", "&Delete");
    b.mnuEdit->addSeparator();
    b.mnuProperties = Item(b.mnuEdit, "mnuProperties", "&Properties");
    b.mnuEdit->addSeparator();
    b.mnuLayout = Item(b.mnuEdit, "mnuLayout", "&Layout...");
    b.contextMenu = new QMenu(&window);
    b.contextMenu->setObjectName("contextMenu");
    b.contextMenu->addAction(b.mnuDelete);
    b.contextMenu->addSeparator();
    b.contextMenu->addAction(b.mnuProperties);

    b.mnuView = menus->addMenu("&View");
    b.mnuView->setObjectName("mnuView");
    b.mnuZoomIn = Item(b.mnuView, "mnuZoomIn", "Zoom &In",
                       {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal});
    b.mnuZoomOut = Item(b.mnuView, "mnuZoomOut", "Zoom &Out", {Qt::CTRL | Qt::Key_Minus});
    b.mnuActualSize = Item(b.mnuView, "mnuActualSize", "&Actual Size", {Qt::CTRL | Qt::Key_0});
    b.mnuFitGraph = Item(b.mnuView, "mnuFitGraph", "&Fit Graph");

    b.mnuRun = menus->addMenu("&Run");
    b.mnuRun->setObjectName("mnuRun");
    b.mnuSamplePaths = Item(b.mnuRun, "mnuSamplePaths", "Sample &Paths...");
    b.mnuRun->addSeparator();

    b.mnuHelp = menus->addMenu("&Help");
    b.mnuHelp->setObjectName("mnuHelp");
    b.mnuAbout = Item(b.mnuHelp, "mnuAbout", "&About...");

    b.StdToolbar = Bar(window, "StdToolbar", 24, StdToolbarHeight);
    struct Button {
        QAction* WindowBars::*action;
        const char* key;
        const char* tip;
        bool tool; // shown pressed while its tool is chosen
        bool separatorBefore;
    };
    const Button buttons[] = {
        {&WindowBars::Pointer, "Pointer", "Pointer", true, false},
        {&WindowBars::AddNode, "AddNode", "Add Node", true, true},
        {&WindowBars::Delete, "Delete", "Delete", false, false},
        {&WindowBars::SimpleLink, "SimpleLink", "Simple Link", true, true},
        {&WindowBars::UnidirectionalLink, "UnidirectionalLink", "Unidirectional Link", true, false},
        {&WindowBars::BidirectionalLink, "BidirectionalLink", "BidirectionalLink", true, false},
        {&WindowBars::Start, "Start", "Start", false, true},
        {&WindowBars::Reset, "Reset", "Reset", false, false},
    };
    for (const Button& button : buttons) {
        if (button.separatorBefore)
            b.StdToolbar->addSeparator();
        QAction* action =
            b.StdToolbar->addAction(Resources::StdToolbarIcon(button.key), button.tip);
        action->setObjectName(button.key);
        action->setToolTip(button.tip);
        action->setCheckable(button.tool);
        b.*button.action = action;
    }
    window.addToolBar(Qt::TopToolBarArea, b.StdToolbar);

    b.ControlToolbar = Bar(window, "ControlToolbar", 16, ControlToolbarHeight);
    for (const auto& [action, key, tip] :
         {std::tuple{&WindowBars::Forward, "Forward", "Forward/Next"},
          std::tuple{&WindowBars::Stop, "Stop", "Stop/Cancel"}}) {
        b.*action = b.ControlToolbar->addAction(Resources::ControlToolbarIcon(key), tip);
        (b.*action)->setObjectName(key);
        (b.*action)->setToolTip(tip);
    }
    window.addToolBar(Qt::BottomToolBarArea, b.ControlToolbar);

    b.mnuStart = Mirror(b.mnuRun, "mnuStart", "&Start", b.Start);
    b.mnuForward = Mirror(b.mnuRun, "mnuForward", "&Forward", b.Forward);
    b.mnuStop = Mirror(b.mnuRun, "mnuStop", "S&top", b.Stop);
    b.mnuReset = Mirror(b.mnuRun, "mnuReset", "&Reset", b.Reset);

    QStatusBar* status = window.statusBar();
    status->setObjectName("StatusBar");
    status->setFixedHeight(StatusBarHeight);
    status->setSizeGripEnabled(false);
    b.statusPanel = new QLabel(status);
    b.statusPanel->setObjectName("StatusPanel1");
    status->addWidget(b.statusPanel, 1);
    b.pathsPanel = new QLabel(status);
    b.pathsPanel->setObjectName("PathsPanel");
    status->addWidget(b.pathsPanel);
    return b;
}
