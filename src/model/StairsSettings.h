#pragma once

// The stairs panel's record: what the stairs tool hands whole to the stairs geometry and creation
// (section KOV_T_UTILITY of the settings store).

#include <cstdint>

namespace kov::platform {
class Profile;
}

struct StairsSettings {
    enum Mode { STRAIGHT = 1, TURNING = 2, END_OF_FLIGHT = 3, DIRECTION_ARROW = 4 };

    int kaidan_mode = STRAIGHT;      // "直進", "曲がり角", "終点", "進行方向"
    int kaidan_tyokumode = 1;        // straight flight: 1 by number of steps, 2 by tread depth
    int kaidan_dansuu = 5;           // steps of a straight flight
    double kaidan_dan1 = 150;        // tread depth, stored as text
    int kaidan_magarisuu = 2;        // winder treads of a turning section
    int kaidan_kabesin = 1;          // 1 the width clicks are wall cores, 2 finished faces
    int kaidan_nakanuri = 1;         // "階段に色をつける"
    int kaidan_magarisikaku = 0;     // the turning section as a plain rectangle
    std::uint32_t kaidan_nakacolor = 0xFFFFFF; // fill colour, stored as "%ld" text

    void Load(const kov::platform::Profile& profile);
    // "終点" is not kept from one start of the tool to the next: it is written as "直進".
    void Save(kov::platform::Profile& profile) const;
};
