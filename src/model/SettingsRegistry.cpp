// Loading and saving the settings classes in the settings store (sections KOV_T_PlotMenu,
// KOV_T_GridMenu, KOV_T_FontMenu, KOV_T_FontMenuRoom, KOV_T_RituInfo).

#include "model/SettingsRegistry.h"

#include "model/FontMenu.h"
#include "model/Grid.h"
#include "model/Layer.h"
#include "model/PlotInfo.h"
#include "model/RituInfo.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/PathUL.h"
#include "platform/Profile.h"

#include <cmath>
#include <string>

using kov::platform::formatFixed;
using kov::platform::formatInt;
using kov::platform::parseDouble;
using kov::platform::parseInt;
using kov::platform::Profile;

namespace kov::model {
namespace {

// Numbers with decimals and colours are stored as text; text that is no number reads as 0.
double readDouble(Profile& p, std::string_view section, std::string_view key, std::string_view def)
{
    return parseDouble(p.GetProfileString(section, key, def));
}

int readTextInt(Profile& p, std::string_view section, std::string_view key, std::string_view def)
{
    return parseInt(p.GetProfileString(section, key, def));
}

std::uint32_t readColour(Profile& p, std::string_view section, std::string_view key, std::uint32_t def)
{
    return parseColour(p.GetProfileString(section, key, colourText(def)));
}

void writeColour(Profile& p, std::string_view section, std::string_view key, std::uint32_t colour)
{
    p.WriteProfileString(section, key, colourText(colour));
}

// `scale` to every group, then each group from its text key, whose default is the text of the
// older whole-number key (0 meaning 100). A scale of 0 or below is a divisor nobody can use.
void readScales(Profile& p, CLayer& layer)
{
    int all = p.GetProfileInt(kSectionPlotMenu, "scale", 100);
    if (!CLayer::ValidScale(all)) all = 100;
    for (int g = 0; g < CLayer::kUsed; ++g) {
        const auto i = static_cast<std::size_t>(g);
        layer.m_dScale[i] = all;
        int whole = p.GetProfileInt(kSectionPlotMenu, numberedKey("scale", g), 0);
        if (whole <= 0) whole = 100;
        const double scale = readDouble(p, kSectionPlotMenu, numberedKey("dscale", g), formatFixed(whole));
        if (CLayer::ValidScale(scale)) layer.m_dScale[i] = scale;
    }
}

int validMarkIndex(int value, int fallback)
{
    return value >= 0 && value < CPlotInfo::kMarkSizes ? value : fallback;
}

} // namespace

bool settingsSaved(Profile& profile)
{
    return profile.GetProfileInt(kSectionUtility, "registset", 0) != 0;
}

void saveDocumentSettings(Profile& profile, const CPlotInfo& plot, const CGrid& grid, const CFontMenu& font)
{
    plot.SaveProfile(profile);
    grid.SaveProfile(profile);
    font.SaveProfile(profile);
    profile.WriteProfileInt(kSectionUtility, "registset", 1);
}

void resetSettingsToBuiltIn(Profile& profile, CPlotInfo& plot, CGrid& grid, std::string_view programFolder)
{
    profile.WriteProfileInt(kSectionUtility, "registset", 0);
    plot.InitFromProfile(profile, programFolder);
    plot.SaveProfile(profile);
    grid.InitFromProfile(profile);
    CRituInfo ritu;
    ritu.SetDefaults();
    ritu.SaveProfile(profile);
}

} // namespace kov::model

using namespace kov::model;

// ---- dash table ----

namespace {

constexpr const char* kDashKeys[LinePichTable::kCount] = {
    "linepich_dash_0",        "linepich_dash_1",        "linepich_dot_0",         "linepich_dot_1",
    "linepich_dashdot_0",     "linepich_dashdot_1",     "linepich_dashdot_2",     "linepich_dashdot_3",
    "linepich_dashdotdot_0",  "linepich_dashdotdot_1",  "linepich_dashdotdot_2",  "linepich_dashdotdot_3",
    "linepich_dashdotdot_4",  "linepich_dashdotdot_5"};

constexpr const char* kDashDefaults[LinePichTable::kCount] = {
    "3.75", "1.25", "0.75", "0.75", "6.25", "1.25", "1.25", "1.25", "3.25", "1.25", "1.25", "1.25", "1.25", "1.25"};

} // namespace

void LinePichTable::LoadProfile(Profile& profile)
{
    for (int i = 0; i < kCount; ++i) {
        const double length = readDouble(profile, kSectionPlotMenu, kDashKeys[i], kDashDefaults[i]);
        // A length the float cannot hold, a negative one or no number keeps the default: the dash
        // walk steps by these lengths.
        const bool sane = std::isfinite(length) && length >= 0.0 && length <= 1e6;
        pich[static_cast<std::size_t>(i)] = static_cast<float>(sane ? length : parseDouble(kDashDefaults[i]));
    }
}

void LinePichTable::SaveProfile(Profile& profile) const
{
    for (int i = 0; i < kCount; ++i)
        profile.WriteProfileString(kSectionPlotMenu, kDashKeys[i], formatFixed(pich[static_cast<std::size_t>(i)]));
}

// ---- plot settings ----

std::string CPlotInfo::DataFolder(Profile& profile, std::string_view programFolder)
{
    std::string base(programFolder);
    if (profile.GetProfileInt(kSectionUtility, "path_data_flg", 0) != 0)
        base = profile.GetProfileString(kSectionUtility, "path_set_forda", programFolder);
    if (base.empty()) return "data";
    return CPathUL::MixPath(base, "data");
}

void CPlotInfo::InitFromProfile(Profile& profile, std::string_view programFolder)
{
    if (settingsSaved(profile)) {
        LoadProfile(profile, programFolder);
    } else {
        SetBuiltInDefaults();
        for (int i = 0; i < kMarkSizes; ++i) {
            const auto n = static_cast<std::size_t>(i);
            keij_pich[n] = readDouble(profile, kSectionPlotMenu, numberedKey("keij_pich_", i + 1), formatFixed(keij_pich[n]));
        }
        m_strDataPath = DataFolder(profile, programFolder);
    }
    m_Layer.LoadScaleProfile(profile);
    ResetStyleSlots();
    PlotLineYaWide = 1;
}

void CPlotInfo::LoadProfile(Profile& profile, std::string_view programFolder)
{
    const auto sec = kSectionPlotMenu;
    Profile& p = profile;
    PlotPaperSize = p.GetProfileInt(sec, "ensize", 0);
    PlotPaperSizeUserX = p.GetProfileInt(sec, "sizeuserx", 297);
    PlotPaperSizeUserY = p.GetProfileInt(sec, "sizeusery", 210);
    PlotWallBlack = p.GetProfileInt(sec, "wallblack", 1);
    PlotWallColor = readColour(p, sec, "wallcolor", 0);
    // Written with the other settings, so read back too (a missing key gives 0 as before).
    PlotHasiraColor = p.GetProfileInt(sec, "hasiracolor", 0);
    PlotSirokuro = p.GetProfileInt(sec, "sirokuro", 0);
    PlotGradation = p.GetProfileInt(sec, "gradation_view", 0);
    const int wallWhole = p.GetProfileInt(sec, "wallwide", 50);
    PlotWallWide = readDouble(p, sec, "wallwided", formatInt(wallWhole));
    const int hasiraWhole = p.GetProfileInt(sec, "hasirawide", 50);
    PlotHasiraWide = readDouble(p, sec, "hasirawided", formatInt(hasiraWhole));
    walltype = p.GetProfileInt(sec, "walltype", 0);
    hasiratype = p.GetProfileInt(sec, "hasiratype", 0);
    readScales(p, m_Layer);
    PlotLinePita = p.GetProfileInt(sec, "linepita", 0);
    PlotWallPita = p.GetProfileInt(sec, "wallpita", 0);
    PlotSunpoTextHeight = p.GetProfileInt(sec, "sunpotextheight", 3);
    PlotSunpoTextView = p.GetProfileInt(sec, "sunpotextview", 1);
    PlotSunpoFont = CFontMenu::limitFaceName(p.GetProfileString(sec, "sunpofont", "ＭＳ ゴシック"));
    PlotSunpokurai = p.GetProfileInt(sec, "sunpokurai", 0);
    PlotSunpoOffset = p.GetProfileInt(sec, "sunpoOffset", 0);
    PlotMoveX = p.GetProfileInt(sec, "movex", 0);
    PlotMoveY = p.GetProfileInt(sec, "movey", 0);
    PlotImageWidth = p.GetProfileInt(sec, "imagew", 60);
    PlotImageHeight = p.GetProfileInt(sec, "imageh", 60);
    (void)p.GetProfileString(sec, "grouppath", ""); // read and not used
    m_strDataPath = DataFolder(p, programFolder);
    const CPlotInfo& defaults = builtIn();
    for (int i = 0; i < kWidthCodes; ++i) {
        const auto n = static_cast<std::size_t>(i);
        linehutosag[n] = p.GetProfileInt(sec, numberedKey("linehutosag_", i), defaults.linehutosag[n]);
    }
    for (int i = 0; i < kWidthCodes; ++i) {
        const auto n = static_cast<std::size_t>(i);
        linehutosap[n] = p.GetProfileInt(sec, numberedKey("linehutosap_", i), defaults.linehutosap[n]);
    }
    static constexpr const char* kMarkDefaults[kMarkSizes] = {"0.6", "1.0", "1.66", "2.5", "4.0"};
    for (int i = 0; i < kMarkSizes; ++i)
        keij_pich[static_cast<std::size_t>(i)] = readDouble(p, sec, numberedKey("keij_pich_", i + 1), kMarkDefaults[i]);
    laygray = p.GetProfileInt(sec, "laygray", 1);
    m_LinePichTable.LoadProfile(p);
    PlotSunpoTanten = p.GetProfileInt(sec, "sunpotanten", 0);
    // end-mark size indices pick from the five sizes: outside 0-4 take the default
    PlotSunpoYawide = validMarkIndex(p.GetProfileInt(sec, "sunpoyawide", 2), 2);
    PlotSunpoTani = p.GetProfileInt(sec, "sunpotani", 0);
    PlotSunpoKugiri = p.GetProfileInt(sec, "sunpokugiri", 0);
    PlotLineYaWide = validMarkIndex(p.GetProfileInt(sec, "yawide", 1), 1);
}

void CPlotInfo::SaveProfile(Profile& profile) const
{
    const auto sec = kSectionPlotMenu;
    Profile& p = profile;
    p.WriteProfileInt(sec, "ensize", PlotPaperSize);
    p.WriteProfileInt(sec, "sizeuserx", PlotPaperSizeUserX);
    p.WriteProfileInt(sec, "sizeusery", PlotPaperSizeUserY);
    p.WriteProfileInt(sec, "wallblack", PlotWallBlack);
    writeColour(p, sec, "wallcolor", PlotWallColor);
    p.WriteProfileInt(sec, "hasiracolor", PlotHasiraColor);
    p.WriteProfileString(sec, "wallwided", formatFixed(PlotWallWide));
    p.WriteProfileString(sec, "hasirawided", formatFixed(PlotHasiraWide));
    p.WriteProfileInt(sec, "walltype", walltype);
    p.WriteProfileInt(sec, "hasiratype", hasiratype);
    p.WriteProfileInt(sec, "sirokuro", PlotSirokuro);
    p.WriteProfileInt(sec, "gradation_view", PlotGradation);
    p.WriteProfileInt(sec, "scale", m_Layer.WholeScale());
    for (int g = 0; g < CLayer::kUsed; ++g)
        p.WriteProfileString(sec, numberedKey("dscale", g), formatFixed(m_Layer.m_dScale[static_cast<std::size_t>(g)]));
    p.WriteProfileInt(sec, "linepita", PlotLinePita);
    p.WriteProfileInt(sec, "wallpita", PlotWallPita);
    p.WriteProfileInt(sec, "sunpotextheight", PlotSunpoTextHeight);
    p.WriteProfileInt(sec, "sunpotextview", PlotSunpoTextView);
    p.WriteProfileString(sec, "sunpofont", PlotSunpoFont);
    p.WriteProfileInt(sec, "sunpokurai", PlotSunpokurai);
    p.WriteProfileInt(sec, "sunpoOffset", PlotSunpoOffset);
    p.WriteProfileInt(sec, "movex", PlotMoveX);
    p.WriteProfileInt(sec, "movey", PlotMoveY);
    p.WriteProfileInt(sec, "imagew", PlotImageWidth);
    p.WriteProfileInt(sec, "imageh", PlotImageHeight);
    for (int i = 0; i < kWidthCodes; ++i)
        p.WriteProfileInt(sec, numberedKey("linehutosag_", i), linehutosag[static_cast<std::size_t>(i)]);
    for (int i = 0; i < kWidthCodes; ++i)
        p.WriteProfileInt(sec, numberedKey("linehutosap_", i), linehutosap[static_cast<std::size_t>(i)]);
    for (int i = 0; i < kMarkSizes; ++i)
        p.WriteProfileString(sec, numberedKey("keij_pich_", i + 1), formatFixed(keij_pich[static_cast<std::size_t>(i)]));
    p.WriteProfileInt(sec, "laygray", laygray);
    p.WriteProfileInt(sec, "sunpotanten", PlotSunpoTanten);
    p.WriteProfileInt(sec, "sunpoyawide", PlotSunpoYawide);
    p.WriteProfileInt(sec, "sunpotani", PlotSunpoTani);
    p.WriteProfileInt(sec, "sunpokugiri", PlotSunpoKugiri);
    p.WriteProfileInt(sec, "yawide", PlotLineYaWide);
    m_LinePichTable.SaveProfile(p);
    m_RoomInfo.m_Font.SaveRoomProfile(p);
}

// ---- layer table ----

void CLayer::LoadScaleProfile(Profile& profile)
{
    m_nCurrentGroup = 0;
    m_nCurrentLayer = 0;
    // Records 16 and 17 are not in use and keep what they hold.
    for (int g = 0; g < kUsed; ++g) {
        for (int l = 0; l < kUsed; ++l)
            m_LayerInfo[static_cast<std::size_t>(g)][static_cast<std::size_t>(l)] = CLayerInfo();
        m_GrpLayerInfo[static_cast<std::size_t>(g)] = CLayerInfo();
    }
    readScales(profile, *this);
}

// ---- grid ----

void CGrid::InitFromProfile(Profile& profile)
{
    if (settingsSaved(profile)) LoadProfile(profile);
    else SetBuiltInDefaults();
}

void CGrid::LoadProfile(Profile& profile)
{
    const auto sec = kSectionGridMenu;
    Profile& p = profile;
    visible = p.GetProfileInt(sec, "visible", 1);
    // The snap switch is written beside `visible`; a store without it keeps the old rule (snap = shown).
    kyutyaku = p.GetProfileInt(sec, "kyutyaku", visible);
    int wDefault = p.GetProfileInt(sec, "wgrid", 910);
    int dDefault = p.GetProfileInt(sec, "dgrid", 910);
    // A spacing divides the view into grid lines: 0 or below falls back to the older key, then 910.
    if (wDefault <= 0) wDefault = 910;
    if (dDefault <= 0) dDefault = 910;
    for (int i = 0; i < kGrids; ++i) {
        const auto n = static_cast<std::size_t>(i);
        const double w = readDouble(p, sec, numberedKey("wgrid", i), formatInt(wDefault));
        GridW[n] = std::isfinite(w) && w > 0.0 ? w : wDefault;
        const double d = readDouble(p, sec, numberedKey("dgrid", i), formatInt(dDefault));
        GridD[n] = std::isfinite(d) && d > 0.0 ? d : dDefault;
    }
    for (int i = 0; i < kGrids; ++i) {
        const auto n = static_cast<std::size_t>(i);
        StGridW[n] = readDouble(p, sec, numberedKey("swgrid", i), "0");
        StGridD[n] = readDouble(p, sec, numberedKey("sdgrid", i), "0");
    }
    for (int i = 0; i < kGrids; ++i)
        BGrid[static_cast<std::size_t>(i)] = p.GetProfileInt(sec, numberedKey("bgrid", i), i == 0 ? 1 : 0);
    kyutyakukankaku = p.GetProfileInt(sec, "kyutyakukankaku", 1);
    if (kyutyakukankaku <= 0) kyutyakukankaku = 1; // snap points per spacing: a divisor
    app_griddot = p.GetProfileInt(sec, "app_griddot", 1);
    GridMemori = p.GetProfileInt(sec, "memori", 1);
    GridMemoriType = p.GetProfileInt(sec, "memtype", 1);
    GridModule = ModuleFromCode(p.GetProfileInt(sec, "module", 910));
    const CGrid defaults;
    color[0] = readColour(p, sec, "color", defaults.color[0]);
    for (int i = 1; i < kGrids; ++i) {
        const auto n = static_cast<std::size_t>(i);
        color[n] = readColour(p, sec, numberedKey("color", i), defaults.color[n]);
    }
    colorp = readColour(p, sec, "colorp", 0);
}

void CGrid::SaveProfile(Profile& profile) const
{
    const auto sec = kSectionGridMenu;
    Profile& p = profile;
    p.WriteProfileInt(sec, "visible", visible);
    p.WriteProfileInt(sec, "kyutyaku", kyutyaku);
    for (int i = 0; i < kGrids; ++i) {
        const auto n = static_cast<std::size_t>(i);
        p.WriteProfileString(sec, numberedKey("wgrid", i), formatDecimals(GridW[n], 1));
        p.WriteProfileString(sec, numberedKey("dgrid", i), formatDecimals(GridD[n], 1));
    }
    for (int i = 0; i < kGrids; ++i) {
        const auto n = static_cast<std::size_t>(i);
        p.WriteProfileString(sec, numberedKey("swgrid", i), formatDecimals(StGridW[n], 1));
        p.WriteProfileString(sec, numberedKey("sdgrid", i), formatDecimals(StGridD[n], 1));
    }
    for (int i = 0; i < kGrids; ++i) p.WriteProfileInt(sec, numberedKey("bgrid", i), BGrid[static_cast<std::size_t>(i)]);
    p.WriteProfileInt(sec, "kyutyakukankaku", kyutyakukankaku);
    p.WriteProfileInt(sec, "app_griddot", app_griddot);
    p.WriteProfileInt(sec, "memori", GridMemori);
    p.WriteProfileInt(sec, "memtype", GridMemoriType);
    p.WriteProfileInt(sec, "module", GridModule);
    writeColour(p, sec, "color", color[0]);
    for (int i = 1; i < kGrids; ++i) writeColour(p, sec, numberedKey("color", i), color[static_cast<std::size_t>(i)]);
    writeColour(p, sec, "colorp", colorp);
}

// ---- fonts ----

void CFontMenu::setBuiltIn(std::int32_t height)
{
    *this = CFontMenu();
    lfHeight = height;
}

void CFontMenu::InitFromProfile(Profile& profile)
{
    if (settingsSaved(profile)) LoadProfile(profile);
    else setBuiltIn(9);
}

void CFontMenu::ResetFromProfile(Profile& profile)
{
    if (settingsSaved(profile)) LoadProfile(profile);
    else setBuiltIn(0);
}

void CFontMenu::loadSection(Profile& p, std::string_view sec, std::string_view sizeDefault)
{
    lfHeight = readTextInt(p, sec, "height", "9");
    lfWidth = readTextInt(p, sec, "width", "0");
    lfEscapement = readTextInt(p, sec, "escape", "0");
    lfOrientation = readTextInt(p, sec, "orient", "0");
    lfWeight = readTextInt(p, sec, "weight", "400");
    auto byte = [&](const char* key, int def) { return static_cast<std::uint8_t>(p.GetProfileInt(sec, key, def)); };
    lfItalic = byte("italic", 0);
    lfUnderline = byte("underline", 0);
    lfStrikeOut = byte("strikeout", 0);
    lfCharSet = byte("charset", 128);
    lfOutPrecision = byte("outprecision", 3);
    lfClipPrecision = byte("clipprecision", 2);
    lfQuality = byte("guality", 1); // the key as the store has always spelt it; never written
    lfPitchAndFamily = byte("pitchandfamily", 49);
    lfFaceName = limitFaceName(p.GetProfileString(sec, "name", "ＭＳ ゴシック"));
    m_Color = readColour(p, sec, "color", 0);
    m_size = readDouble(p, sec, "size", sizeDefault);
    m_kankaku = readDouble(p, sec, "kankaku", "0");
    m_gyoukan = readDouble(p, sec, "gyoukan", "0");
    m_bBack = p.GetProfileInt(sec, "b_back", 0);
    m_BackColor = readColour(p, sec, "b_color", 0xFFFFFF);
}

void CFontMenu::saveSection(Profile& p, std::string_view sec) const
{
    p.WriteProfileString(sec, "height", formatInt(lfHeight));
    p.WriteProfileString(sec, "width", formatInt(lfWidth));
    p.WriteProfileString(sec, "escape", formatInt(lfEscapement));
    p.WriteProfileString(sec, "orient", formatInt(lfOrientation));
    p.WriteProfileString(sec, "weight", formatInt(lfWeight));
    p.WriteProfileInt(sec, "italic", lfItalic);
    p.WriteProfileInt(sec, "underline", lfUnderline);
    p.WriteProfileInt(sec, "strikeout", lfStrikeOut);
    p.WriteProfileInt(sec, "charset", lfCharSet);
    p.WriteProfileInt(sec, "outprecision", lfOutPrecision);
    p.WriteProfileInt(sec, "clipprecision", lfClipPrecision);
    p.WriteProfileInt(sec, "pitchandfamily", lfPitchAndFamily);
    p.WriteProfileString(sec, "name", lfFaceName);
    writeColour(p, sec, "color", m_Color);
    p.WriteProfileString(sec, "size", formatFixed(m_size));
    p.WriteProfileString(sec, "kankaku", formatFixed(m_kankaku));
    p.WriteProfileString(sec, "gyoukan", formatFixed(m_gyoukan));
    p.WriteProfileInt(sec, "b_back", m_bBack);
    writeColour(p, sec, "b_color", m_BackColor);
}

void CFontMenu::LoadProfile(Profile& profile)
{
    loadSection(profile, kSectionFontMenu, "3.5");
    m_toko_align = profile.GetProfileInt(kSectionFontMenu, "yoko_align", 0);
    m_tate_align = profile.GetProfileInt(kSectionFontMenu, "tate_align", 0);
}

void CFontMenu::SaveProfile(Profile& profile) const
{
    saveSection(profile, kSectionFontMenu);
    profile.WriteProfileInt(kSectionFontMenu, "yoko_align", m_toko_align);
    profile.WriteProfileInt(kSectionFontMenu, "tate_align", m_tate_align);
}

void CFontMenu::LoadRoomProfile(Profile& profile)
{
    // Room labels are always centred across and set from the top.
    loadSection(profile, kSectionFontMenuRoom, "4.2");
    m_toko_align = 1;
    m_tate_align = 0;
}

void CFontMenu::SaveRoomProfile(Profile& profile) const
{
    saveSection(profile, kSectionFontMenuRoom);
}

// ---- elevations ----

void CRituInfo::LoadProfile(Profile& profile)
{
    const auto sec = kSectionRituInfo;
    Profile& p = profile;
    // Floors, layers and layer groups pick from tables: a value outside them keeps the default.
    const auto within = [](int value, int low, int high, int fallback) {
        return value >= low && value <= high ? value : fallback;
    };
    constexpr int kLast = CLayer::kUsed - 1;
    kai = within(p.GetProfileInt(sec, "kai", 2), 1, 3, 2);
    bgaiheki1 = p.GetProfileInt(sec, "bgaiheki1", 1);
    bgaiheki2 = p.GetProfileInt(sec, "bgaiheki2", 1);
    btateg = p.GetProfileInt(sec, "btateg", 1);
    btext = p.GetProfileInt(sec, "btext", 1);
    baltakasa = readDouble(p, sec, "baltakasa", "1100");
    baltoritakasa = readDouble(p, sec, "baltoritakasa", "0");
    kisodaka = readDouble(p, sec, "kisodaka", "400");
    nokidaka1 = readDouble(p, sec, "nokidaka1", "3400");
    nokidaka2 = readDouble(p, sec, "nokidaka2", "6200");
    nokidaka3 = readDouble(p, sec, "nokidaka3", "9000");
    yanekoubai_a = readDouble(p, sec, "yanekoubai_a", "10");
    yanekoubai_b = readDouble(p, sec, "yanekoubai_b", "4.5");
    nokide = readDouble(p, sec, "nokide", "600");
    keraba = readDouble(p, sec, "keraba", "450");
    byane = p.GetProfileInt(sec, "byane", 1);
    yanetype = p.GetProfileInt(sec, "yanetype", 0);
    lay_1 = within(p.GetProfileInt(sec, "lay_1", 0), 0, kLast, 0);
    lay_2 = within(p.GetProfileInt(sec, "lay_2", 1), 0, kLast, 1);
    lay_3 = within(p.GetProfileInt(sec, "lay_3", 2), 0, kLast, 2);
    houkou = p.GetProfileInt(sec, "houkou", 0);
    ritugrp_lay = within(p.GetProfileInt(sec, "ritugrp_lay", 2), 0, kLast, 2);
    rituno_lay = within(p.GetProfileInt(sec, "rituno_lay", 0), 0, kLast, 0);
}

void CRituInfo::SaveProfile(Profile& profile) const
{
    const auto sec = kSectionRituInfo;
    Profile& p = profile;
    p.WriteProfileInt(sec, "kai", kai);
    p.WriteProfileInt(sec, "bgaiheki1", bgaiheki1);
    p.WriteProfileInt(sec, "bgaiheki2", bgaiheki2);
    p.WriteProfileInt(sec, "btateg", btateg);
    p.WriteProfileInt(sec, "btext", btext);
    p.WriteProfileString(sec, "baltakasa", formatDecimals(baltakasa, 2));
    p.WriteProfileString(sec, "baltoritakasa", formatDecimals(baltoritakasa, 2));
    p.WriteProfileString(sec, "kisodaka", formatDecimals(kisodaka, 2));
    p.WriteProfileString(sec, "nokidaka1", formatDecimals(nokidaka1, 2));
    p.WriteProfileString(sec, "nokidaka2", formatDecimals(nokidaka2, 2));
    p.WriteProfileString(sec, "nokidaka3", formatDecimals(nokidaka3, 2));
    p.WriteProfileString(sec, "yanekoubai_a", formatDecimals(yanekoubai_a, 2));
    p.WriteProfileString(sec, "yanekoubai_b", formatDecimals(yanekoubai_b, 2));
    p.WriteProfileString(sec, "nokide", formatDecimals(nokide, 2));
    p.WriteProfileString(sec, "keraba", formatDecimals(keraba, 2));
    p.WriteProfileInt(sec, "byane", byane);
    p.WriteProfileInt(sec, "yanetype", yanetype);
    p.WriteProfileInt(sec, "lay_1", lay_1);
    p.WriteProfileInt(sec, "lay_2", lay_2);
    p.WriteProfileInt(sec, "lay_3", lay_3);
    p.WriteProfileInt(sec, "houkou", houkou);
    p.WriteProfileInt(sec, "ritugrp_lay", ritugrp_lay);
    p.WriteProfileInt(sec, "rituno_lay", rituno_lay);
}
