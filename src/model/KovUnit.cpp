// The drawing container: deletion, whole copies and emptying.

#include "model/KovUnit.h"

#include "model/PictureFiles.h"
#include "model/SelectionRecord.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace {

CKovUnit::PictureFileRemover& pictureFileRemover()
{
    static CKovUnit::PictureFileRemover remover;
    return remover;
}

template <class Array>
int deleteById(Array& array, int id)
{
    const int index = array.FindIndex(id);
    if (index < 0)
        return 0;
    array.DeleteAt(index);
    return 1;
}

} // namespace

void CKovUnit::SetPictureFileRemover(PictureFileRemover remover)
{
    pictureFileRemover() = std::move(remover);
}

void CKovUnit::UseTempImageFolder(const std::filesystem::path& folder)
{
    if (folder.empty()) {
        SetPictureFileRemover({});
        return;
    }
    SetPictureFileRemover([folder](const CKovImage& picture) {
        // A picture whose bytes still wait in memory has no file to delete.
        if (!picture.PendingFileBytes())
            DeleteTempImageFiles(folder, picture.ImageID);
    });
}

int CKovUnit::DeleteLine(int id) { return deleteById(m_Lines, id); }
int CKovUnit::DeleteWall(int id) { return deleteById(m_Walls, id); }
int CKovUnit::DeleteText(int id) { return deleteById(m_Texts, id); }
int CKovUnit::DeleteImage(int id) { return deleteById(m_Images, id); }

int CKovUnit::DeleteGroup(int id)
{
    const int index = FindGroupIndex(id);
    if (index < 0)
        return 0;
    // Copies of the lists: the group stays in place while its members go.
    const CKovGroup& group = *std::as_const(m_Groups)[index];
    const std::vector<int> lines = group.MGrpLineID;
    const std::vector<int> walls = group.MGrpWallID;
    const std::vector<int> texts = group.MGrpTextID;
    for (int member : lines)
        DeleteLine(member);
    for (int member : walls)
        DeleteWall(member);
    for (int member : texts)
        DeleteText(member);
    m_Groups.DeleteAt(index);
    return 1;
}

namespace {

// Deleting one by one takes, for every identifier named, the first object still holding it.
// Counting how often each identifier is named and passing over the array once, taking the first
// holders while the count lasts, deletes the very same objects.
using Counts = std::unordered_map<int, int>;

template <class Array, class IdOf>
int deleteCounted(Array& array, Counts& counts, IdOf idOf)
{
    if (counts.empty())
        return 0;
    return array.DeleteIf([&](const auto& object) {
        const auto it = counts.find(idOf(object));
        if (it == counts.end() || it->second == 0)
            return false;
        --it->second;
        return true;
    });
}

} // namespace

int CKovUnit::DeleteGroups(const std::vector<int>& ids)
{
    SelectionRecord groupsOnly;
    groupsOnly.m_Groups = ids;
    return deleteSelected(groupsOnly);
}

void CKovUnit::DeleteSelection(const SelectionRecord& selection) { deleteSelected(selection); }

int CKovUnit::deleteSelected(const SelectionRecord& selection)
{
    const std::vector<int>& ids = selection.m_Groups;
    Counts groups, lines, walls, texts, images;
    for (const int id : ids)
        ++groups[id];
    // The groups that go, each listing its members as they stand before any deletion.
    for (const auto& group : m_Groups) {
        const auto it = groups.find(group->MGrpID);
        if (it == groups.end() || it->second == 0)
            continue;
        --it->second;
        for (const int member : group->MGrpLineID)
            ++lines[member];
        for (const int member : group->MGrpWallID)
            ++walls[member];
        for (const int member : group->MGrpTextID)
            ++texts[member];
    }
    // The loose objects go after the groups' members: counted on top of them, they take the
    // holders that are first once the members are gone.
    for (const int id : selection.m_Walls)
        ++walls[id];
    for (const int id : selection.m_Lines)
        ++lines[id];
    for (const int id : selection.m_Texts)
        ++texts[id];
    for (const int id : selection.m_Images)
        ++images[id];
    deleteCounted(m_Lines, lines, [](const CKovLine& o) { return o.MLineID; });
    deleteCounted(m_Walls, walls, [](const CKovWall& o) { return o.MWallID; });
    deleteCounted(m_Texts, texts, [](const CKovText& o) { return o.MTextID; });
    deleteCounted(m_Images, images, [](const CKovImage& o) { return o.ImageID; });
    groups.clear();
    for (const int id : ids)
        ++groups[id];
    return deleteCounted(m_Groups, groups, [](const CKovGroup& o) { return o.MGrpID; });
}

void CKovUnit::CopyFrom(const CKovUnit& source)
{
    if (&source == this)
        return;
    RemoveAllObjects(REMOVE_KEEP_PICTURE_FILES);
    MUnitGrpID = source.MUnitGrpID;
    MUnitLineID = source.MUnitLineID;
    MUnitWallID = source.MUnitWallID;
    MUnitTextID = source.MUnitTextID;
    MUnitImageID = source.MUnitImageID;
    // The arrays share their objects until either side changes one (ObjectArray.h).
    m_Groups = source.m_Groups;
    m_Walls = source.m_Walls;
    m_Lines = source.m_Lines;
    m_Texts = source.m_Texts;
    m_Images = source.m_Images;
}

void CKovUnit::RemoveAllObjects(int mode)
{
    ResetIdCounters();
    m_Lines.RemoveAll();
    m_Walls.RemoveAll();
    m_Groups.RemoveAll();
    m_Texts.RemoveAll();
    const bool deleteFiles = mode != REMOVE_KEEP_PICTURE_FILES;
    const auto& remover = pictureFileRemover();
    if (deleteFiles && remover) {
        for (const auto& picture : m_Images)
            remover(*picture);
    }
    m_Images.RemoveAll();
}

bool CKovUnit::SharesAllWith(const CKovUnit& other) const
{
    return MUnitGrpID == other.MUnitGrpID && MUnitLineID == other.MUnitLineID && MUnitWallID == other.MUnitWallID
        && MUnitTextID == other.MUnitTextID && MUnitImageID == other.MUnitImageID
        && m_Groups.SharesAllWith(other.m_Groups) && m_Lines.SharesAllWith(other.m_Lines)
        && m_Texts.SharesAllWith(other.m_Texts) && m_Walls.SharesAllWith(other.m_Walls)
        && m_Images.SharesAllWith(other.m_Images);
}

std::size_t CKovUnit::UnsharedBytes() const
{
    return sizeof(CKovUnit) + m_Groups.UnsharedBytes() + m_Lines.UnsharedBytes() + m_Texts.UnsharedBytes()
        + m_Walls.UnsharedBytes() + m_Images.UnsharedBytes();
}
