#pragma once

// The main window on a rig's document: commands run through the window's routing, and the view
// clicked at sheet points with the mouse events a person's clicks make.

#include "DocumentTestSupport.h"

#include "app/KovView.h"
#include "app/MainWindow.h"

#include <QEvent>
#include <QPointF>
#include <QSize>

#include <cstddef>
#include <functional>
#include <memory>

class QDialog;
class QLineEdit;

namespace kov::test {

struct WindowRig : DocumentRig {
    std::unique_ptr<kov::app::MainWindow> window;

    // The window shown, at that size when one is given.
    explicit WindowRig(QSize size = {});

    kov::app::CKoviraView& view() { return *window->view(); }
    // The command as the menus and buttons start it, and done. Also guards against a placeholder
    // answer ("comes later", "not ready") coming back: no command gives one now.
    void run(int command);
    // Clicks snap neither to the grid nor to lines and walls.
    void unsnap();
    // The sheet point in the view's widget coordinates.
    QPointF at(CDbPoint p);
    void mouse(QEvent::Type type, CDbPoint p, Qt::MouseButton button, Qt::MouseButtons buttons);
    // A left click: the pointer moved there, pressed and released.
    void click(CDbPoint p);
    // The left button pressed at one point and released at the other.
    void drag(CDbPoint from, CDbPoint to);
    // The tool panel of that type beside the view, when one is open.
    template <class P> P* panel() const
    {
        for (QWidget* w : window->m_pToolDialog)
            if (auto* p = qobject_cast<P*>(w))
                return p;
        return nullptr;
    }
    // The undo steps, once the step a command left open is closed.
    std::size_t undoDepth();

    // The window's dialogs answered by `answer` instead of being shown, and counted; a dialog
    // while there is no answer fails the test.
    void answerDialogs();
    std::function<bool(QDialog&)> answer;
    int dialogs = 0;
};

// The text typed into the field in place of what it held.
void type(QLineEdit* edit, const char* text);

} // namespace kov::test
