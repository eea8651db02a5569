#include "model/DrawTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace {

DeviceTransform uniform(double scale, int originX = 0, int originY = 0)
{
    DeviceTransform t;
    t.originX = originX;
    t.originY = originY;
    t.scaleX.fill(scale);
    t.scaleY.fill(scale);
    return t;
}

struct MapCase {
    std::string name;
    double value;
    double scale;
    int origin;
    int expected;
};

void PrintTo(const MapCase& c, std::ostream* os) { *os << c.name; }

class DeviceMapping : public ::testing::TestWithParam<MapCase> {};

TEST_P(DeviceMapping, TruncatesAfterTheBias)
{
    const MapCase& c = GetParam();
    const DeviceTransform t = uniform(c.scale, c.origin, c.origin);
    DevicePoint p;
    ToDevicePoint(p, c.value, c.value, t, 0);
    EXPECT_EQ(p.x, c.expected);
    EXPECT_EQ(p.y, c.expected);
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Table, DeviceMapping,
    ::testing::Values(MapCase{"BiasCarriesUp", 2.995, 1.0, 0, 3},
                      MapCase{"BiasTooSmall", 2.985, 1.0, 0, 2},
                      MapCase{"NegativeTruncatesTowardZero", -0.5, 1.0, 0, 0},
                      MapCase{"NegativeWhole", -2.5, 1.0, 0, -2},
                      MapCase{"ScaleAndOrigin", 100.0, 0.5, 40, 90},
                      MapCase{"NegativeWithOrigin", -10.0, 0.25, 40, 38},
                      MapCase{"HugePositiveClamped", 1e300, 1.0, 0, kDeviceCoordLimit},
                      MapCase{"HugeNegativeClamped", -1e300, 1.0, 0, -kDeviceCoordLimit},
                      MapCase{"InfinityClamped", kInf, 1.0, 5, kDeviceCoordLimit},
                      MapCase{"NaNGoesToOrigin", kNaN, 1.0, 7, 7},
                      MapCase{"NaNScaleGoesToOrigin", 3.0, kNaN, 7, 7},
                      MapCase{"ClampedBeforeOriginAndAfter", 1e12, 1.0, 2000000000, kDeviceCoordLimit}),
    [](const auto& info) { return info.param.name; });

TEST(DeviceMapping, EachLayerGroupHasItsOwnScale)
{
    DeviceTransform t = uniform(1.0, 10, 20);
    t.scaleX[3] = 0.5;
    t.scaleY[3] = 0.25;
    EXPECT_EQ(ToDevicePoint(CDbPoint(100, 100), t, 3), (DevicePoint{60, 45}));
    EXPECT_EQ(ToDevicePoint(CDbPoint(100, 100), t, 2), (DevicePoint{110, 120}));

    DevicePoint p;
    ToDevicePointInt(p, 100, -100, t, 3);
    EXPECT_EQ(p, (DevicePoint{60, -4})); // −24.99 truncates toward zero
}

TEST(DeviceMapping, LayerGroupOutsideTheTableTakesTheNearestOne)
{
    DeviceTransform t = uniform(1.0);
    t.scaleX[0] = 2.0;
    t.scaleX[15] = 3.0;
    EXPECT_EQ(ToDevicePoint(CDbPoint(10, 0), t, -4).x, 20);
    EXPECT_EQ(ToDevicePoint(CDbPoint(10, 0), t, 99).x, 30);
}

TEST(DeviceMapping, NewTransformHasUnitPaperScaleAndZoom)
{
    const DeviceTransform t;
    EXPECT_EQ(t.paperScale, 1.0);
    EXPECT_EQ(t.zoom, 1.0);
}

struct ToleranceCase {
    std::string name;
    int dx;
    int dy;
    int pick;   // expected PointsWithinPickTolerance
    int snap;   // expected PointsWithinSnapTolerance
};

void PrintTo(const ToleranceCase& c, std::ostream* os) { *os << c.name; }

class Tolerances : public ::testing::TestWithParam<ToleranceCase> {
protected:
    void SetUp() override { ResetPickTolerances(); }
};

TEST_P(Tolerances, TestEachAxisAlone)
{
    const ToleranceCase& c = GetParam();
    EXPECT_EQ(PointsWithinPickTolerance(100, 200, 100 + c.dx, 200 + c.dy), c.pick);
    EXPECT_EQ(PointsWithinSnapTolerance(100, 200, 100 + c.dx, 200 + c.dy), c.snap);
    // Symmetric in the two points.
    EXPECT_EQ(PointsWithinPickTolerance(100 + c.dx, 200 + c.dy, 100, 200), c.pick);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Tolerances,
    ::testing::Values(ToleranceCase{"Same", 0, 0, 1, 1},
                      ToleranceCase{"EightInXIsOutsidePick", 8, 0, 0, 1},
                      ToleranceCase{"SevenInXIsInside", 7, 0, 1, 1},
                      ToleranceCase{"MinusSevenInYIsInside", 0, -7, 1, 1},
                      ToleranceCase{"TwelveIsInsideSnap", 12, 0, 0, 1},
                      ToleranceCase{"ThirteenIsOutsideSnap", 0, 13, 0, 0},
                      // A square, not a circle: distance about 11.4 yet outside on y.
                      ToleranceCase{"SevenAndNineIsOutsidePick", 7, 9, 0, 1},
                      ToleranceCase{"CornerOfTheSquareIsInside", 7, -7, 1, 1}),
    [](const auto& info) { return info.param.name; });

TEST(Tolerances, SingleValuesAndExtremes)
{
    ResetPickTolerances();
    EXPECT_EQ(IsWithinPickTolerance(10, 17), 1);
    EXPECT_EQ(IsWithinPickTolerance(10, 18), 0);
    EXPECT_EQ(IsWithinSnapTolerance(-6, 6), 1);
    EXPECT_EQ(IsWithinSnapTolerance(-7, 6), 0);
    // Far-apart values must not overflow into a small difference.
    EXPECT_EQ(IsWithinPickTolerance(std::numeric_limits<int>::min(), std::numeric_limits<int>::max()), 0);
}

TEST(Tolerances, HighResolutionScreensEnlargeBoth)
{
    ResetPickTolerances(192);
    EXPECT_EQ(g_nPickTolerance, 16);
    EXPECT_EQ(g_nSnapTolerance, 26);
    ResetPickTolerances(144);
    EXPECT_EQ(g_nPickTolerance, 8);
    EXPECT_EQ(g_nSnapTolerance, 13);
    ResetPickTolerances(150);
    EXPECT_EQ(g_nPickTolerance, 12);
    EXPECT_EQ(g_nSnapTolerance, 20);
    ResetPickTolerances();
}

} // namespace
