// The painter surface keeps laid-out lines, outlines and small decorated texts between calls: what
// it draws from them must be what it would draw afresh, wherever, in whatever colour.

#include "platform/PainterSurface.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace kov::platform;

namespace {

QImage blank(int w = 300, int h = 120)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

TextPath decorated(double x, double y, COLORREF fill, const std::string& text = "袋文字")
{
    TextPath t;
    t.anchor = {x, y};
    t.text = text;
    t.font.faceName = "ＭＳ ゴシック";
    t.font.height = 40;
    t.fillColor = fill;
    t.outlineColor = 0x000080;
    t.penWidth = 4;
    return t;
}

TEST(SurfaceTextCache, DecoratedTextIsTheSamePictureWhereverAndWhenever)
{
    QImage first = blank(), again = blank(), moved = blank();
    PainterSurface(first).drawTextPath(decorated(10, 20, 0x00C0FF));
    PainterSurface(again).drawTextPath(decorated(10, 20, 0x00C0FF));
    PainterSurface(moved).drawTextPath(decorated(110, 50, 0x00C0FF));
    EXPECT_EQ(first, again);
    EXPECT_EQ(first.copy(0, 0, 190, 70), moved.copy(100, 30, 190, 70));

    // Another colour, another warp or another text is never taken from the first.
    QImage red = blank(), warped = blank(), other = blank();
    PainterSurface(red).drawTextPath(decorated(10, 20, 0x0000FF));
    TextPath w = decorated(10, 20, 0x00C0FF);
    w.warp = std::array<DevicePointF, 4>{DevicePointF{20, 20}, {120, 20}, {10, 70}, {130, 70}};
    PainterSurface(warped).drawTextPath(w);
    PainterSurface(other).drawTextPath(decorated(10, 20, 0x00C0FF, "別文字"));
    EXPECT_NE(first, red);
    EXPECT_NE(first, warped);
    EXPECT_NE(first, other);
}

TEST(SurfaceTextCache, LargeDecoratedTextAndTurnedPaintersDrawDirectly)
{
    QImage big = blank(1400, 700);
    TextPath t = decorated(10, 10, 0x00C0FF);
    t.font.height = 600;  // beyond the picture cache
    PainterSurface(big).drawTextPath(t);
    int ink = 0;
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x) ink += big.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(ink, 50000);

    QImage turned = blank();
    {
        PainterSurface s(turned);
        s.painter().translate(150, 0);
        s.painter().rotate(90);
        s.drawTextPath(decorated(10, 20, 0x00C0FF));
    }
    // Drawn through the turn: the ink lies in a column below x = 150.
    int inkLeftOfTurn = 0, inkRightOfTurn = 0;
    for (int y = 0; y < turned.height(); ++y)
        for (int x = 0; x < turned.width(); ++x)
            if (turned.pixel(x, y) != qRgb(255, 255, 255)) (x <= 150 ? inkLeftOfTurn : inkRightOfTurn)++;
    EXPECT_GT(inkLeftOfTurn, 100);
    EXPECT_EQ(inkRightOfTurn, 0);
}

TEST(SurfaceTextCache, LinesLaidOutOnceDrawTheSameInEveryFont)
{
    QImage a = blank(), b = blank(), c = blank();
    TextStyle style;
    style.font.faceName = "ＭＳ ゴシック";
    style.font.height = 30;
    PainterSurface(a).textOut({10, 10}, "寸法 1,820", style);
    PainterSurface(b).textOut({10, 10}, "寸法 1,820", style);
    style.font.height = 24;
    PainterSurface(c).textOut({10, 10}, "寸法 1,820", style);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    // Letter spacing is part of the layout.
    QImage spaced = blank();
    style.font.height = 30;
    style.charExtra = 6;
    PainterSurface(spaced).textOut({10, 10}, "寸法 1,820", style);
    EXPECT_NE(a, spaced);
}

} // namespace
