#include "tools/MeasureUnits.h"

#include "model/Geometry.h"
#include "platform/NumberText.h"

#include <cmath>

namespace kov::tools {

namespace {

// 間 and 尺 by the fixed factors of the program: 0.56 間 to the metre, 6 尺 to the 間.
constexpr double kKenPerMetre = 0.56;
constexpr double kShakuPerKen = 6.0;
constexpr double kTsuboPerSquareMetre = 0.3025;

// Divided first, then multiplied, as the units are defined: 間 from metres, 尺 from 間, 坪 from m².
struct Unit {
    const char* name;
    double divisor;
    double factor;
};

constexpr std::array<Unit, 5> kLengthUnits{{{"m", 1000, 1},
                                            {"mm", 1, 1},
                                            {"cm", 10, 1},
                                            {"間", 1000, kKenPerMetre},
                                            {"尺", 1000, kKenPerMetre * kShakuPerKen}}};
constexpr std::array<Unit, 4> kAreaUnits{{{"㎡", 1000000, 1},
                                          {"m㎡", 1, 1},
                                          {"c㎡", 100, 1},
                                          {"坪", 1000000, kTsuboPerSquareMetre}}};

std::string number(double value, int decimals, int truncation)
{
    double v = ApplyMeasureTruncation(value, decimals, truncation);
    // A value that writes as zero is written without a sign: a rightward angle comes out as -0.
    if (std::fabs(v) < 0.5 * std::pow(10.0, -decimals))
        v = 0;
    if (decimals == 0) return kov::platform::formatInt(truncToInt64(v));
    return kov::platform::formatFixed(v, decimals);
}

} // namespace

MeasureTextSet MeasureTexts(MeasureKind kind, double value, int decimals, int truncation)
{
    MeasureTextSet out;
    const int places = decimals == 0 ? 0 : 2;
    switch (kind) {
    case MeasureKind::Length:
        for (std::size_t i = 0; i < kLengthUnits.size(); ++i) {
            out.units[i] = kLengthUnits[i].name;
            out.texts[i] = number(value / kLengthUnits[i].divisor * kLengthUnits[i].factor, places, truncation) + out.units[i];
        }
        break;
    case MeasureKind::Area:
        // The fifth unit has no name and no text.
        for (std::size_t i = 0; i < kAreaUnits.size(); ++i) {
            out.units[i] = kAreaUnits[i].name;
            out.texts[i] = number(value / kAreaUnits[i].divisor * kAreaUnits[i].factor, places, truncation) + out.units[i];
        }
        break;
    case MeasureKind::Angle:
        // One named unit; every entry shows the same text.
        out.units[0] = "度";
        out.texts.fill(number(value, 3, truncation) + "°");
        break;
    }
    return out;
}

} // namespace kov::tools
