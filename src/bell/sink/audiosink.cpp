// SPDX-License-Identifier: GPL-3.0-or-later
// The sound-output module: Qt Multimedia's audio sink over the sound server, built as a module
// of its own that the program loads once start-up is over (see bell/systemaudiooutput.cpp).
// Qt Multimedia and what it brings (Qt Network, the sound-server client) are over twenty
// libraries, and loading them would otherwise hold up every start by several milliseconds.
#include "bell/audiooutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>

namespace quorlin {

namespace {

// Streams the sinks have open at once, over all voices, counted on the sound thread. PulseAudio
// refuses new streams past 256 per sink, and Qt waits forever for a refused stream to become
// ready; a voice past this many stays silent instead.
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
// is made with the voice (anew at a start when the default output has changed); its stream is
// opened at a start and closed whenever the voice falls silent, so that idle players hold
// nothing on the sound server.
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

    // Makes the sink ahead of the first start.
    void prepare() { ensureSink(); }

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

// How long the program's end waits for the sound thread to close its streams. Qt waits
// without end for a stream the server fails while it is being opened; the program ends anyway.
constexpr int kShutDownWaitMs = 2000;

// Qt Multimedia's audio output: each voice plays on the default output, silent where there is
// no device. The sinks live on a thread of their own: in pull mode a sink reads its sound on
// timers of the thread it lives on, and on the GUI thread the first samples of a result
// window's bell waited until the window had been created and painted. Voices are made, started,
// stopped and destroyed on that thread, in the order the GUI thread asks; the GUI thread never
// waits for it, nor for the sound server.
class SinkOutput final : public AudioOutput
{
public:
    SinkOutput() : m_sound(std::make_unique<SoundThread>())
    {
        m_sound->thread.setObjectName(QStringLiteral("Quorlin sound"));
        m_sound->thread.start();
        m_sound->context.moveToThread(&m_sound->thread);
        // Connecting to the sound server once, here as the module is loaded, keeps that work
        // out of the first Play.
        post([](SoundThread &) { QMediaDevices::defaultAudioOutput(); });
        // The sinks must be gone before Qt Multimedia is, and the thread must have ended
        // before it is destroyed: as the application ends, or at the latest with this output.
        qAddPostRoutine([] { instance().shutDown(); });
    }

    ~SinkOutput() override { shutDown(); }

    static SinkOutput &instance()
    {
        static SinkOutput output;
        return output;
    }

    std::unique_ptr<AudioVoice> createVoice(std::shared_ptr<const PcmSound> sound) override
    {
        return std::make_unique<Voice>(*this, std::move(sound));
    }

private:
    // The thread, and what lives on it.
    struct SoundThread
    {
        QThread thread;
        QObject context; // what is posted runs in the thread's event loop, in this context
        std::map<quint64, std::unique_ptr<SystemAudioVoice>> voices; // used on the thread only

        SystemAudioVoice *find(quint64 id)
        {
            const auto found = voices.find(id);
            return found == voices.end() ? nullptr : found->second.get();
        }
    };

    // What a player holds: the sound thread's voice, known there by its number.
    class Voice final : public AudioVoice
    {
    public:
        Voice(SinkOutput &output, std::shared_ptr<const PcmSound> sound)
            : m_output(output), m_id(output.m_nextId++)
        {
            m_output.post([this_id = m_id, sound = std::move(sound)](SoundThread &on) {
                auto voice = std::make_unique<SystemAudioVoice>(sound);
                // Its sink is made now, while the window that plays it is being created, so
                // that Play only has to open a stream.
                voice->prepare();
                on.voices.emplace(this_id, std::move(voice));
            });
        }

        ~Voice() override
        {
            m_output.post([this_id = m_id](SoundThread &on) { on.voices.erase(this_id); });
        }

        void start(std::int64_t frame) override
        {
            m_output.post([this_id = m_id, frame](SoundThread &on) {
                if (SystemAudioVoice *voice = on.find(this_id))
                    voice->start(frame);
            });
        }

        void stop() override
        {
            m_output.post([this_id = m_id](SoundThread &on) {
                if (SystemAudioVoice *voice = on.find(this_id))
                    voice->stop();
            });
        }

    private:
        SinkOutput &m_output;
        const quint64 m_id;
    };

    // Runs `task` on the sound thread after what was asked before it; nothing once the output
    // has shut down.
    template <typename Task> void post(Task task)
    {
        std::lock_guard lock(m_mutex);
        if (!m_sound)
            return;
        QMetaObject::invokeMethod(
            &m_sound->context, [sound = m_sound.get(), task = std::move(task)] { task(*sound); },
            Qt::QueuedConnection);
    }

    void shutDown()
    {
        std::unique_ptr<SoundThread> sound;
        {
            std::lock_guard lock(m_mutex);
            sound = std::move(m_sound);
        }
        if (!sound)
            return;
        // The voices close their streams on their own thread; the sinks they drop are deleted
        // as the thread ends.
        QMetaObject::invokeMethod(
            &sound->context,
            [on = sound.get()] {
                on->voices.clear();
                on->thread.quit();
            },
            Qt::QueuedConnection);
        if (!sound->thread.wait(QDeadlineTimer(kShutDownWaitMs))) {
            qWarning("Quorlin: the sound output did not stop in time; it is left as it is");
            (void)sound.release(); // still in use by its thread, which ends with the program
        }
    }

    std::mutex m_mutex;
    std::unique_ptr<SoundThread> m_sound; // null once shut down
    std::atomic<quint64> m_nextId = 0;
};

} // namespace

} // namespace quorlin

// The module's one entry: the output, made on the first call.
extern "C" Q_DECL_EXPORT quorlin::AudioOutput *quorlin_audio_sink_output()
{
    return &quorlin::SinkOutput::instance();
}
