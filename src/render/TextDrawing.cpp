#include "model/KovUnit.h"

#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "render/DrawEnvironment.h"

void CKovUnit::DrawTextObject(kov::platform::Surface&, const DeviceTransform&, const CKovText&, const CPlotInfo&,
                              const SelectionRecord&, bool, int, bool, const DrawEnvironment&)
{
}

void CKovUnit::DrawTexts(kov::platform::Surface&, const DeviceTransform&, const CPlotInfo&, const SelectionRecord&,
                         bool, int, const DrawEnvironment&) const
{
}

void CKovUnit::DrawTextPath(kov::platform::Surface&, const DeviceTransform&, const CFontMenu&, std::string_view,
                            double, int, int, int, const CDbPoint&, std::uint32_t, std::uint32_t, int, int)
{
}

void CKovUnit::TextBoxSize(kov::platform::DeviceRect& out, kov::platform::Surface& dc, int x, int y,
                           std::string_view text, const CFontMenu& font, double paperScale)
{
    out = SurfaceTextBoxMeasurer(dc).TextBoxSize(x, y, text, font, paperScale);
}
