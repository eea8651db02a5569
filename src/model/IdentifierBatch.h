#pragma once

// Identifiers for a batch of new objects of one kind (a merged drawing, a placed part), exactly as
// successive CKovUnit::Next…Id calls give them when each is taken into use before the next call.
//
// Past a counter's wrap limit (62,000 for texts) every such call searches again from 1 over the
// identifiers in use, so a batch into a drawing that full walked the whole run once per object.
// The batch remembers how far from 1 the identifiers are all held and steps over that run at
// once. This holds only while the caller adds objects and removes none between two calls.

#include "model/KovUnit.h"

namespace kov::model {

enum class IdKind { Group, Line, Wall, Text, Image };

class IdentifierBatch {
public:
    IdentifierBatch(CKovUnit& unit, IdKind kind) : m_unit(unit), m_kind(kind) {}

    // The identifier the next Next…Id call would give; kNoFreeId when every one is in use (the
    // counter then keeps its value).
    int Next()
    {
        int& counter = counterOf();
        const int wrapLimit = m_kind == IdKind::Text ? CKovUnit::kTextIdLimit : scanLimit();
        const int scan = scanLimit();
        int c = counter < 1 ? 1 : counter;
        c = c >= wrapLimit ? 1 : c + 1;
        for (int tries = 0; tries < scan;) {
            if (c < m_heldBelow) {
                // [c, m_heldBelow) is in use: every one of them counts as tried.
                tries += m_heldBelow - c;
                c = m_heldBelow > scan ? 1 : m_heldBelow;
                continue;
            }
            if (!inUse(c)) {
                counter = c;
                return c;
            }
            if (c == m_heldBelow) ++m_heldBelow;
            ++tries;
            c = c >= scan ? 1 : c + 1;
        }
        return CKovUnit::kNoFreeId;
    }

private:
    int& counterOf()
    {
        switch (m_kind) {
        case IdKind::Group: return m_unit.MUnitGrpID;
        case IdKind::Line: return m_unit.MUnitLineID;
        case IdKind::Wall: return m_unit.MUnitWallID;
        case IdKind::Text: return m_unit.MUnitTextID;
        case IdKind::Image: break;
        }
        return m_unit.MUnitImageID;
    }
    int scanLimit() const
    {
        switch (m_kind) {
        case IdKind::Group: return CKovUnit::kGroupIdLimit;
        case IdKind::Line: return CKovUnit::kLineIdLimit;
        case IdKind::Wall: return CKovUnit::kWallIdLimit;
        case IdKind::Text: return CKovUnit::kTextIdScanLimit;
        case IdKind::Image: break;
        }
        return CKovUnit::kImageIdLimit;
    }
    bool inUse(int id) const
    {
        const CKovUnit& u = m_unit;
        switch (m_kind) {
        case IdKind::Group: return u.m_Groups.Contains(id);
        case IdKind::Line: return u.m_Lines.Contains(id);
        case IdKind::Wall: return u.m_Walls.Contains(id);
        case IdKind::Text: return u.m_Texts.Contains(id);
        case IdKind::Image: break;
        }
        return u.m_Images.Contains(id);
    }

    CKovUnit& m_unit;
    IdKind m_kind;
    int m_heldBelow = 1; // every identifier from 1 up to below this is in use
};

} // namespace kov::model
