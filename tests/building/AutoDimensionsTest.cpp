// Dimensions laid around the walls, and dimensions turned into a text and lines.

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace kov::test;

namespace {

// A dimension's measured ends, as "x1,y1-x2,y2 code".
std::vector<std::string> dimensions(const CKovUnit& unit)
{
    std::vector<std::string> out;
    for (const auto& f : unit.m_Lines) {
        if (f->MLineType != CKovLine::DIMENSION) continue;
        auto n = [](double v) { return std::to_string(static_cast<long long>(std::llround(v))); };
        const CDbPoint& a = f->MLinePnt[0];
        const CDbPoint& b = f->MLinePnt[1];
        out.push_back(n(a.x) + "," + n(a.y) + "-" + n(b.x) + "," + n(b.y) + " " + n(f->MLineParam[0]));
    }
    return out;
}

TEST(AutoDimensions, ChainsAndOverallDimensionsOnEachSide)
{
    struct Case {
        const char* name;
        std::vector<std::pair<CDbPoint, CDbPoint>> walls;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"no walls: no dimension", {}, {}},
        {"one horizontal wall: both ends lie on the centre line, so below",
         {{{0, 0}, {3640, 0}}},
         {"0,500-3640,500 3", "0,1300-3640,1300 3"}},
        {"an L: the shared corner enters each list once",
         {{{0, 0}, {910, 0}}, {{910, 0}, {910, 1820}}},
         {"0,-500-910,-500 1", "1410,1820-1410,0 4", "0,-1300-910,-1300 1", "2210,1820-2210,0 4"}},
    };
    for (const Case& c : cases) {
        CKovUnit unit;
        CPlotInfo plot;
        int id = 1;
        for (const auto& [a, b] : c.walls) addWall(unit, id++, a, b);
        SelectionRecord sel;
        sel.AddTextId(99); // what the caller left selected stays
        unit.CreateAutoDimensions(800, 500, 0, {0, 0}, {2, 5}, sel, plot);
        EXPECT_EQ(dimensions(unit), c.expected) << c.name;
        EXPECT_EQ(sel.m_Lines.size(), c.expected.size()) << c.name;
        EXPECT_EQ(sel.m_nCount, static_cast<int>(c.expected.size()) + 1) << c.name;
        for (const auto& f : unit.m_Lines) {
            EXPECT_EQ(f->MLineLayer1, 2) << c.name;
            EXPECT_EQ(f->MLineLayer2, 5) << c.name;
        }
    }
}

TEST(AutoDimensions, TheScopeTakesTheWallsOfOneLayer)
{
    CKovUnit unit;
    CPlotInfo plot;
    addWall(unit, 1, {0, 0}, {3640, 0}, 50.0, 0, 0, 0);
    addWall(unit, 2, {0, 5000}, {1820, 5000}, 50.0, 0, 1, 3);
    SelectionRecord sel;
    unit.CreateAutoDimensions(800, 500, 2, {1, 3}, {0, 0}, sel, plot);
    EXPECT_EQ(dimensions(unit), (std::vector<std::string>{"0,5500-1820,5500 3", "0,6300-1820,6300 3"}));
    CKovUnit empty;
    addWall(empty, 1, {0, 0}, {3640, 0});
    SelectionRecord none;
    empty.CreateAutoDimensions(800, 500, 2, {4, 4}, {0, 0}, none, plot);
    EXPECT_TRUE(empty.m_Lines.empty());
    EXPECT_TRUE(none.IsEmpty());
}

// A dimension figure as the dimension tool makes it: [A, B, T], [code, length, d, height].
CKovLine& dimension(CKovUnit& unit, int id, CDbPoint a, CDbPoint b, CDbPoint t, int code, double length, double d)
{
    CKovLine& f = addFigure(unit, id, CKovLine::DIMENSION, {a, b, t}, {double(code), length, d, 3.0}, 0, 1, 2);
    return f;
}

TEST(DimensionsToText, ValueTexts)
{
    struct Case {
        const char* name;
        double length;
        int unitCode, decimals, grouping;
        std::string text;
    };
    const Case cases[] = {
        {"rounded half away from zero, grouped by commas", 1234.5, 0, 0, 1, "1,235"},
        {"judged by the first decimal only", 1234.45, 0, 0, 1, "1,234"},
        {"centimetres with one decimal", 910, 1, 1, 0, "91.0"},
        {"metres with two decimals", 3640, 2, 2, 0, "3.64"},
        {"spaces between the groups", 1234567, 0, 0, 2, "1 234 567"},
        {"three decimals", 12.3456, 0, 3, 0, "12.346"},
    };
    for (const Case& c : cases) {
        CPlotInfo plot;
        plot.PlotSunpoTani = c.unitCode;
        plot.PlotSunpokurai = c.decimals;
        plot.PlotSunpoKugiri = c.grouping;
        EXPECT_EQ(CKovUnit::FormatDimensionValue(c.length, plot), c.text) << c.name;
    }
}

TEST(DimensionsToText, TextAndLinesInPlaceOfTheDimension)
{
    CKovUnit unit;
    CPlotInfo plot;
    plot.PlotSunpoFont = "ＭＳ 明朝";
    plot.PlotSunpoTextHeight = 4;
    plot.PlotSunpoTanten = 3;
    plot.PlotSunpoYawide = 1;
    dimension(unit, 1, {0, 0}, {3640, 0}, {1820, -500}, 1, 3640, 500);
    addFigure(unit, 2, CKovLine::LINE, {{0, 0}, {1, 1}});
    SelectionRecord sel;
    sel.AddLineId(1);
    sel.AddLineId(2);
    sel.AddWallId(5);
    CFontMenu font;
    font.m_gyoukan = 1.5;
    unit.DimensionsToText(sel, plot, font);
    EXPECT_EQ(std::as_const(unit).FindLine(1), nullptr);
    ASSERT_EQ(sel.m_Texts.size(), 1u);
    const CKovText& text = *std::as_const(unit).FindText(sel.m_Texts[0]);
    EXPECT_EQ(text.MTextstr, "3640");
    EXPECT_EQ(text.MTextpnt, CDbPoint(1820, -500));
    EXPECT_EQ(text.MTextLayer1, 1);
    EXPECT_EQ(text.MTextLayer2, 2);
    EXPECT_EQ(text.MTextFontMenu.lfFaceName, "ＭＳ 明朝");
    EXPECT_EQ(text.MTextFontMenu.m_size, 4);
    EXPECT_EQ(text.MTextFontMenu.m_toko_align, 1);
    EXPECT_EQ(text.MTextFontMenu.m_tate_align, 2);
    EXPECT_EQ(text.MTextFontMenu.m_gyoukan, 1.5);
    // Two extension lines and the line between their far ends; the other figure is only deselected.
    ASSERT_EQ(sel.m_Lines.size(), 3u);
    auto line = [&](std::size_t i) { return *std::as_const(unit).FindLine(sel.m_Lines[i]); };
    EXPECT_EQ(line(0).MLinePnt, (CDbPointArray{{0, 0}, {0, -500}}));
    EXPECT_EQ(line(1).MLinePnt, (CDbPointArray{{3640, 0}, {3640, -500}}));
    EXPECT_EQ(line(2).MLinePnt, (CDbPointArray{{0, -500}, {3640, -500}}));
    EXPECT_EQ(line(2).MLineTanten, 3);
    EXPECT_EQ(line(2).MLineYaWide, 1);
    EXPECT_EQ(line(0).MLineTanten, 0);
    EXPECT_NE(std::as_const(unit).FindLine(2), nullptr);
    EXPECT_EQ(sel.m_nCount, 4);
    EXPECT_TRUE(sel.m_Walls.empty());
}

TEST(DimensionsToText, HiddenValuesNoDistanceAndObliqueEscapements)
{
    {
        CKovUnit unit;
        CPlotInfo plot;
        plot.PlotSunpoTextView = 0;
        dimension(unit, 1, {0, 0}, {0, 1000}, {0, 500}, 2, 1000, 0);
        SelectionRecord sel;
        sel.AddLineId(1);
        const int textCounter = unit.MUnitTextID;
        unit.DimensionsToText(sel, plot, CFontMenu{});
        EXPECT_TRUE(unit.m_Texts.empty());
        EXPECT_GT(unit.MUnitTextID, textCounter); // the identifier was taken all the same
        ASSERT_EQ(sel.m_Lines.size(), 1u); // d = 0: no extension lines
        EXPECT_EQ(std::as_const(unit).FindLine(sel.m_Lines[0])->MLinePnt, (CDbPointArray{{0, 0}, {0, 1000}}));
    }
    struct Case {
        double degrees;
        int escapement;
    };
    for (const Case& c : {Case{45, 450}, Case{100, -800}, Case{200, 200}, Case{300, 3000}}) {
        CKovUnit unit;
        CPlotInfo plot;
        // A hair past the angle, so that the tenths are not cut just below it.
        const double r = (c.degrees + 1e-7) * kKovPi / 180;
        // Counter-clockwise on the screen: y grows downwards.
        const CDbPoint b{1000 * std::cos(r), -1000 * std::sin(r)};
        dimension(unit, 1, {0, 0}, b, {0, 0}, 5, 1000, 100);
        SelectionRecord sel;
        sel.AddLineId(1);
        unit.DimensionsToText(sel, plot, CFontMenu{});
        ASSERT_EQ(sel.m_Texts.size(), 1u) << c.degrees;
        EXPECT_EQ(std::as_const(unit).FindText(sel.m_Texts[0])->MTextFontMenu.lfEscapement, c.escapement)
            << c.degrees;
        // Both extension ends lie 100 from the measured line.
        const CKovLine& ext = *std::as_const(unit).FindLine(sel.m_Lines[0]);
        EXPECT_NEAR(PointDistance(ext.MLinePnt[0].x, ext.MLinePnt[0].y, ext.MLinePnt[1].x, ext.MLinePnt[1].y), 100,
                    1e-6)
            << c.degrees;
    }
}

} // namespace
