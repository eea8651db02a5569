#include "model/Geometry.h"

#include "platform/Questions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

::testing::AssertionResult near(const CDbPoint& actual, const CDbPoint& expected, double tol = 1e-9)
{
    if (std::fabs(actual.x - expected.x) <= tol && std::fabs(actual.y - expected.y) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") != (" << expected.x << ", "
                                         << expected.y << ")";
}

// The closed outline through the points, as edge start and end arrays.
void outline(const CDbPointArray& points, CDbPointArray& starts, CDbPointArray& ends)
{
    starts = points;
    ends.clear();
    for (size_t i = 0; i < points.size(); ++i) ends.push_back(points[(i + 1) % points.size()]);
}

} // namespace

TEST(Geometry, TruncationClampsInsteadOfOverflowing)
{
    struct Case { double value; int expected; };
    const Case cases[] = {
        {2.9, 2}, {-2.9, -2}, {kNaN, 0}, {1e300, kIntMax}, {-1e300, kIntMin},
        {std::numeric_limits<double>::infinity(), kIntMax},
    };
    for (const auto& c : cases) EXPECT_EQ(truncToInt(c.value), c.expected) << c.value;
    EXPECT_EQ(truncToInt64(-1e300), std::numeric_limits<long long>::min());
    EXPECT_EQ(truncToInt64(kNaN), 0);
}

TEST(Geometry, PointInSegmentBoxIsStrictAndExactOnAxisSegments)
{
    struct Case { const char* name; double x, y, ax, ay, bx, by; int expected; };
    const Case cases[] = {
        {"inside sloped box", 5, 5, 0, 0, 10, 10, 1},
        {"on the box edge", 0, 5, 0, 0, 10, 10, 0},
        {"end point", 10, 10, 0, 0, 10, 10, 0},
        {"on vertical segment", 3, 5, 3, 0, 3.00005, 10, 1},
        {"beside vertical segment", 3.00001, 5, 3, 0, 3, 10, 0},
        {"on horizontal segment reversed", 5, 2, 10, 2, 0, 2, 1},
        {"past horizontal segment", 11, 2, 10, 2, 0, 2, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(PointInSegmentBox(c.x, c.y, c.ax, c.ay, c.bx, c.by), c.expected) << c.name;

    const CDbPoint c1{0, 0}, c2{0, 10}, c3{20, 10}, c4{20, 0};
    EXPECT_EQ(PointStrictlyInRect(10, 5, c1, c2, c3, c4), 1);
    EXPECT_EQ(PointStrictlyInRect(20, 5, c1, c2, c3, c4), 0);
    EXPECT_EQ(PointStrictlyInRect(10, 10, c1, c2, c3, c4), 0);
}

TEST(Geometry, DistancesInDoublesAndIntegers)
{
    EXPECT_DOUBLE_EQ(PointDistance(0, 0, 3, -4), 5.0);
    EXPECT_DOUBLE_EQ(PointDistanceInt(-3, 0, 0, 4), 5.0);
    // Differences of far-apart pixels do not overflow.
    EXPECT_NEAR(PointDistanceInt(kIntMin, 0, kIntMax, 0), 4294967295.0, 1.0);
}

TEST(Geometry, VectorAngleRunsCounterClockwiseOnTheScreen)
{
    struct Case { const char* name; double x2, y2, expected; };
    const Case cases[] = {
        {"zero length", 0, 0, 0},       {"down", 0, 5, 270},          {"up", 0, -5, 90},
        {"almost left", -5, 0.00005, 180}, {"right", 5, 0, 0},        {"down right", 5, 5, 315},
        {"up right", 5, -5, 45},        {"up left", -5, -5, 135},     {"down left", -5, 5, 225},
    };
    for (const auto& c : cases) EXPECT_NEAR(VectorAngle(0, 0, c.x2, c.y2), c.expected, 1e-7) << c.name;
    EXPECT_EQ(VectorAngle(1, 1, 1, 1), 0.0);
}

TEST(Geometry, PointAtAngleIsExactOnTheAxes)
{
    EXPECT_EQ(PointAtAngle(0, 0, 90, 10), CDbPoint(0, -10));
    EXPECT_EQ(PointAtAngle(1, 1, 180, 10), CDbPoint(-9, 1));
    EXPECT_EQ(PointAtAngle(1, 1, 270, 10), CDbPoint(1, 11));
    // 360 takes the general formula: not exactly on the axis.
    const CDbPoint full = PointAtAngle(0, 0, 360, 10);
    EXPECT_NEAR(full.x, 10, 1e-8);
    EXPECT_NE(full.y, 0.0);
    EXPECT_TRUE(near(PointAtAngle(0, 0, 45, std::sqrt(2.0)), {1, -1}, 1e-9));
}

TEST(Geometry, PointTowardsAndPerpendicularFeet)
{
    EXPECT_EQ(PointTowards({2, 3}, {2, 3}, 4), CDbPoint(2, -1)); // same point: no division by zero
    EXPECT_EQ(PointTowards({0, 0}, {0, 10}, 4), CDbPoint(0, 4));
    EXPECT_EQ(PointTowards({0, 0}, {-10, 0}, 4), CDbPoint(-4, 0));
    EXPECT_TRUE(near(PointTowards({0, 0}, {3, 4}, 10), {6, 8}));
    EXPECT_TRUE(near(PointTowards({0, 0}, {3, 4}, -5), {-3, -4}));

    struct Case { const char* name; CDbPoint a, b, p, expected; };
    const Case feet[] = {
        {"vertical", {2, 0}, {2, 10}, {7, 3}, {2, 3}},
        {"horizontal", {0, 2}, {10, 2}, {7, 3}, {7, 2}},
        {"diagonal", {0, 0}, {10, 10}, {0, 10}, {5, 5}},
    };
    for (const auto& c : feet) EXPECT_TRUE(near(FootOfPerpendicular(c.a, c.b, c.p), c.expected)) << c.name;

    const Case parallel[] = {
        {"vertical", {2, 0}, {2, 10}, {7, 3}, {9, 3}},
        {"horizontal", {0, 2}, {10, 2}, {7, 3}, {7, 9}},
        {"diagonal", {0, 0}, {10, 10}, {0, 0}, {-5, 5}},
    };
    for (const auto& c : parallel) {
        const CDbPoint q = c.name == std::string("diagonal") ? CDbPoint(0, 10) : CDbPoint(9, 9);
        EXPECT_TRUE(near(PerpendicularFootOnParallel(c.a, c.b, c.p, q), c.expected)) << c.name;
    }
}

TEST(Geometry, IntersectLinesWithItsToleranceRules)
{
    struct Case { const char* name; CDbPoint a, b, c, d; int result; CDbPoint expected; };
    const Case cases[] = {
        {"slopes 1.0 and 1.05 count as parallel", {0, 0}, {10, 10}, {0, 1}, {20, 22}, 0, {}},
        {"slopes 1 and 1.2 cross", {0, 0}, {10, 10}, {0, 1}, {10, 13}, 1, {-5, -5}},
        {"vertical and horizontal", {3, 0}, {3, 10}, {0, 7}, {10, 7}, 1, {3, 7}},
        {"two verticals", {3, 0}, {3, 10}, {5, 0}, {5, 10}, 0, {}},
        {"two horizontals", {0, 1}, {9, 1}, {0, 2}, {9, 2}, 0, {}},
        {"vertical and sloped", {2, 0}, {2, 10}, {0, 0}, {10, 20}, 1, {2, 4}},
        {"horizontal and sloped", {0, 4}, {10, 4}, {0, 0}, {10, 20}, 1, {2, 4}},
        {"sloped and vertical", {0, 0}, {10, 20}, {2, 0}, {2, 10}, 1, {2, 4}},
        {"sloped and horizontal", {0, 0}, {10, 20}, {0, 4}, {10, 4}, 1, {2, 4}},
        // The second line is flat within 0.001, the first only within 0.0001.
        {"second line nearly flat", {0, 0}, {10, 20}, {0, 4}, {10, 4.0005}, 1, {2, 4}},
    };
    for (const auto& c : cases) {
        CDbPoint out{-99, -99};
        EXPECT_EQ(IntersectLines(out, c.a, c.b, c.c, c.d), c.result) << c.name;
        if (c.result) {
            EXPECT_TRUE(near(out, c.expected)) << c.name;
        } else {
            EXPECT_EQ(out, CDbPoint(-99, -99)) << c.name;
        }
    }
}

TEST(Geometry, IntersectLineCircleCountsTouchesOnce)
{
    struct Case { const char* name; CDbPoint p1, p2; double r; int result, count; CDbPoint first, second; };
    const Case cases[] = {
        {"vertical tangent", {5, -1}, {5, 1}, 5, 1, 1, {5, 0}, {}},
        {"vertical secant", {3, -1}, {3, 1}, 5, 1, 2, {3, 4}, {3, -4}},
        {"vertical miss", {6, -1}, {6, 1}, 5, 0, -7, {}, {}},
        {"horizontal secant", {-1, 4}, {1, 4}, 5, 1, 2, {3, 4}, {-3, 4}},
        {"horizontal tangent", {-1, -5}, {1, -5}, 5, 1, 1, {0, -5}, {}},
        {"diagonal secant", {-1, -1}, {2, 2}, std::sqrt(2.0), 1, 2, {1, 1}, {-1, -1}},
        {"diagonal miss", {0, 10}, {10, 20}, 5, 0, -7, {}, {}},
    };
    for (const auto& c : cases) {
        CDbPoint out[2];
        int count = -7;
        EXPECT_EQ(IntersectLineCircle(out, count, c.p1, c.p2, {0, 0}, c.r), c.result) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
        if (c.count >= 1) {
            EXPECT_TRUE(near(out[0], c.first)) << c.name;
        }
        if (c.count == 2) {
            EXPECT_TRUE(near(out[1], c.second)) << c.name;
        }
    }
}

TEST(Geometry, IntersectCirclesGivesExactCrossingsUpSideFirst)
{
    const double h59 = std::sqrt(5.9 * 5.9 - 25.0);
    struct Case { const char* name; CDbPoint c1; double r1; CDbPoint c2; double r2; int result, count;
                  CDbPoint first, second; };
    const Case cases[] = {
        {"3-4-5 triangle", {0, 0}, 3, {5, 0}, 4, 1, 2, {1.8, -2.4}, {1.8, 2.4}},
        // Whole-millimetre sides would put both points on the centre line, 3 mm off.
        {"radii 5.9 at distance 10", {0, 0}, 5.9, {10, 0}, 5.9, 1, 2, {5, -h59}, {5, h59}},
        {"foot behind the first centre", {0, 0}, 3, {2, 0}, 4, 1, 2, {-0.75, -std::sqrt(9 - 0.5625)},
         {-0.75, std::sqrt(9 - 0.5625)}},
        {"centre line pointing down", {0, 0}, 3, {0, 5}, 4, 1, 2, {2.4, 1.8}, {-2.4, 1.8}},
        {"outer touch", {0, 0}, 3, {5, 0}, 2, 1, 1, {3, 0}, {}},
        {"apart", {0, 0}, 3, {10, 0}, 2, 0, 0, {}, {}},
        {"contained", {0, 0}, 10, {1, 0}, 2, 0, 0, {}, {}},
        {"concentric", {1, 1}, 3, {1, 1}, 4, 0, -7, {}, {}},
        {"inner touch", {0, 0}, 10, {5, 0}, 5, 1, 1, {10, 0}, {}},
        {"inner touch, the small circle first", {5, 0}, 5, {0, 0}, 10, 1, 1, {10, 0}, {}},
    };
    for (const auto& c : cases) {
        CDbPoint out[2];
        int count = -7;
        EXPECT_EQ(IntersectCircles(out, count, c.c1, c.r1, c.c2, c.r2), c.result) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
        if (c.count >= 1) {
            EXPECT_TRUE(near(out[0], c.first)) << c.name;
        }
        if (c.count == 2) {
            EXPECT_TRUE(near(out[1], c.second)) << c.name;
        }
    }

    // Nearly touching circles give their touching point, never NaN.
    CDbPoint out[2];
    int count = 0;
    ASSERT_EQ(IntersectCircles(out, count, {0, 0}, 3, {7 - 1e-12, 0}, 4), 1);
    EXPECT_GE(count, 1);
    EXPECT_TRUE(near(out[0], {3, 0}, 1e-5));
    EXPECT_TRUE(near(out[count - 1], {3, 0}, 1e-5));
}

TEST(Geometry, ClipLinesToPolygonCutsOnceWhereTheOutlinePassesAVertex)
{
    struct Case { const char* name; CDbPointArray polygon; double a, b, c, d; int type; CDbPointArray expected; };
    const Case cases[] = {
        {"vertical line through a rectangle, by y", {{0, 0}, {10, 0}, {10, 5}, {0, 5}}, 4, 0, 0, 0, 0,
         {{4, 0}, {4, 5}}},
        {"horizontal line through a rectangle, by x", {{10, 0}, {10, 5}, {0, 5}, {0, 0}}, 0, 2, 0, 0, 1,
         {{0, 2}, {10, 2}}},
        {"sloped line through a square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0, 0, 1, 5, 2, {{0, 5}, {5, 10}}},
        {"through the top apex of a triangle", {{5, 0}, {10, 10}, {0, 10}}, 0, 0, 0, 0, 1, {}},
        {"through the bottom apex of a triangle", {{0, 0}, {10, 0}, {5, 10}}, 0, 10, 0, 0, 1, {}},
        // The middle line of a diamond passes through two vertices: each is one crossing.
        {"middle of a diamond", {{5, 0}, {10, 5}, {5, 10}, {0, 5}}, 0, 5, 0, 0, 1, {{0, 5}, {10, 5}}},
        {"vertical middle of a diamond", {{5, 0}, {10, 5}, {5, 10}, {0, 5}}, 5, 0, 0, 0, 0, {{5, 0}, {5, 10}}},
        // An indented side meets the line at a vertex; a notch from below splits the inside.
        {"concave outline through a vertex",
         {{0, 0}, {10, 0}, {10, 10}, {6, 10}, {5, 2}, {4, 10}, {0, 10}, {3, 5}}, 0, 5, 0, 0, 1,
         {{3, 5}, {4.625, 5}, {5.375, 5}, {10, 5}}},
        {"unknown line type", {{0, 0}, {10, 0}, {10, 5}, {0, 5}}, 4, 2, 0, 0, 3, {}},
        {"line outside", {{0, 0}, {10, 0}, {10, 5}, {0, 5}}, 0, 8, 0, 0, 1, {}},
        // A line along the first or the last row of the outline runs along that edge.
        {"along the top edge", {{0, 0}, {10, 0}, {10, 5}, {0, 5}}, 0, 0, 0, 0, 1, {{0, 0}, {10, 0}}},
        {"along the bottom edge", {{0, 0}, {10, 0}, {10, 5}, {0, 5}}, 0, 5, 0, 0, 1, {{0, 5}, {10, 5}}},
        {"along the right edge", {{0, 0}, {10, 0}, {10, 5}, {0, 5}}, 10, 0, 0, 0, 0, {{10, 0}, {10, 5}}},
    };
    for (const auto& c : cases) {
        CDbPointArray starts, ends;
        outline(c.polygon, starts, ends);
        CDbPointArray crossings;
        EXPECT_EQ(ClipLinesToPolygon(starts, ends, crossings, c.a, c.b, c.c, c.d, c.type), c.expected.empty() ? 0 : 1)
            << c.name;
        ASSERT_EQ(crossings.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < crossings.size(); ++i) EXPECT_TRUE(near(crossings[i], c.expected[i])) << c.name << " " << i;
    }
}

TEST(Geometry, ClipLinesToPolygonDropsCrossingsCloserThanAFifth)
{
    // A sliver 0.1 wide: its two crossings count as one touch and go together.
    CDbPointArray starts, ends, crossings;
    outline({{0, 0}, {0.1, 0}, {0.1, 10}, {0, 10}}, starts, ends);
    EXPECT_EQ(ClipLinesToPolygon(starts, ends, crossings, 0, 5, 0, 0, 1), 0);
    EXPECT_TRUE(crossings.empty());
}

TEST(Geometry, CircleThroughThreePointsListsFromTheFirstPoint)
{
    CDbPointArray list;
    ASSERT_EQ(CircleThroughThreePoints(list, {0, 0}, {10, 0}, {5, 5}, 4), 1);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_TRUE(near(list[0], PointAtAngle(5, 0, 225, 5)));
    EXPECT_TRUE(near(list[1], {5, 5}));
    EXPECT_TRUE(near(list[2], PointAtAngle(5, 0, 315, 5)));

    // Given the other way round the walk is exchanged, yet the list still starts beside the first point.
    ASSERT_EQ(CircleThroughThreePoints(list, {10, 0}, {0, 0}, {5, 5}, 4), 1);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_TRUE(near(list[0], PointAtAngle(5, 0, 315, 5)));
    EXPECT_TRUE(near(list[2], PointAtAngle(5, 0, 225, 5)));

    // The arc passes the third point on the other side too.
    ASSERT_EQ(CircleThroughThreePoints(list, {0, 0}, {10, 0}, {5, -5}, 2), 1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(near(list[0], {5, -5}));

    // Sloped chord: the middle of the arc is the third point again.
    ASSERT_EQ(CircleThroughThreePoints(list, {0, 0}, {10, 10}, {10, 0}, 2), 1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(near(list[0], {10, 0}, 1e-8));

    EXPECT_EQ(CircleThroughThreePoints(list, {0, 0}, {5, 5}, {10, 10}, 4), 0);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(CircleThroughThreePoints(list, {0, 0}, {10, 0}, {5, 5}, 1), 1);
    EXPECT_TRUE(list.empty());

    // An arc round a circle of radius 20 km reaches beyond the largest coordinate: refused, the
    // points kept.
    const double r = 2e7;
    EXPECT_EQ(CircleThroughThreePoints(list, PointAtAngle(0, r, 95, r), PointAtAngle(0, r, 85, r),
                                       PointAtAngle(0, r, 270, r), 4),
              0);
    EXPECT_EQ(list.size(), 3u);
}

TEST(Geometry, AreasOfPolygonsAndTriangles)
{
    EXPECT_EQ(PolygonArea({{0, 0}, {1, 1}}), 0.0);
    EXPECT_DOUBLE_EQ(PolygonArea({{0, 0}, {1, 0}, {1, 1}, {0, 1}}), 1.0);
    EXPECT_DOUBLE_EQ(PolygonArea({{0, 0}, {0, 1}, {1, 1}, {1, 0}}), 1.0);
    EXPECT_DOUBLE_EQ(PolygonArea({{0, 0}, {4, 0}, {0, 3}}), 6.0);

    struct Case { const char* name; int a, b, c; double area; int areaInt; };
    const Case cases[] = {
        {"3-4-5", 3000, 4000, 5000, 6000.0, 6000000},
        {"flat", 5, 5, 10, 0.0, 0},
        {"no triangle", 1000, 1000, 2001, 0.0, 0}, // clamped, not NaN
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(HeronArea(c.a, c.b, c.c), c.area, 1e-6) << c.name;
        EXPECT_EQ(HeronAreaInt(c.a, c.b, c.c), c.areaInt) << c.name;
    }
    EXPECT_EQ(HeronAreaInt(kIntMax, kIntMax, kIntMax), kIntMax);
}

TEST(Geometry, RoundToIntJudgesTheFirstDecimalOnly)
{
    struct Case { double x; int expected; };
    const Case cases[] = {
        {2.45, 2}, {2.5, 3}, {-2.5, -3}, {-2.45, -2}, {0.0, 0}, {7.96, 8}, {kNaN, 0}, {1e300, kIntMax},
        {-1e300, kIntMin}, {2147483647.4, kIntMax},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundToInt(c.x), c.expected) << c.x;
    EXPECT_EQ(RoundPoint(2.5, -2.45), (DevicePoint{3, -2}));
}

TEST(Geometry, RoundDecimalsKeepsOneDecimalLessThanItJudges)
{
    struct Case { double x; int n; double expected; };
    const Case cases[] = {
        {1.234, 2, 1.2}, {1.25, 2, 1.3}, {6.23, 2, 6.2}, {-1.25, 2, -1.3}, {-1.234, 2, -1.2}, {0.05, 2, 0.1},
        {12.5, 1, 13}, {3.14159, 3, 3.14}, {kNaN, 2, 0.0}, {1e300, 2, 1e300}, {2.5, 40, 2.5},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(RoundDecimals(c.x, c.n), c.expected) << c.x << " n=" << c.n;
}

TEST(Geometry, ApplyMeasureTruncationCutsTowardZero)
{
    struct Case { double x; int n; int setting; double expected; };
    const Case cases[] = {
        {1.2399, 2, 0, 1.23}, {1.2399, 2, 1, 1.2399}, {-1.2399, 2, 0, -1.23}, {5.0, 0, 0, 5.0},
        {7.987654321, 3, 0, 7.987}, {2.5, 9, 0, 2.5},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(ApplyMeasureTruncation(c.x, c.n, c.setting), c.expected) << c.x;
    EXPECT_TRUE(std::isnan(ApplyMeasureTruncation(kNaN, 2, 0)));
}

TEST(Geometry, InsertDigitSeparatorsGroupsTheIntegerPart)
{
    struct Case { const char* text; int mode; const char* expected; };
    const Case cases[] = {
        {"1000", 2, "1 000"},       {"999.99", 1, "999.99"},     {"1234567.5", 1, "1,234,567.5"},
        {"1234567", 3, "1_234_567"}, {"1234567", 0, "1234567"},  {"001234", 4, "1234"},
        {"123456", 1, "123,456"},   {"0.25", 1, "0.25"},          {"-1000", 1, "-1,000"},
        {"-100", 1, "-100"},        {"-0.50", 1, "-0.50"},       {"-0.50", 4, "-0.50"},
    };
    for (const auto& c : cases) EXPECT_EQ(InsertDigitSeparators(c.text, c.mode), c.expected) << c.text;
}

TEST(Geometry, BinomialCoefficientsStayExactPastTheIntRange)
{
    struct Case { int count, index; double expected; };
    const Case cases[] = {
        {1, 0, 1},   {5, 0, 1},   {5, 2, 6},   {5, 4, 1},
        {0, 0, 0},   {5, 5, 0},   {5, 6, 0},   {5, -1, 0}, // outside the row
        {41, 20, 137846528820.0}, // C(40, 20) is beyond 32-bit integers
    };
    for (const auto& c : cases) EXPECT_EQ(BinomialCoefficient(c.count, c.index), c.expected) << c.count << "," << c.index;
    EXPECT_TRUE(std::isfinite(BinomialCoefficient(200, 100)));
}

TEST(Geometry, RotatedBoxCornersAroundTheAnchor)
{
    const double deg = kKovPi / 180.0;
    struct Case { const char* name; double width, height, widthAngle, heightAngle; int h, v; DeviceCorners expected; };
    const Case cases[] = {
        {"left top", 40, 20, 0, 270 * deg, 0, 0, {{{100, 50}, {100, 70}, {140, 70}, {140, 50}}}},
        {"centre middle", 40, 20, 0, 270 * deg, 1, 1, {{{80, 40}, {80, 60}, {120, 60}, {120, 40}}}},
        {"right bottom", 40, 20, 0, 270 * deg, 2, 2, {{{60, 30}, {60, 50}, {100, 50}, {100, 30}}}},
        {"odd width halves cut", 41, 20, 0, 270 * deg, 1, 0, {{{80, 50}, {80, 70}, {121, 70}, {121, 50}}}},
        {"turned up", 40, 20, 90 * deg, 0, 0, 0, {{{100, 50}, {120, 50}, {120, 10}, {100, 10}}}},
        {"bad code", 40, 20, 0, 270 * deg, 3, 0, {}},
        {"huge width saturates", 1e12, 0, 0, 0, 0, 0, {{{100, 50}, {100, 50}, {kIntMax, 50}, {kIntMax, 50}}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RotatedBoxCorners(100, 50, c.width, c.height, c.widthAngle, c.heightAngle, c.h, c.v), c.expected)
            << c.name;
}

TEST(Geometry, PickColorStartsOnTheGivenColourOrWhite)
{
    using kov::platform::ScriptedQuestions;
    ScriptedQuestions questions;
    questions.pickColor(0x00FF00).pickColor(0x0000FF).pickColor(std::nullopt);
    std::uint32_t colour = 7;
    EXPECT_EQ(PickColor(questions, colour, 0x123456, 1), 1);
    EXPECT_EQ(colour, 0x00FF00u);
    EXPECT_EQ(PickColor(questions, colour, 0x123456, 0), 1);
    EXPECT_EQ(colour, 0x0000FFu);
    EXPECT_EQ(PickColor(questions, colour, 0x123456, 1), 0); // cancelled
    EXPECT_EQ(colour, 0x0000FFu);
    ASSERT_EQ(questions.asked().size(), 3u);
    EXPECT_EQ(questions.asked()[0].initialColor, 0x123456u);
    EXPECT_EQ(questions.asked()[1].initialColor, 0xFFFFFFu);
}
