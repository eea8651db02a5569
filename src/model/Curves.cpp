#include "model/Curves.h"

#include "model/DrawTransform.h"
#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/Questions.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace {

constexpr int kMaxCircleSegments = 960;
// Circles shorter than this get one segment per millimetre of circumference.
constexpr double kShortCircumference = 120.0;

const char* const kAreaLabel = "面積";
const char* const kLineLengthLabel = "直線の長さ";
const char* const kCircumferenceLabel = "円周";
const char* const kArcLengthLabel = "弧の部分の長さ";
const char* const kContinuousLengthLabel = "連続線の長さ";
const char* const kPerimeterLabel = "周囲の長さ";
const char* const kNoAreaMessage = "選択物の面積は測定できません";

double degToRad(double degrees) { return degrees * kKovPi / 180.0; }

bool isEllipse(const CKovLine& figure) { return figure.MLineParam.size() == 2; }

// Where the ray from the centre through p meets the ellipse of half axes a and b.
CDbPoint ontoEllipse(const CDbPoint& c, double a, double b, const CDbPoint& p)
{
    if (std::fabs(p.x - c.x) < kKovAxisTolerance) return {c.x, p.y <= c.y ? c.y - b : c.y + b};
    if (std::fabs(p.y - c.y) < kKovAxisTolerance) return {p.x <= c.x ? c.x - a : c.x + a, c.y};
    const double m = (p.y - c.y) / (p.x - c.x);
    double x0 = std::sqrt(a * a * b * b / (a * a * m * m + b * b));
    if (p.x < c.x) x0 = -x0;
    return {c.x + x0, c.y + m * x0};
}

double polylineLength(const CDbPointArray& points, bool closed)
{
    double length = 0.0;
    for (size_t i = 1; i < points.size(); ++i)
        length += PointDistance(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    if (closed && points.size() > 1)
        length += PointDistance(points.back().x, points.back().y, points.front().x, points.front().y);
    return length;
}

// Length of the elliptic arc counter-clockwise (on the screen) from the ray through `from` to the ray
// through `to`, by Simpson's rule over the ellipse's parameter.
double ellipseArcLength(const CDbPoint& c, double a, double b, const CDbPoint& from, const CDbPoint& to)
{
    // Parameter angles, y up so that they grow counter-clockwise on the screen.
    auto parameter = [&](const CDbPoint& p) { return std::atan2(a * -(p.y - c.y), b * (p.x - c.x)); };
    const double t0 = parameter(from);
    double sweep = parameter(to) - t0;
    if (sweep < 0) sweep += 2.0 * std::numbers::pi;
    const int n = 2000; // even
    const double h = sweep / n;
    auto speed = [&](double t) { return std::hypot(a * std::sin(t), b * std::cos(t)); };
    double sum = speed(t0) + speed(t0 + sweep);
    for (int i = 1; i < n; ++i) sum += speed(t0 + i * h) * (i % 2 ? 4.0 : 2.0);
    return sum * h / 3.0;
}

int clampedLayerGroup(int group) { return std::clamp(group, 0, DeviceTransform::kLayerGroups - 1); }

// (coordinate) × scale + origin, cut to a whole pixel (the extent's box edges carry no 0.01).
int extentCoord(double v, double scale, int origin)
{
    return std::clamp(truncToInt(v * scale + origin), -kDeviceCoordLimit, kDeviceCoordLimit);
}

// Values from files may lie anywhere: every edge stays within the device range, so the width and
// height below (and the margins added to them) cannot overflow.
int deviceClamp(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, -kDeviceCoordLimit, kDeviceCoordLimit));
}

struct PixelBox {
    int minX = 0, minY = 0, maxX = 0, maxY = 0;
    void start(int x, int y) { minX = maxX = x, minY = maxY = y; }
    void add(long long xv, long long yv)
    {
        const int x = deviceClamp(xv), y = deviceClamp(yv);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
};

} // namespace

// ---- Smooth-curve engine

double SampleSlope(const std::vector<double>& v, int i)
{
    const auto at = [&](int k) { return v[static_cast<size_t>(k)]; };
    return (8.0 * (at(i + 1) - at(i - 1)) + at(i - 2) - at(i + 2)) / 12.0;
}

double SampleCurvature(const std::vector<double>& v, int i)
{
    const auto at = [&](int k) { return v[static_cast<size_t>(k)]; };
    return (16.0 * at(i - 1) + 16.0 * at(i + 1) - at(i - 2) - at(i + 2) - 30.0 * at(i)) / 24.0;
}

QuinticSpan MakeQuinticSpan(double p0, double p1, double d0, double d1, double k0, double k1)
{
    const double delta = p1 - p0;
    return {p0,
            d0,
            k0 / 2.0,
            10.0 * delta - 6.0 * d0 - 4.0 * d1 + (k1 - 3.0 * k0) / 2.0,
            7.0 * d1 - 15.0 * delta + 8.0 * d0 - k1 + 3.0 * k0 / 2.0,
            6.0 * delta - 3.0 * d0 - 3.0 * d1 + (k1 - k0) / 2.0};
}

double EvalQuintic(const QuinticSpan& c, double t)
{
    return c[0] + t * (c[1] + t * (c[2] + t * (c[3] + t * (c[4] + t * c[5]))));
}

void PadSampleSeries(std::vector<double>& series, int declared, int mode)
{
    if (mode != 0 || declared < 3 || series.size() < 3) return;
    const size_t n = static_cast<size_t>(declared);
    if (series.size() < n + 6) series.resize(n + 6, 0.0);
    series[n] = series[0];
    series[n + 1] = series[1];
    for (size_t k = n + 2; k < n + 6; ++k) series[k] = series[2];
}

void SmoothCurve(int firstSpan, int endSpan, std::vector<double>& series, int declared,
                 std::vector<double>& outSamples, int steps)
{
    if (steps <= 0 || endSpan < firstSpan) return;
    PadSampleSeries(series, declared, 0);
    const size_t needed = static_cast<size_t>(endSpan + 1) * static_cast<size_t>(steps) + 1;
    if (outSamples.size() < needed) outSamples.resize(needed, 0.0);
    const int size = static_cast<int>(series.size());
    for (int s = std::max(firstSpan, 2); s <= endSpan; ++s) {
        // The span reads two samples on either side of its ends.
        if (s + 3 >= size) break;
        const QuinticSpan span = MakeQuinticSpan(series[static_cast<size_t>(s)], series[static_cast<size_t>(s + 1)],
                                                 SampleSlope(series, s), SampleSlope(series, s + 1),
                                                 SampleCurvature(series, s), SampleCurvature(series, s + 1));
        for (int i = 0; i <= steps; ++i)
            outSamples[static_cast<size_t>(s) * static_cast<size_t>(steps) + static_cast<size_t>(i)] =
                EvalQuintic(span, static_cast<double>(i) / steps);
    }
}

// ---- Curves of the container

void CKovUnit::BezierPoints(const CDbPointArray& controlList, CDbPointArray& outStarts, CDbPointArray& outEnds)
{
    if (controlList.size() < 2) return;
    const int m = static_cast<int>(controlList.size()) - 1; // the last listed point is not a control point
    const int n = m - 1;
    // One Pascal row for all weights: rebuilding it per weight made long lists cubic.
    const std::vector<double> weights = BinomialRow(n + 1);
    // Past about a thousand points the weights overflow a double; de Casteljau's construction
    // gives the same curve without them.
    const bool weightsFinite = std::all_of(weights.begin(), weights.end(), [](double w) { return std::isfinite(w); });
    std::vector<CDbPoint> work;

    CDbPoint previous;
    bool first = true;
    for (double t = 0.0; t <= 1.001; t += 0.05) {
        CDbPoint p{0.0, 0.0};
        if (weightsFinite) {
            for (int i = 0; i < m; ++i) {
                const double w = weights[static_cast<size_t>(i)] * std::pow(1.0 - t, i) * std::pow(t, n - i);
                p.x += w * controlList[static_cast<size_t>(i)].x;
                p.y += w * controlList[static_cast<size_t>(i)].y;
            }
        } else {
            // The curve runs from the last control point (t = 0) to the first (t = 1).
            work.assign(controlList.rbegin() + 1, controlList.rend());
            for (size_t level = work.size(); level-- > 1;)
                for (size_t i = 0; i < level; ++i) {
                    work[i].x = (1.0 - t) * work[i].x + t * work[i + 1].x;
                    work[i].y = (1.0 - t) * work[i].y + t * work[i + 1].y;
                }
            p = work[0];
        }
        if (!first) {
            outStarts.push_back(previous);
            outEnds.push_back(p);
        }
        previous = p;
        first = false;
    }
}

void CKovUnit::SplinePoints(const CDbPointArray& pointList, CDbPointArray& outStarts, CDbPointArray& outEnds,
                            int steps)
{
    const int n = static_cast<int>(pointList.size());
    if (n < 1 || steps <= 0) return;
    // Three copies of the first point lead in and four of the last trail, for the slope estimates.
    std::vector<double> vx(static_cast<size_t>(n) + 8, 0.0), vy(static_cast<size_t>(n) + 8, 0.0);
    for (int k = 0; k <= n + 5; ++k) {
        const int source = std::clamp(k - 2, 0, n - 1);
        vx[static_cast<size_t>(k)] = pointList[static_cast<size_t>(source)].x;
        vy[static_cast<size_t>(k)] = pointList[static_cast<size_t>(source)].y;
    }
    std::vector<double> sx, sy;
    SmoothCurve(2, n + 3, vx, n + 2, sx, steps);
    SmoothCurve(2, n + 3, vy, n + 2, sy, steps);
    for (int k = 2 * steps; k < (n - 1) * steps; ++k) {
        const size_t i = static_cast<size_t>(k);
        outStarts.push_back({sx[i], sy[i]});
        outEnds.push_back({sx[i + 1], sy[i + 1]});
    }
}

int CKovUnit::CircleToPolyline(int figureId, const CPlotInfo& plot, int segments)
{
    const CKovLine* figure = FindLine(figureId);
    if (!figure) return -1;
    const int kind = figure->MLineType;
    if (kind != CKovLine::CIRCLE && kind != CKovLine::ARC) return -1;
    if (figure->MLinePnt.empty() || figure->MLineParam.empty()) return -1;
    if (kind == CKovLine::ARC && figure->MLinePnt.size() < 3) return -1;

    const CDbPoint c = figure->MLinePnt[0];
    const bool ellipse = isEllipse(*figure);
    const double a = figure->MLineParam[0];
    const double b = ellipse ? a * figure->MLineParam[1] : a;

    CDbPointArray points;
    int newKind = CKovLine::POLYGON;
    bool band = false;
    if (kind == CKovLine::CIRCLE) {
        const double u = ellipse ? (a + b) * 0.5 * kKovTwoPi : a * kKovTwoPi;
        const int n = std::clamp(u < kShortCircumference ? truncToInt(u) : segments, 1, kMaxCircleSegments);
        // Equal steps in doubles: whole-degree steps left one wide last segment.
        const double step = 360.0 / n;
        points.push_back({c.x + a, c.y});
        for (int k = 1; k < n; ++k) {
            const double angle = k * step;
            if (ellipse) {
                const double theta = degToRad(angle);
                points.push_back({c.x + a * std::cos(theta), c.y - b * std::sin(theta)});
            } else {
                points.push_back(PointAtAngle(c.x, c.y, angle, a));
            }
        }
        points.push_back(points.front());
    } else {
        CDbPoint start = figure->MLinePnt[1], end = figure->MLinePnt[2];
        if (ellipse) {
            start = ontoEllipse(c, a, b, start);
            end = ontoEllipse(c, a, b, end);
        }
        const double startAngle = VectorAngle(c.x, c.y, start.x, start.y);
        const double endAngle = VectorAngle(c.x, c.y, end.x, end.y);
        double sweep = endAngle - startAngle;
        if (sweep < 0.0) sweep += 360.0;
        const int n = std::max(1, truncToInt(std::min(segments, kMaxCircleSegments) * sweep / 360.0));
        const double step = sweep / n;
        points.push_back(start);
        for (int k = 1; k < n; ++k) {
            double angle = startAngle + k * step;
            if (angle >= 360.0) angle -= 360.0;
            CDbPoint p = PointAtAngle(c.x, c.y, angle, a);
            if (ellipse) p = ontoEllipse(c, a, b, p);
            points.push_back(p);
        }
        points.push_back(end);

        const int arcType = figure->ArcType();
        if (arcType == CKovLine::THICK_ARC) {
            // A thick arc keeps its own band width (its third parameter); one without takes a wall's.
            const double w = figure->MLineParam.size() >= 3 ? figure->MLineParam[2] / 2.0 : plot.PlotWallWide;
            CDbPointArray outline;
            for (const CDbPoint& p : points) outline.push_back(PointTowards(c, p, a + w));
            for (auto it = points.rbegin(); it != points.rend(); ++it) outline.push_back(PointTowards(c, *it, a - w));
            outline.push_back(outline.front());
            points = std::move(outline);
            band = true;
        } else if (figure->MLinebNakanuri == 1) {
            if (arcType == CKovLine::SECTOR_ARC) points.push_back(c);
            points.push_back(points.front());
        } else {
            newKind = CKovLine::CONTINUOUS;
        }
    }
    if (points.size() < 2) return -1;

    const int newId = NextLineId();
    if (newId == kNoFreeId) return -1;
    auto replacement = std::make_unique<CKovLine>(*figure);
    replacement->MLineID = newId;
    replacement->MLinePnt = std::move(points);
    replacement->MLineType = newKind;
    replacement->MLineTanten = 0;
    if (band) {
        replacement->MLinebNakanuri = 1;
        replacement->MLineColor = 0;
        replacement->MLineNakaColor = 0;
        replacement->MLinebHach = 0;
    }
    m_Lines.Add(std::move(replacement));
    DeleteLine(figureId);
    return newId;
}

// ---- Measures

void CKovLine::ArcEndAngles(int& outStart, int& outEnd) const
{
    auto wholeDegrees = [&](const CDbPoint& p) {
        const CDbPoint& c = MLinePnt[0];
        const double dx = p.x - c.x, dy = p.y - c.y;
        if (dx == 0.0) return dy > 0.0 ? 270 : (dy < 0.0 ? 90 : 0);
        if (dy == 0.0) return dx > 0.0 ? 0 : 180;
        const int first = dy < 0.0 ? (dx > 0.0 ? 0 : 90) : (dx < 0.0 ? 180 : 270);
        const double target = -dy / dx;
        int best = first;
        double closest = 1000.0;
        for (int deg = first; deg < first + 90; ++deg) {
            const double distance = std::fabs(std::tan(degToRad(deg)) - target);
            if (distance < closest) {
                closest = distance;
                best = deg;
            }
        }
        return best;
    };
    outStart = outEnd = 0;
    if (MLinePnt.size() < 3) return;
    outStart = wholeDegrees(MLinePnt[1]);
    outEnd = wholeDegrees(MLinePnt[2]);
}

int CKovUnit::MeasureArea(int figureId, double& outArea, std::string& outLabel,
                          kov::platform::Questions& questions) const
{
    const CKovLine* figure = FindLine(figureId);
    if (!figure) return 0;
    outLabel = kAreaLabel;
    switch (figure->MLineType) {
    case CKovLine::CIRCLE:
        if (figure->MLineParam.empty()) return 0;
        outArea = kKovPi * figure->MLineParam[0] * figure->MLineParam[0];
        if (isEllipse(*figure)) outArea *= figure->MLineParam[1];
        return 1;
    case CKovLine::RECTANGLE:
    case CKovLine::POLYGON:
        outArea = PolygonArea(figure->MLinePnt);
        return 1;
    case CKovLine::LINE:
    case CKovLine::ARC:
    case CKovLine::DIMENSION:
    case CKovLine::CONTINUOUS:
        questions.message(kNoAreaMessage, {}, kov::platform::MessageIcon::Warning);
        return 0;
    default:
        return 0;
    }
}

int CKovUnit::MeasureLength(int figureId, double& outLength, std::string& outLabel) const
{
    const CKovLine* figure = FindLine(figureId);
    if (!figure) return 0;
    outLength = 0.0;
    const CDbPointArray& p = figure->MLinePnt;
    switch (figure->MLineType) {
    case CKovLine::LINE:
        if (p.size() < 2) return 0;
        outLength = PointDistance(p[0].x, p[0].y, p[1].x, p[1].y);
        outLabel = kLineLengthLabel;
        return 1;
    case CKovLine::CIRCLE:
        if (figure->MLineParam.empty() || isEllipse(*figure)) return 0;
        outLength = 2.0 * kKovPi * figure->MLineParam[0];
        outLabel = kCircumferenceLabel;
        return 1;
    case CKovLine::ARC: {
        if (p.size() < 3 || figure->MLineParam.empty()) return 0;
        const double r = figure->MLineParam[0];
        if (isEllipse(*figure)) {
            // An elliptic arc is not an arc of the circle of its half width: measure it along the ellipse.
            outLength = ellipseArcLength(p[0], r, r * figure->MLineParam[1], p[1], p[2]);
        } else {
            // Angles in doubles: whole degrees put arc lengths a degree or two off.
            double sweep = VectorAngle(p[0].x, p[0].y, p[2].x, p[2].y) - VectorAngle(p[0].x, p[0].y, p[1].x, p[1].y);
            if (sweep < 0.0) sweep += 360.0;
            outLength = sweep / 360.0 * 2.0 * kKovPi * r;
        }
        outLabel = kArcLengthLabel;
        return 1;
    }
    case CKovLine::CONTINUOUS:
        outLength = polylineLength(p, false);
        outLabel = kContinuousLengthLabel;
        return 1;
    case CKovLine::RECTANGLE:
    case CKovLine::POLYGON:
        outLength = polylineLength(p, true);
        outLabel = kPerimeterLabel;
        return 1;
    default:
        return 0;
    }
}

// ---- Tangents

int CKovUnit::TangentPoints(const SelectionRecord& selection, CDbPoint outPoints[2], double x, double y) const
{
    if (selection.m_Lines.empty()) return 0;
    const CKovLine* circle = FindLine(selection.m_Lines.front());
    if (!circle || circle->MLinePnt.empty() || circle->MLineParam.empty()) return 0;
    const double cx = circle->MLinePnt[0].x, cy = circle->MLinePnt[0].y;
    const double r = circle->MLineParam[0];
    if (r > PointDistance(cx, cy, x, y)) return 0;

    const double dx = x - cx, dy = y - cy;
    const double h = r * r - dx * dx;
    const double g = 2.0 * dx * dy;
    const double e = r * r - dy * dy;
    const double disc = g * g - 4.0 * h * e;
    if (disc <= 0.0) return 0; // on the circle: no tangent points
    auto touch = [&](double k) {
        const double beta = dy - k * dx;
        const double u = -k * beta / (k * k + 1.0);
        return CDbPoint(cx + u, cy + k * u + beta);
    };
    if (h == 0.0) {
        if (e == 0.0) return 0;
        outPoints[0] = {x, cy};
        outPoints[1] = touch(-e / g);
        return 1;
    }
    if (e == 0.0) {
        outPoints[0] = {cx, y};
        outPoints[1] = touch(-g / h);
        return 1;
    }
    const double root = std::sqrt(disc);
    outPoints[1] = touch((root - g) / (2.0 * h));
    outPoints[0] = touch((-g - root) / (2.0 * h));
    return 1;
}

int CKovUnit::TangentToolPoint(const SelectionRecord& selection, const CPlotInfo& plot,
                               const DeviceTransform& transform, CDbPointArray& toolPoints, double pointerX,
                               double pointerY, int phase) const
{
    if (selection.m_Lines.empty()) return 0;
    const CKovLine* figure = FindLine(selection.m_Lines.front());
    if (!figure || figure->MLinePnt.empty() || figure->MLineParam.empty()) return 0;
    const CDbPoint c = figure->MLinePnt[0];
    auto setToolPoints = [&](const CDbPoint& p0, const CDbPoint& p1) {
        if (toolPoints.size() < 2) toolPoints.resize(2);
        toolPoints[0] = p0;
        toolPoints[1] = p1;
    };

    if (phase != 0) {
        if (toolPoints.empty()) return 0;
        const CDbPoint t = toolPoints[0];
        CDbPoint foot;
        if (t.x == c.x) {
            foot = {pointerX, t.y};
        } else if (t.y == c.y) {
            foot = {t.x, pointerY};
        } else {
            const double m = (t.y - c.y) / (t.x - c.x);
            if (m == 0.0) return 0;
            const double intercept = t.y + t.x / m; // the tangent y = -x/m + intercept through t
            const double x = -((pointerY - m * pointerX) - intercept) / (m + 1.0 / m);
            foot = {x, -x / m + intercept};
        }
        setToolPoints(t, foot);
        return 1;
    }

    const int kind = figure->MLineType;
    if (kind != CKovLine::CIRCLE && kind != CKovLine::ARC) return 0;
    if (kind == CKovLine::ARC && figure->MLinePnt.size() < 3) return 0;
    const int group = plot.m_Layer.m_nCurrentGroup;
    const DevicePoint pointer = ToDevicePoint({pointerX, pointerY}, transform, group);
    auto nearPointer = [&](const CDbPoint& p) {
        const DevicePoint d = ToDevicePoint(p, transform, group);
        return PointsWithinPickTolerance(d.x, d.y, pointer.x, pointer.y) == 1;
    };
    if (kind == CKovLine::ARC) {
        for (int end = 1; end <= 2; ++end) {
            if (nearPointer(figure->MLinePnt[static_cast<size_t>(end)])) {
                setToolPoints(figure->MLinePnt[static_cast<size_t>(end)], figure->MLinePnt[static_cast<size_t>(end)]);
                return 1;
            }
        }
    }
    CDbPoint crossings[2];
    int count = 0;
    if (!IntersectLineCircle(crossings, count, c, {pointerX, pointerY}, c, figure->MLineParam[0]) || count != 2)
        return 0;
    const CDbPoint* onCircle = nearPointer(crossings[0]) ? &crossings[0] : nearPointer(crossings[1]) ? &crossings[1] : nullptr;
    if (!onCircle) return 0;
    if (kind == CKovLine::ARC) {
        const CDbPoint& s = figure->MLinePnt[1];
        const CDbPoint& e = figure->MLinePnt[2];
        const double sa = VectorAngle(c.x, c.y, s.x, s.y);
        const double ea = VectorAngle(c.x, c.y, e.x, e.y);
        const double pa = VectorAngle(c.x, c.y, onCircle->x, onCircle->y);
        const bool onArc = ea <= sa ? (pa >= sa || pa <= ea) : (sa <= pa && pa <= ea);
        if (!onArc) return 0;
    }
    setToolPoints(*onCircle, *onCircle);
    return 1;
}

// ---- Extent of the drawing

void CKovUnit::DrawingPixelExtent(const TextBoxMeasurer& measurer, const DeviceTransform& transform,
                                  const CPlotInfo&, int& outX, int& outY, int& outWidth, int& outHeight,
                                  int margin) const
{
    PixelBox box;
    if (!m_Walls.empty()) {
        const CKovWall& w = *m_Walls[0];
        const DevicePoint d = ToDevicePoint(w.MWallPntA, transform, w.MWallLayer1);
        box.start(d.x, d.y);
    } else if (!m_Texts.empty()) {
        const CKovText& t = *m_Texts[0];
        const DevicePoint d = ToDevicePoint(t.MTextpnt, transform, t.MTextLayer1);
        box.start(d.x, d.y);
    } else if (!m_Lines.empty() && !m_Lines[0]->MLinePnt.empty()) {
        const CKovLine& l = *m_Lines[0];
        const DevicePoint d = ToDevicePoint(l.MLinePnt[0], transform, l.MLineLayer1);
        box.start(d.x, d.y);
    }

    // Both corners of the square of half side `half` about p, mapped without the 0.01.
    auto addSquare = [&](const CDbPoint& p, double half, int layerGroup) {
        const int g = clampedLayerGroup(layerGroup);
        const double sx = transform.scaleX[static_cast<size_t>(g)], sy = transform.scaleY[static_cast<size_t>(g)];
        box.add(extentCoord(p.x - half, sx, transform.originX), extentCoord(p.y - half, sy, transform.originY));
        box.add(extentCoord(p.x + half, sx, transform.originX), extentCoord(p.y + half, sy, transform.originY));
    };

    for (const auto& line : m_Lines) {
        for (const CDbPoint& p : line->MLinePnt) {
            const DevicePoint d = ToDevicePoint(p, transform, line->MLineLayer1);
            box.add(d.x, d.y);
        }
        if ((line->MLineType == CKovLine::CIRCLE || line->MLineType == CKovLine::ARC) && !line->MLinePnt.empty() &&
            !line->MLineParam.empty())
            addSquare(line->MLinePnt[0], line->MLineParam[0], line->MLineLayer1);
    }
    for (const auto& wall : m_Walls) {
        addSquare(wall->MWallPntA, wall->MWallWide1, wall->MWallLayer1);
        addSquare(wall->MWallPntB, wall->MWallWide1, wall->MWallLayer1);
    }
    for (const auto& text : m_Texts) {
        const DevicePoint anchor = ToDevicePoint(text->MTextpnt, transform, text->MTextLayer1);
        const DeviceRect r = measurer.TextBoxSize(anchor.x, anchor.y, text->MTextstr, text->MTextFontMenu,
                                                  transform.paperScale);
        const long long w = static_cast<long long>(r.right) - r.left;
        const int width = w == 0 ? 1 : deviceClamp(w);
        const int height = deviceClamp(static_cast<long long>(r.bottom) - r.top);
        const int angle = text->MTextFontMenu.lfEscapement;
        int heightAngle = angle + 2700;
        if (heightAngle >= 3600) heightAngle -= 3600;
        const CFontMenu& font = text->MTextFontMenu;
        const DeviceCorners corners = RotatedBoxCorners(anchor.x, anchor.y, width, height, angle * kKovPi / 1800.0,
                                                        heightAngle * kKovPi / 1800.0, font.m_toko_align,
                                                        font.m_tate_align);
        for (const DevicePoint& corner : corners) box.add(corner.x, corner.y);
    }
    for (const auto& image : m_Images) {
        const double s = transform.paperScale;
        const long long cx = static_cast<long long>(transform.originX) + truncToInt(image->OffsetX * s);
        const long long cy = static_cast<long long>(transform.originY) + truncToInt(image->OffsetY * s);
        const long long halfWidth = truncToInt(image->ImageWidth * s) / 2;
        const long long halfHeight = truncToInt(image->ImageHeight * s) / 2;
        box.add(cx - halfWidth, cy - halfHeight);
        box.add(cx + halfWidth, cy + halfHeight);
    }

    outX = box.minX - margin;
    outY = box.minY - margin;
    outWidth = std::abs(box.maxX - box.minX) + 2 * margin;
    outHeight = std::abs(box.maxY - box.minY) + 2 * margin;
}

// ---- Dimension placement

void CKovUnit::OffsetSegment(CDbPoint& a, CDbPoint& b, double pointerX, double pointerY, CDbPoint& outMid,
                             int& outSide, double& outLength, double& outDistance, double gap)
{
    const CDbPoint pointer{pointerX, pointerY};
    outLength = PointDistance(a.x, a.y, b.x, b.y);
    CDbPoint foot;
    if (std::fabs(a.x - b.x) < kKovAxisTolerance) {
        outSide = pointerX < b.x ? 2 : 4;
        outDistance = std::fabs(pointerX - b.x);
    } else if (std::fabs(a.y - b.y) < kKovAxisTolerance) {
        outSide = pointerY < b.y ? 1 : 3;
        outDistance = std::fabs(pointerY - b.y);
    } else {
        foot = FootOfPerpendicular(a, b, pointer);
        outSide = pointerY > foot.y ? 5 : 6;
        outDistance = PointDistance(pointerX, pointerY, foot.x, foot.y);
    }

    switch (outSide) {
    case 1: a.y -= gap, b.y -= gap; break;
    case 2: a.x -= gap, b.x -= gap; break;
    case 3: a.y += gap, b.y += gap; break;
    case 4: a.x += gap, b.x += gap; break;
    default: {
        const CDbPoint movedA = PointTowards(a, PerpendicularFootOnParallel(a, b, a, pointer), gap);
        const CDbPoint movedB = PointTowards(b, PerpendicularFootOnParallel(a, b, b, pointer), gap);
        a = movedA;
        b = movedB;
        break;
    }
    }

    const CDbPoint mid{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
    const double d = outDistance;
    switch (outSide) {
    case 1: outMid = {mid.x, mid.y - d}; break;
    case 2: outMid = {mid.x - d, mid.y}; break;
    case 3: outMid = {mid.x, mid.y + d}; break;
    case 4: outMid = {mid.x + d, mid.y}; break;
    default: outMid = PointTowards(mid, PerpendicularFootOnParallel(a, b, mid, pointer), d); break;
    }
}
