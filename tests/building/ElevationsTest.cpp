// Elevation views: spans merged into the visible wall faces, the turn of each side, floors and the
// foundation band, fittings from their elevation drawings or outlines, roofs and balconies at their
// worked heights, and the outlines their tools make.

#include "ElevationFixtures.h"

#include "model/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace kov::test;
namespace kb = kov::building;

namespace {

constexpr double kTol = 1e-6;

std::string spansText(const CDbPointArray& s, const CDbPointArray& e)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "%s[%g,%g]@%g", i ? " " : "", s[i].x, e[i].x, s[i].y);
        out += buf;
    }
    return out;
}

struct SpanCase {
    const char* name;
    CDbPointArray s, e;
    const char* visible; // far to near: [start x, end x]@depth
};

TEST(ElevationSpans, MergeTable)
{
    const SpanCase cases[] = {
        {"one span", {{0, 10}}, {{100, 10}}, "[0,100]@10"},
        {"equal depth end to end", {{0, 10}, {100, 10}}, {{100, 10}, {250, 10}}, "[0,250]@10"},
        {"equal depth overlapping", {{0, 10}, {60, 10}}, {{100, 10}, {250, 10}}, "[0,250]@10"},
        {"equal depth, one inside the other", {{0, 10}, {20, 10}}, {{100, 10}, {50, 10}}, "[0,100]@10"},
        {"far one hidden", {{0, 50}, {10, 10}}, {{100, 50}, {90, 10}}, "[0,100]@50"},
        {"set back, showing on both sides", {{0, 10}, {30, 50}}, {{100, 10}, {60, 50}},
         "[0,30]@10 [30,60]@50 [60,100]@10"},
        {"set back, showing on the left", {{0, 10}, {50, 50}}, {{100, 10}, {150, 50}}, "[0,50]@10 [50,150]@50"},
        {"far one apart", {{0, 10}, {200, 50}}, {{100, 10}, {300, 50}}, "[0,100]@10 [200,300]@50"},
        {"rounded to two decimals", {{0.004, 10.001}}, {{99.996, 9.999}}, "[0,100]@10"},
    };
    for (const SpanCase& c : cases) {
        CDbPointArray s = c.s, e = c.e;
        CKovUnit::MergeElevationSpans(s, e);
        EXPECT_EQ(spansText(s, e), c.visible) << c.name;
    }
}

// The four walls of a 9100 x 7280 house (cores), 150 thick: outer faces at x -75 and 9175,
// y -75 and 7355.
struct House : ElevationPlan {
    House() { box(0, 0, 0, 9100, 7280); }
};

TEST(ElevationViews, FourWallHouseShowsOneFacePerFloorBetweenTheOuterFaces)
{
    for (int d = 1; d <= 4; ++d) {
        House h;
        h.box(1, 0, 0, 9100, 7280);
        h.view(d);
        const auto faces = h.made(ElevationPlan::isFace);
        // Floor 1 from the ground to its eaves and floor 2 above it; the foundation band is black.
        ASSERT_EQ(faces.size(), 2u) << d;
        const bool across = d <= 2;
        const double left = d == 1 ? -75 : d == 2 ? -9175 : d == 3 ? -7355 : -75;
        const double width = across ? 9250 : 7430;
        EXPECT_NEAR(faces[0]->MLinePnt[0].x, left, kTol) << d;
        EXPECT_NEAR(faces[0]->MLinePnt[2].x, left + width, kTol) << d;
        EXPECT_NEAR(faces[0]->MLinePnt[0].y, 0, kTol);
        EXPECT_NEAR(faces[0]->MLinePnt[1].y, -3400, kTol);
        EXPECT_NEAR(faces[1]->MLinePnt[0].y, -3400, kTol);
        EXPECT_NEAR(faces[1]->MLinePnt[1].y, -6200, kTol);
        const auto bands = h.made([](const CKovLine& f) {
            return f.MLineType == CKovLine::POLYGON && f.MLineColor == 0 && f.MLinebNakanuri != 0;
        });
        ASSERT_EQ(bands.size(), 1u);
        EXPECT_NEAR(bands[0]->MLinePnt[2].y, -400, kTol);
        ASSERT_EQ(h.unit.m_Texts.GetSize(), h.firstText + 1);
        EXPECT_EQ(h.unit.m_Texts[h.firstText]->MTextstr, std::string(kb::kElevationLabels[std::size_t(d - 1)]));
        EXPECT_TRUE(h.sel.IsEmpty());
    }
}

TEST(ElevationViews, FloorsAndFoundationFollowTheSettings)
{
    House h;
    h.box(1, 0, 0, 9100, 7280);
    h.box(2, 0, 0, 9100, 7280);
    h.ritu.kai = 1;
    h.ritu.kisodaka = 0;
    h.view(1);
    EXPECT_EQ(h.made(ElevationPlan::isFace).size(), 1u);
    EXPECT_TRUE(h.made([](const CKovLine& f) { return f.MLineType == CKovLine::POLYGON && f.MLineColor == 0; }).empty());
    h.ritu.kai = 3;
    h.ritu.btext = 0;
    h.view(1);
    EXPECT_EQ(h.made(ElevationPlan::isFace).size(), 3u);
    EXPECT_EQ(h.unit.m_Texts.GetSize(), h.firstText);
}

TEST(ElevationViews, AllFourViewsLandOnTheOutputLayerAtTheirOffsets)
{
    House h;
    h.ritu.ritugrp_lay = 5;
    h.ritu.rituno_lay = 3;
    const std::array<CDbPoint, 4> offsets = {CDbPoint{-20000, -15000}, {-20000, 15000}, {20000, -15000}, {20000, 15000}};
    for (int d = 1; d <= 4; ++d) {
        const int before = h.unit.m_Texts.GetSize();
        h.unit.CreateElevations(offsets[std::size_t(d - 1)].x, offsets[std::size_t(d - 1)].y, h.sel, h.plot, h.ritu, d);
        const CKovText& label = *h.unit.m_Texts[before];
        EXPECT_NEAR(label.MTextpnt.x, offsets[std::size_t(d - 1)].x, kTol);
        EXPECT_NEAR(label.MTextpnt.y, offsets[std::size_t(d - 1)].y + 400, kTol);
        EXPECT_EQ(label.MTextLayer1, 5);
        EXPECT_EQ(label.MTextLayer2, 3);
    }
    for (int i = 0; i < h.unit.m_Lines.GetSize(); ++i) {
        const CKovLine& f = *h.unit.m_Lines[i];
        if (f.MLineLayer1 == 0) continue;
        EXPECT_EQ(f.MLineLayer1, 5);
        EXPECT_EQ(f.MLineLayer2, 3);
    }
}

TEST(ElevationViews, NearerWallHidesTheWallBehindIt)
{
    // A front wall from x 2000 to 5000 before the house's south wall.
    House h;
    h.ritu.kai = 1;
    h.wall(0, {2000, 9000}, {5000, 9000});
    h.view(1);
    const auto faces = h.made(ElevationPlan::isFace);
    std::string xs;
    for (const CKovLine* f : faces) xs += "[" + std::to_string(int(f->MLinePnt[0].x)) + "," + std::to_string(int(f->MLinePnt[2].x)) + "]";
    // The south face shows left and right of the front wall (its outer faces 75 past its core's
    // ends); the front wall's ends lie along the line of sight.
    EXPECT_EQ(xs, "[5075,9175][-75,1925][1925,5075]");
}

// -- fittings --------------------------------------------------------------------------------------

TEST(ElevationFittings, WindowFromItsElevationDrawingAtItsHeights)
{
    House h;
    h.ritu.kai = 1;
    // A window of kind 3 (height 900, mounting 900) in the south wall, 1690 wide.
    const int id = h.fitting(0, 3, 1, {2000, 7280}, {3690, 7280}, {3000, 8000});
    double minX = 1e9, maxX = -1e9;
    for (const CDbPoint& p : h.unit.FittingFrame(*h.unit.FindGroup(id))->MLinePnt) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
    }
    h.view(1, &h.library);
    EXPECT_EQ(h.library.unreadable, 0);
    ASSERT_EQ(h.unit.m_Groups.GetSize(), h.firstGroup + 1);
    const CKovGroup& g = *h.unit.m_Groups[h.firstGroup];
    EXPECT_EQ(g.MGrpRoom, CKovGroup::PLAIN);
    EXPECT_NEAR(g.MGrpmin.y, -2200, 1e-3);
    EXPECT_NEAR(g.MGrpmax.y, -1300, 1e-3);
    // Where the plan has it.
    EXPECT_NEAR(g.MGrpmin.x, minX, 1e-3);
    EXPECT_NEAR(g.MGrpmax.x, maxX, 1e-3);
    EXPECT_EQ(g.MGrpLayer1, 2);

    // From the north the window is in the far wall: hidden, drawn in no span.
    House n;
    n.ritu.kai = 1;
    n.fitting(0, 3, 1, {2000, 7280}, {3690, 7280}, {3000, 8000});
    n.view(2, &n.library);
    EXPECT_EQ(n.unit.m_Groups.GetSize(), n.firstGroup);
}

TEST(ElevationFittings, OutlinesWhenFittingsAreNotShownOrHaveNoDrawing)
{
    struct Case {
        const char* name;
        int btateg;
        bool library;
        int lineType;
    } cases[] = {
        {"fittings not shown", 0, true, CKovLine::AUXILIARY_LINE_TYPE},
        {"no library", 1, false, CKovLine::AUXILIARY_LINE_TYPE},
    };
    for (const Case& c : cases) {
        House h;
        h.ritu.kai = 1;
        h.ritu.btateg = c.btateg;
        h.fitting(0, 3, 1, {2000, 7280}, {3690, 7280}, {3000, 8000});
        h.view(1, c.library ? &h.library : nullptr);
        const auto lines = h.made([](const CKovLine& f) { return f.MLineType == CKovLine::LINE && f.MLineLineT == 5; });
        ASSERT_EQ(lines.size(), 4u) << c.name;
        EXPECT_NEAR(lines[0]->MLinePnt[0].y, -1300, kTol) << c.name;
        EXPECT_NEAR(lines[0]->MLinePnt[1].y, -2200, kTol) << c.name;
        EXPECT_EQ(lines[0]->MLineLineT, c.lineType);
    }
}

TEST(ElevationFittings, UnreadableDrawingFallsBackToItsOutlineAndTheViewGoesOn)
{
    House h;
    h.ritu.kai = 1;
    const int id = h.fitting(0, 3, 1, {2000, 7280}, {3690, 7280}, {3000, 8000}, 1);
    h.fitting(0, 3, 1, {5000, 7280}, {6690, 7280}, {6000, 8000});
    // The first fitting names a drawing the library lacks.
    CKovLine& frame = *h.unit.FittingFrame(*h.unit.FindGroup(id));
    frame.MLineParam[2] = 77;
    h.view(1, &h.library);
    EXPECT_EQ(h.library.unreadable, 1);
    EXPECT_EQ(h.unit.m_Groups.GetSize(), h.firstGroup + 1); // the second one's drawing
    // Its outline in printed lines, with the storm shutter's box (four sides and nine slats).
    const auto lines = h.made([](const CKovLine& f) {
        return f.MLineType == CKovLine::LINE && f.MLineLineT == 0 && f.MLinePnt[0].y <= -1300 && f.MLinePnt[1].y <= -1300;
    });
    EXPECT_EQ(lines.size(), 4u + 4u + 9u);
}

TEST(ElevationFittings, HeightsWithoutStoredParametersAndTurnedFittings)
{
    House h;
    h.ritu.kai = 1;
    h.ritu.btateg = 0;
    const int id = h.fitting(0, 3, 1, {2000, 7280}, {3690, 7280}, {3000, 8000});
    h.unit.FittingFrame(*h.unit.FindGroup(id))->MLineParam.resize(4);
    h.view(1);
    auto lines = h.made([](const CKovLine& f) { return f.MLineType == CKovLine::LINE && f.MLineLineT == 5; });
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NEAR(lines[0]->MLinePnt[0].y, -450, kTol);
    EXPECT_NEAR(lines[0]->MLinePnt[1].y, -2280, kTol);

    // At 45 degrees it faces no view.
    h.unit.FindGroup(id)->MGrpKakudo = 45;
    for (int d = 1; d <= 4; ++d) {
        h.view(d);
        EXPECT_TRUE(h.made([](const CKovLine& f) { return f.MLineLineT == 5; }).empty()) << d;
    }
}

TEST(ElevationFittings, ZeroFrameIsSkippedAndShutterBoxOnlyForUnitsOne)
{
    CKovUnit unit;
    auto g = std::make_unique<CKovGroup>();
    g->MGrpID = unit.NextGroupId();
    auto frame = std::make_unique<CKovLine>();
    frame->MLineID = unit.NextLineId();
    frame->MLineType = CKovLine::RECTANGLE;
    frame->MLinePnt = {{0, 0}, {0, 0}, {100, 0}, {100, 0}}; // no height
    frame->MLineGrpID = g->MGrpID;
    g->MGrpLineID.push_back(frame->MLineID);
    const int gid = g->MGrpID;
    unit.m_Lines.Add(std::move(frame));
    unit.m_Groups.Add(std::move(g));
    EXPECT_EQ(unit.PlaceElevationFitting(0, 0, 1000, 900, 0, gid, 0), 0);
    EXPECT_EQ(unit.FindLine(unit.FindGroup(gid)->MGrpLineID[0])->MLinePnt[2].x, 100); // untouched

    unit.FindLine(unit.FindGroup(gid)->MGrpLineID[0])->MLinePnt = {{0, 0}, {0, 50}, {100, 50}, {100, 0}};
    for (int option : {4, 14, 2}) {
        unit.AddElevationShutter(*unit.FindGroup(gid), option, 0);
        EXPECT_EQ(unit.FindGroup(gid)->MGrpLineID.size(), 1u) << option;
    }
    unit.AddElevationShutter(*unit.FindGroup(gid), 11, 0);
    EXPECT_EQ(unit.FindGroup(gid)->MGrpLineID.size(), 15u);
    unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

// -- roofs and balconies -----------------------------------------------------------------------------

// Two floors of 10 m by 8 m; the roof lies on floor 2 (H = 6200).
struct RoofHouse : ElevationPlan {
    RoofHouse()
    {
        box(0, 0, 0, 10000, 8000);
        box(1, 0, 0, 10000, 8000);
    }
};

void expectPoints(const CKovLine& f, const CDbPointArray& want, const char* what)
{
    ASSERT_EQ(f.MLinePnt.size(), want.size()) << what;
    for (std::size_t k = 0; k < want.size(); ++k) {
        EXPECT_NEAR(f.MLinePnt[k].x, want[k].x, 1e-6) << what << " point " << k;
        EXPECT_NEAR(f.MLinePnt[k].y, want[k].y, 1e-6) << what << " point " << k;
    }
}

TEST(ElevationRoofs, HipRoofFromTheEavesSideAndFromTheEnd)
{
    RoofHouse h;
    // Ridge along x: the third click just left of the left side.
    h.roof(1, {0, 0}, {10000, 8000}, {-100, 4000}, {5000, 4000}, 0);
    h.view(1);
    auto faces = h.made(ElevationPlan::isRoofFace);
    ASSERT_EQ(faces.size(), 1u);
    expectPoints(*faces[0], {{-600, -5930}, {10600, -5930}, {6000, -8000}, {4000, -8000}}, "eaves side");

    // From the east the end faces the viewer: a triangle with its apex in the middle.
    h.view(3);
    faces = h.made(ElevationPlan::isRoofFace);
    ASSERT_EQ(faces.size(), 1u);
    expectPoints(*faces[0], {{-8600, -5930}, {600, -5930}, {-4000, -8000}}, "end");
}

TEST(ElevationRoofs, GableRoofEndShowsWallMaskAndVergeBands)
{
    RoofHouse h;
    // Ridge along y (the third click in the middle), gable.
    h.roof(1, {0, 0}, {10000, 8000}, {5000, 4000}, {5000, 4000}, 1);
    h.view(1);
    const auto masks = h.made([](const CKovLine& f) {
        return f.MLineType == CKovLine::POLYGON && f.MLineColor == 0xFFFFFF && f.MLinePnt.size() == 5;
    });
    ASSERT_EQ(masks.size(), 1u);
    // Apex at half the width times the pitch above the eaves height.
    expectPoints(*masks[0], {{0, -6200}, {0, -5930}, {10000, -5930}, {10000, -6200}, {5000, -8450}}, "mask");
    const auto bands = h.made([](const CKovLine& f) { return ElevationPlan::isBand(f) && f.MLinePnt.size() == 6; });
    ASSERT_EQ(bands.size(), 2u);
    // E' = 510: A1 at (L - 510, -6200 + 229.5), A2 30 out and r = 66.67 up.
    const double yE = -6200 + 510 * 0.45, y2 = yE - 30 / 0.45;
    EXPECT_NEAR(bands[0]->MLinePnt[0].x, -510, 1e-6);
    EXPECT_NEAR(bands[0]->MLinePnt[0].y, yE, 1e-6);
    EXPECT_NEAR(bands[0]->MLinePnt[1].x, -540, 1e-6);
    EXPECT_NEAR(bands[0]->MLinePnt[1].y, y2, 1e-6);
    EXPECT_NEAR(bands[0]->MLinePnt[2].x, 5000, 1e-6);
    EXPECT_NEAR(bands[0]->MLinePnt[2].y, y2 - (5000 + 540) * 0.45, 1e-6);
}

TEST(ElevationRoofs, LeanToRisingTowardsTheViewerShowsOnlyFromTheOtherSide)
{
    RoofHouse h;
    // High edge at the bottom of the sheet (code 9): the south view sees its high side.
    h.roof(1, {0, 0}, {10000, 8000}, {-100, 4000}, {5000, 9000}, 0);
    h.view(1);
    EXPECT_TRUE(h.made(ElevationPlan::isRoofFace).empty());
    h.view(2);
    const auto faces = h.made(ElevationPlan::isRoofFace);
    ASSERT_EQ(faces.size(), 1u);
    // From the north it is a code 2 lean-to: eaves below, high edge W2 in from each end.
    expectPoints(*faces[0], {{-10600, -5930}, {600, -5930}, {-8000, -9800}, {-2000, -9800}}, "north");
}

TEST(ElevationBalconies, FrontBalconyOverTheFaceAndHiddenOneBehind)
{
    RoofHouse h;
    h.ritu.byane = 0;
    // Floor 2: one before the south wall, one inside the house (behind the face).
    h.balcony(1, {{2000, 9000}, {6000, 9000}});
    h.balcony(1, {{2000, 4000}, {6000, 4000}});
    h.view(1);
    const auto bands = h.made([](const CKovLine& f) { return ElevationPlan::isBand(f) && f.MLinePnt[1].y < -3000; });
    ASSERT_EQ(bands.size(), 1u);
    expectPoints(*bands[0], {{2000, -4500}, {2000, -3400}, {6000, -3400}, {6000, -4500}}, "balcony");
    // Drawn after the floor's face.
    const auto faces = h.made(ElevationPlan::isFace);
    EXPECT_GT(h.unit.FindLineIndex(bands[0]->MLineID), h.unit.FindLineIndex(faces[1]->MLineID));

    // Floor 1 sits on the foundation height.
    RoofHouse f;
    f.balcony(0, {{2000, 9000}, {6000, 9000}});
    f.view(1);
    const auto low = f.made([](const CKovLine& x) { return ElevationPlan::isBand(x) && x.MLinePnt[0].y < -1000; });
    ASSERT_EQ(low.size(), 1u);
    EXPECT_NEAR(low[0]->MLinePnt[0].y, -1500, kTol);
    EXPECT_NEAR(low[0]->MLinePnt[1].y, -400, kTol);
}

// -- the outlines the tools make ----------------------------------------------------------------------

TEST(ElevationOutlines, RoofCodesFromTheClicks)
{
    struct Case {
        CDbPoint ridge, eaves;
        int code;
        CDbPoint a, b; // the line drawn
    } cases[] = {
        {{5000, 3000}, {5000, 3000}, 1, {5000, 0}, {5000, 6000}},
        {{-100, 3000}, {5000, 3000}, 0, {0, 3000}, {10000, 3000}},
        {{5000, 3000}, {-500, 3000}, 3, {0, 0}, {0, 6000}},
        {{5000, 3000}, {10500, 3000}, 4, {10000, 0}, {10000, 6000}},
        {{-100, 3000}, {5000, -500}, 2, {0, 0}, {10000, 0}},
        {{-100, 3000}, {5000, 6500}, 9, {0, 6000}, {10000, 6000}},
    };
    for (const Case& c : cases) {
        ElevationPlan p;
        const int id = p.roof(0, {10000, 6000}, {0, 0}, c.ridge, c.eaves, 1);
        const CKovGroup& g = *p.unit.FindGroup(id);
        EXPECT_EQ(g.MGrpRoom, CKovGroup::ROOF_OUTLINE);
        ASSERT_EQ(g.MGrpLineID.size(), 2u);
        const CKovLine& outline = *p.unit.FindLine(g.MGrpLineID[0]);
        EXPECT_EQ(outline.MLineParam, (std::vector<double>{double(c.code), 1, 600, 450, 10, 4.5}));
        EXPECT_EQ(outline.MLinePnt, (CDbPointArray{{0, 0}, {0, 6000}, {10000, 6000}, {10000, 0}}));
        const CKovLine& line = *p.unit.FindLine(g.MGrpLineID[1]);
        EXPECT_EQ(line.MLinePnt, (CDbPointArray{c.a, c.b})) << c.code;
        EXPECT_EQ(line.MLineColor, 0xFFu);
        EXPECT_EQ(line.MLineLineT, 5);
    }
}

TEST(ElevationOutlines, TurnKeepsTheRoofCodesMeaning)
{
    const int before[] = {0, 1, 2, 3, 4, 9};
    const int after[3][6] = {{0, 1, 9, 4, 3, 2}, {1, 0, 4, 2, 9, 3}, {1, 0, 3, 9, 2, 4}};
    for (int d = 2; d <= 4; ++d)
        for (int k = 0; k < 6; ++k) {
            ElevationPlan p;
            const int id = p.roof(0, {0, 0}, {10000, 6000}, {5000, 3000}, {5000, 3000}, 0);
            CKovLine& outline = *p.unit.FindLine(p.unit.FindGroup(id)->MGrpLineID[0]);
            outline.MLineParam[0] = before[k];
            p.unit.TurnForElevation(d);
            EXPECT_EQ(outline.MLineParam[0], after[d - 2][k]) << d << " " << before[k];
            // Point 0 is again the corner of the smallest x and y.
            EXPECT_LE(outline.MLinePnt[0].x, outline.MLinePnt[2].x);
            EXPECT_LE(outline.MLinePnt[0].y, outline.MLinePnt[2].y);
            EXPECT_EQ(outline.MLinePnt[0].x, outline.MLinePnt[1].x);
        }
}

TEST(ElevationOutlines, OuterWallLineAndBalconyGroups)
{
    ElevationPlan p;
    p.unit.CreateOuterWallLine(p.sel, p.plot, {{0, 0}, {1000, 0}, {1000, 500}});
    ASSERT_EQ(p.sel.m_nCount, 1);
    const CKovGroup& g = *p.unit.FindGroup(p.sel.m_Groups[0]);
    EXPECT_EQ(g.MGrpRoom, CKovGroup::OUTER_WALL_LINE);
    ASSERT_EQ(g.MGrpLineID.size(), 1u);
    EXPECT_EQ(p.unit.FindLine(g.MGrpLineID[0])->MLineType, CKovLine::CONTINUOUS);

    p.balcony(0, {{0, 0}, {3000, 0}});
    const CKovGroup& b = *p.unit.m_Groups[p.unit.m_Groups.GetSize() - 1];
    EXPECT_EQ(b.MGrpRoom, CKovGroup::BALCONY);
    ASSERT_EQ(b.MGrpLineID.size(), 2u);
    for (int id : b.MGrpLineID) {
        EXPECT_EQ(p.unit.FindLine(id)->MLineType, CKovLine::LINE);
        EXPECT_EQ(p.unit.FindLine(id)->MLineParam, (std::vector<double>{1100, 0}));
    }
}

TEST(ElevationOutlines, OuterWallLinesGiveFacesWithoutWalls)
{
    ElevationPlan p;
    p.ritu.kai = 1;
    p.onGroup(0);
    p.unit.CreateOuterWallLine(p.sel, p.plot, {{0, 0}, {0, 5000}, {8000, 5000}, {8000, 0}});
    p.view(1);
    const auto faces = p.made(ElevationPlan::isFace);
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0]->MLinePnt[0].x, 0);
    EXPECT_EQ(faces[0]->MLinePnt[2].x, 8000);
    p.ritu.bgaiheki2 = 0;
    p.view(1);
    EXPECT_TRUE(p.made(ElevationPlan::isFace).empty());
}

} // namespace
