// Writing and reading a drawing-sized archive (about 50 MB of figure blocks).

#include "model/DefFile.h"
#include "platform/NumberText.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kFigures = 160000; // about 330 bytes each

// Writes figure blocks shaped like a drawing's: ids, "%fd" points, colours and small ints.
void writeDrawing(CArchive& ar)
{
    CDefFile w;
    w.WriteStart(ar, "KOVDATA");
    w.WriteStart(ar, "KovUnit");
    w.WriteDataInt(ar, "MUnitLineID", kFigures);
    for (int i = 0; i < kFigures; ++i) {
        w.WriteStart(ar, "BLK_UnitLine");
        w.WriteDataInt(ar, "MLineID", i);
        for (int p = 0; p < 2; ++p) {
            w.WriteData(ar, "MLinePntX", kov::platform::formatFixedD(i * 0.5 + p));
            w.WriteData(ar, "MLinePntY", kov::platform::formatFixedD(-i * 0.25 - p));
        }
        w.WriteDataInt(ar, "MLinebNakanuri", 0);
        w.WriteDataInt(ar, "MLineColor", 0x00FF8040);
        w.WriteDataInt(ar, "MLineNakaColor", 0xFFFFFF);
        w.WriteDataInt(ar, "MLineLineT", 1);
        w.WriteDataInt(ar, "MLineWide", 2);
        w.WriteDataInt(ar, "MLineType", 3);
        w.WriteDataInt(ar, "MLineGrpID", -1);
        w.WriteDataInt(ar, "MLineLayer1", 1);
        w.WriteDataInt(ar, "MLineLayer2", 2);
        w.WriteData(ar, "MLineMemo", "壁芯\t通り芯, A=1");
        w.WriteEnd(ar, "BLK_UnitLine");
    }
    w.WriteEnd(ar, "KovUnit");
    w.WriteEnd(ar, "KOVDATA");
}

// A reader doing what object readers do: compare keys without case and convert numbers.
class FigureReader : public CDefFile {
public:
    double sum = 0;

protected:
    int OnReadData(std::string_view key, std::string_view value) override
    {
        if (keyIs(key, "MLinePntX") || keyIs(key, "MLinePntY")) sum += kov::platform::parseDouble(value);
        else if (keyIs(key, "MLineID")) sum += kov::platform::parseInt(value);
        return 1;
    }
};

class DrawingReader : public CDefFile {
public:
    double sum = 0;

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override
    {
        if (keyIs(block, "KovUnit")) return Load(ar, block) ? RD_READ : RD_FAILED;
        if (!keyIs(block, "BLK_UnitLine")) return RD_SKIP;
        FigureReader f;
        if (!f.Load(ar, block)) return RD_FAILED;
        sum += f.sum;
        return RD_READ;
    }
};

void BM_ArchiveWrite(benchmark::State& state)
{
    std::size_t size = 0;
    for (auto _ : state) {
        auto ar = CArchive::forWriting();
        writeDrawing(*ar);
        size = ar->bytes().size();
        benchmark::DoNotOptimize(size);
    }
    state.SetBytesProcessed(std::int64_t(size) * state.iterations());
}
BENCHMARK(BM_ArchiveWrite)->Unit(benchmark::kMillisecond);

void BM_ArchiveRead(benchmark::State& state)
{
    auto out = CArchive::forWriting();
    writeDrawing(*out);
    const std::vector<std::uint8_t> bytes = out->bytes();
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::uint8_t> copy = bytes;
        state.ResumeTiming();
        auto ar = CArchive::forReading(std::move(copy)); // includes the checksum pass
        DrawingReader r;
        if (r.FindStart(*ar, "KOVDATA")) r.Load(*ar, "KOVDATA");
        if (!ar->error().ok()) state.SkipWithError(ar->error().describe().c_str());
        benchmark::DoNotOptimize(r.sum);
    }
    state.SetBytesProcessed(std::int64_t(bytes.size()) * state.iterations());
}
BENCHMARK(BM_ArchiveRead)->Unit(benchmark::kMillisecond);

} // namespace
