#pragma once

// A text with its own font. Fields carry the names of their stored keys.

#include "model/DbPoint.h"
#include "model/DefFile.h"
#include "model/FontMenu.h"

#include <string>

class CKovText : public CDefFile {
public:
    int MTextID = 0;                  // text identifier
    std::string MTextstr;             // UTF-8; lines separated by CR LF
    CFontMenu MTextFontMenu;          // block "BLKMTextFontMenu": face, size, colour, angle, alignment
    CDbPoint MTextpnt;                // "MTextpntX"/"MTextpntY": anchor, drawing mm
    int MTextGrpID = 0;               // owning group, 0 for none
    int MTextLayer1 = 0;              // layer group
    int MTextLayer2 = 0;              // layer
    int MTextHuchiFlg = 0;            // 0 plain; 1 decorated, filled letters; 2 decorated, outlines only
    double MTextHuchiAtsumi = 2.0;    // outline width of a decorated text, paper mm
    int MTextHuchiType = 0;           // 0 straight; 1-6 warped shapes
    int MTextHuchiKeij = 5;           // strength of the shape, 1-9
    int MTextAlpha = 100;             // opacity of a decorated text, percent

    CKovText() = default;
    CKovText(const CKovText&) = default;
    CKovText& operator=(const CKovText&) = default;
    ~CKovText() override = default;

    void CopyFrom(const CKovText& o) { *this = o; }
    void MoveBy(double dx, double dy)
    {
        MTextpnt.x += dx;
        MTextpnt.y += dy;
    }

    // -- file blocks (begin)
    int WriteTextBlock(CArchive& ar, std::string_view block) const;

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;

public:
    // -- file blocks (end)
};
