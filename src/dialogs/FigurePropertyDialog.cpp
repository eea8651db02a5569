#include "dialogs/FigurePropertyDialog.h"

#include "dialogs/PropertyTexts.h"
#include "model/PlotInfo.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/PainterSurface.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {

using kov::model::kSectionPlotMenu;
using kov::model::kSectionUtility;
namespace pt = proptext;
namespace pf = kov::platform;

constexpr std::uint32_t rgb(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}

constexpr std::uint32_t kWhite = 0xFFFFFF;

std::string userColourKey(int cell) { return "ln_orgcolor_" + std::to_string(cell); }

QString qs(const char* s) { return QString::fromUtf8(s); }

} // namespace

const std::array<std::uint32_t, LinePropForm::kCells> LinePropForm::kBasicColours{
    rgb(0, 0, 0),       rgb(255, 0, 0),     rgb(0, 255, 0),     rgb(255, 255, 0),   rgb(0, 0, 255),
    rgb(255, 0, 255),   rgb(0, 255, 255),   rgb(255, 128, 0),   rgb(128, 128, 128), rgb(192, 64, 0),
    rgb(192, 192, 0),   rgb(192, 0, 192),   rgb(0, 0, 192),     rgb(255, 255, 255), rgb(255, 192, 192),
    rgb(192, 255, 192), rgb(255, 255, 192), rgb(192, 192, 255), rgb(255, 192, 255), rgb(192, 255, 255),
    rgb(255, 128, 255), rgb(192, 192, 192), rgb(255, 128, 128), rgb(224, 224, 224), rgb(128, 128, 255),
    rgb(0, 192, 192)};

LinePropForm::LinePropForm(CPlotInfo& plot, pf::Profile& profile, pf::Questions& questions, Mode mode, int kind)
    : m_plot(plot), m_profile(profile), m_questions(questions), m_mode(mode), m_kind(kind), m_slot(SlotOfKind(kind))
{
    RefreshControls();
}

int LinePropForm::SlotOfKind(int kind)
{
    if (kind == 0 || kind == 6) return 0;
    if (kind >= 1 && kind <= 4) return kind;
    return -1;
}

std::string LinePropForm::title() const
{
    return m_mode == Mode::ToolDefaults ? pt::kFigurePanelTitle : pt::kFigureSelectionTitle;
}

void LinePropForm::loadUserColours()
{
    for (int i = 0; i < kCells; ++i) {
        const std::string text = m_profile.GetProfileString(kSectionPlotMenu, userColourKey(i), "16777215");
        m_userColours[static_cast<std::size_t>(i)] = kov::model::parseColour(text) & 0xFFFFFF;
    }
    // The ring only ever holds 0-25: a stored count outside it starts the ring again at cell 0.
    const int cursor = m_profile.GetProfileInt(kSectionPlotMenu, "ln_orgcolor_cnt", 0);
    m_userCursor = cursor >= 0 && cursor < kCells ? cursor : 0;
}

void LinePropForm::RefreshControls()
{
    m_shown = Shown{};
    m_enabled = Enabled{};
    loadUserColours();
    if (m_slot < 0) {
        // A dimension has no style slot: everything shows, nothing takes input.
        m_enabled = Enabled{false, false, false, false, false, false, false, false, false, false, false, false, false};
        m_shown.lineType = m_shown.widthIndex = -1;
        m_shown.endMarksLabel = pt::kEndMarksLabel;
        m_shown.markSizeLabel = pt::kMarkSizeLabel;
        return;
    }
    const auto s = static_cast<std::size_t>(m_slot);
    const bool moyouAuto = m_profile.GetProfileInt(kSectionUtility, "zukei_moyou_auto", 0) == 1;
    if (m_slot == 0) {
        m_enabled.fillRadio = m_enabled.fillCheck = m_enabled.hatchCheck = false;
        m_enabled.gradientGroup = m_enabled.gradientCheck = m_enabled.direction = false;
        m_enabled.secondRadio = m_enabled.opacity = m_enabled.spacing = false;
    } else {
        if (m_plot.PlotNakaNuri[s]) {
            m_shown.fillChecked = true;
            m_shown.target = FillTarget;
        }
        if (m_kind == 4) {
            m_enabled.hatchCheck = m_enabled.spacing = false;
        } else if (m_mode == Mode::Selection) {
            m_enabled.hatchCheck = moyouAuto;
            m_shown.hatchChecked = moyouAuto && m_plot.PlotbHach[s] != 0;
            m_enabled.spacing = false;
        } else {
            m_shown.hatchChecked = m_plot.PlotbHach[s] != 0;
            m_enabled.spacing = !moyouAuto;
            if (!moyouAuto) m_shown.spacingText = m_profile.GetProfileString(kSectionUtility, "hach_kankaku_line", "3");
        }
    }
    const int code = m_plot.PlotGradiation[s];
    m_shown.gradientChecked = code % 100 == 1;
    const int degrees = code / 100;
    m_shown.direction = degrees >= 0 && degrees <= 315 && degrees % 45 == 0 ? degrees / 45 : 0;
    m_shown.opacityText = pf::formatInt(m_plot.PlotAlpha[s]);
    const int wide = m_plot.PlotLineWide[s];
    m_shown.widthIndex = wide >= 1 && wide <= CPlotInfo::kWidthCodes ? wide - 1 : -1;

    auto pick = [](int value, std::size_t count) { return value >= 0 && value < static_cast<int>(count) ? value : -1; };
    if (m_slot == 0) {
        m_shown.endMarksLabel = pt::kEndMarksLabel;
        m_shown.endMarkItems.assign(pt::kEndMarks.begin(), pt::kEndMarks.end());
        m_shown.endMark = pick(m_plot.PlotLineTanten[0], pt::kEndMarks.size());
        m_shown.markSizeLabel = pt::kMarkSizeLabel;
        m_shown.markSizeItems.assign(pt::kMarkSizes.begin(), pt::kMarkSizes.end());
        m_shown.markSize = pick(m_plot.PlotLineYaWide, pt::kMarkSizes.size());
    } else if (m_slot == 4) {
        m_shown.endMarksLabel = pt::kArcShapeLabel;
        m_shown.endMarkItems.assign(pt::kArcShapes.begin(), pt::kArcShapes.end());
        m_shown.endMark = pick(m_plot.PlotLineTanten[4], pt::kArcShapes.size());
        m_shown.markSizeLabel = pt::kMarkSizeLabel;
        m_enabled.markSize = false;
    } else {
        m_enabled.endMarks = m_enabled.markSize = false;
    }
    m_shown.lineType = pick(m_plot.PlotLineType[s], pt::kLineTypes.size());
}

void LinePropForm::OnFillChecked(bool on)
{
    if (m_slot < 0) return;
    m_plot.PlotNakaNuri[static_cast<std::size_t>(m_slot)] = on ? 1 : 0;
    m_shown.fillChecked = on;
    m_shown.target = on ? FillTarget : LineTarget;
}

void LinePropForm::OnTargetChosen(Target target)
{
    m_shown.target = target;
    if (m_slot < 0 || target != FillTarget) return;
    m_plot.PlotNakaNuri[static_cast<std::size_t>(m_slot)] = 1;
    m_shown.fillChecked = true;
}

void LinePropForm::OnHatchChecked(bool on)
{
    m_shown.hatchChecked = on;
    if (m_slot < 0) return;
    m_plot.PlotbHach[static_cast<std::size_t>(m_slot)] = on ? 1 : 0;
}

void LinePropForm::OnGradientChecked(bool on)
{
    m_shown.gradientChecked = on;
    if (m_slot < 0) return;
    int& code = m_plot.PlotGradiation[static_cast<std::size_t>(m_slot)];
    code = code / 100 * 100 + (on ? 1 : 0);
}

void LinePropForm::OnDirectionChosen(int index)
{
    m_shown.direction = index;
    if (m_slot < 0 || index < 0 || index >= static_cast<int>(pt::kDirections.size())) return;
    int& code = m_plot.PlotGradiation[static_cast<std::size_t>(m_slot)];
    // A direction chosen while the gradient is off is not kept.
    if (code % 100 == 1) code = index * 45 * 100 + 1;
}

void LinePropForm::OnOpacityEdited(const std::string& text)
{
    m_shown.opacityText = text;
    if (m_slot < 0) return;
    const int value = pf::parseInt(text);
    if (value >= 0 && value <= 100) m_plot.PlotAlpha[static_cast<std::size_t>(m_slot)] = value;
}

void LinePropForm::OnLineTypeChosen(int index)
{
    m_shown.lineType = index;
    if (m_slot < 0) return;
    m_plot.PlotLineType[static_cast<std::size_t>(m_slot)] = index < 0 ? 0 : index;
}

void LinePropForm::OnWidthChosen(int index)
{
    m_shown.widthIndex = index;
    if (m_slot < 0) return;
    m_plot.PlotLineWide[static_cast<std::size_t>(m_slot)] = index < 0 ? 1 : index + 1;
}

void LinePropForm::OnEndMarkChosen(int index)
{
    m_shown.endMark = index;
    if (m_slot != 0 && m_slot != 4) return;
    m_plot.PlotLineTanten[static_cast<std::size_t>(m_slot)] = index < 0 ? 0 : index;
}

void LinePropForm::OnMarkSizeChosen(int index)
{
    m_shown.markSize = index;
    if (m_slot != 0) return;
    m_plot.PlotLineYaWide = index < 0 ? 0 : index;
}

void LinePropForm::OnSpacingEdited(const std::string& text)
{
    m_shown.spacingText = text;
    if (m_slot < 0 || !m_shown.hatchChecked) return;
    const double value = pf::parseDouble(text);
    if (value >= 1.0 && value < 30.0)
        m_profile.WriteProfileString(kSectionUtility, "hach_kankaku_line", pf::formatFixed(value, 1));
}

void LinePropForm::OnSpacingLeft(const std::string& text)
{
    if (m_slot < 0 || !m_shown.hatchChecked) return;
    const double value = pf::parseDouble(text);
    if (!(value >= 1.0 && value < 30.0)) m_questions.message(pt::kHatchSpacingRefused);
}

int LinePropForm::PaletteCell(int x, int y, int width, int height)
{
    const int w = width / kColumns, h = height / 2;
    if (w <= 0 || h <= 0 || x < 0 || y < 0) return -1;
    const int column = x / w, row = y / h;
    // The strip right of the thirteenth column and below the second row belongs to no cell.
    if (column >= kColumns || row >= 2) return -1;
    if (x == column * w || y == row * h) return -1;
    return row * kColumns + column;
}

int LinePropForm::HatchCellCode(int x, int y, int width, int height)
{
    const int w = width / static_cast<int>(kHatchCells.size());
    if (w <= 0 || x <= 0 || y <= 0 || y >= height) return -1;
    const int column = x / w;
    if (column >= static_cast<int>(kHatchCells.size()) || x == column * w) return -1;
    return kHatchCells[static_cast<std::size_t>(column)];
}

void LinePropForm::setColour(std::uint32_t colour)
{
    if (m_slot < 0) return;
    const auto s = static_cast<std::size_t>(m_slot);
    switch (m_shown.target) {
    case LineTarget: m_plot.PlotColor[s] = colour; break;
    case FillTarget:
        if (m_shown.fillChecked) m_plot.PlotNakaColor[s] = colour;
        break;
    case SecondTarget:
        if (m_shown.fillChecked) m_plot.PlotNakaColor2[s] = colour;
        break;
    }
}

void LinePropForm::ClickBasicCell(int cell)
{
    if (m_slot < 0 || cell < 0 || cell >= kCells) return;
    setColour(kBasicColours[static_cast<std::size_t>(cell)]);
}

void LinePropForm::ClickUserCell(int cell)
{
    if (m_slot < 0 || cell < 0 || cell >= kCells) return;
    setColour(m_userColours[static_cast<std::size_t>(cell)]);
    m_userCursor = cell;
    m_profile.WriteProfileInt(kSectionPlotMenu, "ln_orgcolor_cnt", cell);
}

void LinePropForm::ClickHatchCode(int code)
{
    if (m_slot < 0 || code < 0 || !m_shown.hatchChecked) return;
    m_plot.PlotHachT[static_cast<std::size_t>(m_slot)] = code;
}

bool LinePropForm::PickOtherColour()
{
    std::uint32_t initial = 0;
    if (m_slot >= 0) {
        const auto s = static_cast<std::size_t>(m_slot);
        if (m_shown.target == LineTarget) initial = m_plot.PlotColor[s];
        else if (m_shown.fillChecked) initial = m_plot.PlotNakaColor[s];
    }
    pf::CustomColors custom{};
    for (std::size_t i = 0; i < custom.size(); ++i) custom[i] = m_userColours[i];
    const std::optional<std::uint32_t> chosen = m_questions.chooseColor(initial, &custom);
    if (!chosen) return false;
    const std::uint32_t colour = *chosen & 0xFFFFFF;
    setColour(colour);
    const int n = m_userCursor;
    m_userColours[static_cast<std::size_t>(n)] = colour;
    m_profile.WriteProfileString(kSectionPlotMenu, userColourKey(n), kov::model::colourText(colour));
    m_userCursor = n + 1 < kCells ? n + 1 : 0;
    m_profile.WriteProfileInt(kSectionPlotMenu, "ln_orgcolor_cnt", m_userCursor);
    return true;
}

void LinePropForm::DrawSample(pf::Surface& dc, int width, int height, const SwatchEnvironment& env) const
{
    switch (m_kind) {
    case 0: case 6: m_plot.DrawLineSwatch(dc, 0, 0, width, height, env); break;
    case 1: m_plot.DrawRectangleSwatch(dc, 0, 0, width, height, env); break;
    case 2: m_plot.DrawPolygonSwatch(dc, 0, 0, width, height, env); break;
    case 3: m_plot.DrawCircleSwatch(dc, 0, 0, width, height, env); break;
    case 4: m_plot.DrawArcSwatch(dc, 0, 0, width, height, env); break;
    default: break;
    }
}

void LinePropForm::DrawPalette(pf::Surface& dc, int width, int height, const std::array<std::uint32_t, kCells>& colours,
                               int framedCell)
{
    const int w = width / kColumns, h = height / 2;
    for (int i = 0; i < kCells; ++i) {
        const int x = (i % kColumns) * w, y = (i / kColumns) * h;
        dc.fillRect({x, y, x + w, y + h}, pf::Brush::solid(colours[static_cast<std::size_t>(i)]));
    }
    const pf::Pen black{pf::PenStyle::Solid, 1, 0};
    for (int c = 0; c < kColumns; ++c) dc.line({c * w, 0}, {c * w, 2 * h}, black);
    dc.line({0, 0}, {kColumns * w, 0}, black);
    dc.line({0, h}, {kColumns * w, h}, black);
    if (framedCell >= 0 && framedCell < kCells) {
        const int x = (framedCell % kColumns) * w, y = (framedCell / kColumns) * h;
        dc.rectangle({x + 2, y + 2, x + w - 1, y + h - 1}, pf::Pen{pf::PenStyle::Dot, 1, kWhite}, pf::Brush::null(),
                     pf::Background::opaqueColor(0));
    }
}

void LinePropForm::DrawHatchPicture(pf::Surface& dc, int width, int height)
{
    const int w = width / static_cast<int>(kHatchCells.size());
    for (std::size_t i = 0; i < kHatchCells.size(); ++i) {
        const int x = static_cast<int>(i) * w;
        dc.rectangle({x, 0, x + w, height}, pf::Pen{pf::PenStyle::Solid, 1, 0},
                     pf::Brush::hatched(static_cast<pf::HatchStyle>(kHatchCells[i]), 0),
                     pf::Background::opaqueColor(kWhite));
    }
}

// -- the dialog -------------------------------------------------------------------------------------------

CLinePropSetDg::CLinePropSetDg(CPlotInfo& plot, pf::Profile& profile, pf::Questions& questions,
                               LinePropForm::Mode mode, int kind, SwatchEnvironment env, QWidget* parent)
    : QDialog(parent), m_form(plot, profile, questions, mode, kind), m_env(std::move(env))
{
    setObjectName(QStringLiteral("figureProperties"));
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    m_sample = new QLabel;
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setFixedSize(150, 70);
    m_sample->setFrameShape(QFrame::Box);
    left->addWidget(m_sample);
    auto* lists = new QGridLayout;
    auto addList = [&](int row, QLabel* label, QComboBox*& combo, const char* name) {
        combo = new QComboBox;
        combo->setObjectName(QString::fromUtf8(name));
        lists->addWidget(label, row, 0);
        lists->addWidget(combo, row, 1);
    };
    addList(0, new QLabel(qs(pt::kLineTypeLabel)), m_lineType, "lineType");
    for (const char* t : pt::kLineTypes) m_lineType->addItem(qs(t));
    addList(1, new QLabel(qs(pt::kWidthTypeLabel)), m_width, "widthType");
    for (int i = 1; i <= CPlotInfo::kWidthCodes; ++i) m_width->addItem(QString::number(i));
    m_endMarksLabel = new QLabel;
    m_endMarksLabel->setObjectName(QStringLiteral("endMarksLabel"));
    addList(2, m_endMarksLabel, m_endMarks, "endMarks");
    m_markSizeLabel = new QLabel;
    m_markSizeLabel->setObjectName(QStringLiteral("markSizeLabel"));
    addList(3, m_markSizeLabel, m_markSize, "markSize");
    left->addLayout(lists);
    left->addStretch(1);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    auto* colourBox = new QGroupBox(qs(pt::kColourGroup));
    auto* cl = new QVBoxLayout(colourBox);
    m_targets = new QButtonGroup(this);
    const char* targetNames[3] = {"lineColourTarget", "fillColourTarget", "secondColourTarget"};
    const char* targetTexts[3] = {pt::kLineColourRadio, pt::kFillColourRadio, pt::kSecondColourRadio};
    for (int i = 0; i < 3; ++i) {
        m_targetButtons[i] = new QRadioButton(qs(targetTexts[i]));
        m_targetButtons[i]->setObjectName(QString::fromUtf8(targetNames[i]));
        m_targets->addButton(m_targetButtons[i], i);
        cl->addWidget(m_targetButtons[i]);
    }
    m_fill = new QCheckBox(qs(pt::kFillCheck));
    m_fill->setObjectName(QStringLiteral("fill"));
    cl->addWidget(m_fill);
    top->addWidget(colourBox);
    auto* gradientBox = new QGroupBox(qs(pt::kGradientGroup));
    m_gradientGroup = gradientBox;
    auto* gl = new QVBoxLayout(gradientBox);
    m_gradient = new QCheckBox(qs(pt::kGradientOn));
    m_gradient->setObjectName(QStringLiteral("gradient"));
    m_direction = new QComboBox;
    m_direction->setObjectName(QStringLiteral("direction"));
    for (const char* d : pt::kDirections) m_direction->addItem(qs(d));
    gl->addWidget(m_gradient);
    gl->addWidget(m_direction);
    auto* opacityRow = new QHBoxLayout;
    m_opacityLabel = new QLabel(qs(pt::kOpacityLabel));
    m_opacity = new QLineEdit;
    m_opacity->setObjectName(QStringLiteral("opacity"));
    m_opacity->setMaxLength(3);
    m_opacity->setFixedWidth(48);
    m_opacity->setInputMask(QString());
    m_percent = new QLabel(qs(pt::kPercent));
    opacityRow->addWidget(m_opacityLabel);
    opacityRow->addWidget(m_opacity);
    opacityRow->addWidget(m_percent);
    opacityRow->addStretch(1);
    gl->addLayout(opacityRow);
    top->addWidget(gradientBox);
    right->addLayout(top);

    auto makePicture = [](const char* name, int w, int h) {
        auto* l = new QLabel;
        l->setObjectName(QString::fromUtf8(name));
        l->setFixedSize(w, h);
        return l;
    };
    m_basic = makePicture("basicPalette", 13 * 22 + 1, 2 * 20 + 1);
    m_user = makePicture("userPalette", 13 * 22 + 1, 2 * 20 + 1);
    right->addWidget(m_basic);
    right->addWidget(m_user);
    m_other = new QPushButton(qs(pt::kOtherColour));
    m_other->setObjectName(QStringLiteral("otherColour"));
    right->addWidget(m_other, 0, Qt::AlignLeft);
    auto* hatchRow = new QHBoxLayout;
    m_hatchCheck = new QCheckBox(qs(pt::kHatchCheck));
    m_hatchCheck->setObjectName(QStringLiteral("hatch"));
    m_spacing = new QLineEdit;
    m_spacing->setObjectName(QStringLiteral("hatchSpacing"));
    m_spacing->setFixedWidth(60);
    hatchRow->addWidget(m_hatchCheck);
    hatchRow->addWidget(m_spacing);
    hatchRow->addWidget(new QLabel(qs(pt::kMm)));
    hatchRow->addStretch(1);
    right->addLayout(hatchRow);
    m_hatch = makePicture("hatchPicture", 6 * 30 + 1, 24);
    right->addWidget(m_hatch);
    auto* buttons = new QDialogButtonBox;
    m_ok = buttons->addButton(qs(pt::kOk), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(qs(pt::kCancel), QDialogButtonBox::RejectRole);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    right->addWidget(buttons);
    layout->addLayout(right);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QLabel* picture : {m_basic, m_user, m_hatch}) picture->installEventFilter(this);
    m_spacing->installEventFilter(this);

    auto on = [this](auto f) {
        return [this, f](auto... args) {
            if (m_syncing) return;
            f(args...);
            changed();
        };
    };
    connect(m_lineType, &QComboBox::activated, this, on([this](int i) { m_form.OnLineTypeChosen(i); }));
    connect(m_width, &QComboBox::activated, this, on([this](int i) { m_form.OnWidthChosen(i); }));
    connect(m_endMarks, &QComboBox::activated, this, on([this](int i) { m_form.OnEndMarkChosen(i); }));
    connect(m_markSize, &QComboBox::activated, this, on([this](int i) { m_form.OnMarkSizeChosen(i); }));
    connect(m_direction, &QComboBox::activated, this, on([this](int i) { m_form.OnDirectionChosen(i); }));
    connect(m_targets, &QButtonGroup::idClicked, this,
            on([this](int id) { m_form.OnTargetChosen(static_cast<LinePropForm::Target>(id)); }));
    connect(m_fill, &QCheckBox::clicked, this, on([this](bool b) { m_form.OnFillChecked(b); }));
    connect(m_gradient, &QCheckBox::clicked, this, on([this](bool b) { m_form.OnGradientChecked(b); }));
    connect(m_hatchCheck, &QCheckBox::clicked, this, on([this](bool b) { m_form.OnHatchChecked(b); }));
    connect(m_opacity, &QLineEdit::textEdited, this,
            on([this](const QString& t) { m_form.OnOpacityEdited(t.toStdString()); }));
    connect(m_spacing, &QLineEdit::textEdited, this,
            on([this](const QString& t) { m_form.OnSpacingEdited(t.toStdString()); }));
    connect(m_other, &QPushButton::clicked, this, on([this](bool) { m_form.PickOtherColour(); }));
    Sync();
}

void CLinePropSetDg::changed()
{
    Sync();
    if (onChanged) onChanged();
}

void CLinePropSetDg::Sync()
{
    m_syncing = true;
    const LinePropForm::Shown& s = m_form.shown();
    const LinePropForm::Enabled& e = m_form.enabled();
    setWindowTitle(QString::fromStdString(m_form.title()));
    m_ok->setVisible(m_form.okCancelShown());
    m_cancel->setVisible(m_form.okCancelShown());
    m_targetButtons[s.target]->setChecked(true);
    m_targetButtons[1]->setEnabled(e.fillRadio);
    m_targetButtons[2]->setEnabled(e.secondRadio);
    m_targetButtons[0]->setEnabled(e.palettes);
    m_fill->setChecked(s.fillChecked);
    m_fill->setEnabled(e.fillCheck);
    m_gradientGroup->setEnabled(e.gradientGroup);
    m_gradient->setChecked(s.gradientChecked);
    m_gradient->setEnabled(e.gradientCheck);
    m_direction->setCurrentIndex(s.direction);
    m_direction->setEnabled(e.direction);
    if (m_opacity->text().toStdString() != s.opacityText) m_opacity->setText(QString::fromStdString(s.opacityText));
    for (QWidget* w : {static_cast<QWidget*>(m_opacity), static_cast<QWidget*>(m_opacityLabel),
                       static_cast<QWidget*>(m_percent)})
        w->setEnabled(e.opacity);
    m_hatchCheck->setChecked(s.hatchChecked);
    m_hatchCheck->setEnabled(e.hatchCheck);
    if (m_spacing->text().toStdString() != s.spacingText) m_spacing->setText(QString::fromStdString(s.spacingText));
    m_spacing->setEnabled(e.spacing);
    m_lineType->setCurrentIndex(s.lineType);
    m_lineType->setEnabled(e.styleLists);
    m_width->setCurrentIndex(s.widthIndex);
    m_width->setEnabled(e.styleLists);
    m_endMarksLabel->setText(QString::fromStdString(s.endMarksLabel));
    QStringList marks;
    for (const std::string& m : s.endMarkItems) marks << QString::fromStdString(m);
    QStringList old;
    for (int i = 0; i < m_endMarks->count(); ++i) old << m_endMarks->itemText(i);
    if (old != marks) {
        m_endMarks->clear();
        m_endMarks->addItems(marks);
    }
    m_endMarks->setCurrentIndex(s.endMark);
    m_endMarks->setEnabled(e.endMarks);
    m_markSizeLabel->setText(QString::fromStdString(s.markSizeLabel));
    if (m_markSize->count() != static_cast<int>(s.markSizeItems.size())) {
        m_markSize->clear();
        for (const std::string& m : s.markSizeItems) m_markSize->addItem(QString::fromStdString(m));
    }
    m_markSize->setCurrentIndex(s.markSize);
    m_markSize->setEnabled(e.markSize);
    m_other->setEnabled(e.palettes);
    m_syncing = false;
    drawPictures();
}

void CLinePropSetDg::drawPictures()
{
    auto paint = [](QLabel* label, auto draw) {
        QImage image(label->size(), QImage::Format_RGB32);
        image.fill(label->palette().color(QPalette::Base));
        {
            pf::PainterSurface dc(image);
            draw(dc, image.width(), image.height());
        }
        label->setPixmap(QPixmap::fromImage(image));
    };
    paint(m_sample, [this](pf::Surface& dc, int w, int h) { m_form.DrawSample(dc, w, h, m_env); });
    paint(m_basic, [](pf::Surface& dc, int w, int h) {
        LinePropForm::DrawPalette(dc, w, h, LinePropForm::kBasicColours, -1);
    });
    paint(m_user, [this](pf::Surface& dc, int w, int h) {
        LinePropForm::DrawPalette(dc, w, h, m_form.userColours(), m_form.userCursor());
    });
    paint(m_hatch, [](pf::Surface& dc, int w, int h) { LinePropForm::DrawHatchPicture(dc, w, h); });
}

bool CLinePropSetDg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        auto* label = qobject_cast<QLabel*>(watched);
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (label && m_form.enabled().palettes) {
            const int w = label->width(), h = label->height();
            if (label == m_basic) m_form.ClickBasicCell(LinePropForm::PaletteCell(p.x(), p.y(), w, h));
            else if (label == m_user) m_form.ClickUserCell(LinePropForm::PaletteCell(p.x(), p.y(), w, h));
            else if (label == m_hatch) m_form.ClickHatchCode(LinePropForm::HatchCellCode(p.x(), p.y(), w, h));
            changed();
            return true;
        }
    }
    if (watched == m_spacing && event->type() == QEvent::FocusOut && !m_syncing && isVisible()) {
        // Only a move of the focus inside the dialog: a message box taking the focus says nothing again.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_form.OnSpacingLeft(m_spacing->text().toStdString());
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kov::dialogs
