#include "render/LineStyles.h"

#include "model/KovLine.h"
#include "model/PlotInfo.h"

#include <algorithm>

namespace kov::render {

int ClampWidthCode(int widthCode)
{
    return std::clamp(widthCode, 1, CPlotInfo::kWidthCodes);
}

int ClampMarkSizeIndex(int sizeIndex)
{
    return std::clamp(sizeIndex, 0, CPlotInfo::kMarkSizes - 1);
}

int LinePenWidth(const CPlotInfo& plot, int widthCode, bool printing)
{
    return plot.PenWidth(ClampWidthCode(widthCode), printing);
}

platform::Pen FigurePen(const CPlotInfo& plot, int lineType, int widthCode, std::uint32_t colour, bool printing,
                        bool output)
{
    platform::Pen pen;
    pen.color = colour;
    if (lineType == kAuxiliaryLine) {
        pen.style = output ? platform::PenStyle::Null : platform::PenStyle::Dot;
        pen.width = 1;
        return pen;
    }
    pen.style = platform::PenStyle::Solid;
    pen.width = LinePenWidth(plot, widthCode, printing);
    return pen;
}

bool FigureDrawnInLineType(int kind, int lineType, bool output, bool printAuxiliaryFills)
{
    if (!output || lineType != kAuxiliaryLine) return true;
    if (kind == CKovLine::LINE || kind == CKovLine::CONTINUOUS) return false;
    if (kind >= CKovLine::RECTANGLE && kind <= CKovLine::ARC) return printAuxiliaryFills;
    return true;
}

} // namespace kov::render
