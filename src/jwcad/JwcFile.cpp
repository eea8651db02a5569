#include "jwcad/JwcFile.h"

#include "model/Layer.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using kov::platform::formatFixed;
using kov::platform::formatInt;
using kov::platform::parseDouble;
using kov::platform::parseInt;

namespace {

constexpr std::string_view kTag = "jw_cad(c)data.......a...m...............";
constexpr std::size_t kMaxText = 127;
constexpr std::size_t kMaxPool = 6400;
constexpr std::size_t kLayerNameField = 8, kGroupNameField = 16;
constexpr std::size_t kSkipAfterHeader = 404 + 404 + 101;
constexpr std::size_t kSenBytes = 22, kEnkoBytes = 32, kMoziBytes = 24, kTenBytes = 12;
// The flatness field holds y/x × 10000.
constexpr double kFlatUnit = 10000.0;
constexpr std::uint32_t kPoolBase = 0x666c0000u;

// Field kinds of the three header lines' formats: 'd' integer, 'f' "%8f", 's' text.
constexpr std::string_view kLine1Format = "dddddddddfdddddddddddddddddddddd";
constexpr std::string_view kLine2Format = "ffffddddddffffffdddfffffffff";
constexpr std::string_view kLine3Format = "ssffffffffffffffffffddff";

class Reader {
public:
    Reader(const std::uint8_t* d, std::size_t n) : m_d(d), m_n(n) {}
    bool has(std::size_t k) const { return k <= m_n - m_pos; }
    std::size_t left() const { return m_n - m_pos; }
    std::size_t pos() const { return m_pos; }
    const std::uint8_t* take(std::size_t k)
    {
        if (!has(k))
            throw JwFormatError{"the file ends inside its records", m_pos};
        const std::uint8_t* p = m_d + m_pos;
        m_pos += k;
        return p;
    }
    std::uint8_t byte() { return *take(1); }
    float real()
    {
        float f;
        std::memcpy(&f, take(4), 4);
        return std::isfinite(f) ? f : 0.0f;
    }
    std::int32_t int32()
    {
        std::int32_t v;
        std::memcpy(&v, take(4), 4);
        return v;
    }
    std::uint16_t word()
    {
        std::uint16_t v;
        std::memcpy(&v, take(2), 2);
        return v;
    }
    bool atEnd() const { return m_pos >= m_n; }

private:
    const std::uint8_t* m_d;
    std::size_t m_n;
    std::size_t m_pos = 0;
};

void putReal(std::vector<std::uint8_t>& out, double v)
{
    const float f = static_cast<float>(v);
    const auto* b = reinterpret_cast<const std::uint8_t*>(&f);
    out.insert(out.end(), b, b + 4);
}

void putInt32(std::vector<std::uint8_t>& out, std::int32_t v)
{
    const auto* b = reinterpret_cast<const std::uint8_t*>(&v);
    out.insert(out.end(), b, b + 4);
}

void putWord(std::vector<std::uint8_t>& out, int v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

// A fixed field: the text, a zero byte, then `fill` up to the width; a text too long is cut.
void putField(std::vector<std::uint8_t>& out, std::string_view text, std::size_t width, std::uint8_t fill = ' ')
{
    const std::size_t n = std::min(text.size(), width);
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
    if (n < width)
        out.push_back(0);
    for (std::size_t i = n + 1; i < width; ++i)
        out.push_back(fill);
}

// A header line in its 200-byte slot: at most 198 bytes of text, a zero byte, spaces, and a line
// feed in the last byte, so the line always ends inside its slot.
void putHeaderLine(std::vector<std::uint8_t>& out, const std::string& line)
{
    std::string text = line.substr(0, JwcData::kChunk - 2);
    std::vector<std::uint8_t> slot;
    putField(slot, text, JwcData::kChunk - 1);
    slot.push_back('\n');
    out.insert(out.end(), slot.begin(), slot.end());
}

// The CP932 text cut to at most `limit` bytes without splitting a double-byte character.
std::string cutCp932(std::string_view bytes, std::size_t limit)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const std::size_t len = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ? 2 : 1;
        if (i + len > limit)
            break;
        i += len;
    }
    return std::string(bytes.substr(0, std::min(i, bytes.size())));
}

std::string formatField(std::string_view text, char kind)
{
    switch (kind) {
    case 'd': return formatInt(parseInt(text));
    case 'f': {
        std::string s = formatFixed(parseDouble(text), 6);
        if (s.size() < 8)
            s.insert(0, 8 - s.size(), ' ');
        return s;
    }
    default: return std::string(text);
    }
}

std::string formatLine(const std::vector<std::string>& fields, std::string_view format)
{
    std::string line;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (i)
            line += ',';
        line += formatField(i < fields.size() ? fields[i] : std::string("0"), format[i]);
    }
    return line;
}

// Splits at commas; zero bytes and line ends are skipped. The text after the last comma carries no
// value (the line's slot cut it), but it is kept so the line is written back as it was.
std::vector<std::string> splitLine(const std::uint8_t* chunk, std::string& tail)
{
    std::vector<std::string> fields;
    std::string current;
    for (std::size_t i = 0; i < JwcData::kChunk; ++i) {
        const char c = static_cast<char>(chunk[i]);
        if (c == 0 || c == '\n' || c == '\r')
            continue;
        if (c == ',') {
            fields.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    // Trailing fill of the slot is no part of the field.
    while (!current.empty() && current.back() == ' ')
        current.pop_back();
    tail = current;
    return fields;
}

std::string field(const std::vector<std::string>& f, std::size_t i) { return i < f.size() ? f[i] : std::string(); }

std::string pointerText(std::uint32_t p)
{
    static const char* hex = "0123456789abcdef";
    std::string s(9, ':');
    for (int i = 0; i < 4; ++i) {
        s[3 - i] = hex[(p >> (16 + 4 * i)) & 0xF];
        s[8 - i] = hex[(p >> (4 * i)) & 0xF];
    }
    return s;
}

std::uint32_t parsePointer(const std::string& text)
{
    std::string digits = text.size() >= 4 ? text.substr(0, 4) + text.substr(text.size() - 4) : text + text;
    std::uint32_t v = 0;
    for (char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0)
            break;
        v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    return v;
}

std::string nameOf(const std::uint8_t* p, std::size_t width)
{
    std::size_t n = 0;
    while (n < width && p[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

double angleOf(std::int32_t fixed) { return static_cast<double>(fixed) / 65536.0; }

double reduceOnce(double a) { return a >= 360.0 ? a - 360.0 : a; }

} // namespace

void JwcData::SetJwcHeaderDefaults()
{
    m_tag.m_texts = {std::string(kTag), std::string(), std::string()};
    m_line1.m_fields.assign(32, "0");
    m_line2.m_fields.assign(28, "0");
    m_line3.m_fields.assign(24, "0");
    const char* l1[][2] = {{"5", "3"},  {"6", "2"},  {"7", "1"},  {"8", "1"},  {"9", "50"},        {"11", "4"},
                           {"12", "2"}, {"13", "1"}, {"14", "5.160230"}, {"15", "5.160230"}, {"16", "5"}, {"17", "10"},
                           {"22", "1"}, {"23", "2"}, {"24", "3"}, {"25", "9.000000"}, {"26", "9.000000"},
                           {"27", "0.000000"}, {"28", "0.000000"}, {"29", "0.000000"}, {"30", "518"}};
    for (auto& kv : l1)
        m_line1.m_fields[static_cast<std::size_t>(std::atoi(kv[0]))] = kv[1];
    const char* l2[28] = {"0.500000", "0.000000", "3.000000", "15.00000", "1",        "1",        "0",
                          "0",        "0",        "1",        "0.000000", "0.000000", "0.000000", "0.000000",
                          "0.000000", "0.000000", "0",        "0",        "0",        "1000.000", "1000.000",
                          "100.0000", "200.0000", "300.0000", "500.0000", "0.000000", "0.000000", "1.000000"};
    for (int i = 0; i < 28; ++i)
        m_line2.m_fields[static_cast<std::size_t>(i)] = l2[i];
    m_line3.m_fields[0] = "666c:0000";
    m_line3.m_fields[1] = "666c:0001";
    for (int i = 2; i <= 16; ++i)
        m_line3.m_fields[static_cast<std::size_t>(i)] = "0.000000";
    m_line3.m_fields[17] = "36.00000";
    m_line3.m_fields[18] = "-23.4500";
    m_line3.m_fields[19] = "0.000000";
    m_line3.m_fields[20] = "1.000000";
    m_line3.m_fields[21] = "0";
    m_line3.m_fields[22] = "-1";
    m_line3.m_fields[23] = "0";
    m_kindTableA = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5};
    m_kindTableB = {20, 20, 25, 30, 40, 50, 60, 70, 80, 90, 100};
    m_kindSize = m_kindTableB;
    m_kindSpacing = {0, 0, 0, 5, 5, 5, 10, 10, 10, 10, 10};
    m_layerNames.assign(256, std::string());
    m_groupNames.assign(16, std::string());
}

void JwcData::DeleteJwcItems()
{
    m_sen.clear();
    m_enko.clear();
    m_mozi.clear();
}

std::vector<std::uint8_t> JwcData::WriteJwcFile() const
{
    std::vector<std::uint8_t> out;
    out.reserve(4693 + m_sen.size() * kSenBytes + m_enko.size() * kEnkoBytes + m_mozi.size() * kMoziBytes + kMaxPool);
    const std::size_t widths[3] = {40, 64, 96};
    for (int i = 0; i < 3; ++i)
        putField(out, m_tag.m_texts[static_cast<std::size_t>(i)], widths[i]);

    // The pool first: the pointers of line 3 and of the text records depend on it.
    std::string pool;
    std::vector<std::uint32_t> offsets;
    std::vector<const CJWMozi*> written;
    for (const CJWMozi& m : m_mozi) {
        const std::string text = cutCp932(m.m_text, kMaxText);
        if (pool.size() + text.size() + 1 > kMaxPool)
            break;
        offsets.push_back(static_cast<std::uint32_t>(pool.size()));
        written.push_back(&m);
        pool += text;
        pool += '\0';
    }

    std::vector<std::string> l1 = m_line1.m_fields;
    l1.resize(32, "0");
    l1[0] = formatInt(static_cast<long long>(m_sen.size()));
    l1[1] = formatInt(static_cast<long long>(m_enko.size()));
    l1[2] = formatInt(static_cast<long long>(written.size()));
    l1[3] = "0";
    l1[9] = formatFixed(m_line1.m_scale, 6);
    l1[10] = formatInt(m_line1.m_currentLayer);
    l1[11] = formatInt(m_line1.m_paper);
    l1[12] = formatInt(m_line1.m_code12);
    l1[13] = formatInt(m_line1.m_code13);
    l1[30] = formatInt(m_line1.m_unitsAcross);
    putHeaderLine(out, formatLine(l1, kLine1Format));

    std::vector<std::string> l2 = m_line2.m_fields;
    l2.resize(28, "0");
    // Texts are written by the start of their base line: left and bottom.
    l2[17] = "0";
    l2[18] = "0";
    putHeaderLine(out, formatLine(l2, kLine2Format));

    std::vector<std::string> l3 = m_line3.m_fields;
    l3.resize(24, "0");
    l3[0] = pointerText(kPoolBase);
    l3[1] = pointerText(kPoolBase + static_cast<std::uint32_t>(pool.size()));
    putHeaderLine(out, formatLine(l3, kLine3Format));

    out.insert(out.end(), kSkipAfterHeader, 0);
    for (const auto* table : {&m_kindTableA, &m_kindTableB, &m_kindSize, &m_kindSpacing})
        for (int v : *table)
            putWord(out, v);
    // Every group is written at the drawing's scale, as a whole 16-bit number.
    // Clamped before the cast: a scale past the int range is no int.
    const int scale = static_cast<int>(std::clamp(static_cast<double>(m_line1.m_scale), 0.0, 65535.0));
    for (int g = 0; g < 16; ++g)
        putWord(out, scale);
    for (int v : m_groupEditable)
        out.push_back(static_cast<std::uint8_t>(v));
    for (int v : m_layerEditable)
        out.push_back(static_cast<std::uint8_t>(v));
    for (int v : m_groupShown)
        out.push_back(static_cast<std::uint8_t>(v));
    for (int v : m_layerShown)
        out.push_back(static_cast<std::uint8_t>(v));
    for (int v : m_groupLayer)
        out.push_back(static_cast<std::uint8_t>(v));

    for (const CJWSen& s : m_sen) {
        putReal(out, s.m_x1);
        putReal(out, s.m_y1);
        putReal(out, s.m_x2);
        putReal(out, s.m_y2);
        out.push_back(s.m_pen);
        out.push_back(s.m_color);
        out.push_back(s.m_layer);
        out.push_back(0);
        out.push_back(static_cast<std::uint8_t>(s.m_extraA));
        out.push_back(static_cast<std::uint8_t>(s.m_extraB));
    }
    for (const CJWEnko& e : m_enko) {
        putReal(out, e.m_cx);
        putReal(out, e.m_cy);
        putReal(out, e.m_r);
        putWord(out, static_cast<int>(std::lround(std::clamp<double>(e.m_flat, 0.0, 6.5535) * kFlatUnit)));
        putInt32(out, static_cast<std::int32_t>(std::trunc((e.m_start - e.m_base) * 65536.0)));
        putInt32(out, static_cast<std::int32_t>(std::trunc((e.m_end - e.m_base) * 65536.0)));
        putInt32(out, static_cast<std::int32_t>(std::trunc(e.m_base * 65536.0)));
        out.push_back(e.m_pen);
        out.push_back(e.m_color);
        out.push_back(e.m_layer);
        out.push_back(0);
        out.push_back(static_cast<std::uint8_t>(e.m_extra));
        out.push_back(static_cast<std::uint8_t>(e.m_extra));
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
        const CJWMozi& m = *written[i];
        putReal(out, m.m_x1);
        putReal(out, m.m_y1);
        putReal(out, m.m_x2);
        putReal(out, m.m_y2);
        putInt32(out, static_cast<std::int32_t>(kPoolBase + offsets[i]));
        out.push_back(m.m_kind);
        out.push_back(m.m_layer);
        out.push_back(static_cast<std::uint8_t>(m.m_flags));
        out.push_back(static_cast<std::uint8_t>(m.m_extra));
    }
    out.insert(out.end(), pool.begin(), pool.end());
    for (int i = 0; i < 256; ++i)
        putField(out, cutCp932(i < static_cast<int>(m_layerNames.size()) ? m_layerNames[static_cast<std::size_t>(i)] : "",
                               kLayerNameField - 1),
                 kLayerNameField, 0);
    for (int i = 0; i < 16; ++i)
        putField(out, cutCp932(i < static_cast<int>(m_groupNames.size()) ? m_groupNames[static_cast<std::size_t>(i)] : "",
                               kGroupNameField - 1),
                 kGroupNameField, 0);
    return out;
}

void JwcData::ParseTag(const std::uint8_t* chunk)
{
    const std::size_t widths[3] = {40, 64, 96};
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        m_tag.m_texts[static_cast<std::size_t>(i)] = nameOf(chunk + at, widths[i]);
        at += widths[i];
    }
    m_tag.m_bWordScales = 1;
    for (std::size_t i = 0; i < 40; ++i)
        if (chunk[i] == 'f')
            m_tag.m_bWordScales = 0;
}

void JwcData::ParseLine1(const std::uint8_t* chunk)
{
    std::string tail;
    m_line1.m_fields = splitLine(chunk, tail);
    const auto& f = m_line1.m_fields;
    m_line1.m_nSen = std::max(0, parseInt(field(f, 0)));
    m_line1.m_nEnko = std::max(0, parseInt(field(f, 1)));
    m_line1.m_nMozi = std::max(0, parseInt(field(f, 2)));
    m_line1.m_nTen = std::max(0, parseInt(field(f, 3)));
    m_line1.m_paper = parseInt(field(f, 11));
    m_line1.m_currentLayer = parseInt(field(f, 10));
    const int paper = (m_line1.m_paper >= 0 && m_line1.m_paper <= 4) ? kPaperWidth[static_cast<std::size_t>(m_line1.m_paper)] : 420;
    const std::string across = field(f, 30);
    m_line1.m_unitsAcross = across.empty() ? 518 : parseInt(across);
    if (m_line1.m_unitsAcross <= 0)
        m_line1.m_unitsAcross = 518;
    const double scale = parseDouble(field(f, 9));
    // Checked before it is narrowed to a float: 1e39 would be infinite, and every point NaN.
    m_line1.m_badScale = std::isfinite(scale) && scale > CLayer::kMaxScale;
    m_line1.m_scale = static_cast<float>(std::isfinite(scale) && scale > 0 && !m_line1.m_badScale ? scale : 1.0);
    m_line1.m_unitFactor = static_cast<float>(paper) / static_cast<float>(m_line1.m_unitsAcross) * m_line1.m_scale;
    if (!tail.empty())
        m_line1.m_fields.push_back(tail);
}

void JwcData::ParseLine2(const std::uint8_t* chunk)
{
    std::string tail;
    m_line2.m_fields = splitLine(chunk, tail);
    m_line2.m_textAlignH = 0;
    m_line2.m_textAlignV = 0;
    if (m_line2.m_fields.size() > 17)
        m_line2.m_textAlignH = std::clamp(parseInt(m_line2.m_fields[17]), 0, 2);
    if (m_line2.m_fields.size() > 18) {
        const int v = parseInt(m_line2.m_fields[18]);
        m_line2.m_textAlignV = v == 0 ? 2 : v == 1 ? 1 : 0;
    }
    if (!tail.empty())
        m_line2.m_fields.push_back(tail);
}

void JwcData::ParseLine3(const std::uint8_t* chunk)
{
    std::string tail;
    m_line3.m_fields = splitLine(chunk, tail);
    m_line3.m_poolStart = parsePointer(field(m_line3.m_fields, 0));
    m_line3.m_poolEnd = parsePointer(field(m_line3.m_fields, 1));
    if (!tail.empty())
        m_line3.m_fields.push_back(tail);
}

namespace {

// Counts larger than the bytes there are can only be damage.
void checkCount(const Reader& in, int count, std::size_t bytes)
{
    if (static_cast<std::size_t>(count) > in.left() / bytes)
        throw JwFormatError{"a record count larger than the file can hold", in.pos()};
}

// A line record; its reals times the unit factor k.
CJWSen readSen(Reader& in, double k)
{
    CJWSen s;
    s.m_x1 = in.real() * k;
    s.m_y1 = in.real() * k;
    s.m_x2 = in.real() * k;
    s.m_y2 = in.real() * k;
    s.m_pen = in.byte();
    s.m_color = in.byte();
    s.m_layer = in.byte();
    in.byte();
    s.m_extraA = in.byte();
    s.m_extraB = in.byte();
    return s;
}

CJWMozi readMozi(Reader& in, double k)
{
    CJWMozi m;
    m.m_x1 = in.real() * k;
    m.m_y1 = in.real() * k;
    m.m_x2 = in.real() * k;
    m.m_y2 = in.real() * k;
    m.m_pointer = static_cast<std::uint32_t>(in.int32());
    m.m_kind = in.byte();
    m.m_layer = in.byte();
    m.m_flags = in.byte();
    m.m_extra = in.byte();
    return m;
}

// A circle record; `angle` reads one of its three angles in the file's own coding.
template <class AngleReader>
CJWEnko readEnko(Reader& in, double k, bool readFlatness, AngleReader angle)
{
    CJWEnko e;
    e.m_cx = in.real() * k;
    e.m_cy = in.real() * k;
    e.m_r = in.real() * k;
    const int flat = in.word();
    e.m_flat = (readFlatness && flat > 0) ? static_cast<float>(flat / kFlatUnit) : 1.0f;
    const double start = angle(), end = angle(), base = angle();
    e.m_start = reduceOnce(start + base);
    e.m_end = reduceOnce(end + base);
    e.m_base = base;
    e.m_pen = in.byte();
    e.m_color = in.byte();
    e.m_layer = in.byte();
    in.take(3);
    return e;
}

// The text pool: strings ended by a zero byte; one without its zero byte at the end is dropped.
std::vector<std::string> splitPool(const std::uint8_t* pool, std::size_t size)
{
    // Whole strings at a time: a figure file's pool runs to the end of the file, and a damaged one
    // may hold tens of thousands of zero bytes.
    const char* at = reinterpret_cast<const char*>(pool);
    const char* const end = at + size;
    std::vector<std::string> strings;
    strings.reserve(static_cast<std::size_t>(std::count(at, end, '\0')));
    while (const void* zero = std::memchr(at, 0, static_cast<std::size_t>(end - at))) {
        const char* stop = static_cast<const char*>(zero);
        strings.emplace_back(at, stop);
        at = stop + 1;
    }
    return strings;
}

template <class T, class ReadOne>
void readRecords(Reader& in, int count, std::size_t bytes, std::vector<T>& out, ReadOne readOne)
{
    checkCount(in, count, bytes);
    out.clear();
    out.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        out.push_back(readOne());
}

} // namespace

JwReadResult JwcData::ReadJwc(const std::uint8_t* data, std::size_t size)
{
    Reader in(data, size);
    try {
        ParseTag(in.take(kChunk));
        ParseLine1(in.take(kChunk));
        ParseLine2(in.take(kChunk));
        ParseLine3(in.take(kChunk));
        in.take(kSkipAfterHeader);
        for (auto* table : {&m_kindTableA, &m_kindTableB, &m_kindSize, &m_kindSpacing})
            for (int& v : *table)
                v = in.word();
        for (int& s : m_groupScale) {
            if (m_tag.m_bWordScales)
                s = in.word();
            else
                s = static_cast<int>(std::clamp<double>(in.real(), 0.0, 1.0e6));
        }
        for (int& v : m_groupEditable)
            v = in.byte();
        for (int& v : m_layerEditable)
            v = in.byte();
        for (int& v : m_groupShown)
            v = in.byte();
        for (int& v : m_layerShown)
            v = in.byte();
        for (int& v : m_groupLayer)
            v = in.byte();
        const double k = m_line1.m_unitFactor;
        readRecords(in, m_line1.m_nSen, kSenBytes, m_sen, [&] { return readSen(in, k); });
        readRecords(in, m_line1.m_nEnko, kEnkoBytes, m_enko,
                    [&] { return readEnko(in, k, true, [&] { return angleOf(in.int32()); }); });
        readRecords(in, m_line1.m_nMozi, kMoziBytes, m_mozi, [&] { return readMozi(in, k); });
        const std::int64_t poolBytes = static_cast<std::int64_t>(static_cast<std::int32_t>(m_line3.m_poolEnd)) -
                                       static_cast<std::int32_t>(m_line3.m_poolStart);
        if (poolBytes < 0 || static_cast<std::uint64_t>(poolBytes) > in.left())
            throw JwFormatError{"a text pool larger than the file can hold", in.pos()};
        m_poolStrings = splitPool(in.take(static_cast<std::size_t>(poolBytes)), static_cast<std::size_t>(poolBytes));
        checkCount(in, m_line1.m_nTen, kTenBytes);
        for (int i = 0; i < m_line1.m_nTen; ++i) {
            CJWSen p;
            p.m_x1 = p.m_x2 = in.real() * k;
            p.m_y1 = p.m_y2 = in.real() * k;
            p.m_layer = in.byte();
            p.m_color = in.byte();
            in.take(2);
            m_sen.push_back(p);
        }
        m_layerNames.assign(256, std::string());
        m_groupNames.assign(16, std::string());
        // Old files may end before their names: they stay empty then.
        for (int i = 0; i < 256 && in.has(kLayerNameField); ++i)
            m_layerNames[static_cast<std::size_t>(i)] = nameOf(in.take(kLayerNameField), kLayerNameField);
        for (int i = 0; i < 16 && in.has(kGroupNameField); ++i)
            m_groupNames[static_cast<std::size_t>(i)] = nameOf(in.take(kGroupNameField), kGroupNameField);
    } catch (const JwFormatError& e) {
        return JwReadResult{false, e.what, e.offset};
    }
    for (CJWMozi& m : m_mozi)
        m.m_kind = static_cast<std::uint8_t>(std::min<int>(m.m_kind, kKinds - 1));
    return JwReadResult{true, {}, in.pos()};
}

JwReadResult JwcData::ReadJwk(const std::uint8_t* data, std::size_t size)
{
    Reader in(data, size);
    try {
        ParseTag(in.take(kChunk));
        ParseLine1(in.take(kChunk));
        std::swap(m_line1.m_nMozi, m_line1.m_nTen);
        m_line1.m_unitFactor = 1.0f;
        // A figure file codes its angles as degrees in the upper bytes, a 256th in the second.
        auto jwkAngle = [&] {
            const std::uint8_t* b = in.take(4);
            return b[3] * 256.0 + b[2] + b[1] / 256.0;
        };
        readRecords(in, m_line1.m_nSen, kSenBytes, m_sen, [&] { return readSen(in, 1.0); });
        readRecords(in, m_line1.m_nEnko, kEnkoBytes, m_enko, [&] { return readEnko(in, 1.0, false, jwkAngle); });
        readRecords(in, m_line1.m_nMozi, kMoziBytes, m_mozi, [&] { return readMozi(in, 1.0); });
        // The pool runs to the end of the file.
        const std::size_t rest = in.left();
        m_poolStrings = splitPool(in.take(rest), rest);
    } catch (const JwFormatError& e) {
        return JwReadResult{false, e.what, e.offset};
    }
    for (CJWMozi& m : m_mozi)
        m.m_kind = static_cast<std::uint8_t>(std::min<int>(m.m_kind, kKinds - 1));
    return JwReadResult{true, {}, in.pos()};
}

JwFileKind SniffJwFile(const std::uint8_t* data, std::size_t size)
{
    auto startsWith = [&](std::string_view s) {
        return size >= s.size() && std::memcmp(data, s.data(), s.size()) == 0;
    };
    if (startsWith("JwwData."))
        return JwFileKind::Jww;
    if (startsWith("JwsData."))
        return JwFileKind::Jws;
    if (startsWith("jw_cad") || startsWith("JW_CAD"))
        return JwFileKind::Jwc;
    return JwFileKind::Unknown;
}
