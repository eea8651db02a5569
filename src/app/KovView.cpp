#include "app/KovView.h"
#include "app/KovViewRendering.h"


#include "app/AppTexts.h"
#include "app/ExchangeCommands.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "app/OptionPanels.h"
#include "app/DocToolHost.h"
#include "dialogs/EditDialogs.h"
#include "dialogs/BalloonPanel.h"
#include "dialogs/ChamferDialogs.h"
#include "dialogs/DivideDialogs.h"
#include "dialogs/DoubleLinePanel.h"
#include "dialogs/ElevationDialogs.h"
#include "dialogs/FigurePropertyDialog.h"
#include "dialogs/FigureSizeDialogs.h"
#include "dialogs/FittingsPalette.h"
#include "dialogs/NotationSymbolDialog.h"
#include "dialogs/ParallelLineDialog.h"
#include "dialogs/StairsPanel.h"
#include "dialogs/StringEntryDialog.h"
#include "dialogs/PictureOutputDialogs.h"
#include "dialogs/RelativeInputDialog.h"
#include "dialogs/ToolPanelClosing.h"
#include "dialogs/WallThicknessDialog.h"
#include "building/RoomSettings.h"
#include "tools/ToolMachine.h"
#include "tools/ToolTexts.h"

#include "model/Geometry.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/PainterSurface.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "render/DrawEnvironment.h"
#include "render/GridDrawing.h"
#include "render/MeasureOverlays.h"
#include "render/RubberBands.h"
#include "tools/SelectionDescription.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kov::app {

namespace pf = kov::platform;
using kov::model::kSectionPlotMenu;
using kov::model::kSectionUtility;

namespace {

constexpr std::string_view kTemplateBrokenMessage = "フォ－マットファイルが壊れているか見つかりません";
constexpr std::string_view kOldPictureFormMessage = "旧形式の保存は回転情報は失われます";
constexpr std::uint32_t kCrossColour = 0x007DFF;

const AppSettingsCache& defaultSettings() { return DefaultAppSettings(); }

pf::Font uiFont(int height) { return ViewUiFont(height); }

DeviceRect offsetRect(const DeviceRect& r, int dx, int dy)
{
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

} // namespace

// The tool machine's host as the view runs it: redraws through the view, the dialogs and panels
// shown as windows over it.
class ViewToolHost final : public DocToolHost {
public:
    ViewToolHost(CKoviraDoc& doc, pf::Surface& surface, CKoviraView& view) : DocToolHost(doc, surface), m_view(view) {}

    void RedrawAll() override
    {
        // The render reads the view's mirror of the tool state (dragging leaves the selection out).
        doc().m_bRedraw = 1;
        m_view.pullToolState();
        m_view.RedrawForTool();
    }
    void SetStatusText(std::string_view text) override
    {
        if (m_view.onPrompt)
            m_view.onPrompt(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    }
    void InvalidateOverlay() override { m_view.viewport()->update(); }
    std::optional<CDbPoint> AskRelativePoint(const CDbPoint& clicked) override
    {
        kov::dialogs::RelativeInputDialog dialog(clicked, &m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.point();
    }
    std::optional<std::array<int, 2>> AskTriangleSides(int base) override
    {
        kov::dialogs::TriangleSidesDialog dialog(base, &m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return std::array<int, 2>{dialog.form().a, dialog.form().b};
    }
    std::optional<kov::tools::NotationSymbolChoice> AskNotationSymbol(const kov::tools::NotationSymbolChoice& initial) override
    {
        kov::dialogs::CHyoukiKigouDg dialog(initial.heightFixed, initial.height, doc().services().folders.symbols, &m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const kov::dialogs::NotationSymbolForm& f = dialog.form();
        return kov::tools::NotationSymbolChoice{f.m_nKind, f.m_bHeightFixed, f.m_dHeight};
    }
    bool AskRoofSettings(CRituInfo& ritu) override
    {
        kov::dialogs::CRituYaneDlg dialog(ritu, &m_view);
        if (dialog.exec() != QDialog::Accepted) return false;
        ritu = dialog.values();
        return true;
    }
    bool AskBalconySettings(CRituInfo& ritu) override
    {
        kov::dialogs::CRituBalDlg dialog(ritu, &m_view);
        if (dialog.exec() != QDialog::Accepted) return false;
        ritu = dialog.values();
        return true;
    }
    std::optional<std::array<double, 2>> AskFittingSize(double width, double depth) override
    {
        kov::dialogs::CTategPropDlg dialog(width, depth, doc().services().questions, &m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return std::array<double, 2>{dialog.form().m_dWidth, dialog.form().m_dDepth};
    }
    void SetBusy(bool busy) override
    {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
    std::optional<std::array<double, 4>> AskRectDistances() override
    {
        kov::dialogs::RectBySizeDialog dialog(&m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.form().m_Reach;
    }
    std::optional<std::array<double, 2>> AskRangeScaleFactors() override
    {
        kov::dialogs::GroupStretchDialog dialog(0, 0, true, doc().services().profile, &m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return std::array<double, 2>{dialog.form().m_fx, dialog.form().m_fy};
    }
    std::optional<bool> AskOriginChange(std::string_view message) override
    {
        kov::dialogs::OriginChangeDialog dialog(std::string(message), &m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.allGroups();
    }
    std::optional<CDbPoint> AskStretchOffset() override
    {
        kov::dialogs::ObjectMoveDialog dialog(kov::dialogs::ObjectMoveForm::STRETCH, doc().services().profile, &m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return CDbPoint{dialog.form().m_dx, dialog.form().m_dy};
    }
    std::optional<double> AskParallelDistance(double current) override
    {
        kov::dialogs::ParallelDistanceDialog dialog(current, &m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.form().m_dDistance;
    }
    std::optional<DivisionAnswer> AskDivision() override
    {
        kov::dialogs::DivideDialog dialog(&m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const kov::dialogs::DivideForm& f = dialog.form();
        return DivisionAnswer{f.m_nMode, f.m_nCount, f.m_dLength};
    }
    std::optional<int> AskDivisionCount(int current) override
    {
        kov::dialogs::DivisionCountDialog dialog(current, &m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.form().m_nCount;
    }
    std::optional<double> AskDistance(std::string_view caption, double proposed) override
    {
        return AskLength(&m_view, caption, proposed);
    }
    MeasureAnswer ShowMeasureResult(const MeasureResult& result) override { return AskMeasureResult(&m_view, result); }
    std::optional<std::string> AskObjectCount() override { return kov::app::AskObjectCount(&m_view, doc()); }
    void ShowTextEntry() override { kov::app::ShowTextEntry(m_panels); }
    void RefreshPanel(kov::tools::ToolPanel panel) override { RefreshOptionPanels(m_panels, panel); }
    void OpenPanel(kov::tools::ToolPanel panel, int mode, bool shown) override
    {
        if (panel == kov::tools::ToolPanel::Style) {
            openStylePanel(mode, shown);
            return;
        }
        if (!shown)
            return;
        if (OpenOptionPanel(m_view, doc(), panel, [this](QWidget* w, int kind, bool show) { keep(w, kind, show); }))
            return;
        QWidget* w = nullptr;
        int placeBelow = 0; // the frame's placement kind
        if (panel == kov::tools::ToolPanel::Fittings) {
            if (m_view.onFittingsPalette)
                m_view.onFittingsPalette();
            return;
        }
        if (panel == kov::tools::ToolPanel::WallThickness) {
            w = new kov::dialogs::WallThicknessDialog(doc().m_PlotInfo, false, &m_view);
            placeBelow = 6;
        } else if (panel == kov::tools::ToolPanel::Chamfer) {
            kov::tools::ToolMachine& m = m_view.machine();
            auto* d = new kov::dialogs::ChamferPanel(m.m_ChamferSizes, m.m_nChamferMode, doc().services().profile,
                                                     &m_view);
            // Esc ends the tool once the panel's own handling is over (the tool's end deletes it).
            d->onEscape = [&view = m_view] {
                QTimer::singleShot(0, &view, [&view] {
                    view.machine().CallSelectTool();
                    view.RedrawAll();
                });
            };
            w = d;
            placeBelow = 4;
        } else if (panel == kov::tools::ToolPanel::PictureOutput) {
            auto* d = new kov::dialogs::CGazouOutSizeDg(doc().services().profile, &m_view);
            d->LoadSettings();
            w = d;
            placeBelow = 8;
        } else if (panel == kov::tools::ToolPanel::DoubleLine) {
            auto* d = new kov::dialogs::CNisenDlg(
                m_view.machine(), doc().services().profile, mode,
                [this](std::string_view text) { ShowMessage(text); }, [this] { RedrawAll(); }, &m_view);
            m_doubleLinePanel = d;
            w = d;
            placeBelow = 2;
        } else if (panel == kov::tools::ToolPanel::Stairs) {
            w = new kov::dialogs::CKaidanDlg(m_view.machine().m_Stairs, doc().services().profile,
                                             doc().services().questions, &m_view);
            placeBelow = 6;
        } else if (panel == kov::tools::ToolPanel::Balloon) {
            w = new kov::dialogs::CHukidashiDg(m_view.machine().m_Balloon, [this] { RedrawAll(); }, &m_view);
            placeBelow = 9;
        } else {
            return;
        }
        keep(w, placeBelow, true);
    }
    void UncheckArcButton() override
    {
        if (m_doubleLinePanel) m_doubleLinePanel->UncheckArcButton();
    }
    std::optional<std::string> AskString(std::string_view caption, std::string_view text,
                                         std::string_view label) override
    {
        kov::dialogs::CStringSetDlg dialog(std::string(caption), std::string(text), std::string(label), &m_view);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.text();
    }
    void ClosePanels() override
    {
        for (QPointer<QWidget>& p : m_panels)
            kov::dialogs::CloseToolPanel(p.data());
        m_panels.clear();
    }
    void PrintRange(const CDbPoint& first, const CDbPoint& second) override
    {
        m_view.pullToolState();
        if (m_view.onPrintRange)
            m_view.onPrintRange(first, second);
    }
    void RangeToPicture(int tool, DevicePoint press, DevicePoint release) override
    {
        if (tool == 12)
            SaveRangeImage(m_view, doc(), press, release);
        else
            CopyRangeImageToClipboard(m_view, doc(), press, release);
    }

private:
    void keep(QWidget* w, int placeKind, bool show)
    {
        w->setWindowFlag(Qt::Tool);
        m_panels.emplace_back(w);
        // The frame keeps it in its slot and puts it beside the bars, off the drawing.
        if (m_view.onToolPanelShown)
            m_view.onToolPanelShown(w, placeKind);
        if (!show)
            return;
        w->show();
        m_view.setFocus();
    }

    SwatchEnvironment swatchEnvironment() const
    {
        const CKovUnit::DrawEnvironment d = m_view.MakeDrawEnvironment();
        SwatchEnvironment env;
        env.patterns = d.patterns;
        env.autoColumns = d.autoColumns;
        env.tatamiBorders = d.tatamiBorders;
        return env;
    }
    // The figure tools' style panel on the document's own settings; hidden while the settings say
    // so, the frame's properties command shows it then.
    void openStylePanel(int slot, bool shown)
    {
        auto* w = new kov::dialogs::CLinePropSetDg(doc().m_PlotInfo, doc().services().profile, doc().services().questions,
                                                   kov::dialogs::LinePropForm::Mode::ToolDefaults, slot,
                                                   swatchEnvironment(), &m_view);
        w->setWindowFlag(Qt::Tool);
        m_panels.emplace_back(w);
        // Shown first, so that the frame places it by the size it really has.
        if (shown)
            w->show();
        if (m_view.onStylePanel)
            m_view.onStylePanel(w);
        if (shown)
            m_view.setFocus();
    }

    CKoviraView& m_view;
    std::vector<QPointer<QWidget>> m_panels;
    QPointer<kov::dialogs::CNisenDlg> m_doubleLinePanel;
};

CKoviraView::CKoviraView(CKoviraDoc& doc, CKoviraApp* app, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(doc), m_app(app)
{
    // The back buffer covers the window: nothing to erase, nothing to fill first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_Settings.Load(m_doc.services().profile);
    setFocusPolicy(Qt::StrongFocus);
    m_measureSurface = std::make_unique<pf::PainterSurface>(m_measureImage);
    m_toolHost = std::make_unique<ViewToolHost>(doc, *m_measureSurface, *this);
    kov::tools::ToolSettings settings;
    settings.Load(m_doc.services().profile);
    m_machine = std::make_unique<kov::tools::ToolMachine>(*m_toolHost, settings, &m_geo);
    m_machine->m_roomSettings = RoomSettings::FromProfile(m_doc.services().profile);
    m_machine->m_dFixedRadius = m_Settings.tool_hankeikotei_atai;
    m_machine->m_bFixedRadius = m_Settings.tool_hankeikotei_check;
    m_machine->m_nArcDivisions = m_Settings.tool_nijyuusen_rbunkatu;
    m_machine->m_dParallelDistance = m_Settings.tool_hukusen;
    kov::building::FittingChoice& f = m_machine->m_Fitting;
    f.widthMode = m_Settings.tool_tateg_habatype;
    f.width = m_Settings.tool_tateg_habaedit;
    f.thicknessMode = m_Settings.tool_tateg_atumitype;
    f.thickness = m_Settings.tool_tateg_atumiedit;
    f.colour = static_cast<std::uint32_t>(m_Settings.tool_tateg_color);
    f.heights.height = m_Settings.ritutakasa;
    f.heights.mounting = m_Settings.ritutoritakasa;
    m_machine->m_dToolLength = m_Settings.tool_nagasa;
    m_machine->m_ChamferSizes = {m_Settings.mentori_kakuatai, m_Settings.mentori_maruatai, m_Settings.mentori_l1atai,
                                 m_Settings.mentori_l2atai};
    m_machine->m_dOffsetLeft = m_Settings.tool_nisen_l;
    m_machine->m_dOffsetRight = m_Settings.tool_nisen_r;
}

CKoviraView::~CKoviraView()
{
    // The tool panels edit the tool machine's values: they go (and write them) while it lives.
    m_toolHost->ClosePanels();
    // The fitting settings and elevation heights go back to the store; the panels keep the rest.
    pullToolState();
    m_Settings.SaveFittingsAndElevations(m_doc.services().profile);
}

double CKoviraView::devicePixelRatioOfView() const
{
    return std::max(1.0, viewport()->devicePixelRatioF());
}

int CKoviraView::settingInt(std::string_view section, std::string_view key, int def) const
{
    return m_doc.services().profile.GetProfileInt(section, key, def);
}

int CKoviraView::snapTolerance() const
{
    return g_nSnapTolerance;
}

int CKoviraView::currentLayerGroup() const
{
    return m_doc.m_PlotInfo.m_Layer.m_nCurrentGroup;
}

DevicePoint CKoviraView::physicalPoint(const QPointF& logical) const
{
    const double r = devicePixelRatioOfView();
    return {static_cast<int>(std::floor(logical.x() * r)), static_cast<int>(std::floor(logical.y() * r))};
}

DeviceRect CKoviraView::toWindow(const DeviceRect& r) const
{
    const DevicePoint s = m_geo.scrollPosition();
    return offsetRect(r, -s.x, -s.y);
}

void CKoviraView::takeViewportSize()
{
    const double r = devicePixelRatioOfView();
    m_geo.OnSize(static_cast<int>(std::lround(viewport()->width() * r)),
                 static_cast<int>(std::lround(viewport()->height() * r)));
}

// ---------------------------------------------------------------- first update and redraw

void CKoviraView::OnInitialUpdate()
{
    m_geo.ResetZoom();
    m_nZoomMode = 0;
    m_bHandTool = 0;
    m_bDragging = 0;
    m_bPlacing = 0;
    m_ToolPoints.clear();
    m_machine->m_ToolPoints.clear();
    m_machine->m_nZoomMode = 0;
    m_machine->m_bHandTool = 0;
    m_machine->m_bDragging = 0;
    m_machine->m_bPlacing = 0;
    takeViewportSize();
    syncScrollBars();

    // The screen's resolution, as the drawers and tolerances read it.
    const int dpi = static_cast<int>(std::lround(logicalDpiX() * devicePixelRatioOfView()));
    if (m_app) m_app->WriteCachedSetting("app_dpiaware", dpi);
    // Pick and snap tolerances grow with the pixels of a high-resolution screen.
    ResetPickTolerances(dpi);

    LoadTemplateDrawing();
    RedrawAll();
}

void CKoviraView::LoadTemplateDrawing()
{
    pf::Profile& profile = m_doc.services().profile;
    if (profile.GetProfileInt(kSectionPlotMenu, "config_format", 0) == 0) return;
    const CKovUnit& unit = m_doc.m_Unit;
    if (!unit.m_Lines.empty() || !unit.m_Walls.empty() || !unit.m_Texts.empty() || !unit.m_Images.empty()) return;
    const std::string path = profile.GetProfileString(kSectionPlotMenu, "config_formatpath", "");
    // A file that cannot be opened is passed over silently.
    std::unique_ptr<CArchive> ar = path.empty() ? nullptr : CArchive::openForReading(path);
    if (!ar) return;
    if (!m_doc.LoadDocumentBlock(*ar)) {
        m_doc.services().questions.message(kTemplateBrokenMessage);
        profile.WriteProfileInt(kSectionPlotMenu, "config_format", 0);
    }
    m_doc.m_bRedraw = 1;
}

void CKoviraView::RedrawWhole()
{
    m_shown.reset();
    RedrawAll();
}

void CKoviraView::RedrawAll()
{
    m_doc.SettleUndo();
    RebuildBackBuffer();
    viewport()->update();
    emit selectionTextChanged(QString::fromStdString(DescribeSelection()));
}

CKovUnit::DrawEnvironment CKoviraView::MakeDrawEnvironment() const
{
    const AppSettingsCache& s = m_app ? static_cast<const AppSettingsCache&>(*m_app) : defaultSettings();
    CKovUnit::DrawEnvironment env;
    if (m_app) env.patterns = m_app->m_Bitmaps;
    env.traceMode = s.m_bTraceMode != 0;
    env.printAuxiliaryFills = s.app_hojonuriprt;
    env.enlargePrintedPatterns = s.app_pattern_printbai;
    env.roomLinesNeedGreenFloor = s.app_sirokuro_roomhachdel;
    env.autoColumns = s.app_hasiraauto;
    env.picturesBelow = s.app_gazousita;
    env.printRealMode = s.app_printrealmode;
    env.tatamiBorders = s.app_tatamiheri;
    env.fallbackFont = &m_doc.m_FontMenu;
    env.profile = &m_doc.services().profile;
    return env;
}

// ---------------------------------------------------------------- mapping

std::optional<DeviceTransform> CKoviraView::WindowTransform() const
{
    const pf::DeviceProperties screen{};
    std::optional<DeviceTransform> t = m_geo.MakeTransform(screen, m_doc.m_PlotInfo);
    if (!t) return t;
    const DevicePoint s = m_geo.scrollPosition();
    t->originX -= s.x;
    t->originY -= s.y;
    return t;
}

DevicePoint CKoviraView::SheetToWindow(const CDbPoint& p) const
{
    const std::optional<DeviceTransform> t = WindowTransform();
    return t ? ToDevicePoint(p, *t, currentLayerGroup()) : DevicePoint{};
}

CDbPoint CKoviraView::WindowToSheet(DevicePoint px) const
{
    const std::optional<DeviceTransform> t = WindowTransform();
    if (!t) return {};
    const int g = std::clamp(currentLayerGroup(), 0, DeviceTransform::kLayerGroups - 1);
    const double sx = t->scaleX[std::size_t(g)];
    const double sy = t->scaleY[std::size_t(g)];
    if (!(sx > 0) || !(sy > 0)) return {};
    return {(px.x - t->originX) / sx, (px.y - t->originY) / sy};
}

// ---------------------------------------------------------------- paint and overlays

QImage CKoviraView::composeFrame()
{
    if (m_BackBuffer.isNull() || m_doc.m_bRedraw || m_geo.m_bPageChanged) RebuildBackBuffer();
    // A copy per paint: overlays are drawn fresh on it and never erased from the buffer. The
    // last frame's pixels are written over when nothing holds them any more.
    QImage frame = std::move(m_Frame);
    if (frame.size() == m_BackBuffer.size() && frame.format() == m_BackBuffer.format() && frame.isDetached() &&
        frame.bytesPerLine() == m_BackBuffer.bytesPerLine()) {
        std::memcpy(frame.bits(), m_BackBuffer.constBits(), std::size_t(m_BackBuffer.sizeInBytes()));
    } else {
        frame = m_BackBuffer.copy();
    }
    DrawOverlaysOn(frame);
    m_Frame = frame;
    return frame;
}

void CKoviraView::DrawOverlaysOn(QImage& frame)
{
    // Hatches keep to the page, as in the buffer under them.
    pf::PainterSurfaceOptions options;
    options.patternOrigin = {-m_geo.scrollPosition().x, -m_geo.scrollPosition().y};
    pf::PainterSurface dc(frame, options);
    DrawOverlays(dc);
}

void CKoviraView::paintEvent(QPaintEvent*)
{
    QImage frame = composeFrame();
    const qreal ratio = devicePixelRatioOfView();
    if (frame.devicePixelRatio() != ratio) {
        // Set on the frame kept for the next paint too, without a copy of its pixels.
        m_Frame = QImage();
        frame.setDevicePixelRatio(ratio);
        m_Frame = frame;
    }
    QPainter painter(viewport());
    painter.drawImage(QPointF(0, 0), frame);
}

void CKoviraView::DrawOverlays(pf::Surface& dc)
{
    const std::optional<DeviceTransform> t = WindowTransform();
    if (!t) return;
    const DevicePoint s = m_geo.scrollPosition();
    const DevicePoint cur{m_pxCurrent.x - s.x, m_pxCurrent.y - s.y};
    const DevicePoint last{m_pxLast.x - s.x, m_pxLast.y - s.y};

    if (m_nZoomMode != 0 && m_bDragging) {
        if (m_nZoomMode == kov::tools::PageGeometry::ZOOM_RANGE) {
            const DevicePoint press = m_geo.m_pxPressScroll;
            kov::render::DrawFocusRectBetween(dc, press.x - s.x, press.y - s.y, cur.x, cur.y);
        }
    } else if (m_bDragging || m_bPlacing) {
        // The selection follows the pointer over the buffer, which left it out while dragging.
        CKovUnit::DrawEnvironment env;
        if (m_app) env.patterns = m_app->m_Bitmaps;
        env.profile = &m_doc.services().profile;
        m_doc.m_Unit.DrawSelected(dc, *t, m_doc.m_PlotInfo, m_doc.m_Selection, m_bPlacing != 0, false, env);
        const int tool = m_doc.m_nToolMode;
        if (m_bDragging && ((tool == 0 && !m_bHandTool && m_doc.m_Selection.IsEmpty()) || tool == 12 || tool == 13
                            || tool == 59))
            kov::render::DrawFocusRectBetween(dc, last.x, last.y, cur.x, cur.y);
    } else {
        CKovUnit::DrawEnvironment env;
        if (m_app) env.patterns = m_app->m_Bitmaps;
        env.profile = &m_doc.services().profile;
        DrawToolPreviews(dc, *t, env);
        if (m_bIntersectionSnapped) {
            const pf::Pen pen{pf::PenStyle::Solid, 3, kCrossColour};
            dc.line({last.x - 10, last.y}, {last.x + 10, last.y}, pen);
            dc.line({last.x, last.y - 10}, {last.x, last.y + 10}, pen);
        }
    }
    DrawMeasurementBox(dc, *t);
    DrawRoomLockLabel(dc);
    DrawCrossHair(dc);
}

CKovUnit::PreviewInput CKoviraView::PreviewInputs(const CKovUnit::DrawEnvironment& env) const
{
    CKovUnit::PreviewInput in;
    in.plot = &m_doc.m_PlotInfo;
    in.points = m_ToolPoints;
    in.pointer = m_ptCurrent;
    in.last = m_ptLast;
    in.selection = &m_doc.m_Selection;
    in.env = &env;
    const int tool = m_doc.m_nToolMode;
    in.fixedRadiusOn = m_machine->m_bFixedRadius;
    in.fixedRadius = m_machine->m_dFixedRadius;
    // The corner keeps its arc end and the division its length in the machine.
    in.measured = tool == 35 || tool == 64 ? m_machine->m_dToolValue : m_machine->m_dToolLength;
    const double angle = m_machine->m_dLineAngle;
    in.angle = settingInt(kSectionPlotMenu, "tool_kakudo_tokei", 0) != 0 ? 360 - angle : angle;
    in.doubleLeft = m_machine->m_dOffsetLeft;
    in.doubleRight = m_machine->m_dOffsetRight;
    in.parallelDistance = m_machine->m_dParallelDistance;
    if (tool == 33) in.divisions = settingInt(kSectionUtility, "tool_bunkatu", 2);
    in.fittingKind = m_nFittingKind;
    in.fittingNumber = m_nFittingNumber;
    in.fixedWidthOn = m_Settings.tool_tateg_habatype;
    in.fixedWidth = m_Settings.tool_tateg_habaedit;
    in.ownThicknessOn = m_Settings.tool_tateg_atumitype;
    in.ownThickness = m_Settings.tool_tateg_atumiedit;
    if (tool == 55) in.fittingOnRight = settingInt(kSectionUtility, "tateg_seti", 0);
    in.stairs = m_machine->m_Stairs;
    in.balloonShape = m_machine->m_Balloon.shape;
    in.balloonSide = m_machine->m_Balloon.tailSide;
    in.balloonPosition = m_machine->m_Balloon.tailPosition;
    in.arcSteps = m_machine->m_nArcDivisions;
    in.text = m_machine->m_strText;
    in.textFont = &m_doc.m_FontMenu;
    in.textVertical = m_machine->m_TextPanel.vertical;
    in.textAngle = m_machine->m_TextPanel.mozi_kakudo;
    // The decorated-text panel lives as long as its tool.
    in.decoratedPanelOpen = tool == 70;
    if (tool == 70) {
        const kov::tools::DecoratedTextValues& d = m_machine->m_DecoratedText;
        in.decoratedFont = d.font;
        in.decoratedText = d.text;
        in.frameThickness = d.frameThickness;
        in.frameShape = d.shape;
        in.frameSlant = d.slant;
        in.framesOnly = d.framesOnly;
        in.decoratedTextColour = d.textColour;
        in.decoratedFrameColour = d.frameColour;
        in.decoratedOpacity = d.opacity;
    }
    in.drawingArea = toWindow(m_geo.m_rcPage);
    return in;
}

void CKoviraView::DrawToolPreviews(pf::Surface& dc, const DeviceTransform& t, const CKovUnit::DrawEnvironment& env)
{
    const int tool = m_doc.m_nToolMode;
    const DevicePoint s = m_geo.scrollPosition();
    kov::render::MeasureOverlayFrame frame;
    frame.pointerPx = {m_pxCurrent.x - s.x, m_pxCurrent.y - s.y};
    frame.snapTolerance = snapTolerance();
    frame.faceName = "ＭＳ ゴシック";
    if (m_app) frame.dpiAware = static_cast<const AppSettingsCache&>(*m_app).app_dpiaware;
    kov::render::ToolOverlayOptions options;
    options.arcMode = m_bArcSegment != 0;
    options.arcPieces = m_Settings.tool_nijyuusen_rbunkatu;
    if (tool == 47) options.clockwiseAngles = settingInt(kSectionPlotMenu, "tool_kakudo_tokei", 0) != 0;
    // The angle tool measures from its clicks; what the readout shows is not kept.
    kov::render::DrawToolOverlay(dc, t, m_doc.m_Unit, tool, PreviewInputs(env), frame, options);
    // The multi-point tools measure from their first point.
    if (kov::render::HasPointsPreview(tool) && !m_ToolPoints.empty()) {
        const DevicePoint w = SheetToWindow(m_ToolPoints.front());
        m_pxLast = {w.x + s.x, w.y + s.y};
    }
}

void CKoviraView::DrawMeasurementBox(pf::Surface& dc, const DeviceTransform& t)
{
    const AppSettingsCache& s = m_app ? static_cast<const AppSettingsCache&>(*m_app) : defaultSettings();
    const int tool = m_doc.m_nToolMode;
    if (!s.app_mousekyori || m_ToolPoints.empty() || tool == 0) return;
    if (tool == 5 || tool == 11) {
        // The polygon tools show the room's length and area in place of the box.
        const DevicePoint sc = m_geo.scrollPosition();
        kov::render::MeasureOverlayFrame frame;
        frame.pointerPx = {m_pxCurrent.x - sc.x, m_pxCurrent.y - sc.y};
        frame.snapTolerance = snapTolerance();
        frame.faceName = "ＭＳ ゴシック";
        frame.dpiAware = s.app_dpiaware;
        kov::render::DrawRoomAreaLabels(dc, t, m_doc.m_PlotInfo, m_ToolPoints, m_ptCurrent, frame,
                                        settingInt(kSectionUtility, "room_heibei", 0) != 0, m_doc.m_Grid.GridModule,
                                        m_doc.m_Grid.kyutyaku != 0);
        return;
    }
    const CDbPoint& a = m_ToolPoints.back();
    const CDbPoint& b = m_ptCurrent;
    const double dx = std::fabs(b.x - a.x);
    const double dy = std::fabs(b.y - a.y);
    std::string text;
    if (tool == 4 || tool == 10) {
        text = pf::formatFixed(dx, 2) + "," + pf::formatFixed(dy, 2) + " ";
        if (tool == 10) {
            if (settingInt(kSectionUtility, "room_heibei", 0) == 0) {
                const double module = m_doc.m_Grid.GridModule;
                const double mats = RoundDecimals(dx * dy / (2 * module * module), 2);
                text += " :" + pf::formatFixed(mats, m_doc.m_Grid.kyutyaku ? 1 : 2) + "帖";
            } else {
                text += " :" + pf::formatFixed(dx * dy / 1000000.0, 2) + "㎡";
            }
        }
    } else if (tool == 55) {
        double width = m_Settings.tool_tateg_habaedit;
        if (!m_Settings.tool_tateg_habatype) {
            const CDbPoint& to = m_ToolPoints.size() >= 2 ? m_ToolPoints[1] : m_ptCurrent;
            width = PointDistance(m_ToolPoints[0].x, m_ToolPoints[0].y, to.x, to.y) - 2 * m_doc.m_PlotInfo.PlotWallWide;
        }
        text = pf::formatFixed(width, 2) + "(建具幅)";
    } else {
        text = pf::formatFixed(PointDistance(a.x, a.y, b.x, b.y), 2);
    }
    if (text.empty()) return;
    pf::TextStyle style;
    style.font = uiFont(s.app_dpiaware > 144 ? 16 * s.app_dpiaware / 96 : 12);
    style.hAlign = pf::TextHAlign::Right;
    const pf::TextSize size = dc.textExtent(text, style.font);
    const int n = snapTolerance();
    const DevicePoint sc = m_geo.scrollPosition();
    const DevicePoint cur{m_pxCurrent.x - sc.x, m_pxCurrent.y - sc.y};
    DeviceRect r{cur.x + n, cur.y - n - size.cy, cur.x + n + size.cx, cur.y - n};
    const DeviceRect page = toWindow(m_geo.m_rcPage);
    if (r.right > t.originX + page.width() / 2 + n) r = offsetRect(r, -size.cx, 0);
    if (r.top < page.top - n) r = offsetRect(r, 0, size.cy);
    dc.fillRect(r, pf::Brush::solid(0xEFE3FD));
    dc.textOut({r.right, r.top}, text, style);
}

void CKoviraView::DrawRoomLockLabel(pf::Surface& dc)
{
    if (!m_bDragging || m_doc.m_Selection.IsEmpty()) return;
    const int mode = settingInt(kSectionUtility, "app_room_lock", 2);
    if (mode == 0) return;
    const bool gridSnap = m_doc.m_Grid.kyutyaku != 0;
    const bool lineSnap = m_doc.m_PlotInfo.PlotLinePita != 0;
    if (mode == 2 && gridSnap && !lineSnap) return;
    const CKovUnit& unit = m_doc.m_Unit;
    bool locked = !m_doc.m_Selection.m_Walls.empty();
    for (int id : m_doc.m_Selection.m_Groups) {
        const CKovGroup* g = unit.FindGroup(id);
        if (g && (g->MGrpRoom == CKovGroup::ROOM || g->MGrpRoom == CKovGroup::FITTING)) locked = true;
    }
    if (!locked) return;
    std::string text = "部屋移動ロック作動中";
    if (mode == 2 && lineSnap) text += "(線吸着ON)";
    if (mode == 2 && !gridSnap) text += "(ｸﾞﾘｯﾄﾞ吸着OFF)";
    pf::TextStyle style;
    style.font = uiFont(12);
    const pf::TextSize size = dc.textExtent(text, style.font);
    const int n = snapTolerance();
    const DeviceRect r{n, n, n + size.cx, n + size.cy};
    dc.fillRect(r, pf::Brush::solid(0xFF00FF));
    dc.textOut({r.left, r.top}, text, style);
}

void CKoviraView::DrawCrossHair(pf::Surface& dc)
{
    const int tool = m_doc.m_nToolMode;
    if (tool == 8 || tool == 70 || m_doc.m_Selection.m_nGripKind != 0) return;
    if (!viewport()->underMouse() && m_nFirstMove == 1) return; // no pointer over the view yet
    const pf::Pen pen{pf::PenStyle::Solid, 1, kCrossColour};
    const DevicePoint s = m_geo.scrollPosition();
    const DevicePoint c{m_pxCurrent.x - s.x, m_pxCurrent.y - s.y};
    const AppSettingsCache& st = m_app ? static_cast<const AppSettingsCache&>(*m_app) : defaultSettings();
    if (st.app_cross_cursorbig) {
        const DeviceRect page = toWindow(m_geo.m_rcPage);
        dc.line({page.left, c.y}, {page.right, c.y}, pen);
        dc.line({c.x, page.top}, {c.x, page.bottom}, pen);
        return;
    }
    const int n = snapTolerance();
    dc.line({c.x - n, c.y}, {c.x + n, c.y}, pen);
    dc.line({c.x, c.y - n}, {c.x, c.y + n}, pen);
}

// ---------------------------------------------------------------- window, scrolling, zoom

void CKoviraView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    takeViewportSize();
    syncScrollBars();
    // A new size is no edit: a snapshot a tool took at one click stays for its next click.
    if (!m_doc.m_bRedraw) RedrawForTool();
}

void CKoviraView::syncScrollBars()
{
    m_bSyncingScrollBars = true;
    const auto total = m_geo.totalSize();
    const auto client = m_geo.clientSize();
    const DevicePoint s = m_geo.scrollPosition();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(0, total.cx - client.cx));
    v->setRange(0, std::max(0, total.cy - client.cy));
    h->setPageStep(std::max(1, client.cx));
    v->setPageStep(std::max(1, client.cy));
    h->setSingleStep(std::max(1, client.cx / 20));
    v->setSingleStep(std::max(1, client.cy / 20));
    h->setValue(s.x);
    v->setValue(s.y);
    m_bSyncingScrollBars = false;
}

void CKoviraView::scrollContentsBy(int, int)
{
    if (m_bSyncingScrollBars) return;
    if (m_geo.OnScrollBy(horizontalScrollBar()->value() - m_geo.scrollPosition().x,
                         verticalScrollBar()->value() - m_geo.scrollPosition().y))
        RedrawAll();
}

void CKoviraView::FitAll()
{
    m_bHandTool = 0;
    m_machine->m_bHandTool = 0;
    m_geo.m_dZoom = 1.0;
    m_geo.m_dZoomAtPress = 1.0;
    if (m_geo.IsPageEmpty(m_doc.m_PlotInfo)) return;
    m_geo.UpdateScrollSizes();
    syncScrollBars();
    RedrawAll();
}

void CKoviraView::ZoomOut()
{
    m_bHandTool = 0;
    if (m_geo.IsPageEmpty(m_doc.m_PlotInfo)) return;
    m_geo.m_dZoom = std::max(1.0, m_geo.m_dZoom * 2.0 / 3.0);
    m_geo.UpdateScrollSizes();
    syncScrollBars();
    RedrawAll();
}

void CKoviraView::ZoomIn()
{
    m_machine->ZoomIn();
    pullToolState();
}

void CKoviraView::StartRangeZoom()
{
    m_machine->StartRangeZoom();
    pullToolState();
}

void CKoviraView::OnHandTool()
{
    m_machine->OnHandTool();
    pullToolState();
}

unsigned CKoviraView::toolFlags(const QMouseEvent* e) const
{
    unsigned f = 0;
    if (e->buttons() & Qt::LeftButton) f |= kov::tools::MK_LBUTTON;
    if (e->buttons() & Qt::RightButton) f |= kov::tools::MK_RBUTTON;
    if (e->modifiers() & Qt::ShiftModifier) f |= kov::tools::MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier) f |= kov::tools::MK_CONTROL;
    return f;
}

void CKoviraView::pullToolState()
{
    const kov::tools::ToolMachine& m = *m_machine;
    m_ToolPoints = m.m_ToolPoints;
    m_ptLast = m.m_ptLast;
    m_ptCurrent = m.m_ptCurrent;
    m_pxLast = m.m_pxLast;
    m_pxCurrent = m.m_pxCurrent;
    m_bDragging = m.m_bDragging;
    m_nZoomMode = m.m_nZoomMode;
    m_bHandTool = m.m_bHandTool;
    m_nAxisLock = m.m_nAxisLock;
    m_bPlacing = m.m_bPlacing;
    m_bStretchRotate = m.m_bStretchRotate;
    m_bArcSegment = m.m_bArcInsert;
    // The fittings palette edits the machine's fitting settings; the previews and the store read them here.
    m_nFittingKind = m.m_Fitting.kind;
    m_nFittingNumber = m.m_Fitting.number;
    m_Settings.tool_tateg_habatype = m.m_Fitting.widthMode;
    m_Settings.tool_tateg_habaedit = m.m_Fitting.width;
    m_Settings.tool_tateg_atumitype = m.m_Fitting.thicknessMode;
    m_Settings.tool_tateg_atumiedit = m.m_Fitting.thickness;
    m_Settings.tool_tateg_color = static_cast<int>(m.m_Fitting.colour);
    m_bPrintRange = m.m_bPrintRange;
}

void CKoviraView::afterToolEvent()
{
    pullToolState();
    syncScrollBars();
    switch (m_machine->CursorId()) {
    case 0: viewport()->setCursor(Qt::ArrowCursor); break;
    case kov::tools::CURSOR_SIZEALL: viewport()->setCursor(Qt::SizeAllCursor); break;
    case kov::tools::CURSOR_SIZENS: viewport()->setCursor(Qt::SizeVerCursor); break;
    case kov::tools::CURSOR_SIZEWE: viewport()->setCursor(Qt::SizeHorCursor); break;
    case kov::tools::CURSOR_SIZENWSE: viewport()->setCursor(Qt::SizeFDiagCursor); break;
    case kov::tools::CURSOR_SIZENESW: viewport()->setCursor(Qt::SizeBDiagCursor); break;
    case 334: viewport()->setCursor(Qt::OpenHandCursor); break;
    case 1661: viewport()->setCursor(Qt::ClosedHandCursor); break;
    default: viewport()->setCursor(Qt::CrossCursor); break;
    }
    viewport()->update();
}

void CKoviraView::RedrawForTool()
{
    RebuildBackBuffer();
    viewport()->update();
    emit selectionTextChanged(QString::fromStdString(DescribeSelection()));
}

void CKoviraView::ViewChanged()
{
    syncScrollBars();
    RedrawForTool();
}

bool CKoviraView::runCommand(int command)
{
    bool done = true;
    switch (command) {
    case kov::tools::kCmdFitAll: FitAll(); break;
    case kov::tools::kCmdZoomOut: ZoomOut(); break;
    case kov::tools::kCmdUndo: OnUndo(); break;
    case kov::tools::kCmdRedo: OnRedo(); break;
    default: done = m_machine->OnCommand(command); break;
    }
    afterToolEvent();
    setFocus();
    return done;
}

void CKoviraView::mousePressEvent(QMouseEvent* event)
{
    if (m_geo.IsPageEmpty(m_doc.m_PlotInfo)) return;
    const DevicePoint client = physicalPoint(event->position());
    if (event->button() == Qt::LeftButton)
        m_machine->OnLButtonDown(toolFlags(event), client);
    else if (event->button() == Qt::RightButton)
        m_machine->OnRButtonDown(toolFlags(event), client);
    afterToolEvent();
}

void CKoviraView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_geo.IsPageEmpty(m_doc.m_PlotInfo)) return;
    m_machine->OnMouseMove(toolFlags(event), physicalPoint(event->position()));
    afterToolEvent();
}

void CKoviraView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_geo.IsPageEmpty(m_doc.m_PlotInfo)) return;
    const DevicePoint client = physicalPoint(event->position());
    if (event->button() == Qt::LeftButton)
        m_machine->OnLButtonUp(toolFlags(event), client);
    else if (event->button() == Qt::RightButton && m_machine->OnRButtonUp(toolFlags(event), client) && onContextMenu) {
        afterToolEvent();
        onContextMenu(event->globalPosition().toPoint());
        return;
    }
    afterToolEvent();
}

void CKoviraView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt's double-click event stands in for the second press.
    if (m_geo.IsPageEmpty(m_doc.m_PlotInfo)) return;
    const DevicePoint client = physicalPoint(event->position());
    if (event->button() == Qt::LeftButton)
        m_machine->OnLButtonDblClk(toolFlags(event), client);
    else if (event->button() == Qt::RightButton)
        m_machine->OnRButtonDown(toolFlags(event), client);
    afterToolEvent();
}

void CKoviraView::keyPressEvent(QKeyEvent* event)
{
    using kov::tools::ToolKey;
    if (event->matches(QKeySequence::Undo)) {
        runCommand(kov::tools::kCmdUndo);
        return;
    }
    // Until the frame's menus and tool panel exist, four keys start the tools a house needs.
    const std::pair<int, int> starts[] = {{Qt::Key_F2, 1007}, {Qt::Key_F3, 1259}, {Qt::Key_F4, 1258}, {Qt::Key_F5, 32887}};
    for (const auto& [k, command] : starts)
        if (event->key() == k) {
            runCommand(command);
            return;
        }
    const bool pad = (event->modifiers() & Qt::KeypadModifier) != 0;
    ToolKey key = ToolKey::Other;
    switch (event->key()) {
    case Qt::Key_Return: case Qt::Key_Enter: key = ToolKey::Enter; break;
    case Qt::Key_Escape: key = ToolKey::Escape; break;
    case Qt::Key_Left: key = ToolKey::Left; break;
    case Qt::Key_Up: key = ToolKey::Up; break;
    case Qt::Key_Right: key = ToolKey::Right; break;
    case Qt::Key_Down: key = ToolKey::Down; break;
    case Qt::Key_Delete: key = ToolKey::Delete; break;
    case Qt::Key_S: key = ToolKey::S; break;
    case Qt::Key_4: if (pad) key = ToolKey::Pad4; break;
    case Qt::Key_6: if (pad) key = ToolKey::Pad6; break;
    case Qt::Key_8: if (pad) key = ToolKey::Pad8; break;
    case Qt::Key_2: if (pad) key = ToolKey::Pad2; break;
    case Qt::Key_Asterisk: if (pad) key = ToolKey::PadMultiply; break;
    case Qt::Key_Plus: if (pad) key = ToolKey::PadAdd; break;
    case Qt::Key_Minus: if (pad) key = ToolKey::PadSubtract; break;
    default: break;
    }
    m_machine->OnKeyDown(key, physicalPoint(viewport()->mapFromGlobal(QCursor::pos())));
    afterToolEvent();
}

bool CKoviraView::viewportEvent(QEvent* event)
{
    // Qt raises the context menu on the press; the menu belongs to the release.
    if (event->type() == QEvent::ContextMenu)
        return true;
    return QAbstractScrollArea::viewportEvent(event);
}

// ---------------------------------------------------------------- undo and the selection

void CKoviraView::PushUndo()
{
    m_doc.PushUndo();
}

void CKoviraView::OnUndo()
{
    if (m_doc.Undo(m_bPlacing != 0)) RedrawAll();
}

void CKoviraView::OnRedo()
{
    if (m_doc.Redo()) RedrawAll();
}

std::string CKoviraView::DescribeSelection() const
{
    return kov::tools::DescribeSelection(m_doc.m_Unit, m_doc.m_Selection, m_doc.m_Grid.GridModule,
                                         settingInt(kSectionUtility, "room_heibei", 0) != 0);
}

void CKoviraView::RotateSelectedImage90(int direction)
{
    if (m_doc.m_Selection.m_Images.size() != 1) return;
    PushUndo();
    const CKovUnit& unit = m_doc.m_Unit;
    if (unit.FindImage(m_doc.m_Selection.m_Images.front()) == nullptr) return;
    if (settingInt(kSectionUtility, "app_savegazouold", 0) != 0) {
        m_doc.services().questions.message(kOldPictureFormMessage);
        return;
    }
    kov::tools::RotateSelectedImage90(m_doc.m_Unit, m_doc.m_Selection,
                                      direction == 1 ? kov::tools::QuarterTurn::Left : kov::tools::QuarterTurn::Right);
    RedrawAll();
}

} // namespace kov::app
