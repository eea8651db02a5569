// The text tools: a click of the text tool (8) fixes where the text goes and shows the entry line,
// whose OK makes the text with the settings panel's direction and angle; a click of the decorated
// text tool (70) places the decorated-text panel's text with its look, then empties the text.

#include "tools/ToolMachine.h"

#include "model/KovUnit.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"

namespace kov::tools {

void ToolMachine::StartTextPanels(int tool)
{
    kov::platform::Profile* store = m_host.SettingsStore();
    if (tool == 8) {
        m_TextPanel = TextPanelValues{};
        if (store)
            m_TextPanel.Load(*store);
        m_strText.clear();
    } else if (tool == 70) {
        if (store) {
            m_DecoratedText.Start(m_host.Font(), *store);
        } else {
            m_DecoratedText = DecoratedTextValues{};
            m_DecoratedText.font = m_host.Font();
        }
    }
}

void ToolMachine::StepText(CDbPoint p)
{
    // The entry line's text (empty when it was closed) is the pending text again once shown.
    m_ToolPoints.assign(1, p);
    m_ptLast = p;
    m_bDragging = 0;
    m_host.ShowTextEntry();
}

void ToolMachine::CreateTextFromDialog()
{
    if (m_strText.empty())
        return;
    PushUndo();
    m_host.Unit().AddText(m_host.Font(), m_ptLast, m_strText, m_host.Plot(), m_host.Selection(),
                          m_TextPanel.vertical ? 1 : 0, m_TextPanel.mozi_kakudo);
    m_strText.clear();
    m_ToolPoints.clear();
    m_host.RedrawAll();
}

void ToolMachine::StepDecoratedText(CDbPoint p)
{
    m_bDragging = 0;
    const DecoratedTextValues& v = m_DecoratedText;
    if (v.text.empty())
        return;
    PushUndo();
    m_host.Unit().AddDecoratedText(v.font, p, v.text, m_host.Plot(), m_host.Selection(), v.textColour,
                                   v.frameColour, v.framesOnly, v.frameThickness, v.shape, v.slant, v.opacity);
    m_DecoratedText.text.clear();
    m_host.RefreshPanel(ToolPanel::DecoratedText);
}

} // namespace kov::tools
