// Small helpers of the widget tests: readable QStrings in failure messages,
// and waiting for something while the event loop runs.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTest>
#include <functional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Runs the event loop until done() holds or timeoutMs have passed.  The
// time is generous: it is only spent when the test fails, and a machine
// busy with other tests can hold a healthy one up for seconds.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(10);
    }
    return true;
}
