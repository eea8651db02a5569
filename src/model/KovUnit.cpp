// The drawing container: deletion, whole copies and emptying.

#include "model/KovUnit.h"

#include "model/PictureFiles.h"

#include <utility>

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
    SetPictureFileRemover([folder](const CKovImage& picture) { DeleteTempImageFiles(folder, picture.ImageID); });
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
    const CKovGroup& group = *m_Groups[index];
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
