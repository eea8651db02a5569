// Cutting lines: a stretch between two clicks removed, figures split at a click, a figure erased,
// and lines that continue each other joined into one continuous line or polygon.

#include "edit/LineEditRules.h"
#include "edit/PickRules.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>
#include <utility>

using namespace kov::edit;

namespace {

constexpr double kSameEnd = 0.0001;     // a foot this close to an end is that end
constexpr double kNoLength = 0.001;     // a piece this short is no line
constexpr double kJoinReach = 0.1;      // line ends this close continue each other
constexpr int kPolylineReach = 5;       // pixels: how near a continuous line's segment a cut must be

bool near(const CDbPoint& a, const CDbPoint& b, double tolerance)
{
    return std::fabs(a.x - b.x) < tolerance && std::fabs(a.y - b.y) < tolerance;
}

bool isPlainLine(const CKovLine& f) { return f.MLineType == CKovLine::LINE && f.MLinePnt.size() >= 2; }

// A copy of the figure under a new identifier, drawn just before it.
CKovLine& insertCopyBefore(CKovUnit& unit, int id, CDbPointArray points, int kind)
{
    const int index = unit.FindLineIndex(id);
    auto copy = std::make_unique<CKovLine>(*std::as_const(unit).FindLine(id));
    copy->MLineID = unit.NextLineId();
    copy->MLineType = kind;
    copy->MLinePnt = std::move(points);
    unit.m_Lines.InsertAt(index, std::move(copy));
    return *unit.m_Lines[index];
}

// The point of the figure's circle on the ray from its centre through the click, on the click's side.
CDbPoint rimPoint(const CKovLine& f, const CDbPoint& click)
{
    CDbPoint x[2];
    int n = 0;
    IntersectLineCircle(x, n, f.MLinePnt[0], click, f.MLinePnt[0], f.MLineParam[0]);
    if (n == 2)
        return PointDistance(x[1].x, x[1].y, click.x, click.y) < PointDistance(x[0].x, x[0].y, click.x, click.y)
                   ? x[1]
                   : x[0];
    return n == 1 ? x[0] : click;
}

// Whether the figure lies under the click by the pick rules: a segment of a line, or the rim of a
// circle or arc, within the pick radius.
bool underClick(const CKovLine& f, const DevicePoint& click, const DeviceTransform& t)
{
    const int n = static_cast<int>(f.MLinePnt.size());
    auto dev = [&](int k) { return ToDevicePoint(f.MLinePnt[static_cast<std::size_t>(k)], t, f.MLineLayer1); };
    if (f.MLineType == CKovLine::LINE || f.MLineType == CKovLine::CONTINUOUS) {
        int best = PickRadius(), index = -1;
        for (int k = 0; k + 1 < n; ++k)
            CKovUnit::UpdateNearestSegment(index, k, dev(k), dev(k + 1), best, click);
        return index >= 0;
    }
    if ((f.MLineType != CKovLine::CIRCLE && f.MLineType != CKovLine::ARC) || !IsRound(f) || n < 1)
        return false;
    if (f.MLineType == CKovLine::ARC && n < 3)
        return false;
    const DevicePoint c = dev(0);
    const DevicePoint r = ToDevicePoint({f.MLinePnt[0].x + f.MLineParam[0], f.MLinePnt[0].y}, t, f.MLineLayer1);
    const int dist = truncToInt(PointDistanceInt(c.x, c.y, click.x, click.y));
    if (!WithinPickRadius(r.x - c.x - dist))
        return false;
    if (f.MLineType == CKovLine::CIRCLE)
        return true;
    const DevicePoint s = dev(1), e = dev(2);
    const double a = VectorAngle(c.x, c.y, click.x, click.y);
    const double a1 = VectorAngle(c.x, c.y, s.x, s.y), a2 = VectorAngle(c.x, c.y, e.x, e.y);
    return a2 > a1 ? (a1 <= a && a <= a2) : (a >= a1 || a <= a2);
}

} // namespace

int CKovUnit::CutLinePart(SelectionRecord& selection, const CPlotInfo& plot, const DeviceTransform& transform,
                          int devX, int devY, const CDbPointArray& toolPoints, CDbPoint& click)
{
    const CKovUnit& self = *this;
    if (toolPoints.empty()) {
        SelectionRecord picked;
        PickLine(picked, plot, PickLayers::Current, devX, devY, transform, 0, 0, 0);
        const CKovLine* f = OnlyPickedFigure(self, picked);
        if (!f || !isPlainLine(*f) || f->MLineGrpID != 0 || !OnCurrentLayer(plot, *f))
            return 0;
        const CDbPoint& p0 = f->MLinePnt[0];
        const CDbPoint& p1 = f->MLinePnt[1];
        const CDbPoint foot = FootOfPerpendicular(p0, p1, click);
        if (!near(foot, p0, kSameEnd) && !near(foot, p1, kSameEnd) &&
            !PointInSegmentBox(foot.x, foot.y, p0.x, p0.y, p1.x, p1.y))
            return 0;
        click = foot;
        selection.Clear();
        selection.AddLineId(f->MLineID);
        return 1;
    }

    if (selection.m_Lines.size() != 1)
        return 0;
    const CKovLine* f = self.FindLine(selection.m_Lines[0]);
    if (!f || !isPlainLine(*f))
        return 0;
    const int id = f->MLineID;
    const CDbPoint p0 = f->MLinePnt[0], p1 = f->MLinePnt[1];
    const CDbPoint q = toolPoints[0];
    CDbPointArray kept, copied;
    if (near(click, q, kSameEnd)) {
        kept = {p0, click};
        copied = {click, p1};
    } else {
        const CDbPoint c = FootOfPerpendicular(p0, p1, click);
        const bool plumb = std::fabs(p0.x - p1.x) < kKovAxisTolerance;
        auto at = [plumb](const CDbPoint& p) { return plumb ? p.y : p.x; };
        const double sign = at(p1) > at(p0) ? 1 : at(p1) < at(p0) ? -1 : 0;
        // Positions along the line from P0 toward P1.
        auto t = [&](const CDbPoint& p) { return (at(p) - at(p0)) * sign; };
        const double tc = t(c), tq = t(q), t1 = t(p1);
        if (tc == 0 || tc == tq || tc == t1)
            return 0;
        if (tc < 0) {
            kept = {q, p1};
        } else if (tc < tq) {
            kept = {p0, c};
            copied = {q, p1};
        } else if (tc < t1) {
            kept = {p0, q};
            copied = {c, p1};
        } else {
            kept = {p0, q};
        }
    }
    FindLine(id)->MLinePnt = kept;
    if (!copied.empty())
        selection.AddLineId(insertCopyBefore(*this, id, copied, CKovLine::LINE).MLineID);
    // Pieces of no length go.
    for (std::size_t k = 0; k < selection.m_Lines.size();) {
        const CKovLine* piece = self.FindLine(selection.m_Lines[k]);
        if (piece && piece->MLinePnt.size() >= 2 && near(piece->MLinePnt[0], piece->MLinePnt[1], kNoLength)) {
            DeleteLine(selection.m_Lines[k]);
            selection.m_Lines.erase(selection.m_Lines.begin() + static_cast<std::ptrdiff_t>(k));
            --selection.m_nCount;
        } else {
            ++k;
        }
    }
    return 1;
}

int CKovUnit::SplitLineAtPoint(const CPlotInfo& plot, const DeviceTransform& transform, int devX, int devY,
                               CDbPoint& click)
{
    const CKovUnit& self = *this;
    const DevicePoint device{devX, devY};
    const CDbPoint at = click;
    // Every figure under the click is cut, crossing ones included.
    std::vector<int> candidates;
    for (const auto& f : m_Lines)
        if (f->MLineGrpID == 0 && OnCurrentLayer(plot, *f) && underClick(*f, device, transform))
            candidates.push_back(f->MLineID);

    bool cut = false;
    bool footTaken = false;
    for (const int id : candidates) {
        const CKovLine* f = self.FindLine(id);
        if (!f)
            continue;
        if (f->MLineType == CKovLine::LINE) {
            const CDbPoint p0 = f->MLinePnt[0], p1 = f->MLinePnt[1];
            const CDbPoint foot = FootOfPerpendicular(p0, p1, at);
            if (!PointInSegmentBox(foot.x, foot.y, p0.x, p0.y, p1.x, p1.y))
                continue;
            FindLine(id)->MLinePnt = {p0, foot};
            insertCopyBefore(*this, id, {foot, p1}, CKovLine::LINE);
            if (!footTaken)
                click = foot;
            footTaken = true;
            cut = true;
        } else if (f->MLineType == CKovLine::CONTINUOUS) {
            const CDbPointArray points = f->MLinePnt;
            const int n = static_cast<int>(points.size());
            auto dev = [&](int k) { return ToDevicePoint(points[static_cast<std::size_t>(k)], transform, f->MLineLayer1); };
            CDbPointArray first, second;
            for (int i = 1; i + 1 < n && first.empty(); ++i) {
                const DevicePoint v = dev(i);
                if (PointsWithinPickTolerance(v.x, v.y, devX, devY)) {
                    first.assign(points.begin(), points.begin() + i + 1);
                    second.assign(points.begin() + i, points.end());
                }
            }
            for (int i = 0; i + 1 < n && first.empty(); ++i) {
                int best = kPolylineReach, index = -1;
                UpdateNearestSegment(index, i, dev(i), dev(i + 1), best, device);
                if (index < 0)
                    continue;
                const CDbPoint& a = points[static_cast<std::size_t>(i)];
                const CDbPoint& b = points[static_cast<std::size_t>(i + 1)];
                const CDbPoint foot = FootOfPerpendicular(a, b, at);
                // A foot off its segment leaves this figure whole; the others are still cut.
                if (!PointInSegmentBox(foot.x, foot.y, a.x, a.y, b.x, b.y))
                    break;
                first.assign(points.begin(), points.begin() + i + 1);
                first.push_back(foot);
                second.push_back(foot);
                second.insert(second.end(), points.begin() + i + 1, points.end());
            }
            if (first.empty())
                continue;
            auto kindOf = [](const CDbPointArray& p) { return p.size() == 2 ? CKovLine::LINE : CKovLine::CONTINUOUS; };
            CKovLine& kept = *FindLine(id);
            kept.MLinePnt = first;
            kept.MLineType = kindOf(first);
            insertCopyBefore(*this, id, second, kindOf(second));
            cut = true;
        } else if (f->MLineType == CKovLine::CIRCLE && IsRound(*f)) {
            CKovLine& circle = *FindLine(id);
            const CDbPoint x = rimPoint(circle, at);
            // A full circle open at the cut: an arc from there round to there.
            circle.MLineType = CKovLine::ARC;
            circle.MLineTanten = CKovLine::SECTOR_ARC;
            circle.MLinePnt = {circle.MLinePnt[0], x, x};
            cut = true;
        } else if (f->MLineType == CKovLine::ARC && IsRound(*f) && f->MLinePnt.size() >= 3) {
            const CDbPoint x = rimPoint(*f, at);
            if (x == f->MLinePnt[1] || x == f->MLinePnt[2] || !PointOnArc(*f, x))
                continue;
            const CDbPoint c = f->MLinePnt[0], end = f->MLinePnt[2];
            FindLine(id)->MLinePnt[2] = x;
            insertCopyBefore(*this, id, {c, x, end}, CKovLine::ARC);
            cut = true;
        }
    }
    return cut ? 1 : 0;
}

void CKovUnit::EraseLineAtPoint(const CPlotInfo& plot, const DeviceTransform& transform, int devX, int devY,
                                const CDbPoint& click)
{
    SelectionRecord picked;
    PickFigure(picked, plot, PickLayers::Current, click.x, click.y, devX, devY, transform, 0, 0, 0);
    DeselectOffLayer(picked, plot);
    if (picked.m_nCount != 1 || picked.m_Lines.empty())
        return;
    const CKovLine* f = std::as_const(*this).FindLine(picked.m_Lines.front());
    if (f && f->MLineGrpID == 0)
        DeleteLine(f->MLineID);
}

int CKovUnit::JoinLines(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& click, int devX, int devY,
                        const DeviceTransform& transform)
{
    const CKovUnit& self = *this;
    (void)click;
    selection.Clear();
    SelectionRecord picked;
    PickLine(picked, plot, PickLayers::Every, devX, devY, transform, 0, 0, 0);
    const CKovLine* start = OnlyPickedFigure(self, picked);
    if (!start || !isPlainLine(*start) || start->MLineGrpID != 0 || !OnCurrentLayer(plot, *start))
        return 0;

    std::vector<int> used{start->MLineID};
    CDbPointArray chain{start->MLinePnt[1], start->MLinePnt[0]};
    auto isUsed = [&used](int id) { return std::find(used.begin(), used.end(), id) != used.end(); };
    // The other end of the one unused line that continues `end`; false with none or a branch.
    auto continuation = [&](const CDbPoint& end, CDbPoint& next, int& nextId) {
        int found = 0;
        for (const auto& f : m_Lines) {
            if (!isPlainLine(*f) || f->MLineGrpID != 0 || !OnCurrentLayer(plot, *f) || isUsed(f->MLineID))
                continue;
            const CDbPoint& a = f->MLinePnt[0];
            const CDbPoint& b = f->MLinePnt[1];
            const bool atA = near(a, end, kJoinReach + 1e-12), atB = near(b, end, kJoinReach + 1e-12);
            if (!atA && !atB)
                continue;
            if (++found > 1)
                return false;
            // Of a line short enough to touch with both ends, the end farther away continues.
            const bool fromA = atA && (!atB || PointDistance(a.x, a.y, end.x, end.y) <= PointDistance(b.x, b.y, end.x, end.y));
            next = fromA ? b : a;
            nextId = f->MLineID;
        }
        return found == 1;
    };

    bool closed = false;
    CDbPoint next;
    int nextId = 0;
    while (!closed && continuation(chain.back(), next, nextId)) {
        chain.push_back(next);
        used.push_back(nextId);
        closed = chain.back() == chain.front();
    }
    while (!closed && continuation(chain.front(), next, nextId)) {
        chain.insert(chain.begin(), next);
        used.push_back(nextId);
    }
    if (used.size() == 1)
        return -1;

    auto joined = std::make_unique<CKovLine>();
    joined->MLineID = NextLineId();
    joined->MLineType = closed ? CKovLine::POLYGON : CKovLine::CONTINUOUS;
    joined->MLinePnt = std::move(chain);
    joined->MLineColor = start->MLineColor;
    joined->MLineWide = start->MLineWide;
    joined->MLineLineT = start->MLineLineT;
    joined->MLineTanten = start->MLineTanten;
    joined->MLineYaWide = start->MLineYaWide;
    joined->MLineLayer1 = start->MLineLayer1;
    joined->MLineLayer2 = start->MLineLayer2;
    selection.AddLineId(joined->MLineID);
    m_Lines.Add(std::move(joined));
    m_Lines.DeleteIf([&](const CKovLine& f) { return isUsed(f.MLineID); });
    return 1;
}
