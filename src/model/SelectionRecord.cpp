#include "model/SelectionRecord.h"

void SelectionRecord::Clear()
{
    m_nCount = 0;
    m_Groups.clear();
    m_Walls.clear();
    m_Lines.clear();
    m_Texts.clear();
    m_Images.clear();
    m_nGripKind = 0;
    m_nGripIndex = 0;
}
