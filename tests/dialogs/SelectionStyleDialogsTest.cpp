// The opacity, gradation and hatch questions of the selection commands: their rules on typing, on
// the slider and list, on OK, and the hatch lines and preview they ask for.

#include "dialogs/HatchSettingsDialog.h"
#include "dialogs/SelectionStyleDialogs.h"

#include "model/KovUnit.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

using kov::dialogs::CAlphaChangeDg;
using kov::dialogs::CAlphaChangeForm;
using kov::dialogs::CGradHenkouDg;
using kov::dialogs::CHachSetForm;

TEST(OpacityDialog, SliderEditAndRange)
{
    CAlphaChangeDg d(100);
    EXPECT_EQ(d.edit()->text(), "100");
    EXPECT_EQ(d.slider()->value(), 100);
    d.slider()->setValue(35);
    EXPECT_EQ(d.edit()->text(), "35");
    d.edit()->setText("70"); // typing leaves the slider
    EXPECT_EQ(d.slider()->value(), 35);
    d.accept();
    EXPECT_EQ(d.opacity(), 70);
    EXPECT_EQ(d.result(), QDialog::Accepted);

    CAlphaChangeForm f(40);
    for (const char* refused : {"101", "-1"}) {
        EXPECT_EQ(f.Accept(refused), CAlphaChangeForm::kRangeMessage) << refused;
        EXPECT_EQ(f.m_nAlpha, 40);
    }
    EXPECT_EQ(f.Accept("0"), "");
    EXPECT_EQ(f.m_nAlpha, 0);
    // A value the slider cannot show puts it at 100.
    EXPECT_EQ(CAlphaChangeForm(250).SliderPosition(), 100);
    EXPECT_EQ(CAlphaChangeForm(99).SliderPosition(), 99);
}

TEST(GradationDialog, ChoiceAndTheGroupSizeBoxOnlyForOneGroup)
{
    for (const bool oneGroup : {true, false}) {
        SCOPED_TRACE(oneGroup);
        CGradHenkouDg d(oneGroup);
        ASSERT_EQ(d.list()->count(), 11);
        EXPECT_EQ(d.list()->currentIndex(), 0);
        EXPECT_EQ(d.list()->itemText(5), "上から下へ");
        EXPECT_EQ(d.groupSize()->isEnabled(), oneGroup);
        d.list()->setCurrentIndex(5);
        d.groupSize()->setChecked(true);
        d.accept();
        EXPECT_EQ(d.form().m_nChoice, 5);
        EXPECT_EQ(d.form().m_nGroupSize, oneGroup ? 1 : 0);
    }
}

// A 1:100 drawing on a screen of 4 pixels per paper millimetre.
DeviceTransform screen()
{
    DeviceTransform t;
    t.paperScale = 4.0;
    t.scaleX.fill(0.04);
    t.scaleY.fill(0.04);
    return t;
}

// Directions of the made lines in whole degrees, 0 up to 180.
std::set<int> directions(const CKovUnit& unit, const SelectionRecord& sel)
{
    std::set<int> out;
    for (int id : sel.m_Lines) {
        const CKovLine* f = unit.FindLine(id);
        const double a = std::atan2(-(f->MLinePnt[1].y - f->MLinePnt[0].y), f->MLinePnt[1].x - f->MLinePnt[0].x);
        int deg = int(std::lround(a * 180.0 / M_PI));
        deg = ((deg % 180) + 180) % 180;
        out.insert(deg);
    }
    return out;
}

TEST(HatchDialog, TypingKeepsTheLastGoodValueAndEachKindItsPitch)
{
    CHachSetForm f;
    f.OnPitch("5");
    f.OnPitch("0.5"); // below 1: kept
    EXPECT_EQ(f.m_dPitch, 5.0);
    f.OnAngle("30");
    f.OnAngle("360"); // not below 360: kept
    EXPECT_EQ(f.m_dAngle, 30.0);
    f.OnSpacing("inf");
    EXPECT_EQ(f.m_dSpacing, 1.0);
    // "1本" and "格子" show their own pitch in turn.
    f.OnKind(CHachSetForm::Grid);
    EXPECT_EQ(f.PitchText(), "3.00");
    f.OnPitch("8");
    EXPECT_FALSE(f.SpacingEnabled());
    EXPECT_TRUE(f.AngleEnabled());
    f.OnKind(CHachSetForm::One);
    EXPECT_EQ(f.PitchText(), "5.00");
    f.OnKind(CHachSetForm::Brick);
    EXPECT_EQ(f.PitchText(), "8.00");
    EXPECT_FALSE(f.AngleEnabled());

    // Written back and read again.
    kov::platform::MemoryProfile p;
    f.Save(p);
    EXPECT_EQ(p.GetProfileString("KOV_T_UTILITY", "hach_kankaku", ""), "5.00");
    EXPECT_EQ(p.GetProfileString("KOV_T_UTILITY", "hach_kitenx", ""), "0.0");
    CHachSetForm g;
    g.Load(p);
    EXPECT_EQ(g.m_nKind, CHachSetForm::Brick);
    EXPECT_EQ(g.m_dGridPitch, 8.0);
}

TEST(HatchDialog, RealMillimetresBelowAPitchOf100AreRefusedAndNotPreviewed)
{
    CPlotInfo plot;
    CHachSetForm f;
    f.OnPitch("50");
    EXPECT_EQ(f.Accept(), "");
    EXPECT_FALSE(f.PreviewSegments(plot, screen(), 160, 160).empty());
    f.OnUnitClicked();
    EXPECT_EQ(f.m_nUnit, CHachSetForm::RealMm);
    EXPECT_EQ(f.Accept(), CHachSetForm::kPitchMessage);
    EXPECT_TRUE(f.PreviewSegments(plot, screen(), 160, 160).empty());
    f.OnPitch("100");
    EXPECT_EQ(f.Accept(), "");
    EXPECT_FALSE(f.PreviewSegments(plot, screen(), 160, 160).empty());
}

TEST(HatchDialog, LinesOfEachKind)
{
    // A 10 m square; paper millimetres at 1:100, so a pitch of 5 paper millimetres is 500 mm.
    const CDbPointArray starts = {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}};
    const CDbPointArray ends = {{10000, 0}, {10000, 10000}, {0, 10000}, {0, 0}};
    CPlotInfo plot;
    struct Row {
        const char* name;
        int kind;
        double angle;
        std::set<int> directions;
    };
    const Row rows[] = {
        {"one set level", CHachSetForm::One, 0, {0}},
        {"grid at 300 degrees: the second set at 30", CHachSetForm::Grid, 300, {30, 120}},
        {"bricks ignore the angle", CHachSetForm::Brick, 45, {0, 90}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CHachSetForm f;
        f.OnKind(r.kind);
        f.OnPitch("5");
        f.m_dAngle = r.angle;
        CKovUnit unit;
        SelectionRecord sel;
        f.MakeLines(unit, sel, plot, starts, ends, screen(), 0, 2, 3);
        ASSERT_FALSE(sel.m_Lines.empty());
        EXPECT_EQ(directions(unit, sel), r.directions);
        const CKovLine* first = std::as_const(unit).FindLine(sel.m_Lines.front());
        EXPECT_EQ(first->MLineLayer1, 2);
        EXPECT_EQ(first->MLineLayer2, 3);
        if (r.kind == CHachSetForm::One) {
            // Level lines 500 mm apart across 10 m.
            EXPECT_NEAR(double(sel.m_Lines.size()), 20.0, 1.0);
        }
    }
}

} // namespace
