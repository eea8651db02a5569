#include "jwcad/JwArchive.h"

#include "jwcad/JwRecords.h"
#include "platform/Cp932.h"

#include <bit>
#include <cstring>

namespace {

constexpr std::uint16_t kNullTag = 0x0000;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000u;
constexpr std::size_t kMaxClassName = 64;
// Block definitions nest their own lists; real drawings go a few levels deep.
constexpr int kMaxListDepth = 32;
// The smallest entry is a two-byte tag: a count larger than the bytes left can only be damage.
constexpr std::size_t kMinEntryBytes = 2;
constexpr int kIndexIsRecord = -1;

static_assert(std::endian::native == std::endian::little, "Jw_cad files are little-endian; add byte swaps");

// UTF-16LE code units to UTF-8 (unpaired surrogates become U+FFFD).
std::string utf16ToUtf8(const std::uint8_t* p, std::size_t units)
{
    std::string out;
    out.reserve(units * 3);
    auto put = [&](char32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = static_cast<char32_t>(p[2 * i] | (p[2 * i + 1] << 8));
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
            const char32_t d = static_cast<char32_t>(p[2 * i + 2] | (p[2 * i + 3] << 8));
            if (d >= 0xDC00 && d < 0xE000) {
                put(0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00));
                ++i;
                continue;
            }
        }
        put(c >= 0xD800 && c < 0xE000 ? char32_t(0xFFFD) : c);
    }
    return out;
}

} // namespace

JwArchive::JwArchive(const std::uint8_t* data, std::size_t size) : m_storing(false), m_data(data), m_size(size)
{
    m_loadedIndex.push_back(kIndexIsRecord); // index 0: the empty entry
}

JwArchive::JwArchive() : m_storing(true), m_classIndex(CData::KIND_COUNT, 0) {}

void JwArchive::Fail(std::string what) const
{
    throw JwFormatError{std::move(what), Position()};
}

void JwArchive::need(std::size_t n) const
{
    if (n > m_size - m_pos)
        Fail("the file ends inside a field");
}

void JwArchive::put(const void* p, std::size_t n)
{
    const auto* b = static_cast<const std::uint8_t*>(p);
    m_out.insert(m_out.end(), b, b + n);
}

void JwArchive::get(void* p, std::size_t n)
{
    need(n);
    std::memcpy(p, m_data + m_pos, n);
    m_pos += n;
}

void JwArchive::io(std::uint8_t& v) { m_storing ? put(&v, 1) : get(&v, 1); }
void JwArchive::io(std::uint16_t& v) { m_storing ? put(&v, 2) : get(&v, 2); }
void JwArchive::io(std::uint32_t& v) { m_storing ? put(&v, 4) : get(&v, 4); }
void JwArchive::io(std::int32_t& v) { m_storing ? put(&v, 4) : get(&v, 4); }
void JwArchive::io(double& v) { m_storing ? put(&v, 8) : get(&v, 8); }

void JwArchive::ioFixed(char* bytes, std::size_t n) { m_storing ? put(bytes, n) : get(bytes, n); }

void JwArchive::pad(std::size_t n)
{
    if (m_storing) {
        m_out.insert(m_out.end(), n, 0);
    } else {
        need(n);
        m_pos += n;
    }
}

std::uint32_t JwArchive::ReadDWord()
{
    std::uint32_t v = 0;
    get(&v, 4);
    return v;
}

double JwArchive::ReadDouble()
{
    double v = 0;
    get(&v, 8);
    return v;
}

void JwArchive::WriteDWord(std::uint32_t v) { put(&v, 4); }
void JwArchive::WriteDouble(double v) { put(&v, 8); }

std::size_t JwArchive::readLength()
{
    std::uint8_t b = 0;
    io(b);
    if (b < 0xFF)
        return b;
    std::uint16_t w = 0;
    io(w);
    if (w < 0xFFFE)
        return w;
    if (w == 0xFFFE)
        Fail("a wide-string mark where a length belongs");
    std::uint32_t d = 0;
    io(d);
    if (d != 0xFFFFFFFFu)
        return d;
    std::uint64_t q = 0;
    need(8);
    get(&q, 8);
    if (q > 0x7FFFFFFFu)
        Fail("a string length beyond 31 bits");
    return static_cast<std::size_t>(q);
}

void JwArchive::ioString(std::string& utf8)
{
    if (m_storing) {
        const std::string bytes = kov::platform::toCp932(utf8).bytes;
        const std::size_t n = bytes.size();
        if (n < 0xFF) {
            const auto b = static_cast<std::uint8_t>(n);
            put(&b, 1);
        } else if (n < 0xFFFE) {
            const std::uint8_t b = 0xFF;
            const auto w = static_cast<std::uint16_t>(n);
            put(&b, 1);
            put(&w, 2);
        } else {
            const std::uint8_t b = 0xFF;
            const std::uint16_t w = 0xFFFF;
            const auto d = static_cast<std::uint32_t>(n);
            put(&b, 1);
            put(&w, 2);
            put(&d, 4);
        }
        put(bytes.data(), n);
        return;
    }
    // A wide string announces itself by FF FE FF before its own length.
    if (Remaining() >= 3 && m_data[m_pos] == 0xFF && m_data[m_pos + 1] == 0xFE && m_data[m_pos + 2] == 0xFF) {
        m_pos += 3;
        std::size_t units = 0;
        std::uint8_t b = 0;
        io(b);
        if (b < 0xFF) {
            units = b;
        } else {
            std::uint16_t w = 0;
            io(w);
            if (w < 0xFFFF) {
                units = w;
            } else {
                std::uint32_t d = 0;
                io(d);
                units = d;
            }
        }
        if (units > Remaining() / 2)
            Fail("a string longer than the file");
        utf8 = utf16ToUtf8(m_data + m_pos, units);
        m_pos += units * 2;
        return;
    }
    const std::size_t n = readLength();
    if (n > Remaining())
        Fail("a string longer than the file");
    utf8 = kov::platform::fromCp932(std::string_view(reinterpret_cast<const char*>(m_data + m_pos), n));
    m_pos += n;
}

std::uint32_t JwArchive::readCount()
{
    std::uint16_t w = 0;
    io(w);
    if (w != 0xFFFF)
        return w;
    std::uint32_t d = 0;
    io(d);
    return d;
}

void JwArchive::writeCount(std::uint32_t n)
{
    if (n < 0xFFFF) {
        const auto w = static_cast<std::uint16_t>(n);
        put(&w, 2);
    } else {
        const std::uint16_t w = 0xFFFF;
        put(&w, 2);
        put(&n, 4);
    }
}

void JwArchive::ioList(std::vector<std::unique_ptr<CData>>& list)
{
    if (m_listDepth >= kMaxListDepth)
        Fail("record lists nested too deeply");
    ++m_listDepth;
    if (m_storing) {
        writeCount(static_cast<std::uint32_t>(list.size()));
        for (auto& record : list)
            writeEntry(record.get());
    } else {
        const std::uint32_t count = readCount();
        if (count > Remaining() / kMinEntryBytes)
            Fail("a record count larger than the file can hold");
        list.clear();
        list.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i)
            list.push_back(readEntry());
    }
    --m_listDepth;
}

std::unique_ptr<CData> JwArchive::readEntry()
{
    std::uint16_t tag = 0;
    io(tag);
    if (tag == kNullTag)
        return nullptr;
    int kind = -1;
    if (tag == kNewClassTag) {
        std::uint16_t schema = 0;
        std::uint16_t length = 0;
        io(schema);
        io(length);
        if (length >= kMaxClassName)
            Fail("a class name of 64 bytes or more");
        std::string name(length, '\0');
        get(name.data(), length);
        kind = CData::KindOfName(name);
        if (kind < 0)
            Fail("an unknown record class \"" + name + "\"");
        m_loadedIndex.push_back(kind);
        ++m_nextIndex;
    } else {
        std::uint32_t index = 0;
        bool isClass = false;
        if (tag == kBigObjectTag) {
            std::uint32_t d = 0;
            io(d);
            isClass = (d & kBigClassTag) != 0;
            index = d & ~kBigClassTag;
        } else if (tag & kClassTag) {
            isClass = true;
            index = tag & ~kClassTag;
        } else {
            index = tag;
        }
        if (!isClass)
            Fail("a reference back to a record already read");
        if (index == 0 || index >= m_loadedIndex.size() || m_loadedIndex[index] == kIndexIsRecord)
            Fail("a class index that names no class");
        kind = m_loadedIndex[index];
    }
    auto record = CData::Create(kind);
    m_loadedIndex.push_back(kIndexIsRecord);
    ++m_nextIndex;
    record->m_nVersion = m_nRecordVersion;
    record->Serialize(*this);
    return record;
}

void JwArchive::writeEntry(CData* record)
{
    if (!record) {
        const std::uint16_t tag = kNullTag;
        put(&tag, 2);
        return;
    }
    const int kind = record->GetKind();
    std::uint32_t& classIndex = m_classIndex[static_cast<std::size_t>(kind)];
    if (classIndex == 0) {
        const std::string_view name = CData::kClassNames[kind];
        const std::uint16_t tag = kNewClassTag;
        const std::uint16_t length = static_cast<std::uint16_t>(name.size());
        put(&tag, 2);
        put(&m_nWriteSchema, 2);
        put(&length, 2);
        put(name.data(), name.size());
        classIndex = m_nextIndex++;
    } else if (classIndex < kBigObjectTag) {
        const auto tag = static_cast<std::uint16_t>(kClassTag | classIndex);
        put(&tag, 2);
    } else {
        const std::uint16_t tag = kBigObjectTag;
        const std::uint32_t d = kBigClassTag | classIndex;
        put(&tag, 2);
        put(&d, 4);
    }
    ++m_nextIndex;
    record->Serialize(*this);
}
