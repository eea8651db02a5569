// The measuring tools and commands driven through the view's tool machine: the angle from its
// clicks, the running area and length finished by a double click, the selected figure's area and
// length, a room's wall-core area and the object count, each ending in the measuring result whose
// text can go into the drawing.

#include "ToolHarness.h"

#include "model/KovGroup.h"
#include "model/KovUnit.h"
#include "model/KovWall.h"
#include "model/PlotInfo.h"

#include <gtest/gtest.h>

namespace {

using kov::test::ToolHarness;
using Reply = kov::test::HarnessHost::MeasureReply;

struct MeasureHarness : ToolHarness {
    MeasureHarness()
    {
        rig.doc->m_PlotInfo.m_Layer.SetAllScales(1);
        unsnap();
    }
    void unsnap()
    {
        rig.doc->m_Grid.kyutyaku = 0;
        rig.doc->m_PlotInfo.PlotLinePita = 0;
        rig.doc->m_PlotInfo.PlotWallPita = 0;
    }
    bool startTool(int tool)
    {
        const bool started = start(tool);
        unsnap();
        return started;
    }
    const CKovText* newestText() const
    {
        return unit().m_Texts.empty() ? nullptr : unit().m_Texts[unit().m_Texts.GetSize() - 1];
    }
    int figure(int kind, CDbPointArray points, std::vector<double> params = {})
    {
        auto f = std::make_unique<CKovLine>();
        f->MLineID = rig.doc->m_Unit.NextLineId();
        f->MLineType = kind;
        f->MLinePnt = std::move(points);
        f->MLineParam = std::move(params);
        const int id = f->MLineID;
        rig.doc->m_Unit.m_Lines.Add(std::move(f));
        return id;
    }
    int setting(const char* key) { return rig.profile.GetProfileInt("KOV_T_UTILITY", key, -1); }
    // Points the clicks snap to exactly: the corners of a continuous line, with line snap on.
    void marks(CDbPointArray points)
    {
        figure(CKovLine::CONTINUOUS, std::move(points));
        rig.doc->m_PlotInfo.PlotLinePita = 1;
    }
};

TEST(MeasureTools, TheAngleComesFromTheClicks)
{
    struct Case {
        const char* name;
        CDbPoint second;
        int clockwise;
        const char* text;
    };
    const Case cases[] = {
        {"StraightUp", {0, -300}, 0, "90.000°"},
        {"StraightUpClockwise", {0, -300}, 1, "270.000°"},
        {"Level", {300, 0}, 1, "0.000°"},
        {"Down", {0, 300}, 0, "270.000°"},
        {"Sloped", {300, -300}, 0, "45.000°"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MeasureHarness h;
        h.rig.profile.WriteProfileInt("KOV_T_PlotMenu", "tool_kakudo_tokei", c.clockwise);
        ASSERT_TRUE(h.startTool(47));
        h.marks({{0, 0}, c.second});
        h.click({0, 0});
        EXPECT_EQ(h.host.prompt, "二点目をクリック");
        // Whatever the pointer showed last, the value is the second click's direction.
        h.m.m_dToolValue = 123;
        h.host.measureAnswers.push_back(Reply{});
        h.click(c.second);
        ASSERT_EQ(h.host.measured.size(), 1u);
        const auto& r = h.host.measured[0];
        EXPECT_EQ(r.label, "測定角度");
        EXPECT_EQ(r.units[0], "度");
        EXPECT_EQ(r.texts[0], c.text);
        EXPECT_EQ(r.texts[4], c.text);
        ASSERT_NE(h.newestText(), nullptr);
        EXPECT_EQ(h.newestText()->MTextstr, c.text);
        EXPECT_EQ(h.newestText()->MTextpnt, CDbPoint(0, 0));
        EXPECT_EQ(h.sel().m_Texts, std::vector<int>{h.newestText()->MTextID});
        EXPECT_EQ(h.m.ToolMode(), 0);
        EXPECT_TRUE(h.m.m_ToolPoints.empty());
    }
}

TEST(MeasureTools, LengthTotalInTheChosenUnit)
{
    MeasureHarness h;
    h.rig.profile.WriteProfileInt("KOV_T_UTILITY", "sokuteitani", 2);
    ASSERT_TRUE(h.startTool(49));
    h.marks({{0, 0}, {300, 0}, {300, 400}, {834.5, 400}});
    const std::size_t depth = h.undoDepth();
    h.click({0, 0});
    EXPECT_EQ(h.host.prompt, "ｸﾘｯｸしていき長さ累計する（ﾀﾞﾌﾞﾙｸﾘｯｸで終了）");
    h.click({300, 0});
    // 1234.5 mm along the way: 300 + 400 + 534.5.
    h.click({300, 400});
    h.host.measureAnswers.push_back(Reply{true, 1, {}});
    h.dblclick({834.5, 400});
    ASSERT_EQ(h.host.measured.size(), 1u);
    const auto& r = h.host.measured[0];
    EXPECT_EQ(r.label, "");
    EXPECT_EQ(r.unit, 2); // opened on the stored unit
    EXPECT_EQ(r.texts, (std::array<std::string, 5>{"1.23m", "1234.50mm", "123.45cm", "0.69間", "4.15尺"}));
    ASSERT_NE(h.newestText(), nullptr);
    EXPECT_EQ(h.newestText()->MTextstr, "1234.50mm");
    EXPECT_EQ(h.setting("sokuteitani"), 1);
    EXPECT_EQ(h.m.ToolMode(), 0);
    // The result text is one undo step with the measuring.
    EXPECT_EQ(h.undoDepth(), depth + 1);
}

TEST(MeasureTools, AreaTotalRefusesACrossingEdgeAndClosesOnTheDoubleClick)
{
    MeasureHarness h;
    ASSERT_TRUE(h.startTool(48));
    h.marks({{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});
    for (CDbPoint p : {CDbPoint{0, 0}, CDbPoint{1000, 0}, CDbPoint{1000, 1000}})
        h.click(p);
    EXPECT_EQ(h.host.prompt, "ｸﾘｯｸしていき面積累計する（ﾀﾞﾌﾞﾙｸﾘｯｸで終了）");
    const double before = h.m.m_dToolValue;
    EXPECT_EQ(before, 500000);
    // Back across the first edge: refused without a word, points and area kept.
    h.click({500, -500});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 3u);
    EXPECT_EQ(h.m.m_dToolValue, before);
    EXPECT_TRUE(h.host.messages.empty());
    // Closed: a square metre, written to the area unit chosen.
    h.host.measureAnswers.push_back(Reply{true, 3, {}});
    h.dblclick({0, 1000});
    ASSERT_EQ(h.host.measured.size(), 1u);
    EXPECT_EQ(h.host.measured[0].units, (std::array<std::string, 5>{"㎡", "m㎡", "c㎡", "坪", ""}));
    EXPECT_EQ(h.host.measured[0].texts[0], "1.00㎡");
    ASSERT_NE(h.newestText(), nullptr);
    EXPECT_EQ(h.newestText()->MTextstr, "0.30坪");
    EXPECT_EQ(h.setting("sokuteitani_men"), 3);

    // Closed with "閉じる": no text, the unit not kept, select mode all the same.
    MeasureHarness g;
    ASSERT_TRUE(g.startTool(48));
    for (CDbPoint p : {CDbPoint{0, 0}, CDbPoint{100, 0}, CDbPoint{100, 100}})
        g.click(p);
    g.host.measureAnswers.push_back(Reply{false, 1, {}});
    g.dblclick({100, 100});
    EXPECT_EQ(g.newestText(), nullptr);
    EXPECT_EQ(g.setting("sokuteitani_men"), -1);
    EXPECT_EQ(g.m.ToolMode(), 0);
}

TEST(MeasureTools, SelectedFigureAreaAndLength)
{
    MeasureHarness h;
    const int rect = h.figure(CKovLine::RECTANGLE, {{100, 100}, {100, 2100}, {3100, 2100}, {3100, 100}});
    h.sel().AddLineId(rect);
    h.host.measureAnswers.push_back(Reply{});
    h.m.OnMeasureSelectionArea();
    ASSERT_EQ(h.host.measured.size(), 1u);
    EXPECT_EQ(h.host.measured[0].label, "面積");
    EXPECT_EQ(h.host.measured[0].texts[0], "6.00㎡");
    ASSERT_NE(h.newestText(), nullptr);
    EXPECT_EQ(h.newestText()->MTextpnt, CDbPoint(100, 100));
    EXPECT_EQ(h.sel().m_Texts, std::vector<int>{h.newestText()->MTextID});

    // The perimeter; a unit chosen before "閉じる" is kept.
    h.sel().Clear();
    h.sel().AddLineId(rect);
    h.host.measureAnswers.push_back(Reply{false, 2, {}});
    h.m.OnMeasureSelectionLength();
    ASSERT_EQ(h.host.measured.size(), 2u);
    EXPECT_EQ(h.host.measured[1].label, "周囲の長さ");
    EXPECT_EQ(h.host.measured[1].texts[0], "10.00m");
    EXPECT_EQ(h.setting("sokuteitani"), 2);
    EXPECT_EQ(h.unit().m_Texts.GetSize(), 1);

    // The text typed over the value is what goes in.
    h.host.measureAnswers.push_back(Reply{true, 0, std::string("外周 10m")});
    h.m.OnMeasureSelectionLength();
    EXPECT_EQ(h.newestText()->MTextstr, "外周 10m");
}

TEST(MeasureTools, CommandsSayWhyNothingIsMeasured)
{
    MeasureHarness h;
    // Nothing selected (the context menu offers the commands all the same).
    h.m.OnMeasureSelectionArea();
    h.m.OnMeasureSelectionLength();
    h.m.OnMeasureRoomArea();
    // A line has no area; an ellipse no length the program can give.
    const int line = h.figure(CKovLine::LINE, {{0, 0}, {100, 0}});
    h.sel().AddLineId(line);
    h.m.OnMeasureSelectionArea();
    h.sel().Clear();
    h.sel().AddLineId(h.figure(CKovLine::CIRCLE, {{0, 0}}, {100, 0.5}));
    h.m.OnMeasureSelectionLength();
    EXPECT_EQ(h.host.messages, (std::vector<std::string>{
                                   "測定する図形を選択してください", "測定する図形を選択してください",
                                   "測定する部屋（壁が３つ以上のグループ）を選択してください",
                                   "選択物の面積は測定できません", "選択物の長さは測定できません"}));
    EXPECT_TRUE(h.host.measured.empty());
    EXPECT_TRUE(h.unit().m_Texts.empty());
}

TEST(MeasureTools, RoomAreaOnTheWallCores)
{
    MeasureHarness h;
    // Four walls head to tail around a 3640 mm core square, the third one drawn backwards.
    CKovUnit& unit = h.rig.doc->m_Unit;
    auto group = std::make_unique<CKovGroup>();
    group->MGrpID = unit.NextGroupId();
    group->MGrpRoom = CKovGroup::ROOM;
    group->MGrpmin = {0, 0};
    group->MGrpmax = {3640, 3640};
    const CDbPoint ends[4][2] = {{{0, 0}, {3640, 0}}, {{3640, 0}, {3640, 3640}}, {{0, 3640}, {3640, 3640}},
                                 {{0, 3640}, {0, 0}}};
    for (const auto& e : ends) {
        auto w = std::make_unique<CKovWall>();
        w->MWallID = unit.NextWallId();
        w->MWallPntA = e[0];
        w->MWallPntB = e[1];
        w->MWallGrpID = group->MGrpID;
        group->MGrpWallID.push_back(w->MWallID);
        unit.m_Walls.Add(std::move(w));
    }
    const int id = group->MGrpID;
    unit.m_Groups.Add(std::move(group));
    h.sel().AddGroupId(id);
    h.host.measureAnswers.push_back(Reply{});
    h.m.OnMeasureRoomArea();
    ASSERT_EQ(h.host.measured.size(), 1u);
    EXPECT_EQ(h.host.measured[0].label, "選択部屋の面積");
    EXPECT_EQ(h.host.measured[0].texts[0], "13.25㎡");
    ASSERT_NE(h.newestText(), nullptr);
    EXPECT_EQ(h.newestText()->MTextpnt, CDbPoint(1820, 1820));

    // Whole numbers: a room of no area still writes its 0.
    h.rig.profile.WriteProfileInt("KOV_T_UTILITY", "sokuteikurai", 0);
    h.sel().Clear();
    h.sel().AddGroupId(id);
    h.host.measureAnswers.push_back(Reply{false, {}, {}});
    h.m.OnMeasureRoomArea();
    EXPECT_EQ(h.host.measured[1].texts[0], "13㎡");
}

TEST(MeasureTools, ObjectCountAddsItsTextOnlyWhenThereIsOne)
{
    MeasureHarness h;
    const std::size_t depth = h.undoDepth();
    h.host.countAnswers.push_back(std::string()); // every box unticked
    h.m.OnCountObjects();
    h.host.countAnswers.push_back(std::nullopt); // cancelled
    h.m.OnCountObjects();
    EXPECT_TRUE(h.unit().m_Texts.empty());
    EXPECT_EQ(h.undoDepth(), depth);
    h.host.countAnswers.push_back(std::string("文字:0\r\n画像:0"));
    h.m.OnCountObjects();
    ASSERT_NE(h.newestText(), nullptr);
    EXPECT_EQ(h.newestText()->MTextstr, "文字:0\r\n画像:0");
    EXPECT_EQ(h.newestText()->MTextpnt, CDbPoint(0, 0));
    EXPECT_EQ(h.sel().m_Texts, std::vector<int>{h.newestText()->MTextID});
    // The count can be undone like any other text.
    EXPECT_EQ(h.undoDepth(), depth + 1);
}

} // namespace
