#pragma once

// The byte layout of the keyed-block archive, shared by its writer and reader.
//
//   KOVIRA-ARCHIVE 1\n          magic line with the format version
//   {Name\n                     block start
//   key=value\n                 keyed value (value escaped: \\ \n \r \xHH)
//   #12\n<12 bytes>\n           raw byte run with its length
//   }Name\n                     block end
//   !crc32 1a2b3c4d\n           trailer: CRC-32 of every byte before it
//
// Text records are one per line so that two archives diff line by line; raw runs are framed by their
// length so their bytes are never taken for records.

#include "model/DefFile.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kov::archive {

// The record reader below reads bytes eight at a time in little-endian order.
static_assert(std::endian::native == std::endian::little);

inline constexpr std::string_view kMagic = "KOVIRA-ARCHIVE ";
inline constexpr int kFormatVersion = 1;
inline constexpr std::size_t kMaxDepth = 64;
inline constexpr std::size_t kMaxNameSize = 255;
inline constexpr std::size_t kMaxValueSize = std::size_t(1) << 20;
// An escaped value may take up to four bytes per byte (\xHH).
inline constexpr std::size_t kMaxLineSize = kMaxNameSize + 1 + 4 * kMaxValueSize;
inline constexpr std::string_view kTrailerTag = "!crc32 ";
inline constexpr std::size_t kTrailerSize = 16; // tag, 8 hex digits, LF

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::string trailerFor(std::uint32_t crc);

// Block names and keys: 1..255 bytes of printable ASCII; a key has no '=' and does not begin with a
// record mark, so a key line cannot be mistaken for another record.
bool validBlockName(std::string_view name);
bool validKey(std::string_view key);

void appendEscaped(std::vector<std::uint8_t>& out, std::string_view value);
// False on a malformed escape; `out` is overwritten.
bool unescape(std::string_view in, std::string& out);

// namesEqual: DefFile.h.

enum class RecordKind { Start, End, Value, Raw, EndOfData, Bad };

struct Record {
    RecordKind kind = RecordKind::EndOfData;
    std::size_t offset = 0; // where the record begins
    std::size_t next = 0;   // where the following record begins
    std::string_view name;  // block name or key
    std::string_view value; // escaped value text
    bool escaped = false;   // value holds a backslash
    std::size_t rawBegin = 0;
    std::size_t rawSize = 0;
    ArchiveErrc error = ArchiveErrc::None; // for Bad
};

// Parses the record at `pos`; never reads at or past `end`.
Record parseRecord(const std::uint8_t* data, std::size_t pos, std::size_t end);

// The common record, a plain key=value line, in one pass: a printable key up to '=', then the value
// up to LF, noting a backslash on the way. False for anything unusual, which parseRecord then reads
// the long way and says what is wrong. Inline, as the reader's loop takes it for nearly every line.
inline bool parsePlainValue(const std::uint8_t* data, std::size_t pos, std::size_t end, Record& r)
{
    const char* const base = reinterpret_cast<const char*>(data);
    std::size_t i = pos;
    const std::size_t keyEnd = std::min(end, pos + kMaxNameSize + 1);
    while (i < keyEnd && base[i] > 0x20 && base[i] < 0x7F && base[i] != '=') ++i;
    if (i == pos || i >= keyEnd || base[i] != '=') return false;
    const char first = base[pos];
    if (first == '{' || first == '}' || first == '#' || first == '!') return false;
    const std::size_t eq = i++;
    const std::size_t valueEnd = std::min(end, i + kMaxValueSize + 1);
    bool escaped = false;
    // Eight bytes at a time while they lie inside: values are most of an archive's bytes, and most
    // are shorter than a call to memchr is worth.
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    auto bytesEqual = [](std::uint64_t w, std::uint64_t pattern) {
        const std::uint64_t x = w ^ pattern; // a zero byte where w holds the byte looked for
        return ~(((x & kLow7) + kLow7) | x | kLow7);
    };
    while (i + 8 <= valueEnd) {
        std::uint64_t w;
        std::memcpy(&w, base + i, 8);
        const std::uint64_t newline = bytesEqual(w, 0x0A0A0A0A0A0A0A0AULL);
        const std::uint64_t backslash = bytesEqual(w, 0x5C5C5C5C5C5C5C5CULL);
        if (newline) {
            // Little-endian: the lowest marked byte comes first; only backslashes before it count.
            const int at = std::countr_zero(newline);
            escaped |= (backslash & ((std::uint64_t(1) << at) - 1)) != 0;
            i += std::size_t(at / 8);
            break;
        }
        escaped |= backslash != 0;
        i += 8;
    }
    while (i < valueEnd && base[i] != '\n') {
        escaped |= base[i] == '\\';
        ++i;
    }
    if (i >= valueEnd) return false;
    r.kind = RecordKind::Value;
    r.offset = pos;
    r.next = i + 1;
    r.name = std::string_view(base + pos, eq - pos);
    r.value = std::string_view(base + eq + 1, i - eq - 1);
    r.escaped = escaped;
    return true;
}

// The layout of a whole archive held in memory: where its records lie and whether its trailer holds.
struct Layout {
    ArchiveErrc error = ArchiveErrc::None;     // magic line or version
    ArchiveErrc integrity = ArchiveErrc::None; // trailer
    std::size_t recordsBegin = 0;
    std::size_t recordsEnd = 0;
    int version = 0;
    bool trailer = false;        // a trailer is there: its CRC is of the bytes before recordsEnd
    std::uint32_t storedCrc = 0; // the CRC the trailer holds
};
// With checkCrc false the CRC is not computed: integrity stays None for an archive with a trailer,
// and the caller compares the CRC of the bytes before recordsEnd with storedCrc itself.
Layout examine(const std::uint8_t* data, std::size_t size, bool checkCrc = true);

std::string_view messageFor(ArchiveErrc code);

} // namespace kov::archive
