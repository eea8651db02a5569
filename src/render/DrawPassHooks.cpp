#include "render/DrawPassHooks.h"

namespace kov::render {

void DrawTextForPass(const CKovUnit&, platform::Surface&, const DeviceTransform&, const CKovText&, const CPlotInfo&,
                     const SelectionRecord&, bool, int, bool, const CKovUnit::DrawEnvironment&)
{
}

void DrawTextsForPass(const CKovUnit&, platform::Surface&, const DeviceTransform&, const SelectionRecord&, bool, int,
                      bool, const CKovUnit::DrawEnvironment&)
{
}

void DrawPictureForPass(const CKovImage&, platform::Surface&, const DeviceRect&, bool, const DeviceTransform&)
{
}

void DrawSelectionMarksForPass(const CKovUnit&, platform::Surface&, const DeviceTransform&, const CPlotInfo&,
                               const SelectionRecord&)
{
}

} // namespace kov::render
