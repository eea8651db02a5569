// The selection and exchange commands on a real X server (run under xvfb-run): a sample drawing
// merged into another from the file menu, a dragged range written to a picture file by the range
// tool, a line drawn and deleted with the tool panel's button (found on the screen by its icon), and the context menu opened with
// the right button; a copy in a drawing with no figure identifier left, refused with the reason.
// Pictures are kept beside the test.

#include "ui/UiSupport.h"

#include "app/DocumentTestSupport.h"
#include "support/EditFixtures.h"

#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;

class EditOnScreen : public ScreenTest {};

TEST_F(EditOnScreen, MergeRangePictureDeleteAndContextMenu)
{
    const fs::path room = sampleCopy("ワンルーム.kvr", "room.kvr");
    // The window is named after the drawing it shows.
    const std::string window = startOnSample("小さな家.kvr", "house.kvr");
    ASSERT_FALSE(window.empty());
    const QImage before = grab(m_home / "before.png");
    ASSERT_FALSE(before.isNull());
    const QRect middle(before.width() / 4, before.height() / 4, before.width() / 2, before.height() / 2);

    // ファイル(F) → 図面合成(G)..., the other sample's name typed into the file dialog.
    clickAt({40, 8}, 800);
    key("g", 1500);
    run("xdotool type --delay 20 '" + room.string() + "'");
    key("Return", 2500);
    const QImage merged = grab(fs::path(KOVIRA_UI_OUTPUT) / "merged-drawing.png");
    EXPECT_GT(ink(merged, middle), ink(before, middle)) << "the merged drawing adds lines";

    // ファイル(F) → 出力(E) → 範囲を決めて出力(H), a drag over the middle, a file name.
    const fs::path png = m_home / "range.png";
    clickAt({40, 8}, 800);
    key("e h", 1200);
    const int x0 = middle.left(), y0 = middle.top(), x1 = middle.right(), y1 = middle.bottom();
    run("xdotool mousemove " + num(x0) + " " + num(y0) + " mousedown 1");
    QThread::msleep(200);
    run("xdotool mousemove " + num((x0 + x1) / 2) + " " + num((y0 + y1) / 2));
    QThread::msleep(200);
    run("xdotool mousemove " + num(x1) + " " + num(y1) + " mouseup 1");
    // A loaded machine may take seconds to show the file dialog and to write the picture: wait for both.
    const std::string dialog = windowNamed("画像の保存", 60);
    ASSERT_FALSE(dialog.empty()) << "the range did not ask for a file name";
    QThread::msleep(800);
    run("xdotool type --delay 20 '" + png.string() + "'");
    run("xdotool key Return");
    for (int waited = 0; waited < 60 && !fs::exists(png); ++waited)
        QThread::msleep(500);
    QThread::msleep(500);
    const QImage range(QString::fromStdString(png.string()));
    ASSERT_FALSE(range.isNull()) << "no picture was written";
    EXPECT_GT(ink(range, range.rect()), 100);
    fs::copy_file(png, fs::path(KOVIRA_UI_OUTPUT) / "range-picture.png", fs::copy_options::overwrite_existing);

    // A line drawn with the line tool (F5) is selected; the tool panel's delete button takes it away.
    key("Escape");
    const QRect strip(x0, y1 - 60, x1 - x0, 40);
    const QImage undrawn = grab(m_home / "undrawn.png");
    key("F5", 500);
    clickAt({x0 + 20, y1 - 40});
    clickAt({x1 - 20, y1 - 40}, 800);
    const QImage drawn = grab(fs::path(KOVIRA_UI_OUTPUT) / "line-selected.png");
    EXPECT_GT(ink(drawn, strip), ink(undrawn, strip) + 50) << "the line shows";
    // In the left part of the screen: the tool panel.
    const QPoint button = findButton(drawn, "delete", QRect(0, 0, 600, drawn.height()));
    ASSERT_GE(button.x(), 0) << "the delete button was not found on the screen";
    clickAt(button, 1000);
    const QImage deleted = grab(fs::path(KOVIRA_UI_OUTPUT) / "line-deleted-by-panel-button.png");
    EXPECT_LT(ink(deleted, strip), ink(drawn, strip) - 50) << "the line went";

    // Select mode, then the context menu on the paper: the commands for no selection.
    key("Escape s", 500);
    run("xdotool mousemove " + num(middle.center().x()) + " " + num(middle.center().y()) + " click 3");
    QThread::msleep(1200);
    const QImage menu = grab(fs::path(KOVIRA_UI_OUTPUT) / "context-menu.png");
    ASSERT_FALSE(menu.isNull());
    key("Escape", 500);
    const std::string title = run("xdotool getwindowname " + window);
    EXPECT_NE(title.find("house.kvr"), std::string::npos) << "the program still shows the drawing: " << title;
}

TEST_F(EditOnScreen, ACopyWithNoIdentifierLeftSaysWhy)
{
    // A line across the sheet's centre in a drawing whose every other figure identifier is taken.
    const fs::path plan = m_home / "full.kvr";
    {
        DocumentRig rig;
        rig.addLine(-2000, 0, 2000, 0);
        takeIdentifiers(rig.doc->m_Unit, kov::model::IdKind::Line, 0);
        ASSERT_TRUE(rig.saveAs(plan));
    }
    const std::string window = start({QString::fromStdString(plan.string())}, "full.kvr");
    ASSERT_FALSE(window.empty());
    const QImage screen = grab(m_home / "start.png");
    ASSERT_FALSE(screen.isNull());
    const int W = screen.width(), H = screen.height();

    // The line taken in a dragged range of select mode, then コピー (Ctrl+C).
    key("Escape s", 500);
    run("xdotool mousemove " + num(W * 25 / 100) + " " + num(H * 30 / 100) + " mousedown 1");
    QThread::msleep(200);
    run("xdotool mousemove " + num(W * 45 / 100) + " " + num(H * 50 / 100));
    QThread::msleep(200);
    run("xdotool mousemove " + num(W * 65 / 100) + " " + num(H * 70 / 100) + " mouseup 1");
    QThread::msleep(800);
    key("ctrl+c", 1500);
    const std::string message = windowNamed("^コビラ６$", 30);
    ASSERT_FALSE(message.empty()) << "the copy gave no reason";
    QThread::msleep(500);
    grab(fs::path(KOVIRA_UI_OUTPUT) / "copy-drawing-full.png");
    key("Return", 800);
    EXPECT_TRUE(windowNamed("^コビラ６$", 2).empty()) << "the message stayed";
}

} // namespace
