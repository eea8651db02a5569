#include "io/DxfTables.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/Color.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace kov::io {

using kov::platform::rgbColor;

namespace {

struct ColourRow {
    int number;
    std::uint32_t first;
    std::uint32_t second;
};

constexpr std::array<ColourRow, 6> kColourRows{{
    {1, rgbColor(255, 0, 0), rgbColor(255, 192, 192)},
    {2, rgbColor(255, 255, 0), rgbColor(255, 255, 192)},
    {3, rgbColor(0, 255, 0), rgbColor(192, 255, 192)},
    {4, rgbColor(0, 255, 255), rgbColor(192, 255, 255)},
    {5, rgbColor(0, 0, 255), rgbColor(192, 192, 255)},
    {6, rgbColor(255, 0, 255), rgbColor(255, 192, 255)},
}};

constexpr std::uint32_t kGrey8 = rgbColor(128, 128, 128);
constexpr std::uint32_t kGrey9 = rgbColor(192, 192, 192);

struct PaperRow {
    int code;
    int x;
    int y;
};

// Paper codes by size; the reader tries them in this order.
constexpr std::array<PaperRow, 11> kPapers{{
    {4, 840, 594}, {3, 594, 420}, {2, 420, 297}, {0, 297, 210}, {1, 364, 257}, {5, 257, 182},
    {6, 210, 297}, {7, 182, 257}, {8, 100, 148}, {9, 297, 420}, {10, 257, 364},
}};

bool endsWith(std::string_view s, std::string_view tail)
{
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Characters no DXF layer name may hold, and blanks at either end, become "_"/go.
std::string cleanLayerName(std::string_view raw)
{
    std::string s;
    for (char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || std::string_view("<>/\\\":;?*|=,`").find(c) != std::string_view::npos)
            s += '_';
        else
            s += c;
    }
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string slotSuffix(int g, int l) { return std::to_string(g) + "-" + std::to_string(l); }

} // namespace

std::string DxfUpperAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

int DxfColorIndex(std::uint32_t colour)
{
    colour &= 0xFFFFFFu;
    for (const ColourRow& row : kColourRows)
        if (colour == row.first || colour == row.second) return row.number;
    if (colour == kGrey8) return 8;
    if (colour == kGrey9) return 9;
    return 7;
}

std::uint32_t DxfColorToRgb(int number)
{
    if (number >= 1 && number <= 6) return kColourRows[static_cast<std::size_t>(number - 1)].first;
    if (number == 8) return kGrey8;
    if (number == 9) return kGrey9;
    return kov::platform::kBlack;
}

std::string_view DxfLineTypeName(int lineStyle)
{
    switch (lineStyle) {
    case 1:
    case 2: return "DASHED1";
    case 3: return "CENTER1";
    case 4: return "PHANTOM1";
    case 5: return "ADD_LINE";
    default: return "CONTINUOUS";
    }
}

int DxfLineTypeCode(std::string_view name)
{
    const auto last = name.find_last_not_of(" \t\r\n");
    const std::string n = DxfUpperAscii(last == std::string_view::npos ? std::string_view{} : name.substr(0, last + 1));
    struct Row {
        std::string_view word;
        int style;
    };
    static constexpr std::array<Row, 13> kRows{{
        {"DASHED1", 1}, {"DASHED2", 1}, {"DASHED3", 1}, {"CENTER1", 3}, {"CENTER2", 3}, {"PHANTOM1", 4},
        {"PHANTOM2", 4}, {"ADD_LINE", 5}, {"DASHED", 1}, {"CENTER", 3}, {"PHANTOM", 4}, {"DOTS", 2},
        {"HIDDEN", 2},
    }};
    for (const Row& row : kRows)
        if (endsWith(n, row.word)) return row.style;
    return 0;
}

const std::array<DxfLineType, 9>& DxfLineTypes()
{
    static const std::array<DxfLineType, 9> kTypes{{
        {"CONTINUOUS", "実線", {}, 0},
        {"DASHED1", "--  --  --  --  --  --  --  --  ", {1.25, -1.25}, 2},
        {"DASHED2", "----    ----    ----    ----    ", {2.5, -2.5}, 2},
        {"DASHED3", "------  ------  ------  ------  ", {3.75, -1.25}, 2},
        {"CENTER1", "----- - ----- - ----- - ----- - ", {6.25, -1.25, 1.25, -1.25}, 4},
        {"CENTER2", "----------  --  ----------  --  ", {12.5, -2.5, 2.5, -2.5}, 4},
        {"PHANTOM1", "--- - - --- - - --- - - --- - - ", {3.25, -1.25, 1.25, -1.25, 1.25, -1.25}, 6},
        {"PHANTOM2", "--------  -  -  --------  -  -  ", {10.0, -2.5, 1.25, -2.5, 1.25, -2.5}, 6},
        {"ADD_LINE", "-   -   -   -   -   -   -   -   ", {0.625, -1.875}, 2},
    }};
    return kTypes;
}

void DxfPaperSize(const CPlotInfo& plot, int& outX, int& outY)
{
    outX = 420;
    outY = 297;
    if (plot.PlotPaperSize == 11) {
        if (plot.PlotPaperSizeUserX > 0 && plot.PlotPaperSizeUserY > 0) {
            outX = plot.PlotPaperSizeUserX;
            outY = plot.PlotPaperSizeUserY;
        }
        return;
    }
    for (const PaperRow& row : kPapers)
        if (row.code == plot.PlotPaperSize && row.code != 2) {
            outX = row.x;
            outY = row.y;
        }
}

int DxfPaperCodeOfSize(double x, double y)
{
    for (const PaperRow& row : kPapers)
        if (std::fabs(x - row.x) < 0.01 && std::fabs(y - row.y) < 0.01) return row.code;
    return -1;
}

DxfLayerNames::DxfLayerNames(const CPlotInfo& plot, const CKovUnit& unit)
{
    auto mark = [this](int g, int l) {
        if (g >= 0 && g < 16 && l >= 0 && l < 16) listed[static_cast<std::size_t>(g)][static_cast<std::size_t>(l)] = true;
    };
    for (const auto& w : unit.m_Walls) mark(w->MWallLayer1, w->MWallLayer2);
    for (const auto& f : unit.m_Lines) mark(f->MLineLayer1, f->MLineLayer2);
    for (const auto& t : unit.m_Texts) mark(t->MTextLayer1, t->MTextLayer2);

    std::set<std::string> used{"0"};
    bool zeroTaken = false;
    for (int g = 0; g < 16; ++g) {
        for (int l = 0; l < 16; ++l) {
            const auto gi = static_cast<std::size_t>(g), li = static_cast<std::size_t>(l);
            std::string n = cleanLayerName(plot.m_Layer.m_LayerInfo[gi][li].m_strName);
            if (!n.empty()) listed[gi][li] = true;
            if (n.empty()) n = (g == 0 && l == 0) ? "0" : "L" + slotSuffix(g, l);
            // Names compare as the file holds them: without case, in code page 932 (two characters
            // that code page lacks both become "?").
            auto keyOf = [](const std::string& name) { return DxfUpperAscii(kov::platform::toCp932(name).bytes); };
            std::string key = keyOf(n);
            if (key == "0" && !zeroTaken) {
                zeroTaken = true; // the one slot that is layer "0" itself
            } else {
                while (used.count(key)) {
                    n += "_" + slotSuffix(g, l);
                    key = keyOf(n);
                }
            }
            used.insert(key);
            name[gi][li] = n;
        }
    }
}

const std::string& DxfLayerNames::of(int group, int layer) const
{
    if (group < 0 || group >= 16 || layer < 0 || layer >= 16) return m_zero;
    return name[static_cast<std::size_t>(group)][static_cast<std::size_t>(layer)];
}

} // namespace kov::io
