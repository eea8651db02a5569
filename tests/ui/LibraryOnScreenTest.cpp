// The real program on an X server (run under xvfb-run), started as scripts/run starts it, with the
// library from the source tree: a room drawn with the rectangular-room tool, a door put into its
// wall from the fittings palette with three clicks, straight stairs, a sofa and a bath put down
// from the parts palette, the drawing saved with Ctrl+S and read back. Everything is reached by pointer and keys
// through the tool panel's buttons and the palettes' cells, found on the screen.

#include "app/DocumentTestSupport.h"

#include "building/PartLibrary.h"
#include "model/KovUnit.h"

#include "ui/UiSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using namespace kov::test;

// The pointer rests on the cell or button before the click, as a person's would.
void hoverAndClick(QPoint p)
{
    run("xdotool mousemove " + num(p.x()) + " " + num(p.y()));
    QThread::msleep(150);
    run("xdotool click 1");
    QThread::msleep(350);
}

// A button of the tool panel, in the left quarter of the screen.
QPoint findTool(const QImage& shot, const std::string& name)
{
    return findButton(shot, name, QRect(0, 0, shot.width() / 4, shot.height()));
}

bool dark(QRgb p) { return qRed(p) + qGreen(p) + qBlue(p) < 200; }

// The first thumbnail cell of a palette's picture below `fromY`: the top edge of its black box, a
// dark run at least `side` pixels long. Its top-left corner, or (-1, -1).
QPoint firstCell(const QImage& palette, int fromY, int side)
{
    for (int y = fromY; y < palette.height(); ++y) {
        int run = 0;
        for (int x = 0; x < palette.width(); ++x) {
            run = dark(palette.pixel(x, y)) ? run + 1 : 0;
            if (run >= side) return {x - run + 1, y};
        }
    }
    return {-1, -1};
}

// The pitch from one cell to the next, across (from the first cell's right edge on) and down (from
// its bottom edge on): where the next black box starts.
QPoint cellPitch(const QImage& palette, QPoint first, int side)
{
    QPoint pitch(-1, -1);
    int run = 0;
    for (int x = first.x() + side + 2; x < palette.width() && pitch.x() < 0; ++x) {
        run = dark(palette.pixel(x, first.y())) ? run + 1 : 0;
        if (run >= side) pitch.setX(x - run + 1 - first.x());
    }
    // Below the box's own bottom edge: down its left edge while it is dark.
    int bottom = first.y() + 1;
    while (bottom + 1 < palette.height() && dark(palette.pixel(first.x(), bottom + 1))) ++bottom;
    for (int y = bottom + 2; y < palette.height() && pitch.y() < 0; ++y) {
        int n = 0;
        for (int x = first.x(); x < first.x() + side && x < palette.width(); ++x)
            if (dark(palette.pixel(x, y))) ++n;
        if (n >= side - 2) pitch.setY(y - first.y());
    }
    return pitch;
}

// The chosen row of a palette's folder tree: the rectangle of its highlight, or an empty one.
QRect highlightedRow(const QImage& palette)
{
    int top = -1, bottom = -1, left = palette.width(), right = -1;
    for (int y = 0; y < palette.height(); ++y)
        for (int x = 0; x < palette.width(); ++x) {
            const QRgb p = palette.pixel(x, y);
            if (qBlue(p) > 150 && qRed(p) < 110 && qBlue(p) - qRed(p) > 80) {
                if (top < 0) top = y;
                bottom = y;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Dark pixels inside a rectangle: a thumbnail with a drawing has some.
int darkPixels(const QImage& image, QRect r)
{
    int n = 0;
    for (int y = std::max(0, r.top()); y <= std::min(image.height() - 1, r.bottom()); ++y)
        for (int x = std::max(0, r.left()); x <= std::min(image.width() - 1, r.right()); ++x)
            if (dark(image.pixel(x, y))) ++n;
    return n;
}

class LibraryOnScreen : public ScreenTest {};

TEST_F(LibraryOnScreen, ADoorStairsASofaAndABath)
{
    const fs::path library = KOVIRA_DATA_SOURCE;
    // The palettes open on the hinged doors and on the furniture folder, as they would after a
    // person chose them once before.
    const std::vector<std::string> folders = kov::building::ListLibraryFolders(library / "data");
    const auto furniture = std::find(folders.begin(), folders.end(), "家具");
    const auto sanitary = std::find(folders.begin(), folders.end(), "衛生機器");
    ASSERT_NE(furniture, folders.end());
    ASSERT_NE(sanitary, folders.end());
    writeSettings("[KOV_T_UTILITY]\ntateg_selectidx=1\ntateg_nowpage=0\nbuhin_selectidx=" +
                  std::to_string(furniture - folders.begin()) + "\nbuhin_selectidx_s=0\nbuhin_nowpage=0\n");

    // An empty drawing of our own to open and save.
    const fs::path plan = m_home / "plan.kvr";
    {
        kov::test::DocumentRig rig;
        ASSERT_TRUE(rig.saveAs(plan));
    }
    const std::string window = start({QString::fromStdString(plan.string())}, "plan.kvr");
    ASSERT_FALSE(window.empty());
    const QImage screen = grab(m_home / "start.png");
    ASSERT_FALSE(screen.isNull());
    const int W = screen.width(), H = screen.height();

    // A room from two corners in the left part of the drawing area.
    const QPoint roomTool = findTool(screen, "rectroom");
    ASSERT_GE(roomTool.x(), 0) << "the tool panel's rectangular-room button was not found";
    hoverAndClick(roomTool);
    const QPoint a(W * 22 / 100, H * 30 / 100), b(W * 46 / 100, H * 62 / 100);
    hoverAndClick(a);
    hoverAndClick(b);

    // The fittings palette from its tool button, on the hinged doors; its first cell, then three
    // clicks on the room's top wall: the two ends of the opening and the room's side.
    const QPoint fittingTool = findTool(grab(m_home / "panel.png"), "fittings");
    ASSERT_GE(fittingTool.x(), 0) << "the tool panel's fittings button was not found";
    hoverAndClick(fittingTool);
    const std::string fittings = windowNamed("建具配置");
    ASSERT_FALSE(fittings.empty()) << "the fittings button opened no palette";
    QThread::msleep(800);
    QRect g = windowGeometry(fittings);
    const QImage fittingsShot = grab(m_home / "fittings.png", fittings);
    const QPoint cell = firstCell(fittingsShot, 125, 80);
    ASSERT_GE(cell.x(), 0) << "no thumbnail cell on the fittings palette";
    EXPECT_GT(darkPixels(fittingsShot, QRect(cell + QPoint(3, 3), QSize(74, 50))), 20)
        << "the first hinged door shows no drawing: the library was not found";
    hoverAndClick(QPoint(g.x() + cell.x() + 40, g.y() + cell.y() + 30));
    const int wallY = a.y();
    const int span = b.x() - a.x();
    hoverAndClick(QPoint(a.x() + span / 4, wallY));
    hoverAndClick(QPoint(a.x() + span / 2, wallY));
    hoverAndClick(QPoint(a.x() + span * 3 / 8, wallY + (b.y() - a.y()) / 3));
    key("Escape", 500);

    // Straight stairs in the room's right part from the tool panel's button: the width, then the run.
    focus(window);
    const QPoint stairsTool = findTool(grab(m_home / "panel1.png"), "stairs");
    ASSERT_GE(stairsTool.x(), 0) << "the tool panel's stairs button was not found";
    hoverAndClick(stairsTool);
    QThread::msleep(500);
    const int depth = b.y() - a.y();
    hoverAndClick(QPoint(a.x() + span * 7 / 10, a.y() + depth / 8));
    hoverAndClick(QPoint(a.x() + span * 7 / 10, a.y() + depth * 3 / 8));
    hoverAndClick(QPoint(a.x() + span * 19 / 20, a.y() + depth / 4));
    key("Escape", 500);

    // The parts palette from its tool button, on the furniture: the three-seat sofa put down in the
    // room's lower left; then, a row up in the folder tree, the sanitary folder's bath beside it.
    focus(window);
    const QPoint partsTool = findTool(grab(m_home / "panel2.png"), "parts");
    ASSERT_GE(partsTool.x(), 0) << "the tool panel's parts button was not found";
    hoverAndClick(partsTool);
    const std::string parts = windowNamed("部品の配置");
    ASSERT_FALSE(parts.empty()) << "the parts button opened no palette";
    QThread::msleep(800);
    g = windowGeometry(parts);
    const QImage partsShot = grab(m_home / "parts.png", parts);
    const QPoint partCell = firstCell(partsShot, 0, 56);
    ASSERT_GE(partCell.x(), 0) << "no thumbnail cell on the parts palette";
    EXPECT_GT(darkPixels(partsShot, QRect(partCell + QPoint(3, 3), QSize(56, 56))), 20)
        << "the first part shows no drawing: the parts library was not found";
    const QPoint pitch = cellPitch(partsShot, partCell, 56);
    ASSERT_GT(pitch.x(), 0);
    ASSERT_GT(pitch.y(), 0);
    // Takes the named part of a folder from its cell and puts it down at a point of the screen.
    auto putDown = [&](const std::string& folder, const std::string& name, QPoint at) {
        const std::vector<std::string> names = kov::building::ListPartNames(library / "data" / folder);
        const auto it = std::find(names.begin(), names.end(), name);
        ASSERT_NE(it, names.end()) << name;
        const int index = static_cast<int>(it - names.begin());
        ASSERT_LT(index, 15) << name;
        const QPoint c = partCell + QPoint((index % 3) * pitch.x(), (index / 3) * pitch.y());
        hoverAndClick(QPoint(g.x() + c.x() + 30, g.y() + c.y() + 30));
        run("xdotool mousemove " + num(at.x() - 20) + " " + num(at.y() - 20));
        QThread::msleep(200);
        hoverAndClick(at);
    };
    putDown("家具", "ソファ3人掛け", QPoint(a.x() + span / 10, a.y() + depth * 5 / 8));

    const QRect chosen = highlightedRow(partsShot);
    ASSERT_FALSE(chosen.isEmpty()) << "the parts palette shows no chosen folder";
    ASSERT_EQ(sanitary - folders.begin(), furniture - folders.begin() - 1) << "the folders are not listed as expected";
    hoverAndClick(QPoint(g.x() + chosen.center().x(), g.y() + chosen.top() - chosen.height() / 2));
    QThread::msleep(500);
    putDown("衛生機器", "浴槽", QPoint(a.x() + span * 5 / 8, a.y() + depth * 5 / 8));

    const QImage shot = grab(fs::path(KOVIRA_UI_OUTPUT) / "library-on-screen.png");
    ASSERT_FALSE(shot.isNull());

    // Ctrl+S writes the drawing; read back, it holds the door and the sofa.
    ASSERT_TRUE(kov::test::saveByKeys(window, plan)) << "Ctrl+S wrote nothing";
    kov::test::DocumentRig back;
    ASSERT_TRUE(back.doc->OnOpenDocument(plan)) << "the saved drawing could not be read";
    const CKovUnit& unit = back.doc->m_Unit;
    int doors = 0, others = 0; // the stairs, the sofa and the bath
    for (const auto& grp : unit.m_Groups) {
        if (grp->MGrpRoom == CKovGroup::FITTING) {
            ++doors;
            const CKovLine* frame = unit.FittingFrame(*grp);
            ASSERT_TRUE(frame);
            EXPECT_EQ(frame->MLineParam.at(1), 2) << "not a hinged door";
        } else if (!grp->MGrpLineID.empty() && grp->MGrpWallID.empty()) {
            ++others;
        }
    }
    EXPECT_EQ(doors, 1);
    EXPECT_EQ(others, 3) << "the stairs, the sofa and the bath were not all made";
    EXPECT_GE(unit.m_Walls.size(), 4u);
}

} // namespace
