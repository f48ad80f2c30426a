#include "DrawObjects.h"

#include "CanvasWidget.h"
#include "DocumentFile.h"
#include "GraphPicture.h"
#include "Scrolling.h"
#include "clsLA.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// The canvas's colours by their letters: W(hite), K (black), R(ed), B(lue), Y(ellow), A(quamarine),
// E (green), V(iolet).
QColor Colour(char letter) {
    const QColor colours[] = {Qt::white,       Qt::black,       Qt::red,     {96, 96, 254},
                              {255, 255, 150}, {150, 255, 225}, {0, 160, 0}, {128, 0, 160}};
    return colours[std::string("WKRBYAEV").find(letter)];
}

// The canvas of a scene, written as "N x y" a node, "T label" its label, "L from to kind" a link,
// "F" flagged, "G weight"; "S node link" the selection, "M node" and "K link" selected together
// besides, "P link" on the preferred path shown, "E source destination" the run's ends badged, "W"
// a run working, "Z zoom".
QImage Scene(const std::string& script) {
    clsGraph graph;
    Canvas::View view;
    std::istringstream in(script);
    int a = 0, b = 0, c = 0;
    std::string text;
    for (char op; in >> op;) {
        if (op == 'N' && in >> a >> b)
            graph.AddNode(a, b);
        else if (op == 'T' && in >> text)
            graph.Node(graph.NodeCount()).SetLabel(text);
        else if (op == 'L' && in >> a >> b >> c)
            graph.AddLink(a, b, c);
        else if (op == 'F')
            graph.Link(graph.LinkCount()).Flag = true;
        else if (op == 'G')
            in >> graph.Link(graph.LinkCount()).Weight;
        else if (op == 'S')
            in >> view.SelectedNode >> view.SelectedLink;
        else if (op == 'M' && in >> a)
            view.SelectedNodes.push_back(a);
        else if (op == 'K' && in >> a)
            view.SelectedLinks.push_back(a);
        else if (op == 'P' && in >> a)
            view.PreferredLinks.push_back(a);
        else if (op == 'E')
            in >> view.SourceNode >> view.DestNode;
        else if (op == 'Z')
            in >> view.Zoom;
        view.Working = view.Working || op == 'W';
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return Canvas::DrawObjects(graph, view, QSize(400, 300), Canvas::MakeNodeFont(),
                               Canvas::MakeLinkFont());
}

// Whether the pixel has the colour; G is any grey between black and white (a smoothed line).
bool Has(QColor c, char colour) {
    if (colour == 'G')
        return c.red() == c.green() && c.green() == c.blue() && c.red() > 0 && c.red() < 255;
    return c == Colour(colour);
}

// How many pixels of the area have the colour; D counts dark ones (of black, antialiased text).
int Count(const QImage& image, QRect area, char colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += colour == 'D' ? c.red() < 100 && c.green() < 100 : Has(c, colour);
        }
    return count;
}

TEST(DrawObjects, Pixels) {
    // Centres on the row y = 120: the link runs from x = 41 to its tip at 199. An arrowhead at
    // the To end covers (193, 118) and (189, 115), one at the From end (47, 118).
    const std::string row = "N 0 100 N 200 100 L 1 2 ";
    const std::pair<std::string, const char*> scenes[] = {
        {"", "0 0 W 399 299 W"},
        {"N 10 10 N 100 10 N 120 10 S 2 -1",
         "15 30 Y 104 30 A 125 20 Y 10 30 K 30 50 K 50 30 K 30 10 K 10 10 W 10 50 W"},
        {"N 10 10 N 100 10 N 120 10 M 1 M 3", "15 30 A 104 30 Y 125 20 A"},
        {row + "0 K 1", "50 120 B"},
        {row + "0 Z 0.25 M 2 S 1 -1", "5 30 A 55 30 A"},
        {row + "0", "50 120 K 40 120 K 193 118 W 47 118 W"}, // on the rims, no heads
        {row + "0 F", "50 120 R"},
        {row + "0 P 1 S -1 1", "50 120 E 50 119 E 50 121 E"}, // wide, over the selection
        {row + "1 P 1 F", "193 118 R 189 115 R"}, // the path being built along the preferred
        {row + "0 P 1 F", "50 120 R 50 119 E 50 121 E"},
        {row + "0 Z 0.25 P 1 K 1", "30 29 E"},
        {"N 10 10 N 100 10 E 1 2", "9 14 V 10 22 W 141 14 V 131 14 V"}, // "S" and "D" badges
        {"N 10 10 N 100 10 E 2 -1", "9 14 W 99 14 V"},
        {row + "0 F S -1 1", "50 120 B"},
        {row + "0 F S -1 1 W", "50 120 R"},
        {row + "0 S -1 1 W", "50 120 K"},
        {row + "1 F", "193 118 R 189 115 R 47 118 W"},
        {row + "2", "193 118 K 47 118 K 50 122 K"},
        {row + "0 Z 0.25", "30 30 G 3 28 Y"}, // far out: lines and squares only
        {"N 100 0 N 100 200 L 1 2 1", "120 45 K 120 199 K 124 197 W 122 194 K 117 191 K 122 46 W"},
        {"N 100 100 N 2000000000 100 N -2147483647 -2147483647 L 1 2 2 F L 3 1 1",
         "165 120 R 399 120 R 115 130 Y"},
    };
    for (const auto& [script, pixels] : scenes) {
        const QImage image = Scene(script);
        std::istringstream expected(pixels);
        int x = 0, y = 0;
        for (char colour; expected >> x >> y >> colour;)
            EXPECT_TRUE(Has(image.pixelColor(x, y), colour)) << script << ": " << x << "," << y;
    }
}

// At 100% lines stay crisp; zoomed in or out they are smoothed.
TEST(DrawObjects, LinesAreSmoothedOnlyWhenZoomed) {
    const std::string diagonal = "N 0 0 N 300 200 L 1 2 0 Z ";
    EXPECT_EQ(Count(Scene(diagonal + "1"), QRect(40, 30, 50, 40), 'G'), 0);
    EXPECT_GT(Count(Scene(diagonal + "2"), QRect(80, 60, 100, 80), 'G'), 10);
    EXPECT_GT(Count(Scene(diagonal + "0.25"), QRect(10, 8, 30, 22), 'G'), 5);
}

TEST(DrawObjects, Texts) {
    const QImage image = Scene("N 0 100 N 200 100 L 1 2 0 F G 12");
    const int half = QFontMetrics(Canvas::MakeLinkFont()).horizontalAdvance(" P: 0 W: 12 ") / 2;
    ASSERT_GT(half, 10);
    EXPECT_EQ(image.pixelColor(121 - half, 120), Qt::white); // the blanks at both ends
    EXPECT_EQ(image.pixelColor(119 + half, 120), Qt::white);
    EXPECT_EQ(image.pixelColor(117 - half, 120), Qt::red);
    const QRect text(120 - half, 110, 2 * half, 21);
    EXPECT_TRUE(Count(image, text, 'D') > 10 && Count(image, text, 'R') == 0);
    EXPECT_GT(Count(image, QRect(4, 104, 33, 33), 'D'), 5); // the label "0"
    // A long label is elided to twice a node's width, centred on its node.
    const QImage elided = Scene("N 150 150 T " + std::string(31, 'W'));
    EXPECT_EQ(Count(elided, QRect(212, 150, 100, 41), 'D') +
                  Count(elided, QRect(50, 150, 78, 41), 'D'),
              0);
    EXPECT_GT(Count(elided, QRect(130, 150, 40, 41), 'D'), 20);
    EXPECT_EQ(Canvas::ShownLabel("Depot-Hill", Canvas::MakeNodeFont()), "Depot-Hill");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(modHelper::LinkText(0.0625f, 2.5f), " P: 0,062 W: 2,5 ");
    EXPECT_EQ(modHelper::LinkText(0.5f, 6.7f, true), " P: 0,5 W: ~6,7 ");
    EXPECT_EQ(modHelper::FormatLinkNumber(12345678.0f, '.'), "1.234568E+07");
}

TEST(DrawObjects, WhatReachesInFromOutside) {
    const QImage image = Scene("N -50 50 T " + std::string(31, 'W') +
                               " N -5000 200 N 5000 200 L 2 3 0 N 3000 3000 N -2000000000 240 "
                               "N 2000000000 240 L 5 6 0");
    EXPECT_LT(Count(image, QRect(0, 55, 30, 30), 'W'), 900);
    EXPECT_EQ(image.pixelColor(150, 220), Qt::black); // clear of the text in the middle
    EXPECT_EQ(image.pixelColor(390, 220), Qt::black);
    EXPECT_EQ(Count(image, QRect(0, 0, 400, 40), 'W'), 400 * 40);
    EXPECT_EQ(Count(image, QRect(0, 260, 400, 1), 'K'), 400);
}

// The arrowheads of the graph's links on the picture that Export makes, each told by how much of
// its axis is black: 8 pixels back from the tip when nothing covers it.
std::vector<int> ArrowheadsShown(const clsGraph& graph) {
    const QRect area = Canvas::GraphBounds(graph).toRect();
    QImage image(area.size(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        Canvas::DrawGraph(painter, graph, {area.left(), area.top()}, area.size(),
                          Canvas::MakeNodeFont(), Canvas::MakeLinkFont(), false);
    }
    std::vector<int> shown;
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        const clsLink& link = graph.Link(j);
        constexpr int c = Canvas::CentreOffset;
        modHelper::Point p1{link.FromNode->Position.x + c - area.left(),
                            link.FromNode->Position.y + c - area.top()};
        modHelper::Point p2{link.ToNode->Position.x + c - area.left(),
                            link.ToNode->Position.y + c - area.top()};
        modHelper::ShortenLine(p1, p2, Canvas::LinkEndRadius, Canvas::LinkEndRadius);
        const double length = std::hypot(double(p2.x - p1.x), double(p2.y - p1.y));
        for (int end = 0; end < (link.LinkType == LinkKind::Bidirectional ? 2 : 1); ++end) {
            const modHelper::Point tip = end ? p1 : p2, back = end ? p2 : p1;
            int black = 0;
            for (int k = 1; k <= 8 && link.LinkType != LinkKind::Simple; ++k) {
                const double t = (k + 0.5) / length;
                black +=
                    image.pixelColor(static_cast<int>(tip.x + (back.x - tip.x) * t),
                                     static_cast<int>(tip.y + (back.y - tip.y) * t)) == Qt::black;
            }
            shown.push_back(link.LinkType == LinkKind::Simple ? 8 : black);
        }
    }
    return shown;
}

// The examples leave room between the arrowheads for the widest texts a link shows (probabilities
// with three decimals). Graphviz's layouts keep the same distances (FormatsLayout).
TEST(DrawObjects, LinkTextsLeaveTheArrowheadsShown) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const char* name : {"network", "one-way-grid", "s-model", "triangle"}) {
        clsLA la;
        LoadGraph(la, std::string(PATHLOOM_EXAMPLES_DIR) + "/" + name + ".plm");
        clsGraph& graph = la.Graph();
        for (int32_t j = 1; j <= graph.LinkCount(); ++j)
            graph.Link(j).Probability = 0.333f;
        const std::vector<int> drawn = ArrowheadsShown(graph);
        EXPECT_EQ(std::count(drawn.begin(), drawn.end(), 8), int(drawn.size())) << name;
    }
}

// Scaled down, the picture is white to its last pixel, and its lines are smoothed.
TEST(DrawObjects, ScaledPngHasCleanEdges) {
    clsGraph graph;
    graph.AddNode(0, 0);
    graph.AddNode(300, 200);
    graph.AddLink(1, 2, 0);
    QImage png;
    ASSERT_TRUE(
        png.loadFromData(Canvas::GraphPicture(graph, Canvas::PictureFormat::Png, 0.75), "PNG"));
    ASSERT_EQ(png.size(), QSize(318, 243)); // 423 x 323 at 100%
    EXPECT_EQ(Count(png, QRect(317, 0, 1, 243), 'W') + Count(png, QRect(0, 242, 318, 1), 'W'),
              243 + 318);
    EXPECT_GT(Count(png, QRect(70, 55, 50, 40), 'G'), 10); // clear of the nodes and the text
}

std::string Text(modHelper::Point p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

// "x1 y1 x2 y2 r1 r2: the ends after"; GetAngle's quarter turns and 3-4-5 rounding among them.
TEST(Geometry, ShortenLinePutsEachEndOnItsRim) {
    std::istringstream cases(
        "0 0 100 0 21 21: 21,0 79,0; 100 0 0 0 21 21: 79,0 21,0; 0 0 0 100 21 21: 0,21 0,79; "
        "0 100 0 0 21 21: 0,79 0,21; 0 0 30 40 21 21: 13,17 17,23; 30 40 0 0 21 21: 17,23 13,17; "
        "50 50 50 50 21 21: 71,50 71,50; 0 0 100 0 5 30: 5,0 70,0; "
        "-2000000000 0 2000000000 0 21 21: -1999999979,0 1999999979,0");
    for (std::string c; std::getline(cases, c, ';');) {
        modHelper::Point p1, p2;
        int16_t r1 = 0, r2 = 0;
        std::istringstream(c) >> p1.x >> p1.y >> p2.x >> p2.y >> r1 >> r2;
        modHelper::ShortenLine(p1, p2, r1, r2);
        EXPECT_EQ(Text(p1) + " " + Text(p2), c.substr(c.find(':') + 2)) << c;
    }
}

TEST(Geometry, PanelScrollBarsAndCursorPoints) {
    const Canvas::PanGeometry pan = Canvas::LayOutPan(QSize(300, 200), 17, 17);
    EXPECT_EQ(pan.Canvas, QRect(0, 0, 283, 183));
    EXPECT_EQ(pan.HScroll, QRect(0, 183, 283, 17));
    EXPECT_EQ(pan.VScroll, QRect(283, 0, 17, 183));
    EXPECT_EQ(Canvas::LayOutPan(QSize(17, 17), 17, 17).Canvas, QRect(0, 0, 0, 0));
    EXPECT_FALSE(Canvas::LayOutPan(QSize(16, 16), 17, 17).Canvas);
    EXPECT_EQ(Canvas::EventPoint(QPointF(-0.5, 2.5001)), QPoint(0, 3));
    EXPECT_EQ(Canvas::GetCursorPoint(QPointF(10.5, 11.5), QPoint(100, 50)), QPoint(110, 62));
    EXPECT_EQ(Canvas::ToViewPoint({110, 60}, {100, 50}), (modHelper::Point{10, 10}));
    QScrollBar bar(Qt::Horizontal);
    Canvas::SetUpScrollBar(bar);
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar.value(), 82);
    bar.setValue(40000);
    EXPECT_EQ(bar.value(), 32767);
}

TEST(Geometry, CanvasShowsItsPictureWhiteBeyondIt) {
    CanvasWidget canvas;
    canvas.resize(150, 100);
    QImage picture(200, 160, QImage::Format_RGB32); // 100 x 80 on a screen of twice the density
    picture.fill(Qt::red);
    picture.setDevicePixelRatio(2);
    canvas.SetImage(picture);
    QImage shown(150, 100, QImage::Format_RGB32);
    shown.fill(Qt::blue);
    canvas.render(&shown);
    EXPECT_EQ(shown.pixelColor(90, 70), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(120, 50), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(50, 90), QColor(Qt::white));
}

} // namespace
