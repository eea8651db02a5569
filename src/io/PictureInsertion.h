#pragma once

// A picture file into the drawing: copied to its temporary name, turned by its orientation tag,
// sized by the rule of the settings, centred on the paper on the current layer and selected.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class CKovUnit;
class CPlotInfo;
class SelectionRecord;

namespace kov::platform {
class Profile;
}

namespace kov::io {

inline constexpr const char* kPictureOpenTitle = "画像の選択";
inline constexpr const char* kPictureOpenFilter =
    "画像ファイル (jpg,png,gif,bmp)|*.jpg;*.jpeg;*.png;*.gif;*.bmp|JPGファイル (*.jpg *.jpeg)|*.jpg;*.jpeg|"
    "PNGファイル (*.png)|*.png|GIFファイル (*.gif)|*.gif|BMPファイル (*.bmp)|*.bmp|すべてのファイル (*.*)|*.*||";
inline constexpr const char* kPictureUnreadable = "画像ファイルが適したタイプでないか、読み取れません。";
inline constexpr const char* kPictureCopyFailed = "画像ファイルを作業フォルダにコピーできませんでした。";

// What the view tells about the page: its width in pixels at zoom 1, the paper's width in mm and the
// horizontal zoom factor (rule 0: one picture pixel on one screen pixel of the page).
struct PageMetrics {
    double pageWidthPixels = 0;
    double paperWidthMm = 0;
    double zoom = 1;
};

// The scale of the source drawing and its resolution, asked for rule 2; nothing when cancelled.
struct RealSize {
    double scale = 100;
    int dpi = 150;
};
using RealSizeAsker = std::function<std::optional<RealSize>(const RealSize& preset)>;

struct PictureInsertion {
    bool ok = false;
    int imageId = 0;
    std::string message;   // to show when not ok
};

// Settings are read from (and the resolution of rule 2 written back to) the profile.
PictureInsertion InsertImageFile(const std::filesystem::path& file, CKovUnit& unit, const CPlotInfo& plot,
                                 SelectionRecord& selection, const std::filesystem::path& tempFolder,
                                 const PageMetrics& page, kov::platform::Profile& profile,
                                 const RealSizeAsker& askRealSize);

} // namespace kov::io
