#pragma once

// The command "設定(&K)...": the settings sheet on copies of the document's plot settings, grid and
// room-name font, copied back on OK, or every setting put back to its built-in value when the
// sheet's reset was confirmed.

#include "dialogs/SettingsServices.h"

#include <unordered_set>

class QWidget;

namespace kov::dialogs {
class SettingsSheetForm;
}

namespace kov::app {

class CKoviraDoc;
class CKoviraView;

// The numbers of the temporary pictures that the drawing, its base, its undo and redo snapshots and
// the document's own list name: files the deletion of leftovers must keep.
std::unordered_set<long long> TempPicturesInUse(const CKoviraDoc& doc);

// The sheet's services for this document: its profile, questions and folders, the application's
// cache when there is an application, the frame's font chooser for the room-name font.
kov::dialogs::SettingsServices MakeSettingsServices(CKoviraDoc& doc, QWidget* parent);

// What the command does once the sheet closed with OK: the copies back into the document, or the
// reset of every setting. The undo depth follows the setting.
void ApplySettingsSheet(CKoviraDoc& doc, const kov::dialogs::SettingsSheetForm& form);

// The command itself: true when the sheet closed with OK. The view's tools then read the settings
// again (they keep copies for every click) and the view is redrawn.
bool OnSettings(CKoviraDoc& doc, CKoviraView* view, QWidget* parent);

} // namespace kov::app
