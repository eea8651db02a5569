#include "model/KovLine.h"

#include "model/PlotInfo.h"

void CKovLine::MoveBy(double dx, double dy)
{
    for (CDbPoint& p : MLinePnt) {
        p.x += dx;
        p.y += dy;
    }
}

int CKovLine::StyleSlotOfKind(int kind)
{
    return kind >= RECTANGLE && kind <= ARC ? kind : 0;
}

int CKovLine::StyleSlot() const { return StyleSlotOfKind(MLineType); }

void CKovLine::ApplyDefaultStyle(const CPlotInfo& plot)
{
    const auto s = static_cast<std::size_t>(StyleSlot());
    MLineColor = plot.PlotColor[s];
    MLineNakaColor = plot.PlotNakaColor[s];
    MLinebNakanuri = plot.PlotNakaNuri[s];
    MLineNakaColor2 = plot.PlotNakaColor2[s];
    MLineGradiation = plot.PlotGradiation[s];
    MLinebHach = plot.PlotbHach[s];
    MLineAlpha = plot.PlotAlpha[s];
    MLineHachT = plot.PlotHachT[s];
    MLineLineT = plot.PlotLineType[s];
    MLineWide = plot.PlotLineWide[s];
    MLineTanten = plot.PlotLineTanten[s];
    MLineYaWide = plot.PlotLineYaWide;
}

void CKovLine::StoreDefaultStyle(CPlotInfo& plot) const
{
    const auto s = static_cast<std::size_t>(StyleSlot());
    plot.PlotColor[s] = MLineColor;
    plot.PlotNakaColor[s] = MLineNakaColor;
    plot.PlotNakaNuri[s] = MLinebNakanuri;
    plot.PlotNakaColor2[s] = MLineNakaColor2;
    plot.PlotGradiation[s] = MLineGradiation;
    plot.PlotbHach[s] = MLinebHach;
    plot.PlotAlpha[s] = MLineAlpha;
    plot.PlotHachT[s] = MLineHachT;
    plot.PlotLineType[s] = MLineLineT;
    plot.PlotLineWide[s] = MLineWide;
    plot.PlotLineTanten[s] = MLineTanten;
    plot.PlotLineYaWide = MLineYaWide;
}

std::unique_ptr<CKovLine> CKovLine::MakeStyled(int kind, const CPlotInfo& plot)
{
    auto line = std::make_unique<CKovLine>();
    line->MLineType = kind;
    line->ApplyDefaultStyle(plot);
    return line;
}
