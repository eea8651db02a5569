#pragma once

// "表示記号": which of the eleven notation symbols to lay over the marked range, and whether their
// height is fixed. Each choice shows a sample drawn from its symbol file.

#include <QDialog>

#include <filesystem>
#include <string>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace kov::dialogs {

class NotationSymbolForm {
public:
    // The kind always starts at "地盤".
    NotationSymbolForm(int heightFixed, double height);

    int m_nKind = 1;
    int m_bHeightFixed = 0;
    double m_dHeight = 100;
    std::string m_strHeight;   // "%.1f" of the height when opened

    bool HeightEnabled() const { return m_bHeightFixed != 0; }
    // OK: with the height fixed, a typed height above 0 replaces the preset one.
    void OnOK();
};

class CHyoukiKigouDg : public QDialog {
    Q_OBJECT
public:
    CHyoukiKigouDg(int heightFixed, double height, const std::filesystem::path& symbols, QWidget* parent = nullptr);
    NotationSymbolForm& form() { return m_form; }

private:
    NotationSymbolForm m_form;
    QButtonGroup* m_kinds = nullptr;
    QCheckBox* m_fixed = nullptr;
    QLineEdit* m_height = nullptr;
};

} // namespace kov::dialogs
