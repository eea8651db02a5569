#include "LineEditRig.h"

#include "edit/LineEditTexts.h"
#include "model/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kov::test;
namespace texts = kov::edit::texts;

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

// A direction counter-clockwise on the screen (y down).
CDbPoint dir(double degrees) { return {std::cos(degrees * kDeg), -std::sin(degrees * kDeg)}; }
CDbPoint at(const CDbPoint& from, double degrees, double d) { return {from.x + d * dir(degrees).x, from.y + d * dir(degrees).y}; }

struct CornerRig : LineEditRig {
    std::array<double, 4> sizes{300, 300, 300, 300};
    int mode = 0;
    int chamfer(CDbPoint p)
    {
        const DevicePoint d = dev(p);
        const int r = unit.ChamferLines(sel, plot, points, p, d.x, d.y, t, sizes, mode, tell);
        if (r == 1)
            points.push_back(p);
        if (r == 2) {
            points.clear();
            sel.Clear();
        }
        return r;
    }
    int corner(CDbPoint p, double& arcEnd)
    {
        const DevicePoint d = dev(p);
        const int r = unit.CornerLines(sel, plot, points, p, d.x, d.y, t, arcEnd);
        if (r == 1)
            points.push_back(p);
        if (r == 2)
            points.clear();
        return r;
    }
    // A line from `overshoot` behind the corner to `length` along the direction.
    int leg(const CDbPoint& corner, double degrees, double length, double overshoot)
    {
        return line({at(corner, degrees + 180, overshoot), at(corner, degrees, length)});
    }
};

TEST(Chamfer, FaceLengthGivesTheSameCutsWhicheverLineComesFirstAndWhicheverWayTheCornerOpens)
{
    struct Opening {
        double degrees, cut;
    };
    const Opening openings[] = {{90, 212.13}, {60, 300}};
    const CDbPoint corner{2000, 2000};
    for (const Opening& o : openings)
        for (double turn : {0.0, 90.0, 180.0, 270.0, 30.0})
            for (int side : {1, -1})
                for (bool bFirst : {false, true})
                    for (double overshoot : {0.0, 150.0, -40.0}) {
                        SCOPED_TRACE(::testing::Message() << o.degrees << "° turned " << turn << " side " << side
                                                          << (bFirst ? " B first" : " A first") << " overshoot "
                                                          << overshoot);
                        CornerRig r;
                        const double ta = turn, tb = turn + side * o.degrees;
                        const int a = r.leg(corner, ta, 1000, overshoot);
                        const int b = r.leg(corner, tb, 1000, overshoot);
                        const CDbPoint clickA = at(corner, ta, 600), clickB = at(corner, tb, 600);
                        ASSERT_EQ(r.chamfer(bFirst ? clickB : clickA), 1);
                        ASSERT_EQ(r.chamfer(bFirst ? clickA : clickB), 2);
                        for (const auto& [id, degrees] : {std::pair{a, ta}, std::pair{b, tb}}) {
                            const CKovLine& l = *r.line(id);
                            EXPECT_NEAR(dist(l.MLinePnt[0], corner), o.cut, 0.01);
                            EXPECT_POINT(l.MLinePnt[0], at(corner, degrees, o.cut).x, at(corner, degrees, o.cut).y);
                            EXPECT_POINT(l.MLinePnt[1], at(corner, degrees, 1000).x, at(corner, degrees, 1000).y);
                        }
                        ASSERT_EQ(r.unit.m_Lines.GetSize(), 3);
                        const CKovLine& face = *r.view().m_Lines[2];
                        EXPECT_EQ(face.MLineType, CKovLine::LINE);
                        EXPECT_NEAR(dist(face.MLinePnt[0], face.MLinePnt[1]), 300, 0.01);
                    }
}

TEST(Chamfer, NotchEdgeLengthAndFilletAtARightAngle)
{
    const CDbPoint corner{1000, 1000};
    CornerRig notch;
    notch.mode = 3;
    notch.sizes = {300, 300, 100, 200};
    const int a = notch.leg(corner, 0, 1000, 0);
    const int b = notch.leg(corner, 90, 1000, 0);
    notch.chamfer(at(corner, 0, 600));
    ASSERT_EQ(notch.chamfer(at(corner, 90, 600)), 2);
    EXPECT_POINT(notch.line(a)->MLinePnt[0], 1100, 1000);
    EXPECT_POINT(notch.line(b)->MLinePnt[0], 1000, 800);
    // The notch corner lies 200 from the first line and 100 from the second.
    ASSERT_EQ(notch.unit.m_Lines.GetSize(), 4);
    EXPECT_POINT(notch.view().m_Lines[2]->MLinePnt[1], 1100, 800);
    EXPECT_EQ(notch.view().m_Lines[2]->MLinePnt[0], notch.line(a)->MLinePnt[0]);
    EXPECT_EQ(notch.view().m_Lines[3]->MLinePnt[0], notch.line(b)->MLinePnt[0]);

    CornerRig edge;
    edge.mode = 1;
    const int e1 = edge.leg(corner, 0, 1000, 0);
    edge.leg(corner, 90, 1000, 0);
    edge.chamfer(at(corner, 0, 600));
    ASSERT_EQ(edge.chamfer(at(corner, 90, 600)), 2);
    EXPECT_POINT(edge.line(e1)->MLinePnt[0], 1300, 1000);

    CornerRig fillet;
    fillet.mode = 2;
    fillet.sizes = {300, 100, 300, 300};
    const int f1 = fillet.leg(corner, 0, 1000, 50);
    const int f2 = fillet.leg(corner, 90, 1000, 50);
    fillet.chamfer(at(corner, 0, 600));
    ASSERT_EQ(fillet.chamfer(at(corner, 90, 600)), 2);
    EXPECT_POINT(fillet.line(f1)->MLinePnt[0], 1100, 1000);
    EXPECT_POINT(fillet.line(f2)->MLinePnt[0], 1000, 900);
    const CKovLine& arc = *fillet.view().m_Lines[2];
    EXPECT_EQ(arc.MLineType, CKovLine::ARC);
    EXPECT_EQ(arc.MLineParam, std::vector<double>{100});
    EXPECT_POINT(arc.MLinePnt[0], 1100, 900);
    // Counter-clockwise from the start to the end is the short way: from the second line to the first.
    EXPECT_POINT(arc.MLinePnt[1], 1000, 900);
    EXPECT_POINT(arc.MLinePnt[2], 1100, 1000);
}

TEST(Chamfer, RefusedSizesLeaveTheCornerJoined)
{
    struct Case {
        const char* name;
        int mode;
        double lengthA, lengthB;
    };
    const Case cases[] = {
        {"face not shorter than the far ends' distance", 0, 100, 100},
        // The cut (212.13) would pass the first line's far end and turn it round.
        {"face cut past a far end", 0, 100, 1000},
        {"edge not shorter than a line", 1, 250, 1000},
        {"fillet tangent past a far end", 2, 250, 1000},
        {"notch longer than its line", 3, 300, 1000},
    };
    const CDbPoint corner{1000, 1000};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CornerRig r;
        r.mode = c.mode;
        const int a = r.leg(corner, 0, c.lengthA, 40);
        const int b = r.leg(corner, 90, c.lengthB, 40);
        r.chamfer(at(corner, 0, c.lengthA * 0.6));
        EXPECT_EQ(r.chamfer(at(corner, 90, c.lengthB * 0.6)), 0);
        EXPECT_TRUE(r.said.empty());
        EXPECT_EQ(r.unit.m_Lines.GetSize(), 2);
        EXPECT_POINT(r.line(a)->MLinePnt[0], corner.x, corner.y);
        EXPECT_POINT(r.line(b)->MLinePnt[0], corner.x, corner.y);
        EXPECT_POINT(r.line(a)->MLinePnt[1], at(corner, 0, c.lengthA).x, corner.y);
    }
}

TEST(Chamfer, FiguresThatCannotBeChamferedSayWhy)
{
    struct Case {
        const char* name;
        int mode;
        int firstKind;
        CDbPointArray firstPoints;
        std::vector<double> firstParams;
        int secondKind;
        CDbPointArray secondPoints;
        std::vector<double> secondParams;
        CDbPoint firstClick, secondClick;
        int firstResult;
        std::string message;
    };
    const Case cases[] = {
        {"parallel lines", 0, CKovLine::LINE, {{0, 0}, {1000, 0}}, {}, CKovLine::LINE, {{0, 100}, {1000, 100}}, {},
         {500, 0}, {500, 100}, 1, std::string(texts::kNoCornerPoint)},
        {"an arc is only rounded", 0, CKovLine::LINE, {{0, 0}, {1000, 0}}, {}, CKovLine::ARC,
         {{500, -300}, {700, -300}, {300, -300}}, {200}, {800, 0}, {500, -500}, 1, std::string(texts::kArcsRoundOnly)},
        {"an arc and a circle", 2, CKovLine::ARC, {{500, -300}, {700, -300}, {300, -300}}, {200}, CKovLine::CIRCLE,
         {{2000, 0}}, {100}, {500, -500}, {2100, 0}, 1, std::string(texts::kChamferKinds)},
        {"an elliptic arc", 2, CKovLine::ARC, {{500, -300}, {700, -300}, {300, -300}}, {200, 0.5}, CKovLine::LINE,
         {{0, 0}, {1000, 0}}, {}, {500, -400}, {800, 0}, 0, std::string(texts::kEllipseNoChamfer)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CornerRig r;
        r.mode = c.mode;
        r.line(c.firstPoints, c.firstKind, c.firstParams);
        r.line(c.secondPoints, c.secondKind, c.secondParams);
        const auto before = r.figures();
        ASSERT_EQ(r.chamfer(c.firstClick), c.firstResult);
        if (c.firstResult == 1) {
            EXPECT_EQ(r.chamfer(c.secondClick), 0);
        }
        EXPECT_EQ(r.said, std::vector<std::string>{c.message});
        EXPECT_EQ(r.figures(), before);
    }
}

TEST(FilletCorner, RightAngleAndParallelSegments)
{
    CDbPoint out[3];
    CDbPoint a0{0, 0}, a1{100, 0}, b0{0, 0}, b1{0, 100};
    ASSERT_EQ(CKovUnit::FilletCorner(out, a0, a1, b0, b1, 10), 1);
    EXPECT_POINT(out[0], 10, 10);
    EXPECT_POINT(out[1], 10, 0);
    EXPECT_POINT(out[2], 0, 10);
    EXPECT_POINT(a0, 10, 0);
    EXPECT_EQ(a1, CDbPoint(100, 0));
    EXPECT_POINT(b0, 0, 10);
    EXPECT_EQ(b1, CDbPoint(0, 100));

    // Segments given from their far ends toward the corner: the far ends are kept the same.
    CDbPoint c0{100, 0}, c1{0, 0}, d0{0, 100}, d1{0, 0};
    ASSERT_EQ(CKovUnit::FilletCorner(out, c0, c1, d0, d1, 10), 1);
    EXPECT_POINT(c0, 10, 0);
    EXPECT_EQ(c1, CDbPoint(100, 0));

    CDbPoint p0{0, 0}, p1{100, 0}, q0{0, 50}, q1{100, 50};
    EXPECT_EQ(CKovUnit::FilletCorner(out, p0, p1, q0, q1, 10), -1);
    EXPECT_EQ(p0, CDbPoint(0, 0));
}

// The worked example: the line y = 0 from x = -100 to 100 and the upper half circle about (0, -50)
// of radius 50 from (50, -50) to (-50, -50), rounded with R = 10.
struct ArcLineExample {
    CKovLine arc, line;
    ArcLineExample()
    {
        arc.MLineType = CKovLine::ARC;
        arc.MLinePnt = {{0, -50}, {50, -50}, {-50, -50}};
        arc.MLineParam = {50};
        line.MLinePnt = {{-100, 0}, {100, 0}};
    }
};

TEST(FilletArcLine, WorkedExampleAndItsMirroredTwin)
{
    const double k = std::sqrt(60.0 * 60 - 40 * 40); // 44.72
    for (double clickX : {-80.0, 80.0}) {
        SCOPED_TRACE(clickX);
        LineEditRig r;
        ArcLineExample e;
        ASSERT_EQ(r.unit.FilletArcLine(e.arc, e.line, r.plot, {0, -100}, {clickX, 0}, 10), 1);
        const double side = clickX < 0 ? -1 : 1;
        const CDbPoint centre{side * k, -10};
        ASSERT_EQ(r.unit.m_Lines.GetSize(), 1);
        const CKovLine& fillet = *r.view().m_Lines[0];
        EXPECT_EQ(fillet.MLineType, CKovLine::ARC);
        EXPECT_EQ(fillet.MLineParam, std::vector<double>{10});
        EXPECT_POINT(fillet.MLinePnt[0], centre.x, centre.y);
        const CDbPoint onArc = PointTowards(centre, {0, -50}, 10);
        // Left: the arc's end moves and the line keeps its left part; right: the start and the right part.
        EXPECT_POINT(e.line.MLinePnt[0], side * 100, 0);
        EXPECT_POINT(e.line.MLinePnt[1], side * k, 0);
        if (clickX < 0) {
            EXPECT_EQ(e.arc.MLinePnt[1], CDbPoint(50, -50));
            EXPECT_POINT(e.arc.MLinePnt[2], onArc.x, onArc.y);
        } else {
            EXPECT_POINT(e.arc.MLinePnt[1], onArc.x, onArc.y);
            EXPECT_EQ(e.arc.MLinePnt[2], CDbPoint(-50, -50));
        }
        // The fillet runs counter-clockwise from the arc to the line on the left, from the line on the right.
        EXPECT_POINT(fillet.MLinePnt[clickX < 0 ? 1 : 2], side * k, 0);
        EXPECT_POINT(fillet.MLinePnt[clickX < 0 ? 2 : 1], onArc.x, onArc.y);
    }
}

TEST(FilletArcLine, EveryKindOfLineTouchesBothFigures)
{
    struct Case {
        const char* name;
        double turn;   // the worked example turned counter-clockwise by this
        double nudge;  // the line's first end moved sideways by this
        CDbPoint expectedCentre; // before the turn
    };
    const double k = std::sqrt(60.0 * 60 - 40 * 40);
    const Case cases[] = {
        {"level", 0, 0, {-k, -10}},
        {"plumb", 90, 0, {-k, -10}},
        {"plumb within 0.001 is oblique", 90, -0.0005, {-k, -10}},
        {"oblique", 30, 0, {-k, -10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double a = c.turn * kDeg;
        auto turn = [a](const CDbPoint& p) {
            return CDbPoint{p.x * std::cos(a) + p.y * std::sin(a), -p.x * std::sin(a) + p.y * std::cos(a)};
        };
        ArcLineExample e;
        for (CDbPoint& p : e.arc.MLinePnt) p = turn(p);
        for (CDbPoint& p : e.line.MLinePnt) p = turn(p);
        if (c.turn == 90) { // exactly plumb, as turning by 90 degrees in doubles is not
            e.line.MLinePnt = {{0, 100}, {0, -100}};
            e.arc.MLinePnt = {{-50, 0}, {-50, -50}, {-50, 50}};
        }
        e.line.MLinePnt[0].x += c.nudge;
        LineEditRig r;
        ASSERT_EQ(r.unit.FilletArcLine(e.arc, e.line, r.plot, turn({0, -100}), turn({-80, 0}), 10), 1);
        const CKovLine& fillet = *r.view().m_Lines[0];
        const CDbPoint centre = turn(c.expectedCentre);
        EXPECT_POINT(fillet.MLinePnt[0], centre.x, centre.y);
        // It touches the line at its tangent point and the arc's circle from outside.
        EXPECT_NEAR(dist(fillet.MLinePnt[0], e.line.MLinePnt[1]), 10, 0.01);
        EXPECT_NEAR(dist(fillet.MLinePnt[0], e.arc.MLinePnt[0]), 60, 0.01);
    }
}

TEST(FilletArcLine, ArcOnTheWrongSideIsRefused)
{
    LineEditRig r;
    ArcLineExample e;
    // The whole circle below the line while the fillet would go above it.
    e.arc.MLinePnt = {{0, 100}, {50, 100}, {-50, 100}};
    const CKovLine arcBefore = e.arc, lineBefore = e.line;
    EXPECT_EQ(r.unit.FilletArcLine(e.arc, e.line, r.plot, {0, 50}, {-80, 0}, 10), 0);
    EXPECT_EQ(e.arc.MLinePnt, arcBefore.MLinePnt);
    EXPECT_EQ(e.line.MLinePnt, lineBefore.MLinePnt);
    EXPECT_EQ(r.unit.m_Lines.GetSize(), 0);
}

TEST(FilletArcLine, TheChamferToolRoundsAnArcAndALine)
{
    CornerRig r;
    r.mode = 2;
    r.sizes = {300, 10, 300, 300};
    const int arc = r.line({{0, -50}, {50, -50}, {-50, -50}}, CKovLine::ARC, {50});
    const int line = r.line({{-100, 0}, {100, 0}});
    r.chamfer({0, -100});
    ASSERT_EQ(r.chamfer({-80, 0}), 2);
    EXPECT_POINT(r.line(line)->MLinePnt[1], -std::sqrt(2000.0), 0);
    EXPECT_EQ(r.line(arc)->MLinePnt[1], CDbPoint(50, -50));
    EXPECT_EQ(r.unit.m_Lines.GetSize(), 3);

    // Nothing fits: the chamfer tool says so.
    CornerRig far;
    far.mode = 2;
    far.sizes = {300, 10, 300, 300};
    far.line({{0, 300}, {50, 300}, {-50, 300}}, CKovLine::ARC, {50});
    far.line({{-100, 0}, {100, 0}});
    far.chamfer({0, 250});
    EXPECT_EQ(far.chamfer({-80, 0}), 0);
    EXPECT_EQ(far.said, std::vector<std::string>{std::string(texts::kNoChamfer)});
}

TEST(Corner, TwoLinesMeet)
{
    CornerRig r;
    double arcEnd = -1;
    const int a = r.line({{0, 0}, {800, 0}});
    const int b = r.line({{1000, 100}, {1000, 900}});
    ASSERT_EQ(r.corner({400, 0}, arcEnd), 1);
    EXPECT_EQ(arcEnd, 0.0);
    ASSERT_EQ(r.corner({1000, 500}, arcEnd), 2);
    EXPECT_EQ(r.line(a)->MLinePnt, (CDbPointArray{{0, 0}, {1000, 0}}));
    EXPECT_EQ(r.line(b)->MLinePnt, (CDbPointArray{{1000, 0}, {1000, 900}}));
    EXPECT_TRUE(r.sel.IsEmpty());
}

TEST(Corner, PairsThatCannotMeet)
{
    struct Case {
        const char* name;
        CDbPointArray first, second;
        int kind2;
        std::vector<double> params2;
        CDbPoint click1, click2;
    };
    const Case cases[] = {
        {"parallel", {{0, 0}, {800, 0}}, {{0, 100}, {800, 100}}, CKovLine::LINE, {}, {400, 0}, {400, 100}},
        // Each |dx| below 0.1: both count as plumb, though they are not parallel.
        {"both almost plumb", {{0, 0}, {0.05, 800}}, {{100, 0}, {100.08, 800}}, CKovLine::LINE, {}, {0, 400}, {100, 400}},
        {"a circle", {{0, 0}, {800, 0}}, {{400, 300}}, CKovLine::CIRCLE, {100}, {400, 0}, {500, 300}},
        // Its ends cannot follow a circle: refused rather than bent onto one.
        {"an elliptic arc", {{0, 0}, {800, 0}}, {{400, 300}, {500, 300}, {300, 300}}, CKovLine::ARC, {100, 0.5},
         {400, 0}, {500, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CornerRig r;
        double arcEnd = 0;
        r.line(c.first);
        r.line(c.second, c.kind2, c.params2);
        const auto before = r.figures();
        ASSERT_EQ(r.corner(c.click1, arcEnd), 1);
        EXPECT_EQ(r.corner(c.click2, arcEnd), 0);
        EXPECT_EQ(r.figures(), before);
    }
}

TEST(Corner, LineAndArcMeetAtTheChosenCrossing)
{
    // The arc: the upper half of the circle of radius 100 about (500, 0); the line y = -50 crosses
    // its circle at x = 500 ± 86.6.
    for (double pick : {-1.0, 1.0}) {
        SCOPED_TRACE(pick);
        CornerRig r;
        double arcEnd = 0;
        const int arc = r.line({{500, 0}, {600, 0}, {400, 0}}, CKovLine::ARC, {100});
        const int line = r.line({{0, -50}, {300, -50}});
        // The arc is picked near its end (400, 0): the end moves.
        ASSERT_EQ(r.corner({410, -42}, arcEnd), 1);
        EXPECT_EQ(arcEnd, 2.0);
        ASSERT_EQ(r.corner({150, -50}, arcEnd), 3);
        EXPECT_EQ(r.points.size(), 4u);
        EXPECT_EQ(r.sel.m_Lines.size(), 2u);
        const double x = 500 + pick * std::sqrt(100.0 * 100 - 50 * 50);
        ASSERT_EQ(r.corner({x + 5, -45}, arcEnd), 2);
        EXPECT_POINT(r.line(line)->MLinePnt[1], x, -50);
        EXPECT_EQ(r.line(line)->MLinePnt[0], CDbPoint(0, -50));
        EXPECT_POINT(r.line(arc)->MLinePnt[2], x, -50);
        EXPECT_EQ(r.line(arc)->MLinePnt[1], CDbPoint(600, 0));
    }

    // A line touching the circle: both candidates are the touching point.
    CornerRig t;
    double arcEnd = 0;
    const int arc = t.line({{500, 0}, {600, 0}, {400, 0}}, CKovLine::ARC, {100});
    const int line = t.line({{0, -100}, {300, -100}});
    t.corner({150, -100}, arcEnd);
    ASSERT_EQ(t.corner({595, -10}, arcEnd), 3);
    ASSERT_EQ(t.corner({2000, 2000}, arcEnd), 2);
    EXPECT_EQ(t.line(line)->MLinePnt[1], CDbPoint(500, -100));
    EXPECT_EQ(t.line(arc)->MLinePnt[1], CDbPoint(500, -100));
}

} // namespace
