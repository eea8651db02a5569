// DOS Jw_cad drawing and figure files (JWC, JWK): read, then convert into a drawing.

#include "jwcad/JwExport.h"
#include "model/FontMenu.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The settings are read from their defaults once: reading them was most of a run's time.
    static const CFontMenu font;
    static const CPlotInfo defaults;
    {
        CPlotInfo plot(defaults);
        CKovUnit unit;
        ImportJwcDrawing(data, size, font, plot, unit);
    }
    {
        CPlotInfo plot(defaults);
        CKovUnit unit;
        SelectionRecord selection;
        int group = 0;
        ImportJwkFigures(data, size, font, plot, unit, selection, group);
    }
    return 0;
}
