#pragma once

// What the previews of the tool in use draw from, gathered from the tool machine's state, the view's
// tool settings and the open tool panels. A view's paint hands the result to
// kov::render::DrawToolOverlay over its copy of the back buffer.

#include "model/KovUnit.h"
#include "render/MeasureOverlays.h"
#include "render/ToolPreviews.h"
#include "tools/ViewSettings.h"

namespace kov::tools {

class ToolMachine;

// The panel values and the settings read at each use that the previews need.
struct PreviewPanelValues {
    int fittingKind = 0;           // chosen in the fittings palette
    int fittingNumber = 0;
    int divisions = 2;             // tool_bunkatu
    int fittingOnRight = 0;        // tateg_seti
    bool clockwiseAngles = false;  // tool_kakudo_tokei
};

// The preview input of the machine's tool; the line, text and decorated-text tools' values are the
// machine's own. The rectangle room's pointer is first moved to the
// preset room corner, as the room tool will place it.
CKovUnit::PreviewInput PreviewInputOf(ToolMachine& machine, const ViewToolSettings& settings,
                                      const PreviewPanelValues& panels,
                                      const CKovUnit::DrawEnvironment& env, const platform::DeviceRect& drawingArea);

// The arc mode and readout options of the machine's tool.
kov::render::ToolOverlayOptions OverlayOptionsOf(const ToolMachine& machine, const PreviewPanelValues& panels);

} // namespace kov::tools
