#include "jwcad/JwExport.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PaperSizes.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Cp932.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.1415926535;
constexpr double kTwoPi = 2.0 * 3.14159265358979323846;

int jwwPenOfLineType(int lineType)
{
    switch (lineType) {
    case 1: return 2;
    case 2: return 3;
    case 3: return 5;
    case 4: return 7;
    case 5: return 9;
    default: return 1;
    }
}

int jwcPenOfLineType(int lineType)
{
    switch (lineType) {
    case 1: return 3;
    case 2: return 2;
    case 3: return 5;
    case 4: return 7;
    case 5: return 9;
    default: return 1;
    }
}

double scaleOf(const CPlotInfo& plot, int group)
{
    const double s = plot.m_Layer.m_dScale[static_cast<std::size_t>(std::clamp(group, 0, 15))];
    return (std::isfinite(s) && s > 0) ? s : 1.0;
}

template <class R>
std::unique_ptr<R> record(int group, int layer, int penStyle, int penColor, int penWidth)
{
    auto r = std::make_unique<R>();
    r->m_nGroup = 0;
    r->m_sFlg = 1;
    r->m_nVersion = JwwHeader::kWriteVersion;
    r->m_nGLayer = static_cast<std::uint16_t>(std::clamp(group, 0, 15));
    r->m_nLayer = static_cast<std::uint16_t>(std::clamp(layer, 0, 15));
    r->m_nPenStyle = static_cast<std::uint8_t>(penStyle);
    r->m_nPenColor = static_cast<std::uint16_t>(std::clamp(penColor, 0, 0xFFFF));
    r->m_nPenWidth = static_cast<std::uint16_t>(std::clamp(penWidth, 0, 0xFFFF));
    return r;
}

struct Pen {
    int group, layer, style, color, width;
};

void addLine(JwRecordList& out, const Pen& pen, double s, const CDbPoint& a, const CDbPoint& b)
{
    auto r = record<CDataSen>(pen.group, pen.layer, pen.style, pen.color, pen.width);
    r->m_start_x = a.x / s;
    r->m_start_y = -a.y / s;
    r->m_end_x = b.x / s;
    r->m_end_y = -b.y / s;
    out.push_back(std::move(r));
}

void addCircle(JwRecordList& out, const Pen& pen, double s, const CDbPoint& c, double radius, double start, double arc,
               double tilt, double flat, bool full)
{
    auto r = record<CDataEnko>(pen.group, pen.layer, pen.style, pen.color, pen.width);
    r->m_start_x = c.x / s;
    r->m_start_y = -c.y / s;
    r->m_dHankei = radius / s;
    r->m_radKaishiKaku = start;
    r->m_radEnkoKaku = arc;
    r->m_radKatamukiKaku = tilt;
    r->m_dHenpeiRitsu = flat;
    r->m_bZenEnFlg = full ? 1 : 0;
    out.push_back(std::move(r));
}

// The parametric angle (radians) of an ellipse of ratio f at the point in direction `degrees`.
double parametricOf(double degrees, double f)
{
    const double d = degrees * kPi / 180.0;
    double t = std::atan2(std::sin(d) / f, std::cos(d));
    if (t < 0)
        t += kTwoPi;
    return t;
}

void addWallLines(JwRecordList& out, const CPlotInfo& plot, const CKovWall& wall, bool autoColumns)
{
    const double s = scaleOf(plot, wall.MWallLayer1);
    const Pen pen{wall.MWallLayer1, wall.MWallLayer2, 1, 2, 1};
    const std::size_t edges = std::min(wall.MWallarPntA.size(), wall.MWallarPntB.size());
    for (std::size_t i = 0; i < edges; ++i)
        addLine(out, pen, s, wall.MWallarPntA[i], wall.MWallarPntB[i]);
    if (wall.IsColumn()) {
        if (wall.MHasiraType == CKovWall::THROUGH_COLUMN)
            addCircle(out, pen, s, wall.MWallPntA, 3 * wall.MWallWide1, 0, kTwoPi, 0, 1.0, true);
        return;
    }
    if (plot.PlotWallBlack != 2)
        return;
    if (wall.MWallType == 1)
        addLine(out, pen, s, wall.MWallPntA, wall.MWallPntB);
    if (autoColumns) {
        const double h = wall.MWallWide1, x = wall.MWallPntA.x, y = wall.MWallPntA.y;
        const CDbPoint c[4] = {{x - h, y - h}, {x - h, y + h}, {x + h, y + h}, {x + h, y - h}};
        for (int i = 0; i < 4; ++i)
            addLine(out, pen, s, c[i], c[(i + 1) % 4]);
    }
}

// The base line of a text in Jw_cad coordinates, from its anchor and alignment.
void textBaseLine(const CKovText& text, double s, double& sx, double& sy, double& ex, double& ey, double& widthOut)
{
    const CFontMenu& f = text.MTextFontMenu;
    const double px = text.MTextpnt.x / s, py = -text.MTextpnt.y / s;
    const double h = f.m_size;
    const std::size_t n = kov::platform::cp932ByteLength(text.MTextstr);
    const double w = static_cast<double>(n) * 0.5 * (h + f.m_kankaku);
    const int e = ((f.lfEscapement % 3600) + 3600) % 3600;
    const double a = f.m_toko_align == 1 ? -0.5 : f.m_toko_align == 2 ? -1.0 : 0.0;
    const double b = f.m_tate_align == 1 ? 0.5 : f.m_tate_align == 2 ? 0.0 : 1.0;
    double dx, dy, nx, ny;   // along the text; from the top of the characters down to the base line
    switch (e) {
    case 0: dx = 1; dy = 0; nx = 0; ny = -1; break;
    case 900: dx = 0; dy = 1; nx = 1; ny = 0; break;
    case 1800: dx = -1; dy = 0; nx = 0; ny = 1; break;
    case 2700: dx = 0; dy = -1; nx = -1; ny = 0; break;
    default: {
        const double theta = e / 10.0 * kPi / 180.0;
        dx = std::cos(theta);
        dy = std::sin(theta);
        nx = std::sin(theta);
        ny = -std::cos(theta);
    }
    }
    sx = px + a * w * dx + b * h * nx;
    sy = py + a * w * dy + b * h * ny;
    ex = sx + w * dx;
    ey = sy + w * dy;
    widthOut = w;
}

// Jw_cad states: 0 hidden, 1 shown only, 2 editable (3, the one written to, is set by the caller).
std::uint32_t jwStateOf(int state)
{
    switch (state) {
    case CLayerInfo::LAYER_HIDDEN: return 0;
    case CLayerInfo::LAYER_VISIBLE: return 1;
    default: return 2;
    }
}

// The states of every group and layer as the drawing has them, so that hidden layers stay hidden
// in the other program and come back hidden.
void copyNamesAndStates(JwwHeader& h, const CPlotInfo& plot)
{
    const CLayer& layers = plot.m_Layer;
    const int cg = std::clamp(layers.m_nCurrentGroup, 0, 15), cl = std::clamp(layers.m_nCurrentLayer, 0, 15);
    h.m_nZumen = static_cast<std::uint32_t>(JwwPaperCodeOf(plot));
    h.m_nWriteGLay = static_cast<std::uint32_t>(cg);
    for (int g = 0; g < 16; ++g) {
        const auto gs = static_cast<std::size_t>(g);
        JwwHeader::GroupInfo& gi = h.m_groups[gs];
        gi.scale = scaleOf(plot, g);
        gi.name = layers.m_GrpLayerInfo[gs].m_strName;
        for (int l = 0; l < 16; ++l) {
            const auto ls = static_cast<std::size_t>(l);
            gi.layerName[ls] = layers.m_LayerInfo[gs][ls].m_strName;
            gi.layerState[ls] = jwStateOf(layers.m_LayerInfo[gs][ls].m_nType);
        }
        gi.state = jwStateOf(layers.m_GrpLayerInfo[gs].m_nType);
        // Each group's layer written to: the current one in the current group; elsewhere the first
        // editable layer, so that no hidden or shown-only layer becomes editable on the way.
        int write = g == cg ? cl : -1;
        for (int l = 0; l < 16 && write < 0; ++l)
            if (gi.layerState[static_cast<std::size_t>(l)] == 2)
                write = l;
        if (write >= 0) {
            gi.writeLayer = static_cast<std::uint32_t>(write);
            gi.layerState[static_cast<std::size_t>(write)] = 3;
        } else {
            gi.writeLayer = static_cast<std::uint32_t>(cl);
        }
    }
    h.m_groups[static_cast<std::size_t>(cg)].state = 3;
}

// A fill as a Jw_cad solid of its own colour: the four corners (a triangle repeats its third).
void addSolid(JwRecordList& out, const Pen& pen, double s, const CDbPointArray& p, std::uint32_t colour)
{
    auto r = record<CDataSolid>(pen.group, pen.layer, 1, 10, pen.width);
    const CDbPoint& d = p.size() == 4 ? p[3] : p[2];
    r->m_start_x = p[0].x / s;
    r->m_start_y = -p[0].y / s;
    r->m_end_x = p[1].x / s;
    r->m_end_y = -p[1].y / s;
    r->m_DPoint2_x = p[2].x / s;
    r->m_DPoint2_y = -p[2].y / s;
    r->m_DPoint3_x = d.x / s;
    r->m_DPoint3_y = -d.y / s;
    r->m_Color = colour & 0xFFFFFF;
    out.push_back(std::move(r));
}

// A filled circle, ellipse or arc as a circular Jw_cad solid: centre; radius and flatness; tilt
// and start angle; arc angle and form (100 the whole figure, 5 closed along the chord).
void addRoundSolid(JwRecordList& out, const Pen& pen, double s, const CDbPoint& c, double radius, double flat,
                   double tilt, double start, double arc, double form, std::uint32_t colour)
{
    auto r = record<CDataSolid>(pen.group, pen.layer, 101, 10, pen.width);
    r->m_start_x = c.x / s;
    r->m_start_y = -c.y / s;
    r->m_end_x = radius / s;
    r->m_end_y = flat;
    r->m_DPoint2_x = tilt;
    r->m_DPoint2_y = start;
    r->m_DPoint3_x = arc;
    r->m_DPoint3_y = form;
    r->m_Color = colour & 0xFFFFFF;
    out.push_back(std::move(r));
}

// A fill Jw_cad can hold as a solid: a plain fill (a pattern has no solid of its own).
bool solidFill(const CKovLine& fig) { return fig.MLinebNakanuri != 0 && fig.MLinePattern == 0; }

} // namespace

int JwcPaperCodeOf(const CPlotInfo& plot)
{
    int w = 297, h = 210;
    kov::model::GetPaperSizeMm(plot, w, h);
    const int longSide = std::max(w, h), shortSide = std::min(w, h);
    for (int code = 4; code >= 0; --code)
        if (longSide <= JwcData::kPaperWidth[static_cast<std::size_t>(code)] &&
            shortSide <= JwcData::kPaperHeight[static_cast<std::size_t>(code)])
            return code;
    return 0;
}

int JwwPaperCodeOf(const CPlotInfo& plot)
{
    // The A sheets have the same numbers in both Jw_cad formats.
    return JwcPaperCodeOf(plot);
}

void ArrowHeadPoints(const CDbPoint& p0, const CDbPoint& p1, double length, CDbPoint out[4])
{
    auto wrap = [](double d) { return d >= 360 ? d - 360 : d < 0 ? d + 360 : d; };
    const double a = VectorAngle(p0.x, p0.y, p1.x, p1.y);
    const double b = VectorAngle(p1.x, p1.y, p0.x, p0.y);
    out[0] = PointAtAngle(p0.x, p0.y, wrap(a + 30), length);
    out[1] = PointAtAngle(p0.x, p0.y, wrap(a - 30), length);
    out[2] = PointAtAngle(p1.x, p1.y, wrap(b + 30), length);
    out[3] = PointAtAngle(p1.x, p1.y, wrap(b - 30), length);
}

void MakeDefaultJwwHeader(JwwHeader& h)
{
    h.ClearJwwHeader();
    std::memcpy(h.m_signature, "JwwData.", 8);
    h.m_nVersion = JwwHeader::kWriteVersion;
    for (auto& g : h.m_groups) {
        g.state = 2;
        g.scale = 100;
        g.layerState.fill(2);
    }
    h.m_maxDrawWidth = 100;
    h.m_printScale = 1;
    h.m_grid = {0, 910, 910, 0, 0};
    // Screen pens as Jw_cad shows them; every pen prints black.
    const std::uint32_t screen[10] = {0xFFFFFF, 0x000000, 0x000000, 0x00FF00, 0x00C0C0,
                                      0xFF00FF, 0xFF0000, 0x008000, 0x0000FF, 0xC0C0C0};
    for (int p = 0; p < 10; ++p) {
        h.m_pens[static_cast<std::size_t>(p)].color = screen[p];
        h.m_pens[static_cast<std::size_t>(p)].width = 1;
        h.m_pens[static_cast<std::size_t>(p)].printColor = 0;
        h.m_pens[static_cast<std::size_t>(p)].printWidth = 1;
        h.m_pens[static_cast<std::size_t>(p)].pointRadius = 0.3;
    }
    const std::uint32_t patterns[8] = {0xFFFF0000, 0xFFFFFF00, 0xF0F0F0F0, 0xFFFF00F0,
                                       0xFFFFF0F0, 0xFF00F0F0, 0xFFFFF0F0, 0xFFFF0FF0};
    for (int t = 2; t <= 9; ++t) {
        JwwHeader::LineType& lt = h.m_lineTypes[static_cast<std::size_t>(t)];
        lt.pattern = patterns[t - 2];
        lt.unitDots = 1;
        lt.pitch = 1;
        lt.printPitch = 1;
    }
    const double sizes[10] = {2, 2.5, 3, 4, 5, 6, 7, 8, 9, 10};
    for (int k = 0; k < 10; ++k)
        h.m_textKinds[static_cast<std::size_t>(k)] = {sizes[k], sizes[k], 0, 1};
    h.m_curTextSizeX = h.m_curTextSizeY = 3;
    h.m_curTextColor = 1;
    h.m_curTextKind = 3;
    h.m_switches[5] = 1;   // colour printing
    for (double& v : h.m_multiLine)
        v = 50;
}

void BuildJwwRecords(JwwHeader& header, const CPlotInfo& plot, const CKovUnit& unit, bool autoColumns)
{
    JwRecordList& out = header.m_DataList;
    for (const auto& figPtr : unit.m_Lines) {
        const CKovLine& fig = *figPtr;
        const double s = scaleOf(plot, fig.MLineLayer1);
        const Pen pen{fig.MLineLayer1, fig.MLineLayer2, jwwPenOfLineType(fig.MLineLineT), fig.MLineWide,
                      fig.MLineWide - 1};
        const CDbPointArray& p = fig.MLinePnt;
        switch (fig.MLineType) {
        case CKovLine::LINE: {
            if (p.size() < 2)
                break;
            addLine(out, pen, s, p[0], p[1]);
            if (fig.MLineTanten >= 1 && fig.MLineTanten <= 3) {
                CDbPoint w[4];
                ArrowHeadPoints(p[0], p[1], plot.MarkSize(fig.MLineYaWide) * s, w);
                if (fig.MLineTanten != 2) {
                    addLine(out, pen, s, w[0], p[0]);
                    addLine(out, pen, s, w[1], p[0]);
                }
                if (fig.MLineTanten != 1) {
                    addLine(out, pen, s, w[2], p[1]);
                    addLine(out, pen, s, w[3], p[1]);
                }
            }
            break;
        }
        case CKovLine::RECTANGLE:
        case CKovLine::POLYGON:
            if (solidFill(fig) && (p.size() == 3 || p.size() == 4))
                addSolid(out, pen, s, p, fig.MLineNakaColor);
            if (fig.MLineNoOutline != 0 && solidFill(fig) && (p.size() == 3 || p.size() == 4))
                break;
            for (std::size_t i = 0; i + 1 < p.size(); ++i)
                addLine(out, pen, s, p[i], p[i + 1]);
            if (p.size() >= 2)
                addLine(out, pen, s, p.back(), p[0]);
            break;
        case CKovLine::CONTINUOUS:
            for (std::size_t i = 0; i + 1 < p.size(); ++i)
                addLine(out, pen, s, p[i], p[i + 1]);
            break;
        case CKovLine::CIRCLE: {
            if (p.empty() || fig.MLineParam.empty())
                break;
            const double flat = fig.MLineParam.size() == 2 ? fig.MLineParam[1] : 1.0;
            if (solidFill(fig)) {
                addRoundSolid(out, pen, s, p[0], fig.MLineParam[0], flat, 0, 0, kTwoPi, 100.0, fig.MLineNakaColor);
                if (fig.MLineNoOutline != 0)
                    break;
            }
            addCircle(out, pen, s, p[0], fig.MLineParam[0], 0, kTwoPi, 0, flat, true);
            break;
        }
        case CKovLine::ARC: {
            if (p.size() < 3 || fig.MLineParam.empty())
                break;
            const double alpha = VectorAngle(p[0].x, p[0].y, p[1].x, p[1].y);
            const double beta = VectorAngle(p[0].x, p[0].y, p[2].x, p[2].y);
            double sweep = beta - alpha;
            if (sweep < 0)
                sweep += 360;
            double start = 0, arc = 0, tilt = 0, flat = 1.0;
            if (fig.MLineParam.size() == 2) {
                // An elliptic arc: its ends as angles of the ellipse's own parameter, the ellipse untilted.
                flat = fig.MLineParam[1] > 0 ? fig.MLineParam[1] : 1.0;
                const double t0 = parametricOf(alpha, flat), t1 = parametricOf(beta, flat);
                start = t0;
                arc = t1 - t0;
                if (arc <= 0)
                    arc += kTwoPi;
            } else if (sweep + alpha >= 360) {
                arc = sweep * kPi / 180;
                tilt = alpha * kPi / 180;
            } else {
                start = alpha * kPi / 180;
                arc = sweep * kPi / 180;
            }
            if (solidFill(fig) && fig.MLineTanten != CKovLine::THICK_ARC) {
                addRoundSolid(out, pen, s, p[0], fig.MLineParam[0], flat, tilt, start, arc,
                              fig.MLineTanten == CKovLine::CHORD_ARC ? 5.0 : 0.0, fig.MLineNakaColor);
                if (fig.MLineNoOutline != 0)
                    break;
            }
            addCircle(out, pen, s, p[0], fig.MLineParam[0], start, arc, tilt, flat, false);
            break;
        }
        default:
            break;
        }
    }
    for (const auto& wall : unit.m_Walls)
        addWallLines(out, plot, *wall, autoColumns);
    for (const auto& textPtr : unit.m_Texts) {
        const CKovText& text = *textPtr;
        const CFontMenu& f = text.MTextFontMenu;
        const double s = scaleOf(plot, text.MTextLayer1);
        const int h = std::clamp(f.m_toko_align, 0, 2), v = std::clamp(f.m_tate_align, 0, 2);
        static constexpr int codes[3][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}};
        auto r = record<CDataMoji>(text.MTextLayer1, text.MTextLayer2, codes[v][h], 1, 1);
        double width = 0;
        textBaseLine(text, s, r->m_start_x, r->m_start_y, r->m_end_x, r->m_end_y, width);
        r->m_string = text.MTextstr;
        r->m_strFontName = f.lfFaceName;
        r->m_degKakudo = (((f.lfEscapement % 3600) + 3600) % 3600) / 10.0;
        r->m_dKankaku = f.m_kankaku;
        r->m_dSizeX = r->m_dSizeY = f.m_size;
        r->m_nMojiShu = (f.lfWeight == 700 ? 20000u : 0u) + (f.lfItalic ? 10000u : 0u);
        out.push_back(std::move(r));
    }
}

JwExportOutcome ExportJwwBytes(const CPlotInfo& plot, const CKovUnit& unit, const std::filesystem::path& templateFile,
                               bool autoColumns)
{
    JwExportOutcome out;
    for (const auto& fig : unit.m_Lines) {
        if (fig->MLineType == CKovLine::DIMENSION) {
            out.message = jwtexts::kDimensionsFirst;
            return out;
        }
    }
    JwwHeader header;
    if (templateFile.empty()) {
        MakeDefaultJwwHeader(header);
    } else {
        header.ClearJwwHeader();
        if (!header.ReadJwwHeaderFile(templateFile).ok) {
            out.message = jwtexts::kNoTemplate;
            return out;
        }
    }
    copyNamesAndStates(header, plot);
    BuildJwwRecords(header, plot, unit, autoColumns);
    out.bytes = header.WriteJwwArchive();
    out.ok = true;
    return out;
}

namespace {

struct JwcPaper {
    int code;
    double width;   // mm of the sheet written
    double x0, y0;  // half the sheet at the scale: the file's origin is the sheet's centre
};

JwcPaper jwcPaper(const CPlotInfo& plot, double scale)
{
    const int code = JwcPaperCodeOf(plot);
    const double e = std::trunc(scale);
    JwcPaper p;
    p.code = code;
    p.width = JwcData::kPaperWidth[static_cast<std::size_t>(code)];
    p.x0 = std::trunc(e * JwcData::kPaperWidth[static_cast<std::size_t>(code)] / 2.0);
    p.y0 = std::trunc(e * JwcData::kPaperHeight[static_cast<std::size_t>(code)] / 2.0);
    return p;
}

int jwcKindOf(const JwcData& d, double size)
{
    // The kind whose size (tenths of a mm) is the smallest at least the text's; the largest kind
    // for larger texts.
    const int t = static_cast<int>(std::trunc(size * 10));
    for (int k = 1; k < JwcData::kKinds; ++k)
        if (d.m_kindSize[static_cast<std::size_t>(k)] >= t)
            return k;
    return JwcData::kKinds - 1;
}

} // namespace

JwExportOutcome ExportJwcBytes(const CPlotInfo& plot, const CKovUnit& unit, bool autoColumns)
{
    JwExportOutcome out;
    JwcData d;
    d.DeleteJwcItems();
    d.SetJwcHeaderDefaults();
    const CLayer& layers = plot.m_Layer;
    const int cg = std::clamp(layers.m_nCurrentGroup, 0, 15), cl = std::clamp(layers.m_nCurrentLayer, 0, 15);
    // Within what a float and the file's 16-bit group scales can hold.
    const double scale = std::min(scaleOf(plot, cg), CLayer::kMaxScale);
    d.m_line1.m_scale = static_cast<float>(scale);
    const JwcPaper paper = jwcPaper(plot, scale);
    d.m_line1.m_paper = paper.code;
    d.m_line1.m_unitsAcross = 518;
    // The unit factor exactly as a reader computes it from the header.
    d.m_line1.m_unitFactor = static_cast<float>(paper.width) / 518.0f * d.m_line1.m_scale;
    const double f = d.m_line1.m_unitFactor;
    d.m_line1.m_code13 = 1;
    d.m_line1.m_code12 = 2;
    d.m_line1.m_nTen = 0;
    d.m_line1.m_currentLayer = 16 * cg + cl;
    for (int g = 0; g < 16; ++g)
        for (int l = 0; l < 16; ++l)
            d.m_layerNames[static_cast<std::size_t>(16 * g + l)] =
                kov::platform::toCp932(layers.m_LayerInfo[static_cast<std::size_t>(g)][static_cast<std::size_t>(l)].m_strName).bytes;
    d.m_groupEditable.fill(1);
    d.m_groupShown.fill(1);
    d.m_layerEditable.fill(1);
    d.m_layerShown.fill(1);
    for (int g = 0; g < 3; ++g) {
        const int state = layers.m_LayerInfo[static_cast<std::size_t>(g)][0].m_nType;
        if (state == 1)
            d.m_groupEditable[static_cast<std::size_t>(g)] = 0;
        if (state == 2) {
            d.m_groupEditable[static_cast<std::size_t>(g)] = 0;
            d.m_groupShown[static_cast<std::size_t>(g)] = 0;
        }
    }
    for (int g = 0; g < 16; ++g)
        d.m_groupLayer[static_cast<std::size_t>(g)] = 16 * g;
    d.m_groupLayer[static_cast<std::size_t>(cg)] = 16 * cg + cl;

    auto conv = [&](const CDbPoint& p) {
        return std::pair<double, double>(static_cast<float>((paper.x0 + p.x) / f), static_cast<float>((paper.y0 - p.y) / f));
    };
    auto layerByte = [](int g, int l) { return static_cast<std::uint8_t>((16 * g + l) & 0xFF); };
    auto line = [&](const CDbPoint& a, const CDbPoint& b, int pen, std::uint8_t layer) {
        CJWSen s;
        std::tie(s.m_x1, s.m_y1) = conv(a);
        std::tie(s.m_x2, s.m_y2) = conv(b);
        s.m_pen = static_cast<std::uint8_t>(pen);
        s.m_color = 2;
        s.m_layer = layer;
        d.m_sen.push_back(s);
    };
    auto circle = [&](const CDbPoint& c, double r, double flat, double start, double end, int pen, std::uint8_t layer) {
        CJWEnko e;
        std::tie(e.m_cx, e.m_cy) = conv(c);
        e.m_r = static_cast<float>(r / f);   // the file holds single precision
        e.m_flat = static_cast<float>(flat);
        e.m_start = start;
        e.m_end = end;
        e.m_base = 0;
        e.m_pen = static_cast<std::uint8_t>(pen);
        e.m_color = 2;
        e.m_layer = layer;
        d.m_enko.push_back(e);
    };
    auto text = [&](const CDbPoint& anchor, std::string_view utf8, const CFontMenu& font, std::uint8_t layer,
                    int kindOverride) {
        CJWMozi m;
        const std::string bytes = kov::platform::toCp932(utf8).bytes;
        CKovText probe;
        probe.MTextpnt = anchor;
        probe.MTextstr = std::string(utf8);
        probe.MTextFontMenu = font;
        double sx, sy, ex, ey, w;
        // Base line in paper millimetres about the anchor, then into file units.
        textBaseLine(probe, 1.0, sx, sy, ex, ey, w);
        const double ax = anchor.x, ay = -anchor.y;
        auto toFile = [&](double px, double py) {
            const double dx = (px - ax) * scale, dy = (py - ay) * scale;
            return std::pair<double, double>(static_cast<float>((paper.x0 + anchor.x + dx) / f),
                                             static_cast<float>((paper.y0 - anchor.y + dy) / f));
        };
        std::tie(m.m_x1, m.m_y1) = toFile(sx, sy);
        std::tie(m.m_x2, m.m_y2) = toFile(ex, ey);
        m.m_kind = static_cast<std::uint8_t>(kindOverride > 0 ? kindOverride : jwcKindOf(d, font.m_size));
        m.m_layer = layer;
        m.m_flags = (!font.lfFaceName.empty() && font.lfFaceName[0] == '@') ? 0x20 : 0;
        m.m_text = bytes;
        d.m_mozi.push_back(m);
    };

    for (const auto& figPtr : unit.m_Lines) {
        const CKovLine& fig = *figPtr;
        const int pen = jwcPenOfLineType(fig.MLineLineT);
        const std::uint8_t layer = layerByte(fig.MLineLayer1, fig.MLineLayer2);
        const CDbPointArray& p = fig.MLinePnt;
        switch (fig.MLineType) {
        case CKovLine::LINE:
            if (p.size() >= 2)
                line(p[0], p[1], pen, layer);
            break;
        case CKovLine::RECTANGLE:
        case CKovLine::POLYGON: {
            if (fig.MLineGrpID != 0) {
                const CKovGroup* g = unit.FindGroup(fig.MLineGrpID);
                if (!g || g->MGrpRoom == CKovGroup::ROOM)
                    break;
            }
            for (std::size_t i = 0; i + 1 < p.size(); ++i)
                line(p[i], p[i + 1], pen, layer);
            if (p.size() >= 2)
                line(p.back(), p[0], pen, layer);
            break;
        }
        case CKovLine::CONTINUOUS:
            for (std::size_t i = 0; i + 1 < p.size(); ++i)
                line(p[i], p[i + 1], pen, layer);
            break;
        case CKovLine::CIRCLE:
            if (!p.empty() && !fig.MLineParam.empty())
                circle(p[0], fig.MLineParam[0], fig.MLineParam.size() == 2 ? fig.MLineParam[1] : 1.0, 0, 0, pen, layer);
            break;
        case CKovLine::ARC:
            if (p.size() >= 3 && !fig.MLineParam.empty())
                circle(p[0], fig.MLineParam[0], fig.MLineParam.size() == 2 ? fig.MLineParam[1] : 1.0,
                       VectorAngle(p[0].x, p[0].y, p[1].x, p[1].y), VectorAngle(p[0].x, p[0].y, p[2].x, p[2].y), pen,
                       layer);
            break;
        case CKovLine::DIMENSION: {
            if (p.size() < 3 || fig.MLineParam.size() < 3)
                break;
            const int t = static_cast<int>(fig.MLineParam[0]);
            const double v = fig.MLineParam[1], o = fig.MLineParam[2];
            CDbPoint d0 = p[0], d1 = p[1];
            switch (t) {
            case 1: d0.y = d1.y = p[1].y - o; break;
            case 2: d0.x = d1.x = p[1].x - o; break;
            case 3: d0.y = d1.y = p[1].y + o; break;
            case 4: d0.x = d1.x = p[1].x + o; break;
            default: break;
            }
            line(p[0], d0, pen, layer);
            line(p[1], d1, pen, layer);
            line(d0, d1, pen, layer);
            if (plot.PlotSunpoTextView) {
                double value = RoundToInt(v);
                if (plot.PlotSunpoTani == 1)
                    value /= 10;
                else if (plot.PlotSunpoTani == 2)
                    value /= 1000;
                std::string s;
                switch (plot.PlotSunpokurai) {
                case 0: s = kov::platform::formatInt(static_cast<long long>(std::trunc(value))); break;
                case 1: case 2: case 3: s = kov::platform::formatFixed(value, plot.PlotSunpokurai); break;
                default: break;
                }
                s = InsertDigitSeparators(s, plot.PlotSunpoKugiri);
                CFontMenu font;
                font.m_size = plot.PlotSunpoTextHeight;
                font.m_toko_align = 0;
                font.m_tate_align = 2;
                font.lfEscapement = d0.x == d1.x ? 900 : 0;
                text(p[2], s, font, layer, 3);
            }
            break;
        }
        default:
            break;
        }
    }
    for (const auto& wallPtr : unit.m_Walls) {
        const CKovWall& wall = *wallPtr;
        const std::uint8_t layer = layerByte(wall.MWallLayer1, wall.MWallLayer2);
        const std::size_t edges = std::min(wall.MWallarPntA.size(), wall.MWallarPntB.size());
        for (std::size_t i = 0; i < edges; ++i)
            line(wall.MWallarPntA[i], wall.MWallarPntB[i], 1, layer);
        if (wall.IsColumn()) {
            if (wall.MHasiraType == CKovWall::THROUGH_COLUMN)
                circle(wall.MWallPntA, 3 * wall.MWallWide1, 1.0, 0, 0, 1, layer);
            continue;
        }
        if (plot.PlotWallBlack != 2)
            continue;
        if (wall.MWallType == 1)
            line(wall.MWallPntA, wall.MWallPntB, 1, layer);
        if (autoColumns) {
            const double h = wall.MWallWide1, x = wall.MWallPntA.x, y = wall.MWallPntA.y;
            const CDbPoint c[4] = {{x - h, y - h}, {x - h, y + h}, {x + h, y + h}, {x + h, y - h}};
            for (int i = 0; i < 4; ++i)
                line(c[i], c[(i + 1) % 4], 1, layer);
        }
    }
    for (const auto& t : unit.m_Texts)
        text(t->MTextpnt, t->MTextstr, t->MTextFontMenu, layerByte(t->MTextLayer1, t->MTextLayer2), 0);
    d.m_line1.m_nSen = static_cast<int>(d.m_sen.size());
    d.m_line1.m_nEnko = static_cast<int>(d.m_enko.size());
    d.m_line1.m_nMozi = static_cast<int>(d.m_mozi.size());
    out.bytes = d.WriteJwcFile();
    out.ok = true;
    return out;
}
