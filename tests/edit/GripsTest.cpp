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

constexpr int kClick = 1;
constexpr int kCtrl = 9;

// One pixel per millimetre: device points are the drawing points.
struct Grips {
    CKovUnit unit;
    CPlotInfo plot;
    DeviceTransform transform = pixelTransform();
    kov::platform::RecordingSurface surface;
    SelectionRecord selection;

    int hit(double x, double y, int gripsOn = 1, int flags = kClick)
    {
        const SurfaceTextBoxMeasurer measurer(surface);
        return unit.HitTestGrips(measurer, plot, selection, x, y, transform, flags, gripsOn);
    }
};

struct Grab {
    int result, kind, index;
};

void expectGrab(const Grips& g, int result, const Grab& want)
{
    EXPECT_EQ(result, want.result);
    EXPECT_EQ(g.selection.m_nGripKind, want.kind);
    EXPECT_EQ(g.selection.m_nGripIndex, want.index);
}

TEST(Grips, OneSelectedObjectShowsItsGrips)
{
    struct Case {
        const char* name;
        double x, y;
        int gripsOn;
        Grab want;
    } cases[] = {
        // The line (100,100)-(105,100): both ends lie within 8 pixels of the click.
        {"the later of two vertices under the click", 103, 100, 1, {1, SelectionRecord::GRIP_FIGURE_VERTEX, 1}},
        {"a vertex 8 px off on both axes (inclusive)", 92, 108, 1, {1, SelectionRecord::GRIP_FIGURE_VERTEX, 0}},
        {"switch off: the selection is kept, no grip", 100, 100, 0, {1, 0, 0}},
        {"beside the line: nothing", 150, 150, 1, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grips g;
        addFigure(g.unit, 1, CKovLine::LINE, {{100, 100}, {105, 100}});
        g.selection.AddLineId(1);
        expectGrab(g, g.hit(c.x, c.y, c.gripsOn), c.want);
    }
}

TEST(Grips, CircleRimIsHitOnlyNearTheRim)
{
    struct Case {
        const char* name;
        double x, y;
        bool hit;
    } cases[] = {
        {"on the rim to the right", 600, 500, true},
        {"on the rim below", 500, 600, true},
        {"8 px outside the rim", 608, 500, true},
        {"9 px outside the rim", 609, 500, false},
        // 46 px outside the rim, where the square-root rule of the rim test would still report a hit.
        {"far to the side of the rim", 625, 575, false},
        {"at the centre", 500, 500, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grips g;
        addFigure(g.unit, 1, CKovLine::CIRCLE, {{500, 500}}, {100});
        g.selection.AddLineId(1);
        const int result = g.hit(c.x, c.y);
        EXPECT_EQ(g.selection.m_nGripKind == SelectionRecord::GRIP_FIGURE_VERTEX, c.hit);
        const CKovLine& circle = *std::as_const(g.unit).FindLine(1);
        if (c.hit) {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(g.selection.m_nGripIndex, 1);
            // The grabbed point is where the drag measures the radius from.
            ASSERT_EQ(circle.MLinePnt.size(), 2u);
            EXPECT_EQ(circle.MLinePnt[1], (CDbPoint{c.x, c.y}));
        } else {
            EXPECT_EQ(circle.MLinePnt.size(), 1u);
        }
    }
}

TEST(Grips, EllipseRimFollowsItsShape)
{
    Grips g;
    addFigure(g.unit, 1, CKovLine::CIRCLE, {{500, 500}}, {200, 0.5}); // 200 wide, 100 high
    g.selection.AddLineId(1);
    g.hit(500, 600);
    EXPECT_EQ(g.selection.m_nGripKind, SelectionRecord::GRIP_FIGURE_VERTEX);
    g.selection.m_nGripKind = 0;
    g.hit(500, 700); // where a circle of the x radius would be
    EXPECT_EQ(g.selection.m_nGripKind, 0);
}

TEST(Grips, GroupWallTextAndPictureGrips)
{
    Grips g;
    addFigure(g.unit, 1, CKovLine::LINE, {{100, 100}, {300, 200}}, {}, 5);
    CKovGroup& group = addGroup(g.unit, 5, {1});
    group.MGrpKakudo = 90;
    addWall(g.unit, 7, {1000, 0}, {1000, 400});
    addText(g.unit, 9, {2000, 2000}, "ABCDEFGH").MTextHuchiFlg = 1;
    auto picture = std::make_unique<CKovImage>();
    picture->ImageID = 3;
    picture->m_rcDrawn = {3000, 3000, 3100, 3050};
    g.unit.m_Images.Add(std::move(picture));

    struct Case {
        const char* name;
        void (*select)(SelectionRecord&);
        double x, y;
        Grab want;
    } cases[] = {
        {"group corner 3", [](SelectionRecord& s) { s.AddGroupId(5); }, 300, 200, {1, 1, 3}},
        {"group corner 2", [](SelectionRecord& s) { s.AddGroupId(5); }, 100, 200, {1, 1, 2}},
        // Half the box width (100) from the minimum corner along 90 degrees: straight up on the screen.
        {"group rotation handle", [](SelectionRecord& s) { s.AddGroupId(5); }, 100, 0, {1, 9, 1}},
        {"wall end B", [](SelectionRecord& s) { s.AddWallId(7); }, 1003, 405, {1, 3, 2}},
        {"wall end A", [](SelectionRecord& s) { s.AddWallId(7); }, 1000, 0, {1, 3, 1}},
        {"decorated text: a corner", [](SelectionRecord& s) { s.AddTextId(9); }, 2000, 2000, {1, 6, 1}},
        {"picture corner 3", [](SelectionRecord& s) { s.AddImageId(3); }, 3105, 3055, {1, 2, 3}},
        {"picture inside: kept, no grip", [](SelectionRecord& s) { s.AddImageId(3); }, 3050, 3025, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g.selection.Clear();
        c.select(g.selection);
        expectGrab(g, g.hit(c.x, c.y), c.want);
    }
}

TEST(Grips, TextRotationHandleOnlyForPlainTexts)
{
    for (int decorated : {0, 1}) {
        SCOPED_TRACE(decorated);
        Grips g;
        CKovText& text = addText(g.unit, 9, {1000, 1000}, "ABCD");
        text.MTextHuchiFlg = decorated;
        g.selection.AddTextId(9);
        const SurfaceTextBoxMeasurer measurer(g.surface);
        const DeviceRect box = measurer.TextBoxSize(1000, 1000, "ABCD", text.MTextFontMenu, 1.0);
        // Twice the near distance beyond the end of the top edge.
        const int handleX = box.right + 26;
        int index = 0;
        EXPECT_EQ(g.unit.HitTextRotationHandle(measurer, g.plot, 9, handleX, 1000, g.transform, index), decorated ? 0 : 1);
    }
}

TEST(Grips, ClicksOnTheSelectionKeepItOrTakeOneOut)
{
    Grips g;
    addFigure(g.unit, 1, CKovLine::LINE, {{0, 0}, {100, 0}}, {}, 5);
    addFigure(g.unit, 2, CKovLine::LINE, {{0, 50}, {100, 50}}, {}, 5);
    addGroup(g.unit, 5, {1, 2});
    addFigure(g.unit, 3, CKovLine::LINE, {{0, 300}, {100, 300}});
    addFigure(g.unit, 4, CKovLine::LINE, {{0, 500}, {100, 500}});
    g.selection.AddGroupId(5);
    g.selection.AddLineId(3);

    // 10 pixels beyond the end of a selected line: still on the selection.
    EXPECT_EQ(g.hit(110, 300, 0), 1);
    EXPECT_EQ(g.selection.m_nCount, 2);
    // The same beside an unselected line is no click on the selection.
    EXPECT_EQ(g.hit(110, 500, 0), 0);
    // Ctrl on any member of the selected group takes the whole group out.
    EXPECT_EQ(g.hit(50, 50, 0, kCtrl), 1);
    EXPECT_TRUE(g.selection.m_Groups.empty());
    EXPECT_EQ(g.selection.m_nCount, 1);
    EXPECT_EQ(g.selection.m_Lines, std::vector<int>{3});
}

TEST(Grips, ASelectedObjectThatIsGoneEndsTheTest)
{
    Grips g;
    g.selection.AddLineId(42);
    EXPECT_EQ(g.hit(0, 0), 0);
    EXPECT_EQ(g.hit(0, 0, 0), 0);
}

} // namespace
