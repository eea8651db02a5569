#pragma once

// A drawing for the line edits: one pixel per millimetre, so the pick radius reaches 8 mm, and the
// messages the operations give kept in order.

#include "model/DrawTransform.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace kov::test {

struct LineEditRig {
    CKovUnit unit;
    CPlotInfo plot;
    DeviceTransform t = pixelTransform(1.0);
    SelectionRecord sel;
    CDbPointArray points;
    std::vector<std::string> said;
    CKovUnit::MessageSink tell = [this](std::string_view text) { said.emplace_back(text); };

    LineEditRig() = default;
    LineEditRig(const LineEditRig&) = delete;
    LineEditRig& operator=(const LineEditRig&) = delete;

    DevicePoint dev(const CDbPoint& p) const { return ToDevicePoint(p, t, 0); }
    const CKovUnit& view() const { return unit; }
    const CKovLine* line(int id) const { return view().FindLine(id); }
    int line(CDbPointArray pts, int kind = CKovLine::LINE, std::vector<double> params = {})
    {
        const int id = unit.NextLineId();
        addFigure(unit, id, kind, std::move(pts), std::move(params));
        return id;
    }
    // The figures' kinds and points in array order, to compare drawings.
    std::vector<std::pair<int, CDbPointArray>> figures() const
    {
        std::vector<std::pair<int, CDbPointArray>> out;
        for (const auto& f : unit.m_Lines) out.emplace_back(f->MLineType, f->MLinePnt);
        return out;
    }
};

inline double dist(const CDbPoint& a, const CDbPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Points equal to within a hundredth of a millimetre.
#define EXPECT_POINT(actual, ex, ey)                                                                               \
    do {                                                                                                           \
        const CDbPoint p_ = (actual);                                                                              \
        EXPECT_NEAR(p_.x, (ex), 0.01);                                                                             \
        EXPECT_NEAR(p_.y, (ey), 0.01);                                                                             \
    } while (0)

} // namespace kov::test
