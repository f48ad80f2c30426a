#include "WindowFixture.h"

#include <QWheelEvent>

namespace {

const QColor PaleYellow(255, 255, 150);

class ViewTest : public WindowFixture {
  protected:
    void Wheel(QPoint at, int notches, Qt::KeyboardModifiers modifiers = {}) {
        QWheelEvent wheel(at, window->Canvas()->mapToGlobal(at), {}, QPoint(0, notches * 120),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window->Canvas(), &wheel);
    }
    double Zoom() const { return window->Panel().Zoom(); }
};

TEST_F(ViewTest, TheWheelScrollsAndWithCtrlZoomsAboutThePointer) {
    Wheel({10, 10}, -1);
    EXPECT_EQ(Scroll("VScroll")->value(), 123); // three arrow steps of 41
    Wheel({10, 10}, -1, Qt::ShiftModifier);
    EXPECT_EQ(Scroll("HScroll")->value(), 123);
    Wheel({10, 10}, 2);
    EXPECT_EQ(Scroll("VScroll")->value(), 0);
    // The node's centre stays under the pointer while the zoom goes up and down again.
    window->Engine().Graph().AddNode(1000, 600);
    Scroll("HScroll")->setValue(800);
    Scroll("VScroll")->setValue(500);
    Wheel({220, 120}, 1, Qt::ControlModifier);
    EXPECT_EQ(Zoom(), 1.25);
    EXPECT_EQ(window->Panel().ToDocument(QPointF(220, 120)), QPoint(1020, 620));
    Wheel({220, 120}, -2, Qt::ControlModifier);
    EXPECT_EQ(Zoom(), 0.75);
    EXPECT_EQ(window->Panel().ToDocument(QPointF(220, 120)), QPoint(1020, 620));
    EXPECT_EQ(Pixel(220, 114), PaleYellow);
    Key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(Zoom(), 1.0);
    for (int i = 0; i < 20; ++i)
        Action("mnuZoomOut")->trigger();
    EXPECT_EQ(Zoom(), 0.1);
    for (int i = 0; i < 20; ++i)
        Key(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(Zoom(), 4.0);
}

// At every zoom a click hits what is drawn under it, and a node is added centred on the click.
TEST_F(ViewTest, EditingWorksAtEveryZoom) {
    for (const double zoom : {0.5, 2.0}) {
        window->Panel().SetZoom(zoom, QPointF());
        Tool("AddNode");
        Click({100, 100});
        const clsNode& node = graph().Node(graph().NodeCount());
        const QPoint centre(node.Position.x + 20, node.Position.y + 20);
        EXPECT_EQ(centre, window->Panel().ToDocument(QPointF(100, 100))) << zoom;
        // The node is drawn where it was added (above its label).
        EXPECT_EQ(Pixel(100, 100 - static_cast<int>(12 * zoom)), PaleYellow) << zoom;
        Tool("Pointer");
        Click({100, 100});
        EXPECT_EQ(window->GetSelectedNode(), graph().NodeCount()) << zoom;
        // A link dragged from it by the pointer's canvas positions.
        Tool("AddNode");
        Click({100, 250});
        Tool("SimpleLink");
        Drag({100, 100}, {100, 250});
        Tool("Pointer");
        Click({100, 175});
        EXPECT_EQ(window->GetSelectedLink(), graph().LinkCount()) << zoom;
    }
    // Fit Graph shows every node whole; Actual Size is 100% again.
    window->Engine().Graph().AddNode(3000, 2000);
    Action("mnuFitGraph")->trigger();
    const QPoint far = window->Panel().ToCanvas(QPoint(3020, 2020));
    EXPECT_TRUE(window->Canvas()->rect().contains(far));
    EXPECT_EQ(Pixel(far.x(), far.y()), PaleYellow);
    Action("mnuActualSize")->trigger();
    EXPECT_EQ(Zoom(), 1.0);
}

TEST_F(ViewTest, SmallAndMinimisedWindowsKeepWorking) {
    window->resize(20, 20); // held at its minimum, where nothing overlaps
    QCoreApplication::processEvents();
    EXPECT_GE(window->width(), window->findChild<QWidget*>("StdToolbar")->sizeHint().width());
    EXPECT_GT(window->Canvas()->height(), 0);
    window->showMinimized();
    QCoreApplication::processEvents();
    window->showNormal();
    window->Engine().Graph().AddNode(10, 10);
    window->resize(800, 600);
    QCoreApplication::processEvents();
    EXPECT_TRUE(script.Messages().empty());
    EXPECT_EQ(window->Canvas()->Image().size(), window->Canvas()->size());
    EXPECT_EQ(Pixel(15, 30), PaleYellow);
    // While the thumb is dragged, every intermediate value is drawn.
    QScrollBar* h = Scroll("HScroll");
    h->setSliderDown(true);
    for (int value : {9, 6, 3}) {
        h->setSliderPosition(value);
        EXPECT_EQ(Pixel(15 - value, 30), PaleYellow) << value;
    }
}

} // namespace
