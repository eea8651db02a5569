// Previews of dimensions, texts, decorated texts, balloons and notation symbols.

#include "PreviewTestSupport.h"

#include "model/Geometry.h"

#include <cmath>

using namespace kov::test::previews;

namespace {

void dimension(PreviewFixture& f, CDbPoint a, CDbPoint b, CDbPoint pointer)
{
    f.in.points = {a, b};
    f.in.pointer = pointer;
}

} // namespace

TEST(AnnotationPreviews, DimensionsTextsBalloonsAndSymbols)
{
    const std::vector<PreviewRow> rows = {
        {"dimension, one point: the grey point mark", 9,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {200, 50}; },
         {"line (92,92)-(108,108) pen=solid:1:0x7F7F7F",
          "line (108,92)-(92,108) pen=solid:1:0x7F7F7F"}},
        {"dimension in metres with two decimals shows 3.64, centred above its line", 9,
         [](PreviewFixture& f) {
             dimension(f, {100, 100}, {3740, 100}, {1000, 50});
             f.plot.PlotSunpoTani = 2; f.plot.PlotSunpokurai = 2;
         },
         {"line (100,100)-(100,50) pen=solid:1:0x7F7F7F",
          "line (3740,100)-(3740,50) pen=solid:1:0x7F7F7F",
          "line (100,50)-(3740,50) pen=solid:1:0x7F7F7F",
          "textOut (1908,38) \"3.64\" font=\"ＭＳ ゴシック\":12 color=0x000000 align=left,top"}},
        {"dimension in millimetres without decimals and with thousands commas shows 3,640", 9,
         [](PreviewFixture& f) {
             dimension(f, {100, 100}, {3740, 100}, {1000, 150});
             f.plot.PlotSunpoKugiri = 1;
         },
         {"line (100,100)-(100,150) pen=solid:1:0x7F7F7F",
          "line (3740,100)-(3740,150) pen=solid:1:0x7F7F7F",
          "line (100,150)-(3740,150) pen=solid:1:0x7F7F7F",
          "textOut (1905,138) \"3,640\" font=\"ＭＳ ゴシック\":12 color=0x000000 align=left,top"}},
        {"a vertical pair reads upwards, left of its line", 9,
         [](PreviewFixture& f) { dimension(f, {100, 100}, {100, 300}, {60, 200}); },
         {"line (100,100)-(60,100) pen=solid:1:0x7F7F7F",
          "line (100,300)-(60,300) pen=solid:1:0x7F7F7F",
          "line (60,100)-(60,300) pen=solid:1:0x7F7F7F",
          "textOut (48,209) \"200\" font=\"ＭＳ ゴシック\":12 esc=900 color=0x000000 align=left,top"}},
        {"an oblique pair at 135 degrees turns its text to -45, never upside down", 9,
         [](PreviewFixture& f) { dimension(f, {200, 200}, {100, 100}, {100, 200}); },
         {"line (200,200)-(150,250) pen=solid:1:0x7F7F7F",
          "line (100,100)-(50,150) pen=solid:1:0x7F7F7F",
          "line (150,250)-(50,150) pen=solid:1:0x7F7F7F",
          "textOut (100,206) \"141\" font=\"ＭＳ ゴシック\":12 esc=-450 color=0x000000 align=left,top"}},
        {"with the value switched off only the lines show", 9,
         [](PreviewFixture& f) {
             dimension(f, {100, 100}, {300, 100}, {200, 60});
             f.plot.PlotSunpoTextView = 0;
         },
         {"line (100,100)-(100,60) pen=solid:1:0x7F7F7F",
          "line (300,100)-(300,60) pen=solid:1:0x7F7F7F",
          "line (100,60)-(300,60) pen=solid:1:0x7F7F7F"}},
        {"notation symbol, one point: a red line", 69,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {250, 140}; },
         {"line (100,100)-(250,140) pen=solid:1:0x0000FF"}},
        {"notation symbol band on the pointer's side of the base line", 69,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {300, 100}}; f.in.pointer = {250, 140}; },
         {"polyline (100,100) (300,100) (300,140) (100,140) (100,100) pen=solid:1:0x0000FF"}},
        {"notation symbol with the pointer on the base line draws nothing", 69,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {300, 100}}; f.in.pointer = {250, 100}; },
         {}},
        {"rectangle balloon, one point: the box to the pointer", 68,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {200, 160}; f.in.balloonShape = 0; },
         {"polyline (100,100) (100,160) (200,160) (200,100) (100,100) pen=solid:1:0x0000FF"}},
        {"ellipse balloon, one point: the inscribed ellipse", 68,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {200, 160}; f.in.balloonShape = 2; },
         {"arc [100,100,200,160] (100,100) (100,100) pen=solid:1:0x0000FF"}},
        {"balloon tail on the lower edge at position 0 starts at its left end", 68,
         [](PreviewFixture& f) {
             f.in.points = {{100, 100}, {200, 160}}; f.in.pointer = {150, 250};
             f.in.balloonShape = 0; f.in.balloonSide = 2; f.in.balloonPosition = 0;
         },
         {"polyline (100,160) (100,160) (150,250) (125,160) (200,160) (200,100) (100,100) (100,160) (100,160) "
          "pen=solid:1:0x0000FF"}},
        {"balloon tail on the upper edge at position 0 starts at its right end", 68,
         [](PreviewFixture& f) {
             f.in.points = {{100, 100}, {200, 160}}; f.in.pointer = {150, 20};
             f.in.balloonShape = 0; f.in.balloonSide = 0; f.in.balloonPosition = 0;
         },
         {"polyline (100,160) (200,160) (200,100) (200,100) (150,20) (175,100) (100,100) (100,160) (100,160) "
          "pen=solid:1:0x0000FF"}},
        {"balloon with equal corners draws nothing", 68,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {100, 100}}; f.in.pointer = {150, 250}; },
         {}},
        {"decorated text follows the pointer before any click while its panel is open", 70,
         [](PreviewFixture& f) {
             f.in.pointer = {100, 100}; f.in.decoratedPanelOpen = true; f.in.decoratedText = "AB";
             f.in.decoratedFont.lfHeight = 10;
         },
         {"drawTextPath (100,100) \"AB\" font=\"ＭＳ ゴシック\":26 fill=0xFFFFFF outline=0x000000:4 opacity=100%"}},
        {"decorated text with its panel closed draws nothing", 70,
         [](PreviewFixture& f) { f.in.pointer = {100, 100}; f.in.decoratedText = "AB"; },
         {}},
    };
    checkRows(rows);
}

TEST(AnnotationPreviews, TextPreviewFaceAndEscapement)
{
    struct Row {
        const char* name;
        std::string face;
        bool vertical;
        int angle;
        std::string wantFace;
        int wantEscapement;
    };
    const Row rows[] = {
        {"vertical writing puts @ before the face and turns it 270", "ＭＳ ゴシック", true, 0, "@ＭＳ ゴシック", 2700},
        {"a face that has its @ keeps a single one", "@ＭＳ ゴシック", true, 0, "@ＭＳ ゴシック", 2700},
        {"vertical at 90 degrees wraps to 0", "ＭＳ ゴシック", true, 90, "@ＭＳ ゴシック", 0},
        {"horizontal at 30 degrees", "ＭＳ ゴシック", false, 30, "ＭＳ ゴシック", 300},
    };
    for (const Row& row : rows) {
        PreviewFixture f;
        CFontMenu font;
        font.lfFaceName = row.face;
        font.lfHeight = 5;
        f.in.textFont = &font;
        f.in.text = "A";
        f.in.points = {{50, 50}};
        f.in.last = {50, 50};
        f.in.textVertical = row.vertical;
        f.in.textAngle = row.angle;
        kov::platform::RecordingSurface s;
        f.unit.DrawToolPreview(s, f.t, 8, f.in);
        const auto& calls = s.calls();
        const auto text = std::find_if(calls.begin(), calls.end(), [](const auto& c) { return c.op == "textOut"; });
        ASSERT_NE(text, calls.end()) << row.name;
        EXPECT_EQ(text->font.faceName, row.wantFace) << row.name;
        EXPECT_EQ(text->font.escapement, row.wantEscapement) << row.name;
    }
}

TEST(AnnotationPreviews, EllipseBalloonCornerCount)
{
    auto has = [](const CDbPointArray& pts, double x, double y) {
        return std::any_of(pts.begin(), pts.end(),
                           [&](const CDbPoint& p) { return std::fabs(p.x - x) < 1e-6 && std::fabs(p.y - y) < 1e-6; });
    };
    auto corner = [](double cx, double cy, double a, double b, int deg) {
        const double th = deg * kKovPi / 180.0;
        return CDbPoint(cx + a * std::cos(th), cy - b * std::sin(th));
    };
    const CDbPoint tip{0, 0}; // far away on the lower side's left: the tail replaces only the band
    // Half sizes adding to 200: 36 corners, 10 degrees apart.
    {
        const CDbPointArray pts = CKovUnit::BalloonOutline({0, 0}, {200, 200}, tip, 4.0, 24, 0, 1, 2);
        const CDbPoint c350 = corner(100, 100, 100, 100, 350);
        const CDbPoint c355 = corner(100, 100, 100, 100, 355);
        EXPECT_TRUE(has(pts, c350.x, c350.y));
        EXPECT_FALSE(has(pts, c355.x, c355.y));
    }
    // Half sizes adding to 25.4: 79 corners 4 degrees apart, the last at 312 degrees.
    {
        const CDbPointArray pts = CKovUnit::BalloonOutline({0, 0}, {25.4, 25.4}, tip, 4.0, 24, 0, 1, 2);
        const CDbPoint c312 = corner(12.7, 12.7, 12.7, 12.7, 312);
        const CDbPoint c316 = corner(12.7, 12.7, 12.7, 12.7, 316);
        EXPECT_TRUE(has(pts, c312.x, c312.y));
        EXPECT_FALSE(has(pts, c316.x, c316.y));
    }
    // So small that its outline is shorter than one step: one step of 360 degrees, never 360 / 0.
    EXPECT_GE(CKovUnit::BalloonOutline({0, 0}, {0.2, 0.1}, tip, 4.0, 24, 2, 1, 2).size(), 2u);
}

TEST(AnnotationPreviews, RoundedBalloonIsTheOutlineTheToolMakes)
{
    PreviewFixture f;
    f.in.points = {{100, 100}, {200, 180}};
    f.in.pointer = {150, 260};
    f.in.balloonShape = 1;
    const std::vector<std::string> calls = drawPreview(f, 68);
    ASSERT_EQ(calls.size(), 1u);
    // The lower edge runs left to right between the tangent points (r = 40 x 0.25 = 10), its tail
    // in the middle quarter; the corners are the tool's arcs.
    EXPECT_NE(calls[0].find("(140,180) (150,260) (160,180)"), std::string::npos) << calls[0];
    const CDbPointArray outline = CKovUnit::BalloonOutline({100, 100}, {200, 180}, {150, 260}, 4.0, 24, 2, 1, 1);
    EXPECT_EQ(outline.size(), 4u * 23u + 3u);
}
