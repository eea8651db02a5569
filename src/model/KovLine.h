#pragma once

// Every drawn figure: line, rectangle, polygon, circle or ellipse, arc, dimension line, continuous
// line (curves are stored as continuous lines). Fields carry the names of their stored keys.

#include "model/DbPoint.h"
#include "model/DefFile.h"

#include <cstdint>
#include <memory>
#include <vector>

class CPlotInfo;

class CKovLine : public CDefFile {
public:
    enum Kind { LINE = 0, RECTANGLE = 1, POLYGON = 2, CIRCLE = 3, ARC = 4, DIMENSION = 5, CONTINUOUS = 6 };
    enum { AUXILIARY_LINE_TYPE = 5 };
    // An arc (kind 4) keeps its arc type in the end-mark field.
    enum { SECTOR_ARC = 0, CHORD_ARC = 1, THICK_ARC = 2 };

    int MLineID = 0;                          // figure identifier
    CDbPointArray MLinePnt;                   // "MLinePntX"/"MLinePntY": points, drawing mm
    std::vector<double> MLineParam;           // meaning depends on the kind
    int MLinebNakanuri = 0;                   // 1: a closed figure is filled
    std::uint32_t MLineColor = 0;             // line colour (0x00BBGGRR)
    std::uint32_t MLineNakaColor = 0xFFFFFF;  // fill colour, first gradient colour
    int MLineGradiation = 1;                  // angle × 100 + mode
    std::uint32_t MLineNakaColor2 = 0xFFFFFF; // second gradient colour
    int MLinebHach = 0;                       // 1: hatched
    int MLineHachT = 0;                       // hatch pattern
    int MLineLineT = 0;                       // dash style 0-5; 5 the auxiliary line
    int MLinePattern = 0;                     // 0 none, 1-8 fill-pattern bitmaps
    int MLineAlpha = 100;                     // fill opacity, percent
    int MLineWide = 1;                        // pen width code 1-10
    int MLineTanten = 0;                      // end marks 0-12; for an arc its arc type (0 sector, 1 chord, 2 thick)
    int MLineYaWide = 1;                      // end-mark size
    int MLineType = 0;                        // Kind
    int MLineGrpID = 0;                       // owning group, 0 for none
    int MLineLayer1 = 0;                      // layer group
    int MLineLayer2 = 0;                      // layer
    int MLineNoOutline = 0;                   // "MLineNoOutline": 1 a fill drawn without its outline (Jw_cad solids)

    CKovLine() = default;
    CKovLine(const CKovLine&) = default;
    CKovLine& operator=(const CKovLine&) = default;
    ~CKovLine() override = default;

    void CopyFrom(const CKovLine& o) { *this = o; }
    void MoveBy(double dx, double dy);

    // The plot settings' style slot of this figure's kind: the kind for 1-4, slot 0 for the rest.
    int StyleSlot() const;
    static int StyleSlotOfKind(int kind);
    // Takes (or stores) the twelve style values of the slot; the pattern is left alone.
    void ApplyDefaultStyle(const CPlotInfo& plot);
    void StoreDefaultStyle(CPlotInfo& plot) const;
    // A new figure of the kind in the default style of its slot (no identifier, points or layer yet).
    static std::unique_ptr<CKovLine> MakeStyled(int kind, const CPlotInfo& plot);
    int ArcType() const { return MLineTanten; }
    // An arc's start and end angles in whole degrees (the degree whose tangent matches best).
    void ArcEndAngles(int& outStart, int& outEnd) const;

    // -- file blocks (begin)
    int WriteLineBlock(CArchive& ar, std::string_view block) const;
    // Y coordinates met before any X of their list while reading; the container reports them.
    int m_malformedKeys = 0;

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;

public:
    // -- file blocks (end)
};
