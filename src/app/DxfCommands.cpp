#include "app/DxfCommands.h"

#include "app/KoviraDoc.h"
#include "io/DxfTexts.h"
#include "platform/Questions.h"

#include <QFile>
#include <QString>

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
    // A file that cannot be read leaves the drawing as it was.
    QFile file(QString::fromStdString(path->string()));
    if (!file.open(QIODevice::ReadOnly)) {
        questions.message(t::withArgument(t::kOpenFailed, path->string()), {}, kov::platform::MessageIcon::Error);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (!doc.FileNew()) return false;
    const kov::io::DxfReadResult result =
        doc.m_Unit.ReadDxf(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                           doc.m_Selection, doc.m_PlotInfo, doc.m_FontMenu, options);
    for (const std::string& m : result.messages)
        questions.message(m, {}, result.read ? kov::platform::MessageIcon::Warning : kov::platform::MessageIcon::Error);
    if (!result.read) return false;
    // The drawing lives in no document file of its own: leaving it must ask.
    doc.SetModifiedFlag(true);
    return true;
}

} // namespace kov::app
