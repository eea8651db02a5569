#pragma once

// The view's commands that copy, move and stretch the selection and put objects on other layer
// groups: duplicate ("コピー"), numeric copy, move, group stretch, the selection's layer, the two layer
// merges and the selection of a whole layer. What they ask is answered through EditAnswers: the
// window shows its dialogs, tests answer directly.

#include "dialogs/EditDialogs.h"

#include <array>
#include <functional>
#include <optional>

namespace kov::app {

class CKoviraDoc;
class CKoviraView;

// What the layer dialog returns: source and target layer group (-1 when its list had no choice),
// and whether the selected objects stay where they are (the change of the selection's layer).
struct LayerChoice {
    int source = 0;
    int target = 0;
    int keep = 0;
};

// The layer dialog's modes.
enum LayerChoiceMode { kLayerOfSelection = 1, kLayerMoveMerge = 2, kLayerSelect = 3, kLayerCopyMerge = 7 };

struct EditAnswers {
    std::function<std::optional<LayerChoice>(int mode, int currentGroup)> layer;
    std::function<std::optional<kov::dialogs::ObjectMoveForm>(kov::dialogs::ObjectMoveForm::Mode)> move;
    // The group's box width and height in; the two factors out.
    std::function<std::optional<std::array<double, 2>>(double width, double height)> groupStretch;
    // Yes/no questions of the layer merges: true for OK.
    std::function<bool(const std::string& question)> confirm;
};

void OnDuplicateSelection(CKoviraDoc& doc, CKoviraView& view);
void OnNumericCopy(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask);
void OnMoveSelection(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask);
// 1 when the group was one the command stretches; 0 for a fitting (its size command serves) or
// when no group is selected.
int OnStretchGroup(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask);
void OnChangeSelectionLayer(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask);
void OnLayerMerge(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask, bool copy);
void OnSelectLayer(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask);

} // namespace kov::app
