#include "dialogs/ChamferDialogs.h"

#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace kov::dialogs {

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";
constexpr const char* kKeys[4] = {"mentori_kakuatai", "mentori_maruatai", "mentori_l1atai", "mentori_l2atai"};
enum Mode { FACE_LENGTH = 0, EDGE_LENGTH = 1, FILLET = 2, NOTCH_MODE = 3 };

QString qs(const std::string& s) { return QString::fromUtf8(s.c_str()); }
std::string fixed2(double v) { return kov::platform::formatFixed(v, 2); }

} // namespace

ChamferForm::Controls ChamferForm::Show() const
{
    Controls c;
    if (m_mode == FILLET) {
        c.kind = ROUND;
        c.firstCaption = "半径";
        c.firstText = fixed2(m_sizes[1]);
        c.measuresEnabled = false;
    } else if (m_mode == NOTCH_MODE) {
        c.kind = NOTCH;
        c.firstCaption = "1寸法";
        c.firstText = fixed2(m_sizes[2]);
        c.secondCaption = "2寸法";
        c.secondText = fixed2(m_sizes[3]);
        c.secondEnabled = true;
        c.measuresEnabled = false;
    } else {
        c.kind = STRAIGHT;
        c.firstCaption = "寸法";
        c.firstText = fixed2(m_sizes[0]);
        c.measure = m_mode == EDGE_LENGTH ? EDGE : FACE;
    }
    return c;
}

void ChamferForm::OnKind(int kind)
{
    m_mode = kind == ROUND ? FILLET : kind == NOTCH ? NOTCH_MODE : FACE_LENGTH;
}

void ChamferForm::OnMeasure(int measure)
{
    if (m_mode == FACE_LENGTH || m_mode == EDGE_LENGTH)
        m_mode = measure == EDGE ? EDGE_LENGTH : FACE_LENGTH;
}

void ChamferForm::OnFirstEdit(const std::string& text)
{
    const double value = kov::platform::parseDouble(text);
    if (value == 0)
        return;
    m_sizes[m_mode == FILLET ? 1 : m_mode == NOTCH_MODE ? 2 : 0] = value;
}

void ChamferForm::OnSecondEdit(const std::string& text)
{
    const double value = kov::platform::parseDouble(text);
    if (m_mode == NOTCH_MODE && value != 0)
        m_sizes[3] = value;
}

void ChamferForm::Save(kov::platform::Profile& profile) const
{
    for (std::size_t i = 0; i < 4; ++i)
        profile.WriteProfileString(kUtility, kKeys[i], fixed2(m_sizes[i]));
}

std::array<double, 4> ChamferForm::Load(const kov::platform::Profile& profile)
{
    std::array<double, 4> sizes{};
    for (std::size_t i = 0; i < 4; ++i)
        sizes[i] = kov::platform::parseDouble(profile.GetProfileString(kUtility, kKeys[i], "300"));
    return sizes;
}

ChamferControls::ChamferControls(ChamferForm& form, bool row, QWidget* parent) : QWidget(parent), m_form(form)
{
    QBoxLayout* layout = row ? static_cast<QBoxLayout*>(new QHBoxLayout(this)) : new QVBoxLayout(this);
    auto* kinds = new QButtonGroup(this);
    const char* kindTexts[3] = {"角面", "丸面", "Ｌ面"};
    for (int k = 0; k < 3; ++k) {
        m_kinds[k] = new QRadioButton(QString::fromUtf8(kindTexts[k]));
        kinds->addButton(m_kinds[k], k);
        layout->addWidget(m_kinds[k]);
    }
    auto edit = [&](QLabel*& caption, QLineEdit*& line) {
        caption = new QLabel;
        line = new QLineEdit;
        auto* box = new QHBoxLayout;
        box->addWidget(caption);
        box->addWidget(line);
        box->addWidget(new QLabel(QStringLiteral("mm")));
        layout->addLayout(box);
    };
    edit(m_firstCaption, m_first);
    edit(m_secondCaption, m_second);
    m_first->setObjectName(QStringLiteral("first"));
    m_second->setObjectName(QStringLiteral("second"));
    auto* measures = new QButtonGroup(this);
    const char* measureTexts[2] = {"面寸法", "辺寸法"};
    for (int k = 0; k < 2; ++k) {
        m_measures[k] = new QRadioButton(QString::fromUtf8(measureTexts[k]));
        measures->addButton(m_measures[k], k);
        layout->addWidget(m_measures[k]);
    }
    connect(kinds, &QButtonGroup::idClicked, this, [this](int id) {
        m_form.OnKind(id);
        Refresh();
        emit changed();
    });
    connect(measures, &QButtonGroup::idClicked, this, [this](int id) {
        m_form.OnMeasure(id);
        Refresh();
        emit changed();
    });
    // Typed text runs the rules; the fills of Refresh do not.
    connect(m_first, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_form.OnFirstEdit(text.toStdString());
        emit changed();
    });
    connect(m_second, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_form.OnSecondEdit(text.toStdString());
        emit changed();
    });
    Refresh();
}

void ChamferControls::Refresh()
{
    const ChamferForm::Controls c = m_form.Show();
    for (int k = 0; k < 3; ++k) {
        const QSignalBlocker block(m_kinds[k]);
        m_kinds[k]->setChecked(k == c.kind);
    }
    m_firstCaption->setText(qs(c.firstCaption));
    m_first->setText(qs(c.firstText));
    m_secondCaption->setText(qs(c.secondCaption));
    m_second->setText(qs(c.secondText));
    m_secondCaption->setEnabled(c.secondEnabled);
    m_second->setEnabled(c.secondEnabled);
    for (int k = 0; k < 2; ++k) {
        const QSignalBlocker block(m_measures[k]);
        m_measures[k]->setEnabled(c.measuresEnabled);
        m_measures[k]->setChecked(c.kind == ChamferForm::STRAIGHT && k == c.measure);
    }
}

ChamferPanel::ChamferPanel(std::array<double, 4>& sizes, int& mode, kov::platform::Profile& profile,
                           QWidget* parent)
    : QDialog(parent), m_form(sizes, mode)
{
    setWindowTitle(QString::fromUtf8(ChamferForm::kTitle));
    auto* layout = new QVBoxLayout(this);
    m_controls = new ChamferControls(m_form, false);
    layout->addWidget(m_controls);
    // Kept at once: the panel may go with the frame in any order.
    connect(m_controls, &ChamferControls::changed, this, [this, &profile] { m_form.Save(profile); });
}

void ChamferPanel::reject()
{
    QDialog::reject();
    // Last: ending the tool may close this panel for good.
    if (onEscape)
        onEscape();
}

void ChamferPanel::accept()
{
    // Enter closes the panel; the tool goes on.
    QDialog::accept();
}

ChamferDialog::ChamferDialog(const std::array<double, 4>& sizes, int mode, QWidget* parent)
    : QDialog(parent), m_sizes(sizes), m_mode(mode), m_form(m_sizes, m_mode)
{
    setWindowTitle(QString::fromUtf8(ChamferForm::kTitle));
    auto* layout = new QVBoxLayout(this);
    m_controls = new ChamferControls(m_form, true);
    layout->addWidget(m_controls);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace kov::dialogs
