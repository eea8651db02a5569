#pragma once

// Figures from a coordinate file: lines, a polygon or a continuous line through its points, with
// the labels of its third column.

class QWidget;

namespace kov::app {

class CKoviraDoc;
class CKoviraView;

void ImportCoordinateFile(CKoviraDoc& doc, CKoviraView& view, QWidget* parent);

} // namespace kov::app
