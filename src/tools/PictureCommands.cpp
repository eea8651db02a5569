#include "tools/PictureCommands.h"

#include "tools/PictureTexts.h"

#include "model/Bmp.h"
#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <system_error>
#include <utility>

namespace kov::tools {

namespace {

namespace text = picturetext;

// A new picture's identifier and ".bmp" name: no file of any picture type in the folder holds the
// number and no picture of the drawing holds the identifier, so the new file overwrites nothing.
bool freshPictureName(CKovUnit& unit, const std::filesystem::path& folder, int& id, std::filesystem::path& bmpName)
{
    std::unordered_set<long long> taken = TempImageNumbersIn(folder);
    const CKovUnit& reader = unit;
    for (int tries = 0; tries < 1000; ++tries) {
        int candidate = unit.NextImageId();
        if (candidate == CKovUnit::kNoFreeId)
            return false;
        const std::filesystem::path name = CKovImage::MakeTempImageName(folder, candidate, taken);
        if (reader.FindImage(candidate) == nullptr) {
            id = candidate;
            bmpName = name;
            return true;
        }
    }
    return false;
}

int clampedGroup(const CPlotInfo& plot) { return std::clamp(plot.m_Layer.m_nCurrentGroup, 0, 15); }
int clampedLayer(const CPlotInfo& plot) { return std::clamp(plot.m_Layer.m_nCurrentLayer, 0, 15); }

} // namespace

PictureOutcome PasteImage(CKovUnit& unit, SelectionRecord& selection, const CPlotInfo& plot, const QImage& image,
                          const std::filesystem::path& folder, const PastePage& page)
{
    PictureOutcome out;
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return out;
    int id = 0;
    std::filesystem::path bmpName;
    if (!freshPictureName(unit, folder, id, bmpName)) {
        out.message = text::kPasteWriteFailed;
        return out;
    }
    const std::vector<std::uint8_t> dib = BitmapToDib(image, kBiRgb, 24);
    if (dib.empty() || !WriteDibToFile(dib, bmpName)) {
        // A half-written file would be taken for a picture by the next search.
        std::error_code ec;
        std::filesystem::remove(bmpName, ec);
        out.message = text::kPasteWriteFailed;
        return out;
    }
    auto picture = std::make_unique<CKovImage>();
    picture->ImageID = id;
    picture->ImageName = bmpName.string();
    picture->IMGImagetype = kPictureBmp;
    const double pw = GetImageFileWidth(bmpName), ph = GetImageFileHeight(bmpName);
    if (page.paperWidthMm > 0 && page.pageWidthPixels > 0)
        picture->ImageWidth = pw / (page.pageWidthPixels / page.paperWidthMm) * page.zoom;
    if (page.paperHeightMm > 0 && page.pageHeightPixels > 0)
        picture->ImageHeight = ph / (page.pageHeightPixels / page.paperHeightMm) * page.zoom;
    picture->OffsetX = 0;
    picture->OffsetY = 0;
    picture->IMGLayer1 = clampedGroup(plot);
    picture->IMGLayer2 = clampedLayer(plot);
    unit.m_Images.Add(std::move(picture));
    selection.Clear();
    selection.AddImageId(id);
    out.ok = true;
    out.imageId = id;
    return out;
}

PictureOutcome TrimImage(CKovUnit& unit, SelectionRecord& selection, const std::filesystem::path& folder,
                         const TrimFrame& frame)
{
    PictureOutcome out;
    if (selection.m_Images.size() != 1)
        return out;
    const CKovUnit& reader = unit;
    const CKovImage* source = reader.FindImage(selection.m_Images.front());
    if (!source)
        return out;
    const int sourceId = source->ImageID;
    QImage picture;
    if (!ReadPictureFile(source->DrawnFileName(), picture) || picture.width() <= 0 || picture.height() <= 0) {
        out.message = text::kTrimUnreadable;
        return out;
    }
    const int w = picture.width(), h = picture.height();
    const int m = std::max(w, h);
    // The frame's fractions are of the square the picture sits centred in.
    auto at = [m](double f) { return static_cast<int>(std::floor(m * std::clamp(f, 0.0, 1.0))); };
    const int x0 = at(frame.left), y0 = at(frame.top);
    const int cw = at(frame.right) - x0, ch = at(frame.bottom) - y0;
    // Less than a pixel either way would be a picture without pixels, and its size a division by 0.
    if (cw < 1 || ch < 1) {
        out.message = text::kTrimTooSmall;
        return out;
    }
    QImage square(m, m, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    {
        QPainter p(&square);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage((m - w) / 2, (m - h) / 2, picture);
    }
    const QImage cut = square.copy(x0, y0, cw, ch);

    int id = 0;
    std::filesystem::path bmpName;
    if (!freshPictureName(unit, folder, id, bmpName)) {
        out.message = text::kTrimWriteFailed;
        return out;
    }
    const int type = source->IMGImagetype;
    const std::filesystem::path file = PictureFileForType(bmpName, type);
    if (!SavePictureFile(cut, file, type)) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
        out.message = text::kTrimWriteFailed;
        return out;
    }

    auto trimmed = std::make_unique<CKovImage>(*source);
    trimmed->ImageID = id;
    trimmed->ImageName = bmpName.string();
    // Each kept pixel keeps its size on the paper. A picture turned a quarter shows its file's
    // height across.
    const double turned = std::fmod(std::fabs(source->BLKImagekakudo), 180.0);
    const bool across = std::fabs(turned - 90.0) < 1e-9;
    const double mmPerPixelX = across ? source->ImageWidth / h : source->ImageWidth / w;
    const double mmPerPixelY = across ? source->ImageHeight / w : source->ImageHeight / h;
    trimmed->ImageWidth = (across ? ch : cw) * mmPerPixelX;
    trimmed->ImageHeight = (across ? cw : ch) * mmPerPixelY;
    unit.m_Images.Add(std::move(trimmed));
    unit.DeleteImage(sourceId);
    selection.Clear();
    selection.AddImageId(id);
    out.ok = true;
    out.imageId = id;
    return out;
}

} // namespace kov::tools
