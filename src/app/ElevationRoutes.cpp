// The elevation command ("立面図自動作成"): its settings dialog, the views of one side or all four
// around the drawing's centre, and the layers shown afterwards.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "building/Elevations.h"
#include "building/PartFiles.h"
#include "dialogs/ElevationDialogs.h"
#include "model/KovUnit.h"
#include "model/RituInfo.h"
#include "platform/Folders.h"
#include "platform/Profile.h"
#include "tools/ToolMachine.h"

#include <algorithm>
#include <cmath>

namespace kov::app {

namespace {

// Half the page shown in the view, in drawing millimetres of the current layer group.
CDbPoint halfPage(kov::tools::ToolMachine& machine, const CPlotInfo& plot)
{
    const kov::platform::DeviceProperties& dev = machine.m_Screen;
    const int g = std::clamp(plot.m_Layer.m_nCurrentGroup, 0, 15);
    const double scale = plot.m_Layer.m_dScale[static_cast<std::size_t>(g)];
    const double effective = machine.m_Page.EffectiveScale(dev, plot, scale > 0 ? scale : 100.0);
    if (!(effective > 0)) return {};
    const DeviceRect page = machine.m_Page.m_rcPage;
    const double perMmX = dev.dpiX / 25.4 / effective, perMmY = dev.dpiY / 25.4 / effective;
    return {std::floor(page.width() / 2.0) / perMmX, std::floor(page.height() / 2.0) / perMmY};
}

} // namespace

void MainWindow::buildElevationRoutes()
{
    CKoviraDoc& doc = *m_document;
    CKoviraView& view = *m_view;
    Route(Target::View, cmd::ToolElevation, [this, &doc, &view] {
        kov::platform::Profile& profile = doc.services().profile;
        view.PushUndo();
        doc.m_Selection.Clear();
        view.machine().m_ToolPoints.clear();
        CRituInfo ritu;
        ritu.LoadProfile(profile);
        kov::dialogs::CRitumenSetDlg dialog(ritu, this);
        if (!RunModal(dialog)) return;
        ritu = dialog.values();
        ritu.SaveProfile(profile);

        CPlotInfo& plot = doc.m_PlotInfo;
        kov::building::PartFileCache cache;
        kov::building::ElevationLibrary library{doc.services().folders.elevationFittings, &cache, 0};
        if (ritu.houkou == 0) {
            // Each view goes to the middle of its quarter of the page: moved by half the page, a
            // plan about the page's centre would leave three quarters of every view off the paper.
            const CDbPoint half = halfPage(view.machine(), plot);
            const CDbPoint h{half.x / 2, half.y / 2};
            const CDbPoint offsets[] = {{-h.x, -h.y}, {-h.x, h.y}, {h.x, -h.y}, {h.x, h.y}};
            for (int d = 1; d <= 4; ++d)
                doc.m_Unit.CreateElevations(offsets[d - 1].x, offsets[d - 1].y, doc.m_Selection, plot, ritu, d, &library);
        } else {
            doc.m_Unit.CreateElevations(0, 0, doc.m_Selection, plot, ritu, ritu.houkou, &library);
        }

        // The floors drawn are hidden so that the views stand alone; the output layer group is shown
        // and made current, also when a floor shares it (hiding it would hide the views just made).
        const int out = std::clamp(ritu.ritugrp_lay, 0, 15);
        const int floors[] = {ritu.lay_1, ritu.lay_2, ritu.lay_3};
        for (int k = 0; k < std::clamp(ritu.kai, 1, 3); ++k)
            if (floors[k] >= 0 && floors[k] < 16 && floors[k] != out)
                plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(floors[k])].m_nType = CLayerInfo::LAYER_HIDDEN;
        plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(out)].m_nType = CLayerInfo::LAYER_SNAP;
        plot.m_Layer.m_nCurrentGroup = out;
        plot.m_Layer.m_nCurrentLayer = std::clamp(ritu.rituno_lay, 0, 15);
        RefreshLayerBar();
        DrawToolSample();
        view.RedrawAll();
    });
}

} // namespace kov::app
