// The relative input and the wall thickness panel: what their forms compute from what is typed.

#include "dialogs/RelativeInputDialog.h"
#include "dialogs/WallThicknessDialog.h"
#include "model/PlotInfo.h"

#include <gtest/gtest.h>

namespace {

using kov::dialogs::RelativeInputForm;
using kov::dialogs::WallThicknessForm;

TEST(RelativeInput, TypedOffsetsAndAngles)
{
    struct Case {
        const char* dx;
        const char* dy;       // upwards positive
        const char* angle;
        const char* distance;
        CDbPoint expected;    // drawing millimetres, y downwards
    };
    const Case cases[] = {
        {"500", "300", "0", "0", {1500, 1700}},
        {"0", "0", "90", "100", {1000, 1900}},
        {"0", "0", "180", "100", {900, 2000}},
        {"0", "0", "270", "100", {1000, 2100}},
        {"0", "0", "0", "100", {1000, 2000}},      // angle 0 adds nothing
        {"0", "0", "360", "100", {1000, 2000}},    // out of range
        {"0", "0", "-360", "100", {1000, 2000}},
        {"0", "0", "45", "-5", {1000, 2000}},      // no distance
        {"", "abc", "0", "0", {1000, 2000}},       // no number reads as 0
    };
    for (const Case& c : cases) {
        RelativeInputForm f({1000, 2000});
        f.m_strDx = c.dx;
        f.m_strDy = c.dy;
        f.m_strAngle = c.angle;
        f.m_strDistance = c.distance;
        EXPECT_EQ(f.OnOK(), c.expected) << c.dx << ' ' << c.dy << ' ' << c.angle << ' ' << c.distance;
    }
    RelativeInputForm f({1000, 2000});
    EXPECT_EQ(f.BaseYText(), "-2000.00");
    f.m_strAngle = "30";
    f.m_strDistance = "100";
    EXPECT_EQ(f.ResultXText(), "1086.60");
    EXPECT_EQ(f.ResultYText(), "-1950.00");
    EXPECT_NEAR(f.OnOK().y, 1950, 1e-6);
    EXPECT_EQ(RelativeInputForm::AngleChoices().back(), "165");
}

TEST(WallThickness, TypingTakesEachValueInRange)
{
    CPlotInfo plot;
    WallThicknessForm f(plot, false);
    EXPECT_EQ(f.InitialText(), "50.0");
    for (const char* text : {"1", "12", "120"})
        f.OnThicknessChange(text);
    EXPECT_EQ(plot.PlotWallWide, 120);
    f.OnThicknessChange("10000");
    f.OnThicknessChange("100000");
    EXPECT_EQ(plot.PlotWallWide, 10000);
    f.OnThicknessChange("");
    f.OnThicknessChange("-");
    f.OnThicknessChange("-5");
    EXPECT_EQ(plot.PlotWallWide, 0);
}

} // namespace
