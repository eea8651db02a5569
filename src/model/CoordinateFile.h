#pragma once

// Coordinate files ("*.csv", "*.txt"): one point a line, x and y in the first two fields, an optional
// label in the third. Fields are separated by commas or blanks; blanks beside a comma belong to it, so
// "100, 200" reads as two fields. The files come from other programs in code page 932.

#include "model/DbPoint.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kov::model {

struct CoordinateRow {
    CDbPoint point;    // the file's (x, y) with y turned to point down the sheet: (x, -y)
    std::string label; // UTF-8; empty when the line has no third field
};

struct CoordinateRead {
    std::vector<CoordinateRow> rows;
    // Lines with text that were skipped because their first two fields are not both finite numbers
    // (a header row, a note): the command says so.
    int skippedLines = 0;
};

// A read stops at this many points: a coordinate list of a plot is far smaller, and every point
// becomes a figure's vertex.
inline constexpr std::size_t kMaxCoordinateRows = 100000;

CoordinateRead ParseCoordinateText(std::string_view bytes);
// The file's rows; nullopt when it cannot be read.
std::optional<CoordinateRead> ReadCoordinateFile(const std::filesystem::path& file);

} // namespace kov::model
