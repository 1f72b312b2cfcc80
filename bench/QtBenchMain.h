// The main of a benchmark that drives widgets: the benchmarks run inside a
// QApplication on the given platform (unless QT_QPA_PLATFORM says
// otherwise); cleanup runs before the application goes, since widgets may
// not outlive it.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <QWindow>

// Shows widget at size and waits until it is on screen: painting needs that.
inline void ShowOnScreen(QWidget* widget, QSize size)
{
    widget->resize(size);
    widget->show();
    for (int i = 0; i < 50 && !widget->windowHandle()->isExposed(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

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
