#include "io/PictureInsertion.h"

#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"

#include <algorithm>

namespace kov::io {

namespace {

constexpr std::string_view kPlotSection = "KOV_T_PlotMenu";
constexpr int kDefaultDpi = 150;

bool endsWith(const std::string& s, std::string_view tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int typeOf(const std::string& name, int probed)
{
    if (endsWith(name, "jpg") || endsWith(name, "JPG") || probed == kPictureJpeg)
        return kPictureJpeg;
    if (endsWith(name, "gif") || endsWith(name, "GIF") || probed == kPictureGif)
        return kPictureGif;
    if (endsWith(name, "png") || endsWith(name, "PNG") || probed == kPicturePng)
        return kPicturePng;
    return kPictureBmp;
}

} // namespace

PictureInsertion InsertImageFile(const std::filesystem::path& file, CKovUnit& unit, const CPlotInfo& plot,
                                 SelectionRecord& selection, const std::filesystem::path& tempFolder,
                                 const PageMetrics& page, kov::platform::Profile& profile,
                                 const RealSizeAsker& askRealSize)
{
    PictureInsertion result;
    const int probed = GetImageFileFormat(file);
    if (probed == kPictureOther) {
        result.message = kPictureUnreadable;
        return result;
    }
    // A picture too large to be drawn is refused here, with its name, rather than drawn as nothing.
    if (const std::string problem = PictureFileProblem(file); !problem.empty()) {
        result.message = "画像ファイル「" + file.string() + "」は挿入できません。" + problem;
        return result;
    }
    auto image = std::make_unique<CKovImage>();
    image->ImageID = unit.NextImageId();
    if (image->ImageID == CKovUnit::kNoFreeId) {
        result.message = kPictureUnreadable;
        return result;
    }
    image->IMGImagetype = typeOf(file.string(), probed);
    int id = image->ImageID;
    const std::filesystem::path bmpName = CKovImage::MakeTempImageName(tempFolder, id);
    image->ImageID = id;
    image->ImageName = bmpName.string();
    const std::filesystem::path copy = PictureFileForType(bmpName, image->IMGImagetype);
    std::error_code ec;
    std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing, ec);
    // A picture whose file could not be copied would show nothing and be lost on saving.
    if (ec) {
        result.message = kPictureCopyFailed;
        return result;
    }
    switch (GetImageFileOrientation(file)) {
    case 3: image->BLKImagekakudo = 180; break;
    case 6: image->BLKImagekakudo = 90; break;
    case 8: image->BLKImagekakudo = 270; break;
    default: break;
    }
    const double pw = GetImageFileWidth(file), ph = GetImageFileHeight(file);
    const int group = std::clamp(plot.m_Layer.m_nCurrentGroup, 0, 15);
    const double groupScale = plot.m_Layer.m_dScale[static_cast<std::size_t>(group)] > 0
                                  ? plot.m_Layer.m_dScale[static_cast<std::size_t>(group)]
                                  : 1.0;
    auto naturalSize = [&] {
        const double k = (page.paperWidthMm > 0 && page.pageWidthPixels > 0) ? page.pageWidthPixels / page.paperWidthMm : 0;
        if (k > 0) {
            image->ImageWidth = pw / k * page.zoom;
            image->ImageHeight = ph / k * page.zoom;
        }
    };
    switch (profile.GetProfileInt(kPlotSection, "config_gazouchoise", 1)) {
    case 0:
        naturalSize();
        break;
    case 1:
        image->ImageWidth = plot.PlotImageWidth;
        image->ImageHeight = plot.PlotImageHeight;
        break;
    case 2: {
        RealSize preset{groupScale, profile.GetProfileInt(kPlotSection, "config_gazou_realsize_dpi", kDefaultDpi)};
        const std::optional<RealSize> answer = askRealSize ? askRealSize(preset) : std::optional<RealSize>();
        if (!answer || answer->dpi == -1) {
            naturalSize();
            break;
        }
        profile.WriteProfileInt(kPlotSection, "config_gazou_realsize_dpi", answer->dpi);
        const int dpi = (answer->dpi > 480000 || answer->dpi < 10) ? kDefaultDpi : answer->dpi;
        image->ImageWidth = pw / dpi * 25.4 * answer->scale / groupScale;
        image->ImageHeight = ph / dpi * 25.4 * answer->scale / groupScale;
        break;
    }
    default:
        break;
    }
    image->OffsetX = 0;
    image->OffsetY = 0;
    image->IMGLayer1 = group;
    image->IMGLayer2 = std::clamp(plot.m_Layer.m_nCurrentLayer, 0, 15);
    result.imageId = image->ImageID;
    unit.m_Images.Add(std::move(image));
    selection.Clear();
    selection.AddImageId(result.imageId);
    result.ok = true;
    return result;
}

} // namespace kov::io
