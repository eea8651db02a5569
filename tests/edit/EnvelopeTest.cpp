#include "LineEditRig.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kov::test;

namespace {

using Lines = std::vector<CDbPointArray>;

struct EnvelopeRig : LineEditRig {
    int add(CDbPoint a, CDbPoint b, int lineType = 0)
    {
        const int id = line({a, b});
        unit.FindLine(id)->MLineLineT = lineType;
        return id;
    }
    void envelope(double x0, double y0, double x1, double y1)
    {
        unit.EnvelopeRange(plot, {x0, y0}, {x0, y1}, {x1, y1}, {x1, y0});
    }
    // The straight lines' ends, each pair ordered, the lines sorted: the outcome whatever the order.
    Lines lines() const
    {
        Lines out;
        for (const auto& f : unit.m_Lines) {
            if (f->MLineType != CKovLine::LINE)
                continue;
            CDbPointArray p = f->MLinePnt;
            if (std::make_pair(p[1].x, p[1].y) < std::make_pair(p[0].x, p[0].y))
                std::swap(p[0], p[1]);
            out.push_back(p);
        }
        std::sort(out.begin(), out.end(), [](const CDbPointArray& a, const CDbPointArray& b) {
            return std::make_tuple(a[0].x, a[0].y, a[1].x, a[1].y) < std::make_tuple(b[0].x, b[0].y, b[1].x, b[1].y);
        });
        return out;
    }
};

TEST(Envelope, TheCasesOfTheRange)
{
    struct Case {
        const char* name;
        Lines before;
        Lines after;
    };
    const Case cases[] = {
        {"collinear lines continuing each other join",
         {{{0, 0}, {100, 0}}, {{100, 0}, {250, 0}}},
         {{{0, 0}, {250, 0}}}},
        {"a short line lying on a longer one goes",
         {{{20, 0}, {50, 0}}, {{0, 0}, {100, 0}}},
         {{{0, 0}, {100, 0}}}},
        {"the same line twice: one stays",
         {{{0, 0}, {100, 0}}, {{100, 0}, {0, 0}}},
         {{{0, 0}, {100, 0}}}},
        {"a V of oblique lines is not joined",
         {{{0, 0}, {100, -100}}, {{100, -100}, {200, 0}}},
         {{{0, 0}, {100, -100}}, {{100, -100}, {200, 0}}}},
        {"oblique lines with slopes within 0.001 join",
         {{{-100, 100}, {0, 0}}, {{0, 0}, {100, -100.05}}},
         {{{-100, 100}, {100, -100.05}}}},
        {"a plus of two lines through the range stays",
         {{{-500, 0}, {500, 0}}, {{0, -500}, {0, 500}}},
         {{{-500, 0}, {500, 0}}, {{0, -500}, {0, 500}}}},
        {"two double lines through the range open their junction",
         {{{-500, -50}, {500, -50}}, {{-500, 50}, {500, 50}}, {{-50, -500}, {-50, 500}}, {{50, -500}, {50, 500}}},
         {{{-500, -50}, {-50, -50}},
          {{-500, 50}, {-50, 50}},
          {{-50, -500}, {-50, -50}},
          {{-50, 50}, {-50, 500}},
          {{50, -500}, {50, -50}},
          {{50, -50}, {500, -50}},
          {{50, 50}, {50, 500}},
          {{50, 50}, {500, 50}}}},
        {"lines entering from both sides on one straight line join across",
         {{{-500, 10}, {-100, 10}}, {{100, 10}, {500, 10}}},
         {{{-500, 10}, {500, 10}}}},
        {"a line 5 short of a crossing line is drawn out to it",
         {{{-500, -100}, {95, -100}}, {{100, -500}, {100, 500}}},
         {{{-500, -100}, {100, -100}}, {{100, -500}, {100, 500}}}},
        // It shrinks to the crossing point: a line of no length is no line.
        {"a short line crossed once in its middle goes",
         {{{-50, 100}, {50, 100}}, {{0, -500}, {0, 500}}},
         {{{0, -500}, {0, 500}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EnvelopeRig r;
        for (const CDbPointArray& l : c.before) r.add(l[0], l[1]);
        r.envelope(-300, -300, 300, 300);
        EXPECT_EQ(r.lines(), c.after);
    }
}

TEST(Envelope, OnlyStraightUngroupedLinesOfTheEditingLayerOfOneTypeAtATime)
{
    EnvelopeRig r;
    // Lines of another layer, a grouped line and a rectangle lying on the lines are left alone.
    addFigure(r.unit, 20, CKovLine::LINE, {{30, 0}, {60, 0}}, {}, 0, 0, 1);
    addFigure(r.unit, 21, CKovLine::LINE, {{30, 0}, {60, 0}}, {}, 9);
    addGroup(r.unit, 9, {21});
    addFigure(r.unit, 22, CKovLine::RECTANGLE, {{0, 0}, {0, 50}, {100, 50}, {100, 0}});
    r.unit.MUnitLineID = 22;
    // A solid and a dotted line continuing each other stay two lines.
    const int solid = r.add({0, 0}, {100, 0}, 0);
    const int dotted = r.add({100, 0}, {200, 0}, 2);
    const auto before = r.figures();
    r.envelope(-300, -300, 300, 300);
    EXPECT_EQ(r.figures(), before);
    EXPECT_NE(r.line(solid), nullptr);
    EXPECT_NE(r.line(dotted), nullptr);

    // Nothing in the range: nothing changes.
    EnvelopeRig empty;
    empty.add({1000, 1000}, {1100, 1000});
    const auto untouched = empty.figures();
    empty.envelope(-300, -300, 300, 300);
    EXPECT_EQ(empty.figures(), untouched);
}

TEST(Envelope, AWallJunctionOfDoubleLinesIsTidied)
{
    // A T: the double line of one wall (y = ±50) runs through; another wall's double line (x = ±50)
    // comes up from below and stops on the near line of the first.
    EnvelopeRig r;
    r.add({-1000, -50}, {1000, -50});
    r.add({-1000, 50}, {1000, 50});
    r.add({-50, 50}, {-50, 1000});
    r.add({50, 50}, {50, 1000});
    r.envelope(-200, -200, 200, 200);
    // The through line nearer the branch opens between the branch's lines.
    const Lines expected{{{-1000, -50}, {1000, -50}},
                         {{-1000, 50}, {-50, 50}},
                         {{-50, 50}, {-50, 1000}},
                         {{50, 50}, {50, 1000}},
                         {{50, 50}, {1000, 50}}};
    EXPECT_EQ(r.lines(), expected);
}

} // namespace
