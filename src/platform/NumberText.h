#pragma once

// Numbers as stored and exchanged text, the same under every locale.

#include <cstddef>
#include <string>
#include <string_view>

namespace kov::platform {

// Room for any number formatFixedTo writes with up to 17 decimals.
inline constexpr std::size_t kFixedTextCapacity = 352;

// "%f": six decimals, '.' as the decimal point ("1.500000"); "%.<decimals>f" with a count given.
// A value that is no finite number (NaN, the infinities), which no stored value may be, reads "0"
// in that form ("0.000000"), as parseDouble takes it. The text always reads back as a number that writes the
// same text again: where the decimals would lose that (magnitudes beyond 2^32 with a fraction),
// the shortest text that reads back exactly is written instead.
std::string formatFixed(double value, int decimals = 6);
// The same into buf (at least kFixedTextCapacity bytes, decimals 0..17); returns the length.
std::size_t formatFixedTo(char* buf, double value, int decimals = 6);
// "%fd": the same followed by the letter d (points and parameters of figures).
std::string formatFixedD(double value);
// "%d"
std::string formatInt(long long value);

// Reads a number as atof does: leading blanks skipped, the longest valid prefix taken, text that is
// no number reading as 0 (so do "nan", "inf" and a number beyond the double range: nothing
// non-finite enters a drawing from text); a trailing 'd' is simply not part of the number.
double parseDouble(std::string_view text);
// As atoi: the integer prefix; out-of-range values are clamped to the int range.
int parseInt(std::string_view text);

// A finite or infinite value kept, NaN replaced by `otherwise`: for every number that enters a
// drawing from outside (files, exchange formats, typed values).
inline double noNaN(double value, double otherwise = 0.0) { return value != value ? otherwise : value; }

} // namespace kov::platform
