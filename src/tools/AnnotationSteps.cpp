// The steps of the stairs, balloon and double-line tools, and the dimension tool's follow-up that
// turns a new dimension into lines and a text whose value can be typed.

#include "tools/ToolMachine.h"

#include "tools/ToolTexts.h"

#include "model/FontMenu.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/SettingsValues.h"
#include "platform/Profile.h"

namespace kov::tools {

namespace {

constexpr std::string_view kStairsWidth = "幅を決めてクリック";
constexpr std::string_view kStairsChain = "連続線のポイントをきめてクリック";
constexpr std::string_view kStairsEnd = "終了位置を決めてクリック";
constexpr std::string_view kStairsDirection = "向きを決めてクリック";
constexpr std::string_view kStairsHeight = "方向と高さを決めてクリック";
constexpr std::string_view kStairsAgain = "左クリック3点指定で階段作成（まず幅を２点で指定）";
constexpr std::string_view kStairsBadCounts = "階段の段数と段幅は0より大きい値にしてください。";
constexpr std::string_view kBalloonCorner = "吹き出し四角形の対角を左クリック";
constexpr std::string_view kBalloonTip = "吹き出しの先の位置を左クリック";
constexpr std::string_view kBalloonAgain = "吹き出しの四角形の角位置を左クリック";
constexpr std::string_view kDimensionValue = "寸法値";

// A straight flight needs at least one step, or a tread of some depth.
bool flightCountsValid(const StairsSettings& s)
{
    if (s.kaidan_mode != StairsSettings::STRAIGHT) return true;
    return s.kaidan_tyokumode == 2 ? s.kaidan_dan1 > 0 : s.kaidan_dansuu > 0;
}

} // namespace

int ToolMachine::StepStairs(DevicePoint d, CDbPoint p, int finish)
{
    const int mode = m_Stairs.kaidan_mode;
    const std::size_t n = m_ToolPoints.size();
    if (mode == StairsSettings::END_OF_FLIGHT) {
        if (finish) return 0;
    } else {
        if (n > 0 && p == m_ToolPoints.front()) return 0;
        if (finish && mode != StairsSettings::DIRECTION_ARROW) return 0;
    }
    auto collectClick = [&] {
        m_ToolPoints.push_back(p);
        m_ptLast = m_ptCurrent = p;
        m_pxLast = m_pxCurrent = d;
    };
    if (mode == StairsSettings::DIRECTION_ARROW && !finish) {
        if (n == 0) PushUndo();
        collectClick();
        m_host.RedrawAll();
        return 0;
    }
    if (n == 0) {
        PushUndo();
        SetToolPrompt(mode == StairsSettings::DIRECTION_ARROW ? kStairsChain : kStairsWidth);
    } else if (n == 1) {
        switch (mode) {
        case StairsSettings::STRAIGHT: SetToolPrompt(kStairsEnd); break;
        case StairsSettings::TURNING: SetToolPrompt(kStairsDirection); break;
        case StairsSettings::END_OF_FLIGHT: SetToolPrompt(kStairsHeight); break;
        default: SetToolPrompt(kStairsChain); break;
        }
    }
    if (mode == StairsSettings::DIRECTION_ARROW || n > 1) {
        if (!flightCountsValid(m_Stairs)) {
            m_host.ShowMessage(kStairsBadCounts);
            return 0;
        }
        if (!m_host.Unit().CreateStairs(m_host.Selection(), m_host.Plot(), m_ToolPoints, p, m_Stairs, finish))
            return 0;
        SetToolPrompt(kStairsAgain);
        m_ToolPoints.clear();
        m_host.RedrawAll();
        return 1;
    }
    collectClick();
    m_host.RedrawAll();
    return 0;
}

void ToolMachine::StepBalloon(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    const std::size_t n = m_ToolPoints.size();
    auto collectClick = [&] {
        m_ptLast = p;
        m_pxLast = d;
        m_ToolPoints.push_back(p);
        m_ptCurrent = p;
        m_pxCurrent = d;
    };
    if (n == 0) {
        SetToolPrompt(kBalloonCorner);
        collectClick();
    } else if (n == 1) {
        if (p == m_ToolPoints.front()) return;
        SetToolPrompt(kBalloonTip);
        collectClick();
    } else {
        PushUndo();
        m_host.Unit().CreateBalloon(m_host.Selection(), m_host.Plot(), m_ToolPoints, p, t, m_nArcDivisions,
                                    m_Balloon.tailSide, m_Balloon.tailPosition, m_Balloon.shape);
        patternLinesIntoSelectedGroup(t);
        SetToolPrompt(kBalloonAgain);
        m_ToolPoints.clear();
    }
    m_host.RedrawAll();
}

void ToolMachine::StepDoubleLine(int tool, const DeviceTransform& t, DevicePoint d, CDbPoint p, int finish)
{
    if (finish != 1) {
        if (m_bArcInsert)
            insertArc(p);
        else
            collect(d, p);
        m_host.RedrawAll();
        return;
    }
    if (m_ToolPoints.size() < 2) return;
    PushUndo();
    AdjustDoubleLineEnds();
    CKovUnit& unit = m_host.Unit();
    SelectionRecord& sel = m_host.Selection();
    const CPlotInfo& plot = m_host.Plot();
    // The chain ends at its last point, as adjusted: a double click repeats it, so the last
    // segment vanishes.
    const CDbPoint last = m_ToolPoints.back();
    if (tool == 27) {
        unit.AddDoubleLine(sel, plot, m_ToolPoints, last, m_dOffsetLeft, m_dOffsetRight,
                           m_settings.app_renzokusenbara);
    } else {
        const int id = unit.AddDoubleLinePolygon(sel, plot, m_ToolPoints, last, m_dOffsetLeft, m_dOffsetRight);
        if (id > 0) selectNewFigure(id, t, false);
    }
    m_ToolPoints.clear();
    m_host.RedrawAll();
}

void ToolMachine::AdjustDoubleLineEnds()
{
    const kov::platform::Profile* profile = m_host.SettingsStore();
    const int mode = profile ? profile->GetProfileInt(kov::model::kSectionUtility, "tool_nijyuusen_balmode", 0) : 0;
    const std::size_t n = m_ToolPoints.size();
    if ((mode != 1 && mode != 2) || n < 2) return;
    const double t = m_host.Plot().PlotWallWide;
    // An end moves along its own axis-parallel segment: in towards the other end (1) or out (2).
    auto moveEnd = [mode, t](CDbPoint& end, const CDbPoint& other) {
        const double s = mode == 1 ? 1.0 : -1.0;
        if (end.y == other.y) {
            if (end.x != other.x) end.x += (other.x > end.x ? s : -s) * t;
        } else if (end.x == other.x) {
            end.y += (other.y > end.y ? s : -s) * t;
        }
    };
    moveEnd(m_ToolPoints[0], m_ToolPoints[1]);
    moveEnd(m_ToolPoints[n - 1], m_ToolPoints[n - 2]);
}

void ToolMachine::ApplyDoubleLineDialog()
{
    if (m_ToolPoints.empty()) return;
    m_bDragging = 0;
    std::optional<DeviceTransform> t = MakeTransform();
    if (!t) return;
    switch (ToolMode()) {
    case 26: StepMultiPoint(26, *t, m_pxLast, m_ptLast, 1); break;
    case 27: case 61: StepDoubleLine(ToolMode(), *t, m_pxLast, m_ptLast, 1); break;
    case 53: StepOuterWallLine(m_pxLast, m_ptLast, 1); break;
    case 54: StepBalcony(m_pxLast, m_ptLast, 1); break;
    default:
        m_ptCurrent = m_ptLast;
        m_pxCurrent = m_pxLast;
        m_host.RedrawAll();
        break;
    }
}

int ToolMachine::FinishDimension(int id)
{
    m_bDragging = 0;
    SelectionRecord& sel = m_host.Selection();
    sel.Clear();
    sel.AddLineId(id);
    kov::platform::Profile* profile = m_host.SettingsStore();
    if (!profile || profile->GetProfileInt(kov::model::kSectionPlotMenu, "config_sunpo_bunkai", 1) == 0)
        return 1;
    CKovUnit& unit = m_host.Unit();
    const CPlotInfo& plot = m_host.Plot();
    CFontMenu font;
    font.ResetFromProfile(*profile);
    unit.DimensionsToText(sel, plot, font);
    const std::string_view unitLabel = plot.PlotSunpoTani == 1 ? "cm" : plot.PlotSunpoTani == 2 ? "m" : "mm";
    const int textId = sel.m_Texts.empty() ? 0 : sel.m_Texts.front();
    const CKovText* text = textId ? std::as_const(unit).FindText(textId) : nullptr;
    const std::optional<std::string> typed = m_host.AskString(kDimensionValue, text ? text->MTextstr : "", unitLabel);
    if (typed && textId)
        if (CKovText* t = unit.FindText(textId)) t->MTextstr = *typed;
    return 1;
}

} // namespace kov::tools
