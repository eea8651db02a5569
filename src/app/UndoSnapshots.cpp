// Undo and redo: whole-drawing snapshots that share every object an edit did not touch.

#include "app/KoviraDoc.h"

namespace kov::app {

namespace {

// A snapshot is emptied in the mode that keeps picture files first: the live drawing, other
// snapshots or a later redo may still name them.
void discardSnapshot(CKovUnit* snapshot)
{
    snapshot->RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    delete snapshot;
}

CKovUnit* copyOf(const CKovUnit& unit)
{
    auto* copy = new CKovUnit;
    copy->CopyFrom(unit);
    return copy;
}

} // namespace

void CKoviraDoc::appendUndo(CKovUnit* snapshot)
{
    m_UndoStack.push_back(snapshot);
    const std::size_t limit = static_cast<std::size_t>(m_nUndoDepth < 1 ? 1 : m_nUndoDepth) + 1;
    if (m_UndoStack.size() > limit) {
        discardSnapshot(m_UndoStack[1]);
        m_UndoStack.erase(m_UndoStack.begin() + 1);
    }
}

void CKoviraDoc::PushUndo()
{
    SettleUndo();
    m_pPendingUndo.reset(copyOf(m_Unit));
}

void CKoviraDoc::SettleUndo(bool keepUnchanged)
{
    if (!m_pPendingUndo)
        return;
    if (keepUnchanged && m_pPendingUndo->SharesAllWith(m_Unit))
        return;
    std::unique_ptr<CKovUnit> pending = std::move(m_pPendingUndo);
    if (pending->SharesAllWith(m_Unit)) {
        pending->RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
        return;
    }
    appendUndo(pending.release());
    for (CKovUnit* unit : m_RedoStack)
        discardSnapshot(unit);
    m_RedoStack.clear();
    SetModifiedFlag();
}

void CKoviraDoc::PushUndoHeld()
{
    SettleUndo();
    appendUndo(copyOf(m_Unit));
    for (CKovUnit* unit : m_RedoStack)
        discardSnapshot(unit);
    m_RedoStack.clear();
}

bool CKoviraDoc::CanUndo(bool placing)
{
    SettleUndo();
    return !placing && m_UndoStack.size() >= 2;
}

bool CKoviraDoc::CanRedo()
{
    SettleUndo();
    return !m_RedoStack.empty();
}

bool CKoviraDoc::Undo(bool placing)
{
    if (!CanUndo(placing))
        return false;
    m_RedoStack.push_back(copyOf(m_Unit));
    CKovUnit* last = m_UndoStack.back();
    m_UndoStack.pop_back();
    m_Unit.CopyFrom(*last);
    discardSnapshot(last);
    SetModifiedFlag();
    // The selection stays: a snapshot keeps every identifier, and identifiers that name nothing
    // are passed over wherever the selection is used.
    m_bRedraw = 1;
    return true;
}

bool CKoviraDoc::Redo()
{
    if (!CanRedo())
        return false;
    appendUndo(copyOf(m_Unit));
    CKovUnit* last = m_RedoStack.back();
    m_RedoStack.pop_back();
    m_Unit.CopyFrom(*last);
    discardSnapshot(last);
    SetModifiedFlag();
    m_bRedraw = 1;
    return true;
}

} // namespace kov::app
