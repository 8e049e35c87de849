// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: from starting the process to the main window shown and painted, against a bare Qt
// program with one 388 x 555 window and as many controls, each started as its own process.
#include "benchsupport.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>

using namespace quorlin::bench;

namespace {

struct Started
{
    double ms = -1;
    int controls = 0;
};

Started startOnce(const QString &program, const QStringList &args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    const double before = monotonicMs();
    process.start(program, args);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    const QList<QByteArray> words = process.readAllStandardOutput().trimmed().split(' ');
    if (words.size() < 3 || words.at(0) != "PAINTED")
        return {};
    return {words.at(1).toDouble() - before, words.at(2).toInt()};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 41;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    BellDirectory bell;
    const QString dir = QCoreApplication::applicationDirPath();
    const QString quorlin = dir + QStringLiteral("/bench_startup_quorlin");
    const QString bare = dir + QStringLiteral("/bench_startup_bare");

    // Once to learn the number of controls (and to warm the file cache for both).
    const Started probe = startOnce(quorlin, {});
    if (probe.ms < 0) {
        std::fprintf(stderr, "bench_startup: the program did not paint its main window\n");
        return 1;
    }
    const QStringList bareArgs{QString::number(probe.controls)};
    startOnce(bare, bareArgs);

    std::vector<double> program, floor, ratios;
    for (int i = 0; i < runs; ++i) {
        // Alternate, so that both see the same load on a shared machine.
        const Started q = startOnce(quorlin, {});
        const Started b = startOnce(bare, bareArgs);
        if (q.ms < 0 || b.ms < 0)
            continue;
        program.push_back(q.ms);
        floor.push_back(b.ms);
        ratios.push_back(q.ms / b.ms);
    }
    std::printf("Start-up to the main window shown and painted (%zu runs, %d controls)\n",
                program.size(), probe.controls);
    std::printf("  %-28s median %7.1f ms  (p10 %.1f, p90 %.1f)\n", "Quorlin", median(program),
                quantile(program, 0.1), quantile(program, 0.9));
    std::printf("  %-28s median %7.1f ms  (p10 %.1f, p90 %.1f)\n", "bare Qt window", median(floor),
                quantile(floor, 0.1), quantile(floor, 0.9));
    const double ratio = median(ratios);
    std::printf("  %-28s median %7.2f     (p10 %.2f, p90 %.2f)  target <= 1.25\n",
                "ratio, pair by pair", ratio, quantile(ratios, 0.1), quantile(ratios, 0.9));
    summary("Start-up", median(program), median(floor), "ms", ratio, "<= 1.25 x", ratio <= 1.25);
    return 0;
}
