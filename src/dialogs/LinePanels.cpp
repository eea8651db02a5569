#include "dialogs/LinePanels.h"

#include "dialogs/SettingsWidgets.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace kov::dialogs {

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";

using kov::platform::formatFixed;
using kov::platform::parseDouble;
using ui::named;
using ui::qs;

// An edit box with its caption before and its unit after, in one row.
QLineEdit* editRow(QBoxLayout* layout, const char* name, const QString& caption, const QString& unit)
{
    auto* row = new QHBoxLayout;
    if (!caption.isEmpty())
        row->addWidget(new QLabel(caption));
    auto* edit = named(new QLineEdit, name);
    row->addWidget(edit);
    row->addWidget(new QLabel(unit));
    layout->addLayout(row);
    return edit;
}

} // namespace

// -- forms -------------------------------------------------------------------------------------

void AnglePanelForm::Load(const kov::platform::Profile& profile)
{
    m_angle = parseDouble(profile.GetProfileString(kUtility, "tool_kakudo_kakudo", "0"));
    m_loaded = m_angle;
    m_lengthGiven = profile.GetProfileInt(kUtility, "tool_kakudo_nagasack", 0) != 0 ? 1 : 0;
}

std::vector<std::string> AnglePanelForm::Choices() const
{
    std::vector<std::string> choices{formatFixed(m_loaded, 2)};
    for (int a = 0; a < 180; a += 15)
        choices.push_back(kov::platform::formatInt(a));
    return choices;
}

std::string AnglePanelForm::LengthText() const { return formatFixed(m_length, 2); }

void AnglePanelForm::OnChoice(int index)
{
    if (index >= 1 && index <= 12)
        m_angle = 15.0 * index - 15.0;
}

bool AnglePanelForm::OnAngleTyped(const std::string& text)
{
    const double a = parseDouble(text);
    if (a > -360 && a < 360) {
        m_angle = a;
        return true;
    }
    m_angle = 0;
    return false;
}

void AnglePanelForm::OnLengthGiven(bool on, const std::string& lengthText)
{
    m_lengthGiven = on ? 1 : 0;
    if (on)
        OnLengthTyped(lengthText);
}

void AnglePanelForm::OnLengthTyped(const std::string& text)
{
    const double v = parseDouble(text);
    if (v > 0)
        m_length = v;
}

void AnglePanelForm::Save(kov::platform::Profile& profile) const
{
    if (m_angle > -360 && m_angle < 360)
        profile.WriteProfileString(kUtility, "tool_kakudo_kakudo", formatFixed(m_angle, 2));
    profile.WriteProfileInt(kUtility, "tool_kakudo_nagasack", m_lengthGiven);
    if (m_lengthGiven)
        profile.WriteProfileString(kUtility, "tool_nagasa", formatFixed(m_length, 2));
}

std::string LengthPanelForm::Text() const { return formatFixed(m_length, 2); }

void LengthPanelForm::OnTyped(const std::string& text)
{
    const double v = parseDouble(text);
    if (v > 0)
        m_length = v;
}

void LengthPanelForm::Save(kov::platform::Profile& profile) const
{
    profile.WriteProfileString(kUtility, "tool_nagasa", formatFixed(m_length, 2));
}

std::string FixedRadiusForm::Text() const { return formatFixed(m_radius, 2); }

void FixedRadiusForm::OnTyped(const std::string& text)
{
    const double v = parseDouble(text);
    if (v > 0)
        m_radius = v;
}

void FixedRadiusForm::Save(kov::platform::Profile& profile) const
{
    profile.WriteProfileString(kUtility, "tool_hankeikotei_atai", formatFixed(m_radius, 2));
    profile.WriteProfileInt(kUtility, "tool_hankeikotei_check", m_fixed);
}

std::string LengthDialogForm::Text() const { return formatFixed(m_distance, 2); }

void LengthDialogForm::OnOK(const std::string& text) { m_distance = parseDouble(text); }

// -- windows -----------------------------------------------------------------------------------

AnglePanel::AnglePanel(double& angle, int& lengthGiven, double& length, kov::platform::Profile& profile,
                       QWidget* parent)
    : QDialog(parent), m_form(angle, lengthGiven, length), m_profile(profile)
{
    m_form.Load(profile);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    m_angle = named(new QComboBox, "angle");
    m_angle->setEditable(true);
    m_angle->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& c : m_form.Choices())
        m_angle->addItem(qs(c));
    m_angle->setCurrentIndex(0);
    row->addWidget(m_angle);
    row->addWidget(new QLabel(QStringLiteral("度")));
    layout->addLayout(row);
    m_lengthGiven = named(new QCheckBox(QStringLiteral("線の長さ指定")), "lengthGiven");
    m_lengthGiven->setChecked(m_form.LengthEnabled());
    layout->addWidget(m_lengthGiven);
    m_length = editRow(layout, "length", {}, QStringLiteral("mm"));
    m_length->setText(qs(m_form.LengthText()));
    m_length->setEnabled(m_form.LengthEnabled());

    connect(m_angle, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        m_form.OnChoice(index);
        changed();
    });
    connect(m_angle->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!m_form.OnAngleTyped(text.toStdString()))
            m_angle->lineEdit()->setText(QStringLiteral("0"));
        changed();
    });
    connect(m_lengthGiven, &QCheckBox::clicked, this, [this](bool on) {
        m_form.OnLengthGiven(on, m_length->text().toStdString());
        m_length->setEnabled(on);
        changed();
    });
    connect(m_length, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_form.OnLengthTyped(text.toStdString());
        changed();
    });
}

AnglePanel::~AnglePanel()
{
    // The editable list answers the focus leaving it while the window goes: not to this panel.
    disconnect(m_angle, nullptr, this, nullptr);
    disconnect(m_angle->lineEdit(), nullptr, this, nullptr);
}

void AnglePanel::changed()
{
    if (onChanged)
        onChanged();
}

void AnglePanel::SaveOnClose() { m_form.Save(m_profile); }

LengthPanel::LengthPanel(double& length, kov::platform::Profile& profile, QWidget* parent)
    : QDialog(parent), m_form(length), m_profile(profile)
{
    setWindowTitle(QString::fromUtf8(LengthPanelForm::kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(QStringLiteral("距離"));
    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(new QLabel(QString::fromUtf8(LengthPanelForm::kLabel)));
    QLineEdit* edit = editRow(inner, "length", {}, QStringLiteral("mm"));
    edit->setText(qs(m_form.Text()));
    layout->addWidget(frame);
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_form.OnTyped(text.toStdString());
        if (onChanged)
            onChanged();
    });
}

void LengthPanel::SaveOnClose() { m_form.Save(m_profile); }

FixedRadiusPanel::FixedRadiusPanel(double& radius, int& fixed, kov::platform::Profile& profile, QWidget* parent)
    : QDialog(parent), m_form(radius, fixed), m_profile(profile)
{
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox;
    auto* inner = new QVBoxLayout(frame);
    auto* check = named(new QCheckBox(QString::fromUtf8(FixedRadiusForm::kCheck)), "fixed");
    check->setChecked(m_form.fixed() != 0);
    inner->addWidget(check);
    QLineEdit* edit = editRow(inner, "radius", {}, QStringLiteral("mm"));
    edit->setText(qs(m_form.Text()));
    layout->addWidget(frame);
    connect(check, &QCheckBox::clicked, this, [this](bool on) {
        m_form.OnCheck(on);
        if (onChanged)
            onChanged();
    });
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_form.OnTyped(text.toStdString());
        if (onChanged)
            onChanged();
    });
}

void FixedRadiusPanel::SaveOnClose() { m_form.Save(m_profile); }

LengthDialog::LengthDialog(const std::string& title, double distance, QWidget* parent)
    : QDialog(parent), m_form(title, distance)
{
    setWindowTitle(qs(m_form.title()));
    auto* layout = new QVBoxLayout(this);
    m_edit = editRow(layout, "distance", {}, QStringLiteral("mm"));
    m_edit->setText(qs(m_form.Text()));
    m_edit->selectAll();
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void LengthDialog::accept()
{
    m_form.OnOK(m_edit->text().toStdString());
    QDialog::accept();
}

} // namespace kov::dialogs
