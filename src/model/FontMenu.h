#pragma once

// A text font: the document's font for new texts, each text object's own font and the room-name font.

#include "model/DefFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kov::platform {
class Profile;
class Surface;
}

// The thirteen logical-font fields in the widths and order of a Windows LOGFONT, with the face name.
struct LogFont {
    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    std::string lfFaceName; // UTF-8; at most kMaxFaceBytes code-page-932 bytes

    bool operator==(const LogFont&) const = default;
};

class CFontMenu : public CDefFile {
public:
    // The face field holds 32 bytes with its terminator.
    static constexpr std::size_t kMaxFaceBytes = 31;

    std::int32_t lfHeight = 9;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;   // tenths of a degree, counter-clockwise
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 400;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 1;
    std::uint8_t lfOutPrecision = 3;
    std::uint8_t lfClipPrecision = 2;
    std::uint8_t lfQuality = 1;
    std::uint8_t lfPitchAndFamily = 0x31;
    std::string lfFaceName = "ＭＳ ゴシック"; // a leading "@" selects vertical writing
    std::uint32_t m_Color = 0;              // COLORREF 0x00BBGGRR
    double m_size = 6.5;                    // text height, paper millimetres
    double m_kankaku = 0.0;                 // extra space between characters
    double m_gyoukan = 0.0;                 // extra space between lines
    int m_bBack = 0;                        // background colour number; not 0 means on
    std::uint32_t m_BackColor = 0xFFFFFF;
    int m_toko_align = 0;                   // 0 left, 1 centre, 2 right
    int m_tate_align = 0;                   // 0 top, 1 middle, 2 bottom

    CFontMenu() = default;
    CFontMenu(const CFontMenu&) = default;
    CFontMenu& operator=(const CFontMenu&) = default;
    ~CFontMenu() override = default;

    bool operator==(const CFontMenu& o) const;
    bool operator!=(const CFontMenu& o) const { return !(*this == o); }

    // The document's font (height 9 when built-in) and the fallback font of text drawing (height 0).
    void InitFromProfile(kov::platform::Profile& profile);
    void ResetFromProfile(kov::platform::Profile& profile);
    void LoadProfile(kov::platform::Profile& profile);        // KOV_T_FontMenu
    void SaveProfile(kov::platform::Profile& profile) const;
    void LoadRoomProfile(kov::platform::Profile& profile);    // KOV_T_FontMenuRoom
    void SaveRoomProfile(kov::platform::Profile& profile) const;

    int WriteBlock(CArchive& ar, std::string_view block) const;

    void GetLogFont(LogFont& out) const;
    void SetLogFont(const LogFont& in);
    // Sets m_bBack to the number and the background colour from the fixed colour list.
    void SetBackColorNumber(int number);
    static std::uint32_t BackColorOfNumber(int number);

    // -- drawing: style swatches (begin)
    // "Aあ" in this font at pixelsPerMm, centred in a width × height area at the device origin.
    void DrawTextSwatch(kov::platform::Surface& dc, double pixelsPerMm, int width, int height) const;
    // -- drawing: style swatches (end)
    // The face name cut to at most kMaxFaceBytes code-page-932 bytes, never inside a character.
    static std::string limitFaceName(std::string_view face);

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;

private:
    void setBuiltIn(std::int32_t height);
    void loadSection(kov::platform::Profile& profile, std::string_view section, std::string_view sizeDefault);
    void saveSection(kov::platform::Profile& profile, std::string_view section) const;
};
