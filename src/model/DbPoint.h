#pragma once

#include <vector>

// A point in drawing millimetres. Equality is exact: two points match only when both coordinates do.
class CDbPoint {
public:
    double x = 0.0;
    double y = 0.0;

    CDbPoint() = default;
    CDbPoint(double px, double py) : x(px), y(py) {}

    bool operator==(const CDbPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CDbPoint& o) const { return !(*this == o); }
};

using CDbPointArray = std::vector<CDbPoint>;
