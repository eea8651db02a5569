// The commands that measure the selection or count the drawing's objects: they run in the view's
// tool machine, which shows the result and puts it into the drawing.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "tools/ToolMachine.h"

namespace kov::app {

void MainWindow::buildMeasureRoutes()
{
    CKoviraView& view = *m_view;
    auto V = [this](int c, Handler h) { Route(Target::View, c, std::move(h)); };
    V(cmd::MeasureArea, [&view] { view.machine().OnMeasureSelectionArea(); });
    V(cmd::MeasureLength, [&view] { view.machine().OnMeasureSelectionLength(); });
    V(cmd::MeasureRoomArea, [&view] { view.machine().OnMeasureRoomArea(); });
    V(cmd::ObjectCount, [&view] { view.machine().OnCountObjects(); });
}

} // namespace kov::app
