// The view's back buffer: whole renders in bands on all cores, and between them only what an edit,
// a selection change or a scroll changed.

#include "app/KovView.h"
#include "app/KovViewRendering.h"

#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "model/SettingsValues.h"
#include "platform/PainterSurface.h"
#include "platform/Profile.h"
#include "render/BandPainting.h"
#include "render/Damage.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kov::app {

namespace pf = kov::platform;
using kov::model::kSectionPlotMenu;
using kov::model::kSectionUtility;

namespace {

// Beyond this share of the window, painting the damage in its rectangles saves little over a
// whole render in bands, and few rectangles keep the passes over the drawing few.
constexpr long long kDamageShareLimit = 45;  // per cent
constexpr int kDamageRects = 4;

// Moves the picture's pixels by (dx, dy); what comes into view is left as it was.
void shiftPixels(QImage& image, int dx, int dy)
{
    const int w = image.width(), h = image.height();
    if (std::abs(dx) >= w || std::abs(dy) >= h) return;
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int depth = image.depth() / 8;
    const std::size_t bytes = std::size_t(w - std::abs(dx)) * std::size_t(depth);
    const int from = dx < 0 ? -dx : 0, to = dx > 0 ? dx : 0;
    auto moveRow = [&](int source, int target) {
        std::memmove(bits + qsizetype(target) * stride + qsizetype(to) * depth,
                     bits + qsizetype(source) * stride + qsizetype(from) * depth, bytes);
    };
    if (dy > 0)
        for (int y = h - 1; y >= dy; --y) moveRow(y - dy, y);
    else
        for (int y = 0; y < h + dy; ++y) moveRow(y - dy, y);
}

long long area(const DeviceRect& r)
{
    return static_cast<long long>(std::max(0, r.width())) * std::max(0, r.height());
}

} // namespace

const AppSettingsCache& DefaultAppSettings()
{
    static const AppSettingsCache cache = [] {
        AppSettingsCache c;
        for (const CachedSetting& s : CachedSettings()) c.*s.member = s.defaultValue;
        return c;
    }();
    return cache;
}

pf::Font ViewUiFont(int height)
{
    pf::Font f;
    f.faceName = "ＭＳ ゴシック";
    f.height = height;
    f.weight = 400;
    f.outPrecision = 3;
    f.clipPrecision = 2;
    f.quality = 1;
    f.pitchAndFamily = 0x31;
    return f;
}

bool ViewRenderInputs::Key::equals(const Key& o) const
{
    return pageOriginX == o.pageOriginX && pageOriginY == o.pageOriginY && scaleX == o.scaleX && scaleY == o.scaleY &&
           paperScale == o.paperScale && zoom == o.zoom && width == o.width && height == o.height &&
           totalOnPage == o.totalOnPage && pageOnPage == o.pageOnPage && plot == o.plot && grid == o.grid &&
           font == o.font && patterns == o.patterns && settings == o.settings && labelText == o.labelText &&
           placing == o.placing;
}

ViewRenderInputs CKoviraView::GatherRenderInputs(const DeviceTransform& t, const ViewPaintState& shown)
{
    const AppSettingsCache& s = m_app ? static_cast<const AppSettingsCache&>(*m_app) : DefaultAppSettings();
    const pf::Profile& profile = m_doc.services().profile;
    ViewRenderInputs in;
    in.transform = t;
    in.unit = &shown.unit;
    in.plot = &m_doc.m_PlotInfo;
    in.selection = &shown.selection;
    in.grid = &m_doc.m_Grid;
    in.dragging = m_bDragging != 0;
    in.placing = m_bPlacing != 0;

    // The settings a pass would read from the profile, read here once for every band.
    in.env = MakeDrawEnvironment();
    in.env.picturesBelow = profile.GetProfileInt(kSectionUtility, "app_gazousita", 0);
    in.env.roomOutlinesWhite = profile.GetProfileInt(kSectionPlotMenu, "app_sirokuro_roomdel", 0) != 0 ? 1 : 0;
    in.env.profile = nullptr;
    in.env.recordPictureRects = false;

    if (m_app) m_app->ReadBackgroundSettings();
    in.background = profile.GetProfileInt(kSectionUtility, "app_haikei", 0) != 0;
    if (in.background)
        in.backgroundColour = kov::model::parseColour(
            profile.GetProfileString(kSectionUtility, "app_haikei_color", kov::model::colourText(kBackgroundColourDefault)));
    in.total = toWindow(m_geo.GetTotalRect());
    in.page = toWindow(m_geo.m_rcPage);
    in.gridShown = m_doc.m_Grid.visible != 0;
    in.gridOptions.lineWidth = settingInt(kSectionPlotMenu, "app_grid_hutosa", 1);
    in.gridOptions.dpiAware = s.app_dpiaware > 0 ? s.app_dpiaware : 96;
    in.inset = snapTolerance();

    if (m_geo.m_dZoom == 1.0 && settingInt(kSectionPlotMenu, "app_modeview", 1) != 0) {
        const CPlotInfo& plot = m_doc.m_PlotInfo;
        in.label = true;
        in.labelText = "カラー";
        in.labelBox = 0xFFFF80;
        if (plot.PlotSirokuro) {
            in.labelText = "白黒";
            in.labelBox = 0xFFFFFF;
        } else if (plot.PlotGradation == 1) {
            in.labelText = "ｸﾞﾗﾃﾞｰｼｮﾝ(方向)";
            in.labelBox = 0xFF8000;
        } else if (plot.PlotGradation == 2) {
            in.labelText = "ｸﾞﾗﾃｰｼｮﾝ(周囲)";
            in.labelBox = 0xC08000;
        } else if (plot.PlotGradation == 3) {
            in.labelText = "ｸﾞﾗﾃｰｼｮﾝ(ｼｯｸ)";
            in.labelBox = 0xC0C0C0;
        }
        const int dpi = m_app ? m_app->app_dpiaware : 0;
        in.labelHeight = dpi > 144 ? 15 * dpi / 96 : 15;
    }
    return in;
}

void CKoviraView::RebuildBackBuffer()
{
    // A redraw asked for while rendering (a resize handled inside the render) is that render.
    if (m_bRendering) return;
    m_bRendering = true;
    // A resize since the last render: the page is recomputed here and this render uses it, rather
    // than starting a second render from inside this one.
    m_geo.StorePageRect(m_doc.m_PlotInfo);
    m_geo.m_bPageChanged = false;
    const pf::DevicePoint scroll = m_geo.scrollPosition();
    const int w = std::max(1, m_geo.clientSize().cx);
    const int h = std::max(1, m_geo.clientSize().cy);
    const std::optional<DeviceTransform> t = WindowTransform();
    if (!t) {
        // Nothing can be mapped onto a page without extent (a minimised window, a paper of 0 mm).
        QImage buffer(w, h, QImage::Format_RGB32);
        buffer.fill(QColor(0xAB, 0xAB, 0xAB));
        m_BackBuffer = std::move(buffer);
        m_shown.reset();
        m_lastPainted.clear();
        m_bufferScroll = scroll;
        m_doc.m_bRedraw = 0;
        m_bRendering = false;
        return;
    }

    // What this render shows: a copy of the drawing (it shares every object, so it costs little)
    // whose look-ups are built here, so that the bands only read them.
    auto state = std::make_unique<ViewPaintState>();
    state->unit.CopyFrom(m_doc.m_Unit);
    // The live drawing's look-ups serve the copy (building them anew visits every object).
    state->unit.m_Groups.TakeLookupFrom(m_doc.m_Unit.m_Groups);
    state->unit.m_Lines.TakeLookupFrom(m_doc.m_Unit.m_Lines);
    state->unit.m_Walls.TakeLookupFrom(m_doc.m_Unit.m_Walls);
    state->unit.m_Texts.TakeLookupFrom(m_doc.m_Unit.m_Texts);
    state->unit.m_Images.TakeLookupFrom(m_doc.m_Unit.m_Images);
    const CKovUnit& unit = state->unit;
    unit.m_Groups.FindIndex(0);
    unit.m_Lines.FindIndex(0);
    unit.m_Walls.FindIndex(0);
    unit.m_Texts.FindIndex(0);
    unit.m_Images.FindIndex(0);
    state->selection = m_doc.m_Selection;
    state->dragging = m_bDragging != 0;
    state->scroll = scroll;
    ViewRenderInputs in = GatherRenderInputs(*t, *state);
    // The objects' boxes at this scale: those of the drawing painted last, measured again only
    // where the arrays changed, else all measured on every core.
    const kov::render::ObjectBoxIndex::Parallel onCores = [](int count, const std::function<void(int)>& task) {
        kov::render::BandPainter::Run(count, task);
    };
    if (m_shown && m_shown->boxes)
        state->boxes = m_shown->boxes->Updated(m_shown->unit, unit, *t, m_doc.m_PlotInfo, onCores);
    if (!state->boxes) state->boxes = kov::render::ObjectBoxIndex::Build(unit, *t, m_doc.m_PlotInfo, onCores);
    in.env.boxIndex = state->boxes.get();

    ViewRenderInputs::Key& key = state->key;
    key.pageOriginX = t->originX + scroll.x;
    key.pageOriginY = t->originY + scroll.y;
    key.scaleX = t->scaleX;
    key.scaleY = t->scaleY;
    key.paperScale = t->paperScale;
    key.zoom = m_geo.m_dZoom;
    key.width = w;
    key.height = h;
    key.totalOnPage = m_geo.GetTotalRect();
    key.pageOnPage = m_geo.m_rcPage;
    key.plot = m_doc.m_PlotInfo;  // all but the greying, which the settings hold
    key.grid = m_doc.m_Grid;
    key.font = m_doc.m_FontMenu;
    for (const QImage& p : in.env.patterns) key.patterns.push_back(p.cacheKey());
    const CKovUnit::DrawEnvironment& e = in.env;
    key.settings = {int(e.traceMode), e.printAuxiliaryFills, e.enlargePrintedPatterns, e.roomLinesNeedGreenFloor,
                    e.autoColumns, e.picturesBelow, e.printRealMode, e.tatamiBorders, e.roomOutlinesWhite,
                    int(in.background), int(in.backgroundColour), int(in.gridShown), in.gridOptions.lineWidth,
                    in.gridOptions.dpiAware, int(in.label), int(in.labelBox), in.labelHeight, in.inset,
                    g_nPickTolerance, g_nSnapTolerance, m_doc.m_PlotInfo.laygray};
    key.labelText = in.labelText;
    key.placing = in.placing;

    const DeviceRect window{0, 0, w, h};
    std::vector<DeviceRect> rects;
    bool whole = !m_shown || m_BackBuffer.size() != QSize(w, h) || !m_shown->key.equals(key);
    if (!whole) {
        const int dx = scroll.x - m_bufferScroll.x, dy = scroll.y - m_bufferScroll.y;
        // The colour-mode label keeps its place in the window, not on the page.
        if ((dx != 0 || dy != 0) && (std::abs(dx) >= w || std::abs(dy) >= h || in.label)) whole = true;
        if (!whole && (dx != 0 || dy != 0)) {
            // Scrolled: the pixels kept move along, the strips that came into view are painted.
            shiftPixels(m_BackBuffer, -dx, -dy);
            const DeviceRect rows = dy > 0 ? DeviceRect{0, h - dy, w, h} : DeviceRect{0, 0, w, -dy};
            if (dy != 0) rects.push_back(rows);
            const int top = dy < 0 ? -dy : 0, bottom = dy > 0 ? h - dy : h;
            if (dx > 0) rects.push_back({w - dx, top, w, bottom});
            if (dx < 0) rects.push_back({0, top, -dx, bottom});
        }
    }
    if (!whole) {
        const kov::render::PaintedDrawing before{m_shown->unit, m_shown->selection, m_shown->dragging};
        const kov::render::PaintedDrawing after{state->unit, state->selection, state->dragging};
        const std::optional<std::vector<DeviceRect>> damage =
            kov::render::DamagedRects(before, after, *t, m_doc.m_PlotInfo, window);
        if (!damage) {
            whole = true;
        } else {
            rects.insert(rects.end(), damage->begin(), damage->end());
            rects = kov::render::MergedRects(std::move(rects), kDamageRects);
            long long painted = 0;
            for (const DeviceRect& r : rects) painted += area(r);
            if (painted * 100 > area(window) * kDamageShareLimit) whole = true;
        }
    }
    if (whole) {
        // A new buffer: the one painted last stays whole until this one is complete.
        if (m_shown && m_shown->key.zoom != key.zoom) pf::ClearTextCaches();
        QImage next = std::move(m_SpareBuffer);
        if (next.size() != QSize(w, h) || next.format() != QImage::Format_RGB32 || !next.isDetached())
            next = QImage(w, h, QImage::Format_RGB32);
        m_SpareBuffer = std::exchange(m_BackBuffer, std::move(next));
        rects = {window};
    }

    if (!rects.empty()) {
        // Where every picture lands, noted once here: the bands only read it (its grips).
        const CPlotInfo& plot = m_doc.m_PlotInfo;
        for (const auto& image : unit.m_Images) {
            const int g = image->IMGLayer1, l = image->IMGLayer2;
            if (g < 0 || g > 15 || l < 0 || l > 15) continue;
            if (plot.m_Layer.m_GrpLayerInfo[std::size_t(g)].m_nType == CLayerInfo::LAYER_HIDDEN ||
                plot.m_Layer.m_LayerInfo[std::size_t(g)][std::size_t(l)].m_nType == CLayerInfo::LAYER_HIDDEN)
                continue;
            image->m_rcDrawn = image->DeviceRectFor(*t);
        }
        pf::PainterSurfaceOptions options;
        // Hatches and patterns keep to the page, so that a scrolled strip meets the kept pixels.
        options.patternOrigin = {-scroll.x, -scroll.y};
        kov::render::BandPainter::Paint(m_BackBuffer, rects, options, [&](pf::Surface& dc) {
            const std::optional<DeviceRect> band = dc.visibleArea();
            if (band) dc.fillRect(*band, pf::Brush::solid(kWindowColour));
            RenderDrawing(dc, in);
        });
        ++m_nRenders;
    }
    m_lastPainted = std::move(rects);
    m_shown = std::move(state);
    m_bufferScroll = scroll;
    m_doc.m_bRedraw = 0;
    m_bRendering = false;
}

void CKoviraView::RenderDrawing(pf::Surface& dc, const ViewRenderInputs& in) const
{
    FillBackground(dc, in);
    const CKovUnit& unit = *in.unit;
    const CPlotInfo& plot = *in.plot;
    const SelectionRecord& sel = *in.selection;
    // The passes take the environment to change: each band has its own.
    CKovUnit::DrawEnvironment env = in.env;
    // The passes only read the drawing; the pictures' rectangles were noted beforehand.
    auto& drawing = const_cast<CKovUnit&>(unit);
    drawing.DrawBackgroundImages(dc, in.transform, plot, sel, in.placing, false, env, !in.dragging);
    if (in.gridShown) kov::render::DrawGrid(dc, in.transform, in.page, *in.grid, plot, in.gridOptions);
    if (in.dragging)
        drawing.DrawUnselectedByLayer(dc, in.transform, plot, sel, in.placing, false, env);
    else
        drawing.DrawAllByLayer(dc, in.transform, plot, sel, in.placing, false, env);
    PaintOutsidePage(dc, in);
    DrawColourModeLabel(dc, in);
}

void CKoviraView::FillBackground(pf::Surface& dc, const ViewRenderInputs& in) const
{
    if (in.background) dc.fillRect(in.total, pf::Brush::solid(in.backgroundColour));
}

void CKoviraView::PaintOutsidePage(pf::Surface& dc, const ViewRenderInputs& in) const
{
    const DeviceRect& T = in.total;
    const DeviceRect& P = in.page;
    const pf::Brush surround = pf::Brush::solid(kWorkspaceColour);
    dc.fillRect({T.left, T.top, T.right, P.top}, surround);
    dc.fillRect({T.left, P.bottom, T.right, T.bottom}, surround);
    dc.fillRect({T.left, T.top, P.left, T.bottom}, surround);
    dc.fillRect({P.right, T.top, T.right, T.bottom}, surround);
    // Two 1-pixel outlines: a 2-pixel black frame around the page.
    const pf::Pen black{pf::PenStyle::Solid, 1, 0};
    for (int k = 1; k <= 2; ++k) {
        const DevicePoint outline[] = {{P.left - k, P.top - k},
                                       {P.left - k, P.bottom + k - 1},
                                       {P.right + k - 1, P.bottom + k - 1},
                                       {P.right + k - 1, P.top - k},
                                       {P.left - k, P.top - k}};
        dc.polyline(outline, black);
    }
}

void CKoviraView::DrawColourModeLabel(pf::Surface& dc, const ViewRenderInputs& in) const
{
    if (!in.label) return;
    pf::TextStyle style;
    style.font = ViewUiFont(in.labelHeight);
    const pf::TextSize size = dc.textExtent(in.labelText, style.font);
    const int n = in.inset;
    const DeviceRect r{n, in.total.bottom - n - size.cy, n + size.cx, in.total.bottom - n};
    dc.fillRect(r, pf::Brush::solid(in.labelBox));
    dc.textOut({r.left, r.top}, in.labelText, style);
}

} // namespace kov::app
