#include "app/MainWindow.h"

#include "app/AppInfo.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "app/KovView.h"

#include <QCloseEvent>

namespace kov::app {

MainWindow::MainWindow(CKoviraDoc* document, QWidget* parent) : QMainWindow(parent), m_document(document)
{
    resize(1024, 720);
    if (m_document) {
        m_view = new CKoviraView(*m_document, CKoviraApp::Current(), this);
        setCentralWidget(m_view);
        // Every new or opened drawing: the view's first update, then the title.
        m_document->SetInitialUpdate([this](CKoviraDoc&) {
            m_view->OnInitialUpdate();
            refreshTitle();
        });
    }
    refreshTitle();
}

void MainWindow::refreshTitle()
{
    if (!m_document) {
        setWindowTitle(QString::fromUtf8(kProgramName));
        return;
    }
    const std::string& doc = m_document->GetTitle();
    setWindowTitle(QString::fromUtf8(doc) + QStringLiteral(" - ")
                   + QString::fromUtf8(kAppWindowTitle));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A changed drawing asks to be saved first; cancelling keeps the window open.
    if (m_document && !m_document->CanCloseFrame()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace kov::app
