#pragma once

// Merging another document into the drawing: reading only its objects (the "KovUnit" block of its
// "KOVDATA") into a scratch container, then moving them into the drawing under fresh identifiers
// with every group's member lists rewritten to the new numbers.

#include "app/AppTexts.h"

#include "model/DefFile.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

class CKovUnit;
class SelectionRecord;
struct UnitFileContext;

namespace kov::app {

class CKoviraDoc;

// Reads the objects of one "KOVDATA" block into a container; plot settings and grid are skipped.
class CKoviraDocGouseiLoad : public CDefFile {
public:
    CKoviraDocGouseiLoad(CKovUnit& target, UnitFileContext& context) : m_target(target), m_context(context) {}

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;

private:
    CKovUnit& m_target;
    UnitFileContext& m_context;
};

// Unpacks an old packed document (see UnpackOldDrawing).
using MergeUnpacker =
    std::function<std::optional<std::vector<std::uint8_t>>(const std::vector<std::uint8_t>&, std::string_view)>;

// Runs the loader on the block whose start has been read. 1 when read whole, 0 when it stopped
// early (what was read stays in the target).
int ReadMergeBlock(CArchive& ar, std::string_view block, CKovUnit& target, UnitFileContext& context);
// Finds "KOVDATA" and reads its objects into the target (1). An archive without it is taken for the
// old packed form and unpacked (1 when read, 0 when not unpacked: the target stays empty). Where
// reading stopped early is added to the context's warnings.
int LoadMergeBlock(CArchive& ar, CKovUnit& target, UnitFileContext& context, const MergeUnpacker& unpacker);

// Moves every object of `source` into `target`. Groups, figures, walls and texts get fresh
// identifiers of the target, and members follow their group; pictures keep theirs unless the target
// already uses it, in which case the picture and its temporary files in `pictureFolder` take a free
// number. With `toLayer` set every merged object goes to (layerGroup, layer). Figures that claim a
// group no source group lists are dropped first; other members of a missing group arrive ungrouped.
// Each merged group and ungrouped object is added to `selection`. The source is left empty.
// Returns how many objects found no free identifier and were left out.
int MergeUnit(CKovUnit& target, CKovUnit& source, SelectionRecord& selection, int toLayer = 0, int layerGroup = 0,
              int layer = 0, const std::filesystem::path& pictureFolder = {});

// The merge command after the user chose the file and the view took its undo snapshot: clears the
// selection, reads the file's objects and merges them into the document's drawing (not selected),
// which is then marked changed.
// 1 when the file was read, perhaps only in part (the user is told what was lost); 0 with a message
// when it could not be read.
int MergeDocumentFile(CKoviraDoc& doc, const std::filesystem::path& path);

} // namespace kov::app
