#include "WindowTestSupport.h"

#include "tools/ToolMachine.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kov::test {

namespace {

// A regression guard, not a path the program takes: every command is built, and no command answers
// "この機能は今後の版で使えるようになります" or "このツールの操作はまだ使えません" any more. Should a
// placeholder answer come back, the status bar would carry one of these.
bool answeredAsUnbuilt(const std::string& status)
{
    for (std::string_view placeholder : {"今後の版", "まだ使えません"})
        if (status.find(placeholder) != std::string::npos)
            return true;
    return false;
}

} // namespace

WindowRig::WindowRig(QSize size)
{
    window = std::make_unique<kov::app::MainWindow>(doc.get());
    if (size.isValid()) window->resize(size);
    window->show();
    QApplication::processEvents();
}

void WindowRig::run(int command)
{
    window->UpdateCommandStates();
    EXPECT_TRUE(window->RunCommand(command)) << command;
    EXPECT_FALSE(answeredAsUnbuilt(window->statusText())) << command << ": " << window->statusText();
}

void WindowRig::unsnap()
{
    doc->m_Grid.kyutyaku = 0;
    doc->m_PlotInfo.PlotLinePita = 0;
    doc->m_PlotInfo.PlotWallPita = 0;
}

QPointF WindowRig::at(CDbPoint p)
{
    const DeviceTransform t = *view().machine().MakeTransform();
    const DevicePoint d = ToDevicePoint(p, t, 0);
    const DevicePoint s = view().machine().m_Page.scrollPosition();
    const double ratio = view().devicePixelRatioOfView();
    return QPointF((d.x - s.x) / ratio, (d.y - s.y) / ratio);
}

void WindowRig::mouse(QEvent::Type type, CDbPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    const QPointF local = at(p);
    QMouseEvent e(type, local, view().viewport()->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(view().viewport(), &e);
}

void WindowRig::click(CDbPoint p)
{
    mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
}

void WindowRig::drag(CDbPoint from, CDbPoint to)
{
    mouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
}

std::size_t WindowRig::undoDepth()
{
    doc->SettleUndo();
    return doc->m_UndoStack.size();
}

void WindowRig::answerDialogs()
{
    window->runDialog = [this](QDialog& d) {
        ++dialogs;
        if (!answer) {
            ADD_FAILURE() << "unexpected dialog " << d.windowTitle().toStdString();
            return false;
        }
        return answer(d);
    };
}

void type(QLineEdit* edit, const char* text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace kov::test
