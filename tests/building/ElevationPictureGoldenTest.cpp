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

// The sample's walls: a main block from x -4550 to 4550 and y -3200 to 440 (cores), a west wing
// to y 2260 and an east wing to y 1350, all on layer group 0.
void addToSample(ElevationPlan& p)
{
    // South: a sweep-out window in the west wing, a window and the front door in the east wing.
    p.fitting(0, 1, 3, {-3640, 2260}, {-1820, 2260}, {-2730, 3000});
    p.fitting(0, 3, 1, {1820, 1350}, {3640, 1350}, {2730, 2000}, 1);
    p.fitting(0, 4, 1, {455, 1350}, {1365, 1350}, {910, 2000});
    // North, east and west windows.
    p.fitting(0, 3, 1, {-910, -3200}, {910, -3200}, {0, -4000});
    p.fitting(0, 3, 1, {4550, -2275}, {4550, -455}, {5300, -1365});
    p.fitting(0, 1, 1, {-4550, -2730}, {-4550, -910}, {-5300, -1820});
    p.roof(0, {-4625, -3275}, {4625, 515}, {-4700, -1380}, {0, -1380}, 0);
    p.roof(0, {-4625, 515}, {75, 2335}, {-2275, 1425}, {-2275, 1425}, 1);
    p.roof(0, {75, 515}, {4625, 1425}, {-100, 970}, {2350, 400}, 0);
    p.balcony(0, {{455, 2730}, {4550, 2730}});
}

TEST(ElevationPicture, SampleHouseFourElevations)
{
    ElevationPlan p;
    const std::filesystem::path sample = std::filesystem::path(KOVIRA_LIBRARY_DATA) / "sample" / "小さな家.kvr";
    std::string error;
    ASSERT_EQ(kov::building::ReadPartFile(sample, p.unit, &error), kov::building::PartRead::Read) << error;
    ASSERT_EQ(p.unit.m_Walls.GetSize(), 22);
    p.ritu.kai = 1;
    addToSample(p);
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
