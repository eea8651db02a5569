// The editing tools driven click by click on a real document: the range tools (move, copy, mirrors,
// turns, scale, delete, stretch), the mirror about a line, the attribute pick-up, fitting a picture
// to drawing points, and select mode's grips, drags and room lock.

#include "ToolHarness.h"

#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "support/DrawingText.h"
#include "edit/EditTexts.h"
#include "support/EditFixtures.h"
#include "tools/ToolTexts.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using kov::platform::Answer;
using kov::test::addFigure;
using kov::test::addWall;
using kov::test::DescribeDrawing;
using kov::test::ToolHarness;

constexpr double G = 455; // one grid step: clicks land exactly on multiples of it

const CKovLine& figure(ToolHarness& h, int id) { return *h.unit().FindLine(id); }

TEST(RangeTools, MoveRejoinsTheWallsAndOneUndoTakesEveryMoveBack)
{
    ToolHarness h;
    h.rig.doc->m_PlotInfo.PlotLinePita = 0; // clicks near wall ends would take the outline's corners
    CKovUnit& unit = h.rig.doc->m_Unit;
    addWall(unit, 1, {0, 0}, {8 * G, 0});
    addWall(unit, 2, {20 * G, 0}, {20 * G, 6 * G});
    unit.JoinWalls(0);
    const std::string before = DescribeDrawing(h.unit());
    ASSERT_TRUE(h.start(38));
    EXPECT_EQ(h.host.prompt, "範囲一点目をクリック");
    h.click({18 * G, -2 * G});
    EXPECT_EQ(h.host.prompt, "範囲ニ点目をｸﾘｯｸ");
    h.click({18 * G, 8 * G}); // the same x: no range, passed over
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    h.click({22 * G, 8 * G});
    EXPECT_EQ(h.host.prompt, "移動基準点をｸﾘｯｸ");
    h.click({20 * G, 0});
    EXPECT_EQ(h.host.prompt, "移動目的点をｸﾘｯｸ");
    h.click({8 * G, 0}); // the plumb wall now stands on the end of the level one
    EXPECT_EQ(h.host.prompt, "範囲一点目をｸﾘｯｸ");
    EXPECT_EQ(h.unit().FindWall(2)->MWallPntA, (CDbPoint{8 * G, 0}));
    // Joined at the new place: the level wall's outline is cut where the plumb one meets it.
    CKovUnit fresh;
    fresh.CopyFrom(h.unit());
    fresh.ResetWallOutline(1);
    fresh.ResetWallOutline(2);
    fresh.JoinWalls(0);
    EXPECT_EQ(h.unit().FindWall(1)->MWallarPntA, std::as_const(fresh).FindWall(1)->MWallarPntA);
    fresh.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    EXPECT_EQ(h.m.ToolMode(), 38);
    // A second move in the same tool, then one undo: the drawing as the tool found it.
    h.click({6 * G, -2 * G});
    h.click({10 * G, 8 * G});
    h.click({8 * G, 0});
    h.click({8 * G, 2 * G});
    h.m.OnUndo();
    EXPECT_EQ(DescribeDrawing(h.unit()), before);
}

TEST(RangeTools, EveryFurtherClickPlacesOneMoreCopyEachItsOwnUndoStep)
{
    ToolHarness h;
    const int line = h.rig.addLine(0, 0, 2 * G, 0);
    ASSERT_TRUE(h.start(39));
    h.click({-G, -G});
    h.click({3 * G, G});
    EXPECT_EQ(h.host.prompt, "複写基準点をｸﾘｯｸ");
    h.click({0, 0});
    EXPECT_EQ(h.host.prompt, "複写目的点をｸﾘｯｸ");
    const std::size_t depth = h.undoDepth();
    h.click({0, 4 * G});
    h.click({0, 8 * G});
    ASSERT_EQ(h.unit().m_Lines.GetSize(), 3);
    EXPECT_EQ(h.unit().m_Lines[2]->MLinePnt[0], (CDbPoint{0, 8 * G}));
    EXPECT_EQ(h.undoDepth(), depth + 2);
    h.m.OnUndo();
    EXPECT_EQ(h.unit().m_Lines.GetSize(), 2);
    EXPECT_EQ(figure(h, line).MLinePnt[0], (CDbPoint{0, 0}));
}

TEST(RangeTools, ACopyOutOfIdentifiersSaysWhyAndAddsNothing)
{
    ToolHarness h;
    h.rig.addLine(0, 0, 2 * G, 0);
    h.rig.addLine(0, G, 2 * G, G);
    kov::test::takeIdentifiers(h.rig.doc->m_Unit, kov::model::IdKind::Line, 1);
    const int figures = h.unit().m_Lines.GetSize();
    ASSERT_TRUE(h.start(39));
    h.click({-G, -G});
    h.click({3 * G, 2 * G});
    h.click({0, 0});
    const std::size_t depth = h.undoDepth();
    h.click({0, 4 * G});
    EXPECT_EQ(h.host.messages, (std::vector<std::string>{std::string(kov::edit::texts::kCopyDrawingFull)}));
    EXPECT_EQ(h.unit().m_Lines.GetSize(), figures);
    EXPECT_EQ(h.undoDepth(), depth);
    EXPECT_EQ(h.m.ToolMode(), 39);
}

TEST(RangeTools, ConfirmedToolsEndInSelectModeWhateverTheAnswer)
{
    struct Case {
        int tool;
        const char* question;
        Answer answer;
        CDbPoint start; // of the line afterwards
    } cases[] = {
        {40, "囲った内容を反転してよろしいですか？", Answer::Cancel, {0, 0}},
        {40, "囲った内容を反転してよろしいですか？", Answer::Ok, {4 * G, 0}},
        {41, "囲った内容を上下反転してよろしいですか？", Answer::Ok, {0, 2 * G}},
        {42, "囲った内容を左に90度回転してよろしいですか？", Answer::Ok, {G, 3 * G}},
        {43, "囲った内容を右に90度回転してよろしいですか？", Answer::Ok, {3 * G, -G}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question);
        ToolHarness h;
        const int line = h.rig.addLine(0, 0, 2 * G, 0);
        ASSERT_TRUE(h.start(c.tool));
        h.click({-G, -G}); // the range (-G, -G)-(5G, 3G), centre (2G, G)
        h.rig.questions.reply(c.answer, c.question);
        h.click({5 * G, 3 * G});
        EXPECT_EQ(h.m.ToolMode(), 0);
        EXPECT_EQ(h.host.prompt, "選択モード");
        EXPECT_EQ(figure(h, line).MLinePnt[0], c.start);
    }
}

TEST(RangeTools, DeletingARangeWithAPicture)
{
    ToolHarness h;
    h.rig.addLine(0, 0, 2 * G, 0);
    CKovImage& picture = h.rig.addPicture(5);
    const DeviceTransform t = h.transform();
    picture.m_rcDrawn = picture.DeviceRectFor(t);
    const DevicePoint centre{(picture.m_rcDrawn.left + picture.m_rcDrawn.right) / 2,
                             (picture.m_rcDrawn.top + picture.m_rcDrawn.bottom) / 2};
    const CDbPoint at{(centre.x - t.originX) / t.scaleX[0], (centre.y - t.originY) / t.scaleY[0]};
    ASSERT_TRUE(h.start(46));
    const std::size_t depth = h.undoDepth();
    // The picture is 50 paper mm wide: about 5 m of the drawing at 1:100.
    h.click({std::floor(at.x / G) * G - 20 * G, std::floor(at.y / G) * G - 20 * G});
    h.rig.questions.reply(Answer::Ok, "範囲の内容をすべて削除しますがよろしいですか？");
    h.click({std::ceil(at.x / G) * G + 20 * G, std::ceil(at.y / G) * G + 20 * G});
    EXPECT_EQ(h.unit().m_Images.GetSize(), 0);
    EXPECT_EQ(h.unit().m_Lines.GetSize(), 0);
    EXPECT_GT(h.undoDepth(), depth);
    h.m.OnUndo();
    EXPECT_EQ(h.unit().m_Images.GetSize(), 1);
}

TEST(RangeTools, TurnByAnEnteredAngle)
{
    struct Case {
        const char* name;
        std::optional<std::string> entry;
        std::string message;
        int toolAfter;
        CDbPoint start;
    } cases[] = {
        {"-90 is a right turn", "-90", "", 0, {3 * G, -G}},
        {"90", "90", "", 0, {G, 3 * G}},
        {"180 is a half turn", "180", "", 0, {4 * G, 2 * G}},
        {"360 is refused", "360", "角度は-360度以上、360度未満を半角で指定してください。", 44, {0, 0}},
        {"0 changes nothing and keeps the tool", "0", "", 44, {0, 0}},
        {"no number reads as 0", "abc", "", 44, {0, 0}},
        {"cancel turns by 0", std::nullopt, "", 0, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolHarness h;
        const int line = h.rig.addLine(0, 0, 2 * G, 0);
        ASSERT_TRUE(h.start(44));
        h.click({-G, -G});
        h.host.stringAnswers.push_back(c.entry);
        h.click({5 * G, 3 * G});
        EXPECT_EQ(h.m.ToolMode(), c.toolAfter);
        EXPECT_EQ(h.host.messages.empty() ? std::string() : h.host.messages.back(), c.message);
        const CDbPoint p = figure(h, line).MLinePnt[0];
        EXPECT_NEAR(p.x, c.start.x, 1e-6);
        EXPECT_NEAR(p.y, c.start.y, 1e-6);
        if (c.toolAfter == 44) {
            EXPECT_TRUE(h.m.m_ToolPoints.empty());
        }
    }
}

TEST(RangeTools, ScaleAndStretch)
{
    ToolHarness h;
    const int line = h.rig.addLine(0, 0, 2 * G, 0);
    ASSERT_TRUE(h.start(45));
    h.click({-G, -G});
    h.host.scaleAnswers.push_back(std::nullopt); // cancelled: the first corner stays
    h.click({5 * G, 3 * G});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    h.host.scaleAnswers.push_back(std::array<double, 2>{2, 1});
    h.click({5 * G, 3 * G});
    EXPECT_EQ(h.m.ToolMode(), 0);
    // Doubled in x about the range's centre x = 2G.
    EXPECT_EQ(figure(h, line).MLinePnt[0], (CDbPoint{-2 * G, 0}));

    ASSERT_TRUE(h.start(60));
    EXPECT_EQ(h.host.prompt, "伸縮する範囲を囲むように一点目をクリック");
    h.click({G, -G});
    EXPECT_EQ(h.host.prompt, "伸縮する範囲ニ点目をｸﾘｯｸ");
    h.host.stretchAnswers.push_back(CDbPoint{G, 0});
    h.click({3 * G, G});
    // Only the end inside moved; the tool waits for the next range.
    EXPECT_EQ(figure(h, line).MLinePnt, (CDbPointArray{{-2 * G, 0}, {3 * G, 0}}));
    EXPECT_EQ(h.m.ToolMode(), 60);
    EXPECT_EQ(h.host.prompt, "伸縮する範囲を囲むように一点目をクリック");
}

TEST(EditTools, MirrorTheSelectionAboutALine)
{
    ToolHarness h;
    const int axis = h.rig.addLine(0, -4 * G, 0, 4 * G);
    const int line = h.rig.addLine(G, 0, 3 * G, 0);
    h.sel().AddLineId(line);
    ASSERT_TRUE(h.start(63));
    EXPECT_EQ(h.sel().m_Lines, std::vector<int>{line}); // the start keeps the selection
    h.click({6 * G, 6 * G});
    EXPECT_EQ(h.host.messages.back(), "基準線の取得に失敗しました");
    EXPECT_EQ(h.m.ToolMode(), 63);
    h.click({0, 2 * G});
    EXPECT_EQ(figure(h, line).MLinePnt, (CDbPointArray{{-G, 0}, {-3 * G, 0}}));
    EXPECT_EQ(figure(h, axis).MLinePnt[0], (CDbPoint{0, -4 * G}));
    EXPECT_EQ(h.m.ToolMode(), 0);
    EXPECT_EQ(h.host.prompt, "選択モード");
}

TEST(EditTools, AttributePickUpStartsTheToolOfWhatItTook)
{
    struct Case {
        const char* name;
        int kind; // -1 a wall, -2 nothing
        int tool;
    } cases[] = {
        {"a wall", -1, 1}, {"a circle", CKovLine::CIRCLE, 6}, {"a rectangle", CKovLine::RECTANGLE, 4},
        {"a continuous line keeps the pick-up", CKovLine::CONTINUOUS, 14}, {"nothing", -2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolHarness h;
        // With the line snap the click would go onto the wall's face, which the pick leaves out.
        h.rig.doc->m_PlotInfo.PlotLinePita = 0;
        CKovUnit& unit = h.rig.doc->m_Unit;
        const CDbPoint at{4 * G, 0};
        if (c.kind == -1)
            addWall(unit, 1, {0, 0}, {8 * G, 0}, 75, 0, 0, 6);
        else if (c.kind == CKovLine::CIRCLE)
            addFigure(unit, 1, c.kind, {{4 * G, 2 * G}}, {2 * G}, 0, 0, 6);
        else if (c.kind >= 0)
            addFigure(unit, 1, c.kind, {{0, 0}, {4 * G, 0}, {8 * G, 0}, {8 * G, 2 * G}}, {}, 0, 0, 6);
        ASSERT_TRUE(h.start(14));
        h.click(at);
        EXPECT_EQ(h.m.ToolMode(), c.tool);
        if (c.kind != -2) {
            EXPECT_EQ(h.rig.doc->m_PlotInfo.m_Layer.m_nCurrentLayer, 6);
        }
        if (c.kind == -1) {
            EXPECT_EQ(h.rig.doc->m_PlotInfo.PlotWallWide, 75);
        }
    }
}

TEST(EditTools, FitAPictureToTwoDrawingPoints)
{
    ToolHarness h;
    CKovImage& picture = h.rig.addPicture(5);
    picture.ImageWidth = 40;
    picture.ImageHeight = 30;
    const DeviceTransform t = h.transform();
    picture.m_rcDrawn = picture.DeviceRectFor(t);
    h.sel().AddImageId(5);
    ASSERT_TRUE(h.start(71));
    const DeviceTransform t0 = h.transform(); // the start fits the page
    picture.m_rcDrawn = picture.DeviceRectFor(t0);
    const CDbPoint centre{picture.OffsetX * t0.paperScale / t0.scaleX[0], picture.OffsetY * t0.paperScale / t0.scaleY[0]};
    // Two points on the picture, a quarter of its width either side of its centre, level.
    const double quarter = picture.ImageWidth * t0.paperScale / t0.scaleX[0] / 4;
    const CDbPoint i1{centre.x - quarter, centre.y}, i2{centre.x + quarter, centre.y};
    h.click({i1.x - 100 * G, i1.y});
    EXPECT_EQ(h.host.messages.back(), "画像上をクリックしてください。");
    h.click(i1);
    EXPECT_EQ(h.host.prompt, "画像上の次の点を左クリックしてください");
    h.click(i2);
    EXPECT_EQ(h.host.prompt, "図面上の基点となる位置を左クリックしてください");
    const CDbPoint p1 = h.m.m_ToolPoints[0], p2 = h.m.m_ToolPoints[1];
    h.click({0, 0});
    EXPECT_EQ(h.host.prompt, "図面上の次の点を左クリックしてください");
    const double twice = 2 * (p2.x - p1.x);
    h.click({std::round(twice / G) * G, 0});
    EXPECT_EQ(h.m.ToolMode(), 0);
    const double k = std::round(twice / G) * G / (p2.x - p1.x);
    // The first picture point lies on the first drawing point.
    const CKovImage& now = *h.unit().FindImage(5);
    EXPECT_EQ(now.ImageWidth, std::trunc(40 * k));
    const CDbPoint c2{now.OffsetX * t0.paperScale / t0.scaleX[0], now.OffsetY * t0.paperScale / t0.scaleY[0]};
    EXPECT_NEAR(c2.x + k * (p1.x - centre.x), 0, 1e-6);
    EXPECT_NEAR(c2.y + k * (p1.y - centre.y), 0, 1e-6);
}

TEST(EditTools, TheDrawingCentreMovesTheEditingLayerGroupOrAll)
{
    for (bool all : {false, true}) {
        SCOPED_TRACE(all);
        ToolHarness h;
        const int own = h.rig.addLine(0, 0, G, 0);
        CKovUnit& unit = h.rig.doc->m_Unit;
        addFigure(unit, 50, CKovLine::LINE, {{0, 0}, {G, 0}}, {}, 0, 1, 0); // layer group 1, scale 1:50
        h.rig.doc->m_PlotInfo.m_Layer.m_dScale[1] = 50;
        ASSERT_TRUE(h.start(37));
        h.host.originAnswers.push_back(std::nullopt);
        h.click({2 * G, -G});
        EXPECT_EQ(h.host.originMessages.back(), "編集中レイヤーグループの中心点を現在の(910.00,455.00)に変更しますがよろしいですか？");
        EXPECT_EQ(h.m.ToolMode(), 37); // cancelled: the tool stays
        h.host.originAnswers.push_back(all);
        h.click({2 * G, -G});
        EXPECT_EQ(figure(h, own).MLinePnt[0], (CDbPoint{-2 * G, G}));
        // The other layer group moves by the click at its own scale.
        EXPECT_EQ(figure(h, 50).MLinePnt[0], (all ? CDbPoint{-G, G / 2} : CDbPoint{0, 0}));
        EXPECT_EQ(h.m.ToolMode(), 0);
    }
}

TEST(SelectMode, GripsDragVerticesWhenTheStretchSwitchIsOn)
{
    ToolHarness h;
    const int line = h.rig.addLine(0, 0, 4 * G, 0);
    h.click({2 * G, 0}); // picks the line
    ASSERT_EQ(h.sel().m_Lines, std::vector<int>{line});
    h.m.m_bStretchRotate = 1;
    h.drag({4 * G, 0}, {6 * G, 2 * G});
    EXPECT_EQ(figure(h, line).MLinePnt, (CDbPointArray{{0, 0}, {6 * G, 2 * G}}));
    EXPECT_EQ(h.sel().m_nGripKind, 0); // the release lets the grip go
    // One undo takes the drag back.
    h.m.OnUndo();
    EXPECT_EQ(figure(h, line).MLinePnt[1], (CDbPoint{4 * G, 0}));
    // With the switch off the same drag moves the whole line.
    h.m.m_bStretchRotate = 0;
    h.click({2 * G, 0});
    h.drag({4 * G, 0}, {6 * G, 2 * G});
    EXPECT_EQ(figure(h, line).MLinePnt, (CDbPointArray{{2 * G, 2 * G}, {6 * G, 2 * G}}));
}

TEST(SelectMode, RoomVerticesOfPolygonRoomsOnly)
{
    for (int tool : {10, 11}) {
        SCOPED_TRACE(tool);
        ToolHarness h;
        ASSERT_TRUE(h.start(tool));
        const std::vector<CDbPoint> corners = {{0, 0}, {8 * G, 0}, {8 * G, 6 * G}, {0, 6 * G}};
        if (tool == 10) {
            h.click(corners[0]);
            h.click(corners[2]);
        } else {
            for (const CDbPoint& p : corners)
                h.click(p);
            h.click(corners[0]);
        }
        h.key(kov::tools::ToolKey::S);
        ASSERT_EQ(h.unit().m_Groups.GetSize(), 1);
        const int room = h.unit().m_Groups[0]->MGrpID;
        h.sel().Clear();
        h.sel().AddGroupId(room);
        h.m.m_bStretchRotate = 1;
        h.rig.profile.WriteProfileInt("KOV_T_UTILITY", "app_room_lock", 3);
        h.move(corners[2]);
        h.press(corners[2]);
        EXPECT_EQ(h.sel().m_nGripKind, tool == 11 ? SelectionRecord::GRIP_ROOM_VERTEX : SelectionRecord::GRIP_GROUP_CORNER);
        h.move({10 * G, 8 * G}, kov::tools::MK_LBUTTON);
        h.release({10 * G, 8 * G});
        if (tool == 11) {
            // The vertex moved, the walls followed and were joined, the box grew.
            const CKovGroup& g = *h.unit().FindGroup(room);
            EXPECT_EQ(g.MGrpmax, (CDbPoint{10 * G, 8 * G}));
            bool moved = false;
            for (const auto& w : h.unit().m_Walls)
                moved = moved || w->MWallPntA == CDbPoint{10 * G, 8 * G} || w->MWallPntB == CDbPoint{10 * G, 8 * G};
            EXPECT_TRUE(moved);
        }
    }
}

TEST(SelectMode, TheRoomLockKeepsRoomsWhereTheyAre)
{
    for (int lock : {1, 3}) {
        SCOPED_TRACE(lock);
        ToolHarness h;
        h.rig.doc->m_PlotInfo.PlotLinePita = 0;
        ASSERT_TRUE(h.start(10));
        h.click({0, 0});
        h.click({8 * G, 6 * G});
        h.key(kov::tools::ToolKey::S);
        h.rig.doc->m_PlotInfo.PlotLinePita = 0;
        h.rig.profile.WriteProfileInt("KOV_T_UTILITY", "app_room_lock", lock);
        // The new room's label is a free text selected with it: the lock holds the room, not the text.
        const auto roomOnly = [&h] {
            std::string kept;
            std::istringstream lines(DescribeDrawing(h.unit()));
            for (std::string line; std::getline(lines, line);)
                if (!line.starts_with("text "))
                    kept += line + '\n';
            return kept;
        };
        const std::string before = roomOnly();
        h.click({4 * G, 0}); // on the room's top wall
        ASSERT_EQ(h.sel().m_Groups.size(), 1u);
        h.drag({4 * G, 0}, {4 * G, 2 * G});
        EXPECT_EQ(roomOnly() == before, lock == 1);
    }
}

TEST(SelectMode, IntersectionSnapOnClicks)
{
    ToolHarness h;
    h.rig.doc->m_Grid.kyutyaku = 0;
    h.rig.addLine(0, 0, 10 * G, 10 * G);
    h.rig.addLine(0, 10 * G, 10 * G, 0);
    ASSERT_TRUE(h.start(3));
    h.m.m_bIntersectionSnap = 1;
    h.click({5 * G + 150, 5 * G + 120}); // a few pixels from the crossing at (5G, 5G)
    ASSERT_EQ(h.m.m_ToolPoints.size(), 1u);
    EXPECT_NEAR(h.m.m_ToolPoints[0].x, 5 * G, 1e-6);
    EXPECT_NEAR(h.m.m_ToolPoints[0].y, 5 * G, 1e-6);
}

} // namespace
