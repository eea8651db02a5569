#include "tools/ViewSettings.h"

#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <string>

namespace kov::tools {

namespace {

using kov::model::kSectionPlotMenu;
using kov::model::kSectionUtility;
using kov::platform::Profile;

double readNumber(const Profile& p, std::string_view section, std::string_view key, std::string_view def)
{
    return kov::platform::parseDouble(p.GetProfileString(section, key, def));
}

std::string elevationKey(bool mounting, int n)
{
    return std::string(mounting ? "tool_tateg_ritutoritakasaedit_" : "tool_tateg_ritutakasaedit_")
        + kov::platform::formatInt(n);
}

// The members of ViewToolSettings in the order of Keys(); the arc tool's radius shares its key.
struct Binding {
    double ViewToolSettings::*number = nullptr;
    int ViewToolSettings::*integer = nullptr;
};

const std::vector<Binding>& bindings()
{
    using S = ViewToolSettings;
    static const std::vector<Binding> b = {
        {&S::tool_nagasa},          {&S::tool_hukusen},        {&S::tool_nisen_l},
        {&S::tool_nisen_r},         {&S::tool_hankeikotei_atai}, {nullptr, &S::tool_hankeikotei_check},
        {nullptr, &S::tool_nijyuusen_rbunkatu}, {nullptr, &S::tool_tateg_habatype}, {&S::tool_tateg_habaedit},
        {nullptr, &S::tool_tateg_atumitype}, {&S::tool_tateg_atumiedit}, {nullptr, &S::tool_tateg_color},
        {&S::mentori_kakuatai},     {&S::mentori_maruatai},    {&S::mentori_l1atai},
        {&S::mentori_l2atai},
    };
    return b;
}

} // namespace

const std::vector<ToolSettingKey>& ViewToolSettings::Keys()
{
    static const std::vector<ToolSettingKey> keys = [] {
        std::vector<ToolSettingKey> k = {
            {"tool_nagasa", true, "50"},
            {"tool_hukusen", true, "50"},
            {"tool_nisen_l", true, "50"},
            {"tool_nisen_r", true, "50"},
            {"tool_hankeikotei_atai", true, "1000"},
            {"tool_hankeikotei_check", false, "0"},
            {"tool_nijyuusen_rbunkatu", false, "24"},
            {"tool_tateg_habatype", false, "0"},
            {"tool_tateg_habaedit", true, "810"},
            {"tool_tateg_atumitype", false, "0"},
            {"tool_tateg_atumiedit", true, "100"},
            {"tool_tateg_color", false, "0"},
            {"mentori_kakuatai", true, "300"},
            {"mentori_maruatai", true, "300"},
            {"mentori_l1atai", true, "300"},
            {"mentori_l2atai", true, "300"},
        };
        static const char* const heights[] = {"1830", "2500", "900", "2500", "2500", "900",
                                              "900",  "900",  "900", "900",  "900",  "900"};
        static const char* const mountings[] = {"50", "0", "900", "0", "0", "900", "900", "900", "900", "900", "900", "900"};
        static std::vector<std::string> names;
        names.reserve(2 * kElevationFittings);
        for (int i = 0; i < kElevationFittings; ++i) names.push_back(elevationKey(false, i + 1));
        for (int i = 0; i < kElevationFittings; ++i) names.push_back(elevationKey(true, i + 1));
        for (int i = 0; i < kElevationFittings; ++i) k.push_back({names[std::size_t(i)], true, heights[i]});
        for (int i = 0; i < kElevationFittings; ++i)
            k.push_back({names[std::size_t(kElevationFittings + i)], true, mountings[i]});
        return k;
    }();
    return keys;
}

void ViewToolSettings::Load(const Profile& profile)
{
    const auto& keys = Keys();
    const auto& b = bindings();
    for (std::size_t i = 0; i < b.size(); ++i) {
        const ToolSettingKey& k = keys[i];
        if (b[i].number)
            this->*b[i].number = readNumber(profile, kSectionUtility, k.key, k.defaultText);
        else
            this->*b[i].integer = profile.GetProfileInt(kSectionUtility, k.key, kov::platform::parseInt(k.defaultText));
    }
    tool_hankeikotei_atai_arc = tool_hankeikotei_atai;
    for (int i = 0; i < kElevationFittings; ++i) {
        const ToolSettingKey& h = keys[b.size() + std::size_t(i)];
        const ToolSettingKey& m = keys[b.size() + kElevationFittings + std::size_t(i)];
        ritutakasa[std::size_t(i)] = readNumber(profile, kSectionUtility, h.key, h.defaultText);
        ritutoritakasa[std::size_t(i)] = readNumber(profile, kSectionUtility, m.key, m.defaultText);
    }
}

void ViewToolSettings::SaveFittingsAndElevations(Profile& profile) const
{
    auto text = [](double v) { return kov::model::formatDecimals(v, 2); };
    profile.WriteProfileInt(kSectionUtility, "tool_tateg_habatype", tool_tateg_habatype);
    profile.WriteProfileString(kSectionUtility, "tool_tateg_habaedit", text(tool_tateg_habaedit));
    profile.WriteProfileInt(kSectionUtility, "tool_tateg_atumitype", tool_tateg_atumitype);
    profile.WriteProfileString(kSectionUtility, "tool_tateg_atumiedit", text(tool_tateg_atumiedit));
    profile.WriteProfileInt(kSectionUtility, "tool_tateg_color", tool_tateg_color);
    for (int i = 0; i < kElevationFittings; ++i) {
        profile.WriteProfileString(kSectionUtility, elevationKey(false, i + 1), text(ritutakasa[std::size_t(i)]));
        profile.WriteProfileString(kSectionUtility, elevationKey(true, i + 1), text(ritutoritakasa[std::size_t(i)]));
    }
}

void TextPanelValues::Load(const Profile& p)
{
    vertical = false;
    mozi_kakudo = p.GetProfileInt(kSectionPlotMenu, "mozi_kakudo", 0);
}

void DecoratedTextValues::Start(const CFontMenu& documentFont, const Profile& p)
{
    font = documentFont;
    font.m_size = readNumber(p, kSectionPlotMenu, "text_huchisize", "10");
    font.m_kankaku = 0;
    font.m_gyoukan = 0;
    frameThickness = readNumber(p, kSectionPlotMenu, "text_huchiatsumi", "1");
    if (frameThickness < kMinFrame || frameThickness > kMaxFrame) frameThickness = 1;
    textColour = kov::model::parseColour(p.GetProfileString(kSectionPlotMenu, "text_huchicol1", kov::model::colourText(0xFFFFFF)));
    frameColour = kov::model::parseColour(p.GetProfileString(kSectionPlotMenu, "text_huchicol2", kov::model::colourText(0)));
    shape = 0;
    slant = 5;
    framesOnly = 1;
    opacity = 100;
    vertical = false;
    SetVertical(false);
}

bool DecoratedTextValues::SetFrameThickness(double value)
{
    if (!(value >= kMinFrame && value <= kMaxFrame)) return false;
    frameThickness = value;
    return true;
}

void DecoratedTextValues::SetVertical(bool on)
{
    vertical = on;
    const bool hasAt = !font.lfFaceName.empty() && font.lfFaceName.front() == '@';
    if (on) {
        if (!hasAt) font.lfFaceName.insert(0, "@");
        font.lfEscapement = 2700;
    } else {
        if (hasAt) font.lfFaceName.erase(0, 1);
        font.lfEscapement = 0;
    }
}

std::string_view BalloonValues::ShapeLabel(int s)
{
    static constexpr std::string_view labels[] = {"四角形", "角丸四角", "楕円"};
    return s >= 0 && s < 3 ? labels[s] : std::string_view{};
}

std::string_view BalloonValues::SideLabel(int s)
{
    static constexpr std::string_view labels[] = {"上", "左", "下", "右"};
    return s >= 0 && s < 4 ? labels[s] : std::string_view{};
}

std::array<std::string_view, 3> BalloonValues::PositionLabels(int side)
{
    switch (side) {
    case TOP: return {"右", "中", "左"};
    case LEFT: return {"上", "中", "下"};
    case RIGHT: return {"下", "中", "上"};
    default: return {"左端", "中", "右端"};
    }
}

double AcceptedScale(double requested, double current)
{
    return requested >= 0.01 && requested < 10000 ? requested : current;
}

std::string_view ToggleArcSegment(int& arcSegment, int collectedPoints)
{
    if (arcSegment) {
        arcSegment = 0;
        return {};
    }
    if (collectedPoints < 2) return kArcNeedsTwoPointsMessage;
    arcSegment = 1;
    return {};
}

} // namespace kov::tools
