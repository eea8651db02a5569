#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCreation, AnglesAndVerticalWriting)
{
    struct Case {
        const char* name;
        const char* face;
        int escapement, vertical, angle;
        const char* expectedFace;
        int expectedEscapement;
    } cases[] = {
        {"vertical at 0", "ＭＳ ゴシック", 0, 1, 0, "@ＭＳ ゴシック", 2700},
        {"vertical, face already vertical", "@ＭＳ 明朝", 300, 1, 0, "@ＭＳ 明朝", 2700},
        {"vertical at 90 wraps to 0", "ＭＳ ゴシック", 0, 1, 90, "@ＭＳ ゴシック", 0},
        {"horizontal at 45 on 300", "ＭＳ ゴシック", 300, 0, 45, "ＭＳ ゴシック", 750},
        {"one subtraction only", "ＭＳ ゴシック", 3599, 0, 359, "ＭＳ ゴシック", 3589},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        CPlotInfo plot;
        plot.m_Layer.m_nCurrentGroup = 1;
        plot.m_Layer.m_nCurrentLayer = 2;
        CFontMenu font;
        font.lfFaceName = c.face;
        font.lfEscapement = c.escapement;
        SelectionRecord s;
        s.AddLineId(5);
        unit.AddText(font, {10, 20}, "字", plot, s, c.vertical, c.angle);
        ASSERT_EQ(unit.m_Texts.GetSize(), 1);
        const CKovText& t = *unit.m_Texts[0];
        EXPECT_EQ(t.MTextFontMenu.lfFaceName, c.expectedFace);
        EXPECT_EQ(t.MTextFontMenu.lfEscapement, c.expectedEscapement);
        EXPECT_EQ(t.MTextpnt, CDbPoint(10, 20));
        EXPECT_EQ(t.MTextLayer1, 1);
        EXPECT_EQ(t.MTextLayer2, 2);
        EXPECT_EQ(s.m_Texts, std::vector<int>{t.MTextID});
        EXPECT_EQ(s.m_nCount, 1);
        EXPECT_TRUE(s.m_Lines.empty());
    }
}

TEST(TextCreation, DecoratedAndResultTexts)
{
    CKovUnit unit;
    CPlotInfo plot;
    CFontMenu font;
    font.m_toko_align = 2;
    font.m_tate_align = 1;
    font.lfEscapement = 450;
    SelectionRecord s;
    unit.AddDecoratedText(font, {1, 2}, "飾り", plot, s, 0x0000FF, 0x00FF00, 2, 1.5, 3, 7, 60);
    const CKovText& d = *unit.m_Texts[0];
    EXPECT_EQ(d.MTextFontMenu.m_toko_align, 0);
    EXPECT_EQ(d.MTextFontMenu.m_tate_align, 0);
    EXPECT_EQ(d.MTextFontMenu.m_Color, 0x0000FFu);
    EXPECT_EQ(d.MTextFontMenu.m_BackColor, 0x00FF00u);
    EXPECT_EQ(d.MTextFontMenu.lfEscapement, 450);
    EXPECT_EQ(d.MTextHuchiFlg, 2);
    EXPECT_DOUBLE_EQ(d.MTextHuchiAtsumi, 1.5);
    EXPECT_EQ(d.MTextHuchiType, 3);
    EXPECT_EQ(d.MTextHuchiKeij, 7);
    EXPECT_EQ(d.MTextAlpha, 60);
    EXPECT_EQ(s.m_Texts, std::vector<int>{d.MTextID});

    const int id = unit.AddResultText(font, {5, 5}, "12.5㎡", plot);
    EXPECT_GT(id, 0);
    EXPECT_EQ(unit.FindText(id)->MTextstr, "12.5㎡");
    EXPECT_EQ(unit.FindText(id)->MTextFontMenu, font);
    EXPECT_EQ(s.m_nCount, 1); // the selection is not touched
}

} // namespace
