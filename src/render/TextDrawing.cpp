#include "render/TextDrawing.h"

#include "model/FontMenu.h"
#include "model/Geometry.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/Cp932.h"
#include "render/DrawEnvironment.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace kov::render {

namespace {

using platform::DevicePoint;

// π as the text drawer has always taken it, so that lines land on the same pixels.
constexpr double kTextPi = 3.1415926535;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kFrameColour = 0x808080;

long long clampCoord(long long v)
{
    return std::clamp<long long>(v, -kDeviceCoordLimit, kDeviceCoordLimit);
}

DevicePoint offsetPoint(DevicePoint p, long long dx, long long dy)
{
    return {int(clampCoord(p.x + dx)), int(clampCoord(p.y + dy))};
}

// The direction lines step in: 90 degrees clockwise from the baseline, in tenths of a degree.
int lineDirection(int escapement)
{
    return escapement + 2700 >= 3600 ? escapement - 900 : escapement + 2700;
}

std::size_t characterCount(std::string_view utf8)
{
    std::size_t n = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

platform::TextHAlign hAlignOf(int code)
{
    switch (code) {
    case 1: return platform::TextHAlign::Center;
    case 2: return platform::TextHAlign::Right;
    default: return platform::TextHAlign::Left;
    }
}

} // namespace

platform::Font TextDeviceFont(const CFontMenu& font, double paperScale)
{
    platform::Font f;
    f.faceName = font.lfFaceName;
    const double h = font.m_size * paperScale;
    f.height = std::clamp(truncToInt(h), 2, platform::kMaxFontHeight);
    f.width = std::clamp(font.lfWidth, -platform::kMaxFontHeight, platform::kMaxFontHeight);
    f.escapement = font.lfEscapement;
    f.orientation = font.lfOrientation;
    f.weight = font.lfWeight;
    f.italic = font.lfItalic != 0;
    f.underline = font.lfUnderline != 0;
    f.strikeOut = font.lfStrikeOut != 0;
    f.charSet = font.lfCharSet;
    f.outPrecision = font.lfOutPrecision;
    f.clipPrecision = font.lfClipPrecision;
    f.quality = font.lfQuality;
    f.pitchAndFamily = font.lfPitchAndFamily;
    return f;
}

bool IsVerticalFace(std::string_view faceName)
{
    // The full-width "＠" as well: the face substitution takes both.
    return faceName.starts_with("@") || faceName.starts_with("＠");
}

TextColours TextColoursOf(const CFontMenu& font, const CPlotInfo& plot)
{
    TextColours c{font.m_Color, font.m_BackColor};
    if (plot.PlotSirokuro != 0) {
        if (c.text != kWhite) c.text = 0;
        if (c.background != kWhite) c.background = c.text == kWhite ? 0 : kWhite;
    }
    if (plot.PlotGradation == 3) {
        c.text = 0;
        c.background = kWhite;
    }
    return c;
}

bool IsTextSelected(const CKovText& text, const SelectionRecord& selection)
{
    if (std::find(selection.m_Texts.begin(), selection.m_Texts.end(), text.MTextID) != selection.m_Texts.end())
        return true;
    return text.MTextGrpID != 0 &&
           std::find(selection.m_Groups.begin(), selection.m_Groups.end(), text.MTextGrpID) != selection.m_Groups.end();
}

DevicePoint TextLineAnchor(DevicePoint anchor, int line, int lineCount, double pitch, int escapement,
                           int verticalAlign)
{
    const double theta = lineDirection(escapement) / 10.0 * kTextPi / 180.0;
    const double c = std::cos(theta), s = std::sin(theta);
    const double n = lineCount;
    double ox = 0, oy = 0;
    if (verticalAlign == 1) {
        ox = -0.5 * pitch * c * n;
        oy = 0.5 * pitch * s * n;
    } else if (verticalAlign == 2) {
        ox = -(n - 1) * pitch * c;
        oy = (n - 1) * pitch * s;
    }
    return offsetPoint(anchor, truncToInt64(line * pitch * c + ox), truncToInt64(-line * pitch * s + oy));
}

std::vector<DevicePoint> TextLineAnchors(DevicePoint anchor, int lineCount, double pitch, int escapement,
                                         int verticalAlign)
{
    std::vector<DevicePoint> anchors;
    anchors.reserve(std::size_t(std::max(lineCount, 0)));
    for (int i = 0; i < lineCount; ++i)
        anchors.push_back(TextLineAnchor(anchor, i, lineCount, pitch, escapement, verticalAlign));
    return anchors;
}

int TextLineCount(std::string_view text)
{
    return int(std::count(text.begin(), text.end(), '\n')) + 1;
}

std::array<DevicePoint, 5> TextExtentFrame(DevicePoint lineAnchor, std::string_view line, double h, double spacing,
                                           int escapement, int horizontalAlign, int verticalAlign)
{
    const double bytes = double(platform::cp932ByteLength(line));
    const double characters = double(characterCount(line));
    const double length = std::max<double>(1, truncToInt64(bytes * h * 0.5 + (characters - 1) * spacing));
    const double height = truncToInt64(h);
    const double beta = escapement / 10.0 * kTextPi / 180.0;
    const double bx = std::cos(beta), by = -std::sin(beta);
    const double theta = lineDirection(escapement) / 10.0 * kTextPi / 180.0;
    const double sign = verticalAlign == 2 ? -1.0 : 1.0;
    const double lx = sign * std::cos(theta), ly = -sign * std::sin(theta);

    // Centre and right alignment first step back along the baseline by half and by one spacing.
    double back = 0, start = 0;
    if (horizontalAlign == 1) {
        back = spacing / 2;
        start = -length / 2;
    } else if (horizontalAlign == 2) {
        back = spacing;
        start = -length;
    }
    const DevicePoint origin = offsetPoint(lineAnchor, truncToInt64(-back * bx), truncToInt64(-back * by));
    const DevicePoint p0 = offsetPoint(origin, truncToInt64(start * bx), truncToInt64(start * by));
    const DevicePoint p1 = offsetPoint(p0, truncToInt64(length * bx), truncToInt64(length * by));
    const DevicePoint p2 = offsetPoint(p1, truncToInt64(height * lx), truncToInt64(height * ly));
    const DevicePoint p3 = offsetPoint(p0, truncToInt64(height * lx), truncToInt64(height * ly));
    return {p0, p1, p2, p3, p0};
}

std::optional<std::array<platform::DevicePointF, 4>> TextWarpCorners(const platform::DeviceRectF& b, int shape,
                                                                   int slant)
{
    const double X = b.x, Y = b.y, W = b.width, H = b.height;
    const double dy = H / 20 * slant, dx = W / 20 * slant;
    using P = platform::DevicePointF;
    switch (shape) {
    case 1: return std::array<P, 4>{P{X, Y + dy}, P{X + W, Y}, P{X, Y + H}, P{X + W, Y + H - dy}};
    case 2: return std::array<P, 4>{P{X + dx / 2, Y}, P{X + W - dx / 2, Y}, P{X, Y + H}, P{X + W, Y + H}};
    case 3: return std::array<P, 4>{P{X, Y}, P{X + W, Y}, P{X + dx / 2, Y + H}, P{X + W - dx / 2, Y + H}};
    case 4: return std::array<P, 4>{P{X, Y}, P{X + W, Y + dy / 2}, P{X, Y + H}, P{X + W, Y + H - dy / 2}};
    case 5: return std::array<P, 4>{P{X, Y}, P{X + W, Y + dy}, P{X, Y + H - dy}, P{X + W, Y + H}};
    case 6: return std::array<P, 4>{P{X, Y + dy / 2}, P{X + W, Y}, P{X, Y + H - dy / 2}, P{X + W, Y + H}};
    default: return std::nullopt;
    }
}

void WriteTextLine(platform::Surface& dc, DevicePoint at, std::string_view text, const platform::TextStyle& style)
{
    if (text.empty()) return;
    if (style.font.faceName.empty()) {
        platform::TextStyle withFace = style;
        withFace.font.faceName = CFontMenu().lfFaceName;
        dc.textOut(at, text, withFace);
        return;
    }
    dc.textOut(at, text, style);
}

} // namespace kov::render

namespace {

using namespace kov::render;

// The font the text is drawn in: its own, or the fallback font at its own height when the face is
// empty (the only font that cannot be made); nullopt when neither has a face.
std::optional<kov::platform::Font> usableFont(const CFontMenu& font, double paperScale,
                                              const CKovUnit::DrawEnvironment& env)
{
    if (!font.lfFaceName.empty()) return TextDeviceFont(font, paperScale);
    static const CFontMenu builtIn;
    const CFontMenu& fallback = env.fallbackFont != nullptr ? *env.fallbackFont : builtIn;
    if (fallback.lfFaceName.empty()) return std::nullopt;
    kov::platform::Font f = TextDeviceFont(fallback, paperScale);
    f.height = TextDeviceFont(font, paperScale).height;
    f.escapement = font.lfEscapement;
    f.orientation = font.lfOrientation;
    return f;
}

enum class TextPass { Layer, AllTexts };

void drawOneText(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovText& text,
                 const CPlotInfo& plot, const SelectionRecord& selection, bool placing, int filter, bool output,
                 const CKovUnit::DrawEnvironment& env, TextPass pass)
{
    if (filter == 1 && IsTextSelected(text, selection)) return;
    if (filter == 2 && !IsTextSelected(text, selection)) return;
    const bool placingCheck = pass == TextPass::Layer || filter == 1;
    if (placingCheck && placing && text.MTextGrpID != 0 && !selection.m_Groups.empty() &&
        text.MTextGrpID == selection.m_Groups.front())
        return;

    const CFontMenu& fm = text.MTextFontMenu;
    const std::optional<kov::platform::Font> font = usableFont(fm, transform.paperScale, env);
    if (!font) return;

    TextColours colours{fm.m_Color, fm.m_BackColor};
    if (pass == TextPass::Layer) colours = TextColoursOf(fm, plot);

    const int group = std::clamp(text.MTextLayer1, 0, DeviceTransform::kLayerGroups - 1);
    const DevicePoint anchor = ToDevicePoint(text.MTextpnt, transform, group);

    if (text.MTextHuchiFlg == 1 || text.MTextHuchiFlg == 2) {
        std::uint32_t fill = colours.text, outline = colours.background;
        if (pass == TextPass::Layer && plot.PlotSirokuro != 0) {
            fill = 0xFFFFFF;
            outline = 0;
        }
        CFontMenu drawn = fm;
        drawn.lfFaceName = font->faceName;
        CKovUnit::DrawTextPath(dc, transform, drawn, text.MTextstr, text.MTextHuchiAtsumi, text.MTextHuchiType,
                               text.MTextHuchiKeij, text.MTextHuchiFlg, text.MTextpnt, fill, outline, text.MTextAlpha,
                               group);
        return;
    }

    const double h = fm.m_size * transform.paperScale;
    const double spacing = fm.m_kankaku * transform.paperScale;
    const double pitch = fm.m_gyoukan * transform.paperScale + h;

    kov::platform::TextStyle style;
    style.font = *font;
    style.color = colours.text;
    style.background = fm.m_bBack != 0 ? kov::platform::Background::opaqueColor(colours.background)
                                       : kov::platform::Background::transparent();
    style.charExtra = std::clamp(truncToInt(spacing), -kov::platform::kMaxFontHeight, kov::platform::kMaxFontHeight);
    style.hAlign = hAlignOf(fm.m_toko_align);
    style.vAlign = fm.m_tate_align == 2 ? kov::platform::TextVAlign::Bottom : kov::platform::TextVAlign::Top;

    const int lineCount = TextLineCount(text.MTextstr);
    ForEachTextLine(text.MTextstr, [&](int i, std::string_view line) {
        if (!line.empty())
            dc.textOut(TextLineAnchor(anchor, i, lineCount, pitch, fm.lfEscapement, fm.m_tate_align), line, style);
    });

    const bool frames = pass == TextPass::Layer && env.printRealMode != 0 && !output &&
                        style.font.faceName.find("Ｐ") == std::string::npos;
    if (!frames) return;
    const kov::platform::Pen dotted{kov::platform::PenStyle::Dot, 1, kFrameColour};
    ForEachTextLine(text.MTextstr, [&](int i, std::string_view line) {
        const DevicePoint at = TextLineAnchor(anchor, i, lineCount, pitch, fm.lfEscapement, fm.m_tate_align);
        const auto frame = TextExtentFrame(at, line, h, spacing, fm.lfEscapement, fm.m_toko_align, fm.m_tate_align);
        dc.polyline(frame, dotted, kov::platform::Background::transparent());
    });
}

} // namespace

void CKovUnit::DrawTextObject(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovText& text,
                              const CPlotInfo& plot, const SelectionRecord& selection, bool placing, int filter,
                              bool output, const DrawEnvironment& env)
{
    drawOneText(dc, transform, text, plot, selection, placing, filter, output, env, TextPass::Layer);
}

void CKovUnit::DrawTexts(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                         const SelectionRecord& selection, bool placing, int filter,
                         const DrawEnvironment& env) const
{
    for (const auto& text : m_Texts)
        drawOneText(dc, transform, *text, plot, selection, placing, filter, true, env, TextPass::AllTexts);
}

void CKovUnit::DrawTextPath(kov::platform::Surface& dc, const DeviceTransform& transform, const CFontMenu& font,
                            std::string_view text, double frameThickness, int shape, int slant, int decoration,
                            const CDbPoint& position, std::uint32_t fillColour, std::uint32_t outlineColour,
                            int opacity, int layerGroup)
{
    kov::platform::TextPath path;
    const DevicePoint anchor = ToDevicePoint(position, transform, layerGroup);
    path.anchor = {double(anchor.x), double(anchor.y)};
    path.text = std::string(text);
    path.font = TextDeviceFont(font, transform.paperScale);
    // Only vertical writing turns an outline text: the font's own angle is not applied.
    const bool vertical = font.lfEscapement == 2700 && IsVerticalFace(font.lfFaceName);
    if (!vertical && IsVerticalFace(path.font.faceName))
        path.font.faceName.erase(0, path.font.faceName.starts_with("@") ? 1 : std::string_view("＠").size());
    path.font.escapement = 0;
    path.font.orientation = 0;
    const int alpha = std::clamp(truncToInt(opacity * 255.0 / 100.0), 0, 255);
    path.opacity = alpha / 255.0;
    path.fillColor = fillColour;
    path.outlineColor = outlineColour;
    const double width = transform.paperScale * frameThickness;
    path.penWidth = width < 0 ? 1.0 : width;
    path.stroke = true;
    path.fill = decoration != 2;
    if (shape >= 1 && shape <= 6) path.warp = TextWarpCorners(dc.textPathBounds(path), shape, slant);
    dc.drawTextPath(path);
}

void CKovUnit::TextBoxSize(kov::platform::DeviceRect& out, kov::platform::Surface& dc, int x, int y,
                           std::string_view text, const CFontMenu& font, double paperScale)
{
    out = SurfaceTextBoxMeasurer(dc).TextBoxSize(x, y, text, font, paperScale);
}
