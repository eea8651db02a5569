#include "platform/Cp932.h"

#include <iconv.h>

#include <cerrno>

namespace kov::platform {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// One conversion descriptor per thread and direction, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of `in` as it can, appending to `out`. Returns 0 when all of it was
    // converted, else the errno that stopped it; `in` is advanced past what was converted.
    int convert(std::string_view& in, std::string& out)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[1024];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            size_t srcLeft = in.size();
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            int err = r == static_cast<size_t>(-1) ? errno : 0;
            out.append(buffer, static_cast<size_t>(dst - buffer));
            in.remove_prefix(in.size() - srcLeft);
            if (err == E2BIG) continue;
            if (err != 0) return err;
        }
        return 0;
    }

private:
    iconv_t m_cd;
};

Converter& encoder()
{
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

Converter& decoder()
{
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

// Length of the UTF-8 character at the front; for a broken one, its lead byte and the continuation
// bytes that follow it, so a truncated character counts once.
size_t utf8CharLength(std::string_view s)
{
    auto b = static_cast<unsigned char>(s[0]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 1;
    size_t i = 1;
    while (i < n && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    return i;
}

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Bytes a decoding error swallows: a lead byte with a non-ASCII trail byte is one unknown character;
// otherwise only the first byte is dropped, so an ASCII byte after it is still read as itself.
size_t badCp932Length(std::string_view s)
{
    if (s.size() >= 2 && isLeadByte(static_cast<unsigned char>(s[0]))) {
        auto t = static_cast<unsigned char>(s[1]);
        if (isTrailByte(t) && t >= 0x80) return 2;
    }
    return 1;
}

} // namespace

bool cp932Available()
{
    return encoder().ok() && decoder().ok();
}

Cp932Text toCp932(std::string_view utf8)
{
    Cp932Text result;
    result.bytes.reserve(utf8.size());
    Converter& c = encoder();
    while (!utf8.empty()) {
        if (c.ok() && c.convert(utf8, result.bytes) == 0) break;
        if (!c.ok() && static_cast<unsigned char>(utf8[0]) < 0x80) {
            result.bytes += utf8[0];
            utf8.remove_prefix(1);
            continue;
        }
        result.bytes += '?';
        ++result.replaced;
        utf8.remove_prefix(utf8CharLength(utf8));
    }
    return result;
}

std::string fromCp932(std::string_view cp932)
{
    std::string result;
    result.reserve(cp932.size() * 3 / 2);
    Converter& c = decoder();
    while (!cp932.empty()) {
        if (c.ok() && c.convert(cp932, result) == 0) break;
        if (!c.ok() && static_cast<unsigned char>(cp932[0]) < 0x80) {
            result += cp932[0];
            cp932.remove_prefix(1);
            continue;
        }
        result += kReplacement;
        cp932.remove_prefix(badCp932Length(cp932));
    }
    return result;
}

std::size_t cp932ByteLength(std::string_view utf8)
{
    Cp932Text t = toCp932(utf8);
    // Each lacked character was written as one '?' but counts as two.
    return t.bytes.size() + static_cast<size_t>(t.replaced);
}

} // namespace kov::platform
