#include "app/DecoratedTextCommands.h"

#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "app/PropertyCommands.h"
#include "dialogs/ModalRun.h"
#include "dialogs/TextPanels.h"
#include "model/KovUnit.h"
#include "model/QuotationList.h"
#include "model/SettingsValues.h"
#include "platform/Folders.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"
#include "tools/ToolMachine.h"

#include <QDialog>

namespace kov::app {

namespace {

using kov::tools::DecoratedTextValues;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kVerticalEscapement = 2700;

bool hasVerticalFace(const CFontMenu& font) { return !font.lfFaceName.empty() && font.lfFaceName.front() == '@'; }

// The dialog in edit mode on the values; true on OK.
bool runDialog(CKoviraDoc& doc, DecoratedTextValues& values, const PropertyFrame& frame)
{
    kov::platform::Profile& profile = doc.services().profile;
    const auto file = doc.services().folders.quotationListFile(kov::platform::readCommonFolderSwitches(profile));
    kov::dialogs::TextPanelHooks hooks;
    hooks.mmToDevice = frame.mmToDevice;
    hooks.pickFont = frame.pickFont;
    kov::dialogs::DecoratedTextPanel dialog(values, profile, doc.services().questions,
                                            kov::dialogs::QuotationLines(kov::model::ReadQuotationFile(file)),
                                            std::move(hooks), frame.parent, kov::dialogs::DecoratedTextPanel::Mode::Edit);
    return kov::dialogs::RunModal(dialog) == QDialog::Accepted;
}

// The dialog's vertical switch from the text's font. A vertical face at another angle (a vertical
// text turned) counts as vertical too and comes back upright: a horizontal decorated text with a
// vertical face would lie on its side.
void takeVertical(DecoratedTextValues& values)
{
    values.SetVertical(hasVerticalFace(values.font));
}

void writeDecoration(CKovText& text, const DecoratedTextValues& v)
{
    text.MTextHuchiFlg = v.framesOnly == 2 ? 2 : 1;
    text.MTextHuchiAtsumi = v.frameThickness;
    text.MTextHuchiType = v.shape;
    text.MTextHuchiKeij = v.slant;
    text.MTextAlpha = v.opacity;
    text.MTextFontMenu.m_Color = v.textColour;
    text.MTextFontMenu.m_BackColor = v.frameColour;
    text.MTextstr = v.text;
}

} // namespace

void EditDecoratedText(CKoviraDoc& doc, CKoviraView& view, int textId, const PropertyFrame& frame)
{
    const CKovText* found = std::as_const(doc.m_Unit).FindText(textId);
    if (!found) return;
    const CKovText& old = *found;
    DecoratedTextValues values;
    values.font = old.MTextFontMenu;
    values.text = old.MTextstr;
    values.textColour = old.MTextFontMenu.m_Color;
    values.frameColour = old.MTextFontMenu.m_BackColor;
    values.framesOnly = old.MTextHuchiFlg == 2 ? 2 : 1;
    values.frameThickness = old.MTextHuchiAtsumi;
    values.shape = old.MTextHuchiType;
    values.slant = old.MTextHuchiKeij;
    values.opacity = old.MTextAlpha;
    values.vertical = hasVerticalFace(old.MTextFontMenu) && old.MTextFontMenu.lfEscapement == kVerticalEscapement;
    const bool wasVertical = values.vertical;
    const bool accepted = runDialog(doc, values, frame);
    view.machine().m_bDragging = 0;
    if (!accepted) return;
    view.PushUndo();
    CKovText& text = *doc.m_Unit.FindText(textId);
    // The angle and the alignments stay, unless the writing direction changed: then the angle is
    // the one that direction needs.
    const CFontMenu kept = text.MTextFontMenu;
    text.MTextFontMenu = values.font;
    text.MTextFontMenu.m_toko_align = kept.m_toko_align;
    text.MTextFontMenu.m_tate_align = kept.m_tate_align;
    if (values.vertical == wasVertical) text.MTextFontMenu.lfEscapement = kept.lfEscapement;
    writeDecoration(text, values);
    view.RedrawAll();
}

void OnConvertToDecoratedText(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame)
{
    const SelectionRecord& sel = doc.m_Selection;
    if (sel.m_Texts.size() != 1) return;
    const int id = sel.m_Texts.front();
    const CKovText* found = std::as_const(doc.m_Unit).FindText(id);
    if (!found) return;
    if (found->MTextHuchiFlg != 0) {
        EditDecoratedText(doc, view, id, frame);
        return;
    }
    const CKovText& old = *found;
    DecoratedTextValues values;
    values.font = old.MTextFontMenu;
    values.text = old.MTextstr;
    values.textColour = kWhite;
    values.frameColour = old.MTextFontMenu.m_Color == kWhite ? 0 : old.MTextFontMenu.m_Color;
    values.framesOnly = 1;
    const double thickness = kov::platform::parseDouble(
        doc.services().profile.GetProfileString(kov::model::kSectionPlotMenu, "text_huchiatsumi", "1"));
    if (!values.SetFrameThickness(thickness)) values.frameThickness = 1;
    values.shape = 0;
    values.slant = 5;
    values.opacity = 100;
    takeVertical(values);
    const bool accepted = runDialog(doc, values, frame);
    view.machine().m_bDragging = 0;
    if (!accepted) return;
    view.PushUndo();
    CKovText& text = *doc.m_Unit.FindText(id);
    text.MTextFontMenu = values.font;
    text.MTextFontMenu.m_toko_align = 0;
    text.MTextFontMenu.m_tate_align = 0;
    text.MTextFontMenu.lfEscapement = values.vertical ? kVerticalEscapement : 0;
    writeDecoration(text, values);
    view.RedrawAll();
}

} // namespace kov::app
