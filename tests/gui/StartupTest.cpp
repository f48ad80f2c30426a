#include "Resources.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

namespace {

using StartupTest = WindowFixture;

TEST_F(StartupTest, StartsIdleWithAnEmptyUntitledDocument) {
    EXPECT_EQ(window->windowTitle(), "Untitled - Pathloom");
    EXPECT_EQ(Status(), "Ready");
    EXPECT_FALSE(window->Modified);
    EXPECT_FALSE(window->IsWorking());
    EXPECT_EQ(window->GetCurrentTool(), Tool::Pointer);
    EXPECT_EQ(window->GetSelectedNode(), -1);
    EXPECT_EQ(window->GetSelectedLink(), -1);
    EXPECT_EQ(window->Engine().Graph().NodeCount(), 0);

    for (QAction* button : Widget("StdToolbar")->actions())
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_TRUE(Action("Pointer")->isChecked());
    EXPECT_FALSE(Action("AddNode")->isChecked());
    EXPECT_FALSE(Action("Forward")->isEnabled());
    EXPECT_FALSE(Action("Stop")->isEnabled());

    for (const char* name : {"HScroll", "VScroll"}) {
        QScrollBar* bar = Scroll(name);
        EXPECT_EQ(bar->value(), 0);
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 32767);
        EXPECT_EQ(bar->singleStep(), 41);
        EXPECT_EQ(bar->pageStep(), 41);
    }

    // The pointer cursor, with its hot spot at the arrow's tip.
    EXPECT_EQ(window->Canvas()->cursor().hotSpot(), QPoint(8, 8));
    EXPECT_FALSE(window->Canvas()->cursor().pixmap().isNull());
}

TEST_F(StartupTest, ClientAreaIsLaidOutFromTopToBottom) {
    EXPECT_EQ(window->centralWidget()->size(), QSize(604, 476));
    EXPECT_EQ(Widget("StdToolbar")->geometry(), QRect(0, 0, 604, 36));
    EXPECT_EQ(Widget("picPan")->geometry(), QRect(0, 36, 604, 391));
    EXPECT_EQ(Widget("ControlToolbar")->geometry(), QRect(0, 427, 604, 28));
    EXPECT_EQ(Widget("StatusBar")->geometry(), QRect(0, 455, 604, 21));
    EXPECT_EQ(Widget("picCanvas")->geometry(), QRect(0, 0, 587, 374));
    EXPECT_EQ(Widget("HScroll")->geometry(), QRect(0, 374, 587, 17));
    EXPECT_EQ(Widget("VScroll")->geometry(), QRect(587, 0, 17, 374));

    // The picture is of the canvas size and white.
    const QImage& picture = window->Canvas()->Image();
    ASSERT_EQ(picture.size(), QSize(587, 374));
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(586, 373), QColor(Qt::white));
}

TEST_F(StartupTest, MenusCarryTheirCaptionsAndShortcuts) {
    QStringList bar;
    for (QAction* menu : window->menuBar()->actions())
        bar << menu->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Edit", "&Help"}));

    const auto items = [this](const char* menuName) {
        QStringList texts;
        for (QAction* item : window->findChild<QMenu*>(menuName)->actions())
            texts << (item->isSeparator() ? "-" : item->text());
        return texts;
    };
    EXPECT_EQ(items("mnuFile"),
              (QStringList{"&New", "&Open...", "-", "&Save", "Save &As...", "-", "E&xit"}));
    EXPECT_EQ(items("mnuEdit"), (QStringList{"&Delete", "-", "&Properties"}));
    EXPECT_EQ(items("mnuHelp"), (QStringList{"&About..."}));

    EXPECT_EQ(Action("mnuOpen")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(Action("mnuSave")->shortcut(), QKeySequence("Ctrl+S"));
    for (const char* name :
         {"mnuNew", "mnuSaveAs", "mnuExit", "mnuDelete", "mnuProperties", "mnuAbout"})
        EXPECT_TRUE(Action(name)->shortcut().isEmpty()) << name;
}

TEST_F(StartupTest, ToolbarsHaveTheirKeysTipsAndGroups) {
    QStringList keys;
    for (QAction* button : Widget("StdToolbar")->actions())
        keys << (button->isSeparator() ? "|" : button->objectName() + "=" + button->toolTip());
    EXPECT_EQ(keys, (QStringList{"Pointer=Pointer", "|", "AddNode=Add Node", "Delete=Delete", "|",
                                 "SimpleLink=Simple Link", "UnidirectionalLink=Unidirectional Link",
                                 "BidirectionalLink=BidirectionalLink", "|", "Start=Start",
                                 "Reset=Reset"}));
    QStringList control;
    for (QAction* button : Widget("ControlToolbar")->actions())
        control << button->objectName() + "=" + button->toolTip();
    EXPECT_EQ(control, (QStringList{"Forward=Forward/Next", "Stop=Stop/Cancel"}));

    // Every button shows its picture, and its tip is its accessible text.
    for (QAction* button : Widget("StdToolbar")->actions()) {
        if (button->isSeparator())
            continue;
        EXPECT_FALSE(button->icon().pixmap(24, 24).isNull()) << button->objectName().toStdString();
        EXPECT_EQ(button->text(), button->toolTip());
    }
    EXPECT_EQ(qobject_cast<QToolBar*>(Widget("StdToolbar"))->iconSize(), QSize(24, 24));
    EXPECT_EQ(qobject_cast<QToolBar*>(Widget("ControlToolbar"))->iconSize(), QSize(16, 16));
    EXPECT_EQ(Widget("picCanvas")->accessibleName(), "Canvas");
    EXPECT_EQ(Widget("HScroll")->accessibleName(), "Horizontal scroll bar");
    EXPECT_EQ(Widget("VScroll")->accessibleName(), "Vertical scroll bar");
}

TEST_F(StartupTest, ResourcesHoldTheCursorsAndIcons) {
    EXPECT_EQ(Resources::ToolCursor(Resources::AddNodeCursor).hotSpot(), QPoint(16, 16));
    EXPECT_EQ(Resources::ToolCursor(Resources::LinkCursor).hotSpot(), QPoint(16, 16));
    EXPECT_EQ(Resources::ToolCursor(Resources::PointerCursor).pixmap().size(), QSize(32, 32));
    EXPECT_EQ(Resources::ToolCursor(Resources::LinkCursor).pixmap().size(), QSize(32, 32));
    EXPECT_FALSE(Resources::AppIcon().isNull());
    EXPECT_TRUE(Resources::StdToolbarIcon("NoSuchKey").isNull());
    EXPECT_FALSE(window->windowIcon().isNull());
}

TEST_F(StartupTest, TinyAndMinimisedWindowsKeepWorking) {
    const QRect panel = Widget("picPan")->geometry();
    window->centralWidget()->resize(30, 40);
    QCoreApplication::processEvents();
    // Too small for the panel: it keeps its bounds, the bars along the edges still move.
    EXPECT_EQ(Widget("picPan")->geometry(), panel);
    EXPECT_EQ(Widget("StatusBar")->geometry(), QRect(0, 19, 30, 21));
    window->resize(20, 20);
    QCoreApplication::processEvents();
    window->showMinimized();
    QCoreApplication::processEvents();
    window->showNormal();
    window->resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_TRUE(script.Messages().empty());
    // Back to a usable size, everything is laid out again.
    const QSize client = window->centralWidget()->size();
    EXPECT_EQ(Widget("picPan")->height(), client.height() - 36 - 28 - 21);
    EXPECT_EQ(window->Canvas()->Image().size(), window->Canvas()->size());
}

} // namespace

namespace {

TEST_F(StartupTest, HelpAboutShowsTheAboutBoxOverTheWindow) {
    QString shownName;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        shownName = box->objectName();
        owner = box->parentWidget();
        box->close();
    });
    Action("mnuAbout")->trigger();
    EXPECT_EQ(shownName, "frmAbout");
    EXPECT_EQ(owner, window.get());
    EXPECT_FALSE(window->Modified);
}

} // namespace
