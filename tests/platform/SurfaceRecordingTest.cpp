#include "platform/RecordingSurface.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace kov::platform {
namespace {

const Pen kRedPen{PenStyle::Solid, 1, 0x0000FF};
const Pen kDashPen{PenStyle::Dash, 1, 0x000000};

Font gothic(int height, int escapement = 0)
{
    Font f;
    f.faceName = "ＭＳ ゴシック";
    f.height = height;
    f.escapement = escapement;
    return f;
}

struct DumpCase {
    const char* name;
    std::function<void(Surface&)> call;
    const char* expected;
};

TEST(RecordingSurface, DumpsEachCallOnOneLine)
{
    const std::vector<DevicePoint> tri{{0, 0}, {10, 0}, {5, -8}};
    const DumpCase cases[] = {
        {"line", [](Surface& s) { s.line({0, 0}, {10, 0}, kRedPen); }, "line (0,0)-(10,0) pen=solid:1:0x0000FF"},
        {"opaque dashed line", [](Surface& s) { s.line({1, 2}, {3, 4}, kDashPen, Background::opaqueColor(0xFFFFFF)); },
         "line (1,2)-(3,4) pen=dash:1:0x000000 bk=0xFFFFFF"},
        {"polyline", [&](Surface& s) { s.polyline(tri, {PenStyle::DashDotDot, 3, 0x00FF00}); },
         "polyline (0,0) (10,0) (5,-8) pen=dashdotdot:3:0x00FF00"},
        {"polygon", [&](Surface& s) { s.polygon(tri, FillRule::Alternate, Pen{PenStyle::Null}, Brush::solid(0xFF0000, 128)); },
         "polygon alternate (0,0) (10,0) (5,-8) pen=null brush=solid:0xFF0000@128"},
        {"rectangle", [](Surface& s) { s.rectangle({0, 0, 10, 5}, kRedPen, Brush::hatched(HatchStyle::DiagonalCross, 0x808080)); },
         "rectangle [0,0,10,5] pen=solid:1:0x0000FF brush=hatch5:0x808080"},
        {"ellipse", [](Surface& s) { s.ellipse({0, 0, 40, 20}, kRedPen, Brush::patterned(QImage(8, 8, QImage::Format_RGB32))); },
         "ellipse [0,0,40,20] pen=solid:1:0x0000FF brush=pattern8x8"},
        {"arc", [](Surface& s) { s.arc({0, 0, 40, 20}, {40, 10}, {20, 0}, kRedPen); },
         "arc [0,0,40,20] (40,10) (20,0) pen=solid:1:0x0000FF"},
        {"pie", [](Surface& s) { s.pie({0, 0, 40, 20}, {40, 10}, {20, 0}, kRedPen, Brush::null()); },
         "pie [0,0,40,20] (40,10) (20,0) pen=solid:1:0x0000FF brush=null"},
        {"chord", [](Surface& s) { s.chord({0, 0, 40, 20}, {40, 10}, {20, 0}, kRedPen, Brush::solid(0xFFFFFF)); },
         "chord [0,0,40,20] (40,10) (20,0) pen=solid:1:0x0000FF brush=solid:0xFFFFFF"},
        {"fillRect", [](Surface& s) { s.fillRect({2, 3, 4, 5}, Brush::hatched(HatchStyle::Horizontal, 0), Background::opaqueColor(0x00FFFF)); },
         "fillRect [2,3,4,5] brush=hatch0:0x000000 bk=0x00FFFF"},
        {"focusRect", [](Surface& s) { s.focusRect({5, 5, 1, 1}); }, "focusRect [5,5,1,1]"},
        {"setPixel", [](Surface& s) { s.setPixel({7, 8}, 0x123456); }, "setPixel (7,8) 0x123456"},
        {"textOut",
         [](Surface& s) {
             TextStyle t;
             t.font = gothic(-12, 900);
             t.color = 0x0000FF;
             t.hAlign = TextHAlign::Right;
             t.vAlign = TextVAlign::Bottom;
             t.charExtra = 2;
             t.background = Background::opaqueColor(0xFFFFFF);
             s.textOut({100, 50}, "壁A", t);
         },
         "textOut (100,50) \"壁A\" font=\"ＭＳ ゴシック\":-12 esc=900 color=0x0000FF align=right,bottom extra=2 bk=0xFFFFFF"},
        {"linear gradient",
         [](Surface& s) { s.fillLinearGradient(FillShape::rect({0, 0, 10, 10}), {{0, 0, 10, 10}, 0xFF0000, 0x0000FF, 45, 0.5}); },
         "fillLinearGradient polygon winding (0,0) (10,0) (10,10) (0,10) box=[0,0,10,10] 0xFF0000->0x0000FF angle=45 opacity=50%"},
        {"path gradient",
         [](Surface& s) {
             PathGradient g;
             g.ellipse = true;
             g.ellipseBox = {0, 0, 20, 10};
             g.centerColor = 0xFFFFFF;
             g.surroundColor = 0x000000;
             g.focusScale = 0.7;
             s.fillPathGradient(FillShape::pie({0, 0, 20, 10}, {20, 5}, {10, 0}), g);
         },
         "fillPathGradient pie [0,0,20,10] (20,5) (10,0) over ellipse [0,0,20,10] centre=0xFFFFFF surround=0x000000 "
         "focus=70% opacity=100%"},
        {"text path",
         [](Surface& s) {
             TextPath t;
             t.anchor = {10.4, 20.6};
             t.text = "AB";
             t.font = gothic(-20);
             t.fillColor = 0xFFFFFF;
             t.outlineColor = 0x000000;
             t.penWidth = 2;
             t.warp = std::array<DevicePointF, 4>{DevicePointF{0, 1}, {10, 0}, {0, 9}, {10, 10}};
             s.drawTextPath(t);
         },
         "drawTextPath (10,21) \"AB\" font=\"ＭＳ ゴシック\":-20 fill=0xFFFFFF outline=0x000000:2 opacity=100% "
         "warp=(0,1)(10,0)(0,9)(10,10)"},
        {"image",
         [](Surface& s) { s.drawImage(QImage(4, 3, QImage::Format_RGB32), {1, 2}, {9.6, 2}, {1, 8}, QRectF(0, 0, 2, 3), 0.25); },
         "drawImage 4x3 (1,2) (10,2) (1,8) source=[0,0,2,3] opacity=25%"},
        {"clip", [](Surface& s) { s.setClipRect({1, 2, 3, 4}); }, "setClipRect [1,2,3,4]"},
        {"pen style from a damaged record", [](Surface& s) { s.line({0, 0}, {1, 0}, {PenStyle(9), 1, 0}); },
         "line (0,0)-(1,0) pen=#9:1:0x000000"},
        {"clear clip", [](Surface& s) { s.clearClip(); }, "clearClip"},
    };
    for (const DumpCase& c : cases) {
        RecordingSurface s;
        c.call(s);
        ASSERT_EQ(s.dump().size(), 1u) << c.name;
        EXPECT_EQ(s.dump().front(), c.expected) << c.name;
    }
}

TEST(RecordingSurface, KeepsCallsInOrderWithTheirValues)
{
    RecordingSurface s;
    s.rectangle({0, 0, 10, 5}, kRedPen, Brush::solid(0xFFFFFF));
    s.line({0, 0}, {3, 3}, kDashPen);
    TextStyle small;
    small.font = gothic(-10);
    s.textOut({1, 1}, "X", small);

    ASSERT_EQ(s.calls().size(), 3u);
    EXPECT_EQ(s.calls()[0].op, "rectangle");
    EXPECT_EQ(s.calls()[0].rect, (DeviceRect{0, 0, 10, 5}));
    EXPECT_EQ(s.calls()[0].brush.color, 0xFFFFFFu);
    EXPECT_EQ(s.calls()[1].op, "line");
    EXPECT_EQ(s.calls()[1].points, (std::vector<DevicePoint>{{0, 0}, {3, 3}}));
    EXPECT_EQ(s.calls()[1].pen.style, PenStyle::Dash);
    EXPECT_EQ(s.calls()[2].text, "X");
    EXPECT_EQ(s.calls()[2].font.height, -10);

    s.clear();
    EXPECT_TRUE(s.calls().empty());
}

TEST(RecordingSurface, FakeMetricsCountHalfAndFullWidthCharacters)
{
    struct Case {
        const char* name;
        const char* text;
        int height;
        int extra;
        TextSize expected;
    };
    const Case cases[] = {
        {"ASCII is half the em", "AB", -12, 0, {12, 12}},
        {"kanji and kana are the em", "日本ご", -12, 0, {36, 12}},
        {"half-width katakana is half", "ｱｲ", 12, 0, {12, 12}},
        {"positive height is the same cell", "A日", 10, 0, {15, 10}},
        {"extra after every character", "A日", -10, 3, {21, 10}},
        {"height 0 is 16", "AA", 0, 0, {16, 16}},
        {"empty text has a cell but no width", "", -12, 5, {0, 12}},
        {"a damaged height is bounded", "A", INT32_MIN, 0, {16383, 32767}},
    };
    RecordingSurface s;
    for (const Case& c : cases) {
        Font f = gothic(c.height);
        EXPECT_EQ(s.textExtent(c.text, f, c.extra), c.expected) << c.name;
    }
    TextMetrics m = s.textMetrics(gothic(-16));
    EXPECT_EQ(m.height, 16);
    EXPECT_EQ(m.ascent + m.descent, m.height);
    EXPECT_EQ(m.descent, 2);
    EXPECT_EQ(m.internalLeading, 0);
}

TEST(RecordingSurface, TextPathBoundsFollowTheFakeMetrics)
{
    RecordingSurface s;
    TextPath t;
    t.anchor = {100, 50};
    t.font = gothic(-20);
    t.penWidth = 4;

    t.text = "AB\r\n日本語";
    t.stroke = false;
    DeviceRectF flat = s.textPathBounds(t);
    EXPECT_DOUBLE_EQ(flat.x, 100);
    EXPECT_DOUBLE_EQ(flat.y, 50);
    EXPECT_DOUBLE_EQ(flat.width, 60);   // the longest line: three full-width characters
    EXPECT_DOUBLE_EQ(flat.height, 40);  // two lines

    t.stroke = true;
    DeviceRectF widened = s.textPathBounds(t);
    EXPECT_DOUBLE_EQ(widened.x, 98);
    EXPECT_DOUBLE_EQ(widened.width, 64);

    t.stroke = false;
    t.font.faceName = "@ＭＳ ゴシック";
    DeviceRectF vertical = s.textPathBounds(t);
    EXPECT_DOUBLE_EQ(vertical.x, 100);  // the second column lies right of the anchor's, as on the screen
    EXPECT_DOUBLE_EQ(vertical.width, 40);
    EXPECT_DOUBLE_EQ(vertical.height, 60);
}

TEST(RecordingSurface, ReportsTheDeviceItWasGiven)
{
    DeviceProperties printer;
    printer.isPrinting = true;
    printer.isOutput = true;
    printer.dpiX = printer.dpiY = 600;
    printer.area = {0, 0, 4960, 7016};
    RecordingSurface s(printer);
    EXPECT_TRUE(s.device().isPrinting);
    EXPECT_EQ(s.device().dpiY, 600);
    EXPECT_EQ(s.device().area, (DeviceRect{0, 0, 4960, 7016}));
    EXPECT_FALSE(RecordingSurface().device().isPrinting);
}

} // namespace
} // namespace kov::platform
