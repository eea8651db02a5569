// Listing the library folders, checking the names users give, and the index of the fittings.

#include "building/PartLibrary.h"

#include "building/PartFiles.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace kov::building {

namespace {

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The name as CP932 characters, a double-byte one as lead × 256 + trail.
std::vector<int> cp932Characters(std::string_view utf8)
{
    const std::string bytes = kov::platform::toCp932(utf8).bytes;
    std::vector<int> out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (isLeadByte(c) && i + 1 < bytes.size()) {
            out.push_back(c * 256 + static_cast<unsigned char>(bytes[i + 1]));
            ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

int compareKeys(const std::vector<int>& a, const std::vector<int>& b, std::string_view ta, std::string_view tb)
{
    if (a != b) return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end()) ? -1 : 1;
    return ta.compare(tb) < 0 ? -1 : ta == tb ? 0 : 1;
}

// The file's name as text (UTF-8 inside the program).
std::string nameOf(const fs::path& p) { return p.filename().string(); }

bool endsWithNoCase(std::string_view s, std::string_view tail)
{
    if (s.size() < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i]) return false;
    return true;
}

// The leading digits as a number; 0 without any. Large numbers stop growing rather than overflow.
int leadingNumber(std::string_view s)
{
    long long n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') break;
        n = std::min<long long>(n * 10 + (c - '0'), 1000000000LL);
    }
    return static_cast<int>(n);
}

// Decodes one UTF-8 character at i; -1 for a malformed sequence.
long decodeUtf8(std::string_view s, std::size_t& i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size()) {
        ++i;
        return -1;
    }
    long cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((d & 0xC0) != 0x80) {
            ++i;
            return -1;
        }
        cp = (cp << 6) | (d & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

} // namespace

int CompareLibraryNames(std::string_view a, std::string_view b)
{
    return compareKeys(cp932Characters(a), cp932Characters(b), a, b);
}

void SortLibraryNames(std::vector<std::string>& names)
{
    std::vector<std::pair<std::vector<int>, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& n : names) keyed.emplace_back(cp932Characters(n), std::move(n));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) {
        return compareKeys(x.first, y.first, x.second, y.second) < 0;
    });
    names.clear();
    for (auto& k : keyed) names.push_back(std::move(k.second));
}

namespace {

// The names the entries of the folder give (nothing for an entry that `take` leaves out), in the
// library's order. `found` says whether the folder is there.
template <class Take>
std::vector<std::string> listFolder(const fs::path& folder, bool* found, Take take)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (found) *found = !ec && fs::is_directory(folder, ec);
    if (ec) return names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        if (std::optional<std::string> name = take(*it)) names.push_back(std::move(*name));
    }
    SortLibraryNames(names);
    return names;
}

} // namespace

std::vector<std::string> ListPartNames(const fs::path& folder, bool* found)
{
    return listFolder(folder, found, [](const fs::directory_entry& e) -> std::optional<std::string> {
        std::error_code kindError;
        if (!e.is_regular_file(kindError)) return std::nullopt;
        const std::string name = nameOf(e.path());
        const std::string_view ext = kPartExtension;
        if (name.size() <= ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0)
            return std::nullopt;
        return name.substr(0, name.size() - ext.size());
    });
}

std::vector<std::string> ListLibraryFolders(const fs::path& folder, bool* found)
{
    return listFolder(folder, found, [](const fs::directory_entry& e) -> std::optional<std::string> {
        std::error_code kindError;
        if (!e.is_directory(kindError)) return std::nullopt;
        const std::string name = nameOf(e.path());
        if (name.empty() || name[0] == '.') return std::nullopt;
        return name;
    });
}

LibraryNameProblem CheckLibraryName(std::string_view name)
{
    if (name.empty()) return LibraryNameProblem::Empty;
    if (name.find('/') != std::string_view::npos || name.find('\\') != std::string_view::npos)
        return LibraryNameProblem::Separator;
    if (name == "." || name == "..") return LibraryNameProblem::Dots;
    for (std::size_t i = 0; i < name.size();) {
        const long cp = decodeUtf8(name, i);
        if (cp < 0) return LibraryNameProblem::NotCp932;
        if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp <= 0x9F)) return LibraryNameProblem::Control;
    }
    const kov::platform::Cp932Text text = kov::platform::toCp932(name);
    if (text.replaced != 0) return LibraryNameProblem::NotCp932;
    if (text.bytes.size() > kLibraryNameBytes) return LibraryNameProblem::TooLong;
    return LibraryNameProblem::None;
}

std::vector<FittingEntry> ListFittings(const fs::path& kindFolder)
{
    struct Found {
        FittingEntry entry;
        fs::file_time_type time;
    };
    std::map<int, Found> byNumber;
    std::error_code ec;
    for (fs::directory_iterator it(kindFolder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code kindError;
        if (!it->is_regular_file(kindError)) continue;
        const std::string name = nameOf(it->path());
        if (name.size() < 6 || !endsWithNoCase(name, ".mgp")) continue;
        const std::string stem = name.substr(0, name.size() - 4);
        const std::size_t dash = stem.find('-');
        const int number = leadingNumber(stem.substr(0, dash)) - 10;
        if (number < 1) continue;
        std::error_code timeError;
        const fs::file_time_type time = fs::last_write_time(it->path(), timeError);
        Found f{{number, stem, it->path(),
                 dash != std::string::npos ? stem.substr(dash + 1) : stem.size() > 2 ? std::string() : stem},
                time};
        auto [slot, added] = byNumber.try_emplace(number, f);
        if (added) continue;
        const Found& old = slot->second;
        if (time > old.time || (time == old.time && CompareLibraryNames(stem, old.entry.name) < 0)) slot->second = f;
    }
    std::vector<FittingEntry> list;
    for (auto& [number, f] : byNumber) list.push_back(std::move(f.entry));
    return list;
}

fs::path FittingKindFolder(const fs::path& library, int kind) { return library / std::to_string(kind + 10); }

fs::path FindFittingFile(const fs::path& library, int kind, int number)
{
    if (library.empty() || kind < 1 || number < 1) return {};
    for (const FittingEntry& e : ListFittings(FittingKindFolder(library, kind)))
        if (e.number == number) return e.path;
    return {};
}

} // namespace kov::building
