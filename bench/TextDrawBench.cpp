// The text drawers as a redraw and picking make them run: 5,000 texts of a plan (room names, notes
// of two lines, turned labels, vertical notes, a few decorated titles) drawn into a 1920 × 1080 back
// buffer, and their boxes measured.

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/PainterSurface.h"
#include "render/DrawEnvironment.h"

#include "BenchApplication.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kTexts = 5000;

DeviceTransform fitted()
{
    DeviceTransform t;
    t.scaleX.fill(0.1);
    t.scaleY.fill(0.1);
    t.paperScale = 3.78;
    return t;
}

// mix 0: the plan's mix; 1: every text horizontal and plain; 2: every text turned 45 degrees;
// 3: every text vertical; 4: every text decorated.
void fill(CKovUnit& unit, int mix = 0)
{
    const char* const words[] = {"洋室 6.0帖", "LDK 18.5帖\r\n(30.28㎡)", "和室", "玄関", "浴室", "収納"};
    for (int i = 0; i < kTexts; ++i) {
        auto t = std::make_unique<CKovText>();
        t->MTextID = unit.NextTextId();
        t->MTextstr = words[i % 6];
        t->MTextpnt = CDbPoint((i % 100) * 190.0, (i / 100) * 210.0);
        t->MTextFontMenu.m_size = 3.5;
        if (i % 10 == 7) t->MTextFontMenu.lfEscapement = 450;
        if (i % 10 == 8) {
            t->MTextFontMenu.lfFaceName = "@ＭＳ ゴシック";
            t->MTextFontMenu.lfEscapement = 2700;
        }
        if (i % 100 == 99) t->MTextHuchiFlg = 1;
        if (mix != 0) {
            t->MTextHuchiFlg = mix == 4 ? 1 : 0;
            t->MTextFontMenu.lfFaceName = mix == 3 ? "@ＭＳ ゴシック" : "ＭＳ ゴシック";
            t->MTextFontMenu.lfEscapement = mix == 2 ? 450 : mix == 3 ? 2700 : 0;
        }
        unit.m_Texts.Add(std::move(t));
    }
}

void DrawTexts(benchmark::State& state)
{
    CKovUnit unit;
    fill(unit, int(state.range(0)));
    QImage image(1920, 1080, QImage::Format_RGB32);
    kov::platform::PainterSurface surface(image);
    const DeviceTransform t = fitted();
    const CPlotInfo plot;
    const SelectionRecord selection;
    const CKovUnit::DrawEnvironment env;
    for (auto _ : state) {
        for (const auto& text : unit.m_Texts)
            CKovUnit::DrawTextObject(surface, t, *text, plot, selection, false, 0, false, env);
    }
    state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(DrawTexts)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// The first draw of texts never drawn before (a drawing just opened): every line is laid out.
void DrawTextsFirstTime(benchmark::State& state)
{
    CKovUnit unit;
    fill(unit, int(state.range(0)));
    QImage image(1920, 1080, QImage::Format_RGB32);
    kov::platform::PainterSurface surface(image);
    const DeviceTransform t = fitted();
    const CPlotInfo plot;
    const SelectionRecord selection;
    const CKovUnit::DrawEnvironment env;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        for (int i = 0; i < unit.m_Texts.GetSize(); ++i) {
            CKovText* text = unit.m_Texts[i];
            const std::size_t cut = text->MTextstr.find('#');
            text->MTextstr = text->MTextstr.substr(0, cut) + "#" + std::to_string(round);
        }
        state.ResumeTiming();
        for (const auto& text : unit.m_Texts)
            CKovUnit::DrawTextObject(surface, t, *text, plot, selection, false, 0, false, env);
    }
    state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(DrawTextsFirstTime)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void MeasureTextBoxes(benchmark::State& state)
{
    CKovUnit unit;
    fill(unit);
    QImage image(16, 16, QImage::Format_RGB32);
    kov::platform::PainterSurface surface(image);
    for (auto _ : state) {
        for (const auto& text : unit.m_Texts) {
            kov::platform::DeviceRect box;
            CKovUnit::TextBoxSize(box, surface, 0, 0, text->MTextstr, text->MTextFontMenu, 3.78);
            benchmark::DoNotOptimize(box);
        }
    }
    state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(MeasureTextBoxes)->Unit(benchmark::kMillisecond);

} // namespace

KOV_BENCHMARK_MAIN_WITH_GUI()
