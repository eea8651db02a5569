#pragma once

// The drawing transform gives the model's device points; surfaces take their own point type. Both
// name the same pixel.

#include "model/DrawTransform.h"
#include "platform/Surface.h"

namespace kov::render {

inline platform::DevicePoint ToSurfacePoint(const ::DevicePoint& p)
{
    return {p.x, p.y};
}

} // namespace kov::render
