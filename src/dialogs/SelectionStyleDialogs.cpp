#include "dialogs/SelectionStyleDialogs.h"

#include "platform/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(u("キャンセル"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

// ---------------------------------------------------------------- opacity

std::string CAlphaChangeForm::EditText() const { return kov::platform::formatInt(m_nAlpha); }

int CAlphaChangeForm::SliderPosition() const { return m_nAlpha >= 0 && m_nAlpha <= 99 ? m_nAlpha : 100; }

std::string CAlphaChangeForm::OnSlider(int position)
{
    m_nAlpha = position;
    return EditText();
}

std::string CAlphaChangeForm::Accept(const std::string& editText)
{
    const int value = kov::platform::parseInt(editText);
    if (value < 0 || value > 100)
        return kRangeMessage;
    m_nAlpha = value;
    return {};
}

CAlphaChangeDg::CAlphaChangeDg(int opacity, QWidget* parent) : QDialog(parent), m_form(opacity)
{
    setWindowTitle(u(CAlphaChangeForm::kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(u("塗りつぶしの不透明度")));
    m_edit = new QLineEdit(QString::fromStdString(m_form.EditText()));
    m_edit->setObjectName(QStringLiteral("opacity"));
    row->addWidget(m_edit);
    row->addWidget(new QLabel(QStringLiteral("%")));
    layout->addLayout(row);
    m_slider = new QSlider(Qt::Horizontal);
    m_slider->setRange(0, 100);
    m_slider->setValue(m_form.SliderPosition());
    layout->addWidget(m_slider);
    connect(m_slider, &QSlider::valueChanged, this,
            [this](int position) { m_edit->setText(QString::fromStdString(m_form.OnSlider(position))); });
    layout->addWidget(okCancel(this));
}

void CAlphaChangeDg::accept()
{
    const std::string refusal = m_form.Accept(m_edit->text().toStdString());
    if (!refusal.empty()) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(refusal));
        return;
    }
    QDialog::accept();
}

// ---------------------------------------------------------------- gradation

void CGradHenkouForm::Accept(int position, bool groupSizeChecked)
{
    if (m_nAllowed)
        m_nGroupSize = groupSizeChecked ? 1 : 0;
    m_nChoice = position < 0 ? 0 : position;
}

CGradHenkouDg::CGradHenkouDg(bool allowed, QWidget* parent) : QDialog(parent)
{
    m_form.m_nAllowed = allowed ? 1 : 0;
    setWindowTitle(u(CGradHenkouForm::kTitle));
    auto* layout = new QVBoxLayout(this);
    m_list = new QComboBox;
    for (const char* choice : CGradHenkouForm::kChoices)
        m_list->addItem(u(choice));
    m_list->setCurrentIndex(0);
    layout->addWidget(m_list);
    m_groupSize = new QCheckBox(u(CGradHenkouForm::kGroupSizeLabel));
    m_groupSize->setEnabled(allowed);
    layout->addWidget(m_groupSize);
    layout->addWidget(okCancel(this));
}

void CGradHenkouDg::accept()
{
    m_form.Accept(m_list->currentIndex(), m_groupSize->isChecked());
    QDialog::accept();
}

} // namespace kov::dialogs
