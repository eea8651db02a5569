#include "app/KoviraApp.h"

#include "app/KoviraDoc.h"
#include "app/OldDrawings.h"

#include "model/SettingsRegistry.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/PathUL.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <stdexcept>

namespace kov::app {

using kov::model::kSectionPlotMenu;
using kov::model::kSectionUtility;

namespace {

CKoviraApp* g_current = nullptr;

using C = AppSettingsCache;

} // namespace

const std::vector<CachedSetting>& CachedSettings()
{
    static const std::vector<CachedSetting> table = {
        {kSectionUtility, "app_autopita", 1, &C::app_autopita},
        {kSectionUtility, "app_walltyoku", 0, &C::app_walltyoku},
        {kSectionUtility, "app_linetyoku", 0, &C::app_linetyoku},
        {kSectionUtility, "app_sinsyuku", 0, &C::app_sinsyuku},
        {kSectionUtility, "app_mousekyori", 1, &C::app_mousekyori},
        {kSectionUtility, "app_gridallpita", 1, &C::app_gridallpita},
        {kSectionUtility, "app_hasiraauto", 1, &C::app_hasiraauto},
        {kSectionUtility, "app_tatamiheri", 1, &C::app_tatamiheri},
        {kSectionUtility, "app_autogridpita", 1, &C::app_autogridpita},
        {kSectionUtility, "app_printgrid", 0, &C::app_printgrid},
        {kSectionUtility, "app_roomtextsiro", 1, &C::app_roomtextsiro},
        {kSectionUtility, "app_sokuteisisyakiri", 1, &C::app_sokuteisisyakiri},
        {kSectionUtility, "app_renzokusenbara", 0, &C::app_renzokusenbara},
        {kSectionUtility, "app_gazousita", 0, &C::app_gazousita},
        {kSectionUtility, "app_pen_cursor", 1, &C::app_pen_cursor},
        {kSectionUtility, "app_cross_cursorbig", 0, &C::app_cross_cursorbig},
        {kSectionUtility, "app_mousemovelisp", 2, &C::app_mousemovelisp, 0, 10},
        {kSectionUtility, "app_printrealmode", 0, &C::app_printrealmode},
        {kSectionUtility, "app_undonum", 20, &C::app_undonum, 2, 99},
        {kSectionUtility, "app_hojonuriprt", 1, &C::app_hojonuriprt},
        {kSectionUtility, "app_pattern_printbai", 0, &C::app_pattern_printbai},
        {kSectionUtility, "app_strecheven", 0, &C::app_strecheven},
        {kSectionPlotMenu, "app_sirokuro_roomhachdel", 0, &C::app_sirokuro_roomhachdel},
        {kSectionUtility, "app_walpitaview", 0, &C::app_walpitaview},
        {kSectionUtility, "app_sironuri", 0, &C::app_sironuri},
        {kSectionPlotMenu, "app_zukeipropview", 1, &C::app_zukeipropview},
        {kSectionUtility, "app_dpiaware", 96, &C::app_dpiaware, 1},
    };
    return table;
}

const std::vector<ResetSetting>& FurtherResetSettings()
{
    const std::string_view U = kSectionUtility, P = kSectionPlotMenu, L = kSectionLayoutSize;
    static const std::vector<ResetSetting> table = {
        {U, "app_sunpotyoku", 0, {}, false},
        {U, "app_zoomjyouzi", 0, {}, false},
        {U, "zoomupold", 0, {}, false},
        {U, "app_backup", 1, {}, false},
        {U, "app_room_lock", 2, {}, false},
        {P, "app_sirokuro_roomdel", 0, {}, false},
        {U, "tateg_allrev_notrev", 1, {}, false},
        {U, "tateg_hiraki_nakasiro", 0, {}, false},
        {U, "room_wasitu45_nakarect", 0, {}, false},
        {U, "tateg_katabiki_wallkuro", 1, {}, false},
        {P, "app_modeview", 1, {}, false},
        {U, "gazou_jpeg_atu", 100, {}, false},
        {U, "app_gazoubai", 1, {}, false},
        {P, "gazou_antieirias", 0, {}, false},
        {P, "gazou_toukagif", 0, {}, false},
        {P, "gazou_size", 0, {}, false},
        {P, "gazou_size_w", 800, {}, false},
        {P, "gazou_size_h", 800, {}, false},
        {U, "app_gazou_justsize", 0, {}, false},
        {P, "app_grid_hutosa", 1, {}, false},
        {U, "zukei_moyou_auto", 0, {}, false},
        {U, "app_mozinokaiten", 0, {}, false},
        {U, "haiti_mauseiti", 1, {}, false},
        {U, "buhin_itiran", 0, {}, false},
        {U, "buhin_selectidx", -1, {}, false},
        {U, "buhin_selectidx_s", 0, {}, false},
        {U, "buhin_nowpage", 0, {}, false},
        {U, "buhin_forda_jyun", 0, "", true},
        {U, "tateg_selectidx", -1, {}, false},
        {U, "tateg_nowpage", 0, {}, false},
        {U, "path_set_forda", 0, "", true},
        {U, "path_data_flg", 0, {}, false},
        {U, "path_inyou_flg", 0, {}, false},
        {U, "path_room_flg", 0, {}, false},
        {U, "path_ats_flg", 0, {}, false},
        {P, "gazou_zidousave", 0, {}, false},
        {U, "print_move_x", 0, {}, false},
        {U, "print_move_y", 0, {}, false},
        {L, "left", 0, {}, false},
        {L, "right", 800, {}, false},
        {L, "top", 0, {}, false},
        {L, "bottom", 600, {}, false},
        {L, "maximize", 0, {}, false},
        {P, "gazou_out_moku", 0, {}, false},
        {U, "tool_nijyuusen_balmode", 0, {}, false},
        {U, "app_savegazouold", 0, {}, false},
        {U, "tool_tateg_habatype", 0, {}, false},
        {U, "tool_tateg_atumitype", 0, {}, false},
    };
    return table;
}

CKoviraApp::CKoviraApp(AppEnvironment environment) : m_environment(std::move(environment))
{
    if (!m_environment.questions) throw std::invalid_argument("CKoviraApp needs a Questions service");
    g_current = this;
}

CKoviraApp::~CKoviraApp()
{
    if (g_current == this) g_current = nullptr;
}

CKoviraApp* CKoviraApp::Current() { return g_current; }

kov::platform::Profile& CKoviraApp::profile()
{
    if (!m_environment.profile) openProfile();
    return *m_environment.profile;
}

void CKoviraApp::openProfile()
{
    m_environment.profile = std::make_unique<kov::platform::IniProfile>(
        kov::platform::IniProfile::defaultFile(CULReg::GetCompanyKey()));
}

int CKoviraApp::InitInstance(const std::vector<std::string>& arguments, const AppShellHooks& hooks)
{
    // The settings store under the company key.
    if (!m_environment.profile) openProfile();

    // The user's writable folders, filled from the installed data on a first run.
    m_environment.folders.createWritableFolders();
    m_environment.folders.fillPartsLibrary();
    m_environment.folders.copyMissingLists();

    // The one document; the old packed form is read through the LHA reader.
    m_pDocument = std::make_unique<CKoviraDoc>(DocumentServices{*m_environment.profile, *m_environment.questions,
                                                                m_environment.folders, m_environment.programFolder});
    InstallOldDrawingReader(*m_pDocument);

    const std::optional<std::filesystem::path> file = ParseCommandLine(arguments);

    // The settings cache and the fill patterns before the first view exists: its first render
    // draws with them (read after it, that render would see every setting as 0).
    ReadSettingsCache();
    m_Bitmaps = LoadFillPatterns();

    // The shell command: the frame and view around the document, then a new drawing or the file.
    if (hooks.createFrame && !hooks.createFrame(*m_pDocument)) return 0;
    const bool opened = file ? m_pDocument->OpenDocumentFile(*file) : m_pDocument->FileNew();
    if (!opened) return 0;

    // The document type is registered by the installed desktop entry and MIME type, not at run time.

    if (hooks.showMainWindow)
        hooks.showMainWindow(m_environment.profile->GetProfileInt(kSectionLayoutSize, "maximize", 1) == 1);

    m_nVersion = kProgramVersion;
    return 1;
}

int CKoviraApp::ExitInstance()
{
    if (m_pDocument) {
        m_pDocument->DeleteContents();
        m_pDocument.reset();
    }
    for (QImage& bitmap : m_Bitmaps) bitmap = QImage();
    if (auto* ini = dynamic_cast<kov::platform::IniProfile*>(m_environment.profile.get())) ini->sync();
    return 0;
}

std::optional<std::filesystem::path> CKoviraApp::ParseCommandLine(const std::vector<std::string>& arguments)
{
    bool options = true;
    // The first entry is the program itself.
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (options && a == "--") {
            options = false;
            continue;
        }
        if (a.empty() || (options && a[0] == '-')) continue;
        return std::filesystem::path(a);
    }
    return std::nullopt;
}

std::vector<std::string> CKoviraApp::CommandLineArguments()
{
    std::vector<std::string> out;
    if (!QCoreApplication::instance()) return out;
    for (const QString& a : QCoreApplication::arguments()) out.push_back(QFile::encodeName(a).toStdString());
    return out;
}

void CKoviraApp::ReadSettingsCache()
{
    kov::platform::Profile& p = profile();
    for (const CachedSetting& s : CachedSettings()) {
        const int value = p.GetProfileInt(s.section, s.key, s.defaultValue);
        this->*s.member = value < s.minValue || value > s.maxValue ? s.defaultValue : value;
    }
    m_bTraceMode = 0;
    if (m_pDocument) m_pDocument->m_nUndoDepth = app_undonum;
}

void CKoviraApp::ReadBackgroundSettings()
{
    kov::platform::Profile& p = profile();
    app_haikei = p.GetProfileInt(kSectionUtility, "app_haikei", 0);
    // A colour is stored as text; text that is no number reads as 0.
    app_haikei_color = kov::platform::parseInt(
        p.GetProfileString(kSectionUtility, "app_haikei_color", kov::model::colourText(kBackgroundColourDefault)));
}

bool CKoviraApp::WriteCachedSetting(std::string_view key, int value)
{
    for (const CachedSetting& s : CachedSettings()) {
        if (!kov::model::equalsNoCase(s.key, key)) continue;
        profile().WriteProfileInt(s.section, s.key, value);
        this->*s.member = value;
        return true;
    }
    return false;
}

void CKoviraApp::ResetAllSettings()
{
    kov::platform::Profile& p = profile();
    for (const CachedSetting& s : CachedSettings()) {
        this->*s.member = s.defaultValue;
        p.WriteProfileInt(s.section, s.key, s.defaultValue);
    }
    app_haikei = 0;
    p.WriteProfileInt(kSectionUtility, "app_haikei", 0);
    app_haikei_color = kBackgroundColourDefault;
    p.WriteProfileString(kSectionUtility, "app_haikei_color", kov::model::colourText(kBackgroundColourDefault));
    for (const ResetSetting& s : FurtherResetSettings()) {
        if (s.isText)
            p.WriteProfileString(s.section, s.key, s.text);
        else
            p.WriteProfileInt(s.section, s.key, s.value);
    }
}

void CKoviraApp::ResetEverySetting()
{
    if (m_pDocument) {
        kov::model::resetSettingsToBuiltIn(profile(), m_pDocument->m_PlotInfo, m_pDocument->m_Grid,
                                           m_environment.programFolder);
    } else {
        CPlotInfo plot;
        CGrid grid;
        kov::model::resetSettingsToBuiltIn(profile(), plot, grid, m_environment.programFolder);
    }
    ResetAllSettings();
}

bool CKoviraApp::DoFileNew() { return m_pDocument && m_pDocument->FileNew(); }

bool CKoviraApp::OnFileOpen()
{
    if (!m_pDocument) return false;
    const auto chosen = questions().chooseOpenFile(kOpenTitle, kOpenFilter, m_pDocument->GetPathName().parent_path());
    if (!chosen) return false;
    return m_pDocument->OpenDocumentFile(*chosen);
}

std::vector<std::string> CKoviraApp::AboutLines()
{
    return {std::string(kAppWindowTitle), std::string(kAboutVersionLine)};
}

const QImage& CKoviraApp::PatternBitmap(int code) const
{
    static const QImage none;
    if (code < 1 || code > kFillPatternCount) return none;
    return m_Bitmaps[static_cast<std::size_t>(code - 1)];
}

} // namespace kov::app
