#include "model/Geometry.h"

#include "platform/NumberText.h"
#include "platform/Questions.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double kSecondLineFlatTolerance = 0.001;
constexpr double kParallelSlopeDifference = 0.1;
constexpr double kSameCrossing = 0.2;
constexpr double kLargestCoordinate = 10000000.0;

double degToRad(double degrees) { return degrees * kKovPi / 180.0; }
double radToDeg(double radians) { return radians * 180.0 / kKovPi; }

} // namespace

int truncToInt(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

long long truncToInt64(double value)
{
    if (std::isnan(value)) return 0;
    // 2^63 is exactly representable; anything at or above it would overflow.
    constexpr double limit = 9223372036854775808.0;
    if (value >= limit) return std::numeric_limits<long long>::max();
    if (value <= -limit) return std::numeric_limits<long long>::min();
    return static_cast<long long>(value);
}

// ---- Tests

int PointInSegmentBox(double x, double y, double ax, double ay, double bx, double by)
{
    const double minX = std::min(ax, bx), maxX = std::max(ax, bx);
    const double minY = std::min(ay, by), maxY = std::max(ay, by);
    if (std::fabs(ax - bx) < kKovAxisTolerance) return (x == ax && minY < y && y < maxY) ? 1 : 0;
    if (std::fabs(ay - by) < kKovAxisTolerance) return (y == ay && minX < x && x < maxX) ? 1 : 0;
    return (minX < x && x < maxX && minY < y && y < maxY) ? 1 : 0;
}

int PointStrictlyInRect(double x, double y, const CDbPoint& c1, const CDbPoint& c2, const CDbPoint&,
                        const CDbPoint& c4)
{
    return (c1.x < x && x < c4.x && c1.y < y && y < c2.y) ? 1 : 0;
}

// ---- Distances, directions and points

double PointDistance(double x1, double y1, double x2, double y2)
{
    const double dx = std::fabs(x1 - x2), dy = std::fabs(y1 - y2);
    return std::sqrt(dy * dy + dx * dx);
}

double PointDistanceInt(int x1, int y1, int x2, int y2)
{
    // 64-bit differences: far-apart pixels must not overflow.
    const double dx = static_cast<double>(static_cast<long long>(x1) - x2);
    const double dy = static_cast<double>(static_cast<long long>(y1) - y2);
    return std::sqrt(dy * dy + dx * dx);
}

double VectorAngle(double x1, double y1, double x2, double y2)
{
    const double length = PointDistance(x1, y1, x2, y2);
    if (length == 0.0) return 0.0;
    // Clamped: rounding may push the ratio a hair past 1 for a near-vertical vector.
    const double theta = -radToDeg(std::asin(std::clamp((y2 - y1) / length, -1.0, 1.0)));
    if (x1 > x2 && std::fabs(y2 - y1) < kKovAxisTolerance) return 180.0;
    if (std::fabs(x2 - x1) < kKovAxisTolerance) {
        if (y2 > y1) return 270.0;
        if (y2 < y1) return 90.0;
    }
    if (x1 > x2) return 180.0 - theta;
    if (x1 < x2 && y2 > y1) return theta + 360.0;
    return theta;
}

CDbPoint PointAtAngle(double x, double y, double angle, double distance)
{
    if (angle == 0.0) return {x + distance, y};
    if (angle == 180.0) return {x - distance, y};
    if (angle == 90.0) return {x, y - distance};
    if (angle == 270.0) return {x, y + distance};
    const double r = degToRad(angle);
    return {x + distance * std::cos(r), y - distance * std::sin(r)};
}

CDbPoint PointTowards(const CDbPoint& p, const CDbPoint& q, double distance)
{
    if (std::fabs(p.x - q.x) < kKovAxisTolerance) return {q.x, q.y > p.y ? p.y + distance : p.y - distance};
    if (std::fabs(p.y - q.y) < kKovAxisTolerance) return {q.x > p.x ? p.x + distance : p.x - distance, q.y};
    const double len = PointDistance(p.x, p.y, q.x, q.y);
    return {p.x + (q.x - p.x) * distance / len, p.y + (q.y - p.y) * distance / len};
}

CDbPoint FootOfPerpendicular(const CDbPoint& a, const CDbPoint& b, const CDbPoint& p)
{
    if (std::fabs(a.x - b.x) < kKovAxisTolerance) return {a.x, p.y};
    if (std::fabs(a.y - b.y) < kKovAxisTolerance) return {p.x, a.y};
    double m = 0.0, c = 0.0;
    LineSlopeIntercept(m, c, a.x, a.y, b.x, b.y);
    if (m == 0.0) return {0.0, 0.0};
    const double x = (c - (p.y + p.x / m)) / (-1.0 / m - m);
    return {x, m * x + c};
}

CDbPoint PerpendicularFootOnParallel(const CDbPoint& a, const CDbPoint& b, const CDbPoint& p, const CDbPoint& q)
{
    if (std::fabs(a.x - b.x) < kKovAxisTolerance) return {q.x, p.y};
    if (std::fabs(a.y - b.y) < kKovAxisTolerance) return {p.x, q.y};
    double m = 0.0, unused = 0.0;
    LineSlopeIntercept(m, unused, a.x, a.y, b.x, b.y);
    if (m == 0.0) return {0.0, 0.0};
    const double bQ = q.y - m * q.x;
    const double bP = p.y + p.x / m;
    const double x = (bQ - bP) / (-1.0 / m - m);
    return {x, m * x + bQ};
}

void LineSlopeIntercept(double& outSlope, double& outIntercept, double x1, double y1, double x2, double y2)
{
    outSlope = (y2 - y1) / (x2 - x1);
    outIntercept = y1 - outSlope * x1;
}

void LineSlopeInterceptInt(double& outSlope, double& outIntercept, int x1, int y1, int x2, int y2)
{
    const long long dy = static_cast<long long>(y2) - y1;
    const long long dx = static_cast<long long>(x2) - x1;
    outSlope = static_cast<double>(dy) / static_cast<double>(dx);
    outIntercept = y1 - outSlope * x1;
}

// ---- Intersections

namespace {

enum class LineKind { Vertical, Horizontal, Sloped };

} // namespace

int IntersectLines(CDbPoint& outPoint, const CDbPoint& a, const CDbPoint& b, const CDbPoint& c, const CDbPoint& d)
{
    double m1 = 0.0, b1 = 0.0, m2 = 0.0, b2 = 0.0;
    LineKind k1 = LineKind::Sloped, k2 = LineKind::Sloped;
    if (std::fabs(a.x - b.x) < kKovAxisTolerance) k1 = LineKind::Vertical;
    else if (std::fabs(a.y - b.y) < kKovAxisTolerance) k1 = LineKind::Horizontal;
    else LineSlopeIntercept(m1, b1, a.x, a.y, b.x, b.y);
    if (std::fabs(c.x - d.x) < kKovAxisTolerance) k2 = LineKind::Vertical;
    else if (std::fabs(c.y - d.y) < kSecondLineFlatTolerance) k2 = LineKind::Horizontal;
    else LineSlopeIntercept(m2, b2, c.x, c.y, d.x, d.y);

    switch (k1) {
    case LineKind::Sloped:
        if (k2 == LineKind::Sloped) {
            // Slopes closer than 0.1 count as parallel; snapping and joining rely on this.
            if (std::fabs(m2 - m1) < kParallelSlopeDifference) return 0;
            outPoint = {(b2 - b1) / (m1 - m2), (m2 * b1 - b2 * m1) / (m2 - m1)};
            return 1;
        }
        if (k2 == LineKind::Vertical) {
            outPoint = {c.x, m1 * c.x + b1};
            return 1;
        }
        if (m1 == 0.0) return 0;
        outPoint = {(c.y - b1) / m1, c.y};
        return 1;
    case LineKind::Vertical:
        if (k2 == LineKind::Vertical) return 0;
        if (k2 == LineKind::Horizontal) outPoint = {a.x, c.y};
        else outPoint = {a.x, m2 * a.x + b2};
        return 1;
    case LineKind::Horizontal:
        if (k2 == LineKind::Horizontal) return 0;
        if (k2 == LineKind::Vertical) {
            outPoint = {c.x, a.y};
            return 1;
        }
        if (m2 == 0.0) return 0;
        outPoint = {(a.y - b2) / m2, a.y};
        return 1;
    }
    return 0;
}

int IntersectLineCircle(CDbPoint outPoints[2], int& outCount, const CDbPoint& p1, const CDbPoint& p2,
                        const CDbPoint& centre, double radius)
{
    const double cx = centre.x, cy = centre.y;
    if (std::fabs(p1.x - p2.x) < kKovAxisTolerance) {
        const double e = std::fabs(p1.x - cx);
        if (e == std::fabs(radius)) {
            outPoints[0] = {p1.x, cy};
            outCount = 1;
            return 1;
        }
        if (e > std::fabs(radius)) return 0;
        const double h = std::sqrt(radius * radius - (p1.x - cx) * (p1.x - cx));
        outPoints[0] = {p1.x, cy + h};
        outPoints[1] = {p1.x, cy - h};
        outCount = 2;
        return 1;
    }
    if (std::fabs(p1.y - p2.y) < kKovAxisTolerance) {
        const double e = std::fabs(p1.y - cy);
        if (e == std::fabs(radius)) {
            outPoints[0] = {cx, p1.y};
            outCount = 1;
            return 1;
        }
        if (e > std::fabs(radius)) return 0;
        const double h = std::sqrt(radius * radius - (p1.y - cy) * (p1.y - cy));
        outPoints[0] = {cx + h, p1.y};
        outPoints[1] = {cx - h, p1.y};
        outCount = 2;
        return 1;
    }
    double m = 0.0, b = 0.0;
    LineSlopeIntercept(m, b, p1.x, p1.y, p2.x, p2.y);
    const double k = b - cy + m * cx;
    const double qa = m * m + 1.0;
    const double qb = 2.0 * m * k;
    const double disc = qb * qb - 4.0 * qa * (k * k - radius * radius);
    if (disc == 0.0) {
        const double x = cx - qb / (2.0 * qa);
        outPoints[0] = {x, cy + k + m * (x - cx)};
        outCount = 1;
        return 1;
    }
    if (disc < 0.0) return 0;
    const double root = std::sqrt(disc);
    const double u1 = (root - qb) / (2.0 * qa);
    const double u2 = (-qb - root) / (2.0 * qa);
    outPoints[0] = {cx + u1, cy + m * u1 + k};
    outPoints[1] = {cx + u2, cy + m * u2 + k};
    outCount = 2;
    return 1;
}

int IntersectCircles(CDbPoint outPoints[2], int& outCount, const CDbPoint& centre1, double r1,
                     const CDbPoint& centre2, double r2)
{
    const double d = PointDistance(centre1.x, centre1.y, centre2.x, centre2.y);
    if (d == 0.0) return 0;
    if (d > r1 + r2) {
        outCount = 0;
        return 0;
    }
    if (d == r1 + r2) {
        outPoints[0] = {(centre2.x * r1 + centre1.x * r2) / (r1 + r2), (centre2.y * r1 + centre1.y * r2) / (r1 + r2)};
        outCount = 1;
        return 1;
    }
    // One circle inside the other: no crossing.
    if (d < std::fabs(r1 - r2)) {
        outCount = 0;
        return 0;
    }
    const double ux = (centre2.x - centre1.x) / d, uy = (centre2.y - centre1.y) / d;
    // Signed distance of the chord's foot from the first centre along the centre line; the exact
    // crossing, not one of whole-millimetre sides.
    const double along = (d * d + r1 * r1 - r2 * r2) / (2.0 * d);
    // Clamped so a near-tangent pair gives its touching point instead of NaN.
    const double h = std::sqrt(std::max(0.0, r1 * r1 - along * along));
    const double fx = centre1.x + along * ux, fy = centre1.y + along * uy;
    if (h == 0.0) {
        // Touching from inside: one point, as a touch from outside gives.
        outPoints[0] = {fx, fy};
        outCount = 1;
        return 1;
    }
    // First on the side that is up on the screen when centre1 -> centre2 points right.
    outPoints[0] = {fx + h * uy, fy - h * ux};
    outPoints[1] = {fx - h * uy, fy + h * ux};
    outCount = 2;
    return 1;
}

namespace {

// Which side of the hatch line a point lies on: > 0 one side, < 0 the other, 0 on the line.
double hatchSide(const CDbPoint& p, double a, double b, double c, double d, int lineType)
{
    switch (lineType) {
    case 0: return p.x - a;
    case 1: return p.y - b;
    default: return p.y - (c * p.x + d);
    }
}

// Where the edge crosses the hatch line, for edges whose kind has no formula of its own.
CDbPoint interpolatedCrossing(const CDbPoint& s, const CDbPoint& e, double fs, double fe)
{
    const double t = fs / (fs - fe);
    return {s.x + t * (e.x - s.x), s.y + t * (e.y - s.y)};
}

} // namespace

int ClipLinesToPolygon(const CDbPointArray& edgeStarts, const CDbPointArray& edgeEnds, CDbPointArray& outCrossings,
                       double a, double b, double c, double d, int lineType)
{
    if (lineType < 0 || lineType > 2) return 0;
    std::vector<CDbPoint> crossings;
    // For a crossing at an edge's end (a vertex): the side of the edge's other end, else 0.
    std::vector<int> vertexSide;
    const size_t edges = std::min(edgeStarts.size(), edgeEnds.size());
    for (size_t i = 0; i < edges; ++i) {
        CDbPoint s = edgeStarts[i], e = edgeEnds[i];
        const double fs = hatchSide(s, a, b, c, d, lineType);
        const double fe = hatchSide(e, a, b, c, d, lineType);
        // Ends included, so a line along the outline's first or last row is found from either side;
        // an edge lying on the line crosses nothing itself.
        if ((fs > 0.0 && fe > 0.0) || (fs < 0.0 && fe < 0.0) || (fs == 0.0 && fe == 0.0)) continue;
        if (fs == 0.0 || fe == 0.0) {
            crossings.push_back(fs == 0.0 ? s : e);
            vertexSide.push_back((fs == 0.0 ? fe : fs) > 0.0 ? 1 : -1);
            continue;
        }

        const bool vertical = std::fabs(s.x - e.x) < kKovAxisTolerance;
        const bool horizontal = !vertical && std::fabs(s.y - e.y) < kKovAxisTolerance;
        if (vertical) {
            if (s.y > e.y) std::swap(s, e);
        } else if (s.x > e.x) {
            std::swap(s, e);
        }
        double slope = 0.0, intercept = 0.0;
        if (!vertical && !horizontal) {
            LineSlopeIntercept(slope, intercept, s.x, s.y, e.x, e.y);
            if (slope == 0.0) continue;
        }

        CDbPoint p;
        switch (lineType) {
        case 0:
            if (vertical) p = interpolatedCrossing(edgeStarts[i], edgeEnds[i], fs, fe);
            else if (horizontal) p = {a, s.y};
            else {
                const double y = slope * a + intercept;
                p = {(y - intercept) / slope, y};
            }
            break;
        case 1:
            if (horizontal) p = interpolatedCrossing(edgeStarts[i], edgeEnds[i], fs, fe);
            else if (vertical) p = {s.x, b};
            else {
                const double x = (b - intercept) / slope;
                p = {x, slope * x + intercept};
            }
            break;
        default:
            if (horizontal) {
                if (c == 0.0) continue;
                p = {(s.y - d) / c, s.y};
            } else if (vertical) {
                p = {s.x, c * s.x + d};
            } else {
                if (slope == c) continue;
                const double x = (d - intercept) / (slope - c);
                p = {x, c * x + d};
            }
            break;
        }
        crossings.push_back(p);
        vertexSide.push_back(0);
    }

    // A vertex met by both of its edges: once where the outline passes through the line, not at all
    // where it only touches it.
    for (size_t i = 0; i < crossings.size(); ++i) {
        if (vertexSide[i] == 0) continue;
        for (size_t j = i + 1; j < crossings.size(); ++j) {
            if (vertexSide[j] == 0 || crossings[i] != crossings[j]) continue;
            const bool through = vertexSide[i] != vertexSide[j];
            crossings.erase(crossings.begin() + static_cast<std::ptrdiff_t>(j));
            vertexSide.erase(vertexSide.begin() + static_cast<std::ptrdiff_t>(j));
            if (!through) {
                crossings.erase(crossings.begin() + static_cast<std::ptrdiff_t>(i));
                vertexSide.erase(vertexSide.begin() + static_cast<std::ptrdiff_t>(i));
                --i;
            } else {
                vertexSide[i] = 0;
            }
            break;
        }
    }

    // Crossings closer than 0.2 on both axes count as one touch of the outline: drop both. Removing
    // pairs keeps the count's parity, so the spans between crossings stay inside the outline.
    for (size_t i = 0; i < crossings.size();) {
        bool removed = false;
        for (size_t j = i + 1; j < crossings.size(); ++j) {
            if (std::fabs(crossings[i].x - crossings[j].x) < kSameCrossing &&
                std::fabs(crossings[i].y - crossings[j].y) < kSameCrossing) {
                crossings.erase(crossings.begin() + static_cast<std::ptrdiff_t>(j));
                crossings.erase(crossings.begin() + static_cast<std::ptrdiff_t>(i));
                removed = true;
                break;
            }
        }
        if (!removed) ++i;
    }
    if (crossings.empty()) return 0;

    if (lineType == 0)
        std::stable_sort(crossings.begin(), crossings.end(),
                         [](const CDbPoint& l, const CDbPoint& r) { return l.y < r.y; });
    else
        std::stable_sort(crossings.begin(), crossings.end(),
                         [](const CDbPoint& l, const CDbPoint& r) { return l.x < r.x; });
    outCrossings = std::move(crossings);
    return 1;
}

int CircleThroughThreePoints(CDbPointArray& outList, const CDbPoint& p1, const CDbPoint& p2, const CDbPoint& p3,
                             int n)
{
    outList.clear();
    const double x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y, x3 = p3.x, y3 = p3.y;
    const double a1 = 2 * x2 - 2 * x1, b1 = 2 * y2 - 2 * y1, c1 = x1 * x1 - x2 * x2 + y1 * y1 - y2 * y2;
    const double a2 = 2 * x3 - 2 * x1, b2 = 2 * y3 - 2 * y1, c2 = x1 * x1 - x3 * x3 + y1 * y1 - y3 * y3;
    const double det = b2 * a1 - a2 * b1;
    if (det == 0.0) return 0;
    const double cx = (c2 * b1 - b2 * c1) / det;
    const double cy = (c2 * a1 - a2 * c1) / -det;
    const double r = PointDistance(x3, y3, cx, cy);

    // The walk runs counter-clockwise on the screen; start and end swap so that it passes p3.
    bool swapEnds = false;
    if (x1 == x2) {
        swapEnds = (y2 > y1) ? (x3 > x1) : (x1 > x3);
    } else if (y1 == y2) {
        swapEnds = (x2 > x1) ? (y1 > y3) : (y3 > y1);
    } else {
        double m = 0.0, b = 0.0;
        LineSlopeIntercept(m, b, x1, y1, x2, y2);
        swapEnds = (y3 - m * x3 > b) ? (x1 > x2) : (x2 > x1);
    }
    const CDbPoint& start = swapEnds ? p2 : p1;
    const CDbPoint& end = swapEnds ? p1 : p2;
    const double startAngle = VectorAngle(cx, cy, start.x, start.y);
    const double endAngle = VectorAngle(cx, cy, end.x, end.y);
    double sweep = endAngle - startAngle;
    if (sweep < 0.0) sweep += 360.0;
    if (sweep == 0.0) return 0;

    const double step = n > 0 ? sweep / n : 0.0;
    double angle = startAngle;
    for (int k = 1; k < n; ++k) {
        angle += step;
        if (angle >= 360.0) angle -= 360.0;
        const CDbPoint p = PointAtAngle(cx, cy, angle, r);
        if (swapEnds) outList.insert(outList.begin(), p);
        else outList.push_back(p);
    }
    for (const CDbPoint& p : outList) {
        if (p.x > kLargestCoordinate || p.x < -kLargestCoordinate || p.y > kLargestCoordinate ||
            p.y < -kLargestCoordinate)
            return 0;
    }
    return 1;
}

// ---- Areas

double PolygonArea(const CDbPointArray& points)
{
    const size_t n = points.size();
    if (n < 3) return 0.0;
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double next = points[(i + 1) % n].y;
        const double prev = points[(i + n - 1) % n].y;
        sum += points[i].x * (next - prev);
    }
    return std::fabs(0.5 * sum);
}

namespace {

// Heron's product for lengths given in thousandths; clamped at 0 so lengths that miss being a triangle
// by rounding give a flat one, not NaN.
double heronRoot(int a, int b, int c)
{
    const double ka = a / 1000.0, kb = b / 1000.0, kc = c / 1000.0;
    const double s = (ka + kb + kc) / 2.0;
    return std::sqrt(std::max(0.0, s * (s - ka) * (s - kb) * (s - kc)));
}

} // namespace

double HeronArea(int a, int b, int c) { return heronRoot(a, b, c) * 1000.0; }

int HeronAreaInt(int a, int b, int c) { return truncToInt(heronRoot(a, b, c) * 1000000.0); }

// ---- Rounding and cutting

int RoundToInt(double x)
{
    // Judged by the first decimal only: 2.45 gives 2, 2.5 gives 3, -2.5 gives -3.
    if (std::isnan(x)) return 0;
    long long c = truncToInt64(std::clamp(x, -3e9, 3e9) * 10.0);
    const long long digit = (c < 0 ? -(c % 10) : c % 10);
    if (digit >= 5) c += (c >= 0 ? 10 : -10);
    const long long whole = c / 10;
    if (whole > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (whole < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(whole);
}

DevicePoint RoundPoint(double x, double y) { return {RoundToInt(x), RoundToInt(y)}; }

double RoundDecimals(double x, int n)
{
    // 10^17 is the largest power the 64-bit scale takes with room to spare; more decimals are noise.
    long long p = 1;
    for (int i = 0; i < std::min(n, 17); ++i) p *= 10;
    const double scaled = static_cast<double>(p) * x;
    if (std::isnan(scaled)) return 0.0;
    // Beyond 2^62 there is no decimal left to judge.
    if (std::fabs(scaled) > 4.6e18) return x;
    long long a = truncToInt64(scaled);
    const long long c = (a < 0 ? -(a % 10) : a % 10);
    if (c >= 5) a = (a >= 0) ? a + 10 - c : a + c - 10;
    else a = (a >= 0) ? a - c : a + c;
    return static_cast<double>(a) / static_cast<double>(p);
}

double ApplyMeasureTruncation(double x, int n, int truncationSetting)
{
    if (truncationSetting == 1 || std::isnan(x)) return x;
    const std::string text = kov::platform::formatFixed(x);
    const size_t dot = text.find('.');
    if (dot == std::string::npos) return x;
    const size_t keep = dot + 1 + static_cast<size_t>(std::max(0, n));
    return kov::platform::parseDouble(std::string_view(text).substr(0, std::min(keep, text.size())));
}

// ---- Texts

std::string InsertDigitSeparators(std::string_view text, int mode)
{
    if (mode == 0) return std::string(text);
    const size_t dot = text.find('.');
    const std::string fraction = dot == std::string_view::npos ? std::string() : std::string(text.substr(dot));
    std::string whole = kov::platform::formatInt(kov::platform::parseInt(text));
    // "-0.50": the integer part reads 0 and would lose the value's sign.
    const size_t lead = text.find_first_not_of(' ');
    if (whole == "0" && lead != std::string_view::npos && text[lead] == '-')
        whole = "-0";

    const char* separator = nullptr;
    switch (mode) {
    case 1: separator = ","; break;
    case 2: separator = " "; break;
    case 3: separator = "_"; break;
    default: break;
    }
    if (!separator) return whole + fraction;

    // A sign is no digit: "-100" keeps its group whole.
    const size_t firstDigit = (!whole.empty() && whole[0] == '-') ? 1 : 0;
    std::string grouped;
    size_t inGroup = 0;
    for (size_t i = whole.size(); i-- > firstDigit;) {
        grouped.insert(grouped.begin(), whole[i]);
        if (++inGroup == 3 && i > firstDigit) {
            grouped.insert(0, separator);
            inGroup = 0;
        }
    }
    return whole.substr(0, firstDigit) + grouped + fraction;
}

// ---- Colour

int PickColor(kov::platform::Questions& questions, std::uint32_t& outColour, std::uint32_t initialColour,
              int useInitial, std::array<std::uint32_t, 16>* customColours)
{
    // The custom colours the user defines stay for the next choice, black until then.
    static std::array<std::uint32_t, 16> sharedCustomColours{};
    const std::uint32_t start = useInitial == 1 ? initialColour : 0xFFFFFFu;
    const auto chosen = questions.chooseColor(start, customColours ? customColours : &sharedCustomColours);
    if (!chosen) return 0;
    outColour = *chosen;
    return 1;
}

// ---- Other

std::vector<double> BinomialRow(int count)
{
    // Row count - 1 of Pascal's triangle: count entries.
    if (count <= 0) return {};
    std::vector<double> row(static_cast<size_t>(count), 1.0);
    for (int r = 2; r < count; ++r)
        for (int i = r - 1; i > 0; --i) row[static_cast<size_t>(i)] += row[static_cast<size_t>(i) - 1];
    return row;
}

double BinomialCoefficient(int count, int index)
{
    if (count <= 0 || index < 0 || index >= count) return 0.0;
    return BinomialRow(count)[static_cast<size_t>(index)];
}

DeviceCorners RotatedBoxCorners(int anchorX, int anchorY, double width, double height, double widthAngle,
                                double heightAngle, int hAlign, int vAlign)
{
    DeviceCorners corners{};
    if (hAlign < 0 || hAlign > 2 || vAlign < 0 || vAlign > 2) return corners;
    const double wc = std::cos(widthAngle), ws = std::sin(widthAngle);
    const double hc = std::cos(heightAngle), hs = std::sin(heightAngle);
    const double hBack = hAlign * 0.5 * width;
    const double vBack = vAlign * 0.5 * height;
    // Each product is cut to whole pixels on its own, as the text drawer places its corners. Sums in
    // 64 bits, saturated to int: a huge box must not wrap around.
    using Wide = long long;
    const Wide firstX = Wide(anchorX) - truncToInt(hBack * wc) - truncToInt(vBack * hc);
    const Wide firstY = Wide(anchorY) + truncToInt(hBack * ws) + truncToInt(vBack * hs);
    const Wide wx = truncToInt(width * wc), wy = -Wide(truncToInt(width * ws));
    const Wide hx = truncToInt(height * hc), hy = -Wide(truncToInt(height * hs));
    auto point = [](Wide x, Wide y) {
        constexpr Wide lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
        return DevicePoint{static_cast<int>(std::clamp(x, lo, hi)), static_cast<int>(std::clamp(y, lo, hi))};
    };
    corners[0] = point(firstX, firstY);
    corners[1] = point(firstX + hx, firstY + hy);
    corners[2] = point(firstX + hx + wx, firstY + hy + wy);
    corners[3] = point(firstX + wx, firstY + wy);
    return corners;
}
