#pragma once

// The main of the benchmarks that paint. Fonts and the painter want a GUI application, which
// benchmark's own main does not make. It lives on main's stack, so it is gone before Qt's global
// statics are torn down; an application held in a static was destroyed after them and crashed the
// program at exit.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdlib>

namespace kov::bench {

inline int runWithGuiApplication(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace kov::bench

#define KOV_BENCHMARK_MAIN_WITH_GUI()                                                                        \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        return kov::bench::runWithGuiApplication(argc, argv);                                                \
    }
