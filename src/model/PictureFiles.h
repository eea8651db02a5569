#pragma once

// The temporary picture files behind picture objects: their folder and names, reading their size,
// orientation and format, and converting between BMP, PNG, JPEG and GIF.

#include "platform/Color.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class QImage;

namespace kov::platform {
class Profile;
}

// Picture type codes as pictures store them; any other value is taken as BMP.
enum PictureType : int {
    kPictureOther = 0,
    kPictureJpeg = 1,
    kPicturePng = 2,
    kPictureGif = 3,
    kPictureBmp = 4,
};

// "jpg", "png", "gif", or "bmp" for BMP and every other code.
std::string_view PictureExtension(int type);

// `folder`/Tmps below the given default place, created when missing.
std::filesystem::path TempImageFolder(const std::filesystem::path& programFolder);
// The folder every user of temporary pictures takes: the common folder "path_set_forda" itself when
// "path_itizi_flg" (section "KOV_T_UTILITY") is not 0, else TempImageFolder(programFolder).
std::filesystem::path ResolveTempImageFolder(const kov::platform::Profile& profile,
                                             const std::filesystem::path& programFolder);

// folder/"temp<id>.<extension of type>".
std::filesystem::path TempImagePath(const std::filesystem::path& folder, int id, int type = kPictureBmp);
// A picture's stored ".bmp" name with the extension of its type in place of the last three characters.
std::filesystem::path PictureFileForType(const std::filesystem::path& bmpName, int type);

// The first free temporary name of a picture: CKovImage::MakeTempImageName.
// The numbers N of the files "temp<N>" and "temp<N>.<anything>" in the folder (one listing), and the
// numbers held there without a file (below).
std::unordered_set<long long> TempImageNumbersIn(const std::filesystem::path& folder);

// A picture read from a drawing keeps its bytes in memory until something needs its file, and holds
// its number in the folder meanwhile: every search for a free name in this process takes a held
// number as taken, as if the file were there. Each hold is released once.
void HoldTempImageNumber(const std::filesystem::path& folder, long long number);
void ReleaseTempImageNumber(const std::filesystem::path& folder, long long number);
// A file "temp<N>.<type>" of any picture type in the folder, or N held.
bool TempImageNumberTaken(const std::filesystem::path& folder, long long number);

// Every file of the folder, once (a document's own picture folder when the document is emptied).
void DeleteFilesIn(const std::filesystem::path& folder);

// The folder of one open document's temporary pictures inside the shared folder:
// "kovira-<process>-<serial>". Held numbers (above) are known only inside one process, so two
// programs never share a folder.
std::filesystem::path OwnPictureFolder(const std::filesystem::path& shared, int serial);
// Removes, with their files, the own folders of programs that no longer run (left by a crash).
void SweepEndedPictureFolders(const std::filesystem::path& shared);

// Deletes temp<id>.bmp, .gif, .png and .jpg from the folder. The container calls it for a picture when
// it is emptied in a mode that discards the files; copies never call it.
void DeleteTempImageFiles(const std::filesystem::path& folder, int id);

// The number N of a temporary picture's name as the program makes it ("temp<N>.bmp", ".png", ".jpg"
// or ".gif", exactly so); -1 for any other name.
long long TempPictureNumberOf(const std::string& fileName);

struct TempPicturePurge {
    int deleted = 0;
    int failed = 0;
};
// The leftover temporary pictures of the folder deleted: the names the program makes, except the
// numbers still named by a drawing (`inUse`). Folders and other files are left alone.
TempPicturePurge PurgeTempPictures(const std::filesystem::path& folder, const std::unordered_set<long long>& inUse);

// Size in pixels, 0 when the file is no readable picture.
int GetImageFileWidth(const std::filesystem::path& file);
int GetImageFileHeight(const std::filesystem::path& file);
// The orientation tag (1 to 8) of the picture, 1 when it has none or cannot be read.
int GetImageFileOrientation(const std::filesystem::path& file);
// The picture type judged by the file's content (not its name); kPictureOther when unreadable.
int GetImageFileFormat(const std::filesystem::path& file);

// The index of the first picture encoder whose MIME type is exactly mimeType ("image/bmp",
// "image/jpeg", "image/gif", "image/png"), -1 when no encoder writes it.
int GetEncoderClsid(std::string_view mimeType);

// The most pixels a picture may declare. Every picture is decoded whole, at four bytes a pixel, when
// it is drawn, printed or made transparent: 50 million pixels (200 MB) still take the largest photos of
// common cameras (48 million), and no plan needs more on an A1 sheet (31 million at 200 dpi). A damaged
// or crafted header that declares more is refused before anything is decoded.
inline constexpr long long kMaxPicturePixels = 50'000'000;

// Why a picture cannot be decoded at a bounded cost, judged from its header alone: it declares more
// than kMaxPicturePixels, or it is an uncompressed BMP whose rows the bytes do not hold. Empty when
// neither (bytes that are no picture at all are the decoder's to refuse). Japanese, for the user.
std::string PictureBytesProblem(const std::vector<std::uint8_t>& bytes);
std::string PictureFileProblem(const std::filesystem::path& file);

// Reads a picture by its content. False with `error` set when it cannot be decoded (also for the
// pictures PictureBytesProblem refuses).
bool ReadPictureFile(const std::filesystem::path& file, QImage& out, std::string* error = nullptr);
bool ReadPictureBytes(const std::vector<std::uint8_t>& bytes, QImage& out, std::string* error = nullptr);
// The picture encoded as the given type (BMP as 32-bit, GIF through giflib); empty on failure.
std::vector<std::uint8_t> EncodePicture(const QImage& image, int type, std::string* error = nullptr);
bool SavePictureFile(const QImage& image, const std::filesystem::path& file, int type, std::string* error = nullptr);
// Reads `source` whatever its format and writes it to `target` as `type`.
bool ConvertPictureFile(const std::filesystem::path& source, const std::filesystem::path& target, int type,
                        std::string* error = nullptr);

// Writes `source` as a PNG in which every opaque pixel of `colour` (0x00BBGGRR) is fully transparent.
// With useGivenSize the PNG is bitmapWidth × bitmapHeight and the picture is scaled into
// (0, 0, drawWidth, drawHeight); otherwise both are the picture's own size. The rest stays transparent
// white. 1 when written, 0 when the source cannot be read or the target written.
int ConvertToTransparentPng(const std::filesystem::path& source, const std::filesystem::path& target,
                            kov::platform::COLORREF colour, int drawWidth, int drawHeight, int bitmapWidth,
                            int bitmapHeight, bool useGivenSize);

// The bytes of a whole regular file; false when it cannot be read or is no regular file.
bool ReadWholeFile(const std::filesystem::path& file, std::vector<std::uint8_t>& out);
bool WriteWholeFile(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size);
