#include "dialogs/EditDialogs.h"

#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace kov::dialogs {

using kov::platform::formatFixed;
using kov::platform::parseDouble;

namespace {

constexpr const char* kUtility = "KOV_T_UTILITY";
constexpr double kPi = 3.1415926535;

QString qs(const std::string& s) { return QString::fromUtf8(s.c_str()); }

QDialogButtonBox* okCancel(QDialog* dialog, const QString& ok)
{
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

// -- group stretch -------------------------------------------------------------------------------------

void GroupStretchForm::Load(const kov::platform::Profile& profile)
{
    m_fx = m_fy = 1.0;
    m_factorX = m_factorY = "1.0";
    if (m_factorsOnly) {
        m_bySize = false;
        return;
    }
    m_sizeX = formatFixed(m_width, 2);
    m_sizeY = formatFixed(m_height, 2);
    m_bySize = profile.GetProfileInt(kUtility, "buhin_sinsyuku_mode", 0) == 1;
}

void GroupStretchForm::OnOK(kov::platform::Profile& profile)
{
    if (m_bySize && !m_factorsOnly) {
        profile.WriteProfileInt(kUtility, "buhin_sinsyuku_mode", 1);
        if (m_width != 0 && m_height != 0) {
            m_fx = parseDouble(m_sizeX) / m_width;
            m_fy = parseDouble(m_sizeY) / m_height;
        } else {
            m_fx = m_fy = 1.0;
        }
        return;
    }
    if (!m_factorsOnly)
        profile.WriteProfileInt(kUtility, "buhin_sinsyuku_mode", 0);
    // An entry that reads 0 (or is no number) leaves its factor as it was.
    if (const double fx = parseDouble(m_factorX); fx != 0)
        m_fx = fx;
    if (const double fy = parseDouble(m_factorY); fy != 0)
        m_fy = fy;
}

GroupStretchDialog::GroupStretchDialog(double width, double height, bool factorsOnly, kov::platform::Profile& profile,
                                       QWidget* parent)
    : QDialog(parent), m_form(width, height, factorsOnly), m_profile(profile)
{
    m_form.Load(profile);
    setWindowTitle(qs(m_form.Title()));
    auto* grid = new QGridLayout(this);
    m_byFactor = new QRadioButton(QStringLiteral("倍率指定"));
    m_bySize = new QRadioButton(QStringLiteral("数値指定"));
    auto* choice = new QButtonGroup(this);
    choice->addButton(m_byFactor);
    choice->addButton(m_bySize);
    const QString texts[4] = {qs(m_form.m_factorX), qs(m_form.m_factorY), qs(m_form.m_sizeX), qs(m_form.m_sizeY)};
    for (int k = 0; k < 4; ++k) {
        m_edits[k] = new QLineEdit(texts[k]);
        m_edits[k]->setObjectName(QStringLiteral("edit%1").arg(k));
    }
    grid->addWidget(m_byFactor, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("横")), 0, 1);
    grid->addWidget(m_edits[0], 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("倍")), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("縦")), 0, 4);
    grid->addWidget(m_edits[1], 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("倍")), 0, 6);
    grid->addWidget(m_bySize, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("横")), 1, 1);
    grid->addWidget(m_edits[2], 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("mm")), 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("縦")), 1, 4);
    grid->addWidget(m_edits[3], 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("mm")), 1, 6);
    grid->addWidget(okCancel(this, QStringLiteral("OK")), 2, 0, 1, 7);
    (m_form.m_bySize ? m_bySize : m_byFactor)->setChecked(true);
    connect(m_byFactor, &QRadioButton::toggled, this, [this] {
        m_form.m_bySize = m_bySize->isChecked();
        syncEnabled();
    });
    syncEnabled();
}

void GroupStretchDialog::syncEnabled()
{
    m_bySize->setEnabled(m_form.SizeChoiceEnabled());
    m_edits[0]->setEnabled(m_form.FactorEditsEnabled());
    m_edits[1]->setEnabled(m_form.FactorEditsEnabled());
    m_edits[2]->setEnabled(m_form.SizeEditsEnabled());
    m_edits[3]->setEnabled(m_form.SizeEditsEnabled());
}

void GroupStretchDialog::accept()
{
    m_form.m_factorX = m_edits[0]->text().toStdString();
    m_form.m_factorY = m_edits[1]->text().toStdString();
    m_form.m_sizeX = m_edits[2]->text().toStdString();
    m_form.m_sizeY = m_edits[3]->text().toStdString();
    m_form.OnOK(m_profile);
    QDialog::accept();
}

// -- move, numeric copy, stretch distances ---------------------------------------------------------

void ObjectMoveForm::Load(const kov::platform::Profile& profile)
{
    m_right = profile.GetProfileInt(kUtility, "move_yoko", 1) != 0;
    m_down = profile.GetProfileInt(kUtility, "move_tate", 0) != 0;
    m_x = m_y = m_angle = m_distance = "0";
    m_copies = "1";
    m_shiftChoice = 0;
    m_dx = m_dy = 0;
    m_nShift = 0;
    m_nCopies = 1;
}

std::string ObjectMoveForm::Title() const
{
    return m_mode == COPY ? kCopyTitle : m_mode == STRETCH ? kStretchTitle : kMoveTitle;
}

std::string ObjectMoveForm::OkText() const
{
    return m_mode == COPY ? "コピーする" : m_mode == STRETCH ? "伸縮する" : "移動する";
}

void ObjectMoveForm::OnOK(kov::platform::Profile& profile)
{
    const double x = parseDouble(m_x), y = parseDouble(m_y);
    m_dx = m_dy = 0;
    if (std::fabs(x) <= kLimit && std::fabs(y) <= kLimit) {
        m_dx = m_right ? x : -x;
        m_dy = m_down ? y : -y;
        profile.WriteProfileInt(kUtility, "move_yoko", m_right ? 1 : 0);
        profile.WriteProfileInt(kUtility, "move_tate", m_down ? 1 : 0);
    }
    // The distance along an angle; 0 degrees is the horizontal edit's.
    const double a = parseDouble(m_angle);
    if (-360 < a && a < 360 && a != 0) {
        const double d = parseDouble(m_distance);
        if (d > 0) {
            if (a == 90)
                m_dy -= d;
            else if (a == 270)
                m_dy += d;
            else if (a == 180)
                m_dx -= d;
            else {
                m_dx += std::cos(a * kPi / 180) * d;
                m_dy -= std::sin(a * kPi / 180) * d;
            }
        }
    }
    if (m_mode == COPY) {
        const int n = kov::platform::parseInt(m_copies);
        m_nCopies = n >= 1 && n <= 100 ? n : 1;
        m_nShift = m_shiftChoice == 1 || m_shiftChoice == 2 ? m_shiftChoice : 0;
    }
}

ObjectMoveDialog::ObjectMoveDialog(ObjectMoveForm::Mode mode, kov::platform::Profile& profile, QWidget* parent)
    : QDialog(parent), m_form(mode), m_profile(profile)
{
    m_form.Load(profile);
    setWindowTitle(qs(m_form.Title()));
    auto* grid = new QGridLayout(this);
    auto* left = new QRadioButton(QStringLiteral("←"));
    m_right = new QRadioButton(QStringLiteral("→"));
    auto* up = new QRadioButton(QStringLiteral("↑"));
    m_down = new QRadioButton(QStringLiteral("↓"));
    auto* horizontal = new QButtonGroup(this);
    horizontal->addButton(left);
    horizontal->addButton(m_right);
    auto* vertical = new QButtonGroup(this);
    vertical->addButton(up);
    vertical->addButton(m_down);
    (m_form.m_right ? m_right : left)->setChecked(true);
    (m_form.m_down ? m_down : up)->setChecked(true);
    m_x = new QLineEdit(qs(m_form.m_x));
    m_y = new QLineEdit(qs(m_form.m_y));
    m_x->setObjectName(QStringLiteral("x"));
    m_y->setObjectName(QStringLiteral("y"));
    grid->addWidget(left, 0, 0);
    grid->addWidget(m_right, 0, 1);
    grid->addWidget(m_x, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("の方向へ")), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("mm")), 0, 4);
    grid->addWidget(up, 1, 0);
    grid->addWidget(m_down, 1, 1);
    grid->addWidget(m_y, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("の方向へ")), 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("mm")), 1, 4);
    m_angle = new QComboBox;
    m_angle->setEditable(true);
    for (int a = 0; a < 180; a += 15)
        m_angle->addItem(QString::number(a));
    m_distance = new QLineEdit(QStringLiteral("0"));
    m_angle->setObjectName(QStringLiteral("angle"));
    m_distance->setObjectName(QStringLiteral("distance"));
    grid->addWidget(m_angle, 2, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("度")), 2, 2);
    grid->addWidget(m_distance, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("mm")), 2, 4);
    m_copies = new QComboBox;
    m_copies->setEditable(true);
    auto* copiesLabel = new QLabel(QStringLiteral("コピー数"));
    m_shift = new QComboBox;
    if (mode == ObjectMoveForm::COPY) {
        for (const char* n : {"1", "2", "3", "4", "5", "10"})
            m_copies->addItem(QString::fromLatin1(n));
        for (const char* s : {"選択物の幅高さは無視", "選択物の幅分シフトする", "選択物の高さ分シフトする"})
            m_shift->addItem(QString::fromUtf8(s));
    } else {
        m_copies->setEnabled(false);
        copiesLabel->setEnabled(false);
        m_shift->setEnabled(false);
    }
    grid->addWidget(copiesLabel, 3, 0);
    grid->addWidget(m_copies, 3, 1);
    grid->addWidget(m_shift, 3, 2, 1, 3);
    grid->addWidget(okCancel(this, qs(m_form.OkText())), 4, 0, 1, 5);
}

void ObjectMoveDialog::accept()
{
    m_form.m_right = m_right->isChecked();
    m_form.m_down = m_down->isChecked();
    m_form.m_x = m_x->text().toStdString();
    m_form.m_y = m_y->text().toStdString();
    m_form.m_angle = m_angle->currentText().toStdString();
    m_form.m_distance = m_distance->text().toStdString();
    m_form.m_copies = m_copies->currentText().toStdString();
    m_form.m_shiftChoice = m_shift->currentIndex();
    m_form.OnOK(m_profile);
    QDialog::accept();
}

// -- drawing centre ----------------------------------------------------------------------------------

OriginChangeDialog::OriginChangeDialog(const std::string& message, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("図面中心点変更"));
    auto* grid = new QGridLayout(this);
    auto* text = new QLabel(qs(message));
    text->setWordWrap(true);
    grid->addWidget(text, 0, 0);
    // Not remembered: every use starts with the editing layer group alone.
    m_all = new QCheckBox(QStringLiteral("全てのﾚｲﾔｰの中心点を変更する"));
    grid->addWidget(m_all, 1, 0);
    grid->addWidget(okCancel(this, QStringLiteral("OK")), 2, 0);
}

bool OriginChangeDialog::allGroups() const { return m_all->isChecked(); }

} // namespace kov::dialogs
