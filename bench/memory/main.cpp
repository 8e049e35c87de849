// SPDX-License-Identifier: GPL-3.0-or-later
// Memory: resident memory after N cycles of the full user path of every secondary window (open,
// draw where there is a draw, close), minus resident memory after the first 20 cycles.
#include "benchsupport.h"
#include "windowpaths.h"

#include <QApplication>

#include <cstdio>
#include <malloc.h>

using namespace quorlin;
using namespace quorlin::bench;

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication qtApp(qtArgc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int first = 20;

    BellDirectory bell;
    BenchServices benchServices;
    Application app;
    app.initialize();
    app.createForm(TabbedForm);
    app.startUp();
    QCoreApplication::processEvents();

    // After each opening, the new window is painted before the user goes on.
    auto settle = [] {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    // Bytes the program holds on the heap, apart from what the allocator keeps free.
    auto heapInUseMb = [] {
        const struct mallinfo2 info = mallinfo2();
        return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
    };
    const double start = residentMb();
    double afterFirst = 0, heapAfterFirst = 0;
    const double begun = monotonicMs();
    for (int i = 1; i <= cycles; ++i) {
        userCycle(settle);
        settle();
        if (i == first) {
            afterFirst = residentMb();
            heapAfterFirst = heapInUseMb();
        }
        if (i % 250 == 0) {
            std::printf("  after %5d cycles: %8.1f MB resident, %zu windows owned\n", i,
                        residentMb(), size_t(app.owned().size()));
            std::fflush(stdout);
        }
    }
    const double end = residentMb();
    const double heapEnd = heapInUseMb();
    const double growth = end - afterFirst;
    // Freed memory the allocator keeps for reuse counts as resident; trimming it shows how much
    // of the growth is live data and how much is the allocator's free pages.
    malloc_trim(0);
    const double trimmed = residentMb();
    std::printf("Memory over %d cycles of the eight secondary windows' user paths (%.0f s)\n",
                cycles, (monotonicMs() - begun) / 1000);
    std::printf("  resident at start %.1f MB, after %d cycles %.1f MB, after %d cycles %.1f MB\n",
                start, first, afterFirst, cycles, end);
    std::printf("  growth after the first %d cycles: %.2f MB (%.1f KB per cycle of 8 windows); "
                "target < 5 MB over 2000 cycles\n",
                first, growth, growth * 1024 / std::max(1, cycles - first));
    std::printf("  after giving the allocator's free pages back (malloc_trim): %.1f MB, growth "
                "%.2f MB\n",
                trimmed, trimmed - afterFirst);
    std::printf("  heap in use after %d cycles %.2f MB, after %d cycles %.2f MB: growth %.2f MB\n",
                first, heapAfterFirst, cycles, heapEnd, heapEnd - heapAfterFirst);
    // Extrapolated to 2,000 cycles when fewer were run.
    const double per2000 = growth * (2000.0 - first) / std::max(1, cycles - first);
    summary("Memory growth / 2000 cycles", per2000, 0, "MB", 0, "< 5 MB", per2000 < 5);
    return 0;
}
