#include "render/ObjectBoxes.h"

#include "model/DrawTransform.h"
#include "model/PlotInfo.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kov::render {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// A margin in pixels from paper millimetres, kept well inside an int.
int paperPixels(double mm, double paperScale)
{
    const double px = std::abs(mm * paperScale);
    return px < (1 << 28) ? static_cast<int>(std::ceil(px)) : (1 << 28);
}

} // namespace

ObjectCulling::ObjectCulling(const std::optional<DeviceRect>& visible, const DeviceTransform& transform,
                             const CPlotInfo& plot, bool printing)
    : m_visible(visible), m_transform(transform), m_paperScale(transform.paperScale)
{
    int widest = 1;
    for (int code = 1; code <= 10; ++code)
        widest = std::max(widest, plot.PenWidth(code, printing));
    double mark = 0;
    for (int i = 0; i < CPlotInfo::kMarkSizes; ++i) mark = std::max(mark, plot.MarkSize(i));
    m_figureMargin = 2 + widest + paperPixels(mark, m_paperScale);
    // A dimension value may stand beside the line over many characters of its text height.
    m_wallBand = 2 * std::abs(plot.PlotWallWide);
    m_dimensionMargin = m_figureMargin + paperPixels(plot.PlotSunpoTextHeight * 12, m_paperScale);
}

bool ObjectCulling::boxVisible(double minX, double minY, double maxX, double maxY, int layerGroup, int pixels) const
{
    if (!m_visible) return true;
    if (!(minX <= maxX) || !(minY <= maxY)) return true;  // no points, or NaN: let the drawer decide
    // The mapping in floating point, a pixel wider on each side for its truncation: this runs for
    // every object of every redraw, most of which miss the window. Clamping the mapped values, as
    // the drawers do, keeps the same box inside the device's range, so the answer is the same.
    const auto g = static_cast<std::size_t>(std::clamp(layerGroup, 0, DeviceTransform::kLayerGroups - 1));
    const double sx = m_transform.scaleX[g], sy = m_transform.scaleY[g];
    const double ax = sx * minX, bx = sx * maxX, ay = sy * minY, by = sy * maxY;
    const double slack = pixels + 1.0;
    const double left = std::min(ax, bx) + m_transform.originX - slack;
    const double right = std::max(ax, bx) + m_transform.originX + slack;
    const double top = std::min(ay, by) + m_transform.originY - slack;
    const double bottom = std::max(ay, by) + m_transform.originY + slack;
    const DeviceRect& v = *m_visible;
    // A NaN scale compares false everywhere: draw, as before.
    if (std::isnan(left + right + top + bottom)) return true;
    return right >= v.left && left < v.right && bottom >= v.top && top < v.bottom;
}

bool ObjectCulling::figureVisible(const CKovLine& figure) const
{
    if (!m_visible) return true;
    double minX = kInf, minY = kInf, maxX = -kInf, maxY = -kInf;
    auto take = [&](double x, double y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    for (const CDbPoint& p : figure.MLinePnt) take(p.x, p.y);
    int margin = m_figureMargin;
    const bool round = figure.MLineType == CKovLine::CIRCLE || figure.MLineType == CKovLine::ARC;
    if (round && !figure.MLinePnt.empty() && !figure.MLineParam.empty()) {
        // The whole ellipse about the centre; a thick arc's band and any ratio widen it.
        const CDbPoint& c = figure.MLinePnt[0];
        double r = std::abs(figure.MLineParam[0]);
        if (figure.MLineParam.size() >= 2) r *= std::max(1.0, std::abs(figure.MLineParam[1]));
        if (figure.MLineType == CKovLine::ARC)
            r += figure.MLineParam.size() == 3 ? std::abs(figure.MLineParam[2]) : m_wallBand;
        take(c.x - r, c.y - r);
        take(c.x + r, c.y + r);
    }
    if (figure.MLineType == CKovLine::DIMENSION) {
        margin = m_dimensionMargin;
        if (figure.MLineParam.size() >= 3 && !figure.MLinePnt.empty()) {
            const double off = std::abs(figure.MLineParam[2]);
            take(minX - off, minY - off);
            take(maxX + off, maxY + off);
        }
    }
    return boxVisible(minX, minY, maxX, maxY, figure.MLineLayer1, margin);
}

bool ObjectCulling::wallVisible(const CKovWall& wall) const
{
    if (!m_visible) return true;
    double minX = kInf, minY = kInf, maxX = -kInf, maxY = -kInf;
    auto take = [&](const CDbPoint& p) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    };
    take(wall.MWallPntA);
    take(wall.MWallPntB);
    for (const CDbPoint& p : wall.MWallPntKado) take(p);
    for (const CDbPoint& p : wall.MWallarPntA) take(p);
    for (const CDbPoint& p : wall.MWallarPntB) take(p);
    // Column squares at wall ends and the circle of a through column reach beyond the corners.
    const double reach = 3 * std::max(std::abs(wall.MWallWide1), std::abs(wall.MWallWide2));
    return boxVisible(minX - reach, minY - reach, maxX + reach, maxY + reach, wall.MWallLayer1, m_figureMargin);
}

bool ObjectCulling::textVisible(const CKovText& text) const
{
    if (!m_visible) return true;
    // The longest line in characters and the number of lines, without copying the text.
    int lines = 1, column = 0, longest = 0;
    for (std::size_t i = 0; i < text.MTextstr.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text.MTextstr[i]);
        if (byte == '\n') {
            ++lines;
            column = 0;
            continue;
        }
        if (byte == '\r' || (byte & 0xC0) == 0x80) continue;
        longest = std::max(longest, ++column);
    }
    const CFontMenu& f = text.MTextFontMenu;
    const double em = std::abs(f.m_size);
    const double width = longest * (em + std::abs(f.m_kankaku));
    const double height = lines * (em + std::abs(f.m_gyoukan));
    // Any angle and alignment, horizontal or vertical, stays within this reach of the anchor.
    const int reach = paperPixels(width + height + em + std::abs(text.MTextHuchiAtsumi), m_paperScale) + 4;
    return boxVisible(text.MTextpnt.x, text.MTextpnt.y, text.MTextpnt.x, text.MTextpnt.y, text.MTextLayer1, reach);
}

bool ObjectCulling::pictureVisible(const DeviceRect& r) const
{
    if (!m_visible) return true;
    // A picture at a free angle turns about the middle of its rectangle.
    const long long reach = (static_cast<long long>(std::abs(r.width())) + std::abs(r.height())) / 2 + 2;
    const long long cx = (static_cast<long long>(r.left) + r.right) / 2;
    const long long cy = (static_cast<long long>(r.top) + r.bottom) / 2;
    const DeviceRect& v = *m_visible;
    return cx + reach >= v.left && cx - reach < v.right && cy + reach >= v.top && cy - reach < v.bottom;
}

} // namespace kov::render
