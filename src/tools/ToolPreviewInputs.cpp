#include "tools/ToolPreviewInputs.h"

#include "tools/ToolHost.h"
#include "tools/ToolMachine.h"

namespace kov::tools {

CKovUnit::PreviewInput PreviewInputOf(ToolMachine& machine, const ViewToolSettings& settings,
                                      const PreviewPanelValues& panels,
                                      const CKovUnit::DrawEnvironment& env, const platform::DeviceRect& drawingArea)
{
    ToolHost& host = machine.host();
    const int tool = machine.ToolMode();
    CKovUnit::PreviewInput in;
    in.plot = &host.Plot();
    in.selection = &host.Selection();
    in.env = &env;
    in.points = machine.m_ToolPoints;
    in.last = machine.m_ptLast;
    in.pointer = machine.m_ptCurrent;
    if (tool == 10 && !in.points.empty()) in.pointer = machine.SnapPresetRoomCorner(in.points.back(), in.pointer);
    in.fixedRadiusOn = machine.m_bFixedRadius;
    in.fixedRadius = machine.m_dFixedRadius;
    in.measured = tool == 35 || tool == 64 ? machine.m_dToolValue : machine.m_dToolLength;
    in.angle = panels.clockwiseAngles ? 360 - machine.m_dLineAngle : machine.m_dLineAngle;
    in.doubleLeft = machine.m_dOffsetLeft;
    in.doubleRight = machine.m_dOffsetRight;
    in.parallelDistance = machine.m_dParallelDistance;
    in.divisions = panels.divisions;
    in.fittingKind = panels.fittingKind;
    in.fittingNumber = panels.fittingNumber;
    in.fixedWidthOn = settings.tool_tateg_habatype;
    in.fixedWidth = settings.tool_tateg_habaedit;
    in.ownThicknessOn = settings.tool_tateg_atumitype;
    in.ownThickness = settings.tool_tateg_atumiedit;
    in.fittingOnRight = panels.fittingOnRight;
    in.stairs = machine.m_Stairs;
    in.balloonShape = machine.m_Balloon.shape;
    in.balloonSide = machine.m_Balloon.tailSide;
    in.balloonPosition = machine.m_Balloon.tailPosition;
    in.arcSteps = machine.m_nArcDivisions;
    in.text = machine.m_strText;
    in.textFont = &host.Font();
    in.textVertical = machine.m_TextPanel.vertical;
    in.textAngle = machine.m_TextPanel.mozi_kakudo;
    in.decoratedPanelOpen = tool == 70;
    if (tool == 70) {
        const DecoratedTextValues& d = machine.m_DecoratedText;
        in.decoratedFont = d.font;
        in.decoratedText = d.text;
        in.frameThickness = d.frameThickness;
        in.frameShape = d.shape;
        in.frameSlant = d.slant;
        in.framesOnly = d.framesOnly;
        in.decoratedTextColour = d.textColour;
        in.decoratedFrameColour = d.frameColour;
        in.decoratedOpacity = d.opacity;
    }
    in.drawingArea = drawingArea;
    return in;
}

kov::render::ToolOverlayOptions OverlayOptionsOf(const ToolMachine& machine, const PreviewPanelValues& panels)
{
    kov::render::ToolOverlayOptions o;
    o.arcMode = machine.m_bArcInsert != 0;
    o.arcPieces = machine.m_nArcDivisions;
    o.clockwiseAngles = panels.clockwiseAngles;
    return o;
}

} // namespace kov::tools
