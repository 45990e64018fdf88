#pragma once

// The end mark of the launch benchmark (bench/launch), shared by kiila and the benchmark's bare
// window: once the first paint has been handed to the display, the time (microseconds since the
// epoch) on standard output, then the end of the program.

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>

namespace app {

// Called from the first paint's event; the paint is handed over when that event is done.
inline void writeTimeAndQuitAfterPaint(QObject *context)
{
    QTimer::singleShot(0, context, [] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("%lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}

} // namespace app
