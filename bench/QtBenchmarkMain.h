// The main of benchmarks that need a QApplication: headless unless a display platform was
// asked for; `beforeExit` releases the benchmark's widgets while the application still lives.
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>

namespace tomery::bench {

inline int RunQtBenchmarks(int argc, char** argv, const std::function<void()>& beforeExit) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    beforeExit();
    return 0;
}

}  // namespace tomery::bench
