// Duplicating the selection: copies under new identifiers replace the selected objects in the
// selection, so that they can be moved on while the originals stay.

#include "edit/GroupCopies.h"
#include "edit/PictureCopies.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <utility>
#include <vector>

void CKovUnit::DuplicateSelection(SelectionRecord& selection, double dx, double dy, const CPlotInfo& plot,
                                  const std::filesystem::path& pictureFolder)
{
    const LayerAddress editing = CurrentLayer(plot);
    const CKovUnit& self = *this;
    kov::edit::FigureCopies figures(self);

    for (int& entry : selection.m_Groups) {
        const CKovGroup* source = self.FindGroup(entry);
        if (!source)
            continue;
        const int groupId = kov::edit::CopyGroupWithMembers(*this, *source, -dx, -dy, editing, figures);
        // Out of group identifiers: the groups not copied stay selected as they are.
        if (groupId == kNoFreeId)
            break;
        entry = groupId;
    }

    for (int id : selection.m_Lines)
        kov::edit::MarkFigure(self, id, figures);
    // A figure selected by itself, or whose group did not come along, is selected as its copy.
    selection.m_Lines = kov::edit::CopyMarkedFigures(*this, figures, -dx, -dy);

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
