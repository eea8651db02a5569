#include "dialogs/PaperDialogs.h"

#include "io/PrintTexts.h"
#include "platform/Questions.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using kov::dialogs::PageSetDialog;
using kov::dialogs::PaperUserDialog;
using kov::dialogs::PrintmoveDialog;

namespace {

kov::io::PageSetForm paper(int code, int w = 297, int h = 210)
{
    kov::io::PageSetForm f;
    f.paperCode = code;
    f.userWidth = w;
    f.userHeight = h;
    return f;
}

} // namespace

TEST(PageSetDialog, ShowsThePaperAndStoresTheChosenOne)
{
    kov::platform::ScriptedQuestions questions;
    PageSetDialog dialog(paper(20), questions);
    EXPECT_EQ(dialog.windowTitle(), QString("印刷用紙のサイズと向きの設定"));
    ASSERT_EQ(dialog.paperList()->count(), 13);
    EXPECT_EQ(dialog.paperList()->itemText(10), QString("ハガキ"));
    EXPECT_EQ(dialog.paperList()->currentText(), QString("A1"));
    EXPECT_TRUE(dialog.portraitButton()->isChecked());
    EXPECT_FALSE(dialog.landscapeButton()->isChecked());
    EXPECT_TRUE(dialog.okButton()->isDefault());
    // B4 landscape.
    emit dialog.paperList()->activated(8);
    dialog.landscapeButton()->click();
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.form().paperCode, 1);
}

TEST(PageSetDialog, UserEntryAsksForTheSizeAndARefusedOkStaysOpen)
{
    kov::platform::ScriptedQuestions questions;
    int asked = 0;
    std::pair<int, int> answer{0, 300};
    PageSetDialog dialog(paper(6, 0, 0), questions, nullptr, [&](int& w, int& h) {
        ++asked;
        w = answer.first;
        h = answer.second;
        return true;
    });
    emit dialog.paperList()->activated(kov::io::kUserPaperEntry);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(dialog.paperList()->currentIndex(), kov::io::kUserPaperEntry);
    // A size of 0 was not taken and the old one has none: OK is refused with a message.
    questions.acknowledge(kov::io::printtext::kUserPaperRefused);
    dialog.show();
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.form().paperCode, 6);
    // Choosing the entry again asks again; a usable size is taken and OK closes.
    answer = {500, 300};
    emit dialog.paperList()->activated(kov::io::kUserPaperEntry);
    EXPECT_EQ(asked, 2);
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.form().paperCode, 11);
    EXPECT_EQ(dialog.form().userWidth, 500);
    EXPECT_EQ(dialog.form().userHeight, 300);
}

TEST(PaperUserDialog, ShowsTheSizeAndKeepsASideOfNoExtent)
{
    PaperUserDialog dialog(297, 210);
    EXPECT_EQ(dialog.windowTitle(), QString("用紙サイズのユーザー設定"));
    EXPECT_EQ(dialog.widthEdit()->text(), QString("297"));
    EXPECT_EQ(dialog.heightEdit()->text(), QString("210"));
    dialog.widthEdit()->setText("-40");
    dialog.heightEdit()->setText("450");
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.form().width, 297);
    EXPECT_EQ(dialog.form().height, 450);
}

TEST(PrintmoveDialog, DirectionsAndSizesBecomeSignedOffsets)
{
    PrintmoveDialog dialog(-5, 12);
    EXPECT_EQ(dialog.windowTitle(), QString("印刷位置調整"));
    EXPECT_TRUE(dialog.leftButton()->isChecked());
    EXPECT_TRUE(dialog.downButton()->isChecked());
    EXPECT_EQ(dialog.xEdit()->text(), QString("5"));
    EXPECT_EQ(dialog.yEdit()->text(), QString("12"));
    dialog.rightButton()->click();
    dialog.upButton()->click();
    dialog.xEdit()->setText("8");
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.form().moveX, 8);
    EXPECT_EQ(dialog.form().moveY, -12);
}
