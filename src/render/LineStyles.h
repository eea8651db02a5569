#pragma once

// Pens of the figure line types (0-5) and width codes (1-10), and whether a figure in the
// auxiliary line type is drawn at all. Line types 1-4 draw with a solid pen: their breaks are laid
// by the dash walk (render/DashPatterns.h), so that a dash is as long on paper at every scale.

#include "platform/Surface.h"

#include <cstdint>

class CPlotInfo;

namespace kov::render {

enum LineType { kSolidLine = 0, kDashedLine = 1, kDottedLine = 2, kDashDotLine = 3, kDashDotDotLine = 4,
                kAuxiliaryLine = 5 };

// Codes outside the tables are taken as the nearest valid one (width 1-10, mark size 0-4), so a
// damaged file never reads past a table.
int ClampWidthCode(int widthCode);
int ClampMarkSizeIndex(int sizeIndex);

// Device pixels of a width code: the printer table on printer pages and their preview, the screen
// table otherwise (picture export included).
int LinePenWidth(const CPlotInfo& plot, int widthCode, bool printing);

// The pen a figure's outline is drawn with: solid for line types 0-4 (and unknown types); for the
// auxiliary line a 1-pixel dotted pen on the screen and no pen at all on output.
platform::Pen FigurePen(const CPlotInfo& plot, int lineType, int widthCode, std::uint32_t colour, bool printing,
                        bool output);

// Whether a figure of the kind (0 line ... 6 continuous line) is drawn: on output an auxiliary
// line or continuous line never is, an auxiliary closed figure (kinds 1-4) only when
// `printAuxiliaryFills` (the setting app_hojonuriprt) is on. Everything is drawn on the screen.
bool FigureDrawnInLineType(int kind, int lineType, bool output, bool printAuxiliaryFills);

} // namespace kov::render
