// Picture calibration: a scanned plan brought to the drawing's scale by two points on the picture
// and the two drawing points where they belong.

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr const char* kPointsTooClose = "指定した点と点の距離が少なすぎます";

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }
double distance(const DevicePoint& a, const DevicePoint& b) { return PointDistanceInt(a.x, a.y, b.x, b.y); }

} // namespace

int CKovUnit::CalibrateImage(const SelectionRecord& selection, const DeviceTransform& transform, const CPlotInfo& plot,
                             const CDbPointArray& toolPoints, const CDbPoint& d2, CDbPoint& outCentre,
                             std::string* outMessage)
{
    if (selection.m_Images.empty() || toolPoints.size() < 3)
        return 0;
    const int id = selection.m_Images.front();
    if (!std::as_const(*this).FindImage(id))
        return 0;
    const int g = std::clamp(plot.m_Layer.m_nCurrentGroup, 0, DeviceTransform::kLayerGroups - 1);
    const auto gi = static_cast<std::size_t>(g);
    auto device = [&](const CDbPoint& p) { return ToDevicePoint(p, transform, g); };

    // The pairing does not depend on the order of the clicks: the smaller corner of the picture
    // points goes to the smaller corner of the drawing points.
    const CDbPoint& i1 = toolPoints[0];
    const CDbPoint& i2 = toolPoints[1];
    const CDbPoint& d1 = toolPoints[2];
    CDbPoint iMin{std::min(i1.x, i2.x), std::min(i1.y, i2.y)}, iMax{std::max(i1.x, i2.x), std::max(i1.y, i2.y)};
    CDbPoint dMin{std::min(d1.x, d2.x), std::min(d1.y, d2.y)}, dMax{std::max(d1.x, d2.x), std::max(d1.y, d2.y)};
    const DevicePoint t1 = device(iMin);
    DevicePoint t2 = device(iMax);
    const DevicePoint t3 = device(dMin);
    DevicePoint t4 = device(dMax);

    // An axis along which the points hardly differ counts as none.
    if (std::fabs(dMax.x - dMin.x) < 2.0)
        dMax.x = dMin.x;
    if (std::fabs(dMax.y - dMin.y) < 2.0)
        dMax.y = dMin.y;
    if (iMin.x == iMax.x)
        dMax.x = dMin.x;
    else if (iMin.y == iMax.y)
        dMax.y = dMin.y;
    bool collapsedX = false, collapsedY = false;
    if (std::abs(t1.x - t2.x) < 2) {
        iMax.x = iMin.x;
        t2.x = t1.x;
        collapsedX = true;
    }
    if (std::abs(t1.y - t2.y) < 2) {
        iMax.y = iMin.y;
        t2.y = t1.y;
        collapsedY = true;
    }

    // The drawing point measured against dMin: along the picture's direction.
    CDbPoint dm;
    if (collapsedX) {
        dm = {dMin.x, dMax.y};
        t4.x = t3.x;
    } else if (collapsedY) {
        dm = {dMax.x, dMin.y};
        t4.y = t3.y;
    } else {
        const double theta = VectorAngle(iMin.x, iMin.y, iMax.x, iMax.y) * kKovPi / 180.0;
        const double m = -std::tan(theta);
        if (m == 0)
            return 0;
        const double b1 = dMin.y - m * dMin.x;
        const double b2 = dMax.y + dMax.x / m;
        const double x = (b2 - b1) / (m + 1 / m);
        dm = {x, m * x + b1};
        t4 = device(dm);
    }
    const double l1 = distance(iMin, iMax), l2 = distance(dMin, dm);
    if (distance(t3, t4) < 2 || distance(t1, t2) < 2) {
        if (outMessage)
            *outMessage = kPointsTooClose;
        return 0;
    }

    CKovImage& picture = *FindImage(id);
    const double k = l2 / l1;
    picture.ImageWidth = std::trunc(picture.ImageWidth * k);
    picture.ImageHeight = std::trunc(picture.ImageHeight * k);
    // The centre in drawing millimetres, from its place on the paper.
    const double sx = transform.scaleX[gi] != 0 ? transform.scaleX[gi] : 1;
    const double sy = transform.scaleY[gi] != 0 ? transform.scaleY[gi] : 1;
    const CDbPoint c{picture.OffsetX * transform.paperScale / sx, picture.OffsetY * transform.paperScale / sy};
    // Where iMin goes when the picture grows by k about its centre; the centre then moves so that
    // it lands on dMin.
    const CDbPoint s = PointTowards(c, iMin, k * distance(c, iMin));
    outCentre = {dMin.x - s.x + c.x, dMin.y - s.y + c.y};
    return 1;
}
