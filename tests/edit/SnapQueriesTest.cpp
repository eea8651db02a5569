#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

using namespace kov::test;

namespace {

// One pixel per millimetre: device points are the drawing points.
struct Snap {
    CKovUnit unit;
    CPlotInfo plot;
    DeviceTransform transform = pixelTransform();

    // The snapped point, or nothing.
    std::optional<CDbPoint> crossing(double x, double y) const
    {
        DevicePoint d{int(x), int(y)};
        CDbPoint p{x, y};
        if (!unit.SnapToIntersection(d, p, transform, plot))
            return std::nullopt;
        EXPECT_EQ(d.x, int(p.x));
        return p;
    }
    std::optional<CDbPoint> vertex(double x, double y, int groupCorners = 0) const
    {
        DevicePoint d{int(x), int(y)};
        CDbPoint p{x, y};
        if (!unit.SnapToVertex(d, p, transform, groupCorners, plot))
            return std::nullopt;
        return p;
    }
};

TEST(SnapQueries, Crossings)
{
    Snap s;
    addFigure(s.unit, 1, CKovLine::LINE, {{0, 100}, {200, 100}});
    addFigure(s.unit, 2, CKovLine::LINE, {{100, 0}, {100, 200}});
    // A quarter arc of the circle about (500, 500) with radius 100; the line x = 420 meets only
    // the circle's continuation.
    addFigure(s.unit, 3, CKovLine::ARC, {{500, 500}, {600, 500}, {500, 400}}, {100});
    addFigure(s.unit, 4, CKovLine::LINE, {{420, 300}, {420, 700}});
    // Two lines whose continuations cross at (1100, 1000).
    addFigure(s.unit, 5, CKovLine::LINE, {{1000, 1000}, {1050, 1000}});
    addFigure(s.unit, 6, CKovLine::LINE, {{1100, 1010}, {1100, 1100}});
    struct Case {
        const char* name;
        double x, y;
        std::optional<CDbPoint> want;
    } cases[] = {
        {"5 px right and 5 px below the click", 95, 95, CDbPoint{100, 100}},
        {"12 px off on each axis: too far (Manhattan 24)", 88, 88, std::nullopt},
        {"a line and an arc's circle beyond the arc", 418, 442, CDbPoint{420, 440}},
        {"two lines' continuations", 1100, 1000, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<CDbPoint> got = s.crossing(c.x, c.y);
        ASSERT_EQ(got.has_value(), c.want.has_value());
        if (got) {
            EXPECT_NEAR(got->x, c.want->x, 1e-9);
            EXPECT_NEAR(got->y, c.want->y, 1e-9);
        }
    }
}

TEST(SnapQueries, CrossingsOnlyOnLayersSeenAtTheDrawingScale)
{
    for (int hidden : {0, 1}) {
        SCOPED_TRACE(hidden);
        Snap s;
        s.plot.m_Layer.m_dScale[3] = 50; // the current layer group 0 stays at 100
        addFigure(s.unit, 1, CKovLine::LINE, {{0, 100}, {200, 100}});
        addFigure(s.unit, 2, CKovLine::LINE, {{100, 0}, {100, 200}}, {}, 0, hidden ? 0 : 3, hidden ? 4 : 0);
        if (hidden)
            s.plot.m_Layer.m_LayerInfo[0][4].m_nType = CLayerInfo::LAYER_HIDDEN;
        EXPECT_FALSE(s.crossing(98, 98));
    }
}

TEST(SnapQueries, Vertices)
{
    Snap s;
    addFigure(s.unit, 1, CKovLine::LINE, {{100, 100}, {300, 100}});
    addFigure(s.unit, 2, CKovLine::LINE, {{600, 600}, {700, 600}}, {}, 0, 3, 0); // another scale
    s.plot.m_Layer.m_dScale[3] = 50;
    addFigure(s.unit, 3, CKovLine::CIRCLE, {{2100, 2100}}, {100}, 9); // box (2000, 2000)-(2200, 2200)
    addGroup(s.unit, 9, {3});
    addWall(s.unit, 4, {1000, 0}, {1000, 400});
    addText(s.unit, 5, {3000, 3000});
    struct Case {
        const char* name;
        double x, y;
        int groupCorners;
        std::optional<CDbPoint> want;
    } cases[] = {
        {"a vertex 3 and 2 px off", 103, 102, 0, CDbPoint{100, 100}},
        {"a vertex 5 and 4 px off: Manhattan 9", 105, 104, 0, std::nullopt},
        {"another drawing scale", 602, 602, 0, std::nullopt},
        {"a group corner without the switch", 2002, 2001, 0, std::nullopt},
        {"a group corner with the switch", 2002, 2001, 1, CDbPoint{2000, 2000}},
        // The wall's outline corner (950, -50); 3 px beside one edge and 4 beside the other.
        {"near a wall outline corner", 953, -46, 0, CDbPoint{950, -50}},
        {"on a wall's plumb edge", 1047, 200, 0, CDbPoint{1050, 200}},
        {"a text anchor", 3003, 3003, 0, CDbPoint{3000, 3000}},
        {"nothing near", 5000, 5000, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<CDbPoint> got = s.vertex(c.x, c.y, c.groupCorners);
        ASSERT_EQ(got.has_value(), c.want.has_value());
        if (got) {
            EXPECT_EQ(*got, *c.want);
        }
    }
}

TEST(SnapQueries, WallEdgesOfAnotherScaleSnapWhenTheirLayerSnaps)
{
    for (int state : {CLayerInfo::LAYER_SNAP, CLayerInfo::LAYER_VISIBLE}) {
        SCOPED_TRACE(state);
        Snap s;
        s.plot.m_Layer.m_dScale[3] = 50;
        s.plot.m_Layer.m_LayerInfo[3][0].m_nType = state;
        addWall(s.unit, 4, {1000, 0}, {1000, 400}, 50, 0, 3, 0);
        // Its outline corner is not offered (another scale); its edge is, while the layer snaps.
        const std::optional<CDbPoint> got = s.vertex(1047, 200);
        EXPECT_EQ(got.has_value(), state == CLayerInfo::LAYER_SNAP);
    }
}

} // namespace
