#pragma once

// The two list dialogs of the file menu: the backups by their times, and the documents of a folder
// or the recent files. Their logic is in BackupListForm and FileListForm; these only show it.
// Neither reacts to a double click: a line is chosen with "開く".

#include "app/Backups.h"
#include "app/RecentFiles.h"

#include <QDialog>

class QListWidget;

namespace kov::platform {
class Profile;
class Questions;
struct Folders;
} // namespace kov::platform

namespace kov::app {

class CBackUpListDg : public QDialog {
public:
    CBackUpListDg(const kov::platform::Profile& profile, const kov::platform::Folders& folders,
                  QWidget* parent = nullptr);

    // -1 until closed with "開く" while a line was selected.
    int chosenNumber() const { return m_form.chosenNumber(); }
    QListWidget* list() const { return m_list; }

    void accept() override;

private:
    BackupListForm m_form;
    QListWidget* m_list = nullptr;
};

class CFileListDg : public QDialog {
public:
    CFileListDg(FileListForm::Mode mode, const std::string& title, const std::filesystem::path& folder,
                const kov::platform::Profile& profile, kov::platform::Questions& questions,
                QWidget* parent = nullptr);

    // Empty until closed with "開く".
    const std::filesystem::path& chosenPath() const { return m_form.chosenPath(); }
    // The list box of the mode (the other is hidden).
    QListWidget* list() const { return m_shown; }

    void accept() override;

private:
    FileListForm m_form;
    QListWidget* m_files = nullptr;
    QListWidget* m_recent = nullptr;
    QListWidget* m_shown = nullptr;
};

} // namespace kov::app
