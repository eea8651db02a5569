// Drawing order (a figure later in the array is drawn over an earlier one) and ungrouping.

#include "model/KovUnit.h"
#include "model/SelectionRecord.h"

#include <utility>

namespace {

template <class Array>
void moveTo(Array& array, int from, int to)
{
    if (from >= 0 && to >= 0 && to < array.GetSize())
        array.MoveItem(from, to);
}

} // namespace

void CKovUnit::BringToFront(const SelectionRecord& selection)
{
    const CKovUnit& self = *this;
    if (!selection.m_Lines.empty()) {
        moveTo(m_Lines, FindLineIndex(selection.m_Lines.front()), m_Lines.GetSize() - 1);
        return;
    }
    if (selection.m_Groups.empty())
        return;
    const int index = FindGroupIndex(selection.m_Groups.front());
    if (index < 0)
        return;
    moveTo(m_Groups, index, m_Groups.GetSize() - 1);
    const std::vector<int> members = self.m_Groups[m_Groups.GetSize() - 1]->MGrpLineID;
    for (int id : members)
        moveTo(m_Lines, FindLineIndex(id), m_Lines.GetSize() - 1);
}

void CKovUnit::SendToBack(const SelectionRecord& selection)
{
    const CKovUnit& self = *this;
    if (!selection.m_Lines.empty()) {
        moveTo(m_Lines, FindLineIndex(selection.m_Lines.front()), 0);
        return;
    }
    if (selection.m_Groups.empty())
        return;
    const int index = FindGroupIndex(selection.m_Groups.front());
    if (index < 0)
        return;
    moveTo(m_Groups, index, 0);
    const std::vector<int> members = self.m_Groups[0]->MGrpLineID;
    // Position i goes to the i-th member; a member that names nothing leaves its place as it is.
    for (std::size_t i = 0; i < members.size(); ++i)
        moveTo(m_Lines, FindLineIndex(members[i]), static_cast<int>(i));
}

void CKovUnit::UngroupSelection(SelectionRecord& selection)
{
    for (int id : selection.m_Groups) {
        const CKovGroup* group = std::as_const(*this).FindGroup(id);
        if (!group)
            continue;
        for (int member : group->MGrpLineID)
            if (std::as_const(*this).FindLine(member))
                FindLine(member)->MLineGrpID = 0;
        for (int member : group->MGrpWallID)
            if (std::as_const(*this).FindWall(member))
                FindWall(member)->MWallGrpID = 0;
        for (int member : group->MGrpTextID)
            if (std::as_const(*this).FindText(member))
                FindText(member)->MTextGrpID = 0;
        m_Groups.DeleteAt(FindGroupIndex(id));
    }
    selection.Clear();
}
