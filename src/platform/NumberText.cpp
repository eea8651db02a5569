#include "platform/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kov::platform {

std::string formatFixed(double value, int decimals)
{
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    // to_chars ignores the C locale, unlike printf. The buffer holds any double with the decimals
    // the stored forms use.
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) return "0";
    return std::string(buf, res.ptr);
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

double parseDouble(std::string_view text)
{
    bool negative = false;
    text = skipBlanksAndSign(text, negative);
    // from_chars would take a second '-' ("--5"), which atof reads as no number.
    if (!text.empty() && text[0] == '-') return 0.0;
    // from_chars takes no sign of '+' and no hexadecimal prefix; atof-like prefix parsing is enough.
    double value = 0.0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Overflow: as strtod, the largest value of the sign; underflow gives 0.
        bool tiny = false;
        auto e = text.find_first_of("eE");
        if (e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-') tiny = true;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (res.ec != std::errc()) {
        return 0.0;
    }
    if (std::isnan(value)) return 0.0;
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
