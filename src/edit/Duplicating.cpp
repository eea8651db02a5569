// Duplicating the selection: copies under new identifiers replace the selected objects in the
// selection, so that they can be moved on while the originals stay.

#include "edit/PictureCopies.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <unordered_map>
#include <utility>
#include <vector>

void CKovUnit::DuplicateSelection(SelectionRecord& selection, double dx, double dy, const CPlotInfo& plot,
                                  const std::filesystem::path& pictureFolder)
{
    const LayerAddress editing = CurrentLayer(plot);
    const CKovUnit& self = *this;
    const int figureCount = m_Lines.GetSize();
    std::vector<char> copyFigure(static_cast<std::size_t>(figureCount), 0);
    // Source group → its copy; the first pairing counts.
    std::unordered_map<int, int> newGroupOf;

    for (int& entry : selection.m_Groups) {
        const CKovGroup* source = self.FindGroup(entry);
        const int groupId = source ? NextGroupId() : kNoFreeId;
        if (groupId == kNoFreeId)
            continue;
        auto group = std::make_unique<CKovGroup>(*source);
        group->MGrpID = groupId;
        group->MGrpWallID.clear();
        group->MGrpLineID.clear();
        group->MGrpTextID.clear();
        for (int member : source->MGrpLineID) {
            const int index = FindLineIndex(member);
            if (index < 0)
                continue;
            copyFigure[static_cast<std::size_t>(index)] = 1;
            newGroupOf.try_emplace(self.m_Lines[index]->MLineGrpID, groupId);
        }
        for (int member : source->MGrpWallID) {
            const CKovWall* wall = self.FindWall(member);
            const int id = wall ? NextWallId() : kNoFreeId;
            if (id == kNoFreeId)
                continue;
            auto copy = std::make_unique<CKovWall>(*wall);
            copy->MWallID = id;
            copy->MWallGrpID = groupId;
            SetLayer(*copy, editing);
            m_Walls.Add(std::move(copy));
            group->MGrpWallID.push_back(id);
        }
        for (int member : source->MGrpTextID) {
            const CKovText* text = self.FindText(member);
            const int id = text ? NextTextId() : kNoFreeId;
            if (id == kNoFreeId)
                continue;
            auto copy = std::make_unique<CKovText>(*text);
            copy->MTextID = id;
            copy->MTextGrpID = groupId;
            SetLayer(*copy, editing);
            m_Texts.Add(std::move(copy));
            group->MGrpTextID.push_back(id);
        }
        SetLayer(*group, editing);
        CKovGroup& added = *m_Groups[m_Groups.Add(std::move(group))];
        MoveGroup(groupId, -dx, -dy);
        added.MGrpmin = {added.MGrpmin.x - dx, added.MGrpmin.y - dy};
        added.MGrpmax = {added.MGrpmax.x - dx, added.MGrpmax.y - dy};
        entry = groupId;
    }

    for (int id : selection.m_Lines) {
        const int index = FindLineIndex(id);
        if (index >= 0)
            copyFigure[static_cast<std::size_t>(index)] = 1;
    }
    selection.m_Lines.clear();
    // In drawing order, not in the order of the selection.
    for (int i = 0; i < figureCount; ++i) {
        if (!copyFigure[static_cast<std::size_t>(i)])
            continue;
        const int id = NextLineId();
        if (id == kNoFreeId)
            break;
        auto copy = std::make_unique<CKovLine>(*self.m_Lines[i]);
        copy->MLineID = id;
        copy->MoveBy(-dx, -dy);
        const auto group = copy->MLineGrpID != 0 ? newGroupOf.find(copy->MLineGrpID) : newGroupOf.end();
        CKovGroup* into = group != newGroupOf.end() ? FindGroup(group->second) : nullptr;
        if (into) {
            into->MGrpLineID.push_back(id);
            copy->MLineGrpID = group->second;
        } else {
            // A figure selected by itself: its copy belongs to no group, not even to a number that
            // names none (a later group would adopt it).
            copy->MLineGrpID = 0;
            selection.m_Lines.push_back(id);
        }
        m_Lines.Add(std::move(copy));
    }

    auto duplicate = [&](std::vector<int>& ids, auto& array, auto idField, auto groupField, int (CKovUnit::*next)()) {
        for (int& entry : ids) {
            const auto* object = std::as_const(array).Find(entry);
            const int id = object ? (this->*next)() : kNoFreeId;
            if (id == kNoFreeId)
                continue;
            auto copy = std::make_unique<std::remove_cvref_t<decltype(*object)>>(*object);
            (*copy).*idField = id;
            (*copy).*groupField = 0;
            copy->MoveBy(-dx, -dy);
            SetLayer(*copy, editing);
            array.Add(std::move(copy));
            entry = id;
        }
    };
    duplicate(selection.m_Walls, m_Walls, &CKovWall::MWallID, &CKovWall::MWallGrpID, &CKovUnit::NextWallId);
    duplicate(selection.m_Texts, m_Texts, &CKovText::MTextID, &CKovText::MTextGrpID, &CKovUnit::NextTextId);

    for (int& entry : selection.m_Images) {
        const CKovImage* source = self.FindImage(entry);
        if (!source)
            continue;
        auto copy = kov::edit::CopyPicture(*this, *source, pictureFolder);
        if (!copy)
            continue;
        SetLayer(*copy, editing);
        // Half its size up and to the left, whatever the offset: a copy never hides its source.
        copy->MoveBy(-copy->ImageWidth / 2, -copy->ImageHeight / 2);
        entry = copy->ImageID;
        m_Images.Add(std::move(copy));
    }
    selection.m_nCount = static_cast<int>(selection.m_Groups.size() + selection.m_Walls.size() +
                                          selection.m_Lines.size() + selection.m_Texts.size() +
                                          selection.m_Images.size());
}
