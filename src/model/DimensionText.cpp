// The value text of a dimension: its length in the dimension unit, with the decimals and the digit
// grouping of the plot settings.

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/NumberText.h"

std::string CKovUnit::FormatDimensionValue(double length, const CPlotInfo& plot)
{
    double v = length;
    if (plot.PlotSunpoTani == 1)
        v /= 10;
    else if (plot.PlotSunpoTani == 2)
        v /= 1000;
    const int decimals = plot.PlotSunpokurai;
    const std::string text = decimals >= 1 && decimals <= 3 ? kov::platform::formatFixed(v, decimals)
                                                            : kov::platform::formatInt(RoundToInt(v));
    return InsertDigitSeparators(text, plot.PlotSunpoKugiri);
}
