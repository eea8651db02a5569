// Previews of the editing tools.

#include "PreviewTestSupport.h"

using namespace kov::test::previews;

namespace {

void arcAndLine(PreviewFixture& f, CDbPoint lineA, CDbPoint lineB)
{
    // Arc about (200, 200) of radius 100 from (300, 200) to (200, 100).
    f.select(4, {{200, 200}, {300, 200}, {200, 100}}, {100});
    f.select(0, {lineA, lineB});
}

} // namespace

TEST(EditPreviews, RangesDivisionsCornersAndCuts)
{
    const std::vector<PreviewRow> rows = {
        {"range delete with corners sharing a device x draws no rectangle", 46,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {100, 200}; },
         {}},
        {"range delete: the focus rectangle from the first point to the pointer", 46,
         [](PreviewFixture& f) { f.in.points = {{200, 150}}; f.in.pointer = {100, 100}; },
         {"focusRect [100,100,200,150]"}},
        {"range move dragged from its top-left corner: the moved range follows the pointer", 38,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {200, 150}, {100, 100}}; f.in.pointer = {130, 120}; },
         {"focusRect [100,100,200,150]",
          "focusRect [130,120,230,170]"}},
        {"cut a line: a ring at every point", 18,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {200, 100}}; },
         {"arc [96,96,104,104] (96,96) (96,96) pen=solid:1:0x2582F3",
          "arc [196,96,204,104] (196,96) (196,96) pen=solid:1:0x2582F3"}},
        {"partial delete: ring at the first point and the line to the pointer's foot", 19,
         [](PreviewFixture& f) {
             f.select(0, {{100, 100}, {300, 100}});
             f.in.points = {{150, 100}}; f.in.pointer = {200, 160};
         },
         {"arc [146,96,154,104] (146,96) (146,96) pen=solid:1:0x2582F3",
          "line (150,100)-(200,100) pen=solid:1:0x2582F3"}},
        {"partial delete with two figures selected draws nothing", 19,
         [](PreviewFixture& f) {
             f.select(0, {{100, 100}, {300, 100}});
             f.select(0, {{100, 200}, {300, 200}});
             f.in.points = {{150, 100}}; f.in.pointer = {200, 160};
         },
         {}},
        {"parallel line on the pointer's side of a horizontal line", 21,
         [](PreviewFixture& f) {
             f.select(0, {{100, 100}, {300, 100}});
             f.in.points = {{150, 100}}; f.in.pointer = {200, 160}; f.in.parallelDistance = 50;
         },
         {"line (100,150)-(300,150) pen=solid:1:0x000000"}},
        {"equal division in 2: one stroke at the middle", 33,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {300, 100}, {150, 150}}; f.in.pointer = {250, 250}; },
         {"line (200,150)-(200,250) pen=solid:1:0x000000"}},
        {"equal division of an oblique line: the stroke on the perpendicular through the whole-millimetre middle", 33,
         [](PreviewFixture& f) { f.in.points = {{100, 100}, {301, 201}, {100, 300}}; f.in.pointer = {300, 100}; },
         {"line (119,309)-(240,69) pen=solid:1:0x000000"}},
        {"drawing centre once the tool has its point: nothing", 37,
         [](PreviewFixture& f) {
             f.in.points = {{1, 1}}; f.in.pointer = {500, 500}; f.in.drawingArea = {0, 0, 400, 301};
         },
         {}},
        {"range mirror: the focus rectangle from the first point to the pointer", 41,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {160, 130}; },
         {"focusRect [100,100,160,130]"}},
        {"envelope: the range outline in red", 34,
         [](PreviewFixture& f) { f.in.points = {{100, 100}}; f.in.pointer = {200, 150}; },
         {"polyline (100,100) (100,150) (200,150) (200,100) (100,100) pen=solid:1:0x0000FF"}},
        {"drawing centre: the drawing area moved to be centred on the pointer", 37,
         [](PreviewFixture& f) { f.in.pointer = {500, 500}; f.in.drawingArea = {0, 0, 400, 301}; },
         {"polyline (300,350) (300,650) (700,650) (700,350) (300,350) pen=solid:1:0x0000FF"}},
        {"trim or extend of a line and an arc it crosses: a red square at each crossing", 32,
         [](PreviewFixture& f) {
             arcAndLine(f, {0, 200}, {400, 200});
             f.in.points = {{1, 1}, {2, 2}};
         },
         {"fillRect [296,196,304,204] brush=solid:0x0000FF",
          "fillRect [96,196,104,204] brush=solid:0x0000FF"}},
        {"trim or extend of a line whose circle the line misses draws nothing", 32,
         [](PreviewFixture& f) {
             arcAndLine(f, {0, 400}, {400, 400});
             f.in.points = {{1, 1}, {2, 2}};
         },
         {}},
        {"corner with the kept arc end 1: a red square at the arc's start", 35,
         [](PreviewFixture& f) {
             arcAndLine(f, {0, 200}, {400, 200});
             f.in.points = {{1, 1}}; f.in.measured = 1;
         },
         {"fillRect [296,196,304,204] brush=solid:0x0000FF"}},
        {"corner with a kept-end value other than 1 or 2 draws nothing", 35,
         [](PreviewFixture& f) {
             arcAndLine(f, {0, 200}, {400, 200});
             f.in.points = {{1, 1}}; f.in.measured = 50;
         },
         {}},
        {"corner from four points: also the crossing nearer the pointer", 35,
         [](PreviewFixture& f) {
             arcAndLine(f, {0, 200}, {400, 200});
             f.in.points = {{1, 1}, {2, 2}, {100, 200}, {300, 200}}; f.in.pointer = {280, 210};
             f.in.measured = 2;
         },
         {"fillRect [196,96,204,104] brush=solid:0x0000FF",
          "fillRect [296,196,304,204] brush=solid:0x0000FF"}},
    };
    checkRows(rows);
}

TEST(EditPreviews, DivisionPointsOfALine)
{
    struct Row {
        const char* name;
        double length;
        CDbPoint pointer;
        std::vector<std::string> marks;  // fillRect boxes
    };
    const std::vector<Row> rows = {
        {"300 from the end nearer the pointer: 0, 300, 600, 900", 300, {120, 100},
         {"[96,96,104,104]", "[396,96,404,104]", "[696,96,704,104]", "[996,96,1004,104]"}},
        {"250: 0, 250, 500, 750 and not the far end itself", 250, {120, 100},
         {"[96,96,104,104]", "[346,96,354,104]", "[596,96,604,104]", "[846,96,854,104]"}},
        {"from the other end when the pointer is nearer to it", 400, {1000, 100},
         {"[1096,96,1104,104]", "[696,96,704,104]", "[296,96,304,104]"}},
        {"a length of 0 draws nothing instead of dividing by zero", 0, {120, 100}, {}},
        {"a negative length draws nothing instead of walking for ever", -5, {120, 100}, {}},
    };
    for (const Row& row : rows) {
        PreviewFixture f;
        f.select(0, {{100, 100}, {1100, 100}});
        f.in.points = {{120, 100}};
        f.in.pointer = row.pointer;
        f.in.measured = row.length;
        std::vector<std::string> got;
        for (const std::string& c : drawPreview(f, 64)) got.push_back(c.substr(9, c.find(']') - 8));
        EXPECT_EQ(got, row.marks) << row.name;
    }
}

TEST(EditPreviews, DivisionPointsOfCirclesAndArcs)
{
    PreviewFixture f;
    // Circumference 2π·100 ≈ 628.3 in pieces of 200: three points and the one at angle 0.
    f.select(3, {{300, 300}}, {100});
    f.in.points = {{1, 1}};
    f.in.measured = 200;
    EXPECT_EQ(drawPreview(f, 64).size(), 4u);

    // A quarter arc of length ≈ 157.08 in pieces of 50 from the start: three points and the end.
    PreviewFixture g;
    g.select(4, {{300, 300}, {400, 300}, {300, 200}}, {100});
    g.in.points = {{1, 1}};
    g.in.pointer = {400, 310};
    g.in.measured = 50;
    const std::vector<std::string> fromStart = drawPreview(g, 64);
    ASSERT_EQ(fromStart.size(), 4u);
    EXPECT_EQ(fromStart.back().substr(0, 25), "fillRect [296,196,304,204");
    // From the end when the pointer is nearer to it: the end first.
    g.in.pointer = {310, 190};
    const std::vector<std::string> fromEnd = drawPreview(g, 64);
    ASSERT_EQ(fromEnd.size(), 4u);
    EXPECT_EQ(fromEnd.front().substr(0, 25), "fillRect [296,196,304,204");
}
