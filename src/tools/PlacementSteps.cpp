// The end of a placement: a part from the parts palette, or figures read from another program's
// file, put down by a click.

#include "tools/ToolMachine.h"

#include "edit/EditTexts.h"
#include "edit/GroupCopies.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"

#include <memory>
#include <utility>

namespace kov::tools {

namespace {

// A copy of the group and its members under new identifiers, on their layers, drawn on top; 0 when
// identifiers ran out (nothing is added then).
int duplicateGroup(CKovUnit& unit, int groupId)
{
    const CKovGroup* found = std::as_const(unit).FindGroup(groupId);
    if (!found) return 0;
    const CKovGroup source = *found;
    const kov::edit::CopyMark mark(unit);
    const int newId = unit.NextGroupId();
    if (newId == CKovUnit::kNoFreeId) return 0;
    CKovGroup copy = source;
    copy.MGrpID = newId;
    copy.MGrpLineID.clear();
    copy.MGrpWallID.clear();
    copy.MGrpTextID.clear();
    auto undo = [&] {
        mark.RollBack(unit);
        return 0;
    };
    for (int id : source.MGrpLineID) {
        const CKovLine* f = std::as_const(unit).FindLine(id);
        if (!f) continue;
        auto c = std::make_unique<CKovLine>(*f);
        c->MLineID = unit.NextLineId();
        if (c->MLineID == CKovUnit::kNoFreeId) return undo();
        c->MLineGrpID = newId;
        copy.MGrpLineID.push_back(c->MLineID);
        unit.m_Lines.Add(std::move(c));
    }
    for (int id : source.MGrpWallID) {
        const CKovWall* w = std::as_const(unit).FindWall(id);
        if (!w) continue;
        auto c = std::make_unique<CKovWall>(*w);
        c->MWallID = unit.NextWallId();
        if (c->MWallID == CKovUnit::kNoFreeId) return undo();
        c->MWallGrpID = newId;
        copy.MGrpWallID.push_back(c->MWallID);
        unit.m_Walls.Add(std::move(c));
    }
    for (int id : source.MGrpTextID) {
        const CKovText* t = std::as_const(unit).FindText(id);
        if (!t) continue;
        auto c = std::make_unique<CKovText>(*t);
        c->MTextID = unit.NextTextId();
        if (c->MTextID == CKovUnit::kNoFreeId) return undo();
        c->MTextGrpID = newId;
        copy.MGrpTextID.push_back(c->MTextID);
        unit.m_Texts.Add(std::move(c));
    }
    unit.m_Groups.Add(std::make_unique<CKovGroup>(std::move(copy)));
    return newId;
}

} // namespace

void ToolMachine::FinishPlacement()
{
    SelectionRecord& sel = m_host.Selection();
    CKovUnit& unit = m_host.Unit();
    const CKovGroup* placed =
        sel.m_nCount == 1 && sel.m_Groups.size() == 1 ? std::as_const(unit).FindGroup(sel.m_Groups.front()) : nullptr;
    // A part with walls joins the walls it now stands among.
    if (placed && !placed->MGrpWallID.empty())
        rejoinWalls();
    const kov::platform::Profile* store = m_host.SettingsStore();
    const bool continuous =
        store ? store->GetProfileInt("KOV_T_UTILITY", "buhin_renzoku", 0) != 0 : m_settings.buhin_renzoku != 0;
    if (!continuous) {
        m_bPlacing = 0;
        return;
    }
    if (!placed)
        return;
    // The copy starts where the last one was put and follows the pointer from here.
    const int copy = duplicateGroup(unit, placed->MGrpID);
    if (!copy) {
        // Out of identifiers: the part put down stays, and placing ends.
        m_bPlacing = 0;
        m_host.ShowMessage(kov::edit::texts::kCopyDrawingFull);
        return;
    }
    sel.Clear();
    sel.AddGroupId(copy);
    m_host.PushUndoHeld();
    m_ptLast = m_ptCurrent;
}

} // namespace kov::tools
