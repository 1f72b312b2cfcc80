// The main of a benchmark that drives widgets: the benchmarks run inside a
// QApplication on the given platform (unless QT_QPA_PLATFORM says
// otherwise); cleanup runs before the application goes, since widgets may
// not outlive it.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

inline int RunQtBenchmarks(int argc, char** argv, const char* platform, void (*cleanup)())
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    cleanup();
    return 0;
}
