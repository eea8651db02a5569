#pragma once

// The grid spacing dialog: the five grids' spacings and starts, the active grid, the house module
// with the conversion of the spacings, and the user's own snap division. GridConfForm holds the
// values and rules; CGridConfDlg only shows them.

#include "model/Grid.h"

#include <QDialog>

#include <array>
#include <string>

class QButtonGroup;
class QLineEdit;
class QSpinBox;

namespace kov::platform {
class Profile;
}

namespace kov::dialogs {

inline constexpr const char* kGridConfTitle = "グリッド間隔の設定";

class GridConfForm {
public:
    enum Module { Shaku = 0, Metre = 1, Other = 2 };

    CGrid grid;                              // the copy being edited
    int pattern = 0;                         // the active grid, 0-4
    std::array<double, CGrid::kGrids> w{}, d{}, sx{}, sy{}; // what the edits show
    int division = 1;                        // app_grid_kankaku_A
    int otherModule = 900;                   // the module of "その他"
    int moduleRadio = Shaku;

    // The highest grid that is on (grid 5 first, down to 2), else grid 1.
    void Load(const CGrid& source, const kov::platform::Profile& profile);
    // "%d" for a whole number, else "%.1f".
    static std::string FormatNumber(double value);
    // "ALL 半間" and "ALL 1/2半間": the ten spacings become the module or half of it.
    void AllHalfKen();
    void AllQuarterKen();
    // A module radio: converts the spacings equal to the old module or its half.
    void ChooseModule(int radio);
    // OK: the message that keeps the dialog open, or empty when the values were taken (the grid, the
    // snap division and the other module written).
    std::string Accept(kov::platform::Profile& profile);
};

class CGridConfDlg : public QDialog {
public:
    CGridConfDlg(const CGrid& grid, kov::platform::Profile& profile, QWidget* parent = nullptr);
    const CGrid& grid() const { return m_form.grid; }
    GridConfForm& form() { return m_form; }
    void accept() override;

private:
    void show(const GridConfForm& f);
    void take();

    GridConfForm m_form;
    kov::platform::Profile& m_profile;
    std::array<std::array<QLineEdit*, 4>, CGrid::kGrids> m_edits{};
    QButtonGroup* m_patterns = nullptr;
    QButtonGroup* m_modules = nullptr;
    QLineEdit* m_division = nullptr;
    QLineEdit* m_other = nullptr;
};

} // namespace kov::dialogs
