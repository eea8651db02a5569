#pragma once

// The numbers of the two division tools: "分割" asks how to divide the picked line, circle or arc,
// into a count of equal parts or in steps of a length from the end clicked next; "分割数" asks into
// how many parts the distance between two points is divided.

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace kov::dialogs {

class DivideForm {
public:
    static constexpr const char* kTitle = "分割";
    static constexpr const char* kBadCount = "分割数は２以上で入力してください。";
    static constexpr const char* kBadLength = "数値が不正です。";
    enum { BY_COUNT = 0, BY_LENGTH = 1 };
    static constexpr int kMaxCount = 360;

    int m_nMode = BY_COUNT;   // the radio choice
    int m_nCount = 0;         // results, set by OK
    double m_dLength = 0;

    // The list's items "2" to "11".
    static const std::vector<std::string>& CountItems();
    // OK with the list's text and the edit's text: the message that keeps the dialog open, empty
    // to close with the results set.
    std::string OnOK(const std::string& countText, const std::string& lengthText);
};

class DivideDialog : public QDialog {
    Q_OBJECT
public:
    explicit DivideDialog(QWidget* parent = nullptr);
    const DivideForm& form() const { return m_form; }
    QComboBox* countList() const { return m_count; }
    QLineEdit* lengthEdit() const { return m_length; }
    QRadioButton* byLength() const { return m_byLength; }

    void accept() override;

private:
    void showMode();

    DivideForm m_form;
    QRadioButton* m_byCount;
    QRadioButton* m_byLength;
    QComboBox* m_count;
    QLineEdit* m_length;
};

class DivisionCountForm {
public:
    static constexpr const char* kTitle = "分割数";
    explicit DivisionCountForm(int count) : m_nCount(count) {}
    int m_nCount;
    std::string InitialText() const { return std::to_string(m_nCount); }
    // OK takes the whole number typed, unchecked: an empty edit gives 0.
    void OnOK(const std::string& text);
};

class DivisionCountDialog : public QDialog {
    Q_OBJECT
public:
    explicit DivisionCountDialog(int count, QWidget* parent = nullptr);
    const DivisionCountForm& form() const { return m_form; }
    QLineEdit* edit() const { return m_edit; }

    void accept() override;

private:
    DivisionCountForm m_form;
    QLineEdit* m_edit;
};

} // namespace kov::dialogs
