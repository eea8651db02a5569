#pragma once

// The drawing as Jw_cad files: JWW (figures, walls and texts as version 600 records, the header from
// a template) and JWC (the DOS layout); and the JWC and JWK imports.

#include "jwcad/JwConversion.h"
#include "jwcad/JwcFile.h"
#include "model/DbPoint.h"

#include <filesystem>
#include <string>
#include <vector>

class CFontMenu;
class CKovUnit;
class CPlotInfo;
class SelectionRecord;

struct JwExportOutcome {
    bool ok = false;
    std::vector<std::uint8_t> bytes;   // the file, when ok
    std::string message;               // what to show when not ok
};

// Where an arrow's wings end: W0, W1 at P0, W2, W3 at P1, at length L and ±30 degrees.
void ArrowHeadPoints(const CDbPoint& p0, const CDbPoint& p1, double length, CDbPoint out[4]);

// The header every export starts from when the user keeps no template of their own: version 600,
// the usual pens, line types and text kinds.
void MakeDefaultJwwHeader(JwwHeader& header);

// appAutoColumns: the application's automatic column squares switch (walls drawn with a square
// about their start in wall display mode 2).
void BuildJwwRecords(JwwHeader& header, const CPlotInfo& plot, const CKovUnit& unit, bool appAutoColumns);

// template: a JWW file whose header the export starts from; empty uses MakeDefaultJwwHeader.
JwExportOutcome ExportJwwBytes(const CPlotInfo& plot, const CKovUnit& unit, const std::filesystem::path& templateFile,
                               bool appAutoColumns);
JwExportOutcome ExportJwcBytes(const CPlotInfo& plot, const CKovUnit& unit, bool appAutoColumns);

// The JWW paper code of a paper code of ours: the smallest A sheet that holds the paper.
int JwwPaperCodeOf(const CPlotInfo& plot);
// The JWC paper code (0 A0 .. 4 A4) likewise.
int JwcPaperCodeOf(const CPlotInfo& plot);

// A JWC drawing into an empty container and the new document's settings.
JwImportOutcome ImportJwcDrawing(const std::uint8_t* data, std::size_t size, const CFontMenu& currentFont,
                                 CPlotInfo& plot, CKovUnit& unit);
// A JWK figure file added on the current layer as one selected group.
JwImportOutcome ImportJwkFigures(const std::uint8_t* data, std::size_t size, const CFontMenu& currentFont,
                                 const CPlotInfo& plot, CKovUnit& unit, SelectionRecord& selection, int& outGroup);
