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

// The line-type name written for a line style (0-5); CONTINUOUS for any other.
std::string_view DxfLineTypeName(int lineStyle);
// The line style of a line-type name read from a file: the name ending in one of the known words
// (upper or lower case); 0 (solid) for any other.
int DxfLineTypeCode(std::string_view name);

// One line-type entry of the written table. The total is the sum of the element lengths.
struct DxfLineType {
    std::string_view name;
    std::string_view description; // UTF-8
    std::array<double, 6> elements;
    int count;
};
const std::array<DxfLineType, 9>& DxfLineTypes();

// Paper size in millimetres of a paper code (11 the user size). A user size of 0 or less is refused
// and gives the size of codes outside the table, 420 × 297.
void DxfPaperSize(const CPlotInfo& plot, int& outX, int& outY);
// The paper code of a size (within a hundredth of a millimetre), -1 when none is listed.
int DxfPaperCodeOfSize(double x, double y);

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
