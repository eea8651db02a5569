#include "model/KovImage.h"

#include "model/Geometry.h"
#include "model/PictureFiles.h"
#include "render/PictureDrawing.h"

#include <QImage>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <list>
#include <mutex>
#include <vector>

namespace kov::render {

namespace {

// π as the picture drawer has always taken it, so that turned pictures land on the same pixels.
constexpr double kPicturePi = 3.141592;

int clampCoord(long long v)
{
    return int(std::clamp<long long>(v, -kDeviceCoordLimit, kDeviceCoordLimit));
}

// Decoded pictures, newest first. A redraw (every zoom and scroll) would otherwise decode every
// picture file again; an entry is used only while its file keeps its size and time.
class PictureCache {
public:
    QImage get(const std::filesystem::path& file, int quarterTurns)
    {
        std::error_code ec;
        const auto size = std::filesystem::file_size(file, ec);
        if (ec) return {};
        const auto time = std::filesystem::last_write_time(file, ec);
        if (ec) return {};
        return find(file, quarterTurns, size, time, [&file] { return LoadPictureFile(file); });
    }
    // The bytes of a file not written yet: the entry is known by the file's name with no time.
    QImage get(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes, int quarterTurns)
    {
        return find(file, quarterTurns, bytes.size(), std::filesystem::file_time_type::min(), [&bytes] {
            QImage image;
            ReadPictureBytes(bytes, image);
            return image;
        });
    }

private:
    template <class Load>
    QImage find(const std::filesystem::path& file, int quarterTurns, std::uintmax_t size,
                std::filesystem::file_time_type time, Load load)
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->file == file && it->quarterTurns == quarterTurns && it->size == size && it->time == time) {
                m_entries.splice(m_entries.begin(), m_entries, it);
                return it->image;
            }
        }
        QImage image = load();
        if (image.isNull()) return {};
        if (quarterTurns != 0) image = image.transformed(QTransform().rotate(90.0 * quarterTurns));
        m_entries.push_front({file, quarterTurns, size, time, image});
        m_bytes += image.sizeInBytes();
        while (m_entries.size() > 1 && (m_bytes > kMaxBytes || m_entries.size() > kMaxEntries)) {
            m_bytes -= m_entries.back().image.sizeInBytes();
            m_entries.pop_back();
        }
        return image;
    }

    static constexpr qsizetype kMaxBytes = 256LL * 1024 * 1024;
    static constexpr std::size_t kMaxEntries = 64;
    struct Entry {
        std::filesystem::path file;
        int quarterTurns = 0;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type time;
        QImage image;
    };
    std::mutex m_mutex;
    std::list<Entry> m_entries;
    qsizetype m_bytes = 0;
};

PictureCache& cache()
{
    static PictureCache instance;
    return instance;
}

} // namespace

QImage LoadPictureFile(const std::filesystem::path& file)
{
    // Judged by its content, shown as its pixels are stored (an orientation tag is not applied), and
    // never decoded when its header declares more than may be.
    QImage image;
    ReadPictureFile(file, image);
    return image;
}

PictureFit FitPicture(long long pictureWidth, long long pictureHeight, long long width, long long height)
{
    if (pictureWidth <= 0 || pictureHeight <= 0 || width <= 0 || height <= 0) return {};
    // In 64 bits: a large picture at high zoom overflows 32-bit products.
    if (width * pictureHeight > pictureWidth * height)
        return {pictureWidth * height / pictureHeight, height};
    return {width, width * pictureHeight / pictureWidth};
}

std::array<platform::DevicePoint, 3> TurnedPictureCorners(const DeviceRect& r, long long fittedWidth,
                                                          long long fittedHeight, double angleDegrees)
{
    const double theta = -angleDegrees * kPicturePi / 180.0;
    const double c = std::cos(theta), s = std::sin(theta);
    const double fw = double(fittedWidth), fh = double(fittedHeight);
    const long long trX = truncToInt64(fw * c), trY = truncToInt64(-fw * s);
    const long long blX = truncToInt64(fh * s), blY = truncToInt64(fh * c);
    const long long midX = (trX + blX) / 2, midY = (trY + blY) / 2;
    const long long cx = r.left + (static_cast<long long>(r.right) - r.left) / 2;
    const long long cy = r.top + (static_cast<long long>(r.bottom) - r.top) / 2;
    const long long ox = cx - midX, oy = cy - midY;
    return {platform::DevicePoint{clampCoord(ox), clampCoord(oy)},
            platform::DevicePoint{clampCoord(ox + trX), clampCoord(oy + trY)},
            platform::DevicePoint{clampCoord(ox + blX), clampCoord(oy + blY)}};
}

} // namespace kov::render

DeviceRect CKovImage::DeviceRectFor(const DeviceTransform& transform) const
{
    const double s = transform.paperScale;
    const long long cx = static_cast<long long>(transform.originX) + truncToInt64(OffsetX * s);
    const long long cy = static_cast<long long>(transform.originY) + truncToInt64(OffsetY * s);
    const long long hw = truncToInt64(ImageWidth * s) / 2, hh = truncToInt64(ImageHeight * s) / 2;
    auto c = [](long long v) { return int(std::clamp<long long>(v, -kDeviceCoordLimit, kDeviceCoordLimit)); };
    return {c(cx - hw), c(cy - hh), c(cx + hw), c(cy + hh)};
}

std::string CKovImage::DrawnFileName() const
{
    if (ImageName.size() < 3) return ImageName;
    std::string name = ImageName.substr(0, ImageName.size() - 3);
    switch (IMGImagetype) {
    case kPictureJpeg: return name + "jpg";
    case kPicturePng: return name + "png";
    case kPictureGif: return name + "gif";
    default: return name + "bmp";
    }
}

void CKovImage::DrawImageObject(kov::platform::Surface& dc, int left, int top, int right, int bottom, bool,
                                const DeviceTransform&) const
{
    if (left == right || top == bottom) return;
    const DeviceRect r = DeviceRect{left, top, right, bottom}.normalized();
    const double angle = BLKImagekakudo;
    const int quarterTurns = angle == 90.0 ? 1 : angle == 180.0 ? 2 : angle == 270.0 ? 3 : 0;
    // A picture still waiting in memory since the read is drawn from there: showing a drawing writes
    // no files.
    const std::filesystem::path file = DrawnFileName();
    const auto waiting = PendingFileBytes();
    const QImage image = waiting ? kov::render::cache().get(file, *waiting, quarterTurns)
                                 : kov::render::cache().get(file, quarterTurns);
    if (image.isNull()) return;

    const long long W = static_cast<long long>(r.right) - r.left, H = static_cast<long long>(r.bottom) - r.top;
    const kov::render::PictureFit fit = kov::render::FitPicture(image.width(), image.height(), W, H);
    if (fit.width <= 0 || fit.height <= 0) return;
    if (angle == 0.0 || quarterTurns != 0) {
        const double x = double(r.left + (W - fit.width) / 2), y = double(r.top + (H - fit.height) / 2);
        dc.drawImage(image, {x, y}, {x + double(fit.width), y}, {x, y + double(fit.height)});
        return;
    }
    // Turned on a printer page, the corners may leave the page: nothing is painted over what is
    // already there, the page simply clips the picture.
    const auto corners = kov::render::TurnedPictureCorners(r, fit.width, fit.height, angle);
    auto f = [](const kov::platform::DevicePoint& p) { return kov::platform::DevicePointF{double(p.x), double(p.y)}; };
    dc.drawImage(image, f(corners[0]), f(corners[1]), f(corners[2]));
}
