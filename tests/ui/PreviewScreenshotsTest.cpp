// The view in the middle of four gestures (a wall, a polygon room, a dimension and a balloon):
// the tool's points collected, the pointer moved by real mouse-move events, and the window
// grabbed through its own paint. The preview must show in its colour; with KOVIRA_SCREENSHOT_DIR
// set the pictures are kept there.

#include "app/DocumentTestSupport.h"

#include "app/KovView.h"
#include "tools/ToolMachine.h"
#include "model/KovUnit.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using kov::app::CKoviraView;
using kov::test::DocumentRig;

struct Gesture {
    const char* name;
    int tool;
    CDbPointArray points;
    CDbPoint pointer;
    QRgb colour;  // the preview's pen
};

void addHouse(kov::app::CKoviraDoc& doc)
{
    CKovUnit& unit = doc.m_Unit;
    const double l = -4550, r = 4550, t = -3185, b = 3185;
    for (auto [a, c] : {std::pair<CDbPoint, CDbPoint>{{l, t}, {r, t}}, {{r, t}, {r, b}}, {{r, b}, {l, b}},
                        {{l, b}, {l, t}}, {{-910, t}, {-910, b}}}) {
        const int id = unit.AddWall(a, c, 60.0, doc.m_PlotInfo);
        unit.ResetWallOutline(id);
    }
    unit.JoinWalls(0);
}

} // namespace

TEST(PreviewScreenshots, MidGestureViewsShowTheirPreview)
{
    const Gesture gestures[] = {
        {"wall", 1, {{-3000, -1500}}, {2500, -1500}, qRgb(0x7D, 0x7D, 0x7D)},
        {"room", 11, {{-700, -2900}, {4300, -2900}, {4300, 200}}, {-700, 200}, qRgb(0x7D, 0x7D, 0x7D)},
        {"dimension", 9, {{-4550, 3185}, {4550, 3185}}, {0, 4300}, qRgb(0x7F, 0x7F, 0x7F)},
        {"balloon", 68, {{-3800, -2600}, {-1500, -1200}}, {-1900, 300}, qRgb(0xFF, 0, 0)},
    };
    for (const Gesture& g : gestures) {
        DocumentRig rig;
        rig.doc->m_Grid.visible = 0;
        rig.profile.WriteProfileInt("KOV_T_PlotMenu", "app_modeview", 0);
        addHouse(*rig.doc);
        CKoviraView view(*rig.doc, nullptr);
        view.resize(900, 640);
        view.show();
        QApplication::processEvents();
        view.OnInitialUpdate();
        rig.doc->m_nToolMode = g.tool;
        // The tool machine holds the tool's points; the view mirrors them after every event.
        view.m_ToolPoints = view.machine().m_ToolPoints = g.points;
        view.m_ptLast = view.machine().m_ptLast = g.points.back();
        const DevicePoint px = view.SheetToWindow(g.pointer);
        const double dpr = view.devicePixelRatioOfView();
        const QPointF logical(px.x / dpr, px.y / dpr);
        QMouseEvent move(QEvent::MouseMove, logical, view.viewport()->mapToGlobal(logical), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
        QApplication::processEvents();
        const QImage shot = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        int hits = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixel(x, y) == g.colour) ++hits;
        EXPECT_GT(hits, 50) << g.name << ": the preview's pen colour shows";
        if (const char* dir = std::getenv("KOVIRA_SCREENSHOT_DIR"))
            shot.save(QString::fromStdString(std::string(dir) + "/preview-" + g.name + ".png"));
    }
}
