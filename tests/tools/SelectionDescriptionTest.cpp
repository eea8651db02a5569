// The status text of a single selected object, and the quarter turns of a selected picture.

#include "tools/SelectionDescription.h"

#include "model/KovUnit.h"
#include "model/SelectionRecord.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using kov::tools::DescribeSelection;

struct Drawing {
    CKovUnit unit;
    SelectionRecord sel;

    CKovWall& wall(CDbPoint a, CDbPoint b, double half = 60, int type = CKovWall::WALL)
    {
        auto w = std::make_unique<CKovWall>();
        w->MWallID = unit.NextWallId();
        w->MWallPntA = a;
        w->MWallPntB = b;
        w->MWallWide1 = half;
        w->MWall_Type = type;
        CKovWall& ref = *w;
        unit.m_Walls.Add(std::move(w));
        return ref;
    }
    CKovLine& figure(int kind, CDbPointArray points)
    {
        auto f = std::make_unique<CKovLine>();
        f->MLineID = unit.NextLineId();
        f->MLineType = kind;
        f->MLinePnt = std::move(points);
        CKovLine& ref = *f;
        unit.m_Lines.Add(std::move(f));
        return ref;
    }
    CKovGroup& group(int kind, CDbPoint min, CDbPoint max)
    {
        auto g = std::make_unique<CKovGroup>();
        g->MGrpID = unit.NextGroupId();
        g->MGrpRoom = kind;
        g->MGrpmin = min;
        g->MGrpmax = max;
        CKovGroup& ref = *g;
        unit.m_Groups.Add(std::move(g));
        return ref;
    }
    // A room whose walls run along the corners in order, closing back to the first.
    CKovGroup& room(const CDbPointArray& corners, CDbPoint min, CDbPoint max)
    {
        CKovGroup& g = group(CKovGroup::ROOM, min, max);
        const int id = g.MGrpID;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            // Every other wall runs backwards: the outline must not depend on a wall's direction.
            const CDbPoint a = corners[i], b = corners[(i + 1) % corners.size()];
            const int wallId = (i % 2 ? wall(b, a) : wall(a, b)).MWallID;
            unit.FindGroup(id)->MGrpWallID.push_back(wallId);
        }
        return *unit.FindGroup(id);
    }
};

TEST(DescribeSelection, OneObjectOfEachKind)
{
    struct Row {
        const char* name;
        std::function<void(Drawing&)> build;
        bool squareMetres;
        const char* text;
    };
    const Row rows[] = {
        {"wall", [](Drawing& d) { d.sel.AddWallId(d.wall({0, 0}, {3000, 4000}, 60).MWallID); }, false,
         "壁 壁芯5000.00 片側壁厚60.00"},
        {"column", [](Drawing& d) { d.sel.AddWallId(d.wall({0, 0}, {0, 0}, 52.5, CKovWall::COLUMN).MWallID); },
         false, "柱 片側柱厚52.50"},
        {"line", [](Drawing& d) { d.sel.AddLineId(d.figure(CKovLine::LINE, {{0, 0}, {0, 1234.567}}).MLineID); },
         false, "直線 1234.57"},
        {"rectangle",
         [](Drawing& d) {
             d.sel.AddLineId(d.figure(CKovLine::RECTANGLE, {{0, 0}, {0, 300}, {500, 300}, {500, 0}}).MLineID);
         },
         false, "四角形 横500.00 縦300.00"},
        {"circle", [](Drawing& d) { d.sel.AddLineId(d.figure(CKovLine::CIRCLE, {{0, 0}, {5, 0}}).MLineID); },
         false, ""},
        {"line with one point", [](Drawing& d) { d.sel.AddLineId(d.figure(CKovLine::LINE, {{0, 0}}).MLineID); },
         false, ""},
        {"text",
         [](Drawing& d) {
             auto t = std::make_unique<CKovText>();
             t->MTextID = d.unit.NextTextId();
             t->MTextFontMenu.m_size = 3.5;
             t->MTextFontMenu.m_kankaku = 0.25;
             t->MTextFontMenu.m_gyoukan = 1;
             d.sel.AddTextId(t->MTextID);
             d.unit.m_Texts.Add(std::move(t));
         },
         false, "文字 高3.5 間隔0.2 行間1.0"},
        {"picture",
         [](Drawing& d) {
             auto i = std::make_unique<CKovImage>();
             i->ImageID = 2;
             i->ImageWidth = 120.6;
             i->ImageHeight = 80.34;
             d.sel.AddImageId(2);
             d.unit.m_Images.Add(std::move(i));
         },
         false, "画像 幅120.6mm 高さ80.3mm"},
        {"part", [](Drawing& d) { d.sel.AddGroupId(d.group(CKovGroup::PLAIN, {10, 20}, {610, 420}).MGrpID); }, false,
         "部品 横600.00 縦400.00"},
        {"room of four walls in mats",
         [](Drawing& d) {
             d.sel.AddGroupId(d.room({{0, 0}, {3640, 0}, {3640, 2730}, {0, 2730}}, {0, 0}, {3640, 2730}).MGrpID);
         },
         false, "部屋 横3640 縦2730  6.00帖"},
        {"room of four walls in square metres",
         [](Drawing& d) {
             d.sel.AddGroupId(d.room({{0, 0}, {3640, 0}, {3640, 2730}, {0, 2730}}, {0, 0}, {3640, 2730}).MGrpID);
         },
         true, "部屋   9.94㎡"},
        {"L-shaped room of six walls",
         [](Drawing& d) {
             // 3640 × 3640 less 1820 × 1820: 9.9372 m², 6 mats of 910.
             d.sel.AddGroupId(d.room({{0, 0}, {3640, 0}, {3640, 1820}, {1820, 1820}, {1820, 3640}, {0, 3640}},
                                     {0, 0}, {3640, 3640})
                                  .MGrpID);
         },
         false, "部屋   6.00帖"},
        {"room of three walls",
         [](Drawing& d) {
             d.sel.AddGroupId(d.room({{0, 0}, {3640, 0}, {0, 2730}}, {0, 0}, {3640, 2730}).MGrpID);
         },
         false, ""},
        {"fitting with a frame",
         [](Drawing& d) {
             CKovGroup& g = d.group(CKovGroup::FITTING, {0, 0}, {900, 100});
             const int id = g.MGrpID;
             const int frame = d.figure(CKovLine::RECTANGLE, {{0, 0}, {0, 100}, {810.4, 100}, {810.4, 0}}).MLineID;
             d.unit.FindGroup(id)->MGrpLineID = {frame};
             d.sel.AddGroupId(id);
         },
         false, "建具 幅810.00"},
        {"fitting without a frame",
         [](Drawing& d) { d.sel.AddGroupId(d.group(CKovGroup::FITTING, {100, 0}, {900, 100}).MGrpID); }, false,
         "建具 幅800.00"},
        {"two objects",
         [](Drawing& d) {
             d.sel.AddLineId(d.figure(CKovLine::LINE, {{0, 0}, {1, 0}}).MLineID);
             d.sel.AddLineId(d.figure(CKovLine::LINE, {{0, 0}, {2, 0}}).MLineID);
         },
         false, ""},
        {"identifier of nothing", [](Drawing& d) { d.sel.AddWallId(77); }, false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Drawing d;
        row.build(d);
        EXPECT_EQ(DescribeSelection(d.unit, d.sel, 910, row.squareMetres), row.text);
    }
}

TEST(RotateSelectedImage90, QuarterTurnsSwapTheSizesExactly)
{
    CKovUnit unit;
    auto picture = std::make_unique<CKovImage>();
    picture->ImageID = 5;
    picture->ImageWidth = 120.6;
    picture->ImageHeight = 80.3;
    picture->BLKImagekakudo = 30;
    unit.m_Images.Add(std::move(picture));
    SelectionRecord sel;
    sel.AddImageId(5);

    ASSERT_TRUE(kov::tools::RotateSelectedImage90(unit, sel, kov::tools::QuarterTurn::Right));
    EXPECT_EQ(unit.FindImage(5)->ImageWidth, 80.3);
    EXPECT_EQ(unit.FindImage(5)->ImageHeight, 120.6);
    EXPECT_EQ(unit.FindImage(5)->BLKImagekakudo, 120);
    for (int i = 0; i < 3; ++i) kov::tools::RotateSelectedImage90(unit, sel, kov::tools::QuarterTurn::Right);
    EXPECT_EQ(unit.FindImage(5)->BLKImagekakudo, 30);
    EXPECT_EQ(unit.FindImage(5)->ImageWidth, 120.6);
    kov::tools::RotateSelectedImage90(unit, sel, kov::tools::QuarterTurn::Left);
    EXPECT_EQ(unit.FindImage(5)->BLKImagekakudo, 300);

    SelectionRecord none;
    EXPECT_FALSE(kov::tools::RotateSelectedImage90(unit, none, kov::tools::QuarterTurn::Right));
    SelectionRecord missing;
    missing.AddImageId(9);
    EXPECT_FALSE(kov::tools::RotateSelectedImage90(unit, missing, kov::tools::QuarterTurn::Right));
}

} // namespace
