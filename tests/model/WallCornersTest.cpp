#include "model/KovUnit.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <ostream>
#include <string>

namespace {

using Corners = std::array<CDbPoint, 4>;

struct CornerCase {
    std::string name;
    CDbPoint a, b;
    double t;
    Corners expected;
    CDbPoint orderedA, orderedB;   // the core as the rule leaves it
};

void PrintTo(const CornerCase& c, std::ostream* os) { *os << c.name; }

class WallRule : public ::testing::TestWithParam<CornerCase> {};

TEST_P(WallRule, CornersInOutlineOrder)
{
    const CornerCase& c = GetParam();
    Corners out{};
    CDbPoint a = c.a;
    CDbPoint b = c.b;
    ASSERT_EQ(CKovUnit::ComputeWallCorners(out, a, b, c.t, 1), 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(out[i].x, c.expected[i].x) << "corner " << i;
        EXPECT_DOUBLE_EQ(out[i].y, c.expected[i].y) << "corner " << i;
    }
    EXPECT_EQ(a, c.orderedA);
    EXPECT_EQ(b, c.orderedB);
}

Corners corners(CDbPoint c0, CDbPoint c1, CDbPoint c2, CDbPoint c3) { return {c0, c1, c2, c3}; }

INSTANTIATE_TEST_SUITE_P(
    Table, WallRule,
    ::testing::Values(
        CornerCase{"Horizontal", {0, 0}, {1000, 0}, 50,
                   corners({-50, -50}, {-50, 50}, {1050, 50}, {1050, -50}), {0, 0}, {1000, 0}},
        CornerCase{"HorizontalReversed", {1000, 0}, {0, 0}, 50,
                   corners({-50, -50}, {-50, 50}, {1050, 50}, {1050, -50}), {0, 0}, {1000, 0}},
        CornerCase{"VerticalReversed", {0, 1000}, {0, 0}, 50,
                   corners({-50, -50}, {-50, 1050}, {50, 1050}, {50, -50}), {0, 0}, {0, 1000}},
        CornerCase{"Diagonal", {0, 0}, {1000, 1000}, 50,
                   corners({964, 1035}, {-35, 35}, {35, -35}, {1035, 964}), {0, 0}, {1000, 1000}},
        CornerCase{"DiagonalReversed", {1000, 1000}, {0, 0}, 50,
                   corners({964, 1035}, {-35, 35}, {35, -35}, {1035, 964}), {0, 0}, {1000, 1000}},
        CornerCase{"Shallow", {0, 0}, {3000, 1000}, 50,
                   corners({2984, 1047}, {-15, 47}, {15, -47}, {3015, 952}), {0, 0}, {3000, 1000}},
        // Negative coordinates are cut toward zero: −35.36 gives −35, not −36.
        CornerCase{"NegativeQuadrant", {-1000, -1000}, {0, 0}, 50,
                   corners({-35, 35}, {-1035, -964}, {-964, -1035}, {35, -35}), {-1000, -1000}, {0, 0}},
        CornerCase{"NearlyHorizontal", {0, 0}, {1000, 0.00005}, 50,
                   corners({-50, -50}, {-50, 50}, {1050, 50}, {1050, -50}), {0, 0}, {1000, 0.00005}},
        CornerCase{"NearlyVertical", {0, 0}, {0.00005, 1000}, 50,
                   corners({-50, -50}, {-50, 1050}, {50, 1050}, {50, -50}), {0, 0}, {0.00005, 1000}},
        // The horizontal rule keeps the y of the point passed first.
        CornerCase{"HorizontalUsesFirstY", {1000, 0.00005}, {0, 0}, 10,
                   corners({-10, 0.00005 - 10}, {-10, 0.00005 + 10}, {1010, 0.00005 + 10}, {1010, 0.00005 - 10}),
                   {0, 0}, {1000, 0.00005}}),
    [](const auto& info) { return info.param.name; });

TEST(WallRule, EqualEndsAreRefusedAndNothingWritten)
{
    Corners out{CDbPoint(7, 7), CDbPoint(7, 7), CDbPoint(7, 7), CDbPoint(7, 7)};
    CDbPoint a(5, 5), b(5, 5);
    EXPECT_EQ(CKovUnit::ComputeWallCorners(out, a, b, 50, 1), 0);
    for (const CDbPoint& p : out)
        EXPECT_EQ(p, CDbPoint(7, 7));
}

TEST(ColumnRule, SquareAboutTheFirstPoint)
{
    Corners out{};
    CDbPoint a(100, 100), b(400, 100);
    EXPECT_EQ(CKovUnit::ComputeWallCorners(out, a, b, 50, 0), 1);
    EXPECT_EQ(out, corners({50, 50}, {50, 150}, {150, 150}, {150, 50}));
    EXPECT_EQ(a, CDbPoint(100, 100));
    EXPECT_EQ(b, CDbPoint(400, 100));
    CDbPoint same = a;
    EXPECT_EQ(CKovUnit::ComputeWallCorners(out, a, same, 50, 0), 1);
}

class WallServices : public ::testing::Test {
protected:
    CKovWall* add(int id, CDbPoint a, CDbPoint b, int shape = CKovWall::WALL)
    {
        auto w = std::make_unique<CKovWall>();
        w->MWallID = id;
        w->MWallPntA = a;
        w->MWallPntB = b;
        w->MWall_Type = shape;
        CKovWall* raw = w.get();
        unit.m_Walls.Add(std::move(w));
        return raw;
    }
    CKovUnit unit;
};

TEST_F(WallServices, UpdateCornersFollowsThicknessAndReordersCore)
{
    CKovWall* wall = add(2, {1000, 0}, {0, 0});
    wall->MWallWide1 = 75;
    wall->MWallWide2 = 10; // the corner rule reads thickness 1 only
    unit.UpdateWallCorners(2);
    EXPECT_EQ(wall->MWallPntKado, corners({-75, -75}, {-75, 75}, {1075, 75}, {1075, -75}));
    EXPECT_EQ(wall->MWallPntA, CDbPoint(0, 0));
    EXPECT_EQ(wall->MWallPntB, CDbPoint(1000, 0));
}

TEST_F(WallServices, UpdateCornersLeavesColumnsAndUnknownWalls)
{
    CKovWall* column = add(3, {100, 100}, {100, 100}, CKovWall::COLUMN);
    column->MWallPntKado = corners({50, 75}, {50, 125}, {150, 125}, {150, 75});
    const Corners before = column->MWallPntKado;
    unit.UpdateWallCorners(3);
    unit.UpdateWallCorners(42);
    EXPECT_EQ(column->MWallPntKado, before);
}

TEST_F(WallServices, ResetOutlineGivesTheFourSides)
{
    CKovWall* wall = add(2, {0, 0}, {1000, 0});
    unit.UpdateWallCorners(2);
    wall->MWallarPntA = {{1, 1}, {2, 2}, {3, 3}};
    wall->MWallarPntB = {{4, 4}, {5, 5}, {6, 6}};
    EXPECT_EQ(unit.ResetWallOutline(2), 1);
    // The corners of the core (0, 0)-(1000, 0) at the default half thickness 50, side by side.
    EXPECT_EQ(wall->MWallarPntA, (CDbPointArray{{-50, -50}, {-50, 50}, {1050, 50}, {1050, -50}}));
    EXPECT_EQ(wall->MWallarPntB, (CDbPointArray{{-50, 50}, {1050, 50}, {1050, -50}, {-50, -50}}));
}

TEST_F(WallServices, ResetOutlineLeavesColumnsAndReportsUnknownWalls)
{
    CKovWall* column = add(3, {0, 0}, {0, 0}, CKovWall::COLUMN);
    column->MWallarPntA = {{1, 1}};
    column->MWallarPntB = {{2, 2}};
    EXPECT_EQ(unit.ResetWallOutline(3), 0);
    EXPECT_EQ(column->MWallarPntA, (CDbPointArray{{1, 1}}));
    EXPECT_EQ(unit.ResetWallOutline(9), -1);
}

} // namespace
