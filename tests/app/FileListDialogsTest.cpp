#include "DocumentTestSupport.h"

#include "app/FileListDialogs.h"

#include <QListWidget>
#include <gtest/gtest.h>

#include <chrono>

namespace fs = std::filesystem;
using kov::app::CBackUpListDg;
using kov::app::CFileListDg;
using kov::app::FileListForm;

TEST(FileListDialogs, BackupDialogListsBackupsAndReturnsTheChosenNumber)
{
    kov::test::DocumentRig rig;
    fs::create_directories(rig.doc->BackupFolder());
    for (int n : {0, 3}) kov::test::writeBytes(kov::app::BackupFilePath(rig.profile, rig.folders, n), {1});

    CBackUpListDg dialog(rig.profile, rig.folders);
    ASSERT_EQ(dialog.list()->count(), 2);
    EXPECT_EQ(dialog.list()->currentRow(), 0);
    dialog.list()->setCurrentRow(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenNumber(), 3);

    // Nothing selected: closes with OK, nothing chosen.
    CBackUpListDg none(rig.profile, rig.folders);
    none.list()->clearSelection();
    none.accept();
    EXPECT_EQ(none.result(), QDialog::Accepted);
    EXPECT_EQ(none.chosenNumber(), -1);
}

TEST(FileListDialogs, RecentDialogStaysOpenUntilALineIsChosen)
{
    kov::test::DocumentRig rig;
    rig.profile.WriteProfileString("KOV_T_RecentList", "Recent1", "/home/u/plan.kvr");
    rig.profile.WriteProfileString("KOV_T_RecentList", "Recent2", "/home/u/old.kvr");

    CFileListDg dialog(FileListForm::RecentFiles, "最近使用したファイル", {}, rig.profile, rig.questions);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "最近使用したファイル");
    ASSERT_EQ(dialog.list()->count(), 2);
    EXPECT_EQ(dialog.list()->item(1)->text().toStdString(), "/home/u/old.kvr");
    dialog.list()->clearSelection();
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.list()->setCurrentRow(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenPath(), fs::path("/home/u/old.kvr"));
}
