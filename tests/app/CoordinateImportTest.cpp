// Polygons, continuous lines and lines from a coordinate file, from the menu through the options
// dialog, with the dialog's remembered choices.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "dialogs/CoordinateImportDialog.h"
#include "model/SelectionRecord.h"

#include "app/DocumentTestSupport.h"
#include "app/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <fstream>
#include <functional>

namespace {

using namespace kov::app;
using kov::dialogs::CZahyoOutputDlg;
namespace cmd = kov::app::cmd;

struct Rig : kov::test::WindowRig {
    std::filesystem::path write(const std::string& text)
    {
        const auto p = file("points.csv");
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }
    // Imports the text with the dialog worked by `answer` (nothing: cancelled).
    void import(const std::string& text, std::function<void(CZahyoOutputDlg&)> answer,
                const std::vector<std::string>& messages = {})
    {
        questions.pickOpenFile(write(text));
        for (const auto& m : messages) questions.acknowledge(m);
        QTimer::singleShot(0, [answer] {
            auto* d = dynamic_cast<CZahyoOutputDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr) << "the dialog did not open";
            if (!answer) return d->reject();
            answer(*d);
            d->accept();
        });
        window->UpdateCommandStates();
        EXPECT_TRUE(window->RunCommand(cmd::ImportCoordinates));
    }
    std::vector<const CKovLine*> figures() const
    {
        std::vector<const CKovLine*> out;
        for (const auto& f : std::as_const(doc->m_Unit).m_Lines) out.push_back(f.get());
        return out;
    }
};

TEST(CoordinateImport, APolygonInMetresWithTheFifthRowAtTheOrigin)
{
    Rig r;
    r.import("0,0\n1,0\n1,1\n0,1\n0.5,0.5\n", [](CZahyoOutputDlg& d) {
        EXPECT_EQ(d.m_reference->count(), 5);
        d.m_polygon->setChecked(true);
        d.m_reference->setCurrentIndex(4);
    });
    const auto figures = r.figures();
    ASSERT_EQ(figures.size(), 1u);
    EXPECT_EQ(figures[0]->MLineType, CKovLine::POLYGON);
    const CDbPointArray& p = figures[0]->MLinePnt;
    ASSERT_GE(p.size(), 5u);
    EXPECT_EQ(p[0], CDbPoint(-500, 500));
    EXPECT_EQ(p[2], CDbPoint(500, -500));
    EXPECT_EQ(r.doc->m_Selection.m_Lines, std::vector<int>{figures[0]->MLineID});
}

TEST(CoordinateImport, LinesInMillimetresMovedLeftAndDownWithLabelsAfterAHeader)
{
    Rig r;
    r.import(
        "x,y,name\n100, 200,A\n300, 200,B\n300, 400\n",
        [](CZahyoOutputDlg& d) {
            d.m_millimetres->setChecked(true);
            d.m_noReference->setChecked(true);
            d.m_left->setChecked(true);
            d.m_dx->setText("10");
            d.m_down->setChecked(true);
            d.m_dy->setText("5");
        },
        {"1行読み飛ばしました"});
    const auto figures = r.figures();
    ASSERT_EQ(figures.size(), 2u);
    EXPECT_EQ(figures[0]->MLinePnt[0], CDbPoint(90, -195));
    EXPECT_EQ(figures[0]->MLinePnt[1], CDbPoint(290, -195));
    EXPECT_EQ(figures[1]->MLinePnt[1], CDbPoint(290, -395));
    // Labels at their rows' points; the third row has none.
    ASSERT_EQ(r.doc->m_Unit.m_Texts.GetSize(), 2);
    EXPECT_EQ(std::as_const(r.doc->m_Unit).m_Texts[0]->MTextstr, "A");
    EXPECT_EQ(r.doc->m_Selection.m_Lines.size(), 2u);
    EXPECT_EQ(r.doc->m_Selection.m_Texts.size(), 2u);
    // The choices are remembered; the figure type and the distances are not.
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "zahyo_tani", 0), 1);
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "move_yoko", 1), 0);
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "move_tate", 0), 1);
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "zahyo_kijyunnasi", 0), 1);
    r.import("0,0\n1,1\n", [](CZahyoOutputDlg& d) {
        EXPECT_TRUE(d.m_millimetres->isChecked());
        EXPECT_TRUE(d.m_left->isChecked());
        EXPECT_TRUE(d.m_down->isChecked());
        EXPECT_TRUE(d.m_noReference->isChecked());
        EXPECT_TRUE(d.m_lines->isChecked());
        EXPECT_EQ(d.m_dx->text().toStdString(), "0");
    });
}

TEST(CoordinateImport, SurveyingAxesAndATypedRowClamped)
{
    Rig r;
    // A typed row beyond the list is the last row; text that is no row number means no reference.
    r.import("0,0\n2,1\n", [](CZahyoOutputDlg& d) {
        d.m_survey->setChecked(true);
        d.m_millimetres->setChecked(true);
        d.m_reference->setEditText("9");
    });
    auto figures = r.figures();
    ASSERT_EQ(figures.size(), 1u);
    // Sheet points (0,0) and (2,-1) turn to (0,0) and (1,-2); the second row is the origin.
    EXPECT_EQ(figures[0]->MLinePnt[0], CDbPoint(-1, 2));
    EXPECT_EQ(figures[0]->MLinePnt[1], CDbPoint(0, 0));
    r.import("0,0\n2,1\n", [](CZahyoOutputDlg& d) {
        d.m_survey->setChecked(true);
        d.m_metres->setChecked(true);
        d.m_reference->setEditText("abc");
    });
    figures = r.figures();
    ASSERT_EQ(figures.size(), 2u);
    EXPECT_EQ(figures[1]->MLinePnt[1], CDbPoint(1000, -2000));
}

TEST(CoordinateImport, TooFewPointsAndCancelMakeNothing)
{
    const std::string message = "データを取得できませんでした。";
    {
        // Cancel writes none of the settings.
        Rig r;
        r.import("0,0\n1,1\n", nullptr);
        EXPECT_TRUE(r.figures().empty());
        EXPECT_EQ(r.profile.GetProfileString("KOV_T_UTILITY", "zahyo_kei", "unset"), "unset");
    }
    {
        Rig r;
        r.questions.pickOpenFile(r.write("x,y\n1,2\n"));
        r.questions.acknowledge(message);
        r.window->RunCommand(cmd::ImportCoordinates);
        // A polygon needs three points.
        r.import("0,0\n1,1\n", [](CZahyoOutputDlg& d) { d.m_polygon->setChecked(true); }, {message});
        EXPECT_TRUE(r.figures().empty());
    }
}

} // namespace
