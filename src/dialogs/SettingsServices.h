#pragma once

// What the settings sheet, its pages and the folder and transfer dialogs need from the program: the
// settings store, the questions, the folders of the user's data, the application's cache of settings
// and the dialogs that other parts of the program provide. The shell fills it; tests fill it with a
// memory profile and scripted answers.

#include "platform/Folders.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

class CFontMenu;

namespace kov::platform {
class Profile;
class Questions;
} // namespace kov::platform

namespace kov::dialogs {

struct SettingsServices {
    kov::platform::Profile* profile = nullptr;     // required
    kov::platform::Questions* questions = nullptr; // required
    kov::platform::Folders folders;                // the lists, the parts library, temporary pictures
    std::filesystem::path documentsFolder;         // the user's documents (automatic picture save)

    // The application's cache: the value of a cached setting, nothing for a key it does not cache.
    std::function<std::optional<int>(std::string_view key)> cachedValue;
    // Writes the key and its cached value together; false for a key it does not cache.
    std::function<bool(std::string_view key, int value)> writeCached;
    // The room-name font dialog: true when the font was changed.
    std::function<bool(CFontMenu& font)> editRoomFont;
    // The parts-folder order dialog on the parts library folder.
    std::function<void(const std::string& dataFolder)> partsFolderOrder;
    // The numbers of the temporary pictures the drawing, its base and its undo and redo snapshots
    // name: the deletion of leftover temporary pictures never touches them.
    std::unordered_set<long long> tempPicturesInUse;
    // The open drawing's own picture folder inside the shared one, where its leftovers lie too.
    std::filesystem::path documentPictureFolder;

    // A setting as a page shows it: from the cache where it has one (and `fromCache`), else the key.
    int Read(std::string_view section, std::string_view key, int defaultValue, bool fromCache) const;
    // A setting as a page's OK writes it: the key, and the cached value where there is one.
    void Write(std::string_view section, std::string_view key, int value, bool cached) const;

    kov::platform::CommonFolderSwitches switches() const;
};

} // namespace kov::dialogs
