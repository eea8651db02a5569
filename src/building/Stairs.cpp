// Stairs in plan: the outline and the tread, winder or break lines of the stairs service made into
// figures and grouped; the direction arrow as one line with an arrow head.

#include "building/NewFigures.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/StairsSettings.h"

bool CKovUnit::CreateStairs(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                            const CDbPoint& click, const StairsSettings& settings, int finish)
{
    if (settings.kaidan_mode == StairsSettings::DIRECTION_ARROW) {
        if (finish != 1) return true;
        if (points.size() < 2) return false;
        selection.Clear();
        const int kind = points.size() == 2 ? CKovLine::LINE : CKovLine::CONTINUOUS;
        CKovLine* f = kov::building::appendFigure(*this, plot, kind, points);
        if (!f) return true;
        f->MLineWide = 1;
        f->MLineTanten = 2; // an open arrow at the end
        f->MLineYaWide = 3;
        selection.AddLineId(f->MLineID);
        return true;
    }

    std::array<CDbPoint, 4> outline4;
    std::array<CDbPoint, 6> outline6;
    CDbPointArray treadStarts, treadEnds, turnStarts, turnEnds;
    CDbPoint pivot;
    if (!ComputeStairsGeometry(plot, points, click, settings, outline4, outline6, treadStarts, treadEnds, turnStarts,
                               turnEnds, pivot))
        return false;
    const bool straight = settings.kaidan_mode == StairsSettings::STRAIGHT;
    selection.Clear();
    if (settings.kaidan_nakanuri) {
        CDbPointArray outline = straight ? CDbPointArray(outline4.begin(), outline4.end())
                                         : CDbPointArray(outline6.begin(), outline6.end());
        if (CKovLine* f = kov::building::appendFigure(*this, plot, CKovLine::POLYGON, std::move(outline))) {
            f->MLineColor = 0;
            f->MLineNakaColor = settings.kaidan_nakacolor;
            f->MLinebNakanuri = 1;
            f->MLinebHach = 0;
            f->MLineWide = 1;
            f->MLineLineT = 0;
            selection.AddLineId(f->MLineID);
        }
    }
    const CDbPointArray& starts = straight ? treadStarts : turnStarts;
    const CDbPointArray& ends = straight ? treadEnds : turnEnds;
    for (std::size_t i = 0; i < starts.size() && i < ends.size(); ++i) {
        CKovLine* f = kov::building::appendFigure(*this, plot, CKovLine::LINE, {ends[i], starts[i]});
        if (!f) break;
        f->MLineColor = 0;
        f->MLineWide = 1;
        f->MLineLineT = 0;
        selection.AddLineId(f->MLineID);
    }
    if (!selection.IsEmpty())
        GroupSelection(selection, plot);
    return true;
}
