#include "model/KovUnit.h"

#include "model/DrawTransform.h"
#include "model/Geometry.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "render/TextDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

using kov::platform::DevicePoint;

constexpr std::uint32_t kGroupGrip = 0x0000FF;
constexpr std::uint32_t kHandleGrip = 0x00FF00;
constexpr std::uint32_t kWallGrip = 0xD87EDA;
constexpr std::uint32_t kObjectGrip = 0x000000;
constexpr std::uint32_t kAnchorGrip = 0xFF0000;

int clampedGroup(int layerGroup)
{
    return std::clamp(layerGroup, 0, DeviceTransform::kLayerGroups - 1);
}

} // namespace

void CKovUnit::DrawGripSquare(kov::platform::Surface& dc, const DevicePoint& point, std::uint32_t colour)
{
    const int h = g_nPickTolerance / 2;
    dc.fillRect({point.x - h, point.y - h, point.x + h, point.y + h}, kov::platform::Brush::solid(colour));
}

void CKovUnit::DrawSelectionMarks(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo&,
                                  const SelectionRecord& selection) const
{
    const bool single = selection.m_nCount == 1;
    auto grip = [&](const DevicePoint& p, std::uint32_t colour) { DrawGripSquare(dc, p, colour); };

    for (const int id : selection.m_Groups) {
        const CKovGroup* group = std::as_const(*this).FindGroup(id);
        if (group == nullptr) continue;
        const int lg = clampedGroup(group->MGrpLayer1);
        const DevicePoint g = ToDevicePoint(group->MGrpmin, transform, lg);
        const DevicePoint u = ToDevicePoint(group->MGrpmax, transform, lg);
        if (single && group->MGrpRoom == CKovGroup::ROOM) {
            for (const int wallId : group->MGrpWallID) {
                const CKovWall* wall = std::as_const(*this).FindWall(wallId);
                if (wall == nullptr) continue;
                const int wg = clampedGroup(wall->MWallLayer1);
                grip(ToDevicePoint(wall->MWallPntA, transform, wg), kGroupGrip);
                grip(ToDevicePoint(wall->MWallPntB, transform, wg), kGroupGrip);
            }
        } else {
            grip(g, kGroupGrip);
            grip({g.x, u.y}, kGroupGrip);
            grip(u, kGroupGrip);
            grip({u.x, g.y}, kGroupGrip);
        }
        if (single) {
            // The rotation handle: half the box width along the group's direction from its minimum corner.
            const double a = group->MGrpKakudo * std::numbers::pi / 180.0;
            const double s = std::abs(group->MGrpmax.x - group->MGrpmin.x) * 0.5 * transform.scaleX[std::size_t(lg)];
            grip({int(std::clamp<long long>(g.x + truncToInt64(std::cos(a) * s), -kDeviceCoordLimit, kDeviceCoordLimit)),
                  int(std::clamp<long long>(g.y - truncToInt64(std::sin(a) * s), -kDeviceCoordLimit,
                                            kDeviceCoordLimit))},
                 kHandleGrip);
        }
    }

    for (const int id : selection.m_Walls) {
        const CKovWall* wall = std::as_const(*this).FindWall(id);
        if (wall == nullptr || wall->MWallGrpID != 0) continue;
        const int lg = clampedGroup(wall->MWallLayer1);
        grip(ToDevicePoint(wall->MWallPntA, transform, lg), kWallGrip);
        grip(ToDevicePoint(wall->MWallPntB, transform, lg), kWallGrip);
    }

    for (const int id : selection.m_Lines) {
        const CKovLine* figure = std::as_const(*this).FindLine(id);
        if (figure == nullptr || figure->MLineGrpID != 0) continue;
        const int lg = clampedGroup(figure->MLineLayer1);
        for (const CDbPoint& p : figure->MLinePnt) grip(ToDevicePoint(p, transform, lg), kObjectGrip);
    }

    for (const int id : selection.m_Texts) {
        const CKovText* text = std::as_const(*this).FindText(id);
        if (text == nullptr || text->MTextGrpID != 0) continue;
        const CFontMenu& font = text->MTextFontMenu;
        const DevicePoint at = ToDevicePoint(text->MTextpnt, transform, clampedGroup(text->MTextLayer1));
        kov::platform::DeviceRect box;
        TextBoxSize(box, dc, at.x, at.y, text->MTextstr, font, transform.paperScale);
        const double width = box.right == box.left ? 1.0 : double(box.right) - box.left;
        // The box runs across the lines in the direction they step, for vertical columns as well
        // (to the left of the anchor), so that the grips enclose what is drawn.
        const double height = double(box.bottom) - box.top;
        const int angle = font.lfEscapement;
        const bool vertical = angle == 2700 && kov::render::IsVerticalFace(font.lfFaceName);
        const double widthAngle = angle / 10.0 * std::numbers::pi / 180.0;
        const double across = std::fmod(angle / 10.0 + 270.0, 360.0);
        const DeviceCorners corners =
            RotatedBoxCorners(at.x, at.y, width, height, widthAngle, across * std::numbers::pi / 180.0,
                              std::clamp(font.m_toko_align, 0, 2), std::clamp(font.m_tate_align, 0, 2));
        for (const DevicePoint& c : corners) grip(c, kObjectGrip);
        if (single && !vertical) {
            const int length = 2 * g_nSnapTolerance;
            const DevicePoint from = corners[3];
            const DevicePoint to{from.x + truncToInt(std::cos(widthAngle) * length),
                                 from.y - truncToInt(std::sin(widthAngle) * length)};
            dc.line(from, to, kov::platform::Pen{kov::platform::PenStyle::Solid, 1, 0},
                    kov::platform::Background::transparent());
            grip(to, kHandleGrip);
            grip(at, kAnchorGrip);
        }
    }

    for (const int id : selection.m_Images) {
        const CKovImage* image = std::as_const(*this).FindImage(id);
        if (image == nullptr) continue;
        const DeviceRect& r = image->m_rcDrawn;
        grip({r.left, r.top}, kObjectGrip);
        grip({r.left, r.bottom}, kObjectGrip);
        grip({r.right, r.bottom}, kObjectGrip);
        grip({r.right, r.top}, kObjectGrip);
    }
}
