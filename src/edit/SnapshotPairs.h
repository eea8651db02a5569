#pragma once

// Live objects and their copies in an undo snapshot. A drag or a move restores each object from the
// snapshot taken at its click; the copy is normally at the same array position, but a snapshot that
// no longer matches the arrays (an edit between the click and the move) must not pair an object with
// another one's copy, nor read beyond the snapshot's end.

#include "model/ObjectArray.h"

namespace kov::edit {

// The snapshot's copy of the live object at `index` with identifier `id`: the object at the same
// position when it carries that identifier, else the first with the identifier; null when none has it.
template <class T, int T::*Id>
const T* SnapshotCopy(const ObjectArray<T, Id>& snapshot, int index, int id)
{
    if (index >= 0 && index < snapshot.GetSize()) {
        const T* same = snapshot[index];
        if (same->*Id == id)
            return same;
    }
    return snapshot.Find(id);
}

} // namespace kov::edit
