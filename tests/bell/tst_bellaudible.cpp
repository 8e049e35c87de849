// SPDX-License-Identifier: GPL-3.0-or-later
#include "bell/audiooutput.h"
#include "bell/bellplayer.h"
#include "support/soundserver.h"

#include <QAudioDevice>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>


#include <algorithm>
#include <memory>
#include <vector>

using namespace quorlin;
using quorlin::test::NullSinkServer;
using quorlin::test::SinkRecorder;
using quorlin::test::writeTone;
using State = BellPlayer::State;

namespace {

const QString kBell = QStringLiteral("80578_634166-lq.wav");
constexpr std::int64_t kMsNs = 1000000;
// The null sink's monitor is exact zeros while nothing plays; the bell peaks near -3 dBFS.
constexpr int kSilence = 8;
constexpr int kAudible = 1000;
// Time allowed for a change to reach the sink: Play's latency, Stop's cut.
constexpr std::int64_t kSettleMs = 250;

// Playback streams open on the sound server, from every client.
int serverStreams()
{
    QProcess pactl;
    pactl.start("pactl", {"list", "short", "sink-inputs"});
    if (!pactl.waitForFinished(10000) || pactl.exitCode() != 0)
        return -1;
    return int(pactl.readAllStandardOutput().count('\n'));
}

} // namespace

class TestBellAudible : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void bellIsHeardAndStopSilencesIt();
    void bellSoundsWhileTheGuiThreadIsBusy();
    void bellRingsWholeAfterEveryStopAndRewind();
    void playedOutBellRingsAgainOnlyAfterRewind();
    void soundsShorterThanTheServersBufferAreHeard_data();
    void soundsShorterThanTheServersBufferAreHeard();
    void severalBellsAtOnceAndDestroyingSilences();
    void silentBellsHoldNoStreamOnTheServer();
    void moreBellsThanTheServerTakesNeverHang();

private:
    // Peak of what the sink played from `fromMs` to `toMs` after `originNs`, once recorded.
    int peakBetween(std::int64_t originNs, std::int64_t fromMs, std::int64_t toMs);
    // How many of the consecutive windows of `windowMs` in that stretch are audible.
    int audibleWindowsPercent(std::int64_t originNs, std::int64_t fromMs, std::int64_t toMs,
                              std::int64_t windowMs);
    std::unique_ptr<BellPlayer> openBell(const QString &name = kBell);

    NullSinkServer m_server;
    SinkRecorder m_recorder;
    QTemporaryDir m_dir;
    QString m_previousDir;
};

void TestBellAudible::initTestCase()
{
    QString why;
    if (!m_server.start(&why))
        QSKIP(qPrintable("no PulseAudio null sink: " + why));
    QVERIFY2(m_recorder.start(&why), qPrintable(why));
    QVERIFY2(!QMediaDevices::defaultAudioOutput().isNull(), "Qt sees no output on the server");

    // The real bell where the source tree has it, a tone of its length otherwise.
    QVERIFY(m_dir.isValid());
    const QString asset = qEnvironmentVariable("QUORLIN_SOURCE_DIR") + "/assets/" + kBell;
    if (QFile::exists(asset))
        QVERIFY(QFile::copy(asset, m_dir.filePath(kBell)));
    else
        QVERIFY(writeTone(m_dir.filePath(kBell), qint64(8.5 * 44100)));
    QVERIFY(writeTone(m_dir.filePath("short.wav"), qint64(0.3 * 44100)));
    QVERIFY(writeTone(m_dir.filePath("blip.wav"), qint64(0.08 * 44100)));
    QVERIFY(writeTone(m_dir.filePath("tone.wav"), 3 * 44100));
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void TestBellAudible::cleanupTestCase()
{
    m_recorder.stop();
    if (!m_previousDir.isEmpty())
        QDir::setCurrent(m_previousDir);
}

int TestBellAudible::peakBetween(std::int64_t originNs, std::int64_t fromMs, std::int64_t toMs)
{
    const std::int64_t to = originNs + toMs * kMsNs;
    if (!m_recorder.waitUntilRecorded(to))
        qFatal("the recorder stopped delivering samples");
    return m_recorder.peak(m_recorder.frameAt(originNs + fromMs * kMsNs), m_recorder.frameAt(to));
}

int TestBellAudible::audibleWindowsPercent(std::int64_t originNs, std::int64_t fromMs,
                                           std::int64_t toMs, std::int64_t windowMs)
{
    peakBetween(originNs, fromMs, toMs);
    int windows = 0, audible = 0;
    for (std::int64_t ms = fromMs; ms + windowMs <= toMs; ms += windowMs) {
        ++windows;
        if (peakBetween(originNs, ms, ms + windowMs) > kAudible)
            ++audible;
    }
    return windows ? 100 * audible / windows : 0;
}

std::unique_ptr<BellPlayer> TestBellAudible::openBell(const QString &name)
{
    auto player = std::make_unique<BellPlayer>();
    player->setFileName(name);
    return player;
}

void TestBellAudible::bellIsHeardAndStopSilencesIt()
{
    auto bell = openBell();
    QVERIFY2(peakBetween(SinkRecorder::nowNs(), -300, 0) <= kSilence, "silent before Play");

    const std::int64_t played = SinkRecorder::nowNs();
    bell->play();
    const int heard = peakBetween(played, 0, 800);
    QVERIFY2(heard > kAudible, qPrintable(QString("peak after Play: %1").arg(heard)));
    const std::int64_t firstSound = m_recorder.firstAbove(m_recorder.frameAt(played), kSilence);
    qInfo("Play to first sound: %.1f ms",
          double(m_recorder.timeOfFrame(firstSound) - played) / double(kMsNs));

    const std::int64_t stopped = SinkRecorder::nowNs();
    bell->stop();
    const int after = peakBetween(stopped, kSettleMs, kSettleMs + 600);
    QVERIFY2(after <= kSilence, qPrintable(QString("peak after Stop: %1").arg(after)));
    const std::int64_t lastSound =
        m_recorder.lastAbove(m_recorder.frameAt(stopped - 100 * kMsNs),
                             m_recorder.frameAt(stopped + 900 * kMsNs), kSilence);
    qInfo("Stop to silence: %.1f ms",
          double(m_recorder.timeOfFrame(lastSound) - stopped) / double(kMsNs));

    QCOMPARE(bell->state(), State::Ready);
    QVERIFY(bell->currentTime() >= 800 * kMsNs);
}

void TestBellAudible::bellSoundsWhileTheGuiThreadIsBusy()
{
    // A result window plays its bell while it is being created, and is shown and painted right
    // after: the sound must not wait for the GUI thread to be free again.
    for (int round = 0; round < 3; ++round) {
        auto bell = openBell();
        const std::int64_t played = SinkRecorder::nowNs();
        bell->play();
        QThread::msleep(600);
        const int heard = peakBetween(played, 0, 500);
        QVERIFY2(
            heard > kAudible,
            qPrintable(
                QString("round %1: peak while the GUI thread was busy: %2").arg(round).arg(heard)));
        bell->stop();
        QVERIFY(peakBetween(SinkRecorder::nowNs(), kSettleMs, kSettleMs + 100) <= kSilence);
    }
}

void TestBellAudible::bellRingsWholeAfterEveryStopAndRewind()
{
    // The main window's bell is stopped, rewound and played again any number of times. Every
    // time it must sound without gaps: a steady tone is heard in every 10 ms.
    auto bell = openBell("tone.wav");
    for (int round = 0; round < 8; ++round) {
        const std::int64_t played = SinkRecorder::nowNs();
        bell->play();
        const int audible = audibleWindowsPercent(played, kSettleMs, kSettleMs + 400, 10);
        // A little slack for a test machine that stalls the feeding thread now and then.
        QVERIFY2(
            audible >= 80,
            qPrintable(
                QString("round %1: sound in only %2% of 10 ms windows").arg(round).arg(audible)));
        bell->stop();
        bell->setCurrentTime(0);
        QVERIFY(peakBetween(SinkRecorder::nowNs(), kSettleMs, kSettleMs + 100) <= kSilence);
    }
}

void TestBellAudible::playedOutBellRingsAgainOnlyAfterRewind()
{
    auto bell = openBell("short.wav");
    const std::int64_t played = SinkRecorder::nowNs();
    bell->play();
    QVERIFY(peakBetween(played, 0, 300) > kAudible);
    // The 300 ms tone ends by itself.
    QVERIFY(peakBetween(played, 300 + kSettleMs, 1500) <= kSilence);
    QCOMPARE(bell->state(), State::Ended);

    bell->play();
    QVERIFY2(peakBetween(SinkRecorder::nowNs(), 0, 500) <= kSilence, "Play on ended is silent");

    bell->stop();
    bell->setCurrentTime(0);
    bell->play();
    QVERIFY(peakBetween(SinkRecorder::nowNs(), 0, 300 + kSettleMs) > kAudible);
    QVERIFY(peakBetween(SinkRecorder::nowNs(), 300 + kSettleMs, 600 + kSettleMs) <= kSilence);
}

void TestBellAudible::soundsShorterThanTheServersBufferAreHeard_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("fromMs");
    QTest::addColumn<qint64>("lengthMs");
    QTest::newRow("an 80 ms sound") << "blip.wav" << qint64(0) << qint64(80);
    QTest::newRow("the last 100 ms of a sound") << "tone.wav" << qint64(2900) << qint64(100);
}

void TestBellAudible::soundsShorterThanTheServersBufferAreHeard()
{
    // The server starts a stream only once it holds a buffer's worth (250 ms); less than that
    // must still be heard, and the stream must still go once it has been.
    QFETCH(QString, file);
    QFETCH(qint64, fromMs);
    QFETCH(qint64, lengthMs);
    const int before = serverStreams();
    auto bell = openBell(file);
    bell->setCurrentTime(fromMs * kMsNs);
    const std::int64_t played = SinkRecorder::nowNs();
    bell->play();
    QVERIFY2(peakBetween(played, 0, kSettleMs + lengthMs) > kAudible, "not heard");
    QVERIFY(peakBetween(played, kSettleMs + lengthMs + 50, 1000) <= kSilence);
    QCOMPARE(bell->state(), State::Ended);
    QTRY_COMPARE_WITH_TIMEOUT(serverStreams(), before, 5000);
}

void TestBellAudible::severalBellsAtOnceAndDestroyingSilences()
{
    auto first = openBell();
    auto second = openBell();
    first->play();
    QTest::qWait(300);
    second->play();
    first->stop();
    QVERIFY2(peakBetween(SinkRecorder::nowNs(), kSettleMs, kSettleMs + 400) > kAudible,
             "the second bell sounds on when the first stops");

    second.reset();
    QVERIFY2(peakBetween(SinkRecorder::nowNs(), kSettleMs, kSettleMs + 400) <= kSilence,
             "a destroyed player falls silent");
}

void TestBellAudible::silentBellsHoldNoStreamOnTheServer()
{
    // PulseAudio takes at most 256 streams per sink, and every window instance keeps its
    // player; a player holds a stream only while it sounds.
    const int before = serverStreams();
    QVERIFY(before >= 0);
    auto stopped = openBell();
    auto playedOut = openBell("short.wav");
    QCOMPARE(serverStreams(), before);

    stopped->play();
    playedOut->play();
    QTest::qWait(100);
    QCOMPARE(serverStreams(), before + 2);
    stopped->stop();
    QCOMPARE(serverStreams(), before + 1);
    QTRY_COMPARE_WITH_TIMEOUT(serverStreams(), before, 5000);
    QCOMPARE(playedOut->state(), State::Ended);
}

void TestBellAudible::moreBellsThanTheServerTakesNeverHang()
{
    // Qt waits forever for a stream the server refuses; the output must never ask for one
    // too many. A hang here ends in the test's timeout.
    const int before = serverStreams();
    std::vector<std::unique_ptr<BellPlayer>> bells;
    // A 3 s tone: opening 300 players takes well under that, even under the sanitizers on a
    // busy machine, so every one of them still sounds when they are checked.
    for (int i = 0; i < 300; ++i) {
        bells.push_back(openBell("tone.wav"));
        bells.back()->play();
    }
    for (const auto &bell : bells)
        QCOMPARE(bell->state(), State::Playing);
    QVERIFY(serverStreams() - before <= 256);
    QVERIFY(peakBetween(SinkRecorder::nowNs(), 50, 250) > kAudible);
    bells.clear();
    // Every stream was closed as its player went, but the sound-server library sends the
    // closing from a thread of its own, and the server may answer pactl, another client, first:
    // on a busy machine the count takes a moment to come down. A stream left open stays.
    QTRY_COMPARE_WITH_TIMEOUT(serverStreams(), before, 5000);
}

QTEST_GUILESS_MAIN(TestBellAudible)
#include "tst_bellaudible.moc"
