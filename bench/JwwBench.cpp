// Reading Jw_cad drawings into a document: the largest public sample, and a generated drawing of
// 100,000 records (lines, arcs, texts, solids and block inserts in the mix of a floor plan, within
// the drawing's identifier limits: about 62,000 figures and 45,000 texts).
// Aims: the sample <= 20 ms, the generated drawing <= 0.3 s, read and converted.

#include "jwcad/JwConversion.h"
#include "jwcad/JwExport.h"
#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

std::vector<std::uint8_t> sampleBytes()
{
    std::vector<std::uint8_t> bytes;
    ReadWholeFile(KOVIRA_BENCH_SAMPLES "/jww/Ａマンション平面例.jww", bytes);
    return bytes;
}

std::vector<std::uint8_t> generated(int records)
{
    JwwHeader h;
    MakeDefaultJwwHeader(h);
    auto def = std::make_unique<CDataList>();
    def->m_nNumber = 1;
    for (int i = 0; i < 8; ++i) {
        auto l = std::make_unique<CDataSen>();
        l->m_end_x = std::cos(i * 0.785) * 5;
        l->m_end_y = std::sin(i * 0.785) * 5;
        def->m_DataList.push_back(std::move(l));
    }
    h.m_DataListList.push_back(std::move(def));
    for (int i = 0; i < records; ++i) {
        const double x = (i % 300) * 3.0, y = (i / 300) * 3.0;
        const int r = i % 20;
        if (r < 9) {
            auto t = std::make_unique<CDataMoji>();
            t->m_start_x = x;
            t->m_start_y = y;
            t->m_end_x = x + 6;
            t->m_end_y = y;
            t->m_dSizeY = 3;
            t->m_strFontName = "ＭＳ ゴシック";
            t->m_string = "洋室６帖";
            h.m_DataList.push_back(std::move(t));
        } else if (r < 11) {
            auto e = std::make_unique<CDataEnko>();
            e->m_start_x = x;
            e->m_start_y = y;
            e->m_dHankei = 1;
            e->m_radEnkoKaku = 1.5;
            e->m_dHenpeiRitsu = 1;
            h.m_DataList.push_back(std::move(e));
        } else if (r == 11) {
            auto s = std::make_unique<CDataSolid>();
            s->m_start_x = x;
            s->m_end_x = x + 1;
            s->m_DPoint2_x = x + 1;
            s->m_DPoint2_y = y + 1;
            s->m_DPoint3_y = y + 1;
            h.m_DataList.push_back(std::move(s));
        } else if (i % 100 == 12) {
            auto b = std::make_unique<CDataBlock>();
            b->m_DPKijunTen_x = x;
            b->m_DPKijunTen_y = y;
            b->m_dBairitsuX = b->m_dBairitsuY = 1;
            b->m_n_Number = 1;
            h.m_DataList.push_back(std::move(b));
        } else {
            auto l = std::make_unique<CDataSen>();
            l->m_start_x = x;
            l->m_start_y = y;
            l->m_end_x = x + 3;
            l->m_end_y = y + (i % 7);
            h.m_DataList.push_back(std::move(l));
        }
    }
    return h.WriteJwwArchive();
}

void importBytes(benchmark::State& state, const std::vector<std::uint8_t>& bytes)
{
    std::size_t objects = 0;
    for (auto _ : state) {
        CPlotInfo plot;
        CKovUnit unit;
        const auto out = ImportJwwDrawing(bytes.data(), bytes.size(), {}, plot, unit);
        if (!out.ok)
            state.SkipWithError("the drawing did not read");
        objects = unit.m_Lines.size() + unit.m_Texts.size();
        benchmark::DoNotOptimize(objects);
    }
    state.counters["objects"] = static_cast<double>(objects);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_JwwSampleApartment(benchmark::State& state)
{
    static const auto bytes = sampleBytes();
    importBytes(state, bytes);
}
BENCHMARK(BM_JwwSampleApartment)->Unit(benchmark::kMillisecond);

void BM_JwwGenerated100k(benchmark::State& state)
{
    static const auto bytes = generated(100000);
    importBytes(state, bytes);
}
BENCHMARK(BM_JwwGenerated100k)->Unit(benchmark::kMillisecond);

void BM_JwwWriteGenerated100k(benchmark::State& state)
{
    static const auto bytes = generated(100000);
    CPlotInfo plot;
    CKovUnit unit;
    ImportJwwDrawing(bytes.data(), bytes.size(), {}, plot, unit);
    for (auto _ : state) {
        const auto out = ExportJwwBytes(plot, unit, {}, false);
        benchmark::DoNotOptimize(out.bytes.data());
    }
}
BENCHMARK(BM_JwwWriteGenerated100k)->Unit(benchmark::kMillisecond);

} // namespace
