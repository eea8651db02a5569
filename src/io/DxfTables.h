#pragma once

// What the DXF writer and reader share: colour numbers, line-type names, the paper table and the
// layer names a drawing is written with.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class CPlotInfo;
class CKovUnit;

namespace kov::io {

// Names in DXF compare without case: the name with a-z made upper case.
std::string DxfUpperAscii(std::string_view s);

// The DXF colour number of a colour: exact matches of the table, 7 for every other colour.
int DxfColorIndex(std::uint32_t colour);
// Colour numbers 1-6, 8 and 9 give their table colour; every other number black.
std::uint32_t DxfColorToRgb(int number);

// The line-type name written for a line style (0-5); CONTINUOUS for any other. The broken styles
// take the names other programs know (DASHED, DOT, CENTER, DIVIDE): readers that go by the name
// rather than the table's pattern draw them broken too.
std::string_view DxfLineTypeName(int lineStyle);
// The line style of a line-type name read from a file: the name ending in one of the known words
// (upper or lower case); 0 (solid) for any other.
int DxfLineTypeCode(std::string_view name);

// One line-type entry of the written table, lengths in paper millimetres (dashes positive, gaps
// negative, dots 0). The total is the sum of the element lengths' sizes.
struct DxfLineType {
    std::string_view name;
    std::string_view description; // UTF-8
    std::array<double, 6> elements;
    int count;
};
const std::array<DxfLineType, 6>& DxfLineTypes();

// A text's value as written: code page 932, "%%d", "%%p" and "%%c" for degree, plus-minus and
// diameter, "\\U+XXXX" for the characters code page 932 lacks; line breaks dropped.
std::string DxfTextValue(std::string_view utf8);

// Paper size in millimetres of the plot settings' paper, from the one paper table the page
// uses too; codes outside it give 420 × 297.
void DxfPaperSize(const CPlotInfo& plot, int& outX, int& outY);
// The paper code of a size (within a hundredth of a millimetre) among codes 0-10, -1 when none is
// listed. 840 × 594 is A1 too: files written before the table was shared carry it.
int DxfPaperCodeOfSize(double x, double y);
// Drawing units per paper millimetre of the sheet a file is written on and read onto: the current
// layer group's scale cut to a whole number, 1 when that gives 0. The writer and the reader share
// it, so a file read and written again keeps its coordinates.
int DxfSheetScale(const CPlotInfo& plot);

// The DXF layer name of every layer slot, unique without regard to case, never empty: a named slot
// keeps its name (characters DXF forbids turned to "_"), repeats get "_<group>-<layer>" after it,
// an unnamed slot "L<group>-<layer>", and the unnamed slot (0, 0) the layer "0".
struct DxfLayerNames {
    std::array<std::array<std::string, 16>, 16> name;   // UTF-8
    // Whether the slot gets an entry in the layer table: named, or holding objects.
    std::array<std::array<bool, 16>, 16> listed{};

    DxfLayerNames(const CPlotInfo& plot, const CKovUnit& unit);
    // The name of an object's slot; layer "0" for an address outside the table.
    const std::string& of(int group, int layer) const;

private:
    std::string m_zero = "0";
};

} // namespace kov::io
