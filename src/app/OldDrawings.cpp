#include "app/OldDrawings.h"

#include "app/KoviraDoc.h"

#include "model/DefFile.h"
#include "model/SettingsValues.h"

#include <string>

namespace kov::app {

namespace {

std::string_view baseName(std::string_view path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

bool HoldsDocumentBlock(const std::vector<std::uint8_t>& bytes)
{
    auto archive = CArchive::forReading(bytes);
    CDefFile finder;
    return finder.FindStart(*archive, kDocumentBlock) != 0;
}

std::optional<std::vector<std::uint8_t>> UnpackOldDrawing(const std::vector<std::uint8_t>& packed,
                                                          std::string_view preferredMember,
                                                          const kov::platform::LhaLimits& limits)
{
    // Members read whole before a damaged one are still good: a document among them is taken.
    kov::platform::LhaReadResult unpacked = kov::platform::readLhaArchive(packed, limits);

    // The old program unpacked to a fixed name, so an archive packed under the other name (a document
    // given to the merge) failed; any member holding a document is taken, the expected name first.
    std::vector<kov::platform::LhaMember*> order;
    for (auto& m : unpacked.members)
        if (!m.directory && !m.symlink && kov::model::equalsNoCase(baseName(m.path), preferredMember))
            order.push_back(&m);
    for (auto& m : unpacked.members)
        if (!m.directory && !m.symlink && !kov::model::equalsNoCase(baseName(m.path), preferredMember))
            order.push_back(&m);
    for (kov::platform::LhaMember* m : order)
        if (HoldsDocumentBlock(m->bytes)) return std::move(m->bytes);
    return std::nullopt;
}

void InstallOldDrawingReader(CKoviraDoc& doc)
{
    doc.SetOldPackedUnpacker([](const std::vector<std::uint8_t>& packed, std::string_view member) {
        return UnpackOldDrawing(packed, member);
    });
}

} // namespace kov::app
