#include "building/RoomSettings.h"

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

using namespace kov::test;

namespace {

struct RoomMaker {
    CKovUnit unit;
    CPlotInfo plot;
    CGrid grid;
    RoomSettings settings;
    CFontMenu font;
    SelectionRecord selection;
    DeviceTransform transform = pixelTransform(0.1, 4.0);

    RoomMaker(const std::string& name = "和室")
    {
        plot.m_RoomInfo.Room_Name = name;
        plot.m_RoomInfo.Room_bHachColor = 0;
        plot.m_RoomInfo.Room_HachType = 0;
    }
    int rect(double w, double h) { return unit.CreateRectRoom(transform, 0, 0, w, h, plot, font, selection, grid, settings); }
    const CKovGroup& room() const { return *unit.FindGroup(selection.m_Groups.at(0)); }
    const CKovLine& polygon() const { return *unit.FindLine(room().MGrpLineID.at(0)); }
    std::string label() const { return unit.FindText(selection.m_Texts.at(0))->MTextstr; }
    // The tatami lines as (x1, y1, x2, y2) in modules.
    std::set<std::tuple<double, double, double, double>> matLines() const
    {
        std::set<std::tuple<double, double, double, double>> out;
        const double m = grid.GridModule;
        for (std::size_t i = 1; i < room().MGrpLineID.size(); ++i) {
            const CKovLine& l = *unit.FindLine(room().MGrpLineID[i]);
            out.emplace(l.MLinePnt[0].x / m, l.MLinePnt[0].y / m, l.MLinePnt[1].x / m, l.MLinePnt[1].y / m);
        }
        return out;
    }
};

TEST(Rooms, TatamiLayoutsAndMatLabels)
{
    using Lines = std::set<std::tuple<double, double, double, double>>;
    struct Case {
        const char* name;
        double w, h;
        int middleHalf;
        Lines lines;
        const char* label;
    } cases[] = {
        {"3 mats, tall", 1820, 2730, 0, {{0, 1, 2, 1}, {1, 1, 1, 3}}, "和室\n3帖"},
        {"3 mats, wide", 2730, 1820, 0, {{1, 0, 1, 2}, {1, 1, 3, 1}}, "和室\n3帖"},
        {"4.5 mats", 2730, 2730, 0, {{1, 0, 1, 3}, {0, 2, 1, 2}, {1, 1, 3, 1}, {2, 1, 2, 3}}, "和室\n4.5帖"},
        {"4.5 mats, half mat in the middle", 2730, 2730, 1, {{1, 0, 1, 2}, {0, 2, 2, 2}, {1, 1, 3, 1}, {2, 1, 2, 3}},
         "和室\n4.5帖"},
        {"6 mats, wide", 3640, 2730, 0, {{0, 1, 4, 1}, {2, 0, 2, 1}, {1, 1, 1, 3}, {3, 1, 3, 3}, {1, 2, 3, 2}},
         "和室\n6帖"},
        {"no layout fits", 3000, 4000, 0, {}, "和室\n7.2帖"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RoomMaker r;
        r.settings.room_heyack_jyou = 1;
        r.settings.room_wasitu45_nakarect = c.middleHalf;
        ASSERT_EQ(r.rect(c.w, c.h), 1);
        EXPECT_EQ(r.room().MGrpRoom, CKovGroup::ROOM);
        EXPECT_EQ(r.room().MGrpWallID.size(), 4u);
        EXPECT_EQ(r.matLines(), c.lines);
        EXPECT_EQ(r.label(), c.label);
        EXPECT_EQ(r.polygon().MLineHachT, c.lines.empty() ? 0 : 300);
        EXPECT_EQ(r.selection.m_nCount, 2);
    }
}

TEST(Rooms, LabelsInEachUnit)
{
    struct Case {
        const char* name;
        double w, h;
        int jyou, heibei, matName;
        const char* label;
    } cases[] = {
        {"name alone", 3640, 2730, 0, 1, 0, "和室"},
        {"square metres with decimals", 3640, 2730, 1, 1, 0, "和室\n9.94㎡"},
        {"whole square metres", 2000, 3000, 1, 1, 0, "和室\n6㎡"},
        {"mats as 畳", 1820, 2730, 1, 0, 1, "和室\n3畳"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RoomMaker r;
        r.settings.room_heyack_jyou = c.jyou;
        r.settings.room_heibei = c.heibei;
        r.settings.room_heyack_jyou_name = c.matName;
        ASSERT_EQ(r.rect(c.w, c.h), 1);
        EXPECT_EQ(r.label(), c.label);
        const CKovText& t = *r.unit.FindText(r.selection.m_Texts[0]);
        EXPECT_EQ(t.MTextpnt, CDbPoint(c.w / 2, c.h / 2));
        EXPECT_EQ(t.MTextFontMenu.m_toko_align, 1);
        EXPECT_EQ(t.MTextFontMenu.m_bBack, 1);
    }
}

TEST(Rooms, ColoursHatchingAndEmptyNames)
{
    {
        SCOPED_TRACE("filled and hatched room");
        RoomMaker r("居間");
        r.plot.m_RoomInfo.Room_bRoomColor = 1;
        r.plot.m_RoomInfo.Room_RoomColor = 0x0000FF;
        r.plot.m_RoomInfo.Room_bHachColor = 1;
        r.plot.m_RoomInfo.Room_HachColor = 0x00FF00;
        r.plot.m_RoomInfo.Room_HachType = 0;
        r.plot.m_RoomInfo.Room_HachKankaku = 10.0; // paper mm: 400 sheet mm at 0.1 px/mm and 4 px/paper mm
        ASSERT_EQ(r.rect(4000, 2000), 1);
        const CKovLine& p = r.polygon();
        EXPECT_EQ(p.MLinebNakanuri, 1);
        EXPECT_EQ(p.MLineNakaColor, 0x0000FFu);
        EXPECT_EQ(p.MLineNakaColor2, CKovUnit::MildGradientColor(0x0000FF, 0xFFFFFF));
        EXPECT_EQ(p.MLineColor, 0x00FF00u);
        EXPECT_EQ(p.MLineParam, std::vector<double>{10.0});
        // Hatch lines at y = 0, 400, ..., 2000, members of the room.
        EXPECT_EQ(r.room().MGrpLineID.size(), 1u + 6u);
        const CKovLine& hatch = *r.unit.FindLine(r.room().MGrpLineID[1]);
        EXPECT_EQ(hatch.MLineGrpID, r.room().MGrpID);
        EXPECT_EQ(hatch.MLineColor, 0x00FF00u);
        EXPECT_EQ(r.label(), "居間");
    }
    {
        SCOPED_TRACE("empty name: walls and a group only");
        RoomMaker r("");
        ASSERT_EQ(r.rect(2000, 2000), 1);
        EXPECT_TRUE(r.room().MGrpLineID.empty());
        EXPECT_EQ(r.unit.m_Texts.GetSize(), 0);
        EXPECT_EQ(r.selection.m_nCount, 1);
        EXPECT_EQ(r.room().MGrpmax, CDbPoint(2000, 2000));
    }
    {
        SCOPED_TRACE("tatami off altogether");
        RoomMaker r;
        r.settings.app_tatamiheri = 0;
        ASSERT_EQ(r.rect(1820, 2730), 1);
        EXPECT_EQ(r.room().MGrpLineID.size(), 1u);
        EXPECT_EQ(r.polygon().MLineHachT, 0);
    }
}

TEST(Rooms, PolygonRoomSkipsZeroLengthEdges)
{
    RoomMaker r("洋室");
    const CDbPointArray v = {{0, 0}, {0, 3000}, {0, 3000}, {4000, 3000}};
    ASSERT_EQ(r.unit.CreatePolygonRoom(r.transform, v, v[0], r.plot, r.font, r.selection, r.grid, r.settings), 1);
    EXPECT_EQ(r.room().MGrpWallID.size(), 3u);
    EXPECT_EQ(r.polygon().MLinePnt.size(), 5u);
    EXPECT_EQ(r.label(), "洋室");
    EXPECT_EQ(r.unit.FindText(r.selection.m_Texts[0])->MTextpnt, CDbPoint(2000, 1500));
    // Every wall belongs to the room and was joined with its neighbours.
    for (int id : r.room().MGrpWallID)
        EXPECT_EQ(r.unit.FindWall(id)->MWallGrpID, r.room().MGrpID);

    RoomMaker none;
    const CDbPointArray same = {{5, 5}, {5, 5}, {5, 5}};
    EXPECT_EQ(none.unit.CreatePolygonRoom(none.transform, same, same[0], none.plot, none.font, none.selection,
                                          none.grid, none.settings),
              0);
    EXPECT_EQ(none.unit.m_Groups.GetSize(), 0);
}

TEST(Rooms, GroupLineAndSettingsFromTheProfile)
{
    CKovUnit unit;
    CKovGroup& g = addGroup(unit, 3, {});
    g.MGrpLayer1 = 2;
    g.MGrpLayer2 = 5;
    unit.AddGroupLine({0, 0}, {10, 0}, g, 5);
    ASSERT_EQ(g.MGrpLineID.size(), 1u);
    const CKovLine& l = *unit.FindLine(g.MGrpLineID[0]);
    EXPECT_EQ(l.MLineLineT, 5);
    EXPECT_EQ(l.MLineGrpID, 3);
    EXPECT_EQ(l.MLineLayer1, 2);
    EXPECT_EQ(l.MLineLayer2, 5);

    kov::platform::MemoryProfile profile;
    profile.WriteProfileInt("KOV_T_UTILITY", "room_heibei", 1);
    const RoomSettings s = RoomSettings::FromProfile(profile);
    EXPECT_EQ(s.room_heibei, 1);
    EXPECT_EQ(s.app_tatamiheri, 1);
    EXPECT_EQ(s.room_heyack_jyou, 1) << "a label tells the size until a user says otherwise";
}

TEST(Rooms, EdgesOnExistingWallsAddNoSecondWall)
{
    // Four walls drawn first, then a room on them: the room keeps the four and adds none.
    RoomMaker r("洋室");
    const CDbPointArray corners = {{0, 0}, {0, 3000}, {4000, 3000}, {4000, 0}};
    for (std::size_t i = 0; i < 4; ++i) r.unit.AddWall(corners[i], corners[(i + 1) % 4], 50, r.plot);
    ASSERT_EQ(r.rect(4000, 3000), 1);
    EXPECT_EQ(r.unit.m_Walls.GetSize(), 4);
    EXPECT_EQ(r.room().MGrpmax, CDbPoint(4000, 3000));
    EXPECT_EQ(r.label(), "洋室");

    // A second room beside the first shares one edge along a longer wall: three new walls.
    RoomMaker s("洋室");
    s.unit.AddWall({4000, -1000}, {4000, 5000}, 50, s.plot);
    const CDbPointArray v = {{4000, 0}, {4000, 3000}, {7000, 3000}, {7000, 0}};
    ASSERT_EQ(s.unit.CreatePolygonRoom(s.transform, v, v[0], s.plot, s.font, s.selection, s.grid, s.settings), 1);
    EXPECT_EQ(s.unit.m_Walls.GetSize(), 4);
    EXPECT_EQ(s.room().MGrpWallID.size(), 3u);
    // A wall of another layer group does not count.
    RoomMaker t("洋室");
    t.plot.m_Layer.m_nCurrentGroup = 1;
    t.unit.AddWall({0, 0}, {0, 3000}, 50, t.plot);
    t.plot.m_Layer.m_nCurrentGroup = 0;
    ASSERT_EQ(t.rect(4000, 3000), 1);
    EXPECT_EQ(t.unit.m_Walls.GetSize(), 5);
}

} // namespace
