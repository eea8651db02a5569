#include "dialogs/PictureOutputDialogs.h"

#include "platform/Profile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace kov::dialogs;

TEST(PictureOutputPanel, EditsWriteAtOnceWithinTheirRanges)
{
    kov::platform::MemoryProfile p;
    CGazouOutSizeDg panel(p);
    panel.LoadSettings();
    EXPECT_EQ(panel.m_quality->text().toStdString(), "100");
    EXPECT_FALSE(panel.m_width->isEnabled());   // no size set yet
    panel.m_quality->setText("");
    emit panel.m_quality->textEdited("");
    EXPECT_EQ(p.GetProfileInt("KOV_T_UTILITY", "gazou_jpeg_atu", -1), 0);
    emit panel.m_quality->textEdited("15");
    emit panel.m_quality->textEdited("150");
    EXPECT_EQ(p.GetProfileInt("KOV_T_UTILITY", "gazou_jpeg_atu", -1), 15);
    panel.m_size->setChecked(true);
    EXPECT_EQ(p.GetProfileInt("KOV_T_PlotMenu", "gazou_size", -1), 1);
    EXPECT_TRUE(panel.m_width->isEnabled());
    // The settings page's limit: no side above 20000 pixels is stored.
    emit panel.m_width->textEdited("20000");
    emit panel.m_width->textEdited("20001");
    EXPECT_EQ(p.GetProfileInt("KOV_T_PlotMenu", "gazou_size_w", -1), 20000);
    // A purpose disables the manual controls; back to manual restores them from the stored size flag.
    panel.m_purpose[2]->click();
    EXPECT_EQ(p.GetProfileInt("KOV_T_PlotMenu", "gazou_out_moku", -1), 2);
    EXPECT_FALSE(panel.m_quality->isEnabled());
    EXPECT_FALSE(panel.m_size->isEnabled());
    panel.m_purpose[0]->click();
    EXPECT_TRUE(panel.m_quality->isEnabled());
    EXPECT_TRUE(panel.m_width->isEnabled());
}

TEST(AutoPictureSaveDialog, OpensAndClosesWithTheStoredValues)
{
    kov::platform::MemoryProfile p;
    p.WriteProfileInt("KOV_T_PlotMenu", "gazououtput_auto_yohaku", 25);
    p.WriteProfileInt("KOV_T_UTILITY", "gazououtput_type", 3);
    AutoPictureSaveForm form;
    form.Load(p, "/home/me/Documents");
    EXPECT_EQ(form.folder, "/home/me/Documents");
    CGazouAutoSaveSetDg dialog(form, [](const std::filesystem::path&) { return std::optional<std::filesystem::path>(); });
    EXPECT_EQ(dialog.m_margin->currentText().toStdString(), "20");
    EXPECT_TRUE(dialog.m_formats[3]->isChecked());   // png
    EXPECT_TRUE(dialog.m_letter->isChecked());
    dialog.m_ownFolder->setChecked(true);
    dialog.m_folder->clear();                       // an empty folder keeps the previous one
    dialog.m_letter->setChecked(false);
    dialog.m_formats[4]->setChecked(true);          // emf
    dialog.accept();
    const AutoPictureSaveForm& v = dialog.values();
    EXPECT_EQ(v.margin, 20);
    EXPECT_EQ(v.ownFolder, 1);
    EXPECT_EQ(v.folder, "/home/me/Documents");
    EXPECT_EQ(v.noLetter, 1);
    EXPECT_EQ(v.format, 2);
    v.Save(p);
    EXPECT_EQ(p.GetProfileInt("KOV_T_PlotMenu", "gazououtput_auto_filenamefree", -1), 1);
}
