#pragma once

#include "platform/Questions.h"

#include <functional>

class QWidget;

namespace kov::app {

// The program's messages and choosers as Qt dialogs, owned by the main window.
// A filter list written as "description|patterns|description|patterns|" (patterns separated by ';')
// in the form the file dialogs take: "description (patterns);;...". A list without '|' is kept.
std::string QtFileFilter(std::string_view filter);

// Where a file dialog opens: an absolute path as it is; a bare name (an offered export name) or
// nothing in the start folder (the open drawing's folder, else the user's documents folder).
std::filesystem::path DialogStartPath(const std::filesystem::path& initial, const std::filesystem::path& startFolder);

class QtQuestions final : public kov::platform::Questions {
public:
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    // The folder of the open drawing, or empty; asked each time a file dialog opens.
    void setDrawingFolder(std::function<std::filesystem::path()> folder) { m_drawingFolder = std::move(folder); }

    kov::platform::Answer messageBox(std::string_view text, std::string_view caption,
                                     kov::platform::MessageIcon icon, kov::platform::Buttons buttons) override;
    std::optional<uint32_t> chooseColor(uint32_t initial, kov::platform::CustomColors* customColors = nullptr) override;
    std::optional<kov::platform::FontChoice> chooseFont(const kov::platform::FontChoice& initial) override;
    std::optional<std::filesystem::path> chooseFolder(std::string_view title,
                                                      const std::filesystem::path& initial) override;
    std::optional<std::filesystem::path> chooseOpenFile(std::string_view title, std::string_view filter,
                                                        const std::filesystem::path& initial) override;
    std::optional<std::filesystem::path> chooseSaveFile(std::string_view title, std::string_view filter,
                                                        const std::filesystem::path& initial) override;

private:
    std::filesystem::path startPath(const std::filesystem::path& initial) const;

    QWidget* m_parent = nullptr;
    std::function<std::filesystem::path()> m_drawingFolder;
};

} // namespace kov::app
