// Creating texts: plain and vertical texts, decorated texts, and the results of measurements.

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <memory>

namespace {

constexpr int kVerticalEscapement = 2700;
constexpr int kFullTurn = 3600;

// A text with a fresh identifier, the string and its own copy of the font; null when every text
// identifier is in use.
std::unique_ptr<CKovText> newText(CKovUnit& unit, const CFontMenu& font, std::string_view text)
{
    const int id = unit.NextTextId();
    if (id == CKovUnit::kNoFreeId)
        return nullptr;
    auto t = std::make_unique<CKovText>();
    t->MTextID = id;
    t->MTextstr = std::string(text);
    t->MTextFontMenu = font;
    return t;
}

int place(CKovUnit& unit, std::unique_ptr<CKovText> t, const CDbPoint& position, const CPlotInfo& plot)
{
    t->MTextpnt = position;
    t->MTextLayer1 = plot.m_Layer.m_nCurrentGroup;
    t->MTextLayer2 = plot.m_Layer.m_nCurrentLayer;
    const int id = t->MTextID;
    unit.m_Texts.Add(std::move(t));
    return id;
}

void selectOnly(SelectionRecord& selection, int textId)
{
    selection.Clear();
    selection.AddTextId(textId);
}

} // namespace

int CKovUnit::AddResultText(const CFontMenu& font, const CDbPoint& position, std::string_view text,
                            const CPlotInfo& plot)
{
    auto t = newText(*this, font, text);
    if (!t)
        return 0;
    return place(*this, std::move(t), position, plot);
}

void CKovUnit::AddText(const CFontMenu& font, const CDbPoint& position, std::string_view text, const CPlotInfo& plot,
                       SelectionRecord& selection, int vertical, int angle)
{
    auto t = newText(*this, font, text);
    if (!t)
        return;
    CFontMenu& f = t->MTextFontMenu;
    if (vertical) {
        if (f.lfFaceName.empty() || f.lfFaceName.front() != '@')
            f.lfFaceName = CFontMenu::limitFaceName("@" + f.lfFaceName);
        f.lfEscapement = kVerticalEscapement;
    }
    // One subtraction, as the angle is added once per creation.
    const long long sum = static_cast<long long>(f.lfEscapement) + 10LL * angle;
    f.lfEscapement = static_cast<std::int32_t>(sum >= kFullTurn ? sum - kFullTurn : sum);
    selectOnly(selection, place(*this, std::move(t), position, plot));
}

void CKovUnit::AddDecoratedText(const CFontMenu& font, const CDbPoint& position, std::string_view text,
                                const CPlotInfo& plot, SelectionRecord& selection, std::uint32_t textColour,
                                std::uint32_t frameColour, int decoration, double frameThickness, int frameType,
                                int frameShape, int opacity)
{
    auto t = newText(*this, font, text);
    if (!t)
        return;
    t->MTextFontMenu.m_Color = textColour;
    t->MTextFontMenu.m_BackColor = frameColour;
    t->MTextFontMenu.m_toko_align = 0;
    t->MTextFontMenu.m_tate_align = 0;
    t->MTextHuchiFlg = decoration;
    t->MTextHuchiAtsumi = frameThickness;
    t->MTextHuchiType = frameType;
    t->MTextHuchiKeij = frameShape;
    t->MTextAlpha = opacity;
    selectOnly(selection, place(*this, std::move(t), position, plot));
}
