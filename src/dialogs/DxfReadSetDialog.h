#pragma once

// The DXF import options dialog ("DXF読み取り設定"): it shows kov::io::DxfReadSetForm, which keeps
// the values and rules.

#include "io/DxfReader.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace kov::dialogs {

class DxfReadSetDialog : public QDialog {
public:
    explicit DxfReadSetDialog(QWidget* parent = nullptr);

    const kov::io::DxfReadSetForm& form() const { return m_form; }
    QCheckBox* keepPaperBox() const { return m_keepPaper; }
    QCheckBox* keepScaleBox() const { return m_keepScale; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

    // Shows the dialog modally: true with the options after OK, false when cancelled.
    static bool Ask(QWidget* parent, kov::io::DxfReadOptions& options);

private:
    kov::io::DxfReadSetForm m_form;
    QCheckBox* m_keepPaper = nullptr;
    QCheckBox* m_keepScale = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace kov::dialogs
