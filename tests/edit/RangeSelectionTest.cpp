#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

using namespace kov::test;

namespace {

struct Drawing {
    CKovUnit unit;
    CPlotInfo plot;
    DeviceTransform transform = pixelTransform();
    SelectionRecord selection;
};

TEST(RangeSelection, WhatLiesStrictlyInsideIsSelected)
{
    struct Case {
        const char* name;
        double x1, y1, x2, y2;
        std::vector<int> groups, walls, lines, texts, images;
    } cases[] = {
        // The range's border passes through the line's end: the line stays out.
        {"border through a line end", 0, 0, 100, 100, {}, {}, {2, 4}, {}, {}},
        {"everything", -600, -600, 2000, 2000, {9}, {5}, {1, 2, 4}, {7}, {40}},
        // The group's member 3 lies inside, but the group's box reaches out.
        {"group only as a whole", 150, 150, 260, 260, {}, {}, {}, {}, {}},
        {"circle by its centre", 40, 40, 60, 60, {}, {}, {4}, {}, {}},
        {"corners given the other way round", 100, 100, 0, 0, {}, {}, {2, 4}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        addFigure(d.unit, 1, CKovLine::LINE, {{10, 10}, {100, 50}});
        addFigure(d.unit, 2, CKovLine::LINE, {{10, 10}, {90, 50}});
        addFigure(d.unit, 3, CKovLine::LINE, {{200, 200}, {250, 250}}, {}, 9);
        addFigure(d.unit, 6, CKovLine::LINE, {{200, 200}, {900, 900}}, {}, 9);
        addGroup(d.unit, 9, {3, 6});
        addFigure(d.unit, 4, CKovLine::CIRCLE, {{50, 50}}, {500});
        addWall(d.unit, 5, {300, 0}, {800, 0});
        addText(d.unit, 7, {400, 400});
        auto picture = std::make_unique<CKovImage>();
        picture->ImageID = 40;
        picture->m_rcDrawn = {1000, 1000, 1100, 1100};
        d.unit.m_Images.Add(std::move(picture));
        d.unit.SelectInRect(d.selection, d.plot, c.x1, c.y1, c.x2, c.y2, d.transform, RangeLayers::Every);
        EXPECT_EQ(d.selection.m_Groups, c.groups);
        EXPECT_EQ(d.selection.m_Walls, c.walls);
        EXPECT_EQ(d.selection.m_Lines, c.lines);
        EXPECT_EQ(d.selection.m_Texts, c.texts);
        EXPECT_EQ(d.selection.m_Images, c.images);
        EXPECT_EQ(d.selection.m_nCount, int(c.groups.size() + c.walls.size() + c.lines.size() + c.texts.size() +
                                            c.images.size()));
    }
}

TEST(RangeSelection, FiltersAndDanglingGroups)
{
    Drawing d;
    d.plot.m_Layer.m_nCurrentGroup = 2;
    d.plot.m_Layer.m_nCurrentLayer = 3;
    d.plot.m_Layer.m_LayerInfo[2][5].m_nType = CLayerInfo::LAYER_HIDDEN;
    addFigure(d.unit, 1, CKovLine::LINE, {{10, 10}, {20, 20}}, {}, 0, 2, 3);
    addFigure(d.unit, 2, CKovLine::LINE, {{10, 10}, {20, 20}}, {}, 0, 2, 5); // hidden layer of the group
    addFigure(d.unit, 3, CKovLine::LINE, {{10, 10}, {20, 20}}, {}, 0, 4, 3); // another layer group
    addFigure(d.unit, 4, CKovLine::LINE, {{10, 10}, {20, 20}}, {}, 77, 2, 3); // its group is gone

    d.unit.SelectInRect(d.selection, d.plot, 0, 0, 100, 100, d.transform, RangeLayers::CurrentGroup);
    EXPECT_EQ(d.selection.m_Lines, (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(d.unit.FindLine(4)->MLineGrpID, 0);
    d.unit.SelectInRectOnLayer(d.selection, d.plot, 0, 0, 100, 100, d.transform);
    EXPECT_EQ(d.selection.m_Lines, (std::vector<int>{1, 4}));
    d.unit.SelectInRect(d.selection, d.plot, 0, 0, 100, 100, d.transform, RangeLayers::Every);
    EXPECT_EQ(d.selection.m_Lines, (std::vector<int>{1, 2, 3, 4}));
}

TEST(RangeSelection, PictureInsideTheDraggedRectangleOnTheScreen)
{
    Drawing d;
    d.transform = pixelTransform(0.5);
    auto add = [&](int id, DeviceRect rc) {
        auto picture = std::make_unique<CKovImage>();
        picture->ImageID = id;
        picture->m_rcDrawn = rc;
        d.unit.m_Images.Add(std::move(picture));
    };
    add(1, {10, 10, 40, 40});
    add(2, {10, 10, 60, 40}); // straddles the range's right border at x = 50 px
    d.unit.SelectInRect(d.selection, d.plot, 0, 0, 100, 100, d.transform, RangeLayers::CurrentGroup);
    EXPECT_EQ(d.selection.m_Images, std::vector<int>{1});
}

TEST(LayerSelection, SelectLayerAndDropOffLayer)
{
    Drawing d;
    addFigure(d.unit, 1, CKovLine::LINE, {{0, 0}, {1, 1}}, {}, 0, 1, 1);
    addFigure(d.unit, 2, CKovLine::LINE, {{0, 0}, {1, 1}}, {}, 5, 1, 1);
    addGroup(d.unit, 5, {2}).MGrpLayer1 = 1;
    d.unit.FindGroup(5)->MGrpLayer2 = 1;
    addWall(d.unit, 3, {0, 0}, {100, 0}, 50, 0, 1, 1);
    addText(d.unit, 4, {0, 0}, "x", 0, 0, 0);
    d.unit.SelectLayer(d.selection, 1, 1);
    EXPECT_EQ(d.selection.m_Groups, std::vector<int>{5});
    EXPECT_EQ(d.selection.m_Lines, std::vector<int>{1});
    EXPECT_EQ(d.selection.m_Walls, std::vector<int>{3});
    EXPECT_EQ(d.selection.m_nCount, 3);

    // Three on the current layer, two off it, one that no longer exists (it stays).
    SelectionRecord s;
    s.AddLineId(1);
    s.AddWallId(3);
    s.AddTextId(4);
    s.AddGroupId(5);
    s.AddLineId(99);
    d.plot.m_Layer.m_nCurrentGroup = 1;
    d.plot.m_Layer.m_nCurrentLayer = 1;
    d.unit.DeselectOffLayer(s, d.plot);
    EXPECT_EQ(s.m_nCount, 4);
    EXPECT_EQ(s.m_Texts, std::vector<int>{});
    EXPECT_EQ(s.m_Lines, (std::vector<int>{1, 99}));
}

} // namespace
