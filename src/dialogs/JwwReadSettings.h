#pragma once

// The options of a JWW import: colours, widths, solids, arcs and the block size limit. The form
// holds the rules; CJWWReadSetDg only shows it. The dialog opens with the same defaults every time.

#include "jwcad/JwConversion.h"

#include <QDialog>

#include <array>
#include <string_view>

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace kov::dialogs {

class JwwReadSettingsForm {
public:
    // The entries of the block limit list, in order; the first means no limit.
    static constexpr std::array<std::string_view, 8> kLimitTexts{"制限なし", "10000", "8000", "5000",
                                                                   "4000",     "3000",  "1000", "500"};
    static constexpr std::array<int, 8> kLimits{0, 10000, 8000, 5000, 4000, 3000, 1000, 500};

    bool whiteToBlack = true;      // "線、文字の色が白の時は黒にする"
    bool arcsToPolylines = false;  // "円、円弧は多角形、連続線にする"
    bool colourByPen = true;       // "線種番号に従いプリンタ出力色で出力" (else "全て黒色で出力")
    bool widthByPen = true;        // "線種番号を線幅タイプの番号にして出力" (else "全て線幅タイプ1にする")
    bool solidsToLayerZero = true; // "0レイヤーに移行する" (else "ソリッドデータを無視する")
    int limitIndex = 0;

    JwwImportOptions Options() const;
};

class CJWWReadSetDg : public QDialog {
public:
    explicit CJWWReadSetDg(QWidget* parent = nullptr);

    const JwwReadSettingsForm& form() const { return m_form; }
    void accept() override;

    QCheckBox* m_white = nullptr;
    QCheckBox* m_arcs = nullptr;
    QRadioButton* m_byPen = nullptr;
    QRadioButton* m_allBlack = nullptr;
    QRadioButton* m_widthByPen = nullptr;
    QRadioButton* m_widthOne = nullptr;
    QRadioButton* m_solidsZero = nullptr;
    QRadioButton* m_solidsIgnore = nullptr;
    QComboBox* m_limit = nullptr;

private:
    JwwReadSettingsForm m_form;
};

} // namespace kov::dialogs
