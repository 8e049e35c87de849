// SPDX-License-Identifier: GPL-3.0-or-later
// Opens fuzzed bytes as the bell file: the decoder must refuse or decode them within its
// limits, never read or allocate beyond them.
#include "bell/sounddecoder.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace quorlin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("80578_634166-lq.wav"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const std::shared_ptr<const PcmSound> sound = openSoundFile(path);
    if (!sound)
        return 0;
    // What the player and the audio output rely on, before and after the samples are read.
    if (sound->channels() < 1 || sound->channels() > 8 || sound->sampleRate() < 1000 ||
        sound->frameCount() < 0 || sound->frameCount() * 2 * sound->channels() > kMaxSoundBytes)
        std::abort();
    if (sound->samples().size() != sound->frameCount() * 2 * sound->channels())
        std::abort();
    return 0;
}
