#pragma once

// The quotation list "kovtex.txt": ready-made texts offered by the text tools, one per line, in code
// page 932 with CR LF line ends. The settings page edits it; the text panels read it with the same
// reader.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kov::model {

// Readers take at most this many bytes of a line as one quotation; the rest of a longer line
// follows as further quotations.
inline constexpr std::size_t kQuotationChunkBytes = 63;

// The quotations of the file's bytes, UTF-8: one per line (LF, CR LF or a lone CR; the last line
// needs no break), a line longer than 63 bytes cut into pieces of at most 63 bytes. A piece never
// ends inside a double-byte character, and a line of exactly 63 bytes is one quotation.
std::vector<std::string> ParseQuotations(std::string_view cp932);

// The file's bytes: every quotation whole, in CP932, followed by CR LF. `replaced` (when given)
// counts the characters CP932 lacks, written as '?'.
std::string FormatQuotations(const std::vector<std::string>& quotations, int* replaced = nullptr);

// A missing or unreadable file reads as an empty list.
std::vector<std::string> ReadQuotationFile(const std::filesystem::path& file);
// Replaces the file only when every byte was written; false with `error` set otherwise.
bool WriteQuotationFile(const std::filesystem::path& file, const std::vector<std::string>& quotations,
                        std::string* error = nullptr);

} // namespace kov::model
