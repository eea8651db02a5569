// The container's file block: its counters and one nested block per object.

#include "model/UnitBlocks.h"

#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "platform/NumberText.h"

using kov::platform::parseInt;

namespace {

constexpr std::string_view kLineBlock = "BLK_UnitLine";
constexpr std::string_view kTextBlock = "BLK_UnitText";
constexpr std::string_view kWallBlock = "BLK_UnitWall";
constexpr std::string_view kGroupBlock = "BLK_UnitGrp";
constexpr std::string_view kImageBlock = "BLK_UnitImage";

std::string malformedWarning(std::string_view block, int index, int id, int count)
{
    return std::string(block) + " #" + std::to_string(index) + "（識別番号 " + std::to_string(id)
        + "）: 座標の並びが壊れています（X より前の Y 座標 " + std::to_string(count) + " 個を読み飛ばしました）";
}

} // namespace

int CKovUnit::WriteUnit(CArchive& ar, std::string_view block, UnitFileContext& ctx) const
{
    if (!(WriteStart(ar, block) && WriteDataInt(ar, "MUnitGrpID", MUnitGrpID)
          && WriteDataInt(ar, "MUnitWallID", MUnitWallID) && WriteDataInt(ar, "MUnitLineID", MUnitLineID)
          && WriteDataInt(ar, "MUnitTextID", MUnitTextID) && WriteDataInt(ar, "MUnitImageID", MUnitImageID)))
        return 0;
    for (const auto& line : m_Lines)
        if (!line->WriteLineBlock(ar, kLineBlock))
            return 0;
    for (const auto& text : m_Texts)
        if (!text->WriteTextBlock(ar, kTextBlock))
            return 0;
    for (const auto& wall : m_Walls)
        if (!wall->WriteWallBlock(ar, kWallBlock))
            return 0;
    for (const auto& group : m_Groups)
        if (!group->WriteGroupBlock(ar, kGroupBlock))
            return 0;
    for (const auto& image : m_Images)
        if (!image->WriteImageBlock(ar, kImageBlock, ctx))
            return 0;
    return WriteEnd(ar, block);
}

int CKovUnit::ReadUnit(CArchive& ar, std::string_view block, UnitFileContext& ctx)
{
    m_pFileContext = &ctx;
    // The folder's names are gathered afresh for every read: files may come and go between reads.
    ctx.takenPictureNumbers.reset();
    const int result = Load(ar, block);
    ctx.takenPictureNumbers.reset();
    m_pFileContext = nullptr;
    return result;
}

int CKovUnit::OnReadData(std::string_view key, std::string_view value)
{
    if (keyIs(key, "MUnitGrpID"))
        MUnitGrpID = parseInt(value);
    else if (keyIs(key, "MUnitWallID"))
        MUnitWallID = parseInt(value);
    else if (keyIs(key, "MUnitLineID"))
        MUnitLineID = parseInt(value);
    else if (keyIs(key, "MUnitTextID"))
        MUnitTextID = parseInt(value);
    else if (keyIs(key, "MUnitImageID"))
        MUnitImageID = parseInt(value);
    return 1;
}

CDefFile::RD_STATUS CKovUnit::OnReadStart(CArchive& ar, std::string_view block)
{
    UnitFileContext* ctx = m_pFileContext;
    if (keyIs(block, kLineBlock)) {
        auto line = std::make_unique<CKovLine>();
        if (!line->Load(ar, block))
            return RD_FAILED;
        if (line->m_malformedKeys != 0 && ctx)
            ctx->warnings.push_back(malformedWarning(kLineBlock, m_Lines.GetSize() + 1, line->MLineID, line->m_malformedKeys));
        line->m_malformedKeys = 0;
        m_Lines.Add(std::move(line));
        return RD_READ;
    }
    if (keyIs(block, kTextBlock)) {
        auto text = std::make_unique<CKovText>();
        if (!text->Load(ar, block))
            return RD_FAILED;
        m_Texts.Add(std::move(text));
        return RD_READ;
    }
    if (keyIs(block, kWallBlock)) {
        auto wall = std::make_unique<CKovWall>();
        if (!wall->Load(ar, block))
            return RD_FAILED;
        if (wall->m_malformedKeys != 0 && ctx)
            ctx->warnings.push_back(malformedWarning(kWallBlock, m_Walls.GetSize() + 1, wall->MWallID, wall->m_malformedKeys));
        wall->m_malformedKeys = 0;
        m_Walls.Add(std::move(wall));
        return RD_READ;
    }
    if (keyIs(block, kGroupBlock)) {
        auto group = std::make_unique<CKovGroup>();
        if (!group->Load(ar, block))
            return RD_FAILED;
        m_Groups.Add(std::move(group));
        return RD_READ;
    }
    if (keyIs(block, kImageBlock)) {
        auto image = std::make_unique<CKovImage>();
        if (!image->Load(ar, block))
            return RD_FAILED;
        // Picture bytes need a folder to go to: reading them is ReadUnit's.
        if (!ctx && image->HasPendingBytes())
            return RD_FAILED;
        std::string problem;
        std::unordered_set<long long>* taken = nullptr;
        if (ctx && image->HasPendingBytes()) {
            if (!ctx->takenPictureNumbers)
                ctx->takenPictureNumbers = TempImageNumbersIn(ctx->pictureFolder);
            taken = &*ctx->takenPictureNumbers;
        }
        if (!image->FinishRead(ctx ? ctx->pictureFolder : std::filesystem::path(), problem, taken) && ctx)
            ctx->warnings.push_back(std::string(kImageBlock) + " #" + std::to_string(m_Images.GetSize() + 1)
                                    + "（識別番号 " + std::to_string(image->ImageID) + "）: " + problem);
        m_Images.Add(std::move(image));
        return RD_READ;
    }
    return RD_SKIP;
}
