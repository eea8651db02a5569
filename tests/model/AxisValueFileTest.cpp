// The axis-line values file: its two lines of spacings, read whole whatever their line ends, and
// written back in code page 932 with CR LF.

#include "model/AxisValueFile.h"
#include "platform/Profile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using kov::model::AxisValues;
using kov::model::ParseAxisValues;

namespace {

TEST(AxisValueFile, ReadingRules)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<double> x, y;
    };
    const Case cases[] = {
        {"two lines with CR LF", "3640,3640,\r\n1820,\r\n", {3640, 3640}, {1820}},
        {"LF only", "3640,3640,\n1820,\n", {3640, 3640}, {1820}},
        {"no break after the last line", "3640,\n1820,", {3640}, {1820}},
        {"the text after the last comma is not read", "3000,4000\n", {3000}, {}},
        {"values not above 0 and words are dropped", "0,-5,abc,2000,\n", {2000}, {}},
        {"a missing second line", "910,", {910}, {}},
        {"lines after the second are ignored", "1,\n2,\n3,\n", {1}, {2}},
        {"an empty file", "", {}, {}},
        {"an empty first line", "\r\n1820,\r\n", {}, {1820}},
        {"a spacing beyond ten kilometres is no spacing", "1e8,910,1e400,\n", {910}, {}},
    };
    for (const Case& c : cases) {
        const AxisValues v = ParseAxisValues(c.text);
        EXPECT_EQ(v.x, c.x) << c.name;
        EXPECT_EQ(v.y, c.y) << c.name;
    }
}

TEST(AxisValueFile, LongLinesAreReadWhole)
{
    // 150 values of 8 characters: a first line of 1200 bytes, longer than the old 1024-byte buffer,
    // whose tail must not become the second line.
    std::string text;
    for (int i = 0; i < 150; ++i) text += "1000.00,";
    text += "\r\n455.00,\r\n";
    const AxisValues v = ParseAxisValues(text);
    EXPECT_EQ(v.x.size(), 150u);
    EXPECT_EQ(v.y, std::vector<double>{455});
    // Beyond the count a grid can carry, the rest of the line is left unread.
    std::string many;
    for (std::size_t i = 0; i < AxisValues::kMaxPerLine + 50; ++i) many += "10,";
    EXPECT_EQ(ParseAxisValues(many + "\n20,").x.size(), AxisValues::kMaxPerLine);
    EXPECT_EQ(ParseAxisValues(many + "\n20,").y, std::vector<double>{20});
}

TEST(AxisValueFile, FileRoundTripInTheExchangeForm)
{
    const AxisValues fixture = kov::model::ReadAxisValueFile(kov::test::testData("axis/ats_atai.csv"));
    EXPECT_EQ(fixture.x, (std::vector<double>{910, 1820, 3640}));
    EXPECT_EQ(fixture.y, (std::vector<double>{1820, 2730}));

    kov::test::TempFolder dir;
    const auto file = dir.file("ats_atai.csv");
    ASSERT_TRUE(kov::model::WriteAxisValueFile(file, fixture));
    std::ifstream in(file, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ifstream original(kov::test::testData("axis/ats_atai.csv"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(original)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, bytes);
    // Two empty lists: two lines holding only their breaks.
    ASSERT_TRUE(kov::model::WriteAxisValueFile(file, AxisValues{}));
    EXPECT_EQ(kov::model::FormatAxisValues(AxisValues{}), "\r\n\r\n");
    // No file: two empty lists; a folder in its place is not read.
    EXPECT_TRUE(kov::model::ReadAxisValueFile(dir.file("none.csv")).x.empty());
    EXPECT_TRUE(kov::model::ReadAxisValueFile(dir.path()).x.empty());
}

TEST(AxisValueFile, SettingsKeepTheirDefaultsAndRoundTrip)
{
    kov::platform::MemoryProfile store;
    AxisLineSettings s;
    s.Load(store);
    EXPECT_EQ(s.ats_kousa, 1);
    EXPECT_EQ(s.ats_sen_syurui, 3);
    EXPECT_EQ(s.ats_kigou_y, "X");
    EXPECT_EQ(s.ats_kigou_t, "Y");
    s.ats_sen_color = 0x0000FF;
    s.ats_houkou_jyoge = 1;
    s.ats_kigou_y = "通";
    s.Save(store);
    EXPECT_EQ(store.GetProfileString("KOV_T_UTILITY", "ats_sen_color"), "255");
    AxisLineSettings back;
    back.Load(store);
    EXPECT_EQ(back.ats_sen_color, 0x0000FFu);
    EXPECT_EQ(back.ats_houkou_jyoge, 1);
    EXPECT_EQ(back.ats_kigou_y, "通");
    // The colour is read as a number and cut to a whole one.
    store.WriteProfileString("KOV_T_UTILITY", "ats_sen_color", "255.9");
    back.Load(store);
    EXPECT_EQ(back.ats_sen_color, 255u);
}

} // namespace
