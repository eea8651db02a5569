#pragma once

// The line-style tables of the plot settings, each with its dialog: the pen widths of the ten width
// types on the screen and in print ("線幅タイプのピッチ設定"), the dash and gap lengths of the broken
// line types ("線種のピッチ変更") and the printed sizes of the five line-end classes ("端点の印刷時の
// 大きさ"). The forms hold the values and rules; the dialogs only show them.

#include "model/PlotInfo.h"

#include <QDialog>

#include <array>
#include <string>

namespace kov::platform {
class Profile;
}

namespace kov::dialogs {

class LineWidthForm {
public:
    static constexpr int kTypes = CPlotInfo::kWidthCodes;
    static constexpr int kScreenItems = 10;  // "1" to "10"
    static constexpr int kPrinterItems = 20; // "1" to "20"

    std::array<int, kTypes> screen{};
    std::array<int, kTypes> printer{};
    // The chosen item of each list, -1 when the stored width has none.
    std::array<int, kTypes> screenChoice{};
    std::array<int, kTypes> printerChoice{};

    void Load(const std::array<int, kTypes>& screenWidths, const std::array<int, kTypes>& printerWidths);
    // OK: a list with a choice gives its width, one without keeps the stored width.
    void Accept();
};

class CLineWideSetDg : public QDialog {
public:
    CLineWideSetDg(const CPlotInfo& plot, QWidget* parent = nullptr);
    const LineWidthForm& form() const { return m_form; }
    // The two tables back into the plot settings.
    void CopyTo(CPlotInfo& plot) const;
    void accept() override;

private:
    LineWidthForm m_form;
};

class DashPitchForm {
public:
    static constexpr int kUnboxed = 7; // the gap after the dash-dot's dot has no box and passes through
    LinePichTable table;
    std::array<std::string, LinePichTable::kCount> boxes; // what the edits show

    void Load(const LinePichTable& source);
    // "初期化リセット": the default texts in the boxes; nothing is stored until OK.
    void Reset();
    // OK: every box read as a number (no number reads 0).
    void Accept();
};

class CLinePichDlg : public QDialog {
public:
    CLinePichDlg(const LinePichTable& table, QWidget* parent = nullptr);
    const DashPitchForm& form() const { return m_form; }
    void accept() override;

private:
    void sync();
    DashPitchForm m_form;
};

class LineEndSizeForm {
public:
    static constexpr int kClasses = CPlotInfo::kMarkSizes;
    std::array<double, kClasses> sizes{};
    std::array<std::string, kClasses> boxes;

    // The five keys keij_pich_1 .. keij_pich_5 (text; "0.6", "1.0", "1.66", "2.5", "4.0").
    static std::array<double, kClasses> FromProfile(const kov::platform::Profile& profile);
    // Each written with two decimals.
    static void SaveProfile(kov::platform::Profile& profile, const std::array<double, kClasses>& sizes);

    void Load(const std::array<double, kClasses>& source);
    void Reset();
    // OK: a box holding a number above 0 and below 1000 replaces its class's size.
    void Accept();
};

class CKeijyouPichDg : public QDialog {
public:
    CKeijyouPichDg(const std::array<double, LineEndSizeForm::kClasses>& sizes, QWidget* parent = nullptr);
    const LineEndSizeForm& form() const { return m_form; }
    void accept() override;

private:
    void sync();
    LineEndSizeForm m_form;
};

} // namespace kov::dialogs
