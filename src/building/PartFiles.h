#pragma once

// Part files: small drawings kept in our archive (a "KOVDATA" block holding one "KovUnit" block)
// that the parts library, the fittings library, the notation symbols and the elevation fittings
// are made of. A part is the first group of the file's container with its member figures, walls
// and texts; further groups, loose objects and pictures are not part of it.

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <cstdint>

class CKovUnit;
class CPlotInfo;

namespace kov::building {

inline constexpr std::string_view kPartBlock = "KOVDATA";
inline constexpr std::string_view kPartUnitBlock = "KovUnit";
inline constexpr std::string_view kPartExtension = ".mgp";

enum class PartRead {
    Read,        // the whole container was read
    NotPartFile, // no "KOVDATA" block: not a part file
    Failed,      // the file could not be read, or its archive broke part way (nothing is kept)
};

// Reads a part file into `part`, which is emptied first. Pictures are passed over (parts hold
// none), so reading never writes a file. A file that breaks part way, or whose checksum does not
// match, leaves `part` empty: a partly read part is never inserted. `error` gets what went wrong,
// naming the file.
PartRead ReadPartFile(const std::filesystem::path& file, CKovUnit& part, std::string* error = nullptr);
// The same from the file's bytes (`name` only says which file in the message).
PartRead ReadPartBytes(std::vector<std::uint8_t> bytes, CKovUnit& part, const std::filesystem::path& name = {},
                       std::string* error = nullptr);

// Writes the container as a part file: written whole beside the target and renamed over it, so a
// failed save leaves the old file as it was. False with `error` set (the program's message) when
// the file could not be written.
bool WritePartFile(const std::filesystem::path& file, const CKovUnit& unit, std::string* error = nullptr);

// The parsed part files one command reads, so that a row of notation symbols or a rebuild of many
// fittings reads each file once. A file changed on disk since it was read is read again.
class PartFileCache {
public:
    PartFileCache();
    ~PartFileCache();
    PartFileCache(const PartFileCache&) = delete;
    PartFileCache& operator=(const PartFileCache&) = delete;

    // The file's container, or null when the file is no part file or could not be read whole
    // (`error` then says why; a file without "KOVDATA" leaves it empty).
    const CKovUnit* Get(const std::filesystem::path& file, std::string* error = nullptr);

private:
    struct Entry;
    std::map<std::filesystem::path, std::unique_ptr<Entry>> m_entries;
};

// Reads the part file and inserts its group into the target (CKovUnit::InsertPartGroup). The new
// group's identifier; 0 when the file is no part file, holds no group or could not be read whole
// (the target is then unchanged). With a cache the file is read at most once per command.
int InsertPartFile(const std::filesystem::path& file, CKovUnit& target, const CPlotInfo& plot,
                   PartFileCache* cache = nullptr, std::string* error = nullptr);

} // namespace kov::building
