// The dialogs the general settings page opens, as forms: line widths, dash pitches, line-end sizes,
// the dimension style, the work-screen colour, the folder settings and the data transfer.

#include "dialogs/DimensionStyleDialog.h"
#include "dialogs/FolderDialogs.h"
#include "dialogs/LineStyleDialogs.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace kov::dialogs;
using kov::platform::Answer;
using kov::test::readText;
using kov::test::SettingsRig;
using kov::test::writeText;
namespace fs = std::filesystem;

TEST(LineWidths, StoredWidthsWithoutAnItemStayAsTheyWere)
{
    LineWidthForm f;
    std::array<int, 10> screen{1, 2, 2, 2, 2, 3, 3, 3, 3, 10};
    std::array<int, 10> printer{3, 6, 9, 10, 12, 14, 16, 18, 19, 20};
    screen[1] = 0;    // outside 1-10
    screen[2] = 11;
    printer[3] = 21;  // outside 1-20
    f.Load(screen, printer);
    EXPECT_EQ(f.screenChoice[1], -1);
    EXPECT_EQ(f.screenChoice[2], -1);
    EXPECT_EQ(f.printerChoice[3], -1);
    EXPECT_EQ(f.screenChoice[9], 9);
    EXPECT_EQ(f.printerChoice[9], 19);   // width type 10 prints at 20 pixels
    f.screenChoice[0] = 4;
    f.Accept();
    EXPECT_EQ(f.screen[0], 5);
    EXPECT_EQ(f.screen[1], 0);
    EXPECT_EQ(f.screen[2], 11);
    EXPECT_EQ(f.printer[3], 21);
    EXPECT_EQ(f.printer[9], 20);
}

TEST(DashPitches, BoxesResetAndTheUnboxedGap)
{
    LinePichTable table;
    table[7] = 9.5f;
    table[0] = 5.0f;
    DashPitchForm f;
    f.Load(table);
    EXPECT_EQ(f.boxes[0], "5.000");
    EXPECT_EQ(f.boxes[7], "");
    f.Reset();
    EXPECT_EQ(f.boxes[0], "3.75");
    EXPECT_EQ(f.table[0], 5.0f);         // nothing stored until OK
    f.boxes[1] = "2";
    f.boxes[2] = "abc";
    f.boxes[3] = "inf";
    f.Accept();
    EXPECT_EQ(f.table[0], 3.75f);
    EXPECT_EQ(f.table[1], 2.0f);
    EXPECT_EQ(f.table[2], 0.0f);
    EXPECT_EQ(f.table[3], 0.0f);         // no infinity enters the table
    EXPECT_EQ(f.table[7], 9.5f);
    f.Load(f.table);
    EXPECT_EQ(f.boxes[1], "2.000");
}

TEST(LineEndSizes, OnlySizesAboveZeroAndBelowAThousand)
{
    LineEndSizeForm f;
    f.Load({0.6, 1.0, 1.66, 2.5, 4.0});
    EXPECT_EQ(f.boxes[0], "0.60");
    f.boxes = {"0", "-3", "1000", "abc", "999.99"};
    f.Accept();
    EXPECT_DOUBLE_EQ(f.sizes[0], 0.6);
    EXPECT_DOUBLE_EQ(f.sizes[1], 1.0);
    EXPECT_DOUBLE_EQ(f.sizes[2], 1.66);
    EXPECT_DOUBLE_EQ(f.sizes[3], 2.5);
    EXPECT_DOUBLE_EQ(f.sizes[4], 999.99);
    f.Reset();
    EXPECT_EQ(f.boxes[2], "1.66");
    kov::platform::MemoryProfile p;
    LineEndSizeForm::SaveProfile(p, f.sizes);
    EXPECT_EQ(p.GetProfileString("KOV_T_PlotMenu", "keij_pich_5"), "999.99");
    EXPECT_DOUBLE_EQ(LineEndSizeForm::FromProfile(p)[4], 999.99);
}

TEST(DimensionStyle, ListsChooseByPositionAndFallBack)
{
    DimensionStyle v;
    v.grouping = 3;
    v.mark = 1;         // one end only: no entry
    v.markSize = 7;
    v.font = "ＭＳ 明朝";
    v.valueMode = 0;
    DimensionStyleForm f;
    f.Load(v, {"ＭＳ ゴシック", "ＭＳ ゴシック", "ＭＳ 明朝"});
    EXPECT_EQ(f.fonts.size(), 2u);       // the repeated name once
    EXPECT_EQ(f.fontChoice, 1);
    EXPECT_EQ(f.groupingChoice, 3);
    EXPECT_EQ(f.markChoice, -1);
    EXPECT_EQ(f.markSizeChoice, -1);
    EXPECT_EQ(f.valueMode, 0);
    f.heightText = "";
    f.Accept();
    EXPECT_EQ(f.style.grouping, 3);
    EXPECT_EQ(f.style.mark, 0);
    EXPECT_EQ(f.style.markSize, 2);
    EXPECT_EQ(f.style.textHeight, 0);
    EXPECT_EQ(f.style.font, "ＭＳ 明朝");
    f.markChoice = 4;
    f.Accept();
    EXPECT_EQ(f.style.mark, 12);
    CPlotInfo plot;
    f.style.To(plot);
    EXPECT_EQ(DimensionStyle::From(plot, 0), f.style);
}

TEST(WorkScreenColour, TheChooserOpensOnTheColour)
{
    kov::platform::ScriptedQuestions q;
    q.pickColor(0x0000FF).pickColor(std::nullopt);
    WorkScreenColourForm f;
    f.colour = 5592405;
    EXPECT_TRUE(f.ChooseColour(q));
    EXPECT_EQ(q.asked()[0].initialColor, 5592405u);
    EXPECT_FALSE(f.ChooseColour(q));
    EXPECT_EQ(f.colour, 0x0000FFu);
}

TEST(FolderSettings, TheDefaultPlaceTheChooserAndOk)
{
    SettingsRig rig;
    const fs::path home = rig.services.folders.userData;
    FolderSettingsForm f;
    f.Load(rig.profile, home);
    EXPECT_EQ(f.folder, home.string());
    rig.profile.WriteProfileString("KOV_T_UTILITY", "path_set_forda", "");
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "path_back_flg", 5);
    f.Load(rig.profile, home);
    EXPECT_EQ(f.folder, home.string());
    EXPECT_EQ(f.on[3], 1);
    rig.questions.pickFolder(std::nullopt).pickFolder(fs::path("/srv/common"));
    f.Browse(rig.questions);
    EXPECT_EQ(f.folder, home.string());
    EXPECT_EQ(rig.questions.asked()[0].text, "部品を保管するフォルダを選択してください。");
    f.Browse(rig.questions);
    EXPECT_EQ(f.folder, "/srv/common");
    f.on[1] = 1;
    f.Accept(rig.profile);
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_UTILITY", "path_set_forda"), "/srv/common");
    EXPECT_EQ(rig.utility("path_inyou_flg"), 1);
    EXPECT_EQ(rig.utility("path_back_flg"), 1);
    EXPECT_EQ(rig.utility("path_assyuku_flg"), 0);
    // The lists follow their switch at once.
    EXPECT_EQ(rig.services.folders.quotationListFile(rig.services.switches()), fs::path("/srv/common/kovtex.txt"));
}

// A parts library of two levels with what does not belong to it.
void makeLibrary(const fs::path& root)
{
    for (const char* f : {"house/door.mgp", "house/bath/tub.mgp", "house/bath/deep/too.mgp", "house/CAPS.MGP",
                          "house/notes.txt", "loose.mgp", "garden/tree.mgp"})
        writeText(root / f, f);
}

std::vector<std::string> filesUnder(const fs::path& root)
{
    std::vector<std::string> out;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it)
        if (it->is_regular_file()) out.push_back(fs::relative(it->path(), root).generic_string());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(DataTransfer, TheLibraryTreeTwoLevelsDeepAndPartFilesOnly)
{
    kov::test::TempFolder temp;
    makeLibrary(temp.file("from"));
    TreeCopyResult r = CopyLibraryTree(temp.file("from"), temp.file("to"));
    EXPECT_TRUE(r.listed);
    EXPECT_EQ(r.copied, 3);
    EXPECT_EQ(r.failed, 0);
    EXPECT_EQ(filesUnder(temp.file("to")), (std::vector<std::string>{"garden/tree.mgp", "house/bath/tub.mgp", "house/door.mgp"}));
    // Again: the same files overwritten, nothing new.
    r = CopyLibraryTree(temp.file("from"), temp.file("to"));
    EXPECT_EQ(r.copied, 3);
    EXPECT_EQ(filesUnder(temp.file("to")).size(), 3u);
    // A file that cannot be written is counted; the others are still copied.
    fs::remove(temp.file("to/house/door.mgp"));
    fs::create_directories(temp.file("to/house/door.mgp"));
    fs::remove(temp.file("to/garden/tree.mgp"));
    r = CopyLibraryTree(temp.file("from"), temp.file("to"));
    EXPECT_EQ(r.failed, 1);
    EXPECT_EQ(r.copied, 2);
    EXPECT_TRUE(fs::exists(temp.file("to/garden/tree.mgp")));
    EXPECT_FALSE(CopyLibraryTree(temp.file("nowhere"), temp.file("to")).listed);
}

TEST(DataTransfer, ExportMakesTheFolderOnceAndSaysHowItWent)
{
    SettingsRig rig;
    writeText(rig.roomFile(), "rooms");
    writeText(rig.quotationFile(), "quotes");
    makeLibrary(rig.services.folders.parts);
    const fs::path place = rig.temp.file("usb");
    fs::create_directories(place);
    rig.questions.reply(Answer::Cancel, "kov6_conv");
    ExportTransferFolder(rig.services);
    EXPECT_FALSE(fs::exists(place / "kov6_conv"));
    rig.questions.reply(Answer::Ok).acknowledge("作成する場所").pickFolder(place).acknowledge("データコンバート完了しました。");
    ExportTransferFolder(rig.services);
    EXPECT_EQ(readText(place / "kov6_conv/kovroom.txt"), "rooms");
    EXPECT_EQ(readText(place / "kov6_conv/kovtex.txt"), "quotes");
    EXPECT_EQ(filesUnder(place / "kov6_conv/data").size(), 3u);
    // A second export to the same place touches nothing and says why.
    writeText(rig.roomFile(), "changed");
    rig.questions.reply(Answer::Ok).acknowledge().pickFolder(place).acknowledge("既にあります");
    ExportTransferFolder(rig.services);
    EXPECT_EQ(readText(place / "kov6_conv/kovroom.txt"), "rooms");
    // A cancelled chooser ends it.
    rig.questions.reply(Answer::Ok).acknowledge().pickFolder(std::nullopt);
    ExportTransferFolder(rig.services);
}

TEST(DataTransfer, ImportCopiesListsAndLibraryAndCountsFailures)
{
    SettingsRig rig;
    TransferImportForm f;
    rig.questions.acknowledge("ご指定ください");
    f.Start(rig.services);
    const fs::path from = rig.temp.file("old/kov6_conv");
    writeText(from / "kovroom.txt", "old rooms");
    makeLibrary(from / "data");
    rig.questions.pickFolder(from);
    f.Browse(rig.questions);
    EXPECT_EQ(f.folder, from.string());
    rig.questions.reply(Answer::Cancel, "コンバート用です");
    f.Start(rig.services);
    EXPECT_FALSE(fs::exists(rig.roomFile()));
    rig.questions.reply(Answer::Ok).acknowledge("データコンバート完了しました。");
    f.Start(rig.services);
    EXPECT_EQ(readText(rig.roomFile()), "old rooms");
    EXPECT_FALSE(fs::exists(rig.quotationFile()));  // the folder holds none
    EXPECT_TRUE(fs::exists(rig.services.folders.parts / "house/bath/tub.mgp"));
    // A part that cannot be written is said, with the count.
    fs::remove(rig.services.folders.parts / "garden/tree.mgp");
    fs::create_directories(rig.services.folders.parts / "garden/tree.mgp");
    rig.questions.reply(Answer::Ok).acknowledge("1個のファイルまたはフォルダをコピーできませんでした");
    f.Start(rig.services);
    // Without a library the lists still come, and the missing data is said.
    fs::remove_all(from / "data");
    rig.questions.reply(Answer::Ok).acknowledge("データが見当たりません。");
    f.Start(rig.services);
}

} // namespace
