// Composite figures and walls rendered through the QPainter surface and compared with small
// golden pictures in tests/data/render, channel by channel with a tolerance.
// KOVIRA_REGENERATE_GOLDEN=1 rewrites the pictures instead (look at them before keeping them).

#include "DrawerTestSupport.h"

#include "platform/PainterSurface.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <functional>

using namespace kov::test::drawers;

namespace {

constexpr int kChannelTolerance = 16;

QImage render(int width, int height, const std::function<void(kov::platform::Surface&)>& draw)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        kov::platform::PainterSurface surface(image);
        draw(surface);
    }
    return image;
}

bool regenerating()
{
    const char* flag = std::getenv("KOVIRA_REGENERATE_GOLDEN");
    return flag != nullptr && std::string(flag) == "1";
}

void expectMatchesGolden(const QImage& actual, const std::string& name)
{
    const std::filesystem::path file = kov::test::testData("render/" + name + ".png");
    if (regenerating()) {
        std::filesystem::create_directories(file.parent_path());
        ASSERT_TRUE(actual.save(QString::fromStdString(file.string()), "PNG")) << file;
        return;
    }
    QImage golden(QString::fromStdString(file.string()));
    ASSERT_FALSE(golden.isNull()) << "no golden picture " << file << " (KOVIRA_REGENERATE_GOLDEN=1 makes it)";
    golden = golden.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(golden.size(), actual.size()) << name;
    int bad = 0;
    std::string first;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), g = golden.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(g)), std::abs(qGreen(a) - qGreen(g)),
                                    std::abs(qBlue(a) - qBlue(g))});
            if (d <= kChannelTolerance) continue;
            if (bad++ == 0)
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ") is " + hex(a) + ", golden " + hex(g);
        }
    }
    EXPECT_EQ(bad, 0) << name << ": " << bad << " pixels differ, first at " << first;
    if (bad != 0) actual.save(QString::fromStdString((std::filesystem::temp_directory_path() / (name + "-actual.png")).string()));
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
