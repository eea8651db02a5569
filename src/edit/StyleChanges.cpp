// Style changes of the selection: colours, fill, opacity, gradients, and the removal of the editing
// layer's auxiliary lines.

#include "edit/EditTexts.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Questions.h"

#include <algorithm>
#include <vector>
#include <utility>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

bool isWhite(std::uint32_t c) { return (c & 0xFFFFFF) == kWhite; }

int gradientMode(int value) { return value % 100; }
int gradientDirection(int value) { return value / 100; }

// The selected figures, then the figure members of the selected groups (or the other way round).
std::vector<CKovLine*> figureList(CKovUnit& unit, const SelectionRecord& selection, bool groupsFirst)
{
    std::vector<CKovLine*> out;
    auto selected = [&] {
        for (int id : selection.m_Lines)
            if (CKovLine* f = unit.FindLine(id))
                out.push_back(f);
    };
    auto members = [&] {
        for (int g : selection.m_Groups)
            if (const CKovGroup* group = std::as_const(unit).FindGroup(g))
                for (int id : group->MGrpLineID)
                    if (CKovLine* f = unit.FindLine(id))
                        out.push_back(f);
    };
    if (groupsFirst) {
        members();
        selected();
    } else {
        selected();
        members();
    }
    return out;
}

std::vector<CKovText*> textList(CKovUnit& unit, const SelectionRecord& selection)
{
    std::vector<CKovText*> out;
    for (int id : selection.m_Texts)
        if (CKovText* t = unit.FindText(id))
            out.push_back(t);
    for (int g : selection.m_Groups)
        if (const CKovGroup* group = std::as_const(unit).FindGroup(g))
            for (int id : group->MGrpTextID)
                if (CKovText* t = unit.FindText(id))
                    out.push_back(t);
    return out;
}

bool inRoom(const CKovUnit& unit, const CKovLine& f)
{
    const CKovGroup* group = f.MLineGrpID != 0 ? std::as_const(unit).FindGroup(f.MLineGrpID) : nullptr;
    return group && group->MGrpRoom == CKovGroup::ROOM;
}

} // namespace

std::uint32_t CKovUnit::MildGradientColor(std::uint32_t first, std::uint32_t second)
{
    if (!isWhite(second))
        return second;
    auto half = [](std::uint32_t c) { return c + (255 - c) / 2; };
    const std::uint32_t r = half(first & 0xFF);
    const std::uint32_t g = half((first >> 8) & 0xFF);
    const std::uint32_t b = half((first >> 16) & 0xFF);
    return r | (g << 8) | (b << 16);
}

void CKovUnit::SetSelectionColor(int code, const SelectionRecord& selection, std::uint32_t colour,
                                 int recolourWhiteFills, int mildRoomGradient)
{
    for (CKovLine* f : figureList(*this, selection, false)) {
        switch (code) {
        case 0:
            f->MLineColor = colour;
            break;
        case 1:
            if (f->MLinebNakanuri != 1 || (isWhite(f->MLineNakaColor) && recolourWhiteFills == 0))
                break;
            f->MLineNakaColor = colour;
            if (mildRoomGradient != 0 && inRoom(*this, *f))
                f->MLineNakaColor2 = MildGradientColor(colour, kWhite);
            break;
        case 2:
            if (f->MLinebNakanuri == 0) {
                f->MLinebNakanuri = 1;
                f->MLineNakaColor = colour;
            }
            break;
        default:
            f->MLinebNakanuri = 0;
            break;
        }
    }
    if (code == 0)
        for (CKovText* t : textList(*this, selection))
            t->MTextFontMenu.m_Color = colour;
}

void CKovUnit::SetSelectionOpacity(const SelectionRecord& selection, int opacity)
{
    for (CKovLine* f : figureList(*this, selection, false))
        if (f->MLinebNakanuri == 1)
            f->MLineAlpha = opacity;
}

void CKovUnit::SetGradientDirection(const SelectionRecord& selection, int code, int groupSize)
{
    if (groupSize != 0) {
        if (selection.m_Groups.size() != 1)
            return;
        const CKovGroup* group = std::as_const(*this).FindGroup(selection.m_Groups.front());
        if (!group)
            return;
        for (int id : group->MGrpLineID) {
            CKovLine* f = FindLine(id);
            if (f && gradientMode(f->MLineGradiation) == 1)
                f->MLineGradiation = gradientDirection(f->MLineGradiation) * 100 + 2;
        }
        return;
    }
    auto off = [](CKovLine& f) { f.MLineGradiation = gradientDirection(f.MLineGradiation) * 100; };
    if (code == 1) {
        for (CKovLine* f : figureList(*this, selection, true))
            off(*f);
        return;
    }
    if (code == 2) {
        for (int g : selection.m_Groups) {
            const CKovGroup* group = std::as_const(*this).FindGroup(g);
            if (!group || group->MGrpRoom != CKovGroup::ROOM)
                continue;
            for (int id : group->MGrpLineID)
                if (CKovLine* f = FindLine(id))
                    off(*f);
        }
        return;
    }
    for (CKovLine* f : figureList(*this, selection, true)) {
        const int direction = code >= 3 && code <= 10 ? (code - 3) * 45 : gradientDirection(f->MLineGradiation);
        const int mode = gradientMode(f->MLineGradiation);
        f->MLineGradiation = direction * 100 + (mode != 0 ? mode : 1);
    }
}

void CKovUnit::MakeGradientMild(const SelectionRecord& selection)
{
    for (CKovLine* f : figureList(*this, selection, true))
        if (f->MLinebNakanuri == 1 && f->MLineGradiation != 0)
            f->MLineNakaColor2 = MildGradientColor(f->MLineNakaColor, f->MLineNakaColor2);
}

int CKovUnit::DeleteAuxLines(const CPlotInfo& plot, kov::platform::Questions& questions,
                             const std::function<void()>& takeUndoSnapshot)
{
    const int g = plot.m_Layer.m_nCurrentGroup, l = plot.m_Layer.m_nCurrentLayer;
    auto matches = [g, l](const CKovLine& f) {
        return f.MLineLineT == CKovLine::AUXILIARY_LINE_TYPE && f.MLineGrpID == 0 && f.MLineLayer1 == g &&
               f.MLineLayer2 == l;
    };
    // Read through the read-only side: asking must not unshare the figures from the undo copies.
    const auto& lines = std::as_const(*this).m_Lines;
    if (std::none_of(lines.begin(), lines.end(), [&](const auto& f) { return matches(*f); }))
        return 0;
    if (!questions.askOkCancel(kov::edit::texts::kDeleteAuxLinesQuestion))
        return 0;
    // The deletion can be undone: the snapshot is taken once the user agreed.
    if (takeUndoSnapshot)
        takeUndoSnapshot();
    // One pass that keeps the rest in order and shares what it keeps with the undo copies.
    return m_Lines.DeleteIf(matches);
}
