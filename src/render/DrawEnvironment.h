#pragma once

// What the figure and wall drawers take from the application object: its eight fill-pattern
// bitmaps, the tracing switch (screen only, never saved) and the application settings that steer
// drawing. The application fills one and hands it to every draw pass; tests build their own.

#include "model/KovUnit.h"

#include <QImage>

#include <array>

namespace kov::platform {
class Profile;
}
namespace kov::render {
class ObjectBoxIndex;
}

struct CKovUnit::DrawEnvironment {
    static constexpr int kPatterns = 8;

    std::array<QImage, kPatterns> patterns;  // pattern code n (1-8) paints patterns[n - 1]
    bool traceMode = false;                  // fills and walls laid half transparent on the screen
    int printAuxiliaryFills = 1;             // app_hojonuriprt: auxiliary-line shapes print their fill
    int enlargePrintedPatterns = 0;          // app_pattern_printbai: pattern cells scale with paper
    int roomLinesNeedGreenFloor = 0;         // app_sirokuro_roomhachdel (black and white mode)
    int autoColumns = 1;                     // app_hasiraauto: column squares at wall ends in mode 2
    int picturesBelow = 0;                   // app_gazousita: pictures at the bottom of their layer
    int printRealMode = 0;                   // app_printrealmode: dotted printed-extent frames of texts on the screen
    int tatamiBorders = 0;                   // app_tatamiheri: tatami lines in room swatches
    // The settings' text font, tried when a text's own face cannot be made; null: its built-in default.
    const CFontMenu* fallbackFont = nullptr;
    // app_sirokuro_roomdel is read from here at every polygon drawn, so a change in the settings
    // shows at the next redraw; without a profile it counts as 0.
    const kov::platform::Profile* profile = nullptr;
    // app_sirokuro_roomdel as read once for a whole render (-1: read it from the profile). Bands
    // drawn on other threads take it from here: they read no profile.
    int roomOutlinesWhite = -1;
    // The passes note where each picture was drawn (for its grips and picking). A render in bands
    // notes them once beforehand instead, so that no band writes what another reads.
    bool recordPictureRects = true;
    // The boxes of the drawing's objects for the screen's scale, when the caller keeps them: the
    // layer passes then pick what meets the visible area from them (ObjectBoxIndex.h).
    const kov::render::ObjectBoxIndex* boxIndex = nullptr;
};

// app_sirokuro_roomdel for this drawing: the value read for the render, else the profile's.
bool RoomOutlinesWhite(const CKovUnit::DrawEnvironment& env);
