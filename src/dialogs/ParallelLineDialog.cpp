#include "dialogs/ParallelLineDialog.h"

#include "platform/NumberText.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kov::dialogs {

std::string ParallelDistanceForm::InitialText() const { return kov::platform::formatFixed(m_dDistance, 2); }

void ParallelDistanceForm::OnOK(const std::string& text) { m_dDistance = kov::platform::parseDouble(text); }

ParallelDistanceDialog::ParallelDistanceDialog(double distance, QWidget* parent) : QDialog(parent), m_form(distance)
{
    setWindowTitle(QString::fromUtf8(ParallelDistanceForm::kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    m_edit = new QLineEdit(QString::fromUtf8(m_form.InitialText().c_str()));
    row->addWidget(m_edit);
    row->addWidget(new QLabel(QStringLiteral("mm")));
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void ParallelDistanceDialog::accept()
{
    m_form.OnOK(m_edit->text().toStdString());
    QDialog::accept();
}

} // namespace kov::dialogs
