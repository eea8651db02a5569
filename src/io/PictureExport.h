#pragma once

// The drawing as a picture: the page as the screen shows it (or a dragged part of it) rendered into
// a bitmap and written as BMP, JPEG, PNG or GIF, or drawn again into an EMF; the range copy for the
// clipboard; and the automatic picture written beside a saved document. Files are written whole or
// not at all; a failure is told and leaves the export settings as they were.

#include "model/KovUnit.h"
#include "platform/Color.h"
#include "platform/Surface.h"

#include <QImage>

#include <filesystem>
#include <optional>
#include <string>

class CPlotInfo;
class SelectionRecord;

namespace kov::platform {
class Profile;
}

namespace kov::io {

// Writer types.
enum { kWriteBmp = 0, kWriteJpeg = 1, kWritePng = 2, kWriteGif = 3, kWriteEmf = 4 };

namespace picturetexts {
inline constexpr const char* kSaveTitle = "画像の保存";
inline constexpr const char* kDefaultExtension = ".jpg |.bmp|.emf|.png|.gif ";
inline constexpr const char* kRangeFailed = "画像範囲取得に失敗しました。\nもう一度初めからやり直してください";
inline constexpr const char* kCannotSave =
    "画像保存ができませんでした。\nネットワークパスにアクセスできないか、フォルダ名、ファイル名、もしくはユーザー名に"
    "不正な日本語か文字があります。\n半角英数字のパス(C:\\gazou等)に保存してみてください。";
inline constexpr const char* kTransparentPngFailed = "透過png作成に失敗しました";
// A picture too large for the memory at hand (mended: the export used to go on with no picture).
inline constexpr const char* kNoMemory = "画像が大きすぎてメモリが足りません。出力サイズを小さくしてください。";
inline constexpr const char* kZoomedAutoSave = "ズーム拡大している自動保存できません。全体表示にして保存してください。";
inline constexpr const char* kSelectMode = "選択モード";
inline constexpr const char* kDragRange = "クリックドラッグして範囲を決める";
} // namespace picturetexts

// The writer type of a chosen file name, by its extension without regard to case; ".jpeg" is JPEG.
int WriterTypeOfPath(const std::filesystem::path& path);
// The save dialog's filter list, the format of `formatCode` (gazououtput_type) first.
const char* ExportFilterFor(int formatCode);

// The largest picture side in pixels that the output size settings hold: the settings page and
// the picture output panel store no more, and the export takes no more from a stored value.
inline constexpr int kMaxPictureOutputSide = 20000;
// A typed or stored output side: 0 for 0 or less (no size), kMaxPictureOutputSide for anything above.
constexpr int ClampPictureOutputSide(int side) { return side <= 0 ? 0 : side > kMaxPictureOutputSide ? kMaxPictureOutputSide : side; }

// The export settings as read at each use.
struct PictureExportSettings {
    int doubleSize = 1;     // app_gazoubai
    int justSize = 0;       // app_gazou_justsize
    int jpegQuality = 100;  // gazou_jpeg_atu
    int sizeFlag = 0;       // gazou_size
    int sizeW = 800;        // gazou_size_w
    int sizeH = 800;        // gazou_size_h
    int purpose = 0;        // gazou_out_moku
    int transparent = 0;    // gazou_toukagif
    static PictureExportSettings Load(const kov::platform::Profile& profile);
};

// What is drawn.
struct PictureScene {
    CKovUnit& unit;
    const CPlotInfo& plot;
    const SelectionRecord& selection;
    CKovUnit::DrawEnvironment& env;
};

// Where: the view's page rectangle (page pixels, at the view's zoom) and whether the view is zoomed.
struct PicturePage {
    DeviceRect pageRect;
    bool zoomed = false;
};

struct PictureOutcome {
    bool ok = false;
    std::string message;      // to show when not ok
    int width = 0, height = 0;  // of the picture written
};

// Renders the page pixels (x, y)-(x + w, y + h) and writes them to `path` as `writerType`; the format
// code used is stored in gazououtput_type when the file was written.
PictureOutcome RenderToImage(const PictureScene& scene, const PicturePage& page, int x, int y, int w, int h,
                             int writerType, const std::filesystem::path& path, kov::platform::Profile& profile,
                             kov::platform::COLORREF windowColour);

// The rectangle between two page points at the view's current zoom, for the clipboard: no doubling,
// no set size, no transparency. Empty when the range has no width or height.
QImage RenderRangeImage(const PictureScene& scene, const PicturePage& page, DevicePoint a, DevicePoint b,
                        kov::platform::COLORREF windowColour);

// The automatic picture's file for a document saved at docPath; `documents` is the user's documents
// folder (the default of the chosen folder).
std::filesystem::path AutoSavePicturePath(const std::filesystem::path& docPath, const kov::platform::Profile& profile,
                                          const std::filesystem::path& documents, int& outWriterType);

// The automatic picture of a saved document: the drawing's extent with its margin (or the whole page).
// Nothing written (ok, no message) for an empty extent.
PictureOutcome AutoSaveImage(const PictureScene& scene, const PicturePage& page, const std::filesystem::path& docPath,
                             kov::platform::Profile& profile, const std::filesystem::path& documents,
                             kov::platform::COLORREF windowColour);

} // namespace kov::io
