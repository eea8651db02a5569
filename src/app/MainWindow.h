#pragma once

// The program's main window: menus, the three toolbars, the tool panel on the left, the layer bar on
// the right, the status bar, and the drawing view in the middle. Every menu item, toolbar button and
// panel button carries its command identifier; one routing table sends a command to the view, the
// document, the frame or the application, in that order. What the frame decides lives in
// FrameLogic and CommandStates; this class shows it and forwards the clicks.

#include "app/ContextMenu.h"
#include "app/EditCommands.h"
#include "app/CommandStates.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

class QAbstractButton;
class QDialog;
class QComboBox;
class QDockWidget;
class QLabel;
class QPushButton;
class QToolBar;
class QCheckBox;

namespace kov::platform {
class Profile;
}

namespace kov::dialogs {
class PartsPalette;
class FittingsPalette;
}

class CKovUnit;

namespace kov::app {

class CKoviraDoc;
class CKoviraView;
class VersionFetch;
struct PropertyFrame;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Without a document (tests of the bare window) the window closes without asking.
    explicit MainWindow(CKoviraDoc* document = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // "<drawing> - <program>", as the document's title changes.
    void refreshTitle();
    // The drawing view in the middle of the window; null without a document.
    CKoviraView* view() const { return m_view; }
    // The prompt of the tool in use, as status pane 0 shows it.
    QString prompt() const;

    // -- commands -----------------------------------------------------------------------------------
    enum class Target { View, Document, Frame, Application };
    using Handler = std::function<void()>;
    // Adds or replaces the handler of a command at one of the four places (later tools plug in here).
    void Route(Target target, int command, Handler handler);
    // The view's tool machine: commands no table routes (the drawing tools) go to it; true when it
    // took the command.
    void SetToolCommands(std::function<bool(int)> hook) { m_toolCommands = std::move(hook); }
    // Runs a command through the routing table, then brings every command state up to date. False
    // when nothing handles it (the status bar then says that the function comes later).
    bool RunCommand(int command);
    // The action of a command (menu item and toolbar button share it); null when there is none.
    QAction* action(int command) const;
    // The panel or layer-bar button of a command; null when there is none.
    QAbstractButton* panelButton(int command) const;
    QComboBox* gridDivisionList() const { return m_gridDivision; }
    QComboBox* roomLockList() const { return m_roomLock; }
    QToolBar* toolBar(int id) const;
    // The values the command states read, as the shell holds them now.
    CommandContext commandContext() const;
    void UpdateCommandStates();

    // -- services of the frame ------------------------------------------------------------------------
    void ResetToolPalette();
    void InitToolPanel();
    void CallSelectTool();
    void CallWallTool();
    void CallTextTool();
    void CallMouseFree();
    void CallMouseAxisLock();
    void ToggleGridSnap();
    void ToggleLineSnap();
    void ToggleWallCoreSnap();
    void ShowSnapButtons();
    void ApplyGridDivision();
    void ShowScale();
    void RefreshLayerBar();
    void DrawToolSample();
    void SetStatusText(const std::string& text);
    std::string statusText() const;
    void ShowCoordinates(double x, double y, double dx, double dy, const std::string& selectionText);
    std::string paneText(int pane) const;
    void PlaceToolDialogBelow(int kind);
    // Keeps a tool's panel in the frame's slot of that placement kind and places it.
    void KeepToolPanel(QWidget* panel, int kind);
    void PlaceToolDialogBeside(int kind);
    int MmToDeviceUnits(double mm) const;

    // The open modeless tool panels, in the frame's slot order (the panels arrive with their tools).
    static constexpr int kToolPanelSlots = 15;
    std::array<QWidget*, kToolPanelSlots> m_pToolDialog{};

    int m_bDrawToolBarShown = 1;
    int m_bGroupToolBarShown = 1;

    // The parts and fittings palettes (LibraryRoutes.cpp): made hidden on first use, shown beside
    // the layer bar; null until then.
    kov::dialogs::PartsPalette* partsPalette() const { return m_BuhinDlg; }
    kov::dialogs::FittingsPalette* fittingsPalette() const { return m_TategDlg; }
    void ShowPartsPalette();
    void ShowFittingsPalette();
    // "グループの保存...": the one selected group as a part file, through the palette in save mode.
    void OnSaveGroup();

    // The version check's address (a setting may name another; tests point it at a local server).
    QString versionAddress() const;
    // Runs the check; `done` (tests) hears when the dialogue has ended.
    void CheckForUpdate(std::function<void()> done = {});

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    kov::platform::Profile* profile() const;
    void buildActions();
    void buildMenus();
    void buildToolBars(bool large);
    void buildStatusBar();
    void buildToolPanel();
    void buildLayerBar();
    void buildRoutes();
    void buildSelectionRoutes();
    void buildFileRoutes();
    void buildEditRoutes();
    void buildLibraryRoutes();
    kov::dialogs::PartsPalette* m_BuhinDlg = nullptr;
    kov::dialogs::FittingsPalette* m_TategDlg = nullptr;
    std::unique_ptr<CKovUnit> m_groupToSave; // the group the save-mode palette writes
    void buildPropertyRoutes();
    // What the property and layer commands use of the frame.
    PropertyFrame propertyFrame();
    // The figure tools' style panel: kept in its slot and placed beside the layer bar.
    void KeepStylePanel(QWidget* panel);
    void buildLineEditRoutes();
    // The picture commands and the range print's preview.
    void buildPictureRoutes();
    void buildMeasureRoutes();
    void buildAnnotationRoutes();
    void buildElevationRoutes();
public:
    // What the editing and layer commands ask (dialogs by default; tests answer directly).
    EditAnswers& editAnswers() { return m_editAnswers; }
    // The modal dialogs of the generator commands run through this: exec() unless a test answers
    // them (fills the dialog's controls and returns whether it accepted).
    std::function<bool(QDialog&)> runDialog;
    bool RunModal(QDialog& dialog);
    // The context menu's items for the selection and tool state now; empty when none opens.
    std::vector<ContextItem> contextMenuItems() const;
    void OpenContextMenu(const QPoint& global);
private:
    void ShowToolBars();
    QAction* makeAction(int command);
    QPushButton* makePanelButton(int command, const char* icon, const QString& text = {});
    void setButtonIcon(int command, const char* icon);
    void OnToolCommand(int command);
    bool InsertPicture();
    void OnDeleteTool();
    void OnGridSnap();
    void OnLineSnap();
    void OnWallCoreSnap();
    void OnAxisLock(int command);
    void OnStretchRotateMode();
    void OnScaleButton();
    void OnGridDivisionChanged(int index);
    void OnRoomLockChanged(int index);
    void OnLayerBarNumber(int row);
    void OnLayerBarState(int row);
    void OnColourMode(int command);
    void OnToolProperties();
    void OnOpenSample();
    void OpenInstalledFile(const char* name, const char* fallback = nullptr);
    void OpenHomePage();
    // The panel's tool buttons lit as the tool machine's current tool.
    void SyncToolPanel();
    void focusAndRedraw();
    void saveLayoutAndSettings();

    CKoviraDoc* m_document;
    CKoviraView* m_view = nullptr;
    std::unordered_map<int, QAction*> m_actions;
    std::map<int, QAbstractButton*> m_buttons;
    std::array<std::unordered_map<int, Handler>, 4> m_routes;
    std::map<int, QToolBar*> m_toolBars;
    QDockWidget* m_toolPanelDock = nullptr;
    QDockWidget* m_layerBarDock = nullptr;
    QWidget* m_toolPanel = nullptr;
    QWidget* m_layerBar = nullptr;
    QLabel* m_prompt = nullptr;
    std::array<QLabel*, 8> m_panes{};
    QLabel* m_sample = nullptr;
    QComboBox* m_gridDivision = nullptr;
    QComboBox* m_roomLock = nullptr;
    QCheckBox* m_continuous = nullptr;
    QCheckBox* m_keepAspect = nullptr;
    QWidget* m_stretchGroup = nullptr;
    VersionFetch* m_versionFetch = nullptr;
    std::function<bool(int)> m_toolCommands;
    EditAnswers m_editAnswers;
};

} // namespace kov::app
