#pragma once

// The room list "kovroom.txt": the named room styles the room tools offer. One room a line in code
// page 932 with CR LF line ends, seven fields each followed by a comma:
//   name,fill flag,fill colour,hatch flag,hatch colour,hatch type,hatch spacing,
// The settings page edits it; the room choice panel reads it with the same reader.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kov::model {

struct RoomListEntry {
    std::string name;                   // UTF-8; no comma, no line break
    int fill = 0;                       // 1 filled with the fill colour
    std::uint32_t fillColour = 0xFFFFFF;
    int hatch = 0;                      // 1 hatched
    std::uint32_t hatchColour = 0;      // for tatami rooms the colour of the mat borders
    int hatchType = 0;                  // 0-5 hatch styles, 100/101 floor joints, 300 tatami
    std::string spacing = "4.550000";   // paper mm, the text as the file holds it

    bool operator==(const RoomListEntry&) const = default;
};

// A line, its break counted as one byte, holds at most this many bytes.
inline constexpr std::size_t kRoomLineBytes = 255;
// The spacing a line without the spacing field takes.
inline constexpr double kRoomDefaultSpacing = 4.55;

// The rooms of the file's bytes. Each line (LF, CR LF or a lone CR; the last needs no break) with at
// least one comma is one room: a field is the text before its comma, text after the last comma is
// no field, fields after the seventh are ignored. Fields the line leaves out take the values of a
// new RoomListEntry (the spacing written from `spacing` with six decimals); a field that is no
// number reads 0.
std::vector<RoomListEntry> ParseRoomList(std::string_view cp932, double spacing = kRoomDefaultSpacing);

// One room's line without its break, in CP932.
std::string FormatRoomLine(const RoomListEntry& room, int* replaced = nullptr);
// The file's bytes: every room's line followed by CR LF.
std::string FormatRoomList(const std::vector<RoomListEntry>& rooms, int* replaced = nullptr);

enum class RoomNameProblem { None, Empty, Comma, LineBreak, NotCp932, TooLong };
// Why the room cannot be stored as one line of the file: an empty name, a comma or line break in
// it, a character CP932 lacks, or a line over kRoomLineBytes.
RoomNameProblem CheckRoomName(const RoomListEntry& room);

// A missing or unreadable file reads as an empty list.
std::vector<RoomListEntry> ReadRoomListFile(const std::filesystem::path& file, double spacing = kRoomDefaultSpacing);
// Replaces the file only when every byte was written; false with `error` set otherwise.
bool WriteRoomListFile(const std::filesystem::path& file, const std::vector<RoomListEntry>& rooms,
                       std::string* error = nullptr);

} // namespace kov::model
