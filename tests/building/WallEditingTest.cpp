// Erasing parts of walls, splitting a room wall at a new vertex and bending a room wall.

#include "building/RoomSettings.h"

#include "model/Grid.h"
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

std::string cores(const CKovUnit& unit)
{
    std::string out;
    for (const auto& w : unit.m_Walls) {
        auto n = [](double v) { return std::to_string(static_cast<long long>(std::llround(v))); };
        out += "(" + n(w->MWallPntA.x) + "," + n(w->MWallPntA.y) + ")-(" + n(w->MWallPntB.x) + "," +
               n(w->MWallPntB.y) + ") ";
    }
    return out;
}

// A vertical wall (0,0)-(0,1000) of half thickness 50 in group 7 of layer group 0.
struct OneWall {
    CKovUnit unit;
    CPlotInfo plot;
    OneWall()
    {
        addWall(unit, 1, {0, 0}, {0, 1000}, 50.0, 7);
        addGroup(unit, 7, {}, {1});
    }
};

TEST(WallErasing, CutsOnTheCoreByTheFirstRuleThatHolds)
{
    struct Case {
        const char* name;
        CDbPoint p, q;
        int result;
        std::string walls;
    };
    const Case cases[] = {
        {"a cut in the middle splits the wall", {0, 500}, {0, 700}, 1, "(0,0)-(0,500) (0,700)-(0,1000) "},
        {"the points in either order", {0, 700}, {0, 500}, 1, "(0,0)-(0,500) (0,700)-(0,1000) "},
        {"a cut over the start moves it", {0, -100}, {0, 300}, 1, "(0,300)-(0,1000) "},
        {"a cut over the end moves it", {0, 600}, {0, 1200}, 1, "(0,0)-(0,600) "},
        {"a cut over the whole wall deletes it", {0, -100}, {0, 1100}, 1, ""},
        {"a cut exactly on both ends deletes it (rule 2 before 3)", {0, 0}, {0, 1000}, 1, ""},
        {"a cut beyond the wall leaves it", {0, 1100}, {0, 1300}, 0, "(0,0)-(0,1000) "},
        {"a cut beside the core leaves it", {1, 500}, {1, 700}, 0, "(0,0)-(0,1000) "},
        {"a horizontal cut never cuts a vertical wall", {-50, 500}, {50, 500}, 0, "(0,0)-(0,1000) "},
    };
    for (const Case& c : cases) {
        OneWall f;
        EXPECT_EQ(f.unit.EraseWallPartOnCore(f.plot, c.p, c.q), c.result) << c.name;
        EXPECT_EQ(cores(f.unit), c.walls) << c.name;
    }
}

TEST(WallErasing, TheCutOffPartKeepsTheWallsGroupAndTheOutlinesAreJoinedAgain)
{
    OneWall f;
    // A crossing wall whose outline the vertical wall cuts once joined.
    addWall(f.unit, 2, {-500, 200}, {500, 200});
    f.unit.JoinWalls(0);
    ASSERT_EQ(f.unit.EraseWallPartOnCore(f.plot, {0, 500}, {0, 700}), 1);
    ASSERT_EQ(f.unit.m_Walls.GetSize(), 3);
    const CKovWall& part = *std::as_const(f.unit).m_Walls[2];
    EXPECT_EQ(part.MWallGrpID, 7);
    EXPECT_EQ(part.MWallWide1, 50.0);
    EXPECT_EQ(std::as_const(f.unit).FindGroup(7)->MGrpWallID, (std::vector<int>{1, part.MWallID}));
    // Every wall of the layer group was reset and joined: the crossing wall is cut at the
    // vertical wall's faces again.
    const CKovWall& crossing = *std::as_const(f.unit).FindWall(2);
    EXPECT_GT(crossing.MWallarPntA.size(), 4u);
}

TEST(WallErasing, InsideTheBodyAsOnTheCore)
{
    struct Case {
        const char* name;
        double off;
        int result;
        std::string walls;
    };
    const Case cases[] = {
        {"30 mm off the core of a 100 mm wall", 30, 1, "(0,0)-(0,500) (0,700)-(0,1000) "},
        {"on the face itself", 50, 1, "(0,0)-(0,500) (0,700)-(0,1000) "},
        {"60 mm off: outside the wall", 60, 0, "(0,0)-(0,1000) "},
    };
    for (const Case& c : cases) {
        OneWall f;
        EXPECT_EQ(f.unit.EraseWallPartOnCore(f.plot, {c.off, 500}, {c.off, 700}), 0) << c.name;
        EXPECT_EQ(f.unit.EraseWallPartInside(f.plot, {c.off, 500}, {c.off, 700}), c.result) << c.name;
        EXPECT_EQ(cores(f.unit), c.walls) << c.name;
    }
}

TEST(WallErasing, ObliqueWallsColumnsAndOtherLayerGroups)
{
    CKovUnit unit;
    CPlotInfo plot;
    addWall(unit, 1, {0, 0}, {1000, 1000});
    // On the core: the cut's own points become the new ends.
    ASSERT_EQ(unit.EraseWallPartOnCore(plot, {600, 600}, {400, 400}), 1);
    EXPECT_EQ(cores(unit), "(0,0)-(400,400) (600,600)-(1000,1000) ");
    // Inside the body: the feet of the points on the core.
    ASSERT_EQ(unit.EraseWallPartInside(plot, {100, 120}, {220, 200}), 1);
    EXPECT_EQ(cores(unit), "(0,0)-(110,110) (600,600)-(1000,1000) (210,210)-(400,400) ");

    CKovUnit other;
    addWall(other, 1, {0, 0}, {0, 1000}, 50.0, 0, 1); // layer group 1
    auto column = std::make_unique<CKovWall>();
    column->MWallID = 2;
    column->MWall_Type = CKovWall::COLUMN;
    column->MWallPntA = column->MWallPntB = {0, 500};
    other.m_Walls.Add(std::move(column));
    EXPECT_EQ(other.EraseWallPartOnCore(plot, {0, 400}, {0, 600}), 0);
    EXPECT_EQ(other.m_Walls.GetSize(), 2);
}

struct RectRoom {
    CKovUnit unit;
    CPlotInfo plot;
    CGrid grid;
    RoomSettings settings;
    CFontMenu font;
    SelectionRecord selection;
    DeviceTransform transform = pixelTransform(0.1, 4.0);
    RectRoom()
    {
        plot.m_RoomInfo.Room_bHachColor = 0;
        plot.m_RoomInfo.Room_Name = "洋室";
        unit.CreateRectRoom(transform, 0, 0, 1000, 800, plot, font, selection, grid, settings);
        const int group = selection.m_Groups.at(0);
        selection.Clear();
        selection.AddGroupId(group);
    }
    const CKovGroup& room() const { return *unit.FindGroup(selection.m_Groups.at(0)); }
    const CKovLine& polygon() const { return *unit.FindLine(room().MGrpLineID.at(0)); }
    DevicePoint px(CDbPoint p) const { return ToDevicePoint(p, transform, 0); }
};

TEST(RoomVertex, SplitsTheWallThroughTheClickAndTheRoomPolygon)
{
    RectRoom r;
    ASSERT_EQ(r.polygon().MLinePnt, (CDbPointArray{{0, 0}, {0, 800}, {1000, 800}, {1000, 0}}));
    const std::size_t walls = r.room().MGrpWallID.size();
    ASSERT_EQ(r.unit.AddRoomVertex(r.selection, r.plot, {500, 0}, r.px({500, 0}), r.transform), 1);
    EXPECT_EQ(r.room().MGrpWallID.size(), walls + 1);
    // The new wall lo-click comes just before the old wall, which now runs click-hi.
    int index = -1;
    for (int i = 0; i < r.unit.m_Walls.GetSize(); ++i) {
        const CKovWall& w = *std::as_const(r.unit).m_Walls[i];
        if (w.MWallPntA == CDbPoint(0, 0) && w.MWallPntB == CDbPoint(500, 0)) index = i;
    }
    ASSERT_GE(index, 0);
    const CKovWall& rest = *std::as_const(r.unit).m_Walls[index + 1];
    EXPECT_EQ(rest.MWallPntA, CDbPoint(500, 0));
    EXPECT_EQ(rest.MWallPntB, CDbPoint(1000, 0));
    // The top edge is the polygon's closing edge: the click is appended and the polygon closed.
    EXPECT_EQ(r.polygon().MLinePnt, (CDbPointArray{{0, 0}, {0, 800}, {1000, 800}, {1000, 0}, {500, 0}, {0, 0}}));
}

TEST(RoomVertex, RefusalsAndClicksOffTheWalls)
{
    RectRoom r;
    const std::string before = cores(r.unit);
    // Within the pick radius of a vertex: nothing, and 0.
    EXPECT_EQ(r.unit.AddRoomVertex(r.selection, r.plot, {20, 0}, r.px({0, 0}), r.transform), 0);
    // Off every wall's body: 1 with nothing changed.
    EXPECT_EQ(r.unit.AddRoomVertex(r.selection, r.plot, {500, 300}, r.px({500, 300}), r.transform), 1);
    EXPECT_EQ(cores(r.unit), before);
    // Not a single room selected.
    SelectionRecord none;
    EXPECT_EQ(r.unit.AddRoomVertex(none, r.plot, {500, 0}, r.px({500, 0}), r.transform), 0);
    EXPECT_EQ(cores(r.unit), before);
}

TEST(RoomVertex, AClickOnTheWallFaceSplitsOnTheCore)
{
    // The line snaps put clicks on a wall's faces; the new vertex still lies on the core line.
    RectRoom r;
    const double face = r.unit.FindWall(r.room().MGrpWallID.at(0))->MWallWide1;
    ASSERT_GT(face, 0);
    ASSERT_EQ(r.unit.AddRoomVertex(r.selection, r.plot, {500, face}, r.px({500, face}), r.transform), 1);
    const CDbPointArray& p = r.polygon().MLinePnt;
    EXPECT_NE(std::find(p.begin(), p.end(), CDbPoint(500, 0)), p.end());
    EXPECT_EQ(std::find(p.begin(), p.end(), CDbPoint(500, face)), p.end());
}

TEST(RoomBend, TheWallBecomesACurvedBandAndThePolygonFollows)
{
    RectRoom r;
    r.plot.PlotWallBlack = 2; // white walls drawn with black faces
    CDbPointArray points;
    CDbPoint click{990, 5};
    // One end, within the pick radius: the click moves onto the vertex.
    ASSERT_EQ(r.unit.BendRoomWall(r.selection, r.plot, points, click, r.px({1000, 0}), r.transform, 0), 1);
    EXPECT_EQ(click, CDbPoint(1000, 0));
    points.push_back(click);
    CDbPoint second{0, 0};
    // A vertex that ends no wall from the first: refused.
    CDbPoint far{0, 800};
    EXPECT_EQ(r.unit.BendRoomWall(r.selection, r.plot, points, far, r.px({0, 800}), r.transform, 0), 0);
    ASSERT_EQ(r.unit.BendRoomWall(r.selection, r.plot, points, second, r.px({0, 0}), r.transform, 0), 2);
    points.push_back(second);
    // Three points on a line make no arc: nothing changes.
    CDbPoint onLine{400, 0};
    const std::size_t figures = r.unit.m_Lines.size();
    EXPECT_EQ(r.unit.BendRoomWall(r.selection, r.plot, points, onLine, r.px(onLine), r.transform, 0), 0);
    EXPECT_EQ(r.unit.m_Lines.size(), figures);

    const std::size_t walls = r.room().MGrpWallID.size();
    CDbPoint bulge{500, -200};
    ASSERT_EQ(r.unit.BendRoomWall(r.selection, r.plot, points, bulge, r.px(bulge), r.transform, 0), 3);
    EXPECT_EQ(r.room().MGrpWallID.size(), walls - 1);
    EXPECT_EQ(r.polygon().MLinePnt.size(), 4u + 23u);
    // The band (a filled polygon) and its two faces, outside the room group, on the current layer.
    const CKovLine& band = *std::as_const(r.unit).m_Lines[static_cast<int>(figures)];
    EXPECT_EQ(band.MLineType, CKovLine::POLYGON);
    EXPECT_EQ(band.MLinebNakanuri, 1);
    EXPECT_EQ(band.MLineNakaColor, 0xFFFFFFu);
    EXPECT_EQ(band.MLineGrpID, 0);
    EXPECT_EQ(band.MLinePnt.size(), 2u * 25u + 1u);
    EXPECT_EQ(r.unit.m_Lines.size(), figures + 3);
}

} // namespace
