#pragma once

// The settings of the generated elevation views (kept in the settings store only). Lengths in mm.

#include "model/DefFile.h"

#include <array>

namespace kov::platform {
class Profile;
}

class CRituInfo : public CDefFile {
public:
    double baltakasa = 1100.0;       // balcony height
    double baltoritakasa = 0.0;      // balcony mounting height
    int kai = 2;                     // floors 1-3
    int bgaiheki1 = 1;               // outer-wall lines from the walls and rooms
    int bgaiheki2 = 1;               // outer-wall lines drawn with their tool
    int btateg = 1;                  // fittings shown
    int btext = 1;                   // view direction written as text
    int byane = 1;                   // roof drawn
    int yanetype = 0;                // roof shape
    double kisodaka = 400.0;         // foundation height
    double nokidaka1 = 3400.0;       // eaves heights of floors 1-3
    double nokidaka2 = 6200.0;
    double nokidaka3 = 9000.0;
    double yanekoubai_a = 10.0;      // roof pitch a / b
    double yanekoubai_b = 4.5;
    double nokide = 600.0;           // eaves overhang
    double keraba = 450.0;           // verge overhang
    int lay_1 = 0;                   // layers holding the plans of floors 1-3
    int lay_2 = 1;
    int lay_3 = 2;
    int houkou = 0;                  // direction to generate
    int ritugrp_lay = 2;             // output layer group
    int rituno_lay = 0;              // output layer

    CRituInfo() = default;
    CRituInfo(const CRituInfo&) = default;
    CRituInfo& operator=(const CRituInfo&) = default;
    ~CRituInfo() override = default;

    bool operator==(const CRituInfo& o) const;
    bool operator!=(const CRituInfo& o) const { return !(*this == o); }

    void SetDefaults() { *this = CRituInfo(); }
    void LoadProfile(kov::platform::Profile& profile);       // KOV_T_RituInfo
    void SaveProfile(kov::platform::Profile& profile) const;
};
