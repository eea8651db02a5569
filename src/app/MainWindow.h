#pragma once

#include <QMainWindow>

namespace kov::app {

class CKoviraDoc;
class CKoviraView;

// The program's main window; the frame with its bars and the view arrive with the shell.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Without a document (tests of the bare window) the window closes without asking.
    explicit MainWindow(CKoviraDoc* document = nullptr, QWidget* parent = nullptr);

    // "<drawing> - <program>", as the document's title changes.
    void refreshTitle();
    // The drawing view in the middle of the window; null without a document.
    CKoviraView* view() const { return m_view; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CKoviraDoc* m_document;
    CKoviraView* m_view = nullptr;
};

} // namespace kov::app
