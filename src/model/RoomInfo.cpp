#include "model/RoomInfo.h"

#include "platform/Profile.h"

namespace {

// A room drawn before any room was chosen is the room list's 洋室, filled with its colour: with no
// fill a new room shows only its walls once it is no longer selected.
constexpr std::uint32_t kFirstRoomColour = 14873855;

void startAsFirstRoom(CRoomInfo& room)
{
    room.Room_bRoomColor = 1;
    room.Room_RoomColor = kFirstRoomColour;
}

} // namespace

CRoomInfo::CRoomInfo()
{
    startAsFirstRoom(*this);
    kov::platform::MemoryProfile empty;
    m_Font.LoadRoomProfile(empty);
}

CRoomInfo::CRoomInfo(kov::platform::Profile& profile)
{
    startAsFirstRoom(*this);
    m_Font.LoadRoomProfile(profile);
}

bool CRoomInfo::operator==(const CRoomInfo& o) const
{
    return Room_bRoomColor == o.Room_bRoomColor && Room_RoomColor == o.Room_RoomColor
        && Room_bHachColor == o.Room_bHachColor && Room_HachColor == o.Room_HachColor
        && Room_HachType == o.Room_HachType && Room_HachKankaku == o.Room_HachKankaku
        && Room_Name == o.Room_Name && m_Font == o.m_Font;
}
