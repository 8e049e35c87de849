// SPDX-License-Identifier: GPL-3.0-or-later
// The sound-output module: Qt Multimedia's audio sink over the sound server, built as a module
// of its own that the program loads once start-up is over (see bell/systemaudiooutput.cpp).
// Qt Multimedia and what it brings (Qt Network, the sound-server client) are over twenty
// libraries, and loading them would otherwise hold up every start by several milliseconds.
#include "bell/audiooutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace quorlin {

namespace {

// Streams the sink has open at once, over all voices. PulseAudio refuses new streams past 256
// per sink, and Qt waits forever for a refused stream to become ready; a voice past this many
// stays silent instead.
constexpr int kMaxOpenStreams = 64;
int openStreams = 0;

// The latency asked of the server for every stream. Qt otherwise asks each new stream of a sink
// for the buffer the server granted the previous one, which the server shrinks again: after a
// few plays the stream starves and the bell is no longer heard.
constexpr int kRequestedLatencyMs = 250;

// Reads a decoded sound from a chosen byte position; the sink pulls from it.
class PcmDevice final : public QIODevice
{
public:
    explicit PcmDevice(std::shared_ptr<const PcmSound> sound) : m_sound(std::move(sound))
    {
        open(QIODevice::ReadOnly);
    }

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_sound->samples().size(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 available = std::max<qint64>(0, size() - pos());
        const qint64 count = std::min(maxSize, available);
        if (count > 0)
            std::memcpy(data, m_sound->samples().constData() + pos(), size_t(count));
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    std::shared_ptr<const PcmSound> m_sound;
};

// One sound on the default output through a QAudioSink that pulls from a PcmDevice. The sink
// is made on the first start and its stream is closed whenever the voice falls silent, so that
// idle players hold nothing on the sound server.
class SystemAudioVoice final : public QObject, public AudioVoice
{
public:
    explicit SystemAudioVoice(std::shared_ptr<const PcmSound> sound)
        : m_sound(sound), m_device(std::move(sound))
    {
        m_release.setSingleShot(true);
        connect(&m_release, &QTimer::timeout, this, [this] { closeStream(); });
    }

    ~SystemAudioVoice() override
    {
        closeStream();
        dropSink();
    }

    void start(std::int64_t frame) override
    {
        closeStream();
        if (!ensureSink() || openStreams >= kMaxOpenStreams)
            return;
        const qint64 bytesPerFrame = 2 * qint64(m_sound->channels());
        m_device.seek(std::clamp<qint64>(frame * bytesPerFrame, 0, m_device.size()));
        m_sink->setBufferSize(
            qsizetype(bytesPerFrame * m_sound->sampleRate() * kRequestedLatencyMs / 1000));
        m_sink->start(&m_device);
        if (m_sink->state() == QAudio::StoppedState) {
            // No server, or it refused the stream: the voice stays silent.
            return;
        }
        m_streamOpen = true;
        ++openStreams;
    }

    void stop() override { closeStream(); }

private:
    // A sink on the current default output, made anew when the default has changed.
    bool ensureSink()
    {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (m_sink && m_sinkDevice == device.id())
            return true;
        dropSink();
        if (device.isNull())
            return false;
        m_sinkDevice = device.id();
        QAudioFormat format;
        format.setSampleFormat(QAudioFormat::Int16);
        format.setSampleRate(m_sound->sampleRate());
        format.setChannelCount(m_sound->channels());
        m_sink = std::make_unique<QAudioSink>(device, format);
        connect(m_sink.get(), &QAudioSink::stateChanged, this, &SystemAudioVoice::onStateChanged);
        return true;
    }

    void onStateChanged(QAudio::State state)
    {
        if (!m_streamOpen)
            return;
        if (state == QAudio::StoppedState) {
            // The server went away or failed the stream.
            closeStream();
        } else if (state == QAudio::IdleState && m_device.atEnd()) {
            // Everything has been handed to the server; close the stream once what it still
            // holds has been heard.
            const qint64 buffered = std::max<qint64>(0, m_sink->bufferSize() - m_sink->bytesFree());
            const qint64 bytesPerSecond = qint64(m_sound->sampleRate()) * 2 * m_sound->channels();
            m_release.start(int(buffered * 1000 / bytesPerSecond) + 500);
        }
    }

    void dropSink()
    {
        if (!m_sink)
            return;
        m_sink->disconnect(this);
        // Deleting a Qt audio sink runs the event loop, which must not happen inside a handler.
        m_sink.release()->deleteLater();
    }

    void closeStream()
    {
        m_release.stop();
        if (!m_streamOpen)
            return;
        m_streamOpen = false;
        --openStreams;
        m_sink->stop();
    }

    std::shared_ptr<const PcmSound> m_sound;
    PcmDevice m_device;
    std::unique_ptr<QAudioSink> m_sink;
    QByteArray m_sinkDevice;
    QTimer m_release;
    bool m_streamOpen = false;
};

// Qt Multimedia's audio output: each voice plays on the default output; silent where there is
// no device.
class SinkOutput final : public AudioOutput
{
public:
    SinkOutput()
    {
        // Connecting to the sound server once, here as the module is loaded, keeps that work
        // out of the first Play.
        QMediaDevices::defaultAudioOutput();
    }

    std::unique_ptr<AudioVoice> createVoice(std::shared_ptr<const PcmSound> sound) override
    {
        return std::make_unique<SystemAudioVoice>(std::move(sound));
    }
};

} // namespace

} // namespace quorlin

// The module's one entry: the output, made on the first call, in the thread that calls it.
extern "C" Q_DECL_EXPORT quorlin::AudioOutput *quorlin_audio_sink_output()
{
    static quorlin::SinkOutput output;
    return &output;
}
