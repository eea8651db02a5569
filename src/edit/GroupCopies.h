#pragma once

// Copies of groups with their members and of figures, under new identifiers: shared by duplicating
// the selection and copying a range, which differ only in the offset and the layer of the copies.

#include "model/LayerAddress.h"

#include <array>
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

// The container as it stood before a copy began. A copy only appends objects, so one that runs out of
// identifiers half-way is taken back to this mark: copies are made whole or not at all.
class CopyMark {
public:
    explicit CopyMark(const CKovUnit& unit);
    // Destroys every object appended since (with the files of appended pictures) and puts the
    // identifier counters back, so that the drawing is the very one it was.
    void RollBack(CKovUnit& unit) const;

private:
    std::array<int, 5> m_sizes{};
    std::array<int, 5> m_counters{};
};

// Adds a copy of the group with copies of its walls and texts, all moved by (dx, dy) and put on
// `onto` when given; its figures are only marked, for CopyMarkedFigures. The copy's identifier;
// CKovUnit::kNoFreeId when a group, wall or text identifier ran out (what was added stays for the
// caller's CopyMark to take back).
int CopyGroupWithMembers(CKovUnit& unit, const CKovGroup& source, double dx, double dy,
                         const std::optional<LayerAddress>& onto, FigureCopies& figures);

// Marks the figure with the identifier for copying; an unknown one is passed over.
void MarkFigure(const CKovUnit& unit, int figureId, FigureCopies& figures);

// Adds copies of the marked figures in drawing order, above everything, moved by (dx, dy). A copy
// joins its source group's copy, else no group at all (a number naming none would be adopted by a
// later group). The identifiers of the copies that joined no group; nothing when a figure
// identifier ran out (the copies made until then stay for the caller's CopyMark to take back).
std::optional<std::vector<int>> CopyMarkedFigures(CKovUnit& unit, const FigureCopies& figures, double dx, double dy);

} // namespace kov::edit
