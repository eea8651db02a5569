// Speech balloons and rounded rectangles: their outlines and the group they become.

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// The box (100,100)-(300,200): BL (100,200), BR (300,200), TR (300,100), TL (100,100).
const CDbPoint kC1{100, 100};
const CDbPoint kC2{300, 200};

CDbPointArray rectangle(int direction, int position, CDbPoint tip)
{
    return CKovUnit::BalloonOutline(kC1, kC2, tip, 4.0, 24, direction, position, 0);
}

TEST(Balloons, RectangleTails)
{
    struct Case {
        const char* name;
        int direction, position;
        CDbPoint tip;
        CDbPointArray points;
    };
    const Case cases[] = {
        {"down, in the middle: a base of a quarter of the side", 2, 1, {200, 300},
         {{100, 200}, {175, 200}, {200, 300}, {225, 200}, {300, 200}, {300, 100}, {100, 100}, {100, 200}}},
        {"down at the start repeats the start corner", 2, 0, {120, 300},
         {{100, 200}, {100, 200}, {120, 300}, {150, 200}, {300, 200}, {300, 100}, {100, 100}, {100, 200}}},
        {"down at the end repeats the end corner", 2, 2, {280, 300},
         {{100, 200}, {250, 200}, {280, 300}, {300, 200}, {300, 200}, {300, 100}, {100, 100}, {100, 200}}},
        {"up at the start begins at the right", 0, 0, {280, 0},
         {{100, 200}, {300, 200}, {300, 100}, {300, 100}, {280, 0}, {250, 100}, {100, 100}, {100, 200}}},
        {"left in the middle", 1, 1, {0, 150},
         {{100, 200}, {300, 200}, {300, 100}, {100, 100}, {100, 137.5}, {0, 150}, {100, 162.5}, {100, 200}}},
        {"right in the middle", 3, 1, {400, 150},
         {{100, 200}, {300, 200}, {300, 162.5}, {400, 150}, {300, 137.5}, {300, 100}, {100, 100}, {100, 200}}},
        {"no direction: no tail", 7, 1, {0, 0}, {{100, 200}, {300, 200}, {300, 100}, {100, 100}, {100, 200}}},
    };
    for (const Case& c : cases) EXPECT_EQ(rectangle(c.direction, c.position, c.tip), c.points) << c.name;
}

TEST(Balloons, EllipseCornersAndTail)
{
    auto count = [](double half) {
        return CKovUnit::BalloonOutline({0, 0}, {2 * half, 2 * half}, {half, 10 * half}, 4.0, 24, 7, 1, 2).size();
    };
    // Half sizes 20: N = 125.66 -> 36 steps of 10 degrees; 10: N = 62.83 -> 62 steps of 5 degrees.
    EXPECT_EQ(count(20), 36u + 1u);
    EXPECT_EQ(count(10), 62u + 1u);
    const CDbPointArray ten = CKovUnit::BalloonOutline({0, 0}, {20, 20}, {0, 0}, 4.0, 24, 7, 1, 2);
    EXPECT_NEAR(ten[61].x, 10 + 10 * std::cos(305 * kKovPi / 180), 1e-9); // the last step back is longer
    // Down: the tip replaces the points of the band round the bottom's middle.
    const CDbPoint tip{20, 80};
    const CDbPointArray down = CKovUnit::BalloonOutline({0, 0}, {40, 40}, tip, 4.0, 24, 2, 1, 2);
    const auto at = std::find(down.begin(), down.end(), tip);
    ASSERT_NE(at, down.end());
    for (const CDbPoint& p : down) {
        if (!(p == tip)) {
            EXPECT_FALSE(p.y > 20 && std::fabs(p.x - 20) < 2.5) << p.x << "," << p.y;
        }
    }
    // Right: the outline starts and ends at the tip.
    const CDbPointArray right = CKovUnit::BalloonOutline({0, 0}, {40, 40}, {90, 20}, 4.0, 24, 3, 1, 2);
    EXPECT_EQ(right.front(), CDbPoint(90, 20));
    EXPECT_EQ(right.back(), CDbPoint(90, 20));
}

TEST(Balloons, RoundedCornersAndNothingForAZeroBox)
{
    // Box 200 x 100: rho = 50 / 4 = 12.5; 23 inner points per corner, the tail on the bottom.
    const CDbPointArray r = CKovUnit::BalloonOutline(kC1, kC2, {200, 300}, 4.0, 24, 2, 1, 1);
    ASSERT_EQ(r.size(), 4u * 23u + 3u);
    // The tail follows the BL arc: its base a quarter of the straight part (300 - 25 = 175 long).
    EXPECT_NEAR(r[23].x, 112.5 + 175.0 / 2 - 175.0 / 8, 1e-9);
    EXPECT_EQ(r[24], CDbPoint(200, 300));
    EXPECT_TRUE(CKovUnit::BalloonOutline({5, 5}, {5, 50}, {0, 0}, 4.0, 24, 2, 1, 1).empty());
}

TEST(Balloons, BalloonAndRoundedRectangleBecomeTheirOwnSelectedGroups)
{
    CKovUnit unit;
    CPlotInfo plot;
    plot.PlotAlpha[1] = 40;
    plot.PlotNakaNuri[1] = 1;
    plot.PlotNakaColor[1] = 0x00FFFF;
    plot.PlotPattern[1] = 3;
    SelectionRecord sel;
    const DeviceTransform t = kov::test::pixelTransform(1, 4);
    unit.CreateBalloon(sel, plot, {kC1, kC2}, {200, 300}, t, 24, 2, 1, 0);
    ASSERT_EQ(sel.m_Groups.size(), 1u);
    EXPECT_EQ(sel.m_nCount, 1);
    const CKovGroup& g = *std::as_const(unit).FindGroup(sel.m_Groups[0]);
    ASSERT_EQ(g.MGrpLineID.size(), 1u);
    const CKovLine& balloon = *std::as_const(unit).FindLine(g.MGrpLineID[0]);
    EXPECT_EQ(balloon.MLineType, CKovLine::POLYGON);
    EXPECT_EQ(balloon.MLineAlpha, 100); // a balloon stays opaque
    EXPECT_EQ(balloon.MLinePattern, 3);
    EXPECT_EQ(balloon.MLinebNakanuri, 1);
    EXPECT_EQ(balloon.MLinePnt.size(), 8u);

    unit.CreateRoundedRect(sel, plot, {{0, 0}, {400, 300}}, {60, 20}, 24);
    ASSERT_EQ(sel.m_Groups.size(), 1u);
    const CKovLine& rounded =
        *std::as_const(unit).FindLine(std::as_const(unit).FindGroup(sel.m_Groups[0])->MGrpLineID[0]);
    EXPECT_EQ(rounded.MLinePnt.size(), 92u);
    EXPECT_EQ(rounded.MLineAlpha, 40);
    EXPECT_EQ(rounded.MLinePattern, 0);
}

TEST(Balloons, RoundedRectangleRadius)
{
    struct Case {
        const char* name;
        CDbPoint radiusPoint;
        std::size_t points;
    };
    const Case cases[] = {
        {"the nearest corner decides the radius", {60, 20}, 92},
        {"on a corner: no radius, nothing", {0, 0}, 0},
        {"exactly half the smaller side from the nearest corner: nothing", {150, 0}, 0},
        {"beyond half the smaller side: nothing", {200, 150}, 0},
    };
    for (const Case& c : cases) {
        const CDbPointArray pts = CKovUnit::RoundedRectOutline({0, 0}, {400, 300}, c.radiusPoint, 24);
        EXPECT_EQ(pts.size(), c.points) << c.name;
        if (pts.empty()) continue;
        // Each straight side runs from the last arc point of one corner to the first of the next:
        // the BL arc ends just short of the bottom side.
        const double rho = PointDistance(60, 20, 0, 0);
        EXPECT_NEAR(pts[0].x, 0, rho) << c.name;
        EXPECT_GT(pts[0].y, 300 - rho) << c.name;
    }
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord sel;
    sel.AddLineId(5);
    unit.CreateRoundedRect(sel, plot, {{10, 10}, {10, 10}}, {0, 0}, 24);
    EXPECT_TRUE(sel.IsEmpty());
    EXPECT_TRUE(unit.m_Lines.empty());
}

} // namespace
