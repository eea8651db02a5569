#pragma once

// The document's five grids, the house module, the ruler and the grid snap.

#include "model/DefFile.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kov::platform {
class Profile;
}

class CGrid : public CDefFile {
public:
    static constexpr int kGrids = 5;

    int visible = 1;
    std::array<double, kGrids> GridW{910.0, 910.0, 910.0, 910.0, 910.0};   // x spacings, mm
    std::array<double, kGrids> GridD{910.0, 910.0, 910.0, 910.0, 910.0};   // y spacings
    std::array<double, kGrids> StGridW{0.0, 0.0, 0.0, 0.0, 0.0};           // x starts
    std::array<double, kGrids> StGridD{0.0, 0.0, 0.0, 0.0, 0.0};           // y starts
    std::array<int, kGrids> BGrid{1, 0, 0, 0, 0};                          // grids on
    int GridModule = 910;
    int kyutyaku = 1;            // grid snap
    int kyutyakukankaku = 1;     // snap points per grid spacing
    int app_griddot = 1;         // dotted lines at the snap points
    int GridMemori = 1;          // ruler marks
    int GridMemoriType = 0;      // 0 positions, 1 counts
    std::array<std::uint32_t, kGrids> color{0xFFFF80, 0xC080FF, 0x40FF40, 0xACACFF, 0xFFAC80};
    std::uint32_t colorp = 0;    // printing colour

    CGrid() = default;
    CGrid(const CGrid&) = default;
    CGrid& operator=(const CGrid&) = default;
    ~CGrid() override = default;

    bool operator==(const CGrid& o) const;
    bool operator!=(const CGrid& o) const { return !(*this == o); }

    void SetBuiltInDefaults() { *this = CGrid(); }
    void InitFromProfile(kov::platform::Profile& profile);
    void LoadProfile(kov::platform::Profile& profile);       // KOV_T_GridMenu
    void SaveProfile(kov::platform::Profile& profile) const;

    int WriteBlock(CArchive& ar, std::string_view block) const;

    // Older files and settings store the module as a code: 0 the shaku module, 1 the metre module.
    static int ModuleFromCode(int value);

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;
};
