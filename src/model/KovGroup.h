#pragma once

// A group of walls, figures and texts, listed by identifier. Groups hold no pictures and no groups.
// Fields carry the names of their stored keys; a point stored as NameX/NameY is a CDbPoint `Name`.

#include "model/DbPoint.h"
#include "model/DefFile.h"

#include <vector>

class CKovGroup : public CDefFile {
public:
    enum Kind { PLAIN = 0, ROOM = 1, FITTING = 2, ROOF_OUTLINE = 3, OUTER_WALL_LINE = 4, BALCONY = 5 };

    int MGrpID = 0;                   // group identifier
    std::vector<int> MGrpWallID;      // member walls
    std::vector<int> MGrpLineID;      // member figures
    std::vector<int> MGrpTextID;      // member texts
    CDbPoint MGrpmin;                 // "MGrpminX"/"MGrpminY": smallest corner of the members' box
    CDbPoint MGrpmax;                 // "MGrpmaxX"/"MGrpmaxY": largest corner
    double MGrpKakudo = 0.0;          // rotation in degrees, kept in [0, 360) by the rotation
    int MGrpLayer1 = 0;               // layer group
    int MGrpLayer2 = 0;               // layer
    int MGrpRoom = 0;                 // Kind

    CKovGroup() = default;
    CKovGroup(const CKovGroup&) = default;
    CKovGroup& operator=(const CKovGroup&) = default;
    ~CKovGroup() override = default;

    void CopyFrom(const CKovGroup& o) { *this = o; }

    // -- file blocks (begin)
    int WriteGroupBlock(CArchive& ar, std::string_view block) const;

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;

public:
    // -- file blocks (end)
};
