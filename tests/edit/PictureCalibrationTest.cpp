#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <string>

using namespace kov::test;

namespace {

// A picture centred on the drawing point (1000, 1000) at one pixel per millimetre on the drawing
// and on the paper: paper and drawing millimetres coincide.
struct Calibration {
    CKovUnit unit;
    CPlotInfo plot;
    DeviceTransform transform = pixelTransform();
    SelectionRecord sel;
    std::string message;
    CDbPoint centre{-1, -1};

    explicit Calibration(double width = 200, double height = 100)
    {
        auto picture = std::make_unique<CKovImage>();
        picture->ImageID = 1;
        picture->OffsetX = 1000;
        picture->OffsetY = 1000;
        picture->ImageWidth = width;
        picture->ImageHeight = height;
        unit.m_Images.Add(std::move(picture));
        sel.AddImageId(1);
    }
    int run(CDbPoint i1, CDbPoint i2, CDbPoint d1, CDbPoint d2)
    {
        return unit.CalibrateImage(sel, transform, plot, {i1, i2, d1}, d2, centre, &message);
    }
    const CKovImage& picture() const { return *std::as_const(unit).FindImage(1); }
};

TEST(PictureCalibration, DoublingPutsTheFirstPointOnTheFirstDrawingPoint)
{
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed);
        Calibration c;
        // Picture points 100 mm apart at one height, drawing points 200 mm apart at one height.
        const CDbPoint d1{3000, 500}, d2{3200, 500};
        const int result = reversed ? c.run({950, 1000}, {1050, 1000}, d2, d1) : c.run({950, 1000}, {1050, 1000}, d1, d2);
        ASSERT_EQ(result, 1);
        EXPECT_EQ(c.picture().ImageWidth, 400);
        EXPECT_EQ(c.picture().ImageHeight, 200);
        // (950, 1000) lies 50 left of the centre: 100 left after doubling, so the centre goes to d1 + 100.
        EXPECT_NEAR(c.centre.x, 3100, 1e-9);
        EXPECT_NEAR(c.centre.y, 500, 1e-9);
    }
}

TEST(PictureCalibration, SizesAreCutToWholeMillimetres)
{
    Calibration c(123, 60);
    ASSERT_EQ(c.run({900, 1000}, {1100, 1000}, {0, 0}, {300, 0}), 1); // × 1.5
    EXPECT_EQ(c.picture().ImageWidth, 184);
    EXPECT_EQ(c.picture().ImageHeight, 90);
}

TEST(PictureCalibration, OnlyTheAxisThePicturePointsShareCounts)
{
    Calibration c;
    // Picture points differ only in y; the drawing points lie 1.5 mm apart in x: that is no offset.
    ASSERT_EQ(c.run({1000, 980}, {1000, 1030}, {0, 0}, {1.5, 100}), 1);
    EXPECT_EQ(c.picture().ImageHeight, 200);
    EXPECT_EQ(c.picture().ImageWidth, 400);
}

TEST(PictureCalibration, PointsTooCloseChangeNothing)
{
    Calibration c;
    EXPECT_EQ(c.run({1000, 1000}, {1000.5, 1000.5}, {0, 0}, {500, 0}), 0);
    EXPECT_EQ(c.message, "指定した点と点の距離が少なすぎます");
    EXPECT_EQ(c.picture().ImageWidth, 200);
    EXPECT_EQ(c.centre, (CDbPoint{-1, -1}));
    // A picture that is gone: nothing, no message.
    c.sel.m_Images = {9};
    c.message.clear();
    EXPECT_EQ(c.run({900, 1000}, {1100, 1000}, {0, 0}, {300, 0}), 0);
    EXPECT_TRUE(c.message.empty());
}

} // namespace
