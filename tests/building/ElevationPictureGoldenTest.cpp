// The four elevations of the sample house the program ships ("小さな家"), with windows and doors
// from the shipped library, a hip roof over the main block, a gable roof over the west wing, a
// lean-to over the east wing and a deck before it, drawn by the draw passes and compared with a
// golden picture in tests/data/building. KOVIRA_REGENERATE_GOLDEN=1 rewrites the picture instead
// (look at it before keeping it).

#include "ElevationFixtures.h"

#include "model/Layer.h"
#include "platform/PainterSurface.h"
#include "render/DrawEnvironment.h"
#include "support/EditFixtures.h"
#include "support/GoldenImage.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>

namespace {

using namespace kov::test;

TEST(ElevationPicture, SampleHouseFourElevations)
{
    ElevationPlan p;
    sampleHouse(p);
    if (HasFatalFailure()) return;

    const CDbPoint offsets[] = {{-6000, -1000}, {-6000, 7500}, {6000, -1000}, {6000, 7500}};
    for (int d = 1; d <= 4; ++d)
        p.unit.CreateElevations(offsets[d - 1].x, offsets[d - 1].y, p.sel, p.plot, p.ritu, d, &p.library);
    EXPECT_EQ(p.library.unreadable, 0);
    // Only the views: the plan's layer group is hidden, as the command leaves it.
    p.plot.m_Layer.m_GrpLayerInfo[0].m_nType = CLayerInfo::LAYER_HIDDEN;

    DeviceTransform t = pixelTransform(0.03, 2.0);
    t.originX = 380;
    t.originY = 235;
    QImage image(760, 520, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        kov::platform::PainterSurface surface(image);
        CKovUnit::DrawEnvironment env;
        const SelectionRecord none;
        p.unit.DrawAllByLayer(surface, t, p.plot, none, false, true, env);
    }
    expectMatchesGolden(image, "building/elevations-sample-house.png");
}

// Seen from the east, the lean-to over the east wing stands before the gable roof of the west
// wing: its white face hides the gable's hatch, so inside the lean-to only its own lines show.
TEST(ElevationPicture, NearerRoofHidesTheHatchOfTheRoofBehind)
{
    ElevationPlan p;
    sampleHouse(p);
    if (HasFatalFailure()) return;
    const int first = p.unit.m_Lines.GetSize();
    p.unit.CreateElevations(0, 0, p.sel, p.plot, p.ritu, 3, &p.library);
    p.plot.m_Layer.m_GrpLayerInfo[0].m_nType = CLayerInfo::LAYER_HIDDEN;
    // The roof faces: the gable behind shows as a rectangle, the lean-to as the narrowest triangle.
    CKovLine* behind = nullptr;
    CKovLine* before = nullptr;
    auto width = [](const CKovLine& f) {
        double lo = f.MLinePnt[0].x, hi = lo;
        for (const CDbPoint& q : f.MLinePnt) lo = std::min(lo, q.x), hi = std::max(hi, q.x);
        return hi - lo;
    };
    for (int i = first; i < p.unit.m_Lines.GetSize(); ++i) {
        CKovLine* f = p.unit.m_Lines[i];
        if (!f->MLinebHach) continue;
        if (f->MLinePnt.size() == 4) behind = f;
        else if (!before || width(*f) < width(*before)) before = f;
    }
    ASSERT_TRUE(behind && before);
    ASSERT_LT(p.unit.FindLineIndex(behind->MLineID), p.unit.FindLineIndex(before->MLineID)); // drawn first
    behind->MLineColor = 0x0000FF; // red
    before->MLineColor = 0xFF0000; // blue

    DeviceTransform t = pixelTransform(0.1, 2.0);
    t.originX = 700;
    t.originY = 900;
    QImage image(1400, 1000, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        kov::platform::PainterSurface surface(image);
        CKovUnit::DrawEnvironment env;
        p.unit.DrawAllByLayer(surface, t, p.plot, SelectionRecord(), false, true, env);
    }
    // A box about the lean-to's centroid, wider than the hatch's spacing.
    CDbPoint c{0, 0};
    for (const CDbPoint& q : before->MLinePnt) c = {c.x + q.x / 3, c.y + q.y / 3};
    const DevicePoint at = ToDevicePoint(c, t, 0);
    int red = 0, blue = 0;
    for (int y = at.y - 3; y <= at.y + 3; ++y)
        for (int x = at.x - 10; x <= at.x + 10; ++x) {
            const QRgb px = image.pixel(x, y);
            red += qRed(px) > 200 && qGreen(px) < 100 && qBlue(px) < 100;
            blue += qBlue(px) > 200 && qRed(px) < 100 && qGreen(px) < 100;
        }
    EXPECT_GT(blue, 0);
    EXPECT_EQ(red, 0);
}

} // namespace
