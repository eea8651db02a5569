#pragma once

// Copies of groups with their members and of figures, under new identifiers: shared by duplicating
// the selection and copying a range, which differ only in the offset and the layer of the copies.

#include "model/LayerAddress.h"

#include <optional>
#include <unordered_map>
#include <vector>

class CKovUnit;
class CKovGroup;

namespace kov::edit {

// The figures still to be copied (by drawing index) and the copy of each source group they join.
struct FigureCopies {
    explicit FigureCopies(const CKovUnit& unit);
    std::vector<char> marked;
    // Source group → its copy; the first pairing counts.
    std::unordered_map<int, int> groupCopyOf;
};

// Adds a copy of the group with copies of its walls and texts, all moved by (dx, dy) and put on
// `onto` when given; its figures are only marked, for CopyMarkedFigures. The copy's identifier,
// CKovUnit::kNoFreeId when no group identifier is free (nothing added).
int CopyGroupWithMembers(CKovUnit& unit, const CKovGroup& source, double dx, double dy,
                         const std::optional<LayerAddress>& onto, FigureCopies& figures);

// Marks the figure with the identifier for copying; an unknown one is passed over.
void MarkFigure(const CKovUnit& unit, int figureId, FigureCopies& figures);

// Adds copies of the marked figures in drawing order, above everything, moved by (dx, dy). A copy
// joins its source group's copy, else no group at all (a number naming none would be adopted by a
// later group). Stops at the first figure for which no identifier is free. The identifiers of the
// copies that joined no group.
std::vector<int> CopyMarkedFigures(CKovUnit& unit, const FigureCopies& figures, double dx, double dy);

} // namespace kov::edit
