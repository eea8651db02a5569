// Copies of groups with their members and of figures, under new identifiers.

#include "edit/GroupCopies.h"

#include "model/KovUnit.h"
#include "model/PictureFiles.h"

#include <memory>
#include <system_error>
#include <utility>

namespace kov::edit {

namespace {

template <class Array>
void truncate(Array& array, int size)
{
    int index = 0;
    array.DeleteIf([&](const auto&) { return index++ >= size; });
}

} // namespace

CopyMark::CopyMark(const CKovUnit& unit)
    : m_sizes{unit.m_Groups.GetSize(), unit.m_Lines.GetSize(), unit.m_Walls.GetSize(), unit.m_Texts.GetSize(),
              unit.m_Images.GetSize()},
      m_counters{unit.MUnitGrpID, unit.MUnitLineID, unit.MUnitWallID, unit.MUnitTextID, unit.MUnitImageID}
{
}

void CopyMark::RollBack(CKovUnit& unit) const
{
    const CKovUnit& self = unit;
    // A picture copy got a file of its own: it goes with the copy.
    for (int i = m_sizes[4]; i < self.m_Images.GetSize(); ++i) {
        const CKovImage& copy = *self.m_Images[i];
        std::error_code ec;
        std::filesystem::remove(PictureFileForType(copy.ImageName, copy.IMGImagetype), ec);
    }
    truncate(unit.m_Groups, m_sizes[0]);
    truncate(unit.m_Lines, m_sizes[1]);
    truncate(unit.m_Walls, m_sizes[2]);
    truncate(unit.m_Texts, m_sizes[3]);
    truncate(unit.m_Images, m_sizes[4]);
    unit.MUnitGrpID = m_counters[0];
    unit.MUnitLineID = m_counters[1];
    unit.MUnitWallID = m_counters[2];
    unit.MUnitTextID = m_counters[3];
    unit.MUnitImageID = m_counters[4];
}

FigureCopies::FigureCopies(const CKovUnit& unit) : marked(static_cast<std::size_t>(unit.m_Lines.GetSize()), 0) {}

void MarkFigure(const CKovUnit& unit, int figureId, FigureCopies& figures)
{
    const int index = unit.FindLineIndex(figureId);
    if (index >= 0 && static_cast<std::size_t>(index) < figures.marked.size())
        figures.marked[static_cast<std::size_t>(index)] = 1;
}

int CopyGroupWithMembers(CKovUnit& unit, const CKovGroup& source, double dx, double dy,
                         const std::optional<LayerAddress>& onto, FigureCopies& figures)
{
    const CKovUnit& self = unit;
    const int groupId = unit.NextGroupId();
    if (groupId == CKovUnit::kNoFreeId)
        return groupId;
    auto group = std::make_unique<CKovGroup>(source);
    group->MGrpID = groupId;
    group->MGrpWallID.clear();
    group->MGrpLineID.clear();
    group->MGrpTextID.clear();
    for (int member : source.MGrpLineID) {
        const int index = unit.FindLineIndex(member);
        if (index < 0 || static_cast<std::size_t>(index) >= figures.marked.size())
            continue;
        figures.marked[static_cast<std::size_t>(index)] = 1;
        figures.groupCopyOf.try_emplace(self.m_Lines[index]->MLineGrpID, groupId);
    }
    for (int member : source.MGrpWallID) {
        const CKovWall* wall = self.FindWall(member);
        if (!wall)
            continue;
        const int id = unit.NextWallId();
        if (id == CKovUnit::kNoFreeId)
            return id;
        auto copy = std::make_unique<CKovWall>(*wall);
        copy->MWallID = id;
        copy->MWallGrpID = groupId;
        if (onto)
            SetLayer(*copy, *onto);
        unit.m_Walls.Add(std::move(copy));
        group->MGrpWallID.push_back(id);
    }
    for (int member : source.MGrpTextID) {
        const CKovText* text = self.FindText(member);
        if (!text)
            continue;
        const int id = unit.NextTextId();
        if (id == CKovUnit::kNoFreeId)
            return id;
        auto copy = std::make_unique<CKovText>(*text);
        copy->MTextID = id;
        copy->MTextGrpID = groupId;
        if (onto)
            SetLayer(*copy, *onto);
        unit.m_Texts.Add(std::move(copy));
        group->MGrpTextID.push_back(id);
    }
    if (onto)
        SetLayer(*group, *onto);
    CKovGroup& added = *unit.m_Groups[unit.m_Groups.Add(std::move(group))];
    unit.MoveGroup(groupId, dx, dy);
    added.MGrpmin = {added.MGrpmin.x + dx, added.MGrpmin.y + dy};
    added.MGrpmax = {added.MGrpmax.x + dx, added.MGrpmax.y + dy};
    return groupId;
}

std::optional<std::vector<int>> CopyMarkedFigures(CKovUnit& unit, const FigureCopies& figures, double dx, double dy)
{
    std::vector<int> ungrouped;
    for (std::size_t i = 0; i < figures.marked.size(); ++i) {
        if (!figures.marked[i])
            continue;
        const int id = unit.NextLineId();
        if (id == CKovUnit::kNoFreeId)
            return std::nullopt;
        auto copy = std::make_unique<CKovLine>(*std::as_const(unit).m_Lines[static_cast<int>(i)]);
        copy->MLineID = id;
        copy->MoveBy(dx, dy);
        const auto group = copy->MLineGrpID != 0 ? figures.groupCopyOf.find(copy->MLineGrpID)
                                                 : figures.groupCopyOf.end();
        CKovGroup* into = group != figures.groupCopyOf.end() ? unit.FindGroup(group->second) : nullptr;
        if (into) {
            into->MGrpLineID.push_back(id);
            copy->MLineGrpID = group->second;
        } else {
            copy->MLineGrpID = 0;
            ungrouped.push_back(id);
        }
        unit.m_Lines.Add(std::move(copy));
    }
    return ungrouped;
}

} // namespace kov::edit
