// The selection's menu commands through the main window's routing: grouping, drawing order,
// group turns and flips, fills and colours, auxiliary lines.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "dialogs/HatchSettingsDialog.h"
#include "dialogs/SelectionStyleDialogs.h"

#include "app/WindowTestSupport.h"
#include "support/EditFixtures.h"
#include "tools/ToolMachine.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTimer>

#include <functional>

namespace {

using namespace kov::app;
using kov::platform::Answer;
using kov::test::addFigure;
using kov::test::addGroup;
namespace cmd = kov::app::cmd;

struct Rig : kov::test::WindowRig {
    CKovUnit& unit() { return doc->m_Unit; }
    const CKovLine& figure(int id) { return *std::as_const(doc->m_Unit).FindLine(id); }
};

TEST(SelectionRoutes, GroupAndUngroup)
{
    Rig r;
    addFigure(r.unit(), 1, CKovLine::LINE, {{0, 0}, {100, 0}});
    addFigure(r.unit(), 2, CKovLine::LINE, {{0, 0}, {0, 50}});
    r.doc->m_Selection.AddLineId(1);
    r.doc->m_Selection.AddLineId(2);
    r.run(cmd::Group);
    ASSERT_EQ(r.unit().m_Groups.GetSize(), 1);
    const int group = std::as_const(r.unit()).m_Groups[0]->MGrpID;
    EXPECT_EQ(r.doc->m_Selection.m_Groups, std::vector<int>{group});
    EXPECT_EQ(r.figure(1).MLineGrpID, group);
    // A group among the selection is refused with the message.
    r.questions.acknowledge("選択物の中にグループがあるとグループ化できません。\nグループ化解除を行ってから選択しなおしてください");
    r.run(cmd::Group);
    EXPECT_EQ(r.unit().m_Groups.GetSize(), 1);
    r.run(cmd::Ungroup);
    EXPECT_EQ(r.unit().m_Groups.GetSize(), 0);
    EXPECT_EQ(r.figure(1).MLineGrpID, 0);
    EXPECT_EQ(r.figure(2).MLineGrpID, 0);
    EXPECT_TRUE(r.doc->m_Selection.IsEmpty());
}

TEST(SelectionRoutes, DrawingOrderMovesTheFigureOrTheGroupsFigures)
{
    Rig r;
    for (int id = 1; id <= 5; ++id) addFigure(r.unit(), id, CKovLine::LINE, {{0, 0}, {double(id), 0}});
    auto order = [&r] {
        std::vector<int> ids;
        for (const auto& f : std::as_const(r.unit()).m_Lines) ids.push_back(f->MLineID);
        return ids;
    };
    r.doc->m_Selection.AddLineId(2);
    r.run(cmd::ToTop);
    EXPECT_EQ(order(), (std::vector<int>{1, 3, 4, 5, 2}));
    r.doc->m_Selection.Clear();
    // A group's figures go first, in the order of its list (a member naming nothing is passed over).
    addGroup(r.unit(), 8, {4, 3, 99});
    r.doc->m_Selection.AddGroupId(8);
    r.run(cmd::ToBottom);
    EXPECT_EQ(order(), (std::vector<int>{4, 3, 1, 5, 2}));
}

TEST(SelectionRoutes, GroupTurnsAndFlipsKeepTheBoxCorner)
{
    struct Case {
        const char* name;
        int command;
        CDbPoint end1, end2; // the two figures' far ends afterwards
    };
    // An L of a 100-long line along x and a 50-long one along y, its box corner at (1000, 2000).
    const Case cases[] = {
        // y grows down the screen: a right turn takes +x to +y.
        {"right 90", cmd::RotateRight90, {1050, 2100}, {1000, 2000}},
        {"left 90", cmd::RotateLeft90, {1000, 2000}, {1050, 2100}},
        {"left-right", cmd::MirrorLeftRight, {1000, 2000}, {1100, 2050}},
        {"top-bottom", cmd::MirrorTopBottom, {1100, 2050}, {1000, 2000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        addFigure(r.unit(), 1, CKovLine::LINE, {{1000, 2000}, {1100, 2000}});
        addFigure(r.unit(), 2, CKovLine::LINE, {{1000, 2000}, {1000, 2050}});
        addGroup(r.unit(), 5, {1, 2});
        r.doc->m_Selection.AddGroupId(5);
        r.run(c.command);
        const CKovGroup& g = *std::as_const(r.unit()).FindGroup(5);
        EXPECT_NEAR(g.MGrpmin.x, 1000, 1e-9);
        EXPECT_NEAR(g.MGrpmin.y, 2000, 1e-9);
        // Each figure keeps its length; both ends lie in the turned or mirrored box.
        auto length = [](const CKovLine& f) { return std::hypot(f.MLinePnt[1].x - f.MLinePnt[0].x, f.MLinePnt[1].y - f.MLinePnt[0].y); };
        EXPECT_NEAR(length(r.figure(1)), 100, 1e-9);
        EXPECT_NEAR(length(r.figure(2)), 50, 1e-9);
        auto hasEnd = [](const CKovLine& f, CDbPoint p) {
            return (std::abs(f.MLinePnt[0].x - p.x) < 1e-6 && std::abs(f.MLinePnt[0].y - p.y) < 1e-6) ||
                   (std::abs(f.MLinePnt[1].x - p.x) < 1e-6 && std::abs(f.MLinePnt[1].y - p.y) < 1e-6);
        };
        EXPECT_TRUE(hasEnd(r.figure(1), c.end1)) << r.figure(1).MLinePnt[0].x << "," << r.figure(1).MLinePnt[0].y << " "
                                                << r.figure(1).MLinePnt[1].x << "," << r.figure(1).MLinePnt[1].y;
        EXPECT_TRUE(hasEnd(r.figure(2), c.end2)) << r.figure(2).MLinePnt[0].x << "," << r.figure(2).MLinePnt[0].y << " "
                                                << r.figure(2).MLinePnt[1].x << "," << r.figure(2).MLinePnt[1].y;
        // One undo step puts it back.
        r.run(cmd::EditUndo);
        EXPECT_EQ(r.figure(1).MLinePnt[1], CDbPoint(1100, 2000));
    }
}

TEST(SelectionRoutes, ColoursFillsAndAuxiliaryLines)
{
    Rig r;
    CKovLine& box = addFigure(r.unit(), 1, CKovLine::RECTANGLE, {{0, 0}, {100, 100}});
    box.MLinebNakanuri = 1;
    box.MLineNakaColor = 0x0000FF;
    addFigure(r.unit(), 2, CKovLine::LINE, {{0, 0}, {100, 0}}).MLineLineT = CKovLine::AUXILIARY_LINE_TYPE;
    r.doc->m_Selection.AddLineId(1);
    r.questions.pickColor(0x00FF00);
    r.run(cmd::LineColour);
    EXPECT_EQ(r.figure(1).MLineColor, 0x00FF00u);
    r.questions.pickColor(0xFF0000);
    r.run(cmd::FillColour);
    EXPECT_EQ(r.figure(1).MLineNakaColor, 0xFF0000u);
    r.run(cmd::NoFill);
    EXPECT_EQ(r.figure(1).MLinebNakanuri, 0);
    // Black and white: the colour question, and Cancel changes nothing.
    r.doc->m_PlotInfo.PlotSirokuro = 1;
    r.questions.reply(Answer::Cancel, "現在、白黒モードです。色の変更は表示上影響しませんが、実行しますか？");
    r.run(cmd::ColourNoFill);
    EXPECT_EQ(r.figure(1).MLinebNakanuri, 0);
    r.doc->m_Selection.Clear();
    r.questions.reply(Answer::Ok);
    r.run(cmd::AllAuxDelete);
    EXPECT_EQ(std::as_const(r.unit()).FindLine(2), nullptr);
    r.run(cmd::EditUndo);
    EXPECT_NE(std::as_const(r.unit()).FindLine(2), nullptr);
}

// Answers the modal dialog the next command opens: `answer` gets it once it shows, after the
// window's idle refresh of its commands has run meanwhile, as it does while a person answers.
template <class Dialog>
void answerDialog(MainWindow& window, std::function<void(Dialog&)> answer)
{
    QTimer::singleShot(0, [&window, answer] {
        auto* d = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr) << "the dialog did not open";
        window.UpdateCommandStates();
        answer(*d);
    });
}

TEST(SelectionRoutes, OpacityAndGradationThroughTheirQuestions)
{
    Rig r;
    CKovLine& box = addFigure(r.unit(), 1, CKovLine::RECTANGLE, {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    box.MLinebNakanuri = 1;
    box.MLineAlpha = 60;
    r.doc->m_Selection.AddLineId(1);
    int shown = -1;
    answerDialog<kov::dialogs::CAlphaChangeDg>(*r.window, [&shown](kov::dialogs::CAlphaChangeDg& d) {
        shown = d.edit()->text().toInt();
        d.edit()->setText("35");
        d.accept();
    });
    r.run(cmd::Opacity);
    EXPECT_EQ(shown, 60) << "the one filled figure's opacity to start from";
    EXPECT_EQ(r.figure(1).MLineAlpha, 35);
    r.run(cmd::EditUndo);
    EXPECT_EQ(r.figure(1).MLineAlpha, 60);

    answerDialog<kov::dialogs::CGradHenkouDg>(*r.window, [](kov::dialogs::CGradHenkouDg& d) {
        d.list()->setCurrentIndex(5); // "上から下へ"
        d.accept();
    });
    r.run(cmd::GradientDirection);
    EXPECT_EQ(r.figure(1).MLineGradiation, 90 * 100 + 1);
    // Cancel changes nothing.
    answerDialog<kov::dialogs::CGradHenkouDg>(*r.window, [](kov::dialogs::CGradHenkouDg& d) {
        d.list()->setCurrentIndex(3);
        d.reject();
    });
    r.run(cmd::GradientDirection);
    EXPECT_EQ(r.figure(1).MLineGradiation, 90 * 100 + 1);
}

TEST(SelectionRoutes, HatchOfTheSelectedOutlineBecomesOneGroup)
{
    Rig r;
    r.window->resize(1000, 700);
    addFigure(r.unit(), 1, CKovLine::RECTANGLE, {{0, 0}, {5000, 0}, {5000, 5000}, {0, 5000}});
    r.doc->m_Selection.AddLineId(1);
    // Real millimetres, 500 apart, onto layer 4 of layer group 0.
    answerDialog<kov::dialogs::CHachSetDg>(*r.window, [](kov::dialogs::CHachSetDg& d) {
        QRadioButton* real = nullptr;
        for (QRadioButton* b : d.findChildren<QRadioButton*>())
            if (b->text() == "実寸mm") real = b;
        ASSERT_NE(real, nullptr);
        real->click();
        auto* pitch = d.findChild<QLineEdit*>("pitch");
        pitch->setText("500");
        emit pitch->textEdited("500");
        d.accept();
    });
    r.run(cmd::MakeHatch);
    ASSERT_EQ(r.unit().m_Groups.GetSize(), 1);
    const CKovGroup& g = *std::as_const(r.unit()).m_Groups[0];
    EXPECT_EQ(g.MGrpLineID.size(), 11u) << "500 apart across 5000, the two edges too";
    EXPECT_EQ(r.doc->m_Selection.m_Groups, std::vector<int>{g.MGrpID});
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "hach_mmtani", -1), 1);
    EXPECT_EQ(r.profile.GetProfileString("KOV_T_UTILITY", "hach_kankaku", ""), "500.00");
    r.run(cmd::EditUndo);
    EXPECT_EQ(r.unit().m_Groups.GetSize(), 0);
    EXPECT_EQ(r.unit().m_Lines.GetSize(), 1);
    // Circles give no outline: no dialog, nothing made.
    r.doc->m_Selection.Clear();
    addFigure(r.unit(), 2, CKovLine::CIRCLE, {{0, 0}, {100, 0}}, {100, 1});
    r.doc->m_Selection.AddLineId(2);
    r.run(cmd::MakeHatch);
    EXPECT_EQ(r.unit().m_Lines.GetSize(), 2);
}

TEST(SelectionRoutes, PatternsBecomeLinesAfterTheQuestion)
{
    Rig r;
    r.window->resize(1000, 700);
    CKovLine& box = addFigure(r.unit(), 1, CKovLine::RECTANGLE, {{0, 0}, {5000, 0}, {5000, 5000}, {0, 5000}});
    box.MLinebHach = 1;
    box.MLineHachT = 4;
    r.questions.reply(Answer::Cancel, "全図形プロパティの模様を直線のグループの模様に変換してもよろしいですか？");
    r.run(cmd::PatternsToLines);
    EXPECT_EQ(r.unit().m_Lines.GetSize(), 1);
    r.questions.reply(Answer::Ok);
    r.run(cmd::PatternsToLines);
    EXPECT_GT(r.unit().m_Lines.GetSize(), 1);
    EXPECT_EQ(r.unit().m_Groups.GetSize(), 1);
}

} // namespace

namespace {

std::vector<int> commandsOf(const std::vector<ContextItem>& items)
{
    std::vector<int> out;
    for (const ContextItem& i : items) out.push_back(i.command);
    return out;
}

bool offers(const std::vector<ContextItem>& items, int command)
{
    for (const ContextItem& i : items)
        if (i.command == command) return true;
    return false;
}

TEST(ContextMenu, ItemsFollowTheSelection)
{
    struct Case {
        const char* name;
        std::function<void(Rig&)> select;
        std::vector<int> offered, notOffered;
    };
    const Case cases[] = {
        {"nothing in select mode: delete and group greyed", [](Rig&) {}, {cmd::Move, cmd::ContextGridSnap},
         {cmd::ToTop, cmd::ContextWallCoreSnap}},
        {"one line", [](Rig& r) { r.doc->m_Selection.AddLineId(1); },
         {cmd::ContextProperties, cmd::ToTop, cmd::CurveToPolyline},
         {cmd::PolygonToLines, cmd::EditSelectedText, cmd::TrimPicture, cmd::ToDecoratedText, cmd::WallThicknessOfSelection}},
        {"one rectangle", [](Rig& r) { r.doc->m_Selection.AddLineId(2); }, {cmd::PolygonToLines}, {}},
        {"one text", [](Rig& r) { r.doc->m_Selection.AddTextId(3); }, {cmd::EditSelectedText, cmd::ToDecoratedText},
         {cmd::ContextProperties, cmd::MakeHatch, cmd::LineTypeOfSelection}},
        {"one plain group", [](Rig& r) { r.doc->m_Selection.AddGroupId(5); }, {cmd::MirrorLeftRight, cmd::Ungroup},
         {cmd::RoomVertex, cmd::RoomCurvedWall}},
        {"one room", [](Rig& r) { r.doc->m_Selection.AddGroupId(6); }, {cmd::RoomVertex, cmd::RoomCurvedWall}, {}},
        {"one fitting", [](Rig& r) { r.doc->m_Selection.AddGroupId(7); }, {cmd::Rotate180, cmd::FittingSize},
         {cmd::EditCopy, cmd::Ungroup}},
        {"two lines", [](Rig& r) {
             r.doc->m_Selection.AddLineId(1);
             r.doc->m_Selection.AddLineId(2);
         },
         {cmd::Group, cmd::LineTypeOfSelection}, {cmd::EditSelectedText, cmd::ToTop}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        addFigure(r.unit(), 1, CKovLine::LINE, {{0, 0}, {100, 0}});
        addFigure(r.unit(), 2, CKovLine::RECTANGLE, {{0, 0}, {100, 100}});
        kov::test::addText(r.unit(), 3, {0, 0});
        addFigure(r.unit(), 4, CKovLine::LINE, {{0, 0}, {10, 0}}, {}, 5);
        addGroup(r.unit(), 5, {4});
        addGroup(r.unit(), 6, {}, {}, {}, 1);
        addGroup(r.unit(), 7, {}, {}, {}, 2);
        c.select(r);
        const std::vector<ContextItem> items = r.window->contextMenuItems();
        ASSERT_FALSE(items.empty());
        for (int command : c.offered) EXPECT_TRUE(offers(items, command)) << command;
        for (int command : c.notOffered) EXPECT_FALSE(offers(items, command)) << command;
        EXPECT_NE(items.front().command, 0);
        EXPECT_NE(items.back().command, 0);
        if (r.doc->m_Selection.IsEmpty()) {
            for (const ContextItem& i : items)
                EXPECT_EQ(i.enabled, i.command != cmd::Delete && i.command != cmd::Group) << i.command;
        }
    }
}

TEST(ContextMenu, OpensOnTheRightReleaseAndItsItemsRunThroughTheWindow)
{
    Rig r;
    addFigure(r.unit(), 1, CKovLine::LINE, {{0, 0}, {100, 0}});
    r.doc->m_Selection.AddLineId(1);
    int opened = 0;
    r.window->view()->onContextMenu = [&opened](const QPoint&) { ++opened; };
    QWidget* viewport = r.window->view()->viewport();
    const QPoint at(200, 150);
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
    EXPECT_EQ(opened, 1);
    // No menu in the middle of a tool's points.
    r.window->view()->machine().m_ToolPoints.push_back({0, 0});
    EXPECT_TRUE(r.window->contextMenuItems().empty());
    r.window->view()->machine().m_ToolPoints.clear();
    // The grid-snap switch of the menu is the panel's.
    const int snap = r.doc->m_Grid.kyutyaku;
    r.run(cmd::ContextGridSnap);
    EXPECT_NE(r.doc->m_Grid.kyutyaku, snap);
    EXPECT_EQ(commandsOf(r.window->contextMenuItems()).empty(), false);
}

} // namespace
