#include "GraphPicture.h"
#include "Overview.h"
#include "WindowFixture.h"
#include "frmFind.h"

#include <QAccessible>
#include <QComboBox>
#include <QDockWidget>
#include <QHelpEvent>
#include <QMenu>
#include <QScopeGuard>
#include <QToolTip>

namespace {

const QColor Violet(128, 0, 160);

// Nodes "b", "A", "c" centred on (60, 60), (260, 60), (160, 200); links b-A and A-c.
class CanvasTest : public WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Play("do AddNode, click 60 60, click 260 60, click 160 200, do SimpleLink, drag 60 60 "
             "260 60, drag 260 60 160 200, do Pointer");
        for (const auto& [node, label] : {std::pair{1, "b"}, {2, "A"}, {3, "c"}})
            window->Document().Do(new RenameNodeCommand(window->Document(), node, label));
        Play("click 500 300");
    }
    // The visible items of the menu the click shows, by name ("-" a line); closed again.
    std::string Menu(const std::string& click) {
        Play(click);
        return Shown();
    }
    // The visible items of the menu shown, by name; empty when none is shown.
    std::string Shown() const {
        std::string names;
        for (const char* name : {"contextMenu", "emptyMenu"}) {
            auto* menu = window->findChild<QMenu*>(name);
            if (!menu->isVisible())
                continue;
            for (const QAction* item : menu->actions())
                if (item->isVisible())
                    names += (item->isSeparator() ? "-" : item->objectName().toStdString()) + " ";
            menu->close();
        }
        return names;
    }
    std::string Ends() const {
        const RunSettings& s = window->Document().Settings();
        return std::to_string(s.sourceNode) + " " + std::to_string(s.DestNode) + " " +
               std::to_string(s.GraphSearchMethod);
    }
};

TEST_F(CanvasTest, ContextMenusSetTheRunsEndsWhichTheCanvasAndTheDialogsThenShow) {
    const std::pair<const char*, const char*> menus[] = {
        {"right 60 60", "mnuSetSource mnuSetDest - mnuDelete - mnuProperties "},
        {"right 160 60", "mnuDelete - mnuProperties "},
        {"right 500 300", "mnuAddNodeHere mnuPasteHere - mnuSelectAll mnuFitGraph "},
    };
    for (const auto& [click, items] : menus)
        EXPECT_EQ(Menu(click), items) << click;
    Play("do mnuAddNodeHere"); // where the menu opened
    EXPECT_EQ(State(), "Untitled* - Pathloom 4 2 -1 -1 0 &Undo Add Node");
    EXPECT_EQ(QPoint(graph().Node(4).Position.x, graph().Node(4).Position.y), QPoint(480, 280));

    EXPECT_EQ(Pixel(39, 44), QColor(Qt::white)); // no badges until asked for
    Menu("right 60 60");
    Play("do mnuSetDest"); // a destination is for a run that goes to one
    EXPECT_EQ(Ends() + " " + State(), "-1 1 1 Untitled* - Pathloom 4 2 1@40,40 -1 0 &Undo Set as "
                                      "Destination");
    Menu("right 260 60");
    Play("do mnuSetSource");
    Menu("right 60 60");
    Play("do mnuSetSource"); // the ends differ
    EXPECT_EQ(Ends(), "1 -1 1");
    EXPECT_TRUE(Action("mnuRunEnds")->isChecked());
    EXPECT_EQ(Pixel(39, 44), Violet);
    Play("key Ctrl+Z, key Ctrl+Z");
    EXPECT_EQ(Ends() + " " + Action("mnuUndo")->text().toStdString(),
              "-1 1 1 &Undo Set as Destination");
    EXPECT_EQ(Pixel(39, 44), QColor(Qt::white));
    EXPECT_EQ(Pixel(81, 44), Violet); // "D" at the top right
    Menu("right 260 60");
    Play("do mnuSetSource");

    // Options and Sample Paths offer the nodes marked; unmarked, Options asks again.
    std::string offered;
    const auto offer = [&](const char* action) {
        DialogTest::WhenShown([&](QDialog* dialog) {
            for (const char* list : {"cmbSource", "cmbDest"})
                offered += std::to_string(DialogTest::Get<QComboBox>(dialog, list)->currentIndex());
            DialogTest::Click(dialog, "cmdCancel");
        });
        Play(std::string("do ") + action);
    };
    offer("Start");
    offer("mnuSamplePaths");
    Play("do mnuRunEnds");
    offer("Start");
    EXPECT_EQ(offered, "1010-1-1");
    EXPECT_EQ(Pixel(239, 44), QColor(Qt::white));
}

TEST_F(CanvasTest, FindSelectsANodeByItsLabelAndBringsItIntoView) {
    window->Document().Do(new AddNodeCommand(window->Document(), 3000, 2000));
    window->Document().Do(new RenameNodeCommand(window->Document(), 4, "Depot"));
    const auto find = [&](const char* text) {
        DialogTest::WhenShown([text](QDialog* dialog) {
            DialogTest::Get<QComboBox>(dialog, "cmbFind")->setEditText(text);
            DialogTest::Click(dialog, "cmdOK");
            if (dialog->isVisible())
                DialogTest::Click(dialog, "cmdCancel");
        });
        Play("do mnuFind");
        return window->GetSelectedNode();
    };
    EXPECT_EQ(find("EPO"), 4);
    EXPECT_TRUE(window->Panel().VisibleDocumentRect().contains(QRectF(3000, 2000, 41, 41)));
    EXPECT_EQ(Pixel(window->Panel().ToCanvas({3005, 2020}).x(),
                    window->Panel().ToCanvas({3005, 2020}).y()),
              QColor(150, 255, 225));
    // A label equal to the text comes before those that contain it; again finds the next.
    window->Document().Do(new RenameNodeCommand(window->Document(), 1, "a"));
    EXPECT_EQ(std::vector<int>({find("a"), find("a"), find("zz")}), std::vector<int>({1, 2, 2}));
    EXPECT_EQ(Said(), "E No node's label contains \"zz\".");
    EXPECT_EQ(frmFind::Find({"P1", "P10", "x"}, "p1", 0), 0);
    EXPECT_EQ(frmFind::Find({"P10", "P11"}, "p1", 0), 1);
}

TEST_F(CanvasTest, KeyboardReachesEveryNodeAndScreenReadersHearIt) {
    // What screen readers are told of the nodes: each event's kind and node (0-based).
    std::vector<std::pair<QAccessible::Event, int>> heard;
    QObject::connect(window->Canvas(), &CanvasWidget::Announced, window.get(),
                     [&](QAccessible::Event e, int node) {
                         if (node >= 0)
                             heard.emplace_back(e, node);
                     });
    canvas()->setFocus();
    Play("key Tab, key Tab, key Tab"); // in label order, letter case aside: A, b, c
    EXPECT_EQ(window->GetSelectedNode(), 3);
    Play("key Shift+Tab, key Shift+Tab");
    EXPECT_EQ(window->GetSelectedNode(), 2);
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(canvas());
    ASSERT_EQ(reader->childCount(), 3);
    QAccessibleInterface* node = reader->focusChild();
    ASSERT_TRUE(node);
    EXPECT_EQ(node->text(QAccessible::Name) + ": " + node->text(QAccessible::Description),
              "A: degree 2 in, 2 out; selected");
    EXPECT_EQ(reader->indexOfChild(node), 1);
    EXPECT_TRUE(node->state().focused && node->parent() == reader);
    Play("key Tab, key Tab, do mnuSetSource");
    EXPECT_EQ(reader->focusChild()->text(QAccessible::Description),
              "degree 1 in, 1 out; selected, source");
    const std::vector<std::pair<QAccessible::Event, int>> expected = {
        {QAccessible::Focus, 1}, {QAccessible::Focus, 0},
        {QAccessible::Focus, 2}, {QAccessible::Focus, 0},
        {QAccessible::Focus, 1}, {QAccessible::Focus, 0},
        {QAccessible::Focus, 2}, {QAccessible::DescriptionChanged, 2}};
    EXPECT_EQ(heard, expected);

    // Past the last node nothing is selected and the focus moves on; the next Tab starts again.
    Play("key Tab");
    EXPECT_EQ(window->GetSelectedNode(), -1);
    canvas()->setFocus();
    Play("key Tab, key Menu");
    EXPECT_EQ(Shown(), "mnuSetSource mnuSetDest - mnuDelete - mnuProperties ");
    window->activateWindow(); // before the dialog's script waits for it
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    AnswerDialog("cmdCancel");
    Play("key Return");
    EXPECT_EQ(answered, "frmNodeProperties");
}

TEST_F(CanvasTest, LongLabelsShowWholeAsATipAndTheOverviewMovesTheView) {
    const std::string label(31, 'W');
    window->Document().Do(new RenameNodeCommand(window->Document(), 1, label));
    const auto tip = [&](QPoint at) {
        QHelpEvent help(QEvent::ToolTip, at, canvas()->mapToGlobal(at));
        QCoreApplication::sendEvent(canvas(), &help);
        return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
    };
    EXPECT_EQ(tip({260, 60}) + tip({400, 300}), ""); // a label shown whole, no node
    EXPECT_EQ(tip({60, 60}), label);

    Play("do mnuOverview");
    QCoreApplication::processEvents(); // the dock's layout
    auto* overview = window->findChild<OverviewWidget*>();
    ASSERT_TRUE(overview && overview->isVisible());
    window->Document().Do(new AddNodeCommand(window->Document(), 3000, 2000));
    const OverviewWidget::Map map = OverviewWidget::MapOf(
        Canvas::GraphBounds(graph()).united(window->Panel().VisibleDocumentRect()),
        overview->size());
    const QPointF far = map.ToWidget({3020, 2020});
    ASSERT_TRUE(overview->rect().contains(far.toPoint()));
    QTest::mousePress(overview, Qt::LeftButton, {}, far.toPoint());
    QTest::mouseMove(overview, far.toPoint() - QPoint(1, 1));
    QTest::mouseRelease(overview, Qt::LeftButton, {}, far.toPoint() - QPoint(1, 1));
    EXPECT_TRUE(window->Panel().VisibleDocumentRect().contains(QPointF(3020, 2020)));
    const QPoint shown = window->Panel().ToCanvas({3005, 2020});
    EXPECT_EQ(Pixel(shown.x(), shown.y()), QColor(255, 255, 150));
}

} // namespace
