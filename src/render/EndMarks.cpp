#include "render/EndMarks.h"

#include "model/DrawTransform.h"
#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "render/LineStyles.h"

#include <algorithm>
#include <cmath>

namespace kov::render {

using platform::DevicePoint;

EndMarkCode DecodeEndMark(int code)
{
    if (code < 1 || code > 12) return {};
    const int shape = (code - 1) / 3 + 1;
    const int where = (code - 1) % 3;  // 0 start, 1 end, 2 both
    return {static_cast<EndMarkShape>(shape), where != 1, where != 0};
}

std::array<DevicePoint, 2> ArrowWings(DevicePoint tip, double directionDegrees, int length)
{
    auto wing = [&](double offset) {
        double a = std::fmod(directionDegrees + offset, 360.0);
        if (a < 0.0) a += 360.0;
        const double phi = -a * kKovPi / 180.0;  // y points down on the device
        return DevicePoint{tip.x + truncToInt(std::cos(phi) * length), tip.y + truncToInt(std::sin(phi) * length)};
    };
    return {wing(30.0), wing(-30.0)};
}

} // namespace kov::render

void CKovUnit::DrawEndMarks(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                            const DevicePoint& start, const DevicePoint& end, const CDbPoint& startReal,
                            const CDbPoint& endReal, std::uint32_t colour, int code, int sizeIndex,
                            const kov::platform::Pen& pen)
{
    using namespace kov::render;
    using kov::platform::Background;
    using kov::platform::Brush;
    using kov::platform::DeviceRect;
    using SurfacePoint = kov::platform::DevicePoint;

    const EndMarkCode mark = DecodeEndMark(code);
    if (mark.shape == kNoMark) return;
    // Within the mapped coordinate range, so that a wing or a box corner beside a point still fits
    // in an int whatever the size table holds.
    const int length = std::clamp(truncToInt(plot.MarkSize(ClampMarkSizeIndex(sizeIndex)) * transform.paperScale), 0,
                                  kDeviceCoordLimit);
    const Background bk = Background::transparent();
    const Brush fill = Brush::solid(colour);

    auto drawAt = [&](SurfacePoint at, double directionDegrees) {
        switch (mark.shape) {
        case kOpenArrow: {
            const auto wings = ArrowWings(at, directionDegrees, length);
            dc.line(wings[0], at, pen, bk);
            dc.line(wings[1], at, pen, bk);
            break;
        }
        case kFilledTriangle: {
            const auto wings = ArrowWings(at, directionDegrees, length);
            const SurfacePoint triangle[3] = {wings[0], at, wings[1]};
            dc.polygon(triangle, kov::platform::FillRule::Alternate, pen, fill, bk);
            break;
        }
        case kFilledDot:
        case kFilledSquare: {
            const int half = length / 2;
            const DeviceRect box{at.x - half, at.y - half, at.x + half, at.y + half};
            if (mark.shape == kFilledDot) dc.ellipse(box, pen, fill, bk);
            else dc.rectangle(box, pen, fill, bk);
            break;
        }
        case kNoMark: break;
        }
    };

    // Each mark points away from the line: its wings lie along the direction into the line.
    if (mark.atStart) drawAt({start.x, start.y}, VectorAngle(startReal.x, startReal.y, endReal.x, endReal.y));
    if (mark.atEnd) drawAt({end.x, end.y}, VectorAngle(endReal.x, endReal.y, startReal.x, startReal.y));
}
