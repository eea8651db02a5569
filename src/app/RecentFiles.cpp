#include "app/RecentFiles.h"

#include "model/SettingsValues.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace kov::app {

namespace {

std::string recentKey(int index)
{
    return kov::model::numberedKey("Recent", index + 1);
}

std::string normalPath(std::string_view text)
{
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(text), ec);
    if (ec) p = fs::path(text);
    return p.lexically_normal().string();
}

bool hasDocumentExtension(const fs::path& file)
{
    return kov::model::equalsNoCase(file.extension().string(), ".kvr");
}

} // namespace

std::vector<std::string> ReadRecentList(const kov::platform::Profile& profile)
{
    std::vector<std::string> list;
    for (int i = 0; i < kRecentCount; ++i) {
        std::string entry = profile.GetProfileString(kRecentSection, recentKey(i));
        if (!entry.empty()) list.push_back(std::move(entry));
    }
    return list;
}

bool SameRecentPath(std::string_view a, std::string_view b)
{
    return normalPath(a) == normalPath(b);
}

void UpdateRecentList(kov::platform::Profile& profile, const fs::path& path)
{
    if (path.empty()) return;
    const std::string newPath = path.string();
    std::vector<std::string> list{newPath};
    for (std::string& old : ReadRecentList(profile))
        if (!SameRecentPath(old, newPath)) list.push_back(std::move(old));
    for (int i = 0; i < kRecentCount; ++i) {
        // Clearing the keys past the list keeps an entry that was behind a gap from showing twice.
        const std::string value = i < int(list.size()) ? list[std::size_t(i)] : std::string();
        if (!value.empty() || !profile.GetProfileString(kRecentSection, recentKey(i)).empty())
            profile.WriteProfileString(kRecentSection, recentKey(i), value);
    }
}

FileListForm::FileListForm(Mode mode, std::string title, fs::path folder)
    : m_mode(mode), m_title(std::move(title)), m_folder(std::move(folder))
{
}

int FileListForm::init(const kov::platform::Profile& profile, kov::platform::Questions& questions)
{
    m_chosen.clear();
    m_lines.clear();
    m_paths.clear();
    if (m_mode == FolderDocuments) {
        std::error_code ec;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_folder, ec)) {
            std::error_code typeError;
            if (!entry.is_regular_file(typeError) || !hasDocumentExtension(entry.path())) continue;
            m_paths.push_back(entry.path());
        }
        // A stable order for the user, whatever order the file system hands them out.
        std::sort(m_paths.begin(), m_paths.end());
        for (const fs::path& p : m_paths) m_lines.push_back(p.filename().string());
        if (m_lines.empty()) questions.message(kNoSamplesMessage);
    } else {
        for (const std::string& entry : ReadRecentList(profile)) {
            m_paths.emplace_back(entry);
            m_lines.push_back(entry);
        }
        if (m_lines.empty()) questions.message(kNoRecentMessage);
    }
    return m_lines.empty() ? -1 : 0;
}

bool FileListForm::accept(int selectedLine)
{
    if (selectedLine < 0 || selectedLine >= int(m_paths.size())) return false;
    m_chosen = m_paths[std::size_t(selectedLine)];
    return true;
}

} // namespace kov::app
