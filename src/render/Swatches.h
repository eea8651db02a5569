#pragma once

// What the style swatches take from the application: its fill-pattern bitmaps and the settings
// app_hasiraauto and app_tatamiheri. The tolerances are the module-wide ones (model/DrawTransform.h).

#include "model/FontMenu.h"
#include "model/PlotInfo.h"
#include "model/RoomInfo.h"
#include "platform/Surface.h"

#include <QImage>

#include <array>

struct SwatchEnvironment {
    static constexpr int kPatterns = 8;
    std::array<QImage, kPatterns> patterns;  // pattern code n (1-8) paints patterns[n - 1]
    int autoColumns = 1;                     // app_hasiraauto
    int tatamiBorders = 0;                   // app_tatamiheri
};
