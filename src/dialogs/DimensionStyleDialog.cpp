#include "dialogs/DimensionStyleDialog.h"

#include "dialogs/SettingsTexts.h"
#include "dialogs/SettingsWidgets.h"
#include "model/PlotInfo.h"
#include "platform/NumberText.h"
#include "platform/Questions.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace kov::dialogs {

using ui::control;
using ui::named;
using ui::qs;

DimensionStyle DimensionStyle::From(const CPlotInfo& p, int valueMode)
{
    DimensionStyle s;
    s.textHeight = p.PlotSunpoTextHeight;
    s.decimals = p.PlotSunpokurai;
    s.mark = p.PlotSunpoTanten;
    s.markSize = p.PlotSunpoYawide;
    s.unit = p.PlotSunpoTani;
    s.grouping = p.PlotSunpoKugiri;
    s.shown = p.PlotSunpoTextView;
    s.font = p.PlotSunpoFont;
    s.offset = p.PlotSunpoOffset;
    s.valueMode = valueMode;
    return s;
}

void DimensionStyle::To(CPlotInfo& p) const
{
    p.PlotSunpoTextHeight = textHeight;
    p.PlotSunpokurai = decimals;
    p.PlotSunpoTanten = mark;
    p.PlotSunpoYawide = markSize;
    p.PlotSunpoTani = unit;
    p.PlotSunpoKugiri = grouping;
    p.PlotSunpoTextView = shown;
    p.PlotSunpoFont = font;
    p.PlotSunpoOffset = offset;
}

std::vector<std::string> DimensionFontNames()
{
    std::vector<std::string> names = {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝"};
    for (const QString& family : QFontDatabase::families())
        if (!family.startsWith(QLatin1Char('@'))) names.push_back(family.toStdString());
    return names;
}

void DimensionStyleForm::Load(const DimensionStyle& v, std::vector<std::string> fontNames)
{
    style = v;
    fonts.clear();
    for (std::string& f : fontNames)
        if (fonts.empty() || fonts.back() != f) fonts.push_back(std::move(f));
    heightText = kov::platform::formatInt(v.textHeight);
    offsetText = kov::platform::formatInt(v.offset);
    auto choice = [](int value, int count) { return value >= 0 && value < count ? value : -1; };
    decimalsChoice = choice(v.decimals, 4);
    markChoice = (v.mark >= 0 && v.mark <= 12 && v.mark % 3 == 0) ? v.mark / 3 : -1;
    markSizeChoice = choice(v.markSize, 5);
    unitChoice = choice(v.unit, 3);
    groupingChoice = choice(v.grouping, 4);
    const auto at = std::find(fonts.begin(), fonts.end(), v.font);
    fontChoice = at == fonts.end() ? 0 : static_cast<int>(at - fonts.begin());
    shown = v.shown ? 1 : 0;
    valueMode = v.valueMode == 1 ? 1 : 0;
}

void DimensionStyleForm::Accept()
{
    if (fontChoice >= 0 && fontChoice < static_cast<int>(fonts.size()))
        style.font = fonts[static_cast<std::size_t>(fontChoice)];
    style.shown = shown;
    style.valueMode = valueMode;
    style.textHeight = kov::platform::parseInt(heightText);
    style.offset = kov::platform::parseInt(offsetText);
    style.decimals = std::max(decimalsChoice, 0);
    style.unit = std::max(unitChoice, 0);
    style.grouping = std::max(groupingChoice, 0);
    style.mark = 3 * std::max(markChoice, 0);
    style.markSize = markSizeChoice < 0 ? 2 : markSizeChoice;
}

CSunpoSetDlg::CSunpoSetDlg(const DimensionStyle& values, std::vector<std::string> fontNames, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(qs(texts::kDimensionTitle));
    m_form.Load(values, std::move(fontNames));
    auto* grid = new QGridLayout(this);
    int row = 0;
    auto list = [&](const char* name, const char* label, std::initializer_list<const char*> items, int choice) {
        grid->addWidget(new QLabel(qs(label)), row, 0);
        auto* c = named(new QComboBox, name);
        for (const char* i : items) c->addItem(qs(i));
        c->setCurrentIndex(choice);
        grid->addWidget(c, row++, 1);
    };
    auto edit = [&](const char* name, const char* label, const std::string& text) {
        grid->addWidget(new QLabel(qs(label)), row, 0);
        auto* e = named(new QLineEdit(qs(text)), name);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
        grid->addWidget(e, row++, 1);
    };
    auto radios = [&](const char* label, const char* on, const char* off, const char* onName, const char* offName,
                      bool first) {
        auto* box = new QGroupBox(qs(label));
        auto* l = new QHBoxLayout(box);
        auto* a = named(new QRadioButton(qs(on)), onName);
        auto* b = named(new QRadioButton(qs(off)), offName);
        l->addWidget(a);
        l->addWidget(b);
        (first ? a : b)->setChecked(true);
        grid->addWidget(box, row++, 0, 1, 2);
    };
    edit("sunpotextheight", texts::kDimensionTextHeight, m_form.heightText);
    grid->addWidget(new QLabel(qs(texts::kDimensionDecimalsBefore)), row, 0);
    auto* decimals = named(new QComboBox, "sunpokurai");
    for (const char* d : {"0", "1", "2", "3"}) decimals->addItem(qs(d));
    decimals->setCurrentIndex(m_form.decimalsChoice);
    auto* dl = new QHBoxLayout;
    dl->addWidget(decimals);
    dl->addWidget(new QLabel(qs(texts::kDimensionDecimalsAfter)));
    grid->addLayout(dl, row++, 1);
    const auto& m = texts::kDimensionMarks;
    list("sunpotanten", texts::kDimensionMark, {m[0], m[1], m[2], m[3], m[4]}, m_form.markChoice);
    const auto& s = texts::kLineEndClasses;
    list("sunpoyawide", texts::kDimensionMarkSize, {s[0], s[1], s[2], s[3], s[4]}, m_form.markSizeChoice);
    const auto& u = texts::kDimensionUnits;
    list("sunpotani", texts::kDimensionUnit, {u[0], u[1], u[2]}, m_form.unitChoice);
    const auto& g = texts::kDimensionGroupings;
    list("sunpokugiri", texts::kDimensionGrouping, {g[0], g[1], g[2], g[3]}, m_form.groupingChoice);
    radios(texts::kDimensionShown, texts::kDimensionShow, texts::kDimensionHide, "show", "hide", m_form.shown == 1);
    grid->addWidget(new QLabel(qs(texts::kDimensionFont)), row, 0);
    auto* fonts = named(new QComboBox, "sunpofont");
    for (const std::string& f : m_form.fonts) fonts->addItem(qs(f));
    fonts->setCurrentIndex(m_form.fontChoice);
    grid->addWidget(fonts, row++, 1);
    radios(texts::kDimensionValue, texts::kDimensionMeasured, texts::kDimensionTyped, "measured", "typed",
           m_form.valueMode == 0);
    edit("sunpoOffset", texts::kDimensionOffset, m_form.offsetText);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(qs(texts::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(qs(texts::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, row, 0, 1, 2);
}

void CSunpoSetDlg::accept()
{
    m_form.heightText = control<QLineEdit>(this, "sunpotextheight")->text().toStdString();
    m_form.offsetText = control<QLineEdit>(this, "sunpoOffset")->text().toStdString();
    m_form.decimalsChoice = control<QComboBox>(this, "sunpokurai")->currentIndex();
    m_form.markChoice = control<QComboBox>(this, "sunpotanten")->currentIndex();
    m_form.markSizeChoice = control<QComboBox>(this, "sunpoyawide")->currentIndex();
    m_form.unitChoice = control<QComboBox>(this, "sunpotani")->currentIndex();
    m_form.groupingChoice = control<QComboBox>(this, "sunpokugiri")->currentIndex();
    m_form.fontChoice = control<QComboBox>(this, "sunpofont")->currentIndex();
    m_form.shown = control<QRadioButton>(this, "show")->isChecked() ? 1 : 0;
    m_form.valueMode = control<QRadioButton>(this, "measured")->isChecked() ? 0 : 1;
    m_form.Accept();
    QDialog::accept();
}

bool WorkScreenColourForm::ChooseColour(kov::platform::Questions& questions)
{
    const std::optional<std::uint32_t> c = questions.chooseColor(colour);
    if (!c) return false;
    colour = *c;
    return true;
}

CHaikeiColorSetDg::CHaikeiColorSetDg(int own, std::uint32_t colour, kov::platform::Questions& questions,
                                     QWidget* parent)
    : QDialog(parent), m_questions(questions)
{
    setWindowTitle(qs(texts::kBackgroundTitle));
    m_form.own = own == 1 ? 1 : 0;
    m_form.colour = colour;
    auto* layout = new QVBoxLayout(this);
    auto* group = new QButtonGroup(this);
    auto* standard = named(new QRadioButton(qs(texts::kBackgroundDefault)), "app_haikei0");
    auto* chosen = named(new QRadioButton(qs(texts::kBackgroundOwn)), "app_haikei1");
    group->addButton(standard, 0);
    group->addButton(chosen, 1);
    layout->addWidget(standard);
    layout->addWidget(chosen);
    auto* row = new QHBoxLayout;
    auto* sample = named(new QLabel, "sample");
    sample->setFixedSize(120, 24);
    sample->setFrameShape(QFrame::Box);
    row->addWidget(sample);
    auto* pick = named(new QPushButton(qs(texts::kColourButton)), "pick");
    pick->setFixedWidth(32);
    row->addWidget(pick);
    row->addStretch(1);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(qs(texts::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(qs(texts::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(pick, &QPushButton::clicked, this, [this] {
        if (m_form.ChooseColour(m_questions)) sync();
    });
    (m_form.own ? chosen : standard)->setChecked(true);
    sync();
}

void CHaikeiColorSetDg::sync() { ui::paintSample(control<QLabel>(this, "sample"), m_form.colour); }

void CHaikeiColorSetDg::accept()
{
    m_form.own = control<QRadioButton>(this, "app_haikei0")->isChecked() ? 0 : 1;
    QDialog::accept();
}

} // namespace kov::dialogs
