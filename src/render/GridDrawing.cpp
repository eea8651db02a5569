#include "render/GridDrawing.h"

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/NumberText.h"
#include "render/LineStyles.h"

#include <algorithm>
#include <cmath>

namespace kov::render {

using platform::DevicePoint;
using platform::Pen;
using platform::PenStyle;
using platform::Surface;

namespace {

constexpr double kCoordLimit = kDeviceCoordLimit;

int clampCoord(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(v), -kCoordLimit, kCoordLimit));
}

bool usableStep(double step)
{
    return std::isfinite(step) && step > 0.0;
}

// Calls fn(k, position) for the lines start ± truncate(k × step) that fall within [lo, hi], on one
// side (+1 or −1) of the start, k from `firstK` upward. Only the k that can land in the range are
// visited, so a start far outside the area or a small step costs no more than the area's lines.
template <typename Fn>
void forEachLine(int start, double step, int lo, int hi, int side, long long firstK, Fn&& fn)
{
    if (!usableStep(step) || lo > hi)
        return;
    // Offsets from the start that lie in the range.
    const double nearOffset = side > 0 ? static_cast<double>(lo) - start : static_cast<double>(start) - hi;
    const double farOffset = side > 0 ? static_cast<double>(hi) - start : static_cast<double>(start) - lo;
    if (farOffset < 0)
        return;
    const double kFrom = std::max<double>(static_cast<double>(firstK), std::floor(nearOffset / step) - 1);
    const double kTo = std::floor(farOffset / step) + 1;
    // A step below one pixel would put a line on every pixel many times over: once per pixel does.
    const double maxLines = static_cast<double>(hi) - lo + 3;
    int last = side > 0 ? lo - 1 : hi + 1;
    bool any = false;
    for (double k = kFrom; k <= kTo; ++k) {
        const int offset = clampCoord(k * step);
        const long long p = static_cast<long long>(start) + side * static_cast<long long>(offset);
        if (p < lo || p > hi)
            continue;
        if (any && p == last)
            continue;
        fn(static_cast<long long>(k), static_cast<int>(p));
        last = static_cast<int>(p);
        any = true;
        if (kTo - kFrom > maxLines * 4 && step < 1.0) {
            // Sub-pixel steps: walk the pixels instead of the k.
            for (long long q = p + side; side > 0 ? q <= hi : q >= lo; q += side)
                fn(static_cast<long long>(std::floor((side > 0 ? q - start : start - q) / step)), static_cast<int>(q));
            return;
        }
    }
}

struct AxisGrid {
    int start = 0;        // device position of the grid start
    double step = 0;      // pixels between lines
    double startMm = 0;   // the start in sheet millimetres
    double spacingMm = 0;
};

struct GridGeometry {
    AxisGrid x;
    AxisGrid y;
    int index = 0;
};

int currentGroup(const CPlotInfo& plot)
{
    return std::clamp(plot.m_Layer.m_nCurrentGroup, 0, DeviceTransform::kLayerGroups - 1);
}

GridGeometry gridGeometry(const DeviceTransform& t, const CGrid& grid, const CPlotInfo& plot)
{
    GridGeometry g;
    g.index = GridInUse(grid);
    const auto i = static_cast<std::size_t>(g.index);
    const auto c = static_cast<std::size_t>(currentGroup(plot));
    const double sx = t.scaleX[c];
    const double sy = t.scaleY[c];
    g.x.startMm = grid.StGridW[i];
    g.y.startMm = grid.StGridD[i];
    g.x.spacingMm = grid.GridW[i];
    g.y.spacingMm = grid.GridD[i];
    g.x.start = clampCoord(static_cast<double>(t.originX) + clampCoord(sx * g.x.startMm));
    // The start's y counts upward from the sheet origin.
    g.y.start = clampCoord(static_cast<double>(t.originY) - clampCoord(sy * g.y.startMm));
    g.x.step = g.x.spacingMm * sx;
    g.y.step = g.y.spacingMm * sy;
    return g;
}

std::vector<int> positions(const AxisGrid& a, int lo, int hi)
{
    std::vector<int> out;
    if (!usableStep(a.step))
        return out;
    forEachLine(a.start, a.step, lo, hi, -1, 1, [&](long long, int p) { out.push_back(p); });
    std::reverse(out.begin(), out.end());
    forEachLine(a.start, a.step, lo, hi, +1, 1, [&](long long, int p) { out.push_back(p); });
    return out;
}

void verticalLine(Surface& dc, int x, const DeviceRect& area, const Pen& pen)
{
    dc.line({x, area.top}, {x, area.bottom}, pen);
}

void horizontalLine(Surface& dc, int y, const DeviceRect& area, const Pen& pen)
{
    dc.line({area.left, y}, {area.right, y}, pen);
}

bool inside(int p, int lo, int hi)
{
    return p >= lo && p <= hi;
}

// Dotted lines at the snap points between grid lines, away from the start on each side.
template <typename Draw>
void drawSubdivisions(const AxisGrid& a, int n, int lo, int hi, Draw&& draw)
{
    if (!usableStep(a.step))
        return;
    const double sub = a.step / n;
    auto beyond = [&](int linePos, int side) {
        for (int j = 1; j < n; ++j) {
            const long long p = linePos + side * static_cast<long long>(clampCoord(j * sub));
            if (p >= lo && p <= hi)
                draw(static_cast<int>(p));
        }
    };
    // The line just outside the area still has subdivisions inside it.
    forEachLine(a.start, a.step, static_cast<int>(std::max<double>(lo - a.step - 1, -kCoordLimit)), hi, +1, 0,
                [&](long long, int p) { beyond(p, +1); });
    forEachLine(a.start, a.step, lo, static_cast<int>(std::min<double>(hi + a.step + 1, kCoordLimit)), -1, 0,
                [&](long long, int p) { beyond(p, -1); });
}

} // namespace

int GridInUse(const CGrid& grid)
{
    for (int i = CGrid::kGrids - 1; i >= 1; --i)
        if (grid.BGrid[static_cast<std::size_t>(i)])
            return i;
    return 0;
}

std::vector<int> GridLinePositions(int start, double step, int lo, int hi)
{
    AxisGrid a;
    a.start = start;
    a.step = step;
    return positions(a, lo, hi);
}

std::string GridRulerLabel(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return platform::formatInt(static_cast<long long>(value));
    return platform::formatFixed(value, 1);
}

void DrawGrid(Surface& dc, const DeviceTransform& transform, const DeviceRect& area, const CGrid& grid,
              const CPlotInfo& plot, const GridDrawOptions& options)
{
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const GridGeometry g = gridGeometry(transform, grid, plot);
    const std::uint32_t colour = grid.color[static_cast<std::size_t>(g.index)];
    const Pen gridPen{PenStyle::Solid, std::max(options.lineWidth, 1), colour};
    const Pen axisPen{PenStyle::Solid, 2, grid.color[0]};
    const Pen subPen{PenStyle::Dot, 1, colour};

    const int n = grid.kyutyakukankaku;
    if (grid.app_griddot && n > 1) {
        drawSubdivisions(g.x, n, area.left, area.right, [&](int x) { verticalLine(dc, x, area, subPen); });
        drawSubdivisions(g.y, n, area.top, area.bottom, [&](int y) { horizontalLine(dc, y, area, subPen); });
    }

    for (int x : positions(g.x, area.left, area.right))
        verticalLine(dc, x, area, gridPen);
    for (int y : positions(g.y, area.top, area.bottom))
        horizontalLine(dc, y, area, gridPen);
    // The axes, only where the device would show them.
    if (usableStep(g.x.step) && inside(g.x.start, area.left, area.right))
        verticalLine(dc, g.x.start, area, axisPen);
    if (usableStep(g.y.step) && inside(g.y.start, area.top, area.bottom))
        horizontalLine(dc, g.y.start, area, axisPen);

    if (!grid.GridMemori)
        return;
    const Pen rulerPen{PenStyle::Solid, 2, 0x0000FF};
    platform::TextStyle text;
    text.font.faceName = "ＭＳ ゴシック";
    text.font.height = options.dpiAware > 144 ? 11 * options.dpiAware / 96 : 11;
    text.font.weight = 400;
    text.font.charSet = 1;
    text.font.outPrecision = 3;
    text.font.clipPrecision = 2;
    text.font.quality = 1;
    text.font.pitchAndFamily = 0x31;
    text.color = 0xFF0000;
    text.background = platform::Background::transparent();
    const platform::TextSize a = dc.textExtent("A", text.font);
    const bool counts = grid.GridMemoriType == 1;

    auto label = [&](long long k, double value) { return counts ? platform::formatInt(k) : GridRulerLabel(value); };
    for (int side : {+1, -1}) {
        forEachLine(g.x.start, g.x.step, area.left, area.right, side, 0, [&](long long k, int x) {
            const int len = k % 5 == 0 ? 20 : 10;
            dc.line({x, area.top}, {x, area.top + len}, rulerPen);
            if (len == 20)
                dc.textOut({x, area.top + len + a.cy / 2},
                           label(k, g.x.startMm + side * static_cast<double>(k) * g.x.spacingMm), text);
        });
        // Downward (side +1) the values fall: y reads upward.
        forEachLine(g.y.start, g.y.step, area.top, area.bottom, side, 0, [&](long long k, int y) {
            const int len = k % 5 == 0 ? 20 : 10;
            dc.line({area.left, y}, {area.left + len, y}, rulerPen);
            if (len == 20)
                dc.textOut({area.left + len + a.cx / 2, y},
                           label(k, g.y.startMm - side * static_cast<double>(k) * g.y.spacingMm), text);
        });
    }
}

void DrawGridForOutput(Surface& dc, const DeviceTransform& transform, const DeviceRect& area, const CGrid& grid,
                       const CPlotInfo& plot, const GridDrawOptions& options)
{
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const GridGeometry g = gridGeometry(transform, grid, plot);
    const std::uint32_t colour = plot.PlotSirokuro ? 0x000000 : grid.colorp;
    const int width = options.lineWidth == 2 ? plot.PenWidth(1, true) : 1;
    const Pen pen{PenStyle::Solid, width, colour};
    auto styled = [&](DevicePoint a, DevicePoint b) {
        CKovUnit::DrawStyledLine(dc, transform, kDottedLine, a, b, plot, pen);
    };
    for (int x : positions(g.x, area.left, area.right))
        styled({x, area.top}, {x, area.bottom});
    for (int y : positions(g.y, area.top, area.bottom))
        styled({area.left, y}, {area.right, y});
    if (usableStep(g.x.step) && inside(g.x.start, area.left, area.right))
        styled({g.x.start, area.top}, {g.x.start, area.bottom});
    if (usableStep(g.y.step) && inside(g.y.start, area.top, area.bottom))
        styled({area.left, g.y.start}, {area.right, g.y.start});
}

} // namespace kov::render
