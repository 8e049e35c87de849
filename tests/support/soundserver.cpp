// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/soundserver.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sndfile.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <cmath>

extern char **environ;

namespace quorlin::test {

bool writeTone(const QString &path, qint64 frames)
{
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    QList<short> samples(frames);
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] = short(12000 * std::sin(2 * M_PI * 440 * double(i) / info.samplerate));
    const bool written = sf_writef_short(file, samples.data(), frames) == frames;
    sf_close(file);
    return written;
}

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

namespace {

QString run(const QString &program, const QStringList &arguments, int *status = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        if (status)
            *status = -1;
        return {};
    }
    if (status)
        *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

bool defaultSinkIsNullSink()
{
    int status = 0;
    const QString info = run(QStringLiteral("pactl"), {QStringLiteral("info")}, &status);
    return status == 0 && info.contains(QLatin1String("Default Sink: nullsink"));
}

bool processAlive(pid_t pid)
{
    return pid > 0 && ::kill(pid, 0) == 0;
}

} // namespace

NullSinkServer::~NullSinkServer()
{
    if (!processAlive(m_pid))
        return;
    ::kill(m_pid, SIGTERM);
    for (int i = 0; i < 100 && processAlive(m_pid); ++i)
        QThread::msleep(20);
}

bool NullSinkServer::start(QString *why)
{
    if (qEnvironmentVariableIsSet("PULSE_SERVER") && defaultSinkIsNullSink())
        return true;

    m_runtime = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/pulse-XXXXXX"));
    if (!m_runtime->isValid()) {
        *why = QStringLiteral("cannot make a runtime folder");
        return false;
    }
    const QString runtime = m_runtime->path();
    qputenv("PULSE_RUNTIME_PATH", QFile::encodeName(runtime));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(runtime + QStringLiteral("/native")));

    int status = 0;
    run(QStringLiteral("pulseaudio"),
        {QStringLiteral("-n"), QStringLiteral("--daemonize=yes"),
         QStringLiteral("--exit-idle-time=-1"),
         QStringLiteral("--load=module-native-protocol-unix"),
         QStringLiteral("--load=module-null-sink sink_name=nullsink")},
        &status);
    if (status != 0) {
        *why = QStringLiteral("pulseaudio would not start (status %1)").arg(status);
        return false;
    }
    QFile pidFile(runtime + QStringLiteral("/pid"));
    if (pidFile.open(QIODevice::ReadOnly))
        m_pid = pid_t(pidFile.readAll().trimmed().toInt());
    for (int i = 0; i < 100 && !defaultSinkIsNullSink(); ++i)
        QThread::msleep(50);
    if (!defaultSinkIsNullSink()) {
        *why = QStringLiteral("pulseaudio started without a null sink");
        return false;
    }
    return true;
}

SinkRecorder::~SinkRecorder()
{
    stop();
}

std::int64_t SinkRecorder::nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

bool SinkRecorder::start(QString *why)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        *why = QStringLiteral("no pipe");
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    const QByteArray rate = "--rate=" + QByteArray::number(kRate);
    // A short latency makes parecord hand samples over as they come instead of in second-long
    // blocks.
    const char *argv[] = {"parecord",         "--raw",          "--device=nullsink.monitor",
                          "--format=s16le",   rate.constData(), "--channels=1",
                          "--latency-msec=5", nullptr};
    const int spawned = posix_spawnp(&m_pid, "parecord", &actions, nullptr,
                                     const_cast<char *const *>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        m_pid = 0;
        *why = QStringLiteral("parecord would not start: %1")
                   .arg(QString::fromLocal8Bit(strerror(spawned)));
        return false;
    }
    m_reader = std::thread([this, fd = fds[0]] { readLoop(fd); });

    // parecord takes a while before the first samples come.
    const std::int64_t deadline = nowNs() + 10 * std::int64_t(1000000000);
    while (framesRecorded() < kRate / 5 && nowNs() < deadline)
        QTest::qWait(20);
    if (framesRecorded() < kRate / 5) {
        *why = QStringLiteral("parecord delivered no samples");
        return false;
    }
    return true;
}

void SinkRecorder::stop()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = 0;
    }
    if (m_reader.joinable())
        m_reader.join();
}

void SinkRecorder::readLoop(int fd)
{
    std::vector<char> block(4096);
    // Keeps an odd byte that a read split from its sample.
    std::vector<char> pending;
    for (;;) {
        const ssize_t count = ::read(fd, block.data(), block.size());
        if (count <= 0)
            break;
        const std::int64_t arrived = nowNs();
        pending.insert(pending.end(), block.begin(), block.begin() + count);
        const size_t whole = pending.size() / 2;
        std::lock_guard lock(m_mutex);
        const size_t before = m_samples.size();
        m_samples.resize(before + whole);
        std::memcpy(m_samples.data() + before, pending.data(), whole * 2);
        pending.erase(pending.begin(), pending.begin() + std::ptrdiff_t(whole * 2));
        const std::int64_t origin = arrived - std::int64_t(m_samples.size()) * 1000000000 / kRate;
        if (!m_haveOrigin || origin < m_originNs) {
            m_originNs = origin;
            m_haveOrigin = true;
        }
    }
    ::close(fd);
}

std::int64_t SinkRecorder::frameAt(std::int64_t timeNs) const
{
    std::lock_guard lock(m_mutex);
    return (timeNs - m_originNs) * kRate / 1000000000;
}

std::int64_t SinkRecorder::timeOfFrame(std::int64_t frame) const
{
    std::lock_guard lock(m_mutex);
    return m_originNs + frame * 1000000000 / kRate;
}

std::int64_t SinkRecorder::framesRecorded() const
{
    std::lock_guard lock(m_mutex);
    return std::int64_t(m_samples.size());
}

bool SinkRecorder::waitUntilRecorded(std::int64_t timeNs, int timeoutMs) const
{
    const std::int64_t deadline = nowNs() + std::int64_t(timeoutMs) * 1000000;
    while (framesRecorded() <= frameAt(timeNs)) {
        if (nowNs() > deadline)
            return false;
        QTest::qWait(10);
    }
    return true;
}

int SinkRecorder::peak(std::int64_t from, std::int64_t to) const
{
    std::lock_guard lock(m_mutex);
    from = std::clamp<std::int64_t>(from, 0, std::int64_t(m_samples.size()));
    to = std::clamp<std::int64_t>(to, from, std::int64_t(m_samples.size()));
    int result = 0;
    for (std::int64_t i = from; i < to; ++i)
        result = std::max(result, std::abs(int(m_samples[size_t(i)])));
    return result;
}

std::int64_t SinkRecorder::firstAbove(std::int64_t from, int level) const
{
    std::lock_guard lock(m_mutex);
    for (std::int64_t i = std::max<std::int64_t>(0, from); i < std::int64_t(m_samples.size());
         ++i) {
        if (std::abs(int(m_samples[size_t(i)])) > level)
            return i;
    }
    return -1;
}

std::int64_t SinkRecorder::lastAbove(std::int64_t from, std::int64_t to, int level) const
{
    std::lock_guard lock(m_mutex);
    to = std::min<std::int64_t>(to, std::int64_t(m_samples.size()));
    for (std::int64_t i = to - 1; i >= std::max<std::int64_t>(0, from); --i) {
        if (std::abs(int(m_samples[size_t(i)])) > level)
            return i;
    }
    return -1;
}

} // namespace quorlin::test
