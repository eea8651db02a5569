#include "dialogs/DoubleLinePanel.h"

#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"
#include "tools/ToolMachine.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kov::dialogs {

using kov::model::kSectionUtility;

DoubleLineForm::DoubleLineForm(kov::tools::ToolMachine& machine, kov::platform::Profile& profile, int mode)
    : m_machine(machine), m_profile(profile), m_mode(mode)
{
}

DoubleLineForm::Controls DoubleLineForm::controls() const
{
    Controls c;
    switch (m_mode) {
    case 0:
        c.arcEnabled = false;
        c.finish = false;
        c.endTreatment = false;
        break;
    case 3:
        c.distances = false;
        c.finish = false;
        c.endTreatment = false;
        break;
    case 4:
        c.distances = false;
        c.endTreatment = false;
        break;
    case 5:
        c.distances = false;
        c.arc = c.arcEnabled = c.divisions = false;
        c.endTreatment = false;
        break;
    default: break;
    }
    return c;
}

std::string DoubleLineForm::LeftText() const { return kov::platform::formatFixed(m_machine.m_dOffsetLeft, 2); }
std::string DoubleLineForm::RightText() const { return kov::platform::formatFixed(m_machine.m_dOffsetRight, 2); }

int DoubleLineForm::DivisionIndex() const { return std::clamp(m_machine.m_nArcDivisions / 12 - 1, 0, 9); }

int DoubleLineForm::EndTreatmentIndex() const
{
    const int v = m_profile.GetProfileInt(kSectionUtility, "tool_nijyuusen_balmode", 0);
    return v == 1 || v == 2 ? v : 0;
}

bool DoubleLineForm::ArcOn() const { return m_machine.m_bArcInsert != 0; }

void DoubleLineForm::OnDistanceEdited(bool left, const std::string& leftText, const std::string& rightText)
{
    const double l = kov::platform::parseDouble(leftText);
    const double r = kov::platform::parseDouble(rightText);
    if (l == 0 && r == 0) return;
    if (left)
        m_machine.m_dOffsetLeft = l;
    else
        m_machine.m_dOffsetRight = r;
}

std::string_view DoubleLineForm::OnArcButton()
{
    return kov::tools::ToggleArcSegment(m_machine.m_bArcInsert, static_cast<int>(m_machine.m_ToolPoints.size()));
}

void DoubleLineForm::OnDivisionChosen(int index) { m_machine.m_nArcDivisions = (std::clamp(index, 0, 9) + 1) * 12; }

void DoubleLineForm::OnEndTreatmentChosen(int index)
{
    m_profile.WriteProfileInt(kSectionUtility, "tool_nijyuusen_balmode", index == 1 || index == 2 ? index : 0);
}

void DoubleLineForm::OnFinish()
{
    if (!m_machine.m_bArcInsert) m_machine.ApplyDoubleLineDialog();
}

void DoubleLineForm::Save()
{
    m_profile.WriteProfileString(kSectionUtility, "tool_nisen_l", kov::platform::formatFixed(m_machine.m_dOffsetLeft, 2));
    m_profile.WriteProfileString(kSectionUtility, "tool_nisen_r", kov::platform::formatFixed(m_machine.m_dOffsetRight, 2));
    m_machine.m_bArcInsert = 0;
    m_profile.WriteProfileInt(kSectionUtility, "tool_nijyuusen_rbunkatu", m_machine.m_nArcDivisions);
}

CNisenDlg::CNisenDlg(kov::tools::ToolMachine& machine, kov::platform::Profile& profile, int mode,
                     std::function<void(std::string_view)> showMessage, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), m_form(machine, profile, mode), m_showMessage(std::move(showMessage)), m_redraw(std::move(redraw))
{
    setObjectName(QStringLiteral("doubleLinePanel"));
    const DoubleLineForm::Controls c = m_form.controls();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    if (c.distances) {
        auto* grid = new QGridLayout;
        grid->addWidget(new QLabel(QStringLiteral("進行左側距離")), 0, 0, 1, 2);
        m_left = new QLineEdit(QString::fromStdString(m_form.LeftText()));
        grid->addWidget(m_left, 1, 0);
        grid->addWidget(new QLabel(QStringLiteral("mm")), 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("進行右側距離")), 2, 0, 1, 2);
        m_right = new QLineEdit(QString::fromStdString(m_form.RightText()));
        grid->addWidget(m_right, 3, 0);
        grid->addWidget(new QLabel(QStringLiteral("mm")), 3, 1);
        layout->addLayout(grid);
        auto edited = [this](bool left) {
            m_form.OnDistanceEdited(left, m_left->text().toStdString(), m_right->text().toStdString());
        };
        connect(m_left, &QLineEdit::textEdited, this, [edited] { edited(true); });
        connect(m_right, &QLineEdit::textEdited, this, [edited] { edited(false); });
    }
    if (c.arc) {
        auto* arcBox = new QGroupBox(QStringLiteral("アール"));
        auto* arcLayout = new QGridLayout(arcBox);
        m_arc = new QPushButton(QStringLiteral("アール作成"));
        m_arc->setCheckable(true);
        m_divisions = new QComboBox;
        for (int i = 1; i <= 10; ++i) m_divisions->addItem(QString::number(12 * i));
        m_divisions->setCurrentIndex(m_form.DivisionIndex());
        arcLayout->addWidget(m_arc, 0, 0, 1, 2);
        arcLayout->addWidget(m_divisions, 1, 0);
        arcLayout->addWidget(new QLabel(QStringLiteral("分割")), 1, 1);
        m_arc->setEnabled(c.arcEnabled);
        m_divisions->setEnabled(c.arcEnabled);
        layout->addWidget(arcBox);
        connect(m_arc, &QPushButton::clicked, this, [this] {
            const std::string_view message = m_form.OnArcButton();
            m_arc->setChecked(m_form.ArcOn());
            if (!message.empty()) {
                if (m_showMessage) m_showMessage(message);
                return;
            }
            if (m_redraw) m_redraw();
        });
        connect(m_divisions, &QComboBox::activated, this, [this](int index) {
            m_form.OnDivisionChosen(index);
            if (m_redraw) m_redraw();
        });
    }
    if (c.endTreatment) {
        m_endTreatment = new QComboBox;
        for (const char* t : {"ノーマル", "バルコニー", "壁"}) m_endTreatment->addItem(QString::fromUtf8(t));
        m_endTreatment->setCurrentIndex(m_form.EndTreatmentIndex());
        layout->addWidget(m_endTreatment);
        connect(m_endTreatment, &QComboBox::activated, this, [this](int index) { m_form.OnEndTreatmentChosen(index); });
    }
    if (c.finish) {
        m_finish = new QPushButton(QStringLiteral("作図終了"));
        layout->addWidget(m_finish);
        connect(m_finish, &QPushButton::clicked, this, [this] { m_form.OnFinish(); });
    }
}

void CNisenDlg::SaveOnClose() { m_form.Save(); }

void CNisenDlg::UncheckArcButton()
{
    if (m_arc) m_arc->setChecked(false);
}

void CNisenDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter does nothing; Esc hides the panel and the tool stays.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kov::dialogs
