#include "jwcad/JwConversion.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kPi = 3.1415926535;
constexpr double kTwoPi = 6.283185307;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint16_t kSolidOwnColour = 10;
// Nested block inserts deeper than this are left out (real drawings nest a handful).
constexpr int kMaxBlockDepth = 16;
// Inserts of inserts multiply: past this many records met inside blocks, further inserts are left
// out, so a small hostile file cannot keep the import busy for ever.
constexpr long long kMaxExpansions = 4'000'000;
// Segments of a tilted ellipse the drawing cannot hold as such.
constexpr int kEllipseSegments = 72;
// Version-7 picture records are texts whose string starts so.
constexpr std::string_view kPictureRecordMark = "^@BM";

int lineTypeOfPen(int pen)
{
    switch (pen) {
    case 2: return 1;
    case 3: case 4: return 2;
    case 5: case 6: return 3;
    case 7: case 8: return 4;
    case 9: return 5;
    default: return 0;
    }
}

int layerGroupOf(const CData& r, const JwConversionContext& ctx)
{
    const int g = ctx.groupOverride >= 0 ? ctx.groupOverride : r.m_nGLayer;
    return (g >= 0 && g < 16) ? g : 0;
}

int layerOf(const CData& r, const JwConversionContext& ctx)
{
    const int l = ctx.layerOverride >= 0 ? ctx.layerOverride : r.m_nLayer;
    return (l >= 0 && l < 16) ? l : 0;
}

std::uint32_t penColour(const JwConversionContext& ctx, int number)
{
    // Numbers beyond the table name no colour: black.
    if (number < 0 || number >= JwwHeader::kPens)
        return 0;
    return ctx.printColors[static_cast<std::size_t>(number)];
}

std::uint32_t lineColour(const JwConversionContext& ctx, int number)
{
    if (ctx.options.m_bAllBlack)
        return 0;
    const std::uint32_t c = penColour(ctx, number) & 0xFFFFFF;
    return (c == kWhite && !ctx.options.m_bKeepWhite) ? 0 : c;
}

int widthOf(const CData& r, const JwConversionContext& ctx)
{
    if (ctx.options.m_bWidthOne || r.m_nPenWidth > 9)
        return 1;
    return r.m_nPenWidth + 1;
}

double normalise(double a)
{
    if (a < 0)
        a += kTwoPi;
    else if (a >= kTwoPi)
        a -= kTwoPi;
    return a;
}

bool nearMultipleOf(double angle, double step)
{
    const double k = std::round(angle / step);
    return std::fabs(angle - k * step) < 1e-9;
}

std::unique_ptr<CKovLine> newFigure(const CData& r, JwConversionContext& ctx)
{
    auto fig = std::make_unique<CKovLine>();
    fig->MLineID = ctx.unit.NextLineId();
    fig->MLinebNakanuri = 0;
    fig->MLineColor = lineColour(ctx, r.m_nPenColor);
    fig->MLineGrpID = 0;
    fig->MLineWide = widthOf(r, ctx);
    fig->MLineLayer1 = layerGroupOf(r, ctx);
    fig->MLineLayer2 = layerOf(r, ctx);
    fig->MLineLineT = lineTypeOfPen(r.m_nPenStyle);
    return fig;
}

int addFigure(JwConversionContext& ctx, std::unique_ptr<CKovLine> fig, bool atFront = false)
{
    const int id = fig->MLineID;
    if (id == CKovUnit::kNoFreeId) {
        ctx.full = true;
        return 0;
    }
    if (atFront)
        ctx.unit.m_Lines.InsertAt(0, std::move(fig));
    else
        ctx.unit.m_Lines.Add(std::move(fig));
    ctx.selection.AddLineId(id);
    return id;
}

// Drawing millimetres of a Jw_cad point; values that are no number (damaged files) become 0 so
// they never reach the drawing.
CDbPoint toDrawing(double x, double y, double s)
{
    auto finite = [](double v) { return std::isfinite(v) ? v : 0.0; };
    return CDbPoint(finite(s * x), finite(-(s * y)));
}

// An ellipse (or circle) of Jw_cad coordinates, after the block transform, as a figure: a circle,
// an axis-parallel ellipse or arc the drawing holds as such, else a polyline through it.
struct JwEllipse {
    double cx = 0, cy = 0, r = 0, flat = 1, tilt = 0;  // major semi-axis r along tilt, minor r·flat
    double start = 0, sweep = kTwoPi;                  // parametric, radians, counter-clockwise
    bool full = true;
};

// Maps the ellipse through the transform; false when the map is not a similarity (the caller then
// samples the transformed curve).
bool transformEllipse(JwEllipse& e, const JwwBlockTransform& t)
{
    if (t.IsIdentity())
        return true;
    const double sx = std::hypot(t.a, t.b), sy = std::hypot(t.c, t.d);
    const bool orthogonal = std::fabs(t.a * t.c + t.b * t.d) <= 1e-9 * std::max(1.0, sx * sy);
    if (!orthogonal || std::fabs(sx - sy) > 1e-9 * std::max(1.0, sx))
        return false;
    t.Apply(e.cx, e.cy);
    e.r *= sx;
    double ux = std::cos(e.tilt), uy = std::sin(e.tilt);
    t.ApplyLinear(ux, uy);
    e.tilt = std::atan2(uy, ux);
    if (t.Determinant() < 0) {
        // A mirror runs the curve the other way round.
        e.start = -(e.start + e.sweep);
    }
    return true;
}

CDbPoint ellipsePoint(const JwEllipse& e, double param)
{
    const double px = e.r * std::cos(param), py = e.r * e.flat * std::sin(param);
    const double ct = std::cos(e.tilt), st = std::sin(e.tilt);
    return CDbPoint(e.cx + px * ct - py * st, e.cy + px * st + py * ct);
}

// Completes the figure (pens and layer already set) as a circle, ellipse or arc, or as a polyline
// where the drawing cannot hold the curve.
int emitEllipse(JwConversionContext& ctx, JwEllipse e, const JwwBlockTransform& t,
                double s, std::unique_ptr<CKovLine> fig, bool atFront)
{
    // A damaged record's numbers that are no number become harmless ones.
    if (!std::isfinite(e.cx) || !std::isfinite(e.cy))
        e.cx = e.cy = 0;
    if (!std::isfinite(e.r))
        e.r = 0;
    if (!std::isfinite(e.flat) || !(e.flat > 0))
        e.flat = 1.0;
    if (!std::isfinite(e.tilt))
        e.tilt = 0;
    if (!std::isfinite(e.start) || !std::isfinite(e.sweep)) {
        e.start = 0;
        e.sweep = kTwoPi;
    }
    // More than a whole turn draws nothing more; starts far out come back to one turn.
    e.sweep = std::clamp(e.sweep, -kTwoPi, kTwoPi);
    e.start = std::fmod(e.start, kTwoPi);
    const bool similar = transformEllipse(e, t);
    const bool circle = e.flat == 1.0;
    const bool axisAligned = nearMultipleOf(e.tilt, kPi);
    const bool upright = !axisAligned && nearMultipleOf(e.tilt - kPi / 2, kPi);
    if (similar && (circle || axisAligned || upright)) {
        double r = e.r, flat = e.flat;
        if (upright && !circle) {
            // Major axis vertical: the drawing's ellipse holds it as a short x radius and a large ratio.
            r = e.r * e.flat;
            flat = 1.0 / e.flat;
        }
        fig->MLinePnt.push_back(toDrawing(e.cx, e.cy, s));
        fig->MLineParam.push_back(std::isfinite(s * r) ? s * r : 0.0);
        if (!circle)
            fig->MLineParam.push_back(flat);
        if (e.full) {
            fig->MLineType = CKovLine::CIRCLE;
        } else {
            fig->MLineType = CKovLine::ARC;
            // The arc's ends lie on the circle of radius s·r in the directions of the curve's ends.
            auto endAt = [&](double param) {
                const CDbPoint p = ellipsePoint(e, param);
                const double dir = std::atan2(p.y - e.cy, p.x - e.cx);
                return CDbPoint(s * e.cx + s * e.r * std::cos(dir), -s * e.cy - s * e.r * std::sin(dir));
            };
            const double a = normalise(e.start), b = normalise(e.start + e.sweep);
            if (e.sweep >= 0) {
                fig->MLinePnt.push_back(endAt(a));
                fig->MLinePnt.push_back(endAt(b));
            } else {
                fig->MLinePnt.push_back(endAt(b));
                fig->MLinePnt.push_back(endAt(a));
            }
        }
    } else {
        // Sampled: when the map is no similarity, e is still in the record's own coordinates.
        const int n = std::max(4, static_cast<int>(std::ceil(kEllipseSegments * std::fabs(e.sweep) / kTwoPi)));
        for (int k = 0; k <= n; ++k) {
            CDbPoint p = ellipsePoint(e, e.start + e.sweep * k / n);
            if (!similar)
                t.Apply(p.x, p.y);
            fig->MLinePnt.push_back(toDrawing(p.x, p.y, s));
        }
        if (e.full) {
            fig->MLinePnt.pop_back();
            fig->MLineType = CKovLine::POLYGON;
        } else {
            fig->MLineType = CKovLine::CONTINUOUS;
        }
    }
    return addFigure(ctx, std::move(fig), atFront);
}

void replaceByPolyline(JwConversionContext& ctx, int id)
{
    if (id <= 0 || ctx.options.m_bArcsToPolylines != 1)
        return;
    const CKovLine* fig = ctx.unit.FindLine(id);
    if (!fig || (fig->MLineType != CKovLine::CIRCLE && fig->MLineType != CKovLine::ARC))
        return;
    const int newId = ctx.unit.CircleToPolylineForImport(id, 24);
    if (newId < 0)
        return;
    // The selection names the replacement.
    auto& ids = ctx.selection.m_Lines;
    std::replace(ids.begin(), ids.end(), id, newId);
}

} // namespace

JwwBlockTransform JwwBlockTransform::Insert(double x, double y, double scaleX, double scaleY, double angle)
{
    const double c0 = std::cos(angle), s0 = std::sin(angle);
    JwwBlockTransform t;
    t.a = c0 * scaleX;
    t.b = s0 * scaleX;
    t.c = -s0 * scaleY;
    t.d = c0 * scaleY;
    t.e = x;
    t.f = y;
    return t;
}

JwwBlockTransform JwwBlockTransform::Compose(const JwwBlockTransform& in) const
{
    JwwBlockTransform r;
    r.a = a * in.a + c * in.b;
    r.b = b * in.a + d * in.b;
    r.c = a * in.c + c * in.d;
    r.d = b * in.c + d * in.d;
    r.e = a * in.e + c * in.f + e;
    r.f = b * in.e + d * in.f + f;
    return r;
}

void JwwBlockTransform::Apply(double& x, double& y) const
{
    const double nx = a * x + c * y + e;
    const double ny = b * x + d * y + f;
    x = nx;
    y = ny;
}

void JwwBlockTransform::ApplyLinear(double& x, double& y) const
{
    const double nx = a * x + c * y;
    const double ny = b * x + d * y;
    x = nx;
    y = ny;
}

void JwConversionContext::TakeColours(const JwwHeader& header)
{
    for (int i = 0; i < JwwHeader::kPens; ++i)
        printColors[static_cast<std::size_t>(i)] = header.m_pens[static_cast<std::size_t>(i)].printColor;
    solidsFirst = (header.m_switches[2] % 10 == 1 || header.m_switches[2] % 10 == 2) ? 1 : 0;
    textBackground = (header.m_textDrawMode % 10 == 3) ? 1 : 0;
}

int CData::ConvertToDrawing(JwConversionContext&, int, const JwwBlockTransform&) const { return 1; }

int CDataTen::ConvertToDrawing(JwConversionContext& ctx, int, const JwwBlockTransform&) const
{
    ++ctx.pointsDropped;
    return 1;
}

bool CDataMoji::IsSettingText() const
{
    // Zero-length, of a version-7 file, and of the form "Name = value" with no blank in either.
    if (m_nVersion < 700 || m_start_x != m_end_x || m_start_y != m_end_y)
        return false;
    const std::string_view s = m_string;
    const auto eq = s.find(" = ");
    if (eq == std::string_view::npos || eq == 0 || s.find(' ', eq + 3) != std::string_view::npos)
        return false;
    const std::string_view name = s.substr(0, eq);
    const bool letterFirst = (name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z');
    return letterFirst && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

int CDataSen::ConvertToDrawing(JwConversionContext& ctx, int, const JwwBlockTransform& t) const
{
    const double s = ctx.scales[static_cast<std::size_t>(layerGroupOf(*this, ctx))];
    double x1 = m_start_x, y1 = m_start_y, x2 = m_end_x, y2 = m_end_y;
    t.Apply(x1, y1);
    t.Apply(x2, y2);
    auto fig = newFigure(*this, ctx);
    fig->MLineType = CKovLine::LINE;
    fig->MLinePnt = {toDrawing(x1, y1, s), toDrawing(x2, y2, s)};
    addFigure(ctx, std::move(fig));
    return ctx.full ? 0 : 1;
}

int CDataEnko::ConvertToDrawing(JwConversionContext& ctx, int, const JwwBlockTransform& t) const
{
    const double s = ctx.scales[static_cast<std::size_t>(layerGroupOf(*this, ctx))];
    JwEllipse e;
    e.cx = m_start_x;
    e.cy = m_start_y;
    e.r = m_dHankei;
    e.flat = m_dHenpeiRitsu;
    e.tilt = m_radKatamukiKaku;
    e.full = m_bZenEnFlg != 0;
    e.start = e.full ? 0.0 : m_radKaishiKaku;
    e.sweep = e.full ? kTwoPi : m_radEnkoKaku;
    const int id = emitEllipse(ctx, e, t, s, newFigure(*this, ctx), false);
    replaceByPolyline(ctx, id);
    return ctx.full ? 0 : 1;
}

int CDataMoji::ConvertToDrawing(JwConversionContext& ctx, int, const JwwBlockTransform& t) const
{
    if (std::string_view(m_string).substr(0, kPictureRecordMark.size()) == kPictureRecordMark || IsSettingText())
        return 1;
    const double s = ctx.scales[static_cast<std::size_t>(layerGroupOf(*this, ctx))];
    double sx = m_start_x, sy = m_start_y, ex = m_end_x, ey = m_end_y;
    double height = m_dSizeY, width = m_dSizeX;
    double angle = std::isfinite(m_degKakudo) ? m_degKakudo : 0.0;
    if (!t.IsIdentity()) {
        t.Apply(sx, sy);
        t.Apply(ex, ey);
        const double rad = m_degKakudo * kPi / 180.0;
        double dx = std::cos(rad), dy = std::sin(rad), nx = -std::sin(rad), ny = std::cos(rad);
        t.ApplyLinear(dx, dy);
        t.ApplyLinear(nx, ny);
        width *= std::hypot(dx, dy);
        height *= std::hypot(nx, ny);
        angle = std::atan2(dy, dx) * 180.0 / kPi;
    }
    auto text = std::make_unique<CKovText>();
    // The texts stop at the counter's limit: past it every new identifier is searched for from 1
    // over all the texts there are, which made a file of many texts read for minutes.
    text->MTextID = ctx.unit.m_Texts.GetSize() >= CKovUnit::kTextIdLimit ? CKovUnit::kNoFreeId : ctx.unit.NextTextId();
    if (text->MTextID == CKovUnit::kNoFreeId) {
        ctx.full = true;
        return 0;
    }
    text->MTextstr = m_string;
    text->MTextGrpID = 0;
    text->MTextLayer1 = layerGroupOf(*this, ctx);
    text->MTextLayer2 = layerOf(*this, ctx);
    CFontMenu& f = text->MTextFontMenu;
    double rx = (sx + ex) / 2, ry = (sy + ey) / 2;
    f.m_toko_align = 1;
    switch (m_nPenStyle) {
    case 1: case 4: case 7: rx = sx; ry = sy; f.m_toko_align = 0; break;
    case 3: case 6: case 9: rx = ex; ry = ey; f.m_toko_align = 2; break;
    default: break;
    }
    // The base-point code also says where the anchor lies across the line: top row 7-9, middle
    // row 4-6; the base line itself for 1-3 and for files that give no code.
    f.m_tate_align = 2;
    double across = 0;
    if (m_nPenStyle >= 7 && m_nPenStyle <= 9) {
        f.m_tate_align = 0;
        across = height;
    } else if (m_nPenStyle >= 4 && m_nPenStyle <= 6) {
        f.m_tate_align = 1;
        across = height / 2;
    }
    if (across != 0 && std::isfinite(across)) {
        const double up = (angle + 90.0) * kPi / 180.0;
        rx += across * std::cos(up);
        ry += across * std::sin(up);
    }
    text->MTextpnt = toDrawing(rx, ry, s);
    // Tenths of a degree, rounded and kept in 0-3599.
    long tenths = std::lround(std::fmod(angle, 360.0) * 10.0);
    tenths %= 3600;
    if (tenths < 0)
        tenths += 3600;
    f.lfHeight = 0;
    f.lfWidth = 0;
    f.lfEscapement = static_cast<std::int32_t>(tenths);
    f.lfOrientation = 0;
    const std::uint32_t style = m_nMojiShu / 10000;
    f.lfWeight = (style & 2) ? 700 : 400;
    f.lfItalic = (style & 1) ? 1 : 0;
    f.lfUnderline = 0;
    f.lfStrikeOut = 0;
    f.lfCharSet = 1;
    f.lfOutPrecision = 3;
    f.lfClipPrecision = 2;
    f.lfQuality = 1;
    f.lfPitchAndFamily = 0x31;
    if (!m_strFontName.empty())
        f.lfFaceName = m_strFontName;
    f.m_Color = lineColour(ctx, m_nPenColor);
    f.m_size = std::isfinite(height) && height > 0 ? height : (std::isfinite(width) && width > 0 ? width : f.m_size);
    f.m_kankaku = std::isfinite(m_dKankaku) ? m_dKankaku : 0.0;
    f.m_bBack = ctx.textBackground;
    f.m_BackColor = kWhite;
    f.m_gyoukan = 0;
    const int id = text->MTextID;
    ctx.unit.m_Texts.Add(std::move(text));
    ctx.selection.AddTextId(id);
    return 1;
}

int CDataSunpou::ConvertToDrawing(JwConversionContext& ctx, int transformed, const JwwBlockTransform& t) const
{
    // The embedded records keep their own layers, inside a block too.
    const int layer = ctx.layerOverride, group = ctx.groupOverride;
    ctx.layerOverride = ctx.groupOverride = -1;
    int ok = m_Sen.ConvertToDrawing(ctx, transformed, t) && m_Moji.ConvertToDrawing(ctx, transformed, t);
    if (ok && m_nVersion >= 420)
        ok = m_SenHo1.ConvertToDrawing(ctx, transformed, t) && m_SenHo2.ConvertToDrawing(ctx, transformed, t);
    ctx.layerOverride = layer;
    ctx.groupOverride = group;
    return ok;
}

int CDataSolid::ConvertToDrawing(JwConversionContext& ctx, int, const JwwBlockTransform& t) const
{
    if (ctx.options.m_nSolids == 2)
        return 1;
    const int g = layerGroupOf(*this, ctx);
    const double s = ctx.scales[static_cast<std::size_t>(g)];
    const std::uint32_t colour =
        (m_nPenColor == kSolidOwnColour ? m_Color : penColour(ctx, m_nPenColor)) & 0xFFFFFF;
    auto fig = newFigure(*this, ctx);
    fig->MLinebNakanuri = 1;
    fig->MLineColor = colour;
    fig->MLineNakaColor = colour;
    // One colour in the gradient modes too.
    fig->MLineNakaColor2 = colour;
    fig->MLineLineT = 0;
    // A solid is its fill alone: an outline would draw it larger, and black on white in black and white.
    fig->MLineNoOutline = 1;
    // Layer 0 of its own layer group: another group may be at another scale, where the solid
    // would no longer lie under what it fills.
    if (ctx.options.m_nSolids == 0)
        fig->MLineLayer2 = 0;
    const bool front = ctx.solidsFirst != 0;
    const bool circular = m_nPenStyle == 101 || m_nPenStyle == 105 || m_nPenStyle == 106 || m_nPenStyle == 111;
    if (circular) {
        if (m_nPenStyle == 111) {
            // Drawn as its outline: the one circular solid that keeps a line.
            fig->MLinebNakanuri = 0;
            fig->MLineNoOutline = 0;
        }
        JwEllipse e;
        e.cx = m_start_x;
        e.cy = m_start_y;
        e.r = m_end_x;
        e.flat = (std::isfinite(m_end_y) && m_end_y > 0) ? m_end_y : 1.0;
        e.tilt = m_DPoint2_x;
        e.full = m_DPoint3_y == 100.0;
        e.start = e.full ? 0.0 : m_DPoint2_y;
        e.sweep = e.full ? kTwoPi : m_DPoint3_x;
        if (!e.full && m_DPoint3_y == 5.0)
            fig->MLineTanten = 1;
        emitEllipse(ctx, e, t, s, std::move(fig), front);
        return ctx.full ? 0 : 1;
    }
    fig->MLineType = CKovLine::POLYGON;
    const double xs[4] = {m_start_x, m_end_x, m_DPoint2_x, m_DPoint3_x};
    const double ys[4] = {m_start_y, m_end_y, m_DPoint2_y, m_DPoint3_y};
    // A triangle repeats its third corner as the fourth.
    const int corners = (xs[3] == xs[2] && ys[3] == ys[2]) ? 3 : 4;
    for (int i = 0; i < corners; ++i) {
        double x = xs[i], y = ys[i];
        t.Apply(x, y);
        fig->MLinePnt.push_back(toDrawing(x, y, s));
    }
    addFigure(ctx, std::move(fig), front);
    return ctx.full ? 0 : 1;
}

int CDataBlock::ConvertToDrawing(JwConversionContext& ctx, int, const JwwBlockTransform& t) const
{
    if (ctx.depth >= kMaxBlockDepth)
        return 1;
    const CDataList* chosen = nullptr;
    for (const auto& entry : ctx.blocks) {
        if (!entry || entry->GetKind() != LIST)
            continue;
        const auto& def = static_cast<const CDataList&>(*entry);
        if (def.m_nNumber != m_n_Number)
            continue;
        if (ctx.options.m_nBlockLimit != 0 && def.m_DataList.size() > static_cast<std::size_t>(ctx.options.m_nBlockLimit)) {
            ctx.options.m_bBlockSkipped = 1;
            continue;
        }
        chosen = &def;
        break;
    }
    // A definition that inserts itself, directly or through others, is expanded once.
    if (!chosen || std::find(ctx.expanding.begin(), ctx.expanding.end(), chosen) != ctx.expanding.end())
        return 1;
    const JwwBlockTransform inner =
        t.Compose(JwwBlockTransform::Insert(m_DPKijunTen_x, m_DPKijunTen_y, m_dBairitsuX, m_dBairitsuY, m_radKaitenKaku));
    const int layer = ctx.layerOverride, group = ctx.groupOverride;
    // The records take the insert's own layer; an insert inside a block keeps its own.
    ctx.layerOverride = layerOf(*this, ctx);
    ctx.groupOverride = layerGroupOf(*this, ctx);
    ctx.expanding.push_back(chosen);
    ++ctx.depth;
    int result = 1;
    for (const auto& record : chosen->m_DataList) {
        if (!record)
            continue;
        if (++ctx.expansions > kMaxExpansions) {
            ctx.expansionCut = true;
            break;
        }
        if (record->GetKind() == BLOCK) {
            // A nested insert keeps its own layer.
            const int l = ctx.layerOverride, g = ctx.groupOverride;
            ctx.layerOverride = ctx.groupOverride = -1;
            result = record->ConvertToDrawing(ctx, 1, inner);
            ctx.layerOverride = l;
            ctx.groupOverride = g;
        } else {
            result = record->ConvertToDrawing(ctx, 1, inner);
        }
        if (!result)
            break;
    }
    --ctx.depth;
    ctx.expanding.pop_back();
    ctx.layerOverride = layer;
    ctx.groupOverride = group;
    return result;
}

int CKovUnit::CircleToPolylineForImport(int figureId, int baseCount)
{
    const int index = FindLineIndex(figureId);
    if (index < 0)
        return -1;
    const CKovLine& fig = *m_Lines[index];
    if (fig.MLinePnt.empty() || fig.MLineParam.empty())
        return -1;
    const CDbPoint c = fig.MLinePnt[0];
    const double r = fig.MLineParam[0];
    const bool elliptic = fig.MLineParam.size() >= 2;
    const double flat = elliptic ? fig.MLineParam[1] : 1.0;
    auto countFor = [&](double length) {
        // A damaged file's negative or NaN radius is one step, never an int out of range.
        int n = !(length > 0) ? 1 : length < 120 ? static_cast<int>(length) : baseCount;
        n = std::min(n, 960);
        return n <= 0 ? 1 : n;
    };
    CDbPointArray pts;
    int kind = 0;
    if (fig.MLineType == CKovLine::CIRCLE) {
        const double length = elliptic ? (r * flat + r) * 0.5 * kTwoPi : kTwoPi * r;
        const int n = countFor(length);
        // Real steps: a whole number of degrees leaves a gap before the closing point.
        const double step = 360.0 / n;
        pts.emplace_back(c.x + r, c.y);
        for (int k = 1; k < n; ++k) {
            const double theta = k * step * kPi / 180.0;
            pts.emplace_back(c.x + r * std::cos(theta), c.y - r * flat * std::sin(theta));
        }
        pts.push_back(pts.front());
        kind = CKovLine::POLYGON;
    } else if (fig.MLineType == CKovLine::ARC && fig.MLinePnt.size() >= 3) {
        auto onEllipse = [&](const CDbPoint& d) {
            if (!elliptic)
                return d;
            const double a = r, b = r * flat;
            const double dx = d.x - c.x, dy = d.y - c.y;
            const double len = std::hypot(dx / a, dy / b);
            if (len == 0)
                return CDbPoint(c.x + a, c.y);
            return CDbPoint(c.x + dx / len, c.y + dy / len);
        };
        const CDbPoint S = onEllipse(fig.MLinePnt[1]), E = onEllipse(fig.MLinePnt[2]);
        const double alpha = VectorAngle(c.x, c.y, S.x, S.y), beta = VectorAngle(c.x, c.y, E.x, E.y);
        double sweep = beta - alpha;
        if (sweep < 0)
            sweep += 360;
        // A flat ellipse (no minor radius) or a damaged point gives no angle: no polyline, the arc stays.
        if (!std::isfinite(sweep))
            return -1;
        int n = static_cast<int>(std::min(baseCount, 960) * sweep / 360);
        if (n <= 0)
            n = 1;
        const double step = sweep / n;
        pts.push_back(S);
        for (int k = 1; k < n; ++k) {
            double dir = alpha + k * step;
            if (dir >= 360)
                dir -= 360;
            pts.push_back(onEllipse(PointAtAngle(c.x, c.y, dir, r)));
        }
        pts.push_back(E);
        kind = CKovLine::CONTINUOUS;
    } else {
        return -1;
    }
    if (pts.size() < 2)
        return -1;
    auto copy = std::make_unique<CKovLine>(fig);
    copy->MLineID = NextLineId();
    if (copy->MLineID == kNoFreeId)
        return -1;
    copy->MLinePnt = std::move(pts);
    copy->MLineParam.clear();
    copy->MLineTanten = 0;
    copy->MLineType = kind;
    const int id = copy->MLineID;
    m_Lines.Add(std::move(copy));
    m_Lines.DeleteAt(FindLineIndex(figureId));
    return id;
}

namespace {

void convertAll(JwConversionContext& ctx, const JwRecordList& records)
{
    const JwwBlockTransform none;
    for (const auto& r : records) {
        if (!r)
            continue;
        if (!r->ConvertToDrawing(ctx, 0, none))
            break;
    }
}

std::string formatLimit(int limit)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, jwtexts::kBlocksSkipped, limit);
    return buf;
}

} // namespace

namespace {

// Jw_cad states: 0 hidden, 1 shown only, 2 editable, 3 written to (editable).
int layerStateOfJw(std::uint32_t state)
{
    switch (state) {
    case 0: return CLayerInfo::LAYER_HIDDEN;
    case 1: return CLayerInfo::LAYER_VISIBLE;
    default: return CLayerInfo::LAYER_SNAP;
    }
}

void sayPointsDropped(JwImportOutcome& out, long long points)
{
    if (points <= 0)
        return;
    char buf[160];
    std::snprintf(buf, sizeof buf, jwtexts::kPointsDropped, points);
    out.messages.push_back(buf);
}

} // namespace

JwImportOutcome ImportJwwDrawing(const std::uint8_t* data, std::size_t size, JwwImportOptions options, CPlotInfo& plot,
                                 CKovUnit& unit)
{
    JwImportOutcome out;
    JwwHeader header;
    header.ClearJwwHeader();
    const JwReadResult read = header.ReadJwwArchive(data, size);
    if (!read.ok) {
        out.messages.push_back(jwtexts::kNotJww);
        out.detail = read.error + " at byte " + std::to_string(read.offset);
        return out;
    }
    out.ok = true;
    switch (header.m_nZumen) {
    case 2: plot.PlotPaperSize = 3; break;
    case 3: plot.PlotPaperSize = 2; break;
    case 4: plot.PlotPaperSize = 0; break;
    default: plot.PlotPaperSize = 4; break;
    }
    // The file's layer groups and layers as they were: a hidden layer stays hidden, and every
    // group keeps its own scale, at which its coordinates are paper millimetres.
    CLayer& layers = plot.m_Layer;
    for (int g = 0; g < 16; ++g) {
        const JwwHeader::GroupInfo& gi = header.m_groups[static_cast<std::size_t>(g)];
        for (int l = 0; l < 16; ++l) {
            CLayerInfo& info = layers.m_LayerInfo[static_cast<std::size_t>(g)][static_cast<std::size_t>(l)];
            info.m_nType = layerStateOfJw(gi.layerState[static_cast<std::size_t>(l)]);
            info.m_strName = gi.layerName[static_cast<std::size_t>(l)];
        }
        layers.m_GrpLayerInfo[static_cast<std::size_t>(g)].m_nType = layerStateOfJw(gi.state);
        layers.m_GrpLayerInfo[static_cast<std::size_t>(g)].m_strName = gi.name;
        // Below 1 too: Jw_cad's enlargements (2:1 is 0.5).
        if (CLayer::ValidScale(gi.scale))
            layers.m_dScale[static_cast<std::size_t>(g)] = gi.scale;
    }
    // The group and layer the file was written on are edited next, so they are shown.
    const int cg = header.m_nWriteGLay < 16 ? static_cast<int>(header.m_nWriteGLay) : 0;
    const std::uint32_t writeLayer = header.m_groups[static_cast<std::size_t>(cg)].writeLayer;
    const int cl = writeLayer < 16 ? static_cast<int>(writeLayer) : 0;
    layers.m_nCurrentGroup = cg;
    layers.m_nCurrentLayer = cl;
    layers.m_GrpLayerInfo[static_cast<std::size_t>(cg)].m_nType = CLayerInfo::LAYER_SNAP;
    layers.m_LayerInfo[static_cast<std::size_t>(cg)][static_cast<std::size_t>(cl)].m_nType = CLayerInfo::LAYER_SNAP;
    plot.PlotSirokuro = header.m_switches[5] == 0 ? 1 : 0;
    unit.ResetIdCounters();
    SelectionRecord selection;
    options.m_bBlockSkipped = 0;
    JwConversionContext ctx(unit, selection, options, header.m_DataListList);
    ctx.TakeColours(header);
    for (int g = 0; g < 16; ++g)
        ctx.scales[static_cast<std::size_t>(g)] = layers.m_dScale[static_cast<std::size_t>(g)];
    convertAll(ctx, header.m_DataList);
    if (ctx.full)
        out.messages.push_back(jwtexts::kDrawingFull);
    if (ctx.expansionCut)
        out.messages.push_back(jwtexts::kBlocksTooLarge);
    if (options.m_bBlockSkipped && options.m_nBlockLimit != 0)
        out.messages.push_back(formatLimit(options.m_nBlockLimit));
    sayPointsDropped(out, ctx.pointsDropped);
    return out;
}

int GroupSelectedForPlacement(CKovUnit& unit, SelectionRecord& selection, int layerGroup, int layer)
{
    auto group = std::make_unique<CKovGroup>();
    group->MGrpID = unit.NextGroupId();
    if (group->MGrpID == CKovUnit::kNoFreeId)
        return 0;
    bool any = false;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    auto take = [&](const CDbPoint& p) {
        if (!any) {
            minX = maxX = p.x;
            minY = maxY = p.y;
            any = true;
        }
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    };
    for (int id : selection.m_Lines) {
        CKovLine* fig = unit.FindLine(id);
        if (!fig)
            continue;
        fig->MLineGrpID = group->MGrpID;
        group->MGrpLineID.push_back(id);
        for (const CDbPoint& p : fig->MLinePnt)
            take(p);
    }
    for (int id : selection.m_Texts) {
        CKovText* text = unit.FindText(id);
        if (!text)
            continue;
        text->MTextGrpID = group->MGrpID;
        group->MGrpTextID.push_back(id);
        take(text->MTextpnt);
    }
    if (!any)
        return 0;
    group->MGrpmin = CDbPoint(minX, minY);
    group->MGrpmax = CDbPoint(maxX, maxY);
    group->MGrpLayer1 = layerGroup;
    group->MGrpLayer2 = layer;
    const int id = group->MGrpID;
    unit.m_Groups.Add(std::move(group));
    selection.Clear();
    selection.AddGroupId(id);
    return id;
}

JwImportOutcome ImportJwsFigures(const std::uint8_t* data, std::size_t size, const CPlotInfo& plot, CKovUnit& unit,
                                 SelectionRecord& selection, int& outGroup)
{
    JwImportOutcome out;
    outGroup = 0;
    JwsHeader jws;
    const JwReadResult read = jws.ReadJwsHeader(data, size);
    if (!read.ok) {
        out.messages.push_back(jwtexts::kNotJww);
        out.detail = read.error + " at byte " + std::to_string(read.offset);
    }
    out.ok = read.ok;
    // Colours of a figure file: the pen table Jw_cad uses for them.
    JwwHeader colours;
    colours.ClearJwwHeader();
    const std::uint32_t pens[13] = {0xFFFFFF, 0xFFFF00, 0x000000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFF0000,
                                    0x808000, 0x0000FF, 0xC0C0C0, 0, 0, 0};
    for (int i = 0; i < 13; ++i)
        colours.m_pens[static_cast<std::size_t>(i)].printColor = pens[i];
    selection.Clear();
    JwwImportOptions options;
    JwConversionContext ctx(unit, selection, options, jws.m_DataListList);
    ctx.TakeColours(colours);
    for (int g = 0; g < 16; ++g)
        ctx.scales[g] = std::isfinite(jws.m_groupScale[g]) && jws.m_groupScale[g] >= 1.0 ? jws.m_groupScale[g] : 1.0;
    convertAll(ctx, jws.m_DataList);
    if (ctx.full)
        out.messages.push_back(jwtexts::kDrawingFull);
    if (ctx.expansionCut)
        out.messages.push_back(jwtexts::kBlocksTooLarge);
    sayPointsDropped(out, ctx.pointsDropped);
    const int cg = std::clamp(plot.m_Layer.m_nCurrentGroup, 0, 15);
    const int cl = std::clamp(plot.m_Layer.m_nCurrentLayer, 0, 15);
    const double s = ctx.scales[cg];
    const double dx = std::isfinite(jws.m_originX) ? -jws.m_originX * s : 0.0;
    const double dy = std::isfinite(jws.m_originY) ? jws.m_originY * s : 0.0;
    for (int id : selection.m_Lines) {
        if (CKovLine* fig = unit.FindLine(id)) {
            fig->MoveBy(dx, dy);
            fig->MLineLayer1 = cg;
            fig->MLineLayer2 = cl;
        }
    }
    for (int id : selection.m_Texts) {
        if (CKovText* text = unit.FindText(id)) {
            text->MoveBy(dx, dy);
            text->MTextLayer1 = cg;
            text->MTextLayer2 = cl;
        }
    }
    outGroup = GroupSelectedForPlacement(unit, selection, cg, cl);
    return out;
}
