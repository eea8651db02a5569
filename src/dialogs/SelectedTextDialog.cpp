#include "dialogs/SelectedTextDialog.h"

#include "dialogs/FontNameList.h"
#include "dialogs/PropertyTexts.h"
#include "platform/Color.h"
#include "platform/NumberText.h"
#include "platform/Questions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {

namespace pt = proptext;
namespace pf = kov::platform;

QString qs(const char* s) { return QString::fromUtf8(s); }
QString qs(const std::string& s) { return QString::fromStdString(s); }

// The edit keeps its lines with CR LF as texts store them; the widget shows LF.
std::string storedText(const QString& shown)
{
    std::string out;
    for (const char c : shown.toStdString()) {
        if (c == '\n') out += "\r\n";
        else if (c != '\r') out += c;
    }
    return out;
}

QString shownText(const std::string& stored)
{
    std::string out;
    for (const char c : stored)
        if (c != '\r') out += c;
    return QString::fromStdString(out);
}

} // namespace

SelectedTextForm::Shown SelectedTextForm::shown() const
{
    Shown s;
    s.angleText = pf::formatInt(angle / 10);
    s.sizeText = pf::formatFixed(font.m_size, 1);
    s.spacingText = pf::formatFixed(font.m_kankaku, 1);
    s.lineSpacingText = pf::formatFixed(font.m_gyoukan, 1);
    s.bold = font.lfWeight == 700;
    s.italic = font.lfItalic == 1;
    s.underline = font.lfUnderline == 1;
    s.strikeOut = font.lfStrikeOut == 1;
    s.backOn = font.m_bBack != 0;
    return s;
}

int SelectedTextForm::SelectFace(const FontNameList& list)
{
    const int line = list.FindLine(font.lfFaceName);
    if (line >= 0) return line;
    font.lfFaceName = pt::kFallbackFace;
    const int fallback = list.FindLine(font.lfFaceName);
    if (fallback >= 0) ApplyChosenFace(list, list.lines()[static_cast<std::size_t>(fallback)]);
    return fallback;
}

void SelectedTextForm::ApplyChosenFace(const FontNameList& list, const std::string& name)
{
    LogFont chosen;
    if (!list.GetLogFont(name, chosen)) return;
    const CFontMenu kept = font;
    font.SetLogFont(chosen);
    font.lfHeight = kept.lfHeight;
    font.lfWidth = kept.lfWidth;
    font.lfEscapement = kept.lfEscapement;
    font.lfWeight = kept.lfWeight;
    font.lfItalic = kept.lfItalic;
    font.lfUnderline = kept.lfUnderline;
    font.lfStrikeOut = kept.lfStrikeOut;
}

void SelectedTextForm::Accept(const Entered& e)
{
    text = e.text;
    const int degrees = pf::parseInt(e.angleText);
    if (degrees >= 0 && degrees <= 359) angle = degrees * 10;
    vertical = e.vertical ? 1 : 0;
    if (!several) {
        hAlign = e.hAlign < 0 ? 0 : e.hAlign;
        vAlign = e.vAlign < 0 ? 0 : e.vAlign;
    }
    const double size = pf::parseDouble(e.sizeText);
    font.m_size = size < 0.5 || size > 100 ? 1.0 : size;
    const double spacing = pf::parseDouble(e.spacingText);
    font.m_kankaku = spacing < 0 || spacing > 100 ? 0.0 : spacing;
    const double lineSpacing = pf::parseDouble(e.lineSpacingText);
    font.m_gyoukan = lineSpacing < 0 || lineSpacing > 100 ? 0.0 : lineSpacing;
    font.m_bBack = e.backOff ? 0 : 1;
    font.lfWeight = e.bold ? 700 : 400;
    font.lfItalic = e.italic ? 1 : 0;
    font.lfUnderline = e.underline ? 1 : 0;
    font.lfStrikeOut = e.strikeOut ? 1 : 0;
}

CFontsyuseidlg::CFontsyuseidlg(const SelectedTextForm& values, pf::Questions& questions, FontPicker pickFont,
                               QWidget* parent)
    : QDialog(parent), m_form(values), m_questions(questions), m_pickFont(std::move(pickFont))
{
    setObjectName(QStringLiteral("selectedText"));
    setWindowTitle(qs(pt::kSelectedTextTitle));
    auto* layout = new QVBoxLayout(this);
    m_text = new QPlainTextEdit;
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setFixedHeight(70);
    layout->addWidget(m_text);
    auto* fontRow = new QHBoxLayout;
    m_faces = new CEnumFontCombo;
    m_faces->setObjectName(QStringLiteral("face"));
    m_faces->setMinimumWidth(200);
    fontRow->addWidget(m_faces, 1);
    auto* change = new QPushButton(qs(pt::kChangeFont));
    change->setObjectName(QStringLiteral("changeFont"));
    fontRow->addWidget(change);
    const char* styleNames[4] = {"bold", "italic", "underline", "strikeOut"};
    const char* styleLetters[4] = {"B", "I", "U", "ab"};
    for (int i = 0; i < 4; ++i) {
        m_style[i] = new QCheckBox(qs(styleLetters[i]));
        m_style[i]->setObjectName(qs(styleNames[i]));
        QFont f = m_style[i]->font();
        f.setBold(i == 0);
        f.setItalic(i == 1);
        f.setUnderline(i == 2);
        f.setStrikeOut(i == 3);
        m_style[i]->setFont(f);
        fontRow->addWidget(m_style[i]);
    }
    layout->addLayout(fontRow);

    auto* grid = new QGridLayout;
    auto numberRow = [&](int row, const char* label, QLineEdit*& edit, const char* name, const char* unit) {
        grid->addWidget(new QLabel(qs(label)), row, 0);
        edit = new QLineEdit;
        edit->setObjectName(qs(name));
        edit->setFixedWidth(70);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(qs(unit)), row, 2);
    };
    numberRow(0, pt::kTextHeight, m_size, "height", pt::kMm);
    numberRow(1, pt::kCharSpacing, m_spacing, "charSpacing", pt::kMm);
    numberRow(2, pt::kLineSpacing, m_lineSpacing, "lineSpacing", pt::kMm);
    m_vertical = new QCheckBox(qs(pt::kVertical));
    m_vertical->setObjectName(QStringLiteral("vertical"));
    grid->addWidget(m_vertical, 3, 0);
    numberRow(4, pt::kAngle, m_angle, "angle", pt::kDegrees);
    m_angle->setValidator(new QIntValidator(0, 99999, m_angle));

    auto sample = [](const char* name) {
        auto* l = new QLabel;
        l->setObjectName(qs(name));
        l->setFixedSize(40, 20);
        return l;
    };
    grid->addWidget(new QLabel(qs(pt::kTextColour)), 0, 3);
    m_colourSample = sample("textColourSample");
    grid->addWidget(m_colourSample, 0, 4);
    auto* colourButton = new QPushButton(qs(pt::kDropDown));
    colourButton->setObjectName(QStringLiteral("textColour"));
    grid->addWidget(colourButton, 0, 5);
    auto* back = new QGroupBox(qs(pt::kBackColour));
    auto* bl = new QHBoxLayout(back);
    m_backOff = new QRadioButton(qs(pt::kBackOff));
    m_backOff->setObjectName(QStringLiteral("backOff"));
    m_backOn = new QRadioButton(qs(pt::kBackOn));
    m_backOn->setObjectName(QStringLiteral("backOn"));
    m_backSample = sample("backColourSample");
    auto* backButton = new QPushButton(qs(pt::kDropDown));
    backButton->setObjectName(QStringLiteral("backColour"));
    bl->addWidget(m_backOff);
    bl->addWidget(m_backOn);
    bl->addWidget(m_backSample);
    bl->addWidget(backButton);
    grid->addWidget(back, 1, 3, 2, 3);
    grid->addWidget(new QLabel(qs(pt::kHorizontalPosition)), 3, 3);
    m_hAlign = new QComboBox;
    m_hAlign->setObjectName(QStringLiteral("hAlign"));
    grid->addWidget(m_hAlign, 3, 4, 1, 2);
    grid->addWidget(new QLabel(qs(pt::kVerticalPosition)), 4, 3);
    m_vAlign = new QComboBox;
    m_vAlign->setObjectName(QStringLiteral("vAlign"));
    grid->addWidget(m_vAlign, 4, 4, 1, 2);
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(qs(pt::kOk), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(qs(pt::kCancelNarrow), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CFontsyuseidlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Opening.
    const SelectedTextForm::Shown s = m_form.shown();
    if (m_form.several) {
        for (QWidget* w : {static_cast<QWidget*>(m_text), static_cast<QWidget*>(m_vertical),
                           static_cast<QWidget*>(m_hAlign), static_cast<QWidget*>(m_vAlign)})
            w->setEnabled(false);
    } else {
        m_text->setPlainText(shownText(m_form.text));
        for (const char* a : pt::kHorizontalAlignments) m_hAlign->addItem(qs(a));
        for (const char* a : pt::kVerticalAlignments) m_vAlign->addItem(qs(a));
        m_hAlign->setCurrentIndex(m_form.hAlign >= 0 && m_form.hAlign < 3 ? m_form.hAlign : -1);
        m_vAlign->setCurrentIndex(m_form.vAlign >= 0 && m_form.vAlign < 3 ? m_form.vAlign : -1);
    }
    m_vertical->setChecked(m_form.vertical == 1);
    m_angle->setText(qs(s.angleText));
    m_size->setText(qs(s.sizeText));
    m_spacing->setText(qs(s.spacingText));
    m_lineSpacing->setText(qs(s.lineSpacingText));
    m_faces->FillFontList();
    m_faces->setCurrentIndex(m_form.SelectFace(m_faces->fonts()));
    showStyle();
    (s.backOn ? m_backOn : m_backOff)->setChecked(true);
    paintSamples();

    connect(m_faces, &QComboBox::activated, this, [this](int) {
        m_form.ApplyChosenFace(m_faces->fonts(), m_faces->currentText().toStdString());
    });
    connect(change, &QPushButton::clicked, this, [this] {
        if (!m_pickFont || !m_pickFont(m_form.font)) return;
        m_size->setText(qs(pf::formatFixed(m_form.font.m_size, 1)));
        m_faces->SelectFace(m_form.font.lfFaceName);
        showStyle();
        paintSamples();
    });
    auto pickColour = [this](std::uint32_t& colour) {
        if (const auto chosen = m_questions.chooseColor(colour)) {
            colour = *chosen;
            paintSamples();
        }
    };
    connect(colourButton, &QPushButton::clicked, this, [this, pickColour] { pickColour(m_form.font.m_Color); });
    connect(backButton, &QPushButton::clicked, this, [this, pickColour] { pickColour(m_form.font.m_BackColor); });
}

void CFontsyuseidlg::showStyle()
{
    const SelectedTextForm::Shown s = m_form.shown();
    m_style[0]->setChecked(s.bold);
    m_style[1]->setChecked(s.italic);
    m_style[2]->setChecked(s.underline);
    m_style[3]->setChecked(s.strikeOut);
}

void CFontsyuseidlg::paintSamples()
{
    auto paint = [](QLabel* label, std::uint32_t colour) {
        QPixmap p(label->size());
        p.fill(label->palette().color(QPalette::Base));
        QPainter painter(&p);
        painter.fillRect(QRect(2, 2, p.width() - 4, p.height() - 4), pf::toQColor(colour));
        painter.end();
        label->setPixmap(p);
    };
    paint(m_colourSample, m_form.font.m_Color);
    paint(m_backSample, m_form.font.m_BackColor);
}

void CFontsyuseidlg::accept()
{
    SelectedTextForm::Entered e;
    e.text = storedText(m_text->toPlainText());
    e.angleText = m_angle->text().toStdString();
    e.vertical = m_vertical->isChecked();
    e.hAlign = m_hAlign->currentIndex();
    e.vAlign = m_vAlign->currentIndex();
    e.sizeText = m_size->text().toStdString();
    e.spacingText = m_spacing->text().toStdString();
    e.lineSpacingText = m_lineSpacing->text().toStdString();
    e.backOff = m_backOff->isChecked();
    e.bold = m_style[0]->isChecked();
    e.italic = m_style[1]->isChecked();
    e.underline = m_style[2]->isChecked();
    e.strikeOut = m_style[3]->isChecked();
    m_form.Accept(e);
    QDialog::accept();
}

} // namespace kov::dialogs
