#pragma once

// The modeless tool panels that keep settings when their tool ends. Whoever closes a panel for good
// (the frame's reset of the tool panel, the view's tool machine, the view going away) closes it
// through CloseToolPanel, which has the panel write its settings before the window is deleted:
// explicitly, not in a destructor whose order against the values it writes nobody controls.

class QWidget;

namespace kov::dialogs {

class ClosingToolPanel {
public:
    // Writes the panel's settings from the values it edits; the values must still be alive.
    virtual void SaveOnClose() = 0;

protected:
    ~ClosingToolPanel() = default;
};

// Saves the panel's settings when it has any, then deletes it; nothing for null.
void CloseToolPanel(QWidget* panel);

} // namespace kov::dialogs
