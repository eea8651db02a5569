// The range print (tool 59): the drag's release hands the rectangle to the print preview.

#include "tools/ToolMachine.h"

#include "tools/PictureTexts.h"
#include "tools/ToolTexts.h"

#include <algorithm>

namespace kov::tools {

void ToolMachine::FinishPrintRange()
{
    SetToolPrompt(kSelectMode);
    m_host.ToolMode() = 0;
    m_ToolPoints.clear();
    // The press recorded the first corner; the release's conversion the second.
    if (m_pxLast.x == m_pxCurrent.x || m_pxLast.y == m_pxCurrent.y) {
        m_host.ShowMessage(picturetext::kRangeFailed);
        return;
    }
    const CDbPoint first{std::min(m_ptLast.x, m_ptCurrent.x), std::min(m_ptLast.y, m_ptCurrent.y)};
    const CDbPoint second{std::max(m_ptLast.x, m_ptCurrent.x), std::max(m_ptLast.y, m_ptCurrent.y)};
    m_ptLast = first;
    m_ptCurrent = second;
    m_bPrintRange = 1;
    m_bDragging = 0;
    m_host.PrintRange(first, second);
}

} // namespace kov::tools
