#include "dialogs/RelativeInputDialog.h"

#include "platform/NumberText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace kov::dialogs {

using kov::platform::formatFixed;
using kov::platform::parseDouble;

namespace {
constexpr double kPi = 3.1415926535;
QString qs(const std::string& s) { return QString::fromUtf8(s.c_str()); }
} // namespace

RelativeInputForm::RelativeInputForm(const CDbPoint& base) : m_Base(base) {}

std::vector<std::string> RelativeInputForm::AngleChoices()
{
    std::vector<std::string> list;
    for (int a = 0; a < 180; a += 15)
        list.push_back(std::to_string(a));
    return list;
}

std::string RelativeInputForm::BaseXText() const { return formatFixed(m_Base.x, 2); }
std::string RelativeInputForm::BaseYText() const { return formatFixed(-m_Base.y, 2); }

CDbPoint RelativeInputForm::angleMove() const
{
    const double a = parseDouble(m_strAngle);
    const double d = parseDouble(m_strDistance);
    if (!(a > -360 && a < 360) || a == 0 || !(d > 0))
        return {0, 0};
    if (a == 90)
        return {0, -d};
    if (a == 270)
        return {0, d};
    if (a == 180)
        return {-d, 0};
    const double r = a * kPi / 180;
    return {std::cos(r) * d, -std::sin(r) * d};
}

std::string RelativeInputForm::ResultXText() const
{
    return formatFixed(m_Base.x + parseDouble(m_strDx) + angleMove().x, 2);
}

std::string RelativeInputForm::ResultYText() const
{
    return formatFixed(-m_Base.y + parseDouble(m_strDy) - angleMove().y, 2);
}

CDbPoint RelativeInputForm::OnOK() const
{
    const CDbPoint move = angleMove();
    return {m_Base.x + parseDouble(m_strDx) + move.x, m_Base.y - parseDouble(m_strDy) + move.y};
}

RelativeInputDialog::RelativeInputDialog(const CDbPoint& base, QWidget* parent) : QDialog(parent), m_form(base)
{
    setWindowTitle(QString::fromUtf8(RelativeInputForm::kTitle));
    auto* grid = new QGridLayout(this);
    m_dx = new QLineEdit(qs(m_form.m_strDx));
    m_dy = new QLineEdit(qs(m_form.m_strDy));
    m_distance = new QLineEdit(qs(m_form.m_strDistance));
    m_angle = new QComboBox;
    m_angle->setEditable(true);
    for (const std::string& a : RelativeInputForm::AngleChoices())
        m_angle->addItem(qs(a));
    m_resultX = new QLabel(qs(m_form.BaseXText()));
    m_resultY = new QLabel(qs(m_form.BaseYText()));
    grid->addWidget(new QLabel(QStringLiteral("横方向座標→")), 0, 0);
    grid->addWidget(new QLabel(qs(m_form.BaseXText())), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("+")), 0, 2);
    grid->addWidget(m_dx, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("=")), 0, 4);
    grid->addWidget(m_resultX, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("縦方向座標↑")), 1, 0);
    grid->addWidget(new QLabel(qs(m_form.BaseYText())), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("+")), 1, 2);
    grid->addWidget(m_dy, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("=")), 1, 4);
    grid->addWidget(m_resultY, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("角度")), 2, 0);
    grid->addWidget(m_angle, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("度")), 2, 2);
    grid->addWidget(m_distance, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("mm")), 2, 4);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    grid->addWidget(buttons, 3, 0, 1, 6);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_dx, &QLineEdit::textChanged, this, [this] { refresh(); });
    connect(m_dy, &QLineEdit::textChanged, this, [this] { refresh(); });
    connect(m_distance, &QLineEdit::textChanged, this, [this] { refresh(); });
    connect(m_angle, &QComboBox::editTextChanged, this, [this] { refresh(); });
}

void RelativeInputDialog::refresh()
{
    m_form.m_strDx = m_dx->text().toStdString();
    m_form.m_strDy = m_dy->text().toStdString();
    m_form.m_strDistance = m_distance->text().toStdString();
    m_form.m_strAngle = m_angle->currentText().toStdString();
    m_resultX->setText(qs(m_form.ResultXText()));
    m_resultY->setText(qs(m_form.ResultYText()));
}

} // namespace kov::dialogs
