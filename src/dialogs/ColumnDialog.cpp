#include "dialogs/ColumnDialog.h"

#include "dialogs/PropertyTexts.h"
#include "platform/NumberText.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace pt = proptext;

std::string ColumnForm::widthText() const { return kov::platform::formatFixed(halfWidth, 1); }

void ColumnForm::OnWidthEdited(const std::string& text)
{
    const double value = kov::platform::parseDouble(text);
    if (value >= 0 && value < 100000) halfWidth = value;
}

void ColumnForm::OnTypeChosen(int chosen)
{
    if (!typeLocked && chosen >= 0 && chosen <= 2) type = chosen;
}

CHasiraDlg::CHasiraDlg(double halfWidth, int type, bool typeLocked, QWidget* parent)
    : QDialog(parent), m_form(halfWidth, type, typeLocked)
{
    setObjectName(QStringLiteral("column"));
    setWindowTitle(QString::fromUtf8(pt::kColumnTitle));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromUtf8(pt::kColumnWidth)));
    m_width = new QLineEdit(QString::fromStdString(m_form.widthText()));
    m_width->setObjectName(QStringLiteral("halfWidth"));
    m_width->setAlignment(Qt::AlignRight);
    m_width->setFixedWidth(80);
    row->addWidget(m_width);
    row->addWidget(new QLabel(QString::fromUtf8(pt::kMm)));
    layout->addLayout(row);
    auto* box = new QGroupBox(QString::fromUtf8(pt::kColumnTypeGroup));
    auto* bl = new QHBoxLayout(box);
    m_types = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* b = new QRadioButton(QString::fromUtf8(pt::kColumnTypes[static_cast<std::size_t>(i)]));
        b->setObjectName(QStringLiteral("type%1").arg(i));
        b->setEnabled(!typeLocked);
        b->setChecked(!typeLocked && i == type);
        m_types->addButton(b, i);
        bl->addWidget(b);
    }
    layout->addWidget(box);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QString::fromUtf8(pt::kOk), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(QString::fromUtf8(pt::kCancelNarrow), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_width, &QLineEdit::textEdited, this, [this](const QString& t) { m_form.OnWidthEdited(t.toStdString()); });
    connect(m_types, &QButtonGroup::idClicked, this, [this](int id) { m_form.OnTypeChosen(id); });
}

} // namespace kov::dialogs
