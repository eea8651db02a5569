// The DXF reader. The file is read as group-code/value pairs of whole lines; a first pass gathers
// the header variables, the layer table, the block definitions and the entities, a second turns the
// entities into figures and texts, expanding each INSERT with its base point, scale, rotation and
// array counts (nested inserts with a depth and cycle guard).

#include "io/DxfReader.h"

#include "io/DxfTables.h"
#include "io/DxfTexts.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Cp932.h"
#include "platform/NumberText.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <set>
#include <unordered_map>

namespace kov::io {

void DxfReadSetForm::OnInitDialog()
{
    keepPaperChecked = false;
    keepScaleChecked = false;
    options = DxfReadOptions{};
}

void DxfReadSetForm::OnOK()
{
    options.keepPaperSize = keepPaperChecked ? 1 : 0;
    options.keepScale = keepScaleChecked ? 1 : 0;
    options.third = 0;
    options.fourth = 0;
}

} // namespace kov::io

namespace {

using kov::io::DxfReadOptions;
using kov::io::DxfReadResult;
namespace text = kov::io::dxftext;

constexpr double kPi = std::numbers::pi;
// Nested inserts deeper than this are not expanded (no drawing needs more; a cycle is caught first).
constexpr int kMaxInsertDepth = 16;
// Insert cells and entity visits of one import: a huge array count or a block inserted into itself
// many times over ends here instead of running for hours.
constexpr long long kMaxWork = 4'000'000;
constexpr std::size_t kMaxMessages = 10;

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// ---- Pairs

struct Pair {
    int code = 0;
    std::string_view value;
};

class Pairs {
public:
    enum Status { OK, END, TRUNCATED, BAD_CODE };

    explicit Pairs(std::string_view data) : m_data(data)
    {
        if (m_data.substr(0, 3) == "\xEF\xBB\xBF") m_data.remove_prefix(3);
    }

    Status next(Pair& p)
    {
        if (m_peeked) {
            m_peeked = false;
            p = m_peek;
            return OK;
        }
        return read(p);
    }
    Status peek(Pair& p)
    {
        if (!m_peeked) {
            const Status s = read(m_peek);
            if (s != OK) return s;
            m_peeked = true;
        }
        p = m_peek;
        return OK;
    }
    // The line last read (1-based).
    int line() const { return m_line; }

private:
    bool readLine(std::string_view& out)
    {
        if (m_pos >= m_data.size()) return false;
        const auto nl = m_data.find('\n', m_pos);
        const std::size_t end = nl == std::string_view::npos ? m_data.size() : nl;
        out = m_data.substr(m_pos, end - m_pos);
        if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
        m_pos = nl == std::string_view::npos ? m_data.size() : nl + 1;
        ++m_line;
        return true;
    }

    // A fault is final: every later read reports it again, at the same line.
    Status read(Pair& p)
    {
        if (m_failed == OK) m_failed = readPair(p);
        return m_failed;
    }

    Status readPair(Pair& p)
    {
        std::string_view codeLine;
        if (!readLine(codeLine)) return END;
        const std::string_view c = trim(codeLine);
        int code = 0;
        const auto r = std::from_chars(c.data(), c.data() + c.size(), code);
        if (c.empty() || r.ec != std::errc() || r.ptr != c.data() + c.size()) return BAD_CODE;
        std::string_view value;
        if (!readLine(value)) return TRUNCATED;
        p.code = code;
        p.value = value;
        return OK;
    }

    std::string_view m_data;
    std::size_t m_pos = 0;
    int m_line = 0;
    bool m_peeked = false;
    Pair m_peek;
    Status m_failed = OK;
};

// A value that is no finite number reads as 0, like text that is no number.
double real(std::string_view v)
{
    const double d = kov::platform::parseDouble(v);
    return std::isfinite(d) ? d : 0.0;
}
int integer(std::string_view v) { return kov::platform::parseInt(v); }

// ---- What the first pass gathers

struct Vertex {
    double x = 0.0, y = 0.0, bulge = 0.0;
};

enum class Kind : std::uint8_t { LINE, CIRCLE, ARC, TEXT, MTEXT, POLYLINE, LWPOLYLINE, INSERT, OTHER };

enum Slot { X0, Y0, X1, Y1, V40, V41, V42, V50, V51, V44, V45, SLOTS };

struct Entity {
    Kind kind = Kind::OTHER;
    bool paperSpace = false;
    int colour = 256;                    // BYLAYER unless given
    int i70 = 0, i71 = 0, i72 = 0, i73 = 0;
    unsigned seen = 0;                   // bit per Slot read
    std::array<double, SLOTS> v{};
    std::string_view layer;              // raw bytes
    std::string_view ltype;
    std::string_view name;               // INSERT: the block
    std::string text;                    // raw bytes: TEXT code 1; MTEXT codes 3 then 1
    std::vector<Vertex> vertices;

    bool has(Slot s) const { return (seen >> s) & 1u; }
    void set(Slot s, std::string_view value)
    {
        v[s] = real(value);
        seen |= 1u << s;
    }
};

struct Block {
    double baseX = 0.0, baseY = 0.0;
    std::vector<Entity> entities;
};

struct LayerEntry {
    std::string name; // UTF-8
    int colour = 7;
    std::string_view ltype;
};

enum class Codepage { CP932, CP1252, UTF8 };

// ---- Text decoding

std::string fromCp1252(std::string_view s)
{
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
            continue;
        }
        const char32_t u = b < 0xA0 ? kHigh[b - 0x80] : b;
        if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

void appendUtf8(std::string& out, char32_t u)
{
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (u >> 18));
        out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// Bytes of the file's code page to UTF-8, with the "\U+XXXX" escapes of characters outside it.
std::string decode(std::string_view raw, Codepage cp)
{
    bool plain = true;
    for (char c : raw)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\') {
            plain = false;
            break;
        }
    if (plain) return std::string(raw);
    std::string s = cp == Codepage::UTF8 ? std::string(raw)
                    : cp == Codepage::CP1252 ? fromCp1252(raw)
                                              : kov::platform::fromCp932(raw);
    if (s.find("\\U+") == std::string::npos && s.find("\\u+") == std::string::npos) return s;
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 6 < s.size() && (s[i + 1] == 'U' || s[i + 1] == 'u') && s[i + 2] == '+'
            && isHex(s[i + 3]) && isHex(s[i + 4]) && isHex(s[i + 5]) && isHex(s[i + 6])) {
            unsigned u = 0;
            std::from_chars(s.data() + i + 3, s.data() + i + 7, u, 16);
            appendUtf8(out, static_cast<char32_t>(u));
            i += 6;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The text of a TEXT: caret-encoded control characters and the %% specials; no line breaks.
std::string textValue(std::string_view raw, Codepage cp)
{
    const std::string s = decode(raw, cp);
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '^' && i + 1 < s.size()) {
            const char n = s[i + 1];
            if (n == ' ') {
                out += '^';
                ++i;
                continue;
            }
            if (n >= '@' && n <= '_') { // a control character: none belongs in a one-line text
                ++i;
                if (n == 'I') out += ' ';
                continue;
            }
        }
        if (c == '%' && i + 2 < s.size() && s[i + 1] == '%') {
            const char k = static_cast<char>(s[i + 2] | 0x20);
            const char* special = k == 'd' ? "°" : k == 'p' ? "±" : k == 'c' ? "⌀" : k == '%' ? "%" : nullptr;
            if (special) {
                out += special;
                i += 2;
                continue;
            }
            if (k == 'o' || k == 'u' || k == 'k') { // over/underline and strike-out switches
                i += 2;
                continue;
            }
        }
        if (c == '\r' || c == '\n') continue;
        if (static_cast<unsigned char>(c) < 0x20) {
            out += ' ';
            continue;
        }
        out += c;
    }
    return out;
}

// The text of an MTEXT without its format codes; paragraphs become lines (CR LF).
std::string mtextValue(std::string_view raw, Codepage cp)
{
    const std::string s = textValue(raw, cp);
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '{' || c == '}') continue;
        if (c != '\\' || i + 1 >= s.size()) {
            out += c;
            continue;
        }
        const char k = s[++i];
        switch (k) {
        case 'P': out += "\r\n"; break;
        case 'N': out += "\r\n"; break;
        case '~': out += ' '; break;
        case '\\':
        case '{':
        case '}': out += k; break;
        case 'L': case 'l': case 'O': case 'o': case 'K': case 'k': break;
        case 'S': { // stacked fraction "a^b;" / "a/b;" / "a#b;"
            const auto end = s.find(';', i + 1);
            std::string stack = s.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
            for (char& ch : stack)
                if (ch == '^' || ch == '#') ch = '/';
            out += stack;
            i = end == std::string::npos ? s.size() : end;
            break;
        }
        case 'f': case 'F': case 'H': case 'C': case 'c': case 'T': case 'Q': case 'W': case 'A': case 'p': {
            // Font, height, colour, spacing, slant, width, alignment, paragraph: up to the semicolon.
            const auto end = s.find(';', i + 1);
            i = end == std::string::npos ? s.size() : end;
            break;
        }
        default: // not a format code: the text itself
            out += '\\';
            out += k;
            break;
        }
    }
    return out;
}

// Whether the bytes of a file that declares a western code page are in fact CP932, as some writers
// leave them (python3-ezdxf 0.18 writes ANSI_1252 into R12 headers whatever it encoded): every
// byte above 0x7F reads as CP932, and some double-byte character has a lead byte of 0x81-0x9F and
// a trail byte above 0x7F, which western text almost never has (hiragana, most kanji).
bool looksLikeCp932(std::string_view bytes)
{
    int strong = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) continue;
        if (b >= 0xA1 && b <= 0xDF) continue; // half-width kana
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (!lead || i + 1 >= bytes.size()) return false;
        const auto t = static_cast<unsigned char>(bytes[i + 1]);
        if (!((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC))) return false;
        if (b <= 0x9F && t >= 0x80) ++strong;
        ++i;
    }
    return strong > 0;
}


// ---- Affine maps in DXF coordinates: x' = a x + b y + e, y' = c x + d y + f

struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    void apply(double x, double y, double& ox, double& oy) const
    {
        ox = a * x + b * y + e;
        oy = c * x + d * y + f;
    }
    Affine operator*(const Affine& n) const // this after n
    {
        return {a * n.a + b * n.c, a * n.b + b * n.d, c * n.a + d * n.c, c * n.b + d * n.d, a * n.e + b * n.f + e,
                c * n.e + d * n.f + f};
    }
    double det() const { return a * d - b * c; }
    // Turns and uniform scale only (mirrors allowed): circles stay circles.
    bool similar() const
    {
        const double sx = std::hypot(a, c), sy = std::hypot(b, d);
        return std::fabs(sx - sy) <= 1e-9 * std::max(sx, sy) && std::fabs(a * b + c * d) <= 1e-9 * sx * sy;
    }
    double scale() const { return std::sqrt(std::fabs(det())); }
    static Affine translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Affine scaling(double x, double y) { return {x, 0, 0, y, 0, 0}; }
    static Affine rotation(double deg)
    {
        const double r = deg * kPi / 180.0;
        const double cs = std::cos(r), sn = std::sin(r);
        return {cs, -sn, sn, cs, 0, 0};
    }
};

// ---- The reader

class Reader {
public:
    Reader(CKovUnit& unit, CPlotInfo& plot, const CFontMenu& currentFont, const DxfReadOptions& options,
           DxfReadResult& result)
        : m_unit(unit), m_plot(plot), m_options(options), m_result(result)
    {
        // Texts start from this font; the user's own current font is left as it is.
        m_font.lfFaceName = "ＭＳ ゴシック";
        m_font.m_size = 9.5;
        m_font.lfHeight = 0;
        m_font.m_tate_align = 2;
        m_font.m_gyoukan = currentFont.m_gyoukan;
        const double s = plot.m_Layer.m_dScale[static_cast<std::size_t>(
            std::clamp(plot.m_Layer.m_nCurrentGroup, 0, CLayer::kUsed - 1))];
        m_w = 420.0 * s;
        m_h = 297.0 * s;
    }

    void run(std::string_view bytes)
    {
        firstPass(bytes);
        if (m_codepage == Codepage::CP1252 && looksLikeCp932(bytes)) m_codepage = Codepage::CP932;
        finishHeader();
        nameLayers();
        const Affine identity;
        const Context top{identity, 7, 0, {}, 0};
        for (const Entity& e : m_entities) {
            if (m_full) break;
            build(e, top);
        }
        finish();
    }

private:
    struct Context {
        Affine m;
        int colour;             // what BYBLOCK means here: the insert's colour number
        int lineStyle;          // and its line style
        std::string_view layer; // the insert's layer, for entities of layer "0"
        int depth;
    };

    // ---- first pass

    // Each message once, and no more than a user reads: a file of a million missing blocks says so
    // a few times, not a million.
    void problem(std::string m)
    {
        if (m_result.messages.size() >= kMaxMessages || !m_told.insert(m).second) return;
        m_result.messages.push_back(std::move(m));
    }

    void firstPass(std::string_view bytes)
    {
        Pairs pairs(bytes);
        enum { NONE, HEADER, TABLES, BLOCKS, ENTITIES, OTHER } section = NONE;
        std::string_view table;
        std::string_view variable;
        Block* block = nullptr;
        double pendingX = 0.0;
        Pair p;
        for (;;) {
            const Pairs::Status st = pairs.next(p);
            if (st == Pairs::END) {
                if (section != NONE) problem(text::withArgument(text::kTruncated, std::to_string(pairs.line())));
                return;
            }
            if (st != Pairs::OK) {
                reportBroken(st, pairs);
                return;
            }
            if (p.code == 0) {
                const std::string_view kw = trim(p.value);
                if (kw == "EOF") return;
                if (kw == "SECTION") {
                    Pair name;
                    if (pairs.peek(name) == Pairs::OK && name.code == 2) {
                        pairs.next(name);
                        const std::string_view n = trim(name.value);
                        section = n == "HEADER" ? HEADER : n == "TABLES" ? TABLES : n == "BLOCKS" ? BLOCKS
                                  : n == "ENTITIES" ? ENTITIES : OTHER;
                    } else {
                        section = OTHER;
                    }
                    continue;
                }
                if (kw == "ENDSEC") {
                    section = NONE;
                    block = nullptr;
                    continue;
                }
                if (section == TABLES) {
                    if (kw == "TABLE") {
                        table = {};
                        Pair q;
                        while (pairs.peek(q) == Pairs::OK && q.code != 0) {
                            pairs.next(q);
                            if (q.code == 2) table = trim(q.value);
                        }
                    } else if (kw == "ENDTAB") {
                        table = {};
                    } else if (kw == "LAYER" && table == "LAYER") {
                        readLayer(pairs);
                    }
                    continue;
                }
                if (section == BLOCKS) {
                    if (kw == "BLOCK") {
                        block = readBlock(pairs);
                        continue;
                    }
                    if (kw == "ENDBLK") {
                        block = nullptr;
                        continue;
                    }
                    Entity e;
                    if (readEntity(kw, pairs, e) && block) block->entities.push_back(std::move(e));
                    continue;
                }
                if (section == ENTITIES) {
                    Entity e;
                    if (readEntity(kw, pairs, e) && !e.paperSpace) m_entities.push_back(std::move(e));
                    continue;
                }
                continue;
            }
            if (section != HEADER) continue;
            // Header variables act in file order.
            if (p.code == 9) {
                variable = trim(p.value);
                continue;
            }
            const bool ext = variable == "$EXTMAX" || variable == "$EXTMIN";
            const bool lim = variable == "$LIMMAX" || variable == "$LIMMIN";
            if ((ext || lim) && p.code == 10) {
                pendingX = real(p.value);
            } else if ((ext || lim) && p.code == 20) {
                const double y = real(p.value);
                // Writers mark "no extents yet" with ±1e20: such a corner places nothing.
                const bool unset = std::fabs(pendingX) >= 1e19 || std::fabs(y) >= 1e19;
                if (!unset && (lim || m_limitCount == 0)) {
                    if (variable == "$EXTMAX" || variable == "$LIMMAX") {
                        m_w = pendingX;
                        m_h = y;
                    } else {
                        m_w -= pendingX;
                        m_h -= y;
                    }
                    if (lim) ++m_limitCount;
                }
            } else if (variable == "$LTSCALE" && p.code == 40) {
                const double v = real(p.value);
                if (v >= 1.0 && v <= 20000.0 && !m_options.keepScale) m_plot.m_Layer.SetAllScales(v);
            } else if (variable == "$ACADVER" && p.code == 1) {
                const std::string_view ver = trim(p.value);
                if (ver.size() >= 6 && ver.substr(0, 2) == "AC" && ver.substr(2) >= "1021") m_codepage = Codepage::UTF8;
            } else if (variable == "$DWGCODEPAGE" && p.code == 3 && m_codepage != Codepage::UTF8) {
                const std::string cp = kov::io::DxfUpperAscii(trim(p.value));
                m_codepage = cp.find("932") != std::string::npos ? Codepage::CP932
                             : cp.find("UTF8") != std::string::npos || cp.find("UTF-8") != std::string::npos
                                 ? Codepage::UTF8
                                 : Codepage::CP1252;
            }
        }
    }

    void reportBroken(Pairs::Status st, const Pairs& pairs)
    {
        if (st == Pairs::TRUNCATED) problem(text::withArgument(text::kTruncated, std::to_string(pairs.line())));
        else problem(text::withArgument(text::kBadGroupCode, std::to_string(pairs.line())));
    }

    // Reads pairs up to the next code 0, handing each to `take`.
    template <class F>
    void body(Pairs& pairs, F&& take)
    {
        Pair q;
        for (;;) {
            const Pairs::Status st = pairs.peek(q);
            if (st != Pairs::OK) {
                // The caller's loop meets the same status and reports it.
                return;
            }
            if (q.code == 0) return;
            pairs.next(q);
            take(q);
        }
    }

    void readLayer(Pairs& pairs)
    {
        std::string_view name;
        int colour = 7;
        std::string_view ltype;
        body(pairs, [&](const Pair& q) {
            if (q.code == 2) name = q.value;
            else if (q.code == 62) colour = integer(q.value);
            else if (q.code == 6) ltype = trim(q.value);
        });
        m_rawLayers.push_back({name, colour, ltype});
    }

    Block* readBlock(Pairs& pairs)
    {
        std::string_view name;
        Block b;
        body(pairs, [&](const Pair& q) {
            if (q.code == 2) name = trim(q.value);
            else if (q.code == 10) b.baseX = real(q.value);
            else if (q.code == 20) b.baseY = real(q.value);
        });
        // The first definition of a name is the block (names compare without case, as DXF does).
        auto [it, inserted] = m_blocks.try_emplace(kov::io::DxfUpperAscii(name), std::move(b));
        return inserted ? &it->second : nullptr;
    }

    static Kind kindOf(std::string_view kw)
    {
        if (kw == "LINE") return Kind::LINE;
        if (kw == "CIRCLE") return Kind::CIRCLE;
        if (kw == "ARC") return Kind::ARC;
        if (kw == "TEXT") return Kind::TEXT;
        if (kw == "MTEXT") return Kind::MTEXT;
        if (kw == "POLYLINE") return Kind::POLYLINE;
        if (kw == "LWPOLYLINE") return Kind::LWPOLYLINE;
        if (kw == "INSERT") return Kind::INSERT;
        return Kind::OTHER;
    }

    // Reads one entity after its keyword; false for kinds that make nothing.
    bool readEntity(std::string_view kw, Pairs& pairs, Entity& e)
    {
        e.kind = kindOf(kw);
        if (e.kind == Kind::OTHER) {
            body(pairs, [](const Pair&) {});
            return false;
        }
        std::string mtextHead;
        body(pairs, [&](const Pair& q) {
            switch (q.code) {
            case 8: e.layer = trim(q.value); return;
            case 6: e.ltype = trim(q.value); return;
            case 62: e.colour = integer(q.value); return;
            case 67: e.paperSpace = integer(q.value) != 0; return;
            default: break;
            }
            switch (e.kind) {
            case Kind::LWPOLYLINE:
                if (q.code == 10) e.vertices.push_back({real(q.value), 0.0, 0.0});
                else if (q.code == 20 && !e.vertices.empty()) e.vertices.back().y = real(q.value);
                else if (q.code == 42 && !e.vertices.empty()) e.vertices.back().bulge = real(q.value);
                else if (q.code == 70) e.i70 = integer(q.value);
                return;
            case Kind::TEXT:
            case Kind::MTEXT:
                if (q.code == 1) e.text.append(q.value);
                else if (q.code == 3) mtextHead.append(q.value);
                break;
            case Kind::INSERT:
                if (q.code == 2) e.name = trim(q.value);
                break;
            default: break;
            }
            switch (q.code) {
            case 10: e.set(X0, q.value); break;
            case 20: e.set(Y0, q.value); break;
            case 11: e.set(X1, q.value); break;
            case 21: e.set(Y1, q.value); break;
            case 40: e.set(V40, q.value); break;
            case 41: e.set(V41, q.value); break;
            case 42: e.set(V42, q.value); break;
            case 50: e.set(V50, q.value); break;
            case 51: e.set(V51, q.value); break;
            case 44: e.set(V44, q.value); break;
            case 45: e.set(V45, q.value); break;
            case 70: e.i70 = integer(q.value); break;
            case 71: e.i71 = integer(q.value); break;
            case 72: e.i72 = integer(q.value); break;
            case 73: e.i73 = integer(q.value); break;
            default: break;
            }
        });
        if (e.kind == Kind::MTEXT && !mtextHead.empty()) e.text = mtextHead + e.text;
        if (e.kind == Kind::POLYLINE) readVertices(pairs, e);
        return true;
    }

    // The VERTEX entities of a POLYLINE up to its SEQEND (or whatever entity comes first).
    void readVertices(Pairs& pairs, Entity& e)
    {
        Pair q;
        while (pairs.peek(q) == Pairs::OK && q.code == 0) {
            const std::string_view kw = trim(q.value);
            if (kw == "VERTEX") {
                pairs.next(q);
                Vertex v;
                int flags = 0;
                body(pairs, [&](const Pair& r) {
                    if (r.code == 10) v.x = real(r.value);
                    else if (r.code == 20) v.y = real(r.value);
                    else if (r.code == 42) v.bulge = real(r.value);
                    else if (r.code == 70) flags = integer(r.value);
                });
                // Frame points of a fitted spline are not on the line.
                if (!(flags & 16)) e.vertices.push_back(v);
                continue;
            }
            if (kw == "SEQEND") {
                pairs.next(q);
                body(pairs, [](const Pair&) {});
            }
            return;
        }
    }

    // ---- between the passes

    void finishHeader()
    {
        if (m_options.keepPaperSize || m_limitCount < 2) return;
        const double s = m_plot.m_Layer.m_dScale[0];
        if (!(s > 0.0)) return;
        // The limits are drawing units: the paper is what they measure at the drawing's scale.
        const double pw = m_w / s, ph = m_h / s;
        const int code = kov::io::DxfPaperCodeOfSize(pw, ph);
        if (code >= 0) {
            m_plot.PlotPaperSize = code;
            return;
        }
        if (!std::isfinite(pw) || !std::isfinite(ph)) return;
        if (pw > 1189.0 || ph > 841.0) {
            m_plot.PlotPaperSize = 11;
            m_plot.PlotPaperSizeUserX = 1189;
            m_plot.PlotPaperSizeUserY = 841;
            return;
        }
        const long ux = std::lround(pw), uy = std::lround(ph);
        if (ux <= 0 || uy <= 0) return; // no paper of no size: the document keeps its own
        m_plot.PlotPaperSize = 11;
        m_plot.PlotPaperSizeUserX = static_cast<int>(ux);
        m_plot.PlotPaperSizeUserY = static_cast<int>(uy);
    }

    void nameLayers()
    {
        m_layers.reserve(m_rawLayers.size());
        for (std::size_t n = 0; n < m_rawLayers.size(); ++n) {
            const RawLayer& raw = m_rawLayers[n];
            LayerEntry entry{decode(raw.name, m_codepage), raw.colour, raw.ltype};
            if (n < 256)
                m_plot.m_Layer.m_LayerInfo[n / 16][n % 16].m_strName = entry.name;
            m_layerIndex.try_emplace(kov::io::DxfUpperAscii(entry.name), n);
            m_layers.push_back(std::move(entry));
        }
        m_textScale = m_plot.m_Layer.m_dScale[0] > 0.0 ? m_plot.m_Layer.m_dScale[0] : 1.0;
    }

    // ---- second pass

    const LayerEntry* layerOf(std::string_view rawName)
    {
        if (m_layers.empty()) return nullptr;
        if (rawName != m_lastLayerName || !m_lastLayer) {
            const auto it = m_layerIndex.find(kov::io::DxfUpperAscii(decode(rawName, m_codepage)));
            // A layer the table lacks takes the first entry's colour and line type.
            m_lastLayer = it == m_layerIndex.end() ? &m_layers.front() : &m_layers[it->second];
            m_lastLayerName = rawName;
        }
        return m_lastLayer;
    }

    std::string_view layerName(const Entity& e, const Context& ctx) const
    {
        if (ctx.depth > 0 && (e.layer == "0" || e.layer.empty())) return ctx.layer;
        return e.layer;
    }

    int colourNumber(const Entity& e, const Context& ctx)
    {
        int c = std::abs(e.colour);
        if (c == 0) return ctx.colour;
        if (c == 256) {
            const LayerEntry* l = layerOf(layerName(e, ctx));
            c = l ? std::abs(l->colour) : 7;
            if (c == 0 || c == 256) c = 7;
        }
        return c;
    }

    int lineStyle(const Entity& e, const Context& ctx)
    {
        const std::string name = kov::io::DxfUpperAscii(e.ltype);
        if (name == "BYBLOCK") return ctx.lineStyle;
        if (name.empty() || name == "BYLAYER") {
            const LayerEntry* l = layerOf(layerName(e, ctx));
            return l ? kov::io::DxfLineTypeCode(l->ltype) : 0;
        }
        return kov::io::DxfLineTypeCode(name);
    }

    CDbPoint toDrawing(const Affine& m, double x, double y) const
    {
        double X = 0.0, Y = 0.0;
        m.apply(x, y, X, Y);
        return {X - m_w / 2.0, m_h / 2.0 - Y};
    }

    bool spend(long long work = 1)
    {
        m_work += work;
        if (m_work <= kMaxWork) return true;
        problem(text::withArgument(text::kTooMany, std::to_string(kMaxWork)));
        m_full = true;
        return false;
    }

    void addFigure(int kind, CDbPointArray points, std::vector<double> params, const Entity& e, const Context& ctx)
    {
        const int id = m_unit.NextLineId();
        if (id == CKovUnit::kNoFreeId) {
            problem(text::withArgument(text::kTooMany, std::to_string(CKovUnit::kLineIdLimit)));
            m_full = true;
            return;
        }
        auto f = std::make_unique<CKovLine>();
        f->MLineID = id;
        f->MLineType = kind;
        f->MLinePnt = std::move(points);
        f->MLineParam = std::move(params);
        f->MLineColor = kov::io::DxfColorToRgb(colourNumber(e, ctx));
        f->MLineLineT = lineStyle(e, ctx);
        f->MLineWide = 1;
        f->MLineTanten = 0;
        if (kind != CKovLine::LINE) {
            f->MLinebNakanuri = 0;
            f->MLineNakaColor = 0;
            f->MLinebHach = 0;
        }
        m_unit.m_Lines.Add(std::move(f));
        ++m_result.figures;
    }

    // Points of the arc about (cx, cy) of radius r from angle a0 through `sweep` degrees (DXF sense).
    static void arcPoints(std::vector<std::pair<double, double>>& out, double cx, double cy, double r, double a0,
                          double sweep, bool withFirst)
    {
        const int n = std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / 5.0)), 1, 72);
        for (int k = withFirst ? 0 : 1; k <= n; ++k) {
            const double t = (a0 + sweep * k / n) * kPi / 180.0;
            out.push_back({cx + r * std::cos(t), cy + r * std::sin(t)});
        }
    }

    // A polyline's points with the arc segments of its bulges laid out (DXF coordinates).
    static std::vector<std::pair<double, double>> polylinePoints(const std::vector<Vertex>& v, bool closed)
    {
        std::vector<std::pair<double, double>> out;
        out.reserve(v.size());
        for (std::size_t i = 0; i < v.size(); ++i) {
            out.push_back({v[i].x, v[i].y});
            const bool last = i + 1 == v.size();
            if (last && !closed) break;
            const Vertex& a = v[i];
            const Vertex& b = v[last ? 0 : i + 1];
            const double bulge = a.bulge;
            const double dx = b.x - a.x, dy = b.y - a.y, chord = std::hypot(dx, dy);
            if (bulge == 0.0 || !std::isfinite(bulge) || chord == 0.0 || std::fabs(bulge) > 1e6) continue;
            const double theta = 4.0 * std::atan(bulge); // signed sweep, counter-clockwise positive
            const double offset = chord / 2.0 * (1.0 - bulge * bulge) / (2.0 * bulge);
            const double cx = (a.x + b.x) / 2.0 - dy / chord * offset;
            const double cy = (a.y + b.y) / 2.0 + dx / chord * offset;
            const double r = std::hypot(a.x - cx, a.y - cy);
            const double a0 = std::atan2(a.y - cy, a.x - cx) * 180.0 / kPi;
            const std::size_t before = out.size();
            arcPoints(out, cx, cy, r, a0, theta * 180.0 / kPi, false);
            if (out.size() > before) out.pop_back(); // the next vertex itself follows
        }
        return out;
    }

    void build(const Entity& e, const Context& ctx)
    {
        if (!spend()) return;
        const Affine& m = ctx.m;
        switch (e.kind) {
        case Kind::LINE:
            if (e.has(X0) && e.has(Y0) && e.has(X1))
                addFigure(CKovLine::LINE, {toDrawing(m, e.v[X0], e.v[Y0]), toDrawing(m, e.v[X1], e.v[Y1])}, {}, e, ctx);
            break;
        case Kind::CIRCLE:
        case Kind::ARC: buildCurve(e, ctx); break;
        case Kind::POLYLINE:
        case Kind::LWPOLYLINE: {
            // Polygon and polyface meshes are surfaces, not outlines.
            if (e.kind == Kind::POLYLINE && (e.i70 & (16 | 64))) break;
            const bool closed = (e.i70 & 1) != 0;
            const auto pts = polylinePoints(e.vertices, closed);
            if (pts.size() < 2) break;
            CDbPointArray points;
            points.reserve(pts.size());
            for (const auto& [x, y] : pts) points.push_back(toDrawing(m, x, y));
            addFigure(closed ? CKovLine::POLYGON : CKovLine::CONTINUOUS, std::move(points), {}, e, ctx);
            break;
        }
        case Kind::TEXT:
        case Kind::MTEXT: buildText(e, ctx); break;
        case Kind::INSERT: insert(e, ctx); break;
        case Kind::OTHER: break;
        }
    }

    void buildCurve(const Entity& e, const Context& ctx)
    {
        const Affine& m = ctx.m;
        const double r = e.v[V40];
        if (!(r > 0.0) || !std::isfinite(r)) return; // a circle of no size draws nothing
        const double cx = e.v[X0], cy = e.v[Y0];
        const bool arc = e.kind == Kind::ARC;
        if (m.similar()) {
            const double rr = r * m.scale();
            const CDbPoint c = toDrawing(m, cx, cy);
            if (!arc) {
                addFigure(CKovLine::CIRCLE, {c}, {rr}, e, ctx);
                return;
            }
            const double a1 = e.v[V50] * kPi / 180.0, a2 = e.v[V51] * kPi / 180.0;
            CDbPoint s = toDrawing(m, cx + r * std::cos(a1), cy + r * std::sin(a1));
            CDbPoint t = toDrawing(m, cx + r * std::cos(a2), cy + r * std::sin(a2));
            if (m.det() < 0.0) std::swap(s, t); // a mirror runs the arc the other way
            addFigure(CKovLine::ARC, {c, s, t}, {rr}, e, ctx);
            return;
        }
        if (!arc && m.b == 0.0 && m.c == 0.0 && m.a != 0.0) {
            const double rx = r * std::fabs(m.a);
            addFigure(CKovLine::CIRCLE, {toDrawing(m, cx, cy)}, {rx, std::fabs(m.d / m.a)}, e, ctx);
            return;
        }
        // Stretched unevenly at a slant: its outline as points.
        std::vector<std::pair<double, double>> pts;
        double sweep = 360.0;
        if (arc) {
            sweep = e.v[V51] - e.v[V50];
            while (sweep <= 0.0) sweep += 360.0;
        }
        arcPoints(pts, cx, cy, r, arc ? e.v[V50] : 0.0, sweep, true);
        if (!arc) pts.pop_back();
        CDbPointArray points;
        for (const auto& [x, y] : pts) points.push_back(toDrawing(m, x, y));
        addFigure(arc ? CKovLine::CONTINUOUS : CKovLine::POLYGON, std::move(points), {}, e, ctx);
    }

    void buildText(const Entity& e, const Context& ctx)
    {
        const Affine& m = ctx.m;
        const bool mtext = e.kind == Kind::MTEXT;
        std::string s = mtext ? mtextValue(e.text, m_codepage) : textValue(e.text, m_codepage);
        if (s.empty()) return;
        int hAlign = 0, vAlign = 2;
        double x = e.v[X0], y = e.v[Y0];
        double angle = e.has(V50) ? e.v[V50] : 0.0;
        if (mtext) {
            if (e.i71 >= 1 && e.i71 <= 9) {
                hAlign = (e.i71 - 1) % 3;
                vAlign = (e.i71 - 1) / 3;
            } else {
                vAlign = 0;
            }
            if (!e.has(V50) && e.has(X1) && (e.v[X1] != 0.0 || e.v[Y1] != 0.0))
                angle = std::atan2(e.v[Y1], e.v[X1]) * 180.0 / kPi;
        } else if ((e.i72 != 0 || e.i73 != 0) && e.has(X1) && e.i72 != 3 && e.i72 != 5) {
            // Aligned by the second point.
            x = e.v[X1];
            y = e.v[Y1];
            hAlign = e.i72 == 4 ? 1 : std::clamp(e.i72, 0, 2);
            vAlign = e.i72 == 4 ? 1 : e.i73 == 3 ? 0 : e.i73 == 2 ? 1 : 2;
        }
        const int id = m_unit.NextTextId();
        if (id == CKovUnit::kNoFreeId) {
            problem(text::withArgument(text::kTooMany, std::to_string(CKovUnit::kTextIdLimit)));
            m_full = true;
            return;
        }
        auto t = std::make_unique<CKovText>();
        t->MTextID = id;
        t->MTextstr = std::move(s);
        t->MTextpnt = toDrawing(m, x, y);
        t->MTextFontMenu = m_font;
        CFontMenu& font = t->MTextFontMenu;
        const double heightScale = std::hypot(m.b, m.d);
        if (e.has(V40) && e.v[V40] > 0.0 && std::isfinite(e.v[V40]))
            font.m_size = e.v[V40] * heightScale / m_textScale;
        double turned = angle + std::atan2(m.c, m.a) * 180.0 / kPi;
        if (!std::isfinite(turned)) turned = 0.0;
        turned = std::fmod(turned, 360.0);
        if (turned < 0.0) turned += 360.0;
        font.lfEscapement = static_cast<std::int32_t>(std::lround(turned * 10.0)) % 3600;
        font.lfOrientation = font.lfEscapement;
        font.m_toko_align = hAlign;
        font.m_tate_align = vAlign;
        m_unit.m_Texts.Add(std::move(t));
        ++m_result.texts;
    }

    void insert(const Entity& e, const Context& ctx)
    {
        const std::string key = kov::io::DxfUpperAscii(e.name);
        const auto it = m_blocks.find(key);
        const std::string shown = decode(e.name, m_codepage);
        if (it == m_blocks.end()) {
            problem(text::withArgument(text::kMissingBlock, shown));
            return;
        }
        if (std::find(m_stack.begin(), m_stack.end(), key) != m_stack.end()) {
            problem(text::withArgument(text::kSelfInsert, shown));
            return;
        }
        if (ctx.depth >= kMaxInsertDepth) {
            problem(text::withArgument(text::kTooDeep, shown));
            return;
        }
        const Block& block = it->second;
        const double sx = e.has(V41) ? e.v[V41] : 1.0;
        const double sy = e.has(V42) ? e.v[V42] : 1.0;
        if (sx == 0.0 || sy == 0.0 || !std::isfinite(sx) || !std::isfinite(sy)) return;
        const long long cols = std::max(1, e.i70), rows = std::max(1, e.i71);
        const double cs = e.v[V44], rs = e.v[V45];
        const Affine place = ctx.m * Affine::translate(e.v[X0], e.v[Y0]) * Affine::rotation(e.v[V50]);
        const Affine local = Affine::scaling(sx, sy) * Affine::translate(-block.baseX, -block.baseY);
        Context inner{Affine{}, colourNumber(e, ctx), lineStyle(e, ctx), layerName(e, ctx), ctx.depth + 1};
        if (inner.colour == 0 || inner.colour == 256) inner.colour = 7;
        m_stack.push_back(key);
        for (long long r = 0; r < rows && !m_full; ++r) {
            for (long long c = 0; c < cols && !m_full; ++c) {
                if (!spend()) break;
                inner.m = place * Affine::translate(c * cs, r * rs) * local;
                for (const Entity& child : block.entities) {
                    if (m_full) break;
                    build(child, inner);
                }
            }
        }
        m_stack.pop_back();
    }

    void finish()
    {
        CLayer& layers = m_plot.m_Layer;
        layers.m_nCurrentGroup = 0;
        layers.m_nCurrentLayer = 0;
        for (int g = 1; g < CLayer::kUsed; ++g) layers.m_dScale[static_cast<std::size_t>(g)] = layers.m_dScale[0];
    }

    struct RawLayer {
        std::string_view name;
        int colour;
        std::string_view ltype;
    };

    CKovUnit& m_unit;
    CPlotInfo& m_plot;
    const DxfReadOptions& m_options;
    DxfReadResult& m_result;
    CFontMenu m_font;
    double m_w = 0.0, m_h = 0.0;
    int m_limitCount = 0;
    double m_textScale = 1.0;
    Codepage m_codepage = Codepage::CP932;
    bool m_full = false;
    long long m_work = 0;
    std::vector<RawLayer> m_rawLayers;
    std::vector<LayerEntry> m_layers;
    std::unordered_map<std::string, std::size_t> m_layerIndex;
    std::unordered_map<std::string, Block> m_blocks;
    std::vector<Entity> m_entities;
    std::vector<std::string> m_stack;
    std::set<std::string> m_told;
    std::string_view m_lastLayerName;
    const LayerEntry* m_lastLayer = nullptr;
};

} // namespace

kov::io::DxfReadResult CKovUnit::ReadDxf(std::string_view fileBytes, SelectionRecord& selection, CPlotInfo& plot,
                                         const CFontMenu& currentFont, const kov::io::DxfReadOptions& options)
{
    DxfReadResult result;
    selection.Clear();
    if (fileBytes.substr(0, 18) == "AutoCAD Binary DXF") {
        result.messages.emplace_back(text::kBinaryDxf);
        return result;
    }
    result.read = true;
    Reader reader(*this, plot, currentFont, options, result);
    reader.run(fileBytes);
    selection.Clear();
    return result;
}

kov::io::DxfReadResult CKovUnit::ReadDxfFile(const std::filesystem::path& path, SelectionRecord& selection,
                                             CPlotInfo& plot, const CFontMenu& currentFont,
                                             const kov::io::DxfReadOptions& options)
{
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly)) {
        DxfReadResult result;
        selection.Clear();
        result.messages.push_back(text::withArgument(text::kOpenFailed, path.string()));
        return result;
    }
    const QByteArray bytes = file.readAll();
    return ReadDxf(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), selection, plot,
                   currentFont, options);
}
