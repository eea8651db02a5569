#include "model/PictureFiles.h"

#include "model/Bmp.h"
#include "model/GifWriter.h"
#include "model/KovImage.h"
#include "platform/Folders.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <system_error>

namespace {

void setError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

std::uint32_t le32(const QByteArray& b, qsizetype at)
{
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8
           | std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint16_t le16(const QByteArray& b, qsizetype at)
{
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

// An uncompressed BMP whose declared rows run past its bytes: the decoder would make the whole
// declared picture from a few bytes (a 70-byte file declared 2 × 16 million pixels). The last row
// may lack its padding, as some writers leave it.
bool bmpRowsMissing(const QByteArray& b)
{
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M')
        return false;
    const std::uint32_t offBits = le32(b, 10), headerSize = le32(b, 14);
    long long width = 0, height = 0;
    int bitCount = 0;
    std::uint32_t compression = kBiRgb;
    if (headerSize == 12) {
        width = le16(b, 18);
        height = le16(b, 20);
        bitCount = le16(b, 24);
    } else if (headerSize >= 40 && b.size() >= 34) {
        width = std::int32_t(le32(b, 18));
        height = std::int32_t(le32(b, 22));
        bitCount = le16(b, 28);
        compression = le32(b, 30);
    } else {
        return false;
    }
    if (compression != kBiRgb && compression != kBiBitfields)
        return false;
    width = std::llabs(width);
    height = std::llabs(height);
    if (width == 0 || height == 0 || bitCount <= 0 || bitCount > 32)
        return false;
    const long long rowBits = width * bitCount;
    const long long rowBytes = (rowBits + 31) / 32 * 4;
    if (rowBytes > b.size())
        return true; // not even one row (and the product below stays within range)
    const long long needed = static_cast<long long>(offBits) + rowBytes * (height - 1) + (rowBits + 7) / 8;
    return needed > b.size();
}

std::string pictureProblem(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader header(&buffer);
    header.setDecideFormatFromContent(true);
    const QSize size = header.size();
    if (size.isValid() && static_cast<long long>(size.width()) * size.height() > kMaxPicturePixels)
        return "画像が大きすぎます（" + std::to_string(size.width()) + "×" + std::to_string(size.height())
               + " 画素。読み込めるのは " + std::to_string(kMaxPicturePixels / 10'000) + "万画素までです）";
    const QByteArray format = header.format().toLower();
    if ((format == "bmp" || format == "dib" || format.isEmpty()) && bmpRowsMissing(bytes))
        return "画像のデータが途中で切れています（BMP の画素の行が足りません）";
    return {};
}

// A reader that judges the format by the content: temporary files may carry another type's extension.
struct ContentReader {
    QByteArray bytes;
    QBuffer buffer;
    QImageReader reader;

    explicit ContentReader(const std::filesystem::path& file)
    {
        std::vector<std::uint8_t> raw;
        if (ReadWholeFile(file, raw))
            bytes = QByteArray(reinterpret_cast<const char*>(raw.data()), static_cast<qsizetype>(raw.size()));
        open();
    }
    explicit ContentReader(const std::vector<std::uint8_t>& raw)
        : bytes(reinterpret_cast<const char*>(raw.data()), static_cast<qsizetype>(raw.size()))
    {
        open();
    }
    void open()
    {
        // Qt's own allocation limit (128 MB, 32 million pixels) would refuse pictures within ours.
        static const bool limitSet = [] {
            QImageReader::setAllocationLimit(static_cast<int>((kMaxPicturePixels * 4 >> 20) + 16));
            return true;
        }();
        (void)limitSet;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
        reader.setDecideFormatFromContent(true);
        reader.setAutoTransform(false);
    }
    bool empty() const { return bytes.isEmpty(); }
    // Decodes, unless the header says the picture is beyond what may be decoded.
    QImage read(std::string* error)
    {
        const std::string problem = pictureProblem(bytes);
        if (!problem.empty()) {
            setError(error, problem);
            return {};
        }
        QImage image = reader.read();
        if (image.isNull())
            setError(error, reader.errorString().toStdString());
        return image;
    }
};

// The number N of a name "temp<N>" or "temp<N>.<anything>", -1 for any other name.
long long tempNumber(const std::string& name)
{
    if (name.size() < 5 || (name.compare(0, 4, "temp") != 0 && name.compare(0, 4, "TEMP") != 0))
        return -1;
    std::size_t i = 4;
    long long n = 0;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9' && n < 1'000'000'000) {
        n = n * 10 + (name[i] - '0');
        ++i;
    }
    if (i == 4 || (i < name.size() && name[i] != '.'))
        return -1;
    return n;
}

// Numbers held without a file, by folder, each with how many holds it has.
struct HeldNumbers {
    std::mutex mutex;
    std::unordered_map<std::string, std::unordered_map<long long, int>> byFolder;
};

HeldNumbers& heldNumbers()
{
    static HeldNumbers held;
    return held;
}

std::string folderKey(const std::filesystem::path& folder) { return folder.lexically_normal().string(); }

} // namespace

std::string_view PictureExtension(int type)
{
    switch (type) {
    case kPictureJpeg: return "jpg";
    case kPicturePng: return "png";
    case kPictureGif: return "gif";
    default: return "bmp";
    }
}

std::filesystem::path TempImageFolder(const std::filesystem::path& programFolder)
{
    const std::filesystem::path folder = programFolder / "Tmps";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

std::filesystem::path ResolveTempImageFolder(const kov::platform::Profile& profile,
                                             const std::filesystem::path& programFolder)
{
    const std::filesystem::path own = TempImageFolder(programFolder);
    const kov::platform::CommonFolderSwitches sw = kov::platform::readCommonFolderSwitches(profile);
    return sw.tempPictures && !sw.commonFolder.empty() ? sw.commonFolder : own;
}

std::filesystem::path TempImagePath(const std::filesystem::path& folder, int id, int type)
{
    return folder / ("temp" + std::to_string(id) + "." + std::string(PictureExtension(type)));
}

std::filesystem::path PictureFileForType(const std::filesystem::path& bmpName, int type)
{
    std::string name = bmpName.string();
    if (name.size() < 3)
        return bmpName;
    name.replace(name.size() - 3, 3, PictureExtension(type));
    return name;
}

std::unordered_set<long long> TempImageNumbersIn(const std::filesystem::path& folder)
{
    std::unordered_set<long long> taken;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (const long long n = tempNumber(it->path().filename().string()); n >= 0)
            taken.insert(n);
    HeldNumbers& held = heldNumbers();
    std::lock_guard lock(held.mutex);
    if (const auto f = held.byFolder.find(folderKey(folder)); f != held.byFolder.end())
        for (const auto& [n, holds] : f->second)
            taken.insert(n);
    return taken;
}

void HoldTempImageNumber(const std::filesystem::path& folder, long long number)
{
    HeldNumbers& held = heldNumbers();
    std::lock_guard lock(held.mutex);
    ++held.byFolder[folderKey(folder)][number];
}

void ReleaseTempImageNumber(const std::filesystem::path& folder, long long number)
{
    HeldNumbers& held = heldNumbers();
    std::lock_guard lock(held.mutex);
    const auto f = held.byFolder.find(folderKey(folder));
    if (f == held.byFolder.end())
        return;
    const auto n = f->second.find(number);
    if (n != f->second.end() && --n->second <= 0)
        f->second.erase(n);
    if (f->second.empty())
        held.byFolder.erase(f);
}

bool TempImageNumberTaken(const std::filesystem::path& folder, long long number)
{
    {
        HeldNumbers& held = heldNumbers();
        std::lock_guard lock(held.mutex);
        if (const auto f = held.byFolder.find(folderKey(folder)); f != held.byFolder.end() && f->second.count(number))
            return true;
    }
    if (number < 0 || number > std::numeric_limits<int>::max())
        return false;
    std::error_code ec;
    for (const int type : {kPictureBmp, kPictureGif, kPicturePng, kPictureJpeg})
        if (std::filesystem::exists(TempImagePath(folder, static_cast<int>(number), type), ec))
            return true;
    return false;
}

void DeleteFilesIn(const std::filesystem::path& folder)
{
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        files.push_back(it->path());
    for (const std::filesystem::path& f : files)
        std::filesystem::remove_all(f, ec);
}

std::filesystem::path CKovImage::MakeTempImageName(const std::filesystem::path& folder, int& id)
{
    std::unordered_set<long long> taken = TempImageNumbersIn(folder);
    return MakeTempImageName(folder, id, taken);
}

std::filesystem::path CKovImage::MakeTempImageName(const std::filesystem::path& folder, int& id,
                                                   std::unordered_set<long long>& taken)
{
    // Identifiers are positive: one of 0 or below (a damaged file) would name "temp-3.bmp" for every
    // such picture, so that each overwrote the other's file. Past the largest int the search wraps to 1.
    if (id < 1)
        id = 1;
    while (taken.count(id))
        id = id == std::numeric_limits<int>::max() ? 1 : id + 1;
    taken.insert(id);
    return TempImagePath(folder, id, kPictureBmp);
}

namespace {

constexpr std::string_view kOwnFolderPrefix = "kovira-";

} // namespace

std::filesystem::path OwnPictureFolder(const std::filesystem::path& shared, int serial)
{
    return shared / (std::string(kOwnFolderPrefix) + std::to_string(::getpid()) + "-" + std::to_string(serial));
}

void SweepEndedPictureFolders(const std::filesystem::path& shared)
{
    std::error_code ec;
    std::vector<std::filesystem::path> ended;
    for (std::filesystem::directory_iterator it(shared, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= kOwnFolderPrefix.size() || name.compare(0, kOwnFolderPrefix.size(), kOwnFolderPrefix) != 0)
            continue;
        const std::string_view rest = std::string_view(name).substr(kOwnFolderPrefix.size());
        const std::size_t dash = rest.find('-');
        auto digits = [](std::string_view d) {
            return !d.empty() && d.size() <= 10 && d.find_first_not_of("0123456789") == std::string_view::npos;
        };
        if (dash == std::string_view::npos || !digits(rest.substr(0, dash)) || !digits(rest.substr(dash + 1)))
            continue;
        const long long pid = std::stoll(std::string(rest.substr(0, dash)));
        const bool gone = pid <= 0 || pid > INT_MAX || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH);
        std::error_code kind;
        if (gone && it->is_directory(kind) && !it->is_symlink(kind))
            ended.push_back(it->path());
    }
    for (const std::filesystem::path& folder : ended)
        std::filesystem::remove_all(folder, ec);
}

PendingPictureFile::PendingPictureFile(std::vector<std::uint8_t> bytes, std::filesystem::path file,
                                       std::filesystem::path folder, long long number)
    : m_bytes(std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes))), m_file(std::move(file)),
      m_folder(std::move(folder)), m_number(number)
{
    HoldTempImageNumber(m_folder, m_number);
}

PendingPictureFile::~PendingPictureFile()
{
    std::lock_guard lock(m_mutex);
    release();
}

void PendingPictureFile::release()
{
    if (m_held)
        ReleaseTempImageNumber(m_folder, m_number);
    m_held = false;
}

std::shared_ptr<const std::vector<std::uint8_t>> PendingPictureFile::bytes() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

bool PendingPictureFile::write()
{
    std::lock_guard lock(m_mutex);
    if (m_written)
        return true;
    if (!m_bytes || !WriteWholeFile(m_file, m_bytes->data(), m_bytes->size()))
        return false;
    m_written = true;
    m_bytes.reset();
    // The file holds the name from now on.
    release();
    return true;
}

PendingPictureFile* CKovImage::pendingForFile() const
{
    if (!m_pendingFile)
        return nullptr;
    return m_pendingFile->file() == PictureFileForType(ImageName, IMGImagetype) ? m_pendingFile.get() : nullptr;
}

bool CKovImage::ExtractFile() const
{
    PendingPictureFile* pending = pendingForFile();
    return !pending || pending->write();
}

std::shared_ptr<const std::vector<std::uint8_t>> CKovImage::PendingFileBytes() const
{
    PendingPictureFile* pending = pendingForFile();
    return pending ? pending->bytes() : nullptr;
}

void CKovImage::KeepFileBytes(std::vector<std::uint8_t> bytes, const std::filesystem::path& folder)
{
    m_pendingFile = std::make_shared<PendingPictureFile>(std::move(bytes), PictureFileForType(ImageName, IMGImagetype),
                                                         folder, ImageID);
}

void CKovImage::SettleFile()
{
    if (m_pendingFile)
        m_pendingFile->write();
    m_pendingFile.reset();
}

long long TempPictureNumberOf(const std::string& name)
{
    if (name.size() < 9 || name.compare(0, 4, "temp") != 0) return -1;
    const std::string_view ext = std::string_view(name).substr(name.size() - 4);
    if (ext != ".bmp" && ext != ".png" && ext != ".jpg" && ext != ".gif") return -1;
    long long n = 0;
    for (std::size_t i = 4; i + 4 < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || n >= 1'000'000'000'000LL) return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

TempPicturePurge PurgeTempPictures(const std::filesystem::path& folder, const std::unordered_set<long long>& inUse)
{
    TempPicturePurge r;
    std::error_code ec;
    std::vector<std::filesystem::path> doomed;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (!it->is_regular_file(kind)) continue;
        const long long n = TempPictureNumberOf(it->path().filename().string());
        if (n >= 0 && !inUse.count(n)) doomed.push_back(it->path());
    }
    for (const auto& file : doomed) {
        std::error_code removed;
        if (std::filesystem::remove(file, removed) && !removed) ++r.deleted;
        else ++r.failed;
    }
    return r;
}

void DeleteTempImageFiles(const std::filesystem::path& folder, int id)
{
    for (const int type : {kPictureBmp, kPictureGif, kPicturePng, kPictureJpeg}) {
        std::error_code ec;
        std::filesystem::remove(TempImagePath(folder, id, type), ec);
    }
}

int GetImageFileWidth(const std::filesystem::path& file)
{
    ContentReader r(file);
    const QSize size = r.empty() ? QSize() : r.reader.size();
    return size.isValid() ? size.width() : 0;
}

int GetImageFileHeight(const std::filesystem::path& file)
{
    ContentReader r(file);
    const QSize size = r.empty() ? QSize() : r.reader.size();
    return size.isValid() ? size.height() : 0;
}

int GetImageFileOrientation(const std::filesystem::path& file)
{
    ContentReader r(file);
    if (r.empty() || !r.reader.canRead())
        return 1;
    switch (r.reader.transformation()) {
    case QImageIOHandler::TransformationMirror: return 2;
    case QImageIOHandler::TransformationRotate180: return 3;
    case QImageIOHandler::TransformationFlip: return 4;
    case QImageIOHandler::TransformationFlipAndRotate90: return 5;
    case QImageIOHandler::TransformationRotate90: return 6;
    case QImageIOHandler::TransformationMirrorAndRotate90: return 7;
    case QImageIOHandler::TransformationRotate270: return 8;
    default: return 1;
    }
}

int GetImageFileFormat(const std::filesystem::path& file)
{
    ContentReader r(file);
    if (r.empty() || !r.reader.canRead())
        return kPictureOther;
    const QByteArray format = r.reader.format().toLower();
    if (format == "bmp" || format == "dib")
        return kPictureBmp;
    if (format == "jpeg" || format == "jpg")
        return kPictureJpeg;
    if (format == "png")
        return kPicturePng;
    if (format == "gif")
        return kPictureGif;
    return kPictureOther;
}

int GetEncoderClsid(std::string_view mimeType)
{
    // BMP and GIF are written by our own encoders; JPEG and PNG by Qt's, when its plugins are there.
    const QList<QByteArray> qtTypes = QImageWriter::supportedMimeTypes();
    const struct {
        std::string_view mime;
        bool present;
    } encoders[] = {
        {"image/bmp", true},
        {"image/jpeg", qtTypes.contains("image/jpeg")},
        {"image/gif", true},
        {"image/png", qtTypes.contains("image/png")},
    };
    int index = 0;
    for (const auto& encoder : encoders) {
        if (!encoder.present)
            continue;
        if (encoder.mime == mimeType)
            return index;
        ++index;
    }
    return -1;
}

std::string PictureBytesProblem(const std::vector<std::uint8_t>& bytes)
{
    return pictureProblem(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<qsizetype>(bytes.size())));
}

std::string PictureFileProblem(const std::filesystem::path& file)
{
    ContentReader r(file);
    return pictureProblem(r.bytes);
}

bool ReadPictureFile(const std::filesystem::path& file, QImage& out, std::string* error)
{
    ContentReader r(file);
    if (r.empty()) {
        setError(error, "cannot read " + file.string());
        return false;
    }
    std::string why;
    out = r.read(&why);
    if (out.isNull()) {
        setError(error, file.string() + ": " + why);
        return false;
    }
    return true;
}

bool ReadPictureBytes(const std::vector<std::uint8_t>& bytes, QImage& out, std::string* error)
{
    ContentReader r(bytes);
    if (r.empty()) {
        out = QImage();
        setError(error, "no picture bytes");
        return false;
    }
    out = r.read(error);
    return !out.isNull();
}

std::vector<std::uint8_t> EncodePicture(const QImage& image, int type, std::string* error)
{
    if (image.isNull()) {
        setError(error, "no picture to write");
        return {};
    }
    switch (type) {
    case kPictureGif:
        return EncodeGif(image, error);
    case kPicturePng:
    case kPictureJpeg: {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, type == kPicturePng ? "png" : "jpeg");
        if (type == kPictureJpeg)
            writer.setQuality(90);
        // JPEG holds no alpha: flatten onto white as a viewer would show it.
        QImage source = image;
        if (type == kPictureJpeg && image.hasAlphaChannel()) {
            source = QImage(image.size(), QImage::Format_RGB32);
            source.fill(Qt::white);
            QPainter p(&source);
            p.drawImage(0, 0, image);
        }
        if (!writer.write(source)) {
            setError(error, writer.errorString().toStdString());
            return {};
        }
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    }
    default: {
        std::vector<std::uint8_t> bytes = EncodeBmp32(image);
        if (bytes.empty())
            setError(error, "picture too large for BMP");
        return bytes;
    }
    }
}

bool SavePictureFile(const QImage& image, const std::filesystem::path& file, int type, std::string* error)
{
    const std::vector<std::uint8_t> bytes = EncodePicture(image, type, error);
    if (bytes.empty())
        return false;
    if (!WriteWholeFile(file, bytes.data(), bytes.size())) {
        setError(error, "cannot write " + file.string());
        return false;
    }
    return true;
}

bool ConvertPictureFile(const std::filesystem::path& source, const std::filesystem::path& target, int type,
                        std::string* error)
{
    QImage image;
    return ReadPictureFile(source, image, error) && SavePictureFile(image, target, type, error);
}

namespace {

// A 24-bit uncompressed BMP (the form transparent pictures come in) read straight into ARGB32 with
// its transparent colour made clear, in one pass over the rows: Qt's reader and the conversion after
// it took over a second for 12 million pixels. Null for every other picture, which Qt reads.
QImage transparentFromBmp24(const std::vector<std::uint8_t>& bytes, QRgb opaque)
{
    const QByteArray b = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<qsizetype>(bytes.size()));
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || le32(b, 14) < 40 || le16(b, 26) != 1 || le16(b, 28) != 24
        || le32(b, 30) != kBiRgb)
        return {};
    const long long offBits = le32(b, 10);
    const long long width = std::int32_t(le32(b, 18)), rawHeight = std::int32_t(le32(b, 22));
    const long long height = std::llabs(rawHeight);
    if (width <= 0 || height == 0 || width * height > kMaxPicturePixels)
        return {};
    const long long rowBytes = (width * 24 + 31) / 32 * 4;
    if (offBits < 14 + static_cast<long long>(le32(b, 14)) || offBits + rowBytes * height > b.size())
        return {};
    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    const QRgb clear = opaque & 0x00FFFFFFu;
    const auto* data = reinterpret_cast<const std::uint8_t*>(b.constData()) + offBits;
    for (long long y = 0; y < height; ++y) {
        // Rows run bottom up unless the height is negative.
        const std::uint8_t* src = data + rowBytes * (rawHeight > 0 ? height - 1 - y : y);
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (long long x = 0; x < width; ++x, src += 3) {
            const QRgb c = 0xFF000000u | QRgb(src[2]) << 16 | QRgb(src[1]) << 8 | QRgb(src[0]);
            line[x] = c == opaque ? clear : c;
        }
    }
    return image;
}

} // namespace

int ConvertToTransparentPng(const std::filesystem::path& source, const std::filesystem::path& target,
                            kov::platform::COLORREF colour, int drawWidth, int drawHeight, int bitmapWidth,
                            int bitmapHeight, bool useGivenSize)
{
    const QRgb opaque = kov::platform::toQColor(colour).rgb();
    const QRgb clear = opaque & 0x00FFFFFFu;
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(source, bytes))
        return 0;
    QImage picture = transparentFromBmp24(bytes, opaque);
    if (picture.isNull()) {
        if (!ReadPictureBytes(bytes, picture))
            return 0;
        picture = picture.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < picture.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                if (line[x] == opaque)
                    line[x] = clear;
        }
    }
    if (!useGivenSize) {
        drawWidth = bitmapWidth = picture.width();
        drawHeight = bitmapHeight = picture.height();
    }
    if (bitmapWidth <= 0 || bitmapHeight <= 0)
        return 0;
    if (drawWidth == picture.width() && drawHeight == picture.height() && bitmapWidth == drawWidth
        && bitmapHeight == drawHeight)
        return SavePictureFile(picture, target, kPicturePng) ? 1 : 0;
    QImage canvas(bitmapWidth, bitmapHeight, QImage::Format_ARGB32);
    canvas.fill(QColor(255, 255, 255, 0));
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(0, 0, drawWidth, drawHeight), picture);
    }
    return SavePictureFile(canvas, target, kPicturePng) ? 1 : 0;
}

bool ReadWholeFile(const std::filesystem::path& file, std::vector<std::uint8_t>& out)
{
    out.clear();
    // A folder opens as a stream too, and its end offset on ext4 is the largest one there is.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        return false;
    in.seekg(0, std::ios::beg);
    out.resize(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(out.data()), size)) {
        out.clear();
        return false;
    }
    return true;
}

bool WriteWholeFile(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    if (size > 0)
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out.flush());
}
