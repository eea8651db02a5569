#pragma once

// The lines of a text file as the program's own list files are read: a line ends at LF, CR LF or a
// lone CR, and the last line needs no break (an empty text has no lines).

#include <string_view>
#include <vector>

namespace kov::model {

inline std::vector<std::string_view> SplitTextLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// The first byte of a double-byte character of code page 932.
inline bool IsCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

} // namespace kov::model
