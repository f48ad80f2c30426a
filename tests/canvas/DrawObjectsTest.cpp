#include "DrawObjects.h"

#include "clsGraph.h"
#include "modHelper.h"

#include <QFontMetrics>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

const QColor White(255, 255, 255);
const QColor Black(0, 0, 0);
const QColor Red(255, 0, 0);
const QColor Blue(96, 96, 254);
const QColor PaleYellow(255, 255, 150);
const QColor Aquamarine(150, 255, 225);

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

class DrawObjectsTest : public ::testing::Test {
  protected:
    QImage Render(QSize size = QSize(400, 300)) {
        return Canvas::DrawObjects(graph, view, size, Canvas::MakeNodeFont(),
                                   Canvas::MakeLinkFont());
    }

    // Two nodes whose centres lie on the row y = 120: the link runs from x = 41 to x = 199.
    void HorizontalLink(int32_t linkType) {
        graph.AddNode(0, 100);
        graph.AddNode(200, 100);
        graph.AddLink(1, 2, linkType);
    }

    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    clsGraph graph;
    Canvas::View view;
};

TEST(NodeImage, CircleFillsTheSquareWithTransparentCorners) {
    for (int index : {0, 1}) {
        const QImage& image = Canvas::NodeImage(index);
        ASSERT_EQ(image.size(), QSize(41, 41));
        EXPECT_EQ(image.pixelColor(20, 20), index == 0 ? PaleYellow : Aquamarine);
        for (QPoint rim : {QPoint(0, 20), QPoint(40, 20), QPoint(20, 0), QPoint(20, 40)})
            EXPECT_EQ(image.pixelColor(rim), Black) << rim.x() << "," << rim.y();
        for (QPoint corner : {QPoint(0, 0), QPoint(40, 0), QPoint(0, 40), QPoint(40, 40)})
            EXPECT_EQ(image.pixelColor(corner).alpha(), 0);
    }
}

TEST_F(DrawObjectsTest, EmptyGraphIsAWhiteCanvasOfTheCanvasSize) {
    const QImage image = Render(QSize(123, 45));
    ASSERT_EQ(image.size(), QSize(123, 45));
    for (int y = 0; y < 45; ++y)
        for (int x = 0; x < 123; ++x)
            ASSERT_EQ(At(image, x, y), White) << x << "," << y;
    EXPECT_TRUE(Render(QSize(0, 0)).isNull());
}

TEST_F(DrawObjectsTest, NodesShowTheirFillAndLabelAndLaterOnesCoverEarlier) {
    graph.AddNode(10, 10);
    graph.AddNode(100, 10);
    graph.AddNode(120, 10);
    view.SelectedNode = 2;
    const QImage image = Render();
    EXPECT_EQ(At(image, 15, 30), PaleYellow);
    EXPECT_EQ(At(image, 104, 30), Aquamarine);
    EXPECT_EQ(At(image, 125, 20), PaleYellow); // node 3 over the selected node 2
    EXPECT_EQ(At(image, 10, 30), Black);       // outline
    EXPECT_EQ(At(image, 10, 10), White);       // transparent corner over the background
    // The label "0" is drawn in the middle of the circle.
    int dark = 0;
    for (int y = 24; y < 38; ++y)
        for (int x = 24; x < 38; ++x)
            dark += At(image, x, y).lightness() < 128;
    EXPECT_GT(dark, 5);
}

TEST_F(DrawObjectsTest, LinkColourFollowsSelectionFlagAndWorking) {
    HorizontalLink(LinkKind::Simple);
    EXPECT_EQ(At(Render(), 50, 120), Black);
    EXPECT_EQ(At(Render(), 40, 120), Black); // the line ends on the rim, under the node's outline

    graph.Link(1).Flag = true;
    EXPECT_EQ(At(Render(), 50, 120), Red);

    view.SelectedLink = 1; // the selection wins over the flag while idle
    EXPECT_EQ(At(Render(), 50, 120), Blue);
    view.Working = true;
    EXPECT_EQ(At(Render(), 50, 120), Red);
    graph.Link(1).Flag = false;
    EXPECT_EQ(At(Render(), 50, 120), Black);
}

TEST_F(DrawObjectsTest, ArrowheadsSitAtTheEndsOfTheirKind) {
    // Inside the head at the To end (tip 199,120) and at the From end (tip 41,120), off the line.
    const QPoint toHead(193, 118), fromHead(47, 118);

    HorizontalLink(LinkKind::Simple);
    QImage image = Render();
    EXPECT_EQ(At(image, toHead.x(), toHead.y()), White);
    EXPECT_EQ(At(image, fromHead.x(), fromHead.y()), White);

    graph.Link(1).LinkType = LinkKind::Unidirectional;
    graph.Link(1).Flag = true;
    image = Render();
    EXPECT_EQ(At(image, toHead.x(), toHead.y()), Red); // filled in the link's colour
    EXPECT_EQ(At(image, 189, 115), Red);               // a base corner
    EXPECT_EQ(At(image, fromHead.x(), fromHead.y()), White);

    graph.Link(1).LinkType = LinkKind::Bidirectional;
    graph.Link(1).Flag = false;
    image = Render();
    EXPECT_EQ(At(image, toHead.x(), toHead.y()), Black);
    EXPECT_EQ(At(image, fromHead.x(), fromHead.y()), Black);
    EXPECT_EQ(At(image, 50, 122), Black);
}

TEST_F(DrawObjectsTest, LinkTextSitsInAWhiteBoxAtTheMiddle) {
    HorizontalLink(LinkKind::Simple);
    graph.Link(1).Weight = 12.0f;
    graph.Link(1).Flag = true;
    const QImage image = Render();
    const QString text = modHelper::LinkText(graph.Link(1).Probability, 12.0f);
    EXPECT_EQ(text, " P: 0 W: 12 ");
    const int width = QFontMetrics(Canvas::MakeLinkFont()).horizontalAdvance(text);
    ASSERT_GT(width, 20);
    // The leading blank of the text covers the red line with white.
    const int textLeft = 120 - width / 2;
    EXPECT_EQ(At(image, textLeft + 1, 120), White);
    EXPECT_EQ(At(image, 120 + width / 2 - 1, 120), White);
    EXPECT_EQ(At(image, textLeft - 3, 120), Red);
    // The text itself is black, whatever the link's colour.
    int dark = 0, red = 0;
    for (int y = 110; y < 131; ++y)
        for (int x = textLeft; x < 120 + width / 2; ++x) {
            const QColor c = At(image, x, y);
            dark += c.red() < 100 && c.green() < 100;
            red += c == Red;
        }
    EXPECT_GT(dark, 10);
    EXPECT_EQ(red, 0);
}

TEST_F(DrawObjectsTest, VerticalLinkEndsOnBothRims) {
    graph.AddNode(100, 0);
    graph.AddNode(100, 200);
    graph.AddLink(1, 2, LinkKind::Unidirectional);
    const QImage image = Render();
    // Centres (120, 20) and (120, 220): the link runs from y = 41 to the tip at y = 199.
    EXPECT_EQ(At(image, 120, 45), Black);
    EXPECT_EQ(At(image, 120, 199), Black);
    EXPECT_EQ(At(image, 124, 197), White); // the head narrows to its tip
    EXPECT_EQ(At(image, 122, 194), Black); // inside the head pointing down
    EXPECT_EQ(At(image, 117, 191), Black);
    EXPECT_EQ(At(image, 122, 46), White); // no head at the upper end
}

bool AnyNonWhite(const QImage& image, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != White)
                return true;
    return false;
}

TEST_F(DrawObjectsTest, ElementsFarOutsideAreClippedNotBroken) {
    graph.AddNode(100, 100);
    graph.AddNode(2000000000, 100);
    graph.AddNode(-2147483647, -2147483647);
    graph.AddLink(1, 2, LinkKind::Bidirectional);
    graph.AddLink(3, 1, LinkKind::Unidirectional);
    graph.Link(1).Flag = true;
    const QImage image = Render();
    EXPECT_EQ(At(image, 15 + 150, 120), Red); // the horizontal link runs off the right edge
    EXPECT_EQ(At(image, 399, 120), Red);
    EXPECT_EQ(At(image, 115, 130), PaleYellow);
}

TEST_F(DrawObjectsTest, ElementsOutsideTheCanvasStillDrawWhatReachesIn) {
    // A node left of the canvas whose long label runs into it.
    graph.AddNode(-100, 50);
    graph.Node(1).SetLabel(std::string(31, 'W'));
    // A link whose ends both lie far outside, crossing the whole canvas on the row y = 220.
    graph.AddNode(-5000, 200);
    graph.AddNode(5000, 200);
    graph.AddLink(2, 3, LinkKind::Simple);
    graph.AddNode(3000, 3000); // far away: draws nothing here
    const QImage image = Render();
    EXPECT_TRUE(AnyNonWhite(image, QRect(0, 55, 30, 30)));
    EXPECT_EQ(At(image, 150, 220), Black); // clear of the link text in the middle
    EXPECT_EQ(At(image, 390, 220), Black);
    EXPECT_FALSE(AnyNonWhite(image, QRect(0, 0, 400, 40)));
}

} // namespace
