#pragma once

// The plot, print and drawing settings of one document: paper, walls and columns, the default style
// of each figure kind (five style slots), pen widths, dash table, end marks, dimensions, snap
// switches, move steps, picture size, data folder, the room settings and the layer table.

#include "model/DefFile.h"
#include "model/Layer.h"
#include "model/RoomInfo.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kov::platform {
class Profile;
class Surface;
struct DevicePoint;
}
struct SwatchEnvironment; // render/Swatches.h

// Dash and gap lengths in paper millimetres of the broken line types: entries 0-1 dashed,
// 2-3 dotted, 4-7 dash-dot, 8-13 dash-dot-dot; each group starts with a dash.
struct LinePichTable {
    static constexpr int kCount = 14;
    std::array<float, kCount> pich{3.75f, 1.25f, 0.75f, 0.75f, 6.25f, 1.25f, 1.25f,
                                   1.25f, 3.25f, 1.25f, 1.25f, 1.25f, 1.25f, 1.25f};

    float& operator[](int i) { return pich[static_cast<std::size_t>(i)]; }
    float operator[](int i) const { return pich[static_cast<std::size_t>(i)]; }
    bool operator==(const LinePichTable&) const = default;

    void LoadProfile(kov::platform::Profile& profile);       // KOV_T_PlotMenu
    void SaveProfile(kov::platform::Profile& profile) const;
};

class CPlotInfo : public CDefFile {
public:
    static constexpr int kSlots = 5;         // style slots: 0 other kinds, 1-4 figure kinds 1-4
    static constexpr int kWidthCodes = 10;   // pen width codes 1-10
    static constexpr int kMarkSizes = 5;     // end-mark size indices 0-4
    static constexpr int kVersion = 50000;

    LinePichTable m_LinePichTable;
    CRoomInfo m_RoomInfo;
    CLayer m_Layer;
    int laygray = 0;                 // grey the objects off the current layer
    int PlotPaperSize = 0;
    int PlotPaperSizeUserX = 297;
    int PlotPaperSizeUserY = 210;
    int PlotWallBlack = 1;           // 1 black, 2 white, 3 wall colour, 4 wall colour with black edges
    std::uint32_t PlotWallColor = 0;
    int PlotHasiraColor = 0;         // 1 black, 2 white with diagonals, other white
    double PlotWallWide = 50.0;      // half thickness of new walls
    int walltype = 0;
    double PlotHasiraWide = 50.0;
    int hasiratype = 0;
    int PlotLinePita = 1;            // line-end snap
    int PlotWallPita = 0;            // wall-core snap
    int PlotMoveX = 100;
    int PlotMoveY = 100;
    int PlotSirokuro = 0;
    int PlotGradation = 0;
    int PlotImageWidth = 60;
    int PlotImageHeight = 60;
    std::string m_strDataPath;       // parts library folder
    std::array<int, kWidthCodes> linehutosag{1, 2, 2, 2, 2, 3, 3, 3, 3, 3};      // screen pixels
    std::array<int, kWidthCodes> linehutosap{3, 6, 9, 10, 12, 14, 16, 18, 19, 20}; // printer pixels

    // The five style slots.
    std::array<std::uint32_t, kSlots> PlotColor{0, 0, 0, 0, 0};
    std::array<std::uint32_t, kSlots> PlotNakaColor{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    std::array<int, kSlots> PlotNakaNuri{0, 0, 0, 0, 0};
    std::array<std::uint32_t, kSlots> PlotNakaColor2{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    std::array<int, kSlots> PlotGradiation{1, 1, 1, 1, 1};   // angle × 100 + kind
    std::array<int, kSlots> PlotbHach{0, 0, 0, 0, 0};
    std::array<int, kSlots> PlotPattern{0, 0, 0, 0, 0};      // 0 none, 1-8 pattern bitmaps
    std::array<int, kSlots> PlotAlpha{100, 100, 100, 100, 100};
    std::array<int, kSlots> PlotHachT{0, 0, 0, 0, 0};
    std::array<int, kSlots> PlotLineType{0, 0, 0, 0, 0};
    std::array<int, kSlots> PlotLineWide{1, 1, 1, 1, 1};     // width code 1-10
    std::array<int, kSlots> PlotLineTanten{0, 0, 0, 0, 0};

    int PlotLineYaWide = 1;          // end-mark size index 0-4
    std::array<double, kMarkSizes> keij_pich{0.6, 1.0, 1.66, 2.5, 4.0};
    int PlotSunpoTextHeight = 3;
    int PlotSunpokurai = 0;          // decimals 0-3
    int PlotSunpoTanten = 0;
    int PlotSunpoYawide = 2;         // end-mark size index 0-4
    int PlotSunpoTani = 0;           // 0 mm, 1 cm, 2 m
    int PlotSunpoKugiri = 0;
    int PlotSunpoTextView = 1;
    std::string PlotSunpoFont = "ＭＳ ゴシック";
    int PlotSunpoOffset = 0;

    // Without a profile the object holds the built-in defaults (the first-run settings).
    CPlotInfo();
    explicit CPlotInfo(kov::platform::Profile& profile, std::string_view programFolder = {});
    CPlotInfo(const CPlotInfo&) = default;
    // Takes everything but laygray, which stays as it was.
    CPlotInfo& operator=(const CPlotInfo& o);
    ~CPlotInfo() override = default;

    bool operator==(const CPlotInfo& o) const;
    bool operator!=(const CPlotInfo& o) const { return !(*this == o); }

    // Pen width in device pixels of a width code (1-10); an invalid code gives width code 1.
    int PenWidth(int widthCode, bool printer) const;
    // End-mark length in paper millimetres of a size index (0-4); an invalid index gives index 0.
    double MarkSize(int index) const;

    // Saved settings, or the built-in defaults while `registset` is 0; data folder; layer reset and
    // scales; style slots back to their defaults. programFolder is the program's folder.
    void InitFromProfile(kov::platform::Profile& profile, std::string_view programFolder = {});
    void LoadProfile(kov::platform::Profile& profile, std::string_view programFolder = {});
    void SaveProfile(kov::platform::Profile& profile) const;
    void SetBuiltInDefaults();
    void ResetStyleSlots();
    static std::string DataFolder(kov::platform::Profile& profile, std::string_view programFolder);

    int WriteBlock(CArchive& ar, std::string_view block) const;

    // -- drawing: style swatches (begin)
    // Samples of the wall, column and style-slot settings in the rectangle x, y, width, height of a
    // device, at fixed pixel sizes (the drawing scale plays no part).
    void DrawWallSwatch(kov::platform::Surface& dc, int x, int y, int width, int height,
                        const SwatchEnvironment& env) const;
    void DrawColumnSwatch(kov::platform::Surface& dc, int x, int y, int width, int height,
                          const SwatchEnvironment& env) const;
    void DrawLineSwatch(kov::platform::Surface& dc, int x, int y, int width, int height,
                        const SwatchEnvironment& env) const;
    void DrawRectangleSwatch(kov::platform::Surface& dc, int x, int y, int width, int height,
                             const SwatchEnvironment& env) const;
    void DrawPolygonSwatch(kov::platform::Surface& dc, int x, int y, int width, int height,
                           const SwatchEnvironment& env) const;
    void DrawCircleSwatch(kov::platform::Surface& dc, int x, int y, int width, int height,
                          const SwatchEnvironment& env) const;
    void DrawArcSwatch(kov::platform::Surface& dc, int x, int y, int width, int height,
                       const SwatchEnvironment& env) const;
    // Gradient or translucent fill of a swatch: shapes 1 and 2 the polygon of the points, 3 the
    // ellipse of the box points[0]..points[1], 4 its sector from the radial through points[2] to
    // the one through points[3]; other shapes paint nothing. Opacity in per cent.
    void PaintGradientFill(kov::platform::Surface& dc, const kov::platform::DevicePoint* points, int count,
                           int shape, int angle, std::uint32_t colour1, std::uint32_t colour2, int opacity) const;
    // -- drawing: style swatches (end)

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;

private:
    struct BuiltInTag {};
    // The member defaults alone, without a filling from the settings.
    explicit CPlotInfo(BuiltInTag) {}
    static const CPlotInfo& builtIn();
};
