// Every tool start: its prompt, the undo snapshot it takes, whether the selection stays, the axis
// lock and the snap switches it leaves.

#include "ToolHarness.h"

#include "tools/ToolTexts.h"

#include <gtest/gtest.h>

namespace {

using kov::test::ToolHarness;
using kov::tools::ToolTable;

struct StartRow {
    int tool;
    bool starts;      // the tool number is set
    int snapshots;    // undo snapshots the start takes
    bool keepsSelection;
    int axisLock;
    int lineSnap;     // after a start from line snap on, wall snap off
    int wallSnap;
};

// Tools 23 and 71 refuse with a line selected; 2 and 24 have no start of their own.
const StartRow kStarts[] = {
    {1, true, 0, false, 0, 0, 1},   {2, false, 0, true, 0, 1, 0},   {3, true, 0, false, 0, 1, 0},
    {4, true, 0, false, 0, 1, 0},   {5, true, 0, false, 0, 1, 0},   {6, true, 0, false, 0, 1, 0},
    {7, true, 0, false, 0, 1, 0},   {8, true, 0, false, 0, 1, 0},   {9, true, 1, false, 0, 1, 1},
    {10, true, 0, false, 0, 1, 1},  {11, true, 0, false, 0, 1, 1},  {12, true, 1, false, 0, 1, 0},
    {13, true, 0, false, 0, 1, 0},  {14, true, 0, false, 0, 1, 0},  {15, true, 1, false, 0, 1, 0},
    {16, true, 1, true, 0, 1, 0},   {17, true, 1, true, 0, 1, 0},   {18, true, 1, false, 0, 1, 0},
    {19, true, 1, true, 0, 1, 0},   {20, true, 1, false, 0, 1, 0},  {21, true, 1, false, 0, 1, 0},
    {22, true, 1, false, 0, 1, 0},  {23, false, 1, true, 0, 1, 0},  {24, false, 0, true, 0, 1, 0},
    {25, true, 1, false, 0, 1, 0},  {26, true, 1, false, 0, 1, 0},  {27, true, 1, false, 0, 1, 0},
    {28, true, 1, false, 0, 1, 0},  {29, true, 1, false, 0, 1, 0},  {30, true, 1, false, 0, 1, 0},
    {31, true, 1, false, 0, 1, 0},  {32, true, 1, false, 0, 1, 0},  {33, true, 1, true, 0, 1, 0},
    {34, true, 1, false, 0, 1, 0},  {35, true, 1, false, 0, 1, 0},  {36, true, 1, false, 0, 1, 0},
    {37, true, 1, true, 0, 1, 0},   {38, true, 1, false, 0, 1, 0},  {39, true, 1, false, 0, 1, 0},
    {40, true, 1, false, 0, 1, 0},  {41, true, 1, false, 0, 1, 0},  {42, true, 1, false, 0, 1, 0},
    {43, true, 1, false, 0, 1, 0},  {44, true, 1, false, 0, 1, 0},  {45, true, 1, false, 0, 1, 0},
    {46, true, 1, false, 0, 1, 0},  {47, true, 1, true, 0, 1, 0},   {48, true, 1, true, 0, 1, 0},
    {49, true, 1, true, 0, 1, 0},   {50, true, 1, true, 0, 1, 0},   {51, true, 1, false, 0, 1, 0},
    {52, true, 1, false, 0, 1, 0},  {53, true, 1, false, 0, 1, 0},  {54, true, 1, false, 0, 1, 0},
    {55, true, 0, false, 0, 1, 0},  {56, true, 0, false, 0, 1, 0},  {57, true, 1, false, 0, 0, 1},
    {58, true, 1, false, 0, 1, 0},  {59, true, 0, false, 0, 1, 0},  {60, true, 1, false, 0, 1, 0},
    {61, true, 1, false, 0, 1, 0},  {62, true, 1, false, 0, 1, 0},  {63, true, 1, true, 0, 1, 0},
    {64, true, 1, false, 0, 1, 0},  {65, true, 0, true, 0, 1, 0},   {66, true, 0, true, 0, 1, 0},
    {67, true, 0, false, 0, 1, 0},  {68, true, 0, false, 0, 1, 0},  {69, true, 0, false, 0, 1, 0},
    {70, true, 0, false, 0, 1, 0},  {71, false, 0, true, 0, 1, 0},
};

// The first prompt of every tool, written out as the user reads it rather than taken from the code's
// own table (index = tool number; none for the tools that have no start of their own and the text
// tool, whose panels ask).
const char* const kFirstPrompts[72] = {
    "",
    "２点指定で壁作成", // 1
    "", // 2
    "２点指定で線作成", // 3
    "２点指定で四角形作成", // 4
    "左ｸﾘｯｸで頂点設定、右ｸﾘｯｸで直前点ｷｬﾝｾﾙ（開始点と同じ点指定で終了）", // 5
    "中心点と半径指定で円作成", // 6
    "中心点、半径、開始、終了点指定円弧作成", // 7
    "", // 8
    "開始点、終了点、寸法高さをクリック", // 9
    "２点指定で四角形部屋作成", // 10
    "ｸﾘｯｸしていき多角形部屋作成（開始点と同じ点指定で終了）", // 11
    "クリックドラッグして範囲を決める", // 12
    "クリックドラッグして範囲を決める", // 13
    "ｸﾘｯｸした要素（ﾚｲﾔｰ）を取得する", // 14
    "左ｸﾘｯｸで位置指定", // 15
    "一点目をクリック", // 16
    "基準線上をクリック", // 17
    "切断したい線の上をクリック", // 18
    "線上の切断開始点をクリック", // 19
    "ｸﾘｯｸした線を削除（ｸﾞﾙｰﾌﾟの要素は不可）", // 20
    "基準線上をクリック", // 21
    "基準線上をクリック", // 22
    "円周上の点か、円へ接する線をひく指定点をクリック", // 23
    "", // 24
    "円弧開始点をクリック", // 25
    "左ｸﾘｯｸで位置指定、Wクリックで終了", // 26
    "左ｸﾘｯｸで位置指定、Wクリックで終了", // 27
    "中心点をクリック", // 28
    "左クリックで中心点をクリック", // 29
    "ｸﾘｯｸした点を通る曲線作成Ｗｸﾘｯｸで終了", // 30
    "滑らかな曲線（ﾍﾞｼﾞｪ）作成、Ｗｸﾘｯｸで終了", // 31
    "基準線(または円、円弧)上をクリック", // 32
    "分割一点目をクリック", // 33
    "一点目をクリック", // 34
    "コーナー処理する線上をクリック", // 35
    "面取りする二つの線上をクリック", // 36
    "画面中心となる位置をクリック", // 37
    "範囲一点目をクリック", // 38
    "範囲一点目をクリック", // 39
    "範囲一点目をクリック", // 40
    "範囲一点目をクリック", // 41
    "範囲一点目をクリック", // 42
    "範囲一点目をクリック", // 43
    "範囲一点目をクリック", // 44
    "範囲一点目をクリック", // 45
    "範囲一点目をクリック", // 46
    "角度計測点をクリック", // 47
    "一点目をクリック", // 48
    "一点目をクリック", // 49
    "底辺となる一点目をクリック", // 50
    "寸法指定四角形作成、指定位置で左クリック", // 51
    "3点指定で屋根作成", // 52
    "連続線で外壁線作成(Wｸﾘｯｸで終了)", // 53
    "左ｸﾘｯｸ指定でバルコニー作成(Wｸﾘｯｸで終了)", // 54
    "3点指定で建具作成", // 55
    "3点指定で階段作成（まず幅を２点で指定）", // 56
    "消したい部分の一点目を左クリックで指定", // 57
    "一点目からマウスの動かしたところに曲線作成、２点目で終了", // 58
    "クリックドラッグして範囲を決めてください", // 59
    "伸縮する範囲を囲むように一点目をクリック", // 60
    "左ｸﾘｯｸで位置指定、Wクリックで終了", // 61
    "角の丸い四角形をグループとして作成、１，２点で四角形、３点目で丸の大きさを決めます", // 62
    "選択物を反転させる基準線をクリック", // 63
    "分割する直線（円、円弧）をクリック", // 64
    "選択している部屋の頂点を追加したい壁上をクリック", // 65
    "曲線化したい選択している部屋の２つの頂点のどちらかをクリック", // 66
    "結合する直線の上をクリック", // 67
    "吹き出しをグループとして作成、左クリック１，２点で四角形、３点目で吹き出し位置を決めます", // 68
    "地盤、砂利などを作図する範囲の幅を決める一点目を左クリック", // 69
    "修飾文字作成位置をクリック", // 70
    "画像上の基点を左クリック", // 71
};

TEST(ToolStarts, EverySeventyOneTools)
{
    ASSERT_EQ(std::size(kStarts), 71u);
    for (const StartRow& r : kStarts) {
        SCOPED_TRACE(testing::Message() << "tool " << r.tool);
        ToolHarness h;
        const int line = h.rig.addLine(0, 0, 910, 0);
        h.sel().AddLineId(line);
        h.rig.doc->m_PlotInfo.PlotLinePita = 1;
        h.rig.doc->m_PlotInfo.PlotWallPita = 0;
        h.host.parallelAnswers.push_back(75.0);
        h.host.rectAnswers.push_back(std::nullopt);
        h.host.originAnswers.push_back(std::nullopt); // the drawing centre asks at its click
        h.m.m_nAxisLock = 2;
        const std::size_t depth = h.undoDepth();

        const bool started = h.start(r.tool);
        EXPECT_EQ(started, r.starts);
        EXPECT_EQ(h.m.ToolMode(), r.starts ? r.tool : 0);
        EXPECT_EQ(h.host.pushes, r.snapshots);
        // A start changes no object, so its snapshot never becomes an undo step of its own.
        EXPECT_EQ(h.undoDepth(), depth);
        EXPECT_EQ(!h.sel().IsEmpty(), r.keepsSelection);
        if (r.starts) {
            EXPECT_EQ(h.m.m_nAxisLock, r.tool == 60 || (r.tool >= 12 && r.tool <= 14) || r.tool == 59 ? 0 : r.axisLock);
            EXPECT_EQ(h.rig.doc->m_PlotInfo.PlotLinePita, r.lineSnap);
            EXPECT_EQ(h.rig.doc->m_PlotInfo.PlotWallPita, r.wallSnap);
            // The first prompt exactly: no tool says any more that it is not ready.
            EXPECT_EQ(h.host.prompt, kFirstPrompts[r.tool]);
            // A click never crashes.
            h.click({910, 910});
            EXPECT_EQ(h.host.prompt.find("まだ使えません"), std::string::npos) << h.host.prompt;
        }
    }
}

TEST(ToolStarts, FirstPromptsOfTheDrawingTools)
{
    const std::pair<int, const char*> rows[] = {
        {1, "２点指定で壁作成"},
        {3, "２点指定で線作成"},
        {4, "２点指定で四角形作成"},
        {6, "中心点と半径指定で円作成"},
        {9, "開始点、終了点、寸法高さをクリック"},
        {10, "２点指定で四角形部屋作成"},
        {11, "ｸﾘｯｸしていき多角形部屋作成（開始点と同じ点指定で終了）"},
        {28, "中心点をクリック"},
    };
    for (const auto& [tool, prompt] : rows) {
        ToolHarness h;
        h.start(tool);
        EXPECT_EQ(h.host.prompt, prompt) << tool;
    }
}

TEST(ToolStarts, RefusalsAndSettings)
{
    {
        // A circle tangent needs a circle: a line is refused with the message, the tool unchanged.
        ToolHarness h;
        h.sel().AddLineId(h.rig.addLine(0, 0, 910, 0));
        EXPECT_FALSE(h.start(23));
        ASSERT_EQ(h.host.messages.size(), 1u);
        EXPECT_EQ(h.host.messages[0], "選択物が円ではありません");
    }
    {
        // Cancel in the parallel distance keeps select mode.
        ToolHarness h;
        h.host.parallelAnswers.push_back(std::nullopt);
        EXPECT_FALSE(h.start(21));
        EXPECT_EQ(h.m.ToolMode(), 0);
    }
    {
        // The line tool starts orthogonal when asked; the wall tool shows the grid and snaps to it.
        ToolHarness h;
        h.m.settings().app_linetyoku = 1;
        h.start(3);
        EXPECT_EQ(h.m.m_nAxisLock, 3);
        h.rig.doc->m_Grid.visible = 0;
        h.rig.doc->m_Grid.kyutyaku = 0;
        h.start(1);
        EXPECT_EQ(h.m.m_nAxisLock, 0);
        EXPECT_EQ(h.rig.doc->m_Grid.visible, 1);
        EXPECT_EQ(h.rig.doc->m_Grid.kyutyaku, 1);
    }
}

} // namespace
