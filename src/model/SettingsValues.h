#pragma once

// Value texts shared by the settings classes: colours as "%ld", numbers with a fixed count of
// decimals, keys with a slot number. Locale-free like platform/NumberText.h.

#include "platform/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace kov::model {

// Section names of the settings store.
inline constexpr std::string_view kSectionPlotMenu = "KOV_T_PlotMenu";
inline constexpr std::string_view kSectionGridMenu = "KOV_T_GridMenu";
inline constexpr std::string_view kSectionFontMenu = "KOV_T_FontMenu";
inline constexpr std::string_view kSectionFontMenuRoom = "KOV_T_FontMenuRoom";
inline constexpr std::string_view kSectionRituInfo = "KOV_T_RituInfo";
inline constexpr std::string_view kSectionUtility = "KOV_T_UTILITY";

// A COLORREF as the signed 32-bit long it is printed as.
inline std::string colourText(std::uint32_t colour)
{
    return kov::platform::formatInt(static_cast<std::int32_t>(colour));
}

inline std::uint32_t parseColour(std::string_view text)
{
    return static_cast<std::uint32_t>(kov::platform::parseInt(text));
}

// "%.<decimals>f" under every locale.
inline std::string formatDecimals(double value, int decimals)
{
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) return "0";
    return std::string(buf, res.ptr);
}

inline bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Matches "<prefix><n>" without regard to case, n written in decimal digits and below `count`.
// With `bareIsZero` the prefix alone names index 0 ("GridW", "PlotLineTanten").
inline bool indexedKey(std::string_view key, std::string_view prefix, int count, int& index,
                       bool bareIsZero = false)
{
    if (key.size() < prefix.size() || !equalsNoCase(key.substr(0, prefix.size()), prefix)) return false;
    std::string_view digits = key.substr(prefix.size());
    if (digits.empty()) {
        if (!bareIsZero) return false;
        index = 0;
        return true;
    }
    if (digits.size() > 2) return false;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value >= count) return false;
    index = value;
    return true;
}

} // namespace kov::model
