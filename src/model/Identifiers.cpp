// Identifier allocation of the drawing container.

#include "model/KovUnit.h"

// Counter plus one, back to 1 above wrapLimit; then past every identifier in use, wrapping above
// scanLimit. Every identifier is tried at most once, so a full identifier space gives kNoFreeId
// (the counter keeps its value from before the call) instead of looping for ever.
int CKovUnit::nextId(int& counter, int wrapLimit, int scanLimit, bool (CKovUnit::*inUse)(int) const)
{
    const int before = counter;
    // A counter below 1 comes only from a damaged file; at or above the limit it wraps (this also
    // keeps counter + 1 from overflowing).
    int c = counter < 1 ? 1 : counter;
    c = c >= wrapLimit ? 1 : c + 1;
    for (int tries = 0; tries < scanLimit; ++tries) {
        if (!(this->*inUse)(c)) {
            counter = c;
            return c;
        }
        c = c >= scanLimit ? 1 : c + 1;
    }
    counter = before;
    return kNoFreeId;
}

int CKovUnit::NextGroupId() { return nextId(MUnitGrpID, kGroupIdLimit, kGroupIdLimit, &CKovUnit::groupIdInUse); }
int CKovUnit::NextLineId() { return nextId(MUnitLineID, kLineIdLimit, kLineIdLimit, &CKovUnit::lineIdInUse); }
int CKovUnit::NextWallId() { return nextId(MUnitWallID, kWallIdLimit, kWallIdLimit, &CKovUnit::wallIdInUse); }
int CKovUnit::NextTextId() { return nextId(MUnitTextID, kTextIdLimit, kTextIdScanLimit, &CKovUnit::textIdInUse); }
int CKovUnit::NextImageId() { return nextId(MUnitImageID, kImageIdLimit, kImageIdLimit, &CKovUnit::imageIdInUse); }

void CKovUnit::ResetIdCounters()
{
    MUnitGrpID = MUnitLineID = MUnitWallID = MUnitTextID = MUnitImageID = 1;
}
