#include "model/KovLine.h"
#include "model/PlotInfo.h"
#include "render/LineStyles.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using kov::platform::PenStyle;

namespace {

struct PenCase {
    std::string name;
    int lineType;
    int widthCode;
    bool printing;
    bool output;
    PenStyle style;
    int width;
};
void PrintTo(const PenCase& c, std::ostream* os) { *os << c.name; }

class FigurePenTest : public testing::TestWithParam<PenCase> {};

TEST_P(FigurePenTest, TakesTheWidthTableOfTheDevice)
{
    const PenCase& c = GetParam();
    CPlotInfo plot;
    plot.linehutosag = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    plot.linehutosap = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    const auto pen = kov::render::FigurePen(plot, c.lineType, c.widthCode, 0x123456, c.printing, c.output);
    EXPECT_EQ(pen.style, c.style);
    EXPECT_EQ(pen.width, c.width);
    EXPECT_EQ(pen.color, 0x123456u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FigurePenTest,
    testing::Values(PenCase{"screenFirst", 0, 1, false, false, PenStyle::Solid, 1},
                    PenCase{"screenLast", 0, 10, false, false, PenStyle::Solid, 10},
                    PenCase{"printerFirst", 0, 1, true, true, PenStyle::Solid, 11},
                    PenCase{"printerLast", 4, 10, true, true, PenStyle::Solid, 20},
                    PenCase{"pictureExportUsesScreenWidths", 0, 3, false, true, PenStyle::Solid, 3},
                    PenCase{"brokenTypesDrawSolidPens", 2, 4, false, false, PenStyle::Solid, 4},
                    PenCase{"unknownTypeIsSolid", 9, 2, false, false, PenStyle::Solid, 2},
                    PenCase{"widthCodeZeroIsClampedToOne", 0, 0, false, false, PenStyle::Solid, 1},
                    PenCase{"widthCodeElevenIsClampedToTen", 0, 11, true, true, PenStyle::Solid, 20},
                    PenCase{"hugeWidthCodeIsClampedToTen", 0, 100000, false, false, PenStyle::Solid, 10},
                    PenCase{"auxiliaryOnScreenIsDotted", 5, 7, false, false, PenStyle::Dot, 1},
                    PenCase{"auxiliaryOnOutputHasNoPen", 5, 7, true, true, PenStyle::Null, 1}),
    [](const auto& info) { return info.param.name; });

struct WidthCase {
    std::string name;
    int widthCode;
    bool printing;
    int width;
};
void PrintTo(const WidthCase& c, std::ostream* os) { *os << c.name; }

class PenWidthTest : public testing::TestWithParam<WidthCase> {};

// Every code has its own width in each table, so a code read from the wrong entry or the wrong
// table shows.
TEST_P(PenWidthTest, EachCodeTakesItsOwnEntry)
{
    const WidthCase& c = GetParam();
    CPlotInfo plot;
    plot.linehutosag = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29};
    plot.linehutosap = {31, 37, 41, 43, 47, 53, 59, 61, 67, 71};
    EXPECT_EQ(kov::render::LinePenWidth(plot, c.widthCode, c.printing), c.width);
    EXPECT_EQ(kov::render::FigurePen(plot, 0, c.widthCode, 0, c.printing, c.printing).width, c.width);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PenWidthTest,
    testing::Values(WidthCase{"screen1", 1, false, 2}, WidthCase{"screen2", 2, false, 3},
                    WidthCase{"screen3", 3, false, 5}, WidthCase{"screen4", 4, false, 7},
                    WidthCase{"screen5", 5, false, 11}, WidthCase{"screen6", 6, false, 13},
                    WidthCase{"screen7", 7, false, 17}, WidthCase{"screen8", 8, false, 19},
                    WidthCase{"screen9", 9, false, 23}, WidthCase{"screen10", 10, false, 29},
                    WidthCase{"printer1", 1, true, 31}, WidthCase{"printer2", 2, true, 37},
                    WidthCase{"printer3", 3, true, 41}, WidthCase{"printer4", 4, true, 43},
                    WidthCase{"printer5", 5, true, 47}, WidthCase{"printer6", 6, true, 53},
                    WidthCase{"printer7", 7, true, 59}, WidthCase{"printer8", 8, true, 61},
                    WidthCase{"printer9", 9, true, 67}, WidthCase{"printer10", 10, true, 71},
                    WidthCase{"screenZeroIsOne", 0, false, 2}, WidthCase{"printerZeroIsOne", 0, true, 31},
                    WidthCase{"screenElevenIsTen", 11, false, 29}, WidthCase{"printerElevenIsTen", 11, true, 71},
                    WidthCase{"screenMinusOneIsOne", -1, false, 2},
                    WidthCase{"printerMinusOneIsOne", -1, true, 31}),
    [](const auto& info) { return info.param.name; });

TEST(LineStyles, MarkSizeIndexIsClampedToTheTable)
{
    EXPECT_EQ(kov::render::ClampMarkSizeIndex(-1), 0);
    EXPECT_EQ(kov::render::ClampMarkSizeIndex(2), 2);
    EXPECT_EQ(kov::render::ClampMarkSizeIndex(5), 4);
}

struct ShownCase {
    std::string name;
    int kind;
    int lineType;
    bool output;
    bool printFills;
    bool shown;
};
void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.name; }

class AuxiliaryOutputTest : public testing::TestWithParam<ShownCase> {};

TEST_P(AuxiliaryOutputTest, AuxiliaryFiguresOnPaper)
{
    const ShownCase& c = GetParam();
    EXPECT_EQ(kov::render::FigureDrawnInLineType(c.kind, c.lineType, c.output, c.printFills), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AuxiliaryOutputTest,
    testing::Values(ShownCase{"lineOnScreen", CKovLine::LINE, 5, false, false, true},
                    ShownCase{"lineNeverPrinted", CKovLine::LINE, 5, true, true, false},
                    ShownCase{"continuousLineNeverPrinted", CKovLine::CONTINUOUS, 5, true, true, false},
                    ShownCase{"rectanglePrintedWithFillsOn", CKovLine::RECTANGLE, 5, true, true, true},
                    ShownCase{"rectangleNotPrintedWithFillsOff", CKovLine::RECTANGLE, 5, true, false, false},
                    ShownCase{"arcNotPrintedWithFillsOff", CKovLine::ARC, 5, true, false, false},
                    ShownCase{"solidLinePrinted", CKovLine::LINE, 0, true, false, true},
                    ShownCase{"dashedCurvePrinted", CKovLine::CONTINUOUS, 1, true, false, true}),
    [](const auto& info) { return info.param.name; });

} // namespace
