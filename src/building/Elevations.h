#pragma once

// Elevation views generated from the plan: where the elevation drawings of the fittings are found,
// the balcony segments the views are built from, and the roof outline's orientation codes.

#include "model/DbPoint.h"

#include <array>
#include <filesystem>
#include <string_view>

namespace kov::building {

class PartFileCache;

// The elevation drawings of the fittings ("ritutateg") and what became of them in one command.
struct ElevationLibrary {
    std::filesystem::path folder;
    PartFileCache* cache = nullptr;  // each drawing read once per command
    int unreadable = 0;              // fittings drawn as outlines because their drawing could not be read
};

// One straight piece of a balcony's outer line (left end first) with the balcony's height and
// mounting height.
struct ElevationSegment {
    CDbPoint q0, q1;
    double height = 0;
    double mounting = 0;
    double key = 0;                  // depth: the larger y of the two ends
};

// Orientation codes of a roof outline (its outline's parameter 0).
enum RoofCode : int { ROOF_RIDGE_X = 0, ROOF_RIDGE_Y = 1, ROOF_HIGH_TOP = 2, ROOF_HIGH_LEFT = 3, ROOF_HIGH_RIGHT = 4,
                      ROOF_HIGH_BOTTOM = 9 };
// The code from the rectangle's corners, the ridge-direction click and the eaves click.
int RoofOrientationCode(const CDbPoint& corner1, const CDbPoint& corner2, const CDbPoint& ridge, const CDbPoint& eaves);
// The line a code draws in the rectangle (the ridge, or a lean-to's high edge).
std::array<CDbPoint, 2> RoofCodeLine(int code, double minX, double minY, double maxX, double maxY);

// The direction labels, by direction 1-4.
inline constexpr std::array<std::string_view, 4> kElevationLabels = {"南側立面図", "北側立面図", "東側立面図",
                                                                     "西側立面図"};

} // namespace kov::building
