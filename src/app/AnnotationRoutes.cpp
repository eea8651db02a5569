// The generator commands of dimensions and axis lines: automatic dimensions around the walls,
// dimensions turned into lines and texts, and the axis-line grid from the values file.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "dialogs/AxisLinesDialog.h"
#include "dialogs/AutoDimensionDialog.h"
#include "model/AxisValueFile.h"
#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/SettingsValues.h"
#include "platform/Folders.h"
#include "platform/Profile.h"
#include "tools/ToolMachine.h"

#include <QDialog>

#include <algorithm>
#include <cmath>

namespace kov::app {

namespace {

using kov::model::kSectionUtility;

// Paper millimetres as whole drawing millimetres at the layer group's scale (8 at 1:100 give
// 800). Taken from the scale itself: the screen's two pixel scales differ by a hair, which would
// cut a millimetre off.
int paperToDrawing(int value, const CPlotInfo& plot, int layerGroup)
{
    const auto g = static_cast<std::size_t>(std::clamp(layerGroup, 0, DeviceTransform::kLayerGroups - 1));
    const double scale = plot.m_Layer.m_dScale[g];
    return truncToInt(value * (scale > 0 ? scale : 100.0));
}

// The screen at zoom 1: device pixels per sheet millimetre of each layer group, and per paper
// millimetre, from the screen's pixels per inch.
DeviceTransform screenTransform(const CPlotInfo& plot, int dpi)
{
    DeviceTransform t;
    const double perMm = dpi / 25.4;
    for (std::size_t g = 0; g < DeviceTransform::kLayerGroups; ++g) {
        const double scale = plot.m_Layer.m_dScale[g] > 0 ? plot.m_Layer.m_dScale[g] : 100.0;
        t.scaleX[g] = t.scaleY[g] = perMm / scale;
    }
    t.paperScale = perMm;
    return t;
}

} // namespace

bool MainWindow::RunModal(QDialog& dialog)
{
    if (runDialog) return runDialog(dialog);
    return dialog.exec() == QDialog::Accepted;
}

void MainWindow::buildAnnotationRoutes()
{
    CKoviraDoc& doc = *m_document;
    CKoviraView& view = *m_view;
    auto V = [this](int c, Handler h) { Route(Target::View, c, std::move(h)); };
    kov::platform::Profile& profile = doc.services().profile;

    V(cmd::AutoDimensions, [this, &doc, &view, &profile] {
        view.PushUndo();
        doc.m_Selection.Clear();
        const CPlotInfo& plot = doc.m_PlotInfo;
        const int group = plot.m_Layer.m_nCurrentGroup, layer = plot.m_Layer.m_nCurrentLayer;
        kov::dialogs::AutoDimensionValues values;
        values.height = profile.GetProfileInt(kSectionUtility, "sunpoauto_takasa", 8);
        // The distance shows as it was stored, so that reopening shows the same distance.
        values.distance = profile.GetProfileInt(kSectionUtility, "sunpoauto_kyori", 8);
        values.wallLayerGroup = values.outputLayerGroup = group;
        values.wallLayer = values.outputLayer = layer;
        kov::dialogs::CSunpouAutoDlg dialog(values, this);
        if (!RunModal(dialog)) return;
        const kov::dialogs::AutoDimensionValues& v = dialog.values();
        profile.WriteProfileInt(kSectionUtility, "sunpoauto_takasa", v.height);
        profile.WriteProfileInt(kSectionUtility, "sunpoauto_kyori", v.distance);
        doc.m_Unit.CreateAutoDimensions(paperToDrawing(v.height, plot, group), paperToDrawing(v.distance, plot, group),
                                        v.scope, {v.wallLayerGroup, v.wallLayer},
                                        {v.outputLayerGroup, v.outputLayer}, doc.m_Selection, plot);
        view.machine().CallSelectTool();
        RefreshLayerBar();
        view.RedrawAll();
    });
    V(cmd::DimensionToLines, [&doc, &view, &profile] {
        view.PushUndo();
        CFontMenu font;
        font.ResetFromProfile(profile);
        doc.m_Unit.DimensionsToText(doc.m_Selection, doc.m_PlotInfo, font);
        view.RedrawAll();
    });
    V(cmd::ToolAutoAxes, [this, &doc, &view, &profile] {
        view.PushUndo();
        const CPlotInfo& plot = doc.m_PlotInfo;
        const std::filesystem::path file =
            doc.services().folders.axisValuesFile(kov::platform::readCommonFolderSwitches(profile));
        kov::dialogs::CAutoToorisinDlg dialog(profile, doc.services().questions, file, plot.m_Layer.m_nCurrentGroup,
                                              plot.m_Layer.m_nCurrentLayer, this);
        if (!RunModal(dialog)) return;
        doc.m_Selection.Clear();
        // The grid reads the file and the settings again, as the dialog left them.
        AxisLineSettings settings;
        settings.Load(profile);
        const kov::model::AxisValues values = kov::model::ReadAxisValueFile(file);
        const DeviceTransform t = screenTransform(plot, view.machine().m_Screen.dpiX);
        doc.m_Unit.CreateGridLines(doc.m_Selection, plot, t, dialog.form().layerGroup, dialog.form().layer, values.x,
                                   values.y, settings);
        view.RedrawAll();
    });
}

} // namespace kov::app
