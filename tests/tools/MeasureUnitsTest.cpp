// A measured value in the five units of the measuring result, two decimals or whole numbers, cut
// or rounded as the settings say.

#include "tools/MeasureUnits.h"

#include <gtest/gtest.h>

namespace {

using kov::tools::MeasureKind;
using kov::tools::MeasureTexts;
using Texts = std::array<std::string, 5>;

TEST(MeasureUnits, LengthsAreasAndAnglesInEveryUnit)
{
    struct Case {
        const char* name;
        MeasureKind kind;
        double value;
        int decimals;   // sokuteikurai
        int truncation; // app_sokuteisisyakiri
        Texts texts;
    };
    const Case cases[] = {
        {"LengthTwoDecimals", MeasureKind::Length, 1234.5, 2, 1, {"1.23m", "1234.50mm", "123.45cm", "0.69間", "4.15尺"}},
        {"LengthWhole", MeasureKind::Length, 1234.5, 0, 1, {"1m", "1234mm", "123cm", "0間", "4尺"}},
        {"WholeDropsTheFraction", MeasureKind::Length, 1999.9, 0, 1, {"1m", "1999mm", "199cm", "1間", "6尺"}},
        {"RoundedByItsText", MeasureKind::Length, 1999.999, 2, 1, {"2.00m", "2000.00mm", "200.00cm", "1.12間", "6.72尺"}},
        {"CutAfterTwoDecimals", MeasureKind::Length, 1999.999, 2, 0, {"1.99m", "1999.99mm", "199.99cm", "1.11間", "6.71尺"}},
        {"HalfUpWhenRounded", MeasureKind::Length, 1235.5, 2, 1, {"1.24m", "1235.50mm", "123.55cm", "0.69間", "4.15尺"}},
        {"HalfCutWhenCut", MeasureKind::Length, 1235.5, 2, 0, {"1.23m", "1235.50mm", "123.55cm", "0.69間", "4.15尺"}},
        {"OneTsubo", MeasureKind::Area, 3305785, 2, 1, {"3.31㎡", "3305785.00m㎡", "33057.85c㎡", "1.00坪", ""}},
        // Whole square metres write 0 as "0", never an empty number.
        {"AreaWholeZero", MeasureKind::Area, 0, 0, 1, {"0㎡", "0m㎡", "0c㎡", "0坪", ""}},
        {"RoomArea", MeasureKind::Area, 13249600, 2, 1, {"13.25㎡", "13249600.00m㎡", "132496.00c㎡", "4.01坪", ""}},
        {"Angle", MeasureKind::Angle, 90, 0, 1, {"90.000°", "90.000°", "90.000°", "90.000°", "90.000°"}},
        {"AngleCut", MeasureKind::Angle, 33.69006752, 2, 0, {"33.690°", "33.690°", "33.690°", "33.690°", "33.690°"}},
        // A rightward direction measures -0 degrees; no minus sign reaches the drawing.
        {"AngleNegativeZero", MeasureKind::Angle, -0.0, 2, 1, {"0.000°", "0.000°", "0.000°", "0.000°", "0.000°"}},
        {"AngleBelowHalfAThousandth", MeasureKind::Angle, -0.0004, 2, 1, {"0.000°", "0.000°", "0.000°", "0.000°", "0.000°"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MeasureTexts(c.kind, c.value, c.decimals, c.truncation).texts, c.texts);
    }
}

TEST(MeasureUnits, UnitNamesAndTheirListOrder)
{
    EXPECT_EQ(MeasureTexts(MeasureKind::Length, 1, 2, 1).units, (Texts{"m", "mm", "cm", "間", "尺"}));
    EXPECT_EQ(MeasureTexts(MeasureKind::Area, 1, 2, 1).units, (Texts{"㎡", "m㎡", "c㎡", "坪", ""}));
    EXPECT_EQ(MeasureTexts(MeasureKind::Angle, 1, 2, 1).units, (Texts{"度", "", "", "", ""}));
    // The list reads m, cm, mm, 間, 尺.
    EXPECT_EQ(kov::tools::kMeasureUnitListOrder, (std::array<int, 5>{0, 2, 1, 3, 4}));
}

} // namespace
