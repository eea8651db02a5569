// Decorated texts back to plain texts and circles to polylines, from the context menu's commands
// through the window's routing.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/MainWindow.h"

#include "app/DocumentTestSupport.h"
#include "app/WindowTestSupport.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <QApplication>

namespace {

using namespace kov::app;
using kov::platform::Answer;
namespace cmd = kov::app::cmd;

struct Rig : kov::test::WindowRig {
};

TEST(TextAndCurveRoutes, DecoratedTextsBecomePlainAfterTheQuestion)
{
    const std::string question = "選択文字を全て通常文字に変換しますが、よろしいですか？";
    for (const bool agreed : {true, false}) {
        SCOPED_TRACE(agreed);
        Rig r;
        CKovText& t = kov::test::addText(r.doc->m_Unit, 1, {0, 0}, "看板");
        t.MTextHuchiFlg = 1;
        t.MTextHuchiAtsumi = 5;
        t.MTextHuchiType = 3;
        t.MTextAlpha = 40;
        t.MTextFontMenu.m_bBack = 2;
        r.doc->m_Selection.AddTextId(1);
        r.questions.reply(agreed ? Answer::Ok : Answer::Cancel, question);
        r.run(cmd::ToPlainText);
        const CKovText& now = *std::as_const(r.doc->m_Unit).FindText(1);
        EXPECT_EQ(now.MTextHuchiFlg, agreed ? 0 : 1);
        EXPECT_EQ(now.MTextHuchiAtsumi, agreed ? 2.0 : 5.0);
        EXPECT_EQ(now.MTextHuchiType, agreed ? 0 : 3);
        EXPECT_EQ(now.MTextAlpha, agreed ? 100 : 40);
        EXPECT_EQ(now.MTextFontMenu.m_bBack, agreed ? 0 : 2);
        EXPECT_EQ(now.MTextstr, "看板");
    }
}

TEST(TextAndCurveRoutes, CirclesBecomePolygonsAndTheSelectionEmpties)
{
    Rig r;
    kov::test::addFigure(r.doc->m_Unit, 1, CKovLine::CIRCLE, {{0, 0}}, {500});
    kov::test::addFigure(r.doc->m_Unit, 2, CKovLine::LINE, {{0, 0}, {100, 0}});
    r.doc->m_Selection.AddLineId(1);
    r.doc->m_Selection.AddLineId(2);
    const std::size_t depth = r.undoDepth();
    r.run(cmd::CurveToPolyline);
    bool polygon = false;
    for (const auto& f : std::as_const(r.doc->m_Unit).m_Lines) {
        EXPECT_NE(f->MLineType, CKovLine::CIRCLE);
        if (f->MLineType == CKovLine::POLYGON) {
            polygon = true;
            EXPECT_GE(f->MLinePnt.size(), 24u);
            for (const CDbPoint& p : f->MLinePnt) EXPECT_NEAR(std::hypot(p.x, p.y), 500, 1e-6);
        }
    }
    EXPECT_TRUE(polygon);
    EXPECT_TRUE(r.doc->m_Selection.IsEmpty());
    EXPECT_EQ(r.undoDepth(), depth + 1);
}

} // namespace
