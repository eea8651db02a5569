// The roof, outer-wall line and balcony tools driven by clicks through the tool machine, with
// their dialogs answered, and the settings they keep for the next use.

#include "ToolHarness.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/RituInfo.h"
#include "platform/Profile.h"
#include "tools/ToolMachine.h"

#include <gtest/gtest.h>

using namespace kov::test;

namespace {

struct ElevationToolRig : ToolHarness {
    ElevationToolRig()
    {
        rig.doc->m_PlotInfo.PlotWallPita = 0;
        rig.doc->m_PlotInfo.PlotLinePita = 0;
    }
    const CKovGroup* lastGroup() const
    {
        return unit().m_Groups.empty() ? nullptr : unit().m_Groups[unit().m_Groups.GetSize() - 1];
    }
    const CKovLine& member(const CKovGroup& g, std::size_t k) const { return *unit().FindLine(g.MGrpLineID[k]); }
    CRituInfo stored()
    {
        CRituInfo r;
        r.LoadProfile(rig.profile);
        return r;
    }
};

} // namespace

TEST(ElevationTools, RoofTakesFourClicksAndTheRoofDialog)
{
    ElevationToolRig h;
    ASSERT_TRUE(h.start(52));
    EXPECT_EQ(h.host.prompt, "3点指定で屋根作成");
    h.click({910, 910});
    EXPECT_EQ(h.host.prompt, "ニ点目をｸﾘｯｸ");
    // Straight above the first: the rectangle would be flat.
    h.click({910, 4550});
    EXPECT_EQ(h.host.prompt, "ニ点目をｸﾘｯｸ");
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    h.click({10010, 8190});
    EXPECT_EQ(h.host.prompt, "軒線方向をｸﾘｯｸ");
    h.click({5460, 4550}); // the middle: ridge along y
    EXPECT_EQ(h.host.prompt, "軒線位置を決定");
    CRituInfo answer;
    answer.yanetype = 1;
    answer.nokide = 455;
    h.host.roofAnswers.push_back(answer);
    const std::size_t depth = h.undoDepth();
    h.click({11830, 4550}); // right of the rectangle: a lean-to high on the right
    ASSERT_EQ(h.host.rituAsked.size(), 1u);
    EXPECT_EQ(h.host.rituAsked[0].yanetype, 0); // opened on the stored settings
    const CKovGroup* g = h.lastGroup();
    ASSERT_TRUE(g);
    EXPECT_EQ(g->MGrpRoom, CKovGroup::ROOF_OUTLINE);
    EXPECT_EQ(h.member(*g, 0).MLineParam, (std::vector<double>{4, 1, 455, 450, 10, 4.5}));
    EXPECT_EQ(h.member(*g, 1).MLinePnt, (CDbPointArray{{10010, 910}, {10010, 8190}}));
    EXPECT_EQ(h.host.prompt, "3点指定で屋根作成");
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    EXPECT_EQ(h.stored().yanetype, 1);
    EXPECT_EQ(h.stored().nokide, 455);
    EXPECT_EQ(h.m.ToolMode(), 52); // the tool stays

    // One undo takes back this roof.
    EXPECT_GT(h.undoDepth(), depth);
    h.m.OnUndo();
    EXPECT_TRUE(h.unit().m_Groups.empty());

    // Cancel drops the points and makes nothing.
    for (CDbPoint p : {CDbPoint{910, 910}, CDbPoint{4550, 4550}, CDbPoint{2730, 2730}}) h.click(p);
    h.host.roofAnswers.push_back(std::nullopt);
    h.click({2730, 2730});
    EXPECT_TRUE(h.unit().m_Groups.empty());
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
}

TEST(ElevationTools, OuterWallLineEndsOnDoubleClickOrAfterFiftyFivePoints)
{
    ElevationToolRig h;
    ASSERT_TRUE(h.start(53));
    h.click({910, 910});
    h.dblclick({910, 910});
    EXPECT_TRUE(h.unit().m_Groups.empty()); // two points are too few: they stay
    EXPECT_EQ(h.m.m_ToolPoints.size(), 2u);
    h.m.m_ToolPoints.clear();

    h.click({910, 910});
    h.click({4550, 910});
    h.dblclick({4550, 4550});
    const CKovGroup* g = h.lastGroup();
    ASSERT_TRUE(g);
    EXPECT_EQ(g->MGrpRoom, CKovGroup::OUTER_WALL_LINE);
    EXPECT_EQ(h.member(*g, 0).MLinePnt, (CDbPointArray{{910, 910}, {4550, 910}, {4550, 4550}}));
    EXPECT_EQ(h.sel().m_nCount, 1);
    EXPECT_EQ(h.sel().m_Groups, std::vector<int>{g->MGrpID});

    for (int k = 0; k < 55; ++k) h.click({455.0 * (k % 20), 455.0 * (k / 20)});
    EXPECT_EQ(h.unit().m_Groups.GetSize(), 1);
    h.click({9100, 9100}); // the 56th finishes without itself
    ASSERT_EQ(h.unit().m_Groups.GetSize(), 2);
    EXPECT_EQ(h.member(*h.lastGroup(), 0).MLinePnt.size(), 55u);
}

TEST(ElevationTools, BalconyIsADoubleLineWithItsHeights)
{
    ElevationToolRig h;
    ASSERT_TRUE(h.start(54));
    h.click({910, 910});
    CRituInfo answer;
    answer.baltakasa = 1000;
    answer.baltoritakasa = 200;
    h.host.balconyAnswers.push_back(answer);
    h.dblclick({4550, 910});
    const CKovGroup* g = h.lastGroup();
    ASSERT_TRUE(g);
    EXPECT_EQ(g->MGrpRoom, CKovGroup::BALCONY);
    ASSERT_EQ(g->MGrpLineID.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) EXPECT_EQ(h.member(*g, k).MLineParam, (std::vector<double>{1000, 200}));
    EXPECT_EQ(h.stored().baltakasa, 1000);

    // In arc mode three points on a line change nothing and the arc stays asked for.
    h.click({910, 2730});
    h.click({2730, 2730});
    h.m.m_bArcInsert = 1;
    h.click({4550, 2730});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 2u);
    EXPECT_EQ(h.m.m_bArcInsert, 1);
    // Cancel drops the path.
    h.m.m_bArcInsert = 0;
    h.host.balconyAnswers.push_back(std::nullopt);
    h.dblclick({4550, 4550});
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    EXPECT_EQ(h.unit().m_Groups.GetSize(), 1);
}
