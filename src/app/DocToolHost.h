#pragma once

// The tool machine's host over the document: its drawing, settings, selection, tool number and
// undo stack. The frame's services and the dialogs are hooks the view fills (tests fill them with
// recorders and scripted answers).

#include "app/KoviraDoc.h"
#include "tools/ToolHost.h"

#include <functional>
#include <memory>

namespace kov::platform {
class Surface;
}

namespace kov::app {

class DocToolHost : public kov::tools::ToolHost {
public:
    // Text boxes for picking are measured on the surface (its font metrics).
    DocToolHost(CKoviraDoc& doc, kov::platform::Surface& measureSurface);
    ~DocToolHost() override;

    CKovUnit& Unit() override { return m_doc.m_Unit; }
    CPlotInfo& Plot() override { return m_doc.m_PlotInfo; }
    CGrid& Grid() override { return m_doc.m_Grid; }
    CFontMenu& Font() override { return m_doc.m_FontMenu; }
    SelectionRecord& Selection() override { return m_doc.m_Selection; }
    int& ToolMode() override { return m_doc.m_nToolMode; }
    void PushUndo() override { m_doc.PushUndo(); }
    void PushUndoHeld() override { m_doc.PushUndoHeld(); }
    const CKovUnit* NewestSnapshot() override { return m_doc.NewestSnapshot(); }
    bool CanUndo(bool placing) override { return m_doc.CanUndo(placing); }
    bool CanRedo() override { return m_doc.CanRedo(); }
    bool Undo(bool placing) override { return m_doc.Undo(placing); }
    bool Redo() override { return m_doc.Redo(); }
    const TextBoxMeasurer& Measurer() override { return *m_measurer; }
    const kov::platform::Folders* LibraryFolders() override { return &m_doc.services().folders; }
    kov::platform::Profile* SettingsStore() override { return &m_doc.services().profile; }
    std::filesystem::path TempImageFolder() override { return m_doc.TempImageFolder(); }

    // Marks the drawing for a new picture and repaints through the hook.
    void RedrawAll() override;
    void SetStatusText(std::string_view text) override;
    void ShowMessage(std::string_view text) override;
    // Through the document's questions (scripted in tests).
    bool AskOkCancel(std::string_view caption, std::string_view question) override;

    std::function<void()> onRedraw;
    std::function<void(std::string_view)> onStatus;
    std::function<void(std::string_view)> onMessage;

    CKoviraDoc& doc() { return m_doc; }

private:
    CKoviraDoc& m_doc;
    std::unique_ptr<TextBoxMeasurer> m_measurer;
};

} // namespace kov::app
