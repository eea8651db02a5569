// Wall corners and the reset of a wall's outline: the geometry the container keeps consistent with
// every wall's core and thickness.

#include "model/Geometry.h"
#include "model/KovUnit.h"

#include <cmath>
#include <utility>

int CKovUnit::ComputeWallCorners(std::array<CDbPoint, 4>& c, CDbPoint& a, CDbPoint& b, double t, int flag)
{
    if (flag == 0) {
        // A column: the square about A.
        c[0] = {a.x - t, a.y - t};
        c[1] = {a.x - t, a.y + t};
        c[2] = {a.x + t, a.y + t};
        c[3] = {a.x + t, a.y - t};
        return 1;
    }
    if (a == b)
        return 0;

    if (std::fabs(a.x - b.x) < kKovAxisTolerance) {
        // Vertical: A becomes the upper end; the rectangle reaches t beyond both ends.
        if (b.y <= a.y)
            std::swap(a, b);
        const double x = a.x;
        c[0] = {x - t, a.y - t};
        c[1] = {x - t, b.y + t};
        c[2] = {x + t, b.y + t};
        c[3] = {x + t, a.y - t};
        return 1;
    }

    if (std::fabs(a.y - b.y) < kKovAxisTolerance) {
        // Horizontal: the y of A as passed; A becomes the left end.
        const double y = a.y;
        if (!(b.x > a.x))
            std::swap(a, b);
        c[0] = {a.x - t, y - t};
        c[1] = {a.x - t, y + t};
        c[2] = {b.x + t, y + t};
        c[3] = {b.x + t, y - t};
        return 1;
    }

    // Oblique: corners on the perpendiculars through both ends, not extended, each coordinate cut
    // toward zero to whole millimetres.
    if (b.x <= a.x)
        std::swap(a, b);
    const CDbPoint p1 = a;
    const CDbPoint p2 = b;
    const double m = -(p2.x - p1.x) / (p2.y - p1.y);
    const double k1 = p1.y - m * p1.x;
    const double k2 = p2.y - m * p2.x;
    const double d = std::sqrt(t * t / (m * m + 1.0));
    auto corner = [m](double x, double k) { return CDbPoint(std::trunc(x), std::trunc(m * x + k)); };
    c[0] = corner(p2.x - d, k2);
    c[1] = corner(p1.x - d, k1);
    c[2] = corner(p1.x + d, k1);
    c[3] = corner(p2.x + d, k2);
    return 1;
}

void CKovUnit::UpdateWallCorners(int wallId)
{
    CKovWall* wall = FindWall(wallId);
    if (!wall)
        return;
    std::array<CDbPoint, 4> corners;
    if (ComputeWallCorners(corners, wall->MWallPntA, wall->MWallPntB, wall->MWallWide1, 1))
        wall->MWallPntKado = corners;
}

int CKovUnit::ResetWallOutline(int wallId)
{
    CKovWall* wall = FindWall(wallId);
    if (!wall)
        return -1;
    if (wall->MWall_Type != CKovWall::WALL)
        return 0;
    const auto& c = wall->MWallPntKado;
    wall->MWallarPntA = {c[0], c[1], c[2], c[3]};
    wall->MWallarPntB = {c[1], c[2], c[3], c[0]};
    return 1;
}
