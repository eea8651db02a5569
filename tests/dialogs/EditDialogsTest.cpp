// The stretch factors, the move and copy distances and the one-line entry: what their forms make of
// what is typed, and the dialogs built, filled and accepted offscreen.

#include "dialogs/EditDialogs.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <QLineEdit>

namespace {

using kov::dialogs::GroupStretchForm;
using kov::dialogs::ObjectMoveForm;

TEST(GroupStretchForm, FactorsFromSizesOrRatios)
{
    struct Case {
        const char* name;
        bool bySize;
        const char* x;
        const char* y;
        double fx, fy;
    } cases[] = {
        {"sizes 3000 and 1000 of 2000 by 2000", true, "3000", "1000", 1.5, 0.5},
        {"a size that is no number gives 0", true, "abc", "1000", 0, 0.5},
        {"ratios 0 and 2: 0 leaves its factor", false, "0", "2", 1.0, 2.0},
        {"ratios 1.25 and 3", false, "1.25", "3", 1.25, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kov::platform::MemoryProfile profile;
        GroupStretchForm f(2000, 2000, false);
        f.Load(profile);
        EXPECT_EQ(f.m_sizeX, "2000.00");
        f.m_bySize = c.bySize;
        (c.bySize ? f.m_sizeX : f.m_factorX) = c.x;
        (c.bySize ? f.m_sizeY : f.m_factorY) = c.y;
        f.OnOK(profile);
        EXPECT_DOUBLE_EQ(f.m_fx, c.fx);
        EXPECT_DOUBLE_EQ(f.m_fy, c.fy);
        EXPECT_EQ(profile.GetProfileInt("KOV_T_UTILITY", "buhin_sinsyuku_mode", -1), c.bySize ? 1 : 0);
    }
}

TEST(GroupStretchForm, TheChoiceIsRememberedExceptByTheRangeForm)
{
    kov::platform::MemoryProfile profile;
    GroupStretchForm group(100, 50, false);
    group.Load(profile);
    group.m_bySize = true;
    group.OnOK(profile);
    GroupStretchForm again(100, 50, false);
    again.Load(profile);
    EXPECT_TRUE(again.m_bySize);
    EXPECT_FALSE(again.FactorEditsEnabled());
    // The range tool's form always opens by ratio, and writes nothing.
    GroupStretchForm range(0, 0, true);
    range.Load(profile);
    EXPECT_FALSE(range.m_bySize);
    EXPECT_FALSE(range.SizeChoiceEnabled());
    EXPECT_EQ(range.Title(), "囲った内容の伸縮率");
    range.m_factorX = "2";
    range.OnOK(profile);
    EXPECT_EQ(range.m_fx, 2);
    EXPECT_EQ(profile.GetProfileInt("KOV_T_UTILITY", "buhin_sinsyuku_mode", -1), 1);
}

TEST(ObjectMoveForm, DistancesDirectionsAndAngles)
{
    struct Case {
        const char* name;
        bool right, down;
        const char* x;
        const char* y;
        const char* angle;
        const char* distance;
        double dx, dy;
        int yoko; // move_yoko afterwards (-1: not written)
    } cases[] = {
        {"100 to the left", false, false, "100", "0", "0", "0", -100, 0, 0},
        {"32000 is taken", true, true, "32000", "5", "0", "0", 32000, 5, 1},
        {"32001 moves nothing and writes nothing", true, true, "32001", "5", "0", "0", 0, 0, -1},
        {"180 degrees, 100", true, false, "0", "0", "180", "100", -100, 0, 1},
        {"90 degrees is up", true, false, "0", "0", "90", "100", 0, -100, 1},
        {"45 degrees", true, false, "0", "0", "45", "100", 70.710678118, -70.710678118, 1},
        {"360 is no angle", true, false, "0", "0", "360", "100", 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kov::platform::MemoryProfile profile;
        ObjectMoveForm f(ObjectMoveForm::MOVE);
        f.Load(profile);
        EXPECT_TRUE(f.m_right); // move_yoko defaults to 1
        EXPECT_FALSE(f.m_down);
        f.m_right = c.right;
        f.m_down = c.down;
        f.m_x = c.x;
        f.m_y = c.y;
        f.m_angle = c.angle;
        f.m_distance = c.distance;
        f.OnOK(profile);
        EXPECT_NEAR(f.m_dx, c.dx, 1e-6);
        EXPECT_NEAR(f.m_dy, c.dy, 1e-6);
        EXPECT_EQ(profile.GetProfileInt("KOV_T_UTILITY", "move_yoko", -1), c.yoko);
    }
}

TEST(ObjectMoveForm, CopyCountsOutsideOneToAHundredGiveOne)
{
    for (const auto& [text, n] : std::initializer_list<std::pair<const char*, int>>{
             {"3", 3}, {"100", 100}, {"0", 1}, {"101", 1}, {"abc", 1}}) {
        SCOPED_TRACE(text);
        kov::platform::MemoryProfile profile;
        ObjectMoveForm f(ObjectMoveForm::COPY);
        f.Load(profile);
        f.m_copies = text;
        f.m_shiftChoice = 1;
        f.OnOK(profile);
        EXPECT_EQ(f.m_nCopies, n);
        EXPECT_EQ(f.m_nShift, 1);
    }
    EXPECT_EQ(ObjectMoveForm(ObjectMoveForm::STRETCH).Title(), "部分伸縮　伸縮距離");
    EXPECT_EQ(ObjectMoveForm(ObjectMoveForm::STRETCH).OkText(), "伸縮する");
}

TEST(EditDialogs, BuiltFilledAndAccepted)
{
    kov::platform::MemoryProfile profile;
    kov::dialogs::GroupStretchDialog stretch(2000, 1000, false, profile);
    stretch.findChild<QLineEdit*>("edit0")->setText("2");
    stretch.accept();
    EXPECT_EQ(stretch.form().m_fx, 2);
    EXPECT_EQ(stretch.form().m_fy, 1);

    kov::dialogs::ObjectMoveDialog move(ObjectMoveForm::COPY, profile);
    move.findChild<QLineEdit*>("x")->setText("250");
    move.accept();
    EXPECT_EQ(move.form().m_dx, 250);
    EXPECT_EQ(move.form().m_nCopies, 1);
}

} // namespace
