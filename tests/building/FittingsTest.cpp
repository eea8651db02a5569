// Fittings placed on walls from the clicks, and their rebuilds: sizes, sides, ends, options and
// fills, against the worked values of the placement rules.

#include "LibraryFixtures.h"

#include "building/Fittings.h"
#include "building/PartFiles.h"
#include "building/PartLibrary.h"
#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kov::test;
namespace kb = kov::building;
namespace fs = std::filesystem;

namespace {

constexpr double kTol = 1e-6;

// A library of small drawings: kind 1 numbers 1, 5, 9 (sliding, 2-4 shutter panels) and 12 (with
// a pocket), kind 2 number 1 (a door), kind 3 numbers 1, 5, 7, kind 11 number 1 (a casement).
struct Library {
    TempFolder temp;
    fs::path root() const { return temp.path(); }
    fs::path file(int kind, int number, const std::string& name) const
    {
        return kb::FittingKindFolder(root(), kind) / (std::to_string(number + 10) + "-" + name + ".mgp");
    }
    Library()
    {
        for (int n : {1, 5, 9}) writeSliding(file(1, n, "s"), 1000);
        writePocketSliding(file(1, 12, "p"), 1000);
        writeDoor(file(2, 1, "d"), 800);
        for (int n : {1, 5, 7}) writeSliding(file(3, n, "w"), 1000);
        writeDoor(file(11, 1, "c"), 600);
    }
};

struct Rig {
    Library lib;
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord sel;
    kb::FittingRules rules;
    kb::FittingChoice choice;
    kb::PartFileCache cache;

    ~Rig() { unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }

    // The fitting tool's last click: the drawing inserted, then placed. 0 when nothing was placed.
    int place(int kind, int number, CDbPoint p0, CDbPoint p1, CDbPoint third)
    {
        choice.kind = kind;
        choice.number = number;
        const fs::path f = kb::FindFittingFile(lib.root(), kind, number);
        EXPECT_FALSE(f.empty()) << kind << "-" << number;
        const int id = kb::InsertPartFile(f, unit, plot);
        if (!unit.PlaceFitting(sel, plot, {p0, p1}, third, id, choice, rules)) return 0;
        return id;
    }
    const CKovGroup& group(int id) const { return *unit.FindGroup(id); }
    const CKovLine& frame(int id) const { return *unit.FittingFrame(group(id)); }
    std::vector<CDbPoint> framePoints(int id) const { return frame(id).MLinePnt; }
    kb::FittingLibraryAccess access()
    {
        kb::FittingLibraryAccess a;
        a.library = lib.root();
        a.cache = &cache;
        return a;
    }
    // The member figures after the frame, in order.
    std::vector<const CKovLine*> members(int id) const
    {
        std::vector<const CKovLine*> out;
        for (int m : group(id).MGrpLineID)
            if (const CKovLine* f = unit.FindLine(m); f && f != &frame(id)) out.push_back(f);
        return out;
    }
    int selected() const { return sel.m_Groups.empty() ? 0 : sel.m_Groups.front(); }
};

void expectPoints(const std::vector<CDbPoint>& got, const std::vector<CDbPoint>& want, const std::string& what)
{
    ASSERT_GE(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i].x, want[i].x, 1e-3) << what << " P" << i;
        EXPECT_NEAR(got[i].y, want[i].y, 1e-3) << what << " P" << i;
    }
}

} // namespace

TEST(Fittings, OpeningsFromTheClicks)
{
    struct Case {
        const char* name;
        int kind;
        int seti;
        int widthMode;
        double width;
        CDbPoint p1, third;
        std::vector<CDbPoint> frame; // P0-P3 as placed
        double mirror;
        double angle;
    };
    const Case cases[] = {
        // Wall-core clicks 1000 apart, 100 mm walls: 900 wide from 50 after the first click.
        {"wall cores", 1, 0, 0, 0, {1000, 0}, {500, 300}, {{50, -50}, {50, 50}, {950, 50}, {950, -50}}, 0, 0},
        // The third click on the other side turns the drawing half a turn about the opening.
        {"other side", 1, 0, 0, 0, {1000, 0}, {500, -300}, {{950, 50}, {950, -50}, {50, -50}, {50, 50}}, 0, 180},
        // Corner clicks: the rectangle lies on the right of the clicks' direction, whatever the third.
        {"corners", 1, 1, 0, 0, {1000, 0}, {500, 300}, {{0, 0}, {0, 100}, {1000, 100}, {1000, 0}}, 0, 0},
        {"corners, third above", 1, 1, 0, 0, {1000, 0}, {500, -300}, {{1000, 100}, {1000, 0}, {0, 0}, {0, 100}}, 0, 180},
        // A typed width: the second click gives only the direction.
        {"typed width", 1, 0, 1, 810, {3000, 0}, {400, 300}, {{50, -50}, {50, 50}, {860, 50}, {860, -50}}, 0, 0},
        // Near the first click's end on the +n side: a door is mirrored end for end, a window is not.
        {"door near the start", 2, 0, 0, 0, {1000, 0}, {60, 300}, {{50, -50}, {50, 50}, {950, 50}, {950, -50}}, 1, 0},
        {"window near the start", 3, 0, 0, 0, {1000, 0}, {60, 300}, {{50, -50}, {50, 50}, {950, 50}, {950, -50}}, 0, 0},
        // A vertical wall drawn downwards: its direction is 270 degrees.
        {"downwards", 1, 0, 0, 0, {0, 1000}, {-300, 500}, {{50, 50}, {-50, 50}, {-50, 950}, {50, 950}}, 0, 270},
    };
    for (const Case& c : cases) {
        Rig r;
        r.rules.tateg_seti = c.seti;
        r.choice.widthMode = c.widthMode;
        r.choice.width = c.width;
        const int id = r.place(c.kind, 1, {0, 0}, c.p1, c.third);
        ASSERT_NE(id, 0) << c.name;
        expectPoints(r.framePoints(id), c.frame, c.name);
        const CKovLine& f = r.frame(id);
        ASSERT_EQ(f.MLineParam.size(), 6u) << c.name;
        EXPECT_EQ(f.MLineParam[0], c.mirror) << c.name;
        EXPECT_EQ(f.MLineParam[1], c.kind) << c.name;
        EXPECT_EQ(r.group(id).MGrpKakudo, c.angle) << c.name;
        EXPECT_EQ(r.group(id).MGrpRoom, CKovGroup::FITTING) << c.name;
        EXPECT_EQ(r.selected(), id) << c.name;
        EXPECT_EQ(r.sel.m_nCount, 1) << c.name;
    }
}

TEST(Fittings, ThicknessStretchesTheFrameAndTheJambs)
{
    Rig r;
    r.choice.thicknessMode = 1;
    r.choice.thickness = 150;
    const int id = r.place(1, 1, {0, 0}, {1000, 0}, {500, 300});
    ASSERT_NE(id, 0);
    // 75 mm to each side of the core; the opening 1000 less the two half thicknesses.
    expectPoints(r.framePoints(id), {{75, -75}, {75, 75}, {925, 75}, {925, -75}}, "frame");
    EXPECT_EQ(r.frame(id).MLineParam[4], 1830);
    EXPECT_EQ(r.frame(id).MLineParam[5], 50);
    const auto m = r.members(id);
    ASSERT_EQ(m.size(), 4u);
    // The jambs run through the whole 150 mm; the panels stay at the middle.
    expectPoints(m[0]->MLinePnt, {{75, -75}, {75, 75}}, "left jamb");
    expectPoints(m[1]->MLinePnt, {{925, -75}, {925, 75}}, "right jamb");
    expectPoints(m[2]->MLinePnt, {{75, -10}, {500, -10}}, "panel");
}

TEST(Fittings, AnObliqueWallTurnsTheDrawingAndADoorFollowsItsOuterFace)
{
    Rig r;
    r.choice.thicknessMode = 1;
    r.choice.thickness = 150;
    const double a = 30 * 3.1415926535 / 180;
    const CDbPoint p1{1000 * std::cos(a), -1000 * std::sin(a)};
    const int id = r.place(2, 1, {0, 0}, p1, {p1.x / 2 + 300 * std::sin(a), p1.y / 2 + 300 * std::cos(a)});
    ASSERT_NE(id, 0);
    EXPECT_NEAR(r.group(id).MGrpKakudo, 30, 1e-9);
    // The frame starts at the opening's corner on the core side of the first click.
    const auto f0 = r.framePoints(id);
    EXPECT_NEAR(f0[0].x, 75 * std::cos(a) - 75 * std::sin(a), 0.002);
    EXPECT_NEAR(f0[0].y, -75 * std::sin(a) - 75 * std::cos(a), 0.002);
    // The hinge of the leaf stands on the wall's outer face, the frame's P1-P2 edge, 75 mm from the core.
    const auto f = r.framePoints(id);
    const CDbPoint hinge = r.members(id)[0]->MLinePnt[0];
    const CDbPoint foot = FootOfPerpendicular(f[1], f[2], hinge);
    EXPECT_NEAR(PointDistance(hinge.x, hinge.y, foot.x, foot.y), 0, 0.01);
    EXPECT_NEAR(PointDistance(hinge.x, hinge.y, f[1].x, f[1].y), 0, 0.01);
}

TEST(Fittings, SizesThatGiveNoFittingAreRefused)
{
    struct Case {
        const char* name;
        int widthMode;
        double width;
        CDbPoint p1;
        double wallHalf;
    };
    const Case cases[] = {
        {"negative typed width", 1, -900, {1000, 0}, 50},
        {"no typed width", 1, 0, {1000, 0}, 50},
        {"clicks a wall apart", 0, 0, {100, 0}, 50},
        {"clicks closer than a wall", 0, 0, {60, 0}, 50},
        {"walls of no thickness", 0, 0, {1000, 0}, 0},
    };
    for (const Case& c : cases) {
        Rig r;
        r.choice.widthMode = c.widthMode;
        r.choice.width = c.width;
        r.plot.PlotWallWide = c.wallHalf;
        EXPECT_EQ(r.place(1, 1, {0, 0}, c.p1, {500, 300}), 0) << c.name;
        ASSERT_EQ(r.unit.m_Groups.GetSize(), 1) << c.name;
        EXPECT_NE(std::as_const(r.unit).m_Groups[0]->MGrpRoom, CKovGroup::FITTING) << c.name;
        EXPECT_TRUE(r.sel.IsEmpty()) << c.name;
    }
    CKovUnit unit;
    kb::FittingFit fit;
    fit.width = 0;
    fit.depth = 100;
    EXPECT_EQ(unit.FitFittingToWall(1, fit), 0);
}

TEST(Fittings, OptionLinesAndShutterPanels)
{
    struct Case {
        const char* name;
        int kind, number, code;
        int lines;           // option lines added
        double boxWidth;     // storm shutter box, 0 for none
        bool boxAtStart;     // at the P0 end of the frame
    };
    const Case cases[] = {
        {"storm shutter, 2 panels", 1, 1, 1, 3, 450, true},
        {"storm shutter, 3 panels", 1, 5, 1, 3, 300, true},
        {"storm shutter, 4 panels", 1, 9, 1, 3, 225, true},
        {"window, 3 panels", 3, 5, 1, 3, 300, true},
        {"window, 4 panels", 3, 7, 1, 3, 225, true},
        {"box at the other end", 1, 1, 4, 3, 450, false},
        {"insect screen", 1, 1, 10, 3, 0, true},
        {"screen and shutter", 1, 1, 11, 6, 450, true},
        {"roller shutter", 1, 1, 2, 3, 0, true},
        {"lattice", 1, 1, 3, 5, 0, true},
    };
    for (const Case& c : cases) {
        Rig r;
        r.choice.optionCode = c.code;
        const int id = r.place(c.kind, c.number, {0, 0}, {1000, 0}, {500, 300});
        ASSERT_NE(id, 0) << c.name;
        const auto m = r.members(id);
        ASSERT_EQ(m.size(), 4u + c.lines) << c.name;
        EXPECT_EQ(r.frame(id).MLineParam[3], c.code) << c.name;
        if (c.boxWidth == 0) continue;
        // The box's face line: a type-2 line the panel's width long, outside the frame.
        const std::size_t at = 4 + (c.code >= 10 ? 3 : 0) + 1;
        const CKovLine& face = *m[at];
        EXPECT_EQ(face.MLineLineT, 2) << c.name;
        EXPECT_NEAR(std::fabs(face.MLinePnt[0].x - face.MLinePnt[1].x), c.boxWidth, kTol) << c.name;
        const double frameEnd = c.boxAtStart ? 50 : 950;
        const double outer = c.boxAtStart ? 50 - c.boxWidth : 950 + c.boxWidth;
        EXPECT_NEAR(face.MLinePnt[1].x, frameEnd, kTol) << c.name;
        EXPECT_NEAR(face.MLinePnt[0].x, outer, kTol) << c.name;
    }
}

TEST(Fittings, PocketsAndSwingsAreFilledByTheirRules)
{
    struct Case {
        const char* name;
        int kind, number;
        int wallBlack, pocketRule, swingRule;
        bool filled;
        std::uint32_t colour;
    };
    const Case cases[] = {
        {"pocket black", 1, 12, 0, 1, 0, true, 0},
        {"pocket in the wall colour", 1, 12, 3, 1, 0, true, 0x00336699},
        {"pockets not filled", 1, 12, 0, 0, 0, false, 0xFFFFFF},
        {"door swing white", 2, 1, 0, 1, 1, true, 0xFFFFFF},
        {"door swing plain", 2, 1, 0, 1, 0, false, 0xFFFFFF},
        {"casement all white", 11, 1, 0, 1, 1, true, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        Rig r;
        r.plot.PlotWallBlack = c.wallBlack;
        r.plot.PlotWallColor = 0x00336699;
        r.rules.tateg_katabiki_wallkuro = c.pocketRule;
        r.rules.tateg_hiraki_nakasiro = c.swingRule;
        const int id = r.place(c.kind, c.number, {0, 0}, {1000, 0}, {500, 300});
        ASSERT_NE(id, 0) << c.name;
        const CKovLine& filledOne = c.kind == 1 ? *r.members(id)[2] : *r.members(id)[1];
        EXPECT_EQ(filledOne.MLinebNakanuri != 0, c.filled) << c.name;
        EXPECT_EQ(filledOne.MLineNakaColor, c.colour) << c.name;
        if (c.kind == 11) {
            EXPECT_EQ(r.frame(id).MLinebNakanuri != 0, c.filled) << c.name;
        }
    }
}

TEST(Fittings, WidthAndDepthInWholeMillimetres)
{
    Drawing d;
    d.add(rect(0, 0, 810.4, 100.6));
    const CKovGroup& g = *std::as_const(d.unit).m_Groups[0];
    EXPECT_EQ(d.unit.GetFittingWidth(g), 810);
    EXPECT_EQ(d.unit.GetFittingDepth(g), 101);
    Drawing plain;
    plain.add(line(0, 0, 300, 40));
    plain.unit.UpdateGroupBounds(*plain.unit.m_Groups[0]);
    EXPECT_EQ(plain.unit.GetFittingWidth(*std::as_const(plain.unit).m_Groups[0]), 300);
}

// -- rebuilds -------------------------------------------------------------------------------------------

TEST(FittingRebuilds, NewThicknessKeepsTheFittingOnTheCore)
{
    struct Case {
        const char* name;
        double width, depth;
        std::vector<CDbPoint> frame;
    };
    const Case cases[] = {
        {"150 deep", 900, 150, {{50, -75}, {50, 75}, {950, 75}, {950, -75}}},
        {"a hair deeper keeps the depth", 900, 100.05, {{50, -50}, {50, 50}, {950, 50}, {950, -50}}},
        {"wider from P0", 1200, 100, {{50, -50}, {50, 50}, {1250, 50}, {1250, -50}}},
    };
    for (const Case& c : cases) {
        Rig r;
        const int id = r.place(1, 1, {0, 0}, {1000, 0}, {500, 300});
        kb::FittingLibraryAccess a = r.access();
        EXPECT_EQ(r.unit.RefitFitting(id, c.width, c.depth, r.sel, r.plot, a), 1) << c.name;
        EXPECT_FALSE(r.unit.HasGroup(id)) << c.name;
        const int now = r.selected();
        ASSERT_NE(now, 0) << c.name;
        expectPoints(r.framePoints(now), c.frame, c.name);
    }
}

TEST(FittingRebuilds, MirrorsTurnsAndShutterBoxesComeBack)
{
    Rig r;
    r.choice.optionCode = 11;
    int id = r.place(1, 12, {0, 0}, {1000, 0}, {500, 300});
    ASSERT_NE(id, 0);
    const auto start = r.framePoints(id);
    kb::FittingLibraryAccess a = r.access();
    // Mirrored end for end: the pocket, at the library drawing's right end, comes to the P0 end.
    ASSERT_EQ(r.unit.RebuildFitting(id, r.sel, r.plot, 0, a), 1);
    id = r.selected();
    EXPECT_EQ(r.frame(id).MLineParam[0], 1);
    for (const CDbPoint& p : r.members(id)[2]->MLinePnt) EXPECT_LE(p.x, 500 + 1e-9);
    ASSERT_EQ(r.unit.RebuildFitting(id, r.sel, r.plot, 0, a), 1);
    id = r.selected();
    EXPECT_EQ(r.frame(id).MLineParam[0], 0);
    expectPoints(r.framePoints(id), start, "mirrored twice");
    // Turned across the wall twice: the angle and P0 as they started.
    ASSERT_EQ(r.unit.FlipFittingAcrossWall(id, r.sel, r.plot, a), 1);
    id = r.selected();
    EXPECT_EQ(r.group(id).MGrpKakudo, 180);
    expectPoints(r.framePoints(id), {start[2], start[3], start[0], start[1]}, "turned");
    ASSERT_EQ(r.unit.FlipFittingAcrossWall(id, r.sel, r.plot, a), 1);
    id = r.selected();
    EXPECT_EQ(r.group(id).MGrpKakudo, 0);
    expectPoints(r.framePoints(id), start, "turned twice");
    // The shutter box to the other end and back; the insect screen stays.
    ASSERT_EQ(r.unit.RebuildFitting(id, r.sel, r.plot, 1, a), 1);
    id = r.selected();
    EXPECT_EQ(r.frame(id).MLineParam[3], 14);
    ASSERT_EQ(r.unit.RebuildFitting(id, r.sel, r.plot, 1, a), 1);
    id = r.selected();
    EXPECT_EQ(r.frame(id).MLineParam[3], 11);
    EXPECT_EQ(r.members(id).size(), 3u + 6u);
    EXPECT_EQ(r.unit.m_Groups.GetSize(), 1);
}

TEST(FittingRebuilds, StoredHeightsFillsAndLayerStay)
{
    Rig r;
    r.choice.heights.height[1] = 2500;
    r.choice.heights.mounting[1] = 0;
    r.rules.tateg_hiraki_nakasiro = 1;
    r.plot.m_Layer.m_nCurrentLayer = 4;
    int id = r.place(2, 1, {0, 0}, {1000, 0}, {500, 300});
    ASSERT_NE(id, 0);
    r.plot.m_Layer.m_nCurrentLayer = 0;
    kb::FittingLibraryAccess a = r.access();
    ASSERT_EQ(r.unit.RefitFitting(id, 700, 100, r.sel, r.plot, a), 1);
    id = r.selected();
    EXPECT_EQ(r.frame(id).MLineParam[4], 2500);
    EXPECT_EQ(r.frame(id).MLineParam[5], 0);
    EXPECT_EQ(r.group(id).MGrpLayer2, 4);
    EXPECT_NE(r.members(id)[1]->MLinebNakanuri, 0);

    // A fitting stored without its heights takes those of its kind.
    r.unit.FittingFrame(r.group(id))->MLineParam.resize(4);
    a.defaults.height[1] = 2400;
    a.defaults.mounting[1] = 20;
    ASSERT_EQ(r.unit.RebuildFitting(id, r.sel, r.plot, 0, a), 1);
    id = r.selected();
    EXPECT_EQ(r.frame(id).MLineParam[4], 2400);
    EXPECT_EQ(r.frame(id).MLineParam[5], 20);
}

TEST(FittingRebuilds, AMissingDrawingKeepsTheOldFitting)
{
    Rig r;
    const int id = r.place(2, 1, {0, 0}, {1000, 0}, {500, 300});
    ASSERT_NE(id, 0);
    const auto before = r.framePoints(id);
    fs::remove(r.lib.file(2, 1, "d"));
    kb::FittingLibraryAccess a = r.access();
    EXPECT_EQ(r.unit.RebuildFitting(id, r.sel, r.plot, 0, a), -1);
    EXPECT_FALSE(a.error.empty());
    ASSERT_TRUE(r.unit.HasGroup(id));
    expectPoints(r.framePoints(id), before, "kept");
    EXPECT_EQ(r.unit.m_Groups.GetSize(), 1);
    // A plain group is no fitting: nothing happens.
    Drawing d;
    d.add(rect(0, 0, 10, 10));
    EXPECT_EQ(d.unit.RebuildFitting(1, r.sel, r.plot, 0, a), 0);
}
