// The building's grid of axis lines in one step: x lines and y lines from the spacings of the
// axis-value file, a numbered circle at their ends and dimension lines for every spacing and each
// overall length, all centred on the drawing origin.

#include "building/NewFigures.h"

#include "model/AxisValueFile.h"
#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>

namespace {

// The running positions of lines spaced by the values: -dir·sum/2, then on by each value.
std::vector<double> positions(const std::vector<double>& spacings, double dir)
{
    const double sum = std::accumulate(spacings.begin(), spacings.end(), 0.0);
    std::vector<double> at{-dir * sum / 2};
    for (double s : spacings) at.push_back(at.back() + dir * s);
    return at;
}

class GridBuilder {
public:
    GridBuilder(CKovUnit& unit, SelectionRecord& selection, const CPlotInfo& plot, int layerGroup, int layer,
                std::uint32_t colour)
        : m_unit(unit), m_sel(selection), m_plot(plot), m_layerGroup(layerGroup), m_layer(layer), m_colour(colour)
    {
    }

    // Null once every figure identifier is in use: the grid stops there.
    CKovLine* figure(int kind, CDbPointArray points)
    {
        if (m_full) return nullptr;
        const int id = m_unit.NextLineId();
        if (id == CKovUnit::kNoFreeId) {
            m_full = true;
            return nullptr;
        }
        auto f = std::make_unique<CKovLine>();
        f->MLineID = id;
        f->MLinePnt = std::move(points);
        f->MLineType = kind;
        f->MLineColor = m_colour;
        f->MLineLayer1 = m_layerGroup;
        f->MLineLayer2 = m_layer;
        CKovLine* made = m_unit.m_Lines[m_unit.m_Lines.Add(std::move(f))];
        m_sel.AddLineId(id);
        return made;
    }

    void line(const CDbPoint& a, const CDbPoint& b, int lineType)
    {
        if (CKovLine* f = figure(CKovLine::LINE, {a, b})) {
            f->MLineLineT = lineType;
            f->MLineWide = 1;
            f->MLinebNakanuri = 0;
            f->MLinebHach = 0;
        }
    }

    void symbol(const CDbPoint& centre, double radius, const std::string& label, const CFontMenu& font)
    {
        if (CKovLine* f = figure(CKovLine::CIRCLE, {centre, {centre.x + radius, centre.y}})) {
            f->MLineParam = {radius};
            f->MLinebNakanuri = 1;
            f->MLineNakaColor = 0xFFFFFF;
            f->MLinebHach = 0;
            f->MLineWide = 1;
            f->MLineLineT = 0;
        }
        if (m_full) return;
        const int id = m_unit.NextTextId();
        if (id == CKovUnit::kNoFreeId) {
            m_full = true;
            return;
        }
        auto t = std::make_unique<CKovText>();
        t->MTextID = id;
        t->MTextstr = label;
        t->MTextFontMenu = font;
        t->MTextpnt = centre;
        t->MTextLayer1 = m_layerGroup;
        t->MTextLayer2 = m_layer;
        m_unit.m_Texts.Add(std::move(t));
        m_sel.AddTextId(id);
    }

    void dimension(CDbPoint a, CDbPoint b, const CDbPoint& ref)
    {
        CDbPoint textPoint;
        int side = 0;
        double length = 0, dist = 0;
        CKovUnit::OffsetSegment(a, b, ref.x, ref.y, textPoint, side, length, dist, 0);
        if (CKovLine* f = figure(CKovLine::DIMENSION, {a, b, textPoint}))
            f->MLineParam = {static_cast<double>(side), length, dist, static_cast<double>(m_plot.PlotSunpoTextHeight)};
    }

private:
    CKovUnit& m_unit;
    SelectionRecord& m_sel;
    const CPlotInfo& m_plot;
    int m_layerGroup, m_layer;
    std::uint32_t m_colour;
    bool m_full = false;
};

// A line from `from` to `to` along one axis, or its pieces between the crossing positions.
template <class MakePoint>
void axisLine(GridBuilder& b, double from, double to, const std::vector<double>& cuts, bool split, int lineType,
              MakePoint at)
{
    if (!split) {
        b.line(at(from), at(to), lineType);
        return;
    }
    b.line(at(from), at(cuts.front()), lineType);
    for (std::size_t j = 0; j + 1 < cuts.size(); ++j) b.line(at(cuts[j]), at(cuts[j + 1]), lineType);
    b.line(at(cuts.back()), at(to), lineType);
}

} // namespace

void CKovUnit::CreateGridLines(SelectionRecord& selection, const CPlotInfo& plot, const DeviceTransform& transform,
                               int layerGroup, int layer, const std::vector<double>& xs, const std::vector<double>& ys,
                               const AxisLineSettings& settings)
{
    const int g = std::clamp(layerGroup, 0, DeviceTransform::kLayerGroups - 1);
    const double scale = transform.scaleX[static_cast<std::size_t>(g)];
    if (!(scale > 0)) return;
    // The symbol unit: the length 15 screen pixels cover at this layer group's scale.
    const double u = 15.0 / scale;
    const double dx = settings.ats_houkou_sayu == 0 ? 1.0 : -1.0;
    const double dy = settings.ats_houkou_jyoge == 0 ? -1.0 : 1.0;
    const double sx = std::accumulate(xs.begin(), xs.end(), 0.0);
    const double sy = std::accumulate(ys.begin(), ys.end(), 0.0);
    const std::vector<double> x = positions(xs, dx);
    const std::vector<double> y = positions(ys, dy);
    const bool split = settings.ats_kousa != 0;
    const int lineType = settings.ats_sen_syurui;
    GridBuilder b(*this, selection, plot, layerGroup, layer, settings.ats_sen_color);

    for (double xi : x)
        axisLine(b, -dy * (sy / 2 + 2 * u), dy * (sy / 2 + 2 * u), y, split, lineType,
                 [xi](double v) { return CDbPoint{xi, v}; });
    for (double yj : y)
        axisLine(b, -dx * (sx / 2 + 2 * u), dx * (sx / 2 + 2 * u), x, split, lineType,
                 [yj](double v) { return CDbPoint{v, yj}; });

    CFontMenu font = plot.m_RoomInfo.m_Font;
    const double groupScale = plot.m_Layer.m_dScale[static_cast<std::size_t>(g)];
    font.m_size = groupScale != 0 ? std::fabs(u / 2) / groupScale : std::fabs(u / 2);
    font.m_Color = settings.ats_sen_color;
    font.m_toko_align = 1;
    font.m_tate_align = 1;
    auto label = [](const std::string& prefix, long long number) { return prefix + kov::platform::formatInt(number); };
    // Which ends carry circles: 0 the first end, 1 the second, 2 both, 3 none.
    auto ends = [](int view) {
        switch (view) {
        case 0: return std::vector<double>{-1};
        case 1: return std::vector<double>{1};
        case 2: return std::vector<double>{-1, 1};
        default: return std::vector<double>{};
        }
    };
    for (double side : ends(settings.ats_kigou_t_view))
        for (std::size_t i = 0; i < x.size(); ++i)
            b.symbol({x[i], side * (sy / 2 + 2.5 * u)}, u / 2,
                     label(settings.ats_kigou_y, static_cast<long long>(settings.ats_bangou_y) + static_cast<long long>(i)),
                     font);
    for (double side : ends(settings.ats_kigou_y_view))
        for (std::size_t j = 0; j < y.size(); ++j)
            b.symbol({side * (sx / 2 + 2.5 * u), y[j]}, u / 2,
                     label(settings.ats_kigou_t, static_cast<long long>(settings.ats_bangou_t) + static_cast<long long>(j)),
                     font);

    if (settings.ats_sunpouview == 0) return;
    const double top = -sy / 2, leftEdge = -sx / 2;
    b.dimension({x.front(), top}, {x.back(), top}, {(x.front() + x.back()) / 2, top - u});
    for (std::size_t i = 0; i + 1 < x.size(); ++i)
        b.dimension({x[i], top}, {x[i + 1], top}, {(x[i] + x[i + 1]) / 2, top - u / 4});
    b.dimension({leftEdge, y.front()}, {leftEdge, y.back()}, {leftEdge - u, (y.front() + y.back()) / 2});
    for (std::size_t j = 0; j + 1 < y.size(); ++j)
        b.dimension({leftEdge, y[j]}, {leftEdge, y[j + 1]}, {leftEdge - u / 4, (y[j] + y[j + 1]) / 2});
}
