#pragma once

// The text, picture and selection-mark drawers as the passes call them: the one place where the
// passes meet those drawers.

#include "model/KovUnit.h"
#include "render/DrawEnvironment.h"

class CPlotInfo;
class SelectionRecord;

namespace kov::render {

// One text with the selection filter (0 all, 1 unselected, 2 selected).
void DrawTextForPass(const CKovUnit& unit, platform::Surface& dc, const DeviceTransform& transform,
                     const CKovText& text, const CPlotInfo& plot, const SelectionRecord& selection, bool placing,
                     int filter, bool output, const CKovUnit::DrawEnvironment& env);
// Every text of the container with the filter, without the colour modes.
void DrawTextsForPass(const CKovUnit& unit, platform::Surface& dc, const DeviceTransform& transform,
                      const SelectionRecord& selection, bool placing, int filter, bool output,
                      const CKovUnit::DrawEnvironment& env);
// A picture into its device rectangle.
void DrawPictureForPass(const CKovImage& image, platform::Surface& dc, const DeviceRect& rect, bool output,
                        const DeviceTransform& transform);
void DrawSelectionMarksForPass(const CKovUnit& unit, platform::Surface& dc, const DeviceTransform& transform,
                               const CPlotInfo& plot, const SelectionRecord& selection);

} // namespace kov::render
