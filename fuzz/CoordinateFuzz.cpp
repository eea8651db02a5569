// Coordinate files from outside: any bytes give finite points, at most the row limit, and every
// figure made from them stays finite.

#include "model/CoordinateFile.h"
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
    const kov::model::CoordinateRead read = kov::model::ParseCoordinateText(bytes);
    if (read.rows.size() > kov::model::kMaxCoordinateRows) std::abort();
    CDbPointArray points;
    for (const auto& row : read.rows) {
        if (!std::isfinite(row.point.x) || !std::isfinite(row.point.y)) std::abort();
        points.push_back(row.point);
    }
    if (points.size() < 2 || points.size() > 2000) return 0;
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord selection;
    unit.AddPolygonFromPoints(plot, points);
    unit.AddSegmentsOrPolyline(selection, plot, points, points.back(), 0);
    return 0;
}
