#include "jwcad/JwExport.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.1415926535;

int lineTypeOfJwcPen(int pen)
{
    // The low four bits carry the line style; the others are attributes of the DOS program.
    switch (pen & 0x0F) {
    case 2: return 2;
    case 3: case 4: return 1;
    case 5: case 6: return 3;
    case 7: case 8: return 4;
    case 9: return 5;
    default: return 0;
    }
}

std::uint32_t colourOfJwc(int c)
{
    switch (c) {
    case 1: return 0xFFFF00;   // 0x00BBGGRR: (0, 255, 255)
    case 3: return 0x008000;
    case 4: return 0x00FFFF;   // (255, 255, 0)
    case 5: return 0x800080;
    case 6: return 0xFF0000;   // (0, 0, 255)
    default: return 0;
    }
}

CFontMenu importedFont(const CFontMenu& current)
{
    CFontMenu f = current;
    f.lfFaceName = "ＭＳ ゴシック";
    f.lfHeight = f.lfWidth = f.lfEscapement = f.lfOrientation = 0;
    f.lfWeight = 400;
    f.lfItalic = f.lfUnderline = f.lfStrikeOut = 0;
    f.lfCharSet = 1;
    f.lfOutPrecision = 3;
    f.lfClipPrecision = 2;
    f.lfQuality = 1;
    f.lfPitchAndFamily = 0x31;
    f.m_Color = 0;
    f.m_bBack = 0;
    f.m_BackColor = 0xFFFFFF;
    return f;
}

// Tenths of a degree of the base line, counter-clockwise, rounded into 0-3599. File y points up.
int escapementOf(double x1, double y1, double x2, double y2)
{
    if (x1 == x2 && y1 == y2)
        return 0;
    double deg = std::atan2(y2 - y1, x2 - x1) * 180.0 / kPi;
    long t = std::lround(deg * 10.0) % 3600;
    if (t < 0)
        t += 3600;
    return static_cast<int>(t);
}

void applyFlags(CFontMenu& f, int flags)
{
    if (flags & 0x10)
        f.m_tate_align = 2;
    if (flags & 0x20)
        f.lfFaceName = "@ＭＳ ゴシック";
}

struct Placement {
    // drawing = (c / scale × k − ox, oy − c / scale × k), per layer group; in double precision so
    // that a file written here reads back to the very numbers it was written from.
    double scale = 1;
    std::array<double, 16> k{};
    std::array<double, 16> ox{}, oy{};
    CDbPoint point(double x, double y, int group) const
    {
        const auto g = static_cast<std::size_t>(group & 0x0F);
        return CDbPoint(x / scale * k[g] - ox[g], oy[g] - y / scale * k[g]);
    }
    double length(double d, int group) const { return d / scale * k[static_cast<std::size_t>(group & 0x0F)]; }
};

// The figure of a line item with its two points in drawing millimetres; null when no identifier
// is left.
std::unique_ptr<CKovLine> lineFigure(CKovUnit& unit, const CJWSen& item, const CDbPoint& a, const CDbPoint& b,
                                     int group, int layer)
{
    auto fig = std::make_unique<CKovLine>();
    fig->MLineID = unit.NextLineId();
    if (fig->MLineID == CKovUnit::kNoFreeId)
        return nullptr;
    fig->MLineType = CKovLine::LINE;
    fig->MLineLayer1 = group;
    fig->MLineLayer2 = layer;
    fig->MLinePnt = {a, b};
    fig->MLineLineT = lineTypeOfJwcPen(item.m_pen);
    fig->MLineColor = colourOfJwc(item.m_color);
    return fig;
}

// A circle item about its centre in drawing millimetres: a circle when its two angles are equal,
// else an arc from the start to the end angle.
std::unique_ptr<CKovLine> circleFigure(CKovUnit& unit, const CJWEnko& item, const CDbPoint& c, double r, int group,
                                       int layer)
{
    auto fig = std::make_unique<CKovLine>();
    fig->MLineID = unit.NextLineId();
    if (fig->MLineID == CKovUnit::kNoFreeId)
        return nullptr;
    fig->MLineLayer1 = group;
    fig->MLineLayer2 = layer;
    fig->MLinePnt = {c};
    fig->MLineParam = {r};
    if (item.m_flat != 1.0f && item.m_flat > 0)
        fig->MLineParam.push_back(item.m_flat);
    if (item.m_start == item.m_end) {
        fig->MLineType = CKovLine::CIRCLE;
    } else {
        fig->MLineType = CKovLine::ARC;
        const double a = item.m_start * kPi / 180, b = item.m_end * kPi / 180;
        fig->MLinePnt.emplace_back(c.x + r * std::cos(a), c.y - r * std::sin(a));
        fig->MLinePnt.emplace_back(c.x + r * std::cos(b), c.y - r * std::sin(b));
    }
    fig->MLineLineT = lineTypeOfJwcPen(item.m_pen);
    fig->MLineColor = colourOfJwc(item.m_color);
    return fig;
}

// A text item at its anchor in drawing millimetres, in the imported font with the item's flags.
std::unique_ptr<CKovText> textObject(CKovUnit& unit, const CJWMozi& item, const std::string& cp932, const CDbPoint& at,
                                     const CFontMenu& font, int group, int layer)
{
    // The texts stop at the counter's limit: past it every new identifier is searched for from 1.
    if (unit.m_Texts.GetSize() >= CKovUnit::kTextIdLimit)
        return nullptr;
    auto text = std::make_unique<CKovText>();
    text->MTextID = unit.NextTextId();
    if (text->MTextID == CKovUnit::kNoFreeId)
        return nullptr;
    text->MTextLayer1 = group;
    text->MTextLayer2 = layer;
    text->MTextpnt = at;
    text->MTextstr = kov::platform::fromCp932(cp932);
    text->MTextFontMenu = font;
    applyFlags(text->MTextFontMenu, item.m_flags);
    text->MTextFontMenu.lfEscapement = escapementOf(item.m_x1, item.m_y1, item.m_x2, item.m_y2);
    return text;
}

} // namespace

JwImportOutcome ImportJwcDrawing(const std::uint8_t* data, std::size_t size, const CFontMenu& currentFont,
                                 CPlotInfo& plot, CKovUnit& unit)
{
    JwImportOutcome out;
    JwcData d;
    const JwReadResult read = d.ReadJwc(data, size);
    if (!read.ok) {
        out.messages.push_back(jwtexts::kNotJwc);
        out.detail = read.error + " at byte " + std::to_string(read.offset);
        return out;
    }
    if (d.m_line1.m_badScale) {
        out.messages.push_back(jwtexts::kBadJwcScale);
        out.detail = "the file's scale is past any drawing's";
        return out;
    }
    out.ok = true;
    // Set when the identifiers of a kind ran out: what followed was not read.
    bool full = false;
    CLayer& layers = plot.m_Layer;
    layers.m_nCurrentGroup = 0;
    layers.m_nCurrentLayer = 0;
    const int s = static_cast<int>(std::trunc(d.m_line1.m_scale));
    int code = d.m_line1.m_paper;
    switch (code) {
    case 0: case 1: plot.PlotPaperSize = 4; break;
    case 2: plot.PlotPaperSize = 3; break;
    case 3: plot.PlotPaperSize = 2; break;
    case 4: plot.PlotPaperSize = 0; break;
    default: plot.PlotPaperSize = 4; code = 1; break;
    }
    // Half the sheet the file was written on, at its scale: the file's origin is the sheet's centre.
    const double W = std::trunc(static_cast<double>(JwcData::kPaperWidth[static_cast<std::size_t>(code)]) * s / 2);
    const double H = std::trunc(static_cast<double>(JwcData::kPaperHeight[static_cast<std::size_t>(code)]) * s / 2);
    for (int g = 0; g < 16; ++g)
        if (d.m_groupScale[static_cast<std::size_t>(g)] != 0)
            layers.m_dScale[static_cast<std::size_t>(g)] = d.m_groupScale[static_cast<std::size_t>(g)];
    unit.ResetIdCounters();
    Placement place;
    place.scale = d.m_line1.m_scale;
    for (int g = 0; g < 16; ++g) {
        const int gs = d.m_groupScale[static_cast<std::size_t>(g)];
        // A group without a scale of its own keeps the file's.
        const double k = gs != 0 ? gs : static_cast<double>(d.m_line1.m_scale);
        place.k[static_cast<std::size_t>(g)] = k;
        place.ox[static_cast<std::size_t>(g)] = std::trunc(W / place.scale * k);
        place.oy[static_cast<std::size_t>(g)] = std::trunc(H / place.scale * k);
    }
    for (const CJWSen& item : d.m_sen) {
        const int g = item.m_layer >> 4;
        auto fig = lineFigure(unit, item, place.point(item.m_x1, item.m_y1, g), place.point(item.m_x2, item.m_y2, g), g,
                              item.m_layer & 0x0F);
        if (!fig) {
            full = true;
            break;
        }
        unit.m_Lines.Add(std::move(fig));
    }
    for (const CJWEnko& item : d.m_enko) {
        const int g = item.m_layer >> 4;
        auto fig = circleFigure(unit, item, place.point(item.m_cx, item.m_cy, g), place.length(item.m_r, g), g,
                                item.m_layer & 0x0F);
        if (!fig) {
            full = true;
            break;
        }
        unit.m_Lines.Add(std::move(fig));
    }
    const CFontMenu base = importedFont(currentFont);
    const std::size_t texts = std::min(d.m_mozi.size(), d.m_poolStrings.size());
    for (std::size_t i = 0; i < texts; ++i) {
        const CJWMozi& item = d.m_mozi[i];
        const int g = item.m_layer >> 4;
        CFontMenu font = base;
        const auto kind = static_cast<std::size_t>(std::min<int>(item.m_kind, JwcData::kKinds - 1));
        // Tenths of a millimetre: 25 is 2.5 mm.
        font.m_size = d.m_kindSize[kind] / 10.0;
        font.m_kankaku = d.m_kindSpacing[kind] / 10.0;
        font.m_toko_align = d.m_line2.m_textAlignH;
        font.m_tate_align = d.m_line2.m_textAlignV;
        auto text = textObject(unit, item, d.m_poolStrings[i], place.point(item.m_x1, item.m_y1, g), font, g,
                               item.m_layer & 0x0F);
        if (!text) {
            full = true;
            break;
        }
        unit.m_Texts.Add(std::move(text));
    }
    for (int g = 0; g < 16; ++g) {
        for (int l = 0; l < 16; ++l)
            layers.m_LayerInfo[static_cast<std::size_t>(g)][static_cast<std::size_t>(l)] = CLayerInfo();
        layers.m_GrpLayerInfo[static_cast<std::size_t>(g)] = CLayerInfo();
    }
    if (full) out.messages.push_back(jwtexts::kDrawingFull);
    return out;
}

JwImportOutcome ImportJwkFigures(const std::uint8_t* data, std::size_t size, const CFontMenu& currentFont,
                                 const CPlotInfo& plot, CKovUnit& unit, SelectionRecord& selection, int& outGroup)
{
    JwImportOutcome out;
    outGroup = 0;
    JwcData d;
    const JwReadResult read = d.ReadJwk(data, size);
    if (!read.ok) {
        out.messages.push_back(jwtexts::kNotJwc);
        out.detail = read.error + " at byte " + std::to_string(read.offset);
        return out;
    }
    out.ok = true;
    // Set when the identifiers of a kind ran out: what followed was not read.
    bool full = false;
    const int cg = std::clamp(plot.m_Layer.m_nCurrentGroup, 0, 15), cl = std::clamp(plot.m_Layer.m_nCurrentLayer, 0, 15);
    selection.Clear();
    auto origin = std::make_unique<CKovLine>();
    origin->MLineID = unit.NextLineId();
    if (origin->MLineID == CKovUnit::kNoFreeId)
        return out;
    origin->MLineType = CKovLine::LINE;
    origin->MLineLayer1 = cg;
    origin->MLineLayer2 = cl;
    origin->MLinePnt = {CDbPoint(0, 0), CDbPoint(0, 0)};
    origin->MLineLineT = CKovLine::AUXILIARY_LINE_TYPE;
    selection.AddLineId(origin->MLineID);
    unit.m_Lines.Add(std::move(origin));
    for (const CJWSen& item : d.m_sen) {
        auto fig = lineFigure(unit, item, CDbPoint(item.m_x1, -item.m_y1), CDbPoint(item.m_x2, -item.m_y2), cg, cl);
        if (!fig) {
            full = true;
            break;
        }
        selection.AddLineId(fig->MLineID);
        unit.m_Lines.Add(std::move(fig));
    }
    for (const CJWEnko& item : d.m_enko) {
        auto fig = circleFigure(unit, item, CDbPoint(item.m_cx, -item.m_cy), item.m_r, cg, cl);
        if (!fig) {
            full = true;
            break;
        }
        selection.AddLineId(fig->MLineID);
        unit.m_Lines.Add(std::move(fig));
    }
    CFontMenu font = importedFont(currentFont);
    font.m_size = currentFont.m_size;
    font.m_kankaku = currentFont.m_kankaku;
    font.m_toko_align = 0;
    font.m_tate_align = 0;
    const std::size_t texts = std::min(d.m_mozi.size(), d.m_poolStrings.size());
    for (std::size_t i = 0; i < texts; ++i) {
        const CJWMozi& item = d.m_mozi[i];
        auto text = textObject(unit, item, d.m_poolStrings[i], CDbPoint(item.m_x1, -item.m_y1), font, cg, cl);
        if (!text) {
            full = true;
            break;
        }
        selection.AddTextId(text->MTextID);
        unit.m_Texts.Add(std::move(text));
    }
    outGroup = GroupSelectedForPlacement(unit, selection, cg, cl);
    if (full) out.messages.push_back(jwtexts::kDrawingFull);
    return out;
}
