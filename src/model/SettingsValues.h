#pragma once

// Value texts shared by the settings classes and the drawing objects: colours as "%ld", numbers with
// a fixed count of decimals, keys with a slot number. Locale-free like platform/NumberText.h.

#include "platform/NumberText.h"

#include <algorithm>
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

// As the C library's integer conversion: blanks, a sign, the digits. Both the signed form and the
// unsigned one (0xFFFFFFFF as "4294967295") give the same colour; a negative value wraps as the 32-bit
// colour it was written from, and more than 32 bits saturate.
inline std::uint32_t parseColour(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    constexpr long long kMax = 0xFFFFFFFFLL;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(kMax, value * 10 + (text[i] - '0'));
    return static_cast<std::uint32_t>(negative ? -value : value);
}

// "%.<decimals>f" under every locale.
inline std::string formatDecimals(double value, int decimals)
{
    return kov::platform::formatFixed(value, decimals);
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

// "<prefix><n>", the key of slot n; with `bareIsZero` slot 0 is the prefix alone. The writing side
// of indexedKey.
inline std::string numberedKey(std::string_view prefix, int n, bool bareIsZero = false)
{
    std::string key(prefix);
    if (n != 0 || !bareIsZero) key += kov::platform::formatInt(n);
    return key;
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
