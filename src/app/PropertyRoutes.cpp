// The property and layer commands of the menus, the context menu and the layer bar.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/DecoratedTextCommands.h"
#include "app/FrameLogic.h"
#include "app/KovView.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "app/PropertyCommands.h"
#include "dialogs/FigurePropertyDialog.h"

#include <QDockWidget>

namespace kov::app {

PropertyFrame MainWindow::propertyFrame()
{
    PropertyFrame f;
    f.parent = this;
    f.pickFont = [this](CFontMenu& font) {
        if (!m_document) return false;
        const bool chosen = PickFontRecord(font, m_document->services().questions, logicalDpiY() > 0 ? logicalDpiY() : 96);
        if (chosen) {
            DrawToolSample();
            focusAndRedraw();
        }
        return chosen;
    };
    f.mmToDevice = [this](double mm) { return MmToDeviceUnits(mm); };
    f.refreshLayerBar = [this] { RefreshLayerBar(); };
    return f;
}

void MainWindow::buildPropertyRoutes()
{
    CKoviraDoc& doc = *m_document;
    CKoviraView& view = *m_view;
    auto V = [this](int c, Handler h) { Route(Target::View, c, std::move(h)); };
    auto F = [this](int c, Handler h) { Route(Target::Frame, c, std::move(h)); };

    V(cmd::EditSelectedText, [this, &doc, &view] {
        OnEditSelectedText(doc, view, propertyFrame());
        DrawToolSample();
    });
    V(cmd::ToDecoratedText, [this, &doc, &view] { OnConvertToDecoratedText(doc, view, propertyFrame()); });
    V(cmd::WallThicknessOfSelection, [this, &doc, &view] { OnChangeWallThickness(doc, view, propertyFrame()); });
    V(cmd::ColumnThicknessOfSelection, [this, &doc, &view] { OnChangeColumnThickness(doc, view, propertyFrame()); });
    V(cmd::LineTypeOfSelection, [this, &doc, &view] {
        OnChangeLineType(doc, view, propertyFrame());
        DrawToolSample();
    });
    F(cmd::LayerList, [this, &doc, &view] { OnLayerList(doc, view, propertyFrame()); });
    F(cmd::LayerName, [this, &doc] { OnLayerName(doc, propertyFrame()); });
}

void MainWindow::KeepStylePanel(QWidget* panel)
{
    constexpr std::size_t kStyleSlot = 14;
    m_pToolDialog[kStyleSlot] = panel;
    // Each change is the next figure's style: the tool sample shows it at once.
    if (auto* dialog = qobject_cast<kov::dialogs::CLinePropSetDg*>(panel)) dialog->onChanged = [this] { DrawToolSample(); };
    connect(panel, &QObject::destroyed, this, [this, panel] {
        if (m_pToolDialog[kStyleSlot] == panel) m_pToolDialog[kStyleSlot] = nullptr;
    });
    // Placed by its own width, which it has only once laid out.
    panel->adjustSize();
    PlaceToolDialogBeside(4);
}

} // namespace kov::app
