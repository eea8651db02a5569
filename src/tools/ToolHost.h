#pragma once

// What the tool machine needs from the rest of the program: the document it edits (with its undo
// stack), the frame's services (status bar, panels, snap buttons, redraw), the dialogs it asks and
// the settings it reads. The shell implements it over the real document and windows; tests over
// the same document with scripted answers.

#include "model/DbPoint.h"
#include "model/DrawTransform.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

class CKovUnit;
class CPlotInfo;
class CGrid;
class CFontMenu;
class SelectionRecord;
class TextBoxMeasurer;
class CRituInfo;

namespace kov::platform {
class Profile;
struct Folders;
}

namespace kov::tools {

// The option panels a tool start opens (the frame places and shows them).
enum class ToolPanel {
    Style,          // the default style of one figure kind; mode = style slot 0-4
    DoubleLine,     // mode 0 two lines, 1 double line and balcony, 2 double-line polygon, 3 polygon, 4 continuous
    FixedRadius,
    Chamfer,
    Angle,
    Distance,
    Balloon,
    WallThickness,
    RoomChoice,     // mode 0 rectangle room, 1 polygon room
    Text,
    DecoratedText,
    Fittings,
    Stairs,
    PictureOutput,
};

// The notation symbol dialog's values: the kind (1-11) and the fixed height.
struct NotationSymbolChoice {
    int kind = 1;
    int heightFixed = 0;     // hyoukikigou_takasakotei
    double height = 100;     // hyoukikigou_takasa, millimetres
};

// The settings the tool machine reads (section KOV_T_UTILITY unless noted). The application reads
// the first group once at start-up; the rest are read again at every use through Load.
struct ToolSettings {
    // read at start-up
    int app_autopita = 1;         // tool starts switch the line and wall-core snaps
    int app_autogridpita = 1;     // tool starts switch the grid snap
    int app_linetyoku = 0;        // the line tools start orthogonal
    int app_walltyoku = 0;        // the wall, fittings and stairs tools start orthogonal
    int app_gridallpita = 1;      // every position snaps to the grid, not only near ones
    int app_mousemovelisp = 2;    // drag threshold in pixels
    int app_pen_cursor = 1;
    int app_sinsyuku = 0;         // the stretch/rotate mode outlasts a release
    int app_renzokusenbara = 0;   // curves and continuous lines as separate lines
    // read when used
    int app_zukeipropview = 1;    // KOV_T_PlotMenu: the style panel is shown
    int app_sunpotyoku = 0;
    int zoomupold = 0;
    int app_zoomjyouzi = 0;
    int buhin_renzoku = 0;
    int zukei_moyou_auto = 0;
    double hach_kankaku_line = 3;

    void Load(const kov::platform::Profile& profile);
};

class ToolHost {
public:
    virtual ~ToolHost() = default;

    // -- the document --------------------------------------------------------------------------
    virtual CKovUnit& Unit() = 0;
    virtual CPlotInfo& Plot() = 0;
    virtual CGrid& Grid() = 0;
    virtual CFontMenu& Font() = 0;
    virtual SelectionRecord& Selection() = 0;
    virtual int& ToolMode() = 0;
    // An undo snapshot before a change; the newest snapshot (the one just taken) is where moves
    // start from. Undo and redo restore whole snapshots.
    virtual void PushUndo() = 0;
    // A snapshot kept though nothing changed since the last one: what is being placed moves from it.
    virtual void PushUndoHeld() { PushUndo(); }
    virtual const CKovUnit* NewestSnapshot() = 0;
    virtual bool CanUndo(bool placing) = 0;
    virtual bool CanRedo() = 0;
    virtual bool Undo(bool placing) = 0;
    virtual bool Redo() = 0;
    virtual const TextBoxMeasurer& Measurer() = 0;

    // -- the frame -----------------------------------------------------------------------------
    virtual void SetStatusText(std::string_view text) { (void)text; }
    virtual void ShowCoordinates(const CDbPoint& absolute, const CDbPoint& relative) { (void)absolute; (void)relative; }
    virtual void RedrawAll() {}
    // Only the previews and rubber bands over the drawing changed.
    virtual void InvalidateOverlay() {}
    virtual void ShowSnapButtons(int lineSnap, int wallSnap, int gridSnap) { (void)lineSnap; (void)wallSnap; (void)gridSnap; }
    virtual void OpenPanel(ToolPanel panel, int mode, bool shown) { (void)panel; (void)mode; (void)shown; }
    virtual void ClosePanels() {}
    virtual void RefreshLayerBar() {}
    virtual void SetStretchRotateButton(bool on) { (void)on; }
    virtual void UncheckArcButton() {}
    virtual void ShowMessage(std::string_view text) { (void)text; }
    // Where the copies of pictures put their temporary files.
    virtual std::filesystem::path TempImageFolder() { return {}; }

    // -- dialogs (empty answer: cancelled) -------------------------------------------------------
    virtual std::optional<CDbPoint> AskRelativePoint(const CDbPoint& clicked) { (void)clicked; return std::nullopt; }
    // The two side lengths of a triangle over a base of that length.
    virtual std::optional<std::array<int, 2>> AskTriangleSides(int baseLength) { (void)baseLength; return std::nullopt; }
    // Left, right, up and down distances of a rectangle about a centre.
    virtual std::optional<std::array<double, 4>> AskRectDistances() { return std::nullopt; }
    virtual std::optional<double> AskParallelDistance(double current) { (void)current; return std::nullopt; }
    // A question with OK and Cancel: true for OK.
    virtual bool AskOkCancel(std::string_view caption, std::string_view question)
    {
        (void)caption;
        (void)question;
        return false;
    }
    // The notation symbol dialog, opened on the stored height and switch (the kind always starts at 1).
    virtual std::optional<NotationSymbolChoice> AskNotationSymbol(const NotationSymbolChoice& initial)
    {
        (void)initial;
        return std::nullopt;
    }
    // The fitting size dialog: width and thickness in millimetres.
    virtual std::optional<std::array<double, 2>> AskFittingSize(double width, double depth)
    {
        (void)width;
        (void)depth;
        return std::nullopt;
    }

    // The elevation settings' roof dialog ("立面用屋根") and balcony dialog ("バルコニー高さ設定"),
    // opened on the settings given, which they change on OK; false when cancelled.
    virtual bool AskRoofSettings(CRituInfo& ritu) { (void)ritu; return false; }
    virtual bool AskBalconySettings(CRituInfo& ritu) { (void)ritu; return false; }

    // -- the libraries and the settings store ----------------------------------------------------
    // The installed folders of fittings and notation symbols; null when the program has none.
    virtual const kov::platform::Folders* LibraryFolders() { return nullptr; }
    // A long operation runs: the wait cursor.
    virtual void SetBusy(bool busy) { (void)busy; }
    // A one-line text entry: its caption, the starting text and the label right of the edit.
    virtual std::optional<std::string> AskString(std::string_view caption, std::string_view text,
                                                 std::string_view label)
    {
        (void)caption;
        (void)text;
        (void)label;
        return std::nullopt;
    }
    // The range scale's two factors (horizontal, vertical).
    virtual std::optional<std::array<double, 2>> AskRangeScaleFactors() { return std::nullopt; }
    // The stretch's offset (dx, dy) in drawing millimetres.
    virtual std::optional<CDbPoint> AskStretchOffset() { return std::nullopt; }
    // The drawing centre's confirmation: empty when cancelled, else whether every layer group moves.
    virtual std::optional<bool> AskOriginChange(std::string_view message)
    {
        (void)message;
        return std::nullopt;
    }
    // The division dialog ("分割"): by count (mode 0) or by length (mode 1).
    struct DivisionAnswer {
        int mode = 0;
        int count = 2;
        double length = 0;
    };
    virtual std::optional<DivisionAnswer> AskDivision() { return std::nullopt; }
    // The division-count dialog ("分割数") preset with the count.
    virtual std::optional<int> AskDivisionCount(int current) { (void)current; return std::nullopt; }
    // The settings the tools read and write at the moment of use; null without a store.
    virtual kov::platform::Profile* SettingsStore() { return nullptr; }
    // The range print (tool 59) on release: the print preview of the rectangle between the two
    // corners (sheet millimetres of the current layer group; the first holds the smaller x and y),
    // centred on the printer's page.
    virtual void PrintRange(const CDbPoint& first, const CDbPoint& second)
    {
        (void)first;
        (void)second;
    }
    // The length dialog ("mm") with its caption and the proposed distance; the distance typed.
    virtual std::optional<double> AskDistance(std::string_view caption, double proposed)
    {
        (void)caption;
        (void)proposed;
        return std::nullopt;
    }
    // The measuring result ("測定"): a label, the value written in each of five units with their
    // names (by unit index), and the unit shown first. The answer: the text, possibly edited, to
    // put into the drawing (none when closed) and the unit last chosen, also when closed.
    struct MeasureResult {
        std::string label;
        std::array<std::string, 5> texts;
        std::array<std::string, 5> units;
        int unit = 0;
    };
    struct MeasureAnswer {
        std::optional<std::string> text;
        int unit = 0;
    };
    virtual MeasureAnswer ShowMeasureResult(const MeasureResult& result) { return {std::nullopt, result.unit}; }
    // The object count ("オブジェクトの数測定") of the drawing; the text of the ticked counts, or
    // none when cancelled.
    virtual std::optional<std::string> AskObjectCount() { return std::nullopt; }
    // The text tool's entry line, shown for the clicked point.
    virtual void ShowTextEntry() {}
    // The tool changed values its open panel shows (a placed decorated text empties the text).
    virtual void RefreshPanel(ToolPanel panel) { (void)panel; }
    // The range picture tools on release: the dragged rectangle of window pixels to a picture file
    // (tool 12) or to the clipboard (tool 13).
    virtual void RangeToPicture(int tool, DevicePoint press, DevicePoint release)
    {
        (void)tool;
        (void)press;
        (void)release;
    }
};

} // namespace kov::tools
