#pragma once

// A one-line text entry whose caption, starting text and unit label the caller sets: the dimension
// tool's typed value ("寸法値"), the range rotation's angle.

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;

namespace kov::dialogs {

class CStringSetDlg : public QDialog {
public:
    CStringSetDlg(const std::string& caption, const std::string& text, const std::string& label,
                  QWidget* parent = nullptr);
    // The text as typed, an empty one included.
    std::string text() const;

    QLineEdit* m_edit = nullptr;
    QLabel* m_label = nullptr;
};

} // namespace kov::dialogs
