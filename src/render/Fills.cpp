#include "render/Fills.h"

#include "model/DrawTransform.h"
#include "model/Geometry.h"
#include "model/PlotInfo.h"
#include "platform/Color.h"

#include <algorithm>
#include <vector>
#include <utility>

using kov::platform::COLORREF;
namespace pf = kov::platform;

namespace kov::render {

namespace {

constexpr COLORREF kColourMask = 0xFFFFFF; // the high byte carries no colour

bool isWhite(COLORREF c) { return (c & kColourMask) == 0xFFFFFF; }
bool isBlack(COLORREF c) { return (c & kColourMask) == 0; }

} // namespace

bool IsGreyedOut(const CPlotInfo& plot, int layerGroup, int layer, bool output)
{
    if (output || plot.laygray == 0) return false;
    return layerGroup != plot.m_Layer.m_nCurrentGroup || layer != plot.m_Layer.m_nCurrentLayer;
}

std::uint32_t BlackUnlessWhite(std::uint32_t colour)
{
    return isWhite(colour) ? colour : 0;
}

FigureColours FigureColoursOf(const CKovLine& figure, const CPlotInfo& plot, bool output)
{
    FigureColours c;
    c.outline = figure.MLineColor;
    c.fill = figure.MLineNakaColor;
    c.blackAndWhite = plot.PlotSirokuro != 0;
    c.greyed = IsGreyedOut(plot, figure.MLineLayer1, figure.MLineLayer2, output);
    const bool chic = plot.PlotGradation == 3;

    switch (figure.MLineType) {
    case CKovLine::LINE:
        if (c.blackAndWhite) c.outline = BlackUnlessWhite(c.outline);
        if (chic) c.outline = 0;  // a white line too: it would vanish on the chic greys
        break;
    case CKovLine::CONTINUOUS:
        if (c.blackAndWhite || chic) c.outline = BlackUnlessWhite(c.outline);
        break;
    case CKovLine::DIMENSION:
        if (c.blackAndWhite) c.outline = BlackUnlessWhite(c.outline);
        break;
    default:
        if ((c.blackAndWhite || chic) && figure.MLineNoOutline != 0 && figure.MLinebNakanuri != 0) {
            // A fill that has no outline is all there is of the figure: black, as a line would be.
            c.fill = BlackUnlessWhite(c.fill);
        } else if (c.blackAndWhite || chic) {
            c.outline = BlackUnlessWhite(c.outline);
            c.fill = isBlack(c.fill) ? 0 : 0xFFFFFF;
        }
        break;
    }
    if (c.greyed) {
        c.outline = kGreyedColour;
        c.fill = 0xFFFFFF;
    }
    return c;
}

FillChoice ChooseFill(const CKovLine& figure, const CPlotInfo& plot, const FigureColours& colours, bool output,
                      bool traceMode)
{
    FillChoice f;
    if (traceMode && !output) {
        f.gradient = true;
        f.opacity = kTracingOpacity;
        if (colours.blackAndWhite) {
            f.first = f.second = colours.fill;
        } else {
            f.first = figure.MLineNakaColor;
            f.second = plot.PlotGradation != 0 ? figure.MLineNakaColor2 : figure.MLineNakaColor;
        }
        return f;
    }
    const int gradientMode = figure.MLineGradiation % 100;
    if (plot.PlotGradation != 0 && !colours.blackAndWhite && !colours.greyed && gradientMode != 0
        && !isBlack(figure.MLineNakaColor) && !isWhite(figure.MLineNakaColor)) {
        f.gradient = true;
        f.first = figure.MLineNakaColor;
        f.second = figure.MLineNakaColor2;
        f.opacity = figure.MLineAlpha;
        return f;
    }
    if (figure.MLineAlpha != 100 && !colours.blackAndWhite) {
        f.gradient = true;
        f.first = f.second = figure.MLineNakaColor;
        f.opacity = figure.MLineAlpha;
        return f;
    }
    f.first = f.second = colours.fill;
    return f;
}

std::optional<QImage> PatternImage(const CKovUnit::DrawEnvironment& env, int patternCode, bool printing,
                                   double paperScale)
{
    // Codes outside 1-8 come only from damaged or foreign files: no pattern, never a read
    // outside the bitmap table.
    if (patternCode < 1 || patternCode > CKovUnit::DrawEnvironment::kPatterns) return std::nullopt;
    const QImage& image = env.patterns[static_cast<std::size_t>(patternCode - 1)];
    if (image.isNull()) return std::nullopt;
    if (printing && env.enlargePrintedPatterns != 0) {
        double f = paperScale / 3.2;
        if (f == 0) f = 1;
        const int side = std::max(1, truncToInt(8 * f));
        return image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    return image;
}

std::optional<platform::HatchStyle> HatchStyleOf(int code)
{
    if (code < 0 || code > 5) return std::nullopt;
    return static_cast<platform::HatchStyle>(code);
}

} // namespace kov::render

using namespace kov::render;

void CKovUnit::FillGradientShape(pf::Surface& dc, const DeviceTransform& transform, const DevicePoint* points,
                                 int count, int shapeKind, int groupId, std::uint32_t colour1,
                                 std::uint32_t colour2, int gradientCode, int opacityPercent,
                                 int displayMode) const
{
    if (points == nullptr || count <= 0) return;
    const bool polygon = shapeKind == 1 || shapeKind == 2;
    if (!polygon && !(shapeKind == 3 && count >= 2) && !(shapeKind == 4 && count >= 4)) return;

    if (displayMode == 3) {
        colour1 = kChicFirstColour;
        colour2 = kChicSecondColour;
    }
    const double opacity = pf::alphaFromPercent(opacityPercent) / 255.0;

    pf::FillShape shape;
    pf::DeviceRect box;
    std::vector<pf::DevicePoint> outline;
    if (polygon) {
        outline.reserve(static_cast<std::size_t>(count));
        box = {points[0].x, points[0].y, points[0].x, points[0].y};
        for (int i = 0; i < count; ++i) {
            outline.push_back({points[i].x, points[i].y});
            box.left = std::min(box.left, points[i].x);
            box.top = std::min(box.top, points[i].y);
            box.right = std::max(box.right, points[i].x);
            box.bottom = std::max(box.bottom, points[i].y);
        }
        shape = pf::FillShape::polygon(outline, pf::FillRule::Winding);
    } else {
        box = {points[0].x, points[0].y, points[1].x, points[1].y};
        shape = shapeKind == 3 ? pf::FillShape::ellipse(box)
                               : pf::FillShape::pie(box, {points[2].x, points[2].y}, {points[3].x, points[3].y});
    }

    // Mode 2 spreads one gradient over a whole plain group; rooms and fittings keep their own.
    if (gradientCode % 100 == 2 && groupId != 0) {
        if (const CKovGroup* group = std::as_const(*this).FindGroup(groupId); group != nullptr && group->MGrpRoom == CKovGroup::PLAIN) {
            const DevicePoint lo = ToDevicePoint(group->MGrpmin, transform, group->MGrpLayer1);
            const DevicePoint hi = ToDevicePoint(group->MGrpmax, transform, group->MGrpLayer1);
            box = {lo.x, lo.y, hi.x, hi.y};
        }
    }

    if (displayMode == 2 || displayMode == 3) {
        pf::PathGradient g;
        g.centerColor = colour1;
        g.surroundColor = colour2;
        g.opacity = opacity;
        if (polygon) {
            g.boundary = outline;
            g.blend = {{0.0, colour2}, {displayMode == 3 ? 0.2 : 0.3, colour1}, {1.0, colour1}};
        } else {
            g.ellipse = true;
            g.ellipseBox = box;
            g.focusScale = 0.7;
        }
        dc.fillPathGradient(shape, g);
        return;
    }
    pf::LinearGradient g;
    g.box = box;
    g.from = colour1;
    g.to = colour2;
    g.angleDegrees = gradientCode / 100;
    g.opacity = opacity;
    dc.fillLinearGradient(shape, g);
}
