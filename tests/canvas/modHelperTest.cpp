#include "modHelper.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

using modHelper::Point;

TEST(Nearest, RoundsHalvesToEven) {
    EXPECT_EQ(modHelper::Nearest(2.5), 2);
    EXPECT_EQ(modHelper::Nearest(3.5), 4);
    EXPECT_EQ(modHelper::Nearest(-2.5), -2);
    EXPECT_EQ(modHelper::Nearest(-2.6), -3);
    EXPECT_EQ(modHelper::Nearest(16.8), 17);
}

TEST(GetAngle, HandlesVerticalAndDegenerateDirections) {
    EXPECT_DOUBLE_EQ(modHelper::GetAngle(1, 1), std::atan(1.0));
    EXPECT_DOUBLE_EQ(modHelper::GetAngle(5, -5), -std::atan(1.0)); // never beyond +-pi/2
    EXPECT_EQ(modHelper::GetAngle(7, 0), 3.14159265358979 / 2);
    EXPECT_EQ(modHelper::GetAngle(-7, 0), -3.14159265358979 / 2);
    EXPECT_EQ(modHelper::GetAngle(0, 0), 0.0);
}

struct ShortenCase {
    Point p1, p2, want1, want2;
};

TEST(ShortenLine, PutsBothEndsOnTheRims) {
    const ShortenCase cases[] = {
        {{0, 0}, {100, 0}, {21, 0}, {79, 0}},   // rightwards
        {{100, 0}, {0, 0}, {79, 0}, {21, 0}},   // leftwards
        {{0, 0}, {0, 100}, {0, 21}, {0, 79}},   // straight down: angle pi/2
        {{0, 100}, {0, 0}, {0, 79}, {0, 21}},   // straight up: angle -pi/2
        {{0, 0}, {30, 40}, {13, 17}, {17, 23}}, // 3-4-5: 12.6, 16.8 from each end
        {{30, 40}, {0, 0}, {17, 23}, {13, 17}},
        {{50, 50}, {50, 50}, {71, 50}, {71, 50}}, // one position: a point on the right rim
        {{-2000000000, 0}, {2000000000, 0}, {-1999999979, 0}, {1999999979, 0}},
    };
    for (const ShortenCase& c : cases) {
        Point p1 = c.p1, p2 = c.p2;
        modHelper::ShortenLine(p1, p2, 21, 21);
        EXPECT_EQ(p1, c.want1) << c.p1.x << "," << c.p1.y << " -> " << c.p2.x << "," << c.p2.y;
        EXPECT_EQ(p2, c.want2) << c.p1.x << "," << c.p1.y << " -> " << c.p2.x << "," << c.p2.y;
    }
}

TEST(ShortenLine, UsesEachRadiusAtItsOwnEnd) {
    Point p1{0, 0}, p2{100, 0};
    modHelper::ShortenLine(p1, p2, 5, 30);
    EXPECT_EQ(p1, (Point{5, 0}));
    EXPECT_EQ(p2, (Point{70, 0}));
}

TEST(ArrowHead, PointsAtItsEndAndFloorsTheOffsets) {
    const struct {
        Point p1, p2;
        bool atStart;
        Point tip, base1, base2;
    } cases[] = {
        {{0, 0}, {100, 0}, false, {100, 0}, {90, -5}, {90, 5}},
        {{0, 0}, {100, 0}, true, {0, 0}, {10, 5}, {10, -5}},
        {{100, 0}, {0, 0}, false, {0, 0}, {10, 5}, {10, -5}}, // leftwards: points left
        {{0, 0}, {0, 100}, false, {0, 100}, {5, 90}, {-5, 90}},
        // At 45 degrees the offsets are -3.54, -10.61, -10.61 and 3.54: floor, not truncation.
        {{0, 0}, {100, 100}, false, {100, 100}, {96, 89}, {89, 97}},
        {{0, 0}, {100, 100}, true, {0, 0}, {4, 11}, {11, 3}},
    };
    for (const auto& c : cases) {
        const auto head = modHelper::ArrowHead(c.p1, c.p2, c.atStart);
        const std::string where =
            std::to_string(c.p2.x) + "," + std::to_string(c.p2.y) + (c.atStart ? " start" : " end");
        EXPECT_EQ(head[0], c.tip) << where;
        EXPECT_EQ(head[1], c.base1) << where;
        EXPECT_EQ(head[2], c.base2) << where;
        EXPECT_EQ(head[3], c.tip) << where;
    }
}

TEST(FormatLinkNumber, RoundsToThreeDecimalsInTheGeneralFormat) {
    const float max = std::numeric_limits<float>::max();
    const std::pair<float, const char*> cases[] = {
        {0.3333333f, "0.333"},
        {12.0f, "12"},
        {2.5f, "2.5"},
        {0.0004f, "0"},
        {-0.0004f, "0"},
        {0.1f, "0.1"},
        {0.0625f, "0.062"},
        {0.1875f, "0.188"},
        {2.0625f, "2.062"},
        {-1.5f, "-1.5"},
        {33.33333f, "33.333"},
        {0.6666667f, "0.667"},
        {1234567.0f, "1234567"},
        {12345678.0f, "1.234568E+07"},
        {1234.5678f, "1234.568"},
        {max, "3.402823E+38"},
        {-max, "-3.402823E+38"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(modHelper::FormatLinkNumber(value, '.'), QString(text)) << value;
}

TEST(LinkText, ProbabilityFirstInTheLocaleDecimalSeparator) {
    EXPECT_EQ(modHelper::LinkText(0.3333333f, 12.0f, '.'), " P: 0.333 W: 12 ");
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(modHelper::LinkText(0.3333333f, 2.5f), " P: 0,333 W: 2,5 ");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(modHelper::LinkText(0.3333333f, 2.5f), " P: 0.333 W: 2.5 ");
    QLocale::setDefault(saved);
}

} // namespace
