// The figure tools' previews: the slot styles they paint in, and what they draw for each
// arrangement of points and pointer.

#include "PreviewTestSupport.h"

using namespace kov::test::previews;

TEST(ToolPreviews, FigureToolsByPointsPointerAndSlotStyle)
{
    const std::vector<PreviewRow> rows = {
        {"line from the last click to the pointer", 3,
         [](PreviewFixture& f) { f.in.points = {{10, 10}}; f.in.last = {10, 10}; f.in.pointer = {90, 60}; },
         {"line (10,10)-(90,60) pen=solid:1:0x000000"}},
        {"line with an arrow at its end", 3,
         [](PreviewFixture& f) {
             f.in.points = {{10, 10}}; f.in.last = {10, 10}; f.in.pointer = {90, 10};
             f.plot.PlotLineTanten[0] = 2;
         },
         {"line (10,10)-(90,10) pen=solid:1:0x000000",
          "line (87,11)-(90,10) pen=solid:1:0x000000",
          "line (87,8)-(90,10) pen=solid:1:0x000000"}},
        {"rectangle in black and white: red outline black, yellow fill white", 4,
         [](PreviewFixture& f) {
             f.in.points = {{60, 50}}; f.in.last = {60, 50}; f.in.pointer = {10, 20};
             f.plot.PlotSirokuro = 1; f.plot.PlotColor[1] = 0x0000FF; f.plot.PlotNakaColor[1] = 0x00FFFF;
             f.plot.PlotNakaNuri[1] = 1;
         },
         {"rectangle [10,20,60,50] pen=solid:1:0xFFFFFF brush=solid:0xFFFFFF",
          "line (10,20)-(10,50) pen=solid:1:0x000000",
          "line (10,50)-(60,50) pen=solid:1:0x000000",
          "line (60,50)-(60,20) pen=solid:1:0x000000",
          "line (60,20)-(10,20) pen=solid:1:0x000000"}},
        {"rectangle in black and white keeps a white outline and a black fill", 4,
         [](PreviewFixture& f) {
             f.in.points = {{10, 20}}; f.in.last = {10, 20}; f.in.pointer = {60, 50};
             f.plot.PlotSirokuro = 1; f.plot.PlotColor[1] = 0xFFFFFF; f.plot.PlotNakaColor[1] = 0x000000;
             f.plot.PlotNakaNuri[1] = 1;
         },
         {"rectangle [10,20,60,50] pen=solid:1:0x000000 brush=solid:0x000000",
          "line (10,20)-(10,50) pen=solid:1:0xFFFFFF",
          "line (10,50)-(60,50) pen=solid:1:0xFFFFFF",
          "line (60,50)-(60,20) pen=solid:1:0xFFFFFF",
          "line (60,20)-(10,20) pen=solid:1:0xFFFFFF"}},
        {"rectangle with the pointer level with the first corner draws nothing", 4,
         [](PreviewFixture& f) { f.in.points = {{10, 20}}; f.in.last = {10, 20}; f.in.pointer = {60, 20}; },
         {}},
        {"rectangle dashed with a wide pen lays its own dashes", 4,
         [](PreviewFixture& f) {
             f.in.points = {{10, 20}}; f.in.last = {10, 20}; f.in.pointer = {40, 30};
             f.plot.PlotLineType[1] = 1; f.plot.PlotLineWide[1] = 2;
         },
         {"line (10,20)-(10,30) pen=solid:2:0x000000",
          "line (10,30)-(25,30) pen=solid:2:0x000000",
          "line (30,30)-(40,30) pen=solid:2:0x000000",
          "line (40,20)-(40,30) pen=solid:2:0x000000",
          "line (10,20)-(25,20) pen=solid:2:0x000000",
          "line (30,20)-(40,20) pen=solid:2:0x000000"}},
        {"circle dashed with a 1-pixel pen: the pen style is the line type", 6,
         [](PreviewFixture& f) {
             f.in.points = {{50, 50}}; f.in.last = {50, 50}; f.in.pointer = {80, 90};
             f.plot.PlotLineType[3] = 1;
         },
         {"arc [0,0,100,100] (50,0) (50,0) pen=dash:1:0x000000"}},
        {"circle with the fixed radius keeps it wherever the pointer is", 6,
         [](PreviewFixture& f) {
             f.in.points = {{100, 100}}; f.in.last = {100, 100}; f.in.pointer = {400, 100};
             f.in.fixedRadiusOn = 1; f.in.fixedRadius = 30;
         },
         {"arc [70,70,130,130] (100,70) (100,70) pen=solid:1:0x000000"}},
        {"filled circle at half opacity is laid translucent, then outlined", 6,
         [](PreviewFixture& f) {
             f.in.points = {{50, 50}}; f.in.last = {50, 50}; f.in.pointer = {50, 70};
             f.plot.PlotNakaNuri[3] = 1; f.plot.PlotNakaColor[3] = 0x00FF00; f.plot.PlotAlpha[3] = 50;
         },
         {"fillLinearGradient ellipse [30,30,70,70] box=[30,30,70,70] 0x00FF00->0x00FF00 angle=0 opacity=50%",
          "arc [30,30,70,70] (50,30) (50,30) pen=solid:1:0x000000"}},
        {"hatched filled circle hatches over its fill colour", 6,
         [](PreviewFixture& f) {
             f.in.points = {{50, 50}}; f.in.last = {50, 50}; f.in.pointer = {50, 70};
             f.plot.PlotNakaNuri[3] = 1; f.plot.PlotNakaColor[3] = 0x00FF00; f.plot.PlotbHach[3] = 1;
             f.plot.PlotHachT[3] = 2;
         },
         {"ellipse [30,30,70,70] pen=solid:1:0x000000 brush=solid:0x00FF00",
          "ellipse [30,30,70,70] pen=solid:1:0x000000 brush=hatch2:0x000000 bk=0x00FF00"}},
        {"arc with one point: only the red cross, 4 pixels each way", 7,
         [](PreviewFixture& f) { f.in.points = {{50, 50}}; f.in.pointer = {80, 50}; },
         {"line (46,46)-(54,54) pen=solid:1:0x0000FF",
          "line (46,54)-(54,46) pen=solid:1:0x0000FF"}},
        {"sector from the second point to the pointer", 7,
         [](PreviewFixture& f) { f.in.points = {{50, 50}, {80, 50}}; f.in.pointer = {50, 10}; },
         {"line (46,46)-(54,54) pen=solid:1:0x0000FF",
          "line (46,54)-(54,46) pen=solid:1:0x0000FF",
          "arc [20,20,80,80] (80,50) (50,10) pen=solid:1:0x000000"}},
        {"thick arc ignores the fixed radius and adds the wall-wide band", 7,
         [](PreviewFixture& f) {
             f.in.points = {{50, 50}, {80, 50}}; f.in.pointer = {50, 10};
             f.in.fixedRadiusOn = 1; f.in.fixedRadius = 10; f.plot.PlotLineTanten[4] = 2;
         },
         {"line (46,46)-(54,54) pen=solid:1:0x0000FF",
          "line (46,54)-(54,46) pen=solid:1:0x0000FF",
          "arc [20,20,80,80] (80,50) (50,10) pen=solid:1:0x000000",
          "arc [20,20,80,80] (80,50) (50,10) pen=solid:5:0x000000"}},
        {"rectangle with a fill pattern paints it and still draws its edges", 4,
         [](PreviewFixture& f) {
             f.in.points = {{10, 20}}; f.in.last = {10, 20}; f.in.pointer = {40, 30};
             f.plot.PlotPattern[1] = 3; f.plot.PlotNakaNuri[1] = 1; f.plot.PlotNakaColor[1] = 0x00FF00;
         },
         {"rectangle [10,20,40,30] pen=solid:1:0x00FF00 brush=pattern8x8",
          "line (10,20)-(10,30) pen=solid:1:0x000000",
          "line (10,30)-(40,30) pen=solid:1:0x000000",
          "line (40,30)-(40,20) pen=solid:1:0x000000",
          "line (40,20)-(10,20) pen=solid:1:0x000000"}},
        {"ellipse with one point draws nothing", 28,
         [](PreviewFixture& f) { f.in.points = {{50, 50}}; f.in.pointer = {80, 70}; },
         {}},
        {"ellipse: half width from the second point, half height from the pointer", 28,
         [](PreviewFixture& f) { f.in.points = {{50, 50}, {80, 0}}; f.in.pointer = {0, 70}; },
         {"arc [20,30,80,70] (20,30) (20,30) pen=solid:1:0x000000"}},
        {"elliptic arc with three points: the whole ellipse and the start direction", 29,
         [](PreviewFixture& f) { f.in.points = {{50, 50}, {80, 0}, {0, 70}}; f.in.pointer = {90, 90}; },
         {"arc [20,30,80,70] (20,30) (20,30) pen=solid:1:0x000000",
          "line (50,50)-(90,90) pen=dot:1:0x000000"}},
        {"elliptic arc with four points runs from the fourth point to the pointer", 29,
         [](PreviewFixture& f) { f.in.points = {{50, 50}, {80, 0}, {0, 70}, {80, 50}}; f.in.pointer = {50, 30}; },
         {"arc [20,30,80,70] (80,50) (50,30) pen=solid:1:0x000000"}},
        {"three-point arc with the pointer below the chord runs from the first to the second", 25,
         [](PreviewFixture& f) { f.in.points = {{20, 20}, {30, 20}}; f.in.pointer = {25, 25}; },
         {"arc [20,15,30,25] (20,20) (30,20) pen=solid:1:0x000000"}},
        {"three-point arc with the pointer above the chord exchanges its ends", 25,
         [](PreviewFixture& f) { f.in.points = {{20, 20}, {30, 20}}; f.in.pointer = {25, 15}; },
         {"arc [20,15,30,25] (30,20) (20,20) pen=solid:1:0x000000"}},
        {"three-point arc through collinear points draws nothing", 25,
         [](PreviewFixture& f) { f.in.points = {{20, 20}, {30, 20}}; f.in.pointer = {40, 20}; },
         {}},
    };
    checkRows(rows);
}
