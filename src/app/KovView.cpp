#include "app/KovView.h"

#include "app/FillPatterns.h"
#include "app/KoviraDoc.h"
#include "dialogs/RelativeInputDialog.h"
#include "dialogs/WallThicknessDialog.h"
#include "model/KovUnit.h"
#include "platform/PainterSurface.h"
#include "render/DrawEnvironment.h"
#include "render/GridDrawing.h"
#include "render/RubberBands.h"
#include "tools/ToolTexts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace kov::app {

using kov::tools::ToolKey;

namespace {

// The host as the view runs it: the dialogs and panels shown as windows over the view.
class ViewToolHost final : public DocToolHost {
public:
    ViewToolHost(CKoviraDoc& doc, kov::platform::Surface& surface, QWidget* owner)
        : DocToolHost(doc, surface), m_owner(owner)
    {
    }

    std::optional<CDbPoint> AskRelativePoint(const CDbPoint& clicked) override
    {
        kov::dialogs::RelativeInputDialog dialog(clicked, m_owner);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.point();
    }
    void OpenPanel(kov::tools::ToolPanel panel, int mode, bool shown) override
    {
        (void)mode;
        if (panel != kov::tools::ToolPanel::WallThickness || !shown)
            return;
        m_wallPanel = std::make_unique<kov::dialogs::WallThicknessDialog>(doc().m_PlotInfo, false, m_owner);
        m_wallPanel->setWindowFlag(Qt::Tool);
        m_wallPanel->show();
        m_owner->setFocus();
    }
    void ClosePanels() override { m_wallPanel.reset(); }

private:
    QWidget* m_owner;
    std::unique_ptr<kov::dialogs::WallThicknessDialog> m_wallPanel;
};

} // namespace

KovView::KovView(CKoviraDoc& doc, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(doc), m_measureImage(8, 8, QImage::Format_RGB32)
{
    m_measureSurface = std::make_unique<kov::platform::PainterSurface>(m_measureImage);
    m_host = std::make_unique<ViewToolHost>(doc, *m_measureSurface, this);
    kov::tools::ToolSettings settings;
    settings.Load(doc.services().profile);
    m_machine = std::make_unique<kov::tools::ToolMachine>(*m_host, settings);
    m_machine->m_roomSettings = RoomSettings::FromProfile(doc.services().profile);
    m_machine->m_Screen.dpiX = logicalDpiX();
    m_machine->m_Screen.dpiY = logicalDpiY();
    m_host->onRedraw = [this] { viewport()->update(); };
    m_host->onStatus = [this](std::string_view text) {
        if (onPrompt)
            onPrompt(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    };
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

KovView::~KovView() = default;

bool KovView::runCommand(int command)
{
    const bool done = m_machine->OnCommand(command);
    syncScrollBars();
    updateCursor();
    viewport()->update();
    return done;
}

void KovView::documentChanged()
{
    m_machine->m_ToolPoints.clear();
    m_machine->FitAll();
    syncScrollBars();
    viewport()->update();
}

void KovView::refresh()
{
    syncScrollBars();
    m_doc.m_bRedraw = 1;
    viewport()->update();
}

void KovView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_machine->m_Page.OnSize(viewport()->width(), viewport()->height());
    syncScrollBars();
}

void KovView::syncScrollBars()
{
    m_syncing = true;
    const auto& page = m_machine->m_Page;
    const kov::tools::PixelSize total = page.totalSize();
    const kov::tools::PixelSize client = page.clientSize();
    horizontalScrollBar()->setRange(0, std::max(0, total.cx - client.cx));
    verticalScrollBar()->setRange(0, std::max(0, total.cy - client.cy));
    horizontalScrollBar()->setPageStep(client.cx);
    verticalScrollBar()->setPageStep(client.cy);
    horizontalScrollBar()->setValue(page.scrollPosition().x);
    verticalScrollBar()->setValue(page.scrollPosition().y);
    m_syncing = false;
}

void KovView::scrollContentsBy(int, int)
{
    if (m_syncing)
        return;
    m_machine->m_Page.ScrollToPosition({horizontalScrollBar()->value(), verticalScrollBar()->value()});
    viewport()->update();
}

void KovView::renderBackBuffer()
{
    const QSize size = viewport()->size();
    if (m_backBuffer.size() != size)
        m_backBuffer = QImage(size, QImage::Format_RGB32);
    m_backBuffer.fill(QColor(0xA0, 0xA0, 0xA0));
    std::optional<DeviceTransform> t = clientTransform();
    if (!t)
        return;
    // The picture is in client pixels: the drawers skip what lies outside the image.
    const DevicePoint scroll = m_machine->m_Page.scrollPosition();
    QPainter painter(&m_backBuffer);
    DeviceRect page = m_machine->m_Page.m_rcPage;
    page.left -= scroll.x;
    page.right -= scroll.x;
    page.top -= scroll.y;
    page.bottom -= scroll.y;
    painter.fillRect(QRect(page.left, page.top, page.width(), page.height()), Qt::white);
    kov::platform::PainterSurface surface(painter);
    if (m_doc.m_Grid.visible)
        kov::render::DrawGrid(surface, *t, page, m_doc.m_Grid, m_doc.m_PlotInfo, {});
    static const std::array<QImage, 8> patterns = LoadFillPatterns();
    CKovUnit::DrawEnvironment env;
    env.patterns = patterns;
    env.traceMode = m_machine->m_bTracing;
    env.fallbackFont = &m_doc.m_FontMenu;
    // The passes read the objects through const, so drawing keeps the undo snapshots shared.
    m_doc.m_Unit.DrawAllByLayer(surface, *t, m_doc.m_PlotInfo, m_doc.m_Selection, m_machine->m_bPlacing != 0, false,
                                env);
    m_doc.m_bRedraw = 0;
}

std::optional<DeviceTransform> KovView::clientTransform()
{
    std::optional<DeviceTransform> t = m_machine->MakeTransform();
    if (t) {
        const DevicePoint scroll = m_machine->m_Page.scrollPosition();
        t->originX -= scroll.x;
        t->originY -= scroll.y;
    }
    return t;
}

void KovView::paintEvent(QPaintEvent*)
{
    if (m_doc.m_bRedraw || m_backBuffer.size() != viewport()->size() || m_machine->m_Page.m_bPageChanged) {
        m_machine->m_Page.m_bPageChanged = false;
        renderBackBuffer();
    }
    QPainter p(viewport());
    p.drawImage(0, 0, m_backBuffer);
    if (std::optional<DeviceTransform> t = clientTransform())
        drawPreview(p, *t);
}

// The rubber bands of the tool in use, from the collected points to the pointer.
void KovView::drawPreview(QPainter& p, const DeviceTransform& t)
{
    const auto& m = *m_machine;
    const int tool = m.ToolMode();
    const int g = m.CurrentGroup();
    auto dev = [&](const CDbPoint& q) {
        const DevicePoint d = ToDevicePoint(q, t, g);
        return QPoint(d.x, d.y);
    };
    const QPoint cur = dev(m.m_ptCurrent);
    p.setPen(QPen(QColor(0xFF, 0, 0), 1));
    if (tool == 0 && m.m_bDragging && m_doc.m_Selection.IsEmpty()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(QRect(dev(m.m_ptLast), cur).normalized());
        return;
    }
    if (m.m_ToolPoints.empty())
        return;
    const QPoint last = dev(m.m_ToolPoints.back());
    if (tool == 4 || tool == 10 || tool == 12 || tool == 13 || tool == 59) {
        CDbPoint corner = m.m_ptCurrent;
        if (tool == 10)
            corner = m.SnapPresetRoomCorner(m.m_ToolPoints.back(), m.m_ptCurrent);
        p.drawRect(QRect(last, dev(corner)).normalized());
        return;
    }
    if (tool == 6) {
        const QPoint c = dev(m.m_ToolPoints.back());
        const int r = static_cast<int>(std::hypot(cur.x() - c.x(), cur.y() - c.y()));
        p.drawEllipse(c, r, r);
        return;
    }
    for (std::size_t i = 1; i < m.m_ToolPoints.size(); ++i)
        p.drawLine(dev(m.m_ToolPoints[i - 1]), dev(m.m_ToolPoints[i]));
    p.drawLine(last, cur);
    if (tool == 1) {
        // The wall's two faces at its thickness.
        const double w = m_doc.m_PlotInfo.PlotWallWide;
        const CDbPoint a = m.m_ToolPoints.back(), b = m.m_ptCurrent;
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len > 0) {
            const double nx = -(b.y - a.y) / len * w, ny = (b.x - a.x) / len * w;
            p.drawLine(dev({a.x + nx, a.y + ny}), dev({b.x + nx, b.y + ny}));
            p.drawLine(dev({a.x - nx, a.y - ny}), dev({b.x - nx, b.y - ny}));
        }
    }
}

unsigned KovView::flagsOf(const QMouseEvent* e) const
{
    unsigned f = 0;
    if (e->buttons() & Qt::LeftButton) f |= kov::tools::MK_LBUTTON;
    if (e->buttons() & Qt::RightButton) f |= kov::tools::MK_RBUTTON;
    if (e->modifiers() & Qt::ShiftModifier) f |= kov::tools::MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier) f |= kov::tools::MK_CONTROL;
    return f;
}

void KovView::mousePressEvent(QMouseEvent* e)
{
    const DevicePoint at{e->position().toPoint().x(), e->position().toPoint().y()};
    if (e->button() == Qt::LeftButton)
        m_machine->OnLButtonDown(flagsOf(e), at);
    else if (e->button() == Qt::RightButton)
        m_machine->OnRButtonDown(flagsOf(e) | kov::tools::MK_RBUTTON, at);
    syncScrollBars();
    updateCursor();
    viewport()->update();
}

void KovView::mouseReleaseEvent(QMouseEvent* e)
{
    const DevicePoint at{e->position().toPoint().x(), e->position().toPoint().y()};
    if (e->button() == Qt::LeftButton)
        m_machine->OnLButtonUp(flagsOf(e), at);
    else if (e->button() == Qt::RightButton)
        m_machine->OnRButtonUp(flagsOf(e), at); // the context menu arrives with the selection commands
    syncScrollBars();
    updateCursor();
    viewport()->update();
}

void KovView::mouseDoubleClickEvent(QMouseEvent* e)
{
    // Qt's double-click event takes the place of the second press.
    const DevicePoint at{e->position().toPoint().x(), e->position().toPoint().y()};
    if (e->button() == Qt::LeftButton)
        m_machine->OnLButtonDblClk(flagsOf(e), at);
    else if (e->button() == Qt::RightButton)
        m_machine->OnRButtonDown(flagsOf(e) | kov::tools::MK_RBUTTON, at);
    viewport()->update();
}

void KovView::mouseMoveEvent(QMouseEvent* e)
{
    m_machine->OnMouseMove(flagsOf(e), {e->position().toPoint().x(), e->position().toPoint().y()});
    syncScrollBars();
    updateCursor();
    viewport()->update();
}

void KovView::keyPressEvent(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Undo)) {
        runCommand(kov::tools::kCmdUndo);
        return;
    }
    const bool pad = e->modifiers() & Qt::KeypadModifier;
    ToolKey key = ToolKey::Other;
    switch (e->key()) {
    case Qt::Key_Return: key = ToolKey::Enter; break;
    case Qt::Key_Enter: key = ToolKey::Enter; break;
    case Qt::Key_Escape: key = ToolKey::Escape; break;
    case Qt::Key_Left: key = ToolKey::Left; break;
    case Qt::Key_Up: key = ToolKey::Up; break;
    case Qt::Key_Right: key = ToolKey::Right; break;
    case Qt::Key_Down: key = ToolKey::Down; break;
    case Qt::Key_Delete: key = ToolKey::Delete; break;
    case Qt::Key_S: key = ToolKey::S; break;
    case Qt::Key_4: key = pad ? ToolKey::Pad4 : ToolKey::Other; break;
    case Qt::Key_6: key = pad ? ToolKey::Pad6 : ToolKey::Other; break;
    case Qt::Key_8: key = pad ? ToolKey::Pad8 : ToolKey::Other; break;
    case Qt::Key_2: key = pad ? ToolKey::Pad2 : ToolKey::Other; break;
    case Qt::Key_Asterisk: key = pad ? ToolKey::PadMultiply : ToolKey::Other; break;
    case Qt::Key_Plus: key = pad ? ToolKey::PadAdd : ToolKey::Other; break;
    case Qt::Key_Minus: key = pad ? ToolKey::PadSubtract : ToolKey::Other; break;
    default: break;
    }
    const QPoint cursorAt = viewport()->mapFromGlobal(QCursor::pos());
    m_machine->OnKeyDown(key, {cursorAt.x(), cursorAt.y()});
    syncScrollBars();
    viewport()->update();
}

bool KovView::viewportEvent(QEvent* event)
{
    // The right button's context menu belongs to its release, not to the press.
    if (event->type() == QEvent::ContextMenu)
        return true;
    return QAbstractScrollArea::viewportEvent(event);
}

void KovView::updateCursor()
{
    const int id = m_machine->CursorId();
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (id) {
    case 0: shape = Qt::ArrowCursor; break;
    case kov::tools::CURSOR_SIZEALL: shape = Qt::SizeAllCursor; break;
    case kov::tools::CURSOR_SIZENS: shape = Qt::SizeVerCursor; break;
    case kov::tools::CURSOR_SIZEWE: shape = Qt::SizeHorCursor; break;
    case kov::tools::CURSOR_SIZENWSE: shape = Qt::SizeFDiagCursor; break;
    case kov::tools::CURSOR_SIZENESW: shape = Qt::SizeBDiagCursor; break;
    case 180: case 369: shape = Qt::CrossCursor; break;
    case 334: shape = Qt::OpenHandCursor; break;
    case 1661: shape = Qt::ClosedHandCursor; break;
    case 105: shape = Qt::SizeAllCursor; break;
    default: shape = Qt::CrossCursor; break;
    }
    viewport()->setCursor(shape);
}

} // namespace kov::app
