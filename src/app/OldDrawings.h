#pragma once

// Documents of the oldest format: an LHA archive around a document file. They are unpacked in
// memory; the document inside is taken by its content, not by the member's name, and nothing is
// written to the disk.

#include "platform/LhaArchive.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kov::app {

// Member names the old program packed: the document's and the merge's.
inline constexpr std::string_view kOldDocumentMember = "kovlsav.qvt";
inline constexpr std::string_view kOldMergeMember = "kovlsav.kvr";

// The bytes of the document packed in an old archive: the member named `preferredMember` (without
// regard to case or folder) when it holds a "KOVDATA" block, else the first member that does.
// Nothing when the bytes are no LHA archive, it cannot be unpacked, or no member holds a document.
// Fits CKoviraDoc::OldPackedUnpacker.
std::optional<std::vector<std::uint8_t>> UnpackOldDrawing(const std::vector<std::uint8_t>& packed,
                                                          std::string_view preferredMember,
                                                          const kov::platform::LhaLimits& limits = {});

class CKoviraDoc;
// Gives the document the reader of old packed documents (UnpackOldDrawing).
void InstallOldDrawingReader(CKoviraDoc& doc);

// True when the bytes are an archive of ours with a "KOVDATA" block.
bool HoldsDocumentBlock(const std::vector<std::uint8_t>& bytes);

} // namespace kov::app
