#pragma once

// The view's DXF commands on the document: "DXF出力(&D)..." and "DXF読み込み(&X)...". The shell
// binds them to the menu and refreshes the layer bar, the scale box and the view afterwards.

#include "io/DxfReader.h"

#include <functional>

namespace kov::app {

class CKoviraDoc;

// The export is offered while the drawing holds a figure, a text or a wall (groups and pictures
// alone do not count).
bool CanExportDxf(const CKoviraDoc& doc);

// Asks for the file ("DXF形式で保存") and writes the drawing; a failure is told and the old file,
// if any, stays. The drawing is not changed. True when written.
bool ExportDxf(CKoviraDoc& doc);

// Shows the import options dialog; false when cancelled.
using DxfOptionsAsker = std::function<bool(kov::io::DxfReadOptions&)>;

// Asks for the file ("DXFファイル取り込み") and the options, reads the file into a new drawing and,
// when it was read, replaces the open one (asking to save it first). Cancelling any question or a
// file that cannot be read changes nothing. What the reader reports is told. True when replaced.
bool ImportDxf(CKoviraDoc& doc, const DxfOptionsAsker& askOptions);

} // namespace kov::app
