#include "model/RoomInfo.h"

#include "platform/Profile.h"

CRoomInfo::CRoomInfo()
{
    kov::platform::MemoryProfile empty;
    m_Font.LoadRoomProfile(empty);
}

CRoomInfo::CRoomInfo(kov::platform::Profile& profile)
{
    m_Font.LoadRoomProfile(profile);
}

bool CRoomInfo::operator==(const CRoomInfo& o) const
{
    return Room_bRoomColor == o.Room_bRoomColor && Room_RoomColor == o.Room_RoomColor
        && Room_bHachColor == o.Room_bHachColor && Room_HachColor == o.Room_HachColor
        && Room_HachType == o.Room_HachType && Room_HachKankaku == o.Room_HachKankaku
        && Room_Name == o.Room_Name && m_Font == o.m_Font;
}
