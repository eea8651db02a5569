#pragma once

// The drawings the drawing benchmarks paint, shared with the tests that check the bands against a
// whole render: a plan of random figures of every kind (solid, dashed, filled, hatched,
// translucent), walls and two-line texts, and a house laid out as a plan is.

#include "model/DrawTransform.h"
#include "model/KovUnit.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kov::bench {

// A fixed pseudo-random sequence, so every run draws the same plan.
struct Lcg {
    std::uint32_t state = 12345;
    std::uint32_t next() { return state = state * 1664525u + 1013904223u; }
    double in(double lo, double hi) { return lo + (hi - lo) * (next() >> 8) / double(1u << 24); }
    int pick(int n) { return int((next() >> 8) % std::uint32_t(n)); }
};

inline void addFigure(CKovUnit& unit, Lcg& rnd, double x, double y, double size, int layer)
{
    const int kinds[] = {0, 0, 0, 1, 2, 3, 4, 6};
    auto f = std::make_unique<CKovLine>();
    f->MLineID = unit.NextLineId();
    f->MLineType = kinds[rnd.pick(8)];
    f->MLineGradiation = 0;
    const double w = rnd.in(size / 20, size), h = rnd.in(size / 20, size);
    switch (f->MLineType) {
    case 0: f->MLinePnt = {{x, y}, {x + w, y + h}}; break;
    case 1: f->MLinePnt = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}; break;
    case 2: f->MLinePnt = {{x, y}, {x + w, y + h / 3}, {x + w / 2, y + h}, {x - w / 3, y + h / 2}}; break;
    case 3: f->MLinePnt = {{x, y}}; f->MLineParam = {w / 2}; break;
    case 4: f->MLinePnt = {{x, y}, {x + w / 2, y}, {x, y - w / 2}}; f->MLineParam = {w / 2};
            f->MLineTanten = rnd.pick(3); break;
    default: f->MLinePnt = {{x, y}, {x + w, y}, {x + w, y + h}, {x + 2 * w, y + h}}; break;
    }
    f->MLineColor = rnd.next() & 0xFFFFFF;
    f->MLineNakaColor = rnd.next() & 0xFFFFFF;
    f->MLineLineT = rnd.pick(4) == 0 ? 1 + rnd.pick(4) : 0;
    f->MLineWide = 1 + rnd.pick(3);
    f->MLinebNakanuri = rnd.pick(2);
    f->MLinebHach = rnd.pick(6) == 0 ? 1 : 0;
    f->MLineHachT = rnd.pick(6);
    f->MLineAlpha = rnd.pick(8) == 0 ? 50 : 100;
    f->MLineLayer2 = layer;
    unit.m_Lines.Add(std::move(f));
}

inline void addWall(CKovUnit& unit, double x, double y, double length, bool vertical, int layer)
{
    auto wall = std::make_unique<CKovWall>();
    wall->MWallID = unit.NextWallId();
    wall->MWallPntA = {x, y};
    wall->MWallPntB = vertical ? CDbPoint(x, y + length) : CDbPoint(x + length, y);
    CKovUnit::ComputeWallCorners(wall->MWallPntKado, wall->MWallPntA, wall->MWallPntB, 60, 1);
    const auto& c = wall->MWallPntKado;
    wall->MWallarPntA = {c[0], c[1], c[2], c[3]};
    wall->MWallarPntB = {c[1], c[2], c[3], c[0]};
    wall->MWallLayer2 = layer;
    unit.m_Walls.Add(std::move(wall));
}

inline void addText(CKovUnit& unit, double x, double y, int n, int layer)
{
    auto text = std::make_unique<CKovText>();
    text->MTextID = unit.NextTextId();
    // Appended, not prefixed: GCC 12 warns of an overlap in its own prefixing code.
    std::string label = n % 3 == 0 ? "洋室 " : "W";
    label += std::to_string(n);
    if (n % 3 == 0) label += "\r\n6.0畳";
    text->MTextstr = label;
    text->MTextpnt = {x, y};
    text->MTextFontMenu.m_size = 3.0;
    text->MTextLayer2 = layer;
    unit.m_Texts.Add(std::move(text));
}

// A plan of `extent` × extent·9/16 drawing millimetres from (x0, y0).
inline void makeDrawing(CKovUnit& unit, double extent, int figures, int texts, int walls, double x0 = 0,
                        double y0 = 0)
{
    Lcg rnd;
    const double height = extent * 9 / 16;
    for (int i = 0; i < walls; ++i)
        addWall(unit, x0 + rnd.in(0, extent), y0 + rnd.in(0, height), rnd.in(900, 3640), i % 2 == 1, 1 + i % 3);
    for (int i = 0; i < figures; ++i)
        addFigure(unit, rnd, x0 + rnd.in(0, extent), y0 + rnd.in(0, height), extent / 40, 4 + i % 6);
    for (int i = 0; i < texts; ++i) addText(unit, x0 + rnd.in(0, extent), y0 + rnd.in(0, height), i, 10 + i % 2);
}

// The plan of makeDrawing fitted across a window `width` wide, its middle in the window's middle,
// at 1:100; a zoom above 1 shows the middle 1/zoom² of it.
inline DeviceTransform fittedTransform(double extent, int width, int height, double zoom)
{
    DeviceTransform t;
    const double scale = width / extent * zoom;
    t.scaleX.fill(scale);
    t.scaleY.fill(scale);
    t.paperScale = scale * 100;
    t.originX = int(width / 2 - extent / 2 * scale);
    t.originY = int(height / 2 - extent * 9 / 32 * scale);
    return t;
}

// A plan as drawn: a 5 × 3 grid of rooms with their floors, labels and doors, walls on the grid
// lines, columns at the crossings, fittings of thin outlines, dimensions and notes: 2,000 objects
// with few fills.
inline void makeHouse(CKovUnit& unit)
{
    Lcg rnd;
    constexpr double kRoomW = 3640, kRoomH = 2730;
    constexpr int kCols = 5, kRows = 3;
    int objects = 0;
    for (int r = 0; r <= kRows; ++r)
        for (int c = 0; c < kCols; ++c, ++objects) addWall(unit, c * kRoomW, r * kRoomH, kRoomW, false, 1);
    for (int c = 0; c <= kCols; ++c)
        for (int r = 0; r < kRows; ++r, ++objects) addWall(unit, c * kRoomW, r * kRoomH, kRoomH, true, 1);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            const double x = c * kRoomW, y = r * kRoomH;
            auto floor = std::make_unique<CKovLine>();
            floor->MLineID = unit.NextLineId();
            floor->MLineType = CKovLine::POLYGON;
            floor->MLinePnt = {{x + 60, y + 60}, {x + kRoomW - 60, y + 60}, {x + kRoomW - 60, y + kRoomH - 60},
                               {x + 60, y + kRoomH - 60}};
            floor->MLinebNakanuri = 1;
            floor->MLineNakaColor = 0xE0F0FF;
            floor->MLineGradiation = 0;
            unit.m_Lines.Add(std::move(floor));
            addText(unit, x + kRoomW / 2, y + kRoomH / 2, 3 * (r * kCols + c), 3);
            // A door: its leaf and swing.
            auto leaf = std::make_unique<CKovLine>();
            leaf->MLineID = unit.NextLineId();
            leaf->MLineType = CKovLine::ARC;
            leaf->MLinePnt = {{x + 200, y + 60}, {x + 980, y + 60}, {x + 200, y + 840}};
            leaf->MLineParam = {780};
            leaf->MLineGradiation = 0;
            unit.m_Lines.Add(std::move(leaf));
            objects += 3;
        }
    }
    // Fittings: thin outlines of furniture and fixtures, a few filled.
    while (objects < 1800) {
        const double x = rnd.in(200, kCols * kRoomW - 900), y = rnd.in(200, kRows * kRoomH - 900);
        auto f = std::make_unique<CKovLine>();
        f->MLineID = unit.NextLineId();
        f->MLineGradiation = 0;
        const double w = rnd.in(150, 900), h = rnd.in(150, 900);
        switch (rnd.pick(4)) {
        case 0: f->MLineType = CKovLine::LINE; f->MLinePnt = {{x, y}, {x + w, y}}; break;
        case 1: f->MLineType = CKovLine::RECTANGLE; f->MLinePnt = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}; break;
        case 2: f->MLineType = CKovLine::CIRCLE; f->MLinePnt = {{x, y}}; f->MLineParam = {w / 3}; break;
        default: f->MLineType = CKovLine::POLYGON;
                 f->MLinePnt = {{x, y}, {x + w, y}, {x + w, y + h / 2}, {x + w / 2, y + h}, {x, y + h}}; break;
        }
        f->MLinebNakanuri = rnd.pick(10) == 0 ? 1 : 0;
        f->MLineNakaColor = 0xD0D0D0;
        f->MLineLayer2 = 4;
        unit.m_Lines.Add(std::move(f));
        ++objects;
    }
    while (objects < 2000) {
        if (objects % 2 == 0) {
            const double x = rnd.in(0, kCols * kRoomW - 2000), y = rnd.in(0, kRows * kRoomH);
            auto d = std::make_unique<CKovLine>();
            d->MLineID = unit.NextLineId();
            d->MLineType = CKovLine::DIMENSION;
            d->MLinePnt = {{x, y}, {x + 1820, y}, {x + 910, y - 300}};
            d->MLineParam = {1, 1820, 300};
            d->MLineGradiation = 0;
            d->MLineLayer2 = 5;
            unit.m_Lines.Add(std::move(d));
        } else {
            auto t = std::make_unique<CKovText>();
            t->MTextID = unit.NextTextId();
            t->MTextstr = "収納";
            t->MTextpnt = {rnd.in(0, kCols * kRoomW), rnd.in(0, kRows * kRoomH)};
            t->MTextFontMenu.m_size = 2.5;
            t->MTextLayer2 = 6;
            unit.m_Texts.Add(std::move(t));
        }
        ++objects;
    }
}

} // namespace kov::bench
