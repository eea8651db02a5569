#include "app/MainWindow.h"

#include "app/AppInfo.h"

namespace kov::app {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QString::fromUtf8(kProgramName));
    resize(1024, 720);
}

} // namespace kov::app
