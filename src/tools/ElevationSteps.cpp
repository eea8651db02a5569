// The steps of the elevation outline tools: the roof outline (four clicks and the roof dialog), the
// outer-wall line (a chain of clicks) and the balcony (a double-line path and the balcony dialog).
// The elevation settings are read from the settings store at every use and written back on OK.

#include "tools/ToolMachine.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/RituInfo.h"
#include "model/SelectionRecord.h"

namespace kov::tools {

namespace {

constexpr std::string_view kRoofSecond = "ニ点目をｸﾘｯｸ";
constexpr std::string_view kRoofRidge = "軒線方向をｸﾘｯｸ";
constexpr std::string_view kRoofEaves = "軒線位置を決定";
constexpr std::string_view kRoofFirst = "3点指定で屋根作成";
constexpr std::string_view kOuterWallFirst = "連続線で外壁線作成(Wｸﾘｯｸで終了)";
// An outer-wall line takes at most this many points; the next click finishes it.
constexpr std::size_t kOuterWallPoints = 55;

CRituInfo loadRitu(ToolHost& host)
{
    CRituInfo ritu;
    if (kov::platform::Profile* p = host.SettingsStore()) ritu.LoadProfile(*p);
    return ritu;
}

void saveRitu(ToolHost& host, const CRituInfo& ritu)
{
    if (kov::platform::Profile* p = host.SettingsStore()) ritu.SaveProfile(*p);
}

} // namespace

void ToolMachine::StepRoof(DevicePoint d, CDbPoint p)
{
    const std::size_t n = m_ToolPoints.size();
    if (n == 0) {
        m_host.Selection().Clear();
        collect(d, p);
        SetToolPrompt(kRoofSecond);
    } else if (n == 1) {
        // The two corners must differ on both axes, or the roof would be flat.
        if (p.x == m_ptLast.x || p.y == m_ptLast.y) return;
        collect(d, p);
        SetToolPrompt(kRoofRidge);
    } else if (n == 2) {
        collect(d, p);
        SetToolPrompt(kRoofEaves);
    } else {
        CRituInfo ritu = loadRitu(m_host);
        if (m_host.AskRoofSettings(ritu)) {
            saveRitu(m_host, ritu);
            PushUndo();
            m_host.Unit().CreateRoof(m_host.Selection(), m_host.Plot(), m_ToolPoints, p.x, p.y, ritu);
            SetToolPrompt(kRoofFirst);
        }
        m_ToolPoints.clear();
        m_ptLast = m_ptCurrent = p;
        m_pxLast = m_pxCurrent = d;
    }
    m_host.RedrawAll();
}

void ToolMachine::StepOuterWallLine(DevicePoint d, CDbPoint p, int finish)
{
    if (m_ToolPoints.size() >= kOuterWallPoints) finish = 1;
    if (finish != 1) {
        collect(d, p);
        m_host.RedrawAll();
        return;
    }
    if (m_ToolPoints.size() <= 2) return;
    PushUndo();
    m_host.Unit().CreateOuterWallLine(m_host.Selection(), m_host.Plot(), m_ToolPoints);
    m_ToolPoints.clear();
    SetToolPrompt(kOuterWallFirst);
    m_host.RedrawAll();
}

void ToolMachine::StepBalcony(DevicePoint d, CDbPoint p, int finish)
{
    if (finish != 1) {
        if (!m_bArcInsert)
            collect(d, p);
        else if (m_ToolPoints.size() >= 2)
            insertArc(p); // three points on a line: nothing, and the arc stays asked for
        m_host.RedrawAll();
        return;
    }
    if (m_ToolPoints.size() <= 1) return;
    CRituInfo ritu = loadRitu(m_host);
    if (m_host.AskBalconySettings(ritu)) {
        saveRitu(m_host, ritu);
        PushUndo();
        m_host.Unit().CreateBalcony(m_host.Selection(), m_host.Plot(), m_ToolPoints, m_ToolPoints.back(),
                                    m_dOffsetLeft, m_dOffsetRight, ritu.baltakasa, ritu.baltoritakasa,
                                    m_settings.app_renzokusenbara);
    }
    m_ToolPoints.clear();
    m_host.RedrawAll();
}

} // namespace kov::tools
