#include "io/PictureExport.h"

#include "model/FileCommit.h"
#include "model/PaperSizes.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/EmfSurface.h"
#include "platform/PainterSurface.h"
#include "platform/Profile.h"
#include "render/DrawEnvironment.h"
#include "render/PageMapping.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

namespace kov::io {

namespace {

using kov::platform::COLORREF;

constexpr std::string_view kUtility = "KOV_T_UTILITY";
constexpr std::string_view kPlot = "KOV_T_PlotMenu";
// The background of a transparent GIF when no size is set: the key colour RGB(0, 128, 128).
constexpr COLORREF kGifKey = 0x808000;

QColor qcolor(COLORREF c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// The format code written after an export to a file of the writer type.
int formatCodeOf(int writerType)
{
    switch (writerType) {
    case kWriteJpeg: return 0;
    case kWritePng: return 3;
    case kWriteGif: return 4;
    case kWriteEmf: return 2;
    default: return 1;
    }
}

// The page's drawing transform for a bitmap whose pixel (0, 0) is page pixel (left, top).
bool transformFor(DeviceTransform& out, const PictureScene& scene, const DeviceRect& pageRect, int left, int top,
                  const kov::platform::DeviceProperties& dev)
{
    int pw = 0, ph = 0;
    if (!kov::model::GetPaperSizeMm(scene.plot, pw, ph))
        return false;
    kov::render::PageFrame frame;
    frame.area = DeviceRect{pageRect.left - left, pageRect.top - top, pageRect.right - left, pageRect.bottom - top};
    frame.paperWidth = pw;
    frame.paperHeight = ph;
    return kov::render::MakePageTransform(out, dev, frame, scene.plot, 1.0);
}

kov::platform::DeviceProperties outputDevice(int w, int h)
{
    kov::platform::DeviceProperties dev;
    dev.isOutput = true;
    dev.area = DeviceRect{0, 0, w, h};
    return dev;
}

std::vector<std::uint8_t> encode(const QImage& image, int writerType, int quality, std::string& error)
{
    if (writerType == kWriteJpeg) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(std::clamp(quality, 0, 100));
        if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
            error = writer.errorString().toStdString();
            return {};
        }
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    }
    const int type = writerType == kWritePng ? kPicturePng : writerType == kWriteGif ? kPictureGif : kPictureBmp;
    return EncodePicture(image, type, &error);
}

} // namespace

int WriterTypeOfPath(const std::filesystem::path& path)
{
    const std::string ext = lower(path.extension().string());
    if (ext == ".jpg" || ext == ".jpeg")
        return kWriteJpeg;
    if (ext == ".png")
        return kWritePng;
    if (ext == ".gif")
        return kWriteGif;
    if (ext == ".emf")
        return kWriteEmf;
    return kWriteBmp;
}

const char* ExportFilterFor(int formatCode)
{
    switch (formatCode) {
    case 1:
        return "BMPファイル (*.bmp)|*.bmp|拡張メタファイル (*.emf)|*.emf|JPEGファイル (*.jpg)|*.jpg|GIFファイル "
               "(*.gif)|*.gif|PNGファイル (*.png)|*.png|";
    case 2:
        return "拡張メタファイル (*.emf)|*.emf|JPEGファイル (*.jpg)|*.jpg|GIFファイル (*.gif)|*.gif|PNGファイル "
               "(*.png)|*.png|BMPファイル (*.bmp)|*.bmp|";
    case 3:
        return "PNGファイル (*.png)|*.png|GIFファイル (*.gif)|*.gif|BMPファイル (*.bmp)|*.bmp|拡張メタファイル "
               "(*.emf)|*.emf|JPEGファイル (*.jpg)|*.jpg|";
    case 4:
        return "GIFファイル (*.gif)|*.gif|PNGファイル (*.png)|*.png|BMPファイル (*.bmp)|*.bmp|拡張メタファイル "
               "(*.emf)|*.emf|JPEGファイル (*.jpg)|*.jpg|";
    default:
        return "JPEGファイル (*.jpg)|*.jpg|GIFファイル (*.gif)|*.gif|PNGファイル (*.png)|*.png|BMPファイル "
               "(*.bmp)|*.bmp|拡張メタファイル (*.emf)|*.emf|";
    }
}

PictureExportSettings PictureExportSettings::Load(const kov::platform::Profile& p)
{
    PictureExportSettings s;
    s.doubleSize = p.GetProfileInt(kUtility, "app_gazoubai", 1);
    s.justSize = p.GetProfileInt(kUtility, "app_gazou_justsize", 0);
    s.jpegQuality = p.GetProfileInt(kUtility, "gazou_jpeg_atu", 100);
    s.sizeFlag = p.GetProfileInt(kPlot, "gazou_size", 0);
    s.sizeW = ClampPictureOutputSide(p.GetProfileInt(kPlot, "gazou_size_w", 800));
    s.sizeH = ClampPictureOutputSide(p.GetProfileInt(kPlot, "gazou_size_h", 800));
    s.purpose = p.GetProfileInt(kPlot, "gazou_out_moku", 0);
    s.transparent = p.GetProfileInt(kPlot, "gazou_toukagif", 0);
    return s;
}

PictureOutcome RenderToImage(const PictureScene& scene, const PicturePage& page, int x, int y, int w, int h,
                             int writerType, const std::filesystem::path& path, kov::platform::Profile& profile,
                             COLORREF windowColour)
{
    PictureOutcome out;
    PictureExportSettings s = PictureExportSettings::Load(profile);
    const int storedSizeFlag = s.sizeFlag;
    if (s.purpose == 2) {
        s.sizeFlag = 1;
        s.sizeW = s.sizeH = 800;
    } else if (s.purpose == 3) {
        s.sizeFlag = 0;
        s.doubleSize = 1;
    }
    const int transparency = (s.transparent && writerType == kWriteGif) ? (storedSizeFlag == 0 ? 1 : 2) : 0;
    const COLORREF background = transparency == 1 ? kGifKey : windowColour;

    DeviceRect pageRect = page.pageRect;
    if (!page.zoomed && s.doubleSize) {
        // The page laid out at twice its size, as the view does at zoom 2.
        pageRect = DeviceRect{2 * pageRect.left, 2 * pageRect.top, 2 * pageRect.right, 2 * pageRect.bottom};
        x *= 2;
        y *= 2;
        w *= 2;
        h *= 2;
    }
    if (w <= 0 || h <= 0) {
        out.message = picturetexts::kRangeFailed;
        return out;
    }
    int padX = 0, padY = 0;
    if (s.justSize && s.sizeFlag && s.sizeW != 0 && s.sizeH != 0) {
        const double a = double(w) / h;
        const double r = (double(s.sizeW) / s.sizeH) / a;
        if (double(s.sizeW) / s.sizeH <= a && r != 0) {
            const int nh = int(h / r);
            padY = (nh - h) / 2;
            h = nh;
        } else if (double(s.sizeW) / s.sizeH > a) {
            const int nw = int(w * r);
            padX = (nw - w) / 2;
            w = nw;
        }
    }
    // The bitmap's pixel (0, 0) is page pixel (x − padX, y − padY).
    const int left = x - padX, top = y - padY;
    DeviceTransform transform;
    const kov::platform::DeviceProperties dev = outputDevice(w, h);
    if (!transformFor(transform, scene, pageRect, left, top, dev)) {
        out.message = picturetexts::kCannotSave;
        return out;
    }

    std::vector<std::uint8_t> bytes;
    std::string error;
    if (writerType == kWriteEmf) {
        kov::platform::EmfSurface emf(w, h);
        scene.unit.DrawAllByLayer(emf, transform, scene.plot, scene.selection, false, true, scene.env);
        // A metafile without text records confuses some readers: one blank keeps them content.
        if (!emf.hasText()) {
            kov::platform::TextStyle style;
            style.background.opaque = false;
            emf.textOut(DevicePoint{0, 0}, " ", style);
        }
        const QByteArray data = emf.finish();
        bytes.assign(data.begin(), data.end());
    } else {
        QImage image(w, h, QImage::Format_RGB32);
        if (image.isNull()) {
            out.message = picturetexts::kNoMemory;
            return out;
        }
        image.fill(qcolor(background));
        {
            kov::platform::PainterSurfaceOptions options;
            options.isOutput = true;
            kov::platform::PainterSurface surface(image, options);
            scene.unit.DrawBackgroundImages(surface, transform, scene.plot, scene.selection, false, true, scene.env,
                                            true);
            scene.unit.DrawAllByLayer(surface, transform, scene.plot, scene.selection, false, true, scene.env);
        }
        // Whatever was drawn beyond the page in the padding bands is covered again.
        if (padX > 0) {
            for (int yy = 0; yy < h; ++yy)
                for (int xx = 0; xx < padX; ++xx) {
                    image.setPixelColor(xx, yy, qcolor(background));
                    image.setPixelColor(w - 1 - xx, yy, qcolor(background));
                }
        }
        if (padY > 0) {
            for (int yy = 0; yy < padY; ++yy)
                for (int xx = 0; xx < w; ++xx) {
                    image.setPixelColor(xx, yy, qcolor(background));
                    image.setPixelColor(xx, h - 1 - yy, qcolor(background));
                }
        }
        if (writerType == kWriteGif && transparency == 1 && s.sizeFlag == 0)
            image.setPixelColor(0, 0, qcolor(kGifKey));
        int wo = w, ho = h;
        if (s.sizeFlag) {
            const double a = double(w) / h;
            const int Wi = s.sizeW, Hi = s.sizeH;
            if (Wi == 0 && Hi == 0) {
            } else if (Wi == 0) {
                wo = int(Hi * a);
                ho = Hi;
            } else if (Hi == 0) {
                wo = Wi;
                ho = int(Wi / a);
            } else if (double(w) / Wi <= double(h) / Hi) {
                wo = int(Hi * a);
                ho = Hi;
            } else {
                wo = Wi;
                ho = int(Wi / a);
            }
            wo = std::max(wo, 1);
            ho = std::max(ho, 1);
        }
        QImage final = (wo == w && ho == h) ? image : image.scaled(wo, ho, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (final.isNull()) {
            out.message = picturetexts::kNoMemory;
            return out;
        }
        if (s.transparent && writerType == kWritePng) {
            // Every pixel of the window colour becomes transparent, inside the drawing too.
            final = final.convertToFormat(QImage::Format_ARGB32);
            const QRgb key = qcolor(windowColour).rgb();
            for (int yy = 0; yy < final.height(); ++yy) {
                auto* line = reinterpret_cast<QRgb*>(final.scanLine(yy));
                for (int xx = 0; xx < final.width(); ++xx)
                    if ((line[xx] & 0xFFFFFF) == (key & 0xFFFFFF))
                        line[xx] = 0;
            }
            bytes = EncodePicture(final, kPicturePng, &error);
            if (bytes.empty()) {
                out.message = picturetexts::kTransparentPngFailed;
                return out;
            }
        } else {
            bytes = encode(final, writerType, s.jpegQuality, error);
        }
        wo = final.width();
        ho = final.height();
        w = wo;
        h = ho;
    }
    if (bytes.empty() || !CommitBytesToFile(path, bytes, &error)) {
        out.message = std::string(picturetexts::kCannotSave) + (error.empty() ? "" : "\n" + error);
        return out;
    }
    profile.WriteProfileInt(kUtility, "gazououtput_type", formatCodeOf(writerType));
    out.ok = true;
    out.width = w;
    out.height = h;
    return out;
}

QImage RenderRangeImage(const PictureScene& scene, const PicturePage& page, DevicePoint a, DevicePoint b,
                        COLORREF windowColour)
{
    const int w = std::abs(a.x - b.x), h = std::abs(a.y - b.y);
    if (w == 0 || h == 0)
        return QImage();
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(qcolor(windowColour));
    DeviceTransform transform;
    if (!transformFor(transform, scene, page.pageRect, std::min(a.x, b.x), std::min(a.y, b.y), outputDevice(w, h)))
        return image;
    kov::platform::PainterSurfaceOptions options;
    options.isOutput = true;
    kov::platform::PainterSurface surface(image, options);
    scene.unit.DrawAllByLayer(surface, transform, scene.plot, scene.selection, false, true, scene.env);
    return image;
}

std::filesystem::path AutoSavePicturePath(const std::filesystem::path& docPath, const kov::platform::Profile& profile,
                                          const std::filesystem::path& documents, int& outWriterType)
{
    const int code = profile.GetProfileInt(kUtility, "gazououtput_type", 0);
    const bool letter = profile.GetProfileInt(kPlot, "gazououtput_auto_filenamefree", 0) == 0;
    std::string tail;
    switch (code) {
    case 1: tail = letter ? "b.bmp" : ".bmp"; outWriterType = kWriteBmp; break;
    case 2: tail = letter ? "e.emf" : ".emf"; outWriterType = kWriteEmf; break;
    case 3: tail = letter ? "p.png" : ".png"; outWriterType = kWritePng; break;
    case 4: tail = letter ? "g.gif" : ".gif"; outWriterType = kWriteGif; break;
    default: tail = letter ? "j.jpg" : ".jpg"; outWriterType = kWriteJpeg; break;
    }
    std::filesystem::path stem = docPath;
    stem.replace_extension();
    std::filesystem::path picture = stem.string() + tail;
    if (profile.GetProfileInt(kPlot, "gazououtput_auto_fordanini", 0) != 0) {
        const std::string folder = profile.GetProfileString(kPlot, "gazououtput_auto_fordaniniforda", documents.string());
        picture = std::filesystem::path(folder.empty() ? documents.string() : folder) / picture.filename();
    }
    return picture;
}

PictureOutcome AutoSaveImage(const PictureScene& scene, const PicturePage& page, const std::filesystem::path& docPath,
                             kov::platform::Profile& profile, const std::filesystem::path& documents,
                             COLORREF windowColour)
{
    PictureOutcome out;
    if (page.zoomed) {
        out.message = picturetexts::kZoomedAutoSave;
        return out;
    }
    int writerType = kWriteJpeg;
    const std::filesystem::path picture = AutoSavePicturePath(docPath, profile, documents, writerType);
    // The drawing's extent in page pixels, measured with the real fonts.
    QImage probe(1, 1, QImage::Format_RGB32);
    kov::platform::PainterSurface surface(probe);
    SurfaceTextBoxMeasurer measurer(surface);
    DeviceTransform transform;
    if (!transformFor(transform, scene, page.pageRect, 0, 0, outputDevice(page.pageRect.width(), page.pageRect.height()))) {
        out.ok = true;
        return out;
    }
    const int margin = profile.GetProfileInt(kPlot, "gazououtput_auto_yohaku", 20);
    int x = 0, y = 0, w = 0, h = 0;
    scene.unit.DrawingPixelExtent(measurer, transform, scene.plot, x, y, w, h, margin);
    if (w <= 1 || h <= 1) {
        out.ok = true;
        return out;
    }
    const DeviceRect& pr = page.pageRect;
    if (w > pr.width() || h > pr.height() || profile.GetProfileInt(kPlot, "gazououtput_auto_image", 0) != 0) {
        x = pr.left;
        y = pr.top;
        w = pr.width();
        h = pr.height();
    }
    return RenderToImage(scene, page, x, y, w, h, writerType, picture, profile, windowColour);
}

} // namespace kov::io
