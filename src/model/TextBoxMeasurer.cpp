#include "model/TextBoxMeasurer.h"

#include "model/Geometry.h"
#include "platform/Cp932.h"
#include "platform/Surface.h"

#include <algorithm>
#include <string>
#include <vector>

DeviceRect SurfaceTextBoxMeasurer::TextBoxSize(int x, int y, std::string_view text, const CFontMenu& font,
                                               double paperScale) const
{
    std::vector<std::string> lines(1);
    for (const char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else if (c != '\r')
            lines.back() += c;
    }
    const std::string* longest = &lines.front();
    std::size_t longestBytes = kov::platform::cp932ByteLength(*longest);
    for (const std::string& line : lines) {
        const std::size_t bytes = kov::platform::cp932ByteLength(line);
        if (bytes > longestBytes) {
            longest = &line;
            longestBytes = bytes;
        }
    }

    kov::platform::Font measured;
    measured.faceName = font.lfFaceName;
    // Heights of 1 pixel or less would make no font at all.
    measured.height = std::max(2, truncToInt(font.m_size * paperScale));
    measured.width = font.lfWidth;
    measured.weight = font.lfWeight;
    measured.italic = font.lfItalic != 0;
    measured.underline = font.lfUnderline != 0;
    measured.strikeOut = font.lfStrikeOut != 0;
    measured.charSet = font.lfCharSet;
    measured.outPrecision = font.lfOutPrecision;
    measured.clipPrecision = font.lfClipPrecision;
    measured.quality = font.lfQuality;
    measured.pitchAndFamily = font.lfPitchAndFamily;
    const kov::platform::TextSize extent =
        m_surface->textExtent(*longest, measured, truncToInt(font.m_kankaku * paperScale));

    const long long pitch = static_cast<long long>(extent.cy) + truncToInt(font.m_gyoukan * paperScale);
    const long long height = pitch * static_cast<long long>(lines.size());
    DeviceRect box;
    box.left = x;
    box.top = y;
    box.right = truncToInt(static_cast<double>(x) + extent.cx);
    box.bottom = truncToInt(static_cast<double>(y) + static_cast<double>(height));
    return box;
}
