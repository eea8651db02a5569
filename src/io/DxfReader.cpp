// The DXF reader. The file is read as group-code/value pairs of whole lines; a first pass gathers
// the header variables, the layer table, the block definitions and the entities, a second turns the
// entities into figures and texts, expanding each INSERT with its base point, scale, rotation and
// array counts (nested inserts with a depth and cycle guard).

#include "io/DxfReader.h"

#include "io/DxfTables.h"
#include "io/DxfTexts.h"

#include "model/KovUnit.h"
#include "model/PaperSizes.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Cp932.h"
#include "platform/NumberText.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
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
    // Lines end in LF, CR LF or a lone CR (the old Macintosh files).
    bool readLine(std::string_view& out)
    {
        if (m_pos >= m_data.size()) return false;
        const char* begin = m_data.data() + m_pos;
        const std::size_t left = m_data.size() - m_pos;
        const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', left));
        const std::size_t upToLf = lf ? static_cast<std::size_t>(lf - begin) : left;
        const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', upToLf));
        std::size_t length = upToLf, next = lf ? upToLf + 1 : left;
        if (cr) {
            length = static_cast<std::size_t>(cr - begin);
            next = length + 1;
            if (next == upToLf && lf) ++next; // CR LF
        }
        out = std::string_view(begin, length);
        m_pos += next;
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

enum class Kind : std::uint8_t { LINE, CIRCLE, ARC, TEXT, MTEXT, POLYLINE, LWPOLYLINE, INSERT, SOLID, ELLIPSE,
                                 DIMENSION, OTHER };

enum Slot { X0, Y0, X1, Y1, X2, Y2, X3, Y3, V40, V41, V42, V50, V51, V44, V45, NX, NY, NZ, SLOTS };

struct Entity {
    Kind kind = Kind::OTHER;
    bool paperSpace = false;
    int colour = 256;                    // BYLAYER unless given
    int i70 = 0, i71 = 0, i72 = 0, i73 = 0;
    unsigned seen = 0;                   // bit per Slot read
    std::array<double, SLOTS> v{};
    std::string_view layer;              // raw bytes
    std::string_view ltype;
    std::string_view name;               // INSERT and DIMENSION: the block
    std::string text;                    // raw bytes: TEXT code 1; MTEXT codes 3 then 1
    std::vector<Vertex> vertices;

    bool has(Slot s) const { return (seen >> s) & 1u; }
    void set(Slot s, std::string_view value)
    {
        v[s] = real(value);
        seen |= 1u << s;
    }
    // The extrusion direction (210, 220, 230): the plane the entity's own coordinates lie in.
    enum class Plane { UP, DOWN, TILTED };
    Plane plane() const
    {
        if (!has(NX) && !has(NY) && !has(NZ)) return Plane::UP;
        const double x = v[NX], y = v[NY], z = has(NZ) ? v[NZ] : 0.0;
        const double len = std::sqrt(x * x + y * y + z * z);
        // Only the Z axis itself, either way up, is a plane of the drawing.
        if (!(len > 0.0) || !std::isfinite(len) || std::fabs(x) > 1e-9 * len || std::fabs(y) > 1e-9 * len)
            return Plane::TILTED;
        return z > 0.0 ? Plane::UP : Plane::DOWN;
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
    }

    // False when the bytes hold no DXF at all; the plot settings are then untouched.
    bool run(std::string_view bytes)
    {
        firstPass(bytes);
        if (!m_sawSection) return false;
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
        return true;
    }

    // Why the bytes hold no DXF, when run() said so.
    std::string_view notDxfReason() const { return m_brokenAtStart ? text::kReasonBadStart : text::kReasonNoSection; }

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
                if (section != NONE && m_sawSection)
                    problem(text::withArgument(text::kTruncated, std::to_string(pairs.line())));
                return;
            }
            if (st != Pairs::OK) {
                if (!m_sawSection) {
                    m_brokenAtStart = true;
                    return;
                }
                reportBroken(st, pairs);
                return;
            }
            if (p.code == 0) {
                const std::string_view kw = trim(p.value);
                if (kw == "EOF") return;
                if (kw == "SECTION") {
                    m_sawSection = true;
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
                    if (readEntity(kw, pairs, e)) {
                        if (!e.paperSpace) m_entities.push_back(std::move(e));
                    } else if (!e.paperSpace && kw != "SEQEND" && kw != "VERTEX") {
                        ++m_notRead[std::string(kw)];
                    }
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
                        m_limW = pendingX;
                        m_limH = y;
                    } else {
                        m_limW -= pendingX;
                        m_limH -= y;
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
        int colour = 7, flags = 0;
        std::string_view ltype;
        body(pairs, [&](const Pair& q) {
            if (q.code == 2) name = q.value;
            else if (q.code == 62) colour = integer(q.value);
            else if (q.code == 6) ltype = trim(q.value);
            else if (q.code == 70) flags = integer(q.value);
        });
        // A layer that is off (a negative colour) or frozen (flag 1) shows nothing.
        m_rawLayers.push_back({name, colour, ltype, colour < 0 || (flags & 1) != 0});
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
        if (kw == "SOLID" || kw == "TRACE") return Kind::SOLID;
        if (kw == "ELLIPSE") return Kind::ELLIPSE;
        if (kw == "DIMENSION") return Kind::DIMENSION;
        return Kind::OTHER;
    }

    // Reads one entity after its keyword; false for kinds that make nothing (their paper-space
    // flag is still read, so that they can be counted).
    bool readEntity(std::string_view kw, Pairs& pairs, Entity& e)
    {
        e.kind = kindOf(kw);
        std::string mtextHead;
        // What follows an embedded object (101) belongs to it, not to the entity: newer writers put
        // a second insertion point, height and angle there.
        bool embedded = false;
        body(pairs, [&](const Pair& q) {
            if (embedded) return;
            switch (q.code) {
            case 101: embedded = true; return;
            case 8: e.layer = trim(q.value); return;
            case 6: e.ltype = trim(q.value); return;
            case 62: e.colour = integer(q.value); return;
            case 67: e.paperSpace = integer(q.value) != 0; return;
            case 210: e.set(NX, q.value); return;
            case 220: e.set(NY, q.value); return;
            case 230: e.set(NZ, q.value); return;
            default: break;
            }
            switch (e.kind) {
            case Kind::OTHER: return;
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
            case Kind::DIMENSION:
                if (q.code == 2) e.name = trim(q.value);
                break;
            default: break;
            }
            switch (q.code) {
            case 10: e.set(X0, q.value); break;
            case 20: e.set(Y0, q.value); break;
            case 11: e.set(X1, q.value); break;
            case 21: e.set(Y1, q.value); break;
            case 12: e.set(X2, q.value); break;
            case 22: e.set(Y2, q.value); break;
            case 13: e.set(X3, q.value); break;
            case 23: e.set(Y3, q.value); break;
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
        if (e.kind == Kind::OTHER) return false;
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
        choosePaperFromLimits();
        // Drawing and file share one sheet: the sheet the document now has, at its scale, with
        // the file's origin at its lower left corner, as the writer puts it. A file read and
        // written again keeps its coordinates, and a file without limits lands on the paper.
        int paperX = 0, paperY = 0;
        kov::model::GetPaperSizeMm(m_plot, paperX, paperY);
        const double s = kov::io::DxfSheetScale(m_plot);
        m_w = paperX * s;
        m_h = paperY * s;
    }

    void choosePaperFromLimits()
    {
        if (m_options.keepPaperSize || m_limitCount < 2) return;
        const double s = m_plot.m_Layer.m_dScale[0];
        if (!(s > 0.0)) return;
        // The limits are drawing units: the paper is what they measure at the drawing's scale.
        const double pw = m_limW / s, ph = m_limH / s;
        const int code = kov::io::DxfPaperCodeOfSize(pw, ph);
        if (code >= 0) {
            m_plot.PlotPaperSize = code;
            return;
        }
        if (!std::isfinite(pw) || !std::isfinite(ph)) return;
        if (pw > 1189.0 || ph > 841.0) {
            m_plot.PlotPaperSize = kov::model::kUserPaperCode;
            m_plot.PlotPaperSizeUserX = 1189;
            m_plot.PlotPaperSizeUserY = 841;
            return;
        }
        const long ux = std::lround(pw), uy = std::lround(ph);
        if (ux <= 0 || uy <= 0) return; // no paper of no size: the document keeps its own
        m_plot.PlotPaperSize = kov::model::kUserPaperCode;
        m_plot.PlotPaperSizeUserX = static_cast<int>(ux);
        m_plot.PlotPaperSizeUserY = static_cast<int>(uy);
    }

    void nameLayers()
    {
        m_layers.reserve(m_rawLayers.size());
        for (std::size_t n = 0; n < m_rawLayers.size(); ++n) {
            const RawLayer& raw = m_rawLayers[n];
            LayerEntry entry{decode(raw.name, m_codepage), raw.colour, raw.ltype};
            if (n < kSlots) {
                CLayerInfo& slot = m_plot.m_Layer.m_LayerInfo[n / 16][n % 16];
                slot.m_strName = entry.name;
                if (raw.hidden) slot.m_nType = CLayerInfo::LAYER_HIDDEN;
            }
            m_layerIndex.try_emplace(kov::io::DxfUpperAscii(entry.name), n);
            m_layers.push_back(std::move(entry));
        }
        m_textScale = m_plot.m_Layer.m_dScale[0] > 0.0 ? m_plot.m_Layer.m_dScale[0] : 1.0;
    }

    // ---- second pass

    // The table entry of a layer name, -1 when the table lacks it.
    int layerEntryOf(std::string_view rawName)
    {
        if (rawName != m_lastLayerName || !m_lastLayerKnown) {
            const auto it = m_layerIndex.find(kov::io::DxfUpperAscii(decode(rawName, m_codepage)));
            m_lastLayerEntry = it == m_layerIndex.end() ? -1 : static_cast<int>(it->second);
            m_lastLayerName = rawName;
            m_lastLayerKnown = true;
        }
        return m_lastLayerEntry;
    }

    // A layer the table lacks takes the first entry's colour and line type.
    const LayerEntry* layerOf(std::string_view rawName)
    {
        if (m_layers.empty()) return nullptr;
        const int n = layerEntryOf(rawName);
        return n < 0 ? &m_layers.front() : &m_layers[static_cast<std::size_t>(n)];
    }

    std::string_view layerName(const Entity& e, const Context& ctx) const
    {
        if (ctx.depth > 0 && (e.layer == "0" || e.layer.empty())) return ctx.layer;
        return e.layer;
    }

    // The layer slot of an entity: its layer's place in the table (the first 256 entries name
    // the 16 × 16 slots), slot (0, 0) for layers the table lacks.
    std::pair<int, int> slotOf(const Entity& e, const Context& ctx)
    {
        const int n = layerEntryOf(layerName(e, ctx));
        if (n < 0 || n >= static_cast<int>(kSlots)) return {0, 0};
        return {n / 16, n % 16};
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

    CKovLine* addFigure(int kind, CDbPointArray points, std::vector<double> params, const Entity& e,
                        const Context& ctx)
    {
        const int id = m_unit.NextLineId();
        if (id == CKovUnit::kNoFreeId) {
            problem(text::withArgument(text::kTooMany, std::to_string(CKovUnit::kLineIdLimit)));
            m_full = true;
            return nullptr;
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
        std::tie(f->MLineLayer1, f->MLineLayer2) = slotOf(e, ctx);
        if (kind != CKovLine::LINE) {
            f->MLinebNakanuri = 0;
            f->MLineNakaColor = 0;
            f->MLinebHach = 0;
        }
        CKovLine* made = f.get();
        m_unit.m_Lines.Add(std::move(f));
        ++m_result.figures;
        return made;
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

    // Entities whose coordinates lie in their own plane: all but lines, 3D polylines, ellipses and
    // dimensions (whose points are the world's).
    static bool inOwnPlane(const Entity& e)
    {
        switch (e.kind) {
        case Kind::LINE:
        case Kind::ELLIPSE:
        case Kind::DIMENSION: return false;
        case Kind::POLYLINE: return (e.i70 & 8) == 0;
        default: return true;
        }
    }

    void build(const Entity& e, const Context& outer)
    {
        if (!spend()) return;
        // The arbitrary-axis rule for the planes a plan meets: seen from below (extrusion 0, 0, -1)
        // the entity's x axis is the world's -x, as CAD programs write mirrored objects.
        Context local = outer;
        if (inOwnPlane(e) || e.kind == Kind::ELLIPSE) {
            switch (e.plane()) {
            case Entity::Plane::UP: break;
            case Entity::Plane::DOWN:
                if (e.kind != Kind::ELLIPSE) local.m = outer.m * Affine::scaling(-1.0, 1.0);
                break;
            case Entity::Plane::TILTED: ++m_tilted; return;
            }
        }
        const Context& ctx = local;
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
            if (e.kind == Kind::POLYLINE && (e.i70 & (16 | 64))) {
                ++m_notRead[e.kind == Kind::POLYLINE ? "POLYLINE" : "LWPOLYLINE"];
                break;
            }
            const bool closed = (e.i70 & 1) != 0;
            const auto pts = polylinePoints(e.vertices, closed);
            if (pts.size() < 2) break;
            CDbPointArray points;
            points.reserve(pts.size());
            for (const auto& [x, y] : pts) points.push_back(toDrawing(m, x, y));
            addFigure(closed ? CKovLine::POLYGON : CKovLine::CONTINUOUS, std::move(points), {}, e, ctx);
            break;
        }
        case Kind::SOLID: buildSolid(e, ctx); break;
        case Kind::ELLIPSE: buildEllipse(e, ctx, e.plane() == Entity::Plane::DOWN); break;
        case Kind::TEXT:
        case Kind::MTEXT: buildText(e, ctx); break;
        case Kind::INSERT:
        case Kind::DIMENSION: insert(e, ctx); break;
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

    // A SOLID (or TRACE) is a filled triangle or quadrilateral without an outline; its third and
    // fourth corners come in the order of a zigzag.
    void buildSolid(const Entity& e, const Context& ctx)
    {
        const bool triangle = !e.has(X3) || (e.v[X3] == e.v[X2] && e.v[Y3] == e.v[Y2]);
        CDbPointArray points{toDrawing(ctx.m, e.v[X0], e.v[Y0]), toDrawing(ctx.m, e.v[X1], e.v[Y1])};
        if (!triangle) points.push_back(toDrawing(ctx.m, e.v[X3], e.v[Y3]));
        points.push_back(toDrawing(ctx.m, e.v[X2], e.v[Y2]));
        CKovLine* f = addFigure(CKovLine::POLYGON, std::move(points), {}, e, ctx);
        if (!f) return;
        f->MLinebNakanuri = 1;
        f->MLineNoOutline = 1;
        f->MLineNakaColor = f->MLineNakaColor2 = f->MLineColor;
    }

    // An ELLIPSE: centre and major axis (its end relative to the centre) in world coordinates, the
    // minor axis as a ratio, and start and end parameters. Upright and level whole ellipses stay
    // ellipses; the others become their outlines.
    void buildEllipse(const Entity& e, const Context& ctx, bool seenFromBelow)
    {
        const double mx = e.v[X1], my = e.v[Y1], ratio = e.has(V40) ? e.v[V40] : 1.0;
        const double major = std::hypot(mx, my);
        if (!(major > 0.0) || !std::isfinite(major) || !(ratio > 0.0) || ratio > 1e6) return;
        const double t0 = e.has(V41) ? e.v[V41] : 0.0, t1 = e.has(V42) ? e.v[V42] : 2.0 * kPi;
        double sweep = t1 - t0;
        while (sweep <= 0.0) sweep += 2.0 * kPi;
        const bool whole = std::fabs(sweep - 2.0 * kPi) < 1e-9 || sweep > 2.0 * kPi;
        // The minor axis is the major one turned a quarter about the extrusion direction.
        const double side = seenFromBelow ? -1.0 : 1.0;
        const double nx = -my * ratio * side, ny = mx * ratio * side;
        const Affine& m = ctx.m;
        const bool level = my == 0.0, upright = mx == 0.0;
        if (whole && m.similar() && m.b == 0.0 && m.c == 0.0 && (level || upright)) {
            const double k = m.scale();
            const double rx = (level ? major : major * ratio) * k, ry = (level ? major * ratio : major) * k;
            std::vector<double> params{rx};
            if (rx != ry) params.push_back(ry / rx);
            addFigure(CKovLine::CIRCLE, {toDrawing(m, e.v[X0], e.v[Y0])}, std::move(params), e, ctx);
            return;
        }
        const int n = std::clamp(static_cast<int>(std::ceil(72.0 * sweep / (2.0 * kPi))), 4, 72);
        CDbPointArray points;
        for (int k = 0; k <= n; ++k) {
            if (whole && k == n) break;
            const double t = t0 + sweep * k / n;
            const double x = e.v[X0] + mx * std::cos(t) + nx * std::sin(t);
            const double y = e.v[Y0] + my * std::cos(t) + ny * std::sin(t);
            points.push_back(toDrawing(m, x, y));
        }
        addFigure(whole ? CKovLine::POLYGON : CKovLine::CONTINUOUS, std::move(points), {}, e, ctx);
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
        double height = e.has(V40) && e.v[V40] > 0.0 && std::isfinite(e.v[V40]) ? e.v[V40] : 0.0;
        double spacing = 0.0;
        bool fitted = false;
        const bool mirrored = m.det() < 0.0;
        if (mtext) {
            if (e.i71 >= 1 && e.i71 <= 9) {
                hAlign = (e.i71 - 1) % 3;
                vAlign = (e.i71 - 1) / 3;
            } else {
                vAlign = 0;
            }
            if (!e.has(V50) && e.has(X1) && (e.v[X1] != 0.0 || e.v[Y1] != 0.0))
                angle = std::atan2(e.v[Y1], e.v[X1]) * 180.0 / kPi;
        } else if ((e.i72 == 3 || e.i72 == 5) && e.has(X1)) {
            // Aligned (3) and fit (5): the text runs from its first point to its second; aligned
            // keeps its proportions, fit its height.
            double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
            m.apply(e.v[X0], e.v[Y0], x1, y1);
            m.apply(e.v[X1], e.v[Y1], x2, y2);
            if (mirrored) {
                std::swap(x1, x2);
                std::swap(y1, y2);
            }
            const double length = std::hypot(x2 - x1, y2 - y1);
            const double bytes = static_cast<double>(kov::platform::cp932ByteLength(s));
            if (length > 0.0 && std::isfinite(length) && bytes > 0) {
                fitted = true;
                const double up = std::hypot(m.b, m.d);
                const double h = height * up;
                // The program's own estimate of a text's width: half its height per byte, plus spacing.
                const double fullHeight = 2.0 * length / bytes;
                if (e.i72 == 3 || !(h > 0.0)) {
                    height = fullHeight;
                } else {
                    height = h;
                    spacing = std::max(fullHeight - h, -h / 2.0);
                }
                angle = std::atan2(y2 - y1, x2 - x1) * 180.0 / kPi;
                x = x1;
                y = y1;
            }
        } else if ((e.i72 != 0 || e.i73 != 0) && e.has(X1)) {
            // Aligned by the second point.
            x = e.v[X1];
            y = e.v[Y1];
            hAlign = e.i72 == 4 ? 1 : std::clamp(e.i72, 0, 2);
            vAlign = e.i72 == 4 ? 1 : e.i73 == 3 ? 0 : e.i73 == 2 ? 1 : 2;
        }
        // The texts stop at the counter's limit: past it every new identifier is searched for from 1
        // over all the texts there are, which made a file of many texts read for minutes.
        const int id = m_unit.m_Texts.GetSize() >= CKovUnit::kTextIdLimit ? CKovUnit::kNoFreeId : m_unit.NextTextId();
        if (id == CKovUnit::kNoFreeId) {
            problem(text::withArgument(text::kTooMany, std::to_string(CKovUnit::kTextIdLimit)));
            m_full = true;
            return;
        }
        auto t = std::make_unique<CKovText>();
        t->MTextID = id;
        t->MTextstr = std::move(s);
        t->MTextFontMenu = m_font;
        CFontMenu& font = t->MTextFontMenu;
        double turned = angle;
        if (fitted) {
            // Already in world coordinates.
            t->MTextpnt = CDbPoint(x - m_w / 2.0, m_h / 2.0 - y);
            font.m_size = height / m_textScale;
            font.m_kankaku = spacing / m_textScale;
        } else {
            t->MTextpnt = toDrawing(m, x, y);
            // The base line's direction and the characters' up through the map. A mirror keeps the
            // text readable: it runs the other way along the mirrored line, anchored at its other end.
            const double a = angle * kPi / 180.0;
            double dx = m.a * std::cos(a) + m.b * std::sin(a), dy = m.c * std::cos(a) + m.d * std::sin(a);
            const double ux = -m.a * std::sin(a) + m.b * std::cos(a), uy = -m.c * std::sin(a) + m.d * std::cos(a);
            if (mirrored) {
                dx = -dx;
                dy = -dy;
                hAlign = 2 - hAlign;
            }
            turned = std::atan2(dy, dx) * 180.0 / kPi;
            if (height > 0.0) font.m_size = height * std::hypot(ux, uy) / m_textScale;
        }
        if (!std::isfinite(font.m_size) || !(font.m_size > 0.0)) font.m_size = m_font.m_size;
        if (!std::isfinite(font.m_kankaku)) font.m_kankaku = 0.0;
        if (!std::isfinite(turned)) turned = 0.0;
        turned = std::fmod(turned, 360.0);
        if (turned < 0.0) turned += 360.0;
        font.lfEscapement = static_cast<std::int32_t>(std::lround(turned * 10.0)) % 3600;
        font.lfOrientation = font.lfEscapement;
        font.m_toko_align = hAlign;
        font.m_tate_align = vAlign;
        std::tie(t->MTextLayer1, t->MTextLayer2) = slotOf(e, ctx);
        m_unit.m_Texts.Add(std::move(t));
        ++m_result.texts;
    }

    // An INSERT places its block; a DIMENSION draws the block its writer made of it, which lies
    // where the dimension is.
    void insert(const Entity& e, const Context& ctx)
    {
        const bool dimension = e.kind == Kind::DIMENSION;
        const std::string key = kov::io::DxfUpperAscii(e.name);
        const auto it = m_blocks.find(key);
        const std::string shown = decode(e.name, m_codepage);
        if (it == m_blocks.end()) {
            if (dimension) ++m_notRead["DIMENSION"];
            else problem(text::withArgument(text::kMissingBlock, shown));
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
        const double sx = !dimension && e.has(V41) ? e.v[V41] : 1.0;
        const double sy = !dimension && e.has(V42) ? e.v[V42] : 1.0;
        if (sx == 0.0 || sy == 0.0 || !std::isfinite(sx) || !std::isfinite(sy)) return;
        const long long cols = dimension ? 1 : std::max(1, e.i70), rows = dimension ? 1 : std::max(1, e.i71);
        const double cs = e.v[V44], rs = e.v[V45];
        const Affine place = dimension ? ctx.m
                                       : ctx.m * Affine::translate(e.v[X0], e.v[Y0]) * Affine::rotation(e.v[V50]);
        const Affine local = Affine::scaling(sx, sy) * Affine::translate(-block.baseX, -block.baseY);
        Context inner{Affine{}, colourNumber(e, ctx), lineStyle(e, ctx), layerName(e, ctx), ctx.depth + 1};
        if (inner.colour == 0 || inner.colour == 256) inner.colour = 7;
        m_stack.push_back(key);
        for (long long r = 0; r < rows && !m_full; ++r) {
            for (long long c = 0; c < cols && !m_full; ++c) {
                if (!spend()) break;
                inner.m = place * Affine::translate(c * cs, r * rs) * (dimension ? Affine{} : local);
                for (const Entity& child : block.entities) {
                    if (m_full) break;
                    build(child, inner);
                }
            }
        }
        m_stack.pop_back();
    }

    // ---- after the entities

    void finish()
    {
        CLayer& layers = m_plot.m_Layer;
        for (int g = 1; g < CLayer::kUsed; ++g) layers.m_dScale[static_cast<std::size_t>(g)] = layers.m_dScale[0];
        layers.m_nCurrentGroup = 0;
        layers.m_nCurrentLayer = 0;
        // The layer edited next is one that shows.
        for (int l = 0; l < CLayer::kUsed; ++l) {
            if (layers.m_LayerInfo[0][static_cast<std::size_t>(l)].m_nType != CLayerInfo::LAYER_HIDDEN) {
                layers.m_nCurrentLayer = l;
                break;
            }
        }
        if (m_tilted > 0) problem(text::withArgument(text::kTilted, std::to_string(m_tilted)));
        if (!m_notRead.empty()) {
            std::string list;
            for (const auto& [kind, count] : m_notRead) {
                if (!list.empty()) list += "、";
                list += kind == "POINT" ? "点(POINT)" : kind;
                list += " " + std::to_string(count) + " 個";
            }
            problem(text::withArgument(text::kNotRead, list));
        }
        fitToPaper();
    }

    // The drawing's extents in drawing millimetres; false when it holds nothing.
    bool extents(double& minX, double& minY, double& maxX, double& maxY) const
    {
        bool any = false;
        auto take = [&](double x, double y) {
            if (!std::isfinite(x) || !std::isfinite(y)) return;
            if (!any) {
                minX = maxX = x;
                minY = maxY = y;
                any = true;
                return;
            }
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        };
        for (const auto& f : m_unit.m_Lines) {
            if (f->MLineType == CKovLine::CIRCLE && !f->MLinePnt.empty() && !f->MLineParam.empty()) {
                const double r = f->MLineParam[0];
                const double ry = f->MLineParam.size() > 1 ? r * f->MLineParam[1] : r;
                take(f->MLinePnt[0].x - r, f->MLinePnt[0].y - ry);
                take(f->MLinePnt[0].x + r, f->MLinePnt[0].y + ry);
                continue;
            }
            for (const CDbPoint& p : f->MLinePnt) take(p.x, p.y);
        }
        for (const auto& t : m_unit.m_Texts) take(t->MTextpnt.x, t->MTextpnt.y);
        return any;
    }

    // After the import the drawing lies on the paper. Where its extents run off the sheet, the
    // paper (A4 to A1, landscape) and the scale (a common one, no smaller than the file's) are
    // chosen from the extents, the drawing is centred, and the user is told.
    void fitToPaper()
    {
        double minX = 0, minY = 0, maxX = 0, maxY = 0;
        if (!extents(minX, minY, maxX, maxY)) return;
        if (minX >= -m_w / 2.0 && maxX <= m_w / 2.0 && minY >= -m_h / 2.0 && maxY <= m_h / 2.0) return;
        const double width = maxX - minX, height = maxY - minY;
        const double dx = -(minX + maxX) / 2.0, dy = -(minY + maxY) / 2.0;
        auto centre = [&] {
            for (int i = 0; i < m_unit.m_Lines.GetSize(); ++i) m_unit.m_Lines[i]->MoveBy(dx, dy);
            for (int i = 0; i < m_unit.m_Texts.GetSize(); ++i) m_unit.m_Texts[i]->MoveBy(dx, dy);
        };
        // On the paper and at the scale it has, centred, where it fits so.
        if (width <= m_w && height <= m_h) {
            centre();
            problem(std::string(text::kCentred));
            return;
        }
        CLayer& layers = m_plot.m_Layer;
        const double scale = layers.m_dScale[0] > 0.0 ? layers.m_dScale[0] : 1.0;
        static constexpr double kScales[] = {1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, 1000, 2000, 2500, 5000,
                                             10000, 20000, 50000, 100000, 200000, 500000, 1000000};
        static constexpr int kPapers[] = {0, 2, 3, 4}; // A4, A3, A2, A1 landscape
        std::vector<double> scales{scale};
        if (!m_options.keepScale)
            for (double s : kScales)
                if (s > scale) scales.push_back(s);
        std::vector<int> papers;
        if (m_options.keepPaperSize) papers.push_back(m_plot.PlotPaperSize);
        else papers.assign(std::begin(kPapers), std::end(kPapers));
        double chosenScale = scales.back();
        int chosenPaper = papers.back();
        bool found = false;
        // A margin of a twentieth of the sheet all round.
        for (double s : scales) {
            for (int code : papers) {
                int pw = 0, ph = 0;
                if (!kov::model::GetPaperSizeMm(code, m_plot.PlotPaperSizeUserX, m_plot.PlotPaperSizeUserY, pw, ph))
                    continue;
                if (width <= pw * s * 0.9 && height <= ph * s * 0.9) {
                    chosenScale = s;
                    chosenPaper = code;
                    found = true;
                    break;
                }
            }
            if (found) break;
        }
        const int paperBefore = m_plot.PlotPaperSize;
        m_plot.PlotPaperSize = chosenPaper;
        if (chosenScale != scale) {
            layers.SetAllScales(chosenScale);
            // Texts keep their size in the drawing: on paper they shrink with the scale.
            for (int i = 0; i < m_unit.m_Texts.GetSize(); ++i) m_unit.m_Texts[i]->MTextFontMenu.m_size *= scale / chosenScale;
        }
        centre();
        if (chosenScale == scale && chosenPaper == paperBefore) {
            problem(std::string(text::kCentred));
            return;
        }
        int pw = 0, ph = 0;
        kov::model::GetPaperSizeMm(m_plot, pw, ph);
        std::string what = std::to_string(pw) + "×" + std::to_string(ph) + "mm、1/";
        what += chosenScale == std::floor(chosenScale) ? std::to_string(static_cast<long long>(chosenScale))
                                                       : kov::platform::formatFixed(chosenScale, 2);
        problem(text::withArgument(text::kFitted, what));
    }

    struct RawLayer {
        std::string_view name;
        int colour;
        std::string_view ltype;
        bool hidden;
    };

    static constexpr std::size_t kSlots = 256;

    CKovUnit& m_unit;
    CPlotInfo& m_plot;
    const DxfReadOptions& m_options;
    DxfReadResult& m_result;
    CFontMenu m_font;
    double m_w = 0.0, m_h = 0.0;         // the sheet in drawing units: DXF (0, 0) is its lower left
    double m_limW = 0.0, m_limH = 0.0;   // what the header's limits measure
    int m_limitCount = 0;
    double m_textScale = 1.0;
    Codepage m_codepage = Codepage::CP932;
    bool m_full = false;
    bool m_sawSection = false;
    bool m_brokenAtStart = false;
    long long m_work = 0;
    long long m_tilted = 0;
    std::map<std::string, long long> m_notRead;
    std::vector<RawLayer> m_rawLayers;
    std::vector<LayerEntry> m_layers;
    std::unordered_map<std::string, std::size_t> m_layerIndex;
    std::unordered_map<std::string, Block> m_blocks;
    std::vector<Entity> m_entities;
    std::vector<std::string> m_stack;
    std::set<std::string> m_told;
    std::string_view m_lastLayerName;
    bool m_lastLayerKnown = false;
    int m_lastLayerEntry = -1;
};

} // namespace

kov::io::DxfReadResult CKovUnit::ReadDxf(std::string_view fileBytes, SelectionRecord& selection, CPlotInfo& plot,
                                         const CFontMenu& currentFont, const kov::io::DxfReadOptions& options)
{
    DxfReadResult result;
    selection.Clear();
    // Nothing is changed for bytes that are no DXF: the one message says why.
    if (fileBytes.empty()) {
        result.messages.emplace_back(text::kReasonEmpty);
        return result;
    }
    if (fileBytes.substr(0, 18) == "AutoCAD Binary DXF") {
        result.messages.emplace_back(text::kBinaryDxf);
        return result;
    }
    Reader reader(*this, plot, currentFont, options, result);
    if (!reader.run(fileBytes)) {
        result.messages.assign(1, std::string(reader.notDxfReason()));
        return result;
    }
    result.read = true;
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
    DxfReadResult result = ReadDxf(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                   selection, plot, currentFont, options);
    if (!result.read && result.messages.size() == 1)
        result.messages[0] = text::withArgument(text::kReadFailed, path.string(), result.messages[0]);
    return result;
}
