// SPDX-License-Identifier: GPL-3.0-or-later
#include "bell/bellplayer.h"
#include "support/soundserver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace quorlin;
using quorlin::test::makeDeadSocket;
using quorlin::test::writeTone;
using State = BellPlayer::State;

namespace {

constexpr qint64 kMs = 1000000;

} // namespace

// The player with the system's audio output when no sound server can be reached: it keeps
// its states and position as if it were heard, and nothing hangs or fails.
class TestBellNoServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void playStopRewindCarryOnSilently();
    void bellPlaysOutAndIsDestroyedSilently();

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
};

void TestBellNoServer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString socket = m_dir.filePath("dead");
    QVERIFY(makeDeadSocket(socket));
    // Before anything touches Qt Multimedia, which connects once per process.
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
    QVERIFY(writeTone(m_dir.filePath("bell.wav"), 44100));
    QVERIFY(writeTone(m_dir.filePath("short.wav"), 4410));
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void TestBellNoServer::cleanupTestCase()
{
    QDir::setCurrent(m_previousDir);
}

void TestBellNoServer::playStopRewindCarryOnSilently()
{
    BellPlayer bell;
    bell.setFileName("bell.wav");
    QCOMPARE(bell.state(), State::Ready);

    bell.play();
    QTest::qWait(200);
    QCOMPARE(bell.state(), State::Playing);
    QVERIFY(bell.currentTime() >= 200 * kMs);

    bell.play();
    bell.stop();
    const qint64 stoppedAt = bell.currentTime();
    QVERIFY(stoppedAt >= 200 * kMs && stoppedAt < 1000 * kMs);
    QTest::qWait(50);
    QCOMPARE(bell.state(), State::Ready);
    QCOMPARE(bell.currentTime(), stoppedAt);

    bell.setCurrentTime(0);
    QCOMPARE(bell.currentTime(), 0);
    bell.play();
    QCOMPARE(bell.state(), State::Playing);
    bell.stop();
    bell.setCurrentTime(0);
    QCOMPARE(bell.state(), State::Ready);
}

void TestBellNoServer::bellPlaysOutAndIsDestroyedSilently()
{
    auto shortBell = std::make_unique<BellPlayer>();
    shortBell->setFileName("short.wav");
    shortBell->play();
    QTRY_COMPARE(shortBell->state(), State::Ended);
    shortBell->play();
    QCOMPARE(shortBell->state(), State::Ended);

    auto bell = std::make_unique<BellPlayer>();
    bell->setFileName("bell.wav");
    bell->play();
    QTest::qWait(50);
    bell.reset();
    shortBell.reset();
}

QTEST_GUILESS_MAIN(TestBellNoServer)
#include "tst_bellnoserver.moc"
