#pragma once

// Which objects are selected, by identifier. A selected group stands for its members.

#include <vector>

class SelectionRecord {
public:
    int m_nCount = 0;              // number of selected objects; 0 when nothing is selected
    std::vector<int> m_Groups;     // identifiers of the selected groups
    std::vector<int> m_Walls;      // walls and columns
    std::vector<int> m_Lines;      // figures
    std::vector<int> m_Texts;
    std::vector<int> m_Images;     // pictures
    int m_nGripKind = 0;           // kind of the grip being dragged; 0 for none
    int m_nGripIndex = 0;          // which grip of that kind

    SelectionRecord() { Clear(); }

    // Count 0, the five lists emptied, no grip.
    void Clear();

    // Append one identifier to a list and count it (no duplicate check, as the picks do).
    void AddGroupId(int id) { m_Groups.push_back(id); ++m_nCount; }
    void AddWallId(int id) { m_Walls.push_back(id); ++m_nCount; }
    void AddLineId(int id) { m_Lines.push_back(id); ++m_nCount; }
    void AddTextId(int id) { m_Texts.push_back(id); ++m_nCount; }
    void AddImageId(int id) { m_Images.push_back(id); ++m_nCount; }

    bool IsEmpty() const { return m_nCount == 0; }
};
