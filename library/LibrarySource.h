#pragma once

// The readable sources of our library drawings: one text file per library, each drawing a block of
// commands in millimetres (y pointing down, angles counter-clockwise on the screen):
//
//   part tateg/11/11-引違い窓        the file to make, below the output folder, without ".mgp"
//   rect 0 0 1690 100 colour=ffffff fill=ffffff
//   line 0 0 0 100 type=2 width=2
//   poly 0 0 100 0 100 50            a closed polygon
//   polyline 0 0 50 20 100 0         a continuous line
//   circle 50 50 20                  centre, radius
//   ellipse 50 50 40 20              centre, half width, half height
//   arc 0 100 780 270 360            centre, radius, start and end angle
//   text 10 20 3.5 "文字"             position, size in paper millimetres at 1:100, text
//   end
//
// Options: colour and fill are RRGGBB (fill turns the figure's fill on), type the line type, width
// the pen width code. Every figure of a drawing becomes a member of its one group, in order; the
// group's box covers its members as the program computes it.

#include <filesystem>
#include <string>
#include <vector>

class CKovUnit;

namespace kov::library {

struct SourceDrawing {
    std::string path;  // relative, without the extension
    int line = 0;      // where it starts in its source file
};

// Reads a source file into drawings; false with `error` ("file:line: what") on the first fault.
// Each drawing's container is appended to `units` (in the order of the file).
bool ReadLibrarySource(const std::filesystem::path& file, std::vector<SourceDrawing>& drawings,
                       std::vector<CKovUnit>& units, std::string& error);

} // namespace kov::library
