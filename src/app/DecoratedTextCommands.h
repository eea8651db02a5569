#pragma once

// "修飾文字に変換..." (33965) and the edit of a decorated text (reached from it and from "選択文字の修正"):
// the decorated-text dialog in its edit mode on one text, written back into it on OK as one undo step.

namespace kov::app {

class CKoviraDoc;
class CKoviraView;
struct PropertyFrame;

// One selected text: a plain one becomes decorated (white letters framed in its colour), a decorated
// one is edited. Anything else selected: nothing happens.
void OnConvertToDecoratedText(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame);
// The dialog on the decorated text of this identifier; an unknown identifier does nothing.
void EditDecoratedText(CKoviraDoc& doc, CKoviraView& view, int textId, const PropertyFrame& frame);

} // namespace kov::app
