// A small plan made with the room and figure tools' operations and then changed only by the editing
// operations of the drags, ranges, mirrors, layers and duplicates: a room stretched wider, a group
// grown by its corner, a polygon room reshaped by its vertex, a wall end dragged, a furniture group
// duplicated and turned, a range mirrored and quarter-turned, figures mirrored about a line, a layer
// group shifted. Drawn by the draw passes and compared with a golden picture in tests/data/building.
// KOVIRA_REGENERATE_GOLDEN=1 rewrites the picture instead (look at it before keeping it).

#include "building/RoomSettings.h"

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/PainterSurface.h"
#include "platform/RecordingSurface.h"
#include "render/DrawEnvironment.h"
#include "support/EditFixtures.h"
#include "support/GoldenImage.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }

struct Plan {
    CKovUnit unit;
    CPlotInfo plot;
    CGrid grid;
    RoomSettings settings;
    CFontMenu font;
    SelectionRecord selection;
    DeviceTransform transform;
    kov::platform::RecordingSurface surface;
    CKovUnit::RangeTurnOptions turn;

    Plan()
    {
        transform = kov::test::pixelTransform(0.045, 3.0);
        transform.originX = 20;
        transform.originY = 40;
        settings.room_heyack_jyou = 1;
        font.lfFaceName = "ＭＳ ゴシック";
        font.m_size = 2.5;
    }
    const CKovUnit& read() const { return unit; }

    // One select-mode drag: the snapshot at the click, the grip grabbed, the pointer moved.
    void drag(SelectionRecord sel, int gripKind, int gripIndex, double dx, double dy)
    {
        CKovUnit snapshot;
        snapshot.CopyFrom(unit);
        sel.m_nGripKind = gripKind;
        sel.m_nGripIndex = gripIndex;
        const SurfaceTextBoxMeasurer measurer(surface);
        CKovUnit::DragOptions options;
        options.roomLock = 3;
        unit.DragSelection(measurer, transform, plot, grid, sel, dx, dy, snapshot, 0, options);
        snapshot.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    }
    void rejoin()
    {
        std::vector<int> ids;
        for (const auto& w : read().m_Walls)
            ids.push_back(w->MWallID);
        for (int id : ids)
            unit.ResetWallOutline(id);
        unit.JoinWalls(0);
    }
};

void buildAndEdit(Plan& p)
{
    // Made by the creation operations.
    p.plot.m_RoomInfo.Room_Name = "洋室";
    p.plot.m_RoomInfo.Room_bRoomColor = 1;
    p.plot.m_RoomInfo.Room_RoomColor = rgb(255, 236, 200);
    ASSERT_EQ(p.unit.CreateRectRoom(p.transform, 0, 0, 3640, 3640, p.plot, p.font, p.selection, p.grid, p.settings), 1);
    p.plot.m_RoomInfo.Room_Name = "台所";
    p.plot.m_RoomInfo.Room_RoomColor = rgb(200, 230, 255);
    const CDbPointArray kitchen = {{3640, 0}, {3640, 3640}, {6370, 3640}, {6370, 0}};
    ASSERT_EQ(p.unit.CreatePolygonRoom(p.transform, kitchen, kitchen[0], p.plot, p.font, p.selection, p.grid, p.settings), 1);
    const int kitchenRoom = p.selection.m_Groups.at(0);
    const int freeWall = p.unit.AddWall({0, 4300}, {1820, 4300}, 50, p.plot);
    p.unit.ResetWallOutline(freeWall);
    CPlotInfo style(p.plot);
    style.PlotColor[0] = style.PlotColor[1] = style.PlotColor[3] = rgb(0, 0, 160);
    SelectionRecord table;
    const int top = p.unit.AddRectFromCorners(style, {600, 1200}, {1600, 1800});
    table.AddLineId(top);
    for (const CDbPoint c : {CDbPoint(850, 1000), CDbPoint(1350, 1000), CDbPoint(850, 2000), CDbPoint(1350, 2000)})
        table.AddLineId(p.unit.AddCircle(style, c, {c.x + 150, c.y}, 0, 0));
    p.unit.GroupSelection(table, style);
    const int tableGroup = table.m_Groups.at(0);
    const int axis = p.unit.AddStraightLine(style, {7000, -500}, {7000, 4500});
    const int bench = p.unit.AddRectFromCorners(style, {4000, 2800}, {5200, 3200});
    p.unit.AddText(p.font, {4100, 600}, "流し", p.plot, p.selection, 0, 0);
    p.rejoin();

    // Changed only by the editing operations.
    const SurfaceTextBoxMeasurer measurer(p.surface);
    // The whole plan's right side stretched 910 wider.
    p.unit.StretchRange(p.plot, {5900, -500}, {6500, 4200}, 910, 0);
    // The kitchen reshaped by its lower right vertex.
    SelectionRecord kitchenSel;
    kitchenSel.AddGroupId(kitchenRoom);
    const CKovLine& floor = *p.read().FindLine(p.read().FindGroup(kitchenRoom)->MGrpLineID.front());
    int corner = -1;
    for (std::size_t k = 0; k < floor.MLinePnt.size(); ++k)
        if (floor.MLinePnt[k] == CDbPoint{7280, 3640})
            corner = static_cast<int>(k);
    ASSERT_GE(corner, 0);
    p.drag(kitchenSel, SelectionRecord::GRIP_ROOM_VERTEX, corner, 0, 910);
    // The free wall's end dragged further.
    SelectionRecord wallSel;
    wallSel.AddWallId(freeWall);
    p.drag(wallSel, SelectionRecord::GRIP_WALL_END, 2, 910, 0);
    // The bench's corner dragged out.
    SelectionRecord benchSel;
    benchSel.AddLineId(bench);
    p.drag(benchSel, SelectionRecord::GRIP_FIGURE_VERTEX, 2, 300, 300);
    // The table grows by its lower right corner.
    SelectionRecord tableSel;
    tableSel.AddGroupId(tableGroup);
    p.drag(tableSel, SelectionRecord::GRIP_GROUP_CORNER, 3, 300, 200);
    p.rejoin();
    // The table duplicated below the plan, the copy turned by 30 degrees.
    SelectionRecord copySel;
    copySel.AddGroupId(tableGroup);
    p.unit.DuplicateSelection(copySel, -2000, -4000, p.plot);
    SelectionRecord scratch;
    p.unit.RotateRange(measurer, scratch, p.plot, {{2000, 4600}}, {4200, 6600}, p.transform, 30, p.turn);
    // The original table mirrored left to right within the room, then the bench quarter-turned.
    p.unit.MirrorRangeHorizontal(measurer, scratch, p.plot, {{300, 700}}, {2300, 2300}, p.transform, p.turn);
    p.unit.RotateRangeLeft90(measurer, scratch, p.plot, {{3900, 2500}}, {5800, 3700}, p.transform, p.turn);
    // The bench and the sink label mirrored about the plumb line.
    SelectionRecord mirrorSel;
    mirrorSel.AddLineId(bench);
    ASSERT_EQ(p.unit.MirrorSelection(mirrorSel, p.plot, {7000, 2000}, p.transform), 1);
    // The copied table put on layer group 1, whose origin then moves 1820 to the left.
    p.unit.ChangeSelectionLayer(copySel, 1, 0, 0);
    CKovUnit snapshot;
    snapshot.CopyFrom(p.unit);
    p.unit.MoveLayerGroupCentre(1820, 0, snapshot, 1);
    snapshot.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    (void)axis;
}

TEST(EditedPlanPicture, APlanChangedByTheEditingOperations)
{
    Plan p;
    buildAndEdit(p);
    if (HasFatalFailure())
        return;
    QImage image(640, 420, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        kov::platform::PainterSurface surface(image);
        CKovUnit::DrawEnvironment env;
        const SelectionRecord none;
        p.unit.DrawAllByLayer(surface, p.transform, p.plot, none, false, true, env);
    }
    kov::test::expectMatchesGolden(image, "building/plan-edited-by-operations.png");
}

} // namespace
