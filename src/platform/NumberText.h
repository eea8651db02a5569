#pragma once

// Numbers as stored and exchanged text, the same under every locale.

#include <string>
#include <string_view>

namespace kov::platform {

// "%f": six decimals, '.' as the decimal point ("1.500000"); "%.<decimals>f" with a count given.
// NaN reads "nan" whatever its sign; infinities read "inf" and "-inf".
std::string formatFixed(double value, int decimals = 6);
// "%fd": the same followed by the letter d (points and parameters of figures).
std::string formatFixedD(double value);
// "%d"
std::string formatInt(long long value);

// Reads a number as atof does: leading blanks skipped, the longest valid prefix taken, text that is
// no number reading as 0; a trailing 'd' is simply not part of the number.
double parseDouble(std::string_view text);
// As atoi: the integer prefix; out-of-range values are clamped to the int range.
int parseInt(std::string_view text);

} // namespace kov::platform
