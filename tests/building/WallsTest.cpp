#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace {

using Corners = std::array<CDbPoint, 4>;

void expectCorners(const Corners& actual, const Corners& expected)
{
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(actual[k].x, expected[k].x) << "corner " << k;
        EXPECT_EQ(actual[k].y, expected[k].y) << "corner " << k;
    }
}

TEST(Walls, AddWallStoresOrderedCoreAndCorners)
{
    struct Case {
        const char* name;
        CDbPoint a, b;
        CDbPoint storedA, storedB;
        Corners corners;
    } cases[] = {
        {"horizontal", {0, 0}, {1000, 0}, {0, 0}, {1000, 0}, {{{-50, -50}, {-50, 50}, {1050, 50}, {1050, -50}}}},
        {"horizontal right to left", {1000, 0}, {0, 0}, {0, 0}, {1000, 0},
         {{{-50, -50}, {-50, 50}, {1050, 50}, {1050, -50}}}},
        {"vertical bottom to top", {0, 1000}, {0, 0}, {0, 0}, {0, 1000},
         {{{-50, -50}, {-50, 1050}, {50, 1050}, {50, -50}}}},
        {"oblique 45 degrees", {0, 0}, {1000, 1000}, {0, 0}, {1000, 1000},
         {{{964, 1035}, {-35, 35}, {35, -35}, {1035, 964}}}},
        {"oblique shallow", {0, 0}, {3000, 1000}, {0, 0}, {3000, 1000},
         {{{2984, 1047}, {-15, 47}, {15, -47}, {3015, 952}}}},
        {"oblique given from its right end", {1000, 1000}, {0, 0}, {0, 0}, {1000, 1000},
         {{{964, 1035}, {-35, 35}, {35, -35}, {1035, 964}}}},
        {"oblique in negative coordinates, cut toward zero", {0, 0}, {-1000, -1000}, {-1000, -1000}, {0, 0},
         {{{-35, 35}, {-1035, -964}, {-964, -1035}, {35, -35}}}},
        {"almost level counts as level", {0, 0}, {1000, 0.00005}, {0, 0}, {1000, 0.00005},
         {{{-50, -50}, {-50, 50}, {1050, 50}, {1050, -50}}}},
        {"almost plumb counts as plumb", {0, 0}, {0.00005, 1000}, {0, 0}, {0.00005, 1000},
         {{{-50, -50}, {-50, 1050}, {50, 1050}, {50, -50}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        CPlotInfo plot;
        plot.walltype = 1;
        plot.m_Layer.m_nCurrentGroup = 3;
        plot.m_Layer.m_nCurrentLayer = 7;
        const int id = unit.AddWall(c.a, c.b, 50.0, plot);
        ASSERT_GT(id, 0);
        const CKovWall& w = *unit.FindWall(id);
        EXPECT_EQ(unit.m_Walls.GetSize(), 1);
        EXPECT_EQ(w.MWallPntA, c.storedA);
        EXPECT_EQ(w.MWallPntB, c.storedB);
        expectCorners(w.MWallPntKado, c.corners);
        EXPECT_EQ(w.MWallWide1, 50.0);
        EXPECT_EQ(w.MWallWide2, 50.0);
        EXPECT_EQ(w.MWallType, 1);
        EXPECT_EQ(w.MWall_Type, CKovWall::WALL);
        EXPECT_EQ(w.MHasiraType, 0);
        EXPECT_EQ(w.MWallGrpID, 0);
        EXPECT_EQ(w.MWallLayer1, 3);
        EXPECT_EQ(w.MWallLayer2, 7);
        EXPECT_TRUE(w.MWallarPntA.empty());
        EXPECT_TRUE(w.MWallarPntB.empty());
    }
}

TEST(Walls, AddWallRefusesEqualEnds)
{
    CKovUnit unit;
    CPlotInfo plot;
    EXPECT_EQ(unit.AddWall({10, 10}, {10, 10}, 50.0, plot), -1);
    EXPECT_EQ(unit.m_Walls.GetSize(), 0);
}

TEST(Walls, NewWallsTakeFreshIdentifiersInDrawingOrder)
{
    CKovUnit unit;
    CPlotInfo plot;
    const int first = unit.AddWall({0, 0}, {100, 0}, 50.0, plot);
    const int second = unit.AddWall({0, 100}, {100, 100}, 50.0, plot);
    EXPECT_NE(first, second);
    EXPECT_EQ(unit.FindWallIndex(first), 0);
    EXPECT_EQ(unit.FindWallIndex(second), 1);
}

TEST(Walls, CornerUpdateFollowsThicknessAndCore)
{
    CKovUnit unit;
    CPlotInfo plot;
    const int id = unit.AddWall({0, 0}, {1000, 0}, 50.0, plot);
    CKovWall& w = *unit.FindWall(id);
    w.MWallWide1 = 75.0;
    unit.UpdateWallCorners(id);
    expectCorners(w.MWallPntKado, {{{-75, -75}, {-75, 75}, {1075, 75}, {1075, -75}}});
    // A core turned end for end is put back in order.
    std::swap(w.MWallPntA, w.MWallPntB);
    unit.UpdateWallCorners(id);
    EXPECT_EQ(w.MWallPntA, CDbPoint(0, 0));
    EXPECT_EQ(w.MWallPntB, CDbPoint(1000, 0));
    expectCorners(w.MWallPntKado, {{{-75, -75}, {-75, 75}, {1075, 75}, {1075, -75}}});
    // An identifier that no wall has changes nothing.
    unit.UpdateWallCorners(id + 1);
    EXPECT_EQ(unit.ResetWallOutline(id + 1), -1);
    EXPECT_EQ(unit.m_Walls.GetSize(), 1);
}

TEST(Walls, AddColumnShapes)
{
    struct Case {
        const char* name;
        int type;
        CDbPoint press, release;
        Corners corners;
    } cases[] = {
        {"square", 0, {100, 100}, {400, 400}, {{{50, 50}, {50, 150}, {150, 150}, {150, 50}}}},
        {"round keeps the square", 2, {100, 100}, {100, 400}, {{{50, 50}, {50, 150}, {150, 150}, {150, 50}}}},
        {"thin, dragged down", 1, {100, 100}, {100, 400}, {{{75, 50}, {75, 150}, {125, 150}, {125, 50}}}},
        {"thin, dragged right", 1, {100, 100}, {400, 100}, {{{50, 75}, {50, 125}, {150, 125}, {150, 75}}}},
        {"thin, clicked", 1, {100, 100}, {100, 100}, {{{50, 75}, {50, 125}, {150, 125}, {150, 75}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        CPlotInfo plot;
        plot.hasiratype = c.type;
        plot.walltype = 1;
        plot.m_Layer.m_nCurrentGroup = 2;
        const int id = unit.AddColumn(c.press, c.release, 50.0, plot);
        ASSERT_GT(id, 0);
        const CKovWall& w = *unit.FindWall(id);
        EXPECT_EQ(w.MWallPntA, c.press);
        EXPECT_EQ(w.MWallPntB, c.press);
        expectCorners(w.MWallPntKado, c.corners);
        EXPECT_EQ(w.MWall_Type, CKovWall::COLUMN);
        EXPECT_EQ(w.MHasiraType, c.type);
        EXPECT_EQ(w.MWallType, 0);
        EXPECT_EQ(w.MWallWide1, 50.0);
        EXPECT_EQ(w.MWallWide2, 50.0);
        EXPECT_EQ(w.MWallLayer1, 2);
        const auto& k = c.corners;
        EXPECT_EQ(w.MWallarPntA, (CDbPointArray{k[0], k[1], k[2], k[3]}));
        EXPECT_EQ(w.MWallarPntB, (CDbPointArray{k[1], k[2], k[3], k[0]}));
    }
}

TEST(Walls, ColumnOutlineSurvivesResetAndCornerUpdate)
{
    CKovUnit unit;
    CPlotInfo plot;
    plot.hasiratype = 1;
    const int id = unit.AddColumn({100, 100}, {100, 400}, 50.0, plot);
    const CKovWall before = *unit.FindWall(id);
    unit.ResetWallOutline(id);
    unit.UpdateWallCorners(id);
    const CKovWall& after = *unit.FindWall(id);
    EXPECT_EQ(after.MWallPntKado, before.MWallPntKado);
    EXPECT_EQ(after.MWallarPntA, before.MWallarPntA);
    EXPECT_EQ(after.MWallarPntB, before.MWallarPntB);
}

} // namespace
