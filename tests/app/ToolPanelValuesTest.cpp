// What a person types into a tool's panel reaches what the tool then makes, on the window's own
// path: the tool started by its command, the value typed into the panel's control, the drawing
// clicked in the view. When the tool ends, the panel's keys are in the settings, and the panel of a
// program started again on those settings shows the typed value. The questions some tools ask on
// their way (a distance, sizes, a count) are answered by typing the same way.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "dialogs/ChamferDialogs.h"
#include "dialogs/DivideDialogs.h"
#include "dialogs/DoubleLinePanel.h"
#include "dialogs/BalloonPanel.h"
#include "dialogs/FigurePropertyDialog.h"
#include "dialogs/FigureSizeDialogs.h"
#include "dialogs/LinePanels.h"
#include "dialogs/ParallelLineDialog.h"
#include "dialogs/PictureOutputDialogs.h"
#include "dialogs/RoomChoicePanel.h"
#include "dialogs/StairsPanel.h"
#include "dialogs/TextPanels.h"
#include "dialogs/WallThicknessDialog.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/Folders.h"
#include "tools/ToolMachine.h"

#include "app/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <fstream>
#include <functional>
#include <numbers>
#include <set>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;
using kov::test::type;

constexpr const char* kUtility = "KOV_T_UTILITY";
constexpr const char* kPlotMenu = "KOV_T_PlotMenu";

// Two rooms in CP932: 和室 with a tatami pattern, 洋室 filled.
const char* const kRooms = "\x98\x61\x8e\xba,0,16777215,1,0,300,3.5,\r\n\x97\x6d\x8e\xba,1,12632256,0,0,0,\r\n";

struct Rig : kov::test::WindowRig {
    Rig() : WindowRig({1600, 1000})
    {
        const auto rooms = doc->services().folders.roomListFile(kov::platform::readCommonFolderSwitches(profile));
        std::filesystem::create_directories(rooms.parent_path());
        std::ofstream(rooms, std::ios::binary) << kRooms;
        // Clicks land on half-module points (455 mm), whatever pixel they fall on.
        CGrid& grid = doc->m_Grid;
        grid.GridW[0] = grid.GridD[0] = 910;
        grid.kyutyakukankaku = 2;
        grid.kyutyaku = 1;
    }
    const CKovUnit& unit() const { return doc->m_Unit; }
    // The open panel of that class (some panels carry no meta-object of their own).
    template <class P> P* find() const
    {
        for (QWidget* w : window->findChildren<QWidget*>())
            if (auto* p = dynamic_cast<P*>(w))
                return p;
        return nullptr;
    }
    // The program started again on the same settings and drawing: a new window reads them anew.
    void restart()
    {
        window.reset();
        window = std::make_unique<MainWindow>(doc.get());
        window->resize(1600, 1000);
        window->show();
        QApplication::processEvents();
    }
    void dblclick(CDbPoint p)
    {
        click(p);
        mouse(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    }
    const CKovLine& newestLine() const { return *unit().m_Lines[unit().m_Lines.GetSize() - 1]; }
};

// The control a person types into, found in the open panel.
template <class P, class W> W* control(Rig& r, const char* name)
{
    P* p = r.find<P>();
    EXPECT_NE(p, nullptr) << "no panel";
    return p ? p->template findChild<W*>(QString::fromUtf8(name)) : nullptr;
}

// Types into the edit, as a person does after selecting what it held.
void typeInto(QLineEdit* edit, const char* text)
{
    ASSERT_NE(edit, nullptr);
    type(edit, text);
}

double length(const CDbPoint& a, const CDbPoint& b) { return std::hypot(b.x - a.x, b.y - a.y); }

TEST(ToolPanelValues, WhatIsTypedReachesWhatTheToolMakesAndIsKeptForTheNextStart)
{
    struct Row {
        const char* name;
        int command;
        std::function<void(Rig&)> type;       // into the panel
        std::function<void(Rig&)> draw;       // clicks in the view
        std::function<void(Rig&)> made;       // checks on what the tool made
        const char* section;                  // the key written by then; none: the value is the drawing's
        const char* key;
        const char* stored;
        std::function<std::string(Rig&)> shown; // the reopened panel's control; none: it opens on its defaults
        const char* shownText;
        std::function<void(Rig&)> prepare = {}; // the drawing the command needs to be enabled
    };
    const Row rows[] = {
        {"wall thickness", cmd::PanelWall,
         [](Rig& r) { typeInto(control<kov::dialogs::WallThicknessDialog, QLineEdit>(r, "thickness"), "75"); },
         [](Rig& r) {
             r.click({0, 0});
             r.click({3640, 0});
         },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Walls.GetSize(), 1);
             EXPECT_DOUBLE_EQ(r.unit().m_Walls[0]->MWallWide1, 75);
         },
         nullptr, nullptr, nullptr,
         [](Rig& r) {
             return control<kov::dialogs::WallThicknessDialog, QLineEdit>(r, "thickness")->text().toStdString();
         },
         "75.0"},
        {"figure style", cmd::ToolLine,
         [](Rig& r) {
             auto* width = control<kov::dialogs::CLinePropSetDg, QComboBox>(r, "widthType");
             ASSERT_NE(width, nullptr);
             QTest::keyClicks(width, "3");
         },
         [](Rig& r) {
             r.click({0, 0});
             r.click({3640, 0});
         },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Lines.GetSize(), 1);
             EXPECT_EQ(r.newestLine().MLineWide, 3);
         },
         nullptr, nullptr, nullptr,
         [](Rig& r) {
             return control<kov::dialogs::CLinePropSetDg, QComboBox>(r, "widthType")->currentText().toStdString();
         },
         "3"},
        {"fixed radius", cmd::ToolCircle,
         [](Rig& r) {
             auto* fixed = control<kov::dialogs::FixedRadiusPanel, QCheckBox>(r, "fixed");
             ASSERT_NE(fixed, nullptr);
             fixed->click();
             typeInto(control<kov::dialogs::FixedRadiusPanel, QLineEdit>(r, "radius"), "1500");
         },
         [](Rig& r) {
             r.click({0, 0});
             r.click({910, 0});
         },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Lines.GetSize(), 1);
             ASSERT_EQ(r.newestLine().MLineType, CKovLine::CIRCLE);
             EXPECT_DOUBLE_EQ(r.newestLine().MLineParam.at(0), 1500);
         },
         kUtility, "tool_hankeikotei_atai", "1500.00",
         [](Rig& r) { return control<kov::dialogs::FixedRadiusPanel, QLineEdit>(r, "radius")->text().toStdString(); },
         "1500.00"},
        {"line length", cmd::ToolLengthLine,
         [](Rig& r) { typeInto(control<kov::dialogs::LengthPanel, QLineEdit>(r, "length"), "2730"); },
         [](Rig& r) {
             r.click({0, 0});
             r.click({910, 0});
         },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Lines.GetSize(), 1);
             const CDbPointArray& p = r.newestLine().MLinePnt;
             ASSERT_EQ(p.size(), 2u);
             EXPECT_NEAR(length(p[0], p[1]), 2730, 1e-6);
         },
         kUtility, "tool_nagasa", "2730.00",
         [](Rig& r) { return control<kov::dialogs::LengthPanel, QLineEdit>(r, "length")->text().toStdString(); },
         "2730.00"},
        {"line angle", cmd::ToolAngleLine,
         [](Rig& r) {
             auto* angle = control<kov::dialogs::AnglePanel, QComboBox>(r, "angle");
             ASSERT_NE(angle, nullptr);
             typeInto(angle->lineEdit(), "30");
         },
         [](Rig& r) {
             r.click({0, 0});
             r.click({1820, -910});
         },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Lines.GetSize(), 1);
             const CDbPointArray& p = r.newestLine().MLinePnt;
             ASSERT_EQ(p.size(), 2u);
             // Counter-clockwise on the sheet, whose y grows downwards.
             EXPECT_NEAR(std::atan2(-(p[1].y - p[0].y), p[1].x - p[0].x) * 180 / std::numbers::pi, 30, 1e-6);
         },
         kUtility, "tool_kakudo_kakudo", "30.00",
         [](Rig& r) { return control<kov::dialogs::AnglePanel, QComboBox>(r, "angle")->currentText().toStdString(); },
         "30.00"},
        {"double-line distance", cmd::ToolDoubleLine,
         [](Rig& r) {
             auto* p = r.find<kov::dialogs::CNisenDlg>();
             ASSERT_NE(p, nullptr);
             typeInto(p->m_left, "200");
         },
         [](Rig& r) {
             r.click({0, 0});
             r.click({3640, 0});
             r.dblclick({3640, 1820});
         },
         [](Rig& r) {
             ASSERT_EQ(r.doc->m_Selection.m_Lines.size(), 2u);
             const CKovLine& left = *std::as_const(r.unit()).FindLine(r.doc->m_Selection.m_Lines[0]);
             EXPECT_EQ(left.MLinePnt.front(), CDbPoint(0, -200)) << "200 left of the path";
         },
         kUtility, "tool_nisen_l", "200.00",
         [](Rig& r) { return r.find<kov::dialogs::CNisenDlg>()->m_left->text().toStdString(); }, "200.00"},
        {"two-lines distance", cmd::ToolTwoLines,
         [](Rig& r) {
             r.addLine(0, 0, 3640, 0);
             auto* p = r.find<kov::dialogs::CNisenDlg>();
             ASSERT_NE(p, nullptr);
             typeInto(p->m_left, "300");
         },
         [](Rig& r) {
             r.click({1820, 0}); // the reference
             r.click({910, 0});
             r.click({2730, 0});
         },
         [](Rig& r) {
             int left = 0;
             for (const auto& f : std::as_const(r.unit()).m_Lines)
                 left += f->MLinePnt.size() == 2 && f->MLinePnt[0].y == -300 && f->MLinePnt[1].y == -300;
             EXPECT_EQ(left, 1) << "a line 300 left of the way along the reference";
         },
         kUtility, "tool_nisen_l", "300.00",
         [](Rig& r) { return r.find<kov::dialogs::CNisenDlg>()->m_left->text().toStdString(); }, "300.00"},
        {"arc divisions", cmd::ToolContinuousLine,
         [](Rig& r) {
             auto* p = r.find<kov::dialogs::CNisenDlg>();
             ASSERT_NE(p, nullptr);
             QTest::keyClicks(p->m_divisions, "36");
         },
         [](Rig& r) {
             r.click({0, 0});
             r.click({1820, 0});
             r.find<kov::dialogs::CNisenDlg>()->m_arc->click();
             r.click({910, -910}); // a half circle over the last leg
             r.dblclick({1820, 910});
         },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Lines.GetSize(), 1);
             // The arc in 36 pieces (35 points inside it) between the three clicked corners.
             EXPECT_EQ(r.newestLine().MLinePnt.size(), 38u);
         },
         kUtility, "tool_nijyuusen_rbunkatu", "36",
         [](Rig& r) { return r.find<kov::dialogs::CNisenDlg>()->m_divisions->currentText().toStdString(); }, "36"},
        {"chamfer size", cmd::ToolChamfer,
         [](Rig& r) {
             r.addLine(0, 0, 3640, 0);
             r.addLine(0, 0, 0, 2730);
             typeInto(control<kov::dialogs::ChamferPanel, QLineEdit>(r, "first"), "600");
         },
         [](Rig& r) {
             r.click({1820, 0});
             r.click({0, 1365});
         },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Lines.GetSize(), 3);
             const CDbPointArray& face = r.newestLine().MLinePnt;
             ASSERT_EQ(face.size(), 2u);
             EXPECT_NEAR(length(face[0], face[1]), 600, 1e-6);
         },
         kUtility, "mentori_kakuatai", "600.00",
         [](Rig& r) { return control<kov::dialogs::ChamferPanel, QLineEdit>(r, "first")->text().toStdString(); },
         "600.00"},
        {"stairs steps", cmd::PanelStairs,
         [](Rig& r) {
             auto* p = r.find<kov::dialogs::CKaidanDlg>();
             ASSERT_NE(p, nullptr);
             QTest::keyClicks(p->m_steps, "8");
         },
         [](Rig& r) {
             r.click({0, 0});
             r.click({0, 1820});
             r.click({2730, 910});
         },
         [](Rig& r) {
             ASSERT_EQ(r.doc->m_Selection.m_Groups.size(), 1u);
             const CKovGroup& g = *std::as_const(r.unit()).FindGroup(r.doc->m_Selection.m_Groups[0]);
             EXPECT_EQ(g.MGrpLineID.size(), 10u) << "the fill and nine tread lines of eight steps";
         },
         kUtility, "kaidan_dansuu", "8",
         [](Rig& r) { return r.find<kov::dialogs::CKaidanDlg>()->m_steps->currentText().toStdString(); }, "8"},
        {"room choice", cmd::PanelRectRoom,
         [](Rig& r) {
             auto* p = r.find<kov::dialogs::CRoomChoiseDlg>();
             ASSERT_NE(p, nullptr);
             QTest::keyClick(p->m_list, Qt::Key_End);
         },
         [](Rig& r) {
             r.click({0, 0});
             r.click({3640, 2730});
         },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Texts.GetSize(), 1);
             EXPECT_EQ(r.unit().m_Texts[0]->MTextstr.rfind("洋室", 0), 0u) << r.unit().m_Texts[0]->MTextstr;
         },
         nullptr, nullptr, nullptr, nullptr, nullptr},
        {"text height", cmd::PanelText,
         [](Rig& r) { typeInto(control<kov::dialogs::TextSettingsPanel, QLineEdit>(r, "height"), "5"); },
         [](Rig& r) {
             r.click({910, 910});
             auto* entry = r.find<kov::dialogs::TextEntryLine>();
             ASSERT_NE(entry, nullptr);
             QTest::keyClicks(entry->findChild<QPlainTextEdit*>("text"), "A");
             entry->findChild<QPushButton*>("ok")->click();
         },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Texts.GetSize(), 1);
             EXPECT_EQ(r.unit().m_Texts[0]->MTextstr, "A");
             EXPECT_EQ(r.unit().m_Texts[0]->MTextFontMenu.m_size, 5);
         },
         nullptr, nullptr, nullptr,
         [](Rig& r) { return control<kov::dialogs::TextSettingsPanel, QLineEdit>(r, "height")->text().toStdString(); },
         "5.0"},
        {"decorated text frame", cmd::PanelDecoratedText,
         [](Rig& r) {
             QTest::keyClicks(control<kov::dialogs::DecoratedTextPanel, QPlainTextEdit>(r, "text"), "SALE");
             typeInto(control<kov::dialogs::DecoratedTextPanel, QLineEdit>(r, "thickness"), "3");
         },
         [](Rig& r) { r.click({910, 910}); },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Texts.GetSize(), 1);
             EXPECT_EQ(r.unit().m_Texts[0]->MTextHuchiAtsumi, 3);
         },
         nullptr, nullptr, nullptr,
         [](Rig& r) {
             return control<kov::dialogs::DecoratedTextPanel, QLineEdit>(r, "thickness")->text().toStdString();
         },
         "3.0"},
        {"balloon shape", cmd::ToolBalloon,
         [](Rig& r) {
             auto* p = r.find<kov::dialogs::CHukidashiDg>();
             ASSERT_NE(p, nullptr);
             p->m_shapes[0]->click(); // "四角形" in place of the rounded one
         },
         [](Rig& r) {
             r.click({0, 0});
             r.click({3640, 1820});
             r.click({1820, 3640});
         },
         [](Rig& r) {
             ASSERT_EQ(r.doc->m_Selection.m_Groups.size(), 1u);
             const CKovGroup& g = *std::as_const(r.unit()).FindGroup(r.doc->m_Selection.m_Groups[0]);
             const CKovLine& outline = *std::as_const(r.unit()).FindLine(g.MGrpLineID.at(0));
             // The rounded default has an arc at every corner; the square: its corners, closed, and the tail.
             EXPECT_EQ(outline.MLinePnt.size(), 8u);
         },
         nullptr, nullptr, nullptr, nullptr, nullptr},
        {"picture output size", cmd::SaveRangeImage,
         [](Rig& r) {
             auto* p = r.find<kov::dialogs::CGazouOutSizeDg>();
             ASSERT_NE(p, nullptr);
             if (!p->m_size->isChecked())
                 p->m_size->click();
             typeInto(p->m_width, "300");
             typeInto(p->m_height, "300");
         },
         [](Rig& r) {
             r.questions.pickSaveFile(r.file("range.png"));
             r.drag({0, 0}, {3640, 1820});
         },
         [](Rig& r) {
             const QImage picture(QString::fromStdString(r.file("range.png").string()));
             ASSERT_FALSE(picture.isNull());
             EXPECT_EQ(picture.width(), 300) << "the range's longer side fitted to the typed size";
             EXPECT_LT(picture.height(), 300);
         },
         kPlotMenu, "gazou_size_w", "300",
         [](Rig& r) { return r.find<kov::dialogs::CGazouOutSizeDg>()->m_width->text().toStdString(); }, "300",
         [](Rig& r) { r.addLine(0, 0, 3640, 1820); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig r;
        if (row.prepare)
            row.prepare(r);
        r.run(row.command);
        QApplication::processEvents();
        row.type(r);
        row.draw(r);
        row.made(r);
        // The tool ends: its panels close and write what they keep.
        r.run(cmd::PanelSelect);
        QApplication::processEvents();
        if (row.key) {
            EXPECT_EQ(r.profile.GetProfileString(row.section, row.key, "-"), row.stored);
        }
        if (row.shown) {
            r.restart();
            r.run(row.command);
            QApplication::processEvents();
            EXPECT_EQ(row.shown(r), row.shownText);
        }
    }
}

// A question the tool asks on its way, answered as a person does: typed into, then "OK" clicked.
// The dialog runs modally; a timer finds it once it shows.
class Answering {
public:
    explicit Answering(std::function<void(QDialog&)> answer) : m_answer(std::move(answer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            if (m_answered.contains(d)) {
                // Still open after its OK: refused, so the test goes on instead of hanging.
                ADD_FAILURE() << "the dialog stayed open: " << d->windowTitle().toStdString();
                d->reject();
                return;
            }
            m_answered.insert(d);
            m_answer(*d);
            for (QPushButton* b : d->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("OK") && d->isVisible())
                    b->click();
        });
        m_timer.start(5);
    }
    int answered() const { return static_cast<int>(m_answered.size()); }

private:
    std::function<void(QDialog&)> m_answer;
    QTimer m_timer;
    std::set<QDialog*> m_answered;
};

TEST(ToolPanelValues, WhatIsTypedIntoTheToolsQuestionsReachesWhatItMakes)
{
    struct Row {
        const char* name;
        int command;
        std::function<void(Rig&)> prepare;
        std::function<void(QDialog&)> answer;
        std::function<void(Rig&)> draw;
        std::function<void(Rig&)> made;
    };
    const Row rows[] = {
        {"parallel-line distance", cmd::ToolOffsetLine, [](Rig& r) { r.addLine(0, 0, 3640, 0); },
         [](QDialog& d) { type(dynamic_cast<kov::dialogs::ParallelDistanceDialog&>(d).edit(), "455"); },
         [](Rig& r) {
             r.click({1820, 0});
             r.click({1820, 910});
         },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Lines.GetSize(), 2);
             EXPECT_EQ(r.newestLine().MLinePnt, (CDbPointArray{{0, 455}, {3640, 455}}));
             EXPECT_EQ(r.profile.GetProfileString(kUtility, "tool_hukusen", "-"), "455.00000");
         }},
        {"rectangle by size", cmd::ToolSizedRectangle, [](Rig&) {},
         [](QDialog& d) {
             for (const char* side : {"left", "right"})
                 type(d.findChild<QLineEdit*>(side), "910");
             for (const char* side : {"up", "down"})
                 type(d.findChild<QLineEdit*>(side), "455");
         },
         [](Rig& r) { r.click({1820, 1820}); },
         [](Rig& r) {
             ASSERT_EQ(r.unit().m_Lines.GetSize(), 1);
             double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
             for (const CDbPoint& p : r.newestLine().MLinePnt) {
                 x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
                 y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
             }
             EXPECT_DOUBLE_EQ(x1 - x0, 1820);
             EXPECT_DOUBLE_EQ(y1 - y0, 910);
         }},
        {"division count", cmd::ToolDivide, [](Rig& r) { r.addLine(0, 0, 3640, 0); },
         [](QDialog& d) {
             // The list takes typed counts beyond its items: what it held is replaced.
             QComboBox* count = dynamic_cast<kov::dialogs::DivideDialog&>(d).countList();
             ASSERT_TRUE(count->isEditable());
             type(count->lineEdit(), "4");
         },
         [](Rig& r) { r.click({1820, 0}); },
         [](Rig& r) { EXPECT_EQ(r.unit().m_Lines.GetSize(), 4); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig r;
        row.prepare(r);
        Answering answering(row.answer);
        r.run(row.command);
        QApplication::processEvents();
        row.draw(r);
        EXPECT_EQ(answering.answered(), 1);
        row.made(r);
    }
}

} // namespace
