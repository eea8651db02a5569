// The construction line tools driven click by click through the view's tool machine: line by
// length, line by angle, perpendicular and circle tangent, with the values their panels set, their
// dialogs, prompts, messages and undo steps.

#include "ToolHarness.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "tools/MeasureTexts.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using kov::test::ToolHarness;
using kov::tools::ToolPanel;

// 1:1 on the sheet and nothing snapped: clicks land within a quarter millimetre of their aim.
struct LineHarness : ToolHarness {
    LineHarness()
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
    // The newest figure: the one a tool just drew.
    const CKovLine& newest() const { return *unit().m_Lines[unit().m_Lines.GetSize() - 1]; }
    int figures() const { return unit().m_Lines.GetSize(); }
    int circle(CDbPoint centre, double radius)
    {
        auto f = std::make_unique<CKovLine>();
        f->MLineID = rig.doc->m_Unit.NextLineId();
        f->MLineType = CKovLine::CIRCLE;
        f->MLinePnt = {centre};
        f->MLineParam = {radius};
        const int id = f->MLineID;
        rig.doc->m_Unit.m_Lines.Add(std::move(f));
        return id;
    }
};

double dist(const CDbPoint& a, const CDbPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

void expectNear(const CDbPoint& p, const CDbPoint& q, double tolerance = 0.5)
{
    EXPECT_NEAR(p.x, q.x, tolerance);
    EXPECT_NEAR(p.y, q.y, tolerance);
}

TEST(ConstructionTools, StartsOpenTheirPanels)
{
    const struct {
        int tool;
        std::optional<ToolPanel> panel;
    } cases[] = {{15, ToolPanel::Distance}, {16, ToolPanel::Angle}, {17, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tool);
        LineHarness h;
        ASSERT_TRUE(h.startTool(c.tool));
        if (c.panel) {
            ASSERT_EQ(h.host.panels.size(), 1u);
            EXPECT_EQ(h.host.panels[0].first, *c.panel);
        } else {
            EXPECT_TRUE(h.host.panels.empty());
        }
    }
}

TEST(ConstructionTools, LineByLengthRunsThePanelsLengthTowardTheSecondClick)
{
    LineHarness h;
    ASSERT_TRUE(h.startTool(15));
    h.m.m_dToolLength = 250; // what the length panel holds
    const std::size_t depth = h.undoDepth();
    h.click({100, 100});
    EXPECT_EQ(h.host.prompt, "方向を決めて二点目をクリック");
    h.click({100, 100}); // on the first point: no direction, ignored
    EXPECT_EQ(h.figures(), 0);
    h.click({400, 500});
    ASSERT_EQ(h.figures(), 1);
    expectNear(h.newest().MLinePnt[0], {100, 100});
    expectNear(h.newest().MLinePnt[1], {250, 300});
    EXPECT_EQ(h.sel().m_Lines, std::vector<int>{h.newest().MLineID});
    EXPECT_EQ(h.host.prompt, "一点目をクリック");
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    EXPECT_EQ(h.m.ToolMode(), 15);
    EXPECT_EQ(h.undoDepth(), depth + 1);

    // A stored length of nothing draws no line.
    h.m.m_dToolLength = 0;
    h.click({0, 0});
    h.click({0, 300});
    EXPECT_EQ(h.figures(), 1);
    EXPECT_EQ(h.host.messages, std::vector<std::string>{"長さが不正です"});
}

TEST(ConstructionTools, LineByAngle)
{
    struct Case {
        const char* name;
        double angle;
        int lengthGiven;
        double length;
        int clockwise; // tool_kakudo_tokei
        std::vector<CDbPoint> clicks;
        CDbPoint end;
    };
    const Case cases[] = {
        {"UpwardByLength", 90, 1, 100, 0, {{0, 0}}, {0, -100}},
        {"ClockwiseByLength", 90, 1, 100, 1, {{0, 0}}, {0, 100}},
        {"LevelToTheSecondClick", 0, 0, 50, 0, {{0, 0}, {30, 40}}, {30, 0}},
        {"SlopedFootOfTheSecondClick", 45, 0, 50, 0, {{0, 0}, {100, 0}}, {50, -50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineHarness h;
        h.rig.profile.WriteProfileInt("KOV_T_PlotMenu", "tool_kakudo_tokei", c.clockwise);
        ASSERT_TRUE(h.startTool(16));
        h.m.m_dLineAngle = c.angle; // the angle panel's values
        h.m.m_bLineLengthGiven = c.lengthGiven;
        h.m.m_dToolLength = c.length;
        for (std::size_t i = 0; i + 1 < c.clicks.size(); ++i) {
            h.click(c.clicks[i]);
            EXPECT_EQ(h.host.prompt, "二点目をクリック");
        }
        h.click(c.clicks.back());
        ASSERT_EQ(h.figures(), 1);
        expectNear(h.newest().MLinePnt[0], c.clicks[0]);
        expectNear(h.newest().MLinePnt[1], c.end);
        EXPECT_EQ(h.host.prompt, "一点目をクリック");
        EXPECT_TRUE(h.m.m_ToolPoints.empty());
    }
    // A fixed length of 0 is refused and nothing is collected.
    LineHarness h;
    ASSERT_TRUE(h.startTool(16));
    h.m.m_bLineLengthGiven = 1;
    h.m.m_dToolLength = 0;
    h.click({0, 0});
    EXPECT_EQ(h.figures(), 0);
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    EXPECT_EQ(h.host.messages, std::vector<std::string>{"長さが不正です"});
}

TEST(ConstructionTools, PerpendicularEndsOnTheParallelThroughTheClick)
{
    LineHarness h;
    const int reference = h.rig.addLine(0, 0, 1000, 0);
    ASSERT_TRUE(h.startTool(17));
    h.click({500, 300}); // nothing there
    EXPECT_EQ(h.host.messages, std::vector<std::string>{"基準線の取得に失敗しました"});
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    h.click({500, 0});
    EXPECT_EQ(h.sel().m_Lines, std::vector<int>{reference});
    EXPECT_EQ(h.host.prompt, "垂直線の始点をクリック");
    h.click({200, 100});
    EXPECT_EQ(h.host.prompt, "垂直線の終点をクリック");
    const std::size_t depth = h.undoDepth();

    // Cancel: nothing drawn, the next click asks again.
    h.host.distanceAnswers.push_back(std::nullopt);
    h.click({600, 400});
    ASSERT_EQ(h.host.distancesAsked.size(), 1u);
    EXPECT_EQ(h.host.distancesAsked[0].first, "垂直線の長さ");
    EXPECT_NEAR(h.host.distancesAsked[0].second, 300, 0.5);
    EXPECT_EQ(h.figures(), 1);
    EXPECT_EQ(h.m.m_ToolPoints.size(), 2u);

    // The proposed length confirmed ends the line on the parallel through the click.
    h.host.distanceAnswers.push_back(300.0);
    h.click({600, 400});
    ASSERT_EQ(h.figures(), 2);
    expectNear(h.newest().MLinePnt[0], {200, 100});
    expectNear(h.newest().MLinePnt[1], {200, 400});
    EXPECT_EQ(h.sel().m_Lines, std::vector<int>{h.newest().MLineID});
    EXPECT_EQ(h.host.prompt, "基準線上をクリック");
    EXPECT_EQ(h.undoDepth(), depth + 1);

    // A typed length goes the other way when negative.
    h.click({500, 0});
    h.click({800, 100});
    h.host.distanceAnswers.push_back(-50.0);
    h.click({900, 400});
    expectNear(h.newest().MLinePnt[1], {800, 50});

    // The reference deleted meanwhile: said, and the tool starts over.
    h.host.messages.clear();
    h.click({500, 0});
    h.click({300, 100});
    h.key(kov::tools::ToolKey::Delete);
    h.m.m_ToolPoints = {{500, 0}, {300, 100}};
    h.click({300, 500});
    EXPECT_EQ(h.host.messages, std::vector<std::string>{"基準線の取得に失敗しました"});
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
}

TEST(ConstructionTools, TangentFromAPointOutsideTheCircle)
{
    LineHarness h;
    const int c = h.circle({0, 0}, 100);
    h.sel().AddLineId(c);
    ASSERT_TRUE(h.startTool(23));
    h.click({10, 10}); // inside: no tangent
    EXPECT_EQ(h.host.messages, std::vector<std::string>{"指定点の位置が不正です"});
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    h.click({200, 0});
    EXPECT_EQ(h.m.ToolMode(), 23);
    EXPECT_EQ(h.host.prompt, "円接線を引く方向をクリック");
    // The tangent point on the side of the click; its distance proposed, a shorter one typed.
    const double touching = std::sqrt(200.0 * 200 - 100.0 * 100);
    h.host.distanceAnswers.push_back(100.0);
    h.click({100, -150});
    ASSERT_EQ(h.host.distancesAsked.size(), 1u);
    EXPECT_EQ(h.host.distancesAsked[0].first, "指定点から円接線への距離");
    EXPECT_NEAR(h.host.distancesAsked[0].second, touching, 0.5);
    ASSERT_EQ(h.figures(), 2);
    const CKovLine& line = h.newest();
    expectNear(line.MLinePnt[0], {200, 0});
    EXPECT_NEAR(dist(line.MLinePnt[0], line.MLinePnt[1]), 100, 1e-6);
    EXPECT_LT(line.MLinePnt[1].y, 0); // toward the upper tangent point
    // The line drawn, the tool ends in select mode with the line selected.
    EXPECT_EQ(h.m.ToolMode(), 0);
    EXPECT_EQ(h.sel().m_Lines, std::vector<int>{line.MLineID});
}

TEST(ConstructionTools, TangentAtAPointOnTheCircle)
{
    LineHarness h;
    const int c = h.circle({0, 0}, 100);
    h.sel().AddLineId(c);
    ASSERT_TRUE(h.startTool(23));
    h.click({0, -100}); // on the circle, straight above the centre
    EXPECT_EQ(h.m.ToolMode(), 24);
    EXPECT_EQ(h.host.prompt, "円周点に接線を引く始点をクリック");
    ASSERT_EQ(h.m.m_ToolPoints.size(), 1u);
    expectNear(h.m.m_ToolPoints[0], {0, -100});
    // Cancelled: nothing changes.
    h.host.distanceAnswers.push_back(std::nullopt);
    h.click({300, -50});
    EXPECT_EQ(h.figures(), 1);
    EXPECT_EQ(h.m.ToolMode(), 24);
    h.host.distanceAnswers.push_back(300.0);
    h.click({300, -50});
    ASSERT_EQ(h.host.distancesAsked.size(), 2u);
    EXPECT_EQ(h.host.distancesAsked[1].first, "円周点から指定点への距離");
    EXPECT_NEAR(h.host.distancesAsked[1].second, 300, 0.5);
    ASSERT_EQ(h.figures(), 2);
    expectNear(h.newest().MLinePnt[0], {0, -100});
    expectNear(h.newest().MLinePnt[1], {300, -100});
    EXPECT_EQ(h.m.ToolMode(), 0);
}

} // namespace
