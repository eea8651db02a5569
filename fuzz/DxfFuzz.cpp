// libFuzzer target: any bytes as a DXF file (CKovUnit::ReadDxf). The reader must neither crash nor hang nor run away
// with memory; what it makes of the bytes does not matter. Seeds: fuzz/corpus/dxf (files we
// write) and, when present, the other programs' files in ../shared/samples/dxf (scripts/fuzz).

#include "io/DxfReader.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The settings are read from their defaults once: reading them was most of a run's time.
    static const CPlotInfo defaults;
    static const CFontMenu font;
    CKovUnit unit;
    CPlotInfo plot(defaults);
    SelectionRecord selection;
    kov::io::DxfReadOptions options;
    // Both option boxes, taken from the first byte, so that both header paths are walked.
    if (size > 0) {
        options.keepPaperSize = data[0] & 1;
        options.keepScale = (data[0] >> 1) & 1;
    }
    unit.ReadDxf(std::string_view(reinterpret_cast<const char*>(data), size), selection, plot, font, options);
    return 0;
}
