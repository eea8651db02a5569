// Copies of groups with their members and of figures, under new identifiers.

#include "edit/GroupCopies.h"

#include "model/KovUnit.h"

#include <memory>
#include <utility>

namespace kov::edit {

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
        const int id = wall ? unit.NextWallId() : CKovUnit::kNoFreeId;
        if (id == CKovUnit::kNoFreeId)
            continue;
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
        const int id = text ? unit.NextTextId() : CKovUnit::kNoFreeId;
        if (id == CKovUnit::kNoFreeId)
            continue;
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

std::vector<int> CopyMarkedFigures(CKovUnit& unit, const FigureCopies& figures, double dx, double dy)
{
    std::vector<int> ungrouped;
    for (std::size_t i = 0; i < figures.marked.size(); ++i) {
        if (!figures.marked[i])
            continue;
        const int id = unit.NextLineId();
        if (id == CKovUnit::kNoFreeId)
            break;
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
