#pragma once

// Pieces of the dimension drawer (CKovUnit::DrawFigureDimension): the value text, the font and the
// text's escapement per dimension type.

#include "platform/Surface.h"

#include <string>

class CPlotInfo;
class CDbPoint;

namespace kov::render {

// Dimension types held in a kind-5 figure's first parameter.
enum DimensionType { kDimAbove = 1, kDimLeft = 2, kDimBelow = 3, kDimRight = 4, kDimAlignedPlus = 5,
                     kDimAlignedMinus = 6 };

// The measured value in millimetres as shown: in the unit, with the decimals and digit separators
// of the plot settings. Empty for a decimals setting outside 0-3.
std::string DimensionValueText(const CPlotInfo& plot, double valueMm);

// The dimension font at the paper scale, without escapement.
platform::Font DimensionFont(const CPlotInfo& plot, double paperScale);

// Tenths of a degree: 0 for types 1 and 3, 900 for 2 and 4; aligned types follow the measured
// points, turned half round where the text would read upside down.
int DimensionEscapement(int type, const CDbPoint& p0, const CDbPoint& p1);

} // namespace kov::render
