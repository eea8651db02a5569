// Previews of walls, rooms, wall cuts, bent walls, fittings and stairs.

#include "PreviewTestSupport.h"

using namespace kov::test::previews;

TEST(BuildingPreviews, WallsRoomsFittingsAndStairs)
{
    const std::vector<PreviewRow> rows = {
        {"an axis-parallel wall reaches the half thickness beyond both ends", 1,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.last = {100, 100}; f.in.pointer = {300, 100}; },
         {"line (50,50)-(50,150) pen=solid:1:0x7D7D7D",
          "line (50,150)-(350,150) pen=solid:1:0x7D7D7D",
          "line (350,150)-(350,50) pen=solid:1:0x7D7D7D",
          "line (350,50)-(50,50) pen=solid:1:0x7D7D7D"}},
        {"an oblique wall is not extended", 1,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.last = {100, 100}; f.in.pointer = {160, 180}; },
         {"line (120,210)-(60,130) pen=solid:1:0x7D7D7D",
          "line (60,130)-(140,70) pen=solid:1:0x7D7D7D",
          "line (140,70)-(200,150) pen=solid:1:0x7D7D7D",
          "line (200,150)-(120,210) pen=solid:1:0x7D7D7D"}},
        {"a wall whose ends are equal has no outline", 1,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.last = {100, 100}; f.in.pointer = {100, 100}; },
         {}},
        {"the wall-cut circle is 8 pixels across, then the line to the pointer", 57,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.last = {100, 100}; f.in.pointer = {150, 120}; },
         {"arc [96,96,104,104] (96,96) (96,96) pen=solid:3:0x2582F3",
          "line (100,100)-(150,120) pen=solid:3:0x2582F3"}},
        {"bending a wall, first point: the grey point mark", 66,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {150, 120}; },
         {"line (92,92)-(108,108) pen=solid:1:0x7F7F7F",
          "line (108,92)-(92,108) pen=solid:1:0x7F7F7F"}},
        {"bending a wall through three points on a line draws nothing", 66,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {200, 100}}; f.in.pointer = {150, 100}; },
         {}},
        {"fitting of fixed width 810: a band 810 long starting 50 from the first click", 55,
         [](PreviewFixture& f) {
             f.in.points = {{100, 100}}; f.in.pointer = {2000, 100};
             f.in.fixedWidthOn = 1; f.in.fixedWidth = 810;
         },
         {"polygon alternate (150,50) (150,150) (960,150) (960,50) (150,50) pen=solid:1:0x0000FF brush=solid:0xFFFFFF"}},
        {"fitting with tateg_seti on lies wholly on the right of its direction", 55,
         [](PreviewFixture& f) {
             f.in.points = {{100, 100}}; f.in.pointer = {500, 100}; f.in.fittingOnRight = 1;
         },
         {"polygon alternate (100,100) (100,200) (500,200) (500,100) (100,100) pen=solid:1:0x0000FF brush=solid:0xFFFFFF"}},
        {"fitting with the pointer on its first point has no direction and draws nothing", 55,
         [](PreviewFixture& f) {
             f.in.points = {{100, 100}}; f.in.pointer = {100, 100}; f.in.fixedWidthOn = 1;
         },
         {}},
        {"fitting, second point: the opening line at the corner nearest the pointer", 55,
         [](PreviewFixture& f) {
             f.in.points = {{100, 100}, {500, 100}}; f.in.pointer = {160, 160}; f.in.fittingKind = 2;
         },
         {"polygon alternate (150,50) (150,150) (450,150) (450,50) (150,50) pen=solid:1:0x0000FF brush=solid:0xFFFFFF",
          "line (150,150)-(150,450) pen=solid:1:0x0000FF"}},
        {"fitting of kind 3 never opens at K1: the line moves to K2", 55,
         [](PreviewFixture& f) {
             f.in.points = {{100, 100}, {500, 100}}; f.in.pointer = {160, 160}; f.in.fittingKind = 3;
         },
         {"polygon alternate (150,50) (150,150) (450,150) (450,50) (150,50) pen=solid:1:0x0000FF brush=solid:0xFFFFFF",
          "line (450,150)-(450,450) pen=solid:1:0x0000FF"}},
        {"stairs mode 4 is a red point chain", 56,
         [](PreviewFixture& f) { f.in.points = {{10, 10}, {50, 10}}; f.in.pointer = {50, 60}; f.in.stairs.kaidan_mode = 4; },
         {"polyline (10,10) (50,10) (50,60) pen=solid:1:0x0000FF"}},
        {"stairs, one point: the red first line", 56,
         [](PreviewFixture& f) { f.in.points = {{10, 10}}; f.in.pointer = {50, 60}; f.in.stairs.kaidan_mode = 1; },
         {"line (10,10)-(50,60) pen=solid:1:0x0000FF"}},
    };
    checkRows(rows);
}

TEST(BuildingPreviews, RoomsAreWallOutlinesOfEveryEdge)
{
    PreviewFixture f;
    f.in.points = {{100, 100}, {300, 100}, {300, 200}};
    f.in.pointer = {100, 200};
    // Three points: outlines of 1-2, 2-3 and 3-pointer, never back to the first point.
    const std::vector<std::string> polygon = drawPreview(f, 11);
    EXPECT_EQ(polygon.size(), 12u);
    f.in.last = {100, 100};
    f.in.pointer = {300, 200};
    const std::vector<std::string> rect = drawPreview(f, 10);
    ASSERT_EQ(rect.size(), 16u);
    for (const std::string& line : rect) EXPECT_NE(line.find("pen=solid:1:0x7D7D7D"), std::string::npos) << line;
    // The left wall first, the closing top wall last, each reaching 50 beyond its corners.
    EXPECT_EQ(rect.front(), "line (50,50)-(50,250) pen=solid:1:0x7D7D7D");
    EXPECT_EQ(rect.back(), "line (350,50)-(50,50) pen=solid:1:0x7D7D7D");
}

TEST(BuildingPreviews, BentWallShowsBothFacesOfTheCurve)
{
    PreviewFixture f;
    f.in.points = {{100, 200}, {300, 200}};
    f.in.pointer = {200, 100};
    const std::vector<std::string> calls = drawPreview(f, 66);
    // Two faces of 24 pieces each.
    EXPECT_EQ(calls.size(), 48u);
}

TEST(BuildingPreviews, StairsFromTheSecondPointAreWhatTheToolMakes)
{
    PreviewFixture f;
    f.in.points = {{100, 100}, {100, 400}};
    f.in.pointer = {400, 250};
    f.in.stairs.kaidan_kabesin = 2;
    f.in.stairs.kaidan_nakacolor = 0x00FFFF;
    std::vector<std::string> want = {
        "polygon alternate (100,400) (100,100) (400,100) (400,400) pen=solid:1:0x000000 brush=solid:0x00FFFF"};
    for (int j = 0; j <= 5; ++j) {
        const std::string x = std::to_string(100 + 60 * j);
        want.push_back("line (" + x + ",100)-(" + x + ",400) pen=solid:1:0x000000");
    }
    EXPECT_EQ(drawPreview(f, 56), want);
    // Without the fill: only the treads.
    f.in.stairs.kaidan_nakanuri = 0;
    EXPECT_EQ(drawPreview(f, 56).size(), 6u);
    // A turning section: its six corners and its winder; the end of a flight: its six edges.
    f.in.stairs.kaidan_nakanuri = 1;
    f.in.stairs.kaidan_mode = 2;
    const std::vector<std::string> turning = drawPreview(f, 56);
    ASSERT_EQ(turning.size(), 2u);
    EXPECT_EQ(turning[0].rfind("polygon alternate (100,400) (100,100) ", 0), 0u) << turning[0];
    f.in.stairs.kaidan_mode = 3;
    EXPECT_EQ(drawPreview(f, 56).size(), 7u);
    // On the width line no flight can be made: nothing is drawn.
    f.in.stairs.kaidan_mode = 1;
    f.in.pointer = {100, 250};
    EXPECT_TRUE(drawPreview(f, 56).empty());
}
