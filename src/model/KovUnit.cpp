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

template <class Array>
void copyArray(Array& target, const Array& source)
{
    target.Reserve(source.size());
    for (const auto& object : source)
        target.Add(std::make_unique<std::remove_cvref_t<decltype(*object)>>(*object));
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
    copyArray(m_Groups, source.m_Groups);
    copyArray(m_Walls, source.m_Walls);
    copyArray(m_Lines, source.m_Lines);
    copyArray(m_Texts, source.m_Texts);
    copyArray(m_Images, source.m_Images);
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
