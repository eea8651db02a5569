#include "platform/LhaArchive.h"

#include <lhasa.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>

namespace kov::platform {

namespace {

struct MemoryStream {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
};

int streamRead(void* handle, void* buf, size_t len)
{
    auto& s = *static_cast<MemoryStream*>(handle);
    const std::size_t n = std::min(len, s.size - s.pos);
    if (n) std::memcpy(buf, s.data + s.pos, n);
    s.pos += n;
    return static_cast<int>(n);
}

int streamSkip(void* handle, size_t bytes)
{
    auto& s = *static_cast<MemoryStream*>(handle);
    if (bytes > s.size - s.pos) {
        s.pos = s.size;
        return 0;
    }
    s.pos += bytes;
    return 1;
}

void streamClose(void*) {}

const LHAInputStreamType kMemoryStreamType = {streamRead, streamSkip, streamClose};

struct StreamDeleter {
    void operator()(LHAInputStream* s) const { lha_input_stream_free(s); }
};
struct ReaderDeleter {
    void operator()(LHAReader* r) const { lha_reader_free(r); }
};

LhaReadResult fail(LhaReadResult r, LhaErrc code, std::string message)
{
    r.error = code;
    r.message = std::move(message);
    return r;
}

} // namespace

std::uint16_t lhaCrc16(const std::uint8_t* data, std::size_t size, std::uint16_t crc)
{
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

bool looksLikeLha(const std::uint8_t* data, std::size_t size)
{
    // Levels 0 to 2 all put the five-character method ("-lh5-", "-lzs-") at offset 2.
    if (size < 7) return false;
    return data[2] == '-' && data[3] == 'l' && data[6] == '-';
}

LhaReadResult readLhaArchive(const std::uint8_t* data, std::size_t size, const LhaLimits& limits)
{
    LhaReadResult result;
    if (size > limits.maxArchiveSize)
        return fail(std::move(result), LhaErrc::TooLarge, "LHA archive larger than the limit");
    if (!looksLikeLha(data, size))
        return fail(std::move(result), LhaErrc::NotArchive, "not an LHA archive");

    MemoryStream memory{data, size};
    std::unique_ptr<LHAInputStream, StreamDeleter> stream(
        lha_input_stream_new(&kMemoryStreamType, &memory));
    if (!stream) return fail(std::move(result), LhaErrc::Damaged, "cannot open the LHA stream");
    std::unique_ptr<LHAReader, ReaderDeleter> reader(lha_reader_new(stream.get()));
    if (!reader) return fail(std::move(result), LhaErrc::Damaged, "cannot open the LHA reader");
    // Directories come back once, in archive order.
    lha_reader_set_dir_policy(reader.get(), LHA_READER_DIR_PLAIN);

    std::size_t total = 0;
    for (;;) {
        LHAFileHeader* header = lha_reader_next_file(reader.get());
        if (!header) break; // end marker, end of data, or a header that does not parse
        if (result.members.size() >= limits.maxMembers)
            return fail(std::move(result), LhaErrc::TooManyMembers, "LHA archive holds too many members");

        LhaMember member;
        if (header->path) member.path = header->path;
        if (header->filename) member.path += header->filename;
        member.method.assign(header->compress_method, strnlen(header->compress_method, sizeof header->compress_method));
        member.length = header->length;
        member.symlink = header->symlink_target != nullptr;
        member.directory = !member.symlink && member.method == LHA_COMPRESS_TYPE_DIR;
        if (member.directory || member.symlink) {
            result.members.push_back(std::move(member));
            continue;
        }
        if (header->length > limits.maxMemberSize || header->length > limits.maxTotalSize - total)
            return fail(
                std::move(result), LhaErrc::TooLarge, "LHA member \"" + member.path + "\" larger than the limit");

        member.bytes.resize(header->length);
        std::size_t got = 0;
        while (got < member.bytes.size()) {
            const size_t n = lha_reader_read(reader.get(), member.bytes.data() + got, member.bytes.size() - got);
            if (n == 0) break;
            got += n;
        }
        if (got != header->length) {
            return fail(std::move(result), LhaErrc::Damaged,
                        "LHA member \"" + member.path + "\" (" + member.method + ") ends early or cannot be decoded");
        }
        if (lhaCrc16(member.bytes.data(), member.bytes.size()) != header->crc)
            return fail(std::move(result), LhaErrc::BadCrc, "LHA member \"" + member.path + "\" fails its CRC");
        total += got;
        result.members.push_back(std::move(member));
    }
    if (result.members.empty())
        return fail(std::move(result), LhaErrc::Damaged, "LHA archive without a readable member");
    return result;
}

LhaReadResult readLhaFile(const std::filesystem::path& file, const LhaLimits& limits)
{
    LhaReadResult result;
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec)
        return fail(std::move(result), LhaErrc::CannotRead, "cannot read \"" + file.string() + "\": " + ec.message());
    if (size > limits.maxArchiveSize)
        return fail(std::move(result), LhaErrc::TooLarge, "LHA archive larger than the limit");
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return fail(std::move(result), LhaErrc::CannotRead, "cannot read \"" + file.string() + "\"");
    return readLhaArchive(bytes, limits);
}

std::optional<std::filesystem::path> safeMemberPath(std::string_view memberPath)
{
    std::filesystem::path out;
    std::size_t start = 0;
    bool any = false;
    // Archives made on Windows may still separate with backslashes; both count as separators here.
    while (start <= memberPath.size()) {
        std::size_t end = memberPath.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = memberPath.size();
        const std::string_view part = memberPath.substr(start, end - start);
        if (start == 0 && end == 0 && !memberPath.empty()) return std::nullopt; // absolute
        if (part == "..") return std::nullopt;
        if (part.find(':') != std::string_view::npos) return std::nullopt;      // "C:" and streams
        if (part.find('\0') != std::string_view::npos) return std::nullopt;
        if (!part.empty() && part != ".") {
            out /= std::string(part);
            any = true;
        }
        start = end + 1;
    }
    if (!any) return std::nullopt;
    return out;
}

} // namespace kov::platform
