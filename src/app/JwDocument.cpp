// The document's Jw_cad imports and exports: read and convert first, then change the document; write
// whole or not at all.

#include "app/KoviraDoc.h"

#include "jwcad/JwExport.h"
#include "model/FileCommit.h"
#include "model/PictureFiles.h"
#include "model/SettingsValues.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

namespace fs = std::filesystem;

namespace kov::app {

namespace {

constexpr std::string_view kJwwTemplateName = "jwdef.jww";

} // namespace

void CKoviraDoc::showJwMessages(const std::vector<std::string>& messages)
{
    for (const std::string& m : messages)
        m_services.questions.message(m, kov::app::kAppWindowTitle, kov::platform::MessageIcon::Warning);
}

bool CKoviraDoc::replaceWithImported(CPlotInfo& plot, CKovUnit& unit)
{
    if (!FileNew())
        return false;
    OnNewDocument();
    m_PlotInfo = plot;
    m_Unit = std::move(unit);
    m_Selection.Clear();
    // The drawing lives in no document file of its own: leaving it must ask.
    SetModifiedFlag(true);
    m_bRedraw = 1;
    return true;
}

bool CKoviraDoc::ImportJww(const fs::path& path)
{
    const std::optional<JwwImportOptions> options =
        m_jwwOptionsChooser ? m_jwwOptionsChooser() : std::optional<JwwImportOptions>(JwwImportOptions{});
    if (!options)
        return false;
    return importDrawing(path, jwtexts::kNotJww, [&](const std::vector<std::uint8_t>& bytes, CPlotInfo& plot, CKovUnit& unit) {
        return ImportJwwDrawing(bytes.data(), bytes.size(), *options, plot, unit);
    });
}

bool CKoviraDoc::ImportJwc(const fs::path& path)
{
    return importDrawing(path, jwtexts::kNotJwc, [&](const std::vector<std::uint8_t>& bytes, CPlotInfo& plot, CKovUnit& unit) {
        return ImportJwcDrawing(bytes.data(), bytes.size(), m_FontMenu, plot, unit);
    });
}

bool CKoviraDoc::importDrawing(const fs::path& path, const char* unreadable,
                               const std::function<JwImportOutcome(const std::vector<std::uint8_t>&, CPlotInfo&, CKovUnit&)>& convert)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        showJwMessages({unreadable});
        return false;
    }
    CPlotInfo plot;
    plot.InitFromProfile(m_services.profile, m_services.programFolder);
    CKovUnit unit;
    const JwImportOutcome out = convert(bytes, plot, unit);
    if (!out.ok) {
        showJwMessages(out.messages);
        return false;
    }
    if (!replaceWithImported(plot, unit))
        return false;
    showJwMessages(out.messages);
    return true;
}

void CKoviraDoc::ImportJws(const fs::path& path)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        bytes.clear();
    int group = 0;
    const JwImportOutcome out = ImportJwsFigures(bytes.data(), bytes.size(), m_PlotInfo, m_Unit, m_Selection, group);
    showJwMessages(out.messages);
    SetModifiedFlag(true);
    m_bRedraw = 1;
}

void CKoviraDoc::ImportJwk(const fs::path& path)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        showJwMessages({jwtexts::kNotJwc});
        return;
    }
    int group = 0;
    const JwImportOutcome out =
        ImportJwkFigures(bytes.data(), bytes.size(), m_FontMenu, m_PlotInfo, m_Unit, m_Selection, group);
    showJwMessages(out.messages);
    if (out.ok) {
        SetModifiedFlag(true);
        m_bRedraw = 1;
    }
}

fs::path CKoviraDoc::JwwTemplatePath() const
{
    const fs::path user = m_services.folders.userData / kJwwTemplateName;
    std::error_code ec;
    return fs::is_regular_file(user, ec) ? user : fs::path();
}

bool CKoviraDoc::ExportJww(const fs::path& path)
{
    const bool autoColumns =
        m_services.profile.GetProfileInt(kov::model::kSectionUtility, "app_hasiraauto", 1) != 0;
    const JwExportOutcome out = ExportJwwBytes(m_PlotInfo, m_Unit, JwwTemplatePath(), autoColumns);
    if (!out.ok) {
        showJwMessages({out.message});
        return false;
    }
    std::string error;
    if (!CommitBytesToFile(path, out.bytes, &error)) {
        showJwMessages({jwtexts::kJwwSaveFailed, error});
        return false;
    }
    return true;
}

bool CKoviraDoc::ExportJwc(const fs::path& path)
{
    const bool autoColumns =
        m_services.profile.GetProfileInt(kov::model::kSectionUtility, "app_hasiraauto", 1) != 0;
    const JwExportOutcome out = ExportJwcBytes(m_PlotInfo, m_Unit, autoColumns);
    std::string error;
    if (!out.ok || !CommitBytesToFile(path, out.bytes, &error)) {
        showJwMessages({jwtexts::kJwcSaveFailed, error});
        return false;
    }
    return true;
}

} // namespace kov::app
