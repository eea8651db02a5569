// The colour modes and fill routes of the closed figures, checked through the recording surface.

#include "DrawerTestSupport.h"

#include "render/FigureDrawers.h"
#include "render/Fills.h"

#include <gtest/gtest.h>

using namespace kov::test::drawers;
using kov::platform::RecordingSurface;

namespace {

struct ModeSetup {
    const char* name;
    int blackAndWhite;
    int gradation;
    bool offCurrentLayerGreyed; // laygray on, figure on another layer
    bool trace;
    bool output;
};

const ModeSetup kPlain{"plain", 0, 0, false, false, false};
const ModeSetup kBlackWhite{"black-and-white", 1, 0, false, false, false};
const ModeSetup kChic{"chic", 0, 3, false, false, false};
const ModeSetup kGrey{"grey", 0, 0, true, false, false};
const ModeSetup kGreyOutput{"grey-on-paper", 0, 0, true, false, true};
const ModeSetup kTrace{"trace", 0, 0, false, true, false};
const ModeSetup kTraceOutput{"trace-on-paper", 0, 0, false, true, true};
const ModeSetup kTraceBlackWhite{"trace-in-black-and-white", 1, 0, false, true, false};
const ModeSetup kTraceGradients{"trace-with-gradients", 0, 1, false, true, false};

struct ColourRow {
    int kind;
    ModeSetup mode;
    std::uint32_t outline;
    std::uint32_t fill;
    const char* expectOutline;
    const char* expectFill;
};

std::string drawOne(const ColourRow& row, RecordingSurface& s)
{
    CKovUnit unit;
    CKovLine& f = addFigureOfKind(unit, row.kind);
    f.MLineColor = row.outline;
    f.MLineNakaColor = row.fill;
    f.MLineNakaColor2 = kBlue;
    f.MLinebNakanuri = row.kind >= 1 && row.kind <= 4 ? 1 : 0;
    f.MLineGradiation = 4501;
    CPlotInfo plot;
    plot.PlotSirokuro = row.mode.blackAndWhite;
    plot.PlotGradation = row.mode.gradation;
    if (row.mode.offCurrentLayerGreyed) {
        plot.laygray = 1;
        f.MLineLayer2 = 1;
    }
    CKovUnit::DrawEnvironment env;
    env.traceMode = row.mode.trace;
    unit.DrawFigure(s, pixelTransform(), f, plot, row.mode.output, env);
    return std::string(row.mode.name);
}

} // namespace

TEST(FigureFills, ColourModeByKindTable)
{
    const ColourRow rows[] = {
        // Closed kinds: outline, then fill after the colour mode.
        {1, kPlain, kRed, kGreen, "0x0000FF", "solid:0x00FF00"},
        {1, kBlackWhite, kRed, kGreen, "0x000000", "solid:0xFFFFFF"},
        {1, kBlackWhite, kWhite, 0x000000, "0xFFFFFF", "solid:0x000000"},
        {1, kChic, kRed, kGreen, "0x000000", "path:0xF0F0F0/0x646464@100%"},
        {1, kGrey, kRed, kGreen, "0xC8C8C8", "solid:0xFFFFFF"},
        {1, kGreyOutput, kRed, kGreen, "0x0000FF", "solid:0x00FF00"},
        {1, kTrace, kRed, kGreen, "0x0000FF", "linear:0x00FF00->0x00FF00@50%"},
        {1, kTraceOutput, kRed, kGreen, "0x0000FF", "solid:0x00FF00"},
        {1, kTraceBlackWhite, kRed, kGreen, "0x000000", "linear:0xFFFFFF->0xFFFFFF@50%"},
        {1, kTraceGradients, kRed, kGreen, "0x0000FF", "linear:0x00FF00->0xFF0000@50%"},
        {2, kPlain, kRed, kGreen, "0x0000FF", "solid:0x00FF00"},
        {2, kBlackWhite, kRed, kGreen, "0x000000", "solid:0xFFFFFF"},
        {2, kChic, kRed, kGreen, "0x000000", "path:0xF0F0F0/0x646464@100%"},
        {2, kGrey, kRed, kGreen, "0xC8C8C8", "solid:0xFFFFFF"},
        {2, kTrace, kRed, kGreen, "0x0000FF", "linear:0x00FF00->0x00FF00@50%"},
        {3, kPlain, kRed, kGreen, "0x0000FF", "solid:0x00FF00"},
        {3, kBlackWhite, kRed, 0x000000, "0x000000", "solid:0x000000"},
        {3, kChic, kRed, kGreen, "0x000000", "path:0xF0F0F0/0x646464@100%"},
        {3, kGrey, kRed, kGreen, "0xC8C8C8", "solid:0xFFFFFF"},
        {3, kTrace, kRed, kGreen, "0x0000FF", "linear:0x00FF00->0x00FF00@50%"},
        {3, kTraceOutput, kRed, kGreen, "0x0000FF", "solid:0x00FF00"},
        {3, kTraceBlackWhite, kRed, 0x000000, "0x000000", "linear:0x000000->0x000000@50%"},
        {4, kTraceGradients, kRed, kGreen, "0x0000FF", "linear:0x00FF00->0xFF0000@50%"},
        {4, kPlain, kRed, kGreen, "0x0000FF", "solid:0x00FF00"},
        {4, kBlackWhite, kRed, kGreen, "0x000000", "solid:0xFFFFFF"},
        {4, kChic, kRed, kGreen, "0x000000", "path:0xF0F0F0/0x646464@100%"},
        {4, kGrey, kRed, kGreen, "0xC8C8C8", "solid:0xFFFFFF"},
        {4, kTrace, kRed, kGreen, "0x0000FF", "linear:0x00FF00->0x00FF00@50%"},
        // Lines and continuous lines have no fill; the chic display keeps a white continuous line.
        {0, kPlain, kRed, kGreen, "0x0000FF", "none"},
        {0, kBlackWhite, kRed, kGreen, "0x000000", "none"},
        {0, kBlackWhite, kWhite, kGreen, "0xFFFFFF", "none"},
        {0, kChic, kWhite, kGreen, "0x000000", "none"},
        {0, kGrey, kRed, kGreen, "0xC8C8C8", "none"},
        {0, kGreyOutput, kRed, kGreen, "0x0000FF", "none"},
        {0, kTrace, kRed, kGreen, "0x0000FF", "none"},
        {6, kPlain, kRed, kGreen, "0x0000FF", "none"},
        {6, kBlackWhite, kRed, kGreen, "0x000000", "none"},
        {6, kChic, kWhite, kGreen, "0xFFFFFF", "none"},
        {6, kChic, kRed, kGreen, "0x000000", "none"},
        {6, kGrey, kRed, kGreen, "0xC8C8C8", "none"},
    };
    for (const ColourRow& row : rows) {
        RecordingSurface s;
        const std::string mode = drawOne(row, s);
        SCOPED_TRACE("kind " + std::to_string(row.kind) + " in " + mode);
        EXPECT_EQ(outlineColour(s), row.expectOutline);
        EXPECT_EQ(fillSummary(s), row.expectFill);
    }
}

namespace {

struct GradientRow {
    const char* name;
    int kind;
    int arcType;
    int display;   // PlotGradation
    int code;
    std::uint32_t fill;
    int alpha;
    int blackAndWhite;
    const char* expectFill;
};

} // namespace

TEST(FigureFills, GradientRouteTable)
{
    const GradientRow rows[] = {
        {"display 1 along 45 degrees", 1, 0, 1, 4501, kGreen, 100, 0, "linear:0x00FF00->0xFF0000@100%"},
        {"mode 0 is no gradient", 1, 0, 1, 4500, kGreen, 100, 0, "solid:0x00FF00"},
        {"display 0 is no gradient", 1, 0, 0, 4501, kGreen, 100, 0, "solid:0x00FF00"},
        {"white fill has no gradient", 1, 0, 1, 4501, kWhite, 100, 0, "solid:0xFFFFFF"},
        {"black fill has no gradient", 1, 0, 1, 4501, 0x000000, 100, 0, "solid:0x000000"},
        {"towards the surroundings", 2, 0, 2, 1, kGreen, 100, 0, "path:0x00FF00/0xFF0000@100%"},
        {"gradient keeps its opacity", 2, 0, 2, 1, kGreen, 40, 0, "path:0x00FF00/0xFF0000@40%"},
        {"opacity alone", 1, 0, 0, 0, kGreen, 50, 0, "linear:0x00FF00->0x00FF00@50%"},
        {"opacity is opaque in black and white", 1, 0, 0, 0, kGreen, 50, 1, "solid:0xFFFFFF"},
        {"ellipse towards the surroundings", 3, 0, 2, 1, kGreen, 100, 0, "path:0x00FF00/0xFF0000@100%"},
        {"sector takes the gradient", 4, 0, 1, 9001, kGreen, 100, 0, "linear:0x00FF00->0xFF0000@100%"},
        {"chord ignores gradient and opacity", 4, 1, 1, 9001, kGreen, 30, 0, "solid:0x00FF00"},
        {"thick arc ignores opacity", 4, 2, 0, 0, kGreen, 30, 0, "solid:0x00FF00"},
    };
    for (const GradientRow& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        CKovLine& f = addFigureOfKind(unit, row.kind);
        f.MLinebNakanuri = 1;
        f.MLineNakaColor = row.fill;
        f.MLineNakaColor2 = kBlue;
        f.MLineGradiation = row.code;
        f.MLineAlpha = row.alpha;
        f.MLineTanten = row.arcType;
        CPlotInfo plot;
        plot.PlotGradation = row.display;
        plot.PlotSirokuro = row.blackAndWhite;
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(), f, plot, false, CKovUnit::DrawEnvironment{});
        EXPECT_EQ(fillSummary(s), row.expectFill);
    }
}

TEST(FigureFills, SectorShowsItsRadiiOnlyWithASolidFill)
{
    CPlotInfo plot;
    plot.PlotGradation = 1;
    for (int alpha : {100, 50}) {
        CKovUnit unit;
        CKovLine& f = addFigureOfKind(unit, CKovLine::ARC);
        f.MLinebNakanuri = 1;
        f.MLineNakaColor = kGreen;
        f.MLineAlpha = alpha;
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(), f, plot, false, CKovUnit::DrawEnvironment{});
        SCOPED_TRACE(alpha);
        // A pie strokes the two radii; a translucent sector is laid and then only its curve drawn.
        EXPECT_EQ(countOps(s, "pie"), alpha == 100 ? 1 : 0);
        EXPECT_EQ(countOps(s, "arc"), alpha == 100 ? 0 : 1);
    }
}

TEST(FigureFills, GroupGradientSpansAPlainGroupsBox)
{
    struct Row {
        const char* name;
        int groupKind;
        int code;
        kov::platform::DeviceRect box;
    };
    const Row rows[] = {
        {"plain group, mode 2", CKovGroup::PLAIN, 4502, {0, 0, 200, 100}},
        {"plain group, mode 1", CKovGroup::PLAIN, 4501, {10, 20, 90, 80}},
        {"room keeps the figure's box", CKovGroup::ROOM, 4502, {10, 20, 90, 80}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        CKovLine& f = addFigureOfKind(unit, CKovLine::RECTANGLE);
        auto group = std::make_unique<CKovGroup>();
        group->MGrpID = unit.NextGroupId();
        group->MGrpRoom = row.groupKind;
        group->MGrpmin = {0, 0};
        group->MGrpmax = {200, 100};
        group->MGrpLineID = {f.MLineID};
        f.MLineGrpID = group->MGrpID;
        unit.m_Groups.Add(std::move(group));
        f.MLinebNakanuri = 1;
        f.MLineNakaColor = kGreen;
        f.MLineGradiation = row.code;
        CPlotInfo plot;
        plot.PlotGradation = 1;
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(), f, plot, false, CKovUnit::DrawEnvironment{});
        ASSERT_EQ(countOps(s, "fillLinearGradient"), 1);
        EXPECT_EQ(s.calls()[0].rect, row.box);
        EXPECT_NE(s.calls()[0].dump.find("angle=45"), std::string::npos);
    }
}

TEST(FigureFills, FillGradientShapeKinds)
{
    CKovUnit unit;
    const DevicePoint pts[4] = {{0, 0}, {40, 20}, {40, 10}, {20, 0}};
    struct Row {
        int shapeKind;
        int display;
        const char* expect; // the recorded call, or "" for none
    };
    const Row rows[] = {
        {1, 1, "fillLinearGradient polygon winding (0,0) (40,20) (40,10) (20,0) box=[0,0,40,20] 0x0000FF->0x00FF00 "
               "angle=30 opacity=50%"},
        {2, 2, "fillPathGradient polygon winding (0,0) (40,20) (40,10) (20,0) over boundary (0,0) (40,20) (40,10) "
               "(20,0) centre=0x0000FF surround=0x00FF00 blend 0%:0x00FF00 30%:0x0000FF 100%:0x0000FF opacity=50%"},
        {2, 3, "fillPathGradient polygon winding (0,0) (40,20) (40,10) (20,0) over boundary (0,0) (40,20) (40,10) "
               "(20,0) centre=0xF0F0F0 surround=0x646464 blend 0%:0x646464 20%:0xF0F0F0 100%:0xF0F0F0 opacity=50%"},
        {3, 2, "fillPathGradient ellipse [0,0,40,20] over ellipse [0,0,40,20] centre=0x0000FF surround=0x00FF00 "
               "focus=70% opacity=50%"},
        {4, 1, "fillLinearGradient pie [0,0,40,20] (40,10) (20,0) box=[0,0,40,20] 0x0000FF->0x00FF00 angle=30 "
               "opacity=50%"},
        {0, 1, ""},
        {5, 1, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shapeKind * 10 + row.display);
        RecordingSurface s;
        unit.FillGradientShape(s, pixelTransform(), pts, 4, row.shapeKind, 0, kRed, kGreen, 3001, 50, row.display);
        const auto dump = s.dump();
        EXPECT_EQ(dump.empty() ? std::string() : dump.front(), row.expect);
    }
}

TEST(FigureFills, PatternCodesOutsideOneToEightDrawAsNone)
{
    const auto env = environmentWithPatterns();
    struct Row {
        int pattern;
        int hatch; // -1: no hatching
        const char* expect;
    };
    const Row rows[] = {
        {2, 1, "pattern"},           // a pattern replaces fill and hatching
        {8, -1, "pattern"},
        {0, -1, "solid:0x00FF00"},
        {9, -1, "solid:0x00FF00"},   // beyond the eight bitmaps: as none
        {-1, -1, "solid:0x00FF00"},
        {100, 1, "solid:0x00FF00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pattern);
        for (int kind : {1, 2, 3, 4}) {
            CKovUnit unit;
            CKovLine& f = addFigureOfKind(unit, kind);
            f.MLinebNakanuri = 1;
            f.MLineNakaColor = kGreen;
            f.MLinePattern = row.pattern;
            f.MLinebHach = row.hatch >= 0 ? 1 : 0;
            f.MLineHachT = std::max(row.hatch, 0);
            RecordingSurface s;
            unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, false, env);
            EXPECT_EQ(fillSummary(s), row.expect) << "kind " << kind;
            EXPECT_EQ(countOps(s, "polygon") + countOps(s, "ellipse") + countOps(s, "pie") + countOps(s, "chord"),
                      row.expect == std::string("pattern") ? 1 : (row.hatch >= 0 ? 2 : 1))
                << "kind " << kind;
        }
    }
}

TEST(FigureFills, PrintedPatternCellsScaleWhenAsked)
{
    auto env = environmentWithPatterns();
    struct Row {
        bool printing;
        int enlarge;
        double paperScale;
        int side;
    };
    const Row rows[] = {{false, 1, 12.8, 8}, {true, 0, 12.8, 8}, {true, 1, 12.8, 32}, {true, 1, 6.4, 16}, {true, 1, 0, 8}};
    for (const Row& row : rows) {
        env.enlargePrintedPatterns = row.enlarge;
        const auto image = kov::render::PatternImage(env, 3, row.printing, row.paperScale);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width(), row.side) << row.paperScale;
        EXPECT_EQ(image->height(), row.side);
    }
    CKovUnit::DrawEnvironment noBitmaps;
    EXPECT_FALSE(kov::render::PatternImage(noBitmaps, 3, false, 4).has_value());

    // Through a drawer on a printer page.
    env.enlargePrintedPatterns = 1;
    CKovUnit unit;
    CKovLine& f = addFigureOfKind(unit, CKovLine::RECTANGLE);
    f.MLinePattern = 3;
    kov::platform::DeviceProperties page;
    page.isPrinting = page.isOutput = true;
    RecordingSurface s(page);
    unit.DrawFigure(s, pixelTransform(6.4), f, CPlotInfo{}, true, env);
    ASSERT_EQ(s.calls().front().brush.style, kov::platform::BrushStyle::Pattern);
    EXPECT_EQ(s.calls().front().brush.pattern.width(), 16);
}

TEST(FigureFills, HatchPaintsOverTheFillColourOrTransparently)
{
    struct Row {
        int filled;
        int hatchStyle;
        const char* expectHatch; // the recorded hatch call's brush and background, "" for none
    };
    const Row rows[] = {
        {1, 4, "brush=hatch4:0x0000FF bk=0x00FF00"},
        {0, 2, "brush=hatch2:0x0000FF"},
        {0, 100, ""},  // a room's hatch kind is no hatch style
        {1, 300, ""},
        {0, 6, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.hatchStyle);
        for (int kind : {1, 2, 3, 4}) {
            CKovUnit unit;
            CKovLine& f = addFigureOfKind(unit, kind);
            f.MLineColor = kRed;
            f.MLinebNakanuri = row.filled;
            f.MLineNakaColor = kGreen;
            f.MLinebHach = 1;
            f.MLineHachT = row.hatchStyle;
            RecordingSurface s;
            unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, false, CKovUnit::DrawEnvironment{});
            std::string hatch;
            for (const auto& c : s.calls())
                if (c.brush.style == kov::platform::BrushStyle::Hatch) hatch = c.dump.substr(c.dump.find("brush="));
            EXPECT_EQ(hatch, row.expectHatch) << "kind " << kind;
        }
    }
}

TEST(FigureFills, FillWithoutOutlineIsTheFillAloneInEveryMode)
{
    // A Jw_cad solid: no outline in any mode, and in black and white a black fill, not a white
    // box with a black edge.
    struct Row {
        int kind;
        ModeSetup mode;
        std::uint32_t fill;
        const char* expectFill;
    } rows[] = {
        {2, kPlain, kRed, "solid:0x0000FF"},
        {2, kBlackWhite, kRed, "solid:0x000000"},
        {2, kBlackWhite, kWhite, "solid:0xFFFFFF"},
        {1, kBlackWhite, kGreen, "solid:0x000000"},
        {3, kBlackWhite, kRed, "solid:0x000000"},
        {3, kPlain, kGreen, "solid:0x00FF00"},
        {4, kPlain, kRed, "solid:0x0000FF"},
        {4, kBlackWhite, kRed, "solid:0x000000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("kind " + std::to_string(row.kind) + " in " + row.mode.name);
        CKovUnit unit;
        CKovLine& f = addFigureOfKind(unit, row.kind);
        f.MLinebNakanuri = 1;
        f.MLineNoOutline = 1;
        f.MLineColor = row.fill;
        f.MLineNakaColor = f.MLineNakaColor2 = row.fill;
        CPlotInfo plot;
        plot.PlotSirokuro = row.mode.blackAndWhite;
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(), f, plot, false, CKovUnit::DrawEnvironment{});
        EXPECT_EQ(fillSummary(s), row.expectFill);
        const std::string fill = std::string(row.expectFill).substr(6);
        for (const auto& c : s.calls()) {
            EXPECT_NE(c.op, "line");
            EXPECT_NE(c.op, "polyline");
            EXPECT_NE(c.op, "arc");
            if (c.pen.style != kov::platform::PenStyle::Null) {
                EXPECT_EQ(hex(c.pen.color), fill) << c.op;
                EXPECT_LE(c.pen.width, 1) << c.op;
            }
        }
    }
}
