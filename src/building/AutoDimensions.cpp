// Dimensions laid around the walls in one go, and dimensions turned into their parts: the value
// as a text, the extension lines and a plain line in place of the dimension line.

#include "building/NewFigures.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Inserts v keeping the list ordered (ascending, or descending); a value already there exactly is
// not added again.
void insertOrdered(std::vector<double>& list, double v, bool ascending)
{
    auto it = ascending ? std::lower_bound(list.begin(), list.end(), v)
                        : std::lower_bound(list.begin(), list.end(), v, std::greater<double>());
    if (it != list.end() && *it == v) return;
    list.insert(it, v);
}

} // namespace

void CKovUnit::CreateAutoDimensions(int height, int distance, int scope, std::array<int, 2> sourceLayer,
                                    std::array<int, 2> targetLayer, SelectionRecord& selection, const CPlotInfo& plot)
{
    auto inScope = [&](const CKovWall& w) {
        return scope != 2 || (w.MWallLayer1 == sourceLayer[0] && w.MWallLayer2 == sourceLayer[1]);
    };
    bool any = false;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (const auto& w : m_Walls) {
        if (!inScope(*w)) continue;
        for (const CDbPoint& e : {w->MWallPntA, w->MWallPntB}) {
            if (!any) {
                minX = maxX = e.x;
                minY = maxY = e.y;
                any = true;
            }
            minX = std::min(minX, e.x);
            maxX = std::max(maxX, e.x);
            minY = std::min(minY, e.y);
            maxY = std::max(maxY, e.y);
        }
    }
    if (!any) return;
    const CDbPoint c{(minX + maxX) / 2, (minY + maxY) / 2};

    // y grows down the sheet: the top side is the side of the smallest y.
    std::vector<double> top, bottom, left, right;
    for (const auto& w : m_Walls) {
        if (!inScope(*w)) continue;
        for (const CDbPoint& e : {w->MWallPntA, w->MWallPntB}) {
            insertOrdered(e.y < c.y ? top : bottom, e.x, true);
            insertOrdered(e.x < c.x ? left : right, e.y, false);
        }
    }
    const double h = height, d = distance;
    const double yTop = minY - d, yBottom = maxY + d, xLeft = minX - d, xRight = maxX + d;

    auto add = [&](CDbPoint a, CDbPoint b, CDbPoint p) {
        const int id = AddDimensionLine(plot, {a, b}, p);
        if (id == 0) return;
        if (CKovLine* f = FindLine(id)) {
            f->MLineLayer1 = targetLayer[0];
            f->MLineLayer2 = targetLayer[1];
        }
        selection.AddLineId(id);
    };
    struct Side {
        const std::vector<double>* list;
        bool horizontal; // the list holds x values on a row at `row`
        double row, out; // the row and the outward direction (+1 or -1)
    };
    const Side sides[] = {{&top, true, yTop, -1}, {&bottom, true, yBottom, 1}, {&left, false, xLeft, -1},
                          {&right, false, xRight, 1}};
    auto at = [](const Side& s, double along, double offset) {
        return s.horizontal ? CDbPoint{along, s.row + s.out * offset} : CDbPoint{s.row + s.out * offset, along};
    };
    for (const Side& s : sides) {
        const std::vector<double>& v = *s.list;
        for (std::size_t i = 0; i + 1 < v.size(); ++i)
            add(at(s, v[i], 0), at(s, v[i + 1], 0), at(s, v[i], h));
    }
    for (const Side& s : sides) {
        const std::vector<double>& v = *s.list;
        if (v.size() < 2) continue;
        add(at(s, v.front(), h), at(s, v.back(), h), at(s, v.front(), 2 * h));
    }
}

void CKovUnit::DimensionsToText(SelectionRecord& selection, const CPlotInfo& plot, const CFontMenu& defaultFont)
{
    const std::vector<int> figures = selection.m_Lines;
    selection.Clear();
    for (int id : figures) {
        const CKovLine* dim = std::as_const(*this).FindLine(id);
        if (!dim || dim->MLineType != CKovLine::DIMENSION) continue;
        // Only the dimension tool makes these; one short of its points or values is passed over.
        if (dim->MLinePnt.size() < 3 || dim->MLineParam.size() < 3) continue;
        const int code = static_cast<int>(dim->MLineParam[0]);
        if (code < 1 || code > 6) continue;
        const CDbPoint a = dim->MLinePnt[0], b = dim->MLinePnt[1], textPoint = dim->MLinePnt[2];
        const double d = dim->MLineParam[2];
        const int layerGroup = dim->MLineLayer1, layer = dim->MLineLayer2;

        auto text = std::make_unique<CKovText>();
        text->MTextID = NextTextId();
        text->MTextstr = FormatDimensionValue(dim->MLineParam[1], plot);
        text->MTextpnt = textPoint;
        text->MTextLayer1 = layerGroup;
        text->MTextLayer2 = layer;
        CFontMenu& font = text->MTextFontMenu;
        font = defaultFont;
        font.lfHeight = font.lfWidth = font.lfEscapement = font.lfOrientation = 0;
        font.lfWeight = 400;
        font.lfItalic = font.lfUnderline = font.lfStrikeOut = 0;
        font.lfCharSet = 1;
        font.lfOutPrecision = 3;
        font.lfClipPrecision = 2;
        font.lfQuality = 1;
        font.lfPitchAndFamily = 0x31;
        font.lfFaceName = CFontMenu::limitFaceName(plot.PlotSunpoFont);
        font.m_size = plot.PlotSunpoTextHeight;
        font.m_kankaku = 0;
        font.m_Color = 0;
        font.m_bBack = 0;
        font.m_BackColor = 0xFFFFFF;

        CDbPoint ea, eb;
        switch (code) {
        case 1: ea = {a.x, a.y - d}; eb = {b.x, b.y - d}; break;
        case 2: ea = {a.x - d, a.y}; eb = {b.x - d, b.y}; break;
        case 3: ea = {a.x, a.y + d}; eb = {b.x, b.y + d}; break;
        case 4: ea = {a.x + d, a.y}; eb = {b.x + d, b.y}; break;
        default: {
            // Oblique: both ends at the distance d from A-B, on the side of the vertical shift.
            const double s = code == 5 ? 1.0 : -1.0;
            const CDbPoint l1{a.x, a.y + s * d}, l2{b.x, b.y + s * d};
            ea = PointTowards(a, FootOfPerpendicular(l1, l2, a), d);
            eb = PointTowards(b, FootOfPerpendicular(l1, l2, b), d);
            break;
        }
        }
        if (code <= 4) {
            font.lfEscapement = code == 2 || code == 4 ? 900 : 0;
            font.m_toko_align = 1;
            font.m_tate_align = 2;
        } else {
            int e = truncToInt(10 * VectorAngle(a.x, a.y, b.x, b.y));
            // Never upside down.
            if (e >= 901 && e <= 2699) e -= 1800;
            font.lfEscapement = e;
            font.m_tate_align = code == 5 ? 0 : 2;
        }
        if (plot.PlotSunpoTextView != 0 && text->MTextID != kNoFreeId) {
            const int textId = text->MTextID;
            m_Texts.Add(std::move(text));
            selection.AddTextId(textId);
        }

        auto line = [&](const CDbPoint& p, const CDbPoint& q) -> CKovLine* {
            const int lineId = NextLineId();
            if (lineId == kNoFreeId) return nullptr;
            auto f = std::make_unique<CKovLine>();
            f->MLineID = lineId;
            f->MLinePnt = {p, q};
            f->MLineType = CKovLine::LINE;
            f->MLineLayer1 = layerGroup;
            f->MLineLayer2 = layer;
            CKovLine* made = m_Lines[m_Lines.Add(std::move(f))];
            selection.AddLineId(lineId);
            return made;
        };
        if (ea != a) line(a, ea);
        if (eb != b) line(b, eb);
        if (CKovLine* f = line(ea, eb)) {
            f->MLineTanten = plot.PlotSunpoTanten;
            f->MLineYaWide = plot.PlotSunpoYawide;
        }
        DeleteLine(id);
    }
}
