#include "render/Dimensions.h"

#include "model/DrawTransform.h"
#include "model/FontMenu.h"
#include "model/Geometry.h"
#include "model/KovLine.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/NumberText.h"
#include "render/Fills.h"
#include "render/LineStyles.h"
#include "render/TextDrawing.h"

#include <algorithm>

namespace kov::render {

std::string DimensionValueText(const CPlotInfo& plot, double valueMm)
{
    double v = valueMm;
    if (plot.PlotSunpoTani == 1) v /= 10.0;
    else if (plot.PlotSunpoTani == 2) v /= 1000.0;
    std::string text;
    if (plot.PlotSunpokurai == 0) text = platform::formatInt(RoundToInt(v));
    else if (plot.PlotSunpokurai >= 1 && plot.PlotSunpokurai <= 3) text = platform::formatFixed(v, plot.PlotSunpokurai);
    return InsertDigitSeparators(text, plot.PlotSunpoKugiri);
}

platform::Font DimensionFont(const CPlotInfo& plot, double paperScale)
{
    platform::Font font;
    // A face name holds at most 31 code-page-932 bytes, however it was set.
    font.faceName = CFontMenu::limitFaceName(plot.PlotSunpoFont);
    font.height = std::max(2, truncToInt(plot.PlotSunpoTextHeight * paperScale));
    font.width = 0;
    font.escapement = 0;
    font.orientation = 0;
    font.weight = 400;
    font.charSet = 1;          // DEFAULT_CHARSET
    font.outPrecision = 3;     // stroke
    font.clipPrecision = 2;    // stroke
    font.quality = 1;          // draft
    font.pitchAndFamily = 0x31; // fixed pitch, modern
    return font;
}

int DimensionEscapement(int type, const CDbPoint& p0, const CDbPoint& p1)
{
    switch (type) {
    case kDimAbove:
    case kDimBelow: return 0;
    case kDimLeft:
    case kDimRight: return 900;
    case kDimAlignedPlus:
    case kDimAlignedMinus: {
        int t = truncToInt(VectorAngle(p0.x, p0.y, p1.x, p1.y) * 10.0);
        if (t >= 901 && t <= 2699) t -= 1800;  // never upside down
        return t;
    }
    default: return 0;
    }
}

} // namespace kov::render

void CKovUnit::DrawFigureDimension(kov::platform::Surface& dc, const DeviceTransform& transform,
                                   const CKovLine& figure, const CPlotInfo& plot, bool output)
{
    using namespace kov::render;
    using kov::platform::Background;
    using SurfacePoint = kov::platform::DevicePoint;

    if (figure.MLinePnt.size() < 3 || figure.MLineParam.size() < 3) return;
    const int type = truncToInt(figure.MLineParam[0]);
    if (type < kDimAbove || type > kDimAlignedMinus) return;

    // Black and white and greying as for every figure; the chic display leaves dimensions alone.
    std::uint32_t colour = figure.MLineColor;
    if (plot.PlotSirokuro != 0) colour = BlackUnlessWhite(colour);
    if (IsGreyedOut(plot, figure.MLineLayer1, figure.MLineLayer2, output)) colour = kGreyedColour;

    const bool printing = dc.device().isPrinting;
    const kov::platform::Pen pen{kov::platform::PenStyle::Solid, LinePenWidth(plot, figure.MLineWide, printing), colour};
    const Background bk = Background::transparent();

    const int group = figure.MLineLayer1;
    const CDbPoint& p0 = figure.MLinePnt[0];
    const CDbPoint& p1 = figure.MLinePnt[1];
    const double offset = figure.MLineParam[2];
    const DevicePoint d0 = ToDevicePoint(p0, transform, group);
    const DevicePoint d1 = ToDevicePoint(p1, transform, group);
    const DevicePoint d2 = ToDevicePoint(figure.MLinePnt[2], transform, group);

    DevicePoint s;
    DevicePoint e;
    switch (type) {
    case kDimAbove:
    case kDimBelow: {
        const double dy = type == kDimAbove ? -offset : offset;
        s = {d0.x, ToDevicePoint(CDbPoint(p0.x, p0.y + dy), transform, group).y};
        e = {d1.x, ToDevicePoint(CDbPoint(p1.x, p1.y + dy), transform, group).y};
        break;
    }
    case kDimLeft:
    case kDimRight: {
        const double dx = type == kDimLeft ? -offset : offset;
        s = {ToDevicePoint(CDbPoint(p0.x + dx, p0.y), transform, group).x, d0.y};
        e = {ToDevicePoint(CDbPoint(p1.x + dx, p1.y), transform, group).x, d1.y};
        break;
    }
    default: {
        const double dy = type == kDimAlignedPlus ? offset : -offset;
        const CDbPoint q0(p0.x, p0.y + dy);
        const CDbPoint q1(p1.x, p1.y + dy);
        const CDbPoint f0 = FootOfPerpendicular(q0, q1, p0);
        const CDbPoint f1 = FootOfPerpendicular(q0, q1, p1);
        s = ToDevicePoint(PointTowards(p0, f0, offset), transform, group);
        e = ToDevicePoint(PointTowards(p1, f1, offset), transform, group);
        break;
    }
    }

    dc.line(d0, s, pen, bk);
    dc.line(d1, e, pen, bk);
    dc.line(s, e, pen, bk);

    if (plot.PlotSunpoTextView != 0) {
        const std::string text = DimensionValueText(plot, figure.MLineParam[1]);
        kov::platform::TextStyle style;
        style.font = DimensionFont(plot, transform.paperScale);
        style.font.escapement = DimensionEscapement(type, p0, p1);
        style.color = colour;
        style.background = bk;
        const kov::platform::TextSize size = dc.textExtent(text, style.font);
        SurfacePoint at;
        switch (type) {
        case kDimAbove:
        case kDimBelow: at = {d2.x - size.cx / 2, d2.y - size.cy}; break;
        case kDimLeft:
        case kDimRight: at = {d2.x - size.cy, d2.y + size.cx / 2}; break;
        case kDimAlignedPlus: at = {d2.x, d2.y + size.cy / 2}; break;
        default: at = {d2.x, d2.y - size.cy}; break;
        }
        WriteTextLine(dc, at, text, style);
    }

    if (plot.PlotSunpoTanten != 0) {
        DrawEndMarks(dc, transform, plot, s, e, CDbPoint(s.x, s.y), CDbPoint(e.x, e.y), colour, plot.PlotSunpoTanten,
                     plot.PlotSunpoYawide, pen);
    }
}
