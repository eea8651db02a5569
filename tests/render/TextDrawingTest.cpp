// Texts through the recording surface's fake metrics: where each line goes for every alignment,
// angle and vertical writing, the byte rules of the printed-extent frame, the colour modes, the
// filters, decorated texts and the text box.

#include "DrawerTestSupport.h"

#include "render/TextDrawing.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace kov::test::drawers;
using kov::platform::DevicePoint;
using kov::platform::RecordedCall;
using kov::platform::RecordingSurface;

namespace {

// A text at (100, 100) in a 1:1 transform with paper scale 4: 5 mm high = 20 px, line gap 1 mm
// gives a pitch of 24 px.
CKovText makeText(std::string str, int escapement = 0, int hAlign = 0, int vAlign = 0,
                  std::string face = "ＭＳ ゴシック")
{
    CKovText t;
    t.MTextID = 7;
    t.MTextstr = std::move(str);
    t.MTextpnt = CDbPoint(100, 100);
    t.MTextFontMenu.lfFaceName = std::move(face);
    t.MTextFontMenu.lfEscapement = escapement;
    t.MTextFontMenu.m_size = 5;
    t.MTextFontMenu.m_gyoukan = 1;
    t.MTextFontMenu.m_toko_align = hAlign;
    t.MTextFontMenu.m_tate_align = vAlign;
    return t;
}

std::vector<const RecordedCall*> callsOf(const RecordingSurface& s, const std::string& op)
{
    std::vector<const RecordedCall*> out;
    for (const RecordedCall& c : s.calls())
        if (c.op == op) out.push_back(&c);
    return out;
}

void draw(RecordingSurface& s, const CKovText& t, const CPlotInfo& plot = CPlotInfo(), bool output = false,
          const CKovUnit::DrawEnvironment& env = CKovUnit::DrawEnvironment(), int filter = 0,
          const SelectionRecord& sel = SelectionRecord(), bool placing = false)
{
    CKovUnit::DrawTextObject(s, pixelTransform(), t, plot, sel, placing, filter, output, env);
}

// ---- placement -----------------------------------------------------------------------------------

struct PlacementCase {
    std::string name;
    int escapement;
    int hAlign;
    int vAlign;
    std::string face;
    std::vector<DevicePoint> anchors;  // of the three lines
    std::string align;                 // as the surface is asked to align each line
};
void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }

class TextPlacementTest : public testing::TestWithParam<PlacementCase> {};

TEST_P(TextPlacementTest, LinesStepAcrossTheBaselineFromTheAnchor)
{
    const PlacementCase& c = GetParam();
    RecordingSurface s;
    draw(s, makeText("一\r\n二\r\n三", c.escapement, c.hAlign, c.vAlign, c.face));
    const auto outs = callsOf(s, "textOut");
    ASSERT_EQ(outs.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(outs[i]->points[0], c.anchors[i]) << "line " << i;
        EXPECT_NE(outs[i]->dump.find("align=" + c.align), std::string::npos) << outs[i]->dump;
        EXPECT_EQ(outs[i]->font.escapement, c.escapement);
        EXPECT_EQ(outs[i]->font.faceName, c.face);
    }
}

const std::string kGothic = "ＭＳ ゴシック";
const std::string kVertical = "@ＭＳ ゴシック";

INSTANTIATE_TEST_SUITE_P(
    Table, TextPlacementTest,
    testing::Values(
        PlacementCase{"leftTop", 0, 0, 0, kGothic, {{100, 100}, {100, 124}, {100, 148}}, "left,top"},
        PlacementCase{"centreMiddle", 0, 1, 1, kGothic, {{100, 64}, {100, 88}, {100, 112}}, "center,top"},
        PlacementCase{"rightBottomEndsOnTheAnchor", 0, 2, 2, kGothic, {{100, 52}, {100, 76}, {100, 100}},
                      "right,bottom"},
        PlacementCase{"unknownAlignmentsAsLeftTop", 0, 7, 9, kGothic, {{100, 100}, {100, 124}, {100, 148}},
                      "left,top"},
        PlacementCase{"quarterTurnStepsRight", 900, 0, 0, kGothic, {{100, 100}, {124, 100}, {148, 100}}, "left,top"},
        PlacementCase{"halfTurnStepsUp", 1800, 0, 0, kGothic, {{100, 100}, {100, 76}, {100, 52}}, "left,top"},
        // π taken as 3.1415926535 leaves cos 300° just below 0.5: offsets of 12 truncate to 11.
        PlacementCase{"thirtyDegrees", 300, 0, 0, kGothic, {{100, 100}, {111, 120}, {123, 141}}, "left,top"},
        PlacementCase{"thirtyDegreesBottom", 300, 0, 2, kGothic, {{77, 59}, {89, 80}, {100, 100}}, "left,bottom"},
        PlacementCase{"verticalStepsLeft", 2700, 0, 0, kVertical, {{100, 100}, {76, 100}, {52, 100}}, "left,top"},
        PlacementCase{"verticalMiddle", 2700, 1, 1, kVertical, {{136, 100}, {112, 100}, {88, 100}}, "center,top"},
        PlacementCase{"verticalBottom", 2700, 2, 2, kVertical, {{148, 100}, {124, 100}, {100, 100}},
                      "right,bottom"}),
    [](const auto& info) { return info.param.name; });

TEST(TextDrawing, EmptyLinesCountButWriteNothingAndCarriageReturnsAreDropped)
{
    RecordingSurface s;
    draw(s, makeText("AB\r\n\r\nC"));
    const auto outs = callsOf(s, "textOut");
    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(outs[0]->text, "AB");
    EXPECT_EQ(outs[0]->points[0], (DevicePoint{100, 100}));
    EXPECT_EQ(outs[1]->text, "C");
    EXPECT_EQ(outs[1]->points[0], (DevicePoint{100, 148}));
}

TEST(TextDrawing, LinesAreCutAtLineFeedsWithEveryCarriageReturnLeftOut)
{
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {""}},
        {"A\r\nB", {"A", "B"}},
        {"A\rB\r\r\nC\n", {"AB", "C", ""}},
        {"\n\n", {"", "", ""}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        const int n = kov::render::ForEachTextLine(c.text, [&](int i, std::string_view line) {
            EXPECT_EQ(i, int(got.size()));
            got.emplace_back(line);
        });
        EXPECT_EQ(got, c.lines) << c.text;
        EXPECT_EQ(n, kov::render::TextLineCount(c.text)) << c.text;
    }
}

TEST(TextDrawing, FontHeightSpacingAndBackgroundOfEveryLine)
{
    struct Case {
        double size;
        double spacing;
        int back;
        int height;
        std::string extra;
        std::string background;
    };
    const Case cases[] = {
        {5, 0.5, 0, 20, " extra=2", ""},
        {0.1, 0, 0, 2, "", ""},          // 0.4 px becomes a 2-pixel font, not 0
        {2.6, 0, 3, 10, "", " bk=opaque:0x00FFFF"},
    };
    for (const Case& c : cases) {
        CKovText t = makeText("A");
        t.MTextFontMenu.m_size = c.size;
        t.MTextFontMenu.m_kankaku = c.spacing;
        t.MTextFontMenu.m_bBack = c.back;
        t.MTextFontMenu.m_BackColor = 0x00FFFF;
        RecordingSurface s;
        draw(s, t);
        const auto outs = callsOf(s, "textOut");
        ASSERT_EQ(outs.size(), 1u);
        EXPECT_EQ(outs[0]->font.height, c.height) << c.size;
        EXPECT_NE(outs[0]->dump.find("align=left,top" + c.extra), std::string::npos) << outs[0]->dump;
        if (c.back == 0)
            EXPECT_FALSE(outs[0]->background.opaque) << outs[0]->dump;
        else
            EXPECT_TRUE(outs[0]->background.opaque && outs[0]->background.color == 0x00FFFF) << outs[0]->dump;
    }
}

TEST(TextDrawing, ColourModes)
{
    struct Case {
        const char* name;
        int blackAndWhite;
        int gradation;
        std::uint32_t text, back;
        std::uint32_t wantText, wantBack;
    };
    const Case cases[] = {
        {"plain", 0, 0, kRed, 0x00FFFF, kRed, 0x00FFFF},
        {"bwRedOnYellow", 1, 0, kRed, 0x00FFFF, 0, kWhite},
        {"bwWhiteOnYellow", 1, 0, kWhite, 0x00FFFF, kWhite, 0},
        {"bwWhiteOnWhite", 1, 0, kWhite, kWhite, kWhite, kWhite},
        {"chic", 0, 3, kRed, 0x00FFFF, 0, kWhite},
        {"chicAfterBw", 1, 3, kWhite, 0x00FFFF, 0, kWhite},
    };
    for (const Case& c : cases) {
        CPlotInfo plot;
        plot.PlotSirokuro = c.blackAndWhite;
        plot.PlotGradation = c.gradation;
        CFontMenu font;
        font.m_Color = c.text;
        font.m_BackColor = c.back;
        const kov::render::TextColours got = kov::render::TextColoursOf(font, plot);
        EXPECT_EQ(hex(got.text), hex(c.wantText)) << c.name;
        EXPECT_EQ(hex(got.background), hex(c.wantBack)) << c.name;
    }
}

// ---- printed-extent frame ------------------------------------------------------------------------

TEST(TextExtentFrame, CountsCp932BytesSoHalfWidthKatakanaAreNarrow)
{
    struct Case {
        const char* line;
        int length;  // along the baseline: trunc(bytes × 20 / 2 + (characters - 1) × 2)
    };
    const Case cases[] = {
        {"AB", 22},          // 2 bytes, 2 characters
        {"ｱｲｳ", 34},         // half-width katakana: one byte each
        {"アイウ", 64},      // full width: two bytes each
        {"", 1},             // never below 1
    };
    for (const Case& c : cases) {
        const auto f = kov::render::TextExtentFrame({100, 100}, c.line, 20, 2, 0, 0, 0);
        EXPECT_EQ(f[0], (DevicePoint{100, 100})) << c.line;
        EXPECT_EQ(f[1], (DevicePoint{100 + c.length, 100})) << c.line;
        EXPECT_EQ(f[2], (DevicePoint{100 + c.length, 120})) << c.line;
        EXPECT_EQ(f[3], (DevicePoint{100, 120})) << c.line;
        EXPECT_EQ(f[4], f[0]);
    }
}

TEST(TextExtentFrame, AlignmentsAndAngles)
{
    using kov::render::TextExtentFrame;
    // "AB" at h 20, spacing 2: L = 22, H = 20.
    // Centre: back half a spacing (1), then centred: from 100 - 1 - 11.
    EXPECT_EQ(TextExtentFrame({100, 100}, "AB", 20, 2, 0, 1, 0)[0], (DevicePoint{88, 100}));
    // Right: back one spacing, ending there.
    EXPECT_EQ(TextExtentFrame({100, 100}, "AB", 20, 2, 0, 2, 0)[1], (DevicePoint{98, 100}));
    // Bottom alignment runs across against the line direction (upwards).
    EXPECT_EQ(TextExtentFrame({100, 100}, "AB", 20, 2, 0, 0, 2)[3], (DevicePoint{100, 80}));
    // Vertical writing: the baseline runs down, the frame reaches to the left.
    const auto v = TextExtentFrame({100, 100}, "あい", 20, 0, 2700, 0, 0);
    EXPECT_EQ(v[1], (DevicePoint{100, 140}));
    EXPECT_EQ(v[3], (DevicePoint{80, 100}));
}

TEST(TextDrawing, ExtentFramesOnlyOnTheScreenForFixedPitchFacesWhenSwitchedOn)
{
    struct Case {
        const char* name;
        int realMode;
        bool output;
        std::string face;
        std::size_t frames;
    };
    const Case cases[] = {
        {"on", 1, false, "ＭＳ ゴシック", 2},
        {"off", 0, false, "ＭＳ ゴシック", 0},
        {"neverPrinted", 1, true, "ＭＳ ゴシック", 0},
        {"proportionalFace", 1, false, "ＭＳ Ｐゴシック", 0},
    };
    for (const Case& c : cases) {
        CKovUnit::DrawEnvironment env;
        env.printRealMode = c.realMode;
        RecordingSurface s;
        draw(s, makeText("AB\r\nCD", 0, 0, 0, c.face), CPlotInfo(), c.output, env);
        const auto frames = callsOf(s, "polyline");
        ASSERT_EQ(frames.size(), c.frames) << c.name;
        for (const RecordedCall* f : frames) {
            EXPECT_EQ(f->pen.style, kov::platform::PenStyle::Dot) << c.name;
            EXPECT_EQ(f->pen.width, 1);
            EXPECT_EQ(hex(f->pen.color), "0x808080");
            EXPECT_FALSE(f->background.opaque) << "a frame must not take the text's background";
        }
        if (c.frames == 2) {
            EXPECT_EQ(frames[1]->points[0], (DevicePoint{100, 124})) << "the second line's frame";
        }
    }
}

// ---- filters -------------------------------------------------------------------------------------

TEST(TextDrawing, FiltersAndThePlacedGroup)
{
    CKovText own = makeText("A");
    own.MTextGrpID = 0;
    CKovText inGroup = makeText("B");
    inGroup.MTextID = 8;
    inGroup.MTextGrpID = 3;
    SelectionRecord byId;
    byId.AddTextId(7);
    SelectionRecord byGroup;
    byGroup.AddGroupId(3);
    struct Case {
        const char* name;
        const CKovText* text;
        const SelectionRecord* sel;
        int filter;
        bool placing;
        bool drawn;
    };
    const SelectionRecord none;
    const Case cases[] = {
        {"everyText", &own, &byId, 0, false, true},
        {"unselectedOnlyLeavesSelected", &own, &byId, 1, false, false},
        {"selectedOnlyDrawsSelected", &own, &byId, 2, false, true},
        {"selectedOnlyLeavesOthers", &own, &none, 2, false, false},
        {"selectedByGroup", &inGroup, &byGroup, 2, false, true},
        {"groupBeingPlaced", &inGroup, &byGroup, 0, true, false},
        {"otherTextWhilePlacing", &own, &byGroup, 0, true, true},
    };
    for (const Case& c : cases) {
        RecordingSurface s;
        draw(s, *c.text, CPlotInfo(), false, CKovUnit::DrawEnvironment(), c.filter, *c.sel, c.placing);
        EXPECT_EQ(!callsOf(s, "textOut").empty(), c.drawn) << c.name;
    }
}

TEST(TextDrawing, AllTextsPassChecksThePlacedGroupOnlyWhenLeavingOutTheSelection)
{
    CKovUnit unit;
    auto t = std::make_unique<CKovText>(makeText("A"));
    t->MTextGrpID = 3;
    unit.m_Texts.Add(std::move(t));
    SelectionRecord sel;
    sel.AddGroupId(3);
    for (const auto& [filter, drawn] : {std::pair{0, true}, std::pair{1, false}, std::pair{2, true}}) {
        RecordingSurface s;
        unit.DrawTexts(s, pixelTransform(), CPlotInfo(), sel, true, filter, CKovUnit::DrawEnvironment());
        EXPECT_EQ(!callsOf(s, "textOut").empty(), drawn) << filter;
    }
    // No colour modes in this pass.
    CPlotInfo bw;
    bw.PlotSirokuro = 1;
    unit.m_Texts[0]->MTextFontMenu.m_Color = kRed;
    RecordingSurface s;
    unit.DrawTexts(s, pixelTransform(), bw, SelectionRecord(), false, 0, CKovUnit::DrawEnvironment());
    ASSERT_EQ(callsOf(s, "textOut").size(), 1u);
    EXPECT_NE(callsOf(s, "textOut")[0]->dump.find("color=0x0000FF"), std::string::npos);
}

// ---- decorated texts -----------------------------------------------------------------------------

TEST(TextWarp, ShapesMoveTheCornersBySlantTwentieths)
{
    using P = kov::platform::DevicePointF;
    const kov::platform::DeviceRectF b{10, 20, 200, 40};  // W 200, H 40; slant 5: dx 50, dy 10
    struct Case {
        int shape;
        std::array<P, 4> corners;
    };
    const Case cases[] = {
        {1, {P{10, 30}, P{210, 20}, P{10, 60}, P{210, 50}}},
        {2, {P{35, 20}, P{185, 20}, P{10, 60}, P{210, 60}}},  // the top an eighth shorter at each end
        {3, {P{10, 20}, P{210, 20}, P{35, 60}, P{185, 60}}},
        {4, {P{10, 20}, P{210, 25}, P{10, 60}, P{210, 55}}},
        {5, {P{10, 20}, P{210, 30}, P{10, 50}, P{210, 60}}},
        {6, {P{10, 25}, P{210, 20}, P{10, 55}, P{210, 60}}},
    };
    for (const Case& c : cases) {
        const auto got = kov::render::TextWarpCorners(b, c.shape, 5);
        ASSERT_TRUE(got.has_value()) << c.shape;
        for (int i = 0; i < 4; ++i) EXPECT_EQ((*got)[std::size_t(i)], c.corners[std::size_t(i)]) << c.shape << ":" << i;
    }
    EXPECT_FALSE(kov::render::TextWarpCorners(b, 0, 9).has_value());
    EXPECT_FALSE(kov::render::TextWarpCorners(b, 7, 5).has_value());
}

TEST(TextDrawing, DecoratedTextsAsOutlines)
{
    struct Case {
        const char* name;
        int decoration;
        int shape;
        int escapement;
        std::string face;
        int blackAndWhite;
        std::string expected;
    };
    const Case cases[] = {
        {"filledStraight", 1, 0, 0, kGothic, 0,
         "drawTextPath (100,100) \"AB\" font=\"ＭＳ ゴシック\":20 fill=0x0000FF outline=0x00FFFF:8 opacity=60%"},
        {"hollowWarped", 2, 2, 0, kGothic, 0,
         "drawTextPath (100,100) \"AB\" font=\"ＭＳ ゴシック\":20 outline=0x00FFFF:8 opacity=60% "
         "warp=(100,96)(121,96)(96,124)(124,124)"},  // bounds 28 wide: 3.5 px in at each top end
        {"angleNotApplied", 1, 0, 450, kGothic, 0,
         "drawTextPath (100,100) \"AB\" font=\"ＭＳ ゴシック\":20 fill=0x0000FF outline=0x00FFFF:8 opacity=60%"},
        {"verticalOnlyAt2700", 1, 0, 2700, kVertical, 0,
         "drawTextPath (100,100) \"AB\" font=\"@ＭＳ ゴシック\":20 fill=0x0000FF outline=0x00FFFF:8 opacity=60%"},
        {"atFaceAtOtherAnglesLiesFlat", 1, 0, 900, kVertical, 0,
         "drawTextPath (100,100) \"AB\" font=\"ＭＳ ゴシック\":20 fill=0x0000FF outline=0x00FFFF:8 opacity=60%"},
        {"fullWidthAtFaceLiesFlatToo", 1, 0, 0, "＠ＭＳ ゴシック", 0,
         "drawTextPath (100,100) \"AB\" font=\"ＭＳ ゴシック\":20 fill=0x0000FF outline=0x00FFFF:8 opacity=60%"},
        {"blackAndWhiteWhiteLettersBlackOutline", 1, 0, 0, kGothic, 1,
         "drawTextPath (100,100) \"AB\" font=\"ＭＳ ゴシック\":20 fill=0xFFFFFF outline=0x000000:8 opacity=60%"},
    };
    for (const Case& c : cases) {
        CKovText t = makeText("AB", c.escapement, 0, 0, c.face);
        t.MTextHuchiFlg = c.decoration;
        t.MTextHuchiType = c.shape;
        t.MTextHuchiKeij = 5;
        t.MTextHuchiAtsumi = 2;  // 8 px at paper scale 4
        t.MTextAlpha = 60;       // trunc(60 × 255 / 100) = 153 = 60%
        t.MTextFontMenu.m_Color = kRed;
        t.MTextFontMenu.m_BackColor = 0x00FFFF;
        CPlotInfo plot;
        plot.PlotSirokuro = c.blackAndWhite;
        RecordingSurface s;
        draw(s, t, plot);
        ASSERT_EQ(s.dump().size(), 1u) << c.name;
        EXPECT_EQ(s.dump()[0], c.expected) << c.name;
    }
}

TEST(TextDrawing, DecoratedTextHasNoLengthLimit)
{
    std::string longText;
    for (int i = 0; i < 400; ++i) longText += "あ";  // 800 CP932 bytes
    CKovText t = makeText(longText);
    t.MTextHuchiFlg = 1;
    RecordingSurface s;
    draw(s, t);
    const auto paths = callsOf(s, "drawTextPath");
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0]->text, longText);
}

TEST(TextDrawing, NegativeFrameThicknessDrawsOnePixel)
{
    RecordingSurface s;
    CKovUnit::DrawTextPath(s, pixelTransform(), CFontMenu(), "A", -3, 0, 0, 1, CDbPoint(0, 0), 0, 0, 100, 0);
    ASSERT_EQ(s.dump().size(), 1u);
    EXPECT_NE(s.dump()[0].find("outline=0x000000:1 "), std::string::npos) << s.dump()[0];
}

// ---- text box ------------------------------------------------------------------------------------

TEST(TextBoxSize, LongestLineByCp932BytesTimesTheLines)
{
    struct Case {
        const char* name;
        std::string text;
        double gap;
        kov::platform::DeviceRect expected;
    };
    // Fake metrics at h 20: half-width 10 px, full-width 20 px, cell 20.
    const Case cases[] = {
        {"empty", "", 0, {100, 50, 100, 70}},
        {"oneLine", "AB", 0, {100, 50, 120, 70}},
        {"gapPerLine", "AB\r\nC", 1, {100, 50, 120, 98}},
        // ｱｲｳｴｵ is 5 bytes (50 px), あい 4 bytes (40 px): the katakana line is the longest.
        {"halfWidthKatakanaCountOneByte", "あい\r\nｱｲｳｴｵ", 0, {100, 50, 150, 90}},
        // Equal bytes: the first line is measured.
        {"firstOfEquals", "ｱｲｳｴ\r\nあい", 0, {100, 50, 140, 90}},
    };
    for (const Case& c : cases) {
        CFontMenu font;
        font.m_size = 5;
        font.m_gyoukan = c.gap;
        RecordingSurface s;
        kov::platform::DeviceRect box;
        CKovUnit::TextBoxSize(box, s, 100, 50, c.text, font, 4.0);
        EXPECT_EQ(box, c.expected) << c.name;
    }
}

} // namespace
