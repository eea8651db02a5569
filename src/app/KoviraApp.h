#pragma once

// The program's one application object as a plain object: start-up in its fixed order, the cache of
// application settings that tools and drawers read many times, the fill-pattern bitmaps, the version
// number, the file-open command, the reset of the settings and the shut-down. The Qt side (the
// QApplication, the main window) is the shell's: it hands its steps in through AppShellHooks.

#include "app/AppTexts.h"
#include "app/FillPatterns.h"

#include "platform/Folders.h"

#include <QImage>

#include <array>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kov::platform {
class Profile;
class Questions;
} // namespace kov::platform

namespace kov::app {

class CKoviraDoc;

inline constexpr int kProgramVersion = 606000;

inline constexpr std::string_view kSectionLayoutSize = "KOV_T_LAYOUTSIZE";

// One value per application setting, read at start-up, in declared order. Each is named after its
// key (section KOV_T_UTILITY unless noted). A dialog that changes one of these keys writes the key
// and sets the value here together.
struct AppSettingsCache {
    int app_autopita = 0;          // choosing a tool switches line and wall-core snap by itself
    int app_walltyoku = 0;         // the wall tool starts horizontal-and-vertical
    int app_linetyoku = 0;         // the line tool starts horizontal-and-vertical
    int app_sinsyuku = 0;          // stretch-and-rotate mode stays on after a drag
    int app_mousekyori = 0;        // distance from the first point beside the pointer
    int app_gridallpita = 0;       // with grid snap on, points always snap to the grid
    int app_hasiraauto = 0;        // read by the wall and column drawers
    int app_tatamiheri = 0;        // Japanese-style rooms get tatami borders
    int app_autogridpita = 0;      // choosing a tool switches the grid snap by itself
    int app_printgrid = 0;         // the grid is printed (as dots)
    int app_roomtextsiro = 0;      // room labels get a white background
    int app_sokuteisisyakiri = 0;  // 1 measured values unchanged; 0 cut to the shown decimals
    int app_renzokusenbara = 0;    // continuous lines made as single lines
    int app_gazousita = 0;         // pictures below the other objects of their layer
    int app_haikei = 0;            // background fill of the drawing area; read at each paint
    int app_haikei_color = 0;      // its colour (COLORREF, stored as text); read at each paint
    int app_pen_cursor = 0;        // pointer shown while a figure tool is active
    int app_cross_cursorbig = 0;   // the pointer cross spans the whole paper
    int app_mousemovelisp = 0;     // pixels a press must move before a drag starts
    int app_printrealmode = 0;     // the area a text really prints in is shown dotted
    int app_undonum = 0;           // undo depth
    int app_hojonuriprt = 0;       // filled figures drawn with auxiliary lines are printed
    int app_pattern_printbai = 0;  // patterns printed enlarged, as earlier editions did
    int app_strecheven = 0;        // stretching and rotating keep equal ratios
    int app_sirokuro_roomhachdel = 0; // (KOV_T_PlotMenu) black-and-white display leaves out room patterns
    int m_bTraceMode = 0;          // filled figures half transparent on the screen; never saved
    int app_walpitaview = 0;       // the wall-core snap button is shown
    int app_sironuri = 0;          // recolouring the selection also recolours white fills
    int app_zukeipropview = 0;     // (KOV_T_PlotMenu) figure settings dialog after creating a figure
    int app_dpiaware = 0;          // screen resolution, recorded by the view's first update
};

// One cached setting: where it is stored, its default (read at start, written by the reset) and
// the cache member it fills.
struct CachedSetting {
    std::string_view section;
    std::string_view key;
    int defaultValue;
    int AppSettingsCache::*member;
    // What the settings dialog accepts; a stored value outside (a hand-edited or damaged store)
    // reads as the default, so that no undo depth of a million snapshots is ever tried.
    int minValue = std::numeric_limits<int>::min();
    int maxValue = std::numeric_limits<int>::max();
};
// The cached settings in declared order, without the two background values (read at each paint).
const std::vector<CachedSetting>& CachedSettings();

// A further setting the reset writes: an int, or a text when `isText`.
struct ResetSetting {
    std::string_view section;
    std::string_view key;
    int value;
    std::string_view text;
    bool isText;
};
const std::vector<ResetSetting>& FurtherResetSettings();

inline constexpr int kBackgroundColourDefault = 5592405; // grey 0x555555, stored as its decimal text

// What the application needs from its surroundings. A missing profile is opened at start-up as the
// INI file under the company key.
struct AppEnvironment {
    std::unique_ptr<kov::platform::Profile> profile;
    kov::platform::Questions* questions = nullptr; // required
    kov::platform::Folders folders;
    std::string programFolder; // default place of the parts library setting
};

// The shell's steps of the start-up, each optional.
struct AppShellHooks {
    // Builds the main frame and the view around the document, before the shell command fills it;
    // false when no window could be made (the start-up then ends).
    std::function<bool(CKoviraDoc&)> createFrame;
    // Shows the main window, maximised when asked.
    std::function<void(bool maximised)> showMainWindow;
};

class CKoviraApp : public AppSettingsCache {
public:
    explicit CKoviraApp(AppEnvironment environment);
    ~CKoviraApp();
    CKoviraApp(const CKoviraApp&) = delete;
    CKoviraApp& operator=(const CKoviraApp&) = delete;

    // The application object that is alive, as the one global instance is reached; null when none.
    static CKoviraApp* Current();

    // Start-up in its fixed order: the profile under the company key (and the user's folders,
    // filled from the installed data on a first run), the one document, the
    // command line, the frame, the shell command (new drawing or the named file), the main window
    // shown, the settings cache, the fill patterns and the version number. 1 when the program runs
    // on, 0 when it must end (no frame, or the named file could not be opened).
    int InitInstance(const std::vector<std::string>& arguments, const AppShellHooks& hooks = {});
    // Clean shut-down: empties the document (its temporary pictures go), frees the bitmaps and
    // writes the settings store out. 0.
    int ExitInstance();

    // The document path named on the command line: the first argument that is not an option ("--"
    // ends the options). Nothing when there is none.
    static std::optional<std::filesystem::path> ParseCommandLine(const std::vector<std::string>& arguments);
    // The running program's arguments as Qt left them (its own options taken out), each in the
    // file system's encoding; empty before the Qt application exists.
    static std::vector<std::string> CommandLineArguments();

    // Reads every cached setting by its key and default; the trace mode starts off.
    void ReadSettingsCache();
    // The background fill values the view reads at each paint: `app_haikei` and `app_haikei_color`.
    void ReadBackgroundSettings();
    // What a dialog does when it changes one cached setting (and the view when it records the
    // screen resolution): writes the key in its section and sets the cached value together. False
    // for a key that is not cached.
    bool WriteCachedSetting(std::string_view key, int value);
    // Writes the default of every application setting and sets the cache to it, with the further
    // keys of the reset. The document's settings are the caller's (ResetEverySetting does both).
    void ResetAllSettings();
    // The whole reset of the settings sheet: `registset` 0, the document's plot settings and grid
    // back to the built-in values and written, then ResetAllSettings.
    void ResetEverySetting();

    // File-new through the document (asks to save first). False when the user cancelled.
    bool DoFileNew();
    // The open command: the file chooser ("*.kvr"), then the document opened as the recent-file
    // list's head. False when cancelled or the file could not be opened.
    bool OnFileOpen();
    // The about box's lines: the product name, then the version.
    static std::vector<std::string> AboutLines();

    // The pattern of code 1-8; a null image for 0 and any other code.
    const QImage& PatternBitmap(int code) const;

    kov::platform::Profile& profile();
    kov::platform::Questions& questions() { return *m_environment.questions; }
    const kov::platform::Folders& folders() const { return m_environment.folders; }
    CKoviraDoc* document() { return m_pDocument.get(); }

    std::array<QImage, kFillPatternCount> m_Bitmaps;
    int m_nVersion = 0;

private:
    void openProfile();

    AppEnvironment m_environment;
    std::unique_ptr<CKoviraDoc> m_pDocument;
};

} // namespace kov::app
