#pragma once

// The application settings that shape new rooms (section KOV_T_UTILITY). The "app_" values are read
// once at start-up by the application, the others at every creation; tests set them directly.

namespace kov::platform {
class Profile;
}

struct RoomSettings {
    int app_tatamiheri = 1;         // 0: no tatami treatment at all
    int app_roomtextsiro = 1;       // the label gets a white background
    int room_grad_mild = 1;         // second gradient colour: the mild colour of the fill
    int room_heyack = 1;            // a label is made
    int room_heyack_jyou = 0;       // the label shows the area on a second line
    int room_heibei = 0;            // 1 square metres, 0 mats
    int room_heyack_jyou_name = 0;  // mat unit "畳" instead of "帖"
    int room_wasitu45_nakarect = 0; // 4.5-mat layout with the half mat in the middle

    static RoomSettings FromProfile(const kov::platform::Profile& profile);
};
