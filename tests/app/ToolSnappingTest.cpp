// What the pointer snaps to, in which order, and how the axis lock holds it.

#include "ToolHarness.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <gtest/gtest.h>

namespace {

using kov::test::MK_CONTROL;
using kov::test::ToolHarness;

// 1:1 on the sheet, about 4.7 pixels per millimetre: positions map back within a quarter millimetre.
struct FineHarness : ToolHarness {
    FineHarness()
    {
        rig.doc->m_PlotInfo.m_Layer.SetAllScales(1);
        rig.doc->m_Grid.kyutyaku = 0;
        rig.doc->m_PlotInfo.PlotLinePita = 0;
        rig.doc->m_PlotInfo.PlotWallPita = 0;
    }
    CDbPoint pointer(CDbPoint p)
    {
        move(p);
        return m.m_ptCurrent;
    }
    int addWall(CDbPoint a, CDbPoint b, int layer = 0)
    {
        const int id = rig.doc->m_Unit.AddWall(a, b, 50, rig.doc->m_PlotInfo);
        rig.doc->m_Unit.FindWall(id)->MWallLayer2 = layer;
        return id;
    }
};

TEST(ToolSnapping, GridPointsAtHalfModule)
{
    FineHarness h;
    CGrid& grid = h.rig.doc->m_Grid;
    grid.kyutyaku = 1;
    const struct {
        CDbPoint at;
        CDbPoint expected;
    } cases[] = {{{231, 0}, {455, 0}}, {{224, 0}, {0, 0}}, {{-231, 0}, {-455, 0}}, {{0, 700}, {0, 910}},
                 {{100, -300}, {0, -455}}};
    for (const auto& c : cases)
        EXPECT_EQ(h.pointer(c.at), c.expected) << c.at.x << ',' << c.at.y;
    // Without snapping everywhere, only a pointer within a few pixels of a grid point snaps.
    h.m.settings().app_gridallpita = 0;
    EXPECT_EQ(h.pointer({456, 0}), CDbPoint(455, 0));
    EXPECT_NE(h.pointer({300, 100}).x, 455);
    // A grid started at y = 100 has its lines at -100 + k x 455.
    h.m.settings().app_gridallpita = 1;
    grid.StGridD[0] = 100;
    EXPECT_EQ(h.pointer({0, 350}), CDbPoint(0, 355));
}

TEST(ToolSnapping, OrderVertexThenWallEndThenGrid)
{
    FineHarness h;
    CPlotInfo& plot = h.rig.doc->m_PlotInfo;
    h.rig.addLine(101, 100, 200, 100);
    h.addWall({100, 100}, {100, 300});
    plot.PlotLinePita = 1;
    plot.PlotWallPita = 1;
    h.rig.doc->m_Grid.kyutyaku = 1;
    // A figure vertex wins over a nearer wall end.
    EXPECT_EQ(h.pointer({100, 100}), CDbPoint(101, 100));
    plot.PlotLinePita = 0;
    EXPECT_EQ(h.pointer({100.5, 100.5}), CDbPoint(100, 100));
    // Neither near: the grid decides.
    EXPECT_EQ(h.pointer({50, 60}), CDbPoint(0, 0));
    EXPECT_EQ(h.pointer({400, 30}), CDbPoint(455, 0));
}

TEST(ToolSnapping, HiddenAndForeignLayersNeverAttract)
{
    FineHarness h;
    CPlotInfo& plot = h.rig.doc->m_PlotInfo;
    plot.PlotWallPita = 1;
    h.addWall({100, 100}, {100, 300}, 1);
    EXPECT_EQ(h.pointer({100.5, 100.5}), CDbPoint(100, 100));
    const struct {
        const char* name;
        int layerState;
        int groupState;
    } cases[] = {{"hidden layer", CLayerInfo::LAYER_HIDDEN, 0}, {"shown only", CLayerInfo::LAYER_VISIBLE, 0},
                 {"hidden group", 0, CLayerInfo::LAYER_HIDDEN}};
    for (const auto& c : cases) {
        plot.m_Layer.m_LayerInfo[0][1].m_nType = c.layerState;
        plot.m_Layer.m_GrpLayerInfo[0].m_nType = c.groupState;
        EXPECT_NE(h.pointer({100.5, 100.5}), CDbPoint(100, 100)) << c.name;
    }
    // A hidden current layer attracts nothing either.
    plot.m_Layer.m_GrpLayerInfo[0].m_nType = 0;
    plot.m_Layer.m_LayerInfo[0][1].m_nType = CLayerInfo::LAYER_HIDDEN;
    plot.m_Layer.m_nCurrentLayer = 1;
    EXPECT_NE(h.pointer({100.5, 100.5}), CDbPoint(100, 100));
}

TEST(ToolSnapping, CollectedPointsCloseAPolygon)
{
    FineHarness h;
    h.rig.doc->m_PlotInfo.PlotLinePita = 1;
    h.start(5);
    for (CDbPoint p : {CDbPoint{0, 0}, CDbPoint{100, 0}, CDbPoint{100, 100}})
        h.click(p);
    // A click a few pixels off the start returns exactly the start and closes the polygon.
    h.click({1, -1});
    ASSERT_EQ(h.unit().m_Lines.size(), 1u);
    EXPECT_EQ(h.unit().m_Lines[0]->MLinePnt.size(), 3u);
    EXPECT_EQ(h.unit().m_Lines[0]->MLinePnt[0], CDbPoint(0, 0));
}

TEST(ToolSnapping, AxisLock)
{
    struct Case {
        int mode;
        unsigned flags;
        CDbPoint expected;   // the pointer at (1820, 910) after a first click at the origin
    };
    const Case cases[] = {{0, 0, {1820, 910}}, {1, 0, {0, 910}},         {2, 0, {1820, 0}},
                          {3, 0, {1820, 0}},   {0, MK_CONTROL, {1820, 0}}, {1, MK_CONTROL, {1820, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " flags " << c.flags);
        ToolHarness h;
        h.start(3);
        h.m.m_nAxisLock = c.mode;
        h.click({0, 0});
        h.move({1820, 910}, c.flags);
        EXPECT_EQ(h.m.m_ptCurrent, c.expected);
        // The device point follows the locked point.
        EXPECT_EQ(h.m.m_pxCurrent.y, ToDevicePoint(c.expected, h.transform(), 0).y);
    }
    // From the third polygon point on, the lock follows the last vertex.
    ToolHarness h;
    h.start(5);
    h.m.m_nAxisLock = 1;
    h.click({0, 0});
    h.click({1820, 1820});
    EXPECT_EQ(h.m.m_ToolPoints.back(), CDbPoint(0, 1820));
    h.move({3640, 910});
    EXPECT_EQ(h.m.m_ptCurrent, CDbPoint(0, 910));
    // No point and no drag: nothing is locked.
    h.key(kov::tools::ToolKey::Escape);
    h.move({3640, 910});
    EXPECT_EQ(h.m.m_ptCurrent, CDbPoint(3640, 910));
}

TEST(ToolSnapping, TextToolTakesTheRawPointer)
{
    FineHarness h;
    h.rig.doc->m_Grid.kyutyaku = 1;
    h.start(8);
    const CDbPoint p = h.pointer({231, 0});
    EXPECT_NE(p.x, 455);
    EXPECT_NEAR(p.x, 231, 1);
}

} // namespace
