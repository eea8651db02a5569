#include "render/DashPatterns.h"

#include "model/DrawTransform.h"
#include "model/Geometry.h"
#include "model/KovLine.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "render/LineStyles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace kov::render {

using platform::DevicePoint;
using platform::DeviceRect;

std::vector<int> DashElements(const CPlotInfo& plot, double paperScale, int lineType, bool forArc)
{
    std::vector<int> entries;
    switch (lineType) {
    case kDashedLine: entries = {0, 1}; break;
    case kDottedLine: entries = {2, 3}; break;
    case kDashDotLine: entries = {4, 5, 6, forArc ? 7 : 5}; break;
    case kDashDotDotLine: entries = {8, 9, 10, 11, 12, 13}; break;
    default: return {};
    }
    std::vector<int> elements;
    elements.reserve(entries.size());
    for (int entry : entries) {
        // A negative length from a damaged table would walk backwards: take it as 0.
        elements.push_back(std::max(0, truncToInt(static_cast<double>(plot.m_LinePichTable[entry]) * paperScale)));
    }
    return elements;
}

namespace {

// One segment as the walks see it: from S, the end with the smaller x (smaller y when vertical),
// to F. Vertical and horizontal segments move by whole pixels; sloped ones accumulate the x offset
// as a real number and truncate each point.
struct SegmentWalker {
    enum Mode { Vertical, Horizontal, Sloped };

    DevicePoint s;
    DevicePoint f;
    Mode mode = Sloped;
    double slope = 0.0;
    double length = 0.0;

    SegmentWalker(DevicePoint p, DevicePoint q)
    {
        const bool pFirst = p.x < q.x || (p.x == q.x && p.y <= q.y);
        s = pFirst ? p : q;
        f = pFirst ? q : p;
        const double dx = static_cast<double>(f.x) - s.x;
        const double dy = static_cast<double>(f.y) - s.y;
        length = std::sqrt(dx * dx + dy * dy);
        if (f.x == s.x) mode = Vertical;
        else if (f.y == s.y) mode = Horizontal;
        else slope = dy / dx;
    }

    // The x offset one element of `len` pixels advances a sloped walk by.
    double xStep(double len) const { return std::sqrt(len * len / (slope * slope + 1.0)); }

    DevicePoint at(long long walked, double xOffset) const
    {
        switch (mode) {
        case Vertical: return {s.x, static_cast<int>(s.y + walked)};
        case Horizontal: return {static_cast<int>(s.x + walked), s.y};
        case Sloped: break;
        }
        return {s.x + truncToInt(xOffset), s.y + truncToInt(xOffset * slope)};
    }
};

double distance(DevicePoint a, DevicePoint b)
{
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

bool areaEmpty(const DeviceRect& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

// The stretch of S-F inside the area widened by margin, as distances from S along the segment.
// Beyond it the segment lies wholly outside the widened area. nullopt when it misses.
std::optional<std::pair<double, double>> visibleStretch(const SegmentWalker& w, const DeviceRect& area, int margin)
{
    margin += 2;  // walked points are truncated: they stray up to a pixel from the straight line
    const double dx = static_cast<double>(w.f.x) - w.s.x;
    const double dy = static_cast<double>(w.f.y) - w.s.y;
    double u0 = 0.0;
    double u1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {static_cast<double>(w.s.x) - (area.left - margin),
                         static_cast<double>(area.right + margin) - w.s.x,
                         static_cast<double>(w.s.y) - (area.top - margin),
                         static_cast<double>(area.bottom + margin) - w.s.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return std::nullopt;
            continue;
        }
        const double u = q[i] / p[i];
        if (p[i] < 0.0) u0 = std::max(u0, u);
        else u1 = std::min(u1, u);
    }
    if (u0 > u1) return std::nullopt;
    return std::make_pair(u0 * w.length, u1 * w.length);
}

// Both ends outside the widened area on the same side: nothing of the piece can show.
bool pieceOutside(DevicePoint a, DevicePoint b, const DeviceRect& area, int margin)
{
    return (a.x < area.left - margin && b.x < area.left - margin) ||
           (a.x > area.right + margin && b.x > area.right + margin) ||
           (a.y < area.top - margin && b.y < area.top - margin) ||
           (a.y > area.bottom + margin && b.y > area.bottom + margin);
}

} // namespace

DashWalkResult WalkDashes(DevicePoint p, DevicePoint q, std::span<const int> elements, DashPhase phase,
                          const DeviceRect& visible, int margin)
{
    DashWalkResult result;
    const SegmentWalker w(p, q);
    const long long lt = static_cast<long long>(w.length);
    const int n = static_cast<int>(elements.size());
    const bool clipping = !areaEmpty(visible);

    auto addDash = [&](DevicePoint a, DevicePoint b) {
        if (a == b) return;
        if (clipping && pieceOutside(a, b, visible, margin)) return;
        result.dashes.emplace_back(a, b);
    };

    long long patternSum = 0;
    double patternX = 0.0;
    for (int e : elements) {
        patternSum += e;
        patternX += w.xStep(e);
    }
    if (n == 0 || patternSum == 0) {
        // No break survives at this scale: the segment is one dash.
        addDash(w.s, w.f);
        result.phase = {0, static_cast<int>(lt)};
        return result;
    }

    double v0 = 0.0;
    double v1 = w.length;
    if (clipping) {
        const auto stretch = visibleStretch(w, visible, margin);
        if (stretch) {
            v0 = stretch->first;
            v1 = stretch->second;
        } else {
            v0 = v1 = w.length + 1.0;
        }
    }

    const int firstIndex = phase.index >= 0 && phase.index < n ? phase.index : 0;
    const int carriedUsed = std::max(0, phase.used);
    // The carried phase makes the first period a short one, so lt / T + 1 whole periods may stop
    // short of the far end and leave the rest drawn as one long dash whatever element is due
    // there. One period more always reaches past the end; the walk stops at its cut element.
    const long long periods = lt / patternSum + 2;

    long long walked = 0;
    double xOffset = 0.0;
    DevicePoint cur = w.s;
    bool completed = false;  // an element was completed on this segment
    int cut = -1;

    for (long long period = 0; period < periods && cut < 0; ++period) {
        if (completed && clipping) {
            // Whole periods before or after the visible stretch are stepped over in one move.
            long long skip = 0;
            if (walked < v0) skip = static_cast<long long>((v0 - walked) / static_cast<double>(patternSum));
            else if (walked > v1) skip = periods;
            skip = std::min({skip, (lt - walked) / patternSum, periods - period});
            if (skip > 0) {
                walked += skip * patternSum;
                xOffset += static_cast<double>(skip) * patternX;
                cur = w.at(walked, xOffset);
                period += skip;
                if (period >= periods) break;
            }
        }
        for (int i = completed ? 0 : firstIndex; i < n; ++i) {
            long long len = elements[static_cast<std::size_t>(i)];
            if (!completed) len = std::max<long long>(0, len - carriedUsed);
            walked += len;
            if (walked > lt) {
                cut = i;
                break;
            }
            const DevicePoint prev = cur;
            if (w.mode == SegmentWalker::Sloped) xOffset += w.xStep(static_cast<double>(len));
            cur = w.at(walked, xOffset);
            if (i % 2 == 0) addDash(prev, cur);
            completed = true;
        }
    }

    if (cut < 0 || cut % 2 == 0) addDash(cur, w.f);
    result.phase.index = cut < 0 ? 0 : cut;
    const int rest = std::max(0, truncToInt(distance(cur, w.f)));
    result.phase.used = completed ? rest : carriedUsed + rest;
    return result;
}

std::vector<DeviceSegment> SolidChain(DevicePoint p, DevicePoint q, int step, const DeviceRect& visible, int margin)
{
    std::vector<DeviceSegment> out;
    const SegmentWalker w(p, q);
    step = std::max(1, step);
    const bool clipping = !areaEmpty(visible);
    double v0 = 0.0;
    double v1 = w.length;
    if (clipping) {
        const auto stretch = visibleStretch(w, visible, margin);
        if (!stretch) return out;
        v0 = stretch->first;
        v1 = stretch->second;
    }

    const long long maxSteps = static_cast<long long>(w.length) / step;
    const double stepX = w.xStep(step);
    long long walked = 0;
    double xOffset = 0.0;
    DevicePoint cur = w.s;
    for (long long k = 0; k < maxSteps && distance(cur, w.f) > step; ++k) {
        if (clipping && walked + step < v0) {
            // Stay a few steps short of the far end so that the loop's own test decides the last step.
            const double target = std::min(v0, w.length - 3.0 * step - 2.0);
            const long long jump = std::min(static_cast<long long>((target - walked) / step), maxSteps - k - 1);
            if (jump > 0) {
                walked += jump * step;
                xOffset += static_cast<double>(jump) * stepX;
                cur = w.at(walked, xOffset);
                k += jump;
                if (k >= maxSteps || distance(cur, w.f) <= step) break;
            }
        }
        if (clipping && walked > v1) return out;  // the rest, far end included, lies outside
        const DevicePoint prev = cur;
        walked += step;
        if (w.mode == SegmentWalker::Sloped) xOffset += stepX;
        cur = w.at(walked, xOffset);
        out.emplace_back(prev, cur);
    }
    if (cur != w.f) out.emplace_back(cur, w.f);
    return out;
}

} // namespace kov::render

// -- the container's drawers -------------------------------------------------------------------------

namespace {

using kov::platform::Background;
using kov::platform::Pen;
using kov::platform::PenStyle;
using kov::platform::Surface;

} // namespace

int CKovUnit::DrawStyledSegment(Surface& dc, const DeviceTransform& transform, int lineType,
                                const DevicePoint& start, const DevicePoint& end, const CPlotInfo& plot,
                                int& phaseIndex, int usedLength, const Pen& pen)
{
    using namespace kov::render;
    const kov::platform::DeviceProperties device = dc.device();
    // The gaps of the dotted auxiliary pen show what lies below, whatever was drawn before.
    const Background bk = Background::transparent();
    const kov::platform::DevicePoint p = start;
    const kov::platform::DevicePoint q = end;
    const int margin = std::max(1, pen.width) + 2;

    const std::vector<int> elements = DashElements(plot, transform.paperScale, lineType, false);
    if (elements.empty()) {
        if (pen.style == PenStyle::Null) return 0;
        const long long span = std::llabs(static_cast<long long>(q.x) - p.x) + std::llabs(static_cast<long long>(q.y) - p.y);
        if (device.isPrinting || span < kLongLinePixels) {
            dc.line(p, q, pen, bk);
        } else {
            const int step = std::max(1, truncToInt(3.0 * transform.paperScale));
            for (const DeviceSegment& s : SolidChain(p, q, step, device.area, margin)) dc.line(s.first, s.second, pen, bk);
        }
        return 0;
    }

    const DashWalkResult walk = WalkDashes(p, q, elements, {phaseIndex, usedLength}, device.area, margin);
    if (pen.style != PenStyle::Null) {
        for (const DeviceSegment& s : walk.dashes) dc.line(s.first, s.second, pen, bk);
    }
    phaseIndex = walk.phase.index;
    return walk.phase.used;
}

void CKovUnit::DrawStyledLine(Surface& dc, const DeviceTransform& transform, int lineType, const DevicePoint& start,
                              const DevicePoint& end, const CPlotInfo& plot, const Pen& pen)
{
    int phaseIndex = 0;
    DrawStyledSegment(dc, transform, lineType, start, end, plot, phaseIndex, 0, pen);
}
