// A small plan drawn in plain lines and edited only through the line edits: wall junctions tidied by
// envelopes, a window and a door cut out of the walls, the window's glass as two lines along the
// wall, a door swing from a circle cut open and divided, its leaf drawn out to the swing, a counter
// parallel to a wall, a rounded sink and a chamfered table from exploded rectangles, a bath closed by
// a corner and extended to the wall, and stairs joined into an outline with their treads divided.
// Drawn by the draw passes and compared with tests/data/edit/plan-line-edits.png
// (KOVIRA_REGENERATE_GOLDEN=1 rewrites it; look at it before keeping it).

#include "LineEditRig.h"

#include "platform/PainterSurface.h"
#include "render/DrawEnvironment.h"
#include "support/GoldenImage.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>

using namespace kov::test;

namespace {

struct Plan : LineEditRig {
    Plan()
    {
        t = pixelTransform(0.08, 4.0);
        t.originX = 24;
        t.originY = 24;
    }
    // A wall on an axis-parallel core as two lines 50 either side.
    void wall(CDbPoint a, CDbPoint b)
    {
        const bool level = a.y == b.y;
        for (double side : {-50.0, 50.0}) {
            const CDbPoint d = level ? CDbPoint{0, side} : CDbPoint{side, 0};
            line({{a.x + d.x, a.y + d.y}, {b.x + d.x, b.y + d.y}});
        }
    }
    void envelopeAt(CDbPoint c)
    {
        unit.EnvelopeRange(plot, {c.x - 200, c.y - 200}, {c.x - 200, c.y + 200}, {c.x + 200, c.y + 200},
                           {c.x + 200, c.y - 200});
    }
    void cutOut(CDbPoint from, CDbPoint to)
    {
        points.clear();
        DevicePoint d = dev(from);
        ASSERT_EQ(unit.CutLinePart(sel, plot, t, d.x, d.y, points, from), 1);
        points.push_back(from);
        d = dev(to);
        ASSERT_EQ(unit.CutLinePart(sel, plot, t, d.x, d.y, points, to), 1);
        points.clear();
    }
    void erase(CDbPoint at)
    {
        const DevicePoint d = dev(at);
        unit.EraseLineAtPoint(plot, t, d.x, d.y, at);
    }
    // Picks in order; every call must give the result listed.
    template <class Op>
    void steps(Op op, std::initializer_list<std::pair<CDbPoint, int>> clicks)
    {
        points.clear();
        sel.Clear();
        for (auto [at, expected] : clicks) {
            const DevicePoint d = dev(at);
            CDbPoint p = at;
            const int r = op(p, d);
            ASSERT_EQ(r, expected) << at.x << ',' << at.y;
            if (r == 1 || r == 2)
                points.push_back(p);
        }
        points.clear();
        sel.Clear();
    }
    // Explodes the rectangle and chamfers each of its corners.
    void roundCorners(CDbPointArray corners, int mode, double size)
    {
        const int id = line(std::move(corners), CKovLine::RECTANGLE);
        SelectionRecord s;
        s.AddLineId(id);
        unit.ExplodePolylines(s, plot);
        const std::vector<int> sides = s.m_Lines;
        const CKovUnit::ChamferSizes sizes{size, size, size, size};
        for (std::size_t k = 0; k < sides.size(); ++k) {
            const CKovLine& a = *line(sides[k]);
            const CKovLine& b = *line(sides[(k + 1) % sides.size()]);
            auto mid = [](const CKovLine& l) {
                return CDbPoint{(l.MLinePnt[0].x + l.MLinePnt[1].x) / 2, (l.MLinePnt[0].y + l.MLinePnt[1].y) / 2};
            };
            ASSERT_EQ(unit.ChamferPair(a.MLineID, b.MLineID, mid(a), mid(b), plot, sizes, mode, tell), 2);
        }
    }
};

void buildPlan(Plan& p)
{
    // The walls, each drawn from junction centre to junction centre, and their junctions tidied.
    p.wall({0, 0}, {8000, 0});
    p.wall({0, 5000}, {8000, 5000});
    p.wall({0, 0}, {0, 5000});
    p.wall({8000, 0}, {8000, 5000});
    p.wall({3600, 0}, {3600, 5000});
    p.wall({3600, 2600}, {8000, 2600});
    for (CDbPoint j : {CDbPoint{0, 0}, CDbPoint{8000, 0}, CDbPoint{0, 5000}, CDbPoint{8000, 5000},
                       CDbPoint{3600, 0}, CDbPoint{3600, 5000}, CDbPoint{8000, 2600}, CDbPoint{3600, 2600}})
        p.envelopeAt(j);

    // A window in the top wall with its glass along the wall, and a door in the inner wall.
    p.cutOut({1000, -50}, {2400, -50});
    p.cutOut({1000, 50}, {2400, 50});
    p.steps(
        [&](CDbPoint& c, DevicePoint d) {
            return p.unit.MakeDoubleLine(p.sel, p.plot, p.points, c, d.x, d.y, p.t, {-25, 75});
        },
        {{{500, -50}, 1}, {{1000, -50}, 2}, {{2400, -50}, 3}});
    p.cutOut({3650, 3600}, {3650, 4400});
    p.cutOut({3550, 3600}, {3550, 4400});

    // The door's swing: a circle about the hinge, cut open right of its centre, in four quarters,
    // three of them erased; the leaf drawn out to the swing.
    const CDbPoint hinge{3650, 3600};
    p.line({hinge}, CKovLine::CIRCLE, {800});
    {
        CDbPoint at{4450, 3600};
        const DevicePoint d = p.dev(at);
        ASSERT_EQ(p.unit.SplitLineAtPoint(p.plot, p.t, d.x, d.y, at), 1);
    }
    auto onSwing = [&](double degrees) {
        const double a = degrees * 3.14159265358979323846 / 180;
        return CDbPoint{hinge.x + 800 * std::cos(a), hinge.y - 800 * std::sin(a)};
    };
    {
        const CDbPoint at = onSwing(315);
        const DevicePoint d = p.dev(at);
        auto quarters = [](int& mode, int& count, double&) {
            mode = 0;
            count = 4;
            return true;
        };
        double length = 0;
        p.sel.Clear();
        ASSERT_EQ(p.unit.DivideFigure(p.sel, p.plot, {}, at, d.x, d.y, p.t, length, quarters, p.tell), 1);
        ASSERT_EQ(p.unit.DivideFigure(p.sel, p.plot, {}, at, d.x, d.y, p.t, length, quarters, p.tell), 1);
        ASSERT_EQ(p.sel.m_Lines.size(), 4u);
        p.sel.Clear();
    }
    for (double a : {45.0, 135.0, 225.0}) p.erase(onSwing(a));
    p.line({hinge, {4000, 3600}});
    p.steps(
        [&](CDbPoint& c, DevicePoint d) {
            return p.unit.TrimExtendLine(p.sel, p.plot, d.x, d.y, p.points, c, p.t, p.tell);
        },
        {{onSwing(315), 1}, {{3850, 3600}, 3}});

    // A counter along the kitchen's wall and a rounded sink in it; a chamfered table.
    p.steps(
        [&](CDbPoint& c, DevicePoint d) {
            return p.unit.MakeParallelLine(p.sel, p.plot, p.points, c.x, c.y, d.x, d.y, p.t, 650);
        },
        {{{7950, 1300}, 1}, {{7000, 1300}, 2}});
    p.roundCorners({{7450, 900}, {7450, 1500}, {7850, 1500}, {7850, 900}}, 2, 60);
    p.roundCorners({{900, 1900}, {900, 2900}, {2700, 2900}, {2700, 1900}}, 0, 200);

    // A bath: two sides brought to their corner, then drawn down to the wall.
    p.line({{300, 3700}, {1600, 3700}});
    p.line({{1700, 3800}, {1700, 4800}});
    p.line({{300, 3700}, {300, 4700}});
    double arcEnd = 0;
    p.steps(
        [&](CDbPoint& c, DevicePoint d) {
            return p.unit.CornerLines(p.sel, p.plot, p.points, c, d.x, d.y, p.t, arcEnd);
        },
        {{{1000, 3700}, 1}, {{1700, 4300}, 2}});
    p.steps(
        [&](CDbPoint& c, DevicePoint d) {
            return p.unit.TrimExtendLine(p.sel, p.plot, d.x, d.y, p.points, c, p.t, p.tell);
        },
        {{{2500, 4950}, 1}, {{1700, 4500}, 3}, {{300, 4500}, 3}});

    // Stairs: four lines joined into their outline, and eight treads between its long sides.
    p.line({{5000, 3200}, {6800, 3200}});
    p.line({{6800, 3200}, {6800, 4200}});
    p.line({{6800, 4200}, {5000, 4200}});
    p.line({{5000, 4200}, {5000, 3200}});
    {
        const CDbPoint at{5900, 3200};
        const DevicePoint d = p.dev(at);
        ASSERT_EQ(p.unit.JoinLines(p.sel, p.plot, at, d.x, d.y, p.t), 1);
    }
    p.unit.DivideBetweenPoints(p.sel, p.plot, {{5000, 3200}, {6800, 3200}, {5000, 3200}}, {5000, 4200}, 9);
}

TEST(PlanPicture, LinesEditedByTheLineEdits)
{
    Plan p;
    buildPlan(p);
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(p.said.empty());

    QImage image(700, 460, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        kov::platform::PainterSurface surface(image);
        CKovUnit::DrawEnvironment env;
        const SelectionRecord none;
        p.unit.DrawAllByLayer(surface, p.t, p.plot, none, false, true, env);
    }
    expectMatchesGolden(image, "edit/plan-line-edits.png");
}

} // namespace
