// Pictures from outside: our BMP reader (also the oldest picture block's form) and the picture
// files read by their content (size, orientation, format, decoding).

#include "model/Bmp.h"
#include "model/PictureFiles.h"

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>

#include <unistd.h>

namespace {

const std::filesystem::path& pictureFile()
{
    static const std::filesystem::path file = [] {
        std::string name = (std::filesystem::temp_directory_path() / "kovira-fuzz-XXXXXX").string();
        if (!::mkdtemp(name.data())) std::abort();
        return std::filesystem::path(name) / "picture.bmp";
    }();
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CDib dib;
    if (dib.ReadBmpFile(std::span<const std::uint8_t>(data, size))) {
        // A picture that reads must write and read again.
        const std::vector<std::uint8_t> again = dib.WriteBmpBytes();
        CDib back;
        if (!back.ReadBmpFile(std::span<const std::uint8_t>(again.data(), again.size()))) std::abort();
    }

    const std::filesystem::path& file = pictureFile();
    if (!WriteWholeFile(file, data, size)) return 0;
    GetImageFileWidth(file);
    GetImageFileHeight(file);
    GetImageFileOrientation(file);
    GetImageFileFormat(file);
    QImage image;
    // Decoding a huge announced size is Qt's to refuse; keep the fuzzer to small pictures.
    if (GetImageFileWidth(file) <= 2048 && GetImageFileHeight(file) <= 2048) ReadPictureFile(file, image);
    return 0;
}
