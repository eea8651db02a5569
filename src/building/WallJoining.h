#pragma once

// Wall joining: the joint of one outline edge against another wall's corner quadrilateral, the join
// of a layer group, and the screen-region test of a wall's corners.

#include "model/DbPoint.h"
#include "model/DrawTransform.h"

#include <array>

class CKovUnit;

// Joint codes of an edge P->Q against a wall.
enum WallJointCode {
    JOINT_NONE = 0,    // unchanged
    JOINT_ENTERS = 1,  // becomes P->out2
    JOINT_LEAVES = 2,  // becomes out1->Q
    JOINT_CROSSES = 3, // becomes P->out2, and out1->Q is added
    JOINT_INSIDE = 4,  // removed
};

// A polygon region on whole millimetres filled by the winding rule, with the raster boundary rule
// of screen regions: a point belongs to the region when, on its row y (rows from the top vertex
// down to but not including the bottom one), the winding number of the edges whose crossing
// (rounded up to a whole x) lies at or left of x is not zero. Left and top borders are inside,
// right and bottom borders outside.
class WallRegion {
public:
    explicit WallRegion(const std::array<CDbPoint, 4>& corners);
    explicit WallRegion(const std::array<DevicePoint, 4>& corners) : m_pts(corners) {}

    bool contains(int x, int y) const;
    // The point rounded to whole millimetres first.
    bool contains(const CDbPoint& p) const;

private:
    std::array<DevicePoint, 4> m_pts;
};

// The joint code of edge P->Q against the wall with these corners and full thickness e, with the cut
// points. P and Q are ordered as ClipWallEdge orders them. Cuts are the exact crossings of the edge's
// line with the wall's sides, rounded to whole millimetres at the end (a coordinate an axis-parallel
// side or edge fixes is kept as it is); whether an end lies inside is judged against the corners as
// they stand. Joining itself cuts each edge on the line of its own wall's side, so that cuts made one
// after another do not drift with the rounding of the earlier ones.
int ClassifyWallEdge(const std::array<CDbPoint, 4>& corners, const CDbPoint& p, const CDbPoint& q, CDbPoint& out1,
                     CDbPoint& out2, double e);
// The case of an oblique wall or an oblique edge; kind 1 vertical, 2 horizontal, 3 oblique. The cut is
// taken on the line P-Q itself: slope, intercept and region are accepted for callers of the older
// form and not used.
int ClassifyWallEdgeGeneral(const std::array<CDbPoint, 4>& corners, const CDbPoint& p, const CDbPoint& q,
                            CDbPoint& out1, CDbPoint& out2, double slope, double intercept, const WallRegion& region,
                            int kind);

namespace kov::building {

// JoinWalls with or without the spatial prefilter. The prefilter only leaves out walls whose test
// would give code 0, and hands the others over in array order, so both give the same outlines.
void joinWalls(CKovUnit& unit, int layerGroup, bool prefilter);

} // namespace kov::building
