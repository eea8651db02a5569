#include "model/SettingsRegistry.h"

#include "SettingsSamples.h"

#include "model/FontMenu.h"
#include "model/Grid.h"
#include "model/PlotInfo.h"
#include "model/RituInfo.h"
#include "model/RoomInfo.h"
#include "platform/Profile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using kov::platform::IniProfile;
using kov::platform::MemoryProfile;
using kov::platform::Profile;

// Records the keys read and written, in order, over a real store.
class LoggingProfile final : public Profile {
public:
    explicit LoggingProfile(Profile& store) : m_store(store) {}

    int GetProfileInt(std::string_view section, std::string_view key, int def) const override
    {
        reads.push_back(std::string(section) + "/" + std::string(key));
        return m_store.GetProfileInt(section, key, def);
    }
    std::string GetProfileString(std::string_view section, std::string_view key, std::string_view def) const override
    {
        reads.push_back(std::string(section) + "/" + std::string(key));
        return m_store.GetProfileString(section, key, def);
    }
    bool WriteProfileInt(std::string_view section, std::string_view key, int value) override
    {
        writes.push_back(std::string(section) + "/" + std::string(key));
        return m_store.WriteProfileInt(section, key, value);
    }
    bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override
    {
        writes.push_back(std::string(section) + "/" + std::string(key));
        return m_store.WriteProfileString(section, key, value);
    }

    // Only the keys of one section, without its name.
    static std::vector<std::string> in(const std::vector<std::string>& log, const std::string& section)
    {
        std::vector<std::string> out;
        for (const auto& entry : log)
            if (entry.compare(0, section.size() + 1, section + "/") == 0) out.push_back(entry.substr(section.size() + 1));
        return out;
    }

    mutable std::vector<std::string> reads;
    std::vector<std::string> writes;

private:
    Profile& m_store;
};

std::vector<std::string> numberedKeys(const std::string& prefix, int from, int to)
{
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back(prefix + std::to_string(i));
    return out;
}

std::vector<std::string> join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// Every case runs against an INI file in a fresh folder, with a comma as the decimal point.
class SettingsRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::setlocale(LC_ALL, nullptr);
        m_oldLocale = old ? old : "C";
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        m_profile = std::make_unique<IniProfile>(m_folder.file("Kovira.ini"));
    }
    void TearDown() override
    {
        m_profile.reset();
        std::setlocale(LC_ALL, m_oldLocale.c_str());
    }

    Profile& profile() { return *m_profile; }
    void setRegistSet(int value) { profile().WriteProfileInt("KOV_T_UTILITY", "registset", value); }
    std::string text(const char* section, const char* key) { return profile().GetProfileString(section, key, "<missing>"); }

    kov::test::TempFolder m_folder;
    std::unique_ptr<IniProfile> m_profile;
    std::string m_oldLocale;
};

// Where the first-run values and the values of a missing key differ.
TEST_F(SettingsRegistry, FirstRunTakesBuiltInValuesAndLaterRunsTheStore)
{
    struct Case { const char* name; std::function<double(Profile&)> value; double builtIn; double missingKey; };
    const std::vector<Case> cases = {
        {"linepita", [](Profile& p) { return CPlotInfo(p).PlotLinePita; }, 1, 0},
        {"movex", [](Profile& p) { return CPlotInfo(p).PlotMoveX; }, 100, 0},
        {"movey", [](Profile& p) { return CPlotInfo(p).PlotMoveY; }, 100, 0},
        {"laygray", [](Profile& p) { return CPlotInfo(p).laygray; }, 0, 1},
        {"memtype", [](Profile& p) { CGrid g; g.InitFromProfile(p); return g.GridMemoriType; }, 0, 1},
        {"charset", [](Profile& p) { CFontMenu f; f.InitFromProfile(p); return f.lfCharSet; }, 1, 128},
        {"size", [](Profile& p) { CFontMenu f; f.InitFromProfile(p); return f.m_size; }, 6.5, 3.5},
        {"height", [](Profile& p) { CFontMenu f; f.InitFromProfile(p); return f.lfHeight; }, 9, 9},
        {"fallback height", [](Profile& p) { CFontMenu f; f.ResetFromProfile(p); return f.lfHeight; }, 0, 9},
    };
    for (const Case& c : cases) {
        MemoryProfile store;
        EXPECT_EQ(c.value(store), c.builtIn) << c.name;
        store.WriteProfileInt("KOV_T_UTILITY", "registset", 1);
        EXPECT_EQ(c.value(store), c.missingKey) << c.name;
    }
}

TEST_F(SettingsRegistry, StoredLineSnapCountsOnlyOnceSettingsWereSaved)
{
    profile().WriteProfileInt("KOV_T_PlotMenu", "linepita", 0);
    EXPECT_EQ(CPlotInfo(profile()).PlotLinePita, 1);
    setRegistSet(1);
    EXPECT_EQ(CPlotInfo(profile()).PlotLinePita, 0);
}

TEST_F(SettingsRegistry, PlotSettingsSaveAndLoadUnderCommaLocale)
{
    CPlotInfo saved = kov::test::samplePlotInfo();
    saved.laygray = 1;
    saved.walltype = 1;
    saved.hasiratype = 2;
    saved.PlotLinePita = 0;
    saved.PlotWallPita = 1;
    saved.linehutosag = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    saved.linehutosap = {4, 8, 12, 16, 20, 24, 28, 32, 36, 40};
    saved.keij_pich = {0.5, 1.5, 2.25, 3.0, 5.75};
    for (int i = 0; i < LinePichTable::kCount; ++i) saved.m_LinePichTable[i] = 0.5f + 0.25f * static_cast<float>(i);
    saved.SaveProfile(profile());
    setRegistSet(1);

    EXPECT_EQ(text("KOV_T_PlotMenu", "wallwided"), "62.500000");
    EXPECT_EQ(text("KOV_T_PlotMenu", "keij_pich_3"), "2.250000");
    EXPECT_EQ(text("KOV_T_PlotMenu", "linepich_dot_0"), "1.000000");
    EXPECT_EQ(text("KOV_T_PlotMenu", "wallcolor"), "1193046");
    EXPECT_EQ(text("KOV_T_PlotMenu", "dscale3"), "30.000000");

    const CPlotInfo loaded(profile());
    EXPECT_EQ(loaded.m_LinePichTable, saved.m_LinePichTable);
    EXPECT_EQ(loaded.keij_pich, saved.keij_pich);
    EXPECT_EQ(loaded.linehutosag, saved.linehutosag);
    EXPECT_EQ(loaded.linehutosap, saved.linehutosap);
    EXPECT_EQ(loaded.m_Layer.m_dScale, saved.m_Layer.m_dScale);
    EXPECT_EQ(loaded.PlotWallWide, 62.5);
    EXPECT_EQ(loaded.PlotHasiraWide, 105.25);
    EXPECT_EQ(loaded.PlotWallColor, 0x123456u);
    EXPECT_EQ(loaded.PlotHasiraColor, 2); // written, and now read back too
    EXPECT_EQ(loaded.PlotSunpoFont, "ＭＳ 明朝");
    EXPECT_EQ(loaded.laygray, 1);
    EXPECT_EQ(loaded.PlotLinePita, 0);
    EXPECT_EQ(loaded.PlotWallPita, 1);
    EXPECT_EQ(loaded.PlotSunpoYawide, 4);
    // Never in the store: the layer names and the style slots come back as defaults.
    EXPECT_EQ(loaded.m_Layer.m_LayerInfo[2][5], CLayerInfo());
    EXPECT_EQ(loaded.m_Layer.m_nCurrentGroup, 0);
    EXPECT_EQ(loaded.PlotColor, CPlotInfo().PlotColor);
    EXPECT_EQ(loaded.PlotLineWide, CPlotInfo().PlotLineWide);
    EXPECT_EQ(loaded.PlotLineYaWide, 1);
}

TEST_F(SettingsRegistry, PlotSettingsKeyOrder)
{
    MemoryProfile store;
    LoggingProfile log(store);
    const CPlotInfo p;
    p.SaveProfile(log);
    const std::vector<std::string> dash = {"linepich_dash_0", "linepich_dash_1", "linepich_dot_0", "linepich_dot_1",
        "linepich_dashdot_0", "linepich_dashdot_1", "linepich_dashdot_2", "linepich_dashdot_3",
        "linepich_dashdotdot_0", "linepich_dashdotdot_1", "linepich_dashdotdot_2", "linepich_dashdotdot_3",
        "linepich_dashdotdot_4", "linepich_dashdotdot_5"};
    const auto written = join({{"ensize", "sizeuserx", "sizeusery", "wallblack", "wallcolor", "hasiracolor",
                                "wallwided", "hasirawided", "walltype", "hasiratype", "sirokuro", "gradation_view",
                                "scale"},
                               numberedKeys("dscale", 0, 15),
                               {"linepita", "wallpita", "sunpotextheight", "sunpotextview", "sunpofont",
                                "sunpokurai", "sunpoOffset", "movex", "movey", "imagew", "imageh"},
                               numberedKeys("linehutosag_", 0, 9), numberedKeys("linehutosap_", 0, 9),
                               numberedKeys("keij_pich_", 1, 5),
                               {"laygray", "sunpotanten", "sunpoyawide", "sunpotani", "sunpokugiri", "yawide"},
                               dash});
    EXPECT_EQ(LoggingProfile::in(log.writes, "KOV_T_PlotMenu"), written);
    EXPECT_FALSE(LoggingProfile::in(log.writes, "KOV_T_FontMenuRoom").empty());

    log.reads.clear();
    CPlotInfo loaded;
    loaded.LoadProfile(log);
    std::vector<std::string> scales;
    for (int g = 0; g < 16; ++g) {
        scales.push_back("scale" + std::to_string(g));
        scales.push_back("dscale" + std::to_string(g));
    }
    const auto read = join({{"ensize", "sizeuserx", "sizeusery", "wallblack", "wallcolor", "hasiracolor", "sirokuro",
                             "gradation_view", "wallwide", "wallwided", "hasirawide", "hasirawided", "walltype",
                             "hasiratype", "scale"},
                            scales,
                            {"linepita", "wallpita", "sunpotextheight", "sunpotextview", "sunpofont", "sunpokurai",
                             "sunpoOffset", "movex", "movey", "imagew", "imageh", "grouppath"},
                            numberedKeys("linehutosag_", 0, 9), numberedKeys("linehutosap_", 0, 9),
                            numberedKeys("keij_pich_", 1, 5), {"laygray"}, dash,
                            {"sunpotanten", "sunpoyawide", "sunpotani", "sunpokugiri", "yawide"}});
    EXPECT_EQ(LoggingProfile::in(log.reads, "KOV_T_PlotMenu"), read);
    EXPECT_EQ(LoggingProfile::in(log.reads, "KOV_T_UTILITY"), (std::vector<std::string>{"path_data_flg"}));
}

TEST_F(SettingsRegistry, OlderKeysGiveTheDefaults)
{
    setRegistSet(1);
    profile().WriteProfileInt("KOV_T_PlotMenu", "wallwide", 60);
    profile().WriteProfileInt("KOV_T_PlotMenu", "hasirawide", 45);
    profile().WriteProfileInt("KOV_T_PlotMenu", "scale3", 0);
    profile().WriteProfileInt("KOV_T_PlotMenu", "scale4", 250);
    CPlotInfo p(profile());
    EXPECT_EQ(p.PlotWallWide, 60.0);
    EXPECT_EQ(p.PlotHasiraWide, 45.0);
    EXPECT_EQ(p.m_Layer.m_dScale[3], 100.0);
    EXPECT_EQ(p.m_Layer.m_dScale[4], 250.0);

    profile().WriteProfileString("KOV_T_PlotMenu", "wallwided", "75.5");
    EXPECT_EQ(CPlotInfo(profile()).PlotWallWide, 75.5);
}

TEST_F(SettingsRegistry, TextThatIsNoNumberReadsZero)
{
    setRegistSet(1);
    profile().WriteProfileString("KOV_T_PlotMenu", "wallwided", "abc");
    profile().WriteProfileString("KOV_T_PlotMenu", "wallcolor", "red");
    profile().WriteProfileString("KOV_T_FontMenu", "size", "groß");
    const CPlotInfo p(profile());
    EXPECT_EQ(p.PlotWallWide, 0.0);
    EXPECT_EQ(p.PlotWallColor, 0u);
    CFontMenu f;
    f.LoadProfile(profile());
    EXPECT_EQ(f.m_size, 0.0);
}

// Values used as indices or divisors keep a sane value when the store holds nonsense.
TEST_F(SettingsRegistry, OutOfRangeValuesAreRefused)
{
    setRegistSet(1);
    Profile& p = profile();
    p.WriteProfileInt("KOV_T_PlotMenu", "scale", 200);
    p.WriteProfileString("KOV_T_PlotMenu", "dscale0", "0");
    p.WriteProfileString("KOV_T_PlotMenu", "dscale1", "-20.5");
    p.WriteProfileString("KOV_T_PlotMenu", "dscale2", "abc");
    p.WriteProfileInt("KOV_T_PlotMenu", "scale5", -4);
    p.WriteProfileInt("KOV_T_PlotMenu", "sunpoyawide", 7);
    p.WriteProfileInt("KOV_T_GridMenu", "kyutyakukankaku", 0);
    p.WriteProfileString("KOV_T_GridMenu", "wgrid1", "0");
    p.WriteProfileString("KOV_T_GridMenu", "dgrid2", "-3");
    p.WriteProfileString("KOV_T_FontMenu", "name", std::string(50, 'N'));
    const CPlotInfo plot(p);
    EXPECT_EQ(plot.m_Layer.m_dScale[0], 200.0);
    EXPECT_EQ(plot.m_Layer.m_dScale[1], 200.0);
    EXPECT_EQ(plot.m_Layer.m_dScale[2], 200.0);
    EXPECT_EQ(plot.m_Layer.m_dScale[5], 100.0);
    EXPECT_EQ(plot.m_Layer.m_dScale[6], 100.0);
    EXPECT_EQ(plot.PlotSunpoYawide, 2);
    CGrid g;
    g.InitFromProfile(p);
    EXPECT_EQ(g.kyutyakukankaku, 1);
    EXPECT_EQ(g.GridW[1], 910.0);
    EXPECT_EQ(g.GridD[2], 910.0);
    CFontMenu f;
    f.InitFromProfile(p);
    EXPECT_EQ(f.lfFaceName, std::string(31, 'N'));

    // Dash lengths: a float must hold them and the dash walk steps by them.
    for (const char* text : {"-1.5", "1e300", "1e39"}) {
        MemoryProfile store;
        store.WriteProfileString("KOV_T_PlotMenu", "linepich_dot_1", text);
        store.WriteProfileString("KOV_T_PlotMenu", "linepich_dash_0", "2.5");
        LinePichTable table;
        table.LoadProfile(store);
        EXPECT_EQ(table[3], 0.75f) << text;
        EXPECT_EQ(table[0], 2.5f) << text;
    }

    // Elevation floors, layers and layer groups index tables too.
    struct Row { const char* key; int stored; int CRituInfo::*field; int expected; };
    const Row rows[] = {
        {"kai", 0, &CRituInfo::kai, 2},          {"kai", 4, &CRituInfo::kai, 2},
        {"kai", 3, &CRituInfo::kai, 3},          {"lay_1", 16, &CRituInfo::lay_1, 0},
        {"lay_2", -1, &CRituInfo::lay_2, 1},     {"lay_3", 15, &CRituInfo::lay_3, 15},
        {"ritugrp_lay", 99, &CRituInfo::ritugrp_lay, 2}, {"rituno_lay", -5, &CRituInfo::rituno_lay, 0},
    };
    for (const Row& r : rows) {
        MemoryProfile store;
        store.WriteProfileInt("KOV_T_RituInfo", r.key, r.stored);
        CRituInfo ritu;
        ritu.LoadProfile(store);
        EXPECT_EQ(ritu.*r.field, r.expected) << r.key << " " << r.stored;
    }
}

TEST_F(SettingsRegistry, EndMarkSizesAndScalesAreReadOnFirstRunToo)
{
    profile().WriteProfileString("KOV_T_PlotMenu", "keij_pich_2", "1.75");
    profile().WriteProfileString("KOV_T_PlotMenu", "dscale7", "12.5");
    profile().WriteProfileInt("KOV_T_PlotMenu", "yawide", 3);
    profile().WriteProfileString("KOV_T_PlotMenu", "linepich_dash_0", "9.0");
    const CPlotInfo first(profile());
    EXPECT_EQ(first.keij_pich[1], 1.75);
    EXPECT_EQ(first.m_Layer.m_dScale[7], 12.5);
    EXPECT_EQ(first.PlotLineYaWide, 1);
    EXPECT_EQ(first.m_LinePichTable[0], 3.75f); // the dash table keeps its values on a first run
    setRegistSet(1);
    const CPlotInfo later(profile());
    EXPECT_EQ(later.PlotLineYaWide, 1);
    EXPECT_EQ(later.m_LinePichTable[0], 9.0f);
}

TEST_F(SettingsRegistry, InitFromProfileResetsStyleSlotsAndLayers)
{
    setRegistSet(1);
    CPlotInfo p = kov::test::samplePlotInfo();
    p.PlotPattern[2] = 5;
    p.InitFromProfile(profile());
    const CPlotInfo fresh;
    for (int s = 0; s < CPlotInfo::kSlots; ++s) {
        const auto i = static_cast<std::size_t>(s);
        EXPECT_EQ(p.PlotColor[i], 0u);
        EXPECT_EQ(p.PlotNakaColor[i], 0xFFFFFFu);
        EXPECT_EQ(p.PlotNakaColor2[i], 0xFFFFFFu);
        EXPECT_EQ(p.PlotNakaNuri[i], 0);
        EXPECT_EQ(p.PlotbHach[i], 0);
        EXPECT_EQ(p.PlotPattern[i], 0);
        EXPECT_EQ(p.PlotAlpha[i], 100);
        EXPECT_EQ(p.PlotGradiation[i], 1);
        EXPECT_EQ(p.PlotLineType[i], 0);
        EXPECT_EQ(p.PlotLineWide[i], 1);
        EXPECT_EQ(p.PlotLineTanten[i], 0);
    }
    EXPECT_EQ(p.m_Layer.m_LayerInfo[2][5], CLayerInfo());
    EXPECT_EQ(p.m_Layer.m_GrpLayerInfo[1], CLayerInfo());
    // Records 16 and 17 are outside the reset.
    EXPECT_EQ(p.m_Layer.m_GrpLayerInfo[17].m_strName, "spare group");
    EXPECT_EQ(p.m_Layer.m_nCurrentGroup, 0);
}

TEST_F(SettingsRegistry, DataFolder)
{
    struct Case { const char* name; int flag; const char* common; std::string folder; };
    const std::vector<Case> cases = {
        {"program folder", 0, "/srv/common", "/opt/kovira/data"},
        {"common folder", 1, "/srv/common", "/srv/common/data"},
        {"common folder with slash", 1, "/srv/common/", "/srv/common/data"},
        {"common folder unset", 1, nullptr, "/opt/kovira/data"},
    };
    for (const Case& c : cases) {
        MemoryProfile store;
        store.WriteProfileInt("KOV_T_UTILITY", "path_data_flg", c.flag);
        if (c.common) store.WriteProfileString("KOV_T_UTILITY", "path_set_forda", c.common);
        EXPECT_EQ(CPlotInfo(store, "/opt/kovira/").m_strDataPath, c.folder) << c.name;
        store.WriteProfileInt("KOV_T_UTILITY", "registset", 1);
        EXPECT_EQ(CPlotInfo(store, "/opt/kovira").m_strDataPath, c.folder) << c.name;
    }
}

TEST_F(SettingsRegistry, GridSaveAndLoad)
{
    CGrid saved = kov::test::sampleGrid();
    saved.visible = 1;
    saved.kyutyaku = 0;
    saved.kyutyakukankaku = 4;
    saved.app_griddot = 0;
    saved.color = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F};
    saved.colorp = 0x808080;
    saved.SaveProfile(profile());
    setRegistSet(1);

    EXPECT_EQ(text("KOV_T_GridMenu", "wgrid0"), "455.3");
    EXPECT_EQ(text("KOV_T_GridMenu", "sdgrid2"), "-455.3");
    EXPECT_EQ(text("KOV_T_GridMenu", "colorp"), "8421504");

    CGrid loaded;
    loaded.InitFromProfile(profile());
    EXPECT_EQ(loaded.GridW[0], 455.3);
    EXPECT_EQ(loaded.GridD[3], 45.5);
    EXPECT_EQ(loaded.StGridW[1], -12.5);
    EXPECT_EQ(loaded.BGrid, saved.BGrid);
    EXPECT_EQ(loaded.kyutyaku, 0); // written, and now read back too
    EXPECT_EQ(loaded.kyutyakukankaku, 4);
    EXPECT_EQ(loaded.app_griddot, 0);
    EXPECT_EQ(loaded.GridMemori, 0);
    EXPECT_EQ(loaded.GridMemoriType, 1);
    EXPECT_EQ(loaded.GridModule, 1000);
    EXPECT_EQ(loaded.color, saved.color);
    EXPECT_EQ(loaded.colorp, 0x808080u);
}

TEST_F(SettingsRegistry, GridOlderKeys)
{
    setRegistSet(1);
    Profile& p = profile();
    p.WriteProfileInt("KOV_T_GridMenu", "visible", 0);
    p.WriteProfileInt("KOV_T_GridMenu", "wgrid", 1000);
    p.WriteProfileInt("KOV_T_GridMenu", "dgrid", 455);
    p.WriteProfileString("KOV_T_GridMenu", "wgrid2", "303.5");
    p.WriteProfileInt("KOV_T_GridMenu", "module", 1);
    CGrid g;
    g.InitFromProfile(p);
    EXPECT_EQ(g.GridW, (std::array<double, 5>{1000, 1000, 303.5, 1000, 1000}));
    EXPECT_EQ(g.GridD, (std::array<double, 5>{455, 455, 455, 455, 455}));
    EXPECT_EQ(g.GridModule, 1000);
    EXPECT_EQ(g.visible, 0);
    EXPECT_EQ(g.kyutyaku, 0); // without its own key the snap follows the shown switch

    p.WriteProfileInt("KOV_T_GridMenu", "module", 0);
    g.LoadProfile(p);
    EXPECT_EQ(g.GridModule, 910);
}

TEST_F(SettingsRegistry, GridKeyOrder)
{
    MemoryProfile store;
    LoggingProfile log(store);
    CGrid().SaveProfile(log);
    std::vector<std::string> spacing, starts;
    for (int i = 0; i < 5; ++i) {
        spacing.push_back("wgrid" + std::to_string(i));
        spacing.push_back("dgrid" + std::to_string(i));
        starts.push_back("swgrid" + std::to_string(i));
        starts.push_back("sdgrid" + std::to_string(i));
    }
    EXPECT_EQ(LoggingProfile::in(log.writes, "KOV_T_GridMenu"),
              join({{"visible", "kyutyaku"}, spacing, starts, numberedKeys("bgrid", 0, 4),
                    {"kyutyakukankaku", "app_griddot", "memori", "memtype", "module", "color"},
                    numberedKeys("color", 1, 4), {"colorp"}}));
    CGrid g;
    g.LoadProfile(log);
    EXPECT_EQ(LoggingProfile::in(log.reads, "KOV_T_GridMenu"),
              join({{"visible", "kyutyaku", "wgrid", "dgrid"}, spacing, starts, numberedKeys("bgrid", 0, 4),
                    {"kyutyakukankaku", "app_griddot", "memori", "memtype", "module", "color"},
                    numberedKeys("color", 1, 4), {"colorp"}}));
}

TEST_F(SettingsRegistry, FontSaveAndLoad)
{
    CFontMenu saved;
    saved.lfHeight = -18;
    saved.lfWeight = 700;
    saved.lfItalic = 1;
    saved.lfCharSet = 128;
    saved.lfQuality = 4; // never written: comes back as its reading default
    saved.lfFaceName = "IPAGothic";
    saved.m_Color = 0x00FF00;
    saved.m_size = 4.75;
    saved.m_kankaku = 0.25;
    saved.m_gyoukan = 1.5;
    saved.SetBackColorNumber(9);
    saved.m_toko_align = 2;
    saved.m_tate_align = 1;
    saved.SaveProfile(profile());
    setRegistSet(1);
    EXPECT_EQ(text("KOV_T_FontMenu", "size"), "4.750000");
    EXPECT_EQ(text("KOV_T_FontMenu", "b_color"), "8421504");

    CFontMenu loaded;
    loaded.InitFromProfile(profile());
    CFontMenu expected = saved;
    expected.lfQuality = 1;
    EXPECT_EQ(loaded, expected);
}

TEST_F(SettingsRegistry, FontKeyOrder)
{
    MemoryProfile store;
    LoggingProfile log(store);
    CFontMenu().SaveProfile(log);
    CFontMenu().SaveRoomProfile(log);
    const std::vector<std::string> common = {"height", "width", "escape", "orient", "weight", "italic", "underline",
        "strikeout", "charset", "outprecision", "clipprecision", "pitchandfamily", "name", "color", "size",
        "kankaku", "gyoukan", "b_back", "b_color"};
    EXPECT_EQ(LoggingProfile::in(log.writes, "KOV_T_FontMenu"), join({common, {"yoko_align", "tate_align"}}));
    EXPECT_EQ(LoggingProfile::in(log.writes, "KOV_T_FontMenuRoom"), common);

    CFontMenu f;
    f.LoadProfile(log);
    f.LoadRoomProfile(log);
    const std::vector<std::string> commonRead = {"height", "width", "escape", "orient", "weight", "italic",
        "underline", "strikeout", "charset", "outprecision", "clipprecision", "guality", "pitchandfamily", "name",
        "color", "size", "kankaku", "gyoukan", "b_back", "b_color"};
    EXPECT_EQ(LoggingProfile::in(log.reads, "KOV_T_FontMenu"), join({commonRead, {"yoko_align", "tate_align"}}));
    EXPECT_EQ(LoggingProfile::in(log.reads, "KOV_T_FontMenuRoom"), commonRead);
}

TEST_F(SettingsRegistry, RoomFontIsAlwaysReadAndCentred)
{
    CRoomInfo fresh(profile());
    EXPECT_EQ(fresh.m_Font.m_size, 4.2);
    EXPECT_EQ(fresh.m_Font.lfCharSet, 128);
    EXPECT_EQ(fresh.m_Font.m_toko_align, 1);
    EXPECT_EQ(fresh.m_Font.m_tate_align, 0);
    EXPECT_EQ(CRoomInfo(), fresh);

    CPlotInfo plot(profile());
    plot.m_RoomInfo.m_Font.m_size = 8.5;
    plot.m_RoomInfo.m_Font.m_toko_align = 2;
    plot.m_RoomInfo.m_Font.lfFaceName = "IPAMincho";
    plot.SaveProfile(profile()); // the room-name font goes with the plot settings
    const CRoomInfo later(profile());
    EXPECT_EQ(later.m_Font.m_size, 8.5);
    EXPECT_EQ(later.m_Font.lfFaceName, "IPAMincho");
    EXPECT_EQ(later.m_Font.m_toko_align, 1);
}

TEST_F(SettingsRegistry, ElevationSettings)
{
    CRituInfo fromEmpty;
    fromEmpty.kai = 3;
    fromEmpty.LoadProfile(profile());
    EXPECT_EQ(fromEmpty, CRituInfo());

    CRituInfo saved;
    saved.kai = 3;
    saved.baltakasa = 1234.567;
    saved.yanekoubai_b = 5.126;
    saved.lay_3 = 7;
    saved.rituno_lay = 4;
    MemoryProfile store;
    LoggingProfile log(store);
    saved.SaveProfile(log);
    EXPECT_EQ(store.GetProfileString("KOV_T_RituInfo", "baltakasa", ""), "1234.57");
    EXPECT_EQ(store.GetProfileString("KOV_T_RituInfo", "nokide", ""), "600.00");
    const std::vector<std::string> keys = {"kai", "bgaiheki1", "bgaiheki2", "btateg", "btext", "baltakasa",
        "baltoritakasa", "kisodaka", "nokidaka1", "nokidaka2", "nokidaka3", "yanekoubai_a", "yanekoubai_b",
        "nokide", "keraba", "byane", "yanetype", "lay_1", "lay_2", "lay_3", "houkou", "ritugrp_lay", "rituno_lay"};
    EXPECT_EQ(LoggingProfile::in(log.writes, "KOV_T_RituInfo"), keys);

    CRituInfo loaded;
    loaded.LoadProfile(log);
    EXPECT_EQ(LoggingProfile::in(log.reads, "KOV_T_RituInfo"), keys);
    EXPECT_EQ(loaded.baltakasa, 1234.57);
    EXPECT_EQ(loaded.yanekoubai_b, 5.13);
    loaded.baltakasa = saved.baltakasa;
    loaded.yanekoubai_b = saved.yanekoubai_b;
    EXPECT_EQ(loaded, saved);
}

TEST_F(SettingsRegistry, SavingTheDocumentSettingsEndsTheFirstRun)
{
    CPlotInfo plot(profile());
    plot.PlotMoveX = 25;
    CGrid grid;
    grid.GridModule = 1000;
    CFontMenu font;
    font.m_size = 9.0;
    EXPECT_FALSE(kov::model::settingsSaved(profile()));
    kov::model::saveDocumentSettings(profile(), plot, grid, font);
    EXPECT_TRUE(kov::model::settingsSaved(profile()));
    EXPECT_EQ(CPlotInfo(profile()).PlotMoveX, 25);
    CGrid g;
    g.InitFromProfile(profile());
    EXPECT_EQ(g.GridModule, 1000);
    CFontMenu f;
    f.InitFromProfile(profile());
    EXPECT_EQ(f.m_size, 9.0);
}

TEST_F(SettingsRegistry, ResetWritesBuiltInValues)
{
    setRegistSet(1);
    Profile& p = profile();
    p.WriteProfileInt("KOV_T_PlotMenu", "movex", 5);
    p.WriteProfileInt("KOV_T_PlotMenu", "linepita", 0);
    p.WriteProfileInt("KOV_T_GridMenu", "module", 1000);
    p.WriteProfileInt("KOV_T_RituInfo", "kai", 3);
    CPlotInfo plot(p);
    plot.laygray = 1;
    CGrid grid;
    grid.InitFromProfile(p);
    ASSERT_EQ(grid.GridModule, 1000);

    kov::model::resetSettingsToBuiltIn(p, plot, grid);
    EXPECT_FALSE(kov::model::settingsSaved(p));
    EXPECT_EQ(plot.PlotMoveX, 100);
    EXPECT_EQ(plot.laygray, 0);
    EXPECT_EQ(grid, CGrid());
    EXPECT_EQ(p.GetProfileInt("KOV_T_PlotMenu", "movex", -1), 100);
    EXPECT_EQ(p.GetProfileInt("KOV_T_PlotMenu", "linepita", -1), 1);
    EXPECT_EQ(p.GetProfileInt("KOV_T_RituInfo", "kai", -1), 2);
    // Once saved again, the written built-in values are what the store gives.
    setRegistSet(1);
    EXPECT_EQ(CPlotInfo(p).PlotMoveX, 100);
}

} // namespace
