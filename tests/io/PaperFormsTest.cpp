#include "io/PaperForms.h"

#include <gtest/gtest.h>

#include <optional>

using kov::io::PageSetForm;
using kov::io::PaperUserForm;
using kov::io::PrintmoveForm;

TEST(PageSetForm, OpensOnTheEntryAndOrientationOfThePaperCode)
{
    struct Case {
        int code;
        int entry;
        bool portrait;
    };
    const Case cases[] = {
        {4, 0, false},  {20, 0, true},  {9, 2, true},   {0, 3, false},  {6, 3, true},  {1, 8, false},
        {10, 8, true},  {8, 10, true},  {22, 10, false}, {24, 11, true}, {11, 12, false},
        // The card and codes outside the table show A4 landscape.
        {25, 3, false}, {26, 3, false}, {-1, 3, false},
    };
    for (const Case& c : cases) {
        PageSetForm form;
        form.paperCode = c.code;
        form.OnInitDialog();
        EXPECT_EQ(form.selection, c.entry) << c.code;
        EXPECT_EQ(form.portrait, c.portrait) << c.code;
    }
}

TEST(PageSetForm, OkStoresTheCodeOfTheEntryAndOrientation)
{
    // Every code the list offers comes back unchanged through the dialog.
    for (const auto& e : kov::io::kPaperEntries)
        for (int code : {e.landscape, e.portrait}) {
            PageSetForm form;
            form.paperCode = code;
            form.OnInitDialog();
            ASSERT_TRUE(form.OnOK());
            EXPECT_EQ(form.paperCode, code) << e.label;
        }
    PageSetForm form;
    form.paperCode = 25;
    form.OnInitDialog();
    form.OnSelChange(0, {});
    form.OnLandscape();
    ASSERT_TRUE(form.OnOK());
    EXPECT_EQ(form.paperCode, 4);  // A1 横
    form.OnPortrait();
    ASSERT_TRUE(form.OnOK());
    EXPECT_EQ(form.paperCode, 20);  // A1 縦
    // The card opens as A4 landscape and OK makes it that.
    form.paperCode = 25;
    form.OnInitDialog();
    ASSERT_TRUE(form.OnOK());
    EXPECT_EQ(form.paperCode, 0);
    // Nothing selected: the code stays.
    form.paperCode = 17;
    form.selection = -1;
    ASSERT_TRUE(form.OnOK());
    EXPECT_EQ(form.paperCode, 17);
}

TEST(PageSetForm, UserSizeTakenOnlyWhenUsable)
{
    struct Case {
        const char* name;
        std::optional<std::pair<int, int>> answer;  // nullopt: the user dialog cancelled
        int width, height;
    };
    const Case cases[] = {
        {"taken", std::pair{500, 300}, 500, 300},
        {"largest", std::pair{29999, 1}, 29999, 1},
        {"zero width", std::pair{0, 300}, 400, 200},
        {"zero height", std::pair{500, 0}, 400, 200},
        {"30000", std::pair{30000, 300}, 400, 200},
        {"negative", std::pair{-500, 300}, 400, 200},
        {"cancelled", std::nullopt, 400, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageSetForm form;
        form.paperCode = 6;
        form.userWidth = 400;
        form.userHeight = 200;
        form.OnInitDialog();
        int askedWidth = 0;
        form.OnSelChange(kov::io::kUserPaperEntry, [&](int& w, int& h) {
            askedWidth = w;
            if (!c.answer) return false;
            w = c.answer->first;
            h = c.answer->second;
            return true;
        });
        EXPECT_EQ(askedWidth, 400);  // the user dialog starts from the current size
        EXPECT_EQ(form.selection, kov::io::kUserPaperEntry);
        ASSERT_TRUE(form.OnOK());
        EXPECT_EQ(form.paperCode, 11);
        EXPECT_EQ(form.userWidth, c.width);
        EXPECT_EQ(form.userHeight, c.height);
    }
}

TEST(PageSetForm, UserPaperOfNoExtentIsRefused)
{
    // A document whose user size is 0 or less (an old file): choosing the user paper without
    // giving a size must not store a paper the page cannot be laid out on.
    for (auto [w, h] : {std::pair{0, 210}, std::pair{297, -3}, std::pair{30000, 210}}) {
        PageSetForm form;
        form.paperCode = 6;
        form.userWidth = w;
        form.userHeight = h;
        form.OnInitDialog();
        form.OnSelChange(kov::io::kUserPaperEntry, [](int&, int&) { return false; });
        EXPECT_FALSE(form.OnOK()) << w << " x " << h;
        EXPECT_FALSE(form.refusal.empty());
        EXPECT_EQ(form.paperCode, 6);
        // Another paper is still accepted.
        form.OnSelChange(2, {});  // A3, still portrait
        EXPECT_TRUE(form.OnOK());
        EXPECT_TRUE(form.refusal.empty());
        EXPECT_EQ(form.paperCode, 9);
    }
}

TEST(PaperUserForm, PositiveWholeMillimetresReplaceTheSize)
{
    struct Case {
        const char* width;
        const char* height;
        int expectWidth, expectHeight;
    };
    const Case cases[] = {
        {"500", "300", 500, 300}, {"0", "300", 297, 300}, {"", "", 297, 210},
        {"abc", "12mm", 297, 12}, {"-500", "-1", 297, 210}, {" 80", "90.7", 80, 90},
    };
    for (const Case& c : cases) {
        PaperUserForm form;
        form.width = 297;
        form.height = 210;
        form.OnInitDialog();
        EXPECT_EQ(form.widthText, "297");
        EXPECT_EQ(form.heightText, "210");
        form.widthText = c.width;
        form.heightText = c.height;
        form.OnOK();
        EXPECT_EQ(form.width, c.expectWidth) << c.width;
        EXPECT_EQ(form.height, c.expectHeight) << c.height;
    }
}

TEST(PrintmoveForm, OffsetsShownAsDirectionAndSize)
{
    struct Case {
        int x, y;
        bool left, up;
        const char* xText;
        const char* yText;
    };
    const Case cases[] = {{0, 0, false, false, "0", "0"},
                          {-5, 12, true, false, "5", "12"},
                          {7, -32000, false, true, "7", "32000"}};
    for (const Case& c : cases) {
        PrintmoveForm form;
        form.moveX = c.x;
        form.moveY = c.y;
        form.OnInitDialog();
        EXPECT_EQ(form.left, c.left) << c.x;
        EXPECT_EQ(form.up, c.up) << c.y;
        EXPECT_EQ(form.xText, c.xText);
        EXPECT_EQ(form.yText, c.yText);
    }
}

TEST(PrintmoveForm, OkSignsByDirectionAndDropsBothBeyondTheLimit)
{
    struct Case {
        const char* name;
        const char* xText;
        bool left;
        const char* yText;
        bool up;
        int x, y;
    };
    const Case cases[] = {
        {"left and up", "5", true, "12", true, -5, -12},
        {"right and down", "5", false, "12", false, 5, 12},
        {"limit", "32000", true, "32000", false, -32000, 32000},
        {"beyond in x", "32001", false, "12", false, 0, 0},
        {"beyond in y, typed negative", "5", false, "-32001", true, 0, 0},
        {"typed negative within", "-5", true, "", false, 5, 0},
        {"not a number", "abc", true, "3", true, 0, -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PrintmoveForm form;
        form.moveX = 99;
        form.moveY = 99;
        form.xText = c.xText;
        form.yText = c.yText;
        form.left = c.left;
        form.up = c.up;
        form.OnOK();
        EXPECT_EQ(form.moveX, c.x);
        EXPECT_EQ(form.moveY, c.y);
    }
}
