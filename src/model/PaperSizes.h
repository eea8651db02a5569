#pragma once

// The paper codes of the plot settings (PlotPaperSize 0-25) and their sizes in millimetres. The
// codes are not in size order; the B sizes are the Japanese B series.

class CPlotInfo;

namespace kov::model {

constexpr int kPaperCodes = 26;
constexpr int kUserPaperCode = 11;

// 1 and the width × height in millimetres of the code; 0 with the outputs untouched for a code
// outside 0-25. The user size (code 11) is at least 1 mm on each side: the page divides by it.
int GetPaperSizeMm(int code, int userWidth, int userHeight, int& width, int& height);
int GetPaperSizeMm(const CPlotInfo& plot, int& width, int& height);

} // namespace kov::model
