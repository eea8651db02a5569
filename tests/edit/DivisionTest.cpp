#include "LineEditRig.h"

#include "edit/LineEditTexts.h"
#include "model/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace kov::test;
namespace texts = kov::edit::texts;

namespace {

struct Answer {
    int mode = 0;
    int count = 0;
    double length = 0;
};

struct DivideRig : LineEditRig {
    double length = 0;
    std::optional<Answer> answer;
    // The tool's two calls on a pick, then the starting click when the length was chosen.
    int divide(CDbPoint pick, std::optional<CDbPoint> start = std::nullopt)
    {
        auto ask = [this](int& mode, int& count, double& len) {
            if (!answer)
                return false;
            mode = answer->mode;
            count = answer->count;
            len = answer->length;
            return true;
        };
        sel.Clear();
        points.clear();
        const DevicePoint d = dev(pick);
        if (unit.DivideFigure(sel, plot, points, pick, d.x, d.y, t, length, ask, tell) != 1)
            return 0;
        const int r = unit.DivideFigure(sel, plot, points, pick, d.x, d.y, t, length, ask, tell);
        if (r != 2 || !start)
            return r;
        points.push_back(pick);
        const DevicePoint s = dev(*start);
        return unit.DivideFigure(sel, plot, points, *start, s.x, s.y, t, length, ask, tell);
    }
    // The selected segments, each as its two ends (arcs: start and end).
    std::vector<std::pair<CDbPoint, CDbPoint>> segments() const
    {
        std::vector<std::pair<CDbPoint, CDbPoint>> out;
        for (int id : sel.m_Lines) {
            const CKovLine& f = *line(id);
            out.emplace_back(f.MLinePnt[f.MLineType == CKovLine::ARC ? 1 : 0],
                             f.MLinePnt[f.MLineType == CKovLine::ARC ? 2 : 1]);
        }
        return out;
    }
};

TEST(Divide, LinesByCountAndByLength)
{
    struct Case {
        const char* name;
        CDbPoint p0, p1;
        Answer answer;
        CDbPoint start;   // the starting click of a division by length
        std::vector<double> lengths;
        CDbPoint firstStart;
    };
    const Case cases[] = {
        {"1000 into 3 from the upper end", {0, 1000}, {0, 0}, {0, 3, 0}, {}, {333.33, 333.33, 333.33}, {0, 0}},
        {"level: from the left end", {1000, 0}, {0, 0}, {0, 2, 0}, {}, {500, 500}, {0, 0}},
        {"by 300 from point 0", {0, 0}, {1000, 0}, {1, 0, 300}, {10, 0}, {300, 300, 300, 100}, {0, 0}},
        {"by 300 from point 1", {0, 0}, {1000, 0}, {1, 0, 300}, {990, 0}, {300, 300, 300, 100}, {1000, 0}},
        {"by 250: no empty fifth segment", {0, 0}, {1000, 0}, {1, 0, 250}, {10, 0}, {250, 250, 250, 250}, {0, 0}},
        // A remainder of a millionth of a millimetre is no segment.
        {"a remainder of rounding only is dropped", {0, 0}, {3.000000001, 0}, {1, 0, 1}, {0, 0}, {1, 1, 1}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DivideRig r;
        const int id = r.line({c.p0, c.p1});
        r.answer = c.answer;
        const CDbPoint pick{(c.p0.x + c.p1.x) / 2, (c.p0.y + c.p1.y) / 2};
        EXPECT_EQ(r.divide(pick, c.start), 1);
        EXPECT_EQ(r.line(id), nullptr);
        const auto segs = r.segments();
        ASSERT_EQ(segs.size(), c.lengths.size());
        for (std::size_t i = 0; i < segs.size(); ++i) {
            EXPECT_NEAR(dist(segs[i].first, segs[i].second), c.lengths[i], 0.01) << i;
            if (i > 0) {
                EXPECT_EQ(segs[i].first, segs[i - 1].second);
            }
        }
        EXPECT_EQ(segs.front().first, c.firstStart);
        // The last segment ends exactly where the line ended.
        EXPECT_EQ(segs.back().second, c.firstStart == c.p0 ? c.p1 : c.p0);
    }
}

TEST(Divide, CirclesAndArcs)
{
    // A circle into 7: seven arcs round the whole circle, from the point right of the centre.
    DivideRig seven;
    seven.line({{0, 0}}, CKovLine::CIRCLE, {200});
    seven.answer = Answer{0, 7, 0};
    ASSERT_EQ(seven.divide({0, -200}), 1);
    auto segs = seven.segments();
    ASSERT_EQ(segs.size(), 7u);
    EXPECT_EQ(segs.front().first, CDbPoint(200, 0));
    for (std::size_t i = 1; i < segs.size(); ++i) EXPECT_EQ(segs[i].first, segs[i - 1].second);
    EXPECT_EQ(segs.back().second, segs.front().first);

    // By length the circle starts right of the centre wherever the click was.
    DivideRig byLength;
    byLength.line({{0, 0}}, CKovLine::CIRCLE, {100});
    byLength.answer = Answer{1, 0, 100};
    ASSERT_EQ(byLength.divide({-100, 0}, CDbPoint{-100, 0}), 1);
    segs = byLength.segments();
    // 628.3 / 100: six full segments and the rest.
    ASSERT_EQ(segs.size(), 7u);
    EXPECT_EQ(segs.front().first, CDbPoint(100, 0));
    EXPECT_EQ(segs.back().second, CDbPoint(100, 0));

    // An arc by length from its end when the click is nearer the end.
    DivideRig arc;
    arc.line({{0, 0}, {100, 0}, {0, -100}}, CKovLine::ARC, {100}); // a quarter: 157.08 long
    arc.answer = Answer{1, 0, 100};
    ASSERT_EQ(arc.divide({70.7, -70.7}, CDbPoint{5, -100}), 1);
    segs = arc.segments();
    ASSERT_EQ(segs.size(), 2u);
    EXPECT_EQ(segs[0].second, CDbPoint(0, -100));
    EXPECT_EQ(segs[1].first, CDbPoint(100, 0));
    EXPECT_EQ(segs[1].second, segs[0].first);
}

TEST(Divide, ACircleCutOpenDividesAsAWholeTurn)
{
    // A split circle: an arc whose start and end coincide.
    // By length: a little over a quarter of the circumference (628.3185307), so three quarters and
    // what is left.
    for (const Answer& a : {Answer{0, 4, 0}, Answer{1, 0, 157.0796327}}) {
        SCOPED_TRACE(a.mode);
        DivideRig r;
        r.line({{0, 0}, {100, 0}, {100, 0}}, CKovLine::ARC, {100});
        r.answer = a;
        ASSERT_EQ(r.divide({0, 100}, CDbPoint{100, -5}), 1);
        const auto segs = r.segments();
        ASSERT_EQ(segs.size(), 4u);
        double turn = 0;
        for (const auto& [s, e] : segs) {
            double span = VectorAngle(0, 0, e.x, e.y) - VectorAngle(0, 0, s.x, s.y);
            if (span < 0) span += 360;
            turn += span;
        }
        EXPECT_NEAR(turn, 360, 1e-6);
    }
}

TEST(Divide, EllipsesByCountOnlyAndRefusals)
{
    DivideRig ellipse;
    ellipse.line({{0, 0}}, CKovLine::CIRCLE, {200, 0.5});
    ellipse.answer = Answer{0, 4, 0};
    ASSERT_EQ(ellipse.divide({200, 0}), 1);
    ASSERT_EQ(ellipse.sel.m_Lines.size(), 4u);
    EXPECT_EQ(ellipse.line(ellipse.sel.m_Lines[0])->MLineParam, (std::vector<double>{200, 0.5}));

    // By length: refused when the length is chosen, not after a starting click that cannot help.
    DivideRig byLength;
    const int id = byLength.line({{0, 0}}, CKovLine::CIRCLE, {200, 0.5});
    byLength.answer = Answer{1, 0, 50};
    EXPECT_EQ(byLength.divide({200, 0}), 0);
    EXPECT_EQ(byLength.said, std::vector<std::string>{std::string(texts::kEllipseNoLengthDivision)});
    EXPECT_NE(byLength.line(id), nullptr);

    DivideRig tooLong;
    tooLong.line({{0, 0}, {100, 0}});
    tooLong.answer = Answer{1, 0, 100};
    EXPECT_EQ(tooLong.divide({50, 0}), 0);
    EXPECT_EQ(tooLong.said, std::vector<std::string>{std::string(texts::kBadDivisionLength)});

    DivideRig cancelled;
    const int kept = cancelled.line({{0, 0}, {100, 0}});
    EXPECT_EQ(cancelled.divide({50, 0}), -1);
    EXPECT_NE(cancelled.line(kept), nullptr);

    // Only lines, circles and arcs of the current layer that belong to no group.
    DivideRig other;
    addFigure(other.unit, 1, CKovLine::LINE, {{0, 0}, {100, 0}}, {}, 0, 0, 2);
    addFigure(other.unit, 2, CKovLine::RECTANGLE, {{0, 50}, {0, 90}, {100, 90}, {100, 50}});
    other.answer = Answer{0, 2, 0};
    EXPECT_EQ(other.divide({50, 0}), 0);
    EXPECT_EQ(other.divide({50, 50}), 0);
}

TEST(DivideBetweenPoints, LinesAcrossTheDivisionPoints)
{
    struct Case {
        const char* name;
        CDbPointArray points;
        CDbPoint end;
        int n;
        std::vector<std::pair<CDbPoint, CDbPoint>> expected;
    };
    const Case cases[] = {
        {"level, in 2: one line", {{0, 0}, {100, 0}, {0, 10}}, {30, 50}, 2, {{{50, 10}, {50, 50}}}},
        {"plumb, in 4", {{0, 100}, {0, 0}, {10, 0}}, {50, 0}, 4,
         {{{10, 25}, {50, 25}}, {{10, 50}, {50, 50}}, {{10, 75}, {50, 75}}}},
        {"in 1: nothing", {{0, 0}, {100, 0}, {0, 10}}, {0, 50}, 1, {}},
        // Along y = x: the perpendicular through (50, 50) meets the parallels through (0, 20) and (0, -20).
        {"oblique, in 2", {{0, 0}, {100, 100}, {0, 20}}, {0, -20}, 2, {{{40, 60}, {60, 40}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineEditRig r;
        r.sel.AddLineId(99);
        r.unit.DivideBetweenPoints(r.sel, r.plot, c.points, c.end, c.n);
        ASSERT_EQ(r.sel.m_Lines.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const CKovLine& l = *r.line(r.sel.m_Lines[i]);
            EXPECT_POINT(l.MLinePnt[0], c.expected[i].first.x, c.expected[i].first.y);
            EXPECT_POINT(l.MLinePnt[1], c.expected[i].second.x, c.expected[i].second.y);
        }
    }
}

} // namespace
