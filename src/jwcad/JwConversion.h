#pragma once

// Jw_cad records to drawing objects: the mapping of pens, colours, widths, layers and text base
// points, block expansion with composed transforms, and the whole-file imports of JWW and JWS
// drawings. The imports build into a container the caller hands in; the document swaps it in only
// when the file was read, so a failed import never costs the open drawing.

#include "jwcad/JwwFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CKovUnit;
class CPlotInfo;
class SelectionRecord;

struct JwwImportOptions {
    int m_bKeepWhite = 0;        // white lines and texts stay white
    int m_bAllBlack = 0;         // lines, arcs and texts black
    int m_bWidthOne = 0;         // every figure width type 1
    int m_nSolids = 0;           // 0 solids to layer 0 of group 0; 2 ignored; other: own layer
    int m_bArcsToPolylines = 0;  // exactly 1: circles and arcs as polylines
    int m_nBlockLimit = 0;       // 0 no limit; a larger block definition is skipped
    int m_bBlockSkipped = 0;     // set when an insert was skipped for the limit
};

// An affine map of Jw_cad coordinates: x' = a·x + c·y + e, y' = b·x + d·y + f. Block inserts
// compose them, so nested inserts rotate, scale and mirror with their enclosing inserts.
struct JwwBlockTransform {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    static JwwBlockTransform Insert(double x, double y, double scaleX, double scaleY, double angle);
    // This map applied after `inner`.
    JwwBlockTransform Compose(const JwwBlockTransform& inner) const;
    void Apply(double& x, double& y) const;
    void ApplyLinear(double& x, double& y) const;
    double Determinant() const { return a * d - b * c; }
    bool IsIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && e == 0 && f == 0; }
};

struct JwConversionContext {
    CKovUnit& unit;
    SelectionRecord& selection;
    JwwImportOptions& options;
    const JwRecordList& blocks;
    std::array<double, 16> scales{};                 // drawing mm per Jw_cad mm, per layer group
    std::array<std::uint32_t, JwwHeader::kPens> printColors{};
    int solidsFirst = 0;                             // solids go below everything else
    int textBackground = 0;                          // texts get a white background
    // Set while a block is expanded: the layer its records take.
    int layerOverride = -1, groupOverride = -1;
    std::vector<const CDataList*> expanding;         // block definitions being expanded (cycles)
    int depth = 0;
    bool full = false;                               // no identifier was left: the import stops
    long long expansions = 0;                        // records met inside block inserts
    bool expansionCut = false;                       // inserts left out: too much to expand
    long long pointsDropped = 0;                     // point records met: the drawing holds no points

    JwConversionContext(CKovUnit& u, SelectionRecord& s, JwwImportOptions& o, const JwRecordList& b)
        : unit(u), selection(s), options(o), blocks(b)
    {
    }
    void TakeColours(const JwwHeader& header);
};

// Messages of the exchange, shown as the program's own.
namespace jwtexts {
inline constexpr const char* kNotJww = "jwwファイルでないか、ファイルを読み取れませんでした。";
inline constexpr const char* kBlocksSkipped = "要素が%dを超えるブロック図形は読み込めませんでした";
inline constexpr const char* kNoTemplate = "jwdefファイルがみつかりません。";
inline constexpr const char* kJwwSaveFailed = "jww保存に失敗しました。";
inline constexpr const char* kDimensionsFirst =
    "寸法線は「ツール」「寸法線の文字線化」で線と文字にしてからJWW出力してください。";
inline constexpr const char* kNotJwc = "jwcファイルでないか、ファイルを読み取れませんでした。";
inline constexpr const char* kJwcSaveFailed = "jwc保存に失敗しました。";
inline constexpr const char* kBlocksTooLarge = "ブロック図形の展開が多すぎるため、一部を読み込みませんでした。";
inline constexpr const char* kDrawingFull = "図形の数が上限に達したため、ファイルの一部だけを読み込みました。";
inline constexpr const char* kPointsDropped = "点 %lld 個は読み込みません。";
inline constexpr const char* kBadJwcScale = "jwcファイルの縮尺が正しくないため、読み込めませんでした。";
} // namespace jwtexts

struct JwImportOutcome {
    bool ok = false;
    std::vector<std::string> messages;   // to show, in order
    std::string detail;                  // what was wrong, for the log
};

// A JWW drawing into an empty container and the new document's settings (paper, black-and-white,
// the file's layer groups and layers with their states, names and scales; the group and layer the
// file was written on become the current ones). Nothing is touched when the file cannot be read.
JwImportOutcome ImportJwwDrawing(const std::uint8_t* data, std::size_t size, JwwImportOptions options,
                                 CPlotInfo& plot, CKovUnit& unit);
// A JWS figure file added to the container on the current layer as one selected group (the caller
// places it). Returns the group identifier in `outGroup` (0 when nothing was made).
JwImportOutcome ImportJwsFigures(const std::uint8_t* data, std::size_t size, const CPlotInfo& plot,
                                 CKovUnit& unit, SelectionRecord& selection, int& outGroup);

// Makes one group of every selected figure and text; the group becomes the selection. Returns its
// identifier, 0 when there was nothing to group or no identifier was free.
int GroupSelectedForPlacement(CKovUnit& unit, SelectionRecord& selection, int layerGroup, int layer);
