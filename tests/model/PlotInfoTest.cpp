#include "model/PlotInfo.h"

#include "SettingsSamples.h"

#include "model/ArchiveFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kov::test::blockBytes;
using kov::test::blockWith;
using kov::test::Bytes;
using kov::test::KeyLog;
using kov::test::readBlock;

TEST(PlotInfoBlock, WrittenBlockReadsBackEveryKey)
{
    CPlotInfo written = kov::test::samplePlotInfo();
    written.PlotLinePita = 0;
    written.PlotWallPita = 1;
    const Bytes bytes = blockBytes(written, "PlotInfo");
    ASSERT_FALSE(bytes.empty());

    CPlotInfo read;
    ASSERT_EQ(readBlock(read, bytes, "PlotInfo"), 1);

    // The snap switches are the user's: a file never changes them.
    EXPECT_EQ(read.PlotLinePita, 1);
    EXPECT_EQ(read.PlotWallPita, 0);
    read.PlotLinePita = written.PlotLinePita;
    read.PlotWallPita = written.PlotWallPita;
    EXPECT_EQ(read.m_Layer, written.m_Layer);
    EXPECT_EQ(read.PlotGradiation, written.PlotGradiation);
    EXPECT_EQ(read.PlotAlpha, written.PlotAlpha);
    EXPECT_EQ(read.PlotNakaColor2, written.PlotNakaColor2);
    EXPECT_EQ(read.PlotSunpoFont, written.PlotSunpoFont);
    EXPECT_TRUE(read == written);
}

TEST(PlotInfoBlock, KeysInWrittenOrder)
{
    std::vector<std::string> expected = {"PlotVersion", "PlotScale", "{PlotLayer", "PlotPaperSize",
        "PlotPaperSizeUserX", "PlotPaperSizeUserY", "PlotWallBlack", "PlotWallColor", "PlotHasiraColor",
        "PlotSirokuro", "PlotGradation", "PlotWallWide", "PlotHasiraWide", "PlotLinePita", "PlotWallPita",
        "PlotSunpoTextHeight", "PlotSunpokurai", "PlotSunpoOffset", "PlotMoveX", "PlotMoveY",
        "PlotImageWidth", "PlotImageHeight"};
    for (const char* prefix : {"PlotColor", "PlotNakaColor", "PlotNakaNuri", "PlotbHach", "PlotHachT",
                               "PlotLineType", "PlotLineWide"})
        for (int s = 0; s < 5; ++s) expected.push_back(prefix + std::to_string(s));
    expected.push_back("PlotLineTanten");
    for (int s = 1; s < 5; ++s) expected.push_back("PlotLineTanten" + std::to_string(s));
    for (const char* key : {"PlotSunpoTanten", "PlotSunpoYawide", "PlotSunpoTani", "PlotSunpoKugiri",
                            "PlotLineYaWide", "PlotSunpoTextView", "PlotSunpoFont"})
        expected.push_back(key);
    for (const char* prefix : {"PlotGradiation", "PlotAlpha", "PlotNakaColor2"})
        for (int s = 0; s < 5; ++s) expected.push_back(prefix + std::to_string(s));

    KeyLog log;
    ASSERT_EQ(readBlock(log, blockBytes(kov::test::samplePlotInfo(), "PlotInfo"), "PlotInfo"), 1);
    EXPECT_EQ(log.keys(), expected);
    EXPECT_EQ(log.value("PlotVersion"), "50000");
    EXPECT_EQ(log.value("PlotWallWide"), "62.500000");
    EXPECT_EQ(log.value("PlotWallColor"), "1193046");
}

TEST(PlotInfoBlock, StoredScaleIsTheCurrentGroupsWholeScale)
{
    struct Case { const char* name; double scale; const char* stored; };
    const Case cases[] = {{"whole", 50.0, "50"}, {"cut", 75.9, "75"}, {"below one", 0.5, "1"}};
    for (const Case& c : cases) {
        CPlotInfo p;
        p.m_Layer.m_nCurrentGroup = 4;
        p.m_Layer.m_dScale[4] = c.scale;
        KeyLog log;
        ASSERT_EQ(readBlock(log, blockBytes(p, "PlotInfo"), "PlotInfo"), 1) << c.name;
        EXPECT_EQ(log.value("PlotScale"), c.stored) << c.name;
    }
}

TEST(PlotInfoBlock, ScaleWithoutLayerBlockSetsEveryGroup)
{
    CPlotInfo p;
    ASSERT_EQ(readBlock(p, blockWith("PlotInfo", {{"PlotScale", "50"}}), "PlotInfo"), 1);
    for (int g = 0; g < CLayer::kUsed; ++g) EXPECT_EQ(p.m_Layer.m_dScale[static_cast<std::size_t>(g)], 50.0) << g;
}

TEST(PlotInfoBlock, KeysCompareWithoutCase)
{
    CPlotInfo p;
    ASSERT_EQ(readBlock(p, blockWith("PlotInfo", {{"plotwallblack", "3"}, {"PLOTNAKACOLOR22", "255"}, {"plotlinetanten", "2"}}),
                        "PlotInfo"), 1);
    EXPECT_EQ(p.PlotWallBlack, 3);
    EXPECT_EQ(p.PlotNakaColor2[2], 255u);
    EXPECT_EQ(p.PlotLineTanten[0], 2);
}

// Values that would be used as indices or divisors keep a sane value instead.
TEST(PlotInfoBlock, OutOfRangeValuesAreRefused)
{
    struct Case { const char* key; std::string value; bool (*check)(const CPlotInfo&); };
    const Case cases[] = {
        {"PlotScale", "0", [](const CPlotInfo& p) { return p.m_Layer.m_dScale[0] == 100.0; }},
        {"PlotScale", "-5", [](const CPlotInfo& p) { return p.m_Layer.m_dScale[7] == 100.0; }},
        {"PlotScale", "abc", [](const CPlotInfo& p) { return p.m_Layer.m_dScale[15] == 100.0; }},
        {"PlotLineWide2", "0", [](const CPlotInfo& p) { return p.PlotLineWide[2] == 1; }},
        {"PlotLineWide2", "11", [](const CPlotInfo& p) { return p.PlotLineWide[2] == 1; }},
        {"PlotLineWide2", "10", [](const CPlotInfo& p) { return p.PlotLineWide[2] == 10; }},
        {"PlotLineYaWide", "5", [](const CPlotInfo& p) { return p.PlotLineYaWide == 1; }},
        {"PlotLineYaWide", "-1", [](const CPlotInfo& p) { return p.PlotLineYaWide == 1; }},
        {"PlotSunpoYawide", "9", [](const CPlotInfo& p) { return p.PlotSunpoYawide == 2; }},
        {"PlotSunpoYawide", "4", [](const CPlotInfo& p) { return p.PlotSunpoYawide == 4; }},
        {"PlotNakaColor25", "255", [](const CPlotInfo& p) { return p == CPlotInfo(); }},
        {"PlotColor7", "255", [](const CPlotInfo& p) { return p == CPlotInfo(); }},
        {"PlotSunpoFont", std::string(40, 'A'),
         [](const CPlotInfo& p) { return p.PlotSunpoFont == std::string(31, 'A'); }},
    };
    for (const Case& c : cases) {
        CPlotInfo p;
        ASSERT_EQ(readBlock(p, blockWith("PlotInfo", {{c.key, c.value}}), "PlotInfo"), 1) << c.key;
        EXPECT_TRUE(c.check(p)) << c.key << "=" << c.value;
    }
}

TEST(PlotInfoBlock, PenWidthAndMarkSizeNeverLeaveTheirTables)
{
    CPlotInfo p;
    EXPECT_EQ(p.PenWidth(1, false), 1);
    EXPECT_EQ(p.PenWidth(10, true), 20);
    EXPECT_EQ(p.PenWidth(0, true), 3);
    EXPECT_EQ(p.PenWidth(11, false), 1);
    EXPECT_EQ(p.MarkSize(4), 4.0);
    EXPECT_EQ(p.MarkSize(5), 0.6);
}

TEST(PlotInfoBlock, UnreadableLayerBlockFailsTheReadAndKeepsWhatCameBefore)
{
    // The layer block is never closed: the archive ends inside it.
    const std::string body = "KOVIRA-ARCHIVE 1\n{PlotInfo\nPlotWallBlack=3\n{PlotLayer\nLayer_Edit1=2\n";
    Bytes bytes(body.begin(), body.end());
    const std::string trailer = kov::archive::trailerFor(kov::archive::crc32(bytes.data(), bytes.size()));
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());

    CPlotInfo p;
    EXPECT_EQ(readBlock(p, bytes, "PlotInfo"), 0);
    EXPECT_EQ(p.PlotWallBlack, 3);
}

TEST(PlotInfoCopy, AssignmentKeepsTheTargetsGreyLayers)
{
    CPlotInfo source = kov::test::samplePlotInfo();
    source.laygray = 1;
    CPlotInfo target;
    target.laygray = 0;
    target = source;
    EXPECT_EQ(target.laygray, 0);
    target.laygray = 1;
    EXPECT_TRUE(target == source);

    const CPlotInfo copy(source);
    EXPECT_TRUE(copy == source);
}

TEST(PlotInfoCopy, CopiesAreDeep)
{
    CPlotInfo source = kov::test::samplePlotInfo();
    CPlotInfo copy(source);
    copy.m_Layer.m_LayerInfo[2][5].m_strName = "changed";
    copy.m_RoomInfo.m_Font.lfFaceName = "changed";
    EXPECT_EQ(source.m_Layer.m_LayerInfo[2][5].m_strName, "壁, 柱\tand tab");
    EXPECT_EQ(source.m_RoomInfo.m_Font.lfFaceName, "ＭＳ ゴシック");
}

} // namespace
