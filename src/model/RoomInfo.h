#pragma once

// Fill, hatch, name and name font of new rooms; part of the plot settings.

#include "model/DefFile.h"
#include "model/FontMenu.h"

#include <cstdint>
#include <string>

namespace kov::platform {
class Profile;
class Surface;
struct DevicePoint;
}
struct SwatchEnvironment; // render/Swatches.h

class CRoomInfo : public CDefFile {
public:
    // Hatch kinds besides the Windows hatch styles 0-5.
    enum { HACH_BOARD1 = 100, HACH_BOARD2 = 101, HACH_TATAMI = 300 };

    int Room_bRoomColor = 0;                 // filled
    std::uint32_t Room_RoomColor = 0xFFFFFF;
    int Room_bHachColor = 0;                 // hatched
    std::uint32_t Room_HachColor = 0;
    int Room_HachType = 3;
    double Room_HachKankaku = 4.55;          // hatch spacing
    // A room drawn before any room was chosen gets a name, so that it has its floor and a label
    // (with no name a room is only its walls: nothing tells it is a room, nothing at its middle
    // picks it).
    std::string Room_Name = "洋室";
    CFontMenu m_Font;                        // label font, from KOV_T_FontMenuRoom

    // Without a profile the label font takes the values an empty room-font section gives.
    CRoomInfo();
    explicit CRoomInfo(kov::platform::Profile& profile);
    CRoomInfo(const CRoomInfo&) = default;
    CRoomInfo& operator=(const CRoomInfo&) = default;
    ~CRoomInfo() override = default;

    bool operator==(const CRoomInfo& o) const;
    bool operator!=(const CRoomInfo& o) const { return !(*this == o); }

    // -- drawing: style swatches (begin)
    // A sample of the room's fill, hatch, tatami or flooring in the quadrilateral of the corners
    // top-left, bottom-left, bottom-right, top-right (inset by the pick tolerance); mode 1 is the
    // tool panel's, which also shows tatami for a room named as a Japanese room.
    void DrawRoomSwatch(kov::platform::Surface& dc, const kov::platform::DevicePoint corners[4], int mode,
                        const SwatchEnvironment& env) const;
    // -- drawing: style swatches (end)
};
