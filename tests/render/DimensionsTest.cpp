#include "model/KovLine.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/RecordingSurface.h"
#include "render/Dimensions.h"
#include "render/LineStyleTestSupport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using kov::platform::DeviceProperties;
using kov::platform::RecordingSurface;
using kov::test::uniformTransform;

namespace {

// ---- the value text ------------------------------------------------------------------------------------

struct ValueCase {
    std::string name;
    double valueMm;
    int unit;
    int decimals;
    int separator;
    std::string expected;
};
void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

class DimensionValueTest : public testing::TestWithParam<ValueCase> {};

TEST_P(DimensionValueTest, FormatsInTheUnitWithDecimalsAndSeparators)
{
    const ValueCase& c = GetParam();
    CPlotInfo plot;
    plot.PlotSunpoTani = c.unit;
    plot.PlotSunpokurai = c.decimals;
    plot.PlotSunpoKugiri = c.separator;
    EXPECT_EQ(kov::render::DimensionValueText(plot, c.valueMm), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DimensionValueTest,
    testing::Values(ValueCase{"centimetresTwoDecimals", 1234.56, 1, 2, 1, "123.46"},
                    ValueCase{"millimetresRoundedWithCommas", 12345.6, 0, 0, 1, "12,346"},
                    ValueCase{"metresThreeDecimals", 1500, 2, 3, 0, "1.500"},
                    ValueCase{"oneDecimal", 910.04, 0, 1, 0, "910.0"},
                    ValueCase{"blankSeparator", 1234567, 0, 0, 2, "1 234 567"},
                    ValueCase{"underscoreSeparatorKeepsDecimals", 1234567.25, 0, 2, 3, "1_234_567.25"},
                    ValueCase{"noSeparator", 1234567, 0, 0, 0, "1234567"},
                    ValueCase{"negative", -2500, 1, 0, 1, "-250"},
                    ValueCase{"decimalsOutOfRangeGiveNothing", 1000, 0, 4, 0, ""}),
    [](const auto& info) { return info.param.name; });

// ---- escapement ------------------------------------------------------------------------------------------

struct EscapementCase {
    std::string name;
    int type;
    CDbPoint p1;  // from (0, 0)
    int expected;
};
void PrintTo(const EscapementCase& c, std::ostream* os) { *os << c.name; }

class DimensionEscapementTest : public testing::TestWithParam<EscapementCase> {};

TEST_P(DimensionEscapementTest, NeverUpsideDown)
{
    const EscapementCase& c = GetParam();
    EXPECT_EQ(kov::render::DimensionEscapement(c.type, {0, 0}, c.p1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DimensionEscapementTest,
    testing::Values(EscapementCase{"aboveIsLevel", 1, {0, 100}, 0}, EscapementCase{"belowIsLevel", 3, {50, 50}, 0},
                    EscapementCase{"leftIsUpright", 2, {100, 0}, 900}, EscapementCase{"rightIsUpright", 4, {0, 0}, 900},
                    EscapementCase{"alignedRightwards", 5, {100, 0}, 0},
                    EscapementCase{"alignedLeftwardsIsTurnedUpright", 5, {-100, 0}, 0},
                    EscapementCase{"alignedUpRight", 6, {100, -100}, 450},
                    EscapementCase{"alignedDownLeftTurned", 6, {-100, 100}, 450},
                    EscapementCase{"alignedStraightUpKept", 5, {0, -100}, 900},
                    EscapementCase{"alignedStraightDownKept", 5, {0, 100}, 2700}),
    [](const auto& info) { return info.param.name; });

// ---- the drawer -------------------------------------------------------------------------------------------

// Measured points 100 mm apart at one pixel per mm about device (500, 500), offset 10, paper scale 4:
// the text height 3 mm makes a 12-pixel font, so "100" measures 18 x 12 with the fake metrics.
// Mapped coordinates truncate toward zero: -10 mm lands on pixel 491.
struct DimensionFixture : testing::Test {
    CPlotInfo plot;
    DeviceTransform t = uniformTransform(1, 4, 500, 500);
    RecordingSurface dc;

    CKovLine figure(int type, CDbPoint p0, CDbPoint p1, CDbPoint text, std::uint32_t colour = 0x0000FF)
    {
        CKovLine f;
        f.MLineType = CKovLine::DIMENSION;
        f.MLinePnt = {p0, p1, text};
        f.MLineParam = {static_cast<double>(type), 100.0, 10.0};
        f.MLineColor = colour;
        f.MLineWide = 2;
        return f;
    }
};

struct DrawCase {
    std::string name;
    int type;
    CDbPoint p0, p1, text;
    std::vector<std::string> calls;
};
void PrintTo(const DrawCase& c, std::ostream* os) { *os << c.name; }

class DimensionDrawTest : public DimensionFixture, public testing::WithParamInterface<DrawCase> {};

TEST_P(DimensionDrawTest, DrawsExtensionLinesDimensionLineAndValue)
{
    const DrawCase& c = GetParam();
    CKovUnit::DrawFigureDimension(dc, t, figure(c.type, c.p0, c.p1, c.text), plot, false);
    EXPECT_EQ(dc.dump(), c.calls);
}

std::string line(const std::string& a, const std::string& b)
{
    return "line " + a + "-" + b + " pen=solid:2:0x0000FF";
}

const std::string kFont = " font=\"ＭＳ ゴシック\":12";

INSTANTIATE_TEST_SUITE_P(
    Table, DimensionDrawTest,
    testing::Values(
        DrawCase{"above", 1, {0, 0}, {100, 0}, {50, -20},
                 {line("(500,500)", "(500,491)"), line("(600,500)", "(600,491)"), line("(500,491)", "(600,491)"),
                  "textOut (541,469) \"100\"" + kFont + " color=0x0000FF align=left,top"}},
        DrawCase{"below", 3, {0, 0}, {100, 0}, {50, 20},
                 {line("(500,500)", "(500,510)"), line("(600,500)", "(600,510)"), line("(500,510)", "(600,510)"),
                  "textOut (541,508) \"100\"" + kFont + " color=0x0000FF align=left,top"}},
        DrawCase{"left", 2, {0, 0}, {0, 100}, {-20, 50},
                 {line("(500,500)", "(491,500)"), line("(500,600)", "(491,600)"), line("(491,500)", "(491,600)"),
                  "textOut (469,559) \"100\"" + kFont + " esc=900 color=0x0000FF align=left,top"}},
        DrawCase{"right", 4, {0, 0}, {0, 100}, {20, 50},
                 {line("(500,500)", "(510,500)"), line("(500,600)", "(510,600)"), line("(510,500)", "(510,600)"),
                  "textOut (508,559) \"100\"" + kFont + " esc=900 color=0x0000FF align=left,top"}},
        DrawCase{"alignedPlus", 5, {0, 0}, {100, 0}, {50, 20},
                 {line("(500,500)", "(500,510)"), line("(600,500)", "(600,510)"), line("(500,510)", "(600,510)"),
                  "textOut (550,526) \"100\"" + kFont + " color=0x0000FF align=left,top"}},
        DrawCase{"alignedMinus", 6, {0, 0}, {100, 0}, {50, -20},
                 {line("(500,500)", "(500,491)"), line("(600,500)", "(600,491)"), line("(500,491)", "(600,491)"),
                  "textOut (550,469) \"100\"" + kFont + " color=0x0000FF align=left,top"}},
        DrawCase{"alignedDiagonal", 5, {0, 0}, {60, -80}, {30, -30},
                 {line("(500,500)", "(508,506)"), line("(560,421)", "(568,427)"), line("(508,506)", "(568,427)"),
                  "textOut (530,477) \"100\"" + kFont + " esc=531 color=0x0000FF align=left,top"}},
        DrawCase{"typeZeroDrawsNothing", 0, {0, 0}, {100, 0}, {50, -20}, {}},
        DrawCase{"typeSevenDrawsNothing", 7, {0, 0}, {100, 0}, {50, -20}, {}}),
    [](const auto& info) { return info.param.name; });

TEST_F(DimensionFixture, TextIsWrittenWithTheDimensionFontOnATransparentBackground)
{
    plot.PlotSunpoFont = "IPAGothic";
    CKovUnit::DrawFigureDimension(dc, t, figure(1, {0, 0}, {100, 0}, {50, -20}), plot, false);
    ASSERT_EQ(dc.calls().size(), 4u);
    const auto& text = dc.calls()[3];
    EXPECT_EQ(text.op, "textOut");
    EXPECT_EQ(text.font.faceName, "IPAGothic");
    EXPECT_EQ(text.font.height, 12);
    EXPECT_EQ(text.font.width, 0);
    EXPECT_EQ(text.font.weight, 400);
    EXPECT_EQ(text.font.charSet, 1);
    EXPECT_EQ(text.font.outPrecision, 3);
    EXPECT_EQ(text.font.clipPrecision, 2);
    EXPECT_EQ(text.font.quality, 1);
    EXPECT_EQ(text.font.pitchAndFamily, 0x31);
    for (const auto& call : dc.calls()) EXPECT_FALSE(call.background.opaque) << call.dump;
}

TEST(DimensionFont, HeightIsAtLeastTwoPixelsAndTheFaceAtMost31Bytes)
{
    CPlotInfo plot;
    plot.PlotSunpoTextHeight = 0;
    EXPECT_EQ(kov::render::DimensionFont(plot, 4).height, 2);
    plot.PlotSunpoTextHeight = 5;
    EXPECT_EQ(kov::render::DimensionFont(plot, 2.5).height, 12);
    // Sixteen two-byte characters are 32 bytes: the last one does not fit.
    plot.PlotSunpoFont = "ゴシックゴシックゴシックゴシック";
    EXPECT_EQ(kov::render::DimensionFont(plot, 4).faceName, "ゴシックゴシックゴシックゴシッ");
    plot.PlotSunpoFont = std::string(40, 'A');
    EXPECT_EQ(kov::render::DimensionFont(plot, 4).faceName, std::string(31, 'A'));
}

TEST_F(DimensionFixture, HiddenValueLeavesLinesAndMarks)
{
    plot.PlotSunpoTextView = 0;
    plot.PlotSunpoTanten = 6;
    plot.PlotSunpoYawide = 4;  // 4 mm at paper scale 4: 16 pixels
    CKovUnit::DrawFigureDimension(dc, t, figure(1, {0, 0}, {100, 0}, {50, -20}), plot, false);
    const std::vector<std::string> expected{
        line("(500,500)", "(500,491)"), line("(600,500)", "(600,491)"), line("(500,491)", "(600,491)"),
        "polygon alternate (513,484) (500,491) (513,499) pen=solid:2:0x0000FF brush=solid:0x0000FF",
        "polygon alternate (587,498) (600,491) (587,483) pen=solid:2:0x0000FF brush=solid:0x0000FF"};
    EXPECT_EQ(dc.dump(), expected);
}

TEST_F(DimensionFixture, TooFewPointsOrParametersDrawNothing)
{
    CKovLine f = figure(1, {0, 0}, {100, 0}, {50, -20});
    f.MLineParam.pop_back();
    CKovUnit::DrawFigureDimension(dc, t, f, plot, false);
    f = figure(1, {0, 0}, {100, 0}, {50, -20});
    f.MLinePnt.pop_back();
    CKovUnit::DrawFigureDimension(dc, t, f, plot, false);
    EXPECT_TRUE(dc.calls().empty());
}

struct ColourCase {
    std::string name;
    std::uint32_t colour;
    int blackAndWhite;
    int greyOthers;
    int gradation;
    bool offLayer;
    bool output;
    std::uint32_t expected;
};
void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.name; }

class DimensionColourTest : public DimensionFixture, public testing::WithParamInterface<ColourCase> {};

TEST_P(DimensionColourTest, LinesTextAndMarksShareTheModeColour)
{
    const ColourCase& c = GetParam();
    plot.PlotSirokuro = c.blackAndWhite;
    plot.laygray = c.greyOthers;
    plot.PlotGradation = c.gradation;
    plot.PlotSunpoTanten = 9;
    CKovLine f = figure(1, {0, 0}, {100, 0}, {50, -20}, c.colour);
    f.MLineLayer2 = c.offLayer ? 3 : 0;
    CKovUnit::DrawFigureDimension(dc, t, f, plot, c.output);
    ASSERT_EQ(dc.calls().size(), 6u);
    for (const auto& call : dc.calls()) {
        if (call.op == "textOut") continue;
        EXPECT_EQ(call.pen.color, c.expected) << call.dump;
    }
    EXPECT_EQ(dc.calls()[4].brush.color, c.expected);
    EXPECT_NE(dc.calls()[3].dump.find("color=0x"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DimensionColourTest,
    testing::Values(ColourCase{"own", 0x0000FF, 0, 0, 0, false, false, 0x0000FF},
                    ColourCase{"blackAndWhiteRed", 0x0000FF, 1, 0, 0, false, false, 0},
                    ColourCase{"blackAndWhiteKeepsWhite", 0xFFFFFF, 1, 0, 0, false, false, 0xFFFFFF},
                    ColourCase{"greyOffTheCurrentLayer", 0x0000FF, 0, 1, 0, true, false, 0xC8C8C8},
                    ColourCase{"greyNotOnTheCurrentLayer", 0x0000FF, 0, 1, 0, false, false, 0x0000FF},
                    ColourCase{"greyNeverOnPaper", 0x0000FF, 0, 1, 0, true, true, 0x0000FF},
                    ColourCase{"chicDisplayUnchanged", 0x0000FF, 0, 0, 3, false, false, 0x0000FF}),
    [](const auto& info) { return info.param.name; });

TEST_F(DimensionFixture, PrinterPagesUsePrinterPenWidths)
{
    DeviceProperties printer;
    printer.isPrinting = true;
    printer.isOutput = true;
    RecordingSurface paper(printer);
    CKovLine f = figure(1, {0, 0}, {100, 0}, {50, -20});
    f.MLineWide = 12;  // clamped to 10
    CKovUnit::DrawFigureDimension(paper, t, f, plot, true);
    ASSERT_FALSE(paper.calls().empty());
    EXPECT_EQ(paper.calls()[0].pen.width, plot.linehutosap[9]);
}

} // namespace
