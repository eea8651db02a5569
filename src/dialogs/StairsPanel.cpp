#include "dialogs/StairsPanel.h"

#include "platform/Color.h"
#include "platform/NumberText.h"
#include "platform/Questions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

StairsForm::Enabled StairsForm::enabled() const
{
    Enabled e;
    switch (m_record.kaidan_mode) {
    case StairsSettings::STRAIGHT:
        e.steps = m_record.kaidan_tyokumode != 2;
        e.treadCheck = true;
        e.treadWidth = m_record.kaidan_tyokumode != 1;
        e.straightLabels = true;
        break;
    case StairsSettings::TURNING:
        e.squareCorners = true;
        e.turns = true;
        break;
    default: break;
    }
    return e;
}

std::string StairsForm::TreadText() const { return kov::platform::formatFixed(m_record.kaidan_dan1, 1); }

void StairsForm::OnMode(int mode) { m_record.kaidan_mode = mode; }

void StairsForm::OnTreadCheck(bool on) { m_record.kaidan_tyokumode = on ? 2 : 1; }

void StairsForm::OnTreadText(const std::string& text)
{
    const double v = kov::platform::parseDouble(text);
    if (v > 10 && v <= 32000) m_record.kaidan_dan1 = v;
}

bool StairsForm::OnColourButton(kov::platform::Questions& questions)
{
    const std::optional<std::uint32_t> c = questions.chooseColor(m_record.kaidan_nakacolor);
    if (!c) return false;
    m_record.kaidan_nakacolor = *c;
    return true;
}

CKaidanDlg::CKaidanDlg(StairsSettings& record, kov::platform::Profile& profile, kov::platform::Questions& questions,
                       QWidget* parent)
    : QDialog(parent), m_form(record), m_profile(profile), m_questions(questions)
{
    setObjectName(QStringLiteral("stairsPanel"));
    setWindowTitle(QStringLiteral("階段作成"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* modes = new QGridLayout;
    auto* modeGroup = new QButtonGroup(this);
    const char* modeTexts[] = {"直進", "曲がり角", "終点", "進行方向"};
    for (int i = 0; i < 4; ++i) {
        m_modes[i] = new QRadioButton(QString::fromUtf8(modeTexts[i]));
        modeGroup->addButton(m_modes[i], i + 1);
        modes->addWidget(m_modes[i], i / 2, i % 2);
    }
    layout->addLayout(modes);
    auto* steps = new QHBoxLayout;
    m_stepsLabel = new QLabel(QStringLiteral("直進段数"));
    m_steps = new QComboBox;
    for (int i = 1; i <= 15; ++i) m_steps->addItem(QString::number(i));
    steps->addWidget(m_stepsLabel);
    steps->addWidget(m_steps);
    layout->addLayout(steps);
    auto* tread = new QHBoxLayout;
    m_treadCheck = new QCheckBox(QStringLiteral("段幅指定"));
    m_tread = new QLineEdit;
    m_tread->setMaximumWidth(70);
    m_mmLabel = new QLabel(QStringLiteral("mm"));
    tread->addWidget(m_treadCheck);
    tread->addWidget(m_tread);
    tread->addWidget(m_mmLabel);
    layout->addLayout(tread);
    auto* turns = new QHBoxLayout;
    m_turnsLabel = new QLabel(QStringLiteral("曲がり角数"));
    m_turns = new QComboBox;
    for (int i = 1; i <= 3; ++i) m_turns->addItem(QString::number(i));
    turns->addWidget(m_turnsLabel);
    turns->addWidget(m_turns);
    layout->addLayout(turns);
    m_square = new QCheckBox(QStringLiteral("曲がり角を四角形にする"));
    layout->addWidget(m_square);
    auto* fill = new QHBoxLayout;
    m_fill = new QCheckBox(QStringLiteral("階段に色をつける"));
    m_swatch = new QLabel;
    m_swatch->setFixedSize(24, 16);
    m_colour = new QPushButton(QStringLiteral("▼"));
    m_colour->setFixedWidth(24);
    fill->addWidget(m_fill);
    fill->addWidget(m_swatch);
    fill->addWidget(m_colour);
    layout->addLayout(fill);
    auto* placement = new QGroupBox(QStringLiteral("設置"));
    auto* pl = new QHBoxLayout(placement);
    m_wallCore = new QRadioButton(QStringLiteral("壁芯"));
    m_face = new QRadioButton(QStringLiteral("角"));
    pl->addWidget(m_wallCore);
    pl->addWidget(m_face);
    layout->addWidget(placement);

    // Loading: the record as the tool start read it.
    const StairsSettings& r = m_form.record();
    if (r.kaidan_mode >= 1 && r.kaidan_mode <= 4) m_modes[r.kaidan_mode - 1]->setChecked(true);
    m_steps->setCurrentIndex(m_form.StepIndex());
    m_tread->setText(QString::fromStdString(m_form.TreadText()));
    m_treadCheck->setChecked(r.kaidan_tyokumode == 2);
    m_turns->setCurrentIndex(m_form.TurnIndex());
    m_fill->setChecked(r.kaidan_nakanuri != 0);
    m_wallCore->setChecked(r.kaidan_kabesin == 1);
    m_face->setChecked(r.kaidan_kabesin == 2);
    m_square->setChecked(r.kaidan_magarisikaku == 1);
    paintSwatch();
    applyEnabled();

    connect(modeGroup, &QButtonGroup::idClicked, this, [this](int mode) {
        m_form.OnMode(mode);
        applyEnabled();
    });
    connect(m_treadCheck, &QCheckBox::clicked, this, [this](bool on) {
        m_form.OnTreadCheck(on);
        applyEnabled();
    });
    connect(m_tread, &QLineEdit::textEdited, this, [this](const QString& t) { m_form.OnTreadText(t.toStdString()); });
    connect(m_steps, &QComboBox::activated, this, [this](int i) { m_form.OnSteps(i); });
    connect(m_turns, &QComboBox::activated, this, [this](int i) { m_form.OnTurns(i); });
    connect(m_square, &QCheckBox::clicked, this, [this](bool on) { m_form.OnSquare(on); });
    connect(m_fill, &QCheckBox::clicked, this, [this](bool on) { m_form.OnFill(on); });
    connect(m_wallCore, &QRadioButton::clicked, this, [this] { m_form.OnPlacement(true); });
    connect(m_face, &QRadioButton::clicked, this, [this] { m_form.OnPlacement(false); });
    connect(m_colour, &QPushButton::clicked, this, [this] {
        if (m_form.OnColourButton(m_questions)) paintSwatch();
    });
}

void CKaidanDlg::SaveOnClose() { m_form.record().Save(m_profile); }

void CKaidanDlg::applyEnabled()
{
    const StairsForm::Enabled e = m_form.enabled();
    m_square->setEnabled(e.squareCorners);
    m_turns->setEnabled(e.turns);
    m_turnsLabel->setEnabled(e.turns);
    m_steps->setEnabled(e.steps);
    m_treadCheck->setEnabled(e.treadCheck);
    m_tread->setEnabled(e.treadWidth);
    m_stepsLabel->setEnabled(e.straightLabels);
    m_mmLabel->setEnabled(e.straightLabels);
}

void CKaidanDlg::paintSwatch()
{
    QPixmap swatch(m_swatch->size());
    swatch.fill(kov::platform::toQColor(m_form.record().kaidan_nakacolor));
    m_swatch->setPixmap(swatch);
}

} // namespace kov::dialogs
