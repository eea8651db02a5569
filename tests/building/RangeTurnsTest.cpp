#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/RecordingSurface.h"
#include "support/DrawingText.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace kov::test;

namespace {

struct Turns {
    CKovUnit unit;
    CPlotInfo plot;
    DeviceTransform transform = pixelTransform();
    kov::platform::RecordingSurface surface;
    SelectionRecord selection;
    CKovUnit::RangeTurnOptions options;
    CDbPoint c1{0, 0}, c2{2000, 2000};

    using Op = void (CKovUnit::*)(const TextBoxMeasurer&, SelectionRecord&, const CPlotInfo&, const CDbPointArray&,
                                  const CDbPoint&, const DeviceTransform&, const CKovUnit::RangeTurnOptions&);
    void run(Op op)
    {
        const SurfaceTextBoxMeasurer measurer(surface);
        (unit.*op)(measurer, selection, plot, {c1}, c2, transform, options);
    }
    void rotate(double a)
    {
        const SurfaceTextBoxMeasurer measurer(surface);
        unit.RotateRange(measurer, selection, plot, {c1}, c2, transform, a, options);
    }
};

// A bit of everything, near the middle of the square range (0,0)-(2000,2000).
void fillPlan(CKovUnit& unit)
{
    addWall(unit, 1, {600, 600}, {1400, 600});
    addWall(unit, 2, {600, 600}, {600, 1300});
    CKovWall& column = addWall(unit, 3, {1400, 1400}, {1400, 1400});
    column.MWall_Type = CKovWall::COLUMN;
    CKovUnit::ComputeWallCorners(column.MWallPntKado, column.MWallPntA, column.MWallPntB, 60, 0);
    column.MWallarPntA = {column.MWallPntKado[0], column.MWallPntKado[1], column.MWallPntKado[2], column.MWallPntKado[3]};
    column.MWallarPntB = {column.MWallPntKado[1], column.MWallPntKado[2], column.MWallPntKado[3], column.MWallPntKado[0]};
    addFigure(unit, 10, CKovLine::LINE, {{700, 900}, {900, 1100}});
    addFigure(unit, 11, CKovLine::RECTANGLE, {{1000, 1000}, {1000, 1200}, {1300, 1200}, {1300, 1000}});
    addFigure(unit, 12, CKovLine::CIRCLE, {{800, 1500}}, {100});
    addFigure(unit, 13, CKovLine::CIRCLE, {{1200, 800}}, {150, 0.5});
    addFigure(unit, 14, CKovLine::ARC, {{1000, 700}, {1100, 700}, {1000, 600}}, {100});
    addFigure(unit, 15, CKovLine::DIMENSION, {{700, 1600}, {1100, 1600}, {900, 1650}}, {2});
    addFigure(unit, 16, CKovLine::CONTINUOUS, {{500, 500}, {550, 520}, {600, 500}});
    // A fitting: its frame's first parameter is the flip flag.
    addFigure(unit, 20, CKovLine::RECTANGLE, {{1500, 900}, {1500, 1000}, {1700, 1000}, {1700, 900}}, {0, 3, 1}, 30);
    addFigure(unit, 21, CKovLine::ARC, {{1500, 900}, {1700, 900}, {1500, 700}}, {200}, 30);
    CKovGroup& fitting = addGroup(unit, 30, {20, 21}, {}, {}, CKovGroup::FITTING);
    fitting.MGrpKakudo = 90;
    CKovText& text = addText(unit, 40, {900, 1300}, "ABC");
    text.MTextFontMenu.m_toko_align = 0;
    auto picture = std::make_unique<CKovImage>();
    picture->ImageID = 50;
    picture->OffsetX = 900;
    picture->OffsetY = 400;
    picture->m_rcDrawn = {850, 350, 950, 450};
    unit.m_Images.Add(std::move(picture));
    unit.JoinWalls(0);
}

TEST(RangeTurns, TurnsAndMirrorsComeBackExactly)
{
    struct Case {
        const char* name;
        std::vector<Turns::Op> ops;
    } cases[] = {
        {"four quarter turns left",
         {&CKovUnit::RotateRangeLeft90, &CKovUnit::RotateRangeLeft90, &CKovUnit::RotateRangeLeft90,
          &CKovUnit::RotateRangeLeft90}},
        {"four quarter turns right",
         {&CKovUnit::RotateRangeRight90, &CKovUnit::RotateRangeRight90, &CKovUnit::RotateRangeRight90,
          &CKovUnit::RotateRangeRight90}},
        {"left then right", {&CKovUnit::RotateRangeLeft90, &CKovUnit::RotateRangeRight90}},
        {"two left-right mirrors", {&CKovUnit::MirrorRangeHorizontal, &CKovUnit::MirrorRangeHorizontal}},
        {"two up-down mirrors", {&CKovUnit::MirrorRangeVertical, &CKovUnit::MirrorRangeVertical}},
        {"two half turns", {&CKovUnit::RotateRange180, &CKovUnit::RotateRange180}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Turns t;
        fillPlan(t.unit);
        const std::string before = DescribeDrawing(t.unit);
        for (Turns::Op op : c.ops)
            t.run(op);
        EXPECT_EQ(DescribeDrawing(t.unit), before);
        EXPECT_EQ(t.selection.m_nCount, 13); // the range's objects stay selected
    }
}

TEST(RangeTurns, QuarterTurnsOfGroupsTextsAndColumns)
{
    Turns t;
    fillPlan(t.unit);
    t.run(&CKovUnit::RotateRangeLeft90);
    const CKovUnit& u = t.unit;
    EXPECT_EQ(u.FindGroup(30)->MGrpKakudo, 180);
    EXPECT_EQ(u.FindText(40)->MTextFontMenu.lfEscapement, 900);
    // x' = y + (cx - cy), y' = (cx + cy) - x with the centre (1000, 1000).
    EXPECT_EQ(u.FindText(40)->MTextpnt, (CDbPoint{1300, 1100}));
    // A dimension drawn left of its points (2) is drawn below them after a left turn (3).
    EXPECT_EQ(u.FindLine(15)->MLineParam[0], 3);
    // The ellipse turns with its axes: 75 wide, twice as high.
    EXPECT_EQ(u.FindLine(13)->MLineParam, (std::vector<double>{75, 2}));
    // The column keeps its size about its moved core point.
    const CKovWall& column = *u.FindWall(3);
    EXPECT_EQ(column.MWallPntA, (CDbPoint{1400, 600}));
    EXPECT_EQ(column.MWallPntKado[0], (CDbPoint{1340, 540}));
    EXPECT_EQ(column.MWallPntKado[2], (CDbPoint{1460, 660}));
    // A group at 270 turned left ends at 360; turned right from 0 it ends at 270.
    t.unit.FindGroup(30)->MGrpKakudo = 270;
    t.run(&CKovUnit::RotateRangeLeft90);
    EXPECT_EQ(u.FindGroup(30)->MGrpKakudo, 360);
    t.unit.FindGroup(30)->MGrpKakudo = 0;
    t.run(&CKovUnit::RotateRangeRight90);
    EXPECT_EQ(u.FindGroup(30)->MGrpKakudo, 270);
}

TEST(RangeTurns, UprightTextsSwitchWriting)
{
    Turns t;
    t.options.uprightTexts = 1;
    addText(t.unit, 1, {900, 1000}, "ABC");
    t.run(&CKovUnit::RotateRangeLeft90);
    const CKovText& text = *std::as_const(t.unit).FindText(1);
    EXPECT_EQ(text.MTextFontMenu.lfEscapement, 2700);
    EXPECT_EQ(text.MTextFontMenu.lfFaceName.front(), '@');
    t.run(&CKovUnit::RotateRangeRight90);
    EXPECT_EQ(text.MTextFontMenu.lfEscapement, 0);
    EXPECT_NE(text.MTextFontMenu.lfFaceName.front(), '@');
}

TEST(RangeTurns, MirrorsShiftTextsByTheirWholeWidthAndKeepTheirAngle)
{
    Turns t;
    CKovText& left = addText(t.unit, 1, {100, 500}, "ABCDEFGH");
    CKovText& centred = addText(t.unit, 2, {100, 700}, "ABCDEFGH");
    centred.MTextFontMenu.m_toko_align = 1;
    const SurfaceTextBoxMeasurer measurer(t.surface);
    const DeviceRect box = measurer.TextBoxSize(100, 500, "ABCDEFGH", left.MTextFontMenu, 1.0);
    // The text is 23.6 mm wide on the drawing: the shift is 23 whole millimetres.
    t.transform = pixelTransform((box.right - box.left) / 23.6);
    t.run(&CKovUnit::MirrorRangeHorizontal);
    EXPECT_DOUBLE_EQ(std::as_const(t.unit).FindText(1)->MTextpnt.x, 2000 - 100 - 23);
    EXPECT_EQ(std::as_const(t.unit).FindText(1)->MTextFontMenu.lfEscapement, 0);
    // The up-down mirror reads the horizontal alignment: a centred text only moves to the mirrored anchor.
    t.run(&CKovUnit::MirrorRangeVertical);
    EXPECT_DOUBLE_EQ(std::as_const(t.unit).FindText(2)->MTextpnt.y, 2000 - 700);
}

TEST(RangeTurns, FittingsTurnOverOnlyWhenMirrored)
{
    struct Case {
        const char* name;
        Turns::Op op;
        int rebuilt;
        double flag;
    } cases[] = {
        {"left-right mirror", &CKovUnit::MirrorRangeHorizontal, 1, 1},
        {"up-down mirror", &CKovUnit::MirrorRangeVertical, 1, 1},
        // A door opening to the right keeps its hand when the range turns.
        {"right quarter turn", &CKovUnit::RotateRangeRight90, 0, 0},
        {"left quarter turn", &CKovUnit::RotateRangeLeft90, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Turns t;
        fillPlan(t.unit);
        int rebuilt = 0;
        t.options.rebuildFitting = [&](CKovUnit&, int id) {
            EXPECT_EQ(id, 30);
            ++rebuilt;
            return 0;
        };
        t.run(c.op);
        EXPECT_EQ(rebuilt, c.rebuilt);
        EXPECT_EQ(std::as_const(t.unit).FindLine(20)->MLineParam[0], c.flag);
    }
}

TEST(RangeTurns, MirrorsOfDimensionsArcsAndRectangles)
{
    Turns t;
    fillPlan(t.unit);
    addFigure(t.unit, 60, CKovLine::DIMENSION, {{100, 100}, {300, 100}, {200, 150}}, {2}, 61);
    addGroup(t.unit, 61, {60});
    t.run(&CKovUnit::MirrorRangeHorizontal);
    const CKovUnit& u = t.unit;
    EXPECT_EQ(u.FindLine(15)->MLineParam[0], 4); // selected by itself: 2 becomes 4
    EXPECT_EQ(u.FindLine(60)->MLineParam[0], 2); // in a group: kept
    // The arc still runs counter-clockwise: its ends are exchanged.
    EXPECT_EQ(u.FindLine(14)->MLinePnt, (CDbPointArray{{1000, 700}, {1000, 600}, {900, 700}}));
    // A member rectangle's points run the other way round; a rectangle by itself keeps its order.
    EXPECT_EQ(u.FindLine(20)->MLinePnt.front(), (CDbPoint{300, 900}));
    EXPECT_EQ(u.FindLine(11)->MLinePnt.front(), (CDbPoint{1000, 1000}));
    // The picture's offset (paper mm) is mirrored: 2000 × 1 / 1 − 900.
    EXPECT_EQ(u.FindImage(50)->OffsetX, 1100);
}

TEST(RangeTurns, TurnByAnAngleLeavesTextAnglesEllipsesAndPictures)
{
    Turns t;
    fillPlan(t.unit);
    t.rotate(45);
    const CKovUnit& u = t.unit;
    EXPECT_EQ(u.FindText(40)->MTextFontMenu.lfEscapement, 0);
    EXPECT_EQ(u.FindLine(13)->MLineParam, (std::vector<double>{150, 0.5}));
    EXPECT_EQ(u.FindImage(50)->OffsetX, 900);
    EXPECT_EQ(u.FindGroup(30)->MGrpKakudo, 135);
    // Counter-clockwise on the screen about (1000, 1000): (1400, 600) goes up and to the left.
    const CDbPoint b = u.FindWall(1)->MWallPntB;
    EXPECT_NEAR(b.x, 1000, 1e-6);
    EXPECT_NEAR(b.y, 1000 - 400 * std::sqrt(2.0), 1e-6);
    // The group's box holds its turned members.
    const CKovGroup& g = *u.FindGroup(30);
    for (const CDbPoint& p : u.FindLine(20)->MLinePnt) {
        EXPECT_GE(p.x, g.MGrpmin.x - 1e-9);
        EXPECT_LE(p.y, g.MGrpmax.y + 1e-9);
    }
}

TEST(RangeTurns, AHalfTurnTurnsWhatTheRangeHeldAtFirst)
{
    Turns t;
    t.c2 = {4000, 1000}; // not square: centre (2000, 500)
    addFigure(t.unit, 1, CKovLine::LINE, {{3800, 500}, {3900, 500}});
    // Outside the range, but where the first quarter turn of the range's rectangle would reach.
    addFigure(t.unit, 2, CKovLine::LINE, {{1600, 1700}, {1650, 1700}});
    t.run(&CKovUnit::RotateRange180);
    EXPECT_EQ(std::as_const(t.unit).FindLine(1)->MLinePnt, (CDbPointArray{{200, 500}, {100, 500}}));
    EXPECT_EQ(std::as_const(t.unit).FindLine(2)->MLinePnt, (CDbPointArray{{1600, 1700}, {1650, 1700}}));
}

} // namespace
