#include "edit/PickRules.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/RecordingSurface.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kov::test;

namespace {

constexpr int kCtrl = 9;       // left button with Ctrl
constexpr int kCtrlShift = 13; // left button with Ctrl and Shift

struct Picker {
    CKovUnit unit;
    CPlotInfo plot;
    DeviceTransform transform = pixelTransform();
    kov::platform::RecordingSurface surface;
    SelectionRecord selection;

    void click(double x, double y, int flags = 1) { pick(x, y, flags, 0); }
    void doubleClick(double x, double y) { pick(x, y, 1, 1); }
    void pick(double x, double y, int flags, int cycle)
    {
        const SurfaceTextBoxMeasurer measurer(surface);
        unit.PickAtPoint(measurer, selection, plot, x, y, transform, flags, cycle);
    }
};

// What one list of the selection holds, with the count.
struct Picked {
    std::vector<int> groups, walls, lines, texts, images;
};

void expectSelection(const SelectionRecord& s, const Picked& p)
{
    EXPECT_EQ(s.m_Groups, p.groups);
    EXPECT_EQ(s.m_Walls, p.walls);
    EXPECT_EQ(s.m_Lines, p.lines);
    EXPECT_EQ(s.m_Texts, p.texts);
    EXPECT_EQ(s.m_Images, p.images);
    EXPECT_EQ(s.m_nCount,
              int(p.groups.size() + p.walls.size() + p.lines.size() + p.texts.size() + p.images.size()));
}

TEST(Picking, GroupCornerWindowIsInclusiveAndTextAnchorWindowStrict)
{
    struct Case {
        const char* name;
        double x, y;
        Picked expected;
    } cases[] = {
        {"8 px right of and below the box's maximum corner", 208, 208, {{3}, {}, {}, {}, {}}},
        {"9 px away", 209, 208, {}},
        {"8 px up-left of the minimum corner", 92, 92, {{3}, {}, {}, {}, {}}},
        {"7 px up-left of the text anchor", 493, 493, {{}, {}, {}, {5}, {}}},
        {"8 px up-left of the text anchor", 492, 492, {}},
        {"inside the text's box", 515, 503, {{}, {}, {}, {5}, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picker p;
        addFigure(p.unit, 1, CKovLine::LINE, {{100, 100}, {200, 200}}, {}, 3);
        addGroup(p.unit, 3, {1});
        addText(p.unit, 5, {500, 500}, "ABCDEFGH");
        p.click(c.x, c.y);
        expectSelection(p.selection, c.expected);
    }
}

TEST(Picking, TextsAreHitAnywhereInTheirTurnedBox)
{
    // The fixed measure gives 3 pixels per letter and 6 per line here: the box is 78 × 6.
    struct Case {
        const char* name;
        int escapement;
        double x, y;
        bool hit;
    } cases[] = {
        {"near the end of a long line", 0, 576, 503, true},
        {"just past its end", 0, 579, 503, false},
        {"turned upward, near its end", 900, 503, 424, true},
        {"turned upward, where it was before", 900, 560, 503, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picker p;
        addText(p.unit, 5, {500, 500}, "ABCDEFGHIJKLMNOPQRSTUVWXYZ").MTextFontMenu.lfEscapement = c.escapement;
        p.click(c.x, c.y);
        EXPECT_EQ(p.selection.m_Texts, c.hit ? std::vector<int>{5} : std::vector<int>{});
    }
}

TEST(Picking, DoubleClicksStepThroughOverlappingLinesWithoutWrapping)
{
    Picker p;
    for (int id : {4, 7, 9})
        addFigure(p.unit, id, CKovLine::LINE, {{0, 100}, {1000, 100}});
    p.click(500, 103);
    expectSelection(p.selection, {{}, {}, {4}, {}, {}});
    p.doubleClick(500, 103);
    expectSelection(p.selection, {{}, {}, {7}, {}, {}});
    p.doubleClick(500, 103);
    expectSelection(p.selection, {{}, {}, {9}, {}, {}});
    p.doubleClick(500, 103);
    expectSelection(p.selection, {});
}

TEST(Picking, CtrlAddsAndEveryOtherFlagReplaces)
{
    Picker p;
    addFigure(p.unit, 1, CKovLine::LINE, {{0, 100}, {1000, 100}});
    addFigure(p.unit, 2, CKovLine::LINE, {{0, 500}, {1000, 500}});
    addFigure(p.unit, 3, CKovLine::LINE, {{0, 900}, {1000, 900}});
    p.click(500, 100);
    p.click(500, 500, kCtrl);
    expectSelection(p.selection, {{}, {}, {1, 2}, {}, {}});
    p.click(500, 900, kCtrlShift);
    expectSelection(p.selection, {{}, {}, {3}, {}, {}});
    // Ctrl on a double click replaces as well.
    p.click(500, 100, kCtrl);
    p.pick(500, 500, kCtrl, 1);
    expectSelection(p.selection, {{}, {}, {2}, {}, {}});
    // A Ctrl+click on nothing keeps the selection.
    p.click(500, 700, kCtrl);
    expectSelection(p.selection, {{}, {}, {2}, {}, {}});
}

TEST(Picking, RoomOutlinePicksTheRoomAndItsHatchLinesNothing)
{
    Picker p;
    addFigure(p.unit, 1, CKovLine::POLYGON, {{0, 0}, {0, 1000}, {1000, 1000}, {1000, 0}}, {}, 8);
    addFigure(p.unit, 2, CKovLine::LINE, {{0, 500}, {1000, 500}}, {}, 8);
    addGroup(p.unit, 8, {1, 2}, {}, {}, CKovGroup::ROOM);
    p.click(500, 503);
    expectSelection(p.selection, {});
    p.click(1003, 500);
    expectSelection(p.selection, {{8}, {}, {}, {}, {}});
    // The line edits never take a room's lines either.
    SelectionRecord s;
    EXPECT_EQ(p.unit.PickLine(s, p.plot, PickLayers::Current, 500, 503, p.transform, 0, 0, 0), 0);
}

TEST(Picking, NearestFigureWinsAndTiesGoToTheFirstInArrayOrder)
{
    struct Case {
        const char* name;
        double y;
        int expected;
    } cases[] = {
        {"nearer to the second line", 106, 2},
        {"equally near to both", 105, 1},
        {"beyond the radius of both", 100 - 8, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picker p;
        addFigure(p.unit, 1, CKovLine::LINE, {{0, 100}, {1000, 100}});
        addFigure(p.unit, 2, CKovLine::LINE, {{0, 110}, {1000, 110}});
        p.click(500, c.y);
        EXPECT_EQ(p.selection.m_Lines, c.expected ? std::vector<int>{c.expected} : std::vector<int>{});
    }
}

TEST(Picking, OnlyTheCurrentLayerIsPicked)
{
    Picker p;
    addFigure(p.unit, 1, CKovLine::LINE, {{0, 100}, {1000, 100}}, {}, 0, 0, 1);
    addFigure(p.unit, 2, CKovLine::LINE, {{0, 100}, {1000, 100}}, {}, 0, 1, 0);
    p.click(500, 100);
    expectSelection(p.selection, {});
    p.plot.m_Layer.m_nCurrentLayer = 1;
    p.click(500, 100);
    expectSelection(p.selection, {{}, {}, {1}, {}, {}});
}

TEST(Picking, KindsOfObjects)
{
    struct Case {
        const char* name;
        double x, y;
        Picked expected;
    } cases[] = {
        {"circle rim", 300, 1104, {{}, {}, {10}, {}, {}}},
        {"circle centre", 203, 1101, {{}, {}, {10}, {}, {}}},
        {"arc on its sweep", 2000, 905, {{}, {}, {11}, {}, {}}},
        {"arc off its sweep", 2000, 1095, {}},
        {"dimension point inside a group", 3252, 2902, {{}, {}, {12}, {}, {}}},
        {"inside a wall", 5500, 5020, {{}, {6}, {}, {}, {}}},
        {"picture's drawn rectangle widened by the radius", 7008, 7000, {{}, {}, {}, {}, {40}}},
        {"just beyond the picture", 7009, 7000, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picker p;
        addFigure(p.unit, 10, CKovLine::CIRCLE, {{200, 1100}}, {100});
        addFigure(p.unit, 11, CKovLine::ARC, {{2000, 1000}, {2100, 1000}, {1900, 1000}}, {100});
        addFigure(p.unit, 12, CKovLine::DIMENSION, {{3000, 3000}, {3500, 3000}, {3250, 2900}}, {}, 13);
        addGroup(p.unit, 13, {12});
        addWall(p.unit, 6, {5000, 5000}, {6000, 5000});
        auto picture = std::make_unique<CKovImage>();
        picture->ImageID = 40;
        picture->m_rcDrawn = {6900, 6900, 7000, 7000};
        p.unit.m_Images.Add(std::move(picture));
        p.click(c.x, c.y);
        expectSelection(p.selection, c.expected);
    }
}

TEST(PickRules, WindowsAndTies)
{
    ResetPickTolerances();
    using namespace kov::edit;
    EXPECT_EQ(PickRadius(), 8);
    EXPECT_EQ(NearDistance(), 13);
    struct Case {
        int dx, dy;
        bool grip, pick, near;
    } cases[] = {
        {0, 0, true, true, true},   {7, -7, true, true, true},     {8, 0, true, false, true},
        {-8, 8, true, false, true}, {9, 0, false, false, true},    {12, 12, false, false, true},
        {13, 0, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.dx << "," << c.dy);
        EXPECT_EQ(InGripWindow(c.dx, c.dy), c.grip);
        EXPECT_EQ(InPickWindow(c.dx, c.dy), c.pick);
        EXPECT_EQ(InNearWindow(c.dx, c.dy), c.near);
    }
    EXPECT_TRUE(ReplacesBest(3, 4));
    EXPECT_FALSE(ReplacesBest(4, 4));
    EXPECT_TRUE(SkippedByCycle(1, 7, 7));
    EXPECT_FALSE(SkippedByCycle(1, 7, 8));
    EXPECT_FALSE(SkippedByCycle(0, 7, 7));

    // The radii follow the screen: at 192 dpi both double, and so do the windows.
    ResetPickTolerances(192);
    EXPECT_TRUE(InGripWindow(16, 16));
    EXPECT_FALSE(InPickWindow(16, 0));
    ResetPickTolerances();
}

TEST(PickRules, LayerFilter)
{
    CPlotInfo plot;
    plot.m_Layer.m_nCurrentGroup = 1;
    plot.m_Layer.m_nCurrentLayer = 2;
    plot.m_Layer.m_LayerInfo[0][3].m_nType = CLayerInfo::LAYER_VISIBLE;
    plot.m_Layer.m_GrpLayerInfo[4].m_nType = CLayerInfo::LAYER_HIDDEN;
    plot.m_Layer.m_GrpLayerInfo[1].m_nType = CLayerInfo::LAYER_HIDDEN;
    struct Case {
        PickLayers filter;
        int g, l;
        bool passes;
    } cases[] = {
        {PickLayers::Current, 1, 2, true},             {PickLayers::Current, 0, 0, false},
        {PickLayers::SnappableOrCurrent, 0, 0, true},  {PickLayers::SnappableOrCurrent, 0, 3, false},
        {PickLayers::SnappableOrCurrent, 4, 0, false}, {PickLayers::SnappableOrCurrent, 1, 2, true},
        {PickLayers::SnappableOrCurrent, 1, 3, false}, {PickLayers::Every, 4, 0, true},
        {PickLayers::Every, 0, 3, true},               {PickLayers::SnappableOrCurrent, 99, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "filter " << int(c.filter) << " layer " << c.g << "/" << c.l);
        EXPECT_EQ(kov::edit::PassesLayerFilter(plot, c.filter, {c.g, c.l}), c.passes);
    }
}

TEST(PickRules, WindingPolygonKeepsLeftAndTopBordersOnly)
{
    const DevicePoint square[4] = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    struct Case {
        int x, y;
        bool inside;
    } cases[] = {{0, 0, true}, {5, 5, true}, {9, 9, true}, {10, 5, false}, {5, 10, false}, {-1, 5, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(kov::edit::PointInWindingPolygon(square, 4, c.x, c.y), c.inside);
    }
}

} // namespace
