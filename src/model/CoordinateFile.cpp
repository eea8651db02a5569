#include "model/CoordinateFile.h"

#include "platform/Cp932.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>

namespace kov::model {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The fields of one line: a comma, with any blanks around it, ends a field; so does a run of blanks
// between two fields. Two commas in a row make an empty field.
std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    const std::size_t n = line.size();
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlank(line[i])) ++i;
    };
    skipBlanks();
    while (i < n) {
        const std::size_t start = i;
        while (i < n && line[i] != ',' && !isBlank(line[i])) ++i;
        fields.push_back(line.substr(start, i - start));
        skipBlanks();
        if (i < n && line[i] == ',') {
            ++i;
            skipBlanks();
        }
    }
    return fields;
}

// The whole field as a finite number, or nothing.
std::optional<double> number(std::string_view field)
{
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    if (field.empty()) return std::nullopt;
    double v = 0;
    const auto r = std::from_chars(field.data(), field.data() + field.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != field.data() + field.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

} // namespace

CoordinateRead ParseCoordinateText(std::string_view bytes)
{
    CoordinateRead read;
    std::size_t pos = 0;
    while (pos < bytes.size() && read.rows.size() < kMaxCoordinateRows) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.empty()) continue;
        const std::optional<double> x = fields.size() >= 2 ? number(fields[0]) : std::nullopt;
        const std::optional<double> y = fields.size() >= 2 ? number(fields[1]) : std::nullopt;
        if (!x || !y) {
            ++read.skippedLines;
            continue;
        }
        CoordinateRow row;
        row.point = CDbPoint(*x, -*y);
        if (fields.size() >= 3) row.label = kov::platform::fromCp932(fields[2]);
        read.rows.push_back(std::move(row));
    }
    return read;
}

std::optional<CoordinateRead> ReadCoordinateFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return ParseCoordinateText(bytes);
}

} // namespace kov::model
