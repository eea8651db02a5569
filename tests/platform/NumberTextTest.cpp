#include "platform/NumberText.h"

#include <gtest/gtest.h>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <vector>
#include <random>
#include <cstring>

#include <clocale>
#include <limits>
#include <string>

using namespace kov::platform;

namespace {

// Runs the body with a comma-decimal C locale when the machine has one.
struct CommaLocale {
    CommaLocale()
    {
        saved = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
            if (std::setlocale(LC_ALL, name)) { active = true; break; }
        }
    }
    ~CommaLocale() { std::setlocale(LC_ALL, saved.c_str()); }
    std::string saved;
    bool active = false;
};

TEST(NumberText, FormatsWithSixDecimalsAndAPointUnderEveryLocale)
{
    CommaLocale comma;
    struct Case { double value; const char* fixed; };
    const Case cases[] = {
        {1.5, "1.500000"},     {0.0, "0.000000"},         {-0.25, "-0.250000"},
        {1234567.125, "1234567.125000"}, {1e-7, "0.000000"}, {2.0000005, "2.000001"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatFixed(c.value), c.fixed) << c.value;
        EXPECT_EQ(formatFixedD(c.value), std::string(c.fixed) + "d") << c.value;
    }
    EXPECT_EQ(formatInt(-42), "-42");
}

TEST(NumberText, FormatsAGivenCountOfDecimalsAndNonFiniteValues)
{
    CommaLocale comma;
    struct Case { double value; int decimals; const char* text; };
    const Case cases[] = {
        {1100.0, 2, "1100.00"}, {-4.5, 2, "-4.50"}, {1.999, 2, "2.00"}, {910.0, 1, "910.0"}, {7.0, 0, "7"},
        {std::numeric_limits<double>::quiet_NaN(), 6, "0.000000"}, {-std::numeric_limits<double>::quiet_NaN(), 2, "0.00"},
        {std::numeric_limits<double>::infinity(), 6, "0.000000"}, {-std::numeric_limits<double>::infinity(), 1, "0.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatFixed(c.value, c.decimals), c.text) << c.value << " " << c.decimals;
}

TEST(NumberText, EveryValueWritesReadsAndWritesTheSameText)
{
    CommaLocale comma;
    const double big = 100000000000000.0;
    std::vector<double> values = {
        0.0, -0.0, 0.1, -1234.5678905, 1e-7, -4.9e-324, 2.2250738585072014e-308,
        4294967296.0 + 0.5e-6, 4294967295.9999995, big + 0.0078125, big + 0.015625, -(big + 0.0078125),
        9007199254740993.0, 1e300, std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
    };
    // And doubles of every magnitude, drawn by their bits.
    std::mt19937_64 rng(11);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) values.push_back(v);
    }
    for (const double v : values) {
        for (const int decimals : {6, 2, 10}) {
            const std::string once = formatFixed(v, decimals);
            const std::string twice = formatFixed(parseDouble(once), decimals);
            ASSERT_EQ(twice, once) << std::hexfloat << v << " decimals " << decimals;
        }
        const std::string d = formatFixedD(v);
        ASSERT_EQ(formatFixedD(parseDouble(d)), d) << std::hexfloat << v;
    }
}

TEST(NumberText, PlainDecimalsReadExactlyAsAFullDecimalReader)
{
    // Stored numbers are mostly digits with a fraction; they must land on the same double as a
    // correctly rounding reader gives, up to and past the length a shortcut can take.
    std::mt19937_64 rng(5);
    for (int i = 0; i < 200000; ++i) {
        const int intDigits = 1 + int(rng() % 16);
        const int fracDigits = int(rng() % 9);
        std::string text;
        for (int k = 0; k < intDigits; ++k) text += char('0' + rng() % 10);
        if (fracDigits > 0 || rng() % 2) text += '.';
        for (int k = 0; k < fracDigits; ++k) text += char('0' + rng() % 10);
        double expected = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(parseDouble(text), expected) << text;
        ASSERT_EQ(parseDouble("-" + text + "d"), -expected) << text;
    }
}

TEST(NumberText, ParsesLikeAtofButWithoutTheLocale)
{
    CommaLocale comma;
    struct Case { const char* text; double value; };
    const Case cases[] = {
        {"1.500000", 1.5}, {"  -2.5", -2.5}, {"+3", 3.0}, {"12.25d", 12.25}, {"7abc", 7.0},
        {"abc", 0.0},      {"", 0.0},        {"1,5", 1.0}, {"1e3", 1000.0}, {"nan", 0.0},
        {".5", 0.5},       {"--5", 0.0},     {"-+5", 0.0}, {"+-5", 0.0},
        // Nothing that is no finite number: infinities and overflow read as no number.
        {"inf", 0.0},      {"-infd", 0.0},   {"INFINITY", 0.0}, {"1e999", 0.0}, {"-1e400d", 0.0}, {"1e-999", 0.0},
    };
    for (const auto& c : cases) EXPECT_EQ(parseDouble(c.text), c.value) << c.text;
}

TEST(NumberText, ParsesIntegersClampedToTheIntRange)
{
    struct Case { const char* text; int value; };
    const Case cases[] = {
        {"42", 42}, {" -7x", -7}, {"x", 0}, {"99999999999999", std::numeric_limits<int>::max()},
        {"-99999999999999", std::numeric_limits<int>::min()}, {"3.9", 3}, {"--5", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(parseInt(c.text), c.value) << c.text;
}

} // namespace
