#pragma once

#include <QByteArray>

#include <cstdint>
#include <memory>

namespace quorlin {

// Decoded sound: interleaved signed 16-bit PCM.
struct PcmSound
{
    int sampleRate = 0;
    int channels = 0;
    QByteArray samples;

    std::int64_t frameCount() const
    {
        return channels > 0 ? samples.size() / (2 * channels) : 0;
    }
};

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

} // namespace quorlin
