// Double lines along a path and the closed band between them.

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Rig {
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord sel;
    Rig()
    {
        plot.PlotColor[0] = 0x123456;
        plot.PlotLineWide[0] = 3;
        plot.PlotLineType[0] = 2;
        plot.PlotNakaColor[0] = 0x00FF00; // not taken: lines take the stroke set only
        plot.PlotColor[2] = 0x0000FF;
        plot.PlotNakaNuri[2] = 1;
        plot.PlotAlpha[2] = 60;
        plot.m_Layer.m_nCurrentGroup = 1;
        plot.m_Layer.m_nCurrentLayer = 4;
    }
    const CKovLine& figure(std::size_t i) const { return *unit.FindLine(sel.m_Lines.at(i)); }
};

void expectPoints(const CDbPointArray& got, const CDbPointArray& want, const char* name)
{
    ASSERT_EQ(got.size(), want.size()) << name;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].x, want[i].x, 1e-9) << name << " point " << i;
        EXPECT_NEAR(got[i].y, want[i].y, 1e-9) << name << " point " << i;
    }
}

TEST(DoubleLines, SidesAsSeenAlongThePath)
{
    struct Case {
        const char* name;
        CDbPointArray path;
        double dl, dr;
        CDbPointArray left, right;
    };
    const double h = 10 / std::sqrt(2.0) * std::sqrt(2.0);
    const Case cases[] = {
        {"to the right: left is up the screen", {{0, 0}, {1000, 0}}, 50, 30, {{0, -50}, {1000, -50}}, {{0, 30}, {1000, 30}}},
        {"to the left", {{1000, 0}, {0, 0}}, 50, 30, {{1000, 50}, {0, 50}}, {{1000, -30}, {0, -30}}},
        {"up the screen", {{0, 1000}, {0, 0}}, 50, 30, {{-50, 1000}, {-50, 0}}, {{30, 1000}, {30, 0}}},
        {"down the screen", {{0, 0}, {0, 1000}}, 50, 30, {{50, 0}, {50, 1000}}, {{-30, 0}, {-30, 1000}}},
        {"down and right: left is up and right", {{0, 0}, {100, 100}}, h * std::sqrt(2.0), 0,
         {{10, -10}, {110, 90}}, {{0, 0}, {100, 100}}},
        {"an L: each side's corner is mitred", {{0, 0}, {1000, 0}, {1000, 1000}}, 50, 50,
         {{0, -50}, {1050, -50}, {1050, 1000}}, {{0, 50}, {950, 50}, {950, 1000}}},
        {"three points on a line: parallel neighbours keep their ends", {{0, 0}, {500, 0}, {1000, 0}}, 50, 50,
         {{0, -50}, {500, -50}, {1000, -50}}, {{0, 50}, {500, 50}, {1000, 50}}},
        {"no distance on the left puts that line on the path", {{0, 0}, {1000, 0}}, 0, 40,
         {{0, 0}, {1000, 0}}, {{0, 40}, {1000, 40}}},
    };
    for (const Case& c : cases) {
        Rig r;
        r.unit.AddDoubleLine(r.sel, r.plot, c.path, c.path.back(), c.dl, c.dr, 0);
        ASSERT_EQ(r.sel.m_Lines.size(), 2u) << c.name;
        expectPoints(r.figure(0).MLinePnt, c.left, c.name);
        expectPoints(r.figure(1).MLinePnt, c.right, c.name);
        const int kind = c.left.size() == 2 ? CKovLine::LINE : CKovLine::CONTINUOUS;
        EXPECT_EQ(r.figure(0).MLineType, kind) << c.name;
        EXPECT_EQ(r.figure(0).MLineColor, 0x123456u) << c.name;
        EXPECT_EQ(r.figure(0).MLineWide, 3) << c.name;
        EXPECT_EQ(r.figure(0).MLineLineT, 2) << c.name;
        EXPECT_EQ(r.figure(0).MLineNakaColor, CKovLine{}.MLineNakaColor) << c.name;
        EXPECT_EQ(r.figure(0).MLineLayer1, 1) << c.name;
        EXPECT_EQ(r.figure(0).MLineLayer2, 4) << c.name;
    }
}

TEST(DoubleLines, SeparateSegmentsTheBandAndEmptyPaths)
{
    {
        Rig r;
        r.unit.AddDoubleLine(r.sel, r.plot, {{0, 0}, {1000, 0}, {1000, 1000}}, {1000, 1000}, 50, 50, 1);
        ASSERT_EQ(r.sel.m_Lines.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(r.figure(i).MLineType, CKovLine::LINE);
        expectPoints(r.figure(1).MLinePnt, {{1050, -50}, {1050, 1000}}, "second left segment");
    }
    {
        Rig r;
        const int id = r.unit.AddDoubleLinePolygon(r.sel, r.plot, {{0, 0}, {1000, 0}}, {1000, 0}, 50, 30);
        ASSERT_GT(id, 0);
        EXPECT_EQ(r.sel.m_Lines, std::vector<int>{id});
        const CKovLine& band = r.figure(0);
        EXPECT_EQ(band.MLineType, CKovLine::POLYGON);
        expectPoints(band.MLinePnt, {{0, -50}, {1000, -50}, {1000, 30}, {0, 30}, {0, -50}}, "band");
        EXPECT_EQ(band.MLineColor, 0x0000FFu);
        EXPECT_EQ(band.MLinebNakanuri, 1);
        EXPECT_EQ(band.MLineAlpha, 60);
    }
    {
        Rig r;
        r.sel.AddLineId(42);
        r.unit.AddDoubleLine(r.sel, r.plot, {{5, 5}, {5, 5}}, {5, 5}, 50, 50, 0);
        EXPECT_TRUE(r.sel.IsEmpty());
        EXPECT_EQ(r.unit.AddDoubleLinePolygon(r.sel, r.plot, {{5, 5}}, {5, 5}, 50, 50), -1);
        EXPECT_TRUE(r.unit.m_Lines.empty());
    }
}

} // namespace
