#pragma once

// Reading LHA (.lzh) archives in memory: the members with their decoded bytes, never a file written.
// Old packed documents are such archives; their members are read from bytes, so a member's stored
// name can never place anything on the disk.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kov::platform {

struct LhaMember {
    std::string path;            // stored path and name joined with '/', as the archive holds it
    std::string method;          // "-lh5-", "-lh0-", ...
    bool directory = false;      // directories and symbolic links carry no bytes
    bool symlink = false;
    std::size_t length = 0;      // decoded size the header announces
    std::vector<std::uint8_t> bytes; // decoded bytes (empty for directories and links)
};

// Hostile or damaged archives must not exhaust memory: a header may announce any size.
struct LhaLimits {
    std::size_t maxArchiveSize = std::size_t(256) << 20;
    std::size_t maxMemberSize = std::size_t(64) << 20;
    std::size_t maxTotalSize = std::size_t(256) << 20;
    std::size_t maxMembers = 4096;
};

enum class LhaErrc {
    None,
    CannotRead,   // the file could not be read
    NotArchive,   // no LHA member header at all
    Damaged,      // a header or the compressed data is broken, or the data ends early
    BadCrc,       // a member decoded to other bytes than were packed
    TooLarge,     // a member or the whole over the limits
    TooManyMembers,
};

struct LhaReadResult {
    LhaErrc error = LhaErrc::None;
    std::string message;              // empty when everything was read
    std::vector<LhaMember> members;   // what was read before any fault

    bool ok() const { return error == LhaErrc::None; }
};

// Every member in archive order, decoded and checked against its CRC.
LhaReadResult readLhaArchive(const std::uint8_t* data, std::size_t size, const LhaLimits& limits = {});
inline LhaReadResult readLhaArchive(const std::vector<std::uint8_t>& bytes, const LhaLimits& limits = {})
{
    return readLhaArchive(bytes.data(), bytes.size(), limits);
}
LhaReadResult readLhaFile(const std::filesystem::path& file, const LhaLimits& limits = {});

// True when the bytes begin like an LHA member header ("-lh?-" style method at offset 2).
bool looksLikeLha(const std::uint8_t* data, std::size_t size);

// The member's place below a folder, for callers that must put members on the disk: a relative path
// of plain names only. Nothing for absolute paths, drive letters, "..", empty names or backslashes
// used to climb ("..\\x"), so a member can never land outside the folder it is unpacked into.
std::optional<std::filesystem::path> safeMemberPath(std::string_view memberPath);

// The CRC-16 that LHA stores for each member (polynomial 0xA001, reflected, start 0).
std::uint16_t lhaCrc16(const std::uint8_t* data, std::size_t size, std::uint16_t crc = 0);

} // namespace kov::platform
