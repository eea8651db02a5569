// Creating the plain figures of the drawing tools: each takes a new identifier, the editing layer and
// the part of its kind's default style that its tool uses, and is drawn above every older figure.

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr int kSplineSteps = 7;

enum Slot { SLOT_LINE = 0, SLOT_RECT = 1, SLOT_POLYGON = 2, SLOT_CIRCLE = 3, SLOT_ARC = 4 };

// The fields of a default-style slot, and the sets of them that the operations take.
enum StyleField : unsigned {
    COLOUR = 1u << 0, FILL_COLOUR = 1u << 1, FILL = 1u << 2, FILL_COLOUR2 = 1u << 3, GRADIENT = 1u << 4,
    HATCH = 1u << 5, OPACITY = 1u << 6, HATCH_TYPE = 1u << 7, LINE_TYPE = 1u << 8, WIDTH = 1u << 9,
    END_MARK = 1u << 10, ARROW_SIZE = 1u << 11,
};
namespace StyleSet {
constexpr unsigned None = 0;
constexpr unsigned Stroke = COLOUR | WIDTH | LINE_TYPE;
constexpr unsigned Free = Stroke | END_MARK;
constexpr unsigned Polyline = Free | ARROW_SIZE;
constexpr unsigned Line = Polyline | FILL_COLOUR | FILL | HATCH;
constexpr unsigned Closed = Stroke | FILL_COLOUR | FILL | HATCH | HATCH_TYPE | GRADIENT | FILL_COLOUR2 | OPACITY;
constexpr unsigned Arc = Closed | END_MARK; // an arc's end-mark field holds its fill shape
constexpr unsigned Full = Arc | ARROW_SIZE;
} // namespace StyleSet

// The arc fill shape that makes an arc a curved wall.
constexpr int kCurvedWallShape = 2;

void applyStyle(CKovLine& f, const CPlotInfo& plot, int slot, unsigned fields)
{
    const auto s = static_cast<std::size_t>(slot);
    auto take = [fields](StyleField field, auto& target, const auto& value) {
        if (fields & field)
            target = value;
    };
    take(COLOUR, f.MLineColor, plot.PlotColor[s]);
    take(FILL_COLOUR, f.MLineNakaColor, plot.PlotNakaColor[s]);
    take(FILL, f.MLinebNakanuri, plot.PlotNakaNuri[s]);
    take(FILL_COLOUR2, f.MLineNakaColor2, plot.PlotNakaColor2[s]);
    take(GRADIENT, f.MLineGradiation, plot.PlotGradiation[s]);
    take(HATCH, f.MLinebHach, plot.PlotbHach[s]);
    take(OPACITY, f.MLineAlpha, plot.PlotAlpha[s]);
    take(HATCH_TYPE, f.MLineHachT, plot.PlotHachT[s]);
    take(LINE_TYPE, f.MLineLineT, plot.PlotLineType[s]);
    take(WIDTH, f.MLineWide, plot.PlotLineWide[s]);
    take(END_MARK, f.MLineTanten, plot.PlotLineTanten[s]);
    take(ARROW_SIZE, f.MLineYaWide, plot.PlotLineYaWide);
}

// Appends a new figure on the editing layer; its identifier, or 0 when none is free.
int addFigure(CKovUnit& unit, const CPlotInfo& plot, int kind, CDbPointArray points, std::vector<double> params,
              int slot, unsigned set)
{
    const int id = unit.NextLineId();
    if (id == CKovUnit::kNoFreeId)
        return 0;
    auto f = std::make_unique<CKovLine>();
    f->MLineID = id;
    f->MLinePnt = std::move(points);
    f->MLineParam = std::move(params);
    applyStyle(*f, plot, slot, set);
    f->MLineType = kind;
    f->MLineLayer1 = plot.m_Layer.m_nCurrentGroup;
    f->MLineLayer2 = plot.m_Layer.m_nCurrentLayer;
    unit.m_Lines.Add(std::move(f));
    return id;
}

void selectFigure(SelectionRecord& selection, int id)
{
    if (id > 0)
        selection.AddLineId(id);
}

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

bool curvedWallArcs(const CPlotInfo& plot) { return plot.PlotLineTanten[SLOT_ARC] == kCurvedWallShape; }

// A circular arc's parameters: its radius, and the wall thickness twice when arcs are curved walls.
std::vector<double> arcParams(const CPlotInfo& plot, double radius)
{
    if (!curvedWallArcs(plot))
        return {radius};
    return {radius, 2.0 * plot.PlotWallWide, 2.0 * plot.PlotWallWide};
}

// An ellipse's half width from its width point and the ratio of its half height to it; a zero half
// width leaves the half height itself as the ratio.
std::vector<double> ellipseParams(const CDbPoint& c, const CDbPoint& widthPoint, const CDbPoint& heightPoint)
{
    const double rx = std::fabs(c.x - widthPoint.x);
    return {rx, std::fabs(c.y - heightPoint.y) / (rx == 0.0 ? 1.0 : rx)};
}

// A sampled curve as one continuous line, or one figure per segment.
void addSampledCurve(CKovUnit& unit, SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& starts,
                     const CDbPointArray& ends, int separateSegments, int segmentKind, unsigned set)
{
    if (starts.empty() || starts.size() != ends.size())
        return;
    // Samples that overflowed (the Bezier weights of a thousand clicks) would store coordinates that
    // are not numbers: such a curve is not made.
    auto finite = [](const CDbPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    if (!std::all_of(starts.begin(), starts.end(), finite) || !std::all_of(ends.begin(), ends.end(), finite))
        return;
    // Control points all on one spot give segments of no length: nothing to draw or pick.
    bool anyLength = false;
    for (std::size_t i = 0; i < starts.size(); ++i)
        anyLength = anyLength || !(starts[i] == ends[i]);
    if (!anyLength)
        return;
    selection.Clear();
    if (separateSegments == 1) {
        for (std::size_t i = 0; i < starts.size(); ++i)
            selectFigure(selection, addFigure(unit, plot, segmentKind, {starts[i], ends[i]}, {}, SLOT_LINE, set));
        return;
    }
    CDbPointArray points = starts;
    points.push_back(ends.back());
    selectFigure(selection, addFigure(unit, plot, CKovLine::CONTINUOUS, std::move(points), {}, SLOT_LINE, set));
}

// Free curves and continuous lines: every point but the last, then the finishing point; or one
// two-point figure per pair of given points.
void addPolyline(CKovUnit& unit, SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                 const CDbPoint& finish, int separateSegments, unsigned set)
{
    if (separateSegments == 1) {
        if (points.size() < 2)
            return;
        selection.Clear();
        for (std::size_t i = 1; i < points.size(); ++i)
            selectFigure(selection,
                         addFigure(unit, plot, CKovLine::CONTINUOUS, {points[i - 1], points[i]}, {}, SLOT_LINE, set));
        return;
    }
    if (points.empty())
        return;
    CDbPointArray line(points.begin(), points.end() - 1);
    line.push_back(finish);
    if (line.size() < 2)
        return; // a single point draws nothing
    selection.Clear();
    selectFigure(selection, addFigure(unit, plot, CKovLine::CONTINUOUS, std::move(line), {}, SLOT_LINE, set));
}

} // namespace

// ---- Lines, rectangles, polygons, circles

int CKovUnit::AddStraightLine(const CPlotInfo& plot, const CDbPoint& p, const CDbPoint& q)
{
    if (p == q)
        return 0;
    return addFigure(*this, plot, CKovLine::LINE, {p, q}, {}, SLOT_LINE, StyleSet::Line);
}

int CKovUnit::AddRectFromCorners(const CPlotInfo& plot, const CDbPoint& p, const CDbPoint& q)
{
    if (p == q)
        return 0;
    const double left = std::min(p.x, q.x), right = std::max(p.x, q.x);
    const double top = std::min(p.y, q.y), bottom = std::max(p.y, q.y);
    return addFigure(*this, plot, CKovLine::RECTANGLE, {{left, top}, {left, bottom}, {right, bottom}, {right, top}},
                     {}, SLOT_RECT, StyleSet::Closed);
}

void CKovUnit::AddRectFromCenter(SelectionRecord& selection, const CPlotInfo& plot, double x, double y, double left,
                                 double right, double up, double down)
{
    selectFigure(selection, addFigure(*this, plot, CKovLine::RECTANGLE,
                                      {{x - left, y - up}, {x - left, y + down}, {x + right, y + down}, {x + right, y - up}},
                                      {}, SLOT_RECT, StyleSet::Closed));
}

int CKovUnit::AddPolygonFromPoints(const CPlotInfo& plot, const CDbPointArray& points)
{
    // A figure without points, or with all of them on one spot, has nothing to draw or pick.
    if (points.empty() || std::all_of(points.begin(), points.end(), [&](const CDbPoint& v) { return v == points[0]; }))
        return 0;
    return addFigure(*this, plot, CKovLine::POLYGON, points, {}, SLOT_POLYGON, StyleSet::Closed);
}

int CKovUnit::AddCircle(const CPlotInfo& plot, const CDbPoint& c, const CDbPoint& p, double fixedRadius,
                        int fixedRadiusFlag)
{
    if (c == p)
        return 0;
    const double r = fixedRadiusFlag ? fixedRadius : distance(c, p);
    if (!(r > 0.0))
        return 0; // a circle of no size, or of a negative fixed radius
    return addFigure(*this, plot, CKovLine::CIRCLE, {c}, {r}, SLOT_CIRCLE, StyleSet::Closed);
}

void CKovUnit::AddEllipse(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                          const CDbPoint& heightPoint)
{
    if (toolPoints.size() < 2)
        return;
    const CDbPoint c = toolPoints[0];
    if (c == toolPoints[1] && c == heightPoint)
        return; // an ellipse of no size
    selectFigure(selection, addFigure(*this, plot, CKovLine::CIRCLE, {c}, ellipseParams(c, toolPoints[1], heightPoint),
                                      SLOT_CIRCLE, StyleSet::Closed));
}

// ---- Arcs

int CKovUnit::AddArc(const CPlotInfo& plot, const CDbPointArray& toolPoints, CDbPoint e, double fixedRadius,
                     int fixedRadiusFlag)
{
    if (toolPoints.size() < 2)
        return 0;
    const CDbPoint c = toolPoints[0];
    CDbPoint s = toolPoints[1];
    double r = distance(c, s);
    if (std::fabs(c.x - s.x) < kKovAxisTolerance)
        r = std::fabs(c.y - s.y);
    else if (std::fabs(c.y - s.y) < kKovAxisTolerance)
        r = std::fabs(c.x - s.x);

    // The end goes onto the circle, on the ray from the centre through the click.
    if (std::fabs(c.y - e.y) < kKovAxisTolerance) {
        if (e.x > c.x)
            e.x = c.x + r;
        else if (e.x < c.x)
            e.x = c.x - r;
    } else if (std::fabs(c.x - e.x) < kKovAxisTolerance) {
        if (e.y > c.y)
            e.y = c.y + r;
        else if (e.y < c.y)
            e.y = c.y - r;
    } else {
        double m = 0.0, b = 0.0;
        LineSlopeIntercept(m, b, c.x, c.y, e.x, e.y);
        double n = std::sqrt(r * r / (m * m + 1.0));
        if (e.x < c.x)
            n = -n;
        e = {c.x + n, c.y + n * m};
    }

    std::vector<double> params = arcParams(plot, r);
    if (fixedRadiusFlag && !curvedWallArcs(plot)) {
        s = PointTowards(c, s, fixedRadius);
        e = PointTowards(c, e, fixedRadius);
        params[0] = fixedRadius;
    }
    if (!(params[0] > 0.0))
        return 0; // an arc of no size: its start on its centre, or a fixed radius of none
    return addFigure(*this, plot, CKovLine::ARC, {c, s, e}, std::move(params), SLOT_ARC, StyleSet::Arc);
}

void CKovUnit::AddEllipticArc(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                              const CDbPoint& end)
{
    if (toolPoints.size() < 4)
        return;
    // No curved-wall parameters: an elliptic arc is never a wall.
    const CDbPoint c = toolPoints[0];
    selectFigure(selection, addFigure(*this, plot, CKovLine::ARC, {c, toolPoints[3], end},
                                      ellipseParams(c, toolPoints[1], toolPoints[2]), SLOT_ARC, StyleSet::Arc));
}

void CKovUnit::AddArcThrough3Points(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                                    const CDbPoint& k)
{
    if (toolPoints.size() < 2)
        return;
    const CDbPoint a = toolPoints[0];
    const CDbPoint b = toolPoints[1];
    const double h = 2.0 * (b.x - a.x), l = 2.0 * (b.y - a.y);
    const double m = 2.0 * (k.x - a.x), o = 2.0 * (k.y - a.y);
    const double k1 = a.x * a.x - b.x * b.x + a.y * a.y - b.y * b.y;
    const double k2 = a.x * a.x - k.x * k.x + a.y * a.y - k.y * k.y;
    const double t = o * h - m * l;
    if (t == 0.0)
        return; // collinear
    const CDbPoint centre{(k2 * l - o * k1) / t, (k2 * h - m * k1) / (m * l - o * h)};
    const double radius = distance(k, centre);

    // The ends in the order that makes the counter-clockwise arc pass through k.
    bool reversed;
    if (a.x == b.x) {
        reversed = a.y < b.y ? k.x > a.x : k.x < a.x;
    } else if (a.y == b.y) {
        reversed = a.x < b.x ? k.y < a.y : k.y > a.y;
    } else {
        double slope = 0.0, intercept = 0.0;
        LineSlopeIntercept(slope, intercept, a.x, a.y, b.x, b.y);
        reversed = k.y - slope * k.x > intercept ? a.x > b.x : b.x > a.x;
    }
    CDbPointArray points = reversed ? CDbPointArray{centre, b, a} : CDbPointArray{centre, a, b};
    selectFigure(selection, addFigure(*this, plot, CKovLine::ARC, std::move(points), arcParams(plot, radius), SLOT_ARC,
                                      StyleSet::Arc));
}

// ---- Constructed lines

void CKovUnit::AddLineByAngle(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& p, const CDbPoint& q,
                              double angle, double length, int fixedLength)
{
    // Only these exact angles are axis cases; 360 (zero on the clockwise setting) goes through the
    // trigonometry and lands within a hair of level.
    const bool isAxis = angle == 0.0 || angle == 90.0 || angle == 180.0 || angle == 270.0;

    CDbPoint end;
    if (fixedLength == 1) {
        end = PointAtAngle(p.x, p.y, angle, length);
    } else if (isAxis) {
        end = (angle == 90.0 || angle == 270.0) ? CDbPoint(p.x, q.y) : CDbPoint(q.x, p.y);
    } else {
        const double rad = angle * kKovPi / 180.0;
        const double e = -std::sin(rad) / std::cos(rad);
        const double f = p.y - e * p.x;
        const double x = (q.y + q.x / e - f) / (e + 1.0 / e);
        end = {x, e * x + f};
    }
    selection.Clear();
    selectFigure(selection, addFigure(*this, plot, CKovLine::LINE, {p, end}, {}, SLOT_LINE, StyleSet::Full));
}

void CKovUnit::AddLineToward(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& p, const CDbPoint& q,
                             double length)
{
    const CDbPoint end = PointTowards(p, q, length);
    selection.Clear();
    selectFigure(selection, addFigure(*this, plot, CKovLine::LINE, {p, end}, {}, SLOT_LINE, StyleSet::Full));
}

void CKovUnit::AddPerpendicularLine(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& p,
                                    const CDbPoint& q)
{
    if (p == q)
        return; // a perpendicular of no length
    selection.Clear();
    selectFigure(selection, addFigure(*this, plot, CKovLine::LINE, {p, q}, {}, SLOT_LINE, StyleSet::Full));
}

void CKovUnit::MakeTriangle(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                            const CDbPoint& p1, int a, int b)
{
    if (toolPoints.empty())
        return;
    const CDbPoint p0 = toolPoints[0];
    const double c = distance(p0, p1);
    if (c == 0.0)
        return; // no base to stand on
    // The foot of the apex and its height from the exact base, so the sides come out at the typed
    // lengths; lengths that make no triangle give a flat one along the base.
    const double da = a, db = b;
    const double u = std::clamp((da * da + c * c - db * db) / (2.0 * c), -std::fabs(da), std::fabs(da));
    const double h = std::sqrt(std::max(0.0, da * da - u * u));
    const double w = (p1.x - p0.x) / c, z = -(p1.y - p0.y) / c;
    const CDbPoint apex{p0.x + w * u - z * h, p0.y - (z * u + w * h)};
    selection.Clear();
    selectFigure(selection, addFigure(*this, plot, CKovLine::LINE, {p0, apex}, {}, SLOT_LINE, StyleSet::Full));
    selectFigure(selection, addFigure(*this, plot, CKovLine::LINE, {p1, apex}, {}, SLOT_LINE, StyleSet::Full));
}

// ---- Dimension lines

int CKovUnit::AddDimensionLine(const CPlotInfo& plot, const CDbPointArray& toolPoints, const CDbPoint& p)
{
    if (toolPoints.size() < 2)
        return 0;
    const auto group = static_cast<std::size_t>(
        std::clamp(plot.m_Layer.m_nCurrentGroup, 0, static_cast<int>(plot.m_Layer.m_dScale.size()) - 1));
    const double offset = truncToInt(plot.PlotSunpoOffset * plot.m_Layer.m_dScale[group]);
    CDbPoint a = toolPoints[0], b = toolPoints[1], textPoint;
    int side = 0;
    double length = 0.0, dist = 0.0;
    OffsetSegment(a, b, p.x, p.y, textPoint, side, length, dist, offset);
    return addFigure(*this, plot, CKovLine::DIMENSION, {a, b, textPoint},
                     {static_cast<double>(side), length, dist, static_cast<double>(plot.PlotSunpoTextHeight)}, SLOT_LINE,
                     StyleSet::None);
}

// ---- Curves

void CKovUnit::AddBezierCurve(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                              const CDbPoint& finish, int separateSegments)
{
    CDbPointArray control = toolPoints;
    control.push_back(finish);
    CDbPointArray starts, ends;
    BezierPoints(control, starts, ends);
    addSampledCurve(*this, selection, plot, starts, ends, separateSegments, CKovLine::LINE, StyleSet::Stroke);
}

void CKovUnit::AddSplineCurve(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                              const CDbPoint& finish, int separateSegments)
{
    CDbPointArray control = toolPoints;
    control.push_back(finish);
    CDbPointArray starts, ends;
    SplinePoints(control, starts, ends, kSplineSteps);
    addSampledCurve(*this, selection, plot, starts, ends, separateSegments, CKovLine::LINE, StyleSet::Stroke);
}

void CKovUnit::AddFreehandCurve(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                                const CDbPoint& finish, int separateSegments)
{
    addPolyline(*this, selection, plot, points, finish, separateSegments, StyleSet::Free);
}

void CKovUnit::AddSegmentsOrPolyline(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                                     const CDbPoint& last, int separateSegments)
{
    addPolyline(*this, selection, plot, points, last, separateSegments, StyleSet::Polyline);
}

// ---- Figures of generated drawings

namespace {

// A figure of a generated drawing: its own layer, line type and colour, width type 1, no default
// style. Null when every figure identifier is in use.
std::unique_ptr<CKovLine> generatedFigure(CKovUnit& unit, int kind, CDbPointArray points, int layerGroup, int layer,
                                          int lineType, std::uint32_t colour)
{
    const int id = unit.NextLineId();
    if (id == CKovUnit::kNoFreeId)
        return nullptr;
    auto f = std::make_unique<CKovLine>();
    f->MLineID = id;
    f->MLinePnt = std::move(points);
    f->MLineWide = 1;
    f->MLineLineT = lineType;
    f->MLineColor = colour;
    f->MLineType = kind;
    f->MLineLayer1 = layerGroup;
    f->MLineLayer2 = layer;
    return f;
}

void addSelected(CKovUnit& unit, SelectionRecord& selection, std::unique_ptr<CKovLine> f)
{
    const int id = f->MLineID;
    unit.m_Lines.Add(std::move(f));
    selection.AddLineId(id);
}

} // namespace

void CKovUnit::AddSelectedLine(SelectionRecord& selection, const CDbPoint& a, const CDbPoint& b, int layerGroup,
                               int layer, int lineType, std::uint32_t colour)
{
    if (auto f = generatedFigure(*this, CKovLine::LINE, {a, b}, layerGroup, layer, lineType, colour))
        addSelected(*this, selection, std::move(f));
}

void CKovUnit::AddSelectedPolygon(SelectionRecord& selection, const CDbPointArray& points, int count, int layerGroup,
                                  int layer, int lineType, int hatch, int fillColourUnset, int fill,
                                  std::uint32_t colour, std::uint32_t fillColour)
{
    const auto n = static_cast<std::ptrdiff_t>(std::clamp(count, 0, static_cast<int>(points.size())));
    auto f = generatedFigure(*this, CKovLine::POLYGON, CDbPointArray(points.begin(), points.begin() + n), layerGroup,
                             layer, lineType, colour);
    if (!f)
        return;
    if (hatch) {
        f->MLinebHach = 1;
        f->MLineHachT = 1;
    }
    if (!fillColourUnset)
        f->MLineNakaColor = fillColour;
    f->MLinebNakanuri = fill;
    addSelected(*this, selection, std::move(f));
}
