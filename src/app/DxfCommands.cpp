#include "app/DxfCommands.h"

#include "app/KoviraDoc.h"
#include "io/DxfTexts.h"
#include "platform/Questions.h"

namespace kov::app {

namespace t = kov::io::dxftext;

bool CanExportDxf(const CKoviraDoc& doc)
{
    const CKovUnit& unit = doc.m_Unit;
    return !unit.m_Lines.empty() || !unit.m_Texts.empty() || !unit.m_Walls.empty();
}

bool ExportDxf(CKoviraDoc& doc)
{
    auto& questions = doc.services().questions;
    auto path = questions.chooseSaveFile(t::kExportTitle, t::kFileFilter, doc.ExportName(t::kDefaultExtension));
    if (!path) return false;
    if (!path->has_extension()) *path += std::string(t::kDefaultExtension);
    const std::string failure = doc.m_Unit.WriteDxfFile(*path, doc.m_PlotInfo);
    if (!failure.empty()) {
        questions.message(failure, {}, kov::platform::MessageIcon::Error);
        return false;
    }
    return true;
}

bool ImportDxf(CKoviraDoc& doc, const DxfOptionsAsker& askOptions)
{
    auto& questions = doc.services().questions;
    const auto path = questions.chooseOpenFile(t::kImportTitle, t::kFileFilter, {});
    if (!path) return false;
    kov::io::DxfReadOptions options;
    if (askOptions && !askOptions(options)) return false;
    // The file is read first: one that cannot be read leaves the drawing as it was.
    return doc.ImportDxf(*path, options);
}

} // namespace kov::app
