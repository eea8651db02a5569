#pragma once

// The figure drawers (kinds 0-4 and 6) are members of CKovUnit, declared in model/KovUnit.h and
// defined in FigureDrawers.cpp; this header gathers what callers need beside them.

#include "model/KovUnit.h"
#include "render/DrawEnvironment.h"
#include "render/Fills.h"

namespace kov::render {

// Arc types held in a kind-4 figure's end-mark field.
enum ArcType { kSectorArc = 0, kChordArc = 1, kThickArc = 2 };

// The codes of a continuous line's end marks split per end: the start half goes on its first
// segment, the end half on its last (0 when that end has no mark).
int StartHalfOfEndMarks(int code);
int EndHalfOfEndMarks(int code);

// The band width (drawing millimetres) of a thick arc: its third parameter when it holds exactly
// three, else twice the wall half thickness of the plot settings.
double ThickArcBandWidth(const CKovLine& figure, const CPlotInfo& plot);

} // namespace kov::render
