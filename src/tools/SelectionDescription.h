#pragma once

// The view's own services on the selection: the status text that describes one selected object,
// and the quarter turn of one selected picture.

#include <string>

class CKovUnit;
class SelectionRecord;

namespace kov::tools {

// The status text of the selection; empty unless exactly one object is selected. Lengths are
// drawing millimetres; rooms are described in mats of the grid module, or in square metres when
// `squareMetres` (setting room_heibei) is on.
std::string DescribeSelection(const CKovUnit& unit, const SelectionRecord& selection, int gridModule,
                              bool squareMetres);

// A fitting's width along its wall: the length of edge P0-P3 of its first rectangle figure,
// rounded to whole millimetres; the width of the group's box when it has none.
double FittingWidth(const CKovUnit& unit, int groupId);

enum class QuarterTurn { Left = 1, Right = 2 };

// Turns the one selected picture a quarter turn (left adds 270 degrees, right 90, kept below 360)
// and swaps its width and height exactly. False, changing nothing, unless the selection's picture
// list holds exactly one picture that exists.
bool RotateSelectedImage90(CKovUnit& unit, const SelectionRecord& selection, QuarterTurn direction);

} // namespace kov::tools
