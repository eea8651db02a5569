#include "model/RoomList.h"

#include "model/FileCommit.h"
#include "model/PictureFiles.h"
#include "model/SettingsValues.h"
#include "model/TextLines.h"
#include "platform/Cp932.h"
#include "platform/NumberText.h"

namespace kov::model {

std::vector<RoomListEntry> ParseRoomList(std::string_view cp932, double spacing)
{
    const std::string defaultSpacing = kov::platform::formatFixed(spacing);
    std::vector<RoomListEntry> rooms;
    for (std::string_view line : SplitTextLines(cp932)) {
        std::vector<std::string_view> fields;
        std::size_t start = 0;
        // A comma is never the second byte of a CP932 character, so the bytes split safely.
        for (std::size_t i = 0; i < line.size() && fields.size() < 7; ++i) {
            if (line[i] != ',') continue;
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        }
        if (fields.empty()) continue;
        RoomListEntry r;
        r.spacing = defaultSpacing;
        const auto n = fields.size();
        r.name = kov::platform::fromCp932(fields[0]);
        if (n > 1) r.fill = kov::platform::parseInt(fields[1]);
        if (n > 2) r.fillColour = parseColour(fields[2]);
        if (n > 3) r.hatch = kov::platform::parseInt(fields[3]);
        if (n > 4) r.hatchColour = parseColour(fields[4]);
        if (n > 5) r.hatchType = kov::platform::parseInt(fields[5]);
        if (n > 6) r.spacing = std::string(fields[6]);
        rooms.push_back(std::move(r));
    }
    return rooms;
}

std::string FormatRoomLine(const RoomListEntry& room, int* replaced)
{
    const kov::platform::Cp932Text name = kov::platform::toCp932(room.name);
    const kov::platform::Cp932Text spacing = kov::platform::toCp932(room.spacing);
    if (replaced) *replaced = name.replaced + spacing.replaced;
    std::string line = name.bytes;
    for (const std::string& f : {kov::platform::formatInt(room.fill), colourText(room.fillColour),
                                 kov::platform::formatInt(room.hatch), colourText(room.hatchColour),
                                 kov::platform::formatInt(room.hatchType), spacing.bytes}) {
        line += ',';
        line += f;
    }
    line += ',';
    return line;
}

std::string FormatRoomList(const std::vector<RoomListEntry>& rooms, int* replaced)
{
    std::string out;
    int lost = 0;
    for (const RoomListEntry& r : rooms) {
        int n = 0;
        out += FormatRoomLine(r, &n);
        out += "\r\n";
        lost += n;
    }
    if (replaced) *replaced = lost;
    return out;
}

RoomNameProblem CheckRoomName(const RoomListEntry& room)
{
    if (room.name.empty()) return RoomNameProblem::Empty;
    if (room.name.find(',') != std::string::npos) return RoomNameProblem::Comma;
    if (room.name.find_first_of("\r\n") != std::string::npos) return RoomNameProblem::LineBreak;
    int replaced = 0;
    const std::string line = FormatRoomLine(room, &replaced);
    if (replaced > 0) return RoomNameProblem::NotCp932;
    if (line.size() + 1 > kRoomLineBytes) return RoomNameProblem::TooLong;
    return RoomNameProblem::None;
}

std::vector<RoomListEntry> ReadRoomListFile(const std::filesystem::path& file, double spacing)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(file, bytes)) return {};
    return ParseRoomList(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), spacing);
}

bool WriteRoomListFile(const std::filesystem::path& file, const std::vector<RoomListEntry>& rooms, std::string* error)
{
    const std::string text = FormatRoomList(rooms);
    return CommitBytesToFile(file, std::vector<std::uint8_t>(text.begin(), text.end()), error);
}

} // namespace kov::model
