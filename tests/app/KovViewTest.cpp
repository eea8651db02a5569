// The drawing view on the offscreen platform: the page fitted with its surround and frame, the
// back buffer rendered only when the drawing or the view changes, and an empty page handled.

#include "DocumentTestSupport.h"

#include "app/KovView.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

using kov::app::CKoviraView;
using kov::test::DocumentRig;

const QRgb kWorkspace = qRgb(0xAB, 0xAB, 0xAB);
const QRgb kBlack = qRgb(0, 0, 0);

struct ViewRig {
    DocumentRig rig;
    CKoviraView view{*rig.doc, nullptr};

    explicit ViewRig(int w = 640, int h = 480)
    {
        rig.doc->m_Grid.visible = 0;
        rig.profile.WriteProfileInt("KOV_T_PlotMenu", "app_modeview", 0);
        view.resize(w, h);
        view.show();
        QApplication::processEvents();
        view.OnInitialUpdate();
    }
};

TEST(View, PageIsFittedWithItsFrameOnTheWorkspace)
{
    ViewRig v(640, 480); // A4 landscape in 620 × 460 px: the width fits, the height follows
    v.rig.addLine(-5000, 0, 5000, 0);
    v.view.RedrawAll();
    const QImage& b = v.view.backBuffer();
    ASSERT_EQ(b.size(), QSize(640, 480));
    const DeviceRect page = v.view.m_geo.m_rcPage;
    const int ph = int(210.0 / 297.0 * 620);
    EXPECT_EQ(page.left, 10);
    EXPECT_EQ(page.width(), 620);
    EXPECT_EQ(page.top, 10 + (460 - ph) / 2);
    EXPECT_EQ(page.height(), ph);
    EXPECT_EQ(b.pixel(page.left - 5, 240), kWorkspace);
    EXPECT_EQ(b.pixel(page.left - 1, 240), kBlack);
    EXPECT_EQ(b.pixel(page.left - 2, 240), kBlack);
    EXPECT_EQ(b.pixel(page.left - 3, 240), kWorkspace);
    EXPECT_EQ(b.pixel(page.right, 240), kBlack);
    EXPECT_EQ(b.pixel(page.right + 1, 240), kBlack);
    EXPECT_EQ(b.pixel(320, page.top - 1), kBlack);
    EXPECT_EQ(b.pixel(320, page.bottom + 1), kBlack);
    // The 10 m line at 1:100 spans 100 mm of the 297 mm page, through its centre.
    const int y = (page.top + page.bottom) / 2;
    const int half = int(50 * page.width() / 297.0);
    EXPECT_EQ(b.pixel(320, y), kBlack);
    EXPECT_EQ(b.pixel((page.left + page.right) / 2 - half + 2, y), kBlack);
    EXPECT_NE(b.pixel((page.left + page.right) / 2 + half + 3, y), kBlack);
}

TEST(View, PointerMovesRepaintOverlaysWithoutRenderingTheDrawing)
{
    ViewRig v;
    v.rig.addLine(-5000, 0, 5000, 0);
    v.view.RedrawAll();
    const int renders = v.view.renderCount();
    const QImage before = v.view.backBuffer();
    for (int x = 100; x < 400; x += 50) {
        v.view.m_pxCurrent = {x, 200};
        v.view.m_nFirstMove = 2;
        const QImage frame = v.view.composeFrame();
        EXPECT_EQ(frame.pixel(x + 5, 200), qRgb(0xFF, 0x7D, 0x00)) << "cross hair at " << x; // 0x007DFF
    }
    EXPECT_EQ(v.view.renderCount(), renders);
    EXPECT_EQ(v.view.backBuffer(), before) << "overlays never reach the back buffer";
}

TEST(View, AResizeRendersOnceWithTheNewPage)
{
    ViewRig v;
    const int renders = v.view.renderCount();
    v.view.resize(800, 400);
    QApplication::processEvents();
    EXPECT_EQ(v.view.renderCount(), renders + 1);
    EXPECT_EQ(v.view.backBuffer().size(), QSize(800, 400));
    EXPECT_EQ(v.view.m_geo.m_rcPage.height(), 380);
    EXPECT_FALSE(v.view.m_geo.m_bPageChanged);
}

TEST(View, AnEmptyPageIsNeitherRenderedNorZoomed)
{
    ViewRig v;
    v.rig.doc->m_PlotInfo.PlotPaperSize = 99; // no paper of that code (a damaged file)
    const int renders = v.view.renderCount();
    v.view.RedrawAll();
    v.view.ZoomOut();
    v.view.FitAll();
    EXPECT_EQ(v.view.renderCount(), renders);
    EXPECT_EQ(v.view.backBuffer().pixel(320, 240), kWorkspace);
    EXPECT_EQ(v.view.m_geo.m_dZoom, 1.0);
    // A window without extent (minimised) is not rendered either.
    v.rig.doc->m_PlotInfo.PlotPaperSize = 0;
    v.view.resize(0, 0);
    QApplication::processEvents();
    v.view.RedrawAll();
    EXPECT_EQ(v.view.renderCount(), renders);
    EXPECT_FALSE(v.view.WindowTransform().has_value());
}

TEST(View, ZoomShowsPartOfThePageAndFitAllReturnsToIt)
{
    ViewRig v;
    v.view.m_geo.m_dZoom = 3.0;
    v.view.m_geo.UpdateScrollSizes();
    v.view.RedrawAll();
    // Zoomed, the window shows the inside of the page: no surround, no frame.
    EXPECT_NE(v.view.backBuffer().pixel(2, 240), kWorkspace);
    v.view.FitAll();
    EXPECT_EQ(v.view.m_geo.m_dZoom, 1.0);
    EXPECT_FALSE(v.view.m_geo.hasScrollSize());
    EXPECT_EQ(v.view.backBuffer().pixel(2, 240), kWorkspace);
}

TEST(View, UndoAndRedoCommandsRedrawTheRestoredDrawing)
{
    ViewRig v;
    v.rig.addLine(-5000, 0, 5000, 0);
    v.view.RedrawAll();
    v.view.PushUndo();
    v.rig.doc->m_Unit.DeleteLine(2);
    v.view.RedrawAll();
    const DeviceRect page = v.view.m_geo.m_rcPage;
    const int y = (page.top + page.bottom) / 2;
    EXPECT_NE(v.view.backBuffer().pixel(320, y), kBlack);
    v.view.OnUndo();
    EXPECT_EQ(v.view.backBuffer().pixel(320, y), kBlack);
    v.view.m_bPlacing = 1;
    v.view.OnRedo(); // redo is not refused by placing; undo is
    EXPECT_NE(v.view.backBuffer().pixel(320, y), kBlack);
    v.view.OnUndo();
    EXPECT_NE(v.view.backBuffer().pixel(320, y), kBlack);
}

} // namespace

namespace {

TEST(View, TemplateDrawingFillsAnEmptyDocumentAndABrokenOneIsSwitchedOff)
{
    DocumentRig author;
    author.addLine(0, 0, 910, 0);
    const std::filesystem::path templ = author.file("template.kvr");
    ASSERT_TRUE(author.saveAs(templ));
    const std::filesystem::path broken = author.file("broken.kvr");
    kov::test::writeBytes(broken, {'n', 'o', 't', ' ', 'a', ' ', 'd', 'r', 'a', 'w', 'i', 'n', 'g'});

    struct Case {
        const char* name;
        std::filesystem::path file;
        std::size_t lines;
        int formatAfter;
        bool told;
    };
    const Case cases[] = {
        {"template", templ, 1, 1, false},
        {"missing file: passed over", author.file("none.kvr"), 0, 1, false},
        {"broken file", broken, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewRig v;
        v.rig.profile.WriteProfileInt("KOV_T_PlotMenu", "config_format", 1);
        v.rig.profile.WriteProfileString("KOV_T_PlotMenu", "config_formatpath", c.file.string());
        // The document's reader says what failed; the view then says the template is switched off.
        if (c.told) v.rig.questions.acknowledge("ファイル読み取り失敗").acknowledge("フォ－マットファイルが壊れているか見つかりません");
        v.view.OnInitialUpdate();
        EXPECT_EQ(v.rig.doc->m_Unit.m_Lines.size(), c.lines);
        EXPECT_EQ(v.rig.profile.GetProfileInt("KOV_T_PlotMenu", "config_format", -1), c.formatAfter);
    }
}

} // namespace
