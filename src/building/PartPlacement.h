#pragma once

// The placement options of the parts palette (section KOV_T_UTILITY): a part just inserted is
// turned black and white, scaled and turned or flipped (CKovUnit::PlacePart), then follows the
// pointer held at one of nine points of its box.

#include "model/DbPoint.h"

#include <string>

namespace kov::platform {
class Profile;
}

namespace kov::building {

struct PartPlacement {
    int buhin_haiti_muki = 1;                 // 1 as drawn, 2 left 90, 3 right 90, 4 180, 5 upside down, 6 mirrored, 7 by angle
    std::string buhin_haiti_mukikakudo = "0"; // the angle of direction 7, degrees
    int buhin_haiti_ookisa = 1;               // 1 by factors, other values by sizes
    std::string buhin_haiti_ookisa_bai_y = "1";
    std::string buhin_haiti_ookisa_bai_t = "1";
    std::string buhin_haiti_ookisa_kazu_y = "1000";
    std::string buhin_haiti_ookisa_kazu_t = "1000";
    int haiti_mauseiti = 1;                   // 1-9, top left to bottom right
    int buhin_color_sirokuro = 0;

    static PartPlacement FromProfile(const kov::platform::Profile& profile);
    // The palette's "ﾘｾｯﾄ": direction, angle, factors and pointer position back to their defaults
    // (the size mode and sizes stay).
    static void ResetInProfile(kov::platform::Profile& profile);

    // Where the pointer holds a part of that box while it is placed, measured from the part's origin.
    CDbPoint Anchor(double width, double height) const;
    // The palette's summary: the direction line, then the two size lines.
    std::string Summary() const;
};

} // namespace kov::building
