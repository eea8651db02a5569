#include "render/Swatches.h"

#include "model/DrawTransform.h"
#include "model/Geometry.h"
#include "render/Fills.h"
#include "render/TextDrawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace {

namespace pf = kov::platform;
using pf::DevicePoint;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// What the panel's device context holds when a swatch draws with "its" pen.
const pf::Pen kPanelPen{pf::PenStyle::Solid, 1, kBlack};
const pf::Background kTransparent = pf::Background::transparent();

bool isWhite(std::uint32_t c) { return (c & 0xFFFFFF) == kWhite; }
bool isBlack(std::uint32_t c) { return (c & 0xFFFFFF) == kBlack; }

int slotIndex(int slot) { return std::clamp(slot, 0, CPlotInfo::kSlots - 1); }

pf::Pen slotPen(const CPlotInfo& plot, int slot)
{
    const std::size_t i = std::size_t(slotIndex(slot));
    const int type = plot.PlotLineType[i];
    if (type != 0) {
        // The auxiliary line (5) shows dotted; unknown types draw solid.
        const pf::PenStyle style = type == 5 ? pf::PenStyle::Dot
                                   : type >= 1 && type <= 4 ? pf::PenStyle(type)
                                                            : pf::PenStyle::Solid;
        return {style, 1, plot.PlotColor[i]};
    }
    return {pf::PenStyle::Solid, plot.PenWidth(plot.PlotLineWide[i], false), plot.PlotColor[i]};
}

std::optional<pf::Brush> patternBrush(const SwatchEnvironment& env, int pattern)
{
    if (pattern < 1 || pattern > SwatchEnvironment::kPatterns) return std::nullopt;
    const QImage& image = env.patterns[std::size_t(pattern - 1)];
    if (image.isNull()) return std::nullopt;
    return pf::Brush::patterned(image);
}

// How the slot fills a closed shape.
struct SlotFill {
    enum Kind { None, Pattern, Gradient, Solid } kind = None;
    pf::Brush pattern;
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    int opacity = 100;
    int angle = 0;
    std::optional<pf::Brush> hatch;
};

SlotFill slotFill(const CPlotInfo& plot, int slot, const SwatchEnvironment& env)
{
    const std::size_t i = std::size_t(slotIndex(slot));
    SlotFill f;
    if (plot.PlotPattern[i] != 0) {
        // A pattern stands alone: neither fill nor hatch is laid over it.
        if (auto brush = patternBrush(env, plot.PlotPattern[i])) {
            f.kind = SlotFill::Pattern;
            f.pattern = *brush;
        }
        return f;
    }
    if (plot.PlotNakaNuri[i] != 0) {
        const std::uint32_t colour = plot.PlotNakaColor[i];
        f.first = colour;
        f.opacity = plot.PlotAlpha[i];
        const bool gradient = plot.PlotGradation != 0 && plot.PlotGradiation[i] % 100 != 0 && !isBlack(colour) &&
                              !isWhite(colour);
        if (gradient) {
            f.kind = SlotFill::Gradient;
            f.second = plot.PlotNakaColor2[i];
            f.angle = plot.PlotGradiation[i] / 100;
        } else if (f.opacity == 100) {
            f.kind = SlotFill::Solid;
        } else {
            // A flat translucent fill: one colour at both ends.
            f.kind = SlotFill::Gradient;
            f.second = colour;
        }
    }
    if (plot.PlotbHach[i] != 0) {
        if (const auto style = kov::render::HatchStyleOf(plot.PlotHachT[i]))
            f.hatch = pf::Brush::hatched(*style, plot.PlotColor[i]);
    }
    return f;
}

// A closed polygon swatch: fills without an outline, then the outline with the slot pen.
void drawClosedSwatch(const CPlotInfo& plot, pf::Surface& dc, int slot, std::span<const DevicePoint> closed,
                      int gradientShape, int gradientCount, const SwatchEnvironment& env)
{
    const SlotFill f = slotFill(plot, slot, env);
    const pf::Pen none{pf::PenStyle::Null, 1, 0};
    switch (f.kind) {
    case SlotFill::Pattern: dc.polygon(closed, pf::FillRule::Alternate, none, f.pattern, kTransparent); break;
    case SlotFill::Gradient:
        plot.PaintGradientFill(dc, closed.data(), gradientCount, gradientShape, f.angle, f.first, f.second, f.opacity);
        break;
    case SlotFill::Solid:
        dc.polygon(closed, pf::FillRule::Alternate, none, pf::Brush::solid(f.first), kTransparent);
        break;
    case SlotFill::None: break;
    }
    if (f.hatch) dc.polygon(closed, pf::FillRule::Alternate, none, *f.hatch, kTransparent);
    dc.polyline(closed, slotPen(plot, slot), kTransparent);
}

// End-mark sizes of the line swatch by the mark size index, from the pick tolerance.
int lineSwatchMarkSize(int sizeIndex)
{
    const int p = g_nPickTolerance;
    switch (sizeIndex) {
    case 0: return truncToInt(0.7 * p);
    case 1: return p;
    case 2: return 3 * p / 2;
    case 3: return 2 * p;
    case 4: return 3 * p;
    default: return p;
    }
}

constexpr double kDegree = std::numbers::pi / 180.0;

} // namespace

void CPlotInfo::PaintGradientFill(pf::Surface& dc, const DevicePoint* points, int count, int shape, int angle,
                                  std::uint32_t colour1, std::uint32_t colour2, int opacity) const
{
    if (points == nullptr) return;
    const bool polygon = shape == 1 || shape == 2;
    if (!(polygon && count >= 3) && !(shape == 3 && count >= 2) && !(shape == 4 && count >= 4)) return;
    if (PlotGradation == 3) {
        colour1 = 0xF0F0F0;
        colour2 = 0x646464;
    }
    const double alpha = std::clamp(truncToInt(opacity * 255.0 / 100.0), 0, 255) / 255.0;
    const bool towardsEdge = PlotGradation == 2 || PlotGradation == 3;

    pf::FillShape fill;
    pf::DeviceRect box;
    std::vector<DevicePoint> outline(points, points + (polygon ? count : 0));
    if (polygon) {
        box = {points[0].x, points[0].y, points[0].x, points[0].y};
        for (const DevicePoint& p : outline) {
            box.left = std::min(box.left, p.x);
            box.top = std::min(box.top, p.y);
            box.right = std::max(box.right, p.x);
            box.bottom = std::max(box.bottom, p.y);
        }
        fill = pf::FillShape::polygon(outline, pf::FillRule::Winding);
    } else {
        box = pf::DeviceRect{points[0].x, points[0].y, points[1].x, points[1].y}.normalized();
        if (shape == 3) {
            fill = pf::FillShape::ellipse(box);
        } else {
            // The sector's angles (clockwise from the x axis, in degrees) as 360 + arcsin(dy / d) of
            // each point from the box's centre; from point 3's angle clockwise to point 2's.
            const double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
            auto angleOf = [&](const DevicePoint& p) {
                const double dx = p.x - cx, dy = p.y - cy;
                double d = std::hypot(dx, dy);
                if (d == 0) d = 1;
                return 360.0 + std::asin(std::clamp(dy / d, -1.0, 1.0)) / kDegree;
            };
            double start = angleOf(points[3]);
            double sweep = angleOf(points[2]) - start;
            if (start < 0) start += 360;
            if (sweep < 0) sweep += 360;
            // The surface runs sectors counter-clockwise between radial points: from the end of the
            // clockwise sweep back to its start.
            const double r = std::max({box.width(), box.height(), 1}) * 4.0;
            auto radial = [&](double degrees) {
                return DevicePoint{truncToInt(cx + r * std::cos(degrees * kDegree)),
                                   truncToInt(cy + r * std::sin(degrees * kDegree))};
            };
            fill = pf::FillShape::pie(box, radial(start + sweep), radial(start));
        }
    }

    if (towardsEdge) {
        pf::PathGradient g;
        g.centerColor = colour1;
        g.surroundColor = colour2;
        g.opacity = alpha;
        if (polygon) {
            g.boundary = outline;
            g.blend = {{0.0, colour2}, {PlotGradation == 3 ? 0.2 : 0.3, colour1}, {1.0, colour1}};
        } else {
            g.ellipse = true;
            g.ellipseBox = box;
        }
        dc.fillPathGradient(fill, g);
        return;
    }
    pf::LinearGradient g;
    g.box = box;
    g.from = colour1;
    g.to = colour2;
    g.angleDegrees = angle;
    g.opacity = alpha;
    dc.fillLinearGradient(fill, g);
}

void CPlotInfo::DrawWallSwatch(pf::Surface& dc, int x, int y, int width, int height,
                               const SwatchEnvironment& env) const
{
    const int s = g_nSnapTolerance;
    const pf::DeviceRect inset{x + s, y + s, x + width - s, y + height - s};
    dc.rectangle(inset, kPanelPen, pf::Brush::null(), kTransparent);
    switch (PlotWallBlack) {
    case 1: dc.fillRect(inset, pf::Brush::solid(kBlack), kTransparent); return;
    case 3: dc.fillRect(inset, pf::Brush::solid(PlotWallColor), kTransparent); return;
    case 4:
        dc.fillRect(inset, pf::Brush::solid(PlotWallColor), kTransparent);
        dc.rectangle(inset, kPanelPen, pf::Brush::null(), kTransparent);
        return;
    default: break;
    }
    if (walltype == 1) {
        const int mid = (inset.top + inset.bottom) / 2;
        dc.line({inset.left, mid}, {inset.right, mid}, kPanelPen, kTransparent);
    }
    if (PlotWallBlack == 2 && env.autoColumns != 0) {
        const int side = inset.height();
        const pf::Brush brush = pf::Brush::solid(PlotHasiraColor == 1 ? kBlack : kWhite);
        for (const int left : {inset.left, inset.right - side}) {
            const pf::DeviceRect square{left, inset.top, left + side, inset.bottom};
            dc.rectangle(square, kPanelPen, brush, kTransparent);
            if (PlotHasiraColor == 2) {
                dc.line({square.left, square.top}, {square.right, square.bottom}, kPanelPen, kTransparent);
                dc.line({square.right, square.top}, {square.left, square.bottom}, kPanelPen, kTransparent);
            }
        }
    }
}

void CPlotInfo::DrawColumnSwatch(pf::Surface& dc, int x, int y, int width, int height,
                                 const SwatchEnvironment&) const
{
    // The middle of the swatch wherever it stands (not the middle of 0..x + width).
    const DevicePoint c{x + width / 2, y + height / 2};
    const int p = g_nPickTolerance;
    const bool thin = hasiratype == 1;
    const pf::DeviceRect shape = thin ? pf::DeviceRect{c.x - p / 2, c.y - p, c.x - p / 2 + p, c.y + p}
                                      : pf::DeviceRect{c.x - p, c.y - p, c.x + p, c.y + p};
    dc.rectangle(shape, kPanelPen, pf::Brush::solid(PlotHasiraColor == 1 ? kBlack : kWhite), kTransparent);
    if (PlotHasiraColor == 2) {
        if (!thin) dc.line({shape.left, shape.top}, {shape.right, shape.bottom}, kPanelPen, kTransparent);
        dc.line({shape.right, shape.top}, {shape.left, shape.bottom}, kPanelPen, kTransparent);
    }
    if (hasiratype == 2) {
        const int s = g_nSnapTolerance;
        dc.ellipse({c.x - s, c.y - s, c.x + s, c.y + s}, kPanelPen, pf::Brush::null(), kTransparent);
    }
}

void CPlotInfo::DrawLineSwatch(pf::Surface& dc, int x, int y, int width, int height,
                               const SwatchEnvironment&) const
{
    const pf::Pen pen = slotPen(*this, 0);
    const int s = g_nSnapTolerance;
    const DevicePoint start{x + s, y + height / 2};
    const DevicePoint end{x + width - s, y + height / 2};
    dc.line(start, end, pen, kTransparent);

    const int code = PlotLineTanten[0];
    if (code < 1 || code > 12) return;
    const int m = lineSwatchMarkSize(PlotLineYaWide);
    const bool atStart = code % 3 != 2;  // 1, 3, 4, 6, 7, 9, 10, 12
    const bool atEnd = code % 3 != 1;    // 2, 3, 5, 6, 8, 9, 11, 12
    const std::uint32_t colour = PlotColor[0];
    const pf::Brush filled = pf::Brush::solid(colour);
    auto wings = [&](DevicePoint tip, double degrees) {
        const int wx = truncToInt(m * std::cos(degrees * kDegree));
        const int wy = truncToInt(m * std::sin(degrees * kDegree));
        return std::array<DevicePoint, 2>{DevicePoint{tip.x + wx, tip.y + wy}, DevicePoint{tip.x + wx, tip.y - wy}};
    };
    auto mark = [&](DevicePoint tip, double degrees) {
        if (code <= 6) {
            const auto w = wings(tip, degrees);
            if (code <= 3) {
                dc.line(w[0], tip, pen, kTransparent);
                dc.line(w[1], tip, pen, kTransparent);
            } else {
                const std::array<DevicePoint, 3> triangle{w[0], tip, w[1]};
                dc.polygon(triangle, pf::FillRule::Alternate, pen, filled, kTransparent);
            }
        } else if (code <= 9) {
            const int r = m / 2;
            dc.ellipse({tip.x - r, tip.y - r, tip.x + r, tip.y + r}, pen, filled, kTransparent);
        } else {
            const int h = m / 2;
            dc.rectangle({tip.x - h, tip.y - h, tip.x + h, tip.y + h}, pen, filled, kTransparent);
        }
    };
    if (atStart) mark(start, 30);
    if (atEnd) mark(end, 150);
}

void CPlotInfo::DrawRectangleSwatch(pf::Surface& dc, int x, int y, int width, int height,
                                    const SwatchEnvironment& env) const
{
    const int cx = x + width / 2, cy = y + height / 2;
    const int l = cx - width / 4, r = cx + width / 4, t = cy - height / 4, b = cy + height / 4;
    const std::array<DevicePoint, 5> closed{DevicePoint{l, t}, {l, b}, {r, b}, {r, t}, {l, t}};
    drawClosedSwatch(*this, dc, 1, closed, 1, 4, env);
}

void CPlotInfo::DrawPolygonSwatch(pf::Surface& dc, int x, int y, int width, int height,
                                  const SwatchEnvironment& env) const
{
    const int cx = x + width / 2;
    const int l = cx - width / 4, r = cx + width / 4;
    const int t = y + height / 2 - height / 4, b = y + height / 2 + height / 4;
    const std::array<DevicePoint, 6> closed{DevicePoint{l, t}, {l - 5, b}, {r, b}, {r + 10, t + 10}, {r, t - 3}, {l, t}};
    drawClosedSwatch(*this, dc, 2, closed, 2, 6, env);
}

void CPlotInfo::DrawCircleSwatch(pf::Surface& dc, int x, int y, int width, int height,
                                 const SwatchEnvironment& env) const
{
    const DevicePoint c{x + width / 2, y + height / 2};
    const int r = height / 4;
    const pf::DeviceRect box{c.x - r, c.y - r, c.x + r, c.y + r};
    const pf::Pen pen = slotPen(*this, 3);
    const SlotFill f = slotFill(*this, 3, env);
    switch (f.kind) {
    case SlotFill::Pattern: dc.ellipse(box, pen, f.pattern, kTransparent); return;
    case SlotFill::Gradient: {
        const std::array<DevicePoint, 2> corners{DevicePoint{box.left, box.top}, DevicePoint{box.right, box.bottom}};
        PaintGradientFill(dc, corners.data(), 2, 3, f.angle, f.first, f.second, f.opacity);
        dc.ellipse(box, pen, pf::Brush::null(), kTransparent);
        break;
    }
    case SlotFill::Solid: dc.ellipse(box, pen, pf::Brush::solid(f.first), kTransparent); break;
    case SlotFill::None:
        if (!f.hatch) dc.ellipse(box, pen, pf::Brush::null(), kTransparent);
        break;
    }
    if (f.hatch) dc.ellipse(box, pen, *f.hatch, kTransparent);
}

void CPlotInfo::DrawArcSwatch(pf::Surface& dc, int x, int y, int width, int height,
                              const SwatchEnvironment& env) const
{
    const DevicePoint c{x + width / 2, y + height / 2};
    const int r = height / 4;
    const pf::DeviceRect box{c.x - r, c.y - r, c.x + r, c.y + r};
    const DevicePoint right{c.x + r, c.y}, top{c.x, c.y - r};
    const int shape = PlotLineTanten[4];
    if (shape == 2) {
        const int type = PlotLineType[4];
        // A 2-pixel pen draws every broken style solid; the auxiliary line must not vanish as a null pen.
        const pf::PenStyle style = type >= 0 && type <= 4 ? pf::PenStyle(type) : pf::PenStyle::Solid;
        dc.arc(box, right, top, pf::Pen{style, 2, PlotColor[4]}, kTransparent);
        return;
    }
    const pf::Pen pen = slotPen(*this, 4);
    const bool chord = shape == 1;
    auto closed = [&](const pf::Brush& brush) {
        if (chord)
            dc.chord(box, right, top, pen, brush, kTransparent);
        else
            dc.pie(box, right, top, pen, brush, kTransparent);
    };
    const SlotFill f = slotFill(*this, 4, env);
    switch (f.kind) {
    case SlotFill::Pattern: closed(f.pattern); return;
    case SlotFill::Gradient:
        if (chord) {
            closed(pf::Brush::solid(f.first));
        } else {
            const std::array<DevicePoint, 4> points{DevicePoint{box.left, box.top}, DevicePoint{box.right, box.bottom},
                                                    right, top};
            PaintGradientFill(dc, points.data(), 4, 4, f.angle, f.first, f.second, f.opacity);
            dc.arc(box, right, top, pen, kTransparent);
        }
        break;
    case SlotFill::Solid: closed(pf::Brush::solid(f.first)); break;
    case SlotFill::None:
        if (!f.hatch) dc.arc(box, right, top, pen, kTransparent);
        break;
    }
    if (f.hatch) closed(*f.hatch);
}

void CFontMenu::DrawTextSwatch(pf::Surface& dc, double pixelsPerMm, int width, int height) const
{
    if (lfFaceName.empty()) return;
    pf::TextStyle style;
    style.font = kov::render::TextDeviceFont(*this, pixelsPerMm);
    style.charExtra = std::clamp(truncToInt(m_kankaku * pixelsPerMm), -pf::kMaxFontHeight, pf::kMaxFontHeight);
    style.color = m_Color;
    style.background = kTransparent;
    const std::string sample = "Aあ";
    const pf::TextSize size = dc.textExtent(sample, style.font, style.charExtra);
    dc.textOut({(width - size.cx) / 2, (height - size.cy) / 2}, sample, style);
}

void CRoomInfo::DrawRoomSwatch(pf::Surface& dc, const DevicePoint corners[4], int mode,
                               const SwatchEnvironment& env) const
{
    if (corners == nullptr) return;
    const int p = g_nPickTolerance;
    const std::array<DevicePoint, 4> quad{DevicePoint{corners[0].x + p, corners[0].y + p},
                                          DevicePoint{corners[1].x + p, corners[1].y - p},
                                          DevicePoint{corners[2].x - p, corners[2].y - p},
                                          DevicePoint{corners[3].x - p, corners[3].y + p}};
    const int X = quad[0].x, Y = quad[0].y;
    const int W = quad[2].x - X, H = quad[2].y - Y;
    const int right = X + W, bottom = Y + H;

    const bool hatches = Room_bHachColor != 0;
    const pf::Pen pen{pf::PenStyle::Solid, 1, hatches ? Room_HachColor : kBlack};
    const bool japaneseName = Room_Name == "和室" || Room_Name == "和 室" || Room_Name == "和　室";
    const bool tatami = (mode == 1 && env.tatamiBorders != 0 && (Room_HachType == HACH_TATAMI || japaneseName)) ||
                        (hatches && Room_HachType == HACH_TATAMI && env.tatamiBorders != 0);
    const bool flooring = !tatami && hatches && (Room_HachType == HACH_BOARD1 || Room_HachType == HACH_BOARD2);

    if (Room_bRoomColor != 0 && (!hatches || tatami || flooring)) {
        dc.polygon(quad, pf::FillRule::Alternate, pen, pf::Brush::solid(Room_RoomColor), kTransparent);
    } else if (hatches) {
        if (const auto style = kov::render::HatchStyleOf(Room_HachType)) {
            const pf::Background bk = Room_bRoomColor != 0 ? pf::Background::opaqueColor(Room_RoomColor) : kTransparent;
            dc.polygon(quad, pf::FillRule::Alternate, pen, pf::Brush::hatched(*style, Room_HachColor), bk);
        }
    }

    auto line = [&](int x0, int y0, int x1, int y1) { dc.line({x0, y0}, {x1, y1}, pen, kTransparent); };
    if (tatami) {
        line(X + W / 3, Y, X + W / 3, bottom);
        line(X, Y + 2 * H / 3, X + W / 3, Y + 2 * H / 3);
        line(X + W / 3, Y + H / 3, right, Y + H / 3);
        line(X + 2 * W / 3, Y + H / 3, X + 2 * W / 3, bottom);
    } else if (flooring && Room_HachType == HACH_BOARD1) {
        for (int k = 1; k <= 5; ++k) line(X, Y + k * H / 5, right, Y + k * H / 5);
        for (int k = 0; k < 5; ++k) {
            const int top = Y + k * H / 5, low = Y + (k + 1) * H / 5;
            if (k % 2 == 0) {
                line(X + W / 2, top, X + W / 2, low);
            } else {
                line(X + W / 10, top, X + W / 10, low);
                line(right - W / 10, top, right - W / 10, low);
            }
        }
    } else if (flooring) {
        for (int k = 1; k <= 10; ++k) line(X + k * W / 10, Y, X + k * W / 10, bottom);
        for (int k = 0; k < 10; ++k) {
            const int left = X + k * W / 10, next = X + (k + 1) * W / 10;
            if (k % 2 == 0) {
                line(left, Y + H / 2, next, Y + H / 2);
            } else {
                line(left, Y + H / 10, next, Y + H / 10);
                line(left, bottom - H / 10, next, bottom - H / 10);
            }
        }
    }

    const std::array<DevicePoint, 5> outline{quad[0], quad[1], quad[2], quad[3], quad[0]};
    dc.polyline(outline, kPanelPen, kTransparent);
}
