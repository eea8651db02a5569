#pragma once

// Colours as drawings store them: Windows COLORREF values, 0x00BBGGRR (red in the low byte).

#include <QColor>

#include <cstdint>

namespace kov::platform {

using COLORREF = uint32_t;

constexpr COLORREF rgbColor(uint8_t red, uint8_t green, uint8_t blue)
{
    return COLORREF(red) | (COLORREF(green) << 8) | (COLORREF(blue) << 16);
}
constexpr uint8_t redOf(COLORREF c) { return uint8_t(c & 0xFF); }
constexpr uint8_t greenOf(COLORREF c) { return uint8_t((c >> 8) & 0xFF); }
constexpr uint8_t blueOf(COLORREF c) { return uint8_t((c >> 16) & 0xFF); }

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;

// The high byte of a COLORREF (palette flags on Windows) carries no colour and is ignored.
inline QColor toQColor(COLORREF c, uint8_t alpha = 255)
{
    return QColor(redOf(c), greenOf(c), blueOf(c), alpha);
}

inline COLORREF fromQColor(const QColor& c)
{
    return rgbColor(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
}

// 0..100 per cent to an 8-bit alpha, truncated as the drawings' opacity has always been.
constexpr uint8_t alphaFromPercent(int percent)
{
    return percent <= 0 ? 0 : percent >= 100 ? 255 : uint8_t(percent * 255 / 100);
}

} // namespace kov::platform
