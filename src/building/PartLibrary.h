#pragma once

// The folders of the libraries as the palettes and the fitting tool see them: part names listed
// and sorted, the names a user may give a part or a folder, and the one index of the fittings of a
// kind that the fittings palette and the fitting finder share.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kov::building {

// Library lists sort in the character order of code page 932: a double-byte character counts as
// one character of value lead byte × 256 + trail byte; case matters. Names that compare equal so
// (characters CP932 lacks) fall back to their own bytes, so the order never depends on the folder.
int CompareLibraryNames(std::string_view a, std::string_view b);
void SortLibraryNames(std::vector<std::string>& names);

// The part files of a folder, names without ".mgp", sorted. Only files whose name ends in exactly
// ".mgp" count. `found` is set false when the folder cannot be listed.
std::vector<std::string> ListPartNames(const std::filesystem::path& folder, bool* found = nullptr);
// The folders directly inside a folder, sorted as names are (hidden ones, starting with ".", left
// out). `found` as above.
std::vector<std::string> ListLibraryFolders(const std::filesystem::path& folder, bool* found = nullptr);

// What is wrong with a name a user gives a part or a folder, for it becomes a file or folder name.
enum class LibraryNameProblem {
    None,
    Empty,
    TooLong,       // over 32 bytes in CP932
    Separator,     // "/" or "\"
    Dots,          // "." or ".."
    Control,       // a control character
    NotCp932,      // a character the library's code page cannot hold
};
inline constexpr std::size_t kLibraryNameBytes = 32;
LibraryNameProblem CheckLibraryName(std::string_view name);

// One fitting of a kind folder. Its number is the prefix of its file name (up to the first "-",
// the whole name without one) read from its leading digits, less 10: "12-片開き.mgp" is number 2.
struct FittingEntry {
    int number = 0;
    std::string name;             // file name without its extension
    std::filesystem::path path;
    std::string label;            // what the palette shows: the text after the first "-"
};

// The fittings of one kind folder by number, one per number: files whose name ends in ".mgp" in
// any case, two or more characters before it; of files of one number the one written last wins
// (on equal times the one first in name order). Files whose prefix gives no number from 1 up are
// left out.
std::vector<FittingEntry> ListFittings(const std::filesystem::path& kindFolder);
// The folder of a kind (1-12): library\(kind + 10).
std::filesystem::path FittingKindFolder(const std::filesystem::path& library, int kind);
// The file of a fitting in a library ("tateg" of plan drawings), empty when there is none.
std::filesystem::path FindFittingFile(const std::filesystem::path& library, int kind, int number);
// The same in the library of elevation drawings ("ritutateg").
inline std::filesystem::path FindElevationFittingFile(const std::filesystem::path& library, int kind, int number)
{
    return FindFittingFile(library, kind, number);
}

} // namespace kov::building
