// Broken outlines of circles, ellipses and arcs: the pattern is laid as angles along the outline
// and every dash is drawn as a piece of the figure's arc.

#include "model/DrawTransform.h"
#include "model/Geometry.h"
#include "model/KovLine.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "render/DashPatterns.h"
#include "render/LineStyles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using kov::platform::Background;
using SurfaceRect = kov::platform::DeviceRect;
using kov::platform::Pen;
using kov::platform::PenStyle;
using kov::platform::Surface;
using SurfacePoint = kov::platform::DevicePoint;

constexpr double kDegree = kKovPi / 180.0;

// The distance from the centre of an ellipse with half axes rx and ry to its outline in the
// direction (c, s) = (cos, sin) of a polar angle.
double polarRadius(double rx, double ry, double c, double s)
{
    const double d = std::sqrt(ry * c * ry * c + rx * s * rx * s);
    return d == 0.0 ? 0.0 : rx * ry / d;
}

// The polar angles (degrees, counter-clockwise on the screen) at which the outline of the box's
// ellipse lies inside the device area widened by a margin. Dashes elsewhere paint nothing, so
// whole periods there are stepped over: a huge circle at a high zoom stays a short walk.
class VisibleAngles {
public:
    VisibleAngles(const SurfaceRect& box, const SurfaceRect& area, int margin)
    {
        m_cx = (static_cast<double>(box.left) + box.right) / 2.0;
        m_cy = (static_cast<double>(box.top) + box.bottom) / 2.0;
        m_rx = std::abs(static_cast<double>(box.right) - box.left) / 2.0;
        m_ry = std::abs(static_cast<double>(box.bottom) - box.top) / 2.0;
        if (area.right <= area.left || area.bottom <= area.top || m_rx == 0.0 || m_ry == 0.0) return;
        m_all = false;
        m_x0 = area.left - margin;
        m_x1 = area.right + margin;
        m_y0 = area.top - margin;
        m_y1 = area.bottom + margin;

        std::vector<double> cuts{0.0, 360.0};
        auto addParametric = [&](double t) {
            double deg = std::atan2(m_ry * std::sin(t), m_rx * std::cos(t)) / kDegree;
            if (deg < 0.0) deg += 360.0;
            cuts.push_back(deg);
        };
        for (double x : {m_x0, m_x1}) {
            const double c = (x - m_cx) / m_rx;
            if (std::abs(c) > 1.0) continue;
            const double t = std::acos(c);
            addParametric(t);
            addParametric(-t);
        }
        for (double y : {m_y0, m_y1}) {
            const double s = (m_cy - y) / m_ry;
            if (std::abs(s) > 1.0) continue;
            const double t = std::asin(s);
            addParametric(t);
            addParametric(kKovPi - t);
        }
        std::sort(cuts.begin(), cuts.end());
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
            const double lo = cuts[i];
            const double hi = cuts[i + 1];
            if (hi <= lo || !inside((lo + hi) / 2.0)) continue;
            if (!m_spans.empty() && m_spans.back().second >= lo) m_spans.back().second = hi;
            else m_spans.emplace_back(lo, hi);
        }
    }

    // The first angle not below `a` (any turn) where the outline may show; +inf when it never does.
    double nextVisible(double a) const
    {
        if (m_all) return a;
        if (m_spans.empty()) return std::numeric_limits<double>::infinity();
        const double base = std::floor(a / 360.0) * 360.0;
        const double r = a - base;
        for (const auto& [lo, hi] : m_spans) {
            if (r <= hi) return base + std::max(r, lo);
        }
        return base + 360.0 + m_spans.front().first;
    }

private:
    bool inside(double deg) const
    {
        const double c = std::cos(deg * kDegree);
        const double s = std::sin(deg * kDegree);
        const double rho = polarRadius(m_rx, m_ry, c, s);
        const double x = m_cx + rho * c;
        const double y = m_cy - rho * s;
        return x >= m_x0 && x <= m_x1 && y >= m_y0 && y <= m_y1;
    }

    bool m_all = true;
    double m_cx = 0, m_cy = 0, m_rx = 0, m_ry = 0;
    double m_x0 = 0, m_x1 = 0, m_y0 = 0, m_y1 = 0;
    std::vector<std::pair<double, double>> m_spans;
};

// Draws the dashes of one outline: each from one polar angle to another, counter-clockwise.
class ArcDasher {
public:
    ArcDasher(Surface& dc, const DeviceTransform& transform, const SurfaceRect& box, const CDbPoint& centre, double rx,
              double ry, int layerGroup, const Pen& pen)
        : m_dc(dc), m_transform(transform), m_box(box), m_centre(centre), m_rx(rx), m_ry(ry),
          m_layerGroup(layerGroup), m_pen(pen)
    {
    }

    SurfacePoint pointAt(double deg) const
    {
        const double c = std::cos(deg * kDegree);
        const double s = std::sin(deg * kDegree);
        const double rho = m_rx == m_ry ? m_rx : polarRadius(m_rx, m_ry, c, s);
        DevicePoint p;
        ToDevicePoint(p, m_centre.x + rho * c, m_centre.y - rho * s, m_transform, m_layerGroup);
        return p;
    }

    void dash(double fromDeg, double toDeg)
    {
        const SurfacePoint p = pointAt(fromDeg);
        const SurfacePoint q = pointAt(toDeg);
        if (p == q) return;  // less than a pixel: nothing to show
        m_dc.arc(m_box, p, q, m_pen, Background::transparent());
    }

    void whole(double startDeg, double endDeg, bool full)
    {
        if (full) {
            const SurfacePoint p = pointAt(startDeg);
            m_dc.arc(m_box, p, p, m_pen, Background::transparent());
        } else {
            dash(startDeg, endDeg);
        }
    }

private:
    Surface& m_dc;
    const DeviceTransform& m_transform;
    SurfaceRect m_box;
    CDbPoint m_centre;
    double m_rx;
    double m_ry;
    int m_layerGroup;
    Pen m_pen;
};

} // namespace

void CKovUnit::DrawDashedArc(Surface& dc, const DeviceTransform& transform, int lineType, const SurfaceRect& box,
                             const CDbPoint& centre, const CDbPoint& start, const CDbPoint& end, const CKovLine& figure,
                             const CPlotInfo& plot, int penWidth, std::uint32_t colour)
{
    using namespace kov::render;
    const std::vector<int> elements = DashElements(plot, transform.paperScale, lineType, true);
    if (elements.empty() || figure.MLineParam.empty()) return;

    const bool ellipse = figure.MLineParam.size() == 2;
    const double boxWidth = std::abs(static_cast<double>(box.right) - box.left);
    const double boxHeight = std::abs(static_cast<double>(box.bottom) - box.top);
    const double circumference =
        ellipse ? std::max(boxWidth, boxHeight) / 2.0 * kKovTwoPi : (boxWidth + boxHeight) * 0.25 * kKovTwoPi;
    if (circumference == 0.0) return;

    std::vector<double> angles;
    double period = 0.0;
    for (int e : elements) {
        angles.push_back(e * 360.0 / circumference);
        period += angles.back();
    }

    const Pen pen{PenStyle::Solid, penWidth, colour};
    const double rx = figure.MLineParam[0];
    const double ry = ellipse ? rx * figure.MLineParam[1] : rx;
    ArcDasher dasher(dc, transform, box, centre, rx, ry, figure.MLineLayer1, pen);

    const bool full = start == end;
    const double startDeg = VectorAngle(centre.x, centre.y, start.x, start.y);
    const double endDeg = VectorAngle(centre.x, centre.y, end.x, end.y);
    double span = endDeg - startDeg;
    if (span < 0.0) span += 360.0;

    if (period <= 0.0) {
        // No break survives at this scale: the outline is one dash, as for straight segments.
        dasher.whole(startDeg, startDeg + span, full);
        return;
    }

    const VisibleAngles visible(box, dc.device().area, std::max(1, penWidth) + 2);
    const std::size_t n = angles.size();

    // Circles and arcs lay the pattern from the start angle and cut the last dash at the end.
    // Ellipses lay it from angle 0 and draw whole elements: on an arc, those that begin at or after
    // the start angle, up to and including the one that reaches the end angle. Both run until the
    // outline is covered (no cap on the number of elements, so a large dotted circle is closed).
    const double origin = ellipse ? 0.0 : startDeg;
    const double drawFrom = ellipse && full ? 0.0 : startDeg;
    const double drawTo = drawFrom + (full ? 360.0 : span);
    const bool cutAtEnd = !ellipse;
    // Beyond this nothing is painted: a whole last element may run on past the end by less than a period.
    const double reach = cutAtEnd ? drawTo : drawTo + period;

    double alpha = origin;
    for (std::size_t k = 0;; k = (k + 1) % n) {
        if (k == 0) {
            const double next = visible.nextVisible(std::max(alpha, drawFrom));
            if (next >= reach) break;  // nothing of the rest of the outline can show
            const double skip = std::floor((next - alpha) / period) - 1.0;
            if (skip > 0.0) alpha += skip * period;
        }
        const double from = alpha;
        alpha += angles[k];
        if (k % 2 == 0 && from >= drawFrom) dasher.dash(from, cutAtEnd ? std::min(alpha, drawTo) : alpha);
        if (alpha >= drawTo) break;
    }
}
