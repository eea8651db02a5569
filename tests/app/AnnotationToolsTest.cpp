// The wall edit, stairs, balloon and double-line tools and the dimension tool's follow-up, driven
// click by click through the tool machine on a real document.

#include "ToolHarness.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/RecordingSurface.h"
#include "render/DrawEnvironment.h"
#include "tools/ToolPreviewInputs.h"
#include "tools/ToolTexts.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using kov::test::ToolHarness;

std::string cores(const CKovUnit& unit)
{
    std::ostringstream s;
    for (const auto& w : unit.m_Walls)
        s << w->MWallPntA.x << ',' << w->MWallPntA.y << '>' << w->MWallPntB.x << ',' << w->MWallPntB.y << ' ';
    return s.str();
}

int newestGroup(const CKovUnit& unit) { return unit.m_Groups[unit.m_Groups.GetSize() - 1]->MGrpID; }

// A rectangle room (0,0)-(3640,2730) drawn with its tool, then the room alone selected.
void drawRoom(ToolHarness& h)
{
    ASSERT_TRUE(h.start(10));
    h.click({0, 0});
    h.click({3640, 2730});
    ASSERT_EQ(h.unit().m_Groups.GetSize(), 1);
    h.sel().Clear();
    h.sel().AddGroupId(newestGroup(h.unit()));
}

TEST(WallEditTools, PartialDeleteErasesBetweenTwoClicks)
{
    ToolHarness h;
    h.start(1);
    h.click({0, 0});
    h.click({3640, 0});
    ASSERT_TRUE(h.start(57));
    EXPECT_EQ(h.host.prompt, "消したい部分の一点目を左クリックで指定");
    const std::size_t depth = h.undoDepth();
    h.click({910, 0});
    EXPECT_EQ(h.host.prompt, "消したい部分の二点目を左クリックで指定");
    h.click({1820, 0});
    EXPECT_EQ(cores(h.unit()), "0,0>910,0 1820,0>3640,0 ");
    EXPECT_EQ(h.host.prompt, "消したい部分の一点目を左クリックで指定");
    EXPECT_TRUE(h.host.messages.empty());
    EXPECT_EQ(h.undoDepth(), depth + 1);
    h.m.OnUndo();
    EXPECT_EQ(cores(h.unit()), "0,0>3640,0 ");
    h.m.OnRedo();
    EXPECT_EQ(cores(h.unit()), "0,0>910,0 1820,0>3640,0 ");
    // Nothing between the points: the message; the tool stays.
    h.click({910, 1820});
    h.click({1820, 1820});
    EXPECT_EQ(h.host.messages, std::vector<std::string>{"２点間に壁はありません。"});
    EXPECT_EQ(h.m.ToolMode(), 57);
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    EXPECT_EQ(cores(h.unit()), "0,0>910,0 1820,0>3640,0 ");
}

TEST(WallEditTools, RoomVertexSplitsTheWallAndReturnsToSelectMode)
{
    ToolHarness h;
    drawRoom(h);
    const int walls = h.unit().m_Walls.GetSize();
    ASSERT_TRUE(h.start(65));
    EXPECT_EQ(h.host.prompt, "選択している部屋の頂点を追加したい壁上をクリック");
    h.click({1820, 0});
    EXPECT_EQ(h.unit().m_Walls.GetSize(), walls + 1);
    EXPECT_EQ(h.m.ToolMode(), 0);
    EXPECT_EQ(h.host.prompt, "選択モード");
    const CKovGroup& room = *h.unit().FindGroup(newestGroup(h.unit()));
    EXPECT_EQ(room.MGrpWallID.size(), 5u);
    h.m.OnUndo();
    EXPECT_EQ(h.unit().m_Walls.GetSize(), walls);
}

TEST(WallEditTools, CurvedRoomWallTakesThreeClicksAndOneUndo)
{
    ToolHarness h;
    drawRoom(h);
    const std::size_t figures = h.unit().m_Lines.size();
    ASSERT_TRUE(h.start(66));
    h.click({3640, 0});
    EXPECT_EQ(h.host.prompt, "曲線化したい壁のもう片方の頂点をクリック");
    h.click({0, 0});
    EXPECT_EQ(h.host.prompt, "曲線化する弧の大きさを決めて左クリック");
    ASSERT_EQ(h.m.m_ToolPoints.size(), 2u);
    h.click({1820, -910});
    EXPECT_EQ(h.m.ToolMode(), 0);
    EXPECT_TRUE(h.sel().IsEmpty());
    EXPECT_EQ(h.unit().m_Walls.GetSize(), 3);
    // Black walls: the curved wall is one black band (white or coloured walls add their faces).
    EXPECT_EQ(h.unit().m_Lines.size(), figures + 1);
    h.m.OnUndo();
    EXPECT_EQ(h.unit().m_Walls.GetSize(), 4);
    EXPECT_EQ(h.unit().m_Lines.size(), figures);
}

TEST(StairsTool, ThreeClicksMakeAGroupedFlight)
{
    ToolHarness h;
    ASSERT_TRUE(h.start(56));
    EXPECT_EQ(h.host.prompt, "3点指定で階段作成（まず幅を２点で指定）");
    EXPECT_EQ(h.host.panels.back().first, kov::tools::ToolPanel::Stairs);
    const std::size_t depth = h.undoDepth();
    h.click({0, 0});
    EXPECT_EQ(h.host.prompt, "幅を決めてクリック");
    h.click({0, 1820});
    EXPECT_EQ(h.host.prompt, "終了位置を決めてクリック");
    // A third click on the first point is not the end of the run.
    h.click({0, 0});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 2u);
    h.click({2730, 910});
    EXPECT_EQ(h.host.prompt, "左クリック3点指定で階段作成（まず幅を２点で指定）");
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    ASSERT_EQ(h.sel().m_Groups.size(), 1u);
    // The fill and six treads; the width between the wall cores less the walls.
    const CKovGroup& g = *h.unit().FindGroup(h.sel().m_Groups[0]);
    EXPECT_EQ(g.MGrpLineID.size(), 7u);
    const CKovLine& tread = *h.unit().FindLine(g.MGrpLineID[1]);
    EXPECT_EQ(tread.MLinePnt, (CDbPointArray{{0, 1770}, {0, 50}}));
    EXPECT_EQ(h.undoDepth(), depth + 1);
    EXPECT_EQ(h.m.ToolMode(), 56);
}

TEST(StairsTool, ModesTheirDoubleClicksAndRefusedCounts)
{
    {
        ToolHarness h;
        h.start(56);
        h.m.m_Stairs.kaidan_mode = StairsSettings::DIRECTION_ARROW;
        h.click({0, 0});
        h.click({1820, 0});
        h.dblclick({1820, 1820});
        ASSERT_EQ(h.sel().m_Lines.size(), 1u);
        const CKovLine& arrow = *h.unit().FindLine(h.sel().m_Lines[0]);
        EXPECT_EQ(arrow.MLineType, CKovLine::CONTINUOUS);
        EXPECT_EQ(arrow.MLinePnt.size(), 3u);
        EXPECT_EQ(arrow.MLineTanten, 2);
        EXPECT_TRUE(h.m.m_ToolPoints.empty());
    }
    {
        ToolHarness h;
        h.start(56);
        h.m.m_Stairs.kaidan_mode = StairsSettings::END_OF_FLIGHT;
        h.click({0, 0});
        h.dblclick({0, 1820});
        // The double click's own press is a click; the double click finishes nothing.
        EXPECT_EQ(h.m.m_ToolPoints.size(), 2u);
        EXPECT_TRUE(h.unit().m_Lines.empty());
        h.click({910, 910});
        EXPECT_EQ(h.sel().m_Groups.size(), 1u);
    }
    {
        ToolHarness h;
        h.rig.profile.WriteProfileInt("KOV_T_UTILITY", "kaidan_dansuu", 0);
        h.start(56);
        h.click({0, 0});
        h.click({0, 1820});
        h.click({2730, 910});
        EXPECT_EQ(h.host.messages, std::vector<std::string>{"階段の段数と段幅は0より大きい値にしてください。"});
        EXPECT_TRUE(h.unit().m_Lines.empty());
        EXPECT_EQ(h.m.m_ToolPoints.size(), 2u);
    }
}

// The balloon preview shows the very outline the balloon tool then makes.
TEST(BalloonTool, PreviewAndResultAgree)
{
    for (int shape : {0, 1, 2}) {
        for (int side : {0, 1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << "shape " << shape << " side " << side);
            ToolHarness h;
            ASSERT_TRUE(h.start(68));
            h.m.m_Balloon.shape = shape;
            h.m.m_Balloon.tailSide = side;
            h.m.m_Balloon.tailPosition = side == 3 ? 2 : 0;
            h.click({0, 0});
            EXPECT_EQ(h.host.prompt, "吹き出し四角形の対角を左クリック");
            h.click({0, 0}); // the same corner again is ignored
            EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
            h.click({3640, 1820});
            EXPECT_EQ(h.host.prompt, "吹き出しの先の位置を左クリック");
            const CDbPoint tip = side == 0 ? CDbPoint{1820, -1820} : side == 1 ? CDbPoint{-1820, 910}
                               : side == 2 ? CDbPoint{1365, 3640} : CDbPoint{5460, 455};
            h.move(tip);
            const DeviceTransform t = h.transform();
            const CKovUnit::DrawEnvironment env;
            const CKovUnit::PreviewInput in =
                kov::tools::PreviewInputOf(h.m, kov::tools::ViewToolSettings{}, {}, env, {});
            kov::platform::RecordingSurface s;
            h.unit().DrawToolPreview(s, t, 68, in);
            ASSERT_EQ(s.calls().size(), 1u);
            const std::vector<DevicePoint> shown = s.calls()[0].points;

            h.click(tip);
            ASSERT_EQ(h.sel().m_Groups.size(), 1u);
            const CKovGroup& g = *h.unit().FindGroup(h.sel().m_Groups[0]);
            const CKovLine& made = *h.unit().FindLine(g.MGrpLineID[0]);
            std::vector<DevicePoint> expected;
            for (const CDbPoint& p : made.MLinePnt) expected.push_back(ToDevicePoint(p, t, 0));
            expected.push_back(expected.front());
            EXPECT_EQ(shown, expected);
            EXPECT_EQ(h.host.prompt, "吹き出しの四角形の角位置を左クリック");
            EXPECT_TRUE(h.m.m_ToolPoints.empty());
        }
    }
}

TEST(DoubleLineTools, ChainsFinishedByDoubleClickOrTheFinishButton)
{
    {
        ToolHarness h;
        ASSERT_TRUE(h.start(27));
        EXPECT_EQ(h.host.panels.back(), std::make_pair(kov::tools::ToolPanel::DoubleLine, 1));
        const std::size_t depth = h.undoDepth();
        h.click({0, 0});
        h.click({3640, 0});
        h.dblclick({3640, 1820});
        ASSERT_EQ(h.sel().m_Lines.size(), 2u);
        const CKovLine& left = *h.unit().FindLine(h.sel().m_Lines[0]);
        EXPECT_EQ(left.MLineType, CKovLine::CONTINUOUS);
        EXPECT_EQ(left.MLinePnt, (CDbPointArray{{0, -50}, {3690, -50}, {3690, 1820}}));
        EXPECT_EQ(h.undoDepth(), depth + 1);
        EXPECT_EQ(h.m.ToolMode(), 27);
    }
    {
        // Balcony ends: the ends pulled in by the wall half thickness; the finish button finishes.
        ToolHarness h;
        h.rig.profile.WriteProfileInt("KOV_T_UTILITY", "tool_nijyuusen_balmode", 1);
        h.start(27);
        h.click({0, 0});
        h.m.ApplyDoubleLineDialog();
        EXPECT_EQ(h.m.m_ToolPoints.size(), 1u); // one point: nothing to finish
        h.click({1820, 0});
        h.m.ApplyDoubleLineDialog();
        ASSERT_EQ(h.sel().m_Lines.size(), 2u);
        EXPECT_EQ(h.unit().FindLine(h.sel().m_Lines[0])->MLinePnt, (CDbPointArray{{50, -50}, {1770, -50}}));
    }
    {
        ToolHarness h;
        h.start(61);
        h.m.m_dOffsetLeft = 100;
        h.m.m_dOffsetRight = 0;
        h.click({0, 0});
        h.dblclick({1820, 0});
        ASSERT_EQ(h.sel().m_Lines.size(), 1u);
        const CKovLine& band = *h.unit().FindLine(h.sel().m_Lines[0]);
        EXPECT_EQ(band.MLineType, CKovLine::POLYGON);
        EXPECT_EQ(band.MLinePnt, (CDbPointArray{{0, -100}, {1820, -100}, {1820, 0}, {0, 0}, {0, -100}}));
    }
}

TEST(DimensionTool, BecomesLinesAndATextWhoseValueCanBeTyped)
{
    {
        ToolHarness h;
        h.host.stringAnswers.push_back(std::string("3,640"));
        h.start(9);
        h.click({0, 0});
        h.click({3640, 0});
        h.click({1820, -910});
        EXPECT_EQ(h.host.stringQuestions, std::vector<std::string>{"寸法値|3640|mm"});
        for (const auto& f : h.unit().m_Lines) EXPECT_NE(f->MLineType, CKovLine::DIMENSION);
        ASSERT_EQ(h.sel().m_Texts.size(), 1u);
        EXPECT_EQ(h.unit().FindText(h.sel().m_Texts[0])->MTextstr, "3,640");
        EXPECT_EQ(h.sel().m_Lines.size(), 3u);
    }
    {
        // Cancelled: the measured value stays; in centimetres the unit says so.
        ToolHarness h;
        h.rig.doc->m_PlotInfo.PlotSunpoTani = 1;
        h.host.stringAnswers.push_back(std::nullopt);
        h.start(9);
        h.click({0, 0});
        h.click({3640, 0});
        h.click({1820, -910});
        EXPECT_EQ(h.host.stringQuestions, std::vector<std::string>{"寸法値|364|cm"});
        EXPECT_EQ(h.unit().FindText(h.sel().m_Texts[0])->MTextstr, "364");
    }
    {
        // Measured values kept as a dimension: no question.
        ToolHarness h;
        h.rig.profile.WriteProfileInt("KOV_T_PlotMenu", "config_sunpo_bunkai", 0);
        h.start(9);
        h.click({0, 0});
        h.click({3640, 0});
        h.click({1820, -910});
        EXPECT_TRUE(h.host.stringQuestions.empty());
        ASSERT_EQ(h.sel().m_Lines.size(), 1u);
        EXPECT_EQ(h.unit().FindLine(h.sel().m_Lines[0])->MLineType, CKovLine::DIMENSION);
    }
}

TEST(AnnotationTools, NoneOfThemSaysItIsNotReady)
{
    for (int tool : {27, 56, 57, 61, 65, 66, 68}) {
        ToolHarness h;
        ASSERT_TRUE(h.start(tool));
        EXPECT_EQ(h.host.prompt.find("まだ使えません"), std::string::npos) << tool;
        EXPECT_TRUE(kov::tools::ToolTable()[static_cast<std::size_t>(tool)].built) << tool;
    }
}

} // namespace
