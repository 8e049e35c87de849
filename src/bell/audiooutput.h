// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

namespace quorlin {

// A sound as interleaved signed 16-bit PCM. A sound opened from a file knows its format and
// length from the file's header and reads its samples when they are first asked for, once,
// whichever thread asks; a window with a bell can then be shown before its sound is read.
class PcmSound
{
public:
    // Gives the samples of a sound opened from a file.
    using Reader = std::function<QByteArray()>;

    // A sound whose samples are at hand.
    PcmSound(int sampleRate, int channels, QByteArray samples)
        : m_sampleRate(sampleRate), m_channels(channels),
          m_frames(channels > 0 ? samples.size() / (2 * qsizetype(channels)) : 0),
          m_samples(std::move(samples))
    {
        m_samples.truncate(m_frames * 2 * channels);
        m_read = true;
    }

    // A sound of `frames` frames whose samples `read` gives when first asked for. What it
    // gives is cut to that length, or filled up with silence: a file cut short plays what it
    // holds, and the sound's length never changes once known.
    PcmSound(int sampleRate, int channels, std::int64_t frames, Reader read)
        : m_sampleRate(sampleRate), m_channels(channels), m_frames(frames),
          m_reader(std::move(read))
    {
    }

    PcmSound(const PcmSound &) = delete;
    PcmSound &operator=(const PcmSound &) = delete;

    int sampleRate() const { return m_sampleRate; }
    int channels() const { return m_channels; }
    std::int64_t frameCount() const { return m_frames; }

    // The samples, frameCount() * channels() of them; read on the first call.
    const QByteArray &samples() const
    {
        std::call_once(m_once, [this] {
            if (m_reader) {
                const qsizetype bytes = qsizetype(m_frames) * 2 * m_channels;
                m_samples = std::exchange(m_reader, nullptr)();
                const qsizetype got = std::min(m_samples.size(), bytes);
                m_samples.resize(bytes);
                std::fill(m_samples.begin() + got, m_samples.end(), '\0');
            }
            m_read = true;
        });
        return m_samples;
    }

    // Whether the samples have been read.
    bool isRead() const { return m_read; }

private:
    int m_sampleRate;
    int m_channels;
    std::int64_t m_frames;
    mutable std::once_flag m_once;
    mutable Reader m_reader;
    mutable QByteArray m_samples;
    mutable std::atomic<bool> m_read = false;
};

// How long the bell's deferred work waits after a bell is opened when no bell has rung by then:
// reading its samples, and loading the sound output module for the first one. Long enough for
// the window being created to be shown and painted first, short enough to come before a
// person's first click; a bell that rings sooner does the work at once.
inline constexpr int kDeferredSoundWorkMs = 300;

// One sound as the audio device plays it. Starting and stopping return at once; the device
// plays on by itself until the end of the sound.
class AudioVoice
{
public:
    virtual ~AudioVoice() = default;
    // Plays from the given frame to the end of the sound.
    virtual void start(std::int64_t frame) = 0;
    // Halts at once.
    virtual void stop() = 0;
};

// The platform's audio output.
class AudioOutput
{
public:
    virtual ~AudioOutput() = default;
    virtual std::unique_ptr<AudioVoice> createVoice(std::shared_ptr<const PcmSound> sound) = 0;
};

// The system's sound output: Qt Multimedia's audio sink over the sound server, in a module
// loaded on the main thread when a bell first sounds or shortly after the first voice is made,
// whichever comes first, so that start-up does not wait for it. Silent where there is no device
// or the module cannot be loaded.
class SystemAudioOutput final : public AudioOutput
{
public:
    std::unique_ptr<AudioVoice> createVoice(std::shared_ptr<const PcmSound> sound) override;
    // The module's output, loading the module on the first call; null when it cannot be loaded.
    static AudioOutput *loaded();
};

// The audio output bells play through: the system's, unless a ScopedAudioOutput is in force.
AudioOutput &audioOutput();

// Puts another audio output in place of the one in force for its lifetime (tests, benchmarks).
class ScopedAudioOutput
{
public:
    explicit ScopedAudioOutput(AudioOutput &replacement);
    ~ScopedAudioOutput();
    ScopedAudioOutput(const ScopedAudioOutput &) = delete;
    ScopedAudioOutput &operator=(const ScopedAudioOutput &) = delete;

private:
    AudioOutput *m_previous;
};

} // namespace quorlin
