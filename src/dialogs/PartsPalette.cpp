// The parts palette: its rules (PartsPaletteForm) and its window.

#include "dialogs/PartsPalette.h"

#include "building/PartLibrary.h"
#include "building/PartPlacement.h"
#include "dialogs/LibraryThumbnails.h"
#include "dialogs/PalettePages.h"
#include "dialogs/PartPlacementDialogs.h"
#include "dialogs/ThumbnailGrid.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "tools/ToolMachine.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <system_error>

namespace fs = std::filesystem;

namespace kov::dialogs {

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";
namespace kb = kov::building;

std::vector<std::string> splitOrder(const std::string& text)
{
    std::vector<std::string> names;
    if (text.empty()) return names;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) {
            // The text after the last comma counts unless it is empty.
            if (start < text.size()) names.push_back(text.substr(start));
            break;
        }
        names.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

} // namespace

PartsPaletteForm::PartsPaletteForm(kov::tools::ToolMachine& machine, kov::platform::Profile& profile,
                                   kov::platform::Questions& questions, fs::path root)
    : m_machine(machine), m_profile(profile), m_questions(questions), m_root(std::move(root)),
      m_previewPlot(machine.host().Plot())
{
    m_previewPlot.laygray = 0;
}

bool PartsPaletteForm::ReloadFolders()
{
    m_bListMode = m_nMode == PLACING && m_profile.GetProfileInt(kUtility, "buhin_itiran", 0) != 0;
    bool found = false;
    std::vector<std::string> names = kb::ListLibraryFolders(m_root, &found);
    if (!found || names.empty()) {
        m_questions.message(kBadLibrary);
        if (onClose) onClose();
        return false;
    }
    // A saved order counts only when it names exactly the folders there are.
    std::vector<std::string> order = splitOrder(m_profile.GetProfileString(kUtility, "buhin_forda_jyun", ""));
    if (order.size() == names.size()) {
        std::vector<std::string> a = order, b = names;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        if (a == b) names = order;
    }
    if (names.size() > kMostFolders) names.resize(kMostFolders);
    m_Folders.clear();
    for (const std::string& n : names) {
        Folder f{n, kb::ListLibraryFolders(m_root / n)};
        if (f.subFolders.size() > kMostSubFolders) f.subFolders.resize(kMostSubFolders);
        m_Folders.push_back(std::move(f));
    }

    int folder = m_profile.GetProfileInt(kUtility, "buhin_selectidx", -1);
    int sub = m_profile.GetProfileInt(kUtility, "buhin_selectidx_s", 0);
    if (folder > 1000 || folder < -1) folder = -1;
    if (sub > 1000 || sub < 0) sub = 0;
    m_PartNames.clear();
    m_nPart = -1;
    if (m_nMode == PLACING) m_machine.host().Selection().Clear();
    m_nPage = -1;
    m_nFolder = -1;
    m_nSubFolder = 0;
    if (folder >= 0 && folder < static_cast<int>(m_Folders.size())) {
        m_nFolder = folder;
        m_nSubFolder = sub <= static_cast<int>(m_Folders[static_cast<std::size_t>(folder)].subFolders.size()) ? sub : 0;
        ListPartFiles();
        m_strName.clear();
        m_nPage = RestoredPage(m_profile.GetProfileInt(kUtility, "buhin_nowpage", 0), kCells, m_PartNames.size());
    }
    return true;
}

fs::path PartsPaletteForm::FolderPath() const
{
    if (m_nFolder < 0 || m_nFolder >= static_cast<int>(m_Folders.size())) return {};
    const Folder& f = m_Folders[static_cast<std::size_t>(m_nFolder)];
    fs::path p = m_root / f.name;
    if (m_nSubFolder > 0 && m_nSubFolder <= static_cast<int>(f.subFolders.size()))
        p /= f.subFolders[static_cast<std::size_t>(m_nSubFolder - 1)];
    return p;
}

fs::path PartsPaletteForm::PartPath(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_PartNames.size())) return {};
    return FolderPath() / (m_PartNames[static_cast<std::size_t>(index)] + std::string(kb::kPartExtension));
}

void PartsPaletteForm::ListPartFiles()
{
    m_PartNames.clear();
    bool found = false;
    const fs::path folder = FolderPath();
    m_PartNames = kb::ListPartNames(folder, &found);
    if (!found) {
        m_profile.WriteProfileString(kUtility, "buhin_forda_jyun", "");
        m_profile.WriteProfileInt(kUtility, "buhin_selectidx", -1);
        m_profile.WriteProfileInt(kUtility, "buhin_selectidx_s", 0);
        m_profile.WriteProfileInt(kUtility, "buhin_nowpage", 0);
        m_questions.message(kFolderMissing);
        return;
    }
    m_nPage = 0;
}

int PartsPaletteForm::CellPart(int cell) const
{
    return PageCellIndex(m_nPage, kCells, cell, m_PartNames.size());
}

std::string PartsPaletteForm::CellName(int cell) const
{
    const int index = CellPart(cell);
    return index < 0 ? std::string() : m_PartNames[static_cast<std::size_t>(index)];
}

bool PartsPaletteForm::NextEnabled() const
{
    return PageHasNext(m_nPage, kCells, m_PartNames.size());
}

bool PartsPaletteForm::DeleteEnabled() const
{
    return m_nMode == SAVING && m_nPart >= 0 && m_nPart < static_cast<int>(m_PartNames.size());
}

bool PartsPaletteForm::DrawThumbnail(kov::platform::Surface& dc, int index, const DeviceRect& cell, int dpi)
{
    const fs::path file = PartPath(index);
    if (file.empty()) return false;
    const CPlotInfo& doc = m_machine.host().Plot();
    m_previewPlot.PlotSirokuro = doc.PlotSirokuro;
    m_previewPlot.PlotGradation = doc.PlotGradation;
    m_previewPlot.laygray = 0;
    // An unreadable file leaves its cell empty.
    const CKovUnit* part = m_thumbnails.Get(file);
    if (!part || part->m_Groups.empty()) return false;
    DrawLibraryThumbnail(dc, *part, m_previewPlot, cell, 10, dpi);
    return true;
}

void PartsPaletteForm::ChooseFolder(int folder, int subFolder)
{
    if (folder < 0 || folder >= static_cast<int>(m_Folders.size())) return;
    m_strName.clear();
    m_nFolder = folder;
    m_nSubFolder = subFolder;
    m_nPart = -1;
    ListPartFiles();
}

void PartsPaletteForm::ClickCell(int cell)
{
    if (m_nFolder < 0 || m_nPage < 0 || cell < 0 || cell >= kCells) return;
    m_nPart = m_nPage * kCells + cell;
    m_strName = CellName(cell);
    if (m_nMode == PLACING) {
        if (m_machine.CancelPlacement()) m_machine.host().RedrawAll();
        OnOK();
    }
}

void PartsPaletteForm::ChooseListEntry(int index)
{
    if (index < 0 || index >= static_cast<int>(m_PartNames.size())) return;
    m_nPart = index;
    m_nPage = index / kCells;
    m_strName = m_PartNames[static_cast<std::size_t>(index)];
    if (m_nMode == PLACING && m_nFolder >= 0) {
        if (m_machine.CancelPlacement()) m_machine.host().RedrawAll();
        OnOK();
    }
}

void PartsPaletteForm::PrevPage()
{
    if (PrevEnabled()) --m_nPage;
}

void PartsPaletteForm::NextPage()
{
    if (NextEnabled()) ++m_nPage;
}

void PartsPaletteForm::SetListMode(bool on)
{
    m_bListMode = on;
    m_profile.WriteProfileInt(kUtility, "buhin_itiran", on ? 1 : 0);
}

void PartsPaletteForm::SetContinuous(bool on) { m_profile.WriteProfileInt(kUtility, "buhin_renzoku", on ? 1 : 0); }

void PartsPaletteForm::SetBlackWhite(bool on)
{
    m_profile.WriteProfileInt(kUtility, "buhin_color_sirokuro", on ? 1 : 0);
}

bool PartsPaletteForm::Continuous() const { return m_profile.GetProfileInt(kUtility, "buhin_renzoku", 0) != 0; }

bool PartsPaletteForm::BlackWhite() const
{
    return m_profile.GetProfileInt(kUtility, "buhin_color_sirokuro", 0) != 0;
}

void PartsPaletteForm::rememberChoice()
{
    m_profile.WriteProfileInt(kUtility, "buhin_selectidx", m_nFolder);
    m_profile.WriteProfileInt(kUtility, "buhin_selectidx_s", m_nSubFolder);
    m_profile.WriteProfileInt(kUtility, "buhin_nowpage", m_nPage);
}

bool PartsPaletteForm::placeChosenPart()
{
    CKovUnit part;
    std::string why;
    const kb::PartRead read = kb::ReadPartFile(PartPath(m_nPart), part, &why);
    if (read == kb::PartRead::Failed) {
        m_questions.message(why, {}, kov::platform::MessageIcon::Warning);
        return false;
    }
    kov::tools::ToolHost& host = m_machine.host();
    const int groupId = part.m_Groups.empty() ? 0 : host.Unit().InsertPartGroup(part, host.Plot());
    part.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    if (groupId == 0) return false;
    SelectionRecord& sel = host.Selection();
    sel.Clear();
    sel.AddGroupId(groupId);
    host.Unit().PlacePart(sel, host.Plot(), kb::PartPlacement::FromProfile(m_profile));
    return true;
}

void PartsPaletteForm::OnOK()
{
    if (m_machine.ToolMode() != 0) {
        m_questions.message(kChooseSelectMode);
        return;
    }
    if (m_nFolder < 0) {
        m_questions.message(kChooseFolder);
        return;
    }
    if (m_nMode == SAVING) {
        save();
        return;
    }
    if (m_nPart < 0 || m_nPart >= static_cast<int>(m_PartNames.size())) return;
    m_machine.PushUndo();
    const bool placed = placeChosenPart();
    rememberChoice();
    // A file that gave no group places nothing: the placement does not start on another group.
    if (!placed) {
        m_machine.host().RedrawAll();
        return;
    }
    m_machine.m_bPlacing = 1;
    m_machine.host().PushUndoHeld();
    const CKovUnit& unit = m_machine.host().Unit();
    const CKovGroup& last = *unit.m_Groups[unit.m_Groups.GetSize() - 1];
    m_machine.m_ptLast = kb::PartPlacement::FromProfile(m_profile)
                             .Anchor(std::fabs(last.MGrpmax.x - last.MGrpmin.x), std::fabs(last.MGrpmax.y - last.MGrpmin.y));
    m_machine.host().RedrawAll();
}

void PartsPaletteForm::OnCancel()
{
    rememberChoice();
    if (m_nMode == PLACING && m_machine.CancelPlacement()) m_machine.host().RedrawAll();
}

void PartsPaletteForm::save()
{
    if (!m_pSave) return;
    const std::string& name = m_strName;
    switch (kb::CheckLibraryName(name)) {
    case kb::LibraryNameProblem::None: break;
    case kb::LibraryNameProblem::Empty: m_questions.message(kNoPartName); return;
    case kb::LibraryNameProblem::TooLong: m_questions.message(kPartNameTooLong); return;
    default: m_questions.message(kPartNameRefused); return;
    }
    if (std::find(m_PartNames.begin(), m_PartNames.end(), name) != m_PartNames.end()
        && !m_questions.askOkCancel(kPartExists))
        return;
    std::string error;
    if (!kb::WritePartFile(FolderPath() / (name + std::string(kb::kPartExtension)), *m_pSave, &error)) {
        m_questions.message(error, {}, kov::platform::MessageIcon::Error);
        return;
    }
    ListPartFiles();
    if (onClose) onClose();
}

void PartsPaletteForm::DeletePart()
{
    if (m_nFolder < 0) {
        m_questions.message(kChooseFolder);
        return;
    }
    if (!DeleteEnabled()) return;
    const std::string file = m_PartNames[static_cast<std::size_t>(m_nPart)] + std::string(kb::kPartExtension);
    if (!m_questions.askOkCancel("選択中の" + file + "を削除してもよろしいですか？")) return;
    if (!DeleteEnabled()) return;
    std::error_code ec;
    if (!fs::remove(PartPath(m_nPart), ec) || ec)
        m_questions.message("「" + file + "」を削除できませんでした", {}, kov::platform::MessageIcon::Error);
    ListPartFiles();
    m_nPart = -1;
    m_strName.clear();
}

void PartsPaletteForm::AddFolder(const std::string& name, bool inside)
{
    if (name.empty()) return;
    if (kb::CheckLibraryName(name) != kb::LibraryNameProblem::None) {
        m_questions.message(kFolderNameRefused);
        return;
    }
    const fs::path path = inside && m_nFolder >= 0 ? m_root / m_Folders[static_cast<std::size_t>(m_nFolder)].name / name
                                                   : m_root / name;
    std::error_code ec;
    if (!fs::create_directory(path, ec) || ec) m_questions.message(kFolderNotMade, {}, kov::platform::MessageIcon::Warning);
    m_Folders.clear();
    m_nPart = -1;
    m_nPage = -1;
    m_nFolder = -1;
    m_nSubFolder = 0;
    m_profile.WriteProfileString(kUtility, "buhin_forda_jyun", "");
    m_profile.WriteProfileInt(kUtility, "buhin_selectidx", -1);
    m_profile.WriteProfileInt(kUtility, "buhin_selectidx_s", 0);
    ReloadFolders();
}

std::string PartsPaletteForm::PlacementSummary() const { return kb::PartPlacement::FromProfile(m_profile).Summary(); }

void PartsPaletteForm::ResetPlacement() { kb::PartPlacement::ResetInProfile(m_profile); }

void PartsPaletteForm::OptionsChanged()
{
    if (m_nMode != PLACING || m_nFolder < 0 || m_nPage < 0) return;
    if (m_machine.CancelPlacement()) m_machine.host().RedrawAll();
    OnOK();
}

// -- the window ---------------------------------------------------------------------------------------

namespace {

QString u(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

constexpr int kCellSide = 64;

} // namespace

PartsPalette::PartsPalette(kov::tools::ToolMachine& machine, kov::platform::Profile& profile,
                           kov::platform::Questions& questions, fs::path root, QWidget* parent)
    : QDialog(parent), m_form(machine, profile, questions, std::move(root))
{
    setObjectName(QStringLiteral("partsPalette"));
    setWindowFlag(Qt::Tool);
    setWindowTitle(QStringLiteral("グループの選択"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    m_grid = new ThumbnailGrid(PartsPaletteForm::kCells, 3, QSize(kCellSide, kCellSide));
    m_grid->onPressed = [this](int cell) {
        m_form.ClickCell(cell);
        Refresh();
    };
    m_listWidget = new QListWidget;
    m_preview = new QLabel;
    m_preview->setFixedSize(kCellSide * 3, kCellSide * 3);
    m_preview->setFrameShape(QFrame::Box);
    layout->addWidget(m_grid);
    layout->addWidget(m_preview);
    layout->addWidget(m_listWidget);
    auto* pages = new QHBoxLayout;
    m_prev = new QPushButton(QStringLiteral("<< 前ページ"));
    m_next = new QPushButton(QStringLiteral("次ページ >>"));
    pages->addWidget(m_prev);
    pages->addWidget(m_next);
    layout->addLayout(pages);
    m_tree = new QTreeWidget;
    m_tree->setHeaderHidden(true);
    m_tree->setFixedHeight(kCellSide * 3 / 2);
    layout->addWidget(m_tree);
    auto* nameRow = new QHBoxLayout;
    m_name = new QLineEdit;
    m_list = new QCheckBox(QStringLiteral("一覧"));
    nameRow->addWidget(m_name);
    nameRow->addWidget(m_list);
    layout->addLayout(nameRow);
    auto* checks = new QHBoxLayout;
    m_continuous = new QCheckBox(QStringLiteral("連続配置"));
    m_blackWhite = new QCheckBox(QStringLiteral("白黒配置"));
    checks->addWidget(m_continuous);
    checks->addWidget(m_blackWhite);
    layout->addLayout(checks);
    auto* summaryRow = new QHBoxLayout;
    m_summary = new QLabel;
    m_summary->setFrameShape(QFrame::Panel);
    m_summary->setMinimumHeight(48);
    auto* summaryButtons = new QVBoxLayout;
    m_options = new QPushButton(QStringLiteral("変更..."));
    m_reset = new QPushButton(QStringLiteral("ﾘｾｯﾄ"));
    summaryButtons->addWidget(m_options);
    summaryButtons->addWidget(m_reset);
    summaryRow->addWidget(m_summary, 1);
    summaryRow->addLayout(summaryButtons);
    layout->addLayout(summaryRow);
    auto* saveRow = new QHBoxLayout;
    m_save = new QPushButton(QStringLiteral("保存"));
    m_addFolder = new QPushButton(QStringLiteral("ﾌｫﾙﾀﾞ追加..."));
    m_delete = new QPushButton(QStringLiteral("削除..."));
    saveRow->addWidget(m_save);
    saveRow->addWidget(m_addFolder);
    saveRow->addWidget(m_delete);
    layout->addLayout(saveRow);

    m_form.onClose = [this] { hide(); };
    connect(m_prev, &QPushButton::clicked, this, [this] {
        m_form.PrevPage();
        Refresh();
    });
    connect(m_next, &QPushButton::clicked, this, [this] {
        m_form.NextPage();
        Refresh();
    });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (m_filling || !item) return;
        m_form.ChooseFolder(item->data(0, Qt::UserRole).toInt(), item->data(0, Qt::UserRole + 1).toInt());
        Refresh();
    });
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& t) { m_form.m_strName = t.toStdString(); });
    connect(m_list, &QCheckBox::toggled, this, [this](bool on) {
        if (m_filling) return;
        m_form.SetListMode(on);
        Refresh();
    });
    connect(m_listWidget, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_filling || row < 0) return;
        m_form.ChooseListEntry(row);
        Refresh();
    });
    connect(m_continuous, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_filling) m_form.SetContinuous(on);
    });
    connect(m_blackWhite, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_filling) m_form.SetBlackWhite(on);
    });
    connect(m_options, &QPushButton::clicked, this, [this, &profile] {
        CBuhinItiSetDlg dialog(profile, this);
        if (dialog.exec() != QDialog::Accepted) return;
        m_form.OptionsChanged();
        Refresh();
    });
    connect(m_reset, &QPushButton::clicked, this, [this] {
        m_form.ResetPlacement();
        Refresh();
    });
    connect(m_save, &QPushButton::clicked, this, [this] {
        m_form.OnOK();
        if (isVisible()) Refresh();
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        m_form.DeletePart();
        Refresh();
    });
    connect(m_addFolder, &QPushButton::clicked, this, [this] {
        const bool chosen = m_form.m_nFolder >= 0;
        CFordaAddDlg dialog(chosen ? m_form.m_Folders[static_cast<std::size_t>(m_form.m_nFolder)].name + "のフォルダの中に追加"
                                   : std::string(),
                            chosen ? 0 : -1, this);
        if (dialog.exec() != QDialog::Accepted) return;
        m_form.AddFolder(dialog.form().m_strName, dialog.form().m_nInside == 1);
        fillTree();
        Refresh();
    });
}

bool PartsPalette::OpenForPlacing()
{
    m_form.m_nMode = PartsPaletteForm::PLACING;
    m_form.m_pSave = nullptr;
    // The folders are listed at every opening: a folder added or an order set since shows at once.
    if (!m_form.ReloadFolders()) return false;
    fillTree();
    Refresh();
    show();
    raise();
    return true;
}

bool PartsPalette::OpenForSaving(const CKovUnit& group)
{
    m_form.m_nMode = PartsPaletteForm::SAVING;
    m_form.m_pSave = &group;
    if (!m_form.ReloadFolders()) return false;
    fillTree();
    Refresh();
    show();
    raise();
    return true;
}

void PartsPalette::fillTree()
{
    m_filling = true;
    m_tree->clear();
    QTreeWidgetItem* current = nullptr;
    for (std::size_t f = 0; f < m_form.m_Folders.size(); ++f) {
        const auto& folder = m_form.m_Folders[f];
        auto* item = new QTreeWidgetItem(m_tree, QStringList(u(folder.name)));
        item->setData(0, Qt::UserRole, int(f));
        item->setData(0, Qt::UserRole + 1, 0);
        if (int(f) == m_form.m_nFolder && m_form.m_nSubFolder == 0) current = item;
        for (std::size_t s = 0; s < folder.subFolders.size(); ++s) {
            auto* sub = new QTreeWidgetItem(item, QStringList(u(folder.subFolders[s])));
            sub->setData(0, Qt::UserRole, int(f));
            sub->setData(0, Qt::UserRole + 1, int(s + 1));
            if (int(f) == m_form.m_nFolder && m_form.m_nSubFolder == int(s + 1)) {
                current = sub;
                item->setExpanded(true);
            }
        }
    }
    if (current) m_tree->setCurrentItem(current);
    m_filling = false;
}

void PartsPalette::syncControls()
{
    const bool placing = m_form.m_nMode == PartsPaletteForm::PLACING;
    const bool list = placing && m_form.m_bListMode;
    setWindowTitle(u(m_form.Title()));
    m_grid->setVisible(!list);
    m_prev->setVisible(!list);
    m_next->setVisible(!list);
    m_listWidget->setVisible(list);
    m_preview->setVisible(list);
    m_list->setVisible(placing);
    m_name->setReadOnly(placing);
    m_save->setVisible(!placing);
    m_delete->setVisible(!placing);
    m_addFolder->setVisible(!placing);
    m_summary->setEnabled(placing);
    for (QWidget* w : {static_cast<QWidget*>(m_options), static_cast<QWidget*>(m_reset),
                       static_cast<QWidget*>(m_continuous), static_cast<QWidget*>(m_blackWhite)})
        w->setEnabled(placing);
    m_filling = true;
    m_list->setChecked(m_form.m_bListMode);
    m_continuous->setChecked(m_form.Continuous());
    m_blackWhite->setChecked(m_form.BlackWhite());
    m_filling = false;
    m_summary->setText(placing ? u(m_form.PlacementSummary()) : QString());
    m_prev->setEnabled(m_form.PrevEnabled());
    m_next->setEnabled(m_form.NextEnabled());
    m_delete->setEnabled(m_form.DeleteEnabled());
    if (m_name->text().toStdString() != m_form.m_strName) m_name->setText(u(m_form.m_strName));
}

void PartsPalette::Refresh()
{
    syncControls();
    // The tree shows the folder the form has chosen.
    m_filling = true;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* folder = m_tree->topLevelItem(i);
        if (folder->data(0, Qt::UserRole).toInt() != m_form.m_nFolder) continue;
        QTreeWidgetItem* item = m_form.m_nSubFolder > 0 && m_form.m_nSubFolder <= folder->childCount()
                                    ? folder->child(m_form.m_nSubFolder - 1)
                                    : folder;
        if (m_tree->currentItem() != item) m_tree->setCurrentItem(item);
    }
    m_filling = false;
    if (m_form.m_nMode == PartsPaletteForm::PLACING && m_form.m_bListMode) {
        m_filling = true;
        m_listWidget->clear();
        for (const std::string& n : m_form.m_PartNames) m_listWidget->addItem(u(n));
        if (m_form.m_nPart >= 0) m_listWidget->setCurrentRow(m_form.m_nPart);
        m_filling = false;
        const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
        m_preview->setPixmap(ThumbnailPicture(m_preview->size(), dpi, false,
                                              [this](kov::platform::Surface& surface, const DeviceRect& rect, int d) {
                                                  m_form.DrawThumbnail(surface, m_form.m_nPart, rect, d);
                                              }));
        return;
    }
    const int chosen = m_form.m_nPage >= 0 ? m_form.m_nPart - m_form.m_nPage * PartsPaletteForm::kCells : -1;
    m_grid->fill(
        chosen,
        [this](int cell, kov::platform::Surface& surface, const DeviceRect& rect, int dpi) {
            m_form.DrawThumbnail(surface, m_form.CellPart(cell), rect, dpi);
        },
        [this](int cell) { return m_form.CellName(cell); });
}

QRect PartsPalette::cellRect(int cell) const { return m_grid->cellRect(cell); }

void PartsPalette::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_form.OnOK();
        if (isVisible()) Refresh();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PartsPalette::reject()
{
    m_form.OnCancel();
    hide();
}

} // namespace kov::dialogs
