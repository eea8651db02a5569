// The tool previews in the view: a pointer move repaints the preview over the copied back buffer
// and never renders the drawing again. The tool machine holds the collected points; the view
// mirrors them after every event.

#include "DocumentTestSupport.h"

#include "app/KovView.h"
#include "tools/ToolMachine.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

using kov::app::CKoviraView;
using kov::test::DocumentRig;

const QRgb kWallGrey = qRgb(0x7D, 0x7D, 0x7D);

struct ViewRig {
    DocumentRig rig;
    CKoviraView view{*rig.doc, nullptr};

    ViewRig()
    {
        rig.doc->m_Grid.visible = 0;
        rig.doc->m_Grid.kyutyaku = 0; // the pointer unsnapped: the preview ends where it is
        rig.profile.WriteProfileInt("KOV_T_PlotMenu", "app_modeview", 0);
        view.resize(640, 480);
        view.show();
        QApplication::processEvents();
        view.OnInitialUpdate();
    }

    void movePointer(QPoint logical)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(logical), QPointF(view.viewport()->mapToGlobal(logical)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
    }
};

// The columns of the frame that hold a pixel of the colour.
std::pair<int, int> columnsOf(const QImage& frame, QRgb colour)
{
    int left = frame.width(), right = -1;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (frame.pixel(x, y) == colour) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

} // namespace

TEST(ViewPreviews, PointerMovesRepaintTheWallPreviewWithoutRenderingTheDrawing)
{
    ViewRig v;
    for (int i = 0; i < 200; ++i) v.rig.addLine(-5000, i * 20.0, 5000, i * 20.0);
    v.view.RedrawAll();
    v.rig.doc->m_nToolMode = 1;
    // The tool machine holds the tool's points; the view mirrors them after every event.
    v.view.m_ToolPoints = v.view.machine().m_ToolPoints = {{-3000, 0}};
    v.view.m_ptLast = v.view.machine().m_ptLast = {-3000, 0};
    v.view.machine().m_nFirstMove = 0;  // the wall tool's first move is behind it
    v.rig.doc->m_Grid.kyutyaku = 0;     // the pointer where it is, not on the grid or a line
    v.rig.doc->m_PlotInfo.PlotLinePita = v.rig.doc->m_PlotInfo.PlotWallPita = 0;
    const int renders = v.view.renderCount();
    const QImage buffer = v.view.backBuffer();
    int lastRight = -1;
    for (int x = 300; x <= 500; x += 100) {
        v.movePointer({x, 200});
        const QImage frame = v.view.composeFrame();
        const auto [left, right] = columnsOf(frame, kWallGrey);
        ASSERT_LE(left, right) << "the wall outline shows at " << x;
        // The far end of the outline follows the pointer.
        EXPECT_NEAR(right, x, 5);
        EXPECT_GT(right, lastRight);
        lastRight = right;
    }
    EXPECT_EQ(v.view.renderCount(), renders) << "a pointer move rendered the drawing";
    EXPECT_EQ(v.view.backBuffer(), buffer) << "the preview reached the back buffer";
}

TEST(ViewPreviews, TheAngleReadoutLeavesTheLineToolsLengthAlone)
{
    ViewRig v;
    v.rig.doc->m_nToolMode = 47;
    const DevicePoint first = v.view.SheetToWindow({0, 0});
    v.view.m_ToolPoints = v.view.machine().m_ToolPoints = {{0, 0}};
    v.view.m_ptLast = v.view.machine().m_ptLast = {0, 0};
    const double length = v.view.machine().m_dToolLength;
    v.movePointer({first.x, first.y - 100});
    v.view.composeFrame();
    // The angle tool measures from its clicks: a paint of the readout changes no tool's value.
    EXPECT_EQ(v.view.machine().m_dToolLength, length);
    EXPECT_EQ(v.view.m_Settings.tool_nagasa, length);
}
