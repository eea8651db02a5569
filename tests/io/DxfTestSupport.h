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

} // namespace kov::test
