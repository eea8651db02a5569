#include "platform/Color.h"

#include <gtest/gtest.h>

namespace kov::platform {
namespace {

TEST(Colorref, ConvertsToAndFromQColor)
{
    struct Case {
        COLORREF value;
        QColor expected;
    };
    const Case cases[] = {
        {0x0000FF, QColor(255, 0, 0)},
        {0x00FF00, QColor(0, 255, 0)},
        {0xFF0000, QColor(0, 0, 255)},
        {0x123456, QColor(0x56, 0x34, 0x12)},
        {0xFF0000FF, QColor(255, 0, 0)},  // the high byte is no colour
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toQColor(c.value), c.expected) << std::hex << c.value;
        EXPECT_EQ(fromQColor(c.expected), c.value & 0xFFFFFF) << std::hex << c.value;
    }
    EXPECT_EQ(toQColor(0x0000FF, 128).alpha(), 128);
    EXPECT_EQ(rgbColor(255, 0, 0), 0x0000FFu);
}

TEST(Colorref, OpacityPercentToAlpha)
{
    EXPECT_EQ(alphaFromPercent(100), 255);
    EXPECT_EQ(alphaFromPercent(50), 127);
    EXPECT_EQ(alphaFromPercent(0), 0);
    EXPECT_EQ(alphaFromPercent(150), 255);
    EXPECT_EQ(alphaFromPercent(-5), 0);
}

} // namespace
} // namespace kov::platform
