#pragma once

// Writing a whole file that is not one of our archives (exports) the way documents are saved: a
// temporary file beside the target (through symbolic links), renamed over it once every byte is on
// disk, so a failed write never harms the old file; a read-only target is refused.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// True when written; false with `error` (the program's message) set otherwise.
bool CommitBytesToFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes,
                       std::string* error = nullptr);
