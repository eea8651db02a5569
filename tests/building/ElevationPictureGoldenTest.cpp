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

} // namespace
