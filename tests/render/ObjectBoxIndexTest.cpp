// The boxes the view keeps of a drawing's objects: after every kind of edit, the index carried
// over from the drawing before holds what measuring the new drawing afresh gives; it serves only
// the scales it was made for; and a pass that picks from it draws what a pass without it draws.

#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/PainterSurface.h"
#include "render/DrawEnvironment.h"
#include "render/ObjectBoxIndex.h"

#include "DrawScenes.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <functional>
#include <memory>

namespace {

using kov::render::ObjectBoxIndex;

struct Drawing {
    CKovUnit unit;
    CPlotInfo plot;
    DeviceTransform transform = kov::bench::fittedTransform(14000, 1920, 1080, 2.0);
    Drawing() { kov::bench::makeDrawing(unit, 14000, 1500, 350, 150); }
};

void expectSameEntries(const ObjectBoxIndex& a, const ObjectBoxIndex& b)
{
    EXPECT_TRUE(a.Lines() == b.Lines());
    EXPECT_TRUE(a.Walls() == b.Walls());
    EXPECT_TRUE(a.Texts() == b.Texts());
}

TEST(ObjectBoxIndex, CarriedOverAnEditItHoldsTheBoxesOfTheNewDrawing)
{
    struct Case {
        const char* name;
        std::function<void(CKovUnit&)> edit;
    } cases[] = {
        {"nothing changed", [](CKovUnit&) {}},
        {"a figure moved", [](CKovUnit& u) { for (CDbPoint& p : u.m_Lines[700]->MLinePnt) p.x += 3000; }},
        {"a figure put on another layer", [](CKovUnit& u) { u.m_Lines[3]->MLineLayer2 = 15; }},
        {"a figure added last",
         [](CKovUnit& u) {
             kov::bench::Lcg rnd;
             kov::bench::addFigure(u, rnd, 500, 500, 300, 2);
         }},
        {"a figure inserted first",
         [](CKovUnit& u) {
             auto f = std::make_unique<CKovLine>(*std::as_const(u.m_Lines)[9]);
             f->MLineID = u.NextLineId();
             u.m_Lines.InsertAt(0, std::move(f));
         }},
        {"figures deleted", [](CKovUnit& u) { u.m_Lines.DeleteIf([](const CKovLine& f) { return f.MLineID % 7 == 0; }); }},
        {"the drawing order changed", [](CKovUnit& u) { u.m_Lines.MoveItem(10, 1200); }},
        {"a wall moved", [](CKovUnit& u) { u.m_Walls[40]->MWallPntA.y += 900; }},
        {"a text rewritten", [](CKovUnit& u) { u.m_Texts[5]->MTextstr = "納戸と書斎と廊下"; }},
        {"a text deleted and one added",
         [](CKovUnit& u) {
             u.m_Texts.DeleteAt(100);
             kov::bench::addText(u, 100, 100, 9, 3);
         }},
        {"everything cleared", [](CKovUnit& u) { u.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        const std::unique_ptr<ObjectBoxIndex> before = ObjectBoxIndex::Build(d.unit, d.transform, d.plot);
        CKovUnit after;
        after.CopyFrom(d.unit);  // shares every object, as the view's copy does
        c.edit(after);
        const std::unique_ptr<ObjectBoxIndex> carried = before->Updated(d.unit, after, d.transform, d.plot);
        ASSERT_TRUE(carried);
        EXPECT_TRUE(carried->Serves(after, d.transform, d.plot));
        expectSameEntries(*carried, *ObjectBoxIndex::Build(after, d.transform, d.plot));
    }
}

TEST(ObjectBoxIndex, ServesOnlyTheScalesAndPensItWasMadeFor)
{
    Drawing d;
    const std::unique_ptr<ObjectBoxIndex> index = ObjectBoxIndex::Build(d.unit, d.transform, d.plot);
    DeviceTransform scrolled = d.transform;
    scrolled.originX += 300;
    scrolled.originY -= 77;
    EXPECT_TRUE(index->Serves(d.unit, scrolled, d.plot)) << "a scroll keeps the boxes";

    DeviceTransform zoomed = d.transform;
    zoomed.scaleX[0] *= 1.5;
    EXPECT_FALSE(index->Serves(d.unit, zoomed, d.plot));
    EXPECT_FALSE(index->Updated(d.unit, d.unit, zoomed, d.plot));
    CPlotInfo wider = d.plot;
    wider.PlotWallWide *= 3;
    EXPECT_FALSE(index->Serves(d.unit, d.transform, wider));

    // Another drawing of other sizes.
    Drawing other;
    kov::bench::addText(other.unit, 0, 0, 1, 0);
    EXPECT_FALSE(index->Serves(other.unit, d.transform, d.plot));
}

TEST(ObjectBoxIndex, PassesPickingFromTheIndexDrawTheSamePixels)
{
    // The benchmark's plans, whole and in a strip a scroll brings into view, with and without the
    // boxes, scrolled since the index was made.
    struct Case {
        const char* name;
        double extent;
        int figures, texts, walls;
        double zoom;
        QRect strip;
    } cases[] = {
        {"50,000 objects fitted", 60000, 43000, 5000, 2000, 1.0, QRect(0, 0, 1920, 1080)},
        {"zoomed to a tenth, a strip", 60000, 43000, 5000, 2000, std::sqrt(10.0), QRect(0, 980, 1920, 100)},
        {"2,000-object mix, a corner", 14000, 1500, 350, 150, 1.0, QRect(1500, 0, 420, 300)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        kov::bench::makeDrawing(unit, c.extent, c.figures, c.texts, c.walls);
        const CPlotInfo plot;
        const SelectionRecord selection;
        DeviceTransform t = kov::bench::fittedTransform(c.extent, 1920, 1080, c.zoom);
        const std::unique_ptr<ObjectBoxIndex> index = ObjectBoxIndex::Build(unit, t, plot);
        t.originY -= 100;
        auto draw = [&](const ObjectBoxIndex* boxes) {
            QImage image(1920, 1080, QImage::Format_RGB32);
            image.fill(Qt::white);
            kov::platform::PainterSurface surface(image);
            surface.setClipRect({c.strip.left(), c.strip.top(), c.strip.right() + 1, c.strip.bottom() + 1});
            CKovUnit::DrawEnvironment env;
            env.boxIndex = boxes;
            unit.DrawAllByLayer(surface, t, plot, selection, false, false, env);
            return image;
        };
        EXPECT_TRUE(draw(index.get()) == draw(nullptr));
    }
}

} // namespace
