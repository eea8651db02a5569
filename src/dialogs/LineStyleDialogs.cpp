#include "dialogs/LineStyleDialogs.h"

#include "dialogs/SettingsTexts.h"
#include "dialogs/SettingsWidgets.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kov::dialogs {

using ui::control;
using ui::named;
using ui::qs;

namespace {

constexpr const char* kDashDefaultTexts[LinePichTable::kCount] = {
    "3.75", "1.25", "0.75", "0.75", "6.25", "1.25", "1.25", "", "3.25", "1.25", "1.25", "1.25", "1.25", "1.25"};
constexpr const char* kLineEndDefaultTexts[LineEndSizeForm::kClasses] = {"0.6", "1.0", "1.66", "2.5", "4.0"};

// OK and a cancel button with the given caption.
QDialogButtonBox* okCancel(QDialog* dialog, const char* cancelCaption)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(qs(texts::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(qs(cancelCaption));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

std::string boxName(const char* prefix, int i) { return prefix + std::to_string(i); }

} // namespace

// -- line widths ---------------------------------------------------------------------------------

void LineWidthForm::Load(const std::array<int, kTypes>& s, const std::array<int, kTypes>& p)
{
    screen = s;
    printer = p;
    for (std::size_t i = 0; i < kTypes; ++i) {
        screenChoice[i] = (s[i] >= 1 && s[i] <= kScreenItems) ? s[i] - 1 : -1;
        printerChoice[i] = (p[i] >= 1 && p[i] <= kPrinterItems) ? p[i] - 1 : -1;
    }
}

void LineWidthForm::Accept()
{
    for (std::size_t i = 0; i < kTypes; ++i) {
        if (screenChoice[i] >= 0) screen[i] = screenChoice[i] + 1;
        if (printerChoice[i] >= 0) printer[i] = printerChoice[i] + 1;
    }
}

CLineWideSetDg::CLineWideSetDg(const CPlotInfo& plot, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(qs(texts::kLineWidthTitle));
    m_form.Load(plot.linehutosag, plot.linehutosap);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(qs(texts::kLineWidthScreen)), 0, 1);
    grid->addWidget(new QLabel(qs(texts::kLineWidthPrinter)), 0, 2);
    for (int i = 0; i < LineWidthForm::kTypes; ++i) {
        grid->addWidget(new QLabel(QString::number(i + 1)), i + 1, 0);
        auto* s = named(new QComboBox, boxName("screen", i + 1).c_str());
        auto* p = named(new QComboBox, boxName("printer", i + 1).c_str());
        for (int k = 1; k <= LineWidthForm::kScreenItems; ++k) s->addItem(QString::number(k));
        for (int k = 1; k <= LineWidthForm::kPrinterItems; ++k) p->addItem(QString::number(k));
        s->setCurrentIndex(m_form.screenChoice[static_cast<std::size_t>(i)]);
        p->setCurrentIndex(m_form.printerChoice[static_cast<std::size_t>(i)]);
        grid->addWidget(s, i + 1, 1);
        grid->addWidget(p, i + 1, 2);
    }
    layout->addLayout(grid);
    layout->addWidget(new QLabel(qs(texts::kLineWidthNote)));
    layout->addWidget(okCancel(this, texts::kCancel));
}

void CLineWideSetDg::accept()
{
    for (int i = 0; i < LineWidthForm::kTypes; ++i) {
        const auto k = static_cast<std::size_t>(i);
        m_form.screenChoice[k] = control<QComboBox>(this, boxName("screen", i + 1).c_str())->currentIndex();
        m_form.printerChoice[k] = control<QComboBox>(this, boxName("printer", i + 1).c_str())->currentIndex();
    }
    m_form.Accept();
    QDialog::accept();
}

void CLineWideSetDg::CopyTo(CPlotInfo& plot) const
{
    plot.linehutosag = m_form.screen;
    plot.linehutosap = m_form.printer;
}

// -- dash pitches --------------------------------------------------------------------------------

void DashPitchForm::Load(const LinePichTable& source)
{
    table = source;
    for (int i = 0; i < LinePichTable::kCount; ++i)
        boxes[static_cast<std::size_t>(i)] = i == kUnboxed ? std::string() : kov::platform::formatFixed(table[i], 3);
}

void DashPitchForm::Reset()
{
    for (int i = 0; i < LinePichTable::kCount; ++i) boxes[static_cast<std::size_t>(i)] = kDashDefaultTexts[i];
}

void DashPitchForm::Accept()
{
    for (int i = 0; i < LinePichTable::kCount; ++i)
        if (i != kUnboxed) table[i] = static_cast<float>(kov::platform::parseDouble(boxes[static_cast<std::size_t>(i)]));
}

CLinePichDlg::CLinePichDlg(const LinePichTable& table, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(qs(texts::kDashTitle));
    m_form.Load(table);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int c = 0; c < 6; ++c) grid->addWidget(new QLabel(qs(c % 2 ? texts::kDashBlank : texts::kDashDrawn)), 0, c + 1);
    const std::vector<std::vector<int>> rows = {{0, 1}, {2, 3}, {4, 5, 6}, {8, 9, 10, 11, 12, 13}};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        grid->addWidget(new QLabel(qs(texts::kDashTypes[r])), static_cast<int>(r) + 1, 0);
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            auto* e = named(new QLineEdit, boxName("pitch", rows[r][c]).c_str());
            e->setFixedWidth(64);
            const int index = rows[r][c];
            connect(e, &QLineEdit::textEdited, this,
                    [this, index](const QString& t) { m_form.boxes[static_cast<std::size_t>(index)] = t.toStdString(); });
            grid->addWidget(e, static_cast<int>(r) + 1, static_cast<int>(c) + 1);
        }
    }
    layout->addLayout(grid);
    layout->addWidget(new QLabel(qs(texts::kDashUnitNote)));
    auto* reset = named(new QPushButton(qs(texts::kDashReset)), "reset");
    connect(reset, &QPushButton::clicked, this, [this] {
        m_form.Reset();
        sync();
    });
    layout->addWidget(reset, 0, Qt::AlignLeft);
    layout->addWidget(okCancel(this, texts::kCancelNarrow));
    sync();
}

void CLinePichDlg::sync()
{
    for (int i = 0; i < LinePichTable::kCount; ++i)
        if (i != DashPitchForm::kUnboxed)
            control<QLineEdit>(this, boxName("pitch", i).c_str())->setText(qs(m_form.boxes[static_cast<std::size_t>(i)]));
}

void CLinePichDlg::accept()
{
    m_form.Accept();
    QDialog::accept();
}

// -- line-end sizes ------------------------------------------------------------------------------

std::array<double, LineEndSizeForm::kClasses> LineEndSizeForm::FromProfile(const kov::platform::Profile& p)
{
    std::array<double, kClasses> out{};
    for (int i = 0; i < kClasses; ++i)
        out[static_cast<std::size_t>(i)] = kov::platform::parseDouble(
            p.GetProfileString(kov::model::kSectionPlotMenu, "keij_pich_" + std::to_string(i + 1), kLineEndDefaultTexts[i]));
    return out;
}

void LineEndSizeForm::SaveProfile(kov::platform::Profile& p, const std::array<double, kClasses>& s)
{
    for (int i = 0; i < kClasses; ++i)
        p.WriteProfileString(kov::model::kSectionPlotMenu, "keij_pich_" + std::to_string(i + 1),
                             kov::platform::formatFixed(s[static_cast<std::size_t>(i)], 2));
}

void LineEndSizeForm::Load(const std::array<double, kClasses>& source)
{
    sizes = source;
    for (std::size_t i = 0; i < kClasses; ++i) boxes[i] = kov::platform::formatFixed(sizes[i], 2);
}

void LineEndSizeForm::Reset()
{
    for (std::size_t i = 0; i < kClasses; ++i) boxes[i] = kLineEndDefaultTexts[i];
}

void LineEndSizeForm::Accept()
{
    for (std::size_t i = 0; i < kClasses; ++i) {
        const double v = kov::platform::parseDouble(boxes[i]);
        if (v > 0 && v < 1000) sizes[i] = v;
    }
}

CKeijyouPichDg::CKeijyouPichDg(const std::array<double, LineEndSizeForm::kClasses>& sizes, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(qs(texts::kLineEndTitle));
    m_form.Load(sizes);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qs(texts::kLineEndHeading)));
    auto* grid = new QGridLayout;
    for (int i = 0; i < LineEndSizeForm::kClasses; ++i) {
        grid->addWidget(new QLabel(qs(texts::kLineEndClasses[i])), i, 0);
        auto* e = named(new QLineEdit, boxName("size", i + 1).c_str());
        connect(e, &QLineEdit::textEdited, this,
                [this, i](const QString& t) { m_form.boxes[static_cast<std::size_t>(i)] = t.toStdString(); });
        grid->addWidget(e, i, 1);
        grid->addWidget(new QLabel(qs(texts::kMm)), i, 2);
    }
    layout->addLayout(grid);
    auto* reset = named(new QPushButton(qs(texts::kDashReset)), "reset");
    connect(reset, &QPushButton::clicked, this, [this] {
        m_form.Reset();
        sync();
    });
    layout->addWidget(reset, 0, Qt::AlignLeft);
    layout->addWidget(okCancel(this, texts::kCancel));
    sync();
}

void CKeijyouPichDg::sync()
{
    for (int i = 0; i < LineEndSizeForm::kClasses; ++i)
        control<QLineEdit>(this, boxName("size", i + 1).c_str())->setText(qs(m_form.boxes[static_cast<std::size_t>(i)]));
}

void CKeijyouPichDg::accept()
{
    m_form.Accept();
    QDialog::accept();
}

} // namespace kov::dialogs
