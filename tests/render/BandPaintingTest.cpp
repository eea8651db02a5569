// The view's drawing in bands on several threads: the bands cover what is asked exactly, their
// edges keep to the hatch cells' rows and columns, and the benchmark's plans drawn in bands give the
// pixels of one whole render (all but a hundredth of a per cent), with or without the objects'
// boxes measured on all threads.

#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/PainterSurface.h"
#include "render/BandPainting.h"
#include "render/DrawEnvironment.h"
#include "render/ObjectBoxIndex.h"

#include "DrawScenes.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <functional>
#include <memory>
#include <utility>

namespace {

using kov::platform::Brush;
using kov::platform::DeviceRect;
using kov::platform::Surface;
using kov::render::BandPainter;

TEST(BandPainting, BandsCoverTheRectanglesOnRowsOfTheHatchPeriod)
{
    struct Case {
        const char* name;
        std::vector<DeviceRect> rects;
        int threads;
    } cases[] = {
        {"one thread", {{0, 0, 1920, 1080}}, 1},
        {"eight threads", {{0, 0, 1920, 1080}}, 8},
        {"odd edges", {{3, 5, 700, 1001}}, 4},
        {"two rectangles", {{0, 0, 100, 40}, {500, 203, 900, 957}}, 8},
        {"thinner than a band", {{0, 17, 1920, 30}}, 8},
        {"above the origin", {{-50, -333, 50, -1}}, 3},
        {"a scrolled strip", {{0, 980, 1920, 1080}}, 8},
        {"a scrolled column", {{1820, 0, 1920, 1080}}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<DeviceRect> bands = BandPainter::Bands(c.rects, c.threads);
        long long covered = 0, wanted = 0;
        for (const DeviceRect& r : c.rects) wanted += static_cast<long long>(r.width()) * r.height();
        for (const DeviceRect& b : bands) {
            ASSERT_GT(b.height(), 0);
            covered += static_cast<long long>(b.width()) * b.height();
            // Inside one of the rectangles, an edge within it on a multiple of 8.
            bool inside = false;
            for (const DeviceRect& r : c.rects) {
                if (b.left < r.left || b.right > r.right || b.top < r.top || b.bottom > r.bottom) continue;
                inside = true;
                for (const auto& [edge, outer] : {std::pair{b.top, r.top}, std::pair{b.bottom, r.bottom},
                                                  std::pair{b.left, r.left}, std::pair{b.right, r.right}}) {
                    if (edge != outer) {
                        EXPECT_EQ(((edge % 8) + 8) % 8, 0) << edge;
                    }
                }
            }
            EXPECT_TRUE(inside);
            for (const DeviceRect& o : bands) {
                if (&o != &b) {
                    EXPECT_FALSE(o.top < b.bottom && b.top < o.bottom && o.left < b.right && b.left < o.right);
                }
            }
        }
        EXPECT_EQ(covered, wanted);
        if (c.threads == 1) {
            EXPECT_EQ(bands.size(), c.rects.size());
        }
        if (c.threads == 8 && c.rects.front().height() >= 1000) {
            EXPECT_GE(bands.size(), 8u);
        }
        // A strip a scroll brings in is cut across its length, so that each band holds few objects.
        if (c.threads > 1 && c.rects.size() == 1 && c.rects.front().width() >= 8 * c.rects.front().height()) {
            EXPECT_EQ(bands.size(), std::size_t(c.threads));
            for (const DeviceRect& b : bands) EXPECT_EQ(b.height(), c.rects.front().height());
        }
        if (c.threads > 1 && c.rects.size() == 1 && c.rects.front().height() >= 8 * c.rects.front().width()) {
            for (const DeviceRect& b : bands) EXPECT_EQ(b.width(), c.rects.front().width());
        }
    }
}

int differentPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

struct Plan {
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord selection;
    CKovUnit::DrawEnvironment env;
    DeviceTransform transform;
    static constexpr int kWidth = 1920, kHeight = 1080;

    QImage whole()
    {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        kov::platform::PainterSurface surface(image);
        unit.DrawAllByLayer(surface, transform, plot, selection, false, false, env);
        return image;
    }
    QImage inBands(int threads, kov::platform::PainterSurfaceOptions options = {},
                   const kov::render::ObjectBoxIndex* boxes = nullptr)
    {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        BandPainter::SetThreadCount(threads);
        unit.m_Groups.FindIndex(0);
        unit.m_Lines.FindIndex(0);
        const DeviceRect all{0, 0, kWidth, kHeight};
        BandPainter::Paint(image, {&all, 1}, options, [&](Surface& dc) {
            dc.fillRect(*dc.visibleArea(), Brush::solid(0xFFFFFF));
            CKovUnit::DrawEnvironment own = env;
            own.recordPictureRects = false;
            own.boxIndex = boxes;
            unit.DrawAllByLayer(dc, transform, plot, selection, false, false, own);
        });
        BandPainter::SetThreadCount(0);
        return image;
    }
};

TEST(BandPainting, TheBenchmarkPlansInBandsAreTheWholeRender)
{
    struct Case {
        const char* name;
        double extent;
        int figures, texts, walls;
        double zoom;
    } cases[] = {
        {"50,000 objects fitted", 60000, 43000, 5000, 2000, 1.0},
        {"50,000 objects zoomed to a tenth", 60000, 43000, 5000, 2000, std::sqrt(10.0)},
        {"2,000-object mix", 14000, 1500, 350, 150, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Plan plan;
        kov::bench::makeDrawing(plan.unit, c.extent, c.figures, c.texts, c.walls);
        plan.transform = kov::bench::fittedTransform(c.extent, Plan::kWidth, Plan::kHeight, c.zoom);
        const QImage whole = plan.whole();
        for (int threads : {3, 8}) {
            SCOPED_TRACE(threads);
            // Qt starts a slanted edge of a wide line or an outline afresh at the top of each band,
            // which now and then moves a pixel of it by one.
            const QImage bands = plan.inBands(threads);
            EXPECT_LE(differentPixels(bands, whole), Plan::kWidth * Plan::kHeight / 10000);
            // Picking the objects from their boxes, measured on all threads, changes no pixel.
            BandPainter::SetThreadCount(threads);
            const auto onThreads = [](int count, const std::function<void(int)>& task) { BandPainter::Run(count, task); };
            const std::unique_ptr<kov::render::ObjectBoxIndex> boxes =
                kov::render::ObjectBoxIndex::Build(plan.unit, plan.transform, plan.plot, onThreads);
            EXPECT_EQ(differentPixels(plan.inBands(threads, {}, boxes.get()), bands), 0);
        }
    }
}

TEST(BandPainting, RoomsPickedByTheirMembersBoxesAreTheRoomsOfAWholePass)
{
    // The house's floors made rooms, each with a wall: every band goes through every room, and
    // with the boxes it passes over the members off the band without going to them.
    Plan plan;
    kov::bench::makeHouse(plan.unit);
    int wall = 0;
    for (int i = 0; i < plan.unit.m_Lines.GetSize(); ++i) {
        CKovLine& floor = *plan.unit.m_Lines[i];
        if (floor.MLineType != CKovLine::POLYGON || floor.MLineNakaColor != 0xE0F0FF) continue;
        auto room = std::make_unique<CKovGroup>();
        room->MGrpID = plan.unit.NextGroupId();
        room->MGrpRoom = CKovGroup::ROOM;
        room->MGrpLineID = {floor.MLineID};
        floor.MLineGrpID = room->MGrpID;
        CKovWall& w = *plan.unit.m_Walls[wall++];
        room->MGrpWallID = {w.MWallID};
        w.MWallGrpID = room->MGrpID;
        plan.unit.m_Groups.Add(std::move(room));
    }
    ASSERT_EQ(plan.unit.m_Groups.GetSize(), 15);
    plan.unit.m_Walls.FindIndex(0);
    // Zoomed in, so that some rooms lie off the window and most cross band edges.
    plan.transform = kov::bench::fittedTransform(18200, Plan::kWidth, Plan::kHeight, 2.5);
    const QImage whole = plan.whole();
    BandPainter::SetThreadCount(8);
    const auto onThreads = [](int count, const std::function<void(int)>& task) { BandPainter::Run(count, task); };
    const std::unique_ptr<kov::render::ObjectBoxIndex> boxes =
        kov::render::ObjectBoxIndex::Build(plan.unit, plan.transform, plan.plot, onThreads);
    const QImage picked = plan.inBands(8, {}, boxes.get());
    EXPECT_EQ(differentPixels(picked, plan.inBands(8)), 0);
    EXPECT_LE(differentPixels(picked, whole), Plan::kWidth * Plan::kHeight / 10000);
    // The floors' colour shows: the rooms were drawn, not all passed over.
    int floorPixels = 0;
    for (int y = 0; y < Plan::kHeight; y += 4)
        for (int x = 0; x < Plan::kWidth; x += 4) floorPixels += picked.pixel(x, y) == qRgb(0xFF, 0xF0, 0xE0);
    EXPECT_GT(floorPixels, 1000);
}

TEST(BandPainting, HatchesKeepToThePatternOriginInEveryBand)
{
    // A hatched square across band edges: its cells lie where the pattern origin puts them.
    Plan plan;
    auto f = std::make_unique<CKovLine>();
    f->MLineID = plan.unit.NextLineId();
    f->MLineType = CKovLine::RECTANGLE;
    f->MLinePnt = {{-900, -500}, {900, -500}, {900, 500}, {-900, 500}};
    f->MLinebHach = 1;
    f->MLineHachT = 5;
    f->MLineGradiation = 0;
    plan.unit.m_Lines.Add(std::move(f));
    plan.transform = kov::bench::fittedTransform(2000, Plan::kWidth, Plan::kHeight, 1.0);
    plan.transform.originX = Plan::kWidth / 2;
    plan.transform.originY = Plan::kHeight / 2;
    kov::platform::PainterSurfaceOptions moved;
    moved.patternOrigin = {3, 5};
    const QImage anchored = plan.inBands(8, moved);
    const QImage plain = plan.inBands(8);
    // The same cells three pixels right and five down.
    int same = 0, inside = 0;
    for (int y = 300; y < 700; ++y)
        for (int x = 400; x < 1500; ++x, ++inside) same += anchored.pixel(x + 3, y + 5) == plain.pixel(x, y);
    EXPECT_EQ(same, inside);
    EXPECT_GT(differentPixels(anchored, plain), 1000);
}

} // namespace
