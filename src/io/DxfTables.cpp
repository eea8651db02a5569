#include "io/DxfTables.h"

#include "model/KovUnit.h"
#include "model/PaperSizes.h"
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

// Paper codes the reader recognises by size, in the order tried: codes 0-10 but the user size.
constexpr std::array<int, 11> kReadPapers{4, 3, 2, 0, 1, 5, 6, 7, 8, 9, 10};

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
    case 1: return "DASHED";
    case 2: return "DOT";
    case 3: return "CENTER";
    case 4: return "DIVIDE";
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
    // Longer words first: DASHDOT before DOT.
    static constexpr std::array<Row, 24> kRows{{
        {"DASHED1", 1}, {"DASHED2", 1}, {"DASHED3", 1}, {"CENTER1", 3}, {"CENTER2", 3}, {"PHANTOM1", 4},
        {"PHANTOM2", 4}, {"ADD_LINE", 5}, {"DASHED", 1}, {"CENTER", 3}, {"PHANTOM", 4}, {"DOTS", 2},
        {"HIDDEN", 2}, {"DASHDOT", 3}, {"DASHDOT2", 3}, {"DASHDOTX2", 3}, {"DIVIDE", 4}, {"DIVIDE2", 4},
        {"DIVIDEX2", 4}, {"DASHEDX2", 1}, {"CENTERX2", 3}, {"DOT", 2}, {"DOT2", 2}, {"DOTX2", 2},
    }};
    for (const Row& row : kRows)
        if (endsWith(n, row.word)) return row.style;
    return 0;
}

const std::array<DxfLineType, 6>& DxfLineTypes()
{
    static const std::array<DxfLineType, 6> kTypes{{
        {"CONTINUOUS", "実線", {}, 0},
        {"DASHED", "__  __  __  __  __  __  __  __  ", {1.25, -1.25}, 2},
        {"DOT", ".  .  .  .  .  .  .  .  .  .  .  ", {0.0, -0.75}, 2},
        {"CENTER", "____ _ ____ _ ____ _ ____ _ ", {6.25, -1.25, 1.25, -1.25}, 4},
        {"DIVIDE", "___ . . ___ . . ___ . . ___ . . ", {3.25, -1.25, 0.0, -1.25, 0.0, -1.25}, 6},
        {"ADD_LINE", "-   -   -   -   -   -   -   -   ", {0.625, -1.875}, 2},
    }};
    return kTypes;
}

std::string DxfTextValue(std::string_view utf8)
{
    // Most texts: every character in the code page, none of the three specials.
    const bool specials = utf8.find("\xC2\xB0") != std::string_view::npos || utf8.find("\xC2\xB1") != std::string_view::npos
                          || utf8.find("\xE2\x8C\x80") != std::string_view::npos;
    if (!specials && utf8.find_first_of("\r\n") == std::string_view::npos) {
        kov::platform::Cp932Text whole = kov::platform::toCp932(utf8);
        if (whole.replaced == 0) return std::move(whole.bytes);
    }
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            if (b != '\r' && b != '\n') out += static_cast<char>(b);
            ++i;
            continue;
        }
        // One character of UTF-8 (an invalid byte goes alone).
        const std::size_t len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        const std::string_view ch = utf8.substr(i, len);
        i += ch.size();
        char32_t cp = 0;
        if (ch.size() == len && len > 1) {
            cp = b & (0x7F >> len);
            for (std::size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(ch[k]) & 0x3F);
        }
        switch (cp) {
        case 0x00B0: out += "%%d"; continue;
        case 0x00B1: out += "%%p"; continue;
        case 0x2300: out += "%%c"; continue;
        default: break;
        }
        const kov::platform::Cp932Text t = kov::platform::toCp932(ch);
        if (t.replaced == 0) {
            out += t.bytes;
        } else if (cp > 0 && cp <= 0xFFFF) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\U+";
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(cp >> shift) & 0xF];
        } else {
            out += '?';
        }
    }
    return out;
}

void DxfPaperSize(const CPlotInfo& plot, int& outX, int& outY)
{
    outX = 420;
    outY = 297;
    // A user size of 0 or less is no paper: the default sheet.
    if (plot.PlotPaperSize == kov::model::kUserPaperCode && (plot.PlotPaperSizeUserX <= 0 || plot.PlotPaperSizeUserY <= 0))
        return;
    int w = 0, h = 0;
    if (kov::model::GetPaperSizeMm(plot, w, h) && w > 0 && h > 0) {
        outX = w;
        outY = h;
    }
}

int DxfPaperCodeOfSize(double x, double y)
{
    auto near = [&](int w, int h) { return std::fabs(x - w) < 0.01 && std::fabs(y - h) < 0.01; };
    for (int code : kReadPapers) {
        int w = 0, h = 0;
        kov::model::GetPaperSizeMm(code, 0, 0, w, h);
        if (near(w, h)) return code;
        if (code == 4 && near(840, 594)) return code;
    }
    return -1;
}

int DxfSheetScale(const CPlotInfo& plot)
{
    const int g = std::clamp(plot.m_Layer.m_nCurrentGroup, 0, CLayer::kUsed - 1);
    const double scale = plot.m_Layer.m_dScale[static_cast<std::size_t>(g)];
    const int s = std::isfinite(scale) && std::fabs(scale) < 1e9 ? static_cast<int>(scale) : 0;
    return s == 0 ? 1 : s;
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
