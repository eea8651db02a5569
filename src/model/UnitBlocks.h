#pragma once

// What the drawing's file blocks need from outside the container: where the pictures' temporary
// files live, which picture form to write, and where to report what the user must hear.

#include <filesystem>
#include <functional>
#include <string>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

// Shown when a picture's temporary file cannot be read while saving; the save then fails.
inline constexpr std::string_view kPictureSaveFailedMessage =
    "画像部分が正しく保存できませんでした。\n"
    "レイアウトされている画像を一旦削除し、改めて取り込み直してから再度保存しなおしてください。";

struct UnitFileContext {
    // The temporary picture folder (ResolveTempImageFolder).
    std::filesystem::path pictureFolder;
    // Setting "app_savegazouold": write every picture as BMP for readers that know only BMP.
    bool oldPictureForm = false;
    // Shows a message to the user (the save-failure message). May be empty.
    std::function<void(std::string_view)> showMessage;
    // Faults met on the way that did not stop reading, and why a write stopped: one line each,
    // naming the block and the object.
    std::vector<std::string> warnings;
    // Reading: the numbers of the temporary picture files, listed at the first picture with bytes
    // and kept up to date by the read, so that many pictures cost one listing of the folder. Each
    // ReadUnit starts and ends with it empty.
    std::optional<std::unordered_set<long long>> takenPictureNumbers;
};
