#pragma once

// The tolerance rules of picking and selecting, in one place: the pick radius and the near distance
// (module variables in device pixels, scaled with the screen at start-up), which windows include
// their border and which do not, the tie rule of the nearest-object searches and the layer filter.

#include "model/DrawTransform.h"
#include "model/LayerAddress.h"
#include "model/PlotInfo.h"

#include <cstdint>
#include <cstdlib>

namespace kov::edit {

// 8 pixels at 96 dpi: decides hits and grips.
inline int PickRadius() { return g_nPickTolerance; }
// 13 pixels at 96 dpi: snap windows, clicks on the selection, reach beyond a segment's ends.
inline int NearDistance() { return g_nSnapTolerance; }

// Square windows around grip points and group-box corners include their border.
inline bool InGripWindow(int dx, int dy) { return std::abs(dx) <= PickRadius() && std::abs(dy) <= PickRadius(); }
// Every other pick test is strict: a point exactly at the radius is outside.
inline bool InPickWindow(int dx, int dy) { return std::abs(dx) < PickRadius() && std::abs(dy) < PickRadius(); }
inline bool WithinPickRadius(int d) { return std::abs(d) < PickRadius(); }
inline bool InNearWindow(int dx, int dy) { return std::abs(dx) < NearDistance() && std::abs(dy) < NearDistance(); }

// Nearest-object searches start with the radius as the best distance and take a candidate only when
// it is strictly nearer, so at equal distance the first in array order stays.
inline bool ReplacesBest(int distance, int bestDistance) { return distance < bestDistance; }

// Cycle rule of the double click: a candidate is passed over when the remembered identifier is at
// least its own.
inline bool SkippedByCycle(int cycle, int previousId, int candidateId) { return cycle != 0 && previousId >= candidateId; }

// The pick filter applied to an object's layer (see PickLayers).
inline bool PassesLayerFilter(const CPlotInfo& plot, PickLayers filter, LayerAddress at)
{
    const CLayer& table = plot.m_Layer;
    const bool current = at == CurrentLayer(plot);
    if (filter == PickLayers::Current)
        return current;
    if (filter != PickLayers::SnappableOrCurrent)
        return true;
    if (current)
        return true;
    if (at.group < 0 || at.group >= CLayer::kRecords || at.layer < 0 || at.layer >= CLayer::kRecords)
        return false;
    const auto g = static_cast<std::size_t>(at.group);
    return table.m_GrpLayerInfo[g].m_nType == CLayerInfo::LAYER_SNAP &&
           table.m_LayerInfo[g][static_cast<std::size_t>(at.layer)].m_nType == CLayerInfo::LAYER_SNAP;
}

// The click in device pixels: unlike ToDevicePoint no 0.01 is added before the cut.
DevicePoint ClickDevicePoint(double x, double y, const DeviceTransform& transform, int layerGroup);

// A polygon filled by the winding rule on whole pixels, with the raster border rule of screen
// regions: left and top borders inside, right and bottom borders outside.
bool PointInWindingPolygon(const DevicePoint* points, int count, int x, int y);

} // namespace kov::edit
