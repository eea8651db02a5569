#pragma once

// Small pieces the line-style, dimension and end-mark tests share.

#include "model/DrawTransform.h"
#include "platform/RecordingSurface.h"

#include <string>
#include <vector>

namespace kov::test {

inline DeviceTransform uniformTransform(double scale, double paperScale, int originX = 0, int originY = 0)
{
    DeviceTransform t;
    t.originX = originX;
    t.originY = originY;
    t.scaleX.fill(scale);
    t.scaleY.fill(scale);
    t.paperScale = paperScale;
    return t;
}

inline DevicePoint dp(int x, int y)
{
    return {x, y};
}

// The recorded lines as "(x,y)-(x,y)", the form the tables below are written in.
inline std::vector<std::string> recordedLines(const platform::RecordingSurface& s)
{
    std::vector<std::string> out;
    for (const platform::RecordedCall& c : s.calls()) {
        if (c.op != "line") continue;
        out.push_back("(" + std::to_string(c.points[0].x) + "," + std::to_string(c.points[0].y) + ")-(" +
                      std::to_string(c.points[1].x) + "," + std::to_string(c.points[1].y) + ")");
    }
    return out;
}

} // namespace kov::test
