// Jw_cad drawing and figure files (JWW, JWS): read, then convert into a drawing, as an import does.

#include "jwcad/JwConversion.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The settings are read from their defaults once: reading them was most of a run's time.
    static const CPlotInfo defaults;
    {
        CPlotInfo plot(defaults);
        CKovUnit unit;
        JwwImportOptions options;
        options.m_bArcsToPolylines = size > 0 && (data[size - 1] & 1);
        ImportJwwDrawing(data, size, options, plot, unit);
    }
    {
        CPlotInfo plot(defaults);
        CKovUnit unit;
        SelectionRecord selection;
        int group = 0;
        ImportJwsFigures(data, size, plot, unit, selection, group);
    }
    return 0;
}
