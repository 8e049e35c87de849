// SPDX-License-Identifier: GPL-3.0-or-later
// Idle: process CPU time (getrusage) over 10 s of the event loop, with every kind of window
// opened once and closed, against the same wait in a bare window in the same process first.
#include "benchsupport.h"
#include "windowpaths.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

using namespace quorlin;
using namespace quorlin::bench;

namespace {

double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Percent of one core used while the event loop sits idle for `ms`.
double idlePercent(int ms)
{
    const double cpu = cpuMs();
    const double wall = monotonicMs();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return (cpuMs() - cpu) / (monotonicMs() - wall) * 100;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication qtApp(qtArgc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;

    double floor = 0;
    {
        QWidget bare(nullptr, Qt::Window | Qt::FramelessWindowHint);
        bare.setFixedSize(388, 555);
        bare.show();
        QCoreApplication::processEvents();
        floor = idlePercent(seconds * 1000);
    }

    BellDirectory bell;
    // The system's sound output: a bell still sounding would be counted, so the loop starts
    // once the last bell has ended.
    BenchServices benchServices(false);
    Application app;
    app.initialize();
    app.createForm(TabbedForm);
    app.startUp();
    auto settle = [] { QCoreApplication::processEvents(); };
    userCycle(settle);
    settle();
    QEventLoop wait;
    QTimer::singleShot(10000, &wait, &QEventLoop::quit); // the bell (8.5 s) and a margin
    wait.exec();
    const double program = idlePercent(seconds * 1000);
    std::printf("Idle over %d s with every window opened once and closed (real sound output)\n",
                seconds);
    std::printf("  Quorlin %.3f %% of a core; a bare window %.3f %%; target < 0.5 %%\n", program,
                floor);
    summary("Idle CPU", program, floor, "%", floor > 0 ? program / floor : 0, "< 0.5 % core",
            program < 0.5);
    return 0;
}
