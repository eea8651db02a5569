#pragma once

// "寸法詳細設定": the dimension style the general settings page keeps for the plot settings it
// edits (how the value is got and written, end marks, where the extension lines start), and the
// work-screen colour dialog "作業画面の色設定". Forms hold the values; the dialogs show them.

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class CPlotInfo;

namespace kov::platform {
class Questions;
}

namespace kov::dialogs {

// The dimension settings as the general page holds them while the sheet is open.
struct DimensionStyle {
    int textHeight = 3;   // sunpotextheight, paper mm
    int decimals = 0;     // sunpokurai 0-3
    int mark = 0;         // sunpotanten 0, 3, 6, 9, 12
    int markSize = 2;     // sunpoyawide 0-4
    int unit = 0;         // sunpotani 0 mm, 1 cm, 2 m
    int grouping = 0;     // sunpokugiri 0-3
    int shown = 1;        // sunpotextview
    std::string font = "ＭＳ ゴシック";
    int offset = 0;       // sunpoOffset, paper mm
    int valueMode = 1;    // config_sunpo_bunkai: 0 measured, 1 typed

    static DimensionStyle From(const CPlotInfo& plot, int valueMode);
    // Every value but the value mode (an application setting) into the plot settings.
    void To(CPlotInfo& plot) const;
    bool operator==(const DimensionStyle&) const = default;
};

// The font names the dimension dialog offers: the faces drawings name, then the installed families.
std::vector<std::string> DimensionFontNames();

class DimensionStyleForm {
public:
    DimensionStyle style;
    std::vector<std::string> fonts; // adjacent duplicates removed
    std::string heightText, offsetText;
    int decimalsChoice = -1, markChoice = -1, markSizeChoice = -1, unitChoice = -1, groupingChoice = -1;
    int fontChoice = 0;
    int shown = 1;
    int valueMode = 1;

    void Load(const DimensionStyle& values, std::vector<std::string> fontNames);
    // OK: no value is tested against a range; a list without a choice gives its fallback.
    void Accept();
};

class CSunpoSetDlg : public QDialog {
public:
    CSunpoSetDlg(const DimensionStyle& values, std::vector<std::string> fontNames, QWidget* parent = nullptr);
    const DimensionStyle& style() const { return m_form.style; }
    DimensionStyleForm& form() { return m_form; }
    void accept() override;

private:
    DimensionStyleForm m_form;
};

// "作業画面の色設定": the default background or a colour of the user's.
class WorkScreenColourForm {
public:
    int own = 0;                  // app_haikei
    std::uint32_t colour = 0;     // app_haikei_color
    // "▼": the colour chooser on the colour; true when one was chosen.
    bool ChooseColour(kov::platform::Questions& questions);
};

class CHaikeiColorSetDg : public QDialog {
public:
    CHaikeiColorSetDg(int own, std::uint32_t colour, kov::platform::Questions& questions, QWidget* parent = nullptr);
    const WorkScreenColourForm& form() const { return m_form; }
    void accept() override;

private:
    void sync();
    WorkScreenColourForm m_form;
    kov::platform::Questions& m_questions;
};

} // namespace kov::dialogs
