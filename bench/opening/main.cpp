// SPDX-License-Identifier: GPL-3.0-or-later
// Opening: for each of the eight secondary windows, from the click on the button that opens it
// to the new window shown and painted, against creating, showing and painting an empty window
// of the same size with the same number of child controls, measured turn about in the same run.
#include "benchsupport.h"
#include "windowpaths.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <cstdio>
#include <memory>

using namespace quorlin;
using namespace quorlin::bench;

namespace {

std::vector<QWidget *> topLevels()
{
    const QWidgetList list = QApplication::topLevelWidgets();
    return {list.begin(), list.end()};
}

// Creates, shows and paints an empty borderless window with `controls` plain controls.
double openFloor(PaintProbe &probe, QSize size, int controls)
{
    probe.watchNew(topLevels());
    const double start = monotonicMs();
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window->setFixedSize(size);
    for (int i = 0; i < controls; ++i) {
        QWidget *w =
            i % 2 ? static_cast<QWidget *>(new QPushButton(QStringLiteral("ปุ่ม"), window.get()))
                  : new QLabel(QStringLiteral("ป้าย"), window.get());
        w->setGeometry(4 + (i % 4) * 95, 4 + (i / 4 % 20) * 26, 90, 24);
    }
    window->move(318, 106);
    window->show();
    window->raise();
    window->activateWindow();
    if (!probe.wait())
        return -1;
    return monotonicMs() - start;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication qtApp(qtArgc, argv);
    const int openings = argc > 1 ? std::atoi(argv[1]) : 200;
    // An optional window class name measures that window alone (for profiling one opening).
    const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    const int warmUp = 5;

    BellDirectory bell;
    BenchServices benchServices;
    Application app;
    app.initialize();
    app.createForm(TabbedForm);
    app.startUp();
    PaintProbe probe;
    probe.watch(TabbedForm);
    probe.wait();

    std::printf(
        "Opening each window, click to shown and painted (%d openings each; floor = an empty "
        "window, same size and number of controls)\n",
        openings);
    std::printf("  %-8s %9s %9s %9s %9s %8s %7s  %s\n", "window", "median", "p95", "floor med",
                "floor p95", "controls", "ratio", "(ms; ratio = median / floor median)");
    double worst = 0;
    const char *worstName = "";
    for (const WindowPath &path : windowPaths()) {
        if (!only.isEmpty() && only != path.className)
            continue;
        std::vector<double> program, floor;
        QSize size;
        int controls = 0;
        for (int i = 0; i < warmUp + openings; ++i) {
            path.prepare();
            QCoreApplication::processEvents();
            probe.watchNew(topLevels());
            const double start = monotonicMs();
            path.open();
            if (!probe.wait()) {
                std::fprintf(stderr, "%s was not painted\n", path.className);
                return 1;
            }
            const double ms = monotonicMs() - start;
            Form *form = path.opened();
            if (probe.window() != form) {
                std::fprintf(stderr, "%s: another window painted first\n", path.className);
                return 1;
            }
            size = form->size();
            controls = int(form->findChildren<QWidget *>().size());
            path.close();
            // What the event loop does between two events: run deferred deletions too.
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            const double floorMs = openFloor(probe, size, controls);
            QCoreApplication::processEvents();
            if (i < warmUp)
                continue;
            program.push_back(ms);
            floor.push_back(floorMs);
        }
        const double ratio = median(program) / median(floor);
        if (ratio > worst) {
            worst = ratio;
            worstName = path.className;
        }
        std::printf("  %-8s %9.2f %9.2f %9.2f %9.2f %8d %7.2f\n", path.className, median(program),
                    quantile(program, 0.95), median(floor), quantile(floor, 0.95), controls, ratio);
        std::fflush(stdout);
        const QByteArray figure = QByteArray("Opening ") + path.className;
        summary(figure.constData(), median(program), median(floor), "ms", ratio, "<= 2 x floor",
                ratio <= 2.0);
    }
    std::printf("  worst ratio %.2f (%s); resident memory at the end %.1f MB\n", worst, worstName,
                residentMb());
    return 0;
}
