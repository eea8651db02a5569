// Previews of the editing tools: where a cut, a partial delete, a parallel, a trim, a division, an
// envelope, a corner or a range edit would act.

#include "render/ToolPreviews.h"

#include "model/Geometry.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "render/RubberBands.h"

#include <cmath>

namespace pf = kov::platform;
using namespace kov::render;
using PreviewInput = CKovUnit::PreviewInput;

namespace {

const pf::Pen kRedPen{pf::PenStyle::Solid, 1, kPreviewRed};
const pf::Pen kOrangePen{pf::PenStyle::Solid, 1, kPreviewOrange};

DevicePoint dev(const CDbPoint& p, const DeviceTransform& t, const CPlotInfo& plot)
{
    return ToDevicePoint(p, t, PreviewGroup(plot));
}

void ring(pf::Surface& dc, DevicePoint c, const pf::Pen& pen)
{
    const int h = g_nPickTolerance / 2;
    dc.arc({c.x - h, c.y - h, c.x + h, c.y + h}, {c.x - h, c.y - h}, {c.x - h, c.y - h}, pen);
}

void redSquare(pf::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot, const CDbPoint& p)
{
    CKovUnit::DrawGripSquare(dc, dev(p, t, plot), kPreviewRed);
}

const CKovLine* firstSelected(const CKovUnit& unit, const SelectionRecord* selection)
{
    if (selection == nullptr || selection->m_Lines.empty()) return nullptr;
    return unit.FindLine(selection->m_Lines.front());
}

// The focus rectangle between two device points; nothing when they share a row or a column.
void rangeRect(pf::Surface& dc, DevicePoint a, DevicePoint b)
{
    if (a.x == b.x || a.y == b.y) return;
    DrawFocusRectBetween(dc, a.x, a.y, b.x, b.y);
}

} // namespace

void CKovUnit::DrawCutLinePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    for (const CDbPoint& p : in.points) ring(dc, dev(p, t, *in.plot), kOrangePen);
}

void CKovUnit::DrawPartialDeletePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (in.points.size() != 1 || in.selection == nullptr || in.selection->m_Lines.size() != 1) return;
    const CKovLine* f = firstSelected(*this, in.selection);
    if (f == nullptr || f->MLinePnt.size() < 2) return;
    const CDbPoint& a = f->MLinePnt[0];
    const CDbPoint& b = f->MLinePnt[1];
    const CDbPoint& p = in.pointer;
    CDbPoint foot;
    if (std::fabs(a.x - b.x) < kKovAxisTolerance) {
        foot = {a.x, p.y};
    } else if (std::fabs(a.y - b.y) < kKovAxisTolerance) {
        foot = {p.x, a.y};
    } else {
        double m = 0, k = 0;
        LineSlopeIntercept(m, k, a.x, a.y, b.x, b.y);
        const double x = (p.y + p.x / m - k) / (m + 1 / m);
        foot = {x, m * x + k};
    }
    const DevicePoint first = dev(in.points[0], t, *in.plot);
    ring(dc, first, kOrangePen);
    dc.line(first, dev(foot, t, *in.plot), kOrangePen);
}

void CKovUnit::DrawParallelLinePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CKovLine* f = firstSelected(*this, in.selection);
    if (f == nullptr || f->MLineType != CKovLine::LINE || f->MLinePnt.size() < 2) return;
    const CDbPoint& a = f->MLinePnt[0];
    const CDbPoint& b = f->MLinePnt[1];
    const CDbPoint& p = in.pointer;
    const double d = in.parallelDistance;
    CDbPoint s, e;
    if (std::fabs(a.x - b.x) < kKovAxisTolerance) {
        const double o = p.x > a.x ? d : -d;
        s = {a.x + o, a.y};
        e = {b.x + o, b.y};
    } else if (std::fabs(a.y - b.y) < kKovAxisTolerance) {
        const double o = p.y > a.y ? d : -d;
        s = {a.x, a.y + o};
        e = {b.x, b.y + o};
    } else {
        double m = 0, k0 = 0;
        LineSlopeIntercept(m, k0, a.x, a.y, b.x, b.y);
        const double k = -1 / m;
        double ex = std::sqrt(d * d / (k * k + 1));
        const double pointerIntercept = p.y - m * p.x;
        if ((k0 > pointerIntercept && k > 0) || (k0 < pointerIntercept && k < 0)) ex = -ex;
        s = {a.x + ex, a.y + k * ex};
        e = {b.x + ex, b.y + k * ex};
    }
    dc.line(dev(s, t, *in.plot), dev(e, t, *in.plot), ConstructionPen(*in.plot));
}

void CKovUnit::DrawTrimExtendPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const SelectionRecord* sel = in.selection;
    if (sel == nullptr || sel->m_nCount != 2 || sel->m_Lines.size() != 2 || in.points.size() != 2) return;
    const CKovLine* f1 = FindLine(sel->m_Lines[0]);
    const CKovLine* f2 = FindLine(sel->m_Lines[1]);
    if (f1 == nullptr || f2 == nullptr) return;
    auto isLine = [](const CKovLine* f) { return f->MLineType == CKovLine::LINE && f->MLinePnt.size() >= 2; };
    auto isRound = [](const CKovLine* f) {
        return (f->MLineType == CKovLine::CIRCLE || f->MLineType == CKovLine::ARC) && !f->MLinePnt.empty()
               && !f->MLineParam.empty();
    };
    auto isArc = [&](const CKovLine* f) { return f->MLineType == CKovLine::ARC && isRound(f); };
    CDbPoint cut[2];
    int count = 0;
    if (isLine(f1) && isArc(f2))
        IntersectLineCircle(cut, count, f1->MLinePnt[0], f1->MLinePnt[1], f2->MLinePnt[0], f2->MLineParam[0]);
    else if (isRound(f1) && isLine(f2))
        IntersectLineCircle(cut, count, f2->MLinePnt[0], f2->MLinePnt[1], f1->MLinePnt[0], f1->MLineParam[0]);
    else if (isRound(f1) && isArc(f2))
        IntersectCircles(cut, count, f1->MLinePnt[0], f1->MLineParam[0], f2->MLinePnt[0], f2->MLineParam[0]);
    if (count != 2) return;
    redSquare(dc, t, *in.plot, cut[0]);
    redSquare(dc, t, *in.plot, cut[1]);
}

void CKovUnit::DrawEqualDivisionPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (in.points.size() < 3) return;
    const int n = in.divisions;
    if (n < 2) return;
    const CDbPoint& p0 = in.points[0];
    const CDbPoint& p1 = in.points[1];
    const CDbPoint& p2 = in.points[2];
    const CDbPoint& q = in.pointer;
    const double len = PointDistance(p0.x, p0.y, p1.x, p1.y);
    const pf::Pen pen = ConstructionPen(*in.plot);
    for (int i = 1; i < n; ++i) {
        CDbPoint a, b;
        if (std::fabs(p0.x - p1.x) < kKovAxisTolerance) {
            const double y = std::min(p0.y, p1.y) + len * i / n;
            a = {p2.x, y};
            b = {q.x, y};
        } else if (std::fabs(p0.y - p1.y) < kKovAxisTolerance) {
            const double x = std::min(p0.x, p1.x) + std::fabs(p0.x - p1.x) * i / n;
            a = {x, p2.y};
            b = {x, q.y};
        } else {
            double m = 0, k = 0;
            LineSlopeIntercept(m, k, p0.x, p0.y, p1.x, p1.y);
            double y = std::min(p0.y, p1.y) + std::fabs(p0.y - p1.y) * i / n;
            double x = (y - k) / m;
            x = std::trunc(x);
            y = std::trunc(y);
            // The stroke lies on the perpendicular through (x, y); it ends on the parallels through
            // the third point and through the pointer.
            const CDbPoint d{p1.x - p0.x, p1.y - p0.y};
            const CDbPoint foot{x, y};
            const CDbPoint along{x - d.y, y + d.x};
            if (IntersectLines(a, foot, along, p2, {p2.x + d.x, p2.y + d.y}) != 1) continue;
            if (IntersectLines(b, foot, along, q, {q.x + d.x, q.y + d.y}) != 1) continue;
        }
        dc.line(dev(a, t, *in.plot), dev(b, t, *in.plot), pen);
    }
}

void CKovUnit::DrawEnvelopePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const DevicePoint p = dev(in.points[0], t, *in.plot);
    const DevicePoint q = dev(in.pointer, t, *in.plot);
    if (p.x == q.x || p.y == q.y) return;
    const DevicePoint pts[5] = {p, {p.x, q.y}, q, {q.x, p.y}, p};
    dc.polyline(pts, kRedPen);
}

void CKovUnit::DrawCornerPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const SelectionRecord* sel = in.selection;
    if (sel == nullptr || sel->m_Lines.size() < 2) return;
    const CKovLine* first = FindLine(sel->m_Lines[0]);
    const CKovLine* second = FindLine(sel->m_Lines[1]);
    if (first == nullptr || second == nullptr) return;
    const CKovLine* arc = nullptr;
    const CKovLine* line = nullptr;
    if (first->MLineType == CKovLine::ARC) {
        arc = first;
        line = second;
    } else if (first->MLineType == CKovLine::LINE && second->MLineType == CKovLine::ARC) {
        arc = second;
        line = first;
    } else {
        return;
    }
    if (arc->MLinePnt.size() < 3 || arc->MLineParam.empty() || line->MLinePnt.size() < 2) return;
    const int keptEnd = in.measured == 1 ? 1 : in.measured == 2 ? 2 : 0;
    if (keptEnd == 0) return;
    if (in.points.size() >= 2) {
        CDbPoint cut[2];
        int count = 0;
        IntersectLineCircle(cut, count, line->MLinePnt[0], line->MLinePnt[1], arc->MLinePnt[0], arc->MLineParam[0]);
        if (count == 0) return;
    }
    redSquare(dc, t, *in.plot, arc->MLinePnt[std::size_t(keptEnd)]);
    if (in.points.size() >= 4) {
        const CDbPoint& c3 = in.points[2];
        const CDbPoint& c4 = in.points[3];
        const CDbPoint& p = in.pointer;
        const bool fourth = PointDistance(c4.x, c4.y, p.x, p.y) <= PointDistance(c3.x, c3.y, p.x, p.y);
        redSquare(dc, t, *in.plot, fourth ? c4 : c3);
    }
}

void CKovUnit::DrawPaperFramePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const DevicePoint c = dev(in.pointer, t, *in.plot);
    const pf::DeviceRect& a = in.drawingArea;
    const int w = (a.right - a.left) / 2;
    const int h = (a.bottom - a.top) / 2;
    const DevicePoint pts[5] = {{c.x - w, c.y - h}, {c.x - w, c.y + h}, {c.x + w, c.y + h}, {c.x + w, c.y - h},
                                {c.x - w, c.y - h}};
    dc.polyline(pts, kRedPen);
}

void CKovUnit::DrawRangeMovePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    const DevicePoint p0 = dev(in.points[0], t, plot);
    const DevicePoint q = dev(in.points.size() >= 2 ? in.points[1] : in.pointer, t, plot);
    rangeRect(dc, p0, q);
    if (in.points.size() != 3 || p0.x == q.x || p0.y == q.y) return;
    const DevicePoint base = dev(in.points[2], t, plot);
    const DevicePoint to = dev(in.pointer, t, plot);
    const int dx = to.x - base.x, dy = to.y - base.y;
    rangeRect(dc, {p0.x + dx, p0.y + dy}, {q.x + dx, q.y + dy});
}

void CKovUnit::DrawRangeTransformPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    rangeRect(dc, dev(in.points[0], t, *in.plot), dev(in.pointer, t, *in.plot));
}

void CKovUnit::DrawRangeDeletePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    rangeRect(dc, dev(in.points[0], t, *in.plot), dev(in.pointer, t, *in.plot));
}

void CKovUnit::DrawDividePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CKovLine* f = firstSelected(*this, in.selection);
    if (f == nullptr || in.points.empty()) return;
    const double s = in.measured;
    // A division length of zero or below (the setting is free text) would divide by zero or never
    // end: nothing to show.
    if (!(s > 0) || !std::isfinite(s)) return;
    const CDbPoint& p = in.pointer;
    CDbPointArray marks;
    auto pieces = [&](double whole) -> long long {
        const double n = std::trunc(whole / s);
        // So many marks could not be told apart anyway; cap the walk.
        return n > 100000 ? -1 : static_cast<long long>(n);
    };
    if (f->MLineType == CKovLine::LINE && f->MLinePnt.size() >= 2) {
        const CDbPoint& a = f->MLinePnt[0];
        const CDbPoint& b = f->MLinePnt[1];
        const double len = PointDistance(a.x, a.y, b.x, b.y);
        const long long n = pieces(len);
        if (n < 0) return;
        const bool fromA = PointDistance(p.x, p.y, a.x, a.y) < PointDistance(p.x, p.y, b.x, b.y);
        const CDbPoint& start = fromA ? a : b;
        const CDbPoint& other = fromA ? b : a;
        const long long last = double(n) * s == len ? n - 1 : n;
        for (long long i = 0; i <= last; ++i) marks.push_back(PointTowards(start, other, double(i) * s));
    } else if (f->MLineType == CKovLine::CIRCLE && f->MLineParam.size() == 1 && !f->MLinePnt.empty()) {
        const CDbPoint& c = f->MLinePnt[0];
        const double r = f->MLineParam[0];
        const double around = 2 * kKovPi * r;
        const long long n = pieces(around);
        if (n < 0 || !(around > 0)) return;
        const double step = s / around * 360;
        for (long long k = 1; k <= n; ++k) marks.push_back(PointAtAngle(c.x, c.y, double(k) * step, r));
        if (double(n) * s != around) marks.push_back(PointAtAngle(c.x, c.y, 0, r));
    } else if (f->MLineType == CKovLine::ARC && f->MLineParam.size() == 1 && f->MLinePnt.size() >= 3) {
        const CDbPoint& c = f->MLinePnt[0];
        const double r = f->MLineParam[0];
        const double a1 = VectorAngle(c.x, c.y, f->MLinePnt[1].x, f->MLinePnt[1].y);
        const double a2 = VectorAngle(c.x, c.y, f->MLinePnt[2].x, f->MLinePnt[2].y);
        double sweep = a2 - a1;
        if (sweep < 0) sweep += 360;
        const double len = 2 * kKovPi * r * sweep / 360;
        const long long n = pieces(len);
        if (n < 0 || !(len > 0)) return;
        const double step = s / len * sweep;
        const bool exact = double(n) * s == len;
        const bool fromEnd = PointDistance(p.x, p.y, f->MLinePnt[2].x, f->MLinePnt[2].y)
                             < PointDistance(p.x, p.y, f->MLinePnt[1].x, f->MLinePnt[1].y);
        if (fromEnd) {
            const long long last = exact ? n - 1 : n;
            for (long long i = 0; i <= last; ++i) marks.push_back(PointAtAngle(c.x, c.y, a2 - double(i) * step, r));
        } else {
            for (long long k = 1; k <= n; ++k) {
                double ang = a1 + double(k) * step;
                if (ang >= 360) ang -= 360;
                marks.push_back(PointAtAngle(c.x, c.y, ang, r));
            }
            marks.push_back(f->MLinePnt[2]);
            if (exact) marks.pop_back();
        }
    }
    for (const CDbPoint& m : marks) redSquare(dc, t, *in.plot, m);
}
