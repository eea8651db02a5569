#pragma once

// A measured value written in the five units the measuring result offers: lengths in metres,
// millimetres, centimetres, 間 and 尺; areas in square metres, square millimetres, square
// centimetres and 坪; angles in degrees. The unit index is the one the settings store; the result's
// list shows the units in the order 0, 2, 1, 3, 4.

#include <array>
#include <string>

namespace kov::tools {

enum class MeasureKind { Length, Area, Angle };

struct MeasureTextSet {
    std::array<std::string, 5> texts; // by unit index
    std::array<std::string, 5> units; // the unit names, by unit index
};

// How the numbers are written: `decimals` is the setting "sokuteikurai" (0 whole numbers, any other
// value two decimals; angles always three), `truncation` the setting "app_sokuteisisyakiri" (1 the
// value is rounded by its text, otherwise cut after the decimals first). Whole numbers drop the
// fraction toward zero.
MeasureTextSet MeasureTexts(MeasureKind kind, double value, int decimals, int truncation);

// The unit index of each line of the result's unit list.
inline constexpr std::array<int, 5> kMeasureUnitListOrder{0, 2, 1, 3, 4};

} // namespace kov::tools
