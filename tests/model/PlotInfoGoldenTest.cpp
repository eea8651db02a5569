// A "PlotInfo" and a "Grid" block written from fixed settings and kept in tests/data: every later
// version must read them back the same and write the same bytes again.
// Set KOVIRA_WRITE_SETTINGS_GOLDEN=1 to write the file anew (only when its format changes on purpose).

#include "model/Grid.h"
#include "model/PlotInfo.h"

#include "SettingsSamples.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

using kov::test::Bytes;

Bytes goldenBytes()
{
    auto ar = CArchive::forWriting();
    if (!kov::test::samplePlotInfo().WriteBlock(*ar, "PlotInfo")) return {};
    if (!kov::test::sampleGrid().WriteBlock(*ar, "Grid")) return {};
    return ar->bytes();
}

std::unique_ptr<CArchive> openGolden()
{
    const auto file = kov::test::testData("settings-golden.kva");
    if (std::getenv("KOVIRA_WRITE_SETTINGS_GOLDEN")) {
        auto ar = CArchive::forWriting();
        kov::test::samplePlotInfo().WriteBlock(*ar, "PlotInfo");
        kov::test::sampleGrid().WriteBlock(*ar, "Grid");
        std::string error;
        EXPECT_TRUE(ar->commitTo(file, &error)) << error;
    }
    std::string error;
    auto ar = CArchive::openForReading(file, &error);
    EXPECT_TRUE(ar) << error;
    return ar;
}

TEST(SettingsGolden, ReadsBackFieldByField)
{
    auto ar = openGolden();
    ASSERT_TRUE(ar);
    CPlotInfo p;
    ASSERT_NE(p.FindStart(*ar, "PlotInfo"), 0);
    ASSERT_EQ(p.Load(*ar, "PlotInfo"), 1);
    CGrid g;
    ASSERT_NE(g.FindStart(*ar, "Grid"), 0);
    ASSERT_EQ(g.Load(*ar, "Grid"), 1);

    const CPlotInfo e = kov::test::samplePlotInfo();
    EXPECT_EQ(p.m_Layer.m_nCurrentGroup, 3);
    EXPECT_EQ(p.m_Layer.m_nCurrentLayer, 0);
    EXPECT_EQ(p.m_Layer.m_dScale, e.m_Layer.m_dScale);
    EXPECT_EQ(p.m_Layer.m_GrpLayerInfo[1].m_strName, "一階");
    EXPECT_EQ(p.m_Layer.m_GrpLayerInfo[1].m_nType, 1);
    EXPECT_EQ(p.m_Layer.m_GrpLayerInfo[17].m_strName, "spare group");
    EXPECT_EQ(p.m_Layer.m_LayerInfo[2][5].m_strName, "壁, 柱\tand tab");
    EXPECT_EQ(p.m_Layer.m_LayerInfo[2][5].m_nType, 2);
    EXPECT_EQ(p.m_Layer.m_LayerInfo[15][15].m_strName, "last");
    EXPECT_EQ(p.m_Layer.m_LayerInfo[17][17].m_nType, 1);
    EXPECT_EQ(p.m_Layer, e.m_Layer);
    EXPECT_EQ(p.PlotPaperSize, 4);
    EXPECT_EQ(p.PlotPaperSizeUserX, 420);
    EXPECT_EQ(p.PlotPaperSizeUserY, 594);
    EXPECT_EQ(p.PlotWallBlack, 4);
    EXPECT_EQ(p.PlotWallColor, 0x123456u);
    EXPECT_EQ(p.PlotHasiraColor, 2);
    EXPECT_EQ(p.PlotSirokuro, 1);
    EXPECT_EQ(p.PlotGradation, 3);
    EXPECT_EQ(p.PlotWallWide, 62.5);
    EXPECT_EQ(p.PlotHasiraWide, 105.25);
    EXPECT_EQ(p.PlotLinePita, 1);
    EXPECT_EQ(p.PlotWallPita, 0);
    EXPECT_EQ(p.PlotSunpoTextHeight, 5);
    EXPECT_EQ(p.PlotSunpokurai, 2);
    EXPECT_EQ(p.PlotSunpoOffset, 7);
    EXPECT_EQ(p.PlotMoveX, 455);
    EXPECT_EQ(p.PlotMoveY, 910);
    EXPECT_EQ(p.PlotImageWidth, 120);
    EXPECT_EQ(p.PlotImageHeight, 80);
    EXPECT_EQ(p.PlotColor, e.PlotColor);
    EXPECT_EQ(p.PlotNakaColor, e.PlotNakaColor);
    EXPECT_EQ(p.PlotNakaNuri, e.PlotNakaNuri);
    EXPECT_EQ(p.PlotNakaColor2, e.PlotNakaColor2);
    EXPECT_EQ(p.PlotGradiation, e.PlotGradiation);
    EXPECT_EQ(p.PlotbHach, e.PlotbHach);
    EXPECT_EQ(p.PlotAlpha, e.PlotAlpha);
    EXPECT_EQ(p.PlotHachT, e.PlotHachT);
    EXPECT_EQ(p.PlotLineType, e.PlotLineType);
    EXPECT_EQ(p.PlotLineWide, e.PlotLineWide);
    EXPECT_EQ(p.PlotLineTanten, e.PlotLineTanten);
    EXPECT_EQ(p.PlotSunpoTanten, 3);
    EXPECT_EQ(p.PlotSunpoYawide, 4);
    EXPECT_EQ(p.PlotSunpoTani, 2);
    EXPECT_EQ(p.PlotSunpoKugiri, 1);
    EXPECT_EQ(p.PlotLineYaWide, 3);
    EXPECT_EQ(p.PlotSunpoTextView, 0);
    EXPECT_EQ(p.PlotSunpoFont, "ＭＳ 明朝");
    EXPECT_TRUE(p == e);

    const CGrid eg = kov::test::sampleGrid();
    EXPECT_EQ(g.GridW, eg.GridW);
    EXPECT_EQ(g.GridD, eg.GridD);
    EXPECT_EQ(g.StGridW, eg.StGridW);
    EXPECT_EQ(g.StGridD, eg.StGridD);
    EXPECT_EQ(g.BGrid, eg.BGrid);
    EXPECT_EQ(g.GridMemori, 0);
    EXPECT_EQ(g.GridMemoriType, 1);
    EXPECT_EQ(g.GridModule, 1000);
    EXPECT_EQ(g, eg);
}

TEST(SettingsGolden, WritingTheSameValuesGivesTheSameBytes)
{
    auto ar = openGolden();
    ASSERT_TRUE(ar);
    std::string error;
    const Bytes stored = [&] {
        std::ifstream in(kov::test::testData("settings-golden.kva"), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }();
    EXPECT_EQ(goldenBytes(), stored);
}

} // namespace
