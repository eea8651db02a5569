// Scripted sessions of the tool machine on a real document: walls joined in L, T and cross, rooms,
// every figure kind, undo and redo, the right button, Enter, Esc, double clicks and drags.

#include "ToolHarness.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "tools/ToolTexts.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using kov::test::MK_CONTROL;
using kov::test::MK_SHIFT;
using kov::test::ToolHarness;
using kov::tools::ToolKey;

std::string outline(const CKovWall& w)
{
    std::ostringstream s;
    for (std::size_t i = 0; i < w.MWallarPntA.size(); ++i)
        s << '(' << w.MWallarPntA[i].x << ',' << w.MWallarPntA[i].y << ")-(" << w.MWallarPntB[i].x << ','
          << w.MWallarPntB[i].y << ") ";
    return s.str();
}

std::string walls(const CKovUnit& unit)
{
    std::ostringstream s;
    for (const auto& w : unit.m_Walls)
        s << w->MWallPntA.x << ',' << w->MWallPntA.y << '>' << w->MWallPntB.x << ',' << w->MWallPntB.y << ": "
          << outline(*w) << '\n';
    return s.str();
}

// What the drawing holds, to compare before and after undo and redo.
std::string fingerprint(const CKovUnit& unit)
{
    std::ostringstream s;
    s << walls(unit);
    for (const auto& l : unit.m_Lines) {
        s << 'L' << l->MLineID << ':' << l->MLineType;
        for (const CDbPoint& p : l->MLinePnt) s << ' ' << p.x << ',' << p.y;
        s << '\n';
    }
    for (const auto& g : unit.m_Groups) s << 'G' << g->MGrpID << ':' << g->MGrpRoom << '\n';
    for (const auto& t : unit.m_Texts) s << 'T' << t->MTextID << ':' << t->MTextstr << '\n';
    return s.str();
}

using Segment = std::pair<CDbPoint, CDbPoint>;

TEST(ToolSessions, WallsDrawnByMouseAreJoined)
{
    struct Case {
        const char* name;
        std::vector<Segment> segments;
    };
    const Case cases[] = {
        {"L", {{{0, 0}, {3640, 0}}, {{3640, 0}, {3640, 2730}}}},
        {"T", {{{0, 0}, {3640, 0}}, {{1820, 0}, {1820, 2730}}}},
        {"cross", {{{0, 1820}, {3640, 1820}}, {{1820, 0}, {1820, 3640}}}},
        {"square", {{{0, 0}, {3640, 0}}, {{3640, 0}, {3640, 2730}}, {{3640, 2730}, {0, 2730}}, {{0, 2730}, {0, 0}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolHarness h;
        const std::size_t depth = h.undoDepth();
        ASSERT_TRUE(h.start(1));
        for (const auto& [a, b] : c.segments) {
            h.click(a);
            h.click(b);
            // Walls are not chained: every wall takes two clicks, the new one shows selected.
            EXPECT_TRUE(h.m.m_ToolPoints.empty());
            ASSERT_EQ(h.sel().m_Walls.size(), 1u);
        }
        // The same walls made and joined directly.
        CKovUnit expected;
        for (const auto& [a, b] : c.segments)
            expected.ResetWallOutline(expected.AddWall(a, b, 50, h.rig.doc->m_PlotInfo));
        expected.JoinWalls(0);
        EXPECT_EQ(walls(h.unit()), walls(expected));
        EXPECT_EQ(h.undoDepth(), depth + c.segments.size());
        EXPECT_EQ(h.m.ToolMode(), 1);
    }
    // The L's inner faces stop at each other; the outer faces meet at the outer corner.
    ToolHarness h;
    h.start(1);
    for (CDbPoint p : {CDbPoint{0, 0}, CDbPoint{3640, 0}, CDbPoint{3640, 0}, CDbPoint{3640, 2730}})
        h.click(p);
    EXPECT_EQ(outline(*h.unit().m_Walls[0]), "(-50,-50)-(-50,50) (-50,50)-(3590,50) (3690,50)-(3690,-50) "
                                             "(3690,-50)-(-50,-50) ");
    EXPECT_EQ(outline(*h.unit().m_Walls[1]), "(3590,50)-(3590,2780) (3590,2780)-(3690,2780) "
                                             "(3690,2780)-(3690,-50) (3690,-50)-(3590,-50) ");
}

TEST(ToolSessions, AWallOfNoLengthLeavesNothing)
{
    ToolHarness h;
    h.start(1);
    const std::size_t depth = h.undoDepth();
    h.click({910, 910});
    h.click({910, 910});
    EXPECT_TRUE(h.unit().m_Walls.empty());
    EXPECT_EQ(h.undoDepth(), depth);
    EXPECT_FALSE(h.rig.doc->CanRedo());
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
}

TEST(ToolSessions, RectangleRooms)
{
    struct Case {
        const char* name;
        CDbPoint a, b;
        int fixedSize;     // -1: the panel's fixed size off
        std::size_t wallCount;
        CDbPoint corner;   // the room's opposite corner
    };
    const Case cases[] = {
        {"free", {0, 0}, {3640, 2730}, -1, 4, {3640, 2730}},
        {"six mats snap", {0, 0}, {2730, 3185}, 2, 4, {2730, 3640}},
        {"four and a half mats", {0, 0}, {-2275, 2275}, 1, 4, {-2730, 2730}},
        {"zero side", {0, 0}, {0, 2730}, -1, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolHarness h;
        h.start(10);
        if (c.fixedSize >= 0) {
            h.m.m_bRoomFixedSize = 1;
            h.m.m_nRoomSizeIndex = c.fixedSize;
        }
        const std::size_t depth = h.undoDepth();
        h.click(c.a);
        h.click(c.b);
        EXPECT_TRUE(h.m.m_ToolPoints.empty());
        ASSERT_EQ(h.unit().m_Walls.size(), c.wallCount);
        if (c.wallCount == 0) {
            EXPECT_EQ(h.undoDepth(), depth);
            continue;
        }
        EXPECT_EQ(h.undoDepth(), depth + 1);
        ASSERT_EQ(h.unit().m_Groups.size(), 1u);
        EXPECT_EQ(h.unit().m_Groups[0]->MGrpRoom, CKovGroup::ROOM);
        EXPECT_EQ(h.unit().m_Groups[0]->MGrpWallID.size(), 4u);
        double maxX = -1e9, maxY = -1e9, minX = 1e9, minY = 1e9;
        for (const auto& w : h.unit().m_Walls) {
            maxX = std::max({maxX, w->MWallPntA.x, w->MWallPntB.x});
            maxY = std::max({maxY, w->MWallPntA.y, w->MWallPntB.y});
            minX = std::min({minX, w->MWallPntA.x, w->MWallPntB.x});
            minY = std::min({minY, w->MWallPntA.y, w->MWallPntB.y});
        }
        EXPECT_EQ(std::abs(maxX - minX), std::abs(c.corner.x - c.a.x));
        EXPECT_EQ(std::abs(maxY - minY), std::abs(c.corner.y - c.a.y));
        EXPECT_EQ(h.sel().m_Groups.size(), 1u);
        EXPECT_EQ(h.m.ToolMode(), 10);
    }
}

TEST(ToolSessions, PolygonRoomClosesOnItsStart)
{
    ToolHarness h;
    h.start(11);
    const std::size_t depth = h.undoDepth();
    // With two points a click on the start is no closing and is not collected.
    h.click({0, 0});
    h.click({3640, 0});
    h.click({0, 0});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 2u);
    EXPECT_TRUE(h.unit().m_Walls.empty());
    // An L-shaped room of six corners.
    for (CDbPoint p : {CDbPoint{3640, 1820}, CDbPoint{1820, 1820}, CDbPoint{1820, 3640}, CDbPoint{0, 3640}})
        h.click(p);
    EXPECT_EQ(h.m.m_ToolPoints.size(), 6u);
    // The right button drops the last corner; clicked again it comes back.
    h.rclick({0, 3640});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 5u);
    EXPECT_EQ(h.m.ToolMode(), 11);
    // The dropped corner is still the last click: clicking it again is the same point, ignored.
    h.click({0, 3640});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 5u);
    h.click({910, 3640});
    h.click({0, 3640});
    h.click({0, 0});
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    EXPECT_EQ(h.unit().m_Walls.size(), 7u);
    ASSERT_EQ(h.unit().m_Groups.size(), 1u);
    EXPECT_EQ(h.unit().m_Groups[0]->MGrpRoom, CKovGroup::ROOM);
    EXPECT_EQ(h.undoDepth(), depth + 1);
}

TEST(ToolSessions, EveryFigureKind)
{
    struct Case {
        int tool;
        std::vector<CDbPoint> clicks;
        bool doubleClickLast;
        int kind;              // the kind of the newest figure
        bool selectedAsGroup;
        int selected = 1;
    };
    const Case cases[] = {
        {3, {{0, 0}, {3640, 910}}, false, CKovLine::LINE, false},
        {4, {{0, 0}, {3640, 910}}, false, CKovLine::RECTANGLE, false},
        {6, {{0, 0}, {1820, 0}}, false, CKovLine::CIRCLE, false},
        {7, {{0, 0}, {1820, 0}, {0, 1820}}, false, CKovLine::ARC, false},
        // The dimension becomes its text and three lines (its value asked and kept as measured).
        {9, {{0, 0}, {3640, 0}, {1820, 910}}, false, CKovLine::LINE, false, 4},
        {5, {{0, 0}, {3640, 0}, {3640, 2730}, {0, 0}}, false, CKovLine::POLYGON, false},
        {26, {{0, 0}, {1820, 0}, {1820, 1820}, {3640, 1820}}, true, CKovLine::CONTINUOUS, false},
        {30, {{0, 0}, {1820, 910}, {3640, 0}, {5460, 910}}, true, CKovLine::CONTINUOUS, false},
        {31, {{0, 0}, {1820, 910}, {3640, 0}, {5460, 910}}, true, CKovLine::CONTINUOUS, false},
        {28, {{0, 0}, {1820, 0}, {0, 910}}, false, CKovLine::CIRCLE, false},
        {29, {{0, 0}, {1820, 0}, {0, 910}, {1820, 0}, {0, -910}}, false, CKovLine::ARC, false},
        {25, {{0, 0}, {3640, 0}, {1820, 910}}, false, CKovLine::ARC, false},
        {50, {{0, 0}, {3640, 0}}, false, CKovLine::LINE, false, 2}, // the two sides over the base
        {51, {{1820, 1820}}, false, CKovLine::RECTANGLE, false},
        {62, {{0, 0}, {3640, 2730}, {455, 455}}, false, CKovLine::POLYGON, true},
        {58, {{0, 0}, {3640, 1820}}, false, CKovLine::CONTINUOUS, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "tool " << c.tool);
        ToolHarness h;
        h.host.triangleAnswers.push_back(std::array<int, 2>{3000, 2000});
        h.host.rectAnswers.push_back(std::array<double, 4>{910, 910, 455, 455});
        h.host.stringAnswers.push_back(std::nullopt);
        ASSERT_TRUE(h.start(c.tool));
        const std::size_t depth = h.undoDepth();
        for (std::size_t i = 0; i < c.clicks.size(); ++i) {
            if (c.tool == 58 && i == 1)
                h.move({1820, 910});
            if (c.doubleClickLast && i + 1 == c.clicks.size())
                h.dblclick(c.clicks[i]);
            else
                h.click(c.clicks[i]);
        }
        ASSERT_FALSE(h.unit().m_Lines.empty());
        const CKovLine& newest = *h.unit().m_Lines[h.unit().m_Lines.GetSize() - 1];
        EXPECT_EQ(newest.MLineType, c.kind);
        EXPECT_TRUE(h.m.m_ToolPoints.empty());
        EXPECT_EQ(h.sel().m_nCount, c.selected);
        if (c.selectedAsGroup)
            EXPECT_EQ(h.sel().m_Groups.size(), 1u);
        else
            EXPECT_EQ(h.sel().m_Lines.size() + h.sel().m_Texts.size(), static_cast<std::size_t>(c.selected));
        // Each figure is one undo step.
        EXPECT_EQ(h.undoDepth(), depth + 1);
        EXPECT_TRUE(h.rig.doc->Undo());
        EXPECT_TRUE(h.unit().m_Lines.empty());
        EXPECT_TRUE(h.unit().m_Texts.empty());
        // Every tool but the triangle stays for the next figure.
        EXPECT_EQ(h.m.ToolMode(), c.tool == 50 ? 0 : c.tool);
    }
}

TEST(ToolSessions, LineNeedsTwoSeparateClicks)
{
    ToolHarness h;
    h.start(3);
    // The second press of a double click is no click: it only moves the last point.
    h.dblclick({0, 0});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    EXPECT_TRUE(h.unit().m_Lines.empty());
    h.click({1820, 0});
    EXPECT_EQ(h.unit().m_Lines.size(), 1u);
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    // The third click starts a new line; a click on the same point is collected, not drawn.
    h.click({1820, 910});
    h.click({1820, 910});
    EXPECT_EQ(h.unit().m_Lines.size(), 1u);
    EXPECT_EQ(h.m.m_ToolPoints.size(), 2u);
}

TEST(ToolSessions, UndoAndRedoRestoreDrawingAndStacks)
{
    ToolHarness h;
    h.start(3);
    std::vector<std::string> states{fingerprint(h.unit())};
    for (int i = 1; i <= 3; ++i) {
        h.click({0, 910.0 * i});
        h.click({3640, 910.0 * i});
        states.push_back(fingerprint(h.unit()));
    }
    const std::size_t undoBefore = h.undoDepth();
    h.m.m_ToolPoints = {{1, 1}};
    struct Step {
        int command;
        std::size_t state;     // index into states
        std::size_t undo, redo;
    };
    const Step steps[] = {
        {kov::tools::kCmdUndo, 2, undoBefore - 1, 1}, {kov::tools::kCmdUndo, 1, undoBefore - 2, 2},
        {kov::tools::kCmdUndo, 0, undoBefore - 3, 3}, {kov::tools::kCmdUndo, 0, undoBefore - 3, 3},
        {kov::tools::kCmdRedo, 1, undoBefore - 2, 2}, {kov::tools::kCmdRedo, 2, undoBefore - 1, 1},
        {kov::tools::kCmdRedo, 3, undoBefore, 0},     {kov::tools::kCmdRedo, 3, undoBefore, 0},
    };
    for (const Step& s : steps) {
        EXPECT_TRUE(h.m.OnCommand(s.command));
        EXPECT_EQ(fingerprint(h.unit()), states[s.state]);
        EXPECT_EQ(h.undoDepth(), s.undo);
        EXPECT_EQ(h.rig.doc->m_RedoStack.size(), s.redo);
    }
    // Undo leaves the tool and its points alone.
    EXPECT_EQ(h.m.ToolMode(), 3);
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    // While placing, undo does nothing.
    h.m.m_bPlacing = 1;
    h.m.OnCommand(kov::tools::kCmdUndo);
    EXPECT_EQ(fingerprint(h.unit()), states[3]);
}

TEST(ToolSessions, RightButtonEscAndEnter)
{
    {
        // Polygon with three points: the right button drops one and the tool stays.
        ToolHarness h;
        h.start(5);
        for (CDbPoint p : {CDbPoint{0, 0}, CDbPoint{1820, 0}, CDbPoint{1820, 1820}})
            h.click(p);
        h.rclick({0, 0});
        EXPECT_EQ(h.m.m_ToolPoints.size(), 2u);
        EXPECT_EQ(h.m.ToolMode(), 5);
        h.key(ToolKey::Escape);
        EXPECT_TRUE(h.m.m_ToolPoints.empty());
        EXPECT_EQ(h.m.ToolMode(), 5);
    }
    {
        // A tool that ends: the right button returns to select mode.
        ToolHarness h;
        h.start(17);
        h.rclick({0, 0});
        EXPECT_EQ(h.m.ToolMode(), 0);
        EXPECT_EQ(h.host.prompt, "選択モード");
    }
    {
        // Enter clicks where the pointer last snapped; in select mode it does nothing.
        ToolHarness h;
        h.key(ToolKey::Enter);
        EXPECT_TRUE(h.unit().m_Lines.empty());
        h.start(3);
        h.move({910, 910});
        h.key(ToolKey::Enter);
        ASSERT_EQ(h.m.m_ToolPoints.size(), 1u);
        EXPECT_EQ(h.m.m_ToolPoints[0], CDbPoint(910, 910));
        // Numeric pad 6 moves the pointer one step right, unsnapped; Enter then draws to there.
        h.key(ToolKey::Pad6);
        h.key(ToolKey::Enter);
        ASSERT_EQ(h.unit().m_Lines.size(), 1u);
        EXPECT_EQ(h.unit().m_Lines[0]->MLinePnt[1], CDbPoint(910 + h.rig.doc->m_PlotInfo.PlotMoveX, 910));
    }
}

TEST(ToolSessions, SelectModeClicksDragsAndDelete)
{
    ToolHarness h;
    const int id = h.rig.addLine(0, 0, 3640, 0);
    h.rig.doc->SettleUndo();
    const std::size_t depth = h.undoDepth();
    // A click on the line selects it; without a move nothing changes and no undo step is left.
    h.click({1820, 0});
    ASSERT_EQ(h.sel().m_Lines.size(), 1u);
    EXPECT_EQ(h.sel().m_Lines[0], id);
    EXPECT_EQ(h.undoDepth(), depth);
    // A two-pixel wobble moves nothing (drag threshold 2).
    h.press({1820, 0});
    const DevicePoint at = h.client({1820, 0});
    h.m.OnMouseMove(kov::test::MK_LBUTTON, {at.x + 2, at.y});
    h.m.OnLButtonUp(0, {at.x + 2, at.y});
    EXPECT_EQ(h.unit().m_Lines[0]->MLinePnt[0], CDbPoint(0, 0));
    EXPECT_EQ(h.undoDepth(), depth);
    // A drag moves it by the snapped offset, as one undo step.
    h.drag({1820, 0}, {1820, 910});
    EXPECT_EQ(h.unit().m_Lines[0]->MLinePnt[0], CDbPoint(0, 910));
    EXPECT_EQ(h.undoDepth(), depth + 1);
    // Ctrl+double click is ignored; a rubber band over empty space selects nothing.
    h.m.OnLButtonDblClk(kov::test::MK_LBUTTON | MK_CONTROL, h.client({5000, 5000}));
    EXPECT_EQ(h.sel().m_nCount, 1);
    h.drag({5460, 5460}, {7280, 7280});
    EXPECT_TRUE(h.sel().IsEmpty());
    // The rubber band around the line selects it; an arrow key moves it by the keyboard step.
    h.drag({-910, 455}, {4550, 1365});
    ASSERT_EQ(h.sel().m_Lines.size(), 1u);
    h.key(ToolKey::Right);
    EXPECT_EQ(h.unit().m_Lines[0]->MLinePnt[0], CDbPoint(h.rig.doc->m_PlotInfo.PlotMoveX, 910));
    EXPECT_EQ(h.undoDepth(), depth + 2);
    // Delete takes one undo step.
    h.key(ToolKey::Delete);
    EXPECT_TRUE(h.unit().m_Lines.empty());
    EXPECT_EQ(h.undoDepth(), depth + 3);
    EXPECT_TRUE(h.rig.doc->Undo());
    EXPECT_EQ(h.unit().m_Lines.size(), 1u);
}

TEST(ToolSessions, DraggedWallsAreJoinedAgain)
{
    ToolHarness h;
    h.start(1);
    for (CDbPoint p : {CDbPoint{0, 0}, CDbPoint{3640, 0}, CDbPoint{1820, -1820}, CDbPoint{1820, -910}})
        h.click(p);
    h.key(ToolKey::S);
    ASSERT_EQ(h.m.ToolMode(), 0);
    // Drag the free-standing wall down onto the first: a T, joined.
    h.click({1820, -1365});
    ASSERT_EQ(h.sel().m_Walls.size(), 1u);
    h.drag({1820, -1365}, {1820, -455});
    CKovUnit expected;
    expected.ResetWallOutline(expected.AddWall({0, 0}, {3640, 0}, 50, h.rig.doc->m_PlotInfo));
    expected.ResetWallOutline(expected.AddWall({1820, -910}, {1820, 0}, 50, h.rig.doc->m_PlotInfo));
    expected.JoinWalls(0);
    EXPECT_EQ(walls(h.unit()), walls(expected));
}

TEST(ToolSessions, RelativeInput)
{
    ToolHarness h;
    h.start(3);
    h.click({0, 0});
    // Shift+click asks for the point; OK takes the entered one.
    h.host.relativeAnswers.push_back(CDbPoint{1234, 567});
    h.click({910, 910}, MK_SHIFT);
    ASSERT_EQ(h.unit().m_Lines.size(), 1u);
    EXPECT_EQ(h.unit().m_Lines[0]->MLinePnt[1], CDbPoint(1234, 567));
    // Cancel is no click: only the last point moves.
    h.host.relativeAnswers.push_back(std::nullopt);
    h.click({910, 910}, MK_SHIFT);
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    EXPECT_EQ(h.m.m_ptLast, CDbPoint(910, 910));
    // With Ctrl also held it is an ordinary click.
    h.click({1820, 1820}, MK_SHIFT | MK_CONTROL);
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
}

} // namespace

namespace {

TEST(ToolSessions, PatternedFiguresBecomeGroupsWithTheirLines)
{
    struct Case {
        int tool;
        std::vector<CDbPoint> clicks;
        int slot;
        int outlineKind;   // member 0 of the group
    };
    const Case cases[] = {
        {4, {{0, 0}, {3640, 2730}}, 1, CKovLine::RECTANGLE},
        {6, {{0, 0}, {1820, 0}}, 3, CKovLine::POLYGON},   // a circle becomes a 24-sided polygon first
        {62, {{0, 0}, {3640, 2730}, {455, 455}}, 1, CKovLine::POLYGON},
        {68, {{0, 0}, {3640, 2730}, {1820, -1820}}, 1, CKovLine::POLYGON}, // a balloon and its tail
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "tool " << c.tool);
        ToolHarness h;
        h.rig.doc->m_PlotInfo.PlotbHach[static_cast<std::size_t>(c.slot)] = 1;
        h.rig.doc->m_PlotInfo.PlotHachT[static_cast<std::size_t>(c.slot)] = 1;
        h.start(c.tool);
        for (CDbPoint p : c.clicks)
            h.click(p);
        ASSERT_EQ(h.sel().m_Groups.size(), 1u);
        EXPECT_EQ(h.sel().m_nCount, 1);
        ASSERT_EQ(h.unit().m_Groups.size(), 1u) << "every hatch line belongs to one group";
        const CKovGroup& g = *h.unit().m_Groups[0];
        ASSERT_GT(g.MGrpLineID.size(), 1u);
        EXPECT_EQ(h.unit().FindLine(g.MGrpLineID[0])->MLineType, c.outlineKind);
        for (const auto& l : h.unit().m_Lines)
            EXPECT_EQ(l->MLineGrpID, g.MGrpID);
        if (c.tool == 6) {
            EXPECT_GE(h.unit().FindLine(g.MGrpLineID[0])->MLinePnt.size(), 24u);
        }
    }
    // With the automatic pattern setting the figure stays one patterned figure.
    ToolHarness h;
    h.m.settings().zukei_moyou_auto = 1;
    h.rig.doc->m_PlotInfo.PlotbHach[1] = 1;
    h.start(4);
    h.click({0, 0});
    h.click({3640, 2730});
    EXPECT_TRUE(h.unit().m_Groups.empty());
    EXPECT_EQ(h.sel().m_Lines.size(), 1u);
}

TEST(ToolSessions, MultiPointLimitsAndArcInsertion)
{
    {
        // The 56th click finishes a continuous line by itself.
        ToolHarness h;
        h.start(26);
        for (int i = 0; i < 56; ++i)
            h.click({455.0 * (i % 8), 455.0 * (i / 8)});
        ASSERT_EQ(h.unit().m_Lines.size(), 1u);
        EXPECT_EQ(h.unit().m_Lines[0]->MLinePnt.size(), 55u);
        EXPECT_TRUE(h.m.m_ToolPoints.empty());
    }
    {
        // An arc through the click adds 23 points between the last two (24 divisions); the mode
        // then switches itself off.
        ToolHarness h;
        h.start(5);
        h.click({0, 0});
        h.click({3640, 0});
        h.m.m_bArcInsert = 1;
        // Three points in a row make no arc: the mode stays on and nothing is added.
        h.click({5460, 0});
        EXPECT_EQ(h.m.m_ToolPoints.size(), 2u);
        EXPECT_EQ(h.m.m_bArcInsert, 1);
        h.click({1820, 1820});
        EXPECT_EQ(h.m.m_ToolPoints.size(), 25u);
        EXPECT_EQ(h.m.m_ToolPoints.back(), CDbPoint(3640, 0));
        EXPECT_EQ(h.m.m_bArcInsert, 0);
        const std::size_t n = h.m.m_ToolPoints.size();
        h.m.m_bArcInsert = 1;
        // The right button drops the last point and the arc mode.
        h.rclick({0, 0});
        EXPECT_EQ(h.m.m_bArcInsert, 0);
        EXPECT_EQ(h.m.m_ToolPoints.size(), n - 1);
    }
}

TEST(ToolSessions, ZoomAndViewCommands)
{
    ToolHarness h;
    const double before = h.transform().scaleX[0];
    // A click zoom by dragging away from the press; the mode ends with the release.
    h.m.OnCommand(kov::tools::kCmdZoomIn);
    EXPECT_EQ(h.host.prompt, "左ドラッグで徐々に拡大");
    const DevicePoint c = h.client({0, 0});
    h.m.OnLButtonDown(kov::test::MK_LBUTTON, c);
    h.m.OnMouseMove(kov::test::MK_LBUTTON, {c.x + 260, c.y});
    h.m.OnLButtonUp(0, {c.x + 260, c.y});
    EXPECT_EQ(h.m.m_nZoomMode, 0);
    EXPECT_GT(h.m.m_Page.m_dZoom, 2.5);
    EXPECT_GT(h.transform().scaleX[0], before * 2.5);
    EXPECT_EQ(h.m.ToolMode(), 0);
    EXPECT_TRUE(h.sel().IsEmpty());
    // Zoom out: two thirds, never below the whole page.
    h.m.m_Page.m_dZoom = 1.2;
    h.m.OnCommand(kov::tools::kCmdZoomOut);
    EXPECT_EQ(h.m.m_Page.m_dZoom, 1.0);
    // The grid and its snap go off and on together.
    h.m.OnCommand(kov::tools::kCmdToggleGrid);
    EXPECT_EQ(h.rig.doc->m_Grid.visible, 0);
    EXPECT_EQ(h.rig.doc->m_Grid.kyutyaku, 0);
    h.m.OnCommand(kov::tools::kCmdToggleGrid);
    EXPECT_EQ(h.rig.doc->m_Grid.kyutyaku, 1);
    // The right button ends a zoom mode and swallows its own release (no context menu).
    h.m.OnCommand(kov::tools::kCmdRangeZoom);
    h.m.OnRButtonDown(kov::test::MK_RBUTTON, c);
    EXPECT_FALSE(h.m.OnRButtonUp(0, c));
    EXPECT_EQ(h.m.m_nZoomMode, 0);
    EXPECT_TRUE(h.m.OnRButtonUp(0, c));
    // A tool start ends the hand tool.
    h.m.OnCommand(kov::tools::kCmdHandTool);
    EXPECT_EQ(h.m.m_bHandTool, 1);
    h.start(3);
    EXPECT_EQ(h.m.m_bHandTool, 0);
}

} // namespace

namespace {

TEST(ToolSessions, CancelledStepsLeaveNoUndoStep)
{
    ToolHarness h;
    h.start(50);
    const std::size_t depth = h.undoDepth();
    h.host.triangleAnswers.push_back(std::nullopt);
    h.click({0, 0});
    h.click({3640, 0});
    EXPECT_TRUE(h.unit().m_Lines.empty());
    EXPECT_EQ(h.undoDepth(), depth);
    // The base point stays; the next click asks again.
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    EXPECT_EQ(h.m.ToolMode(), 50);
    h.host.rectAnswers.push_back(std::nullopt);
    h.start(51);
    h.click({0, 0});
    EXPECT_TRUE(h.unit().m_Lines.empty());
    EXPECT_EQ(h.undoDepth(), depth);
}

} // namespace
