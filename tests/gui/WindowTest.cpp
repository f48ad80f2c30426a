#include "LearningCurvePanel.h"
#include "WindowFixture.h"

#include <QAccessible>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <fstream>
#include <functional>

namespace {

using DocumentTest = WindowFixture;

TEST_F(DocumentTest, NewOpenExitAndSaveNeverLoseChanges) {
    EXPECT_EQ(canvas()->size(), QSize(587, 374)); // the bars leave the canvas its old size
    Play("do mnuNew");                            // unchanged: nothing asked
    Edit();
    script.QueueAnswer(Answer::Yes);
    script.QueueFile(File("kept"));
    Play("do mnuNew");
    EXPECT_TRUE(QFile::exists(File("kept.plm")));
    EXPECT_EQ(Said(), "E? The graph in the file Untitled has changed.\r\n\r\n"
                      "Do you want to save the changes?");
    EXPECT_EQ(State(), "Untitled - Pathloom 0 0 -1 -1 0 &Undo");
    Edit();
    Play("do mnuSave"); // the dialog cancelled: silently nothing
    script.QueueAnswer(Answer::Cancel);
    Play("do mnuNew");
    EXPECT_EQ(State(), "Untitled* - Pathloom 1 0 -1 -1 0 &Undo Add Node");
    for (const char* leave : {"mnuNew", "mnuOpen", "mnuExit"}) { // the dialog cancelled
        script.QueueAnswer(Answer::Yes);
        Play("do " + std::string(leave));
        EXPECT_TRUE(graph().NodeCount() == 1 && window->isVisible() && window->Modified()) << leave;
    }
    Said();
    script.QueueAnswer(Answer::Yes);
    script.QueueFile(File("no-such-folder/x.plm"));
    Play("do mnuNew");
    EXPECT_EQ(Said(), "E? The graph in the file Untitled has changed.\r\n\r\nDo you want to save "
                      "the changes? | C Error saving graph.");
    EXPECT_EQ(State(), "x* - Pathloom 1 0 -1 -1 0 &Undo Add Node");
    script.QueueFile(File("x"));
    Play("do mnuSaveAs");
    Edit();
    Play("key Ctrl+Z"); // back at the saved state
    EXPECT_EQ(State(), "x - Pathloom 1 0 -1 -1 0 &Undo Add Node");
    Edit();
    Play("do mnuSave");
    EXPECT_EQ(State(), "x - Pathloom 2 0 -1 -1 0 &Undo Add Node");
    // A new document is offered as Untitled in the last folder, a titled one by its own name.
    ASSERT_EQ(script.FileRequests().size(), 7u);
    EXPECT_EQ(script.FileRequests()[0].offeredName, "Untitled.plm");
    EXPECT_EQ(script.FileRequests()[1].offeredName, File("Untitled.plm"));
    EXPECT_EQ(script.FileRequests()[6].offeredName, File("no-such-folder/x.plm"));
    EXPECT_TRUE(window->close());
}

TEST_F(DocumentTest, OpenLoadsOrLeavesANewUntitledDocument) {
    WriteDocument("two.plm", {{10, 10}, {200, 10}}, {{1, 2, 1, 12}});
    script.QueueFile(File("two.plm"));
    Play("do mnuOpen");
    EXPECT_EQ(State(), "two - Pathloom 2 1 -1 -1 0 &Undo");
    std::ofstream(File("broken.plm").toStdString()) << "no graph";
    for (const bool fromCommandLine : {false, true}) {
        if (fromCommandLine) {
            window->OpenStartupDocument(File("broken.plm"));
        } else {
            script.QueueFile(File("broken.plm"));
            Play("do mnuOpen");
        }
        EXPECT_EQ(Said(), "C '" + File("broken.plm").toStdString() + "' could not be loaded.");
        EXPECT_EQ(State(), "Untitled - Pathloom 0 0 -1 -1 0 &Undo");
        EXPECT_EQ(Pixel(15, 30), QColor(Qt::white));
    }
    Play("do mnuSave");
    EXPECT_TRUE(script.FileRequests().back().save);
    QFile broken(File("broken.plm"));
    ASSERT_TRUE(broken.open(QIODevice::ReadOnly));
    EXPECT_EQ(broken.readAll(), "no graph");
}

const QColor PaleYellow(255, 255, 150);
// Nodes 1, 2, 3 centred on (60, 60), (260, 60), (160, 200).
const std::string Triangle = "do AddNode, click 60 60, click 260 60, click 160 200, ";

using EditingTest = WindowFixture;

TEST_F(EditingTest, NodesAndLinksAreDrawnByMouse) {
    Play(Triangle + "do SimpleLink, drag 60 60 260 60, do UnidirectionalLink, drag 260 60 160 200, "
                    "do BidirectionalLink, drag 160 200 60 60");
    EXPECT_EQ(canvas()->cursor().hotSpot(), QPoint(16, 16));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(graph().Link(i).LinkType, i - 1);
    EXPECT_EQ(State(), "Untitled* - Pathloom 3 3 1@40,40 -1 3 &Undo Add Link");
    EXPECT_EQ(Pixel(45, 60), QColor(150, 255, 225));
    const QImage before = window->Canvas()->Image();
    Play("drag 160 200 400 300");
    QTest::mousePress(canvas(), Qt::LeftButton, {}, {160, 200});
    QTest::mouseMove(canvas(), {300, 250});
    EXPECT_EQ(Pixel(300, 250), QColor(Qt::black));
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, {165, 205});
    EXPECT_EQ(window->Canvas()->Image(), before);
    Play("drag 260 60 60 60");
    EXPECT_EQ(window->GetSelectedNode(), 2);
    Play("drag 400 300 60 60");
    EXPECT_EQ(State(), "Untitled* - Pathloom 3 3 -1 -1 3 &Undo Add Link");
    EXPECT_EQ(Said(), "C These nodes already are linked. | "
                      "E You mush select a node and drag pointer to another node.");
}

TEST_F(EditingTest, PointerSelectsAndDragsInAScrolledView) {
    Scroll("HScroll")->setValue(100);
    Scroll("VScroll")->setValue(50);
    Play("do AddNode, click 30 30, do Pointer, click 35 32"); // selecting is no change
    EXPECT_EQ(State(), "Untitled* - Pathloom 1 0 1@110,60 -1 0 &Undo Add Node");
    Play("drag 35 32 85 72");
    EXPECT_EQ(Pixel(65, 70), QColor(150, 255, 225));
    EXPECT_EQ(State(), "Untitled* - Pathloom 1 0 1@160,100 -1 0 &Undo Move Node");
    Scroll("HScroll")->setValue(0);
    Scroll("VScroll")->setValue(0);
    Play("key Ctrl+Z, click 130 80");
    EXPECT_EQ(State(), "Untitled* - Pathloom 1 0 1@110,60 -1 0 &Undo Add Node");
    Play("drag 130 80 -300 -300");
    EXPECT_EQ(State(), "Untitled* - Pathloom 1 0 1@0,0 -1 0 &Undo Move Node");
    Play("click 300 300");
    EXPECT_EQ(window->GetSelectedNode(), -1);
}

TEST_F(EditingTest, DeleteAndPropertiesActOnTheSelection) {
    Play(Triangle +
         "do SimpleLink, drag 60 60 260 60, drag 260 60 160 200, do Pointer, click 100 60");
    EXPECT_EQ(Pixel(100, 60), QColor(96, 96, 254));
    Play("do SimpleLink, drag 160 200 60 60, do Pointer");
    EXPECT_EQ(State(), "Untitled* - Pathloom 3 3 1@40,40 1 0 &Undo Add Link");
    AnswerDialog("cmdCancel");
    Play("do mnuProperties, do mnuDelete");
    EXPECT_EQ(answered, "frmNodeProperties");
    EXPECT_EQ(graph().Link(1).FromNode, &graph().Node(2));
    EXPECT_EQ(Pixel(100, 60), QColor(Qt::white));
    Play("do Delete");
    EXPECT_EQ(State(), "Untitled* - Pathloom 2 1 -1 -1 0 &Undo Delete Node");
    Play("click 260 60, key Del, do mnuDelete"); // then nothing is selected
    EXPECT_EQ(State(), "Untitled* - Pathloom 1 0 -1 -1 0 &Undo Delete Node");
}

TEST_F(EditingTest, DoubleClickAndRightClick) {
    auto* menu = window->findChild<QMenu*>("contextMenu");
    Play(Triangle + "double 400 300, right 60 60");
    EXPECT_FALSE(menu->isVisible());
    AnswerDialog("cmdOK", "txtLabel=Hub");
    Play("do Pointer, double 160 200, right 260 60");
    EXPECT_EQ(graph().Node(3).Label(), "Hub");
    EXPECT_EQ(State(), "Untitled* - Pathloom 4 0 2@240,40 -1 0 &Undo Node Properties");
    EXPECT_TRUE(menu->isVisible()); // its items: CanvasTest
    menu->close();
    Play("right 500 200");
    EXPECT_FALSE(menu->isVisible() || window->GetSelectedNode() > 0);
}

TEST_F(EditingTest, EscapeAndScreenReadersChooseTools) {
    Play("do AddNode, key Esc");
    EXPECT_TRUE(Action("Pointer")->isChecked());
    Play("do BidirectionalLink, key Esc");
    EXPECT_EQ(window->GetCurrentTool(), Tool::Link);
    auto* bar = window->findChild<QToolBar*>("StdToolbar");
    QAccessible::queryAccessibleInterface(bar->widgetForAction(Action("AddNode")))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(Action("AddNode")->isChecked());
    Play("click 60 60, do Pointer");
    QTest::mousePress(canvas(), Qt::LeftButton, {}, {60, 60});
    QTest::mouseMove(canvas(), {70, 60});
    Play("key Esc");
    QTest::mouseMove(canvas(), {90, 90});
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, {90, 90});
    EXPECT_EQ(State(), "Untitled* - Pathloom 1 0 1@50,40 -1 0 &Undo Move Node");
}

// Each key belongs to one action alone (a key two share does nothing), which the menu shows it
// with; the buttons' tips name their keys and say what they do, their names stay their texts.
TEST_F(EditingTest, KeysTipsAndHints) {
    const std::pair<const char*, const char*> keys[] = {
        {"mnuNew", "Ctrl+N"},       {"mnuOpen", "Ctrl+O"},
        {"mnuSave", "Ctrl+S"},      {"mnuSaveAs", "Ctrl+Shift+S"},
        {"mnuExit", "Ctrl+Q"},      {"mnuUndo", "Ctrl+Z"},
        {"mnuRedo", "Ctrl+Y"},      {"mnuCut", "Ctrl+X"},
        {"mnuCopy", "Ctrl+C"},      {"mnuPaste", "Ctrl+V"},
        {"mnuSelectAll", "Ctrl+A"}, {"mnuFind", "Ctrl+F"},
        {"mnuStart", "F5"},         {"mnuStop", "Shift+F5"},
        {"mnuForward", "F6"},       {"mnuActualSize", "Ctrl+0"},
    };
    for (const auto& [name, key] : keys) {
        QStringList owners;
        for (const QAction* action : window->findChildren<QAction*>())
            if (action->shortcuts().contains(QKeySequence(key)))
                owners << action->objectName();
        EXPECT_EQ(owners, QStringList(name)) << key;
    }
    for (const auto& [name, key] : {std::pair{"Pointer", " (Esc)"},
                                    {"Delete", " (Del)"},
                                    {"Start", " (F5)"},
                                    {"Forward", " (F6)"},
                                    {"Stop", " (Shift+F5)"},
                                    {"AddNode", ": "}}) {
        const QAction* button = Action(name);
        EXPECT_TRUE(button->toolTip().startsWith(button->text() + key)) << name;
        QStringList names; // of the button on its toolbar, for screen readers
        for (QObject* shown : button->associatedObjects())
            if (auto* tool = qobject_cast<QToolButton*>(shown))
                names << QAccessible::queryAccessibleInterface(tool)->text(QAccessible::Name);
        EXPECT_EQ(names, QStringList(button->text())) << name;
    }
    // A hint of its own for each tool while it is chosen.
    QStringList hints;
    for (const char* tool : {"Pointer", "AddNode", "SimpleLink"}) {
        Play(std::string("do ") + tool);
        hints << Label("HintPanel");
    }
    hints.removeAll("");
    hints.removeDuplicates();
    EXPECT_EQ(hints.size(), 3);
}

class ViewTest : public WindowFixture {
  protected:
    // The scroll bars, the zoom and the document point under (220, 120) after the wheel turned.
    std::string Wheel(int notches, Qt::KeyboardModifiers modifiers = {}) {
        QWheelEvent wheel(QPointF(220, 120), canvas()->mapToGlobal(QPointF(220, 120)), {},
                          QPoint(0, notches * 120), Qt::NoButton, modifiers, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(canvas(), &wheel);
        const QPoint at = window->Panel().ToDocument(QPointF(220, 120));
        const auto n = [](double value) { return QString::number(value).toStdString(); };
        return n(Scroll("HScroll")->value()) + " " + n(Scroll("VScroll")->value()) + " " +
               n(window->Panel().Zoom()) + " " + n(at.x()) + "," + n(at.y());
    }
};

TEST_F(ViewTest, TheWheelScrollsAndWithCtrlZoomsAboutThePointer) {
    EXPECT_EQ(Wheel(-1), "0 123 1 220,243");
    EXPECT_EQ(Wheel(-1, Qt::ShiftModifier), "123 123 1 343,243");
    EXPECT_EQ(Wheel(2), "123 0 1 343,120");
    window->Document().Do(new AddNodeCommand(window->Document(), 1000, 600));
    Scroll("HScroll")->setValue(800);
    Scroll("VScroll")->setValue(500);
    EXPECT_EQ(Wheel(1, Qt::ControlModifier), "1055 655 1.25 1020,620");
    EXPECT_EQ(Wheel(-2, Qt::ControlModifier), "545 345 0.75 1020,620");
    EXPECT_EQ(Pixel(220, 114), PaleYellow);
    EXPECT_EQ(Label("ZoomPanel"), "75%");
    Play("key Ctrl+0");
    EXPECT_EQ(window->Panel().Zoom(), 1.0);
    for (const auto& [step, limit] : {std::pair{"do mnuZoomOut", 0.1}, {"key Ctrl+=", 4.0}}) {
        for (int i = 0; i < 20; ++i)
            Play(step);
        EXPECT_EQ(window->Panel().Zoom(), limit);
    }
}

TEST_F(ViewTest, EditingWorksAtEveryZoom) {
    for (const double zoom : {0.5, 2.0}) {
        window->Panel().SetZoom(zoom, QPointF());
        Play("do AddNode, click 100 100, click 100 250");
        const clsPosition& p = graph().Node(graph().NodeCount() - 1).Position;
        EXPECT_EQ(QPoint(p.x + 20, p.y + 20), window->Panel().ToDocument(QPointF(100, 100)));
        EXPECT_EQ(Pixel(100, 100 - static_cast<int>(12 * zoom)), PaleYellow) << zoom;
        Play("do SimpleLink, drag 100 100 100 250, do Pointer, click 100 175");
        EXPECT_EQ(window->GetSelectedLink(), graph().LinkCount()) << zoom;
    }
    window->Document().Do(new AddNodeCommand(window->Document(), 3000, 2000));
    Play("do mnuFitGraph");
    const QPoint far = window->Panel().ToCanvas(QPoint(3020, 2020));
    EXPECT_TRUE(canvas()->rect().contains(far));
    EXPECT_EQ(Pixel(far.x(), far.y()), PaleYellow);
    Play("do mnuActualSize");
    EXPECT_EQ(window->Panel().Zoom(), 1.0);
}

TEST_F(ViewTest, SmallWindows) {
    Play("do mnuLearningCurve"); // a dock gives way to the canvas
    for (const int width : {604, 450, 20}) {
        window->resize(width, 300);
        QCoreApplication::processEvents();
        EXPECT_GE(window->Panel().width(), window->Curve().width()) << width;
    }
    EXPECT_GE(window->width(), window->findChild<QWidget*>("StdToolbar")->sizeHint().width());
    EXPECT_TRUE(window->rect().contains(window->Panel().geometry()));
}

class RunTest : public WindowFixture {
  protected:
    // S, A, D: S -> A and A -> D weigh 1, S -> D weighs 5. From S to D the walk finds S-A-D
    // (cost 2), then S-D (cost 5).
    void OpenRunGraph() {
        WriteDocument("run.plm", {{40, 40}, {240, 40}, {240, 240}},
                      {{1, 2, 1, 1}, {2, 3, 1, 1}, {1, 3, 1, 5}});
        window->OpenStartupDocument(File("run.plm"));
    }
    // Status, paths found, probabilities, colours (S-A at y 60, A-D at x 260, S-D), Start, Stop.
    std::string Run() const {
        QString state = Label("StatusPanel1") + " " + Label("PathsPanel") + ":";
        for (int i = 1; i <= graph().LinkCount(); ++i)
            state += " " + QString::number(graph().Link(i).Probability);
        for (QColor c : {Pixel(100, 60), Pixel(260, 100), Pixel(100, 100)})
            state += c == Qt::red ? " red" : c == Qt::black ? " black" : " other";
        state += Action("Start")->isEnabled() ? " start" : "";
        return (state + (Action("Stop")->isEnabled() ? " stop" : "")).toStdString();
    }
};

TEST_F(RunTest, StepDelayRunWalksForwardPathByPath) {
    OpenRunGraph();
    StartRun(0, 2, true);
    EXPECT_EQ(Run(), "Working... Paths found: 1: 0.55 1 0.45 red red black stop");
    EXPECT_EQ(Label("HintPanel"), ""); // settings that learn need no word
    EXPECT_FALSE(window->close());
    EXPECT_EQ(Said(), "E Program already is working. Please stop current operation and then "
                      "try to close.");
    Play("click 60 60, drag 260 60 300 100, double 60 60"); // the canvas ignores the mouse
    EXPECT_EQ(State(), "run* - Pathloom 3 3 -1 -1 0 &Undo Options");
    EXPECT_EQ(graph().Node(2).Position.x, 240);
    Play("key F6, work");
    EXPECT_EQ(Run(), "Working... Paths found: 2: 0.595 1 0.405 black black red stop");
    Play("do Forward, work"); // the figures stay after the run, until the next edit
    EXPECT_EQ(Run(), "Ready Paths found: 2: 0.595 1 0.405 black black black start");
    EXPECT_EQ(Said(), "");
    Action("mnuUndo")->trigger();
    EXPECT_EQ(Run(), "Ready : 0.5 1 0.5 black black black start");
    EXPECT_EQ(State(), "run* - Pathloom 3 3 -1 -1 0 &Undo Options");
    Action("mnuUndo")->trigger();
    EXPECT_FALSE(window->Modified());
    StartRun(0, 2, true);
    Play("key Shift+F5"); // at a pause the run's thread has ended when Stop returns
    EXPECT_FALSE(window->Run().Working());
    EXPECT_EQ(Run(), "Ready Paths found: 1: 0.55 1 0.45 black black black start");
    EXPECT_EQ(Said(), ""); // no "Not found any path." after a stop
    StartRun(0, 2, true);
    Play("do Forward, do Stop, work"); // both before the next pause: the run ends there
    EXPECT_EQ(Run(), "Ready Paths found: 2: 0.595 1 0.405 black black black start");
}

// During a run every command it refuses is greyed out, in the menus and the toolbars alike, and
// comes back when the run ends; what stays available does something.
TEST_F(RunTest, EveryCommandARunRefusesIsGreyedOutUntilItEnds) {
    // Each item of the menu bar, a submenu's items after it, that the user can choose.
    const auto available = [this] {
        std::string names;
        const std::function<void(const QMenu*)> walk = [&](const QMenu* menu) {
            for (const QAction* item : menu->actions()) {
                if (item->isSeparator() || !item->isEnabled())
                    continue;
                names += " " + (item->objectName().isEmpty() ? item->text() : item->objectName())
                                   .toStdString();
                if (item->menu())
                    walk(item->menu());
            }
        };
        for (const QAction* menu : window->menuBar()->actions())
            walk(menu->menu());
        for (const QToolBar* bar : window->findChildren<QToolBar*>())
            for (const QAction* button : bar->actions())
                if (!button->isSeparator() && button->isEnabled())
                    names += " " + button->objectName().toStdString();
        return names;
    };
    OpenRunGraph();
    Play("click 60 60, do mnuCopy"); // something to paste and to undo
    Edit();
    const std::string idle = available();
    EXPECT_EQ(idle, " mnuNew mnuOpen Open &Recent mnuRecent1 mnuSave mnuSaveAs mnuImport "
                    "mnuExport mnuExportAnimation mnuExit mnuUndo mnuCut mnuCopy mnuPaste "
                    "mnuDelete mnuSelectAll "
                    "mnuFind mnuProperties mnuLayout mnuZoomIn mnuZoomOut mnuActualSize "
                    "mnuFitGraph mnuPreferredPath mnuRunEnds mnuExperimentPanel mnuPropertiesPanel "
                    "mnuLearningCurve mnuOverview mnuOptions mnuSamplePaths mnuStart mnuReset "
                    "mnuAbout Pointer AddNode Delete "
                    "SimpleLink UnidirectionalLink BidirectionalLink Start Reset");
    StartRun(0, 2, true);
    EXPECT_EQ(available(), " mnuSave mnuSaveAs mnuExport mnuExit mnuCopy mnuFind mnuZoomIn "
                           "mnuZoomOut mnuActualSize mnuFitGraph mnuPreferredPath mnuRunEnds "
                           "mnuExperimentPanel mnuPropertiesPanel mnuLearningCurve mnuOverview "
                           "mnuForward mnuStop mnuAbout Forward Stop");
    const std::size_t asked = script.FileRequests().size();
    for (const char* refused : {"mnuImport", "mnuLayout", "mnuRecent1", "mnuPaste", "mnuUndo"})
        Action(refused)->trigger(); // as a shortcut or a screen reader might
    EXPECT_EQ(script.FileRequests().size(), asked);
    EXPECT_EQ(State(), "run* - Pathloom 4 3 1@40,40 -1 0 &Undo Options");
    Play("do Stop");
    EXPECT_EQ(available(), idle);
}

// Simple links keep what they had when opened: Reset gives it back, and every run starts from it.
TEST_F(RunTest, ResetAndEveryRunStartFromTheInitialProbabilities) {
    WriteDocument("triangle.plm", {{0, 0}, {100, 0}, {200, 100}},
                  {{1, 2, 0, 1}, {2, 3, 0, 1}, {1, 3, 0, 3}});
    window->OpenStartupDocument(File("triangle.plm"));
    const std::string opened = Run();
    StartRun(0, 2, false);
    const std::string learned = Run();
    ASSERT_NE(learned, opened);
    StartRun(0, 2, false);
    EXPECT_EQ(Run(), learned);
    Play("do Reset");
    EXPECT_EQ(Run(), opened);
    Action("mnuUndo")->trigger(); // Reset, too, is one step; the run's figures went with Reset
    EXPECT_EQ(Run(), std::string(learned).erase(6, std::string("Paths found: 2").size()));
}

TEST_F(RunTest, ARunWithoutStepDelayWorksOnItsOwnThreadUntilStopped) {
    // Seven nodes each linked to twelve others, and a twentieth with one way in to the first: no
    // path takes in every node (the two sides differ by five), and the walk through all nodes
    // from the twentieth would try the billions of paths that alternate between the sides.
    std::vector<QPoint> nodes;
    std::vector<std::array<int, 4>> links;
    for (int i = 0; i < 20; ++i)
        nodes.emplace_back(45 * i, (i % 2) * 60);
    for (int a = 1; a <= 7; ++a)
        for (int b = 8; b <= 19; ++b)
            links.push_back({a, b, LinkKind::Simple, 0});
    links.push_back({20, 1, LinkKind::Unidirectional, 0});
    WriteDocument("bipartite.plm", nodes, links);
    window->OpenStartupDocument(File("bipartite.plm"));
    AnswerDialog("cmdOK", "txtReward=0|optSearchMethod0=x|cmbSource=19");
    Play("do Start");
    QTest::qWait(100); // the run works on its own thread, the window goes on answering
    EXPECT_TRUE(window->Run().Working());
    EXPECT_EQ(Label("StatusPanel1") + Label("PathsPanel"), "Working...Paths found: 0");
    EXPECT_EQ(Label("HintPanel"), "No probability can change: reward 0 under LRP.");
    EXPECT_EQ(canvas()->cursor().shape(), Qt::WaitCursor);
    Play("do Stop"); // the run's thread has ended when Stop returns
    EXPECT_FALSE(window->Run().Working());
    EXPECT_EQ(Label("StatusPanel1") + Label("PathsPanel") + Action("mnuUndo")->text(),
              "ReadyPaths found: 0&Undo Run");
    EXPECT_EQ(canvas()->cursor().hotSpot(), QPoint(8, 8)); // the tool's pointer again
    StartRun(0, 19, true);                                 // nothing leads to the twentieth
    EXPECT_EQ(Said(), "I Not found any path.");
    EXPECT_TRUE(Action("Start")->isEnabled() && !window->IsWorking());
}

} // namespace
