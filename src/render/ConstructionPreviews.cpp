// Previews of the construction tools: lines of a length or at an angle, perpendiculars, two lines,
// tangents, triangles, point chains, rounded rectangles and the matching of a picture.

#include "render/ToolPreviews.h"

#include "model/Geometry.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cmath>

namespace pf = kov::platform;
using namespace kov::render;
using PreviewInput = CKovUnit::PreviewInput;

namespace {

const pf::Pen kRedPen{pf::PenStyle::Solid, 1, kPreviewRed};

DevicePoint dev(const CDbPoint& p, const DeviceTransform& t, const CPlotInfo& plot)
{
    return ToDevicePoint(p, t, PreviewGroup(plot));
}

void constructionLine(pf::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot, const CDbPoint& a,
                      const CDbPoint& b)
{
    dc.line(dev(a, t, plot), dev(b, t, plot), ConstructionPen(plot));
}

// The first selected figure when it exists with at least two points.
const CKovLine* selectedFigure(const CKovUnit& unit, const SelectionRecord* selection, std::size_t minPoints)
{
    if (selection == nullptr || selection->m_Lines.empty()) return nullptr;
    const CKovLine* f = unit.FindLine(selection->m_Lines.front());
    if (f == nullptr || f->MLinePnt.size() < minPoints) return nullptr;
    return f;
}

// The segment S-E moved by d to the left (side +1) or right (−1) of its direction on the screen.
void offsetAlong(const CDbPoint& s, const CDbPoint& e, double d, int side, CDbPoint& a, CDbPoint& b)
{
    const double dx = e.x - s.x, dy = e.y - s.y;
    double ox = 0, oy = 0;
    if (std::fabs(dx) < kKovAxisTolerance) {
        ox = (dy >= 0 ? d : -d) * side;
    } else if (std::fabs(dy) < kKovAxisTolerance) {
        oy = (dx >= 0 ? -d : d) * side;
    } else {
        const double len = std::hypot(dx, dy);
        ox = dy / len * d * side;
        oy = -dx / len * d * side;
    }
    a = {s.x + ox, s.y + oy};
    b = {e.x + ox, e.y + oy};
}

} // namespace

void CKovUnit::DrawPointChainPreview(pf::Surface& dc, const DeviceTransform& t, const CDbPointArray& points,
                                     const CDbPoint& pointer, const CPlotInfo& plot)
{
    if (points.empty()) return;
    for (std::size_t i = 1; i < points.size(); ++i) dc.line(dev(points[i - 1], t, plot), dev(points[i], t, plot), kRedPen);
    dc.line(dev(points.back(), t, plot), dev(pointer, t, plot), kRedPen);
}

void CKovUnit::DrawTrianglePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    dc.line(dev(in.points[0], t, *in.plot), dev(in.pointer, t, *in.plot), {pf::PenStyle::Dash, 1, kPreviewRed});
}

void CKovUnit::DrawLengthLinePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CDbPoint& f = in.points[0];
    const CDbPoint& p = in.pointer;
    const double len = in.measured;
    CDbPoint e;
    if (f.x == p.x && f.y == p.y) return;
    if (f.x == p.x) {
        e = {f.x, p.y > f.y ? f.y + len : f.y - len};
    } else if (f.y == p.y) {
        e = {p.x > f.x ? f.x + len : f.x - len, f.y};
    } else {
        const double theta = VectorAngle(f.x, f.y, p.x, p.y) * kKovPi / 180.0;
        e = {f.x + len * std::cos(theta), f.y - len * std::sin(theta)};
    }
    constructionLine(dc, t, *in.plot, f, e);
}

void CKovUnit::DrawAngleLinePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CDbPoint& f = in.points[0];
    const CDbPoint& p = in.pointer;
    const double a = in.angle;
    CDbPoint e;
    if (a == 0 || a == 180) {
        e = {p.x, f.y};
    } else if (a == 90 || a == 270) {
        e = {f.x, p.y};
    } else {
        const double k = -std::tan(a * kKovPi / 180.0);
        const double b = f.y - k * f.x;
        const double x = (p.y - (-1 / k) * p.x - b) / (k + 1 / k);
        e = {x, k * x + b};
    }
    constructionLine(dc, t, *in.plot, f, e);
}

void CKovUnit::DrawPerpendicularPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (in.points.size() < 2) return;
    const CKovLine* f = selectedFigure(*this, in.selection, 2);
    if (f == nullptr) return;
    const CDbPoint& q = in.points[1];
    constructionLine(dc, t, *in.plot, q, PerpendicularFootOnParallel(f->MLinePnt[0], f->MLinePnt[1], q, in.pointer));
}

void CKovUnit::DrawDoubleLinePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (in.points.size() < 2) return;
    const CKovLine* f = selectedFigure(*this, in.selection, 2);
    if (f == nullptr) return;
    const CDbPoint& f0 = f->MLinePnt[0];
    const CDbPoint& f1 = f->MLinePnt[1];
    CDbPoint e;
    if (std::fabs(f0.x - f1.x) < kKovAxisTolerance) e = {f0.x, in.pointer.y};
    else if (std::fabs(f0.y - f1.y) < kKovAxisTolerance) e = {in.pointer.x, f0.y};
    else e = FootOfPerpendicular(f0, f1, in.pointer);
    const CDbPoint& s = in.points[1];
    CDbPoint a, b;
    offsetAlong(s, e, in.doubleLeft, +1, a, b);
    constructionLine(dc, t, *in.plot, a, b);
    offsetAlong(s, e, in.doubleRight, -1, a, b);
    constructionLine(dc, t, *in.plot, a, b);
}

void CKovUnit::DrawTangentPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (in.selection == nullptr) return;
    CDbPoint touch[2];
    const CDbPoint& f = in.points[0];
    // No tangent (the point on or inside the circle): nothing, not a line to the sheet origin.
    if (TangentPoints(*in.selection, touch, f.x, f.y) == 0) return;
    const double d1 = PointDistance(touch[0].x, touch[0].y, in.pointer.x, in.pointer.y);
    const double d2 = PointDistance(touch[1].x, touch[1].y, in.pointer.x, in.pointer.y);
    constructionLine(dc, t, *in.plot, f, d2 < d1 ? touch[1] : touch[0]);
}

void CKovUnit::DrawTangentSecondPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CKovLine* f = selectedFigure(*this, in.selection, 1);
    if (f == nullptr) return;
    const CDbPoint& c = f->MLinePnt[0];
    const CDbPoint& p = in.points[0];
    const CDbPoint& q = in.pointer;
    CDbPoint e;
    if (p.x == c.x) {
        e = {q.x, p.y};
    } else if (p.y == c.y) {
        e = {p.x, q.y};
    } else {
        const double m = (p.y - c.y) / (p.x - c.x);
        const double k = -1 / m;
        // y = k (x − px) + py  meets  y = m (x − qx) + qy.
        const double x = (m * q.x - k * p.x + p.y - q.y) / (m - k);
        e = {x, k * (x - p.x) + p.y};
    }
    constructionLine(dc, t, *in.plot, p, e);
}

void CKovUnit::DrawRoundedRectPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    if (in.points.size() == 1) {
        const CDbPoint& a = in.points[0];
        const CDbPoint& b = in.pointer;
        const CDbPoint c[5] = {a, {a.x, b.y}, b, {b.x, a.y}, a};
        for (int i = 0; i < 4; ++i) dc.line(dev(c[i], t, plot), dev(c[i + 1], t, plot), kRedPen);
        return;
    }
    const CDbPoint& a = in.points[0];
    const CDbPoint& b = in.points[1];
    if (a == b) return;
    const double x1 = std::min(a.x, b.x), x2 = std::max(a.x, b.x);
    const double y1 = std::min(a.y, b.y), y2 = std::max(a.y, b.y);
    const CDbPoint corners[4] = {{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}};
    double r = -1;
    for (const CDbPoint& c : corners) {
        const double d = PointDistance(in.pointer.x, in.pointer.y, c.x, c.y);
        if (r < 0 || d < r) r = d;
    }
    if (r == 0 || r >= std::min((x2 - x1) / 2, (y2 - y1) / 2)) return;
    BoxFillet fillets[4];
    for (int i = 0; i < 4; ++i) fillets[i] = FilletBoxCorner(x1, y1, x2, y2, i, r);
    // Straight edges between the tangent points, then the corner arcs.
    dc.line(dev(fillets[0].second, t, plot), dev(fillets[1].first, t, plot), kRedPen);
    dc.line(dev(fillets[1].second, t, plot), dev(fillets[2].first, t, plot), kRedPen);
    dc.line(dev(fillets[2].second, t, plot), dev(fillets[3].first, t, plot), kRedPen);
    dc.line(dev(fillets[3].second, t, plot), dev(fillets[0].first, t, plot), kRedPen);
    for (const BoxFillet& f : fillets) {
        const DevicePoint tl = dev({f.centre.x - r, f.centre.y - r}, t, plot);
        const DevicePoint br = dev({f.centre.x + r, f.centre.y + r}, t, plot);
        dc.arc({tl.x, tl.y, br.x, br.y}, dev(f.first, t, plot), dev(f.second, t, plot), kRedPen);
    }
}

void CKovUnit::DrawImageFitPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    const pf::Pen dotted{pf::PenStyle::Dot, 1, kPreviewRed};
    const std::size_t n = in.points.size();
    if (n == 1) {
        dc.line(dev(in.points[0], t, plot), dev(in.pointer, t, plot), dotted);
        return;
    }
    if (n > 3) return;
    // Nearly upright or level on the screen (within 2 pixels) counts as exactly so.
    auto straighten = [](DevicePoint from, DevicePoint to) {
        if (std::abs(to.x - from.x) < 2) to.x = from.x;
        if (std::abs(to.y - from.y) < 2) to.y = from.y;
        return to;
    };
    const DevicePoint p0 = dev(in.points[0], t, plot);
    const DevicePoint p1 = straighten(p0, dev(in.points[1], t, plot));
    dc.line(p0, p1, dotted);
    if (n != 3) return;
    const DevicePoint p2 = dev(in.points[2], t, plot);
    DevicePoint e = straighten(p2, dev(in.pointer, t, plot));
    if (p0.x == p1.x) {
        e.x = p2.x;
    } else if (p0.y == p1.y) {
        e.y = p2.y;
    } else {
        const CDbPoint& a = in.points[0];
        const CDbPoint& c = in.points[2];
        const double m = -std::tan(VectorAngle(a.x, a.y, in.points[1].x, in.points[1].y) * kKovPi / 180.0);
        // The pointer's foot on the line through the third point with that slope.
        const CDbPoint dir{1, m};
        const double len2 = 1 + m * m;
        const double u = ((in.pointer.x - c.x) * dir.x + (in.pointer.y - c.y) * dir.y) / len2;
        e = dev({c.x + u * dir.x, c.y + u * dir.y}, t, plot);
    }
    dc.line(p2, e, kRedPen);
}
