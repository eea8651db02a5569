// The editing commands of the menus and the context menu: duplicate, numeric copy, move, group
// stretch, the layer commands and the intersection snap switch.

#include "app/CommandIds.h"
#include "app/EditCommands.h"
#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "dialogs/EditDialogs.h"
#include "dialogs/LayerDialogs.h"
#include "platform/Questions.h"
#include "tools/ToolMachine.h"

#include <QDialog>

namespace kov::app {

void MainWindow::buildEditRoutes()
{
    CKoviraDoc& doc = *m_document;
    CKoviraView& view = *m_view;
    auto V = [this](int c, Handler h) { Route(Target::View, c, std::move(h)); };
    kov::platform::Profile& profile = doc.services().profile;

    EditAnswers& ask = m_editAnswers;
    ask.layer = [this](int mode, int current) -> std::optional<LayerChoice> {
        const auto answer = kov::dialogs::AskLayerChange(mode, current, this);
        if (!answer)
            return std::nullopt;
        return LayerChoice{answer->source, answer->target, answer->keep};
    };
    ask.move = [this, &profile](kov::dialogs::ObjectMoveForm::Mode mode) -> std::optional<kov::dialogs::ObjectMoveForm> {
        kov::dialogs::ObjectMoveDialog dialog(mode, profile, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.form();
    };
    ask.groupStretch = [this, &profile](double w, double h) -> std::optional<std::array<double, 2>> {
        kov::dialogs::GroupStretchDialog dialog(w, h, false, profile, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return std::array<double, 2>{dialog.form().m_fx, dialog.form().m_fy};
    };
    ask.confirm = [&doc](const std::string& question) { return doc.services().questions.askOkCancel(question); };

    V(cmd::EditCopy, [&doc, &view] { OnDuplicateSelection(doc, view); });
    V(cmd::CopyNumeric, [this, &doc, &view] { OnNumericCopy(doc, view, m_editAnswers); });
    V(cmd::Move, [this, &doc, &view] { OnMoveSelection(doc, view, m_editAnswers); });
    V(cmd::StretchGroup, [this, &doc, &view] {
        // A fitting's size has its own command.
        if (!OnStretchGroup(doc, view, m_editAnswers) && !doc.m_Selection.m_Groups.empty())
            RunCommand(cmd::FittingSize);
    });
    V(cmd::ChangeLayerOfSelection, [this, &doc, &view] {
        OnChangeSelectionLayer(doc, view, m_editAnswers);
        RefreshLayerBar();
    });
    V(cmd::LayerMoveMerge, [this, &doc, &view] {
        OnLayerMerge(doc, view, m_editAnswers, false);
        RefreshLayerBar();
    });
    V(cmd::LayerCopyMerge, [this, &doc, &view] {
        OnLayerMerge(doc, view, m_editAnswers, true);
        RefreshLayerBar();
    });
    V(cmd::LayerSelectAll, [this, &doc, &view] {
        OnSelectLayer(doc, view, m_editAnswers);
        RefreshLayerBar();
    });
    V(cmd::ToggleIntersectionSnap, [&view] {
        kov::tools::ToolMachine& m = view.machine();
        m.m_bIntersectionSnap = m.m_bIntersectionSnap ? 0 : 1;
    });
}

} // namespace kov::app
