// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sound-server helpers for the bell's tests and benchmark: a PulseAudio null sink to record
// what is played, a socket nothing answers on, and a tone to play.

#include <QString>
#include <QTemporaryDir>

#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quorlin::test {

// Writes a 16-bit mono WAV file of a 440 Hz tone at 44.1 kHz, `frames` samples long.
bool writeTone(const QString &path, qint64 frames);

// Leaves a socket file that nothing listens on: connecting to it is refused, as when the sound
// server has gone.
bool makeDeadSocket(const QString &path);

// A PulseAudio server whose default sink is a null sink named "nullsink", so that what the
// program plays can be recorded from "nullsink.monitor" without speakers.
class NullSinkServer
{
public:
    NullSinkServer() = default;
    ~NullSinkServer();
    NullSinkServer(const NullSinkServer &) = delete;
    NullSinkServer &operator=(const NullSinkServer &) = delete;

    // Points this process (PULSE_SERVER) at such a server: the one PULSE_SERVER already names
    // if its default sink is "nullsink", otherwise a private one started under a temporary
    // runtime folder. Call before anything touches Qt Multimedia. On failure says why.
    bool start(QString *why);

private:
    std::unique_ptr<QTemporaryDir> m_runtime;
    pid_t m_pid = 0;
};

// Records the null sink's monitor (mono, 16 bit, kRate) through parecord, and keeps for every
// block of samples when it arrived, so that a sample can be placed in time.
class SinkRecorder
{
public:
    static constexpr int kRate = 44100;

    SinkRecorder() = default;
    ~SinkRecorder();
    SinkRecorder(const SinkRecorder &) = delete;
    SinkRecorder &operator=(const SinkRecorder &) = delete;

    // Starts recording and waits until samples flow. On failure says why.
    bool start(QString *why);
    void stop();

    // Monotonic nanoseconds, the clock SystemClock::monotonicNs() reads.
    static std::int64_t nowNs();

    // The index of the sample captured at a monotonic time. Placing samples in time takes the
    // earliest each block could have been captured: its arrival, less the samples in it.
    std::int64_t frameAt(std::int64_t timeNs) const;
    std::int64_t timeOfFrame(std::int64_t frame) const;
    std::int64_t framesRecorded() const;
    // Waits (running the Qt event loop) until the sample captured at `timeNs` has arrived.
    bool waitUntilRecorded(std::int64_t timeNs, int timeoutMs = 5000) const;
    // Largest absolute sample in [from, to).
    int peak(std::int64_t from, std::int64_t to) const;
    // First sample at or after `from` whose absolute value exceeds `level`; -1 if none yet.
    std::int64_t firstAbove(std::int64_t from, int level) const;
    // Last sample before `to` whose absolute value exceeds `level`; -1 if none.
    std::int64_t lastAbove(std::int64_t from, std::int64_t to, int level) const;

private:
    void readLoop(int fd);

    pid_t m_pid = 0;
    std::thread m_reader;
    mutable std::mutex m_mutex;
    std::vector<std::int16_t> m_samples;
    // Earliest estimate of when sample 0 was captured.
    std::int64_t m_originNs = 0;
    bool m_haveOrigin = false;
};

} // namespace quorlin::test
