#pragma once

// The page "グリッド" of the settings sheet: how the grid looks and prints, on the sheet's copy of
// the document's grid, and the two keys of grid printing and thick grid lines.

#include "model/Grid.h"

#include <QWidget>

#include <array>
#include <cstdint>

namespace kov::dialogs {

struct SettingsServices;

class GridPageForm {
public:
    static constexpr int kColours = CGrid::kGrids + 1; // the five grids, then the printing colour
    // "全て標準の色にする": the grid's built-in colours.
    static std::array<std::uint32_t, kColours> StandardColours();

    explicit GridPageForm(const SettingsServices& services) : m_services(services) {}

    CGrid grid;              // the sheet's copy
    int dots = 0;            // "グリッド吸着間隔をドット線で表示する"
    int marks = 0;           // "グリッドの目盛りの表示"
    int marksType = 0;       // 0 "実寸を目盛表示", 1 "目盛の数を表示", -1 neither
    int thick = 0;           // "グリッド線を太くする(本線のみ)"
    int printGrid = 0;       // "グリッドを印刷する（ドット）(off)"

    std::uint32_t colour(int index) const;
    void OnInitDialog();
    // A colour button: the chooser on that colour; true when one was chosen.
    bool ChooseColour(int index);
    void UseStandardColours();
    void OnOK();

private:
    std::uint32_t& colourRef(int index);
    const SettingsServices& m_services;
};

class GridSettingsPage : public QWidget {
public:
    GridSettingsPage(GridPageForm& form, QWidget* parent = nullptr);
    void sync();

private:
    GridPageForm& m_form;
};

} // namespace kov::dialogs
