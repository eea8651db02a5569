// Duplicating the selection: copies under new identifiers replace the selected objects in the
// selection, so that they can be moved on while the originals stay.

#include "edit/GroupCopies.h"
#include "edit/PictureCopies.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <optional>
#include <utility>
#include <vector>

int CKovUnit::DuplicateSelection(SelectionRecord& selection, double dx, double dy, const CPlotInfo& plot,
                                 const std::filesystem::path& pictureFolder)
{
    const LayerAddress editing = CurrentLayer(plot);
    const CKovUnit& self = *this;
    const kov::edit::CopyMark mark(self);
    const SelectionRecord before = selection;
    // Out of identifiers half-way: nothing is copied and the selection stays as it was.
    auto refuse = [&] {
        mark.RollBack(*this);
        selection = before;
        return 0;
    };
    kov::edit::FigureCopies figures(self);

    for (int& entry : selection.m_Groups) {
        const CKovGroup* source = self.FindGroup(entry);
        if (!source)
            continue;
        const int groupId = kov::edit::CopyGroupWithMembers(*this, *source, -dx, -dy, editing, figures);
        if (groupId == kNoFreeId)
            return refuse();
        entry = groupId;
    }

    for (int id : selection.m_Lines)
        kov::edit::MarkFigure(self, id, figures);
    // A figure selected by itself, or whose group did not come along, is selected as its copy.
    std::optional<std::vector<int>> ungrouped = kov::edit::CopyMarkedFigures(*this, figures, -dx, -dy);
    if (!ungrouped)
        return refuse();
    selection.m_Lines = std::move(*ungrouped);

    auto duplicate = [&](std::vector<int>& ids, auto& array, auto idField, auto groupField, int (CKovUnit::*next)()) {
        for (int& entry : ids) {
            const auto* object = std::as_const(array).Find(entry);
            if (!object)
                continue;
            const int id = (this->*next)();
            if (id == kNoFreeId)
                return false;
            auto copy = std::make_unique<std::remove_cvref_t<decltype(*object)>>(*object);
            (*copy).*idField = id;
            (*copy).*groupField = 0;
            copy->MoveBy(-dx, -dy);
            SetLayer(*copy, editing);
            array.Add(std::move(copy));
            entry = id;
        }
        return true;
    };
    if (!duplicate(selection.m_Walls, m_Walls, &CKovWall::MWallID, &CKovWall::MWallGrpID, &CKovUnit::NextWallId) ||
        !duplicate(selection.m_Texts, m_Texts, &CKovText::MTextID, &CKovText::MTextGrpID, &CKovUnit::NextTextId))
        return refuse();

    for (int& entry : selection.m_Images) {
        const CKovImage* source = self.FindImage(entry);
        if (!source)
            continue;
        auto copy = kov::edit::CopyPicture(*this, *source, pictureFolder);
        if (!copy)
            return refuse();
        SetLayer(*copy, editing);
        // Half its size up and to the left, whatever the offset: a copy never hides its source.
        copy->MoveBy(-copy->ImageWidth / 2, -copy->ImageHeight / 2);
        entry = copy->ImageID;
        m_Images.Add(std::move(copy));
    }
    selection.m_nCount = static_cast<int>(selection.m_Groups.size() + selection.m_Walls.size() +
                                          selection.m_Lines.size() + selection.m_Texts.size() +
                                          selection.m_Images.size());
    return 1;
}
