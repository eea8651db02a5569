#pragma once

// The smooth-curve engine: a quintic span between each pair of samples, shaped by finite-difference
// slopes and curvatures of the neighbouring samples. One coordinate at a time.

#include <array>
#include <vector>

// The coefficients c0..c5 of c0 + c1 t + ... + c5 t^5 on 0 <= t <= 1.
using QuinticSpan = std::array<double, 6>;

// Slope and curvature estimates at sample i from the samples i-2 .. i+2.
double SampleSlope(const std::vector<double>& v, int i);
double SampleCurvature(const std::vector<double>& v, int i);

QuinticSpan MakeQuinticSpan(double p0, double p1, double d0, double d1, double k0, double k1);
double EvalQuintic(const QuinticSpan& span, double t);

// Mode 0 wraps the series that holds `declared` samples: slots declared and declared+1 take v0 and v1,
// slots declared+2 .. declared+5 take v2. The series grows as needed.
void PadSampleSeries(std::vector<double>& series, int declared, int mode);

// Pads the series (declared samples), then samples the spans firstSpan .. endSpan at steps points each:
// sample i of span s goes to outSamples[s * steps + i], so neighbouring spans share their joint.
// outSamples grows as needed.
void SmoothCurve(int firstSpan, int endSpan, std::vector<double>& series, int declared,
                 std::vector<double>& outSamples, int steps);
