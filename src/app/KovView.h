#pragma once

// The one drawing view: the paper sheet fitted into the window, zoomed and scrolled. The drawing
// is rendered only when it or the view changes, into a back buffer the size of the window in
// physical pixels; every paint copies that buffer and draws the transient overlays (selection
// while dragged, range frames, measurement box, room-lock label, cross hair) on the copy, so a
// pointer move never renders the drawing again.
//
// View pixels here are physical: on a high-resolution screen a logical widget pixel is several
// of them, and the page geometry, the scroll bars and the pointer all count in physical pixels.

#include "model/DbPoint.h"
#include "model/DrawTransform.h"
#include "render/DrawEnvironment.h"
#include "tools/PageGeometry.h"
#include "render/ToolPreviews.h"
#include "tools/ViewSettings.h"

#include <functional>
#include <memory>

#include <QAbstractScrollArea>
#include <QImage>

#include <optional>
#include <string>
#include <vector>

namespace kov::platform {
class Surface;
}

namespace kov::tools {
class ToolMachine;
}

namespace kov::app {

class DocToolHost;
class CKoviraApp;
class CKoviraDoc;
struct ViewPaintState;
struct ViewRenderInputs;

// The system colours the view paints with: the window (behind the drawing) and the workspace
// (around the page).
inline constexpr std::uint32_t kWindowColour = 0xFFFFFF;
inline constexpr std::uint32_t kWorkspaceColour = 0xABABAB;

class CKoviraView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // `app` gives the settings cache and the fill patterns; without one (tests) the defaults of a
    // first run are used.
    CKoviraView(CKoviraDoc& doc, CKoviraApp* app, QWidget* parent = nullptr);
    ~CKoviraView() override;

    // -- members the tool machine shares ---------------------------------------------------------
    CDbPointArray m_ToolPoints;     // points collected by the current tool (sheet mm)
    CDbPoint m_ptLast;              // last clicked point; first corner of the range print
    int m_nZoomMode = 0;            // 0 none, 1 zoom command, 2 both-button drag, 3 range zoom
    int m_bHandTool = 0;
    CDbPoint m_ptCurrent;           // the pointer (sheet mm); second corner of the range print
    DevicePoint m_pxLast;           // logical-pixel twins of m_ptLast and m_ptCurrent
    DevicePoint m_pxCurrent;
    int m_bDragging = 0;
    int m_bSwallowRightRelease = 0; // the next right release opens no menu
    int m_bIntersectionSnapped = 0;
    int m_bPrintRange = 0;
    int m_nFirstMove = 1;
    int m_nAxisLock = 0;
    int m_bStretchRotate = 0;
    int m_bPlacing = 0;
    int m_bArcSegment = 0;
    kov::tools::ViewToolSettings m_Settings;
    kov::tools::PageGeometry m_geo; // zoom, page rectangle, scroll state (m_dZoom lives here)

    // -- the tool machine ---------------------------------------------------------------------------
    // Clicks, keys and the tool commands go to it; the members above mirror its state after each
    // event, for the overlays.
    kov::tools::ToolMachine& machine() { return *m_machine; }
    // A tool start, zoom or view command, undo or redo; false when it is none of them.
    bool runCommand(int command);
    // The prompt for the frame's status bar.
    std::function<void(const QString&)> onPrompt;
    // The right button's release outside any gesture: the window opens its context menu there.
    std::function<void(const QPoint& global)> onContextMenu;
    // A tool's modeless panel was opened: the frame keeps and places it (its placement kind).
    std::function<void(QWidget* panel, int placeBelowKind)> onToolPanelShown;
    // The fitting tool started: the frame shows its fittings palette.
    std::function<void()> onFittingsPalette;
    // A figure tool's style panel was made (shown or not): the frame keeps it beside the layer bar.
    std::function<void(QWidget* panel)> onStylePanel;
    // The range print's drag ended: the frame previews the rectangle (sheet mm, smaller corner first).
    std::function<void(const CDbPoint& first, const CDbPoint& second)> onPrintRange;
    // The tool panel's style sample is drawn again (the text panel changed the document's font).
    std::function<void()> onToolSample;
    // The zoom or scroll was changed from outside: scroll bars and picture follow.
    void ViewChanged();
    // -- what the open tool panels hold for the previews (the panels keep them up to date)
    int m_nFittingKind = 0;         // the fitting chosen in the fittings palette
    int m_nFittingNumber = 0;

    // -- services ---------------------------------------------------------------------------------
    // The first update of every new or opened document: zoom 1, no zoom mode, the screen's
    // resolution recorded, the template drawing for an empty document, then a full redraw.
    void OnInitialUpdate();
    // Brings the back buffer up to the drawing, then repaints. Every edit ends with it. Only what
    // changed since the last render is painted again (KovViewRendering.h).
    void RedrawAll();
    // Renders the whole drawing afresh: for a change the view cannot see in the drawing, its
    // selection or its settings (none is known), and for tests.
    void RedrawWhole();
    // Before every change to the drawing's objects (see CKoviraDoc::PushUndo).
    void PushUndo();
    // Undo and redo commands: nothing while imported figures are being placed, or with nothing to
    // undo or redo; otherwise the drawing restored and redrawn.
    void OnUndo();
    void OnRedo();
    // The status text of a single selected object (empty otherwise).
    std::string DescribeSelection() const;
    // Commands 33916 (direction 1, left) and 33917 (2, right) on the one selected picture.
    void RotateSelectedImage90(int direction);

    // View commands: the whole page, zoom out by 2/3 (not below 1), and the zoom and pan modes.
    void FitAll();
    void ZoomOut();
    void ZoomIn();
    void StartRangeZoom();
    void OnHandTool();

    // The drawing transform of the window at the current scroll position (logical pixels minus
    // the scroll position: window pixels); nothing while the page is empty.
    std::optional<DeviceTransform> WindowTransform() const;
    // The window pixel (physical) of a sheet point of the current layer group, and back.
    DevicePoint SheetToWindow(const CDbPoint& p) const;
    CDbPoint WindowToSheet(DevicePoint px) const;

    const QImage& backBuffer() const { return m_BackBuffer; }
    // How often the drawing itself has been rendered, whole or in part (tests: pointer moves must
    // not render).
    int renderCount() const { return m_nRenders; }
    // What the last render painted, in window pixels: the whole window, the rectangles an edit
    // changed or the strips a scroll brought into view.
    const std::vector<DeviceRect>& lastPaintedRects() const { return m_lastPainted; }
    // The picture the next paint shows: the back buffer with the overlays, physical pixels.
    QImage composeFrame();
    // What the drawers take from the application: its patterns and drawing settings (also for
    // printing and picture export).
    CKovUnit::DrawEnvironment MakeDrawEnvironment() const;
    // Draws the overlays of a paint onto an image of the back buffer's size (the pointer-move
    // repaint without the copy: tests and benchmarks).
    void DrawOverlaysOn(QImage& frame);
    // Everything the tool previews draw from, gathered from the view, the document and the panels.
    CKovUnit::PreviewInput PreviewInputs(const CKovUnit::DrawEnvironment& env) const;
    double devicePixelRatioOfView() const;

signals:
    // The selection's description changed (the status bar's selection pane shows it).
    void selectionTextChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void RebuildBackBuffer();
    // The render's steps draw from the inputs alone, on any thread (KovViewRendering.cpp).
    ViewRenderInputs GatherRenderInputs(const DeviceTransform& t, const ViewPaintState& shown);
    void RenderDrawing(kov::platform::Surface& dc, const ViewRenderInputs& in) const;
    void FillBackground(kov::platform::Surface& dc, const ViewRenderInputs& in) const;
    void PaintOutsidePage(kov::platform::Surface& dc, const ViewRenderInputs& in) const;
    void DrawColourModeLabel(kov::platform::Surface& dc, const ViewRenderInputs& in) const;
    void DrawOverlays(kov::platform::Surface& dc);
    void DrawMeasurementBox(kov::platform::Surface& dc, const DeviceTransform& t);
    // The preview of the tool in use and the measuring tools' readouts.
    void DrawToolPreviews(kov::platform::Surface& dc, const DeviceTransform& t, const CKovUnit::DrawEnvironment& env);
    void DrawRoomLockLabel(kov::platform::Surface& dc);
    void DrawCrossHair(kov::platform::Surface& dc);
    void LoadTemplateDrawing();
    // The machine's state into the members above; scroll bars, cursor and repaint after an event.
    void pullToolState();
    void afterToolEvent();
    unsigned toolFlags(const QMouseEvent* event) const;
    // The drawing rendered after a tool step; the pending undo snapshot stays undecided, since a
    // select click's snapshot is where its drag starts from.
    void RedrawForTool();

    // The viewport's size in physical pixels, handed to the page geometry.
    void takeViewportSize();
    // Scroll bars follow the page geometry (ranges and positions in physical pixels).
    void syncScrollBars();
    DevicePoint physicalPoint(const QPointF& logical) const;
    // Logical (scrolled) pixels to window pixels.
    DeviceRect toWindow(const DeviceRect& r) const;
    int snapTolerance() const;
    int currentLayerGroup() const;
    int settingInt(std::string_view section, std::string_view key, int def) const;

    CKoviraDoc& m_doc;
    CKoviraApp* m_app;
    QImage m_BackBuffer;            // m_pBackBuffer: window pixels, pixel (0, 0) = the scroll position
    // The buffer before it and the last frame, painted over again when no copy of them is held:
    // a new picture of a window's size costs a fault on every page at its first painting.
    QImage m_SpareBuffer;
    QImage m_Frame;
    DevicePoint m_bufferScroll;     // the scroll position the buffer was rendered at
    std::unique_ptr<ViewPaintState> m_shown;  // what the buffer shows; null: nothing known
    std::vector<DeviceRect> m_lastPainted;
    bool m_bRendering = false;
    bool m_bSyncingScrollBars = false;
    int m_nRenders = 0;
    QImage m_measureImage{8, 8, QImage::Format_RGB32};
    std::unique_ptr<kov::platform::Surface> m_measureSurface;
    std::unique_ptr<DocToolHost> m_toolHost;
    std::unique_ptr<kov::tools::ToolMachine> m_machine;
    friend class ViewToolHost;
};

} // namespace kov::app
