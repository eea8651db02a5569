#include "dialogs/ToolPanelClosing.h"

#include <QWidget>

namespace kov::dialogs {

void CloseToolPanel(QWidget* panel)
{
    if (!panel)
        return;
    if (auto* closing = dynamic_cast<ClosingToolPanel*>(panel))
        closing->SaveOnClose();
    delete panel;
}

} // namespace kov::dialogs
