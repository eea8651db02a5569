#pragma once

// Small rules the line edits share: what a pick left, which figures are elliptic, whether a point
// lies on an arc, which end of an arc a click is nearer, and how new figures are styled.

#include "model/DbPoint.h"
#include "model/KovLine.h"

#include <memory>

class CKovUnit;
class CPlotInfo;
class SelectionRecord;

namespace kov::edit {

// The figure a pick left as the only selected object of a fresh record, or null: a group hit, or
// anything but exactly one figure, counts as nothing picked.
const CKovLine* OnlyPickedFigure(const CKovUnit& unit, const SelectionRecord& picked);

// An ellipse or elliptic arc carries two radii (a curved wall's arc carries three: a radius and
// its band).
inline bool IsElliptic(const CKovLine& f) { return f.MLineParam.size() == 2; }
// A circle or arc with a radius to work with.
inline bool IsRound(const CKovLine& f) { return !f.MLineParam.empty() && !IsElliptic(f); }

bool OnCurrentLayer(const CPlotInfo& plot, const CKovLine& f);

// Whether p, seen from the arc's centre, lies within the arc's span from start to end
// (counter-clockwise on the screen, both limits included).
bool PointOnArc(const CKovLine& arc, const CDbPoint& p);

// 1 when the click is nearer the arc's start than its end (the start moves), else 2.
int ArcEndNearer(const CKovLine& arc, const CDbPoint& click);
// Moves the arc's start (1) or end (2) to p.
void MoveArcEnd(CKovLine& arc, int end, const CDbPoint& p);

// A new figure with the default style of straight lines, a fresh identifier and the editing layer;
// `kind` is set after the style, so an arc takes the line style too (a plain arc, whatever end marks
// lines have). The caller appends it.
std::unique_ptr<CKovLine> NewLineStyledFigure(CKovUnit& unit, const CPlotInfo& plot, int kind, CDbPointArray points);

} // namespace kov::edit
