#include "WindowFixture.h"

namespace {

using ScrollingTest = WindowFixture;

const QColor PaleYellow(255, 255, 150);

TEST_F(ScrollingTest, CanvasFollowsTheScrollBarsAndTheDraggedThumb) {
    window->Engine().Graph().AddNode(110, 60);
    QScrollBar* h = Scroll("HScroll");
    QScrollBar* v = Scroll("VScroll");
    h->setValue(100);
    v->setValue(50);
    EXPECT_EQ(window->Canvas()->Image().pixelColor(15, 30), PaleYellow);

    // While the thumb is dragged, every intermediate value is drawn.
    h->setSliderDown(true);
    for (int value : {90, 80, 70}) {
        h->setSliderPosition(value);
        EXPECT_EQ(window->Canvas()->Image().pixelColor(110 - value + 5, 30), PaleYellow) << value;
    }
    h->setSliderDown(false);

    h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(h->value(), 111);
    // The node now spans the canvas columns -1 to 39.
    EXPECT_EQ(window->Canvas()->Image().pixelColor(9, 30), PaleYellow);
    EXPECT_EQ(window->Canvas()->Image().pixelColor(45, 30), QColor(Qt::white));
}

TEST_F(ScrollingTest, NewDocumentScrollsBackToTheOrigin) {
    Scroll("HScroll")->setValue(500);
    Scroll("VScroll")->setValue(700);
    Action("mnuNew")->trigger();
    EXPECT_EQ(Scroll("HScroll")->value(), 0);
    EXPECT_EQ(Scroll("VScroll")->value(), 0);
}

TEST_F(ScrollingTest, ResizingRedrawsAtTheNewCanvasSize) {
    window->Engine().Graph().AddNode(10, 10);
    window->resize(800, 600);
    QCoreApplication::processEvents();
    const QImage& picture = window->Canvas()->Image();
    EXPECT_EQ(picture.size(), window->Canvas()->size());
    EXPECT_EQ(window->Canvas()->width(), window->centralWidget()->width() - 17);
    EXPECT_EQ(picture.pixelColor(15, 30), PaleYellow);
}

} // namespace
