#include "dialogs/DivideDialogs.h"

#include "platform/NumberText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {

QString qs(const std::string& s) { return QString::fromUtf8(s.c_str()); }

QDialogButtonBox* buttons(QDialog* dialog, const char* cancel)
{
    auto* box = new QDialogButtonBox;
    box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    if (cancel)
        box->addButton(QString::fromUtf8(cancel), QDialogButtonBox::RejectRole);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

} // namespace

const std::vector<std::string>& DivideForm::CountItems()
{
    static const std::vector<std::string> items = [] {
        std::vector<std::string> v;
        for (int n = 2; n <= 11; ++n) v.push_back(std::to_string(n));
        return v;
    }();
    return items;
}

std::string DivideForm::OnOK(const std::string& countText, const std::string& lengthText)
{
    if (m_nMode == BY_COUNT) {
        const int count = kov::platform::parseInt(countText);
        if (count < 2 || count > kMaxCount)
            return kBadCount;
        m_nCount = count;
        return {};
    }
    const double length = kov::platform::parseDouble(lengthText);
    if (!(length > 0))
        return kBadLength;
    m_dLength = length;
    return {};
}

DivideDialog::DivideDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(DivideForm::kTitle));
    auto* grid = new QGridLayout(this);
    m_byCount = new QRadioButton(QStringLiteral("分割数で等分割"));
    m_byLength = new QRadioButton(QStringLiteral("指定点より数値単位で分割"));
    m_count = new QComboBox;
    m_count->setEditable(true);
    for (const std::string& item : DivideForm::CountItems()) m_count->addItem(qs(item));
    m_count->setCurrentIndex(0);
    m_length = new QLineEdit(QStringLiteral("0"));
    grid->addWidget(m_byCount, 0, 0, 1, 2);
    grid->addWidget(m_count, 1, 0);
    grid->addWidget(m_byLength, 2, 0, 1, 2);
    grid->addWidget(m_length, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("mm")), 3, 1);
    grid->addWidget(buttons(this, "キャンセル"), 4, 0, 1, 2);
    m_byCount->setChecked(true);
    connect(m_byCount, &QRadioButton::toggled, this, [this] { showMode(); });
    showMode();
}

void DivideDialog::showMode()
{
    m_form.m_nMode = m_byLength->isChecked() ? DivideForm::BY_LENGTH : DivideForm::BY_COUNT;
    m_count->setEnabled(m_form.m_nMode == DivideForm::BY_COUNT);
    m_length->setEnabled(m_form.m_nMode == DivideForm::BY_LENGTH);
}

void DivideDialog::accept()
{
    const std::string refusal = m_form.OnOK(m_count->currentText().toStdString(), m_length->text().toStdString());
    if (!refusal.empty()) {
        QMessageBox::information(this, windowTitle(), qs(refusal));
        return;
    }
    QDialog::accept();
}

void DivisionCountForm::OnOK(const std::string& text) { m_nCount = kov::platform::parseInt(text); }

DivisionCountDialog::DivisionCountDialog(int count, QWidget* parent) : QDialog(parent), m_form(count)
{
    setWindowTitle(QString::fromUtf8(DivisionCountForm::kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("線分の分割数")));
    m_edit = new QLineEdit(qs(m_form.InitialText()));
    layout->addWidget(m_edit);
    // OK only; Esc cancels.
    layout->addWidget(buttons(this, nullptr));
}

void DivisionCountDialog::accept()
{
    m_form.OnOK(m_edit->text().toStdString());
    QDialog::accept();
}

} // namespace kov::dialogs
