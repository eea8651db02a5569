#include "edit/PictureCopies.h"

#include "model/KovUnit.h"
#include "model/PictureFiles.h"

#include <system_error>

namespace kov::edit {

int FreePictureId(CKovUnit& unit, const std::filesystem::path& folder)
{
    for (int tries = 0; tries < CKovUnit::kImageIdLimit; ++tries) {
        const int id = unit.NextImageId();
        if (id == CKovUnit::kNoFreeId || folder.empty() || !TempImageNumberTaken(folder, id))
            return id;
    }
    return CKovUnit::kNoFreeId;
}

std::unique_ptr<CKovImage> CopyPicture(CKovUnit& unit, const CKovImage& source, const std::filesystem::path& folder)
{
    const int id = FreePictureId(unit, folder);
    if (id == CKovUnit::kNoFreeId)
        return nullptr;
    auto copy = std::make_unique<CKovImage>(source);
    copy->ImageID = id;
    copy->ImageName = TempImagePath(folder, id, kPictureBmp).string();
    const int type = source.IMGImagetype;
    // The copy gets a file of its own: the source's, written first if it still waits in memory.
    source.ExtractFile();
    copy->SettleFile();
    if (type >= 0 && type <= 4) {
        std::error_code ec;
        std::filesystem::copy_file(PictureFileForType(source.ImageName, type),
                                   PictureFileForType(copy->ImageName, type),
                                   std::filesystem::copy_options::overwrite_existing, ec);
    }
    return copy;
}

} // namespace kov::edit
