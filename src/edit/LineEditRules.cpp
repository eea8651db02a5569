#include "edit/LineEditRules.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <utility>

namespace kov::edit {

const CKovLine* OnlyPickedFigure(const CKovUnit& unit, const SelectionRecord& picked)
{
    if (picked.m_nCount != 1 || picked.m_Lines.size() != 1)
        return nullptr;
    return unit.FindLine(picked.m_Lines.front());
}

bool OnCurrentLayer(const CPlotInfo& plot, const CKovLine& f)
{
    return f.MLineLayer1 == plot.m_Layer.m_nCurrentGroup && f.MLineLayer2 == plot.m_Layer.m_nCurrentLayer;
}

bool PointOnArc(const CKovLine& arc, const CDbPoint& p)
{
    const CDbPoint& c = arc.MLinePnt[0];
    const double a = VectorAngle(c.x, c.y, p.x, p.y);
    const double s = VectorAngle(c.x, c.y, arc.MLinePnt[1].x, arc.MLinePnt[1].y);
    const double e = VectorAngle(c.x, c.y, arc.MLinePnt[2].x, arc.MLinePnt[2].y);
    if (e > s)
        return s <= a && a <= e;
    return a >= s || a <= e;
}

int ArcEndNearer(const CKovLine& arc, const CDbPoint& click)
{
    const CDbPoint& s = arc.MLinePnt[1];
    const CDbPoint& e = arc.MLinePnt[2];
    return PointDistance(click.x, click.y, e.x, e.y) > PointDistance(click.x, click.y, s.x, s.y) ? 1 : 2;
}

void MoveArcEnd(CKovLine& arc, int end, const CDbPoint& p)
{
    arc.MLinePnt[end == 1 ? 1 : 2] = p;
}

std::unique_ptr<CKovLine> NewLineStyledFigure(CKovUnit& unit, const CPlotInfo& plot, int kind, CDbPointArray points)
{
    auto f = CKovLine::MakeStyled(CKovLine::LINE, plot);
    f->MLineType = kind;
    // On an arc the end-mark field is the arc's type: a line's arrow code would make it a chord or a
    // thick band.
    if (kind == CKovLine::ARC)
        f->MLineTanten = CKovLine::SECTOR_ARC;
    f->MLineID = unit.NextLineId();
    f->MLineLayer1 = plot.m_Layer.m_nCurrentGroup;
    f->MLineLayer2 = plot.m_Layer.m_nCurrentLayer;
    f->MLinePnt = std::move(points);
    return f;
}

} // namespace kov::edit
