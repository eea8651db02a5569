#pragma once

// "選択柱の厚さ（片側）": the half width of columns (core to each face) and, where allowed, their
// type. ColumnForm holds the values and rules; CHasiraDlg only shows them.

#include <QDialog>

#include <string>

class QButtonGroup;
class QLineEdit;

namespace kov::dialogs {

class ColumnForm {
public:
    ColumnForm(double halfWidth, int type, bool typeLocked) : halfWidth(halfWidth), type(type), typeLocked(typeLocked) {}
    double halfWidth;
    int type;          // 0 "管柱", 1 "間柱", 2 "通し柱"
    bool typeLocked;   // several columns: the type is neither shown nor changed

    std::string widthText() const;
    // Every change: a half width from 0 up to, not including, 100000 mm is taken; the rest ignored.
    void OnWidthEdited(const std::string& text);
    void OnTypeChosen(int chosen);
};

class CHasiraDlg : public QDialog {
    Q_OBJECT
public:
    CHasiraDlg(double halfWidth, int type, bool typeLocked, QWidget* parent = nullptr);
    ColumnForm& form() { return m_form; }

private:
    ColumnForm m_form;
    QLineEdit* m_width = nullptr;
    QButtonGroup* m_types = nullptr;
};

} // namespace kov::dialogs
