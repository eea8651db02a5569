// The fittings palette: its rules (FittingsPaletteForm) and its window; the fitting size dialog.

#include "dialogs/FittingsPalette.h"

#include "building/Fittings.h"
#include "dialogs/LibraryThumbnails.h"
#include "dialogs/PalettePages.h"
#include "dialogs/PartsPalette.h"
#include "dialogs/ThumbnailGrid.h"
#include "model/SelectionRecord.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "tools/ToolMachine.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <system_error>

namespace fs = std::filesystem;

namespace kov::dialogs {

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";
constexpr std::string_view kPlotMenu = "KOV_T_PlotMenu";
namespace kb = kov::building;
namespace pf = kov::platform;

QString u(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

} // namespace

FittingsPaletteForm::FittingsPaletteForm(kov::tools::ToolMachine& machine, pf::Profile& profile,
                                         pf::Questions& questions, fs::path root)
    : m_machine(machine), m_profile(profile), m_questions(questions), m_root(std::move(root)),
      m_previewPlot(machine.host().Plot())
{
    m_nCells = profile.GetProfileInt(kPlotMenu, "tategu_hyouzi_kazu", 0) != 0 ? 15 : 8;
}

bool FittingsPaletteForm::ReloadFolders()
{
    bool any = false;
    std::error_code ec;
    for (int kind = 1; kind <= kb::kFittingKinds; ++kind)
        any = any || fs::is_directory(kb::FittingKindFolder(m_root, kind), ec);
    if (!any) {
        m_questions.message(kBadLibrary);
        return false;
    }
    m_nKind = m_profile.GetProfileInt(kUtility, "tateg_selectidx", -1);
    m_Fittings.clear();
    m_nFitting = -1;
    m_nPage = -1;
    m_machine.host().Selection().Clear();
    if (m_nKind >= 0 && m_nKind < kb::kFittingKinds && fs::is_directory(kb::FittingKindFolder(m_root, m_nKind + 1), ec)) {
        ListFittingFiles();
        m_nPage = RestoredPage(m_profile.GetProfileInt(kUtility, "tateg_nowpage", 0), m_nCells, m_Fittings.size());
        m_machine.m_Fitting.kind = m_nKind + 1;
    } else {
        m_nKind = -1;
    }
    return true;
}

void FittingsPaletteForm::ListFittingFiles()
{
    m_Fittings.clear();
    if (m_nKind < 0) return;
    m_Fittings = kb::ListFittings(kb::FittingKindFolder(m_root, m_nKind + 1));
    m_nPage = 0;
}

int FittingsPaletteForm::CellFitting(int cell) const
{
    return PageCellIndex(m_nPage, m_nCells, cell, m_Fittings.size());
}

std::string FittingsPaletteForm::CellName(int cell) const
{
    const int index = CellFitting(cell);
    return index < 0 ? std::string() : m_Fittings[static_cast<std::size_t>(index)].label;
}

bool FittingsPaletteForm::NextEnabled() const
{
    return PageHasNext(m_nPage, m_nCells, m_Fittings.size());
}

bool FittingsPaletteForm::OptionsEnabled() const { return kb::FittingKindHasOptions(m_nKind + 1); }

bool FittingsPaletteForm::DrawThumbnail(pf::Surface& dc, int index, const DeviceRect& cell, int dpi)
{
    if (index < 0 || index >= static_cast<int>(m_Fittings.size())) return false;
    const CKovUnit* part = m_thumbnails.Get(m_Fittings[static_cast<std::size_t>(index)].path);
    if (!part || part->m_Groups.empty()) return false;
    DrawLibraryThumbnail(dc, *part, m_previewPlot, cell, 100, dpi);
    return true;
}

void FittingsPaletteForm::ChooseKind(int position)
{
    if (position < 0 || position >= kb::kFittingKinds) return;
    m_nKind = position;
    m_machine.m_Fitting.kind = position + 1;
    ListFittingFiles();
    // The fitting index stays: the same cell of the new kind is the one placed.
    if (m_nFitting >= 0 && m_nFitting < static_cast<int>(m_Fittings.size()))
        m_machine.m_Fitting.number = m_Fittings[static_cast<std::size_t>(m_nFitting)].number;
    ResetFittingOptions();
}

void FittingsPaletteForm::ClickCell(int cell)
{
    if (m_nKind < 0 || m_nPage < 0 || cell < 0 || cell >= m_nCells) return;
    m_nFitting = m_nPage * m_nCells + cell;
    m_machine.m_Fitting.kind = m_nKind + 1;
    // An empty cell chooses nothing to place; the tool says so at its next click.
    m_machine.m_Fitting.number = m_nFitting < static_cast<int>(m_Fittings.size())
                                     ? m_Fittings[static_cast<std::size_t>(m_nFitting)].number
                                     : 0;
}

void FittingsPaletteForm::PrevPage()
{
    if (PrevEnabled()) --m_nPage;
}

void FittingsPaletteForm::NextPage()
{
    if (NextEnabled()) ++m_nPage;
}

void FittingsPaletteForm::SetWidthMode(int mode) { m_machine.m_Fitting.widthMode = mode == 1 ? 1 : 0; }

void FittingsPaletteForm::OnWidthText(const std::string& text)
{
    // Only a width a fitting can have is taken.
    const double v = pf::parseDouble(text);
    if (v > 0 && v <= 30000) m_machine.m_Fitting.width = v;
}

void FittingsPaletteForm::SetThicknessMode(int mode) { m_machine.m_Fitting.thicknessMode = mode == 1 ? 1 : 0; }

void FittingsPaletteForm::OnThicknessText(const std::string& text)
{
    const double v = pf::parseDouble(text);
    if (v > 0 && v <= 30000) m_machine.m_Fitting.thickness = v;
}

std::string FittingsPaletteForm::WidthText() const { return pf::formatFixed(m_machine.m_Fitting.width, 2); }
std::string FittingsPaletteForm::ThicknessText() const { return pf::formatFixed(m_machine.m_Fitting.thickness, 2); }

void FittingsPaletteForm::SetOnWallCore(bool wallCore)
{
    m_profile.WriteProfileInt(kUtility, "tateg_seti", wallCore ? 0 : 1);
    CPlotInfo& plot = m_machine.host().Plot();
    plot.PlotWallPita = wallCore ? 1 : 0;
    plot.PlotLinePita = wallCore ? 0 : 1;
    if (onSnapsChanged) onSnapsChanged();
}

bool FittingsPaletteForm::OnWallCore() const { return m_profile.GetProfileInt(kUtility, "tateg_seti", 0) == 0; }

void FittingsPaletteForm::OnOptionBox(int box, bool ticked)
{
    int& code = m_machine.m_Fitting.optionCode;
    int units = code % 10, screen = (code / 10) % 10 == 1 ? 10 : 0;
    if (box == 3) {
        screen = ticked ? 10 : 0;
    } else if (box >= 0 && box < 3) {
        if (ticked) units = box + 1;
        else if (units == box + 1) units = 0;
    }
    code = units + screen;
}

bool FittingsPaletteForm::OptionTicked(int box) const
{
    const int code = m_machine.m_Fitting.optionCode;
    if (box == 3) return (code / 10) % 10 == 1;
    return code % 10 == box + 1;
}

void FittingsPaletteForm::ResetFittingOptions() { m_machine.m_Fitting.optionCode = 0; }

void FittingsPaletteForm::SetColour(std::uint32_t colour) { m_machine.m_Fitting.colour = colour; }
std::uint32_t FittingsPaletteForm::Colour() const { return m_machine.m_Fitting.colour; }
const kb::FittingChoice& FittingsPaletteForm::Choice() const { return m_machine.m_Fitting; }

void FittingsPaletteForm::OnCancel()
{
    m_profile.WriteProfileInt(kUtility, "tateg_selectidx", m_nKind);
    m_profile.WriteProfileInt(kUtility, "tateg_nowpage", m_nPage);
    ResetFittingOptions();
    m_machine.m_ToolPoints.clear();
    m_machine.host().ToolMode() = 0;
    m_machine.host().RedrawAll();
}

// -- the window -----------------------------------------------------------------------------------------

namespace {
constexpr int kCellWidth = 96;
constexpr int kCellHeight = 72;
} // namespace

FittingsPalette::FittingsPalette(kov::tools::ToolMachine& machine, pf::Profile& profile, pf::Questions& questions,
                                 fs::path root, QWidget* parent)
    : QDialog(parent), m_form(machine, profile, questions, std::move(root))
{
    setObjectName(QStringLiteral("fittingsPalette"));
    setWindowFlag(Qt::Tool);
    setWindowTitle(QStringLiteral("建具配置"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    m_kinds = new QListWidget;
    for (std::string_view name : kb::kFittingKindNames) m_kinds->addItem(u(name));
    m_kinds->setFixedHeight(120);
    layout->addWidget(m_kinds);

    const bool fifteen = m_form.m_nCells == 15;
    const int w = fifteen ? kCellWidth * 2 / 3 : kCellWidth, h = fifteen ? kCellHeight * 4 / 5 : kCellHeight;
    m_grid = new ThumbnailGrid(m_form.m_nCells, m_form.Columns(), QSize(w, h));
    m_grid->onPressed = [this](int cell) {
        m_form.ClickCell(cell);
        Refresh();
    };
    layout->addWidget(m_grid);
    auto* pages = new QHBoxLayout;
    m_prev = new QPushButton(QStringLiteral("<<前ページ"));
    m_next = new QPushButton(QStringLiteral("次ページ>>"));
    pages->addWidget(m_prev);
    pages->addWidget(m_next);
    layout->addLayout(pages);

    auto modeGroup = [this](const char* title, const char* zero, const char* one, QButtonGroup*& group,
                            QLineEdit** edit) {
        auto* box = new QGroupBox(QString::fromUtf8(title));
        auto* row = new QHBoxLayout(box);
        group = new QButtonGroup(this);
        auto* a = new QRadioButton(QString::fromUtf8(zero));
        auto* b = new QRadioButton(QString::fromUtf8(one));
        group->addButton(a, 0);
        group->addButton(b, 1);
        row->addWidget(a);
        row->addWidget(b);
        if (edit) {
            *edit = new QLineEdit;
            (*edit)->setFixedWidth(70);
            row->addWidget(*edit);
        }
        return box;
    };
    layout->addWidget(modeGroup("幅", "マウス", "値", m_widthMode, &m_width));
    layout->addWidget(modeGroup("厚み", "壁厚", "値", m_thicknessMode, &m_thickness));
    layout->addWidget(modeGroup("設置", "壁芯", "角", m_placement, nullptr));
    auto* options = new QHBoxLayout;
    const char* optionNames[] = {"雨戸", "シャッタ", "格子", "網戸"};
    for (int i = 0; i < 4; ++i) {
        m_options[static_cast<std::size_t>(i)] = new QCheckBox(QString::fromUtf8(optionNames[i]));
        options->addWidget(m_options[static_cast<std::size_t>(i)]);
        connect(m_options[static_cast<std::size_t>(i)], &QCheckBox::toggled, this, [this, i](bool on) {
            if (m_filling) return;
            m_form.OnOptionBox(i, on);
            syncControls();
        });
    }
    layout->addLayout(options);
    auto* colourBox = new QGroupBox(QStringLiteral("線色"));
    auto* colourRow = new QHBoxLayout(colourBox);
    m_colour = new QLabel;
    m_colour->setFixedSize(40, 16);
    m_colour->setFrameShape(QFrame::Box);
    auto* pick = new QPushButton(QStringLiteral("▼"));
    colourRow->addWidget(m_colour);
    colourRow->addWidget(pick);
    colourRow->addStretch();
    layout->addWidget(colourBox);

    connect(m_kinds, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_filling) return;
        m_form.ChooseKind(row);
        Refresh();
    });
    connect(m_prev, &QPushButton::clicked, this, [this] {
        m_form.PrevPage();
        Refresh();
    });
    connect(m_next, &QPushButton::clicked, this, [this] {
        m_form.NextPage();
        Refresh();
    });
    connect(m_widthMode, &QButtonGroup::idClicked, this, [this](int id) {
        m_form.SetWidthMode(id);
        syncControls();
    });
    connect(m_thicknessMode, &QButtonGroup::idClicked, this, [this](int id) {
        m_form.SetThicknessMode(id);
        syncControls();
    });
    connect(m_placement, &QButtonGroup::idClicked, this, [this](int id) { m_form.SetOnWallCore(id == 0); });
    connect(m_width, &QLineEdit::textEdited, this, [this](const QString& t) { m_form.OnWidthText(t.toStdString()); });
    connect(m_thickness, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_form.OnThicknessText(t.toStdString()); });
    connect(pick, &QPushButton::clicked, this, [this, &questions] {
        if (const auto c = questions.chooseColor(m_form.Colour())) {
            m_form.SetColour(*c);
            syncControls();
        }
    });
}

bool FittingsPalette::Open()
{
    if (!m_loaded) {
        if (!m_form.ReloadFolders()) return false;
        m_loaded = true;
    }
    Refresh();
    show();
    raise();
    return true;
}

void FittingsPalette::syncControls()
{
    m_filling = true;
    const kb::FittingChoice& f = m_form.Choice();
    if (m_kinds->currentRow() != m_form.m_nKind) m_kinds->setCurrentRow(m_form.m_nKind);
    m_widthMode->button(f.widthMode == 1 ? 1 : 0)->setChecked(true);
    m_thicknessMode->button(f.thicknessMode == 1 ? 1 : 0)->setChecked(true);
    m_placement->button(m_form.OnWallCore() ? 0 : 1)->setChecked(true);
    m_width->setEnabled(f.widthMode == 1);
    m_thickness->setEnabled(f.thicknessMode == 1);
    // The edits are written only when they do not hold what the user is typing.
    if (!m_width->hasFocus()) m_width->setText(u(m_form.WidthText()));
    if (!m_thickness->hasFocus()) m_thickness->setText(u(m_form.ThicknessText()));
    for (int i = 0; i < 4; ++i) {
        m_options[static_cast<std::size_t>(i)]->setEnabled(m_form.OptionsEnabled());
        m_options[static_cast<std::size_t>(i)]->setChecked(m_form.OptionTicked(i));
    }
    const std::uint32_t c = m_form.Colour();
    m_colour->setStyleSheet(QStringLiteral("background-color: rgb(%1,%2,%3)").arg(c & 0xFF).arg((c >> 8) & 0xFF).arg((c >> 16) & 0xFF));
    m_prev->setEnabled(m_form.PrevEnabled());
    m_next->setEnabled(m_form.NextEnabled());
    m_filling = false;
}

void FittingsPalette::Refresh()
{
    syncControls();
    const int chosen = m_form.m_nPage >= 0 ? m_form.m_nFitting - m_form.m_nPage * m_form.m_nCells : -1;
    m_grid->fill(
        chosen,
        [this](int cell, kov::platform::Surface& surface, const DeviceRect& rect, int dpi) {
            m_form.DrawThumbnail(surface, m_form.CellFitting(cell), rect, dpi);
        },
        [this](int cell) { return m_form.CellName(cell); });
}

QRect FittingsPalette::cellRect(int cell) const { return m_grid->cellRect(cell); }

void FittingsPalette::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        hide();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FittingsPalette::reject()
{
    m_form.OnCancel();
    hide();
    if (onCancelled) onCancelled();
}

// -- the fitting size dialog -------------------------------------------------------------------------------

FittingSizeForm::FittingSizeForm(double width, double depth)
    : m_strWidth(pf::formatFixed(width, 1)), m_strDepth(pf::formatFixed(depth, 1)), m_dWidth(width), m_dDepth(depth)
{
}

std::string FittingSizeForm::OnChange()
{
    const double w = pf::parseDouble(m_strWidth);
    if (!(w > 0)) return "幅の値が不正です。";
    const double d = pf::parseDouble(m_strDepth);
    if (!(d > 0)) return "厚みの値が不正です。";
    m_dWidth = w;
    m_dDepth = d;
    return {};
}

CTategPropDlg::CTategPropDlg(double width, double depth, pf::Questions& questions, QWidget* parent)
    : QDialog(parent), m_form(width, depth)
{
    setWindowTitle(QStringLiteral("建具の幅、厚み変更"));
    auto* layout = new QGridLayout(this);
    auto* w = new QLineEdit(u(m_form.m_strWidth));
    auto* d = new QLineEdit(u(m_form.m_strDepth));
    layout->addWidget(new QLabel(QStringLiteral("建具の幅")), 0, 0);
    layout->addWidget(w, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("mm")), 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("建具の厚み")), 1, 0);
    layout->addWidget(d, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("mm")), 1, 2);
    auto* buttons = new QDialogButtonBox;
    auto* change = buttons->addButton(QStringLiteral("変更する"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons, 2, 0, 1, 3);
    (void)change;
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, this, [this, w, d, &questions] {
        m_form.m_strWidth = w->text().toStdString();
        m_form.m_strDepth = d->text().toStdString();
        const std::string problem = m_form.OnChange();
        if (!problem.empty()) {
            questions.message(problem);
            return;
        }
        accept();
    });
}

} // namespace kov::dialogs
