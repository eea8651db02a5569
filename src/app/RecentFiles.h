#pragma once

// The list of the six documents used last (section "KOV_T_RecentList", keys "Recent1" newest to
// "Recent6"; an empty or missing key is no entry), and the form behind the file-list dialog that
// shows either that list or the documents of a folder.

#include "app/AppTexts.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kov::platform {
class Profile;
class Questions;
} // namespace kov::platform

namespace kov::app {

inline constexpr std::string_view kRecentSection = "KOV_T_RecentList";
inline constexpr int kRecentCount = 6;

// "Recent1".."Recent6" as stored, empty ones left out, newest first.
std::vector<std::string> ReadRecentList(const kov::platform::Profile& profile);

// Puts the path at the head of the list: an entry naming the same file moves up instead of being
// repeated, at most six are kept, and keys past the new list are cleared. An empty path does nothing.
void UpdateRecentList(kov::platform::Profile& profile, const std::filesystem::path& path);

// Two paths name the same file for the list: equal once made absolute and normal. Compared exactly,
// as Linux file names are (letters differing in case are other files).
bool SameRecentPath(std::string_view a, std::string_view b);

// The file-list dialog's logic: mode 1 lists the ".kvr" documents of a folder (file names shown),
// mode 2 the recent-file list (full paths shown). The widget shows `lines` and passes the selected
// line to accept().
class FileListForm {
public:
    enum Mode { FolderDocuments = 1, RecentFiles = 2 };

    FileListForm(Mode mode, std::string title, std::filesystem::path folder = {});

    // Fills the lists; an empty result shows its message. Returns the line to select (-1 for none).
    int init(const kov::platform::Profile& profile, kov::platform::Questions& questions);
    // OK: false (dialog stays open) when no line is selected; otherwise the chosen path is set.
    bool accept(int selectedLine);

    Mode mode() const { return m_mode; }
    const std::string& title() const { return m_title; }
    const std::vector<std::string>& lines() const { return m_lines; }
    const std::vector<std::filesystem::path>& paths() const { return m_paths; }
    const std::filesystem::path& chosenPath() const { return m_chosen; }

private:
    Mode m_mode;
    std::string m_title;
    std::filesystem::path m_folder;
    std::vector<std::string> m_lines;
    std::vector<std::filesystem::path> m_paths;
    std::filesystem::path m_chosen;
};

} // namespace kov::app
