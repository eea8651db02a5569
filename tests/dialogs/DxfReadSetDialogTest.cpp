#include "dialogs/DxfReadSetDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

using kov::dialogs::DxfReadSetDialog;

TEST(DxfReadSetDialog, ShowsTheFormAndHandsOnTheTickedBoxes)
{
    struct Case {
        const char* name;
        bool clickPaper, clickScale, ok;
        int keepPaper, keepScale;
    };
    const Case cases[] = {
        {"nothing ticked", false, false, true, 0, 0},
        {"paper kept", true, false, true, 1, 0},
        {"scale kept", false, true, true, 0, 1},
        {"cancelled", true, true, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DxfReadSetDialog dialog;
        EXPECT_EQ(dialog.windowTitle(), QString("DXF読み取り設定"));
        EXPECT_FALSE(dialog.keepPaperBox()->isChecked());
        EXPECT_FALSE(dialog.keepScaleBox()->isChecked());
        EXPECT_EQ(dialog.keepPaperBox()->text(), QString("用紙サイズを変更しない"));
        EXPECT_TRUE(dialog.okButton()->isDefault());
        if (c.clickPaper) dialog.keepPaperBox()->click();
        if (c.clickScale) dialog.keepScaleBox()->click();
        EXPECT_EQ(dialog.keepPaperBox()->isChecked(), c.clickPaper);
        if (c.ok) dialog.okButton()->click();
        else dialog.reject();
        EXPECT_EQ(dialog.result(), c.ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dialog.form().options.keepPaperSize, c.keepPaper);
        EXPECT_EQ(dialog.form().options.keepScale, c.keepScale);
    }
}
