#pragma once

// A fresh figure appended to the container: a new identifier, the points, the kind and the editing
// layer, every style field as the constructor leaves it; the caller sets the style it takes.

#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <memory>

namespace kov::building {

// Null when every figure identifier is in use.
inline CKovLine* appendFigure(CKovUnit& unit, const CPlotInfo& plot, int kind, CDbPointArray points)
{
    const int id = unit.NextLineId();
    if (id == CKovUnit::kNoFreeId)
        return nullptr;
    auto f = std::make_unique<CKovLine>();
    f->MLineID = id;
    f->MLinePnt = std::move(points);
    f->MLineType = kind;
    f->MLineLayer1 = plot.m_Layer.m_nCurrentGroup;
    f->MLineLayer2 = plot.m_Layer.m_nCurrentLayer;
    return unit.m_Lines[unit.m_Lines.Add(std::move(f))];
}

// The closed set of a style slot: colour, fill, hatch, width, line type, gradient, opacity.
inline void takeClosedStyle(CKovLine& f, const CPlotInfo& plot, int slot, bool opacity)
{
    const auto s = static_cast<std::size_t>(slot);
    f.MLineColor = plot.PlotColor[s];
    f.MLineNakaColor = plot.PlotNakaColor[s];
    f.MLinebNakanuri = plot.PlotNakaNuri[s];
    f.MLinebHach = plot.PlotbHach[s];
    f.MLineWide = plot.PlotLineWide[s];
    f.MLineLineT = plot.PlotLineType[s];
    f.MLineHachT = plot.PlotHachT[s];
    f.MLineGradiation = plot.PlotGradiation[s];
    f.MLineNakaColor2 = plot.PlotNakaColor2[s];
    if (opacity)
        f.MLineAlpha = plot.PlotAlpha[s];
}

} // namespace kov::building
