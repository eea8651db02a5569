// The text tools' panels: the settings panel's rules on the document font and the tool's angle,
// keystroke by keystroke; the entry line's pending text and quotations; the decorated-text panel's
// rules, its refused thickness and the keys it writes.

#include "dialogs/TextPanels.h"

#include "dialogs/FontNameList.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {

using namespace kov::dialogs;
using kov::platform::MemoryProfile;
using kov::platform::ScriptedQuestions;

std::string plot(const MemoryProfile& p, const char* key) { return p.GetProfileString("KOV_T_PlotMenu", key, "-"); }

FontNameList faces(std::initializer_list<const char*> names)
{
    std::vector<EnumeratedFace> list;
    for (const char* n : names) {
        EnumeratedFace f;
        f.logFont.lfFaceName = n;
        f.logFont.lfCharSet = 128;
        f.logFont.lfHeight = -99;
        list.push_back(f);
    }
    FontNameList l;
    l.Fill(list);
    return l;
}

TextPanelHooks hooks(int* redraws = nullptr)
{
    TextPanelHooks h;
    h.mmToDevice = [](double mm) { return static_cast<int>(mm * 4); };
    h.redraw = [redraws] {
        if (redraws)
            ++*redraws;
    };
    return h;
}

TEST(TextSettingsPanel, FillsFromTheKeysAndTakesEveryKeystroke)
{
    MemoryProfile store;
    store.WriteProfileInt("KOV_T_PlotMenu", "mozi_kakudo", 30);
    store.WriteProfileInt("KOV_T_PlotMenu", "mozi_yoko_align", 2);
    CFontMenu font;
    font.lfFaceName = "No Such Face";
    font.m_size = 200;      // out of range: replaced when the panel fills
    font.m_bBack = 3;       // an older drawing's colour number
    font.lfWeight = 700;
    kov::tools::TextPanelValues values;
    values.vertical = true;
    int redraws = 0;
    TextSettingsForm f(font, values, store, hooks(&redraws));
    const FontNameList list = faces({"Arial", "ＭＳ ゴシック"});
    EXPECT_EQ(f.Fill(list), 1);
    EXPECT_EQ(font.lfFaceName, "ＭＳ ゴシック");
    EXPECT_EQ(font.lfCharSet, 128);
    EXPECT_EQ(font.lfWeight, 700) << "the face choice keeps the style";
    EXPECT_FALSE(values.vertical);
    EXPECT_EQ(values.mozi_kakudo, 30);
    EXPECT_EQ(font.m_size, 1);
    EXPECT_EQ(font.lfHeight, 4);
    EXPECT_EQ(font.m_bBack, 1);
    EXPECT_EQ(font.m_toko_align, 2);
    EXPECT_GT(redraws, 0);

    // Typing 150 passes through 1 and 15; every step is taken and stored.
    for (const char* typed : {"1", "15", "150"}) {
        f.OnAngleTyped(typed);
        EXPECT_EQ(values.mozi_kakudo, std::stoi(typed));
        EXPECT_EQ(store.GetProfileInt("KOV_T_PlotMenu", "mozi_kakudo", -1), std::stoi(typed));
    }
    struct Case {
        const char* typed;
        double size, spacing;
    };
    const Case cases[] = {{"0", 1, 0}, {"0.", 1, 0}, {"0.5", 0.5, 0.5}, {"100", 100, 100}, {"100.5", 1, 0},
                          {"inf", 1, 0}, {"-2", 1, 0}};
    for (const Case& c : cases) {
        f.OnHeightTyped(c.typed);
        f.OnSpacingTyped(c.typed);
        f.OnLineSpacingTyped(c.typed);
        EXPECT_EQ(font.m_size, c.size) << c.typed;
        EXPECT_EQ(font.lfHeight, static_cast<int>(c.size * 4)) << c.typed;
        EXPECT_EQ(font.m_kankaku, c.spacing) << c.typed;
        EXPECT_EQ(font.m_gyoukan, c.spacing) << c.typed;
    }
    f.OnAngleTyped("360");
    EXPECT_EQ(values.mozi_kakudo, 0);
    f.OnVAlign(1);
    EXPECT_EQ(font.m_tate_align, 1);
    EXPECT_EQ(store.GetProfileInt("KOV_T_PlotMenu", "mozi_tate_align", -1), 1);
    f.OnStyle(0, false);
    f.OnStyle(2, true);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfUnderline, 1);
    f.OnVertical(true);
    EXPECT_TRUE(values.vertical);
    EXPECT_EQ(plot(store, "vertical"), "-");
}

TEST(TextSettingsPanel, TheWidgetEditsTheDocumentFontAsTyped)
{
    MemoryProfile store;
    ScriptedQuestions questions;
    CFontMenu font;
    kov::tools::TextPanelValues values;
    TextSettingsPanel panel(font, values, store, questions, hooks());
    EXPECT_EQ(panel.findChild<QLineEdit*>("height")->text(), "6.5");
    QLineEdit* angle = panel.findChild<QLineEdit*>("angle");
    angle->selectAll();
    QTest::keyClicks(angle, "45");
    EXPECT_EQ(values.mozi_kakudo, 45);
    QLineEdit* height = panel.findChild<QLineEdit*>("height");
    height->selectAll();
    QTest::keyClicks(height, "12");
    EXPECT_EQ(font.m_size, 12);
    panel.findChild<QCheckBox*>("vertical")->click();
    EXPECT_TRUE(values.vertical);
    // Closing writes nothing of its own.
    store.WriteProfileInt("KOV_T_PlotMenu", "mozi_kakudo", 7);
    panel.close();
    EXPECT_EQ(store.GetProfileInt("KOV_T_PlotMenu", "mozi_kakudo", -1), 7);
}

TEST(TextEntryLine, PendingTextQuotationsOkAndCancel)
{
    std::string pending;
    int created = 0, cleared = 0;
    std::string createdText;
    TextEntryForm f(pending, QuotationLines({"和室", "洋室"}), [&] { ++created; createdText = pending; },
                    [&] { ++cleared; }, {});
    ASSERT_EQ(f.lines().size(), 3u);
    EXPECT_EQ(f.lines()[0], kQuotationHead);
    f.OnEdit("一行目\n二行目");
    EXPECT_EQ(pending, "一行目\r\n二行目");
    EXPECT_EQ(f.OnQuotation("A", 0), std::nullopt);
    EXPECT_EQ(f.OnQuotation("A", 3), std::nullopt);
    EXPECT_EQ(f.OnQuotation("A", 2), "A洋室");
    EXPECT_EQ(pending, "A洋室");
    // A click for a new point empties the pending text.
    f.ResetInput();
    EXPECT_TRUE(pending.empty());
    f.OnOK();
    EXPECT_EQ(created, 0) << "an empty text makes nothing";
    EXPECT_EQ(cleared, 1);
    f.OnEdit("玄関");
    f.OnOK();
    EXPECT_EQ(created, 1);
    EXPECT_EQ(createdText, "玄関");
    f.OnEdit("破棄");
    f.OnCancel();
    EXPECT_EQ(created, 1);
    EXPECT_TRUE(pending.empty());
    EXPECT_EQ(cleared, 3);
}

TEST(TextEntryLine, TheWidgetHidesAfterOkAndEmptiesItsEdit)
{
    std::string pending;
    std::string made;
    TextEntryLine line(pending, QuotationLines({"和室"}), [&] { made = pending; }, [] {}, [] {});
    EXPECT_FALSE(line.isVisible());
    line.ShowForPoint();
    EXPECT_TRUE(line.isVisible());
    auto* edit = line.findChild<QPlainTextEdit*>("text");
    edit->setPlainText(QStringLiteral("階段"));
    line.findChild<QComboBox*>("quotations")->activated(1);
    EXPECT_EQ(edit->toPlainText().toStdString(), "階段和室");
    EXPECT_EQ(line.findChild<QComboBox*>("quotations")->currentIndex(), 0);
    line.accept();
    EXPECT_EQ(made, "階段和室");
    EXPECT_FALSE(line.isVisible());
    EXPECT_TRUE(edit->toPlainText().isEmpty());
    EXPECT_TRUE(pending.empty());
}

TEST(DecoratedTextPanel, RulesAndTheKeysTheyWrite)
{
    MemoryProfile store;
    ScriptedQuestions questions;
    kov::tools::DecoratedTextValues v;
    v.Start(CFontMenu{}, store);
    DecoratedTextForm f(v, store, questions, hooks());
    f.Fill();
    EXPECT_EQ(v.font.m_size, 10);
    EXPECT_EQ(v.font.lfHeight, 40);
    EXPECT_EQ(plot(store, "text_huchisize"), "10.000000");
    EXPECT_EQ(plot(store, "text_huchiatsumi"), "1.000000");

    // A thickness outside 0-21 is said and refused; typing 0.5 passes through 0, which is taken.
    questions.acknowledge(DecoratedTextForm::kBadThickness);
    EXPECT_FALSE(f.OnThicknessTyped("-1"));
    EXPECT_EQ(v.frameThickness, 1);
    for (const char* typed : {"0", "0.", "0.5"})
        EXPECT_TRUE(f.OnThicknessTyped(typed)) << typed;
    EXPECT_EQ(v.frameThickness, 0.5);
    EXPECT_EQ(plot(store, "text_huchiatsumi"), "0.500000");
    questions.acknowledge(DecoratedTextForm::kBadThickness);
    EXPECT_FALSE(f.OnThicknessTyped("21.5"));

    struct Case {
        const char* typed;
        int opacity;
    };
    for (const Case& c : {Case{"50", 50}, Case{"101", 100}, Case{"-1", 100}, Case{"0", 0}}) {
        f.OnOpacityTyped(c.typed);
        EXPECT_EQ(v.opacity, c.opacity) << c.typed;
    }
    f.OnHeightTyped("0.4");
    EXPECT_EQ(v.font.m_size, 1);
    EXPECT_EQ(plot(store, "text_huchisize"), "1.000000");

    f.OnVertical(true);
    EXPECT_EQ(v.font.lfFaceName.front(), '@');
    EXPECT_EQ(v.font.lfEscapement, 2700);
    f.OnVertical(true); // no change: the face keeps one "@"
    EXPECT_NE(v.font.lfFaceName.substr(1, 1), "@");
    f.OnVertical(false);
    EXPECT_NE(v.font.lfFaceName.front(), '@');

    questions.pickColor(0x123456);
    EXPECT_TRUE(f.OnColour(1));
    EXPECT_EQ(v.frameColour, 0x123456u);
    EXPECT_EQ(plot(store, "text_huchicol2"), std::to_string(0x123456));
    questions.pickColor(std::nullopt);
    EXPECT_FALSE(f.OnColour(0));
    EXPECT_EQ(v.textColour, 0xFFFFFFu);

    f.OnShape(6);
    f.OnShape(7);
    f.OnSlant(8);
    f.OnFramesOnly(true);
    EXPECT_EQ(v.shape, 6);
    EXPECT_EQ(v.slant, 9);
    EXPECT_EQ(v.framesOnly, 2);
    f.OnText("上\n下");
    EXPECT_EQ(v.text, "上\r\n下");
    f.ClearText();
    EXPECT_TRUE(v.text.empty());
}

TEST(DecoratedTextPanel, TheWidgetStartsOnTheToolsValues)
{
    MemoryProfile store;
    store.WriteProfileString("KOV_T_PlotMenu", "text_huchiatsumi", "2.26");
    ScriptedQuestions questions;
    kov::tools::DecoratedTextValues v;
    v.Start(CFontMenu{}, store);
    DecoratedTextPanel panel(v, store, questions, QuotationLines({"出窓"}), hooks());
    EXPECT_EQ(panel.findChild<QLineEdit*>("thickness")->text(), "2.3");
    EXPECT_EQ(v.frameThickness, 2.3) << "the one-decimal text is taken when the panel fills";
    EXPECT_EQ(panel.findChild<QComboBox*>("slant")->currentIndex(), 4);
    auto* edit = panel.findChild<QPlainTextEdit*>("text");
    QTest::keyClicks(edit, "ABC");
    EXPECT_EQ(v.text, "ABC");
    panel.findChild<QComboBox*>("quotations")->activated(1);
    EXPECT_EQ(v.text, "ABC出窓");
    panel.ClearText();
    EXPECT_TRUE(v.text.empty());
    EXPECT_TRUE(edit->toPlainText().isEmpty());
}

TEST(DecoratedTextPanel, EditModeHasItsCaptionOkAndCancelWhereToolModeIgnoresEnter)
{
    MemoryProfile store;
    ScriptedQuestions questions;
    for (auto mode : {DecoratedTextPanel::Mode::Tool, DecoratedTextPanel::Mode::Edit}) {
        const bool edit = mode == DecoratedTextPanel::Mode::Edit;
        SCOPED_TRACE(edit ? "edit" : "tool");
        kov::tools::DecoratedTextValues v;
        v.text = "看板";
        v.shape = 6;
        v.slant = 8;
        DecoratedTextPanel panel(v, store, questions, {}, hooks(), nullptr, mode);
        EXPECT_EQ(panel.windowTitle(), edit ? "修飾文字の修正" : "修飾文字の作成");
        EXPECT_EQ(panel.findChild<QAbstractButton*>("ok") != nullptr, edit);
        EXPECT_EQ(panel.findChild<QAbstractButton*>("cancel") != nullptr, edit);
        EXPECT_EQ(panel.findChild<QPlainTextEdit*>("text")->toPlainText(), "看板");
        EXPECT_TRUE(panel.findChild<QAbstractButton*>("shape6")->isChecked());
        EXPECT_EQ(panel.findChild<QComboBox*>("slant")->currentIndex(), 7);
        panel.show();
        panel.accept();
        EXPECT_EQ(panel.isVisible(), !edit) << "Enter places nothing in tool mode; OK ends the edit";
        EXPECT_EQ(panel.result(), edit ? int(QDialog::Accepted) : int(QDialog::Rejected));
    }
}

} // namespace
