#pragma once

// Fixtures the figure, fill, wall and golden tests share: a transform of one device pixel per
// millimetre, figures and walls built in a few lines, 8 × 8 test patterns, and a one-line summary
// of what a drawer painted.

#include "model/DrawTransform.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/RecordingSurface.h"
#include "render/DrawEnvironment.h"
#include "render/LineStyleTestSupport.h"

#include <QImage>

#include <memory>
#include <string>
#include <vector>

namespace kov::test::drawers {

// Drawing millimetres map 1:1 onto device pixels in every layer group; paper scale 4.
inline DeviceTransform pixelTransform(double paperScale = 4.0)
{
    return uniformTransform(1.0, paperScale);
}

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

inline CKovLine& addFigure(CKovUnit& unit, int kind, std::vector<CDbPoint> points, std::vector<double> params = {})
{
    auto line = std::make_unique<CKovLine>();
    line->MLineID = unit.NextLineId();
    line->MLineType = kind;
    line->MLinePnt = std::move(points);
    line->MLineParam = std::move(params);
    line->MLineGradiation = 0;
    CKovLine& ref = *line;
    unit.m_Lines.Add(std::move(line));
    return ref;
}

// The standard shape of each kind, about (50, 50).
inline CKovLine& addFigureOfKind(CKovUnit& unit, int kind)
{
    switch (kind) {
    case CKovLine::LINE: return addFigure(unit, kind, {{10, 10}, {90, 60}});
    case CKovLine::RECTANGLE: return addFigure(unit, kind, {{10, 20}, {90, 20}, {90, 80}, {10, 80}});
    case CKovLine::POLYGON: return addFigure(unit, kind, {{10, 20}, {90, 20}, {50, 90}});
    case CKovLine::CIRCLE: return addFigure(unit, kind, {{50, 50}}, {30});
    case CKovLine::ARC: return addFigure(unit, kind, {{50, 50}, {80, 50}, {50, 20}}, {30});
    default: return addFigure(unit, kind, {{10, 10}, {50, 60}, {90, 10}});
    }
}

// An axis-parallel wall A-B of half thickness t with its four sides as outline edges.
inline CKovWall& addWall(CKovUnit& unit, CDbPoint a, CDbPoint b, double t)
{
    auto wall = std::make_unique<CKovWall>();
    wall->MWallID = unit.NextWallId();
    wall->MWallPntA = a;
    wall->MWallPntB = b;
    wall->MWallWide1 = wall->MWallWide2 = t;
    CKovUnit::ComputeWallCorners(wall->MWallPntKado, wall->MWallPntA, wall->MWallPntB, t, 1);
    const auto& c = wall->MWallPntKado;
    wall->MWallarPntA = {c[0], c[1], c[2], c[3]};
    wall->MWallarPntB = {c[1], c[2], c[3], c[0]};
    CKovWall& ref = *wall;
    unit.m_Walls.Add(std::move(wall));
    return ref;
}

inline CKovWall& addColumn(CKovUnit& unit, CDbPoint centre, double halfX, double halfY, int columnType)
{
    auto wall = std::make_unique<CKovWall>();
    wall->MWallID = unit.NextWallId();
    wall->MWallPntA = wall->MWallPntB = centre;
    wall->MWallWide1 = wall->MWallWide2 = std::min(halfX, halfY);
    wall->MWall_Type = CKovWall::COLUMN;
    wall->MHasiraType = columnType;
    wall->MWallPntKado = {CDbPoint(centre.x - halfX, centre.y - halfY), CDbPoint(centre.x - halfX, centre.y + halfY),
                          CDbPoint(centre.x + halfX, centre.y + halfY), CDbPoint(centre.x + halfX, centre.y - halfY)};
    CKovWall& ref = *wall;
    unit.m_Walls.Add(std::move(wall));
    return ref;
}

// Eight recognisable 8 × 8 patterns: pattern n has its first n rows dark.
inline CKovUnit::DrawEnvironment environmentWithPatterns()
{
    CKovUnit::DrawEnvironment env;
    for (int n = 0; n < CKovUnit::DrawEnvironment::kPatterns; ++n) {
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::white);
        for (int y = 0; y <= n; ++y)
            for (int x = 0; x < 8; x += 2) img.setPixel(x + (y % 2), y, qRgb(40, 90, 160));
        env.patterns[static_cast<std::size_t>(n)] = img;
    }
    return env;
}

inline std::string hex(std::uint32_t c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X", c & 0xFFFFFF);
    return buf;
}

inline bool paints(const platform::RecordedCall& c)
{
    return c.op == "polygon" || c.op == "ellipse" || c.op == "pie" || c.op == "chord" || c.op == "rectangle"
           || c.op == "fillRect";
}

// How the figure was filled: "none", "solid:<colour>", "linear:<from>-><to>@<percent>",
// "path:<centre>/<surround>@<percent>", "hatch", "pattern".
inline std::string fillSummary(const platform::RecordingSurface& s)
{
    for (const platform::RecordedCall& c : s.calls()) {
        if (c.op == "fillLinearGradient" || c.op == "fillPathGradient") {
            // "... <from>-><to> angle=.. opacity=NN%" or "... centre=.. surround=.. opacity=NN%"
            const std::string& d = c.dump;
            const std::string opacity = d.substr(d.rfind("opacity=") + 8);
            if (c.op == "fillLinearGradient") {
                const auto arrow = d.find("->");
                return "linear:" + d.substr(arrow - 8, 8) + "->" + d.substr(arrow + 2, 8) + "@" + opacity;
            }
            const auto centre = d.find("centre=");
            const auto surround = d.find("surround=");
            return "path:" + d.substr(centre + 7, 8) + "/" + d.substr(surround + 9, 8) + "@" + opacity;
        }
        if (paints(c) && c.brush.style != platform::BrushStyle::Null) {
            switch (c.brush.style) {
            case platform::BrushStyle::Solid: return "solid:" + hex(c.brush.color);
            case platform::BrushStyle::Hatch: return "hatch";
            case platform::BrushStyle::Pattern: return "pattern";
            default: break;
            }
        }
    }
    return "none";
}

// The colour of the last pen that drew anything: the figure's outline.
inline std::string outlineColour(const platform::RecordingSurface& s)
{
    std::string out = "none";
    for (const platform::RecordedCall& c : s.calls()) {
        if (c.op == "fillLinearGradient" || c.op == "fillPathGradient" || c.op == "fillRect") continue;
        if (c.pen.style != platform::PenStyle::Null) out = hex(c.pen.color);
    }
    return out;
}

inline int countOps(const platform::RecordingSurface& s, const std::string& op)
{
    int n = 0;
    for (const platform::RecordedCall& c : s.calls()) n += c.op == op ? 1 : 0;
    return n;
}

} // namespace kov::test::drawers
