// A Jw_cad drawing of another program opened from the file menu of the real program on a real X
// server (run under xvfb-run): the menu, the file dialog and the import options are worked with
// keys as a person would, and the plan must show in the page; a copy with hidden layers comes in
// with them hidden, and the layer bar shows one again. Pictures are kept beside the test.

#include "jwcad/JwwFile.h"
#include "ui/UiSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;

class JwOnScreen : public ScreenTest {
protected:
    // ファイル(F) clicked open (there is no window manager to give the keyboard to the window), then
    // 読み込み(I) → JW_CAD(JWW,JWC)読み込み(J)..., the file's name, and OK on the import options.
    // False when the file dialog did not come up.
    static bool openFromTheFileMenu(const fs::path& plan)
    {
        clickAt({40, 8}, 800);
        key("--delay 500 i j", 0);
        // A busy machine shows the dialog late: what is typed before goes nowhere.
        if (windowNamed("JW_CADファイル", 60).empty()) return false;
        QThread::msleep(800);
        run("xdotool type --delay 20 '" + plan.string() + "'");
        key("Return", 1500);
        key("Return", 3000);
        // The import says that the plan's points are not read.
        key("Return", 1000);
        return true;
    }
};

// The share of dark pixels in the middle of the window: the plan's lines and texts.
double inkInMiddle(const QImage& shot)
{
    const QRect middle(shot.width() / 4, shot.height() / 4, shot.width() / 2, shot.height() / 2);
    return double(ink(shot, middle)) / (middle.width() * middle.height());
}

TEST_F(JwOnScreen, ApartmentPlanOpenedFromTheFileMenu)
{
    // The file dialog is typed into: the sample under a plain name (never kept in the project).
    const fs::path plan = m_home / "apartment.jww";
    fs::copy_file(fs::path(KOVIRA_SAMPLES) / "jww" / "Ａマンション平面例.jww", plan);
    const std::string window = start({}, "Kovira");
    ASSERT_FALSE(window.empty());
    const QImage before = grab(m_home / "before.png");

    ASSERT_TRUE(openFromTheFileMenu(plan)) << "the file menu opened no file dialog";
    const QImage after = grab(fs::path(KOVIRA_UI_OUTPUT) / "jww-apartment-plan.png");
    ASSERT_FALSE(after.isNull());
    // The empty page of the start against the plan now drawn in it.
    EXPECT_GT(inkInMiddle(after), inkInMiddle(before) + 0.005);
    const std::string title = run("xdotool getwindowname " + window);
    EXPECT_NE(title.find("Kovira"), std::string::npos) << title;
}

// The apartment plan with its room names and dimensions (layers 6 and 7) moved to layer group 1,
// which the file keeps hidden, and its fittings layer (3) hidden: opened from the file menu, then
// group 1 shown with its state button on the layer bar.
TEST_F(JwOnScreen, HiddenLayersOpenedThenOneGroupShownFromTheLayerBar)
{
    JwwHeader h;
    ASSERT_TRUE(h.ReadJwwFile(fs::path(KOVIRA_SAMPLES) / "jww" / "Ａマンション平面例.jww").ok);
    for (auto& r : h.m_DataList)
        if (r && r->m_nGLayer == 0 && (r->m_nLayer == 6 || r->m_nLayer == 7)) r->m_nGLayer = 1;
    h.m_groups[1].state = 0;
    h.m_groups[0].layerState[3] = 0;
    const fs::path plan = m_home / "hidden.jww";
    {
        const std::vector<std::uint8_t> bytes = h.WriteJwwArchive();
        std::ofstream(plan, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }
    const std::string window = start({}, "Kovira");
    ASSERT_FALSE(window.empty());
    const QImage before = grab(m_home / "before.png");

    ASSERT_TRUE(openFromTheFileMenu(plan)) << "the file menu opened no file dialog";
    const QImage opened = grab(fs::path(KOVIRA_UI_OUTPUT) / "jww-hidden-layers-opened.png");
    ASSERT_FALSE(opened.isNull());
    EXPECT_GT(inkInMiddle(opened), inkInMiddle(before) + 0.003) << "the walls show";

    // The layer bar on the right: what changed there since the start is the captions of the groups
    // that now hold objects ("0." and "1."), the ticked colour button, and the state of group 1,
    // hidden. Group 1's row is the band that changed in two places, number and state; the state
    // button is the right-hand one. The toolbar along the right edge is left out.
    const int left = opened.width() - 165, right = opened.width() - 36;
    auto changed = [&](int x, int y) { return opened.pixel(x, y) != before.pixel(x, y); };
    int cx = -1, cy = -1;
    for (int y = 0; y < opened.height() / 2 && cx < 0;) {
        auto rowChanged = [&](int yy) {
            for (int x = left; x < right; ++x)
                if (changed(x, yy)) return true;
            return false;
        };
        if (!rowChanged(y)) {
            ++y;
            continue;
        }
        const int top = y;
        while (y < opened.height() / 2 && rowChanged(y)) ++y;
        const int bottom = y - 1;
        // Runs of changed columns within the band.
        std::vector<std::pair<int, int>> runs;
        for (int x = left; x < right; ++x) {
            bool any = false;
            for (int yy = top; yy <= bottom && !any; ++yy) any = changed(x, yy);
            if (!any) continue;
            if (!runs.empty() && x - runs.back().second <= 8) runs.back().second = x;
            else runs.emplace_back(x, x);
        }
        if (runs.size() >= 2) {
            cx = (runs.back().first + runs.back().second) / 2;
            cy = (top + bottom) / 2;
        }
    }
    ASSERT_GE(cx, 0) << "group 1's row of the layer bar was not found";
    clickAt({cx, cy}, 1500);
    const QImage shown = grab(fs::path(KOVIRA_UI_OUTPUT) / "jww-hidden-layer-group-shown.png");
    ASSERT_FALSE(shown.isNull());
    // The room names and dimensions are drawn now.
    EXPECT_GT(inkInMiddle(shown), inkInMiddle(opened) + 0.001);
    const std::string title = run("xdotool getwindowname " + window);
    EXPECT_NE(title.find("Kovira"), std::string::npos) << title;
}

} // namespace
