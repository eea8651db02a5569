// A group turned to a typed angle from the menu and the context menu, and four right turns.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "dialogs/GroupRotationDialog.h"

#include "app/DocumentTestSupport.h"
#include "app/WindowTestSupport.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

using namespace kov::app;
using kov::test::addFigure;
using kov::test::addGroup;
namespace cmd = kov::app::cmd;

// An L of a 1000-long line along x and a 500-long one along y with a text, its box corner at
// (1000, 2000), on layer 3 of layer group 0, while layer 0 is current.
struct Rig : kov::test::WindowRig {
    Rig()
    {
        addFigure(unit(), 1, CKovLine::LINE, {{1000, 2000}, {2000, 2000}}, {}, 0, 0, 3);
        addFigure(unit(), 2, CKovLine::LINE, {{1000, 2000}, {1000, 2500}}, {}, 0, 0, 3);
        CKovText& t = kov::test::addText(unit(), 3, {1200, 2100}, "A", 0, 0, 3);
        t.MTextFontMenu.lfHeight = 250;
        addGroup(unit(), 5, {1, 2}, {}, {3});
        doc->m_Selection.AddGroupId(5);
    }
    CKovUnit& unit() { return doc->m_Unit; }
    const CKovGroup& group() { return *std::as_const(doc->m_Unit).FindGroup(5); }
    // Runs the command with the dialog answered by typing the angle (nothing typed: cancelled).
    void turn(int command, std::optional<std::string> typed)
    {
        QTimer::singleShot(0, [typed] {
            auto* d = dynamic_cast<kov::dialogs::CGrpKaitenDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr) << "the dialog did not open";
            if (!typed) return d->reject();
            d->m_edit->selectAll();
            QTest::keyClicks(d->m_edit, QString::fromStdString(*typed));
            d->accept();
        });
        window->UpdateCommandStates();
        EXPECT_TRUE(window->RunCommand(command));
    }
};

TEST(GroupRotation, ATypedAngleTurnsTheGroupInPlaceOnItsOwnLayer)
{
    struct Case {
        const char* name;
        int command;
        std::optional<std::string> typed;
        double angle;      // the group's angle afterwards
        CDbPoint farEnd;   // the first line's far end afterwards
        bool undoStep;
    };
    const Case cases[] = {
        // y grows down the screen: 90 degrees takes +x to -y, the box corner staying put.
        {"menu, 90", cmd::RotateOther, "90", 90, {1000, 2000}, true},
        {"context menu, 90", cmd::RotateOtherAngle, "90", 90, {1000, 2000}, true},
        {"180", cmd::RotateOther, "180", 180, {1000, 2500}, true},
        {"400 counts as 0", cmd::RotateOther, "400", 0, {2000, 2000}, true},
        {"no number counts as 0", cmd::RotateOther, "nan", 0, {2000, 2000}, true},
        {"cancelled", cmd::RotateOther, std::nullopt, 0, {2000, 2000}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        const std::size_t depth = r.undoDepth();
        r.turn(c.command, c.typed);
        const CKovGroup& g = r.group();
        EXPECT_NEAR(g.MGrpKakudo, c.angle, 1e-9);
        EXPECT_NEAR(g.MGrpmin.x, 1000, 1e-6);
        EXPECT_NEAR(g.MGrpmin.y, 2000, 1e-6);
        const CKovLine& f = *std::as_const(r.unit()).FindLine(1);
        const bool atEnd = (std::abs(f.MLinePnt[0].x - c.farEnd.x) < 1e-6 && std::abs(f.MLinePnt[0].y - c.farEnd.y) < 1e-6) ||
                           (std::abs(f.MLinePnt[1].x - c.farEnd.x) < 1e-6 && std::abs(f.MLinePnt[1].y - c.farEnd.y) < 1e-6);
        EXPECT_TRUE(atEnd) << f.MLinePnt[0].x << "," << f.MLinePnt[0].y << " " << f.MLinePnt[1].x << "," << f.MLinePnt[1].y;
        // The group keeps its identifiers, its layer and its text size.
        EXPECT_EQ(f.MLineLayer2, 3);
        const CKovText& t = *std::as_const(r.unit()).FindText(3);
        EXPECT_EQ(t.MTextLayer2, 3);
        EXPECT_EQ(t.MTextFontMenu.lfHeight, 250);
        EXPECT_EQ(r.doc->m_Selection.m_Groups, std::vector<int>{5});
        EXPECT_EQ(r.undoDepth(), depth + (c.undoStep ? 1 : 0));
        if (c.undoStep) {
            r.window->RunCommand(cmd::EditUndo);
            EXPECT_NEAR(r.group().MGrpKakudo, 0, 1e-9);
            EXPECT_EQ(std::as_const(r.unit()).FindLine(1)->MLinePnt[1], CDbPoint(2000, 2000));
        }
    }
}

TEST(GroupRotation, FourRightTurnsReturnTheGroupAndItsAngle)
{
    Rig r;
    const CDbPointArray first = std::as_const(r.unit()).FindLine(1)->MLinePnt;
    for (int i = 0; i < 4; ++i) {
        r.window->UpdateCommandStates();
        r.window->RunCommand(cmd::RotateRight90);
        EXPECT_NEAR(r.group().MGrpmin.x, 1000, 1e-9);
        EXPECT_NEAR(r.group().MGrpmin.y, 2000, 1e-9);
    }
    EXPECT_NEAR(r.group().MGrpKakudo, 0, 1e-9);
    const CDbPointArray& now = std::as_const(r.unit()).FindLine(1)->MLinePnt;
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_NEAR(now[i].x, first[i].x, 1e-6);
        EXPECT_NEAR(now[i].y, first[i].y, 1e-6);
    }
}

TEST(GroupRotation, TheDialogShowsTheGroupTurnedFromUpright)
{
    // A group already at 30 degrees: typing 90 shows it 90 degrees from upright, not 120.
    CKovUnit working;
    addFigure(working, 1, CKovLine::LINE, {{0, 0}, {1000, 0}});
    CKovGroup& g = addGroup(working, 5, {1});
    working.RotateGroup(working, 30, 5);
    ASSERT_NEAR(g.MGrpKakudo, 30, 1e-9);
    kov::dialogs::CGrpKaitenDlg dialog(working, 0);
    EXPECT_EQ(dialog.m_edit->text().toStdString(), "30.00");
    QTest::keyClicks(dialog.m_edit, "0");
    dialog.m_edit->clear();
    QTest::keyClicks(dialog.m_edit, "90");
    const CKovLine& f = *std::as_const(working).FindLine(1);
    EXPECT_NEAR(std::abs(f.MLinePnt[1].x - f.MLinePnt[0].x), 0, 1e-6);
    EXPECT_NEAR(std::abs(f.MLinePnt[1].y - f.MLinePnt[0].y), 1000, 1e-6);
    EXPECT_NEAR(std::as_const(working).FindGroup(5)->MGrpKakudo, 90, 1e-9);
    EXPECT_FALSE(dialog.m_preview->pixmap().isNull());
}

TEST(GroupRotation, AFittingOrNoGroupSaysWhyNothingHappens)
{
    Rig r;
    r.doc->m_Selection.Clear();
    r.questions.acknowledge("グループが選択されていません。");
    r.window->RunCommand(cmd::RotateOtherAngle);
    r.unit().FindGroup(5)->MGrpRoom = CKovGroup::FITTING;
    r.doc->m_Selection.AddGroupId(5);
    r.questions.acknowledge("建具はこのコマンドでは回転できません");
    r.window->UpdateCommandStates();
    r.window->RunCommand(cmd::RotateRight90);
    EXPECT_NEAR(r.group().MGrpKakudo, 0, 1e-9);
}

} // namespace
