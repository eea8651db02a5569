#include "app/MergeDrawing.h"

#include "app/KoviraDoc.h"
#include "app/OldDrawings.h"

#include "model/IdentifierBatch.h"
#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/SelectionRecord.h"
#include "model/SettingsValues.h"
#include "model/UnitBlocks.h"
#include "platform/Questions.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace kov::app {

namespace fs = std::filesystem;

CDefFile::RD_STATUS CKoviraDocGouseiLoad::OnReadStart(CArchive& ar, std::string_view block)
{
    if (kov::model::equalsNoCase(block, "KovUnit"))
        return m_target.ReadUnit(ar, block, m_context) ? RD_READ : RD_FAILED;
    return RD_SKIP;
}

// The top block holds no keys of its own; any there are passed over.
int CKoviraDocGouseiLoad::OnReadData(std::string_view, std::string_view) { return 1; }

int ReadMergeBlock(CArchive& ar, std::string_view block, CKovUnit& target, UnitFileContext& context)
{
    CKoviraDocGouseiLoad loader(target, context);
    const int result = loader.Load(ar, block);
    if (!ar.error().ok())
        context.warnings.push_back(ar.error().describe());
    else if (!result)
        context.warnings.push_back(std::string(kReadStoppedMessage));
    return result;
}

int LoadMergeBlock(CArchive& ar, CKovUnit& target, UnitFileContext& context, const MergeUnpacker& unpacker)
{
    CDefFile finder;
    if (finder.FindStart(ar, kDocumentBlock)) {
        ReadMergeBlock(ar, kDocumentBlock, target, context);
        return 1;
    }
    ar.rewind();
    if (!unpacker) return 0;
    const auto inner = unpacker(ar.bytes(), kOldMergeMember);
    if (!inner) return 0;
    auto packed = CArchive::forReading(*inner);
    if (finder.FindStart(*packed, kDocumentBlock)) ReadMergeBlock(*packed, kDocumentBlock, target, context);
    return 1;
}

namespace {

// Every type a picture's temporary file may have.
constexpr int kPictureTypes[] = {kPictureBmp, kPictureGif, kPicturePng, kPictureJpeg};

// Takes every object out of the array in order, so it can be handed over one by one.
template <class Array>
auto takeAll(Array& array)
{
    std::vector<decltype(array.RemoveAt(0))> out;
    out.reserve(array.size());
    while (array.GetSize() > 0) out.push_back(array.RemoveAt(array.GetSize() - 1));
    std::reverse(out.begin(), out.end());
    return out;
}

// The first free picture number above `id` that neither the target uses nor has a file in the folder.
int freePictureId(const CKovUnit& target, const fs::path& folder, int id)
{
    for (int candidate = id + 1;; ++candidate) {
        if (candidate > CKovUnit::kImageIdLimit * 16) return CKovUnit::kNoFreeId;
        if (target.FindImage(candidate)) continue;
        if (!folder.empty() && TempImageNumberTaken(folder, candidate)) continue;
        return candidate;
    }
}

} // namespace

int MergeUnit(CKovUnit& target, CKovUnit& source, SelectionRecord& selection, int toLayer, int layerGroup, int layer,
              const fs::path& pictureFolder)
{
    int leftOut = 0;
    auto groups = takeAll(source.m_Groups);
    auto lines = takeAll(source.m_Lines);
    auto walls = takeAll(source.m_Walls);
    auto texts = takeAll(source.m_Texts);
    auto images = takeAll(source.m_Images);

    // Figures that claim a group while no group lists them are dropped (walls and texts are not).
    std::unordered_set<int> listedFigures;
    for (const auto& g : groups) listedFigures.insert(g->MGrpLineID.begin(), g->MGrpLineID.end());
    std::erase_if(lines, [&](const auto& f) { return f->MLineGrpID != 0 && !listedFigures.contains(f->MLineID); });

    // Groups: old identifier → the merged group (first source group of that identifier).
    std::unordered_map<int, CKovGroup*> newGroupOf;
    // Batches keep the search for free numbers linear in a drawing past a counter's wrap limit.
    kov::model::IdentifierBatch groupIds(target, kov::model::IdKind::Group);
    for (auto& g : groups) {
        const int oldId = g->MGrpID;
        const int newId = groupIds.Next();
        if (newId == CKovUnit::kNoFreeId) {
            ++leftOut;
            continue;
        }
        g->MGrpID = newId;
        g->MGrpLineID.clear();
        g->MGrpWallID.clear();
        g->MGrpTextID.clear();
        if (toLayer) {
            g->MGrpLayer1 = layerGroup;
            g->MGrpLayer2 = layer;
        }
        selection.AddGroupId(newId);
        newGroupOf.try_emplace(oldId, g.get());
        target.m_Groups.Add(std::move(g));
    }

    // Members follow their group; one whose group did not arrive becomes ungrouped rather than keep
    // a number that may name an unrelated group of the target.
    auto mergeMembers = [&](auto& objects, auto& into, auto idField, auto groupField, auto layer1, auto layer2,
                            kov::model::IdKind kind, auto memberList, auto addToSelection) {
        kov::model::IdentifierBatch ids(target, kind);
        for (auto& o : objects) {
            const int newId = ids.Next();
            if (newId == CKovUnit::kNoFreeId) {
                ++leftOut;
                continue;
            }
            (*o).*idField = newId;
            const int oldGroup = (*o).*groupField;
            const auto group = oldGroup != 0 ? newGroupOf.find(oldGroup) : newGroupOf.end();
            if (group != newGroupOf.end()) {
                (*o).*groupField = group->second->MGrpID;
                (group->second->*memberList).push_back(newId);
            } else {
                (*o).*groupField = 0;
                (selection.*addToSelection)(newId);
            }
            if (toLayer) {
                (*o).*layer1 = layerGroup;
                (*o).*layer2 = layer;
            }
            into.Add(std::move(o));
        }
    };
    mergeMembers(lines, target.m_Lines, &CKovLine::MLineID, &CKovLine::MLineGrpID, &CKovLine::MLineLayer1,
        &CKovLine::MLineLayer2, kov::model::IdKind::Line, &CKovGroup::MGrpLineID, &SelectionRecord::AddLineId);
    mergeMembers(walls, target.m_Walls, &CKovWall::MWallID, &CKovWall::MWallGrpID, &CKovWall::MWallLayer1,
        &CKovWall::MWallLayer2, kov::model::IdKind::Wall, &CKovGroup::MGrpWallID, &SelectionRecord::AddWallId);
    mergeMembers(texts, target.m_Texts, &CKovText::MTextID, &CKovText::MTextGrpID, &CKovText::MTextLayer1,
        &CKovText::MTextLayer2, kov::model::IdKind::Text, &CKovGroup::MGrpTextID, &SelectionRecord::AddTextId);

    // Pictures keep the number reading gave them: their temporary files are named after it.
    for (auto& image : images) {
        if (target.FindImage(image->ImageID)) {
            // Only when a picture of the drawing lost its file can the numbers meet: renumber the
            // merged one and move its files along, so neither picture takes the other's file.
            const int newId = freePictureId(target, pictureFolder, image->ImageID);
            if (newId == CKovUnit::kNoFreeId) {
                ++leftOut;
                continue;
            }
            if (!pictureFolder.empty()) {
                // Files are moved: what still waits in memory is written first.
                image->SettleFile();
                for (int type : kPictureTypes) {
                    std::error_code ec;
                    const fs::path from = TempImagePath(pictureFolder, image->ImageID, type);
                    if (fs::exists(from, ec)) fs::rename(from, TempImagePath(pictureFolder, newId, type), ec);
                }
                image->ImageName = TempImagePath(pictureFolder, newId).string();
            }
            image->ImageID = newId;
        }
        if (toLayer) {
            image->IMGLayer1 = layerGroup;
            image->IMGLayer2 = layer;
        }
        selection.AddImageId(image->ImageID);
        target.m_Images.Add(std::move(image));
    }
    return leftOut;
}

int MergeDocumentFile(CKoviraDoc& doc, const fs::path& path)
{
    kov::platform::Questions& questions = doc.services().questions;
    doc.m_Selection.Clear();

    std::string error;
    auto archive = CArchive::openForReading(path, &error);
    if (!archive) {
        questions.message(error, {}, kov::platform::MessageIcon::Warning);
        return 0;
    }
    UnitFileContext context;
    context.pictureFolder = doc.TempImageFolder();
    context.showMessage = [&questions](std::string_view text) { questions.message(text); };

    CKovUnit scratch;
    const MergeUnpacker unpacker = [](const std::vector<std::uint8_t>& packed, std::string_view member) {
        return UnpackOldDrawing(packed, member);
    };
    if (!LoadMergeBlock(*archive, scratch, context, unpacker)) {
        questions.message(kReadFailedMessage, {}, kov::platform::MessageIcon::Warning);
        return 0;
    }
    SelectionRecord scratchSelection;
    MergeUnit(doc.m_Unit, scratch, scratchSelection, 0, 0, 0, context.pictureFolder);
    doc.SetModifiedFlag();
    doc.m_bRedraw = 1;
    if (!context.warnings.empty()) {
        // What could be read is merged; the user must not take it for the whole drawing.
        questions.message(ReadProblemsReport(kMergeDamagedMessage, context.warnings), {},
                          kov::platform::MessageIcon::Warning);
    }
    return 1;
}

} // namespace kov::app
