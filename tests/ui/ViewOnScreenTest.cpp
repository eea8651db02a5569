// The real program on a real X server (run under xvfb-run): started with a saved drawing on its
// command line, its window grabbed from the screen, then zoomed with a both-button drag and
// scrolled with the wheel. The drawing must show fitted in the page, and each gesture must change
// the picture as the page geometry says.

#include "app/DocumentTestSupport.h"

#include "model/KovUnit.h"

#include "ui/UiSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using kov::test::DocumentRig;

// A house of 9100 × 6370 mm about the sheet's centre, at 1:100 on A4 landscape, without the grid:
// outer walls, two inner walls, a column, room names and a dimension.
fs::path saveHouse(DocumentRig& rig)
{
    kov::app::CKoviraDoc& doc = *rig.doc;
    CKovUnit& unit = doc.m_Unit;
    CPlotInfo& plot = doc.m_PlotInfo;
    doc.m_Grid.visible = 0;
    const double l = -4550, r = 4550, t = -3185, b = 3185;
    auto wall = [&](CDbPoint a, CDbPoint c) {
        const int id = unit.AddWall(a, c, 60.0, plot);
        unit.ResetWallOutline(id);
    };
    wall({l, t}, {r, t});
    wall({r, t}, {r, b});
    wall({r, b}, {l, b});
    wall({l, b}, {l, t});
    wall({-910, t}, {-910, b});
    wall({-910, 455}, {r, 455});
    unit.AddColumn({l, t}, {l, t}, 60.0, plot);
    unit.JoinWalls(0);
    unit.AddDimensionLine(plot, {{l, b}, {r, b}}, {0, b + 900});
    for (auto [text, x, y] : {std::tuple{"ＬＤＫ", 1800.0, -1400.0}, {"和室", -2700.0, 0.0}, {"洋室", 1800.0, 1800.0}}) {
        auto label = std::make_unique<CKovText>();
        label->MTextID = unit.NextTextId();
        label->MTextstr = text;
        label->MTextFontMenu.m_size = 4;
        label->MTextpnt = {x, y};
        unit.m_Texts.Add(std::move(label));
    }
    const fs::path path = rig.file("house.kvr");
    EXPECT_TRUE(rig.saveAs(path));
    return path;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < left; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

bool isDark(QRgb c)
{
    return qRed(c) + qGreen(c) + qBlue(c) < 240;
}

// The box of the drawing's dark pixels inside the area (the walls' edges, lines and texts).
Box darkBox(const QImage& image, QRect area)
{
    Box box;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (isDark(image.pixel(x, y))) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// The upward shift d (1 .. band top) that carries the band of `before` to after(x, y - d), allowing a
// few stray pixels; nothing when no shift does.
std::optional<int> verticalShift(const QImage& before, const QImage& after, const QRect& band)
{
    for (int d = 1; d <= band.top(); ++d) {
        int differing = 0;
        for (int y = band.top(); y <= band.bottom() && differing <= 8; ++y)
            for (int x = band.left(); x <= band.right() && differing <= 8; ++x)
                if (after.pixel(x, y - d) != before.pixel(x, y)) ++differing;
        if (differing <= 8) return d;
    }
    return std::nullopt;
}

// The view inside the main window's picture: the frame's bars surround it, and at zoom 1 the
// workspace grey shows in the view's margins on every side of the page.
QRect viewArea(const QImage& window)
{
    // The bars hold a few pixels of that grey too, but only the view has long runs of it: the
    // longest run in any row spans the view, the longest run in a column of its margin its height.
    const QRgb workspace = qRgb(0xAB, 0xAB, 0xAB);
    auto longest = [&](bool rows, int fixed, int length, int& from, int& to) {
        int best = 0, start = -1;
        for (int i = 0; i <= length; ++i) {
            const bool grey = i < length && (rows ? window.pixel(i, fixed) : window.pixel(fixed, i)) == workspace;
            if (grey && start < 0) start = i;
            if (!grey && start >= 0) {
                if (i - start > best) {
                    best = i - start;
                    from = start;
                    to = i - 1;
                }
                start = -1;
            }
        }
        return best;
    };
    int left = 0, right = -1, bestRow = 0;
    for (int y = 0; y < window.height(); ++y) {
        int a = 0, b = -1;
        if (longest(true, y, window.width(), a, b) > bestRow) {
            bestRow = b - a + 1;
            left = a;
            right = b;
        }
    }
    int top = 0, bottom = -1;
    if (bestRow == 0 || longest(false, left + 3, window.height(), top, bottom) == 0) return window.rect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

class ProgramOnScreen : public kov::test::ScreenTest {
protected:
    void TearDown() override
    {
        stop();
        ScreenTest::TearDown();
    }

    // The program on the drawing, without the library of the source tree, its window at a known
    // size and place, so that the page geometry is known.
    void start(const fs::path& drawing)
    {
        ASSERT_FALSE(ScreenTest::start({QString::fromStdString(drawing.string())}, "house.kvr", environment(false)).empty());
        xdotool("windowmove " + m_window + " 0 0 windowsize --sync " + m_window + " 1024 720");
        settle();
    }

    // Lets the program paint, then grabs its window from the X server.
    QImage grabView(const fs::path& file)
    {
        settle();
        const QImage image = kov::test::grab(file, m_window);
        return m_view.isValid() ? image.copy(m_view) : image;
    }

    void settle() { QThread::msleep(1500); }

    void xdotool(const std::string& args) { kov::test::run("xdotool " + args); }
    // A pointer position in the view's picture, moved to the window's.
    std::string at(int x, int y) const { return std::to_string(x + m_view.left()) + " " + std::to_string(y + m_view.top()); }

    QRect m_view; // the view's part of the window's picture; invalid until the first grab
};

TEST_F(ProgramOnScreen, DrawingShowsFittedThenZoomsAndScrolls)
{
    DocumentRig rig;
    const fs::path drawing = saveHouse(rig);
    start(drawing);

    const QImage whole = grabView(rig.file("fitted.png"));
    ASSERT_FALSE(whole.isNull());
    if (const char* keep = std::getenv("KOVIRA_SCREENSHOT")) whole.save(keep);
    m_view = viewArea(whole);
    const QImage fitted = whole.copy(m_view);
    const int w = fitted.width(), h = fitted.height();
    ASSERT_GT(w, 200);
    ASSERT_GT(h, 200);

    // The page: A4 landscape fitted with 10-pixel margins, centred, with a 2-pixel black frame on
    // the workspace grey.
    const double aspect = 210.0 / 297.0;
    const double aw = w - 20, ah = h - 20;
    QRect page;
    if (ah / aw > aspect) {
        const int ph = int(aspect * aw);
        page = QRect(10, 10 + int(ah - ph) / 2, int(aw), ph);
    } else {
        const int pw = int(ah / aspect);
        page = QRect(10 + int(aw - pw) / 2, 10, pw, int(ah));
    }
    const QRgb workspace = qRgb(0xAB, 0xAB, 0xAB);
    EXPECT_EQ(fitted.pixel(page.left() - 5, h / 2), workspace);
    EXPECT_EQ(fitted.pixel(page.left() - 1, h / 2), qRgb(0, 0, 0));
    EXPECT_EQ(fitted.pixel(page.left() - 2, h / 2), qRgb(0, 0, 0));
    EXPECT_EQ(fitted.pixel(page.left() + 3, page.top() + 3), qRgb(0xFF, 0xFF, 0xFF));

    // The house: 91 mm of paper at 1:100, centred on the page.
    const double pxPerMm = double(page.width()) / 297.0;
    const QRect inside = page.adjusted(4, 4, -4, -60); // clear of the frame and the colour label
    const Box house = darkBox(fitted, inside);
    ASSERT_FALSE(house.empty()) << "nothing of the drawing is visible";
    const double expectedWidth = 91.0 * pxPerMm;
    EXPECT_NEAR(house.width(), expectedWidth + 2 * 0.6 * pxPerMm, 6);
    EXPECT_NEAR((house.left + house.right) / 2.0, page.center().x(), 4);
    EXPECT_LT(house.top, page.center().y() - 0.3 * 63.7 * pxPerMm);

    // Both buttons pressed in the middle and dragged 130 pixels: zoom 2 about the press point.
    const int cx = page.center().x(), cy = page.center().y();
    xdotool("mousemove --window " + m_window + " " + at(cx, cy));
    xdotool("mousedown 1");
    xdotool("mousedown 3");
    for (int step = 1; step <= 13; ++step)
        xdotool("mousemove --window " + m_window + " " + at(cx + 10 * step, cy));
    xdotool("mouseup 3");
    xdotool("mouseup 1");
    xdotool("mousemove --window " + m_window + " " + at(w - 30, 20)); // cross hair aside
    const QImage zoomed = grabView(rig.file("zoomed.png"));
    const Box big = darkBox(zoomed, QRect(0, 0, w - 30, h - 30)); // clear of the scroll bars
    ASSERT_FALSE(big.empty());
    EXPECT_NEAR(double(big.width()) / house.width(), 2.0, 0.1);
    EXPECT_NEAR((big.left + big.right) / 2.0, cx, 20);
    EXPECT_NE(zoomed.pixel(page.left() - 5, h / 2), workspace) << "the page now fills the window";

    // The wheel scrolls down: the picture moves up as a whole, nothing redrawn differently.
    xdotool("mousemove --window " + m_window + " " + at(cx, cy));
    xdotool("click 5");
    xdotool("mousemove --window " + m_window + " " + at(w - 30, 20));
    // Kept: the strip a scroll paints meets the pixels moved along.
    const QImage scrolled = grabView(fs::path(KOVIRA_UI_OUTPUT) / "view-scrolled.png");
    const std::optional<int> shift = verticalShift(zoomed, scrolled, QRect(0, h / 2, w - 60, h / 4));
    ASSERT_TRUE(shift.has_value()) << "the scrolled picture is not the zoomed one moved";
    EXPECT_GT(*shift, 10);
}

} // namespace
