// The grid stage's rounding on one axis: toward the grid origin, one spacing on past half.

#include "tools/ToolMachine.h"

#include <gtest/gtest.h>

namespace {

TEST(GridSnap, RoundsTowardTheOriginAndPastHalf)
{
    struct Case {
        double p, origin, spacing, expected;
    };
    const Case cases[] = {
        {230, 0, 455, 455},      // past half: on to the next point
        {227.5, 0, 455, 0},      // exactly half stays toward the origin
        {-230, 0, 455, -455},
        {-227.5, 0, 455, 0},
        {910, 0, 455, 910},
        {1000, 0, 910, 910},
        {0, -100, 910, -100},    // a grid started at y = -100
        {350, -100, 910, -100},
        {400, -100, 910, 810},
        {5, 0, 0, 5},            // no spacing: no snapping
    };
    for (const Case& c : cases)
        EXPECT_EQ(kov::tools::GridSnapCoord(c.p, c.origin, c.spacing), c.expected) << c.p << " on " << c.spacing;
}

} // namespace
