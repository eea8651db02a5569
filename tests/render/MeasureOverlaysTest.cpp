// The measuring tools' readouts and the multi-point rubber band.

#include "DrawerTestSupport.h"

#include "render/MeasureOverlays.h"

#include <gtest/gtest.h>

#include <algorithm>

using kov::platform::RecordingSurface;
using namespace kov::render;

namespace {

const DeviceTransform kT = kov::test::uniformTransform(0.1, 4.0, 1000, 1000);

MeasureOverlayFrame frameAt(DevicePoint p)
{
    MeasureOverlayFrame f;
    f.pointerPx = p;
    return f;
}

std::string shownText(const RecordingSurface& s)
{
    for (const auto& c : s.calls())
        if (c.op == "textOut") return c.text;
    return {};
}

} // namespace

TEST(MeasureOverlays, ReadoutsOfTheMeasuringTools)
{
    const CPlotInfo plot;
    struct Row {
        const char* name;
        int tool;  // 47 angle, 49 length, 48 area
        CDbPointArray points;
        CDbPoint pointer;
        bool clockwise;
        std::string text;
    };
    const Row rows[] = {
        {"angle straight above the first point", 47, {{0, 0}}, {0, -500}, false, "90.0度"},
        {"the same angle counted clockwise", 47, {{0, 0}}, {0, -500}, true, "270.0度"},
        {"the angle shows only while one point is collected", 47, {{0, 0}, {10, 0}}, {0, -500}, false, ""},
        {"running length of two clicks and the pointer", 49, {{0, 0}, {3000, 0}}, {3000, 4000}, false,
         "累計 7000.00mm"},
        {"running area of a 1000 mm square", 48, {{0, 0}, {1000, 0}, {1000, 1000}}, {0, 1000}, false,
         "累計 1.00㎡"},
        {"running area with one point: only the line", 48, {{0, 0}}, {0, 1000}, false, ""},
    };
    for (const Row& row : rows) {
        RecordingSurface s;
        const DevicePoint px = ToDevicePoint(row.pointer, kT, 0);
        if (row.tool == 47) DrawAngleReadout(s, kT, plot, row.points, row.pointer, frameAt(px), row.clockwise);
        if (row.tool == 49) DrawLengthTotal(s, kT, plot, row.points, row.pointer, frameAt(px));
        if (row.tool == 48) DrawAreaTotal(s, kT, plot, row.points, row.pointer, frameAt(px));
        EXPECT_EQ(shownText(s), row.text) << row.name;
    }
}

TEST(MeasureOverlays, AngleReadoutDrawsItsLineArcAndBoxBesideThePointer)
{
    const CPlotInfo plot;
    RecordingSurface s;
    const double angle = DrawAngleReadout(s, kT, plot, {{0, 0}}, {0, -500}, frameAt({1000, 950}), false);
    EXPECT_DOUBLE_EQ(angle, 90.0);
    // Box: 48 × 16 (four half-width characters and one full one at 16 pixels), N = 13 right of and
    // a box height plus N above the pointer.
    EXPECT_EQ(s.dump(), (std::vector<std::string>{
                            "line (1000,1000)-(1000,950) pen=dash:1:0x0000FF",
                            "arc [987,987,1013,1013] (1013,1000) (1000,950) pen=dash:1:0x0000FF",
                            "fillRect [1013,905,1061,921] brush=solid:0xEFE3FD",
                            "textOut (1061,905) \"90.0度\" font=\"\":16 color=0x000000 align=right,top",
                        }));
}

TEST(MeasureOverlays, RoomAreaLabelInMatsOrSquareMetres)
{
    struct Row {
        const char* name;
        CDbPointArray points;
        bool squareMetres;
        bool gridSnap;
        std::string text;
    };
    const CDbPoint pointer{0, 1000};
    const Row rows[] = {
        {"one point: the distance only", {{0, 0}}, false, true, "1000.00"},
        {"mats with one decimal while the grid snap is on", {{0, 0}, {1000, 0}, {1000, 1000}}, false, true,
         "1000.00 :0.6帖"},
        {"mats with two decimals while it is off", {{0, 0}, {1000, 0}, {1000, 1000}}, false, false,
         "1000.00 :0.60帖"},
        {"square metres when asked", {{0, 0}, {1000, 0}, {1000, 1000}}, true, true, "1000.00 :1.00㎡"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(RoomAreaLabelText(row.points, pointer, row.squareMetres, 910, row.gridSnap), row.text) << row.name;
}

TEST(MeasureOverlays, ManyCornersAreAllDrawn)
{
    // No fixed corner buffer: 300 clicks and the pointer close one polygon of 302 corners.
    const CPlotInfo plot;
    CDbPointArray points;
    for (int i = 0; i < 300; ++i) points.push_back({double(i * 10), double((i % 2) * 100)});
    RecordingSurface s;
    DrawAreaTotal(s, kT, plot, points, {0, 500}, frameAt({0, 0}));
    ASSERT_FALSE(s.calls().empty());
    EXPECT_EQ(s.calls().front().op, "polygon");
    EXPECT_EQ(s.calls().front().points.size(), 302u);
    RecordingSurface r;
    DrawRoomAreaLabels(r, kT, plot, points, {0, 500}, frameAt({0, 0}), false, 910, true);
    EXPECT_EQ(r.calls().front().points.size(), 302u);
}

TEST(MeasureOverlays, RubberBandInArcMode)
{
    const CPlotInfo plot;
    struct Row {
        const char* name;
        int tool;
        CDbPointArray points;
        CDbPoint pointer;
        bool arc;
        int pieces;
        std::size_t calls;
    };
    const Row rows[] = {
        {"point chain: two clicks and the pointer", 26, {{0, 0}, {1000, 0}}, {1000, 1000}, false, 24, 2},
        {"arc mode replaces the last segment by the arc in 24 pieces", 26, {{0, 0}, {1000, 0}}, {500, 500}, true, 24,
         24},
        {"arc mode with the last two points and the pointer on one line shows nothing", 26, {{0, 0}, {1000, 0}},
         {2000, 0}, true, 24, 0},
        {"arc mode with one point shows nothing", 26, {{0, 0}}, {500, 500}, true, 24, 0},
        {"arc mode with no pieces shows nothing instead of dividing by zero", 26, {{0, 0}, {1000, 0}}, {500, 500},
         true, 0, 0},
        {"double line: both sides of each segment", 27, {{0, 0}, {1000, 0}}, {1000, 1000}, false, 24, 4},
        {"a tool without a rubber band", 3, {{0, 0}, {1000, 0}}, {1000, 1000}, false, 24, 0},
    };
    for (const Row& row : rows) {
        RecordingSurface s;
        DrawPointsPreview(s, kT, plot, row.tool, row.points, row.pointer, row.arc, row.pieces, 50, 50);
        EXPECT_EQ(s.calls().size(), row.calls) << row.name;
    }
}
