// A small plan built only through the building and editing operations (four rooms, a hatched area,
// a group turned by 30 degrees), drawn by the draw passes through the QPainter surface and compared
// with a golden picture in tests/data/building, channel by channel with a tolerance.
// KOVIRA_REGENERATE_GOLDEN=1 rewrites the picture instead (look at it before keeping it).

#include "building/RoomSettings.h"

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/PainterSurface.h"
#include "render/DrawEnvironment.h"
#include "support/EditFixtures.h"
#include "support/TestSupport.h"

#include "support/GoldenImage.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }

struct Plan {
    CKovUnit unit;
    CPlotInfo plot;
    CGrid grid;
    RoomSettings settings;
    CFontMenu font;
    SelectionRecord selection;
    DeviceTransform transform;

    Plan()
    {
        transform = kov::test::pixelTransform(0.06, 4.0);
        transform.originX = 20;
        transform.originY = 20;
        settings.room_heyack_jyou = 1;
        font.lfFaceName = "ＭＳ ゴシック";
        font.m_size = 2.5;
    }

    void room(const char* name, double x, double y, double w, double h, int fill, std::uint32_t colour, int hatch,
              int hatchType)
    {
        CRoomInfo& r = plot.m_RoomInfo;
        r.Room_Name = name;
        r.Room_bRoomColor = fill;
        r.Room_RoomColor = colour;
        r.Room_bHachColor = hatch;
        r.Room_HachColor = rgb(120, 120, 120);
        r.Room_HachType = hatchType;
        r.Room_HachKankaku = 3.0;
        ASSERT_EQ(unit.CreateRectRoom(transform, x, y, x + w, y + h, plot, font, selection, grid, settings), 1);
    }
};

// The plan: a Japanese room with its mats, a boarded living room, a filled kitchen, an L-shaped hall,
// a hatched terrace and a table group turned by 30 degrees.
void buildPlan(Plan& p)
{
    p.room("和室", 0, 0, 2730, 3640, 0, 0, 0, 0);
    p.room("洋室", 2730, 0, 3640, 3640, 1, rgb(255, 236, 200), 1, 100);
    p.room("台所", 6370, 0, 2730, 3640, 1, rgb(200, 230, 255), 0, 0);
    p.plot.m_RoomInfo.Room_Name = "廊下";
    p.plot.m_RoomInfo.Room_bRoomColor = 1;
    p.plot.m_RoomInfo.Room_RoomColor = rgb(230, 230, 230);
    p.plot.m_RoomInfo.Room_bHachColor = 0;
    const CDbPointArray hall = {{0, 3640}, {0, 5460}, {4550, 5460}, {4550, 4550}, {9100, 4550}, {9100, 3640}};
    ASSERT_EQ(p.unit.CreatePolygonRoom(p.transform, hall, hall[0], p.plot, p.font, p.selection, p.grid, p.settings), 1);

    // The terrace: an outline with real hatch lines at 45 degrees, grouped.
    CPlotInfo style(p.plot);
    style.PlotColor[0] = rgb(0, 128, 0);
    const int outline = p.unit.AddPolygonFromPoints(style, {{4550, 4550}, {4550, 7000}, {9100, 7000}, {9100, 4550}});
    ASSERT_GT(outline, 0);
    const CDbPointArray& pts = p.unit.FindLine(outline)->MLinePnt;
    CDbPointArray starts, ends;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        starts.push_back(pts[i]);
        ends.push_back(pts[(i + 1) % pts.size()]);
    }
    SelectionRecord terrace;
    p.unit.MakeHatchLines(terrace, style, starts, ends, 0, 0, 45.0, 0.0, 300.0, 0.0, 0.0, 1, 0);
    terrace.AddLineId(outline);
    p.unit.GroupSelection(terrace, style);

    // A table with four chairs, grouped and turned by 30 degrees, set down in the living room.
    SelectionRecord table;
    const int top = p.unit.AddRectFromCorners(style, {0, 0}, {1400, 800});
    table.AddLineId(top);
    for (const CDbPoint c : {CDbPoint(350, -250), CDbPoint(1050, -250), CDbPoint(350, 1050), CDbPoint(1050, 1050)})
        table.AddLineId(p.unit.AddCircle(style, c, {c.x + 200, c.y}, 0, 0));
    p.unit.GroupSelection(table, style);
    const int group = table.m_Groups.at(0);
    ASSERT_GE(p.unit.RotateGroup(p.unit, 30.0, group), 0);
    CKovGroup& g = *p.unit.FindGroup(group);
    const CDbPoint at{3600, 900};
    p.unit.MoveGroup(group, at.x, at.y);
    g.MGrpmin = {g.MGrpmin.x + at.x, g.MGrpmin.y + at.y};
    g.MGrpmax = {g.MGrpmax.x + at.x, g.MGrpmax.y + at.y};
}

TEST(PlanPicture, RoomsHatchAndATurnedGroupDrawnByThePasses)
{
    Plan p;
    buildPlan(p);
    if (HasFatalFailure())
        return;
    EXPECT_EQ(p.unit.m_Groups.GetSize(), 6);

    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        kov::platform::PainterSurface surface(image);
        CKovUnit::DrawEnvironment env;
        const SelectionRecord none;
        p.unit.DrawAllByLayer(surface, p.transform, p.plot, none, false, true, env);
    }

    kov::test::expectMatchesGolden(image, "building/plan-rooms-hatch-turned-group.png");
}

} // namespace
