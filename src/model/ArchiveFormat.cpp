#include "model/ArchiveFormat.h"

#include "model/SettingsValues.h"

#include <zlib.h>
#include <cstring>

namespace kov::archive {

namespace {

bool printableAscii(unsigned char c) { return c > 0x20 && c < 0x7F; }

bool isRecordMark(char c) { return c == '{' || c == '}' || c == '#' || c == '!'; }

const char kHex[] = "0123456789abcdef";

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

Record bad(std::size_t offset, ArchiveErrc code)
{
    Record r;
    r.kind = RecordKind::Bad;
    r.offset = offset;
    r.next = offset;
    r.error = code;
    return r;
}

} // namespace

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc)
{
    // zlib's: the same polynomial, and faster than a table walk over a whole drawing. (Given no
    // bytes at all zlib answers its start value, not the running one.)
    if (size == 0) return crc;
    return std::uint32_t(::crc32_z(crc, data, size));
}

std::string trailerFor(std::uint32_t crc)
{
    std::string s(kTrailerTag);
    for (int shift = 28; shift >= 0; shift -= 4) s += kHex[(crc >> shift) & 0xF];
    s += '\n';
    return s;
}

bool validBlockName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxNameSize) return false;
    for (unsigned char c : name)
        if (!printableAscii(c)) return false;
    return true;
}

bool validKey(std::string_view key)
{
    // One pass: every key of every object is checked on each save.
    if (key.empty() || key.size() > kMaxNameSize || isRecordMark(key.front())) return false;
    for (unsigned char c : key)
        if (!printableAscii(c) || c == '=') return false;
    return true;
}

void appendEscaped(std::vector<std::uint8_t>& out, std::string_view value)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(value.data());
    const auto* e = p + value.size();
    while (p < e) {
        // Copy the plain stretch in one go; only backslashes and control bytes other than TAB escape.
        const auto* s = p;
        while (p < e && *p != '\\' && (*p >= 0x20 || *p == '\t')) ++p;
        out.insert(out.end(), s, p);
        if (p == e) break;
        const std::uint8_t c = *p++;
        out.push_back('\\');
        if (c == '\\') out.push_back('\\');
        else if (c == '\n') out.push_back('n');
        else if (c == '\r') out.push_back('r');
        else {
            out.push_back('x');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xF]);
        }
    }
}

bool unescape(std::string_view in, std::string& out)
{
    out.clear();
    std::size_t i = 0;
    while (i < in.size()) {
        const std::size_t b = in.find('\\', i);
        if (b == std::string_view::npos) {
            out.append(in.substr(i));
            break;
        }
        out.append(in.substr(i, b - i));
        if (b + 1 >= in.size()) return false;
        const char c = in[b + 1];
        if (c == '\\') out += '\\';
        else if (c == 'n') out += '\n';
        else if (c == 'r') out += '\r';
        else if (c == 'x') {
            if (b + 4 > in.size()) return false;
            const int hi = hexValue(in[b + 2]);
            const int lo = hexValue(in[b + 3]);
            if (hi < 0 || lo < 0) return false;
            out += char(hi << 4 | lo);
            i = b + 4;
            continue;
        } else
            return false;
        i = b + 2;
    }
    return true;
}

Record parseRecord(const std::uint8_t* data, std::size_t pos, std::size_t end)
{
    if (pos >= end) {
        Record r;
        r.offset = r.next = pos;
        return r;
    }
    const char* const base = reinterpret_cast<const char*>(data);
    const char mark = base[pos];

    if (mark == '#') {
        // Length line: at most 20 digits.
        std::size_t i = pos + 1;
        std::uint64_t len = 0;
        std::size_t digits = 0;
        while (i < end && base[i] >= '0' && base[i] <= '9') {
            if (digits == 20) return bad(pos, ArchiveErrc::BadRawLength);
            const std::uint64_t d = std::uint64_t(base[i] - '0');
            if (len > (UINT64_MAX - d) / 10) return bad(pos, ArchiveErrc::BadRawLength);
            len = len * 10 + d;
            ++digits;
            ++i;
        }
        if (i == end) return bad(pos, ArchiveErrc::CutRecord);
        if (base[i] != '\n' || digits == 0 || (digits > 1 && base[pos + 1] == '0'))
            return bad(pos, ArchiveErrc::BadRawLength);
        ++i;
        // The bytes and their closing LF must lie inside the archive.
        const std::size_t remaining = end - i;
        if (remaining == 0 || len > remaining - 1) return bad(pos, ArchiveErrc::RawPastEnd);
        if (base[i + len] != '\n') return bad(pos, ArchiveErrc::BadRawLength);
        Record r;
        r.kind = RecordKind::Raw;
        r.offset = pos;
        r.rawBegin = i;
        r.rawSize = std::size_t(len);
        r.next = i + std::size_t(len) + 1;
        return r;
    }

    if (mark != '{' && mark != '}' && mark != '!') {
        Record r;
        if (parsePlainValue(data, pos, end, r)) return r;
    }

    const std::size_t window = std::min(end - pos, kMaxLineSize + 1);
    const void* nl = std::memchr(base + pos, '\n', window);
    if (!nl) {
        if (end - pos > kMaxLineSize) return bad(pos, ArchiveErrc::ValueTooLong);
        return bad(pos, ArchiveErrc::CutRecord);
    }
    const std::size_t lineEnd = std::size_t(static_cast<const char*>(nl) - base);
    const std::string_view line(base + pos, lineEnd - pos);

    Record r;
    r.offset = pos;
    r.next = lineEnd + 1;
    if (mark == '{' || mark == '}') {
        r.kind = mark == '{' ? RecordKind::Start : RecordKind::End;
        r.name = line.substr(1);
        if (!validBlockName(r.name)) return bad(pos, ArchiveErrc::BadName);
        return r;
    }
    if (mark == '!') return bad(pos, ArchiveErrc::UnknownRecord);

    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return bad(pos, ArchiveErrc::UnknownRecord);
    r.kind = RecordKind::Value;
    r.name = line.substr(0, eq);
    r.value = line.substr(eq + 1);
    // The key ends at the first '=' and starts with no record mark (those were taken above), so
    // only its length and bytes are left to check.
    if (!validBlockName(r.name)) return bad(pos, ArchiveErrc::BadName);
    r.escaped = r.value.find('\\') != std::string_view::npos;
    if (!r.escaped && r.value.size() > kMaxValueSize) return bad(pos, ArchiveErrc::ValueTooLong);
    return r;
}

Layout examine(const std::uint8_t* data, std::size_t dataSize, bool checkCrc)
{
    Layout l;
    const char* base = reinterpret_cast<const char*>(data);
    const std::string_view all(base, dataSize);
    const std::size_t nl = all.substr(0, 64).find('\n');
    if (dataSize == 0 || !all.starts_with(kMagic) || nl == std::string_view::npos) {
        l.error = ArchiveErrc::NotArchive;
        return l;
    }
    const std::string_view ver = all.substr(kMagic.size(), nl - kMagic.size());
    int version = 0;
    for (char c : ver) {
        if (c < '0' || c > '9' || version > 100000) {
            l.error = ArchiveErrc::NotArchive;
            return l;
        }
        version = version * 10 + (c - '0');
    }
    if (ver.empty()) {
        l.error = ArchiveErrc::NotArchive;
        return l;
    }
    l.version = version;
    if (version != kFormatVersion) {
        l.error = ArchiveErrc::UnsupportedVersion;
        return l;
    }
    l.recordsBegin = nl + 1;
    l.recordsEnd = dataSize;

    // The trailer is the last line, itself starting a line.
    const std::size_t size = dataSize;
    if (size >= l.recordsBegin + kTrailerSize) {
        const std::size_t t = size - kTrailerSize;
        const std::string_view tail = all.substr(t);
        bool hex = true;
        std::uint32_t stored = 0;
        for (std::size_t i = kTrailerTag.size(); i < kTrailerSize - 1; ++i) {
            const int v = hexValue(tail[i]);
            if (v < 0 || (tail[i] >= 'A' && tail[i] <= 'F')) hex = false;
            stored = stored << 4 | std::uint32_t(v < 0 ? 0 : v);
        }
        if (tail.starts_with(kTrailerTag) && tail.back() == '\n' && hex && base[t - 1] == '\n') {
            l.recordsEnd = t;
            l.trailer = true;
            l.storedCrc = stored;
            if (checkCrc && crc32(data, t) != stored) l.integrity = ArchiveErrc::ChecksumMismatch;
            return l;
        }
    }
    l.integrity = ArchiveErrc::ChecksumMissing;
    return l;
}

std::string_view messageFor(ArchiveErrc code)
{
    switch (code) {
    case ArchiveErrc::None: return {};
    case ArchiveErrc::NotArchive: return "Kovira のアーカイブではありません";
    case ArchiveErrc::UnsupportedVersion: return "新しい版で保存されたアーカイブです";
    case ArchiveErrc::UnknownRecord: return "不明なレコードがあります";
    case ArchiveErrc::BadName: return "ブロック名またはキーが不正です";
    case ArchiveErrc::BadEscape: return "値のエスケープが不正です";
    case ArchiveErrc::ValueTooLong: return "値が長すぎます";
    case ArchiveErrc::BadRawLength: return "バイト列の長さが不正です";
    case ArchiveErrc::RawPastEnd: return "バイト列がアーカイブの終わりを越えています";
    case ArchiveErrc::CutRecord: return "レコードの途中でアーカイブが終わっています";
    case ArchiveErrc::EndsInsideBlock: return "ブロックの途中でアーカイブが終わっています";
    case ArchiveErrc::EndMismatch: return "ブロックの終わりが開いているブロックと一致しません";
    case ArchiveErrc::EndWithoutStart: return "始まりのないブロックの終わりがあります";
    case ArchiveErrc::TooDeep: return "ブロックの入れ子が深すぎます";
    case ArchiveErrc::ReaderFailed: return "ブロックを読み込めませんでした";
    case ArchiveErrc::ReaderOverran: return "ブロックの終わりを越えて読み込みました";
    case ArchiveErrc::NotRawRun: return "バイト列がありません";
    case ArchiveErrc::NoBlockOpen: return "読み込むブロックが開いていません";
    case ArchiveErrc::ChecksumMissing: return "チェックサムがありません";
    case ArchiveErrc::ChecksumMismatch: return "チェックサムが一致しません";
    case ArchiveErrc::WrongMode: return "アーカイブの読み書きの向きが違います";
    case ArchiveErrc::BlocksOpen: return "閉じていないブロックがあります";
    case ArchiveErrc::WriteFailed: return "書き込みに失敗しました";
    }
    return "不明なエラー";
}

} // namespace kov::archive
