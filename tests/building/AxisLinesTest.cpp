// The axis-line grid: its lines and their pieces, the numbered circles and the dimensions.

#include "model/AxisValueFile.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

// The screen at 96 pixels per inch, every layer group at 1:100.
DeviceTransform screen()
{
    DeviceTransform t;
    t.scaleX.fill(96 / 25.4 / 100);
    t.scaleY.fill(96 / 25.4 / 100);
    t.paperScale = 96 / 25.4;
    return t;
}

struct Grid {
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord sel;
    AxisLineSettings settings;
    void make(std::vector<double> xs, std::vector<double> ys) { unit.CreateGridLines(sel, plot, screen(), 1, 2, xs, ys, settings); }
    std::vector<const CKovLine*> of(int kind) const
    {
        std::vector<const CKovLine*> out;
        for (const auto& f : unit.m_Lines)
            if (f->MLineType == kind) out.push_back(f.get());
        return out;
    }
    // Straight pieces by the x of a vertical line (or the y of a horizontal one).
    std::map<double, int> pieces(bool vertical) const
    {
        std::map<double, int> out;
        for (const CKovLine* f : of(CKovLine::LINE)) {
            const bool v = f->MLinePnt[0].x == f->MLinePnt[1].x;
            if (v == vertical) ++out[vertical ? f->MLinePnt[0].x : f->MLinePnt[0].y];
        }
        return out;
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& t : unit.m_Texts) out.push_back(t->MTextstr);
        return out;
    }
};

TEST(AxisLines, TheWorkedGridWithItsDefaults)
{
    Grid g;
    g.settings.ats_sen_color = 0x0000FF;
    g.make({3640, 3640}, {1820});
    // Three x lines 3640 apart, left to right, each cut into 3 pieces by the 2 y lines; two y
    // lines, bottom to top, each in 4 pieces.
    EXPECT_EQ(g.pieces(true), (std::map<double, int>{{-3640, 3}, {0, 3}, {3640, 3}}));
    EXPECT_EQ(g.pieces(false), (std::map<double, int>{{-910, 4}, {910, 4}}));
    // One circle with its number at the top of every x line and at the left of every y line.
    EXPECT_EQ(g.of(CKovLine::CIRCLE).size(), 5u);
    EXPECT_EQ(g.texts(), (std::vector<std::string>{"X0", "X1", "X2", "Y0", "Y1"}));
    // Y0 lies at the bottom (the larger y), as lines are numbered from the bottom up.
    EXPECT_GT(std::as_const(g.unit).m_Texts[3]->MTextpnt.y, 0);
    std::vector<double> lengths;
    for (const CKovLine* d : g.of(CKovLine::DIMENSION)) lengths.push_back(d->MLineParam[1]);
    EXPECT_EQ(lengths, (std::vector<double>{7280, 3640, 3640, 1820, 1820}));
    for (const auto& f : g.unit.m_Lines) {
        EXPECT_EQ(f->MLineColor, 0x0000FFu);
        EXPECT_EQ(f->MLineLayer1, 1);
        EXPECT_EQ(f->MLineLayer2, 2);
    }
    for (const CKovLine* l : g.of(CKovLine::LINE)) EXPECT_EQ(l->MLineLineT, 3);
    // The selection holds exactly what was made.
    EXPECT_EQ(g.sel.m_Lines.size(), g.unit.m_Lines.size());
    EXPECT_EQ(g.sel.m_Texts.size(), g.unit.m_Texts.size());
    EXPECT_EQ(g.sel.m_nCount, static_cast<int>(g.unit.m_Lines.size() + g.unit.m_Texts.size()));
}

TEST(AxisLines, SymbolSizeFollowsTheScreenAndTheScale)
{
    Grid g;
    g.make({3640}, {});
    // u = 15 x 25.4 x 100 / 96 = 396.875: circles of u / 2, texts of u / 2 over the scale.
    const CKovLine& circle = *g.of(CKovLine::CIRCLE).front();
    EXPECT_NEAR(circle.MLineParam[0], 198.4375, 1e-9);
    EXPECT_EQ(circle.MLinebNakanuri, 1);
    EXPECT_EQ(circle.MLineNakaColor, 0xFFFFFFu);
    const CKovText& label = *std::as_const(g.unit).m_Texts[0];
    EXPECT_NEAR(label.MTextFontMenu.m_size, 1.984375, 1e-9);
    EXPECT_EQ(label.MTextFontMenu.m_toko_align, 1);
    EXPECT_EQ(label.MTextFontMenu.m_tate_align, 1);
    EXPECT_EQ(label.MTextpnt, circle.MLinePnt[0]);
    // The circle touches the line's end: the line overhangs by 2u, the circle sits at 2.5u.
    EXPECT_NEAR(circle.MLinePnt[0].y, -2.5 * 396.875, 1e-9);
}

TEST(AxisLines, EmptyListsDirectionsNumbersAndPlaces)
{
    {
        Grid g;
        g.make({}, {});
        // One line each way through the origin, in two pieces that meet there; overall dimensions of 0.
        EXPECT_EQ(g.pieces(true), (std::map<double, int>{{0, 2}}));
        EXPECT_EQ(g.pieces(false), (std::map<double, int>{{0, 2}}));
        ASSERT_EQ(g.of(CKovLine::DIMENSION).size(), 2u);
        EXPECT_EQ(g.of(CKovLine::DIMENSION)[0]->MLineParam[1], 0);
    }
    {
        Grid g;
        g.settings.ats_houkou_sayu = 1;
        g.settings.ats_bangou_y = 1;
        g.settings.ats_kousa = 0;
        g.settings.ats_sunpouview = 0;
        g.settings.ats_kigou_y_view = 3;
        g.make({1000, 3000}, {});
        // From the right: X1 at the right, and the file's first spacing is the rightmost one.
        EXPECT_EQ(g.texts(), (std::vector<std::string>{"X1", "X2", "X3"}));
        std::vector<double> xs;
        for (const auto& t : g.unit.m_Texts) xs.push_back(t->MTextpnt.x);
        EXPECT_EQ(xs, (std::vector<double>{2000, 1000, -2000}));
        EXPECT_EQ(g.pieces(true), (std::map<double, int>{{-2000, 1}, {1000, 1}, {2000, 1}}));
        EXPECT_TRUE(g.of(CKovLine::DIMENSION).empty());
    }
    {
        Grid g;
        g.settings.ats_kigou_t_view = 2;
        g.settings.ats_kigou_y_view = 1;
        g.make({1000}, {500});
        // Both ends of the x lines, the right end of the y lines.
        EXPECT_EQ(g.texts(), (std::vector<std::string>{"X0", "X1", "X0", "X1", "Y0", "Y1"}));
        EXPECT_GT(std::as_const(g.unit).m_Texts[5]->MTextpnt.x, 0);
    }
}

} // namespace
