#pragma once

// Small drawings and counts shared by the DXF tests.

#include "io/DxfReader.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <string>
#include <string_view>

namespace kov::test {

// Figures and texts by what a user would call them.
struct DxfCounts {
    int lines = 0;      // kind 0
    int polylines = 0;  // closed polygons and continuous lines
    int circles = 0;    // circles and ellipses
    int arcs = 0;
    int texts = 0;
    bool operator==(const DxfCounts&) const = default;
};

inline DxfCounts countOf(const CKovUnit& unit)
{
    DxfCounts c;
    for (const auto& f : unit.m_Lines) {
        switch (f->MLineType) {
        case CKovLine::LINE: ++c.lines; break;
        case CKovLine::POLYGON:
        case CKovLine::CONTINUOUS: ++c.polylines; break;
        case CKovLine::CIRCLE: ++c.circles; break;
        case CKovLine::ARC: ++c.arcs; break;
        default: break;
        }
    }
    c.texts = unit.m_Texts.GetSize();
    return c;
}

inline std::ostream& operator<<(std::ostream& os, const DxfCounts& c)
{
    return os << "{lines " << c.lines << ", polylines " << c.polylines << ", circles " << c.circles << ", arcs "
              << c.arcs << ", texts " << c.texts << "}";
}

// A drawing read from DXF text into a fresh document state.
struct DxfImport {
    CKovUnit unit;
    CPlotInfo plot;
    CFontMenu font;
    SelectionRecord selection;
    kov::io::DxfReadResult result;

    explicit DxfImport(std::string_view bytes, kov::io::DxfReadOptions options = {}, double scale = 100.0)
    {
        plot.m_Layer.SetAllScales(scale);
        result = unit.ReadDxf(bytes, selection, plot, font, options);
    }
};

// A small house on paper A4 landscape at 1:50: walls on the named layer "壁", one figure of every
// kind, a room (its fill polygon in a room group), a dimension and two texts, one of them Japanese
// on a layer of its own. Layer (0, 2) repeats the name "壁" and layer (0, 1) has no name.
struct DxfHouse {
    CKovUnit unit;
    CPlotInfo plot;

    DxfHouse()
    {
        plot.PlotPaperSize = 0;
        plot.m_Layer.SetAllScales(50.0);
        plot.m_Layer.m_LayerInfo[0][0].m_strName = "壁";
        plot.m_Layer.m_LayerInfo[0][2].m_strName = "壁";
        plot.m_Layer.m_LayerInfo[1][0].m_strName = "文字";
        plot.PlotSunpoTextHeight = 3;

        // The walls' outlines: a square room of 3000 by 2000, each wall 100 thick, as four closed
        // outlines of four edges.
        const CDbPoint corners[4] = {{-1500, -1000}, {1500, -1000}, {1500, 1000}, {-1500, 1000}};
        for (int i = 0; i < 4; ++i) {
            auto w = std::make_unique<CKovWall>();
            w->MWallID = unit.NextWallId();
            const CDbPoint a = corners[i], b = corners[(i + 1) % 4];
            w->MWallPntA = a;
            w->MWallPntB = b;
            const double nx = a.y == b.y ? 0.0 : 50.0, ny = a.y == b.y ? 50.0 : 0.0;
            const CDbPoint o[4] = {{a.x - nx, a.y - ny}, {b.x - nx, b.y - ny}, {b.x + nx, b.y + ny}, {a.x + nx, a.y + ny}};
            for (int k = 0; k < 4; ++k) {
                w->MWallarPntA.push_back(o[k]);
                w->MWallarPntB.push_back(o[(k + 1) % 4]);
            }
            unit.m_Walls.Add(std::move(w));
        }
        figure(CKovLine::LINE, {{-2000, -1500}, {2000, -1500}}, {}, 0, 0x0000FF, 1);
        figure(CKovLine::RECTANGLE, {{-1400, -900}, {-1400, -500}, {-1000, -500}, {-1000, -900}}, {}, 1, 0, 3);
        figure(CKovLine::POLYGON, {{0, 0}, {500, 0}, {250, 400}}, {}, 2, 0x00FF00, 4);
        figure(CKovLine::CIRCLE, {{800, 500}}, {200}, 0, 0x808080, 0);
        figure(CKovLine::CIRCLE, {{-800, 500}}, {300, 0.5}, 0, 0, 0);                       // ellipse
        figure(CKovLine::ARC, {{0, 600}, {150, 600}, {0, 450}}, {150}, 0, 0, 5);              // quarter arc
        figure(CKovLine::ARC, {{600, -500}, {800, -500}, {600, -400}}, {200, 0.5}, 0, 0, 0);  // elliptic arc
        figure(CKovLine::CONTINUOUS, {{-2000, 1500}, {-1000, 1600}, {0, 1500}, {1000, 1600}}, {}, 0, 0, 0);
        figure(CKovLine::DIMENSION, {{-1500, 1000}, {1500, 1000}, {0, 1300}}, {3, 3000, 200}, 0, 0, 0);
        // The room: its fill polygon belongs to a room group and is not written.
        auto room = std::make_unique<CKovGroup>();
        room->MGrpID = unit.NextGroupId();
        room->MGrpRoom = CKovGroup::ROOM;
        const int roomId = room->MGrpID;
        unit.m_Groups.Add(std::move(room));
        figure(CKovLine::POLYGON, {corners[0], corners[1], corners[2], corners[3]}, {}, 0, 0, 0).MLineGrpID = roomId;

        text("洋室６畳", {-500, 200}, 6.5, 0, 1, 0);
        text("LDK", {300, -300}, 4.0, 457, 0, 1);
    }

    CKovLine& figure(int kind, CDbPointArray points, std::vector<double> params, int layer, std::uint32_t colour,
                     int style)
    {
        auto f = std::make_unique<CKovLine>();
        f->MLineID = unit.NextLineId();
        f->MLineType = kind;
        f->MLinePnt = std::move(points);
        f->MLineParam = std::move(params);
        f->MLineLayer2 = layer;
        f->MLineColor = colour;
        f->MLineLineT = style;
        CKovLine& ref = *f;
        unit.m_Lines.Add(std::move(f));
        return ref;
    }

    void text(std::string s, CDbPoint at, double size, int escapement, int group, int layer)
    {
        auto t = std::make_unique<CKovText>();
        t->MTextID = unit.NextTextId();
        t->MTextstr = std::move(s);
        t->MTextpnt = at;
        t->MTextFontMenu.m_size = size;
        t->MTextFontMenu.lfEscapement = escapement;
        t->MTextLayer1 = group;
        t->MTextLayer2 = layer;
        unit.m_Texts.Add(std::move(t));
    }

    std::string dxf() const
    {
        std::string out;
        unit.WriteDxf(out, plot);
        return out;
    }
};

} // namespace kov::test
