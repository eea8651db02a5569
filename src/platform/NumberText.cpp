#include "platform/NumberText.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <limits>

namespace kov::platform {

std::size_t formatFixedTo(char* buf, double value, int decimals)
{
    char* const end = buf + kFixedTextCapacity;
    decimals = decimals < 0 ? 0 : decimals > 17 ? 17 : decimals;
    // No file gets a value that reads back as no number.
    if (!std::isfinite(value)) value = 0.0;
    // to_chars ignores the C locale, unlike printf.
    auto res = std::to_chars(buf, end, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) {
        buf[0] = '0';
        return 1;
    }
    // Below 2^32 a six-decimal text lies within half a unit of its last decimal of the double it
    // reads back as, so it writes again the same. Beyond, or with more decimals, check it.
    if (std::fabs(value) >= 4294967296.0 || decimals > 6) {
        double back = 0.0;
        std::from_chars(buf, res.ptr, back, std::chars_format::fixed);
        char again[kFixedTextCapacity];
        const auto res2 = std::to_chars(again, again + sizeof again, back, std::chars_format::fixed, decimals);
        if (res2.ec != std::errc() || std::string_view(again, std::size_t(res2.ptr - again))
                                          != std::string_view(buf, std::size_t(res.ptr - buf))) {
            // The shortest text that reads back as this very double.
            res = std::to_chars(buf, end, value, std::chars_format::fixed);
            if (res.ec != std::errc()) {
                buf[0] = '0';
                return 1;
            }
        }
    }
    return std::size_t(res.ptr - buf);
}

std::string formatFixed(double value, int decimals)
{
    char buf[kFixedTextCapacity];
    return std::string(buf, formatFixedTo(buf, value, decimals));
}

std::string formatFixedD(double value)
{
    return formatFixed(value) + "d";
}

std::string formatInt(long long value)
{
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

namespace {

// The blanks atof skips, then one optional sign; `negative` tells which.
std::string_view skipBlanksAndSign(std::string_view text, bool& negative)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'
                               || text[i] == '\v' || text[i] == '\f'))
        ++i;
    text.remove_prefix(i);
    negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    return text;
}

} // namespace

namespace {

// The common stored form, digits with an optional fraction ("910.000000"), ending at the text's
// end or at a character that cannot continue a number: when all its digits fit in 2^53 the value is
// that integer divided by a power of ten, both exact, so the one division rounds exactly as a full
// decimal reader would. False for anything else (exponents, long mantissas, "inf").
bool parseSimpleDecimal(std::string_view text, double& value)
{
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::uint64_t m = 0;
    std::size_t i = 0;
    int digits = 0;
    int fraction = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) m = m * 10 + std::uint64_t(text[i] - '0');
    if (digits == 0 || digits > 15) return false;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits, ++fraction) {
            if (digits >= 15) return false;
            m = m * 10 + std::uint64_t(text[i] - '0');
        }
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'x' || text[i] == 'X' || text[i] == 'p'
                            || text[i] == 'P' || text[i] == 'n' || text[i] == 'N' || text[i] == 'i' || text[i] == 'I'))
        return false;
    value = double(m) / kPow10[fraction];
    return true;
}

} // namespace

double parseDouble(std::string_view text)
{
    bool negative = false;
    text = skipBlanksAndSign(text, negative);
    // from_chars would take a second '-' ("--5"), which atof reads as no number.
    if (!text.empty() && text[0] == '-') return 0.0;
    if (double simple = 0.0; parseSimpleDecimal(text, simple)) return negative ? -simple : simple;
    // from_chars takes no sign of '+' and no hexadecimal prefix; atof-like prefix parsing is enough.
    double value = 0.0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    // Underflow gives 0; overflow reads as no number, as "inf" and "nan" do: nothing non-finite
    // gets into a drawing.
    if (res.ec != std::errc() || !std::isfinite(value)) return 0.0;
    return negative ? -value : value;
}

int parseInt(std::string_view text)
{
    bool negative = false;
    text = skipBlanksAndSign(text, negative);
    long long value = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 1LL << 40) break;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

} // namespace kov::platform
