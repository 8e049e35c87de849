#include "bell/sounddecoder.h"

#include <QFile>

#include <sndfile.h>

#include <algorithm>

namespace quorlin {

namespace {

struct SndFileCloser
{
    void operator()(SNDFILE *file) const { sf_close(file); }
};

// PulseAudio plays rates up to 384 kHz; a rate or channel count outside these bounds comes from a
// damaged header rather than from a sound.
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
constexpr int kMaxChannels = 8;

} // namespace

std::shared_ptr<PcmSound> decodeSoundFile(const QString &path)
{
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndFileCloser> file(
        sf_open(QFile::encodeName(path).constData(), SFM_READ, &info));
    if (!file)
        return nullptr;
    if (info.channels < 1 || info.channels > kMaxChannels || info.samplerate < kMinRate ||
        info.samplerate > kMaxRate)
        return nullptr;

    const qint64 bytesPerFrame = 2 * qint64(info.channels);
    const qint64 maxFrames = std::min<qint64>(qint64(info.samplerate) * kMaxSoundSeconds,
                                              kMaxSoundBytes / bytesPerFrame);
    if (info.frames < 0 || info.frames > maxFrames)
        return nullptr;

    auto sound = std::make_shared<PcmSound>();
    sound->sampleRate = info.samplerate;
    sound->channels = info.channels;
    sound->samples.resize(info.frames * bytesPerFrame);
    const sf_count_t read =
        sf_readf_short(file.get(), reinterpret_cast<short *>(sound->samples.data()), info.frames);
    if (read < 0 || (read == 0 && info.frames > 0))
        return nullptr;
    // A file cut short plays what it holds.
    sound->samples.truncate(read * bytesPerFrame);
    return sound;
}

} // namespace quorlin
