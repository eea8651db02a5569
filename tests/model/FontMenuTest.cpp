#include "model/FontMenu.h"

#include "SettingsSamples.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kov::test::blockBytes;
using kov::test::KeyLog;
using kov::test::readBlock;

CFontMenu sampleFont()
{
    CFontMenu f;
    f.lfHeight = -24;
    f.lfWidth = 12;
    f.lfEscapement = 2700;
    f.lfOrientation = 900;
    f.lfWeight = 700;
    f.lfItalic = 1;
    f.lfUnderline = 1;
    f.lfStrikeOut = 1;
    f.lfCharSet = 128;
    f.lfOutPrecision = 4;
    f.lfClipPrecision = 3;
    f.lfQuality = 2;
    f.lfPitchAndFamily = 0x12;
    f.lfFaceName = "@ＭＳ 明朝";
    f.m_Color = 0x0000FF;
    f.m_size = 12.75;
    f.m_kankaku = 0.5;
    f.m_gyoukan = 1.25;
    f.SetBackColorNumber(5);
    f.m_toko_align = 2;
    f.m_tate_align = 1;
    return f;
}

TEST(FontMenuBlock, WrittenFontReadsBack)
{
    const CFontMenu written = sampleFont();
    CFontMenu read;
    ASSERT_EQ(readBlock(read, blockBytes(written, "BLK_Font"), "BLK_Font"), 1);
    EXPECT_EQ(read, written);
}

TEST(FontMenuBlock, KeysInWrittenOrder)
{
    const std::vector<std::string> expected = {"Font_lfHeight", "Font_lfWidth", "Font_lfEscapement",
        "Font_lfOrientation", "Font_lfWeight", "Font_lfItalic", "Font_lfUnderline", "Font_lfStrikeOut",
        "Font_lfCharSet", "Font_lfOutPrecision", "Font_lfClipPrecision", "Font_lfQuality",
        "Font_lfPitchAndFamily", "Font_lfFaceName", "Font_m_Color", "Font_m_size", "Font_m_kankaku",
        "Font_m_gyoukan", "Font_m_bBack", "Font_m_BackColor", "Font_m_toko_align", "Font_m_tate_align"};
    KeyLog log;
    ASSERT_EQ(readBlock(log, blockBytes(sampleFont(), "BLK_Font"), "BLK_Font"), 1);
    EXPECT_EQ(log.keys(), expected);
    EXPECT_EQ(log.value("Font_lfHeight"), "-24");
    EXPECT_EQ(log.value("Font_m_size"), "12.750000");
    EXPECT_EQ(log.value("Font_m_BackColor"), "65535");
}

TEST(FontMenuBackColour, ColourOfEachNumber)
{
    struct Case { int number; std::uint32_t colour; };
    const Case cases[] = {{0, 0xFFFFFF}, {1, 0xFFFFFF}, {2, 0xFFFF00}, {3, 0xFF00FF}, {4, 0xFF0000},
                          {5, 0x00FFFF}, {6, 0x00FF80}, {7, 0x0000FF}, {8, 0xC0C0C0}, {9, 0x808080},
                          {10, 0x808000}, {11, 0x800080}, {12, 0xFF0000}, {13, 0x008080}, {14, 0x00FF00},
                          {15, 0x000080}, {16, 0x000000}, {17, 0xFFFFFF}, {-3, 0xFFFFFF}};
    for (const Case& c : cases) {
        CFontMenu f;
        f.SetBackColorNumber(c.number);
        EXPECT_EQ(f.m_bBack, c.number);
        EXPECT_EQ(f.m_BackColor, c.colour) << c.number;
    }
}

TEST(FontMenuFace, CutToThirtyOneCodePageBytes)
{
    struct Case { const char* name; std::string face; std::string kept; };
    const std::vector<Case> cases = {
        {"short", "ＭＳ ゴシック", "ＭＳ ゴシック"},
        {"ascii", std::string(40, 'x'), std::string(31, 'x')},
        {"double-byte not split", "あいうえおかきくけこさしすせそたち", "あいうえおかきくけこさしすせそ"},
        {"half-width katakana is one byte", std::string(32, 'a').substr(0, 30) + "ｱｲ", std::string(30, 'a') + "ｱ"},
        {"ascii after double-byte", "あいうえおかきくけこさしすせそa", "あいうえおかきくけこさしすせそa"},
        // The yen sign is one byte in the code page; a character it lacks counts as two.
        {"yen sign is one byte", std::string(30, 'a') + "¥¥", std::string(30, 'a') + "¥"},
        {"lacked character is two", std::string(29, 'a') + "😀b", std::string(29, 'a') + "😀"},
    };
    for (const Case& c : cases) EXPECT_EQ(CFontMenu::limitFaceName(c.face), c.kept) << c.name;
}

TEST(FontMenuFace, OverLongFaceFromFileAndLogFontIsCut)
{
    CFontMenu written;
    written.lfFaceName = std::string(300, 'F');
    CFontMenu read;
    ASSERT_EQ(readBlock(read, blockBytes(written, "BLK_Font"), "BLK_Font"), 1);
    EXPECT_EQ(read.lfFaceName, std::string(31, 'F'));

    LogFont lf;
    sampleFont().GetLogFont(lf);
    EXPECT_EQ(lf.lfFaceName, "@ＭＳ 明朝");
    EXPECT_EQ(lf.lfEscapement, 2700);
    lf.lfFaceName = std::string(64, 'G');
    CFontMenu f;
    f.SetLogFont(lf);
    EXPECT_EQ(f.lfFaceName, std::string(31, 'G'));
    EXPECT_EQ(f.lfPitchAndFamily, 0x12);
    EXPECT_EQ(f.m_size, 6.5); // the fields beyond the logical font stay
}

} // namespace
