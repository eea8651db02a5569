#include "render/Swatches.h"

void CPlotInfo::DrawWallSwatch(kov::platform::Surface&, int, int, int, int, const SwatchEnvironment&) const {}
void CPlotInfo::DrawColumnSwatch(kov::platform::Surface&, int, int, int, int, const SwatchEnvironment&) const {}
void CPlotInfo::DrawLineSwatch(kov::platform::Surface&, int, int, int, int, const SwatchEnvironment&) const {}
void CPlotInfo::DrawRectangleSwatch(kov::platform::Surface&, int, int, int, int, const SwatchEnvironment&) const {}
void CPlotInfo::DrawPolygonSwatch(kov::platform::Surface&, int, int, int, int, const SwatchEnvironment&) const {}
void CPlotInfo::DrawCircleSwatch(kov::platform::Surface&, int, int, int, int, const SwatchEnvironment&) const {}
void CPlotInfo::DrawArcSwatch(kov::platform::Surface&, int, int, int, int, const SwatchEnvironment&) const {}
void CPlotInfo::PaintGradientFill(kov::platform::Surface&, const kov::platform::DevicePoint*, int, int, int,
                                  std::uint32_t, std::uint32_t, int) const
{
}
void CRoomInfo::DrawRoomSwatch(kov::platform::Surface&, const kov::platform::DevicePoint[4], int,
                               const SwatchEnvironment&) const
{
}
void CFontMenu::DrawTextSwatch(kov::platform::Surface&, double, int, int) const {}
