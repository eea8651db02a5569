#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/RecordingSurface.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kov::test;

namespace {

// A drawing, the snapshot taken at the click, and the selection with the grabbed grip.
struct Drag {
    CKovUnit unit;
    CKovUnit snapshot;
    CPlotInfo plot;
    CGrid grid;
    DeviceTransform transform = pixelTransform();
    kov::platform::RecordingSurface surface;
    SelectionRecord selection;
    CKovUnit::DragOptions options;

    Drag() { options.roomLock = 3; }
    void click() { snapshot.CopyFrom(unit); }
    void to(double dx, double dy, int pixelDx = 0)
    {
        const SurfaceTextBoxMeasurer measurer(surface);
        unit.DragSelection(measurer, transform, plot, grid, selection, dx, dy, snapshot, pixelDx, options);
    }
    const CKovUnit& read() const { return unit; }
    ~Drag() { snapshot.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }
};

void grab(SelectionRecord& s, int kind, int index)
{
    s.m_nGripKind = kind;
    s.m_nGripIndex = index;
}

TEST(GripDrags, GroupCornerScalesAndRefusesToTurnOver)
{
    struct Case {
        const char* name;
        int corner;
        double dx, dy;
        int keepAspect;
        CDbPoint min, max;
    } cases[] = {
        {"corner 3 by (500, 0): 1.5 wide", 3, 500, 0, 0, {0, 0}, {1500, 500}},
        {"the same keeping the aspect: unchanged", 3, 500, 0, 1, {0, 0}, {1000, 500}},
        {"corner 1 by (200, 100): the opposite corner stays", 1, 200, 100, 0, {200, 100}, {1000, 500}},
        {"corner 1 across the opposite side: refused", 1, 1000, 0, 0, {0, 0}, {1000, 500}},
        {"corner 1 beyond it: refused", 1, 1500, 0, 0, {0, 0}, {1000, 500}},
        // Factors 2 and 1.5, both 1.5: the opposite corner (minX, maxY) stays at (0, 500).
        {"corner 4 keeping the aspect: the opposite corner stays", 4, 1000, -250, 1, {0, -250}, {1500, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drag d;
        d.options.keepAspect = c.keepAspect;
        addFigure(d.unit, 1, CKovLine::RECTANGLE, {{0, 0}, {0, 500}, {1000, 500}, {1000, 0}}, {}, 5);
        addGroup(d.unit, 5, {1});
        d.selection.AddGroupId(5);
        grab(d.selection, SelectionRecord::GRIP_GROUP_CORNER, c.corner);
        d.click();
        d.to(c.dx, c.dy);
        const CKovGroup& g = *d.read().FindGroup(5);
        EXPECT_EQ(g.MGrpmin, c.min);
        EXPECT_EQ(g.MGrpmax, c.max);
        // Box and members agree.
        const CKovLine& r = *d.read().FindLine(1);
        EXPECT_DOUBLE_EQ(r.MLinePnt[0].x, c.min.x);
        EXPECT_DOUBLE_EQ(r.MLinePnt[2].x, c.max.x);
        EXPECT_DOUBLE_EQ(r.MLinePnt[2].y, c.max.y);
    }
}

TEST(GripDrags, GroupRotationKeepsAxisParallelWallsExact)
{
    Drag d;
    addWall(d.unit, 1, {0, 0}, {1000, 0}, 50, 5);
    addWall(d.unit, 2, {0, 0}, {0, 600}, 50, 5);
    addText(d.unit, 3, {500, 300}, "A", 5);
    addGroup(d.unit, 5, {}, {1, 2}, {3});
    d.selection.AddGroupId(5);
    grab(d.selection, SelectionRecord::GRIP_GROUP_ROTATION, 1);
    d.click();
    const CKovGroup before = *d.read().FindGroup(5);
    // The handle lies half the box width to the right of the minimum corner; the pointer goes
    // straight above the corner: a quarter turn to the left.
    const double r = (before.MGrpmax.x - before.MGrpmin.x) / 2;
    d.to(-r, -r);
    const CKovGroup& g = *d.read().FindGroup(5);
    EXPECT_EQ(g.MGrpKakudo, 90);
    EXPECT_EQ(g.MGrpmin, before.MGrpmin); // the box's minimum corner stays
    const CKovWall& w1 = *d.read().FindWall(1);
    const CKovWall& w2 = *d.read().FindWall(2);
    EXPECT_EQ(w1.MWallPntA.x, w1.MWallPntB.x); // exactly plumb
    EXPECT_EQ(w2.MWallPntA.y, w2.MWallPntB.y); // exactly level
    EXPECT_EQ(d.read().FindText(3)->MTextFontMenu.lfEscapement, 900);

    // 359.6 degrees from the pointer is stored as 359; a drag back to the press point restores all.
    const double a = 359.6 * 3.1415926535 / 180;
    d.to(before.MGrpmin.x + std::cos(a) * r - (before.MGrpmin.x + r), before.MGrpmin.y - std::sin(a) * r - before.MGrpmin.y);
    EXPECT_EQ(d.read().FindGroup(5)->MGrpKakudo, 359);
    d.to(0, 0);
    EXPECT_TRUE(d.read().FindWall(1)->MWallPntB == d.snapshot.FindWall(1)->MWallPntB);
    EXPECT_EQ(d.read().FindText(3)->MTextpnt, d.snapshot.FindText(3)->MTextpnt);
    EXPECT_EQ(d.read().FindGroup(5)->MGrpKakudo, 0);
}

TEST(GripDrags, RoomPolygonVertexMovesBothCopiesOfAClosingPoint)
{
    Drag d;
    addFigure(d.unit, 1, CKovLine::POLYGON, {{0, 0}, {0, 1000}, {1000, 1000}, {1000, 0}, {0, 0}}, {}, 5);
    addWall(d.unit, 2, {0, 0}, {0, 1000}, 50, 5);
    addWall(d.unit, 3, {1000, 0}, {0, 0}, 50, 5);
    addGroup(d.unit, 5, {1}, {2, 3}, {}, CKovGroup::ROOM);
    d.selection.AddGroupId(5);
    grab(d.selection, SelectionRecord::GRIP_ROOM_VERTEX, 0);
    d.click();
    d.to(-100, -200);
    const CKovLine& floor = *d.read().FindLine(1);
    EXPECT_EQ(floor.MLinePnt.front(), (CDbPoint{-100, -200}));
    EXPECT_EQ(floor.MLinePnt.back(), (CDbPoint{-100, -200}));
    // The walls that met at the vertex follow it; the box grows to hold them.
    EXPECT_EQ(d.read().FindWall(2)->MWallPntA, (CDbPoint{-100, -200}));
    EXPECT_EQ(d.read().FindGroup(5)->MGrpmin, (CDbPoint{-100, -200}));
}

TEST(GripDrags, FigureVertices)
{
    {
        SCOPED_TRACE("a rectangle stays axis-aligned");
        Drag d;
        addFigure(d.unit, 1, CKovLine::RECTANGLE, {{0, 0}, {0, 500}, {1000, 500}, {1000, 0}});
        d.selection.AddLineId(1);
        grab(d.selection, SelectionRecord::GRIP_FIGURE_VERTEX, 2);
        d.click();
        d.to(100, 50);
        EXPECT_EQ(d.read().FindLine(1)->MLinePnt, (CDbPointArray{{0, 0}, {0, 550}, {1100, 550}, {1100, 0}}));
    }
    {
        SCOPED_TRACE("a vertex landing on another is refused");
        Drag d;
        addFigure(d.unit, 1, CKovLine::LINE, {{0, 0}, {100, 0}});
        d.selection.AddLineId(1);
        grab(d.selection, SelectionRecord::GRIP_FIGURE_VERTEX, 1);
        d.click();
        d.to(10, 10);
        d.to(-100, 0);
        EXPECT_EQ(d.read().FindLine(1)->MLinePnt[1], (CDbPoint{110, 10}));
    }
    {
        SCOPED_TRACE("a circle passes through the pointer");
        Drag d;
        addFigure(d.unit, 1, CKovLine::CIRCLE, {{0, 0}, {100, 0}}, {100});
        d.selection.AddLineId(1);
        grab(d.selection, SelectionRecord::GRIP_FIGURE_VERTEX, 1);
        d.click();
        d.to(50, 0);
        EXPECT_DOUBLE_EQ(d.read().FindLine(1)->MLineParam[0], 150);
    }
    {
        SCOPED_TRACE("an arc end level with the centre, the other end on its side, stays");
        Drag d;
        addFigure(d.unit, 1, CKovLine::ARC, {{0, 0}, {100, -1}, {0, -100}}, {100});
        d.selection.AddLineId(1);
        grab(d.selection, SelectionRecord::GRIP_FIGURE_VERTEX, 2);
        d.click();
        d.to(50, 100); // end (50, 0): level with the centre, the start is on the same side
        EXPECT_EQ(d.read().FindLine(1)->MLinePnt[2], (CDbPoint{50, 0}));
        d.to(-50, 100); // (-50, 0): the start lies on the far side, so it goes onto the circle
        EXPECT_EQ(d.read().FindLine(1)->MLinePnt[2], (CDbPoint{-100, 0}));
    }
}

TEST(GripDrags, TextSizeAndRotation)
{
    Drag d;
    CKovText& text = addText(d.unit, 1, {0, 0}, "ABCD");
    text.MTextFontMenu.m_size = 10;
    text.MTextFontMenu.lfHeight = 40;
    d.selection.AddTextId(1);
    const SurfaceTextBoxMeasurer measurer(d.surface);
    const DeviceRect box = measurer.TextBoxSize(0, 0, "ABCD", text.MTextFontMenu, 1.0);
    const int w = box.right - box.left;
    grab(d.selection, SelectionRecord::GRIP_TEXT_CORNER, 3);
    d.click();
    d.to(0, 0, w / 5); // a fifth of the box wider
    EXPECT_NEAR(d.read().FindText(1)->MTextFontMenu.m_size, 10 * (1 + double(w / 5) / w), 1e-9);
    const double grown = d.read().FindText(1)->MTextFontMenu.m_size;
    // A step that would leave no height is refused: the text keeps the step before.
    d.to(0, 0, -w);
    EXPECT_EQ(d.read().FindText(1)->MTextFontMenu.m_size, grown);
    d.to(0, 0, -2 * w);
    EXPECT_EQ(d.read().FindText(1)->MTextFontMenu.m_size, grown);
    EXPECT_GT(d.read().FindText(1)->MTextFontMenu.lfHeight, 0);

    grab(d.selection, SelectionRecord::GRIP_TEXT_ROTATION, 1);
    d.click();
    // The pointer from the end of the first line straight up: 90 degrees.
    const DeviceRect now = measurer.TextBoxSize(0, 0, "ABCD", d.read().FindText(1)->MTextFontMenu, 1.0);
    const int wNow = now.right - now.left;
    d.to(-wNow, -wNow);
    EXPECT_EQ(d.read().FindText(1)->MTextFontMenu.lfEscapement, 900);
}

TEST(GripDrags, WallEndKeepsTheFirstThicknessAndNeverCollapses)
{
    Drag d;
    CKovWall& wall = addWall(d.unit, 1, {0, 0}, {1000, 0});
    wall.MWallWide2 = 80;
    d.selection.AddWallId(1);
    grab(d.selection, SelectionRecord::GRIP_WALL_END, 1);
    d.click();
    // End A dragged past end B: the corner rule swaps the ends, and the next step still starts
    // from the wall as it was at the click.
    d.to(1500, 0);
    d.to(500, 0);
    const CKovWall& w = *d.read().FindWall(1);
    EXPECT_EQ(w.MWallPntA, (CDbPoint{500, 0}));
    EXPECT_EQ(w.MWallPntB, (CDbPoint{1000, 0}));
    EXPECT_EQ(w.MWallWide2, 80);
    EXPECT_EQ(w.MWallPntKado[0], (CDbPoint{450, -50}));
    // Onto end B: refused, the step before stays.
    d.to(1000, 0);
    EXPECT_EQ(d.read().FindWall(1)->MWallPntA, (CDbPoint{500, 0}));
}

TEST(GripDrags, RoomLock)
{
    struct Case {
        const char* name;
        int lock, gridSnap, lineSnap;
        bool roomMoves;
    } cases[] = {
        {"always locked", 1, 1, 0, false},
        {"locked while the grid snap is off", 2, 0, 0, false},
        {"moves with the grid snap on and the line snap off", 2, 1, 0, true},
        {"locked again with the line snap on", 2, 1, 1, false},
        {"never locked", 3, 0, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drag d;
        d.options.roomLock = c.lock;
        d.grid.kyutyaku = c.gridSnap;
        d.plot.PlotLinePita = c.lineSnap;
        addWall(d.unit, 1, {0, 0}, {1000, 0}, 50, 5);
        addGroup(d.unit, 5, {}, {1}, {}, CKovGroup::ROOM);
        addWall(d.unit, 2, {0, 500}, {1000, 500});
        addFigure(d.unit, 3, CKovLine::LINE, {{0, 900}, {100, 900}});
        d.selection.AddGroupId(5);
        d.selection.AddWallId(2);
        d.selection.AddLineId(3);
        d.click();
        d.to(10, 20);
        EXPECT_EQ(d.read().FindWall(1)->MWallPntA.x == 10, c.roomMoves);
        EXPECT_EQ(d.read().FindWall(2)->MWallPntA.x == 10, c.roomMoves);
        EXPECT_EQ(d.read().FindLine(3)->MLinePnt[0], (CDbPoint{10, 920})); // the line always moves
        EXPECT_EQ(d.selection.m_nCount, 3);                                 // the selection is untouched
    }
}

TEST(GripDrags, ALockedRoomGrabbedByItsCornerDoesNotMove)
{
    Drag d;
    d.options.roomLock = 1;
    addWall(d.unit, 1, {0, 0}, {1000, 0}, 50, 5);
    addWall(d.unit, 2, {0, 0}, {0, 500}, 50, 5);
    addGroup(d.unit, 5, {}, {1, 2}, {}, CKovGroup::ROOM);
    d.selection.AddGroupId(5);
    grab(d.selection, SelectionRecord::GRIP_GROUP_CORNER, 3);
    d.click();
    d.to(300, 300);
    EXPECT_EQ(d.read().FindWall(1)->MWallPntB, (CDbPoint{1000, 0}));
    EXPECT_TRUE(d.read().SharesAllWith(d.snapshot));
}

TEST(GripDrags, ObjectsAreRestoredFromTheirOwnCopyWhenTheArraysNoLongerMatch)
{
    Drag d;
    addFigure(d.unit, 1, CKovLine::LINE, {{0, 0}, {100, 0}});
    addFigure(d.unit, 2, CKovLine::LINE, {{0, 500}, {100, 500}});
    d.click();
    // A figure went between the click and the drag: figure 2 now sits where figure 1 was.
    d.unit.DeleteLine(1);
    d.selection.AddLineId(2);
    d.to(10, 0);
    EXPECT_EQ(d.read().FindLine(2)->MLinePnt, (CDbPointArray{{10, 500}, {110, 500}}));
    // A figure the snapshot never had is left alone.
    addFigure(d.unit, 3, CKovLine::LINE, {{0, 900}, {100, 900}});
    d.selection.AddLineId(3);
    d.to(20, 0);
    EXPECT_EQ(d.read().FindLine(3)->MLinePnt[0], (CDbPoint{0, 900}));
}

} // namespace
