// The property and layer commands through the main window's routing: the selected text, room,
// wall, column and figure properties, the thickness and line type of the selection, the layer
// list, name and selection, and the figure tools' style panel. Each dialog is worked as a person
// would, through its widgets, by the modal runner of the tests.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "dialogs/FigurePropertyDialog.h"
#include "dialogs/ModalRun.h"
#include "dialogs/SettingsSheet.h"

#include "app/WindowTestSupport.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

namespace {

using namespace kov::app;
using kov::platform::Answer;
using kov::test::addFigure;
using kov::test::addGroup;
using kov::test::addText;
using kov::test::addWall;
namespace cmd = kov::app::cmd;
using Work = std::function<void(QDialog&)>;

constexpr std::uint32_t kRed = 0x0000FF;

QPushButton* buttonNamed(QDialog& d, const char* name, const char* text)
{
    if (auto* b = d.findChild<QPushButton*>(QString::fromUtf8(name))) return b;
    for (auto* b : d.findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(text)) return b;
    return nullptr;
}

template <class W> W* child(QDialog& d, const char* name)
{
    W* w = d.findChild<W*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void choose(QComboBox* list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

void retype(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

struct Rig : kov::test::WindowRig {
    std::vector<std::string> opened;       // object names of the dialogs, in order
    std::deque<std::pair<Work, bool>> answers; // work on the widgets, then OK (true) or cancel
    kov::dialogs::ScopedModalRunner runner{[this](QDialog& d) {
        opened.push_back(d.objectName().toStdString());
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected dialog " << d.objectName().toStdString();
            return int(QDialog::Rejected);
        }
        auto [work, ok] = answers.front();
        answers.pop_front();
        d.show();
        QApplication::processEvents();
        if (work) work(d);
        QPushButton* button = ok ? buttonNamed(d, "ok", "OK") : buttonNamed(d, "cancel", "キャンセル");
        if (!button) button = buttonNamed(d, "cancel", "ｷｬﾝｾﾙ");
        EXPECT_NE(button, nullptr);
        if (button) QTest::mouseClick(button, Qt::LeftButton);
        return d.result();
    }};

    Rig() : WindowRig({1200, 800}) {}
    CKovUnit& unit() { return doc->m_Unit; }
    const CKovUnit& read() const { return doc->m_Unit; }
    void ok(Work work = {}) { answers.emplace_back(std::move(work), true); }
    void cancel(Work work = {}) { answers.emplace_back(std::move(work), false); }
    void run(int command)
    {
        WindowRig::run(command);
        EXPECT_TRUE(answers.empty()) << "dialogs not opened: " << answers.size();
    }
};

// -- the selected text ----------------------------------------------------------------------------------

TEST(PropertyCommands, SelectedTextWritingDirectionAndAngle)
{
    struct Case {
        const char* name;
        int escapement;
        const char* face;
        const char* shownAngle; // what the dialog opens with
        bool tick;
        const char* typed;
        int escapementAfter;
        const char* faceAfter;
    };
    const Case cases[] = {
        {"horizontal 30 degrees made vertical", 300, "ＭＳ ゴシック", "30", true, "30", 3000, "@ＭＳ ゴシック"},
        {"horizontal 100 degrees made vertical", 1000, "ＭＳ ゴシック", "100", true, "100", 100, "@ＭＳ ゴシック"},
        {"vertical at 0 made horizontal", 2700, "@ＭＳ ゴシック", "270", false, "270", 0, "ＭＳ ゴシック"},
        {"vertical stays vertical", 2700, "@ＭＳ ゴシック", "270", true, "270", 2700, "@ＭＳ ゴシック"},
        {"angle 360 is refused", 450, "ＭＳ ゴシック", "45", false, "360", 450, "ＭＳ ゴシック"},
        {"angle 0 is taken", 450, "ＭＳ ゴシック", "45", false, "0", 0, "ＭＳ ゴシック"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        CKovText& t = addText(r.unit(), 1, {0, 0}, "縦横");
        t.MTextFontMenu.lfEscapement = c.escapement;
        t.MTextFontMenu.lfFaceName = c.face;
        r.doc->m_Selection.AddTextId(1);
        r.ok([&c](QDialog& d) {
            auto* angle = child<QLineEdit>(d, "angle");
            EXPECT_EQ(angle->text().toStdString(), c.shownAngle);
            auto* vertical = child<QCheckBox>(d, "vertical");
            EXPECT_EQ(vertical->isChecked(), c.face[0] == '@');
            vertical->setChecked(c.tick);
            angle->setText(QString::fromUtf8(c.typed));
        });
        r.run(cmd::EditSelectedText);
        const CKovText& after = *r.read().FindText(1);
        EXPECT_EQ(after.MTextFontMenu.lfEscapement, c.escapementAfter);
        EXPECT_EQ(after.MTextFontMenu.lfFaceName, c.faceAfter);
        EXPECT_EQ(after.MTextstr, "縦横");
    }
}

// -- decorated texts -------------------------------------------------------------------------------------

TEST(PropertyCommands, ConvertToDecoratedTextFromTheContextMenu)
{
    struct Case {
        const char* name;
        std::uint32_t colour;
        int escapement;
        const char* face;
        bool ok;
        // After: the frame colour, the angle, the face.
        std::uint32_t frameColour;
        int escapementAfter;
        const char* faceAfter;
    };
    const Case cases[] = {
        {"a red text turned 45 degrees, framed in red and set upright", kRed, 450, "ＭＳ ゴシック", true, kRed, 0,
         "ＭＳ ゴシック"},
        {"a white text gets a black frame", 0xFFFFFF, 0, "ＭＳ ゴシック", true, 0, 0, "ＭＳ ゴシック"},
        {"a vertical text stays vertical", kRed, 2700, "@ＭＳ ゴシック", true, kRed, 2700, "@ＭＳ ゴシック"},
        {"a vertical text turned comes back upright, still vertical", kRed, 3150, "@ＭＳ ゴシック",
         true, kRed, 2700, "@ＭＳ ゴシック"},
        {"cancel changes nothing", kRed, 450, "ＭＳ ゴシック", false, 0, 450, "ＭＳ ゴシック"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        r.profile.WriteProfileString("KOV_T_PlotMenu", "text_huchiatsumi", "2.500000");
        CKovText& t = addText(r.unit(), 1, {0, 0}, "居間\r\n和室");
        t.MTextFontMenu.m_Color = c.colour;
        t.MTextFontMenu.lfEscapement = c.escapement;
        t.MTextFontMenu.lfFaceName = c.face;
        t.MTextFontMenu.m_toko_align = 1;
        t.MTextFontMenu.m_tate_align = 2;
        r.doc->m_Selection.AddTextId(1);
        const std::size_t undoBefore = r.undoDepth();
        auto work = [](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("修飾文字の修正"));
            EXPECT_EQ(child<QPlainTextEdit>(d, "text")->toPlainText(), QStringLiteral("居間\n和室"));
            EXPECT_EQ(child<QLineEdit>(d, "thickness")->text(), QStringLiteral("2.5"));
            EXPECT_EQ(child<QLineEdit>(d, "opacity")->text(), QStringLiteral("100"));
            EXPECT_EQ(child<QComboBox>(d, "slant")->currentIndex(), 4);
            EXPECT_TRUE(child<QPushButton>(d, "shape0")->isChecked());
            QTest::mouseClick(child<QPushButton>(d, "shape3"), Qt::LeftButton);
            child<QCheckBox>(d, "framesOnly")->setChecked(true);
            retype(child<QLineEdit>(d, "opacity"), QStringLiteral("60"));
        };
        if (c.ok)
            r.ok(work);
        else
            r.cancel(work);
        r.run(cmd::ToDecoratedText);
        const CKovText& after = *r.read().FindText(1);
        EXPECT_EQ(after.MTextFontMenu.lfEscapement, c.escapementAfter);
        EXPECT_EQ(after.MTextFontMenu.lfFaceName, c.faceAfter);
        if (!c.ok) {
            EXPECT_EQ(after.MTextHuchiFlg, 0);
            EXPECT_EQ(r.undoDepth(), undoBefore);
            continue;
        }
        EXPECT_EQ(after.MTextHuchiFlg, 2);
        EXPECT_EQ(after.MTextHuchiType, 3);
        EXPECT_EQ(after.MTextHuchiKeij, 5);
        EXPECT_EQ(after.MTextAlpha, 60);
        EXPECT_DOUBLE_EQ(after.MTextHuchiAtsumi, 2.5);
        EXPECT_EQ(after.MTextFontMenu.m_Color, 0xFFFFFFu);
        EXPECT_EQ(after.MTextFontMenu.m_BackColor, c.frameColour);
        EXPECT_EQ(after.MTextFontMenu.m_toko_align, 0);
        EXPECT_EQ(after.MTextFontMenu.m_tate_align, 0);
        EXPECT_EQ(after.MTextstr, "居間\r\n和室");
        // One undo step brings the plain text back.
        EXPECT_EQ(r.undoDepth(), undoBefore + 1);
        r.run(cmd::EditUndo);
        EXPECT_EQ(r.read().FindText(1)->MTextHuchiFlg, 0);
        EXPECT_EQ(r.read().FindText(1)->MTextFontMenu.lfEscapement, c.escapement);
    }
}

TEST(PropertyCommands, DecoratedTextEditedByBothCommands)
{
    for (int command : {cmd::ToDecoratedText, cmd::EditSelectedText}) {
        SCOPED_TRACE(command);
        Rig r;
        CKovText& t = addText(r.unit(), 1, {0, 0}, "看板");
        CFontMenu& f = t.MTextFontMenu;
        f.lfFaceName = "@ＭＳ ゴシック";
        f.lfEscapement = 2700;
        f.m_toko_align = 1;
        f.m_Color = 0x00FF00;
        f.m_BackColor = kRed;
        t.MTextHuchiFlg = 1;
        t.MTextHuchiAtsumi = 3;
        t.MTextHuchiType = 6;
        t.MTextHuchiKeij = 8;
        t.MTextAlpha = 40;
        r.doc->m_Selection.AddTextId(1);
        r.ok([](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("修飾文字の修正"));
            EXPECT_TRUE(child<QPushButton>(d, "shape6")->isChecked());
            EXPECT_EQ(child<QComboBox>(d, "slant")->currentIndex(), 7);
            EXPECT_EQ(child<QLineEdit>(d, "opacity")->text(), QStringLiteral("40"));
            EXPECT_EQ(child<QLineEdit>(d, "thickness")->text(), QStringLiteral("3.0"));
            auto* vertical = child<QCheckBox>(d, "vertical");
            EXPECT_TRUE(vertical->isChecked());
            vertical->setChecked(false);
            child<QPlainTextEdit>(d, "text")->setPlainText(QStringLiteral("看板２"));
            choose(child<QComboBox>(d, "slant"), 1);
        });
        r.run(command);
        EXPECT_EQ(r.opened, std::vector<std::string>{"decoratedText"});
        const CKovText& after = *r.read().FindText(1);
        EXPECT_EQ(after.MTextstr, "看板２");
        EXPECT_EQ(after.MTextHuchiFlg, 1);
        EXPECT_EQ(after.MTextHuchiType, 6);
        EXPECT_EQ(after.MTextHuchiKeij, 2);
        EXPECT_EQ(after.MTextAlpha, 40);
        EXPECT_EQ(after.MTextFontMenu.m_Color, 0x00FF00u);
        EXPECT_EQ(after.MTextFontMenu.m_BackColor, kRed);
        // Written horizontally now: the face loses its "@" and the angle follows; the alignment stays.
        EXPECT_EQ(after.MTextFontMenu.lfFaceName, "ＭＳ ゴシック");
        EXPECT_EQ(after.MTextFontMenu.lfEscapement, 0);
        EXPECT_EQ(after.MTextFontMenu.m_toko_align, 1);
    }
}

TEST(PropertyCommands, SeveralTextsTakeFontAndAngleButKeepTheirOwnStrings)
{
    Rig r;
    addText(r.unit(), 1, {0, 0}, "一");
    CKovText& v = addText(r.unit(), 2, {0, 100}, "二");
    v.MTextFontMenu.lfFaceName = "@ＭＳ ゴシック";
    v.MTextFontMenu.lfEscapement = 2700;
    r.doc->m_Selection.AddTextId(1);
    r.doc->m_Selection.AddTextId(2);
    r.ok([](QDialog& d) {
        EXPECT_FALSE(child<QPlainTextEdit>(d, "text")->isEnabled());
        EXPECT_FALSE(child<QCheckBox>(d, "vertical")->isEnabled());
        EXPECT_EQ(child<QLineEdit>(d, "angle")->text(), QStringLiteral("0"));
        child<QLineEdit>(d, "angle")->setText(QStringLiteral("10"));
        child<QLineEdit>(d, "height")->setText(QStringLiteral("8"));
    });
    r.run(cmd::EditSelectedText);
    EXPECT_EQ(r.read().FindText(1)->MTextFontMenu.lfEscapement, 100);
    EXPECT_EQ(r.read().FindText(1)->MTextFontMenu.lfFaceName, "ＭＳ ゴシック");
    EXPECT_EQ(r.read().FindText(2)->MTextFontMenu.lfEscapement, 2800);
    EXPECT_EQ(r.read().FindText(2)->MTextFontMenu.lfFaceName, "@ＭＳ ゴシック");
    EXPECT_EQ(r.read().FindText(2)->MTextFontMenu.m_size, 8);
    EXPECT_EQ(r.read().FindText(2)->MTextstr, "二");
    // A decorated text among several: nothing opens, nothing changes.
    r.unit().FindText(1)->MTextHuchiFlg = 1;
    r.run(cmd::EditSelectedText);
    EXPECT_EQ(r.opened.size(), 1u);
}

TEST(PropertyCommands, LabelReachedThroughItsGroupScalesByByteLength)
{
    struct Case {
        const char* name;
        const char* typed;
        double size;
        int height;
    };
    // "和室" is 4 bytes in CP932: doubling it halves the size; an empty text keeps the size (no ratio).
    const Case cases[] = {{"longer", "和室和室", 2.0, -20}, {"empty", "", 4.0, -40}, {"same", "洋室", 4.0, -40}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        CKovText& label = addText(r.unit(), 1, {0, 0}, "和室", 5);
        label.MTextFontMenu.m_size = 4.0;
        label.MTextFontMenu.m_kankaku = 1.0;
        label.MTextFontMenu.lfHeight = -40;
        addGroup(r.unit(), 5, {}, {}, {1});
        r.doc->m_Selection.AddGroupId(5);
        r.ok([&c](QDialog& d) { child<QPlainTextEdit>(d, "text")->setPlainText(QString::fromUtf8(c.typed)); });
        r.run(cmd::EditSelectedText);
        const CFontMenu& f = r.read().FindText(1)->MTextFontMenu;
        EXPECT_EQ(r.read().FindText(1)->MTextstr, c.typed);
        EXPECT_DOUBLE_EQ(f.m_size, c.size);
        EXPECT_DOUBLE_EQ(f.m_kankaku, c.size / 4.0);
        EXPECT_EQ(f.lfHeight, c.height);
        EXPECT_TRUE(std::isfinite(f.m_size));
    }
}

TEST(PropertyCommands, EditButtonOpensTheDialogOfTheSelectedKind)
{
    Rig r;
    addText(r.unit(), 1, {0, 0}, "文字");
    r.doc->m_Selection.AddTextId(1);
    r.cancel();
    r.run(cmd::PanelProperties);
    // The context menu's "選択物のプロパティ..." is the same command.
    r.doc->m_Selection.Clear();
    addFigure(r.unit(), 2, CKovLine::RECTANGLE, {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    r.doc->m_Selection.AddLineId(2);
    r.ok([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("選択図形のプロパティ"));
        choose(child<QComboBox>(d, "lineType"), 1);
        choose(child<QComboBox>(d, "widthType"), 4);
        child<QCheckBox>(d, "fill")->click();
        QTest::mouseClick(child<QLabel>(d, "basicPalette"), Qt::LeftButton, {}, QPoint(33, 10));
    });
    r.run(cmd::ContextProperties);
    const CKovLine& f = *r.read().FindLine(2);
    EXPECT_EQ(f.MLineLineT, 1);
    EXPECT_EQ(f.MLineWide, 5);
    EXPECT_EQ(f.MLinebNakanuri, 1);
    EXPECT_EQ(f.MLineNakaColor, kRed);
    // The document's defaults are not touched by a selection's properties.
    EXPECT_EQ(r.doc->m_PlotInfo.PlotLineType[1], 0);
    // A dimension has no style: OK leaves it as it was.
    CKovLine& dim = addFigure(r.unit(), 3, CKovLine::DIMENSION, {{0, 0}, {100, 0}});
    dim.MLineColor = 0x123456;
    r.doc->m_Selection.Clear();
    r.doc->m_Selection.AddLineId(3);
    r.ok([](QDialog& d) { EXPECT_FALSE(child<QComboBox>(d, "lineType")->isEnabled()); });
    r.run(cmd::PanelProperties);
    EXPECT_EQ(r.read().FindLine(3)->MLineColor, 0x123456u);
    EXPECT_EQ(r.opened, (std::vector<std::string>{"selectedText", "figureProperties", "figureProperties"}));
}

TEST(PropertyCommands, WallAndColumnPropertiesAndThicknessOfTheSelection)
{
    Rig r;
    addWall(r.unit(), 1, {0, 0}, {3000, 0});
    addWall(r.unit(), 2, {3000, 0}, {3000, 3000}, 60);
    CKovWall& column = addWall(r.unit(), 3, {0, 3000}, {0, 3000}, 100);
    column.MWall_Type = 1;
    r.doc->m_Selection.AddWallId(1);
    // One wall through the edit button: the wall dialog on its own thickness.
    r.ok([](QDialog& d) {
        auto* edit = d.findChild<QLineEdit*>();
        EXPECT_EQ(edit->text(), QStringLiteral("50.0"));
        retype(edit, QStringLiteral("120"));
    });
    r.run(cmd::PanelProperties);
    EXPECT_EQ(r.read().FindWall(1)->MWallWide1, 120);
    // One column: the column dialog with its type.
    r.doc->m_Selection.Clear();
    r.doc->m_Selection.AddWallId(3);
    r.ok([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("選択柱の厚さ（片側）"));
        EXPECT_TRUE(child<QAbstractButton>(d, "type0")->isChecked());
        retype(child<QLineEdit>(d, "halfWidth"), QStringLiteral("80"));
    });
    r.run(cmd::PanelProperties);
    EXPECT_EQ(r.read().FindWall(3)->MWallWide1, 80);

    // "選択壁厚変更..." on two walls and a group holding the column: the walls only.
    r.doc->m_Selection.Clear();
    addGroup(r.unit(), 9, {}, {3});
    r.doc->m_Selection.AddWallId(1);
    r.doc->m_Selection.AddWallId(2);
    r.doc->m_Selection.AddGroupId(9);
    r.ok([](QDialog& d) {
        auto* edit = d.findChild<QLineEdit*>();
        EXPECT_EQ(edit->text(), QStringLiteral("50.0")); // several objects: the document's thickness
        retype(edit, QStringLiteral("75"));
    });
    r.run(cmd::WallThicknessOfSelection);
    EXPECT_EQ(r.read().FindWall(1)->MWallWide1, 75);
    EXPECT_EQ(r.read().FindWall(2)->MWallWide1, 75);
    EXPECT_EQ(r.read().FindWall(3)->MWallWide1, 80);
    EXPECT_EQ(r.doc->m_PlotInfo.PlotWallWide, 50);
    // "選択柱厚変更" on the group: the column only, its type locked for several objects.
    r.ok([](QDialog& d) {
        EXPECT_FALSE(child<QAbstractButton>(d, "type1")->isEnabled());
        retype(child<QLineEdit>(d, "halfWidth"), QStringLiteral("30"));
    });
    r.run(cmd::ColumnThicknessOfSelection);
    EXPECT_EQ(r.read().FindWall(3)->MWallWide1, 30);
    EXPECT_EQ(r.read().FindWall(1)->MWallWide1, 75);
    // Undo takes the last change back.
    r.run(cmd::EditUndo);
    EXPECT_EQ(r.read().FindWall(3)->MWallWide1, 80);
    // Without walls in the selection nothing opens.
    r.doc->m_Selection.Clear();
    r.run(cmd::WallThicknessOfSelection);
    EXPECT_EQ(r.opened.size(), 4u);
}

TEST(PropertyCommands, LineTypeOfSeveralFiguresFromTheLineDefaults)
{
    Rig r;
    addFigure(r.unit(), 1, CKovLine::LINE, {{0, 0}, {100, 0}});
    addFigure(r.unit(), 2, CKovLine::RECTANGLE, {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    addFigure(r.unit(), 3, CKovLine::LINE, {{0, 50}, {100, 50}}, {}, 7);
    addGroup(r.unit(), 7, {3});
    // One figure: nothing happens.
    r.doc->m_Selection.AddLineId(1);
    r.run(cmd::LineTypeOfSelection);
    r.doc->m_Selection.AddLineId(2);
    r.doc->m_Selection.AddGroupId(7);
    r.ok([](QDialog& d) {
        choose(child<QComboBox>(d, "lineType"), 3);
        choose(child<QComboBox>(d, "endMarks"), 3);
        QTest::mouseClick(child<QLabel>(d, "basicPalette"), Qt::LeftButton, {}, QPoint(33, 10));
    });
    r.run(cmd::LineTypeOfSelection);
    EXPECT_EQ(r.read().FindLine(1)->MLineLineT, 3);
    EXPECT_EQ(r.read().FindLine(1)->MLineTanten, 3);
    EXPECT_EQ(r.read().FindLine(1)->MLineColor, kRed);
    EXPECT_EQ(r.read().FindLine(2)->MLineLineT, 3);
    EXPECT_EQ(r.read().FindLine(2)->MLineTanten, 0); // end marks for lines only
    EXPECT_EQ(r.read().FindLine(3)->MLineLineT, 0);  // members of selected groups are not touched
    EXPECT_EQ(r.doc->m_PlotInfo.PlotLineType[0], 0);
    EXPECT_EQ(r.opened.size(), 1u);
}

// A room: its polygon filled, three pattern lines in the group.
void addRoom(Rig& r, int hatchType)
{
    CKovLine& polygon = addFigure(r.unit(), 1, CKovLine::POLYGON, {{0, 0}, {3640, 0}, {3640, 2730}, {0, 2730}},
                                  {4.55}, 20);
    polygon.MLinebNakanuri = 1;
    polygon.MLineNakaColor = 0xC0FFC0;
    polygon.MLineHachT = hatchType;
    for (int i = 0; i < 3; ++i) addFigure(r.unit(), 2 + i, CKovLine::LINE, {{0, 500.0 * (i + 1)}, {3640, 500.0 * (i + 1)}}, {}, 20);
    addGroup(r.unit(), 20, {1, 2, 3, 4}, {}, {}, 1);
    r.doc->m_Selection.AddGroupId(20);
}

TEST(PropertyCommands, RoomPropertiesLayThePatternAgain)
{
    Rig r;
    addRoom(r, 3);
    r.unit().MUnitLineID = 100; // the new pattern lines are told from the old ones by number
    r.ok([](QDialog& d) {
        EXPECT_TRUE(child<QCheckBox>(d, "pattern")->isChecked()); // its pattern lines
        EXPECT_EQ(child<QLineEdit>(d, "spacing")->text(), QStringLiteral("4.550"));
        QTest::mouseClick(child<QLabel>(d, "fillPalette"), Qt::LeftButton, {}, QPoint(33, 10));
        choose(child<QComboBox>(d, "patternKind"), 4); // "水平縞"
        retype(child<QLineEdit>(d, "spacing"), QStringLiteral("10"));
    });
    r.run(cmd::PanelProperties);
    const CKovLine& polygon = *r.read().FindLine(1);
    EXPECT_EQ(polygon.MLineNakaColor, kRed);
    EXPECT_EQ(polygon.MLineNakaColor2, CKovUnit::MildGradientColor(kRed, 0xFFFFFF));
    EXPECT_EQ(polygon.MLineHachT, 0);
    EXPECT_EQ(polygon.MLinebHach, 0);
    ASSERT_EQ(polygon.MLineParam.size(), 1u);
    EXPECT_EQ(polygon.MLineParam[0], 10);
    for (int old : {2, 3, 4}) EXPECT_EQ(r.read().FindLine(old), nullptr);
    const CKovGroup& room = *r.read().FindGroup(20);
    EXPECT_EQ(room.MGrpLineID.front(), 1);
    // Horizontal lines 10 paper mm apart at 1:100, 1,000 mm, across the room, in the pattern colour.
    ASSERT_GE(room.MGrpLineID.size(), 3u);
    std::vector<double> ys;
    for (std::size_t i = 1; i < room.MGrpLineID.size(); ++i) {
        const CKovLine& l = *r.read().FindLine(room.MGrpLineID[i]);
        EXPECT_GT(l.MLineID, 100);
        EXPECT_EQ(l.MLineType, CKovLine::LINE);
        EXPECT_NEAR(l.MLinePnt[0].y, l.MLinePnt[1].y, 1e-6);
        EXPECT_NEAR(std::abs(l.MLinePnt[0].x - l.MLinePnt[1].x), 3640, 1e-6);
        EXPECT_EQ(l.MLineGrpID, 20);
        EXPECT_EQ(l.MLineColor, polygon.MLineColor);
        ys.push_back(l.MLinePnt[0].y);
    }
    std::sort(ys.begin(), ys.end());
    for (std::size_t i = 1; i < ys.size(); ++i) EXPECT_NEAR(ys[i] - ys[i - 1], 1000, 1e-6);
    EXPECT_EQ(r.doc->m_Selection.m_Groups, std::vector<int>{20});
}

TEST(PropertyCommands, RoomPropertiesTatamiBlackAndWhiteAndRoomsWithoutFigures)
{
    {
        // Tatami with the pattern on: only the mats' edges take the colour.
        Rig r;
        addRoom(r, 300);
        r.ok([](QDialog& d) {
            EXPECT_FALSE(child<QComboBox>(d, "patternKind")->isEnabled());
            QTest::mouseClick(child<QLabel>(d, "patternPalette"), Qt::LeftButton, {}, QPoint(33, 10));
        });
        r.run(cmd::PanelProperties);
        EXPECT_EQ(r.read().FindGroup(20)->MGrpLineID.size(), 4u);
        for (int id : {2, 3, 4}) EXPECT_EQ(r.read().FindLine(id)->MLineColor, kRed);
        EXPECT_EQ(r.read().FindLine(1)->MLineHachT, 300);
    }
    {
        // Black-and-white display asks first; Cancel opens nothing.
        Rig r;
        addRoom(r, 3);
        r.doc->m_PlotInfo.PlotSirokuro = 1;
        r.questions.reply(Answer::Cancel, "現在、白黒モードです。");
        r.run(cmd::PanelProperties);
        EXPECT_TRUE(r.opened.empty());
    }
    {
        Rig r;
        addGroup(r.unit(), 20, {}, {}, {}, 1);
        r.doc->m_Selection.AddGroupId(20);
        r.questions.acknowledge("色、または模様のない部屋は変更できません");
        r.run(cmd::PanelProperties);
        EXPECT_TRUE(r.opened.empty());
    }
}

// -- layers -----------------------------------------------------------------------------------------------

TEST(PropertyCommands, LayerListFromTheLayerBarsButton)
{
    Rig r;
    r.addLine(0, 0, 1000, 0);
    r.ok([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("レイヤー一覧"));
        QTest::mouseClick(child<QLabel>(d, "thumbnail1"), Qt::LeftButton);
        auto* state2 = child<QPushButton>(d, "state2");
        QTest::mouseClick(state2, Qt::LeftButton);
        QTest::mouseClick(state2, Qt::LeftButton);
        EXPECT_EQ(state2->text(), QStringLiteral("非表示"));
    });
    r.window->panelButton(cmd::LayerList)->click();
    EXPECT_EQ(r.window->statusText().find("今後の版"), std::string::npos);
    EXPECT_EQ(r.opened, std::vector<std::string>{"layerList"});
    EXPECT_EQ(r.doc->m_PlotInfo.m_Layer.m_nCurrentGroup, 1);
    EXPECT_EQ(r.doc->m_PlotInfo.m_Layer.m_GrpLayerInfo[2].m_nType, 2);
    EXPECT_EQ(r.window->panelButton(cmd::LayerState1)->text(), QStringLiteral("表吸編集"));
    EXPECT_EQ(r.window->panelButton(cmd::LayerState2)->text(), QStringLiteral("非表"));
    // Cancel changes nothing.
    r.cancel([](QDialog& d) { QTest::mouseClick(child<QLabel>(d, "thumbnail0"), Qt::LeftButton); });
    r.run(cmd::LayerList);
    EXPECT_EQ(r.doc->m_PlotInfo.m_Layer.m_nCurrentGroup, 1);
}

TEST(PropertyCommands, LayerNameFromTheLayerMenu)
{
    Rig r;
    r.ok([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("レイヤー名"));
        child<QLineEdit>(d, "name")->setText(QStringLiteral("一階平面"));
    });
    r.window->action(cmd::LayerName)->trigger();
    EXPECT_EQ(r.opened, std::vector<std::string>{"layerName"});
    EXPECT_EQ(r.doc->m_PlotInfo.m_Layer.m_GrpLayerInfo[0].m_strName, "一階平面");
    EXPECT_TRUE(r.doc->IsModified());
    // Cancel keeps the name.
    r.cancel([](QDialog& d) { child<QLineEdit>(d, "name")->clear(); });
    r.run(cmd::LayerName);
    EXPECT_EQ(r.doc->m_PlotInfo.m_Layer.m_GrpLayerInfo[0].m_strName, "一階平面");
}

// -- the figure tools' style panel ------------------------------------------------------------------------

TEST(PropertyCommands, FigureToolsOpenTheirStylePanelBesideTheLayerBar)
{
    Rig r;
    r.run(cmd::ToolRectangle);
    auto* panel = qobject_cast<kov::dialogs::CLinePropSetDg*>(r.window->m_pToolDialog[14]);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->windowTitle(), QStringLiteral("作図図形の設定"));
    EXPECT_EQ(panel->form().kind(), 1);
    // Beside the layer bar, its whole width left of the bar, off the drawing's middle.
    auto* bar = r.window->findChild<QWidget*>(QStringLiteral("layerBarDock"));
    ASSERT_NE(bar, nullptr);
    EXPECT_LE(panel->frameGeometry().right(), bar->mapToGlobal(QPoint(0, 0)).x());
    EXPECT_GT(panel->frameGeometry().left(), r.window->mapToGlobal(QPoint(r.window->width() / 3, 0)).x());
    // Its edits are the next rectangle's style at once.
    choose(panel->findChild<QComboBox*>(QStringLiteral("lineType")), 2);
    EXPECT_EQ(r.doc->m_PlotInfo.PlotLineType[1], 2);
    // Closed, the edit button shows it again.
    panel->close();
    EXPECT_FALSE(panel->isVisible());
    r.run(cmd::PanelProperties);
    EXPECT_TRUE(panel->isVisible());
    // Another tool ends it; the arc tool gets its own.
    r.run(cmd::ToolArc);
    auto* arc = qobject_cast<kov::dialogs::CLinePropSetDg*>(r.window->m_pToolDialog[14]);
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->form().slot(), 4);
    r.run(cmd::PanelSelect);
    EXPECT_EQ(r.window->m_pToolDialog[14], nullptr);

    // With the panel switched off in the settings (read at start) it is made hidden, and the edit
    // button shows it.
    Rig h;
    h.window.reset();
    h.profile.WriteProfileInt("KOV_T_PlotMenu", "app_zukeipropview", 0);
    h.window = std::make_unique<MainWindow>(h.doc.get());
    h.window->show();
    h.run(cmd::ToolLine);
    auto* line = qobject_cast<kov::dialogs::CLinePropSetDg*>(h.window->m_pToolDialog[14]);
    ASSERT_NE(line, nullptr);
    EXPECT_FALSE(line->isVisible());
    h.run(cmd::PanelProperties);
    EXPECT_TRUE(line->isVisible());
}

// -- the room font from the settings sheet's room page ----------------------------------------------------

TEST(PropertyCommands, RoomFontDialogFromTheRoomPage)
{
    Rig r;
    r.doc->m_PlotInfo.m_RoomInfo.m_Font.m_size = 4.0;
    r.ok([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("部屋文字フォントの設定"));
        EXPECT_EQ(child<QLineEdit>(d, "height")->text(), QStringLiteral("4.0"));
        retype(child<QLineEdit>(d, "height"), QStringLiteral("101"));  // out of range: 1
        retype(child<QLineEdit>(d, "spacing"), QStringLiteral("2.5"));
    });
    // The sheet itself runs modally: worked once it is up.
    bool driven = false;
    QTimer::singleShot(50, [&driven] {
        using kov::dialogs::CPropSheet1;
        using kov::dialogs::SettingsSheetForm;
        auto* sheet = dynamic_cast<CPropSheet1*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        sheet->showTab(SettingsSheetForm::Rooms);
        auto* button = sheet->tabs()->widget(SettingsSheetForm::Rooms)->findChild<QPushButton*>(QStringLiteral("roomfont"));
        ASSERT_NE(button, nullptr);
        button->click();
        driven = true;
        sheet->accept();
    });
    r.run(cmd::Settings);
    EXPECT_TRUE(driven);
    EXPECT_EQ(r.opened, std::vector<std::string>{"roomFont"});
    EXPECT_EQ(r.doc->m_PlotInfo.m_RoomInfo.m_Font.m_size, 1.0);
    EXPECT_EQ(r.doc->m_PlotInfo.m_RoomInfo.m_Font.m_kankaku, 2.5);
}

} // namespace
