// Real Jw_cad drawings of other people, copied and changed at run time where a case needs it:
// layers with their states and names, each group at its own scale, solids, the settings version-7
// files keep as texts, points, and the round trip through our drawing and back.

#include "jwcad/JwConversion.h"
#include "jwcad/JwExport.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

namespace {

const std::string kSamples = KOVIRA_SAMPLES "/jww/";
const std::string kApartment = "Ａマンション平面例.jww";

std::vector<std::uint8_t> sampleBytes(const std::string& name)
{
    std::ifstream in(kSamples + name, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Where the header keeps the state word of a layer: after the signature, the version, the memo,
// the paper code and the write group come 16 groups of (state, write layer, scale, protection)
// each followed by 16 layers of (state, protection).
std::size_t layerStateOffset(const std::vector<std::uint8_t>& b, int group, int layer)
{
    std::size_t at = 12;
    std::size_t memo = b.at(at);
    at += 1;
    if (memo == 0xFF) {
        memo = b.at(at) | (b.at(at + 1) << 8);
        at += 2;
    }
    at += memo + 8;
    at += static_cast<std::size_t>(group) * (20 + 16 * 8);
    return at + 20 + static_cast<std::size_t>(layer) * 8;
}

void putDword(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(v >> (8 * i));
}

struct Imported {
    CPlotInfo plot;
    CKovUnit unit;
    JwImportOutcome outcome;
};

std::unique_ptr<Imported> importBytes(const std::vector<std::uint8_t>& bytes, JwwImportOptions options = {})
{
    auto out = std::make_unique<Imported>();
    out->outcome = ImportJwwDrawing(bytes.data(), bytes.size(), options, out->plot, out->unit);
    return out;
}

int linesOn(const CKovUnit& unit, int group, int layer, int kind = CKovLine::LINE)
{
    int n = 0;
    for (const auto& f : unit.m_Lines)
        n += f->MLineLayer1 == group && f->MLineLayer2 == layer && f->MLineType == kind;
    return n;
}

int textsOn(const CKovUnit& unit, int group, int layer)
{
    int n = 0;
    for (const auto& t : unit.m_Texts)
        n += t->MTextLayer1 == group && t->MTextLayer2 == layer;
    return n;
}

const CLayerInfo& layerInfo(const CPlotInfo& plot, int g, int l)
{
    return plot.m_Layer.m_LayerInfo[static_cast<std::size_t>(g)][static_cast<std::size_t>(l)];
}

// The drawing's texts by their string, with their places on paper (drawing mm / group scale).
std::multimap<std::string, CDbPoint> textsOnPaper(const Imported& d)
{
    std::multimap<std::string, CDbPoint> m;
    for (const auto& t : d.unit.m_Texts) {
        const double s = d.plot.m_Layer.m_dScale[static_cast<std::size_t>(t->MTextLayer1)];
        m.emplace(t->MTextstr, CDbPoint(t->MTextpnt.x / s, t->MTextpnt.y / s));
    }
    return m;
}

} // namespace

TEST(JwwSamples, HiddenLayerStaysHiddenWithItsObjects)
{
    // The apartment plan with layer 7 of group 0 (寸法) set hidden in the file.
    std::vector<std::uint8_t> bytes = sampleBytes(kApartment);
    ASSERT_FALSE(bytes.empty());
    const auto plain = importBytes(bytes);
    ASSERT_TRUE(plain->outcome.ok);
    putDword(bytes, layerStateOffset(bytes, 0, 7), 0);
    const auto d = importBytes(bytes);
    ASSERT_TRUE(d->outcome.ok);

    EXPECT_EQ(layerInfo(d->plot, 0, 7).m_strName, "　寸法");   // as the file has it
    EXPECT_EQ(layerInfo(d->plot, 0, 7).m_nType, CLayerInfo::LAYER_HIDDEN);
    EXPECT_EQ(layerInfo(plain->plot, 0, 7).m_nType, CLayerInfo::LAYER_SNAP);
    EXPECT_EQ(linesOn(d->unit, 0, 7), 18);
    EXPECT_EQ(textsOn(d->unit, 0, 7), 8);
    // Every record keeps its own layer: the drawing is not merged into layer 0.
    int layersUsed = 0;
    for (int l = 0; l < 16; ++l)
        layersUsed += linesOn(d->unit, 0, l) + textsOn(d->unit, 0, l) > 0;
    EXPECT_GT(layersUsed, 3);
    // The file's names reach the layer table; the group and layer it was written on are current.
    int named = 0;
    for (int l = 0; l < 16; ++l)
        named += !layerInfo(d->plot, 0, l).m_strName.empty();
    EXPECT_GT(named, 3);
}

TEST(JwwSamples, StatesOfGroupsAndLayersAndTheWrittenLayer)
{
    std::vector<std::uint8_t> bytes = sampleBytes("サンプル.jww");
    ASSERT_FALSE(bytes.empty());
    // Group 2 hidden, layer 3 of group 0 shown only, and the file written on group 1, layer 4.
    struct Change {
        std::size_t at;
        std::uint32_t value;
    };
    const std::size_t group2 = layerStateOffset(bytes, 2, 0) - 20;
    const std::size_t group1 = layerStateOffset(bytes, 1, 0) - 20;
    const Change changes[] = {
        {group2, 0},
        {layerStateOffset(bytes, 0, 3), 1},
        {layerStateOffset(bytes, 0, 5), 0},
        {group1 + 4, 4},   // group 1's write layer
        {layerStateOffset(bytes, 1, 4), 3},
        {layerStateOffset(bytes, 0, 0) - 20 - 4, 1},   // the write group
    };
    for (const Change& c : changes)
        putDword(bytes, c.at, c.value);
    const auto d = importBytes(bytes);
    ASSERT_TRUE(d->outcome.ok);
    const CLayer& L = d->plot.m_Layer;
    EXPECT_EQ(L.m_GrpLayerInfo[2].m_nType, CLayerInfo::LAYER_HIDDEN);
    EXPECT_EQ(L.m_GrpLayerInfo[0].m_nType, CLayerInfo::LAYER_SNAP);
    EXPECT_EQ(layerInfo(d->plot, 0, 3).m_nType, CLayerInfo::LAYER_VISIBLE);
    EXPECT_EQ(layerInfo(d->plot, 0, 5).m_nType, CLayerInfo::LAYER_HIDDEN);
    EXPECT_EQ(L.m_nCurrentGroup, 1);
    EXPECT_EQ(L.m_nCurrentLayer, 4);
    EXPECT_EQ(layerInfo(d->plot, 1, 4).m_nType, CLayerInfo::LAYER_SNAP);
}

TEST(JwwSamples, EachGroupKeepsItsOwnScale)
{
    // The texts of the sample moved into group 1 at 1:50: on paper they stay where they were.
    JwwHeader h;
    ASSERT_TRUE(h.ReadJwwFile(kSamples + "サンプル.jww").ok);
    const double scale0 = h.m_groups[0].scale;
    ASSERT_NE(scale0, 50.0);
    const auto before = importBytes(h.WriteJwwArchive());
    h.m_groups[1].scale = 50;
    int moved = 0;
    for (auto& r : h.m_DataList) {
        if (r && r->GetKind() == CData::MOJI && r->m_nGLayer == 0) {
            r->m_nGLayer = 1;
            ++moved;
        }
    }
    ASSERT_GT(moved, 10);
    const auto after = importBytes(h.WriteJwwArchive());
    ASSERT_TRUE(after->outcome.ok);
    EXPECT_EQ(after->plot.m_Layer.m_dScale[0], scale0);
    EXPECT_EQ(after->plot.m_Layer.m_dScale[1], 50.0);
    const auto was = textsOnPaper(*before), is = textsOnPaper(*after);
    ASSERT_EQ(was.size(), is.size());
    for (auto a = was.begin(), b = is.begin(); a != was.end(); ++a, ++b) {
        EXPECT_EQ(a->first, b->first);
        EXPECT_NEAR(a->second.x, b->second.x, 1e-9) << a->first;
        EXPECT_NEAR(a->second.y, b->second.y, 1e-9) << a->first;
    }
}

TEST(JwwSamples, SolidsAreFillsWithoutOutline)
{
    const auto d = importBytes(sampleBytes(kApartment));
    ASSERT_TRUE(d->outcome.ok);
    int solids = 0;
    for (const auto& f : d->unit.m_Lines) {
        if (f->MLinebNakanuri == 0)
            continue;
        ++solids;
        EXPECT_EQ(f->MLineNoOutline, 1);
        EXPECT_EQ(f->MLineNakaColor, f->MLineNakaColor2);
    }
    EXPECT_EQ(solids, 79);
}

TEST(JwwSamples, SettingsOfVersion7AreNoTextsAndPointsAreSaid)
{
    struct Row {
        const char* file;
        int texts;                 // texts of the drawing
        const char* pointsMessage; // nullptr: none
    } rows[] = {
        // Version 700: six settings texts each ("Printer_PaperSize = 0" ...), nothing else.
        {"2blocks.jww", 0, nullptr},
        {"non_block.jww", 0, nullptr},
        {"Test2.jww", 23, "点 6 個は読み込みません。"},
        {"敷地図.jww", 0, nullptr},
    };
    for (const Row& r : rows) {
        const auto d = importBytes(sampleBytes(r.file));
        ASSERT_TRUE(d->outcome.ok) << r.file;
        EXPECT_EQ(d->unit.m_Texts.GetSize(), r.texts) << r.file;
        const auto& m = d->outcome.messages;
        const bool said = std::find_if(m.begin(), m.end(), [](const std::string& s) {
                              return s.find("個は読み込みません") != std::string::npos;
                          }) != m.end();
        EXPECT_EQ(said, r.pointsMessage != nullptr) << r.file;
        if (r.pointsMessage) {
            EXPECT_NE(std::find(m.begin(), m.end(), r.pointsMessage), m.end()) << r.file;
        }
    }
}

TEST(JwwSamples, RoundTripKeepsLayersStatesScalesAndFills)
{
    // JWW → our drawing → JWW → our drawing, with a hidden layer, a hidden group and a group at 1:50.
    JwwHeader h;
    ASSERT_TRUE(h.ReadJwwFile(kSamples + kApartment).ok);
    h.m_groups[0].layerState[7] = 0;
    h.m_groups[1].scale = 50;
    h.m_groups[1].name = "詳細";
    h.m_groups[3].state = 0;
    // Layers of other groups at the index of the layer written on (9) keep their states too.
    h.m_groups[2].layerState[9] = 0;
    h.m_groups[4].layerState[9] = 1;
    for (auto& r : h.m_DataList)
        if (r && r->GetKind() == CData::MOJI && r->m_nLayer == 7)
            r->m_nGLayer = 1;
    const auto first = importBytes(h.WriteJwwArchive());
    ASSERT_TRUE(first->outcome.ok);
    const JwExportOutcome written = ExportJwwBytes(first->plot, first->unit, {}, false);
    ASSERT_TRUE(written.ok) << written.message;
    const auto second = importBytes(written.bytes);
    ASSERT_TRUE(second->outcome.ok);

    EXPECT_EQ(second->plot.m_Layer.m_LayerInfo, first->plot.m_Layer.m_LayerInfo);
    EXPECT_EQ(second->plot.m_Layer.m_GrpLayerInfo, first->plot.m_Layer.m_GrpLayerInfo);
    EXPECT_EQ(second->plot.m_Layer.m_dScale, first->plot.m_Layer.m_dScale);
    EXPECT_EQ(second->plot.m_Layer.m_nCurrentGroup, first->plot.m_Layer.m_nCurrentGroup);
    EXPECT_EQ(second->plot.m_Layer.m_nCurrentLayer, first->plot.m_Layer.m_nCurrentLayer);
    EXPECT_EQ(second->plot.m_Layer.m_GrpLayerInfo[3].m_nType, CLayerInfo::LAYER_HIDDEN);
    EXPECT_EQ(second->plot.m_Layer.m_dScale[1], 50.0);
    EXPECT_EQ(textsOn(second->unit, 1, 7), 8);

    // Every fill comes back a fill without outline, in its colour and place.
    auto fills = [](const CKovUnit& u) {
        std::vector<const CKovLine*> v;
        for (int i = 0; i < u.m_Lines.GetSize(); ++i)
            if (u.m_Lines[i]->MLinebNakanuri)
                v.push_back(&*u.m_Lines[i]);
        return v;
    };
    const auto a = fills(first->unit), b = fills(second->unit);
    ASSERT_EQ(a.size(), 79u);
    ASSERT_EQ(b.size(), a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(b[i]->MLineNoOutline, 1);
        EXPECT_EQ(b[i]->MLineNakaColor, a[i]->MLineNakaColor);
        EXPECT_EQ(b[i]->MLineType, a[i]->MLineType);
        ASSERT_EQ(b[i]->MLinePnt.size(), a[i]->MLinePnt.size());
        for (std::size_t k = 0; k < a[i]->MLinePnt.size(); ++k) {
            EXPECT_NEAR(b[i]->MLinePnt[k].x, a[i]->MLinePnt[k].x, 1e-6);
            EXPECT_NEAR(b[i]->MLinePnt[k].y, a[i]->MLinePnt[k].y, 1e-6);
        }
    }
    // Figures and texts on the same layers as before (tilted ellipses, held as outlines, come back
    // as their segments, so figures are compared by layer, not by number).
    auto figuresOn = [](const CKovUnit& u, int g, int l) {
        int n = 0;
        for (const auto& f : u.m_Lines)
            n += f->MLineLayer1 == g && f->MLineLayer2 == l;
        return n;
    };
    for (int g = 0; g < 16; ++g)
        for (int l = 0; l < 16; ++l) {
            EXPECT_EQ(figuresOn(second->unit, g, l) > 0, figuresOn(first->unit, g, l) > 0) << g << "-" << l;
            EXPECT_GE(linesOn(second->unit, g, l), linesOn(first->unit, g, l)) << g << "-" << l;
            EXPECT_EQ(textsOn(second->unit, g, l), textsOn(first->unit, g, l)) << g << "-" << l;
        }
}
