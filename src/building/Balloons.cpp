// Speech balloons and rounded rectangles: one closed polygon, made a group of its own so that it
// moves and scales as one object. The outlines come from the balloon service the previews share.

#include "building/NewFigures.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

namespace {

// The polygon as the only selected figure, then made a group, which becomes the selection.
void addGrouped(CKovUnit& unit, SelectionRecord& selection, const CPlotInfo& plot, CKovLine* f)
{
    if (!f) return;
    selection.AddLineId(f->MLineID);
    unit.GroupSelection(selection, plot);
}

} // namespace

void CKovUnit::CreateBalloon(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& corners,
                             const CDbPoint& tip, const DeviceTransform& transform, int arcSteps, int direction,
                             int position, int shape)
{
    selection.Clear();
    if (corners.size() < 2) return;
    CDbPointArray outline =
        BalloonOutline(corners[0], corners[1], tip, transform.paperScale, arcSteps, direction, position, shape);
    if (outline.empty()) return;
    CKovLine* f = kov::building::appendFigure(*this, plot, CKovLine::POLYGON, std::move(outline));
    if (!f) return;
    // The rectangle slot's style, its pattern too; a balloon stays opaque whatever the slot holds.
    kov::building::takeClosedStyle(*f, plot, 1, false);
    f->MLinePattern = plot.PlotPattern[1];
    addGrouped(*this, selection, plot, f);
}

void CKovUnit::CreateRoundedRect(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& corners,
                                 const CDbPoint& radiusPoint, int arcSteps)
{
    selection.Clear();
    if (corners.size() < 2) return;
    CDbPointArray outline = RoundedRectOutline(corners[0], corners[1], radiusPoint, arcSteps);
    if (outline.empty()) return;
    CKovLine* f = kov::building::appendFigure(*this, plot, CKovLine::POLYGON, std::move(outline));
    if (!f) return;
    kov::building::takeClosedStyle(*f, plot, 1, true);
    addGrouped(*this, selection, plot, f);
}
