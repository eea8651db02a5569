// Select mode: a click first tries the grips of the one selected object and the objects already
// selected, then picks; a drag edits the drawing live from the snapshot taken at that click; the
// release rejoins the walls that moved and lays a reshaped room's hatch again.

#include "tools/ToolMachine.h"

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kov::tools {

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";

} // namespace

int ToolMachine::settingInt(std::string_view section, std::string_view key, int fallback)
{
    const kov::platform::Profile* store = m_host.SettingsStore();
    return store ? store->GetProfileInt(section, key, fallback) : fallback;
}

void ToolMachine::SelectClick(const CDbPoint& p, const DeviceTransform& t, unsigned flags)
{
    m_ToolPoints.clear();
    CKovUnit& unit = m_host.Unit();
    SelectionRecord& sel = m_host.Selection();
    if (!unit.HitTestGrips(m_host.Measurer(), m_host.Plot(), sel, p.x, p.y, t, static_cast<int>(flags),
                           m_bStretchRotate))
        unit.PickAtPoint(m_host.Measurer(), sel, m_host.Plot(), p.x, p.y, t, static_cast<int>(flags), 0);
    // The drag that may follow starts from this snapshot.
    if (!sel.IsEmpty())
        PushUndo();
}

void ToolMachine::dragSelection(const DeviceTransform& t)
{
    const CKovUnit* snapshot = m_host.NewestSnapshot();
    if (!snapshot)
        return;
    const double dx = m_ptCurrent.x - m_ptLast.x;
    const double dy = m_ptCurrent.y - m_ptLast.y;
    // A drag back to the press point puts the selection back where it was; until the pointer has
    // moved nothing is touched, so that a plain click records no change.
    if (dx == 0 && dy == 0 && !m_bMoved)
        return;
    CKovUnit::DragOptions options;
    // The panel's lock list may change between two moves: it is read at every step.
    options.roomLock = settingInt(kUtility, "app_room_lock", 2);
    options.keepAspect = settingInt(kUtility, "app_strecheven", 0);
    m_host.Unit().DragSelection(m_host.Measurer(), t, m_host.Plot(), m_host.Grid(), m_host.Selection(), dx, dy,
                                *snapshot, m_pxCurrent.x - m_pxLast.x, options);
    dragPictures(t, dx, dy, *snapshot);
    m_bMoved = 1;
}

// Pictures lie in paper millimetres: the drag moves them, or with the stretch-and-rotate switch a
// grabbed corner resizes them evenly about their centre. Each step starts from the snapshot.
void ToolMachine::dragPictures(const DeviceTransform& t, double dx, double dy, const CKovUnit& snapshot)
{
    SelectionRecord& sel = m_host.Selection();
    if (sel.m_Images.empty())
        return;
    const auto g = static_cast<std::size_t>(CurrentGroup());
    const double paper = t.paperScale != 0 ? t.paperScale : 1;
    const double px = dx * t.scaleX[g] / paper, py = dy * t.scaleY[g] / paper;
    CKovUnit& unit = m_host.Unit();
    for (int id : sel.m_Images) {
        const int index = unit.FindImageIndex(id);
        const CKovImage* saved = index < 0 ? nullptr : snapshot.FindImage(id);
        if (!saved)
            continue;
        CKovImage& picture = *unit.m_Images[index];
        picture.CopyFrom(*saved);
        if (sel.m_nGripKind == SelectionRecord::GRIP_NONE) {
            picture.MoveBy(px, py);
        } else if (sel.m_nGripKind == SelectionRecord::GRIP_PICTURE_CORNER && m_bStretchRotate) {
            const double cx = 2 * px, cy = 2 * py;
            const double w = saved->ImageWidth, h = saved->ImageHeight;
            switch (sel.m_nGripIndex) {
            case 1: picture.ImageWidth = std::abs(w - cx), picture.ImageHeight = std::abs(h - cy); break;
            case 2: picture.ImageWidth = std::abs(w - cx), picture.ImageHeight = std::abs(h + cy); break;
            case 3: picture.ImageWidth = std::abs(w + cx), picture.ImageHeight = std::abs(h + cy); break;
            case 4: picture.ImageWidth = std::abs(w + cx), picture.ImageHeight = std::abs(h - cy); break;
            default: break;
            }
        }
    }
}

void ToolMachine::FinishSelectionDrag(const DeviceTransform& t)
{
    const SelectionRecord& sel = m_host.Selection();
    const CKovUnit& unit = m_host.Unit();
    bool walls = !sel.m_Walls.empty();
    for (int id : sel.m_Groups)
        if (const CKovGroup* g = unit.FindGroup(id); g && !g->MGrpWallID.empty())
            walls = true;
    if (walls)
        rejoinWalls();
    // A room reshaped by its vertex: its hatch is laid again over the new floor.
    if (sel.m_nGripKind != SelectionRecord::GRIP_ROOM_VERTEX || sel.m_Groups.size() != 1)
        return;
    const CKovGroup* room = unit.FindGroup(sel.m_Groups.front());
    if (!room || room->MGrpRoom != CKovGroup::ROOM || room->MGrpLineID.empty())
        return;
    const CKovLine* floor = unit.FindLine(room->MGrpLineID.front());
    if (!floor || floor->MLineType != CKovLine::POLYGON)
        return;
    CKovUnit& live = m_host.Unit();
    const int roomId = room->MGrpID;
    const int floorId = floor->MLineID;
    std::vector<int> hatch;
    for (int id : room->MGrpLineID)
        if (const CKovLine* f = unit.FindLine(id); f && f->MLineType == CKovLine::LINE)
            hatch.push_back(id);
    if (hatch.empty())
        return;
    // The room keeps its own hatch colour, whatever the settings for new rooms say now.
    const std::uint32_t colour = unit.FindLine(hatch.front())->MLineColor;
    for (int id : hatch)
        live.DeleteLine(id);
    CKovGroup& group = *live.FindGroup(roomId);
    std::erase_if(group.MGrpLineID, [&](int id) { return std::find(hatch.begin(), hatch.end(), id) != hatch.end(); });
    const std::size_t before = group.MGrpLineID.size();
    live.AddRoomHatchLines(t, m_host.Plot(), *live.FindLine(floorId), group);
    for (std::size_t k = before; k < group.MGrpLineID.size(); ++k)
        if (CKovLine* line = live.FindLine(group.MGrpLineID[k]))
            line->MLineColor = colour;
}

} // namespace kov::tools
