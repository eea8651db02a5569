#include "building/RoomSettings.h"

#include "model/SettingsValues.h"
#include "platform/Profile.h"

RoomSettings RoomSettings::FromProfile(const kov::platform::Profile& profile)
{
    using kov::model::kSectionUtility;
    RoomSettings s;
    s.app_tatamiheri = profile.GetProfileInt(kSectionUtility, "app_tatamiheri", 1);
    s.app_roomtextsiro = profile.GetProfileInt(kSectionUtility, "app_roomtextsiro", 1);
    s.room_grad_mild = profile.GetProfileInt(kSectionUtility, "room_grad_mild", 1);
    s.room_heyack = profile.GetProfileInt(kSectionUtility, "room_heyack", 1);
    // Until a user says otherwise a room's label tells its size too, as the rooms of the sample
    // drawings do: nothing else in the program can switch it on.
    s.room_heyack_jyou = profile.GetProfileInt(kSectionUtility, "room_heyack_jyou", 1);
    s.room_heibei = profile.GetProfileInt(kSectionUtility, "room_heibei", 0);
    s.room_heyack_jyou_name = profile.GetProfileInt(kSectionUtility, "room_heyack_jyou_name", 0);
    s.room_wasitu45_nakarect = profile.GetProfileInt(kSectionUtility, "room_wasitu45_nakarect", 0);
    return s;
}
