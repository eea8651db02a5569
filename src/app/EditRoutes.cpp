// The editing commands of the menus and the context menu: duplicate, numeric copy, move, group
// stretch, the layer commands and the intersection snap switch.

#include "app/CommandIds.h"
#include "app/EditCommands.h"
#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "dialogs/EditDialogs.h"
#include "platform/Questions.h"
#include "tools/ToolMachine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace kov::app {

namespace {

// The layer choice: the three layer groups the menus offer, source and target, and in the change of
// the selection's layer whether the selected objects stay where they are.
std::optional<LayerChoice> askLayer(QWidget* parent, int mode, int current)
{
    QDialog dialog(parent);
    const char* title = mode == kLayerOfSelection ? "選択物のレイヤー変更"
                        : mode == kLayerMoveMerge ? "レイヤーを移動合成"
                        : mode == kLayerSelect    ? "指定レイヤーを全て選択状態"
                                                  : "レイヤーをコピー合成";
    dialog.setWindowTitle(QString::fromUtf8(title));
    auto* grid = new QGridLayout(&dialog);
    auto* source = new QComboBox;
    auto* target = new QComboBox;
    for (QComboBox* list : {source, target})
        for (const char* item : {"0", "1", "2"})
            list->addItem(QString::fromLatin1(item));
    // A current layer group beyond the lists opens them without a choice.
    source->setCurrentIndex(current >= 0 && current <= 2 ? current : -1);
    target->setCurrentIndex(current >= 0 && current <= 2 ? current : -1);
    auto* keep = new QCheckBox(mode == kLayerOfSelection ? QStringLiteral("元のレイヤーにも残す") : QString());
    keep->setEnabled(mode == kLayerOfSelection);
    const bool select = mode == kLayerSelect;
    source->setEnabled(mode != kLayerOfSelection && !select);
    if (select)
        source->setCurrentIndex(-1);
    grid->addWidget(new QLabel(select ? QString() : QStringLiteral("元のレイヤー")), 0, 0);
    grid->addWidget(source, 0, 1);
    grid->addWidget(new QLabel(select ? QString() : QStringLiteral("↓")), 1, 1);
    grid->addWidget(new QLabel(mode == kLayerOfSelection ? QStringLiteral("変更後のレイヤー")
                               : select                  ? QStringLiteral("指定レイヤー")
                                                         : QStringLiteral("合成後のレイヤー")),
                    2, 0);
    grid->addWidget(target, 2, 1);
    grid->addWidget(keep, 3, 0, 1, 2);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    grid->addWidget(buttons, 4, 0, 1, 2);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return LayerChoice{source->currentIndex(), target->currentIndex(), keep->isChecked() ? 1 : 0};
}

} // namespace

void MainWindow::buildEditRoutes()
{
    CKoviraDoc& doc = *m_document;
    CKoviraView& view = *m_view;
    auto V = [this](int c, Handler h) { Route(Target::View, c, std::move(h)); };
    kov::platform::Profile& profile = doc.services().profile;

    EditAnswers& ask = m_editAnswers;
    ask.layer = [this](int mode, int current) { return askLayer(this, mode, current); };
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
