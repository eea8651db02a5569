#include "model/FontMenu.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/RecordingSurface.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

using namespace kov::test;

namespace {

struct PickUp {
    CKovUnit unit;
    CPlotInfo plot;
    CFontMenu font;
    DeviceTransform transform = pixelTransform();
    kov::platform::RecordingSurface surface;
    SelectionRecord picked;
    CKovUnit::TextToolSettings textTool;

    int at(double x, double y)
    {
        const SurfaceTextBoxMeasurer measurer(surface);
        return unit.PickUpAttributes(measurer, picked, plot, font, x, y, transform, textTool);
    }
};

TEST(AttributePickUp, ALineOnAHiddenLayerLendsItsLayerAndStyle)
{
    PickUp p;
    p.plot.m_Layer.m_LayerInfo[2][7].m_nType = CLayerInfo::LAYER_HIDDEN;
    CKovLine& line = addFigure(p.unit, 1, CKovLine::LINE, {{0, 0}, {1000, 0}}, {}, 0, 2, 7);
    line.MLineColor = 0x0000FF;
    line.MLineWide = 4;
    EXPECT_EQ(p.at(500, 2), 1);
    EXPECT_EQ(CurrentLayer(p.plot), (LayerAddress{2, 7}));
    EXPECT_EQ(p.plot.PlotColor[0], 0x0000FFu);
    EXPECT_EQ(p.plot.PlotLineWide[0], 4);
    EXPECT_EQ(p.picked.m_Lines, std::vector<int>{1});
}

TEST(AttributePickUp, ColumnsAndWallsFillTheirOwnDefault)
{
    for (int column : {0, 1}) {
        SCOPED_TRACE(column);
        PickUp p;
        CKovWall& wall = addWall(p.unit, 1, {0, 0}, {1000, 0}, 75, 0, 1, 3);
        wall.MWall_Type = column;
        EXPECT_EQ(p.at(500, 0), 1);
        EXPECT_EQ(p.plot.PlotHasiraWide, column ? 75 : 50);
        EXPECT_EQ(p.plot.PlotWallWide, column ? 50 : 75);
        EXPECT_EQ(CurrentLayer(p.plot), (LayerAddress{1, 3}));
    }
}

TEST(AttributePickUp, TextsGiveTheirFontUprightAndTheirWritingToTheTextTool)
{
    struct Case {
        const char* name;
        std::string face;
        int escapement;
        int tategaki, kakudo;
    } cases[] = {
        {"vertical writing at 2700", "@ＭＳ 明朝", 2700, 1, 0},
        {"horizontal at 45 degrees", "ＭＳ 明朝", 450, 0, 45},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PickUp p;
        CKovText& text = addText(p.unit, 1, {100, 100}, "ABC", 0, 0, 4);
        text.MTextFontMenu.lfFaceName = c.face;
        text.MTextFontMenu.lfEscapement = c.escapement;
        text.MTextFontMenu.m_size = 9;
        EXPECT_EQ(p.at(100, 100), 1);
        EXPECT_EQ(p.font.lfFaceName, "ＭＳ 明朝");
        EXPECT_EQ(p.font.lfEscapement, 0);
        EXPECT_EQ(p.font.m_size, 9);
        EXPECT_EQ(p.textTool.mozi_tategaki, c.tategaki);
        EXPECT_EQ(p.textTool.mozi_kakudo, c.kakudo);
        EXPECT_EQ(p.plot.m_Layer.m_nCurrentLayer, 4);
    }
}

TEST(AttributePickUp, AGroupOnAHiddenLayerIsNotTakenByItsCornerButByItsMember)
{
    PickUp p;
    p.plot.m_Layer.m_LayerInfo[0][5].m_nType = CLayerInfo::LAYER_HIDDEN;
    addFigure(p.unit, 1, CKovLine::LINE, {{0, 0}, {1000, 0}}, {}, 9, 3, 3);
    CKovGroup& group = addGroup(p.unit, 9, {1});
    group.MGrpLayer1 = 0;
    group.MGrpLayer2 = 5;
    // The member leads to the group, whose layer is taken.
    EXPECT_EQ(p.at(0, 0), 1);
    EXPECT_EQ(p.picked.m_Groups, std::vector<int>{9});
    EXPECT_EQ(CurrentLayer(p.plot), (LayerAddress{0, 5}));
}

TEST(AttributePickUp, NothingUnderTheClickChangesNothing)
{
    PickUp p;
    p.plot.m_Layer.m_nCurrentGroup = 2;
    EXPECT_EQ(p.at(500, 500), 0);
    EXPECT_EQ(p.plot.m_Layer.m_nCurrentGroup, 2);
    EXPECT_TRUE(p.picked.IsEmpty());
}

} // namespace
