// SPDX-License-Identifier: GPL-3.0-or-later
// The sound-output module: Qt Multimedia's audio sink over the sound server, built as a module
// of its own that the program loads once start-up is over (see bell/systemaudiooutput.cpp).
// Qt Multimedia and what it brings (Qt Network, the sound-server client) are over twenty
// libraries, and loading them would otherwise hold up every start by several milliseconds.
#include "bell/audiooutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>

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

// How far ahead of what is heard the server is given the sound, and how often it is topped up.
// The first lead is written as the voice starts, so the sound begins at once and plays on while
// the GUI thread goes on to create, show and paint a window; only a thread busy for longer than
// the lead leaves a gap. An output that holds no more than its own buffer (Windows' takes what
// fits in the buffer asked for, and no more) is topped up four times per buffer instead.
constexpr int kLeadMs = 1500;
constexpr int kTopUpMs = 250;

// One sound on the default output through a QAudioSink written to as it plays (Qt's push mode).
// The sink is made on the first start; a stream is opened at each start and closed whenever the
// voice falls silent, so that idle players hold nothing on the sound server. Everything here
// runs on the thread that made the voice: Qt's PulseAudio back end closes a sink's stream, when
// the server fails, through a signal that must reach the sink before the back end lets go of
// its connection, which it does only on that one thread.
class SystemAudioVoice final : public QObject, public AudioVoice
{
public:
    explicit SystemAudioVoice(std::shared_ptr<const PcmSound> sound)
        : m_sound(std::move(sound)), m_bytesPerFrame(2 * qint64(m_sound->channels())),
          m_bytesPerSecond(m_bytesPerFrame * m_sound->sampleRate())
    {
        m_topUp.setInterval(kTopUpMs);
        connect(&m_topUp, &QTimer::timeout, this, [this] { feed(); });
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
        const qint64 size = m_sound->samples().size();
        m_from = std::clamp<qint64>(frame * m_bytesPerFrame, 0, size);
        m_next = m_from;
        m_silenceLeft = -1;
        m_topUp.setInterval(kTopUpMs);
        m_sink->setBufferSize(qsizetype(m_bytesPerSecond * kRequestedLatencyMs / 1000));
        QIODevice *stream = m_sink->start();
        if (!stream || m_sink->state() == QAudio::StoppedState) {
            // No server, or it refused the stream: the voice stays silent.
            return;
        }
        m_stream = stream;
        ++openStreams;
        m_clock.start();
        feed();
        if (m_stream && (m_next < size || m_silenceLeft > 0))
            m_topUp.start();
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

    // Whether the stream can take more. Qt's write leaves the back end locked when the server
    // has failed the stream, so it is asked only of a stream that is still there; a failed one
    // reports a negative free size.
    bool streamWritable() const
    {
        return m_sink->state() != QAudio::StoppedState && m_sink->bytesFree() >= 0;
    }

    // Hands the stream what it takes of `bytes`: all of them on a server that buffers ahead,
    // what fits in its buffer on an output that does not. Gives how many it took, or -1 when the
    // stream has failed, which closes it.
    qint64 write(const char *data, qint64 bytes)
    {
        const qint64 taken = streamWritable() ? m_stream->write(data, bytes) : -1;
        if (taken < 0) {
            closeStream();
            return -1;
        }
        if (taken < bytes) {
            // The output is full short of the lead: come back while it still has a good part
            // of its buffer to play.
            const qint64 bufferMs = m_sink->bufferSize() * 1000 / m_bytesPerSecond;
            m_topUp.setInterval(int(std::clamp<qint64>(bufferMs / 4, 10, kTopUpMs)));
        }
        return taken;
    }

    // Hands the server the sound up to kLeadMs past what has been heard; once all of it is
    // there, closes the stream when it has been played out.
    void feed()
    {
        if (!m_stream)
            return;
        const QByteArray &samples = m_sound->samples();
        const qint64 size = samples.size();
        qint64 due = m_from + m_bytesPerSecond * (m_clock.elapsed() + kLeadMs) / 1000;
        due = std::min(size, due - due % m_bytesPerFrame);
        if (due > m_next) {
            const qint64 taken = write(samples.constData() + m_next, due - m_next);
            if (taken < 0)
                return;
            m_next += taken;
        }
        if (m_next < size)
            return;

        // The server starts a stream once it holds its start threshold (at most the stream's
        // buffer): a shorter sound, or the last moments of one, is made up to it with silence.
        if (m_silenceLeft < 0) {
            const qint64 threshold =
                m_sink->bufferSize() - m_sink->bufferSize() % m_bytesPerFrame;
            m_silenceLeft = std::max<qint64>(0, threshold - (m_next - m_from));
            m_handed = m_next - m_from + m_silenceLeft;
        }
        if (m_silenceLeft > 0) {
            const QByteArray silence(qsizetype(m_silenceLeft), '\0');
            const qint64 taken = write(silence.constData(), silence.size());
            if (taken < 0)
                return;
            m_silenceLeft -= taken;
            if (m_silenceLeft > 0)
                return;
        }

        m_topUp.stop();
        const qint64 playedOutMs = m_handed * 1000 / m_bytesPerSecond - m_clock.elapsed();
        m_release.start(int(std::max<qint64>(0, playedOutMs)) + kRequestedLatencyMs + 500);
    }

    void onStateChanged(QAudio::State state)
    {
        // The server went away or failed the stream; Qt has closed it already.
        if (state == QAudio::StoppedState && m_stream)
            closeStream();
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
        m_topUp.stop();
        m_release.stop();
        if (!m_stream)
            return;
        // The stream device belongs to the sink, which deletes it as the stream closes.
        m_stream = nullptr;
        --openStreams;
        m_sink->stop();
    }

    const std::shared_ptr<const PcmSound> m_sound;
    const qint64 m_bytesPerFrame;
    const qint64 m_bytesPerSecond;
    std::unique_ptr<QAudioSink> m_sink;
    QByteArray m_sinkDevice;
    QIODevice *m_stream = nullptr; // the open stream, or null
    qint64 m_from = 0;             // byte the stream started from
    qint64 m_next = 0;             // next byte to hand over
    qint64 m_silenceLeft = -1;     // silence still to hand over after the sound; -1: not yet known
    qint64 m_handed = 0;           // bytes handed over in all, the silence included
    QElapsedTimer m_clock;         // since the stream started
    QTimer m_topUp;
    QTimer m_release;
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
