#pragma once
// The main of a benchmark of widgets: an application on the offscreen platform (unless another
// is asked for), the benchmarks, then `beforeQuit` to let the widgets go before the application.
#include <benchmark/benchmark.h>
#include <QApplication>

#include <functional>

inline int RunWidgetBenchmarks(int argc, char** argv, const std::function<void()>& beforeQuit) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    beforeQuit();
    return 0;
}
