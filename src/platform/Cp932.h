#pragma once

// Code page 932 (Japanese Windows) at the exchange boundaries: Jw_cad and DXF files and the room,
// quotation and axis-value text files. Inside the program text is UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace kov::platform {

struct Cp932Text {
    std::string bytes;   // CP932
    int replaced = 0;    // characters CP932 lacks (and invalid UTF-8 bytes), each written as '?'
};

// UTF-8 to CP932; what CP932 cannot hold becomes '?'.
Cp932Text toCp932(std::string_view utf8);
// CP932 to UTF-8; bytes that are no CP932 character become U+FFFD.
std::string fromCp932(std::string_view cp932);

// The number of bytes the text takes in CP932; a character CP932 lacks counts as two.
std::size_t cp932ByteLength(std::string_view utf8);

// Whether the C library offers the conversion (glibc's "CP932").
bool cp932Available();

} // namespace kov::platform
