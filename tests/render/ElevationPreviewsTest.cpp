// The roof tool's preview: the rectangle of its corners, then the line its third and fourth clicks
// would give, all in device pixels (1 mm to a pixel here).

#include "PreviewTestSupport.h"

using namespace kov::test::previews;

TEST(ElevationPreviews, RoofRectangleAndItsRidgeOrHighEdge)
{
    const std::string box = "polyline (100,100) (100,160) (200,160) (200,100) (100,100) pen=solid:1:0x0000FF";
    const std::vector<PreviewRow> rows = {
        {"one corner, pointer level with it: nothing", 52,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {200, 100}; }, {}},
        {"one corner follows the pointer", 52,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {200, 160}; }, {box}},
        {"two corners, pointer in the middle: ridge along y", 52,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {200, 160}}; f.in.pointer = {150, 130}; },
         {box, "line (150,100)-(150,160) pen=solid:1:0xFF007D"}},
        {"two corners, pointer left of the rectangle: ridge along x", 52,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {200, 160}}; f.in.pointer = {90, 130}; },
         {box, "line (100,130)-(200,130) pen=solid:1:0xFF007D"}},
        {"ridge along y, pointer right of it: the high edge on the right", 52,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {200, 160}, {150, 130}}; f.in.pointer = {230, 130}; },
         {box, "line (200,100)-(200,160) pen=solid:1:0xFF007D"}},
        {"ridge along x, pointer above: the high edge at the top", 52,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {200, 160}, {90, 130}}; f.in.pointer = {150, 80}; },
         {box, "line (100,100)-(200,100) pen=solid:1:0xFF007D"}},
    };
    checkRows(rows);
}
