#include "platform/TextOutline.h"

#include <gtest/gtest.h>

using namespace kov::platform;

TEST(SurfaceTextOutline, VerticalWritingPlacesEachCharacter)
{
    struct Case {
        char32_t c;
        bool upright;
        bool shifted;
    };
    const Case cases[] = {
        {U'漢', true, false}, {U'あ', true, false},  {U'ッ', true, true},   {U'。', true, true},
        {U'、', true, true},  {U'ー', false, false}, {U'「', false, false}, {U'（', false, false},
        {U'A', false, false}, {U'ｱ', false, false},  {U'～', false, false},
    };
    for (const Case& c : cases) {
        const VerticalGlyph v = verticalGlyph(c.c);
        EXPECT_EQ(v.upright, c.upright) << uint32_t(c.c);
        EXPECT_EQ(v.shift > 0, c.shifted) << uint32_t(c.c);
    }
}

TEST(SurfaceTextOutline, LinesStackDownOrAcrossAndWarpKeepsTheCorners)
{
    TextPath text;
    text.font.faceName = "ＭＳ ゴシック";
    text.font.height = -20;
    text.anchor = {100, 50};
    text.text = "漢字\r\n漢字";
    const DeviceRectF across = textOutlineBounds(text);
    EXPECT_GT(across.height, 30);  // two rows
    EXPECT_LT(across.width, 45);
    EXPECT_GE(across.x, 99);
    EXPECT_GE(across.y, 49);

    text.font.faceName = "@ＭＳ ゴシック";
    const DeviceRectF down = textOutlineBounds(text);
    EXPECT_GT(down.width, 30);  // two columns, the second to the right
    EXPECT_LT(down.height, 45);

    text.warp = std::array<DevicePointF, 4>{DevicePointF{0, 0}, DevicePointF{10, 0}, DevicePointF{0, 10},
                                            DevicePointF{10, 10}};
    const QRectF warped = drawnTextOutline(text).boundingRect();
    EXPECT_GE(warped.left(), -0.01);
    EXPECT_LE(warped.right(), 10.01);
    EXPECT_LE(warped.bottom(), 10.01);
}
