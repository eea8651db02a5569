#pragma once

// A wall (core line with a half thickness on each side) or a column. Fields carry the names of
// their stored keys; a point stored as NameX/NameY is a CDbPoint `Name`.

#include "model/DbPoint.h"
#include "model/DefFile.h"

#include <array>

class CPlotInfo;

class CKovWall : public CDefFile {
public:
    enum ShapeKind { WALL = 0, COLUMN = 1 };
    enum ColumnType { STOREY_COLUMN = 0, STUD = 1, THROUGH_COLUMN = 2 };

    int MWallID = 0;                          // wall identifier
    CDbPoint MWallPntA;                       // "MWallPntAX"/"MWallPntAY": first end of the core
    CDbPoint MWallPntB;                       // "MWallPntBX"/"MWallPntBY": second end
    std::array<CDbPoint, 4> MWallPntKado{};   // the four outline corners c0..c3
    double MWallWide1 = 50.0;                 // core to one face, mm (the corner rule reads this one)
    double MWallWide2 = 50.0;                 // core to the other face
    int MWallType = 0;                        // 1: the core line is drawn over the wall
    int MWall_Type = 0;                       // ShapeKind
    int MHasiraType = 0;                      // ColumnType
    CDbPointArray MWallarPntA;                // "MWallarPntAX"/"AY": start of each outline edge
    CDbPointArray MWallarPntB;                // "MWallarPntBX"/"BY": end of each outline edge
    int MWallGrpID = 0;                       // owning group, 0 for none
    int MWallLayer1 = 0;                      // layer group
    int MWallLayer2 = 0;                      // layer

    CKovWall() = default;
    CKovWall(const CKovWall&) = default;
    CKovWall& operator=(const CKovWall&) = default;
    ~CKovWall() override = default;

    void CopyFrom(const CKovWall& o) { *this = o; }
    void MoveBy(double dx, double dy);

    bool IsColumn() const { return MWall_Type != WALL; }

    // Thickness 1, the core display and the column type become the defaults for new walls.
    void StoreDefaults(CPlotInfo& plot) const;

    // -- file blocks (begin)
    int WriteWallBlock(CArchive& ar, std::string_view block) const;
    // Y coordinates met before any X of their list while reading; the container reports them.
    int m_malformedKeys = 0;

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;

public:
    // -- file blocks (end)
};
