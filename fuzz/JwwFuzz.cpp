// Jw_cad drawing and figure files (JWW, JWS): read, then convert into a drawing, as an import does.

#include "jwcad/JwConversion.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        CPlotInfo plot;
        CKovUnit unit;
        JwwImportOptions options;
        options.m_bArcsToPolylines = size > 0 && (data[size - 1] & 1);
        ImportJwwDrawing(data, size, options, plot, unit);
    }
    {
        CPlotInfo plot;
        CKovUnit unit;
        SelectionRecord selection;
        int group = 0;
        ImportJwsFigures(data, size, plot, unit, selection, group);
    }
    return 0;
}
