#pragma once

// Pieces of the text drawers (CKovUnit::DrawTextObject, DrawTexts, DrawTextPath, TextBoxSize)
// that other drawers and the tests use on their own: the device font of a text, its colours after
// the colour modes, the placement of its lines, its printed-extent frames and the warp corners of
// decorated texts.

#include "model/KovUnit.h"
#include "platform/Surface.h"

#include <array>
#include <optional>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CFontMenu;
class CPlotInfo;
class SelectionRecord;

namespace kov::render {

// The text's logical font at the device height trunc(h), where h = size × paper scale; 1 pixel or
// less becomes 2. Escapement and orientation are the font's own.
platform::Font TextDeviceFont(const CFontMenu& font, double paperScale);

// Whether the face writes vertically: its name begins with "@".
bool IsVerticalFace(std::string_view faceName);

struct TextColours {
    std::uint32_t text = 0;
    std::uint32_t background = 0xFFFFFF;
};
// Black and white (PlotSirokuro): a text other than white turns black, a background other than
// white turns white, black behind a white text. The chic display (PlotGradation 3): black on white.
TextColours TextColoursOf(const CFontMenu& font, const CPlotInfo& plot);

// A text counts as selected by its own identifier or, when it has a group, by its group's.
bool IsTextSelected(const CKovText& text, const SelectionRecord& selection);

// Calls fn(index, line) for every line of the text, cut at LF with CR left out (an empty text is
// one empty line), without copying lines that hold no CR but at their end (the stored form, CR
// LF); returns the number of lines.
template <typename Fn>
int ForEachTextLine(std::string_view text, Fn&& fn)
{
    int index = 0;
    std::string cleaned;
    for (;;) {
        const std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find('\r') != std::string_view::npos) {
            cleaned.assign(line);
            std::erase(cleaned, '\r');
            line = cleaned;
        }
        fn(index++, line);
        if (lf == std::string_view::npos) return index;
        text.remove_prefix(lf + 1);
    }
}

// The number of lines: LF count + 1.
int TextLineCount(std::string_view text);

// The top-left (or bottom-left for vertical alignment 2) reference of each line: line i steps
// i × pitch along the direction 90 degrees clockwise from the baseline, the block shifted by the
// vertical alignment; each offset truncated to whole pixels.
platform::DevicePoint TextLineAnchor(platform::DevicePoint anchor, int line, int lineCount, double pitch,
                                    int escapement, int verticalAlign);
std::vector<platform::DevicePoint> TextLineAnchors(platform::DevicePoint anchor, int lineCount, double pitch,
                                                   int escapement, int verticalAlign);

// The dotted frame of one line as a closed list of five points: L = trunc(bytes × h / 2 +
// (characters - 1) × spacing), at least 1, along the baseline; trunc(h) across it (against the
// line direction for bottom alignment). Bytes are CP932 bytes.
std::array<platform::DevicePoint, 5> TextExtentFrame(platform::DevicePoint lineAnchor, std::string_view line,
                                                     double h, double spacing, int escapement, int horizontalAlign,
                                                     int verticalAlign);

// The corners (upper-left, upper-right, lower-left, lower-right) a decorated text of the bounds is
// warped onto by shape 1-6 at the slant; nullopt for shape 0 and unknown shapes.
std::optional<std::array<platform::DevicePointF, 4>> TextWarpCorners(const platform::DeviceRectF& bounds, int shape,
                                                                   int slant);

// One line of plain text as the text drawer writes it, for the drawers that write a single value
// (dimension values). A font without a face is made in the built-in text face.
void WriteTextLine(platform::Surface& dc, platform::DevicePoint at, std::string_view text,
                   const platform::TextStyle& style);

} // namespace kov::render
