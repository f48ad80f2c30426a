#include "WindowFixture.h"

namespace {

using StartupTest = WindowFixture;

const QColor PaleYellow(255, 255, 150);

TEST_F(StartupTest, StartsIdleWithAnEmptyUntitledDocument) {
    EXPECT_EQ(window->windowTitle(), "Untitled - Pathloom");
    EXPECT_EQ(Status(), "Ready");
    EXPECT_FALSE(window->Modified);
    EXPECT_FALSE(window->IsWorking());
    EXPECT_EQ(window->GetCurrentTool(), Tool::Pointer);
    EXPECT_EQ(window->Engine().Graph().NodeCount(), 0);
    for (QAction* button : Widget("StdToolbar")->actions())
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_FALSE(Action("Forward")->isEnabled());
    EXPECT_FALSE(Action("Stop")->isEnabled());
    EXPECT_EQ(Widget("picCanvas")->geometry(), QRect(0, 0, 587, 374));
    const QImage& picture = window->Canvas()->Image();
    ASSERT_EQ(picture.size(), QSize(587, 374));
    EXPECT_EQ(picture.pixelColor(586, 373), QColor(Qt::white));
}

TEST_F(StartupTest, TinyMinimisedAndResizedWindowsKeepWorking) {
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
    window->Engine().Graph().AddNode(10, 10);
    window->resize(800, 600);
    QCoreApplication::processEvents();
    EXPECT_TRUE(script.Messages().empty());
    // Back to a usable size, everything is laid out and redrawn again.
    const QSize client = window->centralWidget()->size();
    EXPECT_EQ(Widget("picPan")->height(), client.height() - 36 - 28 - 21);
    EXPECT_EQ(window->Canvas()->width(), client.width() - 17);
    EXPECT_EQ(window->Canvas()->Image().size(), window->Canvas()->size());
    EXPECT_EQ(Pixel(15, 30), PaleYellow);
}

TEST_F(StartupTest, CanvasFollowsTheScrollBarsAndTheDraggedThumb) {
    window->Engine().Graph().AddNode(110, 60);
    QScrollBar* h = Scroll("HScroll");
    h->setValue(100);
    Scroll("VScroll")->setValue(50);
    EXPECT_EQ(Pixel(15, 30), PaleYellow);
    // While the thumb is dragged, every intermediate value is drawn.
    h->setSliderDown(true);
    for (int value : {90, 80, 70}) {
        h->setSliderPosition(value);
        EXPECT_EQ(Pixel(110 - value + 5, 30), PaleYellow) << value;
    }
    h->setSliderDown(false);
    h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(h->value(), 111);
    // The node now spans the canvas columns -1 to 39.
    EXPECT_EQ(Pixel(9, 30), PaleYellow);
    EXPECT_EQ(Pixel(45, 30), QColor(Qt::white));
}

} // namespace
