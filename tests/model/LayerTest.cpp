#include "model/Layer.h"

#include "SettingsSamples.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kov::test::archiveOf;
using kov::test::blockBytes;
using kov::test::blockWith;
using kov::test::Bytes;
using kov::test::readBlock;

TEST(LayerBlock, WrittenTableReadsBack)
{
    const CLayer written = kov::test::samplePlotInfo().m_Layer;
    CLayer read;
    ASSERT_EQ(readBlock(read, blockBytes(written, "PlotLayer"), "PlotLayer"), 1);
    EXPECT_EQ(read.m_GrpLayerInfo, written.m_GrpLayerInfo);
    EXPECT_EQ(read.m_LayerInfo, written.m_LayerInfo);
    EXPECT_EQ(read.m_dScale, written.m_dScale);
    EXPECT_EQ(read.m_nCurrentGroup, 3);
    EXPECT_EQ(read.m_nReadGroup, 18);
    EXPECT_EQ(read.m_nReadRow, 18);
}

TEST(LayerBlock, CurrentLayerIsAlwaysLayerZeroOfTheStoredGroup)
{
    CLayer l;
    l.m_nCurrentLayer = 7;
    ASSERT_EQ(readBlock(l, blockWith("PlotLayer", {{"Layer_Edit1", "3"}, {"Layer_Edit2", "5"}}), "PlotLayer"), 1);
    EXPECT_EQ(l.m_nCurrentGroup, 3);
    EXPECT_EQ(l.m_nCurrentLayer, 0);
}

TEST(LayerBlock, ScaleKeys)
{
    struct Case { const char* name; std::vector<std::pair<std::string, std::string>> values; double scale2; };
    const std::vector<Case> cases = {
        {"older whole scale", {{"Layer_Scale2", "50"}}, 50.0},
        {"later decimal key wins", {{"Layer_Scale2", "50"}, {"Layer_dScale2", "75.5"}}, 75.5},
        {"later whole key wins", {{"Layer_dScale2", "75.5"}, {"Layer_Scale2", "50"}}, 50.0},
        {"no case", {{"LAYER_DSCALE2", "12.25"}}, 12.25},
        {"zero refused", {{"Layer_dScale2", "0"}}, 100.0},
        {"negative refused", {{"Layer_Scale2", "-20"}}, 100.0},
        {"no number refused", {{"Layer_dScale2", "abc"}}, 100.0},
        {"group 16 is not stored", {{"Layer_dScale16", "10"}}, 100.0},
    };
    for (const Case& c : cases) {
        CLayer l;
        ASSERT_EQ(readBlock(l, blockWith("PlotLayer", c.values), "PlotLayer"), 1) << c.name;
        EXPECT_EQ(l.m_dScale[2], c.scale2) << c.name;
        EXPECT_EQ(l.m_dScale[16], 100.0) << c.name;
    }
}

TEST(LayerBlock, CurrentGroupOutsideTheTableIsRefused)
{
    for (const char* value : {"16", "-1", "99999"}) {
        CLayer l;
        l.m_nCurrentGroup = 2;
        ASSERT_EQ(readBlock(l, blockWith("PlotLayer", {{"Layer_Edit1", value}}), "PlotLayer"), 1);
        EXPECT_EQ(l.m_nCurrentGroup, 2) << value;
    }
}

TEST(LayerBlock, SurplusRecordsAreSkipped)
{
    const Bytes bytes = archiveOf([](CDefFile& w, CArchive& ar) {
        w.WriteStart(ar, "PlotLayer");
        CLayerInfo record;
        for (int i = 0; i < 20; ++i) {
            record.m_strName = "group " + std::to_string(i);
            record.WriteBlock(ar, "BLK_GrpLayerInfo");
        }
        for (int i = 0; i < 330; ++i) {
            record.m_strName = "layer " + std::to_string(i);
            record.WriteBlock(ar, "BLK_LayerInfo");
        }
        w.WriteDataInt(ar, "Layer_Edit1", 4);
        w.WriteEnd(ar, "PlotLayer");
    });
    CLayer l;
    ASSERT_EQ(readBlock(l, bytes, "PlotLayer"), 1);
    EXPECT_EQ(l.m_GrpLayerInfo[17].m_strName, "group 17");
    EXPECT_EQ(l.m_LayerInfo[0][0].m_strName, "layer 0");
    EXPECT_EQ(l.m_LayerInfo[1][0].m_strName, "layer 18");
    EXPECT_EQ(l.m_LayerInfo[17][17].m_strName, "layer 323");
    EXPECT_EQ(l.m_nCurrentGroup, 4); // the values after the surplus are still read
}

TEST(LayerRecord, NameIsWrittenWithoutLineBreaks)
{
    CLayerInfo written;
    written.m_strName = "一\r\n階\n";
    written.m_nType = 2;
    CLayerInfo read;
    ASSERT_EQ(readBlock(read, blockBytes(written, "BLK_LayerInfo"), "BLK_LayerInfo"), 1);
    EXPECT_EQ(read.m_strName, "一階");
    EXPECT_EQ(read.m_nType, 2);
}

TEST(LayerRecord, StateKeyIgnoresCaseButNameKeyDoesNot)
{
    const Bytes bytes = archiveOf([](CDefFile& w, CArchive& ar) {
        w.WriteStart(ar, "BLK_LayerInfo");
        w.WriteData(ar, "data_layertype", "1");
        w.WriteData(ar, "data_layerstrname", "ignored");
        w.WriteEnd(ar, "BLK_LayerInfo");
    });
    CLayerInfo read;
    ASSERT_EQ(readBlock(read, bytes, "BLK_LayerInfo"), 1);
    EXPECT_EQ(read.m_nType, 1);
    EXPECT_EQ(read.m_strName, "");
}

TEST(LayerTable, WholeScaleOfTheCurrentGroup)
{
    CLayer l;
    l.m_nCurrentGroup = 5;
    l.m_dScale[5] = 0.5;
    EXPECT_EQ(l.WholeScale(), 1);
    l.m_dScale[5] = 250.75;
    EXPECT_EQ(l.WholeScale(), 250);
}

} // namespace
