#include "WindowFixture.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>

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
};

TEST_F(EditingTest, DrawsATriangleOfNodesAndLinksByMouse) {
    DrawThreeNodes();
    ASSERT_EQ(graph().NodeCount(), 3);
    EXPECT_EQ(graph().Node(1).Position.x, 40); // centred on the click
    EXPECT_EQ(graph().Node(3).Label(), "2");
    EXPECT_EQ(window->GetCurrentTool(), Tool::AddNode); // stays for the next node
    EXPECT_EQ(Pixel(45, 60), PaleYellow);
    Tool("SimpleLink");
    EXPECT_EQ(canvas()->cursor().hotSpot(), QPoint(16, 16));
    Drag({60, 60}, {260, 60});
    Tool("UnidirectionalLink");
    Drag({260, 60}, {160, 200});
    Tool("BidirectionalLink");
    Drag({160, 200}, {60, 60});
    ASSERT_EQ(graph().LinkCount(), 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(graph().Link(i).LinkType, i - 1);
        EXPECT_EQ(graph().Link(i).FromNode, &graph().Node(i));
    }
    // The end node of the last link is selected, and every link is on the canvas.
    EXPECT_EQ(window->GetSelectedNode(), 1);
    EXPECT_EQ(Pixel(45, 60), Aquamarine);
    EXPECT_EQ(Pixel(90, 60), QColor(Qt::black));
    EXPECT_TRUE(script.Messages().empty());
}

TEST_F(EditingTest, LinkDragsThatAddNothing) {
    DrawThreeNodes();
    Tool("UnidirectionalLink");
    Drag({60, 60}, {260, 60});
    const int steps = window->Document().History().count();
    // Released on empty canvas, or on its own start node: no link, no message, and the rubber
    // band is gone without a redraw.
    const QImage before = window->Canvas()->Image();
    Drag({160, 200}, {400, 300});
    QTest::mousePress(canvas(), Qt::LeftButton, {}, {160, 200});
    QTest::mouseMove(canvas(), {300, 250});
    EXPECT_EQ(Pixel(300, 250), QColor(Qt::black)); // the rubber band shows
    QTest::mouseMove(canvas(), {165, 205});
    EXPECT_EQ(Pixel(300, 250), QColor(Qt::white)); // and moves with the pointer
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, {165, 205});
    EXPECT_EQ(window->Canvas()->Image(), before);
    EXPECT_EQ(window->Document().History().count(), steps);

    // Released on a node already linked (either way round): the critical message.
    Drag({260, 60}, {60, 60});
    EXPECT_EQ(script.Messages()[0].text, "These nodes already are linked.");
    EXPECT_EQ(script.Messages()[0].icon, MessageIcon::Critical);
    EXPECT_EQ(window->GetSelectedNode(), 2); // still the start node
    // Pressed off any node: the exclamation.
    Drag({400, 300}, {60, 60});
    EXPECT_EQ(script.Messages()[1].text,
              "You mush select a node and drag pointer to another node.");
    EXPECT_EQ(graph().LinkCount(), 1);
    EXPECT_EQ(window->Document().History().count(), steps);
}

TEST_F(EditingTest, PointerSelectsAndDragsInAScrolledView) {
    Scroll("HScroll")->setValue(100);
    Scroll("VScroll")->setValue(50);
    Tool("AddNode");
    Click({30, 30});
    EXPECT_EQ(graph().Node(1).Position.x, 110);
    EXPECT_EQ(graph().Node(1).Position.y, 60);
    EXPECT_EQ(Pixel(15, 30), PaleYellow); // drawn at the click
    Tool("Pointer");
    Click({35, 32});
    EXPECT_EQ(window->GetSelectedNode(), 1);
    EXPECT_EQ(window->Document().History().count(), 1); // selecting is no change
    EXPECT_EQ(Pixel(15, 30), Aquamarine);

    // The node keeps its offset to the pointer while it is dragged; one drag is one step.
    Drag({35, 32}, {85, 72});
    EXPECT_EQ(graph().Node(1).Position.x, 160);
    EXPECT_EQ(graph().Node(1).Position.y, 100);
    EXPECT_EQ(window->GetCurrentTool(), Tool::Pointer);
    EXPECT_EQ(Pixel(65, 70), Aquamarine);
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Move Node");
    Action("mnuUndo")->trigger();
    EXPECT_EQ(graph().Node(1).Position.x, 110);

    // Dragged past the left and top edges, the node stops at them: the scroll bars can still
    // bring it back into view.
    Scroll("HScroll")->setValue(0);
    Scroll("VScroll")->setValue(0);
    Drag({130, 80}, {-300, -300});
    EXPECT_EQ(graph().Node(1).Position.x, 0);
    EXPECT_EQ(graph().Node(1).Position.y, 0);
    Click({300, 300}); // empty canvas clears the selection
    EXPECT_EQ(window->GetSelectedNode(), -1);
}

TEST_F(EditingTest, DeleteAndPropertiesActOnTheSelection) {
    DrawThreeNodes(3);
    Tool("Pointer");
    Click({100, 60});
    EXPECT_EQ(window->GetSelectedLink(), 1);
    EXPECT_EQ(Pixel(100, 60), Blue);
    Tool("Delete");
    EXPECT_EQ(graph().LinkCount(), 2);
    EXPECT_EQ(Pixel(100, 60), QColor(Qt::white));
    Click({260, 60});
    Key(Qt::Key_Delete); // the key does what the menu item does
    EXPECT_EQ(graph().NodeCount(), 2);
    ASSERT_EQ(graph().LinkCount(), 1);
    EXPECT_EQ(graph().Link(1).FromNode, &graph().Node(2));
    const int steps = window->Document().History().count();
    Action("mnuDelete")->trigger(); // nothing selected: nothing happens
    EXPECT_EQ(window->Document().History().count(), steps);
}

// After a link drag a node and a link are selected: Delete takes the link, Properties the node.
TEST_F(EditingTest, DeleteTakesTheLinkAndPropertiesTheNodeWhenBothAreSelected) {
    DrawThreeNodes(1);
    Tool("Pointer");
    Click({100, 60}); // link 1 selected
    Tool("SimpleLink");
    Drag({260, 60}, {160, 200}); // node 3 selected, link 1 still selected
    Tool("Pointer");
    QString shown;
    AnswerDialog(&shown, "cmdCancel");
    Action("mnuProperties")->trigger();
    EXPECT_EQ(shown, "frmNodeProperties");
    Action("mnuDelete")->trigger();
    EXPECT_EQ(graph().NodeCount(), 3);
    ASSERT_EQ(graph().LinkCount(), 1);
    EXPECT_EQ(graph().Link(1).ToNode, &graph().Node(3)); // the second link is left
}

TEST_F(EditingTest, DoubleClickAndRightClickActOnTheSelectionWithThePointerOnly) {
    DrawThreeNodes();
    // With the add-node tool the double-click adds one node and opens nothing, and the right
    // click shows no menu and adds nothing.
    DoubleClick({400, 300});
    EXPECT_EQ(graph().NodeCount(), 4);
    auto* menu = window->findChild<QMenu*>("contextMenu");
    Click({60, 60}, Qt::RightButton);
    EXPECT_FALSE(menu->isVisible());
    Tool("Pointer");
    QString shown;
    AnswerDialog(&shown, "cmdOK",
                 [](QWidget* d) { d->findChild<QLineEdit*>("txtLabel")->setText("Hub"); });
    DoubleClick({160, 200});
    EXPECT_EQ(shown, "frmNodeProperties");
    EXPECT_EQ(graph().Node(3).Label(), "Hub");
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Node Properties");
    Click({260, 60}, Qt::RightButton);
    EXPECT_EQ(window->GetSelectedNode(), 2);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->actions().size(), 3); // Delete, a separator, Properties: no Undo here
    menu->close();
    Click({500, 200}, Qt::RightButton);
    EXPECT_EQ(window->GetSelectedNode(), -1);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(EditingTest, EscapeAndScreenReadersChooseTools) {
    Tool("AddNode");
    Key(Qt::Key_Escape);
    EXPECT_EQ(window->GetCurrentTool(), Tool::Pointer);
    EXPECT_TRUE(Action("Pointer")->isChecked());
    EXPECT_EQ(canvas()->cursor().hotSpot(), QPoint(8, 8));
    Tool("BidirectionalLink");
    Key(Qt::Key_Escape);
    EXPECT_EQ(window->GetCurrentTool(), Tool::Link); // a link tool stays
    // A screen reader's toggle action on a tool button chooses the tool, as a click does.
    auto* bar = window->findChild<QToolBar*>("StdToolbar");
    QAccessibleInterface* button =
        QAccessible::queryAccessibleInterface(bar->widgetForAction(Action("AddNode")));
    button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(window->GetCurrentTool(), Tool::AddNode);
    EXPECT_TRUE(Action("AddNode")->isChecked());

    // During a node drag Escape ends the drag as one step: later moves leave the node alone.
    DrawThreeNodes();
    Tool("Pointer");
    QTest::mousePress(canvas(), Qt::LeftButton, {}, {60, 60});
    QTest::mouseMove(canvas(), {70, 60});
    Key(Qt::Key_Escape);
    EXPECT_EQ(window->GetCurrentTool(), Tool::Pointer);
    QTest::mouseMove(canvas(), {90, 90});
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, {90, 90});
    EXPECT_EQ(graph().Node(1).Position.x, 50);
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Move Node");
}

} // namespace
