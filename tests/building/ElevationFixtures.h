#pragma once

// A plan for the elevation views: walls on a layer group, fittings from the shipped library,
// roofs and balconies made by their own operations, and readers of what a view made.

#include "building/Elevations.h"
#include "building/Fittings.h"
#include "building/PartFiles.h"
#include "building/PartLibrary.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/RituInfo.h"
#include "model/SelectionRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace kov::test {

struct ElevationPlan {
    CKovUnit unit;
    CPlotInfo plot;
    CRituInfo ritu;
    SelectionRecord sel;
    kov::building::PartFileCache cache;
    kov::building::ElevationLibrary library{std::filesystem::path(KOVIRA_LIBRARY_DATA) / "ritutateg", &cache, 0};
    std::filesystem::path plans = std::filesystem::path(KOVIRA_LIBRARY_DATA) / "tateg";

    ~ElevationPlan() { unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }

    void onGroup(int g)
    {
        plot.m_Layer.m_nCurrentGroup = g;
        plot.m_Layer.m_nCurrentLayer = 0;
    }
    // Walls of half thickness t along the corners, closed, on layer group g.
    void walls(int g, const std::vector<CDbPoint>& corners, double t = 75)
    {
        onGroup(g);
        for (std::size_t k = 0; k < corners.size(); ++k) {
            const int id = unit.AddWall(corners[k], corners[(k + 1) % corners.size()], t, plot);
            ASSERT_GT(id, 0);
            unit.ResetWallOutline(id);
        }
        unit.JoinWalls(g);
    }
    void wall(int g, CDbPoint a, CDbPoint b, double t = 75)
    {
        onGroup(g);
        const int id = unit.AddWall(a, b, t, plot);
        ASSERT_GT(id, 0);
        unit.ResetWallOutline(id);
        unit.JoinWalls(g);
    }
    void box(int g, double x0, double y0, double x1, double y1) { walls(g, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}); }
    // A fitting by the tool's clicks on the wall core (p0, p1) with the side click; its group.
    int fitting(int g, int kind, int number, CDbPoint p0, CDbPoint p1, CDbPoint side, int option = 0)
    {
        onGroup(g);
        kov::building::FittingChoice choice;
        choice.kind = kind;
        choice.number = number;
        choice.optionCode = option;
        choice.thickness = 150;
        const std::filesystem::path f = kov::building::FindFittingFile(plans, kind, number);
        EXPECT_FALSE(f.empty());
        const int id = kov::building::InsertPartFile(f, unit, plot);
        EXPECT_GT(id, 0);
        SelectionRecord s;
        EXPECT_EQ(unit.PlaceFitting(s, plot, {p0, p1}, side, id, choice, kov::building::FittingRules{}), 1);
        return id;
    }
    int roof(int g, CDbPoint c1, CDbPoint c2, CDbPoint ridge, CDbPoint eaves, int type)
    {
        onGroup(g);
        ritu.yanetype = type;
        SelectionRecord s;
        return unit.CreateRoof(s, plot, {c1, c2, ridge}, eaves.x, eaves.y, ritu);
    }
    void balcony(int g, const CDbPointArray& path)
    {
        onGroup(g);
        SelectionRecord s;
        unit.CreateBalcony(s, plot, path, path.back(), 50, 50, ritu.baltakasa, ritu.baltoritakasa, 0);
    }

    // One view at the origin; what it made is everything added since.
    void view(int direction, kov::building::ElevationLibrary* lib = nullptr)
    {
        firstLine = unit.m_Lines.GetSize();
        firstGroup = unit.m_Groups.GetSize();
        firstText = unit.m_Texts.GetSize();
        unit.CreateElevations(0, 0, sel, plot, ritu, direction, lib);
    }
    int firstLine = 0, firstGroup = 0, firstText = 0;
    std::vector<const CKovLine*> made(bool (*keep)(const CKovLine&)) const
    {
        std::vector<const CKovLine*> out;
        for (int i = firstLine; i < unit.m_Lines.GetSize(); ++i)
            if (keep(*unit.m_Lines[i]) && unit.m_Lines[i]->MLineGrpID == 0) out.push_back(unit.m_Lines[i]);
        return out;
    }
    static bool isFace(const CKovLine& f)
    {
        return f.MLineType == CKovLine::POLYGON && f.MLineColor == 0xFFFFFF && f.MLinebNakanuri && !f.MLinebHach &&
               f.MLinePnt.size() == 4;
    }
    static bool isRoofFace(const CKovLine& f) { return f.MLineType == CKovLine::POLYGON && f.MLinebHach; }
    static bool isBand(const CKovLine& f)
    {
        return f.MLineType == CKovLine::POLYGON && f.MLineColor == 0 && f.MLinebNakanuri && !f.MLinebHach;
    }
};

// The sample house the program ships ("小さな家"), read whole, with windows and doors from the
// shipped library, a hip roof over the main block, a gable roof over the west wing, a lean-to over
// the east wing and a deck before it. The sample's walls: a main block from x -4550 to 4550 and
// y -3200 to 440 (cores), a west wing to y 2260 and an east wing to y 1350, all on layer group 0.
inline void sampleHouse(ElevationPlan& p)
{
    const std::filesystem::path sample = std::filesystem::path(KOVIRA_LIBRARY_DATA) / "sample" / "小さな家.kvr";
    std::string error;
    ASSERT_EQ(kov::building::ReadPartFile(sample, p.unit, &error), kov::building::PartRead::Read) << error;
    ASSERT_EQ(p.unit.m_Walls.GetSize(), 22);
    p.ritu.kai = 1;
    // South: a sweep-out window in the west wing, a window and the front door in the east wing.
    p.fitting(0, 1, 3, {-3640, 2260}, {-1820, 2260}, {-2730, 3000});
    p.fitting(0, 3, 1, {1820, 1350}, {3640, 1350}, {2730, 2000}, 1);
    p.fitting(0, 4, 1, {455, 1350}, {1365, 1350}, {910, 2000});
    // North, east and west windows.
    p.fitting(0, 3, 1, {-910, -3200}, {910, -3200}, {0, -4000});
    p.fitting(0, 3, 1, {4550, -2275}, {4550, -455}, {5300, -1365});
    p.fitting(0, 1, 1, {-4550, -2730}, {-4550, -910}, {-5300, -1820});
    p.roof(0, {-4625, -3275}, {4625, 515}, {-4700, -1380}, {0, -1380}, 0);
    p.roof(0, {-4625, 515}, {75, 2335}, {-2275, 1425}, {-2275, 1425}, 1);
    p.roof(0, {75, 515}, {4625, 1425}, {-100, 970}, {2350, 400}, 0);
    p.balcony(0, {{455, 2730}, {4550, 2730}});
}

} // namespace kov::test
