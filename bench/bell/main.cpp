// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the time from Play to the first sample the sound server plays, on a null sink.

#include "bell/bellplayer.h"
#include "support/soundserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

using namespace quorlin;
using quorlin::test::NullSinkServer;
using quorlin::test::SinkRecorder;

namespace {

constexpr int kRuns = 20;
constexpr int kSilence = 8;
constexpr std::int64_t kMsNs = 1000000;
constexpr std::int64_t kEarlyMs = 100;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void report(const char *what, const std::vector<double> &ms)
{
    if (ms.empty()) {
        std::printf("%-58s no sound heard\n", what);
        return;
    }
    std::printf("%-58s median %6.1f ms  (min %.1f, max %.1f, %zu runs)\n", what, median(ms),
                *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()),
                ms.size());
}

// Plays through `play` and returns the milliseconds until the sink played a sound, if it did.
// The recorder can place a sound a few milliseconds before it was written (a null sink renders
// a little ahead of its clock), so sound is looked for from a little before Play, and such a
// time comes out negative instead of being cut off or lost.
std::optional<double> playToSound(SinkRecorder &recorder, const std::function<void()> &play)
{
    const std::int64_t played = SinkRecorder::nowNs();
    play();
    if (!recorder.waitUntilRecorded(played + 1000 * kMsNs))
        return std::nullopt;
    const std::int64_t first =
        recorder.firstAbove(recorder.frameAt(played - kEarlyMs * kMsNs), kSilence);
    if (first < 0)
        return std::nullopt;
    return double(recorder.timeOfFrame(first) - played) / double(kMsNs);
}

// CPU time the GUI thread spends over `ms` of an idle event loop.
double guiThreadCpuMs(int ms)
{
    timespec before{}, after{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &before);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &after);
    return double(after.tv_sec - before.tv_sec) * 1e3 +
           double(after.tv_nsec - before.tv_nsec) / 1e6;
}

void waitForSilence(SinkRecorder &recorder)
{
    QTest::qWait(300);
    const std::int64_t now = SinkRecorder::nowNs();
    recorder.waitUntilRecorded(now);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    NullSinkServer server;
    SinkRecorder recorder;
    QString why;
    if (!server.start(&why) || !recorder.start(&why)) {
        std::fprintf(stderr, "bench_bell: %s\n", qPrintable(why));
        return 1;
    }
    QTemporaryDir dir;
    const QString bell = QStringLiteral("80578_634166-lq.wav");
    if (!QFile::copy(QStringLiteral(QUORLIN_BELL_FILE), dir.filePath(bell))) {
        std::fprintf(stderr, "bench_bell: no bell at %s\n", QUORLIN_BELL_FILE);
        return 1;
    }
    QDir::setCurrent(dir.path());

    std::vector<double> opening, replay, fresh, busy;
    {
        // The main window's bell: stopped, rewound and played again.
        BellPlayer player;
        player.setFileName(bell);
        for (int i = 0; i < kRuns; ++i) {
            if (const auto ms = playToSound(recorder, [&] { player.play(); }))
                replay.push_back(*ms);
            player.stop();
            player.setCurrentTime(0);
            waitForSilence(recorder);
        }
    }
    for (int i = 0; i < kRuns; ++i) {
        // A result window's bell: a fresh player opened, then played at once.
        const std::int64_t start = SinkRecorder::nowNs();
        auto player = std::make_unique<BellPlayer>();
        player->setFileName(bell);
        opening.push_back(double(SinkRecorder::nowNs() - start) / double(kMsNs));
        if (const auto ms = playToSound(recorder, [&] { player->play(); }))
            fresh.push_back(*ms);
        player.reset();
        waitForSilence(recorder);
    }
    for (int i = 0; i < kRuns; ++i) {
        // As above, with the window still being built for 100 ms after Play.
        auto player = std::make_unique<BellPlayer>();
        player->setFileName(bell);
        const auto ms = playToSound(recorder, [&] {
            player->play();
            QThread::msleep(100);
        });
        if (ms)
            busy.push_back(*ms);
        player.reset();
        waitForSilence(recorder);
    }

    // The GUI thread feeds the sink while the bell sounds, and must fall idle once it has ended.
    double whilePlaying = 0, afterEnd = 0;
    {
        BellPlayer player;
        player.setFileName(bell);
        player.play();
        whilePlaying = guiThreadCpuMs(2000);
        QTest::qWait(int(player.duration() / kMsNs));
        guiThreadCpuMs(1000);
        afterEnd = guiThreadCpuMs(2000);
    }

    std::printf("Bell %s on a PulseAudio null sink\n", qPrintable(bell));
    report("Open (FileName set: file opened, header read)", opening);
    report("Play to sound, same player stopped and rewound", replay);
    report("Play to sound, fresh player", fresh);
    report("Play to sound, fresh player, GUI thread busy 100 ms", busy);
    std::printf("%-58s %6.1f ms per s\n", "GUI thread CPU while the bell sounds", whilePlaying / 2);
    std::printf("%-58s %6.1f ms per s\n", "GUI thread CPU after the bell has ended", afterEnd / 2);
    return 0;
}
