#pragma once

// Copies of picture objects: each copy takes a number of its own and a copy of the source's
// temporary file under that number, so that deleting one never takes the other's picture away.

#include <filesystem>
#include <memory>

class CKovUnit;
class CKovImage;

namespace kov::edit {

// A fresh picture identifier for which no temporary file of any picture type exists in the folder
// (a file left by an earlier picture must not be overwritten nor adopted). 0 when none is free.
int FreePictureId(CKovUnit& unit, const std::filesystem::path& folder);

// A copy of the picture (every stored field) under a fresh identifier, named in the folder, with the
// source's file copied to it; a file that cannot be copied leaves the copy without one, as a missing
// file would. Null when no identifier is free. The copy is not added to the container.
std::unique_ptr<CKovImage> CopyPicture(CKovUnit& unit, const CKovImage& source, const std::filesystem::path& folder);

} // namespace kov::edit
