// The frame's palettes of the parts and fittings libraries, the group saved as a part, the
// notation-symbol tool and the commands on placed fittings.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "dialogs/FittingsPalette.h"
#include "dialogs/PartsPalette.h"
#include "model/KovUnit.h"
#include "platform/Folders.h"
#include "platform/Profile.h"
#include "tools/ToolMachine.h"

#include <QDockWidget>

#include <utility>

namespace kov::app {

namespace {

// Palettes stand beside the layer bar, their tops level with its top.
void placeBesideLayerBar(QWidget* palette, QMainWindow* frame)
{
    QDockWidget* layers = frame->findChild<QDockWidget*>(QStringLiteral("layerBarDock"));
    if (!layers) return;
    palette->adjustSize();
    const QPoint top = layers->mapToGlobal(QPoint(0, 0));
    palette->move(top.x() - palette->frameGeometry().width(), top.y());
}

bool fittingSelected(const CKoviraDoc& doc)
{
    if (doc.m_Selection.m_Groups.empty()) return false;
    const CKovGroup* g = doc.m_Unit.FindGroup(doc.m_Selection.m_Groups.front());
    return g && g->MGrpRoom == CKovGroup::FITTING;
}

} // namespace

void MainWindow::ShowPartsPalette()
{
    if (!m_document || !m_view) return;
    kov::platform::Profile& profile = m_document->services().profile;
    if (!m_BuhinDlg) {
        const std::filesystem::path root = m_document->services().folders.folderFor(
            kov::platform::UserData::Parts, kov::platform::readCommonFolderSwitches(profile));
        m_BuhinDlg = new kov::dialogs::PartsPalette(m_view->machine(), profile, m_document->services().questions,
                                                     root, this);
        placeBesideLayerBar(m_BuhinDlg, this);
    }
    if (!m_BuhinDlg->OpenForPlacing()) m_BuhinDlg->hide();
    // Parts are placed in select mode: the prompt of a tool left behind would mislead.
    SetStatusText("選択モード");
}

void MainWindow::ShowFittingsPalette()
{
    if (!m_document || !m_view) return;
    if (!m_TategDlg) {
        m_TategDlg = new kov::dialogs::FittingsPalette(m_view->machine(), m_document->services().profile,
                                                        m_document->services().questions,
                                                        m_document->services().folders.fittings, this);
        m_TategDlg->form().onSnapsChanged = [this] { ShowSnapButtons(); };
        m_TategDlg->onCancelled = [this] {
            SyncToolPanel();
            SetStatusText("選択モード");
        };
        placeBesideLayerBar(m_TategDlg, this);
    }
    if (!m_TategDlg->Open()) m_TategDlg->hide();
}

void MainWindow::OnSaveGroup()
{
    if (!m_document || !m_view) return;
    const SelectionRecord& sel = m_document->m_Selection;
    if (sel.m_nCount != 1 || sel.m_Groups.size() != 1) return;
    // The group moved to start at the origin, as the palette's thumbnails and placement measure it.
    if (!m_groupToSave) m_groupToSave = std::make_unique<CKovUnit>();
    m_groupToSave->ExtractSelectedGroup(sel, m_document->m_Unit);
    if (m_groupToSave->m_Groups.empty()) return;
    if (!m_BuhinDlg) {
        ShowPartsPalette();
        if (m_BuhinDlg) m_BuhinDlg->hide();
    }
    if (m_BuhinDlg && !m_BuhinDlg->OpenForSaving(*m_groupToSave)) m_BuhinDlg->hide();
}

void MainWindow::buildLibraryRoutes()
{
    if (!m_document || !m_view) return;
    CKoviraDoc& doc = *m_document;
    CKoviraView& view = *m_view;
    auto V = [this](int c, Handler h) { Route(Target::View, c, std::move(h)); };

    V(cmd::SaveGroup, [this] { OnSaveGroup(); });
    V(cmd::ToolSymbols, [this, &view] {
        ResetToolPalette();
        view.machine().StartTool(69);
        ShowSnapButtons();
        SyncToolPanel();
    });
    V(cmd::DoorDirection, [this, &view] {
        view.machine().OnFlipDoor();
        RefreshLayerBar();
    });
    V(cmd::ShutterDirection, [&view] { view.machine().OnFlipShutter(); });
    V(cmd::FittingSize, [&view] { view.machine().OnChangeFittingSize(); });
    V(cmd::Rotate180, [&view] { view.machine().OnTurnFitting(); });
    // Mirroring a fitting rebuilds it (up-down turns it to the other face, left-right mirrors it end
    // for end); other groups keep the plain flips.
    for (int command : {cmd::MirrorTopBottom, cmd::MirrorLeftRight}) {
        Handler plain = m_routes[static_cast<std::size_t>(Target::View)][command];
        V(command, [&doc, &view, command, plain] {
            if (!fittingSelected(doc)) {
                if (plain) plain();
                return;
            }
            if (command == cmd::MirrorTopBottom) view.machine().OnTurnFitting();
            else view.machine().OnFlipDoor();
        });
    }
}

} // namespace kov::app
