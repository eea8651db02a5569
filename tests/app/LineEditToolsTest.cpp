// The line editing tools driven click by click through the view's tool machine: trim and extend,
// corner, chamfer, divide, cut, partial cut, erase, join, parallel line, two lines, equally divided
// lines and envelope, with their prompts, messages, dialogs and undo steps.

#include "ToolHarness.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "tools/LineEditTexts.h"
#include "tools/ToolTexts.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using kov::test::ToolHarness;
using kov::tools::ToolHost;
using kov::tools::ToolPanel;
namespace tt = kov::tools;

// 1:1 on the sheet (about 4.7 pixels per millimetre) and nothing snapped: clicks land within a
// quarter millimetre of where they are aimed.
struct EditHarness : ToolHarness {
    EditHarness()
    {
        rig.doc->m_PlotInfo.m_Layer.SetAllScales(1);
        rig.doc->m_Grid.kyutyaku = 0;
        rig.doc->m_PlotInfo.PlotLinePita = 0;
        rig.doc->m_PlotInfo.PlotWallPita = 0;
    }
    int line(CDbPoint a, CDbPoint b) { return rig.addLine(a.x, a.y, b.x, b.y); }
    const CKovLine* figure(int id) const { return unit().FindLine(id); }
    int figures() const { return unit().m_Lines.GetSize(); }
    bool startTool(int tool)
    {
        const bool started = start(tool);
        // The start switches the snaps a tool wants; these tests aim without them.
        rig.doc->m_Grid.kyutyaku = 0;
        rig.doc->m_PlotInfo.PlotLinePita = 0;
        return started;
    }
};

double dist(const CDbPoint& a, const CDbPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

TEST(LineEditTools, EveryToolStartsReadyWithItsPromptAndPanel)
{
    struct Case {
        int tool;
        std::string_view prompt;
        std::optional<ToolPanel> panel;
    };
    const Case cases[] = {
        {18, "切断したい線の上をクリック", {}},
        {19, "線上の切断開始点をクリック", {}},
        {20, "ｸﾘｯｸした線を削除（ｸﾞﾙｰﾌﾟの要素は不可）", {}},
        {21, "基準線上をクリック", {}},
        {22, "基準線上をクリック", ToolPanel::DoubleLine},
        {32, "基準線(または円、円弧)上をクリック", {}},
        {33, "分割一点目をクリック", {}},
        {34, "一点目をクリック", {}},
        {35, "コーナー処理する線上をクリック", {}},
        {36, "面取りする二つの線上をクリック", ToolPanel::Chamfer},
        {64, "分割する直線（円、円弧）をクリック", {}},
        {67, "結合する直線の上をクリック", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        EditHarness h;
        if (c.tool == 21)
            h.host.parallelAnswers.push_back(40.0);
        ASSERT_TRUE(h.startTool(c.tool));
        EXPECT_EQ(h.m.ToolMode(), c.tool);
        EXPECT_EQ(h.host.prompt, c.prompt);
        if (c.panel) {
            ASSERT_EQ(h.host.panels.size(), 1u);
            EXPECT_EQ(h.host.panels[0].first, *c.panel);
        }
        // A click on empty paper never says the tool is not ready.
        h.click({-120, -120});
        EXPECT_EQ(h.host.prompt.find("まだ使えません"), std::string::npos) << h.host.prompt;
    }
}

TEST(LineEditTools, TrimAndExtendAgainstOneReferenceUndoneInOneStep)
{
    EditHarness h;
    h.line({50, -80}, {50, 80});
    const int shortOne = h.line({-80, 0}, {20, 0});
    const int crossing = h.line({-80, 30}, {90, 30});
    ASSERT_TRUE(h.startTool(32));
    const std::size_t depth = h.undoDepth();
    h.click({50, -60});
    EXPECT_EQ(h.host.prompt, tt::kPromptTrimTarget);
    h.click({-40, 0});
    EXPECT_EQ(h.figure(shortOne)->MLinePnt, (CDbPointArray{{-80, 0}, {50, 0}}));
    // Clicked beyond the reference: the part beyond stays.
    h.click({70, 30});
    EXPECT_EQ(h.figure(crossing)->MLinePnt, (CDbPointArray{{50, 30}, {90, 30}}));
    EXPECT_EQ(h.host.prompt, tt::kPromptTrimTarget);
    EXPECT_EQ(h.undoDepth(), depth + 1);
    h.m.OnUndo();
    EXPECT_EQ(h.figure(shortOne)->MLinePnt, (CDbPointArray{{-80, 0}, {20, 0}}));
    EXPECT_EQ(h.figure(crossing)->MLinePnt, (CDbPointArray{{-80, 30}, {90, 30}}));

    // No reference under the click.
    EditHarness none;
    none.startTool(32);
    none.click({0, 0});
    EXPECT_EQ(none.host.messages, std::vector<std::string>{std::string(tt::kReferencePickFailed)});
}

TEST(LineEditTools, CornerAndChamfer)
{
    EditHarness h;
    const int a = h.line({-80, 0}, {30, 0});
    const int b = h.line({50, -80}, {50, -20});
    ASSERT_TRUE(h.startTool(35));
    h.click({-40, 0});
    EXPECT_EQ(h.host.prompt, tt::kPromptCornerSecond);
    h.click({50, -50});
    EXPECT_EQ(h.figure(a)->MLinePnt, (CDbPointArray{{-80, 0}, {50, 0}}));
    EXPECT_EQ(h.figure(b)->MLinePnt, (CDbPointArray{{50, -80}, {50, 0}}));
    EXPECT_EQ(h.host.prompt, tt::kPromptCornerFirst);
    EXPECT_TRUE(h.m.m_ToolPoints.empty());

    // The chamfer takes the panel's sizes: a face of 30 at a right angle cuts 21.21 along each line.
    EditHarness c;
    const int x = c.line({0, 0}, {100, 0});
    const int y = c.line({0, 0}, {0, 100});
    ASSERT_TRUE(c.startTool(36));
    c.m.m_ChamferSizes = {30, 20, 10, 15};
    c.click({60, 0});
    EXPECT_EQ(c.host.prompt, tt::kPromptChamferSecond);
    // A miss keeps the first line picked.
    c.click({60, 60});
    EXPECT_EQ(c.host.messages, std::vector<std::string>{std::string(tt::kTargetPickFailed)});
    c.click({0, 60});
    EXPECT_NEAR(dist(c.figure(x)->MLinePnt[0], {0, 0}), 21.21, 0.01);
    EXPECT_NEAR(dist(c.figure(y)->MLinePnt[0], {0, 0}), 21.21, 0.01);
    EXPECT_EQ(c.figures(), 3);
    EXPECT_TRUE(c.sel().IsEmpty());
    EXPECT_EQ(c.host.prompt, tt::kPromptChamferFirst);
    // The fillet mode of the panel rounds the next corner.
    const int u = c.line({0, -100}, {100, -100});
    const int v = c.line({0, -100}, {0, -200});
    c.m.m_nChamferMode = 2;
    c.click({60, -100});
    c.click({0, -160});
    EXPECT_EQ(c.figure(u)->MLinePnt[0], CDbPoint(20, -100));
    EXPECT_EQ(c.figure(v)->MLinePnt[0], CDbPoint(0, -120));
    EXPECT_EQ(c.unit().m_Lines[c.figures() - 1]->MLineType, CKovLine::ARC);
}

TEST(LineEditTools, DivideByCountAndByLength)
{
    EditHarness h;
    h.line({-90, 0}, {90, 0});
    const int second = h.line({-90, 40}, {90, 40});
    ASSERT_TRUE(h.startTool(64));
    h.host.divisionAnswers.push_back(ToolHost::DivisionAnswer{0, 3, 0});
    h.click({0, 0});
    EXPECT_EQ(h.sel().m_Lines.size(), 3u);
    EXPECT_EQ(h.figures(), 4);
    EXPECT_EQ(h.host.prompt, tt::kPromptDividePick);
    EXPECT_TRUE(h.m.m_ToolPoints.empty());

    h.host.divisionAnswers.push_back(ToolHost::DivisionAnswer{1, 0, 50});
    h.click({0, 40});
    EXPECT_EQ(h.host.prompt, tt::kPromptDivideStart);
    h.click({-85, 40});
    EXPECT_EQ(h.figure(second), nullptr);
    ASSERT_EQ(h.sel().m_Lines.size(), 4u);
    const CKovLine& first = *h.figure(h.sel().m_Lines[0]);
    EXPECT_EQ(first.MLinePnt, (CDbPointArray{{-90, 40}, {-40, 40}}));
    EXPECT_EQ(h.figure(h.sel().m_Lines[3])->MLinePnt, (CDbPointArray{{60, 40}, {90, 40}}));
    EXPECT_EQ(h.host.prompt, tt::kPromptDividePick);

    // A cancelled dialog leaves the figure and nothing selected; a miss says so.
    const int kept = h.line({-90, -40}, {90, -40});
    h.host.divisionAnswers.push_back(std::nullopt);
    h.click({0, -40});
    EXPECT_NE(h.figure(kept), nullptr);
    EXPECT_TRUE(h.sel().IsEmpty());
    h.click({0, -80});
    EXPECT_EQ(h.host.messages.back(), tt::kDividePickFailed);
}

TEST(LineEditTools, CutPartialCutEraseAndJoin)
{
    EditHarness h;
    h.line({-80, 0}, {80, 0});
    h.line({0, -80}, {0, 80});
    ASSERT_TRUE(h.startTool(18));
    const std::size_t depth = h.undoDepth();
    h.click({0, 0});
    EXPECT_EQ(h.figures(), 4);
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    EXPECT_EQ(h.undoDepth(), depth + 1);
    h.m.OnUndo();
    EXPECT_EQ(h.figures(), 2);

    EditHarness p;
    const int l = p.line({-80, 50}, {80, 50});
    ASSERT_TRUE(p.startTool(19));
    p.click({-20, 50});
    EXPECT_EQ(p.host.prompt, tt::kPromptPartialEnd);
    p.click({20, 50});
    EXPECT_EQ(p.host.prompt, tt::kPromptPartialStart);
    ASSERT_EQ(p.figures(), 2);
    EXPECT_EQ(p.figure(l)->MLinePnt[0], CDbPoint(-80, 50));
    EXPECT_NEAR(p.figure(l)->MLinePnt[1].x, -20, 0.25);
    EXPECT_NEAR(p.unit().m_Lines[0]->MLinePnt[0].x, 20, 0.25);

    EditHarness e;
    const int gone = e.line({-80, 0}, {80, 0});
    const int kept = e.line({-80, 60}, {80, 60});
    ASSERT_TRUE(e.startTool(20));
    e.click({10, 0});
    EXPECT_EQ(e.figure(gone), nullptr);
    EXPECT_NE(e.figure(kept), nullptr);
    EXPECT_EQ(e.m.ToolMode(), 20);

    EditHarness j;
    j.line({-50, -50}, {50, -50});
    j.line({50, -50}, {50, 50});
    j.line({50, 50}, {-50, 50});
    j.line({-50, 50}, {-50, -50});
    ASSERT_TRUE(j.startTool(67));
    j.click({0, -50});
    ASSERT_EQ(j.figures(), 1);
    EXPECT_EQ(j.unit().m_Lines[0]->MLineType, CKovLine::POLYGON);
    EXPECT_EQ(j.unit().m_Lines[0]->MLinePnt.size(), 5u);
    EXPECT_EQ(j.m.ToolMode(), 0);
    EXPECT_EQ(j.host.prompt, tt::kSelectMode);
    EXPECT_EQ(j.sel().m_Lines.size(), 1u);
    // A lone line: the tool says why and stays.
    EditHarness lone;
    lone.line({-50, 0}, {50, 0});
    lone.startTool(67);
    lone.click({0, 0});
    EXPECT_EQ(lone.host.messages, std::vector<std::string>{std::string(tt::kNothingToJoin)});
    EXPECT_EQ(lone.m.ToolMode(), 67);
}

TEST(LineEditTools, ParallelTwoLinesAndEquallyDividedLines)
{
    EditHarness h;
    h.line({-80, 0}, {80, 0});
    h.host.parallelAnswers.push_back(25.0);
    ASSERT_TRUE(h.startTool(21));
    EXPECT_EQ(h.rig.profile.GetProfileString("KOV_T_UTILITY", "tool_hukusen", ""), "25.00000");
    h.click({0, 0});
    EXPECT_EQ(h.host.prompt, tt::kPromptParallelSide);
    h.click({0, 10});
    ASSERT_EQ(h.figures(), 2);
    EXPECT_EQ(h.unit().m_Lines[1]->MLinePnt, (CDbPointArray{{-80, 25}, {80, 25}}));
    EXPECT_EQ(h.host.prompt, tt::kPromptReferenceLine);
    // Cancel keeps the tool that was there.
    h.host.parallelAnswers.push_back(std::nullopt);
    EXPECT_FALSE(h.startTool(21));

    EditHarness t;
    t.line({-80, 0}, {80, 0});
    ASSERT_TRUE(t.startTool(22));
    t.m.m_dOffsetLeft = 10;
    t.m.m_dOffsetRight = 20;
    t.click({0, 0});
    t.click({-50, 3});
    EXPECT_EQ(t.m.m_ToolPoints.back().y, 0); // the start lies on the reference
    t.click({50, -3});
    ASSERT_EQ(t.figures(), 3);
    EXPECT_EQ(t.unit().m_Lines[1]->MLinePnt[0].y, -10);
    EXPECT_EQ(t.unit().m_Lines[2]->MLinePnt[0].y, 20);
    EXPECT_NEAR(t.unit().m_Lines[1]->MLinePnt[0].x, -50, 0.25);
    EXPECT_NEAR(t.unit().m_Lines[2]->MLinePnt[1].x, 50, 0.25);

    EditHarness d;
    ASSERT_TRUE(d.startTool(33));
    d.host.divisionCountAnswers.push_back(4);
    d.click({-60, 0});
    EXPECT_EQ(d.host.prompt, tt::kPromptDivisionSecond);
    d.click({60, 0});
    EXPECT_EQ(d.rig.profile.GetProfileInt("KOV_T_UTILITY", "tool_bunkatu", 0), 4);
    d.click({0, -20});
    d.click({0, 20});
    ASSERT_EQ(d.figures(), 3);
    for (int i = 0; i < 3; ++i) {
        const CKovLine& l = *d.unit().m_Lines[i];
        EXPECT_EQ(l.MLinePnt[0].x, l.MLinePnt[1].x);
        EXPECT_NEAR(l.MLinePnt[0].y, -20, 0.25);
        EXPECT_NEAR(l.MLinePnt[1].y, 20, 0.25);
    }
    EXPECT_NEAR(d.unit().m_Lines[1]->MLinePnt[0].x, 0, 0.25);
    EXPECT_EQ(d.sel().m_Lines.size(), 3u);
    EXPECT_EQ(d.host.prompt, tt::kPromptDivisionFirst);
}

TEST(LineEditTools, EnvelopeOpensAJunctionInOneUndoStep)
{
    EditHarness h;
    for (double c : {-10.0, 10.0}) {
        h.line({-80, c}, {80, c});
        h.line({c, -80}, {c, 80});
    }
    ASSERT_TRUE(h.startTool(34));
    const std::size_t depth = h.undoDepth();
    h.click({-40, -40});
    EXPECT_EQ(h.host.prompt, tt::kPromptSecondPoint);
    // A second corner on the first one's vertical makes no range.
    h.click({-40, 30});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    h.click({40, 40});
    EXPECT_EQ(h.figures(), 8);
    EXPECT_EQ(h.host.prompt, tt::kPromptFirstPoint);
    EXPECT_EQ(h.undoDepth(), depth + 1);
    h.m.OnUndo();
    EXPECT_EQ(h.figures(), 4);
}

} // namespace
