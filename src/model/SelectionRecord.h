#pragma once

// Which objects are selected, by identifier. A selected group stands for its members.

#include <vector>

class SelectionRecord {
public:
    // What the grip kind names: the handle a select-mode click grabbed on the one selected object.
    enum GripKind {
        GRIP_NONE = 0,
        GRIP_GROUP_CORNER = 1,    // index: box corner 1 (minX, minY), 2 (minX, maxY), 3 (maxX, maxY), 4 (maxX, minY)
        GRIP_PICTURE_CORNER = 2,  // index: 1 left top, 2 left bottom, 3 right bottom, 4 right top
        GRIP_WALL_END = 3,        // index: 1 core end A, 2 core end B
        GRIP_FIGURE_VERTEX = 4,   // index: the vertex; 1 for the rim of a circle or ellipse
        GRIP_TEXT_CORNER = 6,     // index: box corner 1-4
        GRIP_TEXT_ROTATION = 7,
        GRIP_GROUP_ROTATION = 9,
        GRIP_ROOM_VERTEX = 10,    // index: polygon vertex, or wall array position (+ kRoomWallEndB for end B)
    };
    // Above every wall array position (a drawing holds at most 64000 walls), so that no end A of a
    // wall far down the array reads as the end B of another.
    static constexpr int kRoomWallEndB = 1000000;

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
