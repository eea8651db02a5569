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
