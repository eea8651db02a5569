// The frame's decisions: status texts, the window's place, the bar layout mark, the layer bar, the
// tool commands' effects and the scale change.

#include "app/CommandIds.h"
#include "app/FrameLogic.h"
#include "app/KoviraApp.h"
#include "app/Menus.h"

#include "app/DocumentTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;

TEST(StatusTexts, YReadsUpwardsAndZeroKeepsItsSign)
{
    EXPECT_EQ(FormatAbsolutePosition(0.0, 0.0), "絶(0.00,-0.00)");
    EXPECT_EQ(FormatRelativePosition(0.0, 0.0), "相(0.00,-0.00)");
    EXPECT_EQ(FormatAbsolutePosition(1500.25, 300.5), "絶(1500.25,-300.50)");
    EXPECT_EQ(FormatRelativePosition(-12.5, -7.0), "相(-12.50,7.00)");
}

TEST(WindowPlace, SavedRectangleIsClampedToTheScreen)
{
    struct Case {
        const char* name;
        int left, right, top, bottom;
        WindowRect expected;
    };
    const Case cases[] = {
        {"off to the right", 5000, 6000, 0, 900, {0, 0, 800, 600}},
        {"three screens wide", 0, 7000, 0, 900, {0, 0, 1920, 900}},
        {"in place", 100, 1100, 50, 850, {100, 50, 1000, 800}},
    };
    for (const Case& c : cases) {
        kov::platform::MemoryProfile p;
        p.WriteProfileInt(kSectionLayoutSize, "left", c.left);
        p.WriteProfileInt(kSectionLayoutSize, "right", c.right);
        p.WriteProfileInt(kSectionLayoutSize, "top", c.top);
        p.WriteProfileInt(kSectionLayoutSize, "bottom", c.bottom);
        EXPECT_EQ(RestoreWindowRect(p, 1920, 1080), c.expected) << c.name;
    }
    kov::platform::MemoryProfile off;
    off.WriteProfileInt(kSectionLayoutSize, "left", 5000);
    RestoreWindowRect(off, 1920, 1080);
    EXPECT_EQ(off.GetProfileInt(kSectionLayoutSize, "right", -1), 800);
    EXPECT_EQ(off.GetProfileInt(kSectionLayoutSize, "bottom", -1), 600);
    EXPECT_EQ(off.GetProfileInt(kSectionLayoutSize, "maximize", -1), 0);
}

TEST(WindowPlace, MaximisedWritesOnlyTheFlagAndMinimisedNothing)
{
    kov::platform::MemoryProfile p;
    SaveWindowRect(p, {10, 20, 300, 400}, false, false);
    SaveWindowRect(p, {0, 0, 1920, 1080}, true, false);
    EXPECT_EQ(p.GetProfileInt(kSectionLayoutSize, "maximize", -1), 1);
    EXPECT_EQ(p.GetProfileInt(kSectionLayoutSize, "right", -1), 310);
    SaveWindowRect(p, {0, 0, 5, 5}, false, true);
    EXPECT_EQ(p.GetProfileInt(kSectionLayoutSize, "left", -1), 10);
}

TEST(BarLayout, UsedOnlyAfterAnOrderlyCloseAndClearedAtOnce)
{
    kov::platform::MemoryProfile p;
    EXPECT_FALSE(TakeSavedBarLayout(p));
    SaveBarLayout(p, QByteArray("layout\0bytes", 12));
    EXPECT_EQ(p.GetProfileInt(kSectionUtility, "barstate", 0), 2);
    const auto taken = TakeSavedBarLayout(p);
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, QByteArray("layout\0bytes", 12));
    EXPECT_EQ(p.GetProfileInt(kSectionUtility, "barstate", -1), 0);
    // A start that crashed leaves no mark: the next uses the default layout.
    EXPECT_FALSE(TakeSavedBarLayout(p));
}

TEST(BarLayout, ToolbarSizeAndTolerancesFollowTheScreen)
{
    EXPECT_FALSE(LargeToolBars(0, 144));
    EXPECT_TRUE(LargeToolBars(0, 192));
    EXPECT_FALSE(LargeToolBars(1, 192));
    EXPECT_TRUE(LargeToolBars(2, 96));
    EXPECT_EQ(ScaledTolerances(144), std::make_pair(8, 13));
    EXPECT_EQ(ScaledTolerances(192), std::make_pair(16, 26));
}

TEST(LayerBar, CaptionsStatesAndCycle)
{
    kov::test::DocumentRig rig;
    CKoviraDoc& doc = *rig.doc;
    LayerBarView v = RefreshLayerBarView(doc.m_Unit, doc.m_PlotInfo);
    EXPECT_EQ(v.numberCaptions[0], "0");
    EXPECT_EQ(v.numberCaptions[1], "1");
    EXPECT_EQ(v.stateCaptions[0], "表吸編集");
    EXPECT_EQ(v.stateCaptions[1], "表吸");
    EXPECT_EQ(v.checkedNumber, 0);

    auto wall = std::make_unique<CKovWall>();
    wall->MWallID = doc.m_Unit.NextWallId();
    wall->MWallLayer1 = 1;
    doc.m_Unit.m_Walls.Add(std::move(wall));
    v = RefreshLayerBarView(doc.m_Unit, doc.m_PlotInfo);
    EXPECT_EQ(v.numberCaptions[1], "1.");

    // The current group's state button changes nothing.
    EXPECT_FALSE(CycleLayerGroupState(doc.m_PlotInfo, 0));
    const char* expected[] = {"表", "非表", "表吸"};
    for (const char* e : expected) {
        EXPECT_TRUE(CycleLayerGroupState(doc.m_PlotInfo, 2));
        EXPECT_EQ(RefreshLayerBarView(doc.m_Unit, doc.m_PlotInfo).stateCaptions[2], e);
    }
    doc.m_PlotInfo.m_Layer.m_GrpLayerInfo[1].m_nType = 2;
    ChooseLayerGroup(doc.m_PlotInfo, 1);
    v = RefreshLayerBarView(doc.m_Unit, doc.m_PlotInfo);
    EXPECT_EQ(v.stateCaptions[1], "表吸編集");
    EXPECT_EQ(v.checkedNumber, 1);

    // The tip names the group and its hidden layers, as an imported drawing has them.
    doc.m_PlotInfo.m_Layer.m_GrpLayerInfo[0].m_strName = "一般図";
    doc.m_PlotInfo.m_Layer.m_LayerInfo[0][3].m_nType = CLayerInfo::LAYER_HIDDEN;
    doc.m_PlotInfo.m_Layer.m_LayerInfo[0][3].m_strName = "建具";
    doc.m_PlotInfo.m_Layer.m_LayerInfo[0][7].m_nType = CLayerInfo::LAYER_HIDDEN;
    v = RefreshLayerBarView(doc.m_Unit, doc.m_PlotInfo);
    EXPECT_EQ(v.stateTips[0], "0グループ「一般図」\n非表示のレイヤー: 3 建具、7");
    EXPECT_EQ(v.stateTips[1], "1グループ");
}

TEST(LayerBar, ColourModes)
{
    struct Case {
        int command;
        int blackWhite, gradient;
    };
    const Case cases[] = {{cmd::ColourModeColour, 0, 0},
                          {cmd::ColourModeGradient1, 0, 1},
                          {cmd::ColourModeGradient2, 0, 2},
                          {cmd::ColourModeChic, 0, 3},
                          {cmd::ColourModeBlackWhite, 1, 3}};
    kov::test::DocumentRig rig;
    CPlotInfo& plot = rig.doc->m_PlotInfo;
    for (const Case& c : cases) {
        SetColourMode(plot, c.command);
        EXPECT_EQ(plot.PlotSirokuro, c.blackWhite) << c.command;
        EXPECT_EQ(plot.PlotGradation, c.gradient) << c.command;
        EXPECT_EQ(RefreshLayerBarView(rig.doc->m_Unit, plot).colourButton, c.command);
    }
    plot.PlotSirokuro = 0;
    plot.PlotGradation = 7; // read from a file
    EXPECT_EQ(RefreshLayerBarView(rig.doc->m_Unit, plot).colourButton, cmd::ColourModeGradient1);
    EXPECT_EQ(plot.PlotGradation, 1);
}

TEST(ToolPanel, GridDivisionAndRoomLockLists)
{
    kov::platform::MemoryProfile p;
    EXPECT_EQ(GridDivisionItems()[static_cast<std::size_t>(GridDivisionItemOf(7))], "７分割");
    EXPECT_EQ(GridDivisionItems()[static_cast<std::size_t>(GridDivisionItemOf(15))], "設定分割");
    EXPECT_EQ(GridDivisionItemOf(12), 10);
    EXPECT_EQ(GridDivisionOfItem(11, p), 20);
    EXPECT_EQ(GridDivisionOfItem(12, p), 1); // "設定分割" with nothing stored
    p.WriteProfileInt(kSectionUtility, "app_grid_kankaku_A", 16);
    EXPECT_EQ(GridDivisionOfItem(12, p), 16);
    EXPECT_EQ(GridDivisionOfItem(-1, p), -1);
    EXPECT_EQ(RoomLockValueOfItem(0), 1);
    EXPECT_EQ(RoomLockValueOfItem(1), 2);
    EXPECT_EQ(RoomLockValueOfItem(2), 0);
    EXPECT_EQ(RoomLockItemOf(7), 2);
}

// Each tool command: tool number, selection kept or cleared, snaps, axis lock and prompt, with the
// automatic snap switches on.
TEST(ToolPanel, ToolCommandEffects)
{
    struct Case {
        int command;
        int tool;
        bool selectionKept;
        int lineSnap, coreSnap, gridSnap;
        int axis;
        const char* prompt;
        int fittingSetting = 0;
    };
    const Case cases[] = {
        {cmd::PanelSelect, 0, true, 1, 1, 1, 0, "選択モード"},
        {cmd::PanelWall, 1, false, 0, 1, 1, 3, "２点指定で壁作成"},
        {cmd::PanelRectRoom, 10, false, 0, 1, 1, 0, "２点指定で四角形部屋作成"},
        {cmd::PanelPolygonRoom, 11, false, 0, 1, 1, 0, "ｸﾘｯｸしていき多角形部屋作成（開始点と同じ点指定で終了）"},
        {cmd::PanelStairs, 56, false, 0, 1, 1, 3, "3点指定で階段作成（まず幅を２点で指定）"},
        {cmd::PanelStairs, 56, false, 1, 0, 1, 3, "3点指定で階段作成（まず幅を２点で指定）", 1},
        {cmd::PanelFittings, 55, false, 1, 0, 1, 3, "3点指定で建具作成", 1},
        {cmd::PanelText, 8, false, 1, 1, 1, 0, ""},
        {cmd::PanelDecoratedText, 70, false, 1, 1, 1, 0, "修飾文字作成位置をクリック"},
        // The parts palette and the picture insertion end the tool in use and switch grid snap off;
        // the picture switches wall-core snap off too.
        {cmd::PanelParts, 0, true, 1, 1, 0, 0, ""},
        {cmd::PanelImage, 0, true, 1, 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        kov::test::DocumentRig rig;
        CKoviraDoc& doc = *rig.doc;
        // In the middle of another tool with every snap on, so that each effect shows.
        doc.m_nToolMode = 4;
        doc.m_PlotInfo.PlotLinePita = 1;
        doc.m_PlotInfo.PlotWallPita = 1;
        doc.m_Grid.visible = 1;
        doc.m_Grid.kyutyaku = 1;
        doc.m_Selection.AddTextId(rig.addText("a"));
        rig.profile.WriteProfileInt(kSectionUtility, "tateg_seti", c.fittingSetting);
        AppSettingsCache s;
        s.app_autopita = 1;
        s.app_autogridpita = 1;
        s.app_walltyoku = 1;
        const ToolCommandEffect* e = FindToolCommand(c.command);
        ASSERT_NE(e, nullptr);
        const int axis = ApplyToolCommand(doc, s, rig.profile, *e);
        EXPECT_EQ(doc.m_nToolMode, c.tool) << c.command;
        EXPECT_EQ(doc.m_Selection.m_nCount == 1, c.selectionKept) << c.command;
        EXPECT_EQ(doc.m_PlotInfo.PlotLinePita, c.lineSnap) << c.command;
        EXPECT_EQ(doc.m_PlotInfo.PlotWallPita, c.coreSnap) << c.command;
        EXPECT_EQ(doc.m_Grid.kyutyaku, c.gridSnap) << c.command;
        EXPECT_EQ(axis, c.axis) << c.command;
        EXPECT_EQ(e->prompt, c.prompt) << c.command;
    }
}

TEST(ToolPanel, SnapSwitches)
{
    kov::test::DocumentRig rig;
    CKoviraDoc& doc = *rig.doc;
    doc.m_Grid.visible = 0;
    doc.m_Grid.kyutyaku = 1;
    EXPECT_EQ(ToggleGridSnapFlag(doc.m_Grid), "");
    EXPECT_EQ(doc.m_Grid.kyutyaku, 1);
    doc.m_Grid.visible = 1;
    EXPECT_EQ(ToggleGridSnapFlag(doc.m_Grid), "グリッド吸着ＯＦＦ");
    EXPECT_EQ(ToggleGridSnapFlag(doc.m_Grid), "グリッド吸着ＯＮ");

    CPlotInfo& plot = doc.m_PlotInfo;
    plot.PlotLinePita = 0;
    plot.PlotWallPita = 1;
    EXPECT_EQ(ToggleLineSnapFlag(plot, true), "線吸着ＯＮ");
    EXPECT_EQ(plot.PlotWallPita, 0); // never both through the buttons
    EXPECT_EQ(ToggleLineSnapFlag(plot, true), "線吸着ＯＦＦ");
    EXPECT_EQ(plot.PlotWallPita, 0);
    EXPECT_EQ(ToggleWallCoreSnapFlag(plot, true), "壁芯吸着ＯＮ");
    plot.PlotLinePita = 1;
    EXPECT_EQ(ToggleWallCoreSnapFlag(plot, false), "壁芯吸着ＯＦＦ");
    EXPECT_EQ(plot.PlotLinePita, 1);
}

TEST(ToolPanel, ScaleChangeRescalesTextsOfEveryGroup)
{
    kov::test::DocumentRig rig;
    CKoviraDoc& doc = *rig.doc;
    CLayer& layer = doc.m_PlotInfo.m_Layer;
    layer.SetAllScales(100);
    layer.m_dScale[3] = 200;
    auto text = [&doc](int group) {
        auto t = std::make_unique<CKovText>();
        t->MTextID = doc.m_Unit.NextTextId();
        t->MTextLayer1 = group;
        t->MTextFontMenu.lfHeight = 9;
        t->MTextFontMenu.m_size = 2.5;
        t->MTextFontMenu.m_kankaku = 0.5;
        const int id = t->MTextID;
        doc.m_Unit.m_Texts.Add(std::move(t));
        return id;
    };
    const int a = text(0), b = text(3);
    ASSERT_TRUE(ChangeScale(doc.m_PlotInfo, doc.m_Unit, 50, true));
    for (int g = 0; g < CLayer::kUsed; ++g) EXPECT_EQ(layer.m_dScale[static_cast<std::size_t>(g)], 50.0);
    const CFontMenu& fa = doc.m_Unit.m_Texts.Find(a)->MTextFontMenu;
    EXPECT_EQ(fa.lfHeight, 18);
    EXPECT_DOUBLE_EQ(fa.m_size, 5.0);
    EXPECT_DOUBLE_EQ(fa.m_kankaku, 1.0);
    EXPECT_DOUBLE_EQ(doc.m_Unit.m_Texts.Find(b)->MTextFontMenu.m_size, 10.0); // 200 / 50

    // Without the check box only the scales change; an out-of-range scale changes nothing.
    ASSERT_TRUE(ChangeScale(doc.m_PlotInfo, doc.m_Unit, 25, false));
    EXPECT_DOUBLE_EQ(doc.m_Unit.m_Texts.Find(a)->MTextFontMenu.m_size, 5.0);
    EXPECT_FALSE(ChangeScale(doc.m_PlotInfo, doc.m_Unit, 10000, true));
    EXPECT_FALSE(ChangeScale(doc.m_PlotInfo, doc.m_Unit, 0.001, true));
    EXPECT_EQ(layer.m_dScale[0], 25.0);
    EXPECT_EQ(ScaleText(50), "50");
    EXPECT_EQ(ScaleText(33.5), "33.50");
}

TEST(Menus, PromptsWithoutAccessKeys)
{
    std::string buf;
    EXPECT_EQ(StripAccessKey("設定(&K)...", buf), "設定");
    EXPECT_EQ(StripAccessKey("グループの保存...(&S)", buf), "グループの保存");
    EXPECT_EQ(StripAccessKey("線結合で連続線、多角形化（&K）", buf), "線結合で連続線、多角形化");
    EXPECT_EQ(StripAccessKey("垂直線", buf), "垂直線");
    // Every command of the menus has exactly one item.
    std::set<int> seen;
    for (const auto& menu : MainMenus())
        for (const auto& item : menu.items)
            if (item.command) {
                EXPECT_TRUE(seen.insert(item.command).second) << item.command;
            }
}

} // namespace

namespace {

using kov::platform::FontChoice;

TEST(Properties, FontChooserKeepsVerticalTextVerticalAndUnchangedSizesExact)
{
    kov::platform::ScriptedQuestions q;
    CFontMenu f;
    f.lfFaceName = "@ＭＳ 明朝";
    f.lfEscapement = 2700;
    f.m_size = 3.3;
    const int px = MmToPixels(3.3, 96); // 12
    EXPECT_EQ(px, 12);
    FontChoice same{"ＭＳ 明朝", px, 700, false, false, false, 0x0000FF};
    q.pickFont(same);
    ASSERT_TRUE(PickFontRecord(f, q, 96));
    EXPECT_EQ(q.asked().back().initialFont.faceName, "ＭＳ 明朝");
    EXPECT_EQ(f.lfFaceName, "@ＭＳ 明朝");
    EXPECT_EQ(f.lfEscapement, 2700);
    EXPECT_EQ(f.m_size, 3.3); // bit for bit
    EXPECT_EQ(f.lfWeight, 700);
    EXPECT_EQ(f.m_Color, 0x0000FFu);

    FontChoice bigger{"IPAGothic", -24, 400, false, false, false, 0};
    q.pickFont(bigger);
    f.lfEscapement = 0;
    f.lfFaceName = "ＭＳ ゴシック";
    ASSERT_TRUE(PickFontRecord(f, q, 96));
    EXPECT_EQ(f.lfFaceName, "IPAGothic");
    EXPECT_DOUBLE_EQ(f.m_size, 24 * 25.4 / 96);

    q.pickFont(std::nullopt);
    const CFontMenu before = f;
    EXPECT_FALSE(PickFontRecord(f, q, 96));
    EXPECT_EQ(f.lfFaceName, before.lfFaceName);
}

TEST(Properties, ThinColumnKeepsTheAxisItWasThinAcross)
{
    struct Case {
        const char* name;
        CDbPoint dragTo;
        double xHalf, yHalf;
    };
    const Case cases[] = {{"upright", {0, 500}, 25, 50}, {"lying", {500, 0}, 50, 25}};
    for (const Case& c : cases) {
        kov::test::DocumentRig rig;
        CKoviraDoc& doc = *rig.doc;
        doc.m_PlotInfo.hasiratype = CKovWall::STUD;
        const int id = doc.m_Unit.AddColumn({0, 0}, c.dragTo, 10, doc.m_PlotInfo);
        ASSERT_GT(id, 0);
        const std::size_t undo = doc.m_UndoStack.size();
        ASSERT_TRUE(ApplyColumnThickness(doc, id, 50, CKovWall::STUD));
        doc.SettleUndo();
        EXPECT_EQ(doc.m_UndoStack.size(), undo + 1) << c.name; // the edit can be undone
        double maxX = 0, maxY = 0;
        for (const CDbPoint& p : doc.m_Unit.FindWall(id)->MWallPntKado) {
            maxX = std::max(maxX, std::fabs(p.x));
            maxY = std::max(maxY, std::fabs(p.y));
        }
        EXPECT_EQ(maxX, c.xHalf) << c.name;
        EXPECT_EQ(maxY, c.yHalf) << c.name;
    }
}

TEST(Properties, WallThicknessIsUndoableAndRejoins)
{
    kov::test::DocumentRig rig;
    CKoviraDoc& doc = *rig.doc;
    const int id = doc.m_Unit.AddWall({0, 0}, {1000, 0}, 50, doc.m_PlotInfo);
    doc.m_Unit.ResetWallOutline(id);
    const std::size_t undo = doc.m_UndoStack.size();
    ASSERT_TRUE(ApplyWallThickness(doc, id, 120, 1));
    doc.SettleUndo();
    EXPECT_EQ(doc.m_UndoStack.size(), undo + 1);
    const CKovWall& w = *static_cast<const CKovUnit&>(doc.m_Unit).FindWall(id);
    EXPECT_EQ(w.MWallWide1, 120);
    EXPECT_EQ(w.MWallType, 1);
    double maxY = 0;
    for (const CDbPoint& p : w.MWallPntKado) maxY = std::max(maxY, std::fabs(p.y));
    EXPECT_EQ(maxY, 120);
    EXPECT_FALSE(ApplyWallThickness(doc, 999, 10, 0));
}

} // namespace
