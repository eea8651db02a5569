#include "model/FontMenu.h"

#include "model/SettingsValues.h"
#include "platform/Cp932.h"
#include "platform/NumberText.h"

#include <tuple>

using kov::model::colourText;
using kov::model::parseColour;
using kov::platform::formatFixed;
using kov::platform::formatInt;
using kov::platform::parseDouble;
using kov::platform::parseInt;

namespace {

auto fields(const CFontMenu& f)
{
    return std::tie(f.lfHeight, f.lfWidth, f.lfEscapement, f.lfOrientation, f.lfWeight, f.lfItalic,
                    f.lfUnderline, f.lfStrikeOut, f.lfCharSet, f.lfOutPrecision, f.lfClipPrecision,
                    f.lfQuality, f.lfPitchAndFamily, f.lfFaceName, f.m_Color, f.m_size, f.m_kankaku,
                    f.m_gyoukan, f.m_bBack, f.m_BackColor, f.m_toko_align, f.m_tate_align);
}

std::uint8_t byteOf(std::string_view value)
{
    return static_cast<std::uint8_t>(parseInt(value));
}

} // namespace

bool CFontMenu::operator==(const CFontMenu& o) const
{
    return fields(*this) == fields(o);
}

std::string CFontMenu::limitFaceName(std::string_view face)
{
    // The limit counts code-page-932 bytes; the cut never splits a character.
    std::size_t bytes = 0;
    std::size_t i = 0;
    while (i < face.size()) {
        const auto lead = static_cast<unsigned char>(face[i]);
        std::size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (i + len > face.size()) len = face.size() - i;
        const std::size_t cost = kov::platform::cp932ByteLength(face.substr(i, len));
        if (bytes + cost > kMaxFaceBytes) break;
        bytes += cost;
        i += len;
    }
    return std::string(face.substr(0, i));
}

void CFontMenu::GetLogFont(LogFont& out) const
{
    out.lfHeight = lfHeight;
    out.lfWidth = lfWidth;
    out.lfEscapement = lfEscapement;
    out.lfOrientation = lfOrientation;
    out.lfWeight = lfWeight;
    out.lfItalic = lfItalic;
    out.lfUnderline = lfUnderline;
    out.lfStrikeOut = lfStrikeOut;
    out.lfCharSet = lfCharSet;
    out.lfOutPrecision = lfOutPrecision;
    out.lfClipPrecision = lfClipPrecision;
    out.lfQuality = lfQuality;
    out.lfPitchAndFamily = lfPitchAndFamily;
    out.lfFaceName = limitFaceName(lfFaceName);
}

void CFontMenu::SetLogFont(const LogFont& in)
{
    lfHeight = in.lfHeight;
    lfWidth = in.lfWidth;
    lfEscapement = in.lfEscapement;
    lfOrientation = in.lfOrientation;
    lfWeight = in.lfWeight;
    lfItalic = in.lfItalic;
    lfUnderline = in.lfUnderline;
    lfStrikeOut = in.lfStrikeOut;
    lfCharSet = in.lfCharSet;
    lfOutPrecision = in.lfOutPrecision;
    lfClipPrecision = in.lfClipPrecision;
    lfQuality = in.lfQuality;
    lfPitchAndFamily = in.lfPitchAndFamily;
    lfFaceName = limitFaceName(in.lfFaceName);
}

std::uint32_t CFontMenu::BackColorOfNumber(int number)
{
    switch (number) {
    case 2: return 0xFFFF00;
    case 3: return 0xFF00FF;
    case 4: return 0xFF0000;
    case 5: return 0x00FFFF;
    case 6: return 0x00FF80;
    case 7: return 0x0000FF;
    case 8: return 0xC0C0C0;
    case 9: return 0x808080;
    case 10: return 0x808000;
    case 11: return 0x800080;
    case 12: return 0xFF0000;
    case 13: return 0x008080;
    case 14: return 0x00FF00;
    case 15: return 0x000080;
    case 16: return 0x000000;
    default: return 0xFFFFFF;
    }
}

void CFontMenu::SetBackColorNumber(int number)
{
    m_bBack = number;
    m_BackColor = BackColorOfNumber(number);
}

int CFontMenu::WriteBlock(CArchive& ar, std::string_view block) const
{
    const bool ok = WriteStart(ar, block)
        && WriteData(ar, "Font_lfHeight", formatInt(lfHeight))
        && WriteData(ar, "Font_lfWidth", formatInt(lfWidth))
        && WriteData(ar, "Font_lfEscapement", formatInt(lfEscapement))
        && WriteData(ar, "Font_lfOrientation", formatInt(lfOrientation))
        && WriteData(ar, "Font_lfWeight", formatInt(lfWeight))
        && WriteDataInt(ar, "Font_lfItalic", lfItalic)
        && WriteDataInt(ar, "Font_lfUnderline", lfUnderline)
        && WriteDataInt(ar, "Font_lfStrikeOut", lfStrikeOut)
        && WriteDataInt(ar, "Font_lfCharSet", lfCharSet)
        && WriteDataInt(ar, "Font_lfOutPrecision", lfOutPrecision)
        && WriteDataInt(ar, "Font_lfClipPrecision", lfClipPrecision)
        && WriteDataInt(ar, "Font_lfQuality", lfQuality)
        && WriteDataInt(ar, "Font_lfPitchAndFamily", lfPitchAndFamily)
        && WriteData(ar, "Font_lfFaceName", lfFaceName)
        && WriteData(ar, "Font_m_Color", colourText(m_Color))
        && WriteDataFixed(ar, "Font_m_size", m_size)
        && WriteDataFixed(ar, "Font_m_kankaku", m_kankaku)
        && WriteDataFixed(ar, "Font_m_gyoukan", m_gyoukan)
        && WriteDataInt(ar, "Font_m_bBack", m_bBack)
        && WriteData(ar, "Font_m_BackColor", colourText(m_BackColor))
        && WriteDataInt(ar, "Font_m_toko_align", m_toko_align)
        && WriteDataInt(ar, "Font_m_tate_align", m_tate_align)
        && WriteEnd(ar, block);
    return ok ? 1 : 0;
}

CDefFile::RD_STATUS CFontMenu::OnReadStart(CArchive&, std::string_view)
{
    return RD_SKIP;
}

int CFontMenu::OnReadData(std::string_view key, std::string_view value)
{
    if (keyIs(key, "Font_lfHeight")) lfHeight = parseInt(value);
    else if (keyIs(key, "Font_lfWidth")) lfWidth = parseInt(value);
    else if (keyIs(key, "Font_lfEscapement")) lfEscapement = parseInt(value);
    else if (keyIs(key, "Font_lfOrientation")) lfOrientation = parseInt(value);
    else if (keyIs(key, "Font_lfWeight")) lfWeight = parseInt(value);
    else if (keyIs(key, "Font_lfItalic")) lfItalic = byteOf(value);
    else if (keyIs(key, "Font_lfUnderline")) lfUnderline = byteOf(value);
    else if (keyIs(key, "Font_lfStrikeOut")) lfStrikeOut = byteOf(value);
    else if (keyIs(key, "Font_lfCharSet")) lfCharSet = byteOf(value);
    else if (keyIs(key, "Font_lfOutPrecision")) lfOutPrecision = byteOf(value);
    else if (keyIs(key, "Font_lfClipPrecision")) lfClipPrecision = byteOf(value);
    else if (keyIs(key, "Font_lfQuality")) lfQuality = byteOf(value);
    else if (keyIs(key, "Font_lfPitchAndFamily")) lfPitchAndFamily = byteOf(value);
    // The face has a fixed-size field wherever it goes: cut it here, not where it is used.
    else if (keyIs(key, "Font_lfFaceName")) lfFaceName = limitFaceName(value);
    else if (keyIs(key, "Font_m_Color")) m_Color = parseColour(value);
    else if (keyIs(key, "Font_m_size")) m_size = parseDouble(value);
    else if (keyIs(key, "Font_m_kankaku")) m_kankaku = parseDouble(value);
    else if (keyIs(key, "Font_m_gyoukan")) m_gyoukan = parseDouble(value);
    else if (keyIs(key, "Font_m_bBack")) m_bBack = parseInt(value);
    else if (keyIs(key, "Font_m_BackColor")) m_BackColor = parseColour(value);
    else if (keyIs(key, "Font_m_toko_align")) m_toko_align = parseInt(value);
    else if (keyIs(key, "Font_m_tate_align")) m_tate_align = parseInt(value);
    return 1;
}
