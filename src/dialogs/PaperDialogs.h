#pragma once

// The paper dialog ("印刷用紙のサイズと向きの設定"), the user paper dialog ("用紙サイズのユーザー設定")
// and the print position dialog ("印刷位置調整"). Each shows its form of io/PaperForms.h, which
// keeps the values and rules.

#include "io/PaperForms.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kov::platform {
class Questions;
}

namespace kov::dialogs {

class PaperUserDialog : public QDialog {
public:
    PaperUserDialog(int width, int height, QWidget* parent = nullptr);

    const kov::io::PaperUserForm& form() const { return m_form; }
    QLineEdit* widthEdit() const { return m_width; }
    QLineEdit* heightEdit() const { return m_height; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

    // Modal; true with the size after OK.
    static bool Ask(QWidget* parent, int& width, int& height);

private:
    kov::io::PaperUserForm m_form;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QPushButton* m_ok = nullptr;
};

class PageSetDialog : public QDialog {
public:
    // `askUserSize` stands in for the user paper dialog (tests); empty opens it. A refused OK is
    // told through `questions`.
    PageSetDialog(const kov::io::PageSetForm& values, kov::platform::Questions& questions, QWidget* parent = nullptr,
                  kov::io::PageSetForm::UserSizeAsker askUserSize = {});

    const kov::io::PageSetForm& form() const { return m_form; }
    QComboBox* paperList() const { return m_list; }
    QRadioButton* portraitButton() const { return m_portrait; }
    QRadioButton* landscapeButton() const { return m_landscape; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

    // Modal on the paper code and user size; true with the new values after OK.
    static bool Ask(QWidget* parent, kov::platform::Questions& questions, int& paperCode, int& userWidth,
                    int& userHeight);

private:
    kov::io::PageSetForm m_form;
    kov::platform::Questions& m_questions;
    kov::io::PageSetForm::UserSizeAsker m_askUserSize;
    QComboBox* m_list = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QPushButton* m_ok = nullptr;
};

class PrintmoveDialog : public QDialog {
public:
    PrintmoveDialog(int moveX, int moveY, QWidget* parent = nullptr);

    const kov::io::PrintmoveForm& form() const { return m_form; }
    QLineEdit* xEdit() const { return m_x; }
    QLineEdit* yEdit() const { return m_y; }
    QRadioButton* leftButton() const { return m_left; }
    QRadioButton* rightButton() const { return m_right; }
    QRadioButton* upButton() const { return m_up; }
    QRadioButton* downButton() const { return m_down; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

    // Modal on the offsets; true with the new offsets after OK.
    static bool Ask(QWidget* parent, int& moveX, int& moveY);

private:
    kov::io::PrintmoveForm m_form;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
    QRadioButton* m_left = nullptr;
    QRadioButton* m_right = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace kov::dialogs
