#pragma once

// The option panels and dialogs of the construction line, measuring and text tools as windows over
// the view: the panels edit the tool machine's values, the dialogs answer its questions.

#include "tools/ToolHost.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kov::app {

class CKoviraDoc;
class CKoviraView;

// Keeps a panel made here: the frame places it by its kind (a negative kind is beside the layer bar)
// and it is shown or left hidden.
using KeepToolPanel = std::function<void(QWidget* panel, int kind, bool shown)>;

// Makes the panels of these tools (fixed radius, angle, length, text, decorated text); false for the
// panels made elsewhere.
bool OpenOptionPanel(CKoviraView& view, CKoviraDoc& doc, kov::tools::ToolPanel panel, const KeepToolPanel& keep);

std::optional<double> AskLength(QWidget* parent, std::string_view caption, double proposed);
kov::tools::ToolHost::MeasureAnswer AskMeasureResult(QWidget* parent, const kov::tools::ToolHost::MeasureResult& r);
std::optional<std::string> AskObjectCount(QWidget* parent, const CKoviraDoc& doc);

// The text tool's entry line among the open panels, shown for the clicked point.
void ShowTextEntry(const std::vector<QPointer<QWidget>>& panels);
// The panels of that kind show their tool's values again.
void RefreshOptionPanels(const std::vector<QPointer<QWidget>>& panels, kov::tools::ToolPanel panel);

} // namespace kov::app
