#pragma once

// The drawing view: the page with its grid and drawing, the tool previews over it, and the mouse and
// keys handed to the tool machine as plain inputs. All the logic is in the tool machine; this only
// translates Qt's events and shows the pictures.

#include "app/DocToolHost.h"
#include "tools/ToolMachine.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <functional>
#include <memory>

namespace kov::platform {
class PainterSurface;
}

namespace kov::app {

class CKoviraDoc;

class KovView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit KovView(CKoviraDoc& doc, QWidget* parent = nullptr);
    ~KovView() override;

    kov::tools::ToolMachine& machine() { return *m_machine; }
    DocToolHost& host() { return *m_host; }
    // A command of the view (tool starts, zoom, undo and redo); false when it is not one.
    bool runCommand(int command);
    // The prompt and the coordinates for the frame's status bar.
    std::function<void(const QString&)> onPrompt;

    // The document was emptied or replaced: whole page, select mode.
    void documentChanged();
    // The zoom or scroll changed from outside: scroll bars and picture follow.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void renderBackBuffer();
    // The drawing transform in client pixels (the machine's is in logical pixels).
    std::optional<DeviceTransform> clientTransform();
    void drawPreview(QPainter& p, const DeviceTransform& t);
    void syncScrollBars();
    void updateCursor();
    unsigned flagsOf(const QMouseEvent* e) const;

    CKoviraDoc& m_doc;
    QImage m_measureImage;
    std::unique_ptr<kov::platform::PainterSurface> m_measureSurface;
    std::unique_ptr<DocToolHost> m_host;
    std::unique_ptr<kov::tools::ToolMachine> m_machine;
    QImage m_backBuffer;
    bool m_syncing = false;
};

} // namespace kov::app
