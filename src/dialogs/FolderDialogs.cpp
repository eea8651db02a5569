#include "dialogs/FolderDialogs.h"

#include "dialogs/SettingsServices.h"
#include "dialogs/SettingsTexts.h"
#include "dialogs/SettingsWidgets.h"
#include "model/SettingsValues.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <string_view>

namespace kov::dialogs {

namespace fs = std::filesystem;
using kov::model::kSectionUtility;
using ui::control;
using ui::named;
using ui::qs;

std::string BrowseForFolder(kov::platform::Questions& questions, const std::string& initial)
{
    const std::optional<fs::path> chosen = questions.chooseFolder(texts::kBrowseFolderTitle, fs::path(initial));
    return chosen ? chosen->string() : initial;
}

// -- folder settings -----------------------------------------------------------------------------

void FolderSettingsForm::Load(const kov::platform::Profile& p, const fs::path& defaultFolder)
{
    folder = p.GetProfileString(kSectionUtility, "path_set_forda", defaultFolder.string());
    if (folder.empty()) folder = defaultFolder.string();
    for (int i = 0; i < kSwitches; ++i) on[static_cast<std::size_t>(i)] = p.GetProfileInt(kSectionUtility, kKeys[i], 0) ? 1 : 0;
}

void FolderSettingsForm::Browse(kov::platform::Questions& questions)
{
    const std::string chosen = BrowseForFolder(questions, folder);
    if (chosen != folder) folder = chosen;
}

void FolderSettingsForm::Accept(kov::platform::Profile& p) const
{
    p.WriteProfileString(kSectionUtility, "path_set_forda", folder);
    for (int i = 0; i < kSwitches; ++i) p.WriteProfileInt(kSectionUtility, kKeys[i], on[static_cast<std::size_t>(i)]);
}

CPathSetDg::CPathSetDg(kov::platform::Profile& profile, kov::platform::Questions& questions,
                       const fs::path& defaultFolder, QWidget* parent)
    : QDialog(parent), m_profile(profile), m_questions(questions)
{
    setWindowTitle(qs(texts::kFolderTitle));
    m_form.Load(profile, defaultFolder);
    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QLabel(qs(ui::withValue(texts::kFolderExplanation, defaultFolder.string())));
    explanation->setWordWrap(true);
    explanation->setMinimumWidth(460);
    layout->addWidget(explanation);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(qs(texts::kFolderLabel)));
    auto* box = named(new QLineEdit(qs(m_form.folder)), "path_set_forda");
    box->setReadOnly(true);
    row->addWidget(box, 1);
    auto* browse = named(new QPushButton(qs(texts::kBrowse)), "browse");
    row->addWidget(browse);
    layout->addLayout(row);
    for (int i = 0; i < FolderSettingsForm::kSwitches; ++i) {
        auto* check = named(new QCheckBox(qs(texts::kFolderSwitches[i])), FolderSettingsForm::kKeys[i]);
        check->setChecked(m_form.on[static_cast<std::size_t>(i)] != 0);
        connect(check, &QCheckBox::toggled, this, [this, i](bool v) { m_form.on[static_cast<std::size_t>(i)] = v ? 1 : 0; });
        layout->addWidget(check);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(qs(texts::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(qs(texts::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(browse, &QPushButton::clicked, this, [this, box] {
        m_form.Browse(m_questions);
        box->setText(qs(m_form.folder));
    });
}

void CPathSetDg::accept()
{
    m_form.Accept(m_profile);
    QDialog::accept();
}

// -- transfer ------------------------------------------------------------------------------------

namespace {

bool isPartFile(const fs::path& p)
{
    const std::string s = p.string();
    return s.size() >= 3 && std::string_view(s).substr(s.size() - 3) == "mgp";
}

bool makeFolder(const fs::path& folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
}

// The entries of a folder, or false when it cannot be listed.
bool listFolder(const fs::path& folder, std::vector<fs::directory_entry>& out)
{
    out.clear();
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return false;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return false;
        out.push_back(*it);
    }
    return true;
}

bool copyOver(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    return !ec;
}

// The part files of one folder into another.
void copyPartFiles(const std::vector<fs::directory_entry>& entries, const fs::path& target, TreeCopyResult& r)
{
    std::error_code ec;
    for (const fs::directory_entry& e : entries) {
        if (!e.is_regular_file(ec) || !isPartFile(e.path())) continue;
        if (copyOver(e.path(), target / e.path().filename())) ++r.copied;
        else ++r.failed;
    }
}

// A wait cursor for as long as the copy runs.
struct WaitCursor {
    WaitCursor()
    {
        if (qApp) QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (qApp) QApplication::restoreOverrideCursor();
    }
};

std::string failuresLine(int failed)
{
    return failed > 0 ? "\n" + ui::withValue(texts::kTransferFailures, failed) : std::string();
}

} // namespace

TransferPlaces TransferPlaces::Of(const kov::platform::Folders& folders, const kov::platform::CommonFolderSwitches& sw)
{
    return {folders.folderFor(kov::platform::UserData::Parts, sw), folders.quotationListFile(sw),
            folders.roomListFile(sw)};
}

TreeCopyResult CopyLibraryTree(const fs::path& source, const fs::path& target)
{
    const WaitCursor wait;
    TreeCopyResult r;
    std::vector<fs::directory_entry> top;
    if (!listFolder(source, top)) return r;
    r.listed = true;
    if (!makeFolder(target)) {
        ++r.failed;
        return r;
    }
    std::error_code ec;
    for (const fs::directory_entry& first : top) {
        if (!first.is_directory(ec)) continue;
        const fs::path t1 = target / first.path().filename();
        std::vector<fs::directory_entry> inner;
        if (!makeFolder(t1) || !listFolder(first.path(), inner)) {
            ++r.failed;
            continue;
        }
        copyPartFiles(inner, t1, r);
        for (const fs::directory_entry& second : inner) {
            if (!second.is_directory(ec)) continue;
            const fs::path t2 = t1 / second.path().filename();
            std::vector<fs::directory_entry> files;
            if (!makeFolder(t2) || !listFolder(second.path(), files)) {
                ++r.failed;
                continue;
            }
            copyPartFiles(files, t2, r);
        }
    }
    return r;
}

void ExportTransferFolder(const SettingsServices& s)
{
    kov::platform::Questions& q = *s.questions;
    if (!q.askOkCancel(texts::kTransferAskExport)) return;
    q.message(texts::kTransferChoosePlace);
    const std::string place = BrowseForFolder(q, std::string());
    if (place.empty()) return;
    const fs::path folder = fs::path(place) / kTransferFolderName;
    std::error_code ec;
    if (fs::exists(folder, ec)) {
        q.message(ui::withValue(texts::kTransferExists, folder.string()), {}, kov::platform::MessageIcon::Warning);
        return;
    }
    if (!makeFolder(folder)) {
        q.message(texts::kTransferFolderFailed, {}, kov::platform::MessageIcon::Warning);
        return;
    }
    const TransferPlaces here = TransferPlaces::Of(s.folders, s.switches());
    int failed = 0;
    for (const auto& [from, name] : {std::pair{here.quotationList, "kovtex.txt"}, std::pair{here.roomList, "kovroom.txt"}})
        if (fs::exists(from, ec) && !copyOver(from, folder / name)) ++failed;
    const TreeCopyResult tree = CopyLibraryTree(here.partsRoot, folder / "data");
    if (!tree.listed) {
        q.message(std::string(texts::kTransferNoData) + failuresLine(failed));
        return;
    }
    q.message(std::string(texts::kTransferDone) + failuresLine(failed + tree.failed));
}

void TransferImportForm::Browse(kov::platform::Questions& questions)
{
    const std::string chosen = BrowseForFolder(questions, folder);
    if (chosen != folder) folder = chosen;
}

void TransferImportForm::Start(const SettingsServices& s) const
{
    kov::platform::Questions& q = *s.questions;
    if (folder.empty()) {
        q.message(texts::kTransferNoFolder);
        return;
    }
    if (!q.askOkCancel(texts::kTransferAskImport)) return;
    const fs::path from(folder);
    const TransferPlaces here = TransferPlaces::Of(s.folders, s.switches());
    int failed = 0;
    std::error_code ec;
    for (const auto& [name, to] : {std::pair{"kovtex.txt", here.quotationList}, std::pair{"kovroom.txt", here.roomList}})
        if (fs::exists(from / name, ec) && !(makeFolder(to.parent_path()) && copyOver(from / name, to))) ++failed;
    const TreeCopyResult tree = CopyLibraryTree(from / "data", here.partsRoot);
    if (!tree.listed) {
        q.message(std::string(texts::kTransferNoData) + failuresLine(failed));
        return;
    }
    q.message(std::string(texts::kTransferDone) + failuresLine(failed + tree.failed));
}

COldConvDlg::COldConvDlg(const SettingsServices& services, QWidget* parent) : QDialog(parent), m_services(services)
{
    setWindowTitle(qs(texts::kTransferTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qs(texts::kTransferLabel)));
    auto* row = new QHBoxLayout;
    auto* box = named(new QLineEdit, "folder");
    box->setReadOnly(true);
    box->setMinimumWidth(320);
    row->addWidget(box, 1);
    auto* browse = named(new QPushButton(qs(texts::kBrowse)), "browse");
    row->addWidget(browse);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    auto* start = named(new QPushButton(qs(texts::kTransferStart)), "start");
    auto* close = named(new QPushButton(qs(texts::kClose)), "close");
    buttons->addStretch(1);
    buttons->addWidget(start);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(browse, &QPushButton::clicked, this, [this, box] {
        m_form.Browse(*m_services.questions);
        box->setText(qs(m_form.folder));
    });
    connect(start, &QPushButton::clicked, this, [this] { m_form.Start(m_services); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace kov::dialogs
