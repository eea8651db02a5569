#include "app/FillPatterns.h"

#include <string_view>

namespace kov::app {

namespace {

// Rows top to bottom, '#' black and '.' white.
struct PatternRows {
    int size;
    std::string_view rows[9];
};

const PatternRows kPatterns[kFillPatternCount] = {
    // 1: bricks in half bond. Nine pixels square, so the mortar lines repeat every nine pixels.
    {9,
     {".......#.", ".......#.", ".......#.", "########.", "...#.....", "...#.....", "...#.....", "########.",
      "........."}},
    // 2: three diagonal strokes bending back: a chevron of stitches.
    {8, {"..#..#..", "...#..#.", "....#..#", "....#..#", "....#..#", "...#..#.", "..#..#..", "..#..#.."}},
    // 3: scattered pebbles.
    {8, {".#.....#", ".##..#..", ".#...##.", ".....#..", "..##...#", "...#....", ".#....#.", ".##.#.##"}},
    // 4: a full line with a dashed line between: boarding.
    {8, {"########", "........", "........", "........", "###..#..", "........", "........", "........"}},
    // 5: solid diamonds.
    {8, {"...#....", "..###...", ".#####..", "#######.", ".#####..", "..###...", "...#....", "........"}},
    // 6: small squares on a grid.
    {8, {"........", ".##..##.", ".##..##.", "........", "........", ".##..##.", ".##..##.", "........"}},
    // 7: a checkerboard of four-pixel squares.
    {8, {"####....", "####....", "####....", "####....", "....####", "....####", "....####", "....####"}},
    // 8: a fence of posts and rails.
    {8, {".......#", "#.....##", ".......#", "#.....##", ".......#", ".#...#.#", "########", ".#...#.#"}},
};

} // namespace

QImage FillPatternBitmap(int code)
{
    if (code < 1 || code > kFillPatternCount) return {};
    const PatternRows& p = kPatterns[code - 1];
    QImage image(p.size, p.size, QImage::Format_RGB32);
    for (int y = 0; y < p.size; ++y)
        for (int x = 0; x < p.size; ++x)
            image.setPixel(x, y, p.rows[y][static_cast<std::size_t>(x)] == '#' ? 0xFF000000u : 0xFFFFFFFFu);
    return image;
}

std::array<QImage, kFillPatternCount> LoadFillPatterns()
{
    std::array<QImage, kFillPatternCount> bitmaps;
    for (int i = 0; i < kFillPatternCount; ++i) bitmaps[static_cast<std::size_t>(i)] = FillPatternBitmap(i + 1);
    return bitmaps;
}

} // namespace kov::app
