#pragma once

// Plane geometry on drawing millimetres (y down on the screen, angles in degrees counter-clockwise as
// seen on the screen), rounding of measured values and digit grouping. Stateless free functions.

#include "model/DbPoint.h"
#include "model/DrawTransform.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The angle constants every drawing computation uses; results elsewhere depend on these digits.
inline constexpr double kKovPi = 3.1415926535;
inline constexpr double kKovTwoPi = 6.283185307;
// Coordinates closer than this count as the same when a line is judged vertical or horizontal.
inline constexpr double kKovAxisTolerance = 0.0001;

namespace kov::platform {
class Questions;
}

// The corners of a box in device pixels: first (start of the width edge, top side), second (below the
// first), third (end of the width edge, bottom side), fourth (end of the width edge, top side).
using DeviceCorners = std::array<DevicePoint, 4>;

// Truncation toward zero that never leaves the target range: NaN gives 0, out-of-range values clamp.
int truncToInt(double value);
long long truncToInt64(double value);

// ---- Tests
int PointInSegmentBox(double x, double y, double ax, double ay, double bx, double by);
// Corners in the order (minX, minY), (minX, maxY), (maxX, maxY), (maxX, minY).
int PointStrictlyInRect(double x, double y, const CDbPoint& c1, const CDbPoint& c2, const CDbPoint& c3,
                        const CDbPoint& c4);

// ---- Distances, directions and points
double PointDistance(double x1, double y1, double x2, double y2);
double PointDistanceInt(int x1, int y1, int x2, int y2);
// Direction of P1->P2 in [0, 360); a zero-length vector gives 0.
double VectorAngle(double x1, double y1, double x2, double y2);
CDbPoint PointAtAngle(double x, double y, double angle, double distance);
CDbPoint PointTowards(const CDbPoint& p, const CDbPoint& q, double distance);
CDbPoint FootOfPerpendicular(const CDbPoint& a, const CDbPoint& b, const CDbPoint& p);
CDbPoint PerpendicularFootOnParallel(const CDbPoint& a, const CDbPoint& b, const CDbPoint& p, const CDbPoint& q);
// No guard against vertical lines: callers test for them first.
void LineSlopeIntercept(double& outSlope, double& outIntercept, double x1, double y1, double x2, double y2);
void LineSlopeInterceptInt(double& outSlope, double& outIntercept, int x1, int y1, int x2, int y2);

// ---- Intersections (lines are infinite)
int IntersectLines(CDbPoint& outPoint, const CDbPoint& a, const CDbPoint& b, const CDbPoint& c,
                   const CDbPoint& d);
int IntersectLineCircle(CDbPoint outPoints[2], int& outCount, const CDbPoint& p1, const CDbPoint& p2,
                        const CDbPoint& centre, double radius);
int IntersectCircles(CDbPoint outPoints[2], int& outCount, const CDbPoint& centre1, double r1,
                     const CDbPoint& centre2, double r2);
// Crossings of one hatch line (type 0: x = a, 1: y = b, 2: y = c*x + d) with a closed outline given as
// edge start and end points, sorted along the line. outCrossings is replaced when any remain.
int ClipLinesToPolygon(const CDbPointArray& edgeStarts, const CDbPointArray& edgeEnds,
                       CDbPointArray& outCrossings, double a, double b, double c, double d, int lineType);
// The inner points of the arc from p1 to p2 through p3 in n equal angular steps, listed from p1's side.
int CircleThroughThreePoints(CDbPointArray& outList, const CDbPoint& p1, const CDbPoint& p2,
                             const CDbPoint& p3, int n);

// ---- Areas
double PolygonArea(const CDbPointArray& points);
double HeronArea(int a, int b, int c);
int HeronAreaInt(int a, int b, int c);

// ---- Rounding and cutting
int RoundToInt(double x);
DevicePoint RoundPoint(double x, double y);
double RoundDecimals(double x, int n);
// truncationSetting is the application setting "app_sokuteisisyakiri": 1 leaves x unchanged, anything
// else cuts x toward zero after n decimals.
double ApplyMeasureTruncation(double x, int n, int truncationSetting);

// ---- Texts
// Mode 0 unchanged; 1 ",", 2 " ", 3 "_" between groups of three digits of the integer part.
std::string InsertDigitSeparators(std::string_view text, int mode);

// ---- Colour
// Runs the colour chooser on initialColour when useInitial is 1, otherwise on white. Without a table
// of the caller's, the sixteen custom colours are one table kept for the life of the process.
// 1 with the colour in outColour, 0 when cancelled.
int PickColor(kov::platform::Questions& questions, std::uint32_t& outColour, std::uint32_t initialColour,
              int useInitial, std::array<std::uint32_t, 16>* customColours = nullptr);

// ---- Other
// Entry `index` of row count - 1 of the binomial triangle; 0 outside the row. Doubles, so long rows
// stay finite.
double BinomialCoefficient(int count, int index);
// All count entries of that row at once.
std::vector<double> BinomialRow(int count);
// Angles in radians; alignment codes 0 left/top, 1 middle, 2 right/bottom.
DeviceCorners RotatedBoxCorners(int anchorX, int anchorY, double width, double height, double widthAngle,
                                double heightAngle, int hAlign, int vAlign);
