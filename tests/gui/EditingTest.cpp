#include "WindowFixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace {

const QColor PaleYellow(255, 255, 150);
const QColor Aquamarine(150, 255, 225);
const QColor Blue(96, 96, 254);

class EditingTest : public WindowFixture {
  protected:
    QWidget* canvas() const { return window->Canvas(); }
    // Three nodes drawn by mouse, centred on (60, 60), (260, 60) and (160, 200), and the first
    // `links` simple links of the round 1-2, 2-3, 3-1.
    void DrawThreeNodes(int links = 0) {
        Tool("AddNode");
        const QPoint at[] = {{60, 60}, {260, 60}, {160, 200}};
        for (QPoint p : at)
            Click(p);
        if (links > 0)
            Tool("SimpleLink");
        for (int i = 0; i < links; ++i)
            Drag(at[i], at[(i + 1) % 3]);
    }

    const clsGraph& graph() { return window->Engine().Graph(); }
};

TEST_F(EditingTest, DrawsATriangleOfNodesAndLinksByMouse) {
    DrawThreeNodes();
    ASSERT_EQ(graph().NodeCount(), 3);
    EXPECT_EQ(graph().Node(1).Position.x, 40); // centred on the click
    EXPECT_EQ(graph().Node(1).Position.y, 40);
    EXPECT_EQ(graph().Node(3).Position.x, 140);
    EXPECT_EQ(graph().Node(3).Label(), "2");
    EXPECT_TRUE(window->Modified);
    EXPECT_EQ(window->GetCurrentTool(), Tool::AddNode); // stays for the next node
    EXPECT_EQ(window->GetSelectedNode(), -1);
    EXPECT_EQ(Pixel(45, 60), PaleYellow);

    Tool("SimpleLink");
    EXPECT_TRUE(Action("SimpleLink")->isChecked());
    EXPECT_EQ(canvas()->cursor().hotSpot(), QPoint(16, 16));
    Drag({60, 60}, {260, 60});
    Tool("UnidirectionalLink");
    Drag({260, 60}, {160, 200});
    Tool("BidirectionalLink");
    Drag({160, 200}, {60, 60});

    ASSERT_EQ(graph().LinkCount(), 3);
    const int32_t kinds[] = {LinkKind::Simple, LinkKind::Unidirectional, LinkKind::Bidirectional};
    const int from[] = {1, 2, 3}, to[] = {2, 3, 1};
    for (int i = 1; i <= 3; ++i) {
        const clsLink& link = graph().Link(i);
        EXPECT_EQ(link.LinkType, kinds[i - 1]);
        EXPECT_EQ(link.FromNode, &graph().Node(from[i - 1]));
        EXPECT_EQ(link.ToNode, &graph().Node(to[i - 1]));
    }
    // The end node of the last link is selected, and every link is on the canvas.
    EXPECT_EQ(window->GetSelectedNode(), 1);
    EXPECT_EQ(window->GetCurrentTool(), Tool::Link);
    EXPECT_EQ(Pixel(45, 60), Aquamarine);
    EXPECT_EQ(Pixel(90, 60), QColor(Qt::black));
    EXPECT_TRUE(script.Messages().empty());
}

TEST_F(EditingTest, LinkDragsThatAddNothing) {
    DrawThreeNodes();
    Tool("UnidirectionalLink");
    Drag({60, 60}, {260, 60});
    ASSERT_EQ(graph().LinkCount(), 1);
    window->Modified = false;

    // Released on empty canvas, or on its own start node: no link, no message, and the rubber
    // band is gone without a redraw.
    const QImage before = window->Canvas()->Image();
    Drag({160, 200}, {400, 300});
    Drag({160, 200}, {120, 120});
    QTest::mousePress(canvas(), Qt::LeftButton, {}, {160, 200});
    QTest::mouseMove(canvas(), {300, 250});
    EXPECT_NE(window->Canvas()->Image(), before); // the rubber band shows
    EXPECT_EQ(Pixel(300, 250), QColor(Qt::black));
    QTest::mouseMove(canvas(), {165, 205});
    EXPECT_EQ(Pixel(300, 250), QColor(Qt::white)); // and moves with the pointer
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, {165, 205});
    EXPECT_EQ(graph().LinkCount(), 1);
    EXPECT_TRUE(script.Messages().empty());
    EXPECT_FALSE(window->Modified);
    EXPECT_EQ(window->Canvas()->Image(), before);
    EXPECT_EQ(window->GetSelectedNode(), 3);

    // Released on a node already linked (either way round): the critical message.
    Drag({260, 60}, {60, 60});
    ASSERT_EQ(script.Messages().size(), 1u);
    EXPECT_EQ(script.Messages()[0].text, "These nodes already are linked.");
    EXPECT_EQ(script.Messages()[0].icon, MessageIcon::Critical);
    EXPECT_EQ(graph().LinkCount(), 1);
    EXPECT_EQ(window->GetSelectedNode(), 2); // still the start node
    EXPECT_EQ(window->Canvas()->Image(), before);
    EXPECT_FALSE(window->Modified);

    // Pressed off any node: the exclamation.
    Drag({400, 300}, {60, 60});
    ASSERT_EQ(script.Messages().size(), 2u);
    EXPECT_EQ(script.Messages()[1].text,
              "You mush select a node and drag pointer to another node.");
    EXPECT_EQ(script.Messages()[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(graph().LinkCount(), 1);
}

TEST_F(EditingTest, PointerSelectsAndDragsInAScrolledView) {
    Scroll("HScroll")->setValue(100);
    Scroll("VScroll")->setValue(50);
    Tool("AddNode");
    Click({30, 30});
    ASSERT_EQ(graph().NodeCount(), 1);
    EXPECT_EQ(graph().Node(1).Position.x, 110);
    EXPECT_EQ(graph().Node(1).Position.y, 60);
    EXPECT_EQ(Pixel(15, 30), PaleYellow); // drawn at the click

    Tool("Pointer");
    window->Modified = false;
    Click({35, 32});
    EXPECT_EQ(window->GetSelectedNode(), 1);
    EXPECT_EQ(window->GetCurrentTool(), Tool::Pointer);
    EXPECT_FALSE(window->Modified); // selecting is no change
    EXPECT_EQ(Pixel(15, 30), Aquamarine);

    // The node keeps its offset to the pointer while it is dragged.
    QTest::mousePress(canvas(), Qt::LeftButton, {}, {35, 32});
    EXPECT_EQ(window->GetCurrentTool(), Tool::DragNode);
    QTest::mouseMove(canvas(), {40, 40});
    QTest::mouseMove(canvas(), {85, 72});
    EXPECT_TRUE(window->Modified);
    EXPECT_EQ(graph().Node(1).Position.x, 160);
    EXPECT_EQ(graph().Node(1).Position.y, 100);
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, {85, 72});
    EXPECT_EQ(window->GetCurrentTool(), Tool::Pointer);
    EXPECT_EQ(Pixel(65, 70), Aquamarine);
    EXPECT_EQ(Pixel(15, 30), QColor(Qt::white));

    // Dragged past the left and top edges, the node stops at them: the scroll bars can still
    // bring it back into view.
    Scroll("HScroll")->setValue(0);
    Scroll("VScroll")->setValue(0);
    Drag({180, 120}, {-300, -300});
    EXPECT_EQ(graph().Node(1).Position.x, 0);
    EXPECT_EQ(graph().Node(1).Position.y, 0);

    // Empty canvas clears the selection.
    Click({300, 300});
    EXPECT_EQ(window->GetSelectedNode(), -1);
    EXPECT_EQ(window->GetSelectedLink(), -1);
}

TEST_F(EditingTest, DeleteRemovesTheSelectedLinkOrNodeWithItsLinks) {
    DrawThreeNodes(3);
    Tool("Pointer");
    Click({100, 60});
    EXPECT_EQ(window->GetSelectedLink(), 1);
    EXPECT_EQ(window->GetSelectedNode(), -1);
    EXPECT_EQ(Pixel(100, 60), Blue);
    window->Modified = false;
    Tool("Delete");
    EXPECT_EQ(graph().LinkCount(), 2);
    EXPECT_EQ(window->GetSelectedLink(), -1);
    EXPECT_TRUE(window->Modified);
    EXPECT_EQ(Pixel(100, 60), QColor(Qt::white));

    Click({260, 60});
    Action("mnuDelete")->trigger();
    EXPECT_EQ(graph().NodeCount(), 2);
    ASSERT_EQ(graph().LinkCount(), 1);
    EXPECT_EQ(graph().Link(1).FromNode, &graph().Node(2));
    EXPECT_EQ(window->GetSelectedNode(), -1);
    EXPECT_EQ(Pixel(245, 60), QColor(Qt::white));

    // Nothing selected: Delete does nothing.
    window->Modified = false;
    Action("mnuDelete")->trigger();
    EXPECT_EQ(graph().NodeCount(), 2);
    EXPECT_FALSE(window->Modified);
}

TEST_F(EditingTest, DeleteTakesTheLinkAndPropertiesTheNodeWhenBothAreSelected) {
    DrawThreeNodes(1);
    Tool("Pointer");
    Click({100, 60}); // link 1 selected
    Tool("SimpleLink");
    Drag({260, 60}, {160, 200}); // node 3 selected, link 1 still selected
    EXPECT_EQ(window->GetSelectedNode(), 3);
    EXPECT_EQ(window->GetSelectedLink(), 1);

    Tool("Pointer");
    window->Modified = false;
    QString shown;
    AnswerDialog(&shown, "cmdCancel");
    Action("mnuProperties")->trigger();
    EXPECT_EQ(shown, "frmNodeProperties");
    EXPECT_FALSE(window->Modified); // cancelled

    AnswerDialog(&shown, "cmdOK");
    Action("mnuProperties")->trigger();
    EXPECT_TRUE(window->Modified);

    Action("mnuDelete")->trigger();
    EXPECT_EQ(graph().LinkCount(), 1);
    EXPECT_EQ(graph().NodeCount(), 3);
    EXPECT_EQ(graph().Link(1).ToNode, &graph().Node(3)); // the second link is left
}

TEST_F(EditingTest, DoubleClickAndRightClickActOnTheSelectionWithThePointerOnly) {
    DrawThreeNodes();
    // With the add-node tool the double-click adds one node and opens nothing, and the right
    // click shows no menu and adds nothing.
    DoubleClick({400, 300});
    EXPECT_EQ(graph().NodeCount(), 4);
    auto* menu = window->findChild<QMenu*>("mnuEdit");
    Click({60, 60}, Qt::RightButton);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(graph().NodeCount(), 4);

    Tool("Pointer");
    QString shown;
    AnswerDialog(&shown, "cmdCancel");
    DoubleClick({160, 200});
    EXPECT_EQ(shown, "frmNodeProperties");
    EXPECT_EQ(window->GetSelectedNode(), 3);

    Click({260, 60}, Qt::RightButton);
    EXPECT_EQ(window->GetSelectedNode(), 2);
    EXPECT_TRUE(menu->isVisible());
    menu->close();
    Click({500, 200}, Qt::RightButton);
    EXPECT_EQ(window->GetSelectedNode(), -1);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(EditingTest, EscapeReturnsToThePointerExceptFromALinkTool) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    Tool("AddNode");
    Escape();
    EXPECT_EQ(window->GetCurrentTool(), Tool::Pointer);
    EXPECT_TRUE(Action("Pointer")->isChecked());
    EXPECT_EQ(canvas()->cursor().hotSpot(), QPoint(8, 8));

    Tool("BidirectionalLink");
    Escape();
    EXPECT_EQ(window->GetCurrentTool(), Tool::Link);
    EXPECT_TRUE(Action("BidirectionalLink")->isChecked());

    // A screen reader's toggle action on a tool button chooses the tool, as a click does.
    auto* bar = window->findChild<QToolBar*>("StdToolbar");
    QAccessibleInterface* button =
        QAccessible::queryAccessibleInterface(bar->widgetForAction(Action("AddNode")));
    ASSERT_NE(button->actionInterface(), nullptr);
    button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(window->GetCurrentTool(), Tool::AddNode);
    EXPECT_TRUE(Action("AddNode")->isChecked());

    // During a node drag Escape ends the drag: later moves leave the node alone.
    DrawThreeNodes();
    Tool("Pointer");
    QTest::mousePress(canvas(), Qt::LeftButton, {}, {60, 60});
    EXPECT_EQ(window->GetCurrentTool(), Tool::DragNode);
    Escape();
    EXPECT_EQ(window->GetCurrentTool(), Tool::Pointer);
    QTest::mouseMove(canvas(), {90, 90});
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, {90, 90});
    EXPECT_EQ(graph().Node(1).Position.x, 40);
}

} // namespace
