// Previews of the annotation tools: the dimension figure in grey, texts through the text drawers,
// speech balloons with their tails and the band of a notation symbol.

#include "render/ToolPreviews.h"

#include "model/Geometry.h"
#include "model/KovText.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/NumberText.h"

#include <cmath>
#include <cstdio>

namespace pf = kov::platform;
using namespace kov::render;
using PreviewInput = CKovUnit::PreviewInput;

namespace {

const pf::Pen kRedPen{pf::PenStyle::Solid, 1, kPreviewRed};
const pf::Pen kGreyPen{pf::PenStyle::Solid, 1, kPreviewGrey};

DevicePoint dev(const CDbPoint& p, const DeviceTransform& t, const CPlotInfo& plot)
{
    return ToDevicePoint(p, t, PreviewGroup(plot));
}

void closedChain(pf::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot, const CDbPointArray& pts)
{
    if (pts.size() < 2) return;
    std::vector<DevicePoint> d;
    d.reserve(pts.size() + 1);
    for (const CDbPoint& p : pts) d.push_back(dev(p, t, plot));
    d.push_back(d.front());
    dc.polyline(d, kRedPen);
}

std::string formatValue(double v, int decimals)
{
    char buf[64];
    switch (decimals) {
    case 0: std::snprintf(buf, sizeof buf, "%d", RoundToInt(v)); break;
    case 1: case 2: case 3: return kov::platform::formatFixed(v, decimals);
    default: return {};
    }
    return buf;
}

} // namespace

void CKovUnit::DrawDimensionPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    if (in.points.size() == 1) {
        DrawPointMark(dc, dev(in.points[0], t, plot), kGreyPen);
        return;
    }
    const CDbPoint p1 = in.points[0];
    const CDbPoint p2 = in.points[1];
    pf::Font font;
    font.faceName = plot.PlotSunpoFont;
    font.height = std::max(2, truncToInt(plot.PlotSunpoTextHeight * t.paperScale));
    font.weight = 400;
    font.charSet = 1;
    font.outPrecision = 3;
    font.clipPrecision = 2;
    font.quality = 1;
    font.pitchAndFamily = 0x31;

    const double scale = plot.m_Layer.m_dScale[std::size_t(PreviewGroup(plot))];
    const int gap = truncToInt(plot.PlotSunpoOffset * (scale > 0 ? scale : 100));
    CDbPoint a = p1, b = p2, mid;
    int side = 0;
    double length = 0, distance = 0;
    OffsetSegment(a, b, in.pointer.x, in.pointer.y, mid, side, length, distance, gap);
    const double q = gap + distance;

    double v = length;
    if (plot.PlotSunpoTani == 1) v /= 10;
    else if (plot.PlotSunpoTani == 2) v /= 1000;
    const std::string text = InsertDigitSeparators(formatValue(v, plot.PlotSunpokurai), plot.PlotSunpoKugiri);

    const int g = PreviewGroup(plot);
    const DevicePoint da = dev(a, t, plot);
    const DevicePoint db = dev(b, t, plot);
    auto devY = [&](double y) { return ToDeviceCoord(y, t.scaleY[std::size_t(g)], t.originY); };
    auto devX = [&](double x) { return ToDeviceCoord(x, t.scaleX[std::size_t(g)], t.originX); };
    DevicePoint e1, e2;
    switch (side) {
    case 1: case 3: {
        const double s = side == 1 ? -q : q;
        e1 = {da.x, devY(p1.y + s)};
        e2 = {db.x, devY(p2.y + s)};
        break;
    }
    case 2: case 4: {
        const double s = side == 2 ? -q : q;
        e1 = {devX(p1.x + s), da.y};
        e2 = {devX(p2.x + s), db.y};
        break;
    }
    case 5: case 6: {
        const double s = side == 5 ? q : -q;
        const CDbPoint aa{p1.x, p1.y + s}, bb{p2.x, p2.y + s};
        e1 = dev(PointTowards(p1, FootOfPerpendicular(aa, bb, p1), q), t, plot);
        e2 = dev(PointTowards(p2, FootOfPerpendicular(aa, bb, p2), q), t, plot);
        break;
    }
    default: return;
    }
    dc.line(da, e1, kGreyPen);
    dc.line(db, e2, kGreyPen);
    dc.line(e1, e2, kGreyPen);
    if (!plot.PlotSunpoTextView) return;

    pf::TextStyle style;
    style.font = font;
    style.color = 0x000000;
    const pf::TextSize size = dc.textExtent(text, font);
    const int w = size.cx, h = size.cy;
    const DevicePoint m = dev(mid, t, plot);
    DevicePoint at;
    if (side == 1 || side == 3) {
        at = {m.x - w / 2, m.y - h};
    } else if (side == 2 || side == 4) {
        style.font.escapement = 900;
        at = {m.x - h, m.y + w / 2};
    } else {
        // The nudge keeps a direction of exactly 135 degrees from reading 134.99999 and losing a tenth.
        int e = truncToInt(VectorAngle(p1.x, p1.y, p2.x, p2.y) * 10 + 1e-6);
        if (e >= 901 && e <= 2699) e -= 1800; // never upside down
        style.font.escapement = e;
        at = side == 5 ? DevicePoint{m.x, m.y + h / 2} : DevicePoint{m.x, m.y - h};
    }
    dc.textOut(at, text, style);
}

void CKovUnit::DrawTextPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (in.textFont == nullptr) return;
    CKovText text;
    text.MTextFontMenu = *in.textFont;
    text.MTextstr = in.text;
    text.MTextpnt = in.last;
    CFontMenu& f = text.MTextFontMenu;
    if (in.textVertical) {
        if (f.lfFaceName.empty() || f.lfFaceName.front() != '@') f.lfFaceName = "@" + f.lfFaceName;
        f.lfEscapement = 2700;
    }
    f.lfEscapement += in.textAngle * 10;
    if (f.lfEscapement > 3599) f.lfEscapement -= 3600;
    const SelectionRecord none;
    const DrawEnvironment env = in.env ? *in.env : DrawEnvironment{};
    DrawTextObject(dc, t, text, *in.plot, none, false, 0, false, env);
}

void CKovUnit::DrawDecoratedTextPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (!in.decoratedPanelOpen) return;
    DrawTextPath(dc, t, in.decoratedFont, in.decoratedText, in.frameThickness, in.frameShape, in.frameSlant,
                 in.framesOnly, in.pointer, in.decoratedTextColour, in.decoratedFrameColour, in.decoratedOpacity,
                 in.plot->m_Layer.m_nCurrentGroup);
}

void CKovUnit::DrawBalloonPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    if (in.points.size() == 1) {
        const CDbPoint& a = in.points[0];
        const CDbPoint& b = in.pointer;
        if (in.balloonShape == 2) {
            const DevicePoint da = dev(a, t, plot);
            const DevicePoint db = dev(b, t, plot);
            dc.arc({da.x, da.y, db.x, db.y}, da, da, kRedPen);
            return;
        }
        closedChain(dc, t, plot, {a, {a.x, b.y}, b, {b.x, a.y}});
        return;
    }
    // The outline the balloon tool will make of these points, from the same service.
    closedChain(dc, t, plot,
                BalloonOutline(in.points[0], in.points[1], in.pointer, t.paperScale, in.arcSteps, in.balloonSide,
                               in.balloonPosition, in.balloonShape));
}

void CKovUnit::DrawNotationSymbolPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    if (in.points.size() == 1) {
        dc.line(dev(in.points[0], t, plot), dev(in.pointer, t, plot), kRedPen);
        return;
    }
    const CDbPoint& b0 = in.points[0];
    const CDbPoint& b1 = in.points[1];
    const CDbPoint foot = FootOfPerpendicular(b0, b1, in.pointer);
    const double w = PointDistance(in.pointer.x, in.pointer.y, foot.x, foot.y);
    if (w == 0) return;
    const double alpha = VectorAngle(b0.x, b0.y, b1.x, b1.y);
    const CDbPoint b0p = PointAtAngle(b0.x, b0.y, alpha + 90, w), b0m = PointAtAngle(b0.x, b0.y, alpha + 270, w);
    const CDbPoint b1p = PointAtAngle(b1.x, b1.y, alpha + 90, w), b1m = PointAtAngle(b1.x, b1.y, alpha + 270, w);
    const CDbPoint& p = in.pointer;
    const bool nearB0 = PointDistance(p.x, p.y, b0.x, b0.y) < PointDistance(p.x, p.y, b1.x, b1.y);
    const CDbPoint& plus = nearB0 ? b0p : b1p;
    const CDbPoint& minus = nearB0 ? b0m : b1m;
    const bool plusSide = PointDistance(p.x, p.y, minus.x, minus.y) > PointDistance(p.x, p.y, plus.x, plus.y);
    if (plusSide) closedChain(dc, t, plot, {b1, b0, b0p, b1p});
    else closedChain(dc, t, plot, {b0, b1, b1m, b0m});
}
