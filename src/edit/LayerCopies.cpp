// Objects put on another layer address: moved there, or copied there under new identifiers; and a
// layer group shifted so that a chosen point becomes its origin.
//
// A copy never names a group that did not come along with it: a later group taking that number would
// adopt it, and deleting that group would take the copy with it. Member lists likewise list only
// members that were copied. A copy that runs out of identifiers half-way is taken back whole.

#include "edit/GroupCopies.h"
#include "edit/PictureCopies.h"

#include "model/KovUnit.h"
#include "model/SelectionRecord.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace {

struct Matcher {
    int sourceGroup, sourceLayer;
    bool wholeGroup;
    bool operator()(LayerAddress at) const { return at.group == sourceGroup && (wholeGroup || at.layer == sourceLayer); }
};

LayerAddress targetOf(LayerAddress at, int targetGroup, int targetLayer, bool wholeGroup)
{
    return {targetGroup, wholeGroup ? at.layer : targetLayer};
}

// The new identifier of a listed member and the copied group that lists it.
struct MemberCopy {
    int id;
    int group;
};

} // namespace

void CKovUnit::MoveLayerObjects(int sourceLayer, int sourceGroup, int targetLayer, int targetGroup, int wholeGroup)
{
    const Matcher matches{sourceGroup, sourceLayer, wholeGroup != 0};
    auto move = [&](auto& array) {
        for (int i = 0; i < array.GetSize(); ++i) {
            const LayerAddress at = LayerOf(*std::as_const(array)[i]);
            if (matches(at))
                SetLayer(*array[i], targetOf(at, targetGroup, targetLayer, wholeGroup != 0));
        }
    };
    move(m_Groups);
    move(m_Walls);
    move(m_Lines);
    move(m_Texts);
    move(m_Images);
}

int CKovUnit::CopyLayerObjects(int sourceLayer, int sourceGroup, int targetLayer, int targetGroup, int wholeGroup,
                               const std::filesystem::path& pictureFolder)
{
    const Matcher matches{sourceGroup, sourceLayer, wholeGroup != 0};
    const bool whole = wholeGroup != 0;
    const CKovUnit& self = *this;
    const kov::edit::CopyMark mark(*this);
    bool ranOut = false;

    // Groups first: each copy lists new identifiers for exactly the members that will be copied
    // (they exist and lie on the copied layers), in the order of the source's lists.
    std::unordered_map<int, int> newGroupOf;
    std::unordered_map<int, MemberCopy> figures, walls, texts;
    const int groupCount = m_Groups.GetSize();
    for (int i = 0; i < groupCount && !ranOut; ++i) {
        const CKovGroup& source = *self.m_Groups[i];
        if (!matches(LayerOf(source)) || newGroupOf.contains(source.MGrpID))
            continue;
        const int id = NextGroupId();
        if (id == kNoFreeId) {
            ranOut = true;
            break;
        }
        auto copy = std::make_unique<CKovGroup>(source);
        copy->MGrpID = id;
        newGroupOf.emplace(source.MGrpID, id);
        auto renumber = [&](std::vector<int>& list, auto find, auto& table, int (CKovUnit::*next)()) {
            std::vector<int> kept;
            for (int member : list) {
                const auto* object = (self.*find)(member);
                if (!object || !matches(LayerOf(*object)) || table.contains(member))
                    continue;
                const int memberId = (this->*next)();
                if (memberId == kNoFreeId) {
                    ranOut = true;
                    break;
                }
                table.emplace(member, MemberCopy{memberId, id});
                kept.push_back(memberId);
            }
            list = std::move(kept);
        };
        using FindLineFn = const CKovLine* (CKovUnit::*)(int) const;
        using FindWallFn = const CKovWall* (CKovUnit::*)(int) const;
        using FindTextFn = const CKovText* (CKovUnit::*)(int) const;
        renumber(copy->MGrpLineID, static_cast<FindLineFn>(&CKovUnit::FindLine), figures, &CKovUnit::NextLineId);
        renumber(copy->MGrpWallID, static_cast<FindWallFn>(&CKovUnit::FindWall), walls, &CKovUnit::NextWallId);
        renumber(copy->MGrpTextID, static_cast<FindTextFn>(&CKovUnit::FindText), texts, &CKovUnit::NextTextId);
        SetLayer(*copy, targetOf(LayerOf(source), targetGroup, targetLayer, whole));
        m_Groups.Add(std::move(copy));
    }

    // Members, in array order; the count is taken first, so that no copy is copied again.
    auto copyMembers = [&](auto& array, auto idField, auto groupField, auto& table, int (CKovUnit::*next)()) {
        const int count = array.GetSize();
        for (int i = 0; i < count && !ranOut; ++i) {
            const auto& source = *std::as_const(array)[i];
            if (!matches(LayerOf(source)))
                continue;
            auto copy = std::make_unique<std::remove_cvref_t<decltype(source)>>(source);
            const int oldGroup = source.*groupField;
            const auto group = oldGroup != 0 ? newGroupOf.find(oldGroup) : newGroupOf.end();
            const auto member = table.find(source.*idField);
            if (group != newGroupOf.end() && member != table.end() && member->second.group == group->second) {
                (*copy).*idField = member->second.id;
                (*copy).*groupField = group->second;
                table.erase(member);
            } else {
                const int id = (this->*next)();
                if (id == kNoFreeId) {
                    ranOut = true;
                    break;
                }
                (*copy).*idField = id;
                (*copy).*groupField = 0;
            }
            SetLayer(*copy, targetOf(LayerOf(source), targetGroup, targetLayer, whole));
            array.Add(std::move(copy));
        }
    };
    copyMembers(m_Walls, &CKovWall::MWallID, &CKovWall::MWallGrpID, walls, &CKovUnit::NextWallId);
    copyMembers(m_Lines, &CKovLine::MLineID, &CKovLine::MLineGrpID, figures, &CKovUnit::NextLineId);
    copyMembers(m_Texts, &CKovText::MTextID, &CKovText::MTextGrpID, texts, &CKovUnit::NextTextId);

    const int pictureCount = m_Images.GetSize();
    for (int i = 0; i < pictureCount && !ranOut; ++i) {
        const CKovImage& source = *self.m_Images[i];
        if (!matches(LayerOf(source)))
            continue;
        auto copy = kov::edit::CopyPicture(*this, source, pictureFolder);
        if (!copy) {
            ranOut = true;
            break;
        }
        SetLayer(*copy, targetOf(LayerOf(source), targetGroup, targetLayer, whole));
        m_Images.Add(std::move(copy));
    }
    if (ranOut) {
        mark.RollBack(*this);
        return 0;
    }
    return 1;
}

int CKovUnit::ChangeSelectionLayer(const SelectionRecord& selection, int targetGroup, int targetLayer, int keep,
                                   const std::filesystem::path& pictureFolder)
{
    if (keep)
        return CopySelectionToLayer(selection, targetLayer, targetGroup, pictureFolder);
    const LayerAddress to{targetGroup, targetLayer};
    auto put = [&](auto* object) {
        if (object)
            SetLayer(*object, to);
    };
    for (int id : selection.m_Groups) {
        if (!std::as_const(*this).FindGroup(id))
            continue;
        CKovGroup& group = *FindGroup(id);
        SetLayer(group, to);
        for (int member : group.MGrpWallID)
            if (std::as_const(*this).FindWall(member))
                put(FindWall(member));
        for (int member : group.MGrpLineID)
            if (std::as_const(*this).FindLine(member))
                put(FindLine(member));
        for (int member : group.MGrpTextID)
            if (std::as_const(*this).FindText(member))
                put(FindText(member));
    }
    for (int id : selection.m_Lines)
        if (std::as_const(*this).FindLine(id))
            put(FindLine(id));
    for (int id : selection.m_Walls)
        if (std::as_const(*this).FindWall(id))
            put(FindWall(id));
    for (int id : selection.m_Texts)
        if (std::as_const(*this).FindText(id))
            put(FindText(id));
    for (int id : selection.m_Images)
        if (std::as_const(*this).FindImage(id))
            put(FindImage(id));
    return 1;
}

int CKovUnit::CopySelectionToLayer(const SelectionRecord& selection, int targetLayer, int targetGroup,
                                   const std::filesystem::path& pictureFolder)
{
    const LayerAddress to{targetGroup, targetLayer};
    const CKovUnit& self = *this;
    const kov::edit::CopyMark mark(*this);
    auto refuse = [&] {
        mark.RollBack(*this);
        return 0;
    };
    for (int id : selection.m_Groups) {
        const CKovGroup* source = self.FindGroup(id);
        if (!source)
            continue;
        const int groupId = NextGroupId();
        if (groupId == kNoFreeId)
            return refuse();
        auto copy = std::make_unique<CKovGroup>(*source);
        copy->MGrpID = groupId;
        // Each existing member is copied into the new group; entries naming nothing are dropped, so
        // that no object made later is taken for a member.
        auto copyList = [&](std::vector<int>& list, auto& array, auto idField, auto groupField,
                            int (CKovUnit::*next)()) {
            std::vector<int> kept;
            for (int member : list) {
                const auto* object = std::as_const(array).Find(member);
                if (!object)
                    continue;
                const int memberId = (this->*next)();
                if (memberId == kNoFreeId)
                    return false;
                auto memberCopy = std::make_unique<std::remove_cvref_t<decltype(*object)>>(*object);
                (*memberCopy).*idField = memberId;
                (*memberCopy).*groupField = groupId;
                SetLayer(*memberCopy, to);
                array.Add(std::move(memberCopy));
                kept.push_back(memberId);
            }
            list = std::move(kept);
            return true;
        };
        if (!copyList(copy->MGrpLineID, m_Lines, &CKovLine::MLineID, &CKovLine::MLineGrpID, &CKovUnit::NextLineId) ||
            !copyList(copy->MGrpWallID, m_Walls, &CKovWall::MWallID, &CKovWall::MWallGrpID, &CKovUnit::NextWallId) ||
            !copyList(copy->MGrpTextID, m_Texts, &CKovText::MTextID, &CKovText::MTextGrpID, &CKovUnit::NextTextId))
            return refuse();
        SetLayer(*copy, to);
        m_Groups.Add(std::move(copy));
    }
    // Objects selected by themselves come without their group: their copies belong to none.
    auto copyEach = [&](const std::vector<int>& ids, auto& array, auto idField, auto groupField,
                        int (CKovUnit::*next)()) {
        for (int id : ids) {
            const auto* object = std::as_const(array).Find(id);
            if (!object)
                continue;
            const int newId = (this->*next)();
            if (newId == kNoFreeId)
                return false;
            auto copy = std::make_unique<std::remove_cvref_t<decltype(*object)>>(*object);
            (*copy).*idField = newId;
            (*copy).*groupField = 0;
            SetLayer(*copy, to);
            array.Add(std::move(copy));
        }
        return true;
    };
    if (!copyEach(selection.m_Walls, m_Walls, &CKovWall::MWallID, &CKovWall::MWallGrpID, &CKovUnit::NextWallId) ||
        !copyEach(selection.m_Lines, m_Lines, &CKovLine::MLineID, &CKovLine::MLineGrpID, &CKovUnit::NextLineId) ||
        !copyEach(selection.m_Texts, m_Texts, &CKovText::MTextID, &CKovText::MTextGrpID, &CKovUnit::NextTextId))
        return refuse();
    for (int id : selection.m_Images) {
        const CKovImage* source = self.FindImage(id);
        if (!source)
            continue;
        auto copy = kov::edit::CopyPicture(*this, *source, pictureFolder);
        if (!copy)
            return refuse();
        SetLayer(*copy, to);
        m_Images.Add(std::move(copy));
    }
    return 1;
}

void CKovUnit::MoveLayerGroupCentre(double x, double y, const CKovUnit& snapshot, int layerGroup)
{
    SelectionRecord scratch;
    for (const auto& group : m_Groups)
        if (group->MGrpLayer1 == layerGroup)
            scratch.AddGroupId(group->MGrpID);
    for (const auto& f : m_Lines)
        if (f->MLineLayer1 == layerGroup && f->MLineGrpID == 0)
            scratch.AddLineId(f->MLineID);
    for (const auto& w : m_Walls)
        if (w->MWallLayer1 == layerGroup && w->MWallGrpID == 0)
            scratch.AddWallId(w->MWallID);
    for (const auto& t : m_Texts)
        if (t->MTextLayer1 == layerGroup && t->MTextGrpID == 0)
            scratch.AddTextId(t->MTextID);
    MoveSelection(scratch, -x, -y, snapshot);
}
