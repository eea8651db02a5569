#include "render/ObjectBoxes.h"

#include "model/DrawTransform.h"
#include "model/PlotInfo.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

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

bool ObjectCulling::boxVisible(const Extent& e) const
{
    if (!m_visible) return true;
    if (!(e.minX <= e.maxX) || !(e.minY <= e.maxY)) return true;  // no points, or NaN: let the drawer decide
    // The mapping in floating point, a pixel wider on each side for its truncation: this runs for
    // every object of every redraw, most of which miss the window. Clamping the mapped values, as
    // the drawers do, keeps the same box inside the device's range, so the answer is the same.
    const auto g = static_cast<std::size_t>(std::clamp(e.layerGroup, 0, DeviceTransform::kLayerGroups - 1));
    const double sx = m_transform.scaleX[g], sy = m_transform.scaleY[g];
    const double ax = sx * e.minX, bx = sx * e.maxX, ay = sy * e.minY, by = sy * e.maxY;
    const double slack = e.pixels + 1.0;
    const double slackY = (e.pixelsY < 0 ? e.pixels : e.pixelsY) + 1.0;
    const double left = std::min(ax, bx) + m_transform.originX - slack;
    const double right = std::max(ax, bx) + m_transform.originX + slack;
    const double top = std::min(ay, by) + m_transform.originY - slackY;
    const double bottom = std::max(ay, by) + m_transform.originY + slackY;
    const DeviceRect& v = *m_visible;
    // A NaN scale compares false everywhere: draw, as before.
    if (std::isnan(left + right + top + bottom)) return true;
    return right >= v.left && left < v.right && bottom >= v.top && top < v.bottom;
}

std::optional<DeviceRect> ObjectCulling::deviceBox(const Extent& e) const
{
    if (std::isnan(e.minX) || std::isnan(e.minY) || std::isnan(e.maxX) || std::isnan(e.maxY)) return std::nullopt;
    if (!(e.minX <= e.maxX) || !(e.minY <= e.maxY)) return DeviceRect{};
    const auto g = static_cast<std::size_t>(std::clamp(e.layerGroup, 0, DeviceTransform::kLayerGroups - 1));
    const double sx = m_transform.scaleX[g], sy = m_transform.scaleY[g];
    const double ax = sx * e.minX, bx = sx * e.maxX, ay = sy * e.minY, by = sy * e.maxY;
    const double slack = e.pixels + 1.0;
    const double slackY = (e.pixelsY < 0 ? e.pixels : e.pixelsY) + 1.0;
    const double left = std::min(ax, bx) + m_transform.originX - slack;
    const double right = std::max(ax, bx) + m_transform.originX + slack;
    const double top = std::min(ay, by) + m_transform.originY - slackY;
    const double bottom = std::max(ay, by) + m_transform.originY + slackY;
    if (std::isnan(left + right + top + bottom)) return std::nullopt;
    // Clamped as the drawers clamp what they map, then whole pixels outwards.
    auto clamp = [](double v) { return std::clamp(v, -double(kDeviceCoordLimit), double(kDeviceCoordLimit)); };
    return DeviceRect{int(std::floor(clamp(left))), int(std::floor(clamp(top))), int(std::ceil(clamp(right))) + 1,
                      int(std::ceil(clamp(bottom))) + 1};
}

ObjectCulling::Extent ObjectCulling::figureExtent(const CKovLine& figure) const
{
    double minX = kInf, minY = kInf, maxX = -kInf, maxY = -kInf;
    bool unknown = false;
    auto take = [&](double x, double y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        unknown = unknown || std::isnan(x + y);
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
    // A coordinate that is not a number leaves the extremes alone: the extent is unknown.
    if (unknown) minX = std::numeric_limits<double>::quiet_NaN();
    return {minX, minY, maxX, maxY, figure.MLineLayer1, margin};
}

bool ObjectCulling::figureVisible(const CKovLine& figure) const
{
    if (!m_visible) return true;
    return boxVisible(figureExtent(figure));
}

std::optional<DeviceRect> ObjectCulling::figureBox(const CKovLine& figure) const
{
    return deviceBox(figureExtent(figure));
}

ObjectCulling::Extent ObjectCulling::wallExtent(const CKovWall& wall) const
{
    double minX = kInf, minY = kInf, maxX = -kInf, maxY = -kInf;
    bool unknown = false;
    auto take = [&](const CDbPoint& p) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
        unknown = unknown || std::isnan(p.x + p.y);
    };
    take(wall.MWallPntA);
    take(wall.MWallPntB);
    for (const CDbPoint& p : wall.MWallPntKado) take(p);
    for (const CDbPoint& p : wall.MWallarPntA) take(p);
    for (const CDbPoint& p : wall.MWallarPntB) take(p);
    // Column squares at wall ends and the circle of a through column reach beyond the corners.
    const double reach = 3 * std::max(std::abs(wall.MWallWide1), std::abs(wall.MWallWide2));
    if (unknown) minX = std::numeric_limits<double>::quiet_NaN();
    return {minX - reach, minY - reach, maxX + reach, maxY + reach, wall.MWallLayer1, m_figureMargin};
}

bool ObjectCulling::wallVisible(const CKovWall& wall) const
{
    if (!m_visible) return true;
    return boxVisible(wallExtent(wall));
}

std::optional<DeviceRect> ObjectCulling::wallBox(const CKovWall& wall) const
{
    return deviceBox(wallExtent(wall));
}

ObjectCulling::Extent ObjectCulling::textExtent(const CKovText& text) const
{
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
    const double frame = std::abs(text.MTextHuchiAtsumi);
    const double reach = width + height + em + frame;
    double reachX = reach, reachY = reach;
    // A plain text lies along its baseline, turned by its angle: its lines, at any alignment, stay
    // within the baseline's length on either side of the anchor and their height across it. A
    // text's box holds far more of a zoomed view than its letters do otherwise, and every band
    // of the view then measures every line of it. Outlined texts and stretched letters keep the
    // reach of any angle.
    const bool plain = text.MTextHuchiFlg != 1 && text.MTextHuchiFlg != 2 && f.lfWidth == 0;
    const double turn = double(f.lfEscapement) / 10.0 * std::numbers::pi / 180.0;
    if (plain && std::isfinite(turn)) {
        const double along = width + em + frame, across = height + em + frame;
        const double c = std::abs(std::cos(turn)), s = std::abs(std::sin(turn));
        reachX = std::min(reach, c * along + s * across);
        reachY = std::min(reach, s * along + c * across);
    }
    return {text.MTextpnt.x,
            text.MTextpnt.y,
            text.MTextpnt.x,
            text.MTextpnt.y,
            text.MTextLayer1,
            paperPixels(reachX, m_paperScale) + 4,
            paperPixels(reachY, m_paperScale) + 4};
}

bool ObjectCulling::textVisible(const CKovText& text) const
{
    if (!m_visible) return true;
    return boxVisible(textExtent(text));
}

std::optional<DeviceRect> ObjectCulling::textBox(const CKovText& text) const
{
    return deviceBox(textExtent(text));
}

DeviceRect ObjectCulling::pictureBox(const DeviceRect& r)
{
    // A picture at a free angle turns about the middle of its rectangle.
    const long long reach = (static_cast<long long>(std::abs(r.width())) + std::abs(r.height())) / 2 + 2;
    const long long cx = (static_cast<long long>(r.left) + r.right) / 2;
    const long long cy = (static_cast<long long>(r.top) + r.bottom) / 2;
    auto c = [](long long v) { return int(std::clamp<long long>(v, -kDeviceCoordLimit, kDeviceCoordLimit)); };
    return {c(cx - reach), c(cy - reach), c(cx + reach + 1), c(cy + reach + 1)};
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
