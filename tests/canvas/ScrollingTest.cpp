#include "Scrolling.h"

#include "CanvasWidget.h"

#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

TEST(Scrolling, CursorPointRoundsHalvesToEvenAndAddsTheOffsets) {
    EXPECT_EQ(Canvas::GetCursorPoint(QPointF(10.5, 11.5), QPoint(100, 50)), QPoint(110, 62));
    EXPECT_EQ(Canvas::GetCursorPoint(QPointF(30, 30), QPoint(0, 0)), QPoint(30, 30));
    EXPECT_EQ(Canvas::EventPoint(QPointF(-0.5, 2.5001)), QPoint(0, 3));
    const modHelper::Point view = Canvas::ToViewPoint({110, 60}, QPoint(100, 50));
    EXPECT_EQ(view, (modHelper::Point{10, 10}));
}

TEST(Scrolling, BarsRunTo32767InStepsOfANode) {
    QScrollBar bar(Qt::Horizontal);
    bar.setValue(0);
    Canvas::SetUpScrollBar(bar);
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar.value(), 82);
    bar.setValue(40000);
    EXPECT_EQ(bar.value(), 32767);
}

TEST(CanvasWidget, RubberBandDrawnTwiceRestoresEveryPixel) {
    CanvasWidget canvas;
    QImage picture(100, 80, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 0; x < 100; ++x)
        picture.setPixelColor(x, 40, QColor(255, 0, 0)); // a red link under the band
    canvas.SetImage(picture);

    canvas.InvertLine(QPoint(10, 10), QPoint(90, 70));
    EXPECT_EQ(canvas.Image().pixelColor(10, 10), QColor(0, 0, 0));
    EXPECT_EQ(canvas.Image().pixelColor(90, 70), QColor(0, 0, 0));
    EXPECT_NE(canvas.Image(), picture);
    canvas.InvertLine(QPoint(10, 10), QPoint(90, 70));
    EXPECT_EQ(canvas.Image(), picture);
}

} // namespace
