// The pages of the settings sheet as forms: what each shows from the stored settings and what its
// OK writes, with the worked values and the cases that catch faults.

#include "dialogs/CheckSettingsPages.h"
#include "dialogs/GeneralSettingsPage.h"
#include "dialogs/GridSettingsPage.h"
#include "dialogs/QuotationPage.h"
#include "dialogs/RoomListPage.h"
#include "model/PictureFiles.h"
#include "platform/Cp932.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace kov::dialogs;
using kov::platform::Answer;
using kov::test::readText;
using kov::test::SettingsRig;
using kov::test::writeText;

std::string cp932(const std::string& s) { return kov::platform::toCp932(s).bytes; }

int rowOf(const CheckPageForm& f, std::string_view key)
{
    for (std::size_t i = 0; i < f.rows().size(); ++i)
        if (f.rows()[i].key == key) return static_cast<int>(i);
    return -1;
}

// -- 動作設定 ---------------------------------------------------------------------------------------

TEST(OperationPage, ListsShowTheStoredValuesByIntegerDivisionAndOkWritesWhatIsChosen)
{
    struct Case {
        const char* name;
        int undo, move;
        int undoShown, moveShown;  // entries, -1 none
        int undoAfter, moveAfter;  // stored after OK
    };
    const Case cases[] = {
        {"defaults", 20, 2, 3, 1, 20, 2},
        {"22 shows 20", 22, 2, 3, 1, 20, 2},
        {"3 shows nothing and stays", 3, 2, -1, 1, 3, 2},
        {"threshold 12 shows nothing, OK writes 0", 20, 12, 3, -1, 20, 0},
        {"threshold 3 shows 2", 20, 3, 3, 1, 20, 2},
    };
    for (const Case& c : cases) {
        SettingsRig rig;
        rig.cache["app_undonum"] = c.undo;
        rig.cache["app_mousemovelisp"] = c.move;
        OperationPageForm page(rig.services);
        page.OnInitDialog();
        EXPECT_EQ(page.undoChoice, c.undoShown) << c.name;
        EXPECT_EQ(page.moveChoice, c.moveShown) << c.name;
        page.OnOK();
        EXPECT_EQ(rig.cache["app_undonum"], c.undoAfter) << c.name;
        EXPECT_EQ(rig.cache["app_mousemovelisp"], c.moveAfter) << c.name;
        EXPECT_EQ(rig.utility("app_mousemovelisp"), c.moveAfter) << c.name;
    }
}

TEST(OperationPage, BoxesGoToTheCacheOrTheKeyAsEachIsKept)
{
    SettingsRig rig;
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "toolbuttonsize", 7); // no entry: nothing chosen, nothing written
    OperationPageForm page(rig.services);
    page.OnInitDialog();
    ASSERT_EQ(page.rows().size(), 17u);
    EXPECT_EQ(page.toolbarChoice, -1);
    EXPECT_EQ(page.checked[static_cast<std::size_t>(rowOf(page, "app_backup"))], 1);       // default on
    EXPECT_EQ(page.checked[static_cast<std::size_t>(rowOf(page, "app_autopita"))], 0);     // the cache says 0
    page.checked[static_cast<std::size_t>(rowOf(page, "app_autopita"))] = 1;
    page.checked[static_cast<std::size_t>(rowOf(page, "app_sunpotyoku"))] = 1;
    page.OnOK();
    EXPECT_EQ(rig.cacheWrites.at("app_autopita"), 1);
    EXPECT_EQ(rig.utility("app_autopita"), 1);
    EXPECT_EQ(rig.cacheWrites.count("app_sunpotyoku"), 0u);
    EXPECT_EQ(rig.utility("app_sunpotyoku"), 1);
    EXPECT_EQ(rig.plotMenu("app_zukeipropview"), 0);
    EXPECT_EQ(rig.utility("app_savegazouold"), 0);
    EXPECT_EQ(rig.utility("toolbuttonsize"), 7);
    page.toolbarChoice = 2;
    page.OnOK();
    EXPECT_EQ(rig.utility("toolbuttonsize"), 2);
}

// -- 表示設定 ---------------------------------------------------------------------------------------

TEST(DisplayPage, SixteenBoxesShownFromTheCacheOrTheKey)
{
    SettingsRig rig;
    rig.cache["app_printrealmode"] = 1;                                 // the key decides what is shown
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "app_printrealmode", 0);
    rig.profile.WriteProfileInt("KOV_T_PlotMenu", "app_modeview", 0);
    DisplayPageForm page(rig.services);
    page.OnInitDialog();
    ASSERT_EQ(page.rows().size(), 16u);
    EXPECT_EQ(page.checked[static_cast<std::size_t>(rowOf(page, "app_printrealmode"))], 0);
    EXPECT_EQ(page.checked[static_cast<std::size_t>(rowOf(page, "app_modeview"))], 0);
    EXPECT_EQ(page.checked[static_cast<std::size_t>(rowOf(page, "tateg_katabiki_wallkuro"))], 1);
    page.checked[static_cast<std::size_t>(rowOf(page, "app_modeview"))] = 1;
    page.OnOK();
    EXPECT_EQ(rig.plotMenu("app_modeview"), 1);
    EXPECT_EQ(rig.cacheWrites.at("app_printrealmode"), 0);
    EXPECT_EQ(rig.plotMenu("app_sirokuro_roomhachdel"), 0);
}

// -- グリッド ---------------------------------------------------------------------------------------

TEST(GridPage, ThickLinesMarksAndColours)
{
    struct Case {
        const char* name;
        int hutosa;           // stored app_grid_hutosa, -1 unset
        int markType;
        bool thickShown;
        int markShown;
        int hutosaAfter;
        int markTypeAfter;
    };
    const Case cases[] = {
        {"unset", -1, 0, false, 0, 1, 0},
        {"0 shows checked, writes 2", 0, 1, true, 1, 2, 1},
        {"2 shows checked", 2, 0, true, 0, 2, 0},
        {"mark type 2 checks neither, writes 1", 1, 2, false, -1, 1, 1},
    };
    for (const Case& c : cases) {
        SettingsRig rig;
        if (c.hutosa >= 0) rig.profile.WriteProfileInt("KOV_T_PlotMenu", "app_grid_hutosa", c.hutosa);
        GridPageForm page(rig.services);
        page.grid.GridMemoriType = c.markType;
        page.OnInitDialog();
        EXPECT_EQ(page.thick != 0, c.thickShown) << c.name;
        EXPECT_EQ(page.marksType, c.markShown) << c.name;
        page.OnOK();
        EXPECT_EQ(rig.plotMenu("app_grid_hutosa"), c.hutosaAfter) << c.name;
        EXPECT_EQ(page.grid.GridMemoriType, c.markTypeAfter) << c.name;
    }
    SettingsRig rig;
    GridPageForm page(rig.services);
    page.OnInitDialog();
    // Each button opens on its own colour and writes it; the standard colours are the built-in ones.
    rig.questions.pickColor(0x123456).pickColor(std::nullopt).pickColor(0x00FF00);
    EXPECT_TRUE(page.ChooseColour(2));
    EXPECT_FALSE(page.ChooseColour(3));
    EXPECT_TRUE(page.ChooseColour(5));
    EXPECT_EQ(rig.questions.asked()[0].initialColor, CGrid().color[2]);
    EXPECT_EQ(rig.questions.asked()[2].initialColor, 0u);
    EXPECT_EQ(page.grid.color[2], 0x123456u);
    EXPECT_EQ(page.grid.colorp, 0x00FF00u);
    page.UseStandardColours();
    EXPECT_EQ(page.grid.color, CGrid().color);
    EXPECT_EQ(page.grid.colorp, 0u);
    EXPECT_EQ(page.grid.color[0], kov::platform::rgbColor(128, 255, 255));
}

// -- 全般 -------------------------------------------------------------------------------------------

TEST(GeneralPage, PictureOutputValuesAreClampedAsOneRuleSays)
{
    struct Case {
        const char* quality;
        const char* width;
        int qualityAfter;
        int widthAfter;
    };
    const Case cases[] = {
        {"0", "60000", 100, 20000},
        {"101", "0", 100, 0},
        {"", "30000", 100, 20000},   // above the limit the export can hold, whatever the old fallback
        {"75", "20000", 75, 20000},
        {"1", "800", 1, 800},
    };
    for (const Case& c : cases) {
        SettingsRig rig;
        GeneralPageForm page(rig.services);
        page.OnInitDialog();
        page.jpegQuality = c.quality;
        page.sizeWidth = c.width;
        page.OnOK();
        EXPECT_EQ(rig.utility("gazou_jpeg_atu"), c.qualityAfter) << c.quality;
        EXPECT_EQ(rig.plotMenu("gazou_size_w"), c.widthAfter) << c.width;
    }
}

TEST(GeneralPage, WallsFormatFileAndTheEnablingOfTwoButtons)
{
    SettingsRig rig;
    rig.profile.WriteProfileString("KOV_T_PlotMenu", "config_formatpath", "/old/template.kvr");
    rig.profile.WriteProfileInt("KOV_T_PlotMenu", "gazou_size", 1);
    GeneralPageForm page(rig.services);
    page.plot.PlotWallBlack = 2;
    page.OnInitDialog();
    EXPECT_EQ(page.wallMode, GeneralPageForm::WallColoured);
    EXPECT_FALSE(page.doubleSizeEnabled());
    EXPECT_FALSE(page.autoDetailsEnabled());
    // "参照..." fills the path; without "使用" nothing is written to the path key.
    rig.questions.pickOpenFile(std::filesystem::path("/new/template.kvr"));
    EXPECT_TRUE(page.BrowseFormatFile());
    EXPECT_EQ(page.formatPath, "/new/template.kvr");
    page.OnOK();
    EXPECT_EQ(page.plot.PlotWallBlack, 3);
    EXPECT_EQ(rig.plotMenu("config_format"), 0);
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_PlotMenu", "config_formatpath"), "/old/template.kvr");
    // "使用" with an empty path: off, the old path kept; with a path: both written.
    page.formatUse = 1;
    page.formatPath.clear();
    page.OnOK();
    EXPECT_EQ(rig.plotMenu("config_format"), 0);
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_PlotMenu", "config_formatpath"), "/old/template.kvr");
    page.formatPath = "/new/template.kvr";
    page.OnOK();
    EXPECT_EQ(rig.plotMenu("config_format"), 1);
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_PlotMenu", "config_formatpath"), "/new/template.kvr");
    // Move steps and sizes: empty reads 0.
    page.moveX = "";
    page.moveY = "250";
    page.OnOK();
    EXPECT_EQ(page.plot.PlotMoveX, 0);
    EXPECT_EQ(page.plot.PlotMoveY, 250);
}

TEST(GeneralPage, LineEndSizesGoToTheSettingsAtOnceAndTheBackgroundToo)
{
    SettingsRig rig;
    GeneralPageForm page(rig.services);
    page.OnInitDialog();
    const auto stored = page.StoredLineEndSizes();
    EXPECT_DOUBLE_EQ(stored[2], 1.66);
    page.TakeLineEndSizes({0.6, 1.0, 2.0, 2.5, 4.0});
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_PlotMenu", "keij_pich_1"), "0.60");
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_PlotMenu", "keij_pich_3"), "2.00");
    EXPECT_DOUBLE_EQ(page.plot.keij_pich[2], 2.0);
    EXPECT_EQ(page.StoredBackgroundColour(), 5592405u);
    page.TakeBackground(1, 0x00FF00);
    EXPECT_EQ(rig.utility("app_haikei"), 1);
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_UTILITY", "app_haikei_color"), "65280");
}

TEST(GeneralPage, ResetAskedFirst)
{
    SettingsRig rig;
    GeneralPageForm page(rig.services);
    page.OnInitDialog();
    rig.questions.reply(Answer::Cancel, "全設定を初期化").reply(Answer::Ok, "全設定を初期化");
    EXPECT_FALSE(page.ConfirmReset());
    EXPECT_EQ(page.resetRequest, 0);
    EXPECT_TRUE(page.ConfirmReset());
    EXPECT_EQ(page.resetRequest, 1);
}

TEST(GeneralPage, LeftoverTemporaryPicturesGoButTheDrawingsOwnStay)
{
    SettingsRig rig;
    const auto folder = rig.services.folders.tempPictures;
    for (const char* name : {"temp7.bmp", "temp8.png", "temp12.jpg", "TEMP1.BMP", "temp3.bmp.bak", "tempo.gif",
                             "temp9.gif", "notes.txt"})
        writeText(folder / name, "x");
    std::filesystem::create_directories(folder / "temp5.bmp"); // a folder is no picture
    rig.services.tempPicturesInUse = {12, 9};                  // the open drawing's pictures
    GeneralPageForm page(rig.services);
    page.OnInitDialog();
    rig.questions.reply(Answer::Cancel, "一時ファイルを全て削除");
    page.PurgeTempPictures();
    EXPECT_TRUE(std::filesystem::exists(folder / "temp7.bmp"));
    rig.questions.reply(Answer::Ok, "一時ファイルを全て削除").acknowledge("一時画像ファイルを削除しました");
    page.PurgeTempPictures();
    for (const char* gone : {"temp7.bmp", "temp8.png"}) EXPECT_FALSE(std::filesystem::exists(folder / gone)) << gone;
    for (const char* kept : {"temp12.jpg", "temp9.gif", "TEMP1.BMP", "temp3.bmp.bak", "tempo.gif", "notes.txt", "temp5.bmp"})
        EXPECT_TRUE(std::filesystem::exists(folder / kept)) << kept;
    rig.questions.reply(Answer::Ok).acknowledge("一時画像ファイルはありませんでした");
    page.PurgeTempPictures();
}

// -- 引用文の編集 ------------------------------------------------------------------------------------

TEST(QuotationPage, ReadEditAndWriteTheList)
{
    SettingsRig rig;
    const std::string original = readText(kov::test::testData("lists/kovtex.txt"));
    writeText(rig.quotationFile(), original);
    QuotationPageForm page(rig.services);
    page.OnInitDialog();
    ASSERT_EQ(page.list.size(), 5u);
    EXPECT_EQ(page.selected, 0);
    page.OnOK();
    EXPECT_EQ(readText(rig.quotationFile()), original);
    // Insert with the first line selected puts the new quotation at the top.
    page.edit = "玄関";
    EXPECT_TRUE(page.Insert());
    EXPECT_EQ(page.list.front(), "玄関");
    EXPECT_EQ(page.list[1], "外壁：窯業系サイディング　t=16");
    page.edit.clear();
    EXPECT_FALSE(page.Add());
    page.edit = "末尾";
    EXPECT_TRUE(page.Add());
    EXPECT_EQ(page.list.back(), "末尾");
    page.selected = 0;
    EXPECT_TRUE(page.Delete());
    EXPECT_FALSE(page.Delete()); // no line selected any more
    EXPECT_FALSE(page.Insert());
    page.edit = "🏠";
    page.selected = 0;
    rig.questions.acknowledge("保存できません");
    EXPECT_FALSE(page.Add());
    page.OnOK();
    EXPECT_EQ(readText(rig.quotationFile()), original + cp932("末尾") + "\r\n");
    page.list.clear();
    page.OnOK();
    EXPECT_EQ(readText(rig.quotationFile()), "");
}

// -- 部屋情報の編集 ---------------------------------------------------------------------------------

TEST(RoomPage, ShowsRoomsAsTheFileHoldsThem)
{
    SettingsRig rig;
    writeText(rig.roomFile(), cp932("和室,0,0,1,0,300,\r\n浴室,1,16777152,0,0,4,3.000000,ignored,\r\n物入,0,0,1,0,77,"));
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "room_heibei", 1);
    RoomPageForm page(rig.services);
    page.buffer.m_Font.lfFaceName = "ＭＳ 明朝";
    page.OnInitDialog();
    EXPECT_EQ(page.buffer.m_Font.lfFaceName, "ＭＳ 明朝"); // the sheet's copy of the font is kept
    EXPECT_EQ(page.areaInSquareMetres, 1);
    EXPECT_EQ(page.mildGradient, 1);
    ASSERT_EQ(page.rooms.size(), 3u);
    EXPECT_EQ(page.selected, 0);
    EXPECT_EQ(page.rooms[0].spacing, "4.550000");
    EXPECT_EQ(page.spacingText, "4.550");
    EXPECT_EQ(page.buffer.Room_HachType, 300);
    EXPECT_EQ(page.patternChoice, 8);
    EXPECT_EQ(page.buffer.Room_bRoomColor, 0);
    page.Select(1);
    EXPECT_EQ(page.patternChoice, 0);      // no hatch: the first entry, "右斜め上縞"
    EXPECT_EQ(page.rooms[1].spacing, "3.000000");
    page.HatchChecked(true);
    EXPECT_EQ(page.buffer.Room_HachType, 3);
    page.PatternChosen(1);
    EXPECT_EQ(page.buffer.Room_HachType, 4);
    page.Select(2);                        // a type outside the list leaves the list's choice
    EXPECT_EQ(page.patternChoice, 1);
}

TEST(RoomPage, AddInsertChangeDeleteAndNamesTheFileCannotHold)
{
    SettingsRig rig;
    writeText(rig.roomFile(), cp932("洋室,1,12632256,0,0,0,4.550000,\r\nＬＤＫ,1,255,0,0,0,4.550000,\r\n"));
    RoomPageForm page(rig.services);
    page.OnInitDialog();
    page.Select(1);
    // Adding with "中を塗る" off stores fill 0 whatever colour the buffer holds.
    page.FillChecked(false);
    page.nameEdit = "書斎";
    ASSERT_TRUE(page.Add());
    EXPECT_EQ(page.rooms.back().fill, 0);
    EXPECT_EQ(page.rooms.back().fillColour, 255u);
    EXPECT_EQ(page.selected, 1);
    // Insert before the selected room; change keeps the room at its index.
    page.nameEdit = "納戸";
    ASSERT_TRUE(page.Insert());
    EXPECT_EQ(page.rooms[1].name, "納戸");
    EXPECT_EQ(page.rooms[2].name, "ＬＤＫ");
    page.Select(2);
    page.nameEdit = "リビング";
    ASSERT_TRUE(page.Change());
    EXPECT_EQ(page.rooms[2].name, "リビング");
    EXPECT_EQ(page.rooms.size(), 4u);
    EXPECT_EQ(page.selected, 2);
    // Names that would shift or cut the file's fields are refused, with a message.
    struct Refused {
        std::string name;
        const char* message;
    };
    const Refused refused[] = {{"", "部屋名が抜けています"},
                               {"和室,6帖", "カンマ"},
                               {std::string(300, 'a'), "長すぎます"},
                               {"部屋🏠", "保存できない"}};
    for (const Refused& r : refused) {
        page.nameEdit = r.name;
        rig.questions.acknowledge(r.message);
        EXPECT_FALSE(page.Add()) << r.name;
        EXPECT_EQ(page.rooms.size(), 4u);
    }
    page.nameEdit = "x";
    ASSERT_TRUE(page.Delete());
    EXPECT_EQ(page.selected, -1);
    // The buffer and the controls keep what they showed: the preview's name is the room last shown.
    EXPECT_EQ(page.nameEdit, "x");
    EXPECT_EQ(page.buffer.Room_Name, "ＬＤＫ");
    EXPECT_FALSE(page.Delete());
    EXPECT_FALSE(page.Change());
    EXPECT_FALSE(page.Insert());
    page.OnOK();
    EXPECT_EQ(readText(rig.roomFile()),
              cp932("洋室,1,12632256,0,0,0,4.550000,\r\n納戸,0,255,0,0,0,4.550000,\r\n書斎,0,255,0,0,0,4.550000,\r\n"));
    EXPECT_EQ(rig.utility("room_grad_mild"), 1);
}

TEST(RoomPage, PaletteHitsOnlyInsideACellAndSpacingWithinItsRange)
{
    // A palette of 13 × 16 + 1 by 2 × 16 + 1 pixels: cells of 16 by 16.
    struct Case {
        int x, y;
        int entry;
    };
    const Case cases[] = {
        {1, 1, 0}, {15, 15, 0}, {16, 5, -1}, {17, 5, 1}, {5, 16, -1}, {5, 17, 13},
        {207, 31, 25}, {208, 5, -1}, {5, 32, -1}, {-1, 5, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(RoomPageForm::PaletteEntryAt(c.x, c.y, 209, 33), c.entry) << c.x << "," << c.y;
    EXPECT_EQ(RoomPageForm::PaletteEntryAt(5, 5, 12, 33), -1); // cells narrower than a pixel
    SettingsRig rig;
    RoomPageForm page(rig.services);
    page.OnInitDialog();
    EXPECT_TRUE(page.PaletteClick(false, 17, 5, 209, 33));
    EXPECT_EQ(page.buffer.Room_RoomColor, kov::platform::rgbColor(255, 0, 0));
    EXPECT_EQ(page.buffer.Room_bRoomColor, 0); // the flags stay
    EXPECT_TRUE(page.PaletteClick(true, 200, 20, 209, 33));
    EXPECT_EQ(page.buffer.Room_HachColor, kov::platform::rgbColor(0, 192, 192));
    EXPECT_FALSE(page.PaletteClick(true, 16, 20, 209, 33));
    EXPECT_EQ(page.buffer.Room_HachColor, kov::platform::rgbColor(0, 192, 192));
    for (const char* ignored : {"0.5", "1000.5", "abc", "nan", "inf", ""}) {
        page.SpacingEdited(ignored);
        EXPECT_DOUBLE_EQ(page.buffer.Room_HachKankaku, 4.55) << ignored;
    }
    page.SpacingEdited("12");
    EXPECT_DOUBLE_EQ(page.buffer.Room_HachKankaku, 12.0);
    page.SpacingEdited("1000");
    EXPECT_DOUBLE_EQ(page.buffer.Room_HachKankaku, 1000.0);
}

TEST(RoomPage, TheRoomFontGoesThroughItsDialogOnACopy)
{
    SettingsRig rig;
    RoomPageForm page(rig.services);
    EXPECT_FALSE(page.canChangeFont());
    int opened = 0;
    rig.services.editRoomFont = [&opened](CFontMenu& font) {
        ++opened;
        font.lfFaceName = "ＭＳ Ｐ明朝";
        return opened == 1;
    };
    page.OnInitDialog();
    EXPECT_TRUE(page.ChangeFont());
    EXPECT_EQ(page.buffer.m_Font.lfFaceName, "ＭＳ Ｐ明朝");
    page.buffer.m_Font.lfFaceName = "ＭＳ ゴシック";
    EXPECT_FALSE(page.ChangeFont()); // cancelled: the copy the dialog changed is dropped
    EXPECT_EQ(page.buffer.m_Font.lfFaceName, "ＭＳ ゴシック");
}

} // namespace
