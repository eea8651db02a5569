// Previews fed from the tool machine in the middle of a session: what they show is what the next
// click makes.

#include "ToolHarness.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "tools/ToolPreviewInputs.h"

#include <gtest/gtest.h>

namespace {

using kov::test::ToolHarness;

std::vector<std::string> overlay(ToolHarness& h)
{
    const CKovUnit::DrawEnvironment env;
    const CKovUnit::PreviewInput in =
        kov::tools::PreviewInputOf(h.m, kov::tools::ViewToolSettings{}, {}, env, {});
    kov::platform::RecordingSurface s;
    kov::render::DrawToolOverlay(s, h.transform(), h.unit(), h.m.ToolMode(), in, {},
                                 kov::tools::OverlayOptionsOf(h.m, {}));
    return s.dump();
}

std::string edge(DevicePoint a, DevicePoint b)
{
    return "line (" + std::to_string(a.x) + "," + std::to_string(a.y) + ")-(" + std::to_string(b.x) + "," +
           std::to_string(b.y) + ") pen=solid:1:0x7D7D7D";
}

} // namespace

TEST(ToolPreviewSessions, TheWallPreviewIsTheOutlineTheNextClickMakes)
{
    ToolHarness h;
    ASSERT_TRUE(h.start(1));
    h.click({0, 0});
    h.move({3640, 0});
    const std::vector<std::string> preview = overlay(h);
    ASSERT_EQ(preview.size(), 4u);
    h.click({3640, 0});
    ASSERT_EQ(h.unit().m_Walls.size(), 1u);
    const CKovWall& wall = **h.unit().m_Walls.begin();
    const DeviceTransform t = h.transform();
    auto px = [&](const CDbPoint& p) {
        return DevicePoint{truncToInt(t.scaleX[0] * p.x) + t.originX, truncToInt(t.scaleY[0] * p.y) + t.originY};
    };
    std::vector<std::string> made;
    for (int i = 0; i < 4; ++i)
        made.push_back(edge(px(wall.MWallPntKado[std::size_t(i)]), px(wall.MWallPntKado[std::size_t((i + 1) % 4)])));
    EXPECT_EQ(preview, made);
}

TEST(ToolPreviewSessions, PolygonRoomShowsItsWallsAndNothingBeforeTheFirstClick)
{
    ToolHarness h;
    ASSERT_TRUE(h.start(11));
    h.move({0, 0});
    EXPECT_TRUE(overlay(h).empty());
    h.click({0, 0});
    h.click({3640, 0});
    h.move({3640, 2730});
    // Two wall outlines: the first edge and the edge to the pointer; the room is not closed yet.
    EXPECT_EQ(overlay(h).size(), 8u);
}
