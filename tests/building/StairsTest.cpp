// Stairs: the geometry of straight flights, turning sections and flight ends, and the figures made
// of it.

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/StairsSettings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Geometry {
    int result = 0;
    std::array<CDbPoint, 4> outline4;
    std::array<CDbPoint, 6> outline6;
    CDbPointArray treadStarts, treadEnds, turnStarts, turnEnds;
    CDbPoint pivot;
};

Geometry compute(const StairsSettings& s, CDbPointArray width, CDbPoint click, double wall = 50)
{
    CPlotInfo plot;
    plot.PlotWallWide = wall;
    Geometry g;
    g.result = CKovUnit::ComputeStairsGeometry(plot, width, click, s, g.outline4, g.outline6, g.treadStarts,
                                               g.treadEnds, g.turnStarts, g.turnEnds, g.pivot);
    return g;
}

StairsSettings straight(int steps, int byDepth = 1, double depth = 150, int cores = 2)
{
    StairsSettings s;
    s.kaidan_mode = StairsSettings::STRAIGHT;
    s.kaidan_dansuu = steps;
    s.kaidan_tyokumode = byDepth;
    s.kaidan_dan1 = depth;
    s.kaidan_kabesin = cores;
    return s;
}

TEST(Stairs, StraightFlights)
{
    // Five steps over a 1000 mm run to the right of a vertical width: six treads 200 apart.
    const Geometry five = compute(straight(5), {{0, 0}, {0, 900}}, {1000, 450});
    ASSERT_EQ(five.result, 1);
    ASSERT_EQ(five.treadStarts.size(), 6u);
    for (std::size_t j = 0; j < 6; ++j) {
        EXPECT_EQ(five.treadStarts[j], CDbPoint(200.0 * double(j), 0));
        EXPECT_EQ(five.treadEnds[j], CDbPoint(200.0 * double(j), 900));
    }
    EXPECT_EQ(five.outline4, (std::array<CDbPoint, 4>{CDbPoint{0, 900}, {0, 0}, {1000, 0}, {1000, 900}}));

    // A tread depth of 150: six treads from 0 to 750 and an outline 900 long.
    const Geometry depth = compute(straight(5, 2, 150), {{0, 0}, {0, 900}}, {1000, 450});
    ASSERT_EQ(depth.treadStarts.size(), 6u);
    EXPECT_EQ(depth.treadStarts.back(), CDbPoint(750, 0));
    EXPECT_EQ(depth.outline4[2], CDbPoint(900, 0));

    // Up from a horizontal width; the second click's y is not used.
    const Geometry up = compute(straight(2), {{0, 0}, {1000, 3}}, {500, -600});
    ASSERT_EQ(up.result, 1);
    EXPECT_EQ(up.treadStarts[1], CDbPoint(1000, -300));
    EXPECT_EQ(up.treadEnds[1], CDbPoint(0, -300));
    EXPECT_EQ(up.outline4, (std::array<CDbPoint, 4>{CDbPoint{0, -600}, {0, 0}, {1000, 0}, {1000, -600}}));

    // Wall cores: the width shrinks by the half wall thickness at both ends.
    const Geometry cores = compute(straight(5, 1, 150, 1), {{0, 0}, {0, 1000}}, {-1000, 500});
    EXPECT_EQ(cores.treadStarts[0], CDbPoint(0, 50));
    EXPECT_EQ(cores.treadEnds[0], CDbPoint(0, 950));
    EXPECT_EQ(cores.outline4[0], CDbPoint(-1000, 950));
}

TEST(Stairs, FlightsThatAreRefused)
{
    struct Case {
        const char* name;
        StairsSettings s;
        CDbPointArray width;
        CDbPoint click;
    };
    const Case cases[] = {
        {"a click on the width line: no run", straight(5), {{0, 0}, {0, 900}}, {0, 450}},
        {"no steps", straight(0), {{0, 0}, {0, 900}}, {1000, 450}},
        {"negative steps", straight(-3), {{0, 0}, {0, 900}}, {1000, 450}},
        {"a tread of no depth", straight(5, 2, 0), {{0, 0}, {0, 900}}, {1000, 450}},
        {"a negative tread", straight(5, 2, -150), {{0, 0}, {0, 900}}, {1000, 450}},
        {"a tread so small the flight would be endless", straight(5, 2, 1e-6), {{0, 0}, {0, 900}}, {1000, 450}},
        {"wall cores closer than the walls leave room for", straight(5, 1, 150, 1), {{0, 0}, {0, 80}}, {1000, 40}},
        {"both width clicks on one spot", straight(5), {{0, 0}, {0, 0}}, {1000, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(compute(c.s, c.width, c.click).result, 0) << c.name;
}

TEST(Stairs, TurningSectionsAndFlightEnds)
{
    StairsSettings s;
    s.kaidan_mode = StairsSettings::TURNING;
    s.kaidan_kabesin = 1;
    s.kaidan_magarisuu = 2;
    // Cores 1000 apart: the width 900, the run shortened by the half wall thickness.
    const Geometry notched = compute(s, {{0, 0}, {0, 1000}}, {1000, 100});
    ASSERT_EQ(notched.result, 1);
    const std::array<CDbPoint, 6> want{CDbPoint{0, 950}, {0, 50}, {50, 50}, {50, 0}, {950, 0}, {950, 950}};
    EXPECT_EQ(notched.outline6, want);
    EXPECT_EQ(notched.pivot, CDbPoint(0, 0));
    ASSERT_EQ(notched.turnStarts.size(), 1u);
    EXPECT_EQ(notched.turnEnds[0], CDbPoint(950, 950));
    // The winder leaves the notch where it crosses the notch's sides.
    EXPECT_EQ(notched.turnStarts[0], CDbPoint(50, 50));

    s.kaidan_magarisikaku = 1;
    s.kaidan_magarisuu = 3;
    const Geometry square = compute(s, {{0, 0}, {0, 1000}}, {1000, 100});
    EXPECT_EQ(square.pivot, CDbPoint(50, 50));
    ASSERT_EQ(square.turnStarts.size(), 2u);
    EXPECT_EQ(square.turnStarts[0], CDbPoint(50, 50));
    EXPECT_EQ(square.turnEnds[0], CDbPoint(475, 950));
    EXPECT_EQ(square.turnEnds[1], CDbPoint(950, 500));
    s.kaidan_magarisuu = 1;
    EXPECT_TRUE(compute(s, {{0, 0}, {0, 1000}}, {1000, 100}).turnStarts.empty());

    StairsSettings end;
    end.kaidan_mode = StairsSettings::END_OF_FLIGHT;
    end.kaidan_kabesin = 2;
    const Geometry e = compute(end, {{0, 0}, {0, 1200}}, {600, 300});
    ASSERT_EQ(e.result, 1);
    const std::array<CDbPoint, 6> zigzag{CDbPoint{0, 0}, {600, 0}, {800, 600}, {700, 600}, {900, 1200}, {0, 1200}};
    EXPECT_EQ(e.outline6, zigzag);
    ASSERT_EQ(e.turnStarts.size(), 6u);
    EXPECT_EQ(e.turnStarts[0], CDbPoint(600, 0));
    EXPECT_EQ(e.turnEnds[0], CDbPoint(0, 0));
}

TEST(Stairs, FiguresAndTheDirectionArrow)
{
    CKovUnit unit;
    CPlotInfo plot;
    plot.m_Layer.m_nCurrentGroup = 2;
    SelectionRecord sel;
    StairsSettings s = straight(5);
    s.kaidan_nakacolor = 0x00CCFF;
    ASSERT_TRUE(unit.CreateStairs(sel, plot, {{0, 0}, {0, 900}}, {1000, 450}, s, 0));
    ASSERT_EQ(sel.m_Groups.size(), 1u);
    const CKovGroup& g = *std::as_const(unit).FindGroup(sel.m_Groups[0]);
    ASSERT_EQ(g.MGrpLineID.size(), 7u);
    const CKovLine& fill = *std::as_const(unit).FindLine(g.MGrpLineID[0]);
    EXPECT_EQ(fill.MLineType, CKovLine::POLYGON);
    EXPECT_EQ(fill.MLineNakaColor, 0x00CCFFu);
    EXPECT_EQ(fill.MLinebNakanuri, 1);
    EXPECT_EQ(fill.MLineLayer1, 2);
    const CKovLine& tread = *std::as_const(unit).FindLine(g.MGrpLineID[1]);
    EXPECT_EQ(tread.MLinePnt, (CDbPointArray{{0, 900}, {0, 0}}));

    // Without the fill and by tread depth: lines only, none at the far end.
    CKovUnit lines;
    s = straight(5, 2, 150);
    s.kaidan_nakanuri = 0;
    ASSERT_TRUE(lines.CreateStairs(sel, plot, {{0, 0}, {0, 900}}, {1000, 450}, s, 0));
    EXPECT_EQ(lines.m_Lines.size(), 6u);
    for (const auto& f : lines.m_Lines) EXPECT_LT(f->MLinePnt[0].x, 900);

    // The geometry refused: nothing, and false for the tool to keep its points.
    CKovUnit none;
    EXPECT_FALSE(none.CreateStairs(sel, plot, {{0, 0}, {0, 900}}, {0, 450}, straight(5), 0));
    EXPECT_TRUE(none.m_Lines.empty());

    CKovUnit arrow;
    StairsSettings a;
    a.kaidan_mode = StairsSettings::DIRECTION_ARROW;
    EXPECT_TRUE(arrow.CreateStairs(sel, plot, {{0, 0}, {500, 0}}, {500, 0}, a, 0));
    EXPECT_TRUE(arrow.m_Lines.empty());
    ASSERT_TRUE(arrow.CreateStairs(sel, plot, {{0, 0}, {500, 0}, {500, 500}}, {500, 500}, a, 1));
    ASSERT_EQ(sel.m_Lines.size(), 1u);
    const CKovLine& chain = *std::as_const(arrow).FindLine(sel.m_Lines[0]);
    EXPECT_EQ(chain.MLineType, CKovLine::CONTINUOUS);
    EXPECT_EQ(chain.MLineTanten, 2);
    EXPECT_EQ(chain.MLineYaWide, 3);
    EXPECT_EQ(chain.MLineGrpID, 0);
}

} // namespace
