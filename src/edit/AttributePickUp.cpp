// Attribute pick-up: the object under the click lends its layer and its style to what is drawn next.

#include "edit/PickRules.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <utility>

using namespace kov::edit;

int CKovUnit::PickUpAttributes(const TextBoxMeasurer& measurer, SelectionRecord& selection, CPlotInfo& plot,
                               CFontMenu& currentFont, double x, double y, const DeviceTransform& transform,
                               TextToolSettings& textTool)
{
    selection.Clear();
    const DevicePoint click = ClickDevicePoint(x, y, transform, plot.m_Layer.m_nCurrentGroup);
    // Groups by their corners only on layers that can be snapped to; everything else on any layer,
    // hidden ones included.
    const bool picked =
        PickGroup(selection, plot, PickLayers::SnappableOrCurrent, click.x, click.y, transform, 0, 0) ||
        PickText(measurer, selection, plot, PickLayers::Every, click.x, click.y, transform, 0, 0, 0) ||
        PickFigure(selection, plot, PickLayers::Every, x, y, click.x, click.y, transform, 0, 0, 0) ||
        PickWall(selection, plot, PickLayers::Every, x, y, click.x, click.y, transform, 0, 0, 0) ||
        PickImage(selection, plot, PickLayers::Every, click.x, click.y, 0, 0);
    if (!picked || selection.m_nCount != 1)
        return 0;

    const CKovUnit& self = *this;
    if (!selection.m_Groups.empty()) {
        const CKovGroup* group = self.FindGroup(selection.m_Groups.front());
        if (!group)
            return 0;
        SetCurrentLayer(plot, LayerOf(*group));
    } else if (!selection.m_Walls.empty()) {
        const CKovWall* wall = self.FindWall(selection.m_Walls.front());
        if (!wall)
            return 0;
        SetCurrentLayer(plot, LayerOf(*wall));
        (wall->MWall_Type != CKovWall::WALL ? plot.PlotHasiraWide : plot.PlotWallWide) = wall->MWallWide1;
    } else if (!selection.m_Lines.empty()) {
        const CKovLine* figure = self.FindLine(selection.m_Lines.front());
        if (!figure)
            return 0;
        SetCurrentLayer(plot, LayerOf(*figure));
        figure->StoreDefaultStyle(plot);
    } else if (!selection.m_Texts.empty()) {
        const CKovText* text = self.FindText(selection.m_Texts.front());
        if (!text)
            return 0;
        SetCurrentLayer(plot, LayerOf(*text));
        currentFont = text->MTextFontMenu;
        // The current font is kept upright; the text tool's own settings say how the next text turns.
        if (!currentFont.lfFaceName.empty() && currentFont.lfFaceName.front() == '@') {
            currentFont.lfFaceName.erase(0, 1);
            currentFont.lfEscapement -= 2700;
            if (currentFont.lfEscapement < 0)
                currentFont.lfEscapement += 3600;
            textTool.mozi_tategaki = 1;
        } else {
            textTool.mozi_tategaki = 0;
        }
        textTool.mozi_kakudo = currentFont.lfEscapement / 10;
        currentFont.lfEscapement = 0;
    } else if (!selection.m_Images.empty()) {
        const CKovImage* picture = self.FindImage(selection.m_Images.front());
        if (!picture)
            return 0;
        SetCurrentLayer(plot, LayerOf(*picture));
    }
    return 1;
}
