#include "dialogs/TextPanels.h"

#include "dialogs/FontNameList.h"
#include "dialogs/PropertyTexts.h"
#include "dialogs/SettingsWidgets.h"
#include "model/DrawTransform.h"
#include "model/KovUnit.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/PainterSurface.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {

namespace pt = proptext;
namespace pf = kov::platform;
using ui::named;
using ui::qs;

constexpr std::string_view kPlotMenu = "KOV_T_PlotMenu";
constexpr const char* kPickFont = "フォントの設定...";
constexpr const char* kCancel = "キャンセル";
constexpr const char* kFrameColour = "文字枠の色";
constexpr const char* kOpacity = "不透明度";
constexpr const char* kThickness = "枠の太さ";
constexpr const char* kFramesOnly = "文字枠のみ描画";
constexpr const char* kShape = "形状";
constexpr const char* kSlant = "傾き";
constexpr const char* kSlantRange = "(1～9)";

void call(const std::function<void()>& f)
{
    if (f)
        f();
}

// Texts keep their lines with CR LF; the edits show LF.
std::string storedText(const std::string& shown)
{
    std::string out;
    for (const char c : shown) {
        if (c == '\n')
            out += "\r\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

QString shownText(const std::string& stored)
{
    std::string out;
    for (const char c : stored)
        if (c != '\r')
            out += c;
    return QString::fromStdString(out);
}

// A face chosen in a list: the list's font for the name, the size and styles kept.
void applyFace(CFontMenu& font, const FontNameList& list, const std::string& name)
{
    LogFont chosen;
    if (!list.GetLogFont(name, chosen))
        return;
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

int deviceUnits(const TextPanelHooks& hooks, double mm)
{
    return hooks.mmToDevice ? hooks.mmToDevice(mm) : static_cast<int>(mm * 96 / 25.4 + 0.5);
}

// A colour sample inset by 2 pixels on the window colour.
void paintInset(QLabel* label, std::uint32_t colour)
{
    QPixmap p(label->size().expandedTo(QSize(5, 5)));
    p.fill(label->palette().color(QPalette::Base));
    QPainter painter(&p);
    painter.fillRect(QRect(2, 2, p.width() - 4, p.height() - 4), pf::toQColor(colour));
    painter.end();
    label->setPixmap(p);
}

QLineEdit* numberRow(QGridLayout* grid, int row, const char* label, const char* name, const char* unit)
{
    grid->addWidget(new QLabel(qs(label)), row, 0);
    auto* edit = named(new QLineEdit, name);
    edit->setFixedWidth(60);
    grid->addWidget(edit, row, 1);
    if (unit)
        grid->addWidget(new QLabel(qs(unit)), row, 2);
    return edit;
}

} // namespace

std::vector<std::string> QuotationLines(const std::vector<std::string>& quotations)
{
    std::vector<std::string> lines{kQuotationHead};
    lines.insert(lines.end(), quotations.begin(), quotations.end());
    return lines;
}

// -- the settings panel ----------------------------------------------------------------------------

TextSettingsForm::TextSettingsForm(CFontMenu& font, kov::tools::TextPanelValues& values, pf::Profile& profile,
                                   TextPanelHooks hooks)
    : m_font(font), m_values(values), m_profile(profile), m_hooks(std::move(hooks))
{
}

TextSettingsForm::Shown TextSettingsForm::shown() const
{
    Shown s;
    s.angleText = pf::formatInt(m_values.mozi_kakudo);
    s.sizeText = pf::formatFixed(m_font.m_size, 1);
    s.spacingText = pf::formatFixed(m_font.m_kankaku, 1);
    s.lineSpacingText = pf::formatFixed(m_font.m_gyoukan, 1);
    s.bold = m_font.lfWeight == 700;
    s.italic = m_font.lfItalic == 1;
    s.underline = m_font.lfUnderline == 1;
    s.strikeOut = m_font.lfStrikeOut == 1;
    s.backOn = m_font.m_bBack != 0;
    s.vertical = m_values.vertical;
    s.hAlign = m_font.m_toko_align;
    s.vAlign = m_font.m_tate_align;
    return s;
}

int TextSettingsForm::Fill(const FontNameList& list)
{
    m_values.vertical = false;
    m_values.mozi_kakudo = m_profile.GetProfileInt(kPlotMenu, "mozi_kakudo", 0);
    int line = list.FindLine(m_font.lfFaceName);
    if (line < 0) {
        m_font.lfFaceName = pt::kFallbackFace;
        line = list.FindLine(m_font.lfFaceName);
        if (line >= 0)
            applyFace(m_font, list, list.lines()[static_cast<std::size_t>(line)]);
    }
    // An older drawing keeps a colour number in the switch.
    if (m_font.m_bBack > 1)
        m_font.SetBackColorNumber(m_font.m_bBack);
    if (m_font.m_bBack != 0)
        m_font.m_bBack = 1;
    // The boxes' rules run on what they show, as if it were typed.
    const Shown s = shown();
    OnAngleTyped(s.angleText);
    OnHeightTyped(s.sizeText);
    OnSpacingTyped(s.spacingText);
    OnLineSpacingTyped(s.lineSpacingText);
    m_font.m_toko_align = m_profile.GetProfileInt(kPlotMenu, "mozi_yoko_align", 0);
    m_font.m_tate_align = m_profile.GetProfileInt(kPlotMenu, "mozi_tate_align", 0);
    call(m_hooks.redraw);
    return line;
}

void TextSettingsForm::changed(bool sample)
{
    call(m_hooks.redraw);
    if (sample)
        call(m_hooks.drawToolSample);
}

void TextSettingsForm::OnFace(const FontNameList& list, const std::string& name)
{
    applyFace(m_font, list, name);
    changed(true);
}

bool TextSettingsForm::OnPickFont()
{
    if (!m_hooks.pickFont || !m_hooks.pickFont(m_font))
        return false;
    OnHeightTyped(pf::formatFixed(m_font.m_size, 1));
    return true;
}

void TextSettingsForm::OnStyle(int which, bool on)
{
    switch (which) {
    case 0: m_font.lfWeight = on ? 700 : 400; break;
    case 1: m_font.lfItalic = on ? 1 : 0; break;
    case 2: m_font.lfUnderline = on ? 1 : 0; break;
    case 3: m_font.lfStrikeOut = on ? 1 : 0; break;
    default: return;
    }
    changed(true);
}

void TextSettingsForm::OnHeightTyped(const std::string& text)
{
    double v = pf::parseDouble(text);
    if (v < 0.5 || v > 100)
        v = 1;
    m_font.m_size = v;
    m_font.lfHeight = deviceUnits(m_hooks, v);
    changed(true);
}

void TextSettingsForm::OnSpacingTyped(const std::string& text)
{
    const double v = pf::parseDouble(text);
    m_font.m_kankaku = v < 0 || v > 100 ? 0 : v;
    changed(true);
}

void TextSettingsForm::OnLineSpacingTyped(const std::string& text)
{
    const double v = pf::parseDouble(text);
    m_font.m_gyoukan = v < 0 || v > 100 ? 0 : v;
    changed(true);
}

void TextSettingsForm::OnAngleTyped(const std::string& text)
{
    int v = pf::parseInt(text);
    if (v < 0 || v > 359)
        v = 0;
    m_values.mozi_kakudo = v;
    m_profile.WriteProfileInt(kPlotMenu, "mozi_kakudo", v);
    changed(false);
}

void TextSettingsForm::OnVertical(bool on)
{
    m_values.vertical = on;
    changed(false);
}

void TextSettingsForm::OnHAlign(int line)
{
    m_font.m_toko_align = line < 0 ? 0 : line;
    m_profile.WriteProfileInt(kPlotMenu, "mozi_yoko_align", m_font.m_toko_align);
    changed(false);
}

void TextSettingsForm::OnVAlign(int line)
{
    m_font.m_tate_align = line < 0 ? 0 : line;
    m_profile.WriteProfileInt(kPlotMenu, "mozi_tate_align", m_font.m_tate_align);
    changed(false);
}

void TextSettingsForm::OnBack(bool on)
{
    m_font.m_bBack = on ? 1 : 0;
    changed(true);
}

// -- the entry line --------------------------------------------------------------------------------

TextEntryForm::TextEntryForm(std::string& pending, std::vector<std::string> quotationLines, std::function<void()> create,
                             std::function<void()> clearPoints, std::function<void()> redraw)
    : m_pending(pending), m_lines(std::move(quotationLines)), m_create(std::move(create)),
      m_clearPoints(std::move(clearPoints)), m_redraw(std::move(redraw))
{
    if (m_lines.empty())
        m_lines.emplace_back(kQuotationHead);
}

void TextEntryForm::ResetInput()
{
    m_pending.clear();
    call(m_redraw);
}

void TextEntryForm::OnEdit(const std::string& text)
{
    m_pending = storedText(text);
    call(m_redraw);
}

std::optional<std::string> TextEntryForm::OnQuotation(const std::string& edit, int line)
{
    if (line <= 0 || line >= static_cast<int>(m_lines.size()))
        return std::nullopt;
    const std::string joined = edit + m_lines[static_cast<std::size_t>(line)];
    OnEdit(joined);
    return joined;
}

void TextEntryForm::OnOK()
{
    if (!m_pending.empty())
        call(m_create);
    m_pending.clear();
    call(m_clearPoints);
}

void TextEntryForm::OnCancel()
{
    m_pending.clear();
    call(m_clearPoints);
}

// -- the decorated-text panel ----------------------------------------------------------------------

DecoratedTextForm::DecoratedTextForm(kov::tools::DecoratedTextValues& values, pf::Profile& profile,
                                     pf::Questions& questions, TextPanelHooks hooks)
    : m_values(values), m_profile(profile), m_questions(questions), m_hooks(std::move(hooks))
{
}

DecoratedTextForm::Shown DecoratedTextForm::shown() const
{
    Shown s;
    s.text = m_values.text;
    s.sizeText = pf::formatFixed(m_values.font.m_size, 1);
    s.thicknessText = pf::formatFixed(m_values.frameThickness, 1);
    s.opacityText = pf::formatInt(m_values.opacity);
    s.vertical = m_values.vertical;
    s.framesOnly = m_values.framesOnly == 2;
    s.shape = m_values.shape;
    s.slantLine = m_values.slant - 1;
    return s;
}

void DecoratedTextForm::Fill()
{
    m_values.font.lfHeight = deviceUnits(m_hooks, m_values.font.m_size);
    const Shown s = shown();
    OnHeightTyped(s.sizeText);
    OnThicknessTyped(s.thicknessText);
    OnOpacityTyped(s.opacityText);
}

void DecoratedTextForm::OnText(const std::string& text)
{
    m_values.text = storedText(text);
    call(m_hooks.redraw);
}

std::optional<std::string> DecoratedTextForm::OnQuotation(const std::vector<std::string>& lines, const std::string& edit,
                                                          int line)
{
    if (line <= 0 || line >= static_cast<int>(lines.size()))
        return std::nullopt;
    const std::string joined = edit + lines[static_cast<std::size_t>(line)];
    OnText(joined);
    return joined;
}

bool DecoratedTextForm::OnPickFont()
{
    if (!m_hooks.pickFont || !m_hooks.pickFont(m_values.font))
        return false;
    OnHeightTyped(pf::formatFixed(m_values.font.m_size, 1));
    // The chooser gives a horizontal face.
    m_values.font.lfEscapement = 0;
    m_values.vertical = false;
    call(m_hooks.redraw);
    return true;
}

void DecoratedTextForm::OnHeightTyped(const std::string& text)
{
    double v = pf::parseDouble(text);
    if (v < 0.5 || v > 100)
        v = 1;
    m_values.font.m_size = v;
    m_values.font.lfHeight = deviceUnits(m_hooks, v);
    m_profile.WriteProfileString(kPlotMenu, "text_huchisize", pf::formatFixed(v));
    call(m_hooks.redraw);
}

void DecoratedTextForm::OnVertical(bool on)
{
    if (on == m_values.vertical)
        return;
    m_values.SetVertical(on);
    call(m_hooks.redraw);
}

bool DecoratedTextForm::OnColour(int which)
{
    std::uint32_t& colour = which == 0 ? m_values.textColour : m_values.frameColour;
    const std::optional<std::uint32_t> chosen = m_questions.chooseColor(colour);
    if (!chosen)
        return false;
    colour = *chosen;
    m_profile.WriteProfileString(kPlotMenu, which == 0 ? "text_huchicol1" : "text_huchicol2",
                                 kov::model::colourText(colour));
    call(m_hooks.redraw);
    return true;
}

void DecoratedTextForm::OnOpacityTyped(const std::string& text)
{
    const int v = pf::parseInt(text);
    m_values.opacity = v < 0 || v > 100 ? 100 : v;
    call(m_hooks.redraw);
}

bool DecoratedTextForm::OnThicknessTyped(const std::string& text)
{
    const double v = pf::parseDouble(text);
    if (!m_values.SetFrameThickness(v)) {
        m_questions.message(kBadThickness);
        return false;
    }
    m_profile.WriteProfileString(kPlotMenu, "text_huchiatsumi", pf::formatFixed(v));
    call(m_hooks.redraw);
    return true;
}

void DecoratedTextForm::OnFramesOnly(bool on)
{
    m_values.framesOnly = on ? 2 : 1;
    call(m_hooks.redraw);
}

void DecoratedTextForm::OnShape(int shape)
{
    if (shape < 0 || shape >= kov::tools::DecoratedTextValues::kShapes)
        return;
    m_values.shape = shape;
    call(m_hooks.redraw);
}

void DecoratedTextForm::OnSlant(int line)
{
    if (line < 0 || line > 8)
        return;
    m_values.slant = line + 1;
    call(m_hooks.redraw);
}

void DecoratedTextForm::ClearText() { m_values.text.clear(); }

// -- widgets ---------------------------------------------------------------------------------------

TextSettingsPanel::TextSettingsPanel(CFontMenu& font, kov::tools::TextPanelValues& values, pf::Profile& profile,
                                     pf::Questions& questions, TextPanelHooks hooks, QWidget* parent)
    : QDialog(parent), m_form(font, values, profile, std::move(hooks)), m_questions(questions)
{
    setObjectName(QStringLiteral("textSettings"));
    setWindowTitle(qs(TextSettingsForm::kTitle));
    // A panel without a close box: it lives as long as its tool.
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    m_faces = named(new CEnumFontCombo, "face");
    layout->addWidget(m_faces);
    auto* pick = named(new QPushButton(qs(kPickFont)), "pickFont");
    layout->addWidget(pick);
    auto* styles = new QHBoxLayout;
    const char* names[4] = {"bold", "italic", "underline", "strikeOut"};
    const char* letters[4] = {"B", "I", "U", "ab"};
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = named(new QPushButton(qs(letters[i])), names[i]);
        b->setCheckable(true);
        b->setFixedWidth(30);
        QFont f = b->font();
        f.setBold(i == 0);
        f.setItalic(i == 1);
        f.setUnderline(i == 2);
        f.setStrikeOut(i == 3);
        b->setFont(f);
        styles->addWidget(b);
        m_style[static_cast<std::size_t>(i)] = b;
    }
    styles->addStretch();
    layout->addLayout(styles);

    auto* grid = new QGridLayout;
    m_size = numberRow(grid, 0, pt::kTextHeight, "height", pt::kMm);
    QLineEdit* spacing = numberRow(grid, 1, pt::kCharSpacing, "charSpacing", pt::kMm);
    QLineEdit* lineSpacing = numberRow(grid, 2, pt::kLineSpacing, "lineSpacing", pt::kMm);
    auto* vertical = named(new QCheckBox(qs(pt::kVertical)), "vertical");
    grid->addWidget(vertical, 3, 0);
    QLineEdit* angle = numberRow(grid, 4, pt::kAngle, "angle", pt::kDegrees);
    grid->addWidget(new QLabel(qs(pt::kTextColour)), 5, 0);
    auto* colourRow = new QHBoxLayout;
    m_colourSample = named(new QLabel, "textColourSample");
    m_colourSample->setFixedSize(40, 20);
    auto* colourButton = named(new QPushButton(qs(pt::kDropDown)), "textColour");
    colourButton->setFixedWidth(30);
    colourRow->addWidget(m_colourSample);
    colourRow->addWidget(colourButton);
    grid->addLayout(colourRow, 5, 1, 1, 2);
    layout->addLayout(grid);

    auto* back = new QGroupBox(qs(pt::kBackColour));
    auto* bl = new QHBoxLayout(back);
    auto* backOff = named(new QRadioButton(qs(pt::kBackOff)), "backOff");
    auto* backOn = named(new QRadioButton(qs(pt::kBackOn)), "backOn");
    m_backSample = named(new QLabel, "backColourSample");
    m_backSample->setFixedSize(40, 20);
    m_backButton = named(new QPushButton(qs(pt::kDropDown)), "backColour");
    m_backButton->setFixedWidth(30);
    bl->addWidget(backOff);
    bl->addWidget(backOn);
    bl->addWidget(m_backSample);
    bl->addWidget(m_backButton);
    layout->addWidget(back);

    auto* aligns = new QGridLayout;
    aligns->addWidget(new QLabel(qs(pt::kHorizontalPosition)), 0, 0);
    auto* hAlign = named(new QComboBox, "hAlign");
    for (const char* a : pt::kHorizontalAlignments)
        hAlign->addItem(qs(a));
    aligns->addWidget(hAlign, 0, 1);
    aligns->addWidget(new QLabel(qs(pt::kVerticalPosition)), 1, 0);
    auto* vAlign = named(new QComboBox, "vAlign");
    for (const char* a : pt::kVerticalAlignments)
        vAlign->addItem(qs(a));
    aligns->addWidget(vAlign, 1, 1);
    layout->addLayout(aligns);

    // Filling.
    m_faces->FillFontList();
    m_faces->setCurrentIndex(m_form.Fill(m_faces->fonts()));
    const TextSettingsForm::Shown s = m_form.shown();
    showStyle();
    (s.backOn ? backOn : backOff)->setChecked(true);
    m_backButton->setEnabled(s.backOn);
    vertical->setChecked(s.vertical);
    angle->setText(qs(s.angleText));
    m_size->setText(qs(s.sizeText));
    spacing->setText(qs(s.spacingText));
    lineSpacing->setText(qs(s.lineSpacingText));
    hAlign->setCurrentIndex(s.hAlign >= 0 && s.hAlign < 3 ? s.hAlign : -1);
    vAlign->setCurrentIndex(s.vAlign >= 0 && s.vAlign < 3 ? s.vAlign : -1);
    paintSamples();

    // The rules, on what the user does; the boxes keep the text as typed.
    connect(m_faces, &QComboBox::activated, this,
            [this](int) { m_form.OnFace(m_faces->fonts(), m_faces->currentText().toStdString()); });
    connect(pick, &QPushButton::clicked, this, [this] {
        if (!m_form.OnPickFont())
            return;
        m_size->setText(qs(pf::formatFixed(m_form.font().m_size, 1)));
        m_faces->SelectFace(m_form.font().lfFaceName);
        showStyle();
        paintSamples();
    });
    for (int i = 0; i < 4; ++i)
        connect(m_style[static_cast<std::size_t>(i)], &QPushButton::toggled, this, [this, i](bool on) { m_form.OnStyle(i, on); });
    auto typed = [this](QLineEdit* edit, void (TextSettingsForm::*rule)(const std::string&)) {
        connect(edit, &QLineEdit::textEdited, this, [this, rule](const QString& t) { (m_form.*rule)(t.toStdString()); });
    };
    typed(m_size, &TextSettingsForm::OnHeightTyped);
    typed(spacing, &TextSettingsForm::OnSpacingTyped);
    typed(lineSpacing, &TextSettingsForm::OnLineSpacingTyped);
    typed(angle, &TextSettingsForm::OnAngleTyped);
    connect(vertical, &QCheckBox::toggled, this, [this](bool on) { m_form.OnVertical(on); });
    connect(hAlign, &QComboBox::activated, this, [this](int line) { m_form.OnHAlign(line); });
    connect(vAlign, &QComboBox::activated, this, [this](int line) { m_form.OnVAlign(line); });
    auto pickColour = [this](std::uint32_t& colour) {
        if (const auto chosen = m_questions.chooseColor(colour)) {
            colour = *chosen;
            paintSamples();
        }
    };
    connect(colourButton, &QPushButton::clicked, this, [this, pickColour] { pickColour(m_form.font().m_Color); });
    connect(m_backButton, &QPushButton::clicked, this, [this, pickColour] { pickColour(m_form.font().m_BackColor); });
    connect(backOff, &QRadioButton::clicked, this, [this] {
        m_backButton->setEnabled(false);
        m_form.OnBack(false);
        paintSamples();
    });
    connect(backOn, &QRadioButton::clicked, this, [this] {
        m_backButton->setEnabled(true);
        m_form.OnBack(true);
        paintSamples();
    });
}

void TextSettingsPanel::showStyle()
{
    const TextSettingsForm::Shown s = m_form.shown();
    const bool on[4] = {s.bold, s.italic, s.underline, s.strikeOut};
    for (std::size_t i = 0; i < 4; ++i) {
        const QSignalBlocker quiet(m_style[i]);
        m_style[i]->setChecked(on[i]);
    }
}

void TextSettingsPanel::paintSamples()
{
    paintInset(m_colourSample, m_form.font().m_Color);
    paintInset(m_backSample, m_form.font().m_BackColor);
}

TextEntryLine::TextEntryLine(std::string& pending, std::vector<std::string> quotationLines, std::function<void()> create,
                             std::function<void()> clearPoints, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), m_form(pending, std::move(quotationLines), std::move(create), std::move(clearPoints), std::move(redraw))
{
    setObjectName(QStringLiteral("textEntry"));
    setWindowTitle(QString());
    auto* layout = new QVBoxLayout(this);
    m_edit = named(new QPlainTextEdit, "text");
    m_edit->setMinimumHeight(60);
    layout->addWidget(m_edit);
    auto* row = new QHBoxLayout;
    m_quotations = named(new QComboBox, "quotations");
    for (const std::string& line : m_form.lines())
        m_quotations->addItem(qs(line));
    row->addWidget(m_quotations, 1);
    auto* ok = named(new QPushButton(QStringLiteral("OK")), "ok");
    auto* cancel = named(new QPushButton(qs(kCancel)), "cancel");
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &TextEntryLine::accept);
    connect(cancel, &QPushButton::clicked, this, &TextEntryLine::reject);
    connect(m_edit, &QPlainTextEdit::textChanged, this, [this] { m_form.OnEdit(m_edit->toPlainText().toStdString()); });
    connect(m_quotations, &QComboBox::activated, this, [this](int line) {
        const std::optional<std::string> joined = m_form.OnQuotation(storedText(m_edit->toPlainText().toStdString()), line);
        if (!joined)
            return;
        m_edit->setPlainText(shownText(*joined));
        m_quotations->setCurrentIndex(0);
        m_edit->setFocus();
    });
}

void TextEntryLine::ShowForPoint()
{
    m_form.ResetInput();
    m_quotations->setCurrentIndex(0);
    show();
    raise();
    // The typing goes to the line, not to the drawing that was clicked.
    activateWindow();
    m_edit->setFocus();
}

void TextEntryLine::accept()
{
    m_form.OnOK();
    const QSignalBlocker quiet(m_edit);
    m_edit->clear();
    hide();
}

void TextEntryLine::reject()
{
    m_form.OnCancel();
    const QSignalBlocker quiet(m_edit);
    m_edit->clear();
    hide();
}

DecoratedTextPanel::DecoratedTextPanel(kov::tools::DecoratedTextValues& values, pf::Profile& profile,
                                       pf::Questions& questions, std::vector<std::string> quotationLines,
                                       TextPanelHooks hooks, QWidget* parent, Mode mode)
    : QDialog(parent), m_mode(mode), m_form(values, profile, questions, std::move(hooks)),
      m_lines(std::move(quotationLines))
{
    if (m_lines.empty())
        m_lines.emplace_back(kQuotationHead);
    setObjectName(QStringLiteral("decoratedText"));
    setWindowTitle(qs(mode == Mode::Edit ? DecoratedTextForm::kEditTitle : DecoratedTextForm::kTitle));
    // Tool mode: a bordered panel without caption.
    if (mode == Mode::Tool)
        setWindowFlag(Qt::FramelessWindowHint, true);
    auto* frame = new QVBoxLayout(this);
    auto* box = new QGroupBox;
    frame->addWidget(box);
    auto* layout = new QVBoxLayout(box);
    m_sample = named(new QLabel, "sample");
    m_sample->setFixedSize(220, 70);
    layout->addWidget(m_sample);
    m_edit = named(new QPlainTextEdit, "text");
    m_edit->setFixedHeight(56);
    layout->addWidget(m_edit);
    auto* quotations = named(new QComboBox, "quotations");
    for (const std::string& line : m_lines)
        quotations->addItem(qs(line));
    layout->addWidget(quotations);
    auto* pick = named(new QPushButton(qs(kPickFont)), "pickFont");
    layout->addWidget(pick);

    auto* grid = new QGridLayout;
    QLineEdit* size = numberRow(grid, 0, pt::kTextHeight, "height", pt::kMm);
    auto* vertical = named(new QCheckBox(qs(pt::kVertical)), "vertical");
    grid->addWidget(vertical, 1, 0);
    auto colourRow = [&](int row, const char* label, const char* name, const char* sampleName) {
        grid->addWidget(new QLabel(qs(label)), row, 0);
        auto* sample = named(new QLabel, sampleName);
        sample->setFixedSize(40, 20);
        auto* button = named(new QPushButton(qs(pt::kDropDown)), name);
        button->setFixedWidth(30);
        auto* r = new QHBoxLayout;
        r->addWidget(sample);
        r->addWidget(button);
        grid->addLayout(r, row, 1, 1, 2);
        return std::pair{sample, button};
    };
    auto [inner, innerButton] = colourRow(2, pt::kTextColour, "textColour", "textColourSample");
    auto [outline, outlineButton] = colourRow(3, kFrameColour, "frameColour", "frameColourSample");
    m_innerSample = inner;
    m_frameSample = outline;
    QLineEdit* opacity = numberRow(grid, 4, kOpacity, "opacity", nullptr);
    QLineEdit* thickness = numberRow(grid, 5, kThickness, "thickness", pt::kMm);
    auto* framesOnly = named(new QCheckBox(qs(kFramesOnly)), "framesOnly");
    grid->addWidget(framesOnly, 6, 0, 1, 3);
    layout->addLayout(grid);

    auto* shapes = new QGroupBox(qs(kShape));
    auto* sl = new QGridLayout(shapes);
    auto* shapeGroup = new QButtonGroup(this);
    // The warps as the drawing makes them: plain, leaning right, narrower at the top, narrower at
    // the bottom, narrowing right, leaning left, narrowing left.
    static const std::array<std::array<QPointF, 4>, kov::tools::DecoratedTextValues::kShapes> outlines{{
        {{{2, 2}, {26, 2}, {26, 14}, {2, 14}}},
        {{{6, 2}, {26, 2}, {22, 14}, {2, 14}}},
        {{{6, 2}, {22, 2}, {26, 14}, {2, 14}}},
        {{{2, 2}, {26, 2}, {22, 14}, {6, 14}}},
        {{{2, 2}, {26, 5}, {26, 11}, {2, 14}}},
        {{{2, 2}, {22, 2}, {26, 14}, {6, 14}}},
        {{{2, 5}, {26, 2}, {26, 14}, {2, 11}}},
    }};
    for (int i = 0; i < kov::tools::DecoratedTextValues::kShapes; ++i) {
        QPixmap picture(28, 16);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        p.setPen(Qt::black);
        p.drawPolygon(outlines[static_cast<std::size_t>(i)].data(), 4);
        p.end();
        auto* b = new QPushButton;
        b->setObjectName(QStringLiteral("shape%1").arg(i));
        b->setIcon(QIcon(picture));
        b->setCheckable(true);
        shapeGroup->addButton(b, i);
        sl->addWidget(b, i / 4, i % 4);
    }
    layout->addWidget(shapes);
    auto* slantRow = new QHBoxLayout;
    slantRow->addWidget(new QLabel(qs(kSlant)));
    auto* slant = named(new QComboBox, "slant");
    for (int i = 1; i <= 9; ++i)
        slant->addItem(QString::number(i));
    slantRow->addWidget(slant);
    slantRow->addWidget(new QLabel(qs(kSlantRange)));
    slantRow->addStretch();
    layout->addLayout(slantRow);
    if (mode == Mode::Edit) {
        auto* buttons = new QDialogButtonBox;
        buttons->addButton(qs(pt::kOk), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
        buttons->addButton(qs(kCancel), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        frame->addWidget(buttons);
    }

    // Filling: the boxes' rules run on their one-decimal texts.
    m_form.Fill();
    const DecoratedTextForm::Shown s = m_form.shown();
    framesOnly->setChecked(s.framesOnly);
    vertical->setChecked(s.vertical);
    m_edit->setPlainText(shownText(s.text));
    size->setText(qs(s.sizeText));
    thickness->setText(qs(s.thicknessText));
    opacity->setText(qs(s.opacityText));
    if (QAbstractButton* b = shapeGroup->button(s.shape))
        b->setChecked(true);
    slant->setCurrentIndex(s.slantLine);
    ui::paintSample(m_innerSample, m_form.values().textColour);
    ui::paintSample(m_frameSample, m_form.values().frameColour);

    connect(m_edit, &QPlainTextEdit::textChanged, this, [this] {
        m_form.OnText(m_edit->toPlainText().toStdString());
        drawSample();
    });
    connect(quotations, &QComboBox::activated, this, [this, quotations](int line) {
        const std::optional<std::string> joined =
            m_form.OnQuotation(m_lines, storedText(m_edit->toPlainText().toStdString()), line);
        if (!joined)
            return;
        m_edit->setPlainText(shownText(*joined));
        quotations->setCurrentIndex(0);
        m_edit->setFocus();
    });
    connect(pick, &QPushButton::clicked, this, [this, size, vertical] {
        if (!m_form.OnPickFont())
            return;
        size->setText(qs(pf::formatFixed(m_form.values().font.m_size, 1)));
        const QSignalBlocker quiet(vertical);
        vertical->setChecked(false);
        drawSample();
    });
    connect(size, &QLineEdit::textEdited, this, [this](const QString& t) {
        m_form.OnHeightTyped(t.toStdString());
        drawSample();
    });
    connect(vertical, &QCheckBox::toggled, this, [this](bool on) {
        m_form.OnVertical(on);
        drawSample();
    });
    connect(innerButton, &QPushButton::clicked, this, [this] {
        if (m_form.OnColour(0)) {
            ui::paintSample(m_innerSample, m_form.values().textColour);
            drawSample();
        }
    });
    connect(outlineButton, &QPushButton::clicked, this, [this] {
        if (m_form.OnColour(1)) {
            ui::paintSample(m_frameSample, m_form.values().frameColour);
            drawSample();
        }
    });
    connect(opacity, &QLineEdit::textEdited, this, [this](const QString& t) {
        m_form.OnOpacityTyped(t.toStdString());
        drawSample();
    });
    connect(thickness, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (m_form.OnThicknessTyped(t.toStdString()))
            drawSample();
    });
    connect(framesOnly, &QCheckBox::toggled, this, [this](bool on) {
        m_form.OnFramesOnly(on);
        drawSample();
    });
    connect(shapeGroup, &QButtonGroup::idClicked, this, [this](int id) {
        m_form.OnShape(id);
        drawSample();
    });
    connect(slant, &QComboBox::activated, this, [this](int line) {
        m_form.OnSlant(line);
        drawSample();
    });
    drawSample();
    m_edit->setFocus();
}

void DecoratedTextPanel::accept()
{
    if (m_mode == Mode::Edit)
        QDialog::accept();
}

void DecoratedTextPanel::ClearText()
{
    m_form.ClearText();
    {
        const QSignalBlocker quiet(m_edit);
        m_edit->clear();
    }
    drawSample();
    m_edit->setFocus();
}

void DecoratedTextPanel::drawSample()
{
    const kov::tools::DecoratedTextValues& v = m_form.values();
    QPixmap picture(m_sample->size());
    picture.fill(palette().color(QPalette::Base));
    if (!v.text.empty()) {
        DeviceTransform t;
        t.originX = 0;
        t.originY = 5;
        const double perMm = logicalDpiX() / 25.4;
        t.scaleX.fill(perMm);
        t.scaleY.fill(perMm);
        t.paperScale = perMm;
        // The surface ends its painting before the picture is shown.
        {
            pf::PainterSurface surface(picture);
            CKovUnit::DrawTextPath(surface, t, v.font, v.text, v.frameThickness, v.shape, v.slant,
                                   v.framesOnly == 2 ? 2 : 1, {0, 0}, v.textColour, v.frameColour, v.opacity, 0);
        }
    }
    m_sample->setPixmap(picture);
}

} // namespace kov::dialogs
