// SPDX-License-Identifier: GPL-3.0-or-later
#include "bell/bellplayer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sndfile.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <memory>

using namespace quorlin;
using State = BellPlayer::State;

namespace {

constexpr qint64 kMs = 1000000;

bool writeTone(const QString &path, int frames)
{
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    QList<short> samples(frames);
    for (int i = 0; i < frames; ++i)
        samples[i] = short(12000 * std::sin(i * 0.06));
    const bool written = sf_writef_short(file, samples.data(), frames) == frames;
    sf_close(file);
    return written;
}

// Leaves a socket file that nothing listens on: connecting to it is refused.
bool makeDeadSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound;
}

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
