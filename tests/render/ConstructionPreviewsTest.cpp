// Previews of the construction tools.

#include "PreviewTestSupport.h"

using namespace kov::test::previews;

TEST(ConstructionPreviews, LinesTangentsChainsAndRoundedRectangles)
{
    const std::vector<PreviewRow> rows = {
        {"length line of 50 whatever the pointer's distance", 15,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {400, 500}; f.in.measured = 50; },
         {"line (100,100)-(130,140) pen=solid:1:0x000000"}},
        {"length line straight down when the pointer shares the x", 15,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {100, 300}; f.in.measured = 50; },
         {"line (100,100)-(100,150) pen=solid:1:0x000000"}},
        {"length line with the pointer on the first point draws nothing", 15,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {100, 100}; },
         {}},
        {"angle line of 45 degrees ends at the pointer's foot on the line rising to the right", 16,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {200, 100}; f.in.angle = 45; },
         {"line (100,100)-(150,50) pen=solid:1:0x000000"}},
        {"angle line of 0 degrees ends level with the first point", 16,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {200, 170}; f.in.angle = 0; },
         {"line (100,100)-(200,100) pen=solid:1:0x000000"}},
        {"perpendicular from the second point, level with the pointer", 17,
         [](PreviewFixture& f) {
             f.select(0, {{100, 100}, {300, 100}});
             f.in.points = {{150, 100}, {200, 100}}; f.in.pointer = {250, 180};
         },
         {"line (200,100)-(200,180) pen=solid:1:0x000000"}},
        {"perpendicular without a selected figure draws nothing", 17,
         [](PreviewFixture& f) { f.in.points = {{150, 100}, {200, 100}}; f.in.pointer = {250, 180}; },
         {}},
        {"two lines, pointer right of the second point: left distance above, right below", 22,
         [](PreviewFixture& f) {
             f.select(0, {{100, 100}, {500, 100}});
             f.in.points = {{150, 100}, {200, 100}}; f.in.pointer = {300, 130};
             f.in.doubleLeft = 30; f.in.doubleRight = 20;
         },
         {"line (200,70)-(300,70) pen=solid:1:0x000000",
          "line (200,120)-(300,120) pen=solid:1:0x000000"}},
        {"two lines, pointer left of the second point: the sides swap", 22,
         [](PreviewFixture& f) {
             f.select(0, {{100, 100}, {500, 100}});
             f.in.points = {{150, 100}, {200, 100}}; f.in.pointer = {150, 130};
             f.in.doubleLeft = 30; f.in.doubleRight = 20;
         },
         {"line (200,130)-(150,130) pen=solid:1:0x000000",
          "line (200,80)-(150,80) pen=solid:1:0x000000"}},
        {"tangent from a point to the tangent point nearer the pointer", 23,
         [](PreviewFixture& f) {
             f.select(3, {{200, 200}}, {50});
             f.in.points = {{200, 100}}; f.in.pointer = {300, 180};
         },
         {"line (200,100)-(243,175) pen=solid:1:0x000000"}},
        {"tangent from a point inside the circle draws nothing, not a line to the origin", 23,
         [](PreviewFixture& f) {
             f.select(3, {{200, 200}}, {50});
             f.in.points = {{210, 210}}; f.in.pointer = {300, 180};
         },
         {}},
        {"tangent at a point level with the centre runs upright to the pointer's height", 24,
         [](PreviewFixture& f) {
             f.select(3, {{200, 200}}, {50});
             f.in.points = {{250, 200}}; f.in.pointer = {300, 120};
         },
         {"line (250,200)-(250,120) pen=solid:1:0x000000"}},
        {"triangle: one red dashed line to the pointer", 50,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {150, 140}; },
         {"line (100,100)-(150,140) pen=dash:1:0x0000FF"}},
        {"point chain of three points: three segments", 30,
         [](PreviewFixture& f) { f.in.points = {{10, 10}, {50, 10}, {50, 50}}; f.in.pointer = {90, 90}; },
         {"line (10,10)-(50,10) pen=solid:1:0x0000FF",
          "line (50,10)-(50,50) pen=solid:1:0x0000FF",
          "line (50,50)-(90,90) pen=solid:1:0x0000FF"}},
        {"rounded rectangle, one point: the box as four lines", 62,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {300, 200}; },
         {"line (100,100)-(100,200) pen=solid:1:0x0000FF",
          "line (100,200)-(300,200) pen=solid:1:0x0000FF",
          "line (300,200)-(300,100) pen=solid:1:0x0000FF",
          "line (300,100)-(100,100) pen=solid:1:0x0000FF"}},
        {"rounded rectangle with the pointer on a corner (radius 0) draws nothing", 62,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {300, 200}}; f.in.pointer = {300, 100}; },
         {}},
        {"rounded rectangle with the pointer beyond half the shorter side draws nothing", 62,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {300, 200}}; f.in.pointer = {200, 150}; },
         {}},
        {"rounded rectangle: straight edges between tangent points, then the corner arcs", 62,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {300, 200}}; f.in.pointer = {120, 100}; },
         {"line (100,120)-(100,180) pen=solid:1:0x0000FF",
          "line (120,200)-(280,200) pen=solid:1:0x0000FF",
          "line (300,180)-(300,120) pen=solid:1:0x0000FF",
          "line (280,100)-(120,100) pen=solid:1:0x0000FF",
          "arc [100,100,140,140] (120,100) (100,120) pen=solid:1:0x0000FF",
          "arc [100,160,140,200] (100,180) (120,200) pen=solid:1:0x0000FF",
          "arc [260,160,300,200] (280,200) (300,180) pen=solid:1:0x0000FF",
          "arc [260,100,300,140] (300,120) (280,100) pen=solid:1:0x0000FF"}},
        {"picture matching: two points a pixel apart in x give an upright line", 71,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {101, 200}}; f.in.pointer = {300, 300}; },
         {"line (100,100)-(100,200) pen=dot:1:0x0000FF"}},
        {"picture matching, third point: the red line parallel to the first", 71,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {101, 200}, {300, 100}}; f.in.pointer = {350, 250}; },
         {"line (100,100)-(100,200) pen=dot:1:0x0000FF",
          "line (300,100)-(300,250) pen=solid:1:0x0000FF"}},
    };
    checkRows(rows);
}
