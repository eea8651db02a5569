#include "dialogs/StringEntryDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kov::dialogs {

CStringSetDlg::CStringSetDlg(const std::string& caption, const std::string& text, const std::string& label,
                             QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QString::fromStdString(caption));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    m_edit = new QLineEdit(QString::fromStdString(text));
    m_edit->setObjectName(QStringLiteral("stringEdit"));
    m_edit->setMinimumWidth(160);
    m_label = new QLabel(QString::fromStdString(label));
    row->addWidget(m_edit);
    row->addWidget(m_label);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_edit->selectAll();
}

std::string CStringSetDlg::text() const { return m_edit->text().toStdString(); }

} // namespace kov::dialogs
