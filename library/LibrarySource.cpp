// Reading the library's readable sources into containers.

#include "LibrarySource.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "platform/NumberText.h"

#include <charconv>
#include <cmath>
#include <fstream>

namespace kov::library {

namespace {

constexpr double kPi = 3.1415926535;

// The words of a line; a quoted word keeps its spaces.
bool splitWords(const std::string& line, std::vector<std::string>& words)
{
    words.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size() || line[i] == '#') break;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string::npos) return false;
            words.push_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        words.push_back(line.substr(start, i - start));
    }
    return true;
}

bool number(const std::string& word, double& out)
{
    // Locale-free: the sources read the same wherever the build runs.
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, out);
    return ec == std::errc() && ptr == end && std::isfinite(out);
}

// RRGGBB as the program's colour (0x00BBGGRR).
bool colour(const std::string& word, std::uint32_t& out)
{
    if (word.size() != 6) return false;
    unsigned long v = 0;
    const auto [ptr, ec] = std::from_chars(word.data(), word.data() + 6, v, 16);
    if (ec != std::errc() || ptr != word.data() + 6) return false;
    out = static_cast<std::uint32_t>(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
    return true;
}

CDbPoint onCircle(double cx, double cy, double r, double degrees)
{
    const double a = degrees * kPi / 180.0;
    // Whole quarter turns exactly, so that faces and ends compare equal.
    const double c = std::round(std::cos(a) * 1e12) / 1e12, s = std::round(std::sin(a) * 1e12) / 1e12;
    return {cx + r * c, cy - r * s};
}

} // namespace

bool ReadLibrarySource(const std::filesystem::path& file, std::vector<SourceDrawing>& drawings,
                       std::vector<CKovUnit>& units, std::string& error)
{
    std::ifstream in(file);
    if (!in) {
        error = file.string() + ": cannot be read";
        return false;
    }
    std::string text;
    std::vector<std::string> w;
    int lineNo = 0;
    CKovUnit* unit = nullptr;
    CKovGroup* group = nullptr;
    auto fail = [&](const std::string& what) {
        error = file.string() + ":" + std::to_string(lineNo) + ": " + what;
        return false;
    };
    while (std::getline(in, text)) {
        ++lineNo;
        if (!splitWords(text, w)) return fail("unclosed quote");
        if (w.empty()) continue;
        const std::string& cmd = w[0];
        if (cmd == "part") {
            if (unit) return fail("part inside a part");
            if (w.size() != 2) return fail("part takes one path");
            drawings.push_back({w[1], lineNo});
            units.emplace_back();
            unit = &units.back();
            auto g = std::make_unique<CKovGroup>();
            g->MGrpID = unit->NextGroupId();
            unit->m_Groups.Add(std::move(g));
            group = unit->m_Groups[0];
            continue;
        }
        if (!unit) return fail("drawing command outside a part");
        if (cmd == "end") {
            unit->UpdateGroupBounds(*unit->m_Groups[0]);
            unit = nullptr;
            group = nullptr;
            continue;
        }
        // Numbers first, then key=value options (the text of "text" is its last word).
        std::vector<double> v;
        auto f = std::make_unique<CKovLine>();
        std::size_t k = 1;
        const std::size_t last = cmd == "text" ? w.size() - 1 : w.size();
        for (; k < last; ++k) {
            double d = 0;
            if (!number(w[k], d)) break;
            v.push_back(d);
        }
        for (; k < last; ++k) {
            const std::size_t eq = w[k].find('=');
            if (eq == std::string::npos) return fail("not a number or option: " + w[k]);
            const std::string key = w[k].substr(0, eq), value = w[k].substr(eq + 1);
            double d = 0;
            std::uint32_t c = 0;
            if (key == "colour" && colour(value, c)) f->MLineColor = c;
            else if (key == "fill" && colour(value, c)) {
                f->MLinebNakanuri = 1;
                f->MLineNakaColor = c;
                f->MLineNakaColor2 = c;
            } else if (key == "type" && number(value, d)) f->MLineLineT = static_cast<int>(d);
            else if (key == "width" && number(value, d)) f->MLineWide = static_cast<int>(d);
            else return fail("bad option: " + w[k]);
        }
        auto need = [&](std::size_t n, bool pairs) {
            return pairs ? v.size() >= n && v.size() % 2 == 0 : v.size() == n;
        };
        if (cmd == "text") {
            if (!need(3, false)) return fail("text takes x y size \"text\"");
            auto t = std::make_unique<CKovText>();
            t->MTextID = unit->NextTextId();
            t->MTextpnt = {v[0], v[1]};
            t->MTextFontMenu.m_size = v[2];
            t->MTextstr = w.back();
            t->MTextGrpID = group->MGrpID;
            group->MGrpTextID.push_back(t->MTextID);
            unit->m_Texts.Add(std::move(t));
            continue;
        }
        if (cmd == "rect") {
            if (!need(4, false)) return fail("rect takes two corners");
            const double l = std::min(v[0], v[2]), r = std::max(v[0], v[2]);
            const double t = std::min(v[1], v[3]), b = std::max(v[1], v[3]);
            f->MLineType = CKovLine::RECTANGLE;
            f->MLinePnt = {{l, t}, {l, b}, {r, b}, {r, t}};
        } else if (cmd == "line") {
            if (!need(4, false)) return fail("line takes two points");
            f->MLineType = CKovLine::LINE;
            f->MLinePnt = {{v[0], v[1]}, {v[2], v[3]}};
        } else if (cmd == "poly" || cmd == "polyline") {
            if (!need(cmd == "poly" ? 6 : 4, true)) return fail(cmd + " takes point pairs");
            f->MLineType = cmd == "poly" ? CKovLine::POLYGON : CKovLine::CONTINUOUS;
            for (std::size_t i = 0; i < v.size(); i += 2) f->MLinePnt.push_back({v[i], v[i + 1]});
        } else if (cmd == "circle") {
            if (!need(3, false) || !(v[2] > 0)) return fail("circle takes a centre and a radius");
            f->MLineType = CKovLine::CIRCLE;
            f->MLinePnt = {{v[0], v[1]}};
            f->MLineParam = {v[2]};
        } else if (cmd == "ellipse") {
            if (!need(4, false) || !(v[2] > 0) || !(v[3] > 0)) return fail("ellipse takes a centre and half axes");
            f->MLineType = CKovLine::CIRCLE;
            f->MLinePnt = {{v[0], v[1]}};
            f->MLineParam = {v[2], v[3] / v[2]};
        } else if (cmd == "arc") {
            if (!need(5, false) || !(v[2] > 0)) return fail("arc takes a centre, a radius and two angles");
            f->MLineType = CKovLine::ARC;
            f->MLinePnt = {{v[0], v[1]}, onCircle(v[0], v[1], v[2], v[3]), onCircle(v[0], v[1], v[2], v[4])};
            f->MLineParam = {v[2]};
        } else {
            return fail("unknown command: " + cmd);
        }
        f->MLineID = unit->NextLineId();
        f->MLineGrpID = group->MGrpID;
        group->MGrpLineID.push_back(f->MLineID);
        unit->m_Lines.Add(std::move(f));
    }
    if (unit) return fail("part without end");
    return true;
}

} // namespace kov::library
