// The fitting tool and the notation-symbol tool driven by clicks through the tool machine, on the
// library the program ships, and the commands on placed fittings.

#include "ToolHarness.h"

#include "building/PartLibrary.h"
#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/Profile.h"
#include "tools/ToolMachine.h"
#include "tools/ToolTexts.h"

#include <gtest/gtest.h>

using namespace kov::test;
using kov::platform::Answer;
namespace fs = std::filesystem;

namespace {

const fs::path kLibrary = KOVIRA_LIBRARY_DATA;

// A harness whose document finds the shipped library, with a wall drawn along y = 910 from x = 910
// to 4550 (on the half-module grid).
struct FittingRig : ToolHarness {
    FittingRig()
    {
        auto& folders = rig.doc->services().folders;
        folders.fittings = kLibrary / "tateg";
        folders.symbols = kLibrary / "hyouki";
        start(1);
        click({910, 910});
        click({4550, 910});
        m.CallSelectTool();
        // Only the grid snaps: a third click a few pixels off the wall stays where it was.
        rig.doc->m_PlotInfo.PlotWallPita = 0;
        rig.doc->m_PlotInfo.PlotLinePita = 0;
    }
    const CKovGroup* lastGroup() const
    {
        return unit().m_Groups.empty() ? nullptr : unit().m_Groups[unit().m_Groups.GetSize() - 1];
    }
    const CKovLine& frame(const CKovGroup& g) const { return *unit().FittingFrame(g); }
    std::vector<const CKovLine*> members(const CKovGroup& g) const
    {
        std::vector<const CKovLine*> out;
        for (int id : g.MGrpLineID) out.push_back(unit().FindLine(id));
        return out;
    }
};

} // namespace

TEST(FittingTool, ThreeClicksPutADoorOnTheWallCore)
{
    FittingRig h;
    ASSERT_TRUE(h.start(55));
    EXPECT_EQ(h.host.prompt, "3点指定で建具作成");
    h.m.m_Fitting.kind = 2;
    h.m.m_Fitting.number = 1;
    const std::size_t undo = h.undoDepth();
    h.click({1820, 910});
    h.click({2730, 910});
    EXPECT_EQ(h.host.prompt, "扉の向きを選んでください");
    h.click({2275, 1820});
    const CKovGroup* g = h.lastGroup();
    ASSERT_TRUE(g);
    EXPECT_EQ(g->MGrpRoom, CKovGroup::FITTING);
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    EXPECT_EQ(h.sel().m_Groups, std::vector<int>{g->MGrpID});
    EXPECT_EQ(h.undoDepth(), undo + 1);
    // 810 wide between the wall halves at the clicks, 100 deep about the core.
    const auto& p = h.frame(*g).MLinePnt;
    EXPECT_EQ(p[0], CDbPoint(1870, 860));
    EXPECT_EQ(p[2], CDbPoint(2680, 960));
    EXPECT_EQ((p[0].y + p[1].y) / 2, 910);
    EXPECT_EQ(h.frame(*g).MLineParam, (std::vector<double>{0, 2, 1, 0, 2500, 0}));
    // The door swings out on the side of the third click, hinged on the wall's face.
    bool swing = false;
    for (const CKovLine* f : h.members(*g))
        if (f->MLineType == CKovLine::ARC) {
            swing = true;
            EXPECT_EQ(f->MLinePnt[0].y, 960);
            EXPECT_GT(f->MLinePnt[1].y, 960);
        }
    EXPECT_TRUE(swing);
    // The tool stays for the next fitting.
    EXPECT_EQ(h.m.ToolMode(), 55);
}

TEST(FittingTool, ASlidingDoorWithItsPocket)
{
    FittingRig h;
    h.start(55);
    h.m.m_Fitting.kind = 1;
    h.m.m_Fitting.number = 12;
    h.click({910, 910});
    h.click({2730, 910});
    h.click({2600, 1820});
    const CKovGroup* g = h.lastGroup();
    ASSERT_TRUE(g && g->MGrpRoom == CKovGroup::FITTING);
    const auto& p = h.frame(*g).MLinePnt;
    EXPECT_NEAR(PointDistance(p[0].x, p[0].y, p[3].x, p[3].y), 1720, 1e-9);
    int pockets = 0;
    for (const CKovLine* f : h.members(*g))
        if (f != &h.frame(*g) && f->MLineType == CKovLine::RECTANGLE) {
            ++pockets;
            EXPECT_EQ(f->MLinebNakanuri, 1);
            EXPECT_EQ(f->MLineNakaColor, 0u);
            // The pocket stands at the end nearer the third click.
            EXPECT_GE(f->MLinePnt[0].x, 1819.99);
        }
    EXPECT_EQ(pockets, 1);
}

TEST(FittingTool, ClicksThatPlaceNothing)
{
    FittingRig h;
    h.start(55);
    // No fitting chosen: the second click says so and the points stay.
    h.click({1820, 910});
    h.click({2730, 910});
    EXPECT_EQ(h.host.messages, std::vector<std::string>{"建具を選んで下さい"});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    // A second click on the first does nothing.
    h.m.m_Fitting.kind = 2;
    h.m.m_Fitting.number = 1;
    h.key(kov::tools::ToolKey::Escape);
    h.click({1820, 910});
    h.click({1820, 910});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    // The right button drops the last point.
    h.click({2730, 910});
    ASSERT_EQ(h.m.m_ToolPoints.size(), 2u);
    h.rclick({2730, 910});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    // A number without a drawing: the message, the points gone, nothing inserted.
    h.m.m_Fitting.number = 99;
    h.click({3185, 910});
    h.click({2275, 1820});
    EXPECT_EQ(h.host.messages.back(), "建具を選んで下さい");
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    EXPECT_TRUE(h.unit().m_Groups.empty());
    // A typed width of nothing is refused after the drawing came in: it goes again.
    h.m.m_Fitting.number = 1;
    h.m.m_Fitting.widthMode = 1;
    h.m.m_Fitting.width = -810;
    h.click({1820, 910});
    h.click({2730, 910});
    h.click({2275, 1820});
    EXPECT_EQ(h.host.messages.back(), "建具の幅または厚みが不正です。");
    EXPECT_TRUE(h.unit().m_Groups.empty());
}

TEST(FittingTool, CommandsOnThePlacedFitting)
{
    FittingRig h;
    h.start(55);
    h.m.m_Fitting.kind = 2;
    h.m.m_Fitting.number = 1;
    h.click({1820, 910});
    h.click({2730, 910});
    h.click({2275, 1820});
    h.m.CallSelectTool();
    auto only = [&h]() -> const CKovGroup& {
        EXPECT_EQ(h.unit().m_Groups.GetSize(), 1);
        return *h.lastGroup();
    };
    h.m.OnFlipDoor();
    EXPECT_EQ(h.frame(only()).MLineParam[0], 1);
    h.m.OnTurnFitting();
    EXPECT_EQ(only().MGrpKakudo, 180);
    // The size dialog: a new width, the stored heights of a door kept.
    h.host.fittingSizeAnswers.push_back(std::array<double, 2>{900, 150});
    h.m.OnChangeFittingSize();
    const CKovLine& f = h.frame(only());
    EXPECT_NEAR(PointDistance(f.MLinePnt[0].x, f.MLinePnt[0].y, f.MLinePnt[3].x, f.MLinePnt[3].y), 900, 1e-9);
    EXPECT_NEAR(PointDistance(f.MLinePnt[0].x, f.MLinePnt[0].y, f.MLinePnt[1].x, f.MLinePnt[1].y), 150, 1e-9);
    EXPECT_EQ(f.MLineParam[4], 2500);
    EXPECT_EQ(f.MLineParam[5], 0);
    // Cancelled: nothing, not even an undo step.
    const std::size_t undo = h.undoDepth();
    h.host.fittingSizeAnswers.push_back(std::nullopt);
    h.m.OnChangeFittingSize();
    EXPECT_EQ(h.undoDepth(), undo);
    // Without a selection the direction commands do nothing.
    h.sel().Clear();
    h.m.OnFlipShutter();
    EXPECT_EQ(h.unit().m_Groups.GetSize(), 1);
}

TEST(NotationSymbolTool, ARowFromThreeClicksAndTheDialog)
{
    FittingRig h;
    ASSERT_TRUE(h.start(69));
    EXPECT_EQ(h.host.prompt, "地盤、砂利などを作図する範囲の幅を決める一点目を左クリック");
    h.click({910, 2730});
    EXPECT_EQ(h.host.prompt, "地盤、砂利などを作図する範囲の幅を決める二点目を左クリック");
    h.click({910, 2730}); // the same point again: no range
    EXPECT_EQ(h.m.m_ToolPoints.size(), 1u);
    h.click({3640, 2730});
    EXPECT_EQ(h.host.prompt, "表示記号の高さを決めて左クリック");
    // A third click on the line: no height, nothing asked.
    h.click({2275, 2730});
    EXPECT_TRUE(h.unit().m_Groups.empty());
    // Cancel keeps the points.
    h.host.symbolAnswers.push_back(std::nullopt);
    h.click({2275, 3185});
    EXPECT_EQ(h.m.m_ToolPoints.size(), 2u);
    h.host.symbolAnswers.push_back(kov::tools::NotationSymbolChoice{4, 0, 100});
    h.click({2275, 3185});
    EXPECT_EQ(h.host.prompt, "開始位置を決めて左クリック");
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    ASSERT_EQ(h.unit().m_Groups.GetSize(), 1);
    const CKovGroup& row = *h.lastGroup();
    EXPECT_EQ(h.sel().m_Groups, std::vector<int>{row.MGrpID});
    EXPECT_NEAR(row.MGrpmin.x, 910, 1e-6);
    EXPECT_NEAR(row.MGrpmax.x, 3640, 1e-6);
    EXPECT_NEAR(row.MGrpmax.y - row.MGrpmin.y, 455, 1e-6);
    EXPECT_EQ(h.rig.profile.GetProfileInt("KOV_T_PlotMenu", "hyoukikigou_takasakotei", -1), 0);
    // A fixed height replaces the clicked one and is stored.
    h.click({910, 3640});
    h.click({3640, 3640});
    h.host.symbolAnswers.push_back(kov::tools::NotationSymbolChoice{1, 1, 200});
    h.click({2275, 4095});
    EXPECT_NEAR(h.lastGroup()->MGrpmax.y - h.lastGroup()->MGrpmin.y, 200, 1e-6);
    EXPECT_EQ(h.rig.profile.GetProfileString("KOV_T_PlotMenu", "hyoukikigou_takasa", ""), "200.0");
    EXPECT_EQ(h.rig.profile.GetProfileInt("KOV_T_PlotMenu", "hyoukikigou_takasakotei", 0), 1);
    // Without the symbols the row fails and says so.
    h.rig.doc->services().folders.symbols = h.rig.file("nowhere");
    h.click({910, 4550});
    h.click({3640, 4550});
    h.host.symbolAnswers.push_back(kov::tools::NotationSymbolChoice{2, 0, 100});
    h.click({2275, 5005});
    EXPECT_EQ(h.host.messages.back(), "表示記号作成に失敗しました。");
    EXPECT_EQ(h.unit().m_Groups.GetSize(), 2);
}

TEST(FittingTool, RangeMirrorKeepsTheDoorsHandWhenSet)
{
    // A range mirrored about the door's own centre line: with the setting on the door is rebuilt
    // from its drawing and opens as before; off, it is the mirror image, point by point.
    auto drawing = [](const FittingRig& h) {
        std::vector<std::pair<long, long>> points;
        for (const CKovLine* f : h.members(*h.lastGroup()))
            for (const CDbPoint& p : f->MLinePnt) points.emplace_back(std::lround(p.x), std::lround(p.y));
        std::sort(points.begin(), points.end());
        return points;
    };
    for (int keep : {1, 0}) {
        SCOPED_TRACE(keep);
        FittingRig h;
        h.rig.profile.WriteProfileInt("KOV_T_UTILITY", "tateg_allrev_notrev", keep);
        h.start(55);
        h.m.m_Fitting.kind = 2;
        h.m.m_Fitting.number = 1;
        h.click({1820, 910});
        h.click({2730, 910});
        h.click({2275, 1820});
        const auto before = drawing(h);
        auto mirrored = before;
        for (auto& p : mirrored) p.first = 4550 - p.first;
        std::sort(mirrored.begin(), mirrored.end());
        ASSERT_NE(before, mirrored); // the door is not symmetric
        ASSERT_TRUE(h.start(40));
        h.click({1365, 0});
        h.rig.questions.reply(Answer::Ok, "囲った内容を反転してよろしいですか？");
        h.click({3185, 1820});
        ASSERT_EQ(h.unit().m_Groups.GetSize(), 1);
        EXPECT_EQ(drawing(h), keep ? before : mirrored);
        // The selection holds what is in the drawing.
        EXPECT_EQ(h.sel().m_Groups, std::vector<int>{h.lastGroup()->MGrpID});
        h.m.OnUndo();
        EXPECT_EQ(drawing(h), before);
    }
}
