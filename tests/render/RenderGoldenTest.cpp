// Composite figures and walls rendered through the QPainter surface and compared with small
// golden pictures in tests/data/render, channel by channel with a tolerance.
// KOVIRA_REGENERATE_GOLDEN=1 rewrites the pictures instead (look at them before keeping them).

#include "DrawerTestSupport.h"

#include "platform/PainterSurface.h"
#include "support/GoldenImage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <functional>

using namespace kov::test::drawers;

namespace {

QImage render(int width, int height, const std::function<void(kov::platform::Surface&)>& draw)
{
    return kov::test::renderOnWhite(width, height, draw);
}

void expectMatchesGolden(const QImage& actual, const std::string& name)
{
    kov::test::expectMatchesGolden(actual, "render/" + name + ".png");
}

// An L of two walls joined at (20, 20) by hand: the faces inside the other wall are cut away and
// the shared outer corner belongs to the wall drawn last.
void addJoinedL(CKovUnit& unit)
{
    CKovWall& across = addWall(unit, {20, 20}, {120, 20}, 10);
    across.MWallarPntA = {{130, 10}, {30, 30}, {130, 30}};
    across.MWallarPntB = {{30, 10}, {130, 30}, {130, 10}};
    CKovWall& down = addWall(unit, {20, 20}, {20, 100}, 10);
    down.MWallarPntA = {{30, 10}, {10, 10}, {10, 110}, {30, 110}};
    down.MWallarPntB = {{10, 10}, {10, 110}, {30, 110}, {30, 30}};
    down.MWallType = 1;  // its core line shows in mode 2
}

} // namespace

TEST(RenderGolden, HatchedRectangle)
{
    CKovUnit unit;
    CKovLine& f = addFigure(unit, CKovLine::RECTANGLE, {{10, 10}, {110, 10}, {110, 70}, {10, 70}});
    f.MLineColor = 0xC00000;
    f.MLineWide = 2;
    f.MLinebNakanuri = 1;
    f.MLineNakaColor = 0xC0FFFF;
    f.MLinebHach = 1;
    f.MLineHachT = 4;
    const QImage image = render(120, 80, [&](kov::platform::Surface& s) {
        unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, false, {});
    });
    expectMatchesGolden(image, "hatched-rectangle");
}

TEST(RenderGolden, GradientPolygons)
{
    struct Row {
        const char* name;
        int display;
    };
    for (const Row& row : {Row{"gradient-polygon-linear", 1}, Row{"gradient-polygon-path", 2}}) {
        CKovUnit unit;
        CKovLine& f = addFigure(unit, CKovLine::POLYGON, {{60, 8}, {112, 45}, {92, 100}, {28, 100}, {8, 45}});
        f.MLinebNakanuri = 1;
        f.MLineNakaColor = 0x2020E0;
        f.MLineNakaColor2 = 0xE06020;
        f.MLineGradiation = 4501;
        CPlotInfo plot;
        plot.PlotGradation = row.display;
        const QImage image = render(120, 110, [&](kov::platform::Surface& s) {
            unit.DrawFigure(s, pixelTransform(), f, plot, false, {});
        });
        expectMatchesGolden(image, row.name);
    }
}

TEST(RenderGolden, PatternCircleAndArcs)
{
    CKovUnit unit;
    CKovLine& circle = addFigure(unit, CKovLine::CIRCLE, {{40, 40}}, {32});
    circle.MLinePattern = 3;
    CKovLine& sector = addFigure(unit, CKovLine::ARC, {{110, 40}, {140, 40}, {110, 10}}, {30});
    sector.MLinebNakanuri = 1;
    sector.MLineNakaColor = 0x40C040;
    CKovLine& chord = addFigure(unit, CKovLine::ARC, {{50, 110}, {80, 110}, {20, 110}}, {30});
    chord.MLineTanten = 1;
    chord.MLinebNakanuri = 1;
    chord.MLineNakaColor = 0x40A0F0;
    CKovLine& thick = addFigure(unit, CKovLine::ARC, {{120, 120}, {145, 120}, {95, 120}}, {25, 400, 400});
    thick.MLineTanten = 2;
    thick.MLineColor = 0x804000;
    CPlotInfo plot;
    plot.m_Layer.m_dScale.fill(100);
    const auto env = environmentWithPatterns();
    const QImage image = render(160, 140, [&](kov::platform::Surface& s) {
        for (const auto& f : unit.m_Lines) unit.DrawFigure(s, pixelTransform(4), *f, plot, false, env);
    });
    expectMatchesGolden(image, "pattern-circle-and-arcs");
}

TEST(RenderGolden, JoinedWallsInEachMode)
{
    for (int mode = 1; mode <= 4; ++mode) {
        CKovUnit unit;
        addJoinedL(unit);
        CPlotInfo plot;
        plot.PlotWallBlack = mode;
        plot.PlotWallColor = 0x80B0E0;
        plot.PlotHasiraColor = 1;
        const QImage image = render(140, 120, [&](kov::platform::Surface& s) {
            for (const auto& wall : unit.m_Walls)
                unit.DrawWallPolygon(s, pixelTransform(), *wall, plot, {}, false, 0, false, {});
        });
        expectMatchesGolden(image, "walls-mode-" + std::to_string(mode));
    }
}

TEST(RenderGolden, ColumnKinds)
{
    CKovUnit unit;
    addColumn(unit, {30, 40}, 15, 15, CKovWall::STOREY_COLUMN);
    addColumn(unit, {80, 40}, 8, 20, CKovWall::STUD);
    addColumn(unit, {140, 40}, 10, 10, CKovWall::THROUGH_COLUMN);
    CPlotInfo plot;
    plot.PlotHasiraColor = 2;
    const QImage image = render(180, 80, [&](kov::platform::Surface& s) {
        for (const auto& c : unit.m_Walls) unit.DrawColumn(s, pixelTransform(), *c, plot, {}, false, 0, false, {});
        for (const auto& c : unit.m_Walls)
            unit.DrawRoundColumn(s, pixelTransform(), *c, plot, {}, false, 0, false, {});
    });
    expectMatchesGolden(image, "column-kinds");
}

namespace {

CKovWall& houseWall(CKovUnit& unit, CDbPoint a, CDbPoint b, double t, std::vector<std::pair<CDbPoint, CDbPoint>> edges)
{
    CKovWall& w = addWall(unit, a, b, t);
    w.MWallarPntA.clear();
    w.MWallarPntB.clear();
    for (const auto& [p, q] : edges) {
        w.MWallarPntA.push_back(p);
        w.MWallarPntB.push_back(q);
    }
    return w;
}

CKovText& houseText(CKovUnit& unit, std::string str, CDbPoint at, int escapement, std::string face, double size = 4)
{
    auto t = std::make_unique<CKovText>();
    t->MTextID = unit.NextTextId();
    t->MTextstr = std::move(str);
    t->MTextpnt = at;
    t->MTextFontMenu.lfFaceName = std::move(face);
    t->MTextFontMenu.lfEscapement = escapement;
    t->MTextFontMenu.m_size = size;
    CKovText& ref = *t;
    unit.m_Texts.Add(std::move(t));
    return ref;
}

// A small house page: four outer walls and a partition joined by hand, a room with its floor and
// label, texts in three directions, a decorated text, a dimension, a table on another layer, a
// column and a picture.
void buildHousePage(CKovUnit& unit, const std::filesystem::path& pictureFolder)
{
    houseWall(unit, {20, 20}, {220, 20}, 5, {{{15, 15}, {225, 15}}, {{25, 25}, {117, 25}}, {{123, 25}, {215, 25}}});
    houseWall(unit, {220, 20}, {220, 160}, 5, {{{225, 15}, {225, 165}}, {{215, 25}, {215, 155}}});
    houseWall(unit, {220, 160}, {20, 160}, 5, {{{225, 165}, {15, 165}}, {{215, 155}, {123, 155}}, {{117, 155}, {25, 155}}});
    houseWall(unit, {20, 160}, {20, 20}, 5, {{{15, 165}, {15, 15}}, {{25, 155}, {25, 25}}});
    houseWall(unit, {120, 25}, {120, 155}, 3, {{{117, 25}, {117, 155}}, {{123, 25}, {123, 155}}});
    addColumn(unit, {220, 160}, 6, 6, CKovWall::THROUGH_COLUMN);

    CKovLine& floor = addFigure(unit, CKovLine::POLYGON, {{25, 25}, {117, 25}, {117, 155}, {25, 155}});
    floor.MLinebNakanuri = 1;
    floor.MLineNakaColor = 0xC0FFC0;
    floor.MLineColor = 0x008000;
    auto room = std::make_unique<CKovGroup>();
    room->MGrpID = unit.NextGroupId();
    room->MGrpRoom = CKovGroup::ROOM;
    room->MGrpLineID = {floor.MLineID};
    floor.MLineGrpID = room->MGrpID;
    CKovText& label = houseText(unit, "洋室\r\n6.0畳", {45, 70}, 0, "ＭＳ ゴシック");
    label.MTextGrpID = room->MGrpID;
    room->MGrpTextID = {label.MTextID};
    unit.m_Groups.Add(std::move(room));

    houseText(unit, "玄関", {135, 35}, 0, "ＭＳ ゴシック");
    CKovText& turned = houseText(unit, "回転", {140, 140}, 300, "ＭＳ 明朝");
    turned.MTextFontMenu.m_Color = 0x0000C0;
    CKovText& upright = houseText(unit, "縦書き", {200, 40}, 2700, "@ＭＳ ゴシック");
    upright.MTextLayer2 = 1;
    CKovText& decorated = houseText(unit, "袋文字", {20, 172}, 0, "ＭＳ ゴシック", 6);
    decorated.MTextHuchiFlg = 1;
    decorated.MTextHuchiAtsumi = 0.6;
    decorated.MTextFontMenu.m_Color = 0x2080F0;
    decorated.MTextFontMenu.m_BackColor = 0x503000;

    CKovLine& table = addFigure(unit, CKovLine::CIRCLE, {{165, 100}}, {14});
    table.MLinebNakanuri = 1;
    table.MLineNakaColor = 0xF0C080;
    table.MLineColor = 0xA04000;
    table.MLineLineT = 1;
    table.MLineLayer2 = 1;

    CKovLine& dim = addFigure(unit, CKovLine::DIMENSION, {{20, 20}, {220, 20}, {120, 6}}, {1, 1820, 10});
    dim.MLineColor = 0x000000;

    auto image = std::make_unique<CKovImage>();
    image->ImageID = unit.NextImageId();
    image->ImageName = (pictureFolder / "temp2.bmp").string();
    image->IMGImagetype = 2;
    QImage pixels(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) pixels.setPixel(x, y, qRgb(60 + x * 4, 120 + y * 3, 200));
    pixels.save(QString::fromStdString((pictureFolder / "temp2.png").string()));
    image->OffsetX = 270 / 4.0;
    image->OffsetY = 120 / 4.0;
    image->ImageWidth = 40 / 4.0;
    image->ImageHeight = 30 / 4.0;
    unit.m_Images.Add(std::move(image));
}

} // namespace

TEST(RenderGolden, HousePageInEachColourMode)
{
    struct Mode {
        const char* name;
        std::function<void(CPlotInfo&, CKovUnit::DrawEnvironment&)> set;
        bool output = false;
    };
    const Mode modes[] = {
        {"colour", [](CPlotInfo&, CKovUnit::DrawEnvironment&) {}},
        {"black-and-white", [](CPlotInfo& p, CKovUnit::DrawEnvironment&) { p.PlotSirokuro = 1; }},
        {"chic", [](CPlotInfo& p, CKovUnit::DrawEnvironment&) { p.PlotGradation = 3; }},
        {"grey-other-layers", [](CPlotInfo& p, CKovUnit::DrawEnvironment&) { p.laygray = 1; }},
        {"tracing", [](CPlotInfo&, CKovUnit::DrawEnvironment& e) { e.traceMode = true; }},
        // On paper neither greying nor tracing shows.
        {"paper",
         [](CPlotInfo& p, CKovUnit::DrawEnvironment& e) {
             p.laygray = 1;
             e.traceMode = true;
         },
         true},
    };
    for (const Mode& mode : modes) {
        SCOPED_TRACE(mode.name);
        kov::test::TempFolder folder;
        CKovUnit unit;
        buildHousePage(unit, folder.path());
        CPlotInfo plot;
        plot.PlotWallBlack = 4;
        plot.PlotWallColor = 0x80B0E0;
        CKovUnit::DrawEnvironment env;
        mode.set(plot, env);
        const SelectionRecord none;
        const DeviceTransform t = kov::test::uniformTransform(1.0, 4.0, 0, 12);
        const QImage image = render(320, 210, [&](kov::platform::Surface& s) {
            unit.DrawBackgroundImages(s, t, plot, none, false, mode.output, env, true);
            unit.DrawAllByLayer(s, t, plot, none, false, mode.output, env);
        });
        expectMatchesGolden(image, std::string("house-page-") + mode.name);
        unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    }
}
