#include "model/KovUnit.h"

#include "model/DrawTransform.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

void CKovUnit::DrawSelectionMarks(kov::platform::Surface&, const DeviceTransform&, const CPlotInfo&,
                                  const SelectionRecord&) const
{
}

void CKovUnit::DrawGripSquare(kov::platform::Surface& dc, const DevicePoint& point, std::uint32_t colour)
{
    const int h = g_nPickTolerance / 2;
    dc.fillRect({point.x - h, point.y - h, point.x + h, point.y + h}, kov::platform::Brush::solid(colour));
}
