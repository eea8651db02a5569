#include "app/FileListDialogs.h"

#include "app/AppTexts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kov::app {

namespace {

QString qtText(std::string_view text) { return QString::fromUtf8(text); }

QDialogButtonBox* openCancelButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(qtText(kOpenButton), QDialogButtonBox::AcceptRole);
    buttons->addButton(qtText(kCancelButton), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void fill(QListWidget* list, const std::vector<std::string>& lines, int selected)
{
    list->setSortingEnabled(false);
    for (const std::string& line : lines) list->addItem(QString::fromStdString(line));
    if (selected >= 0) list->setCurrentRow(selected);
}

} // namespace

CBackUpListDg::CBackUpListDg(const kov::platform::Profile& profile, const kov::platform::Folders& folders,
                             QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(qtText(kBackupListTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qtText(kBackupListPrompt), this));
    m_list = new QListWidget(this);
    layout->addWidget(m_list);
    layout->addWidget(openCancelButtons(this));

    const int selected = m_form.init(profile, folders);
    std::vector<std::string> lines;
    for (const BackupEntry& entry : m_form.entries()) lines.push_back(entry.label);
    fill(m_list, lines, selected);
}

void CBackUpListDg::accept()
{
    m_form.accept(m_list->currentItem() && m_list->currentItem()->isSelected() ? m_list->currentRow() : -1);
    QDialog::accept();
}

CFileListDg::CFileListDg(FileListForm::Mode mode, const std::string& title, const std::filesystem::path& folder,
                         const kov::platform::Profile& profile, kov::platform::Questions& questions, QWidget* parent)
    : QDialog(parent), m_form(mode, title, folder)
{
    setWindowTitle(QString::fromStdString(title));
    auto* layout = new QVBoxLayout(this);
    m_files = new QListWidget(this);
    m_recent = new QListWidget(this);
    // Recent entries are whole paths: scroll sideways rather than cut them.
    m_recent->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_recent->setTextElideMode(Qt::ElideNone);
    layout->addWidget(m_files);
    layout->addWidget(m_recent);
    layout->addWidget(openCancelButtons(this));

    m_shown = mode == FileListForm::RecentFiles ? m_recent : m_files;
    (mode == FileListForm::RecentFiles ? m_files : m_recent)->hide();
    const int selected = m_form.init(profile, questions);
    fill(m_shown, m_form.lines(), selected);
}

void CFileListDg::accept()
{
    const bool selected = m_shown->currentItem() && m_shown->currentItem()->isSelected();
    if (m_form.accept(selected ? m_shown->currentRow() : -1)) QDialog::accept();
}

} // namespace kov::app
