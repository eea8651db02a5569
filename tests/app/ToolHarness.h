#pragma once

// The tool machine on a real document: clicks in sheet millimetres go through the whole pointer
// conversion (device pixels of a 1600 x 1000 window, snapping, axis lock) to the dispatchers.
// Dialog answers are queued ahead; an unexpected dialog fails the test.

#include "DocumentTestSupport.h"

#include "app/DocToolHost.h"
#include "model/RituInfo.h"
#include "model/SelectionRecord.h"
#include "platform/RecordingSurface.h"
#include "tools/ToolMachine.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace kov::test {

using kov::tools::MK_CONTROL;
using kov::tools::MK_LBUTTON;
using kov::tools::MK_RBUTTON;
using kov::tools::MK_SHIFT;

class HarnessHost final : public kov::app::DocToolHost {
public:
    using DocToolHost::DocToolHost;

    std::string prompt;
    std::vector<std::string> messages;
    std::vector<std::pair<kov::tools::ToolPanel, int>> panels;
    int redraws = 0;
    int pushes = 0;
    void PushUndo() override
    {
        ++pushes;
        DocToolHost::PushUndo();
    }
    std::deque<std::optional<CDbPoint>> relativeAnswers;
    std::deque<std::optional<std::array<int, 2>>> triangleAnswers;
    std::deque<std::optional<std::array<double, 4>>> rectAnswers;
    std::deque<std::optional<double>> parallelAnswers;
    std::deque<std::optional<kov::tools::NotationSymbolChoice>> symbolAnswers;
    std::deque<std::optional<std::array<double, 2>>> fittingSizeAnswers;
    std::deque<std::optional<std::string>> stringAnswers;
    std::deque<std::optional<std::array<double, 2>>> scaleAnswers;
    std::deque<std::optional<CDbPoint>> stretchAnswers;
    std::deque<std::optional<bool>> originAnswers;
    std::vector<std::string> originMessages;
    std::vector<std::string> stringQuestions; // "caption|text|label" of each string entry asked
    std::deque<std::optional<DivisionAnswer>> divisionAnswers;
    std::deque<std::optional<int>> divisionCountAnswers;
    // The length dialog: the captions and proposals asked, the lengths typed (none: cancelled).
    std::vector<std::pair<std::string, double>> distancesAsked;
    std::deque<std::optional<double>> distanceAnswers;
    // The measuring result: what it showed, and the unit chosen with OK (the unit's text, or the
    // edited one) or with "閉じる" (no text).
    struct MeasureReply {
        bool output = true;
        std::optional<int> unit;             // the unit shown when not given
        std::optional<std::string> edited;   // the unit's text when not given
    };
    std::vector<MeasureResult> measured;
    std::deque<MeasureReply> measureAnswers;
    std::deque<std::optional<std::string>> countAnswers;
    int textEntries = 0;
    std::vector<kov::tools::ToolPanel> refreshed;

    void SetStatusText(std::string_view text) override { prompt = std::string(text); }
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void RedrawAll() override
    {
        DocToolHost::RedrawAll();
        ++redraws;
    }
    void OpenPanel(kov::tools::ToolPanel panel, int mode, bool) override { panels.emplace_back(panel, mode); }
    std::vector<std::pair<CDbPoint, CDbPoint>> printedRanges;
    void PrintRange(const CDbPoint& first, const CDbPoint& second) override { printedRanges.emplace_back(first, second); }
    void ClosePanels() override { panels.clear(); }

    template <class T> static T next(std::deque<T>& answers, const char* what)
    {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << what;
            return T{};
        }
        T a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<CDbPoint> AskRelativePoint(const CDbPoint&) override { return next(relativeAnswers, "relative input"); }
    std::optional<std::array<int, 2>> AskTriangleSides(int) override { return next(triangleAnswers, "triangle"); }
    std::optional<std::array<double, 4>> AskRectDistances() override { return next(rectAnswers, "rectangle"); }
    std::optional<double> AskParallelDistance(double) override { return next(parallelAnswers, "parallel distance"); }
    std::optional<kov::tools::NotationSymbolChoice> AskNotationSymbol(const kov::tools::NotationSymbolChoice&) override
    {
        return next(symbolAnswers, "notation symbol");
    }
    std::optional<std::array<double, 2>> AskFittingSize(double, double) override
    {
        return next(fittingSizeAnswers, "fitting size");
    }
    std::optional<std::string> AskString(std::string_view caption, std::string_view text,
                                         std::string_view label) override
    {
        stringQuestions.push_back(std::string(caption) + "|" + std::string(text) + "|" + std::string(label));
        return next(stringAnswers, "string entry");
    }
    // The roof and balcony dialogs: the settings they opened on, and the settings OK gives (none:
    // cancelled).
    std::vector<CRituInfo> rituAsked;
    std::deque<std::optional<CRituInfo>> roofAnswers, balconyAnswers;
    bool AskRoofSettings(CRituInfo& ritu) override { return answerRitu(ritu, roofAnswers, "roof"); }
    bool AskBalconySettings(CRituInfo& ritu) override { return answerRitu(ritu, balconyAnswers, "balcony"); }
    bool answerRitu(CRituInfo& ritu, std::deque<std::optional<CRituInfo>>& answers, const char* what)
    {
        rituAsked.push_back(ritu);
        const std::optional<CRituInfo> a = next(answers, what);
        if (a) ritu = *a;
        return a.has_value();
    }
    std::optional<std::array<double, 2>> AskRangeScaleFactors() override { return next(scaleAnswers, "range scale"); }
    std::optional<CDbPoint> AskStretchOffset() override { return next(stretchAnswers, "stretch offset"); }
    std::optional<bool> AskOriginChange(std::string_view message) override
    {
        originMessages.emplace_back(message);
        return next(originAnswers, "drawing centre");
    }
    std::optional<DivisionAnswer> AskDivision() override { return next(divisionAnswers, "division"); }
    std::optional<int> AskDivisionCount(int) override { return next(divisionCountAnswers, "division count"); }
    std::optional<double> AskDistance(std::string_view caption, double proposed) override
    {
        distancesAsked.emplace_back(std::string(caption), proposed);
        return next(distanceAnswers, "length");
    }
    MeasureAnswer ShowMeasureResult(const MeasureResult& r) override
    {
        measured.push_back(r);
        const MeasureReply reply = next(measureAnswers, "measuring result");
        MeasureAnswer a;
        a.unit = reply.unit.value_or(r.unit);
        if (reply.output)
            a.text = reply.edited ? *reply.edited : r.texts[static_cast<std::size_t>(a.unit)];
        return a;
    }
    std::optional<std::string> AskObjectCount() override { return next(countAnswers, "object count"); }
    void ShowTextEntry() override { ++textEntries; }
    void RefreshPanel(kov::tools::ToolPanel panel) override { refreshed.push_back(panel); }
};

struct ToolHarness {
    DocumentRig rig;
    kov::platform::RecordingSurface surface;
    HarnessHost host{*rig.doc, surface};
    kov::tools::ToolMachine m{host, kov::tools::ToolSettings{}};

    ToolHarness()
    {
        m.m_Page.OnSize(1600, 1000);
        // Half-module snap points: 455 mm, about 10 pixels on the sheet at 1:100.
        CGrid& grid = rig.doc->m_Grid;
        grid.GridW[0] = grid.GridD[0] = 910;
        grid.kyutyakukankaku = 2;
        grid.kyutyaku = 1;
        grid.visible = 1;
    }

    // Read through const: a mutable look at an object counts as a change for the undo stack.
    const CKovUnit& unit() const { return rig.doc->m_Unit; }
    SelectionRecord& sel() { return rig.doc->m_Selection; }
    DeviceTransform transform() { return *m.MakeTransform(); }

    DevicePoint client(CDbPoint p)
    {
        const DevicePoint d = ToDevicePoint(p, transform(), m.CurrentGroup());
        const DevicePoint s = m.m_Page.scrollPosition();
        return {d.x - s.x, d.y - s.y};
    }
    bool start(int tool) { return m.StartTool(tool); }
    void press(CDbPoint p, unsigned flags = 0) { m.OnLButtonDown(MK_LBUTTON | flags, client(p)); }
    void release(CDbPoint p, unsigned flags = 0) { m.OnLButtonUp(flags, client(p)); }
    void move(CDbPoint p, unsigned flags = 0) { m.OnMouseMove(flags, client(p)); }
    void click(CDbPoint p, unsigned flags = 0)
    {
        move(p, flags);
        press(p, flags);
        release(p, flags);
    }
    // Windows' order for a double click: press, release, double-click message, release.
    void dblclick(CDbPoint p, unsigned flags = 0)
    {
        click(p, flags);
        m.OnLButtonDblClk(MK_LBUTTON | flags, client(p));
        release(p, flags);
    }
    void drag(CDbPoint from, CDbPoint to, unsigned flags = 0)
    {
        move(from, flags);
        press(from, flags);
        move(to, MK_LBUTTON | flags);
        release(to, flags);
    }
    void rclick(CDbPoint p)
    {
        m.OnRButtonDown(MK_RBUTTON, client(p));
        m.OnRButtonUp(0, client(p));
    }
    void key(kov::tools::ToolKey k) { m.OnKeyDown(k); }
    std::size_t undoDepth()
    {
        rig.doc->SettleUndo();
        return rig.doc->m_UndoStack.size();
    }
};

} // namespace kov::test
