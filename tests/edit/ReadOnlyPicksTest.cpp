// Picking and range selection only read the drawing: after an undo snapshot they must not give the
// live drawing its own copy of any object (each click would otherwise cost a whole drawing of
// memory per undo level). Clearing a dead group number is a real change and unshares that object.

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/RecordingSurface.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

using namespace kov::test;

namespace {

TEST(ReadOnlyPicks, PicksAndRangeSelectionsLeaveASnapshotShared)
{
    CKovUnit unit;
    CPlotInfo plot;
    addWall(unit, 2, {0, 0}, {400, 0}, 10, 2);
    addWall(unit, 3, {400, 0}, {400, 300}, 10);
    addFigure(unit, 2, CKovLine::LINE, {{0, 100}, {300, 100}}, {}, 2);
    addFigure(unit, 3, CKovLine::RECTANGLE, {{50, 150}, {50, 250}, {150, 250}, {150, 150}});
    addFigure(unit, 4, CKovLine::CIRCLE, {{250, 200}, {300, 200}}, {50, 1});
    addFigure(unit, 5, CKovLine::DIMENSION, {{0, 350}, {400, 350}, {200, 380}});
    addText(unit, 2, {200, 50}, "和室", 2);
    addGroup(unit, 2, {2}, {2}, {2});
    CKovUnit snapshot;
    snapshot.CopyFrom(unit);

    kov::platform::RecordingSurface surface;
    const SurfaceTextBoxMeasurer measurer(surface);
    const DeviceTransform t = pixelTransform();
    SelectionRecord sel;
    for (CDbPoint p : {CDbPoint{200, 0}, {400, 150}, {150, 100}, {50, 200}, {300, 200}, {200, 350}, {200, 50},
                       {900, 900}}) {
        for (int flags : {1, 9, 13})
            for (int cycle : {0, 1}) unit.PickAtPoint(measurer, sel, plot, p.x, p.y, t, flags, cycle);
    }
    for (RangeLayers filter : {RangeLayers::Every, RangeLayers::CurrentGroup, RangeLayers::CurrentLayer}) unit.SelectInRect(sel, plot, -50, -50, 500, 500, t, filter);
    unit.SelectLayer(sel, 0, 0);
    EXPECT_TRUE(snapshot.SharesAllWith(unit));
    snapshot.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

} // namespace
