#include "render/WallDrawers.h"

#include "model/DrawTransform.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Surface.h"
#include "render/Fills.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pf = kov::platform;
using namespace kov::render;

namespace kov::render {

namespace {

// Black and white and the chic display leave no wall colour.
bool wallColourSuppressed(const CPlotInfo& plot)
{
    return plot.PlotSirokuro != 0 || plot.PlotGradation == 3;
}

} // namespace

int EffectiveWallMode(int plotWallBlack)
{
    switch (plotWallBlack) {
    case kWallsBlack: case kWallsColoured: case kWallsColouredBlackEdges: return plotWallBlack;
    default: return kWallsWhite;
    }
}

std::uint32_t WallEdgeColour(const CKovWall& wall, const CPlotInfo& plot, bool output)
{
    std::uint32_t c = 0;
    if (EffectiveWallMode(plot.PlotWallBlack) == kWallsColoured) c = plot.PlotWallColor;
    if (wallColourSuppressed(plot)) c = 0;
    if (IsGreyedOut(plot, wall.MWallLayer1, wall.MWallLayer2, output)) c = kGreyedColour;
    return c;
}

bool IsWallSelected(const CKovWall& wall, const SelectionRecord& selection)
{
    auto has = [](const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    return has(selection.m_Walls, wall.MWallID) || (wall.MWallGrpID != 0 && has(selection.m_Groups, wall.MWallGrpID));
}

bool PassesWallFilter(const CKovWall& wall, const SelectionRecord& selection, int filter)
{
    if (filter == 1) return !IsWallSelected(wall, selection);
    if (filter == 2) return IsWallSelected(wall, selection);
    return true;
}

bool IsInPlacedGroup(const CKovWall& wall, const SelectionRecord& selection, bool placing)
{
    return placing && wall.MWallGrpID != 0 && !selection.m_Groups.empty()
           && wall.MWallGrpID == selection.m_Groups.front();
}

} // namespace kov::render

namespace {

const pf::Background kTransparent = pf::Background::transparent();

pf::DevicePoint dev(double x, double y, const DeviceTransform& t, int layerGroup)
{
    DevicePoint p;
    ToDevicePoint(p, x, y, t, layerGroup);
    return p;
}

pf::DevicePoint dev(const CDbPoint& p, const DeviceTransform& t, int layerGroup)
{
    return dev(p.x, p.y, t, layerGroup);
}

pf::Brush columnBrush(int columnDisplay)
{
    return pf::Brush::solid(columnDisplay == kColumnsBlack ? 0x000000 : 0xFFFFFF);
}

// Wall and column lines: 1 pixel on the screen and in pictures, the printer width of width code 1
// on printer pages.
int wallLineWidth(pf::Surface& dc, const CPlotInfo& plot)
{
    return dc.device().isPrinting ? plot.PenWidth(1, true) : 1;
}

std::array<pf::DevicePoint, 4> cornerPoints(const CKovWall& wall, const DeviceTransform& t)
{
    std::array<pf::DevicePoint, 4> pts;
    for (std::size_t i = 0; i < 4; ++i) pts[i] = dev(wall.MWallPntKado[i], t, wall.MWallLayer1);
    return pts;
}

void drawOutlineEdges(pf::Surface& dc, const DeviceTransform& t, const CKovWall& wall, const pf::Pen& pen)
{
    const std::size_t n = std::min(wall.MWallarPntA.size(), wall.MWallarPntB.size());
    for (std::size_t i = 0; i < n; ++i)
        dc.line(dev(wall.MWallarPntA[i], t, wall.MWallLayer1), dev(wall.MWallarPntB[i], t, wall.MWallLayer1), pen,
                kTransparent);
}

// The axis-parallel square of half side `half` about a wall end, as white walls show their ends.
void drawColumnSquare(pf::Surface& dc, const DeviceTransform& t, const CDbPoint& c, double half, int layerGroup,
                      const pf::Pen& pen, int columnDisplay)
{
    const pf::DevicePoint tl = dev(c.x - half, c.y - half, t, layerGroup);
    const pf::DevicePoint tr = dev(c.x + half, c.y - half, t, layerGroup);
    const pf::DevicePoint br = dev(c.x + half, c.y + half, t, layerGroup);
    const pf::DevicePoint bl = dev(c.x - half, c.y + half, t, layerGroup);
    const pf::DeviceRect fill{tl.x, tl.y, tl.x + std::abs(br.x - tl.x), tl.y + std::abs(br.y - tl.y)};
    dc.fillRect(fill, columnBrush(columnDisplay), kTransparent);
    dc.line(tl, tr, pen, kTransparent);
    dc.line(tr, br, pen, kTransparent);
    dc.line(br, bl, pen, kTransparent);
    dc.line(bl, tl, pen, kTransparent);
    if (columnDisplay == kColumnsWithDiagonals) {
        dc.line(tl, br, pen, kTransparent);
        dc.line(tr, bl, pen, kTransparent);
    }
}

// White walls: the core line when asked, and a column square at each end when the application
// shows them.
void drawWhiteWallExtras(pf::Surface& dc, const DeviceTransform& t, const CKovWall& wall, const CPlotInfo& plot,
                         const CKovUnit::DrawEnvironment& env, const pf::Pen& pen)
{
    if (wall.MWallType == 1)
        dc.line(dev(wall.MWallPntA, t, wall.MWallLayer1), dev(wall.MWallPntB, t, wall.MWallLayer1), pen, kTransparent);
    if (env.autoColumns != 0) {
        drawColumnSquare(dc, t, wall.MWallPntA, wall.MWallWide1, wall.MWallLayer1, pen, plot.PlotHasiraColor);
        drawColumnSquare(dc, t, wall.MWallPntB, wall.MWallWide1, wall.MWallLayer1, pen, plot.PlotHasiraColor);
    }
}

bool columnShown(const CKovWall& wall, const SelectionRecord& selection, bool placing, int filter)
{
    return PassesWallFilter(wall, selection, filter) && !IsInPlacedGroup(wall, selection, placing);
}

pf::Pen columnPen(pf::Surface& dc, const CKovWall& wall, const CPlotInfo& plot, bool output)
{
    const std::uint32_t colour = IsGreyedOut(plot, wall.MWallLayer1, wall.MWallLayer2, output) ? kGreyedColour : 0;
    return pf::Pen{pf::PenStyle::Solid, wallLineWidth(dc, plot), colour};
}

} // namespace

void CKovUnit::DrawWallPolygon(pf::Surface& dc, const DeviceTransform& transform, const CKovWall& wall,
                               const CPlotInfo& plot, const SelectionRecord& selection, bool placing, int filter,
                               bool output, const DrawEnvironment& env) const
{
    if (!PassesWallFilter(wall, selection, filter)) return;
    if (filter == 1 && IsInPlacedGroup(wall, selection, placing)) return;

    const int mode = EffectiveWallMode(plot.PlotWallBlack);
    const int w = wallLineWidth(dc, plot);
    const std::uint32_t c = WallEdgeColour(wall, plot, output);
    const bool blackAndWhite = wallColourSuppressed(plot);
    const bool greyed = IsGreyedOut(plot, wall.MWallLayer1, wall.MWallLayer2, output);
    const pf::Pen edgePen{pf::PenStyle::Solid, w, c};

    pf::Pen pen{pf::PenStyle::Null, 0, 0};
    pf::Brush brush = pf::Brush::solid(0xFFFFFF);
    if (mode == kWallsBlack || mode == kWallsColoured) {
        pen = edgePen;
        brush = pf::Brush::solid(c);
    } else if (mode == kWallsColouredBlackEdges) {
        brush = pf::Brush::solid(blackAndWhite ? 0x000000 : greyed ? kGreyedColour : plot.PlotWallColor);
    }

    const std::array<pf::DevicePoint, 4> corners = cornerPoints(wall, transform);
    if (env.traceMode && !output) {
        const DevicePoint pts[4] = {{corners[0].x, corners[0].y}, {corners[1].x, corners[1].y},
                                    {corners[2].x, corners[2].y}, {corners[3].x, corners[3].y}};
        FillGradientShape(dc, transform, pts, 4, 2, 0, c, c, 1, kTracingOpacity, plot.PlotGradation);
    } else {
        dc.polygon(corners, pf::FillRule::Alternate, pen, brush, kTransparent);
    }
    // Black and coloured walls merge into one shape with their neighbours: no edges of their own.
    if (mode == kWallsBlack || mode == kWallsColoured) return;

    drawOutlineEdges(dc, transform, wall, edgePen);
    if (mode == kWallsWhite) drawWhiteWallExtras(dc, transform, wall, plot, env, edgePen);
}

void CKovUnit::DrawColumn(pf::Surface& dc, const DeviceTransform& transform, const CKovWall& wall,
                          const CPlotInfo& plot, const SelectionRecord& selection, bool placing, int filter,
                          bool output, const DrawEnvironment& env) const
{
    if (!columnShown(wall, selection, placing, filter)) return;
    const pf::Pen pen = columnPen(dc, wall, plot, output);
    const std::array<pf::DevicePoint, 4> corners = cornerPoints(wall, transform);
    dc.polygon(corners, pf::FillRule::Alternate, pen, columnBrush(plot.PlotHasiraColor), kTransparent);
    if (plot.PlotHasiraColor != kColumnsWithDiagonals) return;

    // A square column shows both diagonals, a thin one the diagonal along its length.
    const double dx = std::abs(wall.MWallPntKado[0].x - wall.MWallPntKado[3].x);
    const double dy = std::abs(wall.MWallPntKado[0].y - wall.MWallPntKado[1].y);
    const bool square = std::abs(dx - dy) < 0.1;
    if (square || dx > dy) dc.line(corners[0], corners[2], pen, kTransparent);
    if (square || dx < dy) dc.line(corners[3], corners[1], pen, kTransparent);
}

void CKovUnit::DrawRoundColumn(pf::Surface& dc, const DeviceTransform& transform, const CKovWall& wall,
                               const CPlotInfo& plot, const SelectionRecord& selection, bool placing, int filter,
                               bool output, const DrawEnvironment& env) const
{
    if (wall.MHasiraType != CKovWall::THROUGH_COLUMN) return;
    if (!columnShown(wall, selection, placing, filter)) return;
    const pf::Pen pen = columnPen(dc, wall, plot, output);
    const double r = 3 * wall.MWallWide1;
    const pf::DevicePoint tl = dev(wall.MWallPntA.x - r, wall.MWallPntA.y - r, transform, wall.MWallLayer1);
    const pf::DevicePoint br = dev(wall.MWallPntA.x + r, wall.MWallPntA.y + r, transform, wall.MWallLayer1);
    dc.ellipse({tl.x, tl.y, br.x, br.y}, pen, pf::Brush::null(), kTransparent);
    if (plot.PlotHasiraColor == kColumnsWithDiagonals) {
        const std::array<pf::DevicePoint, 4> corners = cornerPoints(wall, transform);
        dc.line(corners[0], corners[2], pen, kTransparent);
        dc.line(corners[3], corners[1], pen, kTransparent);
    }
}

void CKovUnit::DrawAllWalls(pf::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                            const SelectionRecord& selection, bool placing, int filter, bool output,
                            const DrawEnvironment& env) const
{
    const int mode = EffectiveWallMode(plot.PlotWallBlack);
    const int w = wallLineWidth(dc, plot);
    const std::uint32_t wallColour = plot.PlotSirokuro != 0 ? 0x000000 : plot.PlotWallColor;

    pf::Pen pen{pf::PenStyle::Solid, 1, 0xFFFFFF};
    pf::Brush brush = pf::Brush::solid(0xFFFFFF);
    if (mode == kWallsBlack) {
        pen = {pf::PenStyle::Solid, w, 0x000000};
        brush = pf::Brush::solid(0x000000);
    } else if (mode == kWallsColoured) {
        pen = {pf::PenStyle::Solid, w, wallColour};
        brush = pf::Brush::solid(wallColour);
    } else if (mode == kWallsColouredBlackEdges) {
        pen = {pf::PenStyle::Null, 0, 0};
        brush = pf::Brush::solid(wallColour);
    }

    std::vector<const CKovWall*> shown;
    for (const auto& wall : m_Walls) {
        if (wall->MWall_Type != CKovWall::WALL) continue;
        if (!PassesWallFilter(*wall, selection, filter) || IsInPlacedGroup(*wall, selection, placing)) continue;
        shown.push_back(wall.get());
        dc.polygon(cornerPoints(*wall, transform), pf::FillRule::Alternate, pen, brush, kTransparent);
    }
    if (mode == kWallsBlack || mode == kWallsColoured) return;

    const pf::Pen edgePen{pf::PenStyle::Solid, w, 0x000000};
    for (const CKovWall* wall : shown) {
        drawOutlineEdges(dc, transform, *wall, edgePen);
        if (mode == kWallsWhite) drawWhiteWallExtras(dc, transform, *wall, plot, env, edgePen);
    }
}
