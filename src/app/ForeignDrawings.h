#pragma once

// Opening other files as a new drawing: the sibling product's (".qvt") and the older product's
// (".q_t") with every object on layer 0, and a document of our own with its objects sorted into
// layers by kind.

#include "app/AppTexts.h"

#include <filesystem>
#include <string_view>

class CPlotInfo;
class CKovUnit;

namespace kov::platform {
class Questions;
}

namespace kov::app {

class CKoviraDoc;

// Every object to layer group 0, layer 0; every layer group and layer visible and snappable (names
// kept); every layer group at the scale of group 0; the current layer group and layer 0.
void PutEverythingOnLayerZero(CPlotInfo& plot, CKovUnit& unit);

// Walls and columns to layer 0; texts to 2 in a group, else 5; groups by kind (room 0, fitting 1,
// other 2); figures by their group's kind (2 when the group is missing), else dimension lines 4,
// auxiliary lines 3, others 2. Layers 0-5 of groups 0-2 get their names. Layer groups stay, and
// pictures keep their layer.
void SortIntoLayersByKind(CPlotInfo& plot, CKovUnit& unit);

// Opens the file as a new drawing (title new, recent list unchanged), tells the user and puts
// everything on layer 0. False when the new drawing was cancelled or the file could not be read.
bool OpenForeignToLayerZero(CKoviraDoc& doc, const std::filesystem::path& path);
// Opens the document as a new drawing and, when the user agrees, sorts it into layers by kind.
// False when the new drawing was cancelled or the file could not be read.
bool OpenKvrSplitLayers(CKoviraDoc& doc, const std::filesystem::path& path);

// The export to the sibling product's format: the whole document block written to the file, which
// is replaced only when every write succeeded. 1 done; 0 with the reason shown.
int SaveBlockToFile(CKoviraDoc& doc, const std::filesystem::path& path);

} // namespace kov::app
