// What an edit changes in a picture of the drawing: the boxes of the objects it replaced, added,
// removed or reordered, the members of groups it changed, the marks of a selection that changed;
// nothing for objects an edit made its own but left as they were.

#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "render/Damage.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

using kov::render::DamagedRects;
using kov::render::MergedRects;
using kov::render::PaintedDrawing;

// 1 px per drawing millimetre about the window's corner.
DeviceTransform pixels()
{
    DeviceTransform t;
    t.scaleX.fill(1.0);
    t.scaleY.fill(1.0);
    t.paperScale = 1.0;
    return t;
}

struct Drawing {
    CKovUnit unit;
    SelectionRecord selection;

    int line(double x1, double y1, double x2, double y2)
    {
        auto f = std::make_unique<CKovLine>();
        f->MLineID = unit.NextLineId();
        f->MLinePnt = {{x1, y1}, {x2, y2}};
        const int id = f->MLineID;
        unit.m_Lines.Add(std::move(f));
        return id;
    }
    int wall(double x1, double y1, double x2, double y2)
    {
        auto w = std::make_unique<CKovWall>();
        w->MWallID = unit.NextWallId();
        w->MWallPntA = {x1, y1};
        w->MWallPntB = {x2, y2};
        w->MWallWide1 = w->MWallWide2 = 5;
        w->MWallPntKado = {CDbPoint(x1, y1 - 5), CDbPoint(x2, y2 - 5), CDbPoint(x2, y2 + 5), CDbPoint(x1, y1 + 5)};
        const int id = w->MWallID;
        unit.m_Walls.Add(std::move(w));
        return id;
    }
};

bool covers(const std::vector<DeviceRect>& rects, int x, int y)
{
    for (const DeviceRect& r : rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}

} // namespace

TEST(Damage, EditsAreTheBoxesOfWhatTheyChanged)
{
    // A drawing of lines far apart and two walls; each case edits a copy that shares its objects.
    struct Case {
        const char* name;
        std::function<void(Drawing&)> edit;
        std::vector<std::pair<int, int>> painted;    // points inside the damage
        std::vector<std::pair<int, int>> untouched;  // points outside it
    } cases[] = {
        {"nothing", [](Drawing&) {}, {}, {{100, 100}, {500, 500}}},
        {"a line moved", [](Drawing& d) { d.unit.m_Lines[1]->MLinePnt = {{500, 100}, {550, 100}}; },
         {{150, 100}, {525, 100}}, {{100, 400}, {700, 700}}},
        {"a line added", [](Drawing& d) { d.line(600, 600, 650, 650); }, {{625, 625}}, {{100, 100}, {150, 100}}},
        {"a line deleted", [](Drawing& d) { d.unit.m_Lines.DeleteAt(0); }, {{100, 100}}, {{150, 100}, {100, 400}}},
        {"walls made their own but not changed",
         [](Drawing& d) { d.unit.m_Walls.ForEachMutable([](CKovWall&) {}); }, {}, {{300, 300}, {300, 700}}},
        {"one wall's outline cut back", [](Drawing& d) { d.unit.m_Walls[0]->MWallarPntA = {{300, 295}}; },
         {{300, 300}}, {{300, 700}}},
        {"drawing order: the first line last", [](Drawing& d) { d.unit.m_Lines.MoveItem(0, 2); },
         {{100, 100}, {100, 400}}, {{300, 700}}},
        {"a line selected", [](Drawing& d) { d.selection.AddLineId(d.unit.m_Lines[2]->MLineID); },
         {{100, 400}, {150, 400}}, {{100, 100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing before;
        before.line(100, 100, 120, 100);
        before.line(150, 100, 170, 100);
        before.line(100, 400, 150, 400);
        before.wall(300, 300, 400, 300);
        before.wall(300, 700, 400, 700);
        Drawing after;
        after.unit.CopyFrom(before.unit);
        c.edit(after);
        const CPlotInfo plot;
        const std::optional<std::vector<DeviceRect>> rects =
            DamagedRects(PaintedDrawing{before.unit, before.selection}, PaintedDrawing{after.unit, after.selection},
                         pixels(), plot, {0, 0, 1000, 1000});
        ASSERT_TRUE(rects.has_value());
        for (auto [x, y] : c.painted) EXPECT_TRUE(covers(*rects, x, y)) << x << "," << y;
        for (auto [x, y] : c.untouched) EXPECT_FALSE(covers(*rects, x, y)) << x << "," << y;
    }
}

TEST(Damage, GroupsSelectionsAndDragsRepaintTheirMembers)
{
    Drawing before;
    const int a = before.line(100, 100, 150, 100);
    const int b = before.line(800, 800, 850, 800);
    before.line(400, 800, 450, 800);
    auto group = std::make_unique<CKovGroup>();
    group->MGrpID = before.unit.NextGroupId();
    group->MGrpLineID = {a, b};
    group->MGrpmin = {100, 100};
    group->MGrpmax = {850, 800};
    before.unit.m_Lines[0]->MLineGrpID = group->MGrpID;
    before.unit.m_Lines[1]->MLineGrpID = group->MGrpID;
    const int gid = group->MGrpID;
    before.unit.m_Groups.Add(std::move(group));
    const CPlotInfo plot;
    auto damage = [&](const Drawing& after, bool draggingBefore, bool draggingAfter) {
        return DamagedRects(PaintedDrawing{before.unit, before.selection, draggingBefore},
                            PaintedDrawing{after.unit, after.selection, draggingAfter}, pixels(), plot,
                            {0, 0, 1000, 1000});
    };

    // The group turned into a room: its members are drawn by another step of the pass.
    Drawing room;
    room.unit.CopyFrom(before.unit);
    room.unit.m_Groups[0]->MGrpRoom = CKovGroup::ROOM;
    std::optional<std::vector<DeviceRect>> rects = damage(room, false, false);
    ASSERT_TRUE(rects.has_value());
    EXPECT_TRUE(covers(*rects, 125, 100));
    EXPECT_TRUE(covers(*rects, 825, 800));
    EXPECT_FALSE(covers(*rects, 425, 800));

    // The group selected, then dragged: its members leave the picture under the drag.
    Drawing selected;
    selected.unit.CopyFrom(before.unit);
    selected.selection.AddGroupId(gid);
    rects = damage(selected, false, true);
    ASSERT_TRUE(rects.has_value());
    EXPECT_TRUE(covers(*rects, 125, 100));
    EXPECT_TRUE(covers(*rects, 825, 800));
    EXPECT_FALSE(covers(*rects, 425, 800));
}

TEST(Damage, TooMuchOrUnknownIsEverything)
{
    const CPlotInfo plot;
    Drawing before;
    for (int i = 0; i < 50; ++i) before.line(i * 10, 0, i * 10 + 5, 5);
    Drawing moved;
    moved.unit.CopyFrom(before.unit);
    moved.unit.m_Lines.ForEachMutable([](CKovLine& f) { f.MLinePnt[0].x += 1; });
    EXPECT_FALSE(DamagedRects(PaintedDrawing{before.unit, before.selection}, PaintedDrawing{moved.unit, moved.selection},
                              pixels(), plot, {0, 0, 1000, 1000}, {.maxObjects = 20})
                     .has_value());
    Drawing nan;
    nan.unit.CopyFrom(before.unit);
    nan.unit.m_Lines[3]->MLinePnt[1].y = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(DamagedRects(PaintedDrawing{before.unit, before.selection}, PaintedDrawing{nan.unit, nan.selection},
                              pixels(), plot, {0, 0, 1000, 1000})
                     .has_value());
}

TEST(Damage, MergedRectanglesCoverAllWithoutOverlapping)
{
    struct Case {
        const char* name;
        std::vector<DeviceRect> rects;
        int maxRects;
    } cases[] = {
        {"far apart", {{0, 0, 10, 10}, {500, 500, 520, 510}}, 4},
        {"overlapping", {{0, 0, 100, 100}, {50, 50, 150, 150}, {120, 0, 200, 60}}, 4},
        {"many small", {}, 3},
        {"one", {{3, 4, 5, 6}}, 1},
    };
    for (int i = 0; i < 40; ++i) cases[2].rects.push_back({i * 37 % 900, i * 53 % 700, i * 37 % 900 + 12, i * 53 % 700 + 9});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<DeviceRect> merged = MergedRects(c.rects, c.maxRects);
        EXPECT_LE(static_cast<int>(merged.size()), c.maxRects);
        for (const DeviceRect& r : c.rects)
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) ASSERT_TRUE(covers(merged, x, y)) << x << "," << y;
        for (std::size_t i = 0; i < merged.size(); ++i)
            for (std::size_t j = i + 1; j < merged.size(); ++j) {
                const DeviceRect& p = merged[i];
                const DeviceRect& q = merged[j];
                EXPECT_FALSE(p.left < q.right && q.left < p.right && p.top < q.bottom && q.top < p.bottom);
            }
    }
}
