#include "dialogs/LibraryThumbnails.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "render/DrawEnvironment.h"

#include <algorithm>

namespace kov::dialogs {

void DrawLibraryThumbnail(kov::platform::Surface& dc, const CKovUnit& part, const CPlotInfo& plot, const DeviceRect& cell,
                          double firstDenominator, int dpi)
{
    if (part.m_Groups.empty()) return;
    const CDbPoint max = part.m_Groups[0]->MGrpmax;
    DeviceTransform t;
    auto setScale = [&](double denominator) {
        const double s = dpi / 25.4 / denominator;
        t.scaleX.fill(s);
        t.scaleY.fill(s);
        t.paperScale = s * 100;
    };
    double denominator = firstDenominator;
    setScale(denominator);
    DevicePoint px = ToDevicePoint(max, t, 0);
    const int m = std::max(px.x, px.y);
    const int d = std::min(cell.width(), cell.height());
    if (m > 0 && d > 0) denominator = firstDenominator / (d / (1.3 * m));
    setScale(denominator);
    px = ToDevicePoint(max, t, 0);
    t.originX = cell.left + (cell.width() - px.x) / 2;
    t.originY = cell.top + g_nPickTolerance;
    SelectionRecord none;
    CKovUnit::DrawEnvironment env;
    part.DrawPartPreview(dc, t, plot, none, false, false, env);
}

} // namespace kov::dialogs
