// Measuring: the angle tool (47), the running area (48) and running length (49) with their
// double-click finishers, and the commands that measure the selection (area, length or perimeter,
// a room's wall-core area) or count the drawing's objects. Each ends in the measuring result,
// which can put the value into the drawing as a text.

#include "tools/ToolMachine.h"

#include "tools/MeasureTexts.h"
#include "tools/MeasureUnits.h"

#include "model/Geometry.h"
#include "model/KovGroup.h"
#include "model/KovLine.h"
#include "model/KovUnit.h"
#include "model/KovWall.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <cmath>

namespace kov::tools {

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";
constexpr std::string_view kLengthUnitKey = "sokuteitani";
constexpr std::string_view kAreaUnitKey = "sokuteitani_men";

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

int setting(ToolHost& host, std::string_view section, std::string_view key, int fallback)
{
    kov::platform::Profile* store = host.SettingsStore();
    return store ? store->GetProfileInt(section, key, fallback) : fallback;
}

void storeUnit(ToolHost& host, std::string_view key, int unit)
{
    if (kov::platform::Profile* store = host.SettingsStore())
        store->WriteProfileInt(kUtility, key, unit);
}

// The measuring result for a value, its texts written as the settings ask.
ToolHost::MeasureAnswer showResult(ToolHost& host, MeasureKind kind, double value, std::string label,
                                   std::string_view unitKey)
{
    const MeasureTextSet set = MeasureTexts(kind, value, setting(host, kUtility, "sokuteikurai", 2),
                                            setting(host, kUtility, "app_sokuteisisyakiri", 1));
    ToolHost::MeasureResult r;
    r.label = std::move(label);
    r.texts = set.texts;
    r.units = set.units;
    r.unit = unitKey.empty() ? 0 : setting(host, kUtility, unitKey, 0);
    return host.ShowMeasureResult(r);
}

// The result put into the drawing at the point, as the only selected object. An emptied text adds
// nothing: an empty text object would be invisible.
void placeResult(ToolHost& host, const std::string& text, const CDbPoint& at)
{
    if (text.empty())
        return;
    const int id = host.Unit().AddResultText(host.Font(), at, text, host.Plot());
    if (id == 0)
        return;
    SelectionRecord& sel = host.Selection();
    sel.Clear();
    sel.AddTextId(id);
    host.RedrawAll();
}

// Whether the new edge from `from` to `to` crosses an earlier edge of the chain inside both.
bool crossesEarlierEdge(const CDbPointArray& points, const CDbPoint& from, const CDbPoint& to)
{
    const std::size_t n = points.size();
    const std::size_t last = n >= 3 ? n - 3 : 0;
    for (std::size_t i = 0; i <= last && i + 1 < n; ++i) {
        CDbPoint x;
        if (IntersectLines(x, points[i], points[i + 1], from, to) == 0)
            continue;
        if (PointInSegmentBox(x.x, x.y, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y)
            && PointInSegmentBox(x.x, x.y, from.x, from.y, to.x, to.y))
            return true;
    }
    return false;
}

// The container's message of a figure without area, shown by the tool's host.
class HostMessages final : public kov::platform::Questions {
public:
    explicit HostMessages(ToolHost& host) : m_host(host) {}
    kov::platform::Answer messageBox(std::string_view text, std::string_view, kov::platform::MessageIcon,
                                     kov::platform::Buttons) override
    {
        m_host.ShowMessage(text);
        return kov::platform::Answer::Ok;
    }
    std::optional<uint32_t> chooseColor(uint32_t, kov::platform::CustomColors*) override { return std::nullopt; }
    std::optional<kov::platform::FontChoice> chooseFont(const kov::platform::FontChoice&) override
    {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> chooseFolder(std::string_view, const std::filesystem::path&) override
    {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> chooseOpenFile(std::string_view, std::string_view,
                                                        const std::filesystem::path&) override
    {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> chooseSaveFile(std::string_view, std::string_view,
                                                        const std::filesystem::path&) override
    {
        return std::nullopt;
    }

private:
    ToolHost& m_host;
};

// The first selected figure, or null with the reason shown.
const CKovLine* firstSelectedFigure(ToolHost& host)
{
    const SelectionRecord& sel = host.Selection();
    const CKovLine* f = sel.m_Lines.empty() ? nullptr : std::as_const(host.Unit()).FindLine(sel.m_Lines.front());
    if (!f)
        host.ShowMessage(kSelectFigureToMeasure);
    return f;
}

} // namespace

// -- the measuring tools ----------------------------------------------------------------------------

void ToolMachine::StepMeasureAngle(DevicePoint d, CDbPoint p)
{
    if (m_ToolPoints.empty()) {
        PushUndo();
        collect(d, p);
        SetToolPrompt(kPromptSecondPoint);
        m_host.RedrawAll();
        return;
    }
    // The direction from the first point to this click, not what the readout last painted.
    const CDbPoint first = m_ToolPoints[0];
    double angle = VectorAngle(first.x, first.y, p.x, p.y);
    if (setting(m_host, "KOV_T_PlotMenu", "tool_kakudo_tokei", 0) != 0)
        angle = angle == 0 ? 0 : 360 - angle;
    m_dToolValue = angle;
    const ToolHost::MeasureAnswer a = showResult(m_host, MeasureKind::Angle, angle, std::string(kLabelAngle), {});
    if (a.text)
        placeResult(m_host, *a.text, first);
    m_ToolPoints.clear();
    CallSelectTool();
    m_host.RefreshLayerBar();
    m_host.RedrawAll();
}

void ToolMachine::StepAreaTotal(DevicePoint d, CDbPoint p)
{
    const std::size_t n = m_ToolPoints.size();
    if (n == 0) {
        PushUndo();
        m_dToolValue = 0;
        m_ptLast = p;
    } else if (n >= 2) {
        if (crossesEarlierEdge(m_ToolPoints, m_ToolPoints.back(), p))
            return;
        CDbPointArray polygon = m_ToolPoints;
        polygon.push_back(p);
        m_dToolValue = PolygonArea(polygon);
    }
    m_ToolPoints.push_back(p);
    m_ptCurrent = p;
    m_pxCurrent = m_pxLast = d;
    SetToolPrompt(kPromptAreaTotal);
    m_host.RedrawAll();
}

void ToolMachine::FinishAreaTotal(CDbPoint p)
{
    const std::size_t n = m_ToolPoints.size();
    if (n == 0) {
        PushUndo();
        m_dToolValue = 0;
        return;
    }
    if (n == 1)
        return;
    if (crossesEarlierEdge(m_ToolPoints, m_ToolPoints.back(), p))
        return;
    // The polygon closed over the double-click point; after a plain double click that point is the
    // last one and adds nothing.
    CDbPointArray polygon = m_ToolPoints;
    polygon.push_back(p);
    const double area = PolygonArea(polygon);
    const ToolHost::MeasureAnswer a = showResult(m_host, MeasureKind::Area, area, {}, kAreaUnitKey);
    if (a.text) {
        placeResult(m_host, *a.text, m_ToolPoints[0]);
        storeUnit(m_host, kAreaUnitKey, a.unit);
    }
    m_ToolPoints.clear();
    CallSelectTool();
    m_host.RefreshLayerBar();
    m_host.RedrawAll();
}

void ToolMachine::StepLengthTotal(DevicePoint d, CDbPoint p)
{
    if (m_ToolPoints.empty()) {
        PushUndo();
        m_dToolValue = 0;
        m_ptLast = p;
    } else {
        m_dToolValue += distance(m_ToolPoints.back(), p);
    }
    m_ToolPoints.push_back(p);
    m_ptCurrent = p;
    m_pxCurrent = m_pxLast = d;
    SetToolPrompt(kPromptLengthTotal);
    m_host.RedrawAll();
}

void ToolMachine::FinishLengthTotal(CDbPoint p)
{
    if (m_ToolPoints.empty()) {
        PushUndo();
        m_dToolValue = 0;
        return;
    }
    const double length = m_dToolValue + distance(m_ToolPoints.back(), p);
    const ToolHost::MeasureAnswer a = showResult(m_host, MeasureKind::Length, length, {}, kLengthUnitKey);
    if (a.text) {
        placeResult(m_host, *a.text, m_ToolPoints[0]);
        storeUnit(m_host, kLengthUnitKey, a.unit);
    }
    m_ToolPoints.clear();
    CallSelectTool();
    m_host.RefreshLayerBar();
    m_host.RedrawAll();
}

// -- the measuring commands -------------------------------------------------------------------------

void ToolMachine::OnMeasureSelectionArea()
{
    PushUndo();
    const CKovLine* figure = firstSelectedFigure(m_host);
    if (!figure)
        return;
    const int id = figure->MLineID;
    double area = 0;
    std::string label;
    HostMessages messages(m_host);
    if (std::as_const(m_host.Unit()).MeasureArea(id, area, label, messages) == 0)
        return;
    const ToolHost::MeasureAnswer a = showResult(m_host, MeasureKind::Area, area, label, kAreaUnitKey);
    const CKovLine* still = std::as_const(m_host.Unit()).FindLine(id);
    if (!a.text || !still || still->MLinePnt.empty())
        return;
    placeResult(m_host, *a.text, still->MLinePnt[0]);
    storeUnit(m_host, kAreaUnitKey, a.unit);
}

void ToolMachine::OnMeasureSelectionLength()
{
    PushUndo();
    const CKovLine* figure = firstSelectedFigure(m_host);
    if (!figure)
        return;
    const int id = figure->MLineID;
    double length = 0;
    std::string label;
    if (std::as_const(m_host.Unit()).MeasureLength(id, length, label) == 0) {
        m_host.ShowMessage(kNoLengthMessage);
        return;
    }
    const ToolHost::MeasureAnswer a = showResult(m_host, MeasureKind::Length, length, label, kLengthUnitKey);
    // The unit chosen is kept even when the result is closed.
    storeUnit(m_host, kLengthUnitKey, a.unit);
    const CKovLine* still = std::as_const(m_host.Unit()).FindLine(id);
    if (a.text && still && !still->MLinePnt.empty())
        placeResult(m_host, *a.text, still->MLinePnt[0]);
}

void ToolMachine::OnMeasureRoomArea()
{
    PushUndo();
    const CKovUnit& unit = m_host.Unit();
    const SelectionRecord& sel = m_host.Selection();
    const CKovGroup* room = sel.m_Groups.empty() ? nullptr : unit.FindGroup(sel.m_Groups.front());
    std::vector<const CKovWall*> walls;
    if (room)
        for (int id : room->MGrpWallID)
            if (const CKovWall* w = unit.FindWall(id))
                walls.push_back(w);
    if (walls.size() < 3) {
        m_host.ShowMessage(kSelectRoomToMeasure);
        return;
    }
    // The core outline from the walls in list order, each wall turned to continue the last.
    auto near = [](const CDbPoint& a, const CDbPoint& b) {
        return std::fabs(a.x - b.x) < 0.01 && std::fabs(a.y - b.y) < 0.01;
    };
    CDbPointArray core;
    const CKovWall& first = *walls[0];
    const CKovWall& second = *walls[1];
    if (near(second.MWallPntA, first.MWallPntA) || near(second.MWallPntB, first.MWallPntA)) {
        core.push_back(first.MWallPntB);
        core.push_back(first.MWallPntA);
    } else {
        core.push_back(first.MWallPntA);
        core.push_back(first.MWallPntB);
    }
    for (std::size_t i = 1; i < walls.size(); ++i)
        core.push_back(near(walls[i]->MWallPntA, core.back()) ? walls[i]->MWallPntB : walls[i]->MWallPntA);
    const int groupId = room->MGrpID;
    const ToolHost::MeasureAnswer a =
        showResult(m_host, MeasureKind::Area, PolygonArea(core), std::string(kLabelRoomArea), kAreaUnitKey);
    const CKovGroup* still = unit.FindGroup(groupId);
    if (!a.text || !still)
        return;
    placeResult(m_host, *a.text, {(still->MGrpmin.x + still->MGrpmax.x) / 2, (still->MGrpmin.y + still->MGrpmax.y) / 2});
    storeUnit(m_host, kAreaUnitKey, a.unit);
}

void ToolMachine::OnCountObjects()
{
    const std::optional<std::string> text = m_host.AskObjectCount();
    // Every box unticked gives no text, and no text object.
    if (!text || text->empty())
        return;
    // The count is a change of the drawing like any other: it can be undone.
    PushUndo();
    placeResult(m_host, *text, {0, 0});
}

} // namespace kov::tools
