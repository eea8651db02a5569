#include "model/PaperSizes.h"

#include "model/PlotInfo.h"

#include <algorithm>
#include <array>

namespace kov::model {

namespace {

struct Paper {
    int width;
    int height;
};

// Index = paper code; code 11 (user size) is filled from the settings.
constexpr std::array<Paper, kPaperCodes> kPapers{{
    {297, 210}, {364, 257}, {420, 297}, {594, 420}, {841, 594}, {257, 182}, {210, 297}, {182, 257},
    {100, 148}, {297, 420}, {257, 364}, {0, 0},     {210, 148}, {148, 210}, {1030, 728}, {728, 1030},
    {728, 515}, {515, 728}, {515, 364}, {364, 515}, {594, 841}, {420, 594}, {148, 100}, {127, 89},
    {89, 127},  {91, 55},
}};

} // namespace

int GetPaperSizeMm(int code, int userWidth, int userHeight, int& width, int& height)
{
    if (code < 0 || code >= kPaperCodes)
        return 0;
    if (code == kUserPaperCode) {
        width = std::max(userWidth, 1);
        height = std::max(userHeight, 1);
        return 1;
    }
    width = kPapers[static_cast<std::size_t>(code)].width;
    height = kPapers[static_cast<std::size_t>(code)].height;
    return 1;
}

int GetPaperSizeMm(const CPlotInfo& plot, int& width, int& height)
{
    return GetPaperSizeMm(plot.PlotPaperSize, plot.PlotPaperSizeUserX, plot.PlotPaperSizeUserY, width, height);
}

} // namespace kov::model
