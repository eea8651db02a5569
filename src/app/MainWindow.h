#pragma once

#include <QMainWindow>

namespace kov::app {

// The program's main window; the frame with its bars and the view arrive with the shell.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace kov::app
