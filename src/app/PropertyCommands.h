#pragma once

// The commands that edit the properties of the selection and the layers through the property and
// layer dialogs: the selected text, a room's fill and pattern, a wall's or column's thickness, one
// figure's style or the line type of several, the layer list and the layer name. Each runs its dialog through kov::dialogs::RunModal and applies the result.

#include "render/Swatches.h"

#include <functional>
#include <string>

class CFontMenu;
class QWidget;

namespace kov::app {

class CKoviraDoc;
class CKoviraView;

// What the commands need of the frame.
struct PropertyFrame {
    QWidget* parent = nullptr;
    // The frame's font chooser on a font record (draws the tool sample and redraws after OK).
    std::function<bool(CFontMenu&)> pickFont;
    // Screen pixels of a height in paper millimetres (the font chooser's conversion).
    std::function<int(double)> mmToDevice;
    std::function<void()> refreshLayerBar;
};

// The style swatches' settings of the running program (its fill patterns).
SwatchEnvironment ProgramSwatchEnvironment();

// "選択文字の修正" (32797): the first selected text (or the first text of the first selected group)
// in the dialog; on OK the one text, or every selected plain text, takes the result.
void OnEditSelectedText(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame);
// The room change dialog for one room group; on OK the room's polygon and pattern lines change.
void EditRoomProperties(CKoviraDoc& doc, CKoviraView& view, int groupId, const PropertyFrame& frame);
// The properties of one selected wall, column or figure through their dialogs.
void EditWallProperties(CKoviraDoc& doc, int wallId, const PropertyFrame& frame);
void EditColumnProperties(CKoviraDoc& doc, int wallId, const PropertyFrame& frame);
void EditFigureProperties(CKoviraDoc& doc, int lineId, const PropertyFrame& frame);
// "選択壁厚変更..." (32901) and "選択柱厚変更" (33922): every selected wall (column), also those of
// the selected groups, takes the thickness.
void OnChangeWallThickness(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame);
void OnChangeColumnThickness(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame);
// "選択線種変更..." (32903): two or more selected figures take the line style chosen.
void OnChangeLineType(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame);
// The layer bar's "一覧" (1863), and the layer-name command.
void OnLayerList(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame);
void OnLayerName(CKoviraDoc& doc, const PropertyFrame& frame);
} // namespace kov::app
