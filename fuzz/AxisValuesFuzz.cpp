// The axis-line values file from outside: its two lines of spacings read from any bytes, and the
// grid of axis lines built from them, which must stay finite and bounded.

#include "model/AxisValueFile.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kov::model::AxisValues values = kov::model::ParseAxisValues(bytes);
    for (const auto* list : {&values.x, &values.y}) {
        if (list->size() > kov::model::AxisValues::kMaxPerLine) std::abort();
        for (double v : *list)
            if (!(v > 0) || v > kov::model::AxisValues::kMaxSpacing) std::abort();
    }
    // A grid of hundreds of lines each way is left to the tests; the fuzzer builds the small ones.
    if (values.x.size() * values.y.size() > 400) return 0;
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord selection;
    DeviceTransform t;
    t.scaleX.fill(96 / 25.4 / 100);
    t.scaleY.fill(96 / 25.4 / 100);
    t.paperScale = 96 / 25.4;
    AxisLineSettings settings;
    settings.ats_kigou_t_view = 2;
    settings.ats_kigou_y_view = 2;
    unit.CreateGridLines(selection, plot, t, 0, 0, values.x, values.y, settings);
    for (const auto& f : std::as_const(unit).m_Lines)
        for (const CDbPoint& p : f->MLinePnt)
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
    return 0;
}
