// The DXF writer: the whole drawing as a release-12 file of LINE, CIRCLE, ARC, POLYLINE and TEXT
// entities, in code page 932 with CR LF line ends, numbers written the same under every locale.

#include "io/DxfTables.h"
#include "io/DxfTexts.h"

#include "model/FileCommit.h"
#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/Cp932.h"
#include "render/Dimensions.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace {

using kov::io::DxfLayerNames;

// Sheet size in drawing millimetres and the shift from drawing to DXF coordinates.
struct Extents {
    int w = 420;
    int h = 297;
    double dx(double x) const { return x + w / 2.0; }
    double dy(double y) const { return h / 2.0 - y; }
};

int wholeScale(double scale)
{
    const int s = std::isfinite(scale) && std::fabs(scale) < 1e9 ? static_cast<int>(scale) : 0;
    return s == 0 ? 1 : s;
}

double groupScale(const CPlotInfo& plot, int group)
{
    if (group < 0 || group >= 16) group = 0;
    return plot.m_Layer.m_dScale[static_cast<std::size_t>(group)];
}

class DxfOut {
public:
    explicit DxfOut(std::string& s) : m_s(s) {}

    // Group codes as the format's files write them: no padding, "  0" before entities.
    void code(std::string_view c)
    {
        m_s += c;
        m_s += "\r\n";
    }
    void pair(std::string_view c, std::string_view value)
    {
        code(c);
        text(value);
    }
    void text(std::string_view value)
    {
        m_s += value;
        m_s += "\r\n";
    }
    // UTF-8 text in code page 932, without line breaks (one value is one line).
    void cp932(std::string_view c, std::string_view utf8)
    {
        std::string oneLine;
        oneLine.reserve(utf8.size());
        for (char ch : utf8)
            if (ch != '\r' && ch != '\n') oneLine += ch;
        pair(c, kov::platform::toCp932(oneLine).bytes);
    }
    // A text's value: code page 932 where it holds the character, the specials every reader knows
    // for degree, plus-minus and diameter, and "\U+XXXX" for the rest, so nothing becomes "?".
    void textValue(std::string_view c, std::string_view utf8)
    {
        code(c);
        m_s += kov::io::DxfTextValue(utf8);
        m_s += "\r\n";
    }
    void real(std::string_view c, double v)
    {
        code(c);
        if (!std::isfinite(v)) v = 0.0;
        char buf[400];
        auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
        m_s.append(buf, r.ptr);
        m_s += "\r\n";
    }
    void integer(std::string_view c, long long v)
    {
        code(c);
        char buf[32];
        auto r = std::to_chars(buf, buf + sizeof buf, v);
        m_s.append(buf, r.ptr);
        m_s += "\r\n";
    }

private:
    std::string& m_s;
};

struct Writer {
    DxfOut out;
    const CPlotInfo& plot;
    const CKovUnit& unit;
    const DxfLayerNames& layers;
    Extents ext;

    void entity(std::string_view type, const std::string& layer)
    {
        out.pair("  0", type);
        out.cp932("8", layer);
    }

    void line(const std::string& layer, std::string_view ltype, int colour, const CDbPoint& a, const CDbPoint& b)
    {
        entity("LINE", layer);
        out.pair("6", ltype);
        out.integer("62", colour);
        out.real("10", ext.dx(a.x));
        out.real("20", ext.dy(a.y));
        out.real("11", ext.dx(b.x));
        out.real("21", ext.dy(b.y));
    }
    void plainLine(const std::string& layer, const CDbPoint& a, const CDbPoint& b)
    {
        line(layer, "CONTINUOUS", 7, a, b);
    }

    // R12 has no ellipse: closed or open outlines go out as polylines.
    void polyline(const std::string& layer, std::string_view ltype, int colour, const CDbPointArray& points,
                  bool closed)
    {
        entity("POLYLINE", layer);
        out.pair("6", ltype);
        out.integer("62", colour);
        out.integer("66", 1);
        out.real("10", 0.0);
        out.real("20", 0.0);
        out.real("30", 0.0);
        out.integer("70", closed ? 1 : 0);
        for (const CDbPoint& p : points) {
            entity("VERTEX", layer);
            out.real("10", ext.dx(p.x));
            out.real("20", ext.dy(p.y));
            out.real("30", 0.0);
        }
        entity("SEQEND", layer);
    }

    // hAlign 0-2 (left, centre, right) and vAlign 0-2 (top, middle, bottom) of the anchor.
    void text(const std::string& layer, const CDbPoint& at, double height, double angle, std::string_view utf8,
              int hAlign, int vAlign)
    {
        entity("TEXT", layer);
        out.real("10", ext.dx(at.x));
        out.real("20", ext.dy(at.y));
        out.real("40", height > 0.0 && std::isfinite(height) ? height : 1.0);
        out.real("41", 1.0);
        out.real("50", angle);
        out.textValue("1", utf8);
        hAlign = hAlign >= 0 && hAlign <= 2 ? hAlign : 0;
        vAlign = vAlign >= 0 && vAlign <= 2 ? vAlign : 0;
        // The anchor as the drawing places it; DXF aligns by its second point.
        out.integer("72", hAlign);
        out.real("11", ext.dx(at.x));
        out.real("21", ext.dy(at.y));
        out.integer("73", 3 - vAlign);
    }

    void wall(const CKovWall& w)
    {
        const std::string& layer = layers.of(w.MWallLayer1, w.MWallLayer2);
        const std::size_t n = std::min(w.MWallarPntA.size(), w.MWallarPntB.size());
        for (std::size_t i = 0; i < n; ++i) plainLine(layer, w.MWallarPntA[i], w.MWallarPntB[i]);
    }

    // The points of an ellipse (half axes a, b about c) from the ray through `from` counter-clockwise
    // on the screen to the ray through `to`; the whole outline when closed.
    static CDbPointArray ellipsePoints(const CDbPoint& c, double a, double b, double fromDeg, double sweepDeg)
    {
        const int n = std::clamp(static_cast<int>(std::ceil(std::fabs(sweepDeg) / 5.0)), 4, 144);
        CDbPointArray pts;
        for (int k = 0; k <= n; ++k) {
            const double phi = (fromDeg + sweepDeg * k / n) * std::numbers::pi / 180.0;
            const double cs = std::cos(phi), sn = std::sin(phi);
            // The point on the ellipse along that ray (screen y points down).
            const double den = std::hypot(b * cs, a * sn);
            const double r = den > 0.0 ? a * b / den : 0.0;
            pts.push_back({c.x + r * cs, c.y - r * sn});
        }
        return pts;
    }

    void dimension(const CKovLine& f, const std::string& layer)
    {
        using namespace kov::render;
        if (f.MLinePnt.size() < 3 || f.MLineParam.size() < 3) return;
        const int type = truncToInt(f.MLineParam[0]);
        if (type < kDimAbove || type > kDimAlignedMinus) return;
        const CDbPoint& p0 = f.MLinePnt[0];
        const CDbPoint& p1 = f.MLinePnt[1];
        const double d = f.MLineParam[2];
        CDbPoint s, e;
        // The lines as the drawing shows them.
        switch (type) {
        case kDimAbove:
        case kDimBelow: {
            const double dy = type == kDimAbove ? -d : d;
            s = {p0.x, p0.y + dy};
            e = {p1.x, p1.y + dy};
            break;
        }
        case kDimLeft:
        case kDimRight: {
            const double dx = type == kDimLeft ? -d : d;
            s = {p0.x + dx, p0.y};
            e = {p1.x + dx, p1.y};
            break;
        }
        default: {
            const double dy = type == kDimAlignedPlus ? d : -d;
            const CDbPoint q0(p0.x, p0.y + dy), q1(p1.x, p1.y + dy);
            s = PointTowards(p0, FootOfPerpendicular(q0, q1, p0), d);
            e = PointTowards(p1, FootOfPerpendicular(q0, q1, p1), d);
            break;
        }
        }
        plainLine(layer, p0, s);
        plainLine(layer, p1, e);
        plainLine(layer, s, e);
        if (plot.PlotSunpoTextView == 0) return;
        const std::string value = DimensionValueText(plot, f.MLineParam[1]);
        if (value.empty()) return;
        const double height = plot.PlotSunpoTextHeight * groupScale(plot, f.MLineLayer1);
        const double angle = DimensionEscapement(type, p0, p1) / 10.0;
        // Centred on its point, standing on it, as drawn.
        text(layer, f.MLinePnt[2], height, angle, value, 1, 2);
    }

    void figure(const CKovLine& f)
    {
        const std::string& layer = layers.of(f.MLineLayer1, f.MLineLayer2);
        const std::string_view ltype = kov::io::DxfLineTypeName(f.MLineLineT);
        const int colour = kov::io::DxfColorIndex(f.MLineColor);
        const CDbPointArray& p = f.MLinePnt;
        switch (f.MLineType) {
        case CKovLine::LINE:
            if (p.size() >= 2) line(layer, ltype, colour, p[0], p[1]);
            break;
        case CKovLine::POLYGON:
            // A room's fill is no outline of its own: its walls are written.
            if (f.MLineGrpID != 0) {
                const CKovGroup* g = unit.FindGroup(f.MLineGrpID);
                if (!g || g->MGrpRoom == CKovGroup::ROOM) break;
            }
            [[fallthrough]];
        case CKovLine::RECTANGLE:
            if (p.size() >= 2)
                for (std::size_t i = 0; i < p.size(); ++i) line(layer, ltype, colour, p[i], p[(i + 1) % p.size()]);
            break;
        case CKovLine::CIRCLE: {
            if (p.empty() || f.MLineParam.empty()) break;
            const double r = f.MLineParam[0];
            if (f.MLineParam.size() == 2) {
                polyline(layer, ltype, colour, ellipsePoints(p[0], r, r * f.MLineParam[1], 0.0, 360.0), true);
                break;
            }
            entity("CIRCLE", layer);
            out.pair("6", ltype);
            out.integer("62", colour);
            out.real("10", ext.dx(p[0].x));
            out.real("20", ext.dy(p[0].y));
            out.real("40", r);
            break;
        }
        case CKovLine::ARC: {
            if (p.size() < 3 || f.MLineParam.empty()) break;
            const double a1 = RoundDecimals(VectorAngle(p[0].x, p[0].y, p[1].x, p[1].y), 3);
            const double a2 = RoundDecimals(VectorAngle(p[0].x, p[0].y, p[2].x, p[2].y), 3);
            const double r = f.MLineParam[0];
            if (f.MLineParam.size() == 2) {
                double sweep = a2 - a1;
                if (sweep <= 0.0) sweep += 360.0;
                polyline(layer, ltype, colour, ellipsePoints(p[0], r, r * f.MLineParam[1], a1, sweep), false);
                break;
            }
            entity("ARC", layer);
            out.pair("6", ltype);
            out.integer("62", colour);
            out.real("10", ext.dx(p[0].x));
            out.real("20", ext.dy(p[0].y));
            out.real("40", r);
            out.real("50", a1);
            out.real("51", a2);
            break;
        }
        case CKovLine::DIMENSION: dimension(f, layer); break;
        case CKovLine::CONTINUOUS:
            for (std::size_t i = 0; i + 1 < p.size(); ++i) line(layer, ltype, colour, p[i], p[i + 1]);
            break;
        default: break;
        }
    }

    // A TEXT holds one line: a text of several lines is written as one TEXT per line, each where
    // the drawing shows it (line i a pitch of size and line gap further across the base line).
    void text(const CKovText& t)
    {
        const std::string& layer = layers.of(t.MTextLayer1, t.MTextLayer2);
        const CFontMenu& font = t.MTextFontMenu;
        const double scale = groupScale(plot, t.MTextLayer1);
        const double height = font.m_size * scale;
        const double angle = font.lfEscapement / 10.0;
        std::vector<std::string_view> lines;
        std::string_view rest = t.MTextstr;
        for (;;) {
            const auto lf = rest.find('\n');
            std::string_view line = rest.substr(0, lf);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines.push_back(line);
            if (lf == std::string_view::npos) break;
            rest.remove_prefix(lf + 1);
        }
        if (lines.size() == 1) {
            text(layer, t.MTextpnt, height, angle, lines[0], font.m_toko_align, font.m_tate_align);
            return;
        }
        // The renderer's line placement: lines step 90 degrees clockwise from the base line; the
        // block hangs from the anchor (top), is centred on it (middle) or stands on it (bottom).
        const double pitch = (font.m_gyoukan + font.m_size) * scale;
        const double theta = (angle - 90.0) * std::numbers::pi / 180.0;
        const double c = std::cos(theta), sn = std::sin(theta);
        const double n = static_cast<double>(lines.size());
        double ox = 0.0, oy = 0.0;
        if (font.m_tate_align == 1) {
            ox = -0.5 * pitch * c * n;
            oy = 0.5 * pitch * sn * n;
        } else if (font.m_tate_align == 2) {
            ox = -(n - 1) * pitch * c;
            oy = (n - 1) * pitch * sn;
        }
        // Each line's anchor is its top, except where the block stands on the anchor.
        const int vAlign = font.m_tate_align == 2 ? 2 : 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].empty()) continue;
            const double k = static_cast<double>(i);
            const CDbPoint at(t.MTextpnt.x + k * pitch * c + ox, t.MTextpnt.y - k * pitch * sn + oy);
            text(layer, at, height, angle, lines[i], font.m_toko_align, vAlign);
        }
    }

    void header()
    {
        out.pair("0", "SECTION");
        out.pair("2", "HEADER");
        out.pair("9", "$ACADVER");
        out.pair("1", "AC1009");
        // Other readers decode the names and texts by it.
        out.pair("9", "$DWGCODEPAGE");
        out.pair("3", "ANSI_932");
        out.pair("9", "$INSBASE");
        out.integer("10", 0);
        out.integer("20", 0);
        out.integer("30", 0);
        out.pair("9", "$EXTMIN");
        out.integer("10", 0);
        out.integer("20", 0);
        out.pair("9", "$EXTMAX");
        out.integer("10", ext.w);
        out.integer("20", ext.h);
        out.pair("9", "$LIMMIN");
        out.integer("10", 0);
        out.integer("20", 0);
        out.pair("9", "$LIMMAX");
        out.integer("10", ext.w);
        out.integer("20", ext.h);
        out.pair("9", "$LTSCALE");
        out.integer("40", wholeScale(groupScale(plot, 0)));
        out.pair("0", "ENDSEC");
    }

    void tables()
    {
        out.pair("0", "SECTION");
        out.pair("2", "TABLES");
        const auto& types = kov::io::DxfLineTypes();
        out.pair("0", "TABLE");
        out.pair("2", "LTYPE");
        out.integer("70", static_cast<long long>(types.size()));
        for (const auto& lt : types) {
            out.pair("0", "LTYPE");
            out.pair("2", lt.name);
            out.integer("70", 64);
            out.cp932("3", lt.description);
            out.integer("72", 65);
            out.integer("73", lt.count);
            double total = 0.0;
            for (int i = 0; i < lt.count; ++i) total += std::fabs(lt.elements[static_cast<std::size_t>(i)]);
            out.real("40", total);
            for (int i = 0; i < lt.count; ++i) out.real("49", lt.elements[static_cast<std::size_t>(i)]);
        }
        out.pair("0", "ENDTAB");

        out.pair("0", "TABLE");
        out.pair("2", "STYLE");
        out.integer("70", 1);
        out.pair("0", "STYLE");
        out.pair("2", "STANDARD");
        out.integer("70", 0);
        out.pair("40", "0.0");
        out.pair("41", "1.0");
        out.pair("42", "0.0");
        out.pair("50", "0.0");
        out.integer("71", 0);
        out.pair("3", "TXT");
        out.pair("4", "");
        out.pair("0", "ENDTAB");

        std::vector<const std::string*> entries;
        for (int g = 0; g < 16; ++g)
            for (int l = 0; l < 16; ++l) {
                const std::string& n = layers.of(g, l);
                if (layers.listed[static_cast<std::size_t>(g)][static_cast<std::size_t>(l)] && n != "0")
                    entries.push_back(&n);
            }
        out.pair("0", "TABLE");
        out.pair("2", "LAYER");
        out.integer("70", static_cast<long long>(entries.size() + 1));
        auto layerEntry = [this](const std::string& n) {
            out.pair("0", "LAYER");
            out.cp932("2", n);
            out.integer("70", 0);
            out.integer("62", 7);
            out.pair("6", "CONTINUOUS");
        };
        layerEntry("0");
        for (const std::string* n : entries) layerEntry(*n);
        out.pair("0", "ENDTAB");
        out.pair("0", "ENDSEC");
    }
};

} // namespace

void CKovUnit::WriteDxf(std::string& result, const CPlotInfo& plot) const
{
    const DxfLayerNames layers(plot, *this);
    Extents ext;
    int paperX = 0, paperY = 0;
    kov::io::DxfPaperSize(plot, paperX, paperY);
    const int s = kov::io::DxfSheetScale(plot);
    ext.w = paperX * s;
    ext.h = paperY * s;

    result.clear();
    result.reserve(512 * 1024 + (m_Lines.size() + m_Walls.size() * 4 + m_Texts.size()) * 120);
    Writer w{DxfOut(result), plot, *this, layers, ext};
    w.header();
    w.tables();
    w.out.pair("  0", "SECTION");
    w.out.pair("  2", "ENTITIES");
    for (const auto& wall : m_Walls) w.wall(*wall);
    for (const auto& f : m_Lines) w.figure(*f);
    for (const auto& t : m_Texts) w.text(*t);
    w.out.pair("  0", "ENDSEC");
    w.out.pair("  0", "EOF");
}

std::string CKovUnit::WriteDxfFile(const std::filesystem::path& path, const CPlotInfo& plot) const
{
    std::string text;
    WriteDxf(text, plot);
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    std::string reason;
    if (CommitBytesToFile(path, bytes, &reason))
        return {};
    QString m = QString::fromUtf8(kov::io::dxftext::kWriteFailed.data(),
                                  static_cast<qsizetype>(kov::io::dxftext::kWriteFailed.size()));
    return m.arg(QString::fromStdString(path.string()), QString::fromStdString(reason)).toStdString();
}
