#include "model/Grid.h"

#include "SettingsSamples.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kov::test::blockBytes;
using kov::test::blockWith;
using kov::test::Bytes;
using kov::test::KeyLog;
using kov::test::readBlock;

TEST(GridBlock, WrittenGridReadsBack)
{
    CGrid written = kov::test::sampleGrid();
    written.visible = 0;
    written.kyutyaku = 0;
    CGrid read;
    ASSERT_EQ(readBlock(read, blockBytes(written, "Grid"), "Grid"), 1);
    // Shown and snap switches are not part of the block.
    EXPECT_EQ(read.visible, 1);
    EXPECT_EQ(read.kyutyaku, 1);
    read.visible = 0;
    read.kyutyaku = 0;
    EXPECT_EQ(read, written);
}

TEST(GridBlock, KeysInWrittenOrderWithTwoDecimals)
{
    std::vector<std::string> expected;
    for (const char* suffix : {"", "1", "2", "3", "4"})
        for (const char* key : {"GridW", "GridD", "StGridW", "StGridD", "BGrid"})
            expected.push_back(std::string(key) + suffix);
    for (const char* key : {"GridMemori", "GridMemoriType", "GridModule"}) expected.push_back(key);

    KeyLog log;
    ASSERT_EQ(readBlock(log, blockBytes(kov::test::sampleGrid(), "Grid"), "Grid"), 1);
    EXPECT_EQ(log.keys(), expected);
    EXPECT_EQ(log.value("GridW"), "455.27");
    EXPECT_EQ(log.value("StGridD2"), "-455.27");
    EXPECT_EQ(log.value("GridW1"), "910.00");
    EXPECT_EQ(log.value("GridModule"), "1000");
}

TEST(GridBlock, ModuleCodesOfOlderFiles)
{
    struct Case { const char* stored; int module; };
    for (const Case& c : {Case{"1", 1000}, Case{"1000", 1000}, Case{"0", 910}, Case{"910", 910}, Case{"1820", 1820}}) {
        CGrid g;
        g.GridModule = 555;
        ASSERT_EQ(readBlock(g, blockWith("Grid", {{"GridModule", c.stored}}), "Grid"), 1);
        EXPECT_EQ(g.GridModule, c.module) << c.stored;
    }
}

TEST(GridBlock, OlderSwitchKeysAreIgnored)
{
    CGrid g;
    ASSERT_EQ(readBlock(g, blockWith("Grid", {{"GridVisible", "0"}, {"GridKyutyaku", "0"}, {"gridw3", "100.5"}}), "Grid"), 1);
    EXPECT_EQ(g.visible, 1);
    EXPECT_EQ(g.kyutyaku, 1);
    EXPECT_EQ(g.GridW[3], 100.5);
}

TEST(GridBlock, SpacingOfZeroOrBelowIsRefused)
{
    for (const char* value : {"0", "-910", "abc", "0.00"}) {
        CGrid g;
        ASSERT_EQ(readBlock(g, blockWith("Grid", {{"GridW", value}, {"GridD4", value}}), "Grid"), 1);
        EXPECT_EQ(g.GridW[0], 910.0) << value;
        EXPECT_EQ(g.GridD[4], 910.0) << value;
    }
}

} // namespace
