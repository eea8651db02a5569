#pragma once

// The boxes of groups kept around their members after the members moved.

#include <span>

class CKovUnit;

namespace kov::building {

// Widens the box of each group that holds one of the figures, walls or texts over its points (a
// circle over its square); a box never shrinks here. A dimension leaves its group's box alone.
void WidenGroupBoxes(CKovUnit& unit, std::span<const int> figures, std::span<const int> walls,
                     std::span<const int> texts);

} // namespace kov::building
