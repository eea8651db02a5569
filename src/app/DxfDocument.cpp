// The document's DXF import: read and convert first, then change the document.

#include "app/KoviraDoc.h"

#include "io/DxfTexts.h"
#include "model/PictureFiles.h"
#include "platform/Questions.h"

namespace kov::app {

namespace t = kov::io::dxftext;
using kov::platform::MessageIcon;

bool CKoviraDoc::ImportDxf(const std::filesystem::path& path, const kov::io::DxfReadOptions& options)
{
    auto& questions = m_services.questions;
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        questions.message(t::withArgument(t::kOpenFailed, path.string()), {}, MessageIcon::Error);
        return false;
    }
    // Into a drawing of its own with a new document's settings: the open one is not touched yet.
    CPlotInfo plot;
    plot.InitFromProfile(m_services.profile, m_services.programFolder);
    CKovUnit unit;
    SelectionRecord selection;
    const kov::io::DxfReadResult result =
        unit.ReadDxf(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), selection, plot,
                     m_FontMenu, options);
    if (!result.read) {
        const std::string why = result.messages.empty() ? std::string() : result.messages.front();
        questions.message(t::withArgument(t::kReadFailed, path.string(), why), {}, MessageIcon::Error);
        return false;
    }
    // An empty drawing in place of the open one would lose it for nothing: say what came of the file.
    if (unit.m_Lines.empty() && unit.m_Texts.empty()) {
        std::string text = t::withArgument(t::kNothingRead, path.string());
        for (const std::string& m : result.messages) text += "\n" + m;
        questions.message(text, {}, MessageIcon::Warning);
        return false;
    }
    if (!replaceWithImported(plot, unit))
        return false;
    for (const std::string& m : result.messages)
        questions.message(m, {}, MessageIcon::Warning);
    return true;
}

} // namespace kov::app
